// Runs a fuzz harness without libFuzzer: every file named on the command
// line, and every file of every folder named there (in name order), is
// passed once to LLVMFuzzerTestOneInput, as the fuzzer passes an input: in a
// heap block of exactly its size, so that the sanitizers see a read past
// its end. A harness reports a wrong result by aborting; the name of the
// input goes out before it runs, so the last name printed is the culprit.
//
//   <harness>_seed_replay FOLDER_OR_FILE...
//
// Exit code 0 when every input ran, 1 when there was none to run (a missing
// or empty corpus folder must not pass), 2 for an unreadable input.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

namespace fs = std::filesystem;

// The inputs an argument names: the file itself, or a folder's files.
std::vector<fs::path> InputsOf(const fs::path& argument) {
    std::error_code error;
    if (!fs::is_directory(argument, error)) return {argument};
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(argument, error)) {
        if (entry.is_regular_file(error)) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool ReadInput(const fs::path& path, std::vector<char>* bytes) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    bytes->assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

bool Replay(const fs::path& path) {
    std::vector<char> bytes;
    if (!ReadInput(path, &bytes)) {
        std::fprintf(stderr, "cannot read %s\n", path.string().c_str());
        return false;
    }
    std::printf("%s (%zu bytes)\n", path.filename().string().c_str(), bytes.size());
    std::fflush(stdout);
    // An exact-size copy: a vector may hold spare capacity behind its data.
    const std::unique_ptr<uint8_t[]> input(new uint8_t[bytes.size() ? bytes.size() : 1]);
    std::copy(bytes.begin(), bytes.end(), input.get());
    LLVMFuzzerTestOneInput(input.get(), bytes.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    size_t replayed = 0;
    for (int i = 1; i < argc; ++i) {
        for (const fs::path& path : InputsOf(argv[i])) {
            if (!Replay(path)) return 2;
            ++replayed;
        }
    }
    if (replayed == 0) {
        std::fprintf(stderr, "no inputs: usage: %s FOLDER_OR_FILE...\n", argc > 0 ? argv[0] : "replay");
        return 1;
    }
    std::printf("%zu inputs replayed\n", replayed);
    return 0;
}
