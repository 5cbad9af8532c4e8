// zebl compose SCENE -o JOB.spl: a spool file from a scene description.
// With --postscript the scene's drawing goes to OUT.ps as PostScript instead.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "job/file_bytes.h"
#include "job/scene.h"
#include "job/scene_options.h"
#include "job/scene_postscript.h"

namespace {

constexpr uint64_t kMaxSceneFileBytes = uint64_t{16} << 20;

int ComposePostScript(const char* scene, const char* output) {
    std::vector<uint8_t> bytes;
    std::string error, postscript;
    if (ReadFileBytes(sys::Widen(scene), kMaxSceneFileBytes, &bytes, &error)) {
        const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        SceneOptions options;
        options.baseFolder = SceneFolder(sys::Widen(scene));
        if (!SceneToPostScript(text, options, &postscript, &error)) error = std::string(scene) + ": " + error;
        else if (WriteFileBytes(sys::Widen(output), reinterpret_cast<const uint8_t*>(postscript.data()),
                                postscript.size(), &error)) {
            std::printf("%s: %zu bytes of PostScript\n", output, postscript.size());
            return 0;
        }
    }
    std::fprintf(stderr, "zebl compose: %s\n", error.c_str());
    return 1;
}

}  // namespace

int ComposeCommand(int argc, char** argv) {
    const char* scene = nullptr;
    const char* output = nullptr;
    bool postscript = false;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--postscript") == 0) {
            postscript = true;
        } else if (std::strcmp(argv[i], "-o") == 0 && i + 1 < argc) {
            output = argv[++i];
        } else if (!scene && argv[i][0] != '-') {
            scene = argv[i];
        } else {
            std::fputs(kComposeUsage, stderr);
            return 2;
        }
    }
    if (!scene || !output) {
        std::fputs(kComposeUsage, stderr);
        return 2;
    }
    if (postscript) return ComposePostScript(scene, output);
    SpoolJob job;
    std::string error;
    if (!ComposeSceneFile(sys::Widen(scene), &job, &error) ||
        !WriteSpoolFile(sys::Widen(output), job, &error)) {
        std::fprintf(stderr, "zebl compose: %s\n", error.c_str());
        return 1;
    }
    size_t pages = 0, bytes = 0;
    for (const SpoolRecord& r : job.records) {
        if (r.call == SpoolCall::EndPage) ++pages;
        bytes += r.data.size();
    }
    std::printf("%s: %zu pages, %zu spooler calls, %zu bytes of buffers\n", output, pages, job.records.size(),
                bytes);
    return 0;
}
