#include "job/file_bytes.h"

#include <algorithm>

#include "sys/files.h"
#include "sys/last_error.h"

namespace {

std::string Failure(const char* what, sys::WStringView path) {
    return std::string(what) + " " + sys::Narrow(path) + " (error " + std::to_string(sys::GetLastError()) +
           ")";
}

}  // namespace

bool ReadFileBytes(sys::WStringView path, uint64_t maxBytes, std::vector<uint8_t>* bytes,
                   std::string* error) {
    bytes->clear();
    sys::File file = sys::File::OpenExisting(path, false, sys::Share::ReadWrite);
    if (!file.IsOpen()) {
        *error = Failure("cannot open", path);
        return false;
    }
    uint64_t size = 0;
    if (!file.Seek(0, sys::SeekOrigin::End, &size) || !file.Seek(0, sys::SeekOrigin::Begin)) {
        *error = Failure("cannot read", path);
        return false;
    }
    if (size > maxBytes) {
        *error = sys::Narrow(path) + " is too large (" + std::to_string(size) + " bytes, at most " +
                 std::to_string(maxBytes) + ")";
        return false;
    }
    bytes->resize(static_cast<size_t>(size));
    size_t done = 0;
    while (done < bytes->size()) {
        const size_t want = std::min<size_t>(bytes->size() - done, size_t{1} << 24);
        uint32_t got = 0;
        if (!file.Read(bytes->data() + done, static_cast<uint32_t>(want), &got)) {
            *error = Failure("cannot read", path);
            return false;
        }
        if (got == 0) break;  // the file shrank while it was read
        done += got;
    }
    bytes->resize(done);
    return true;
}

bool WriteFileBytes(sys::WStringView path, const uint8_t* data, size_t size, std::string* error) {
    sys::File file = sys::File::CreateAlways(path);
    if (!file.IsOpen()) {
        *error = Failure("cannot create", path);
        return false;
    }
    size_t done = 0;
    while (done < size) {
        const size_t chunk = std::min<size_t>(size - done, size_t{1} << 24);
        uint32_t written = 0;
        if (!file.Write(data + done, static_cast<uint32_t>(chunk), &written) || written != chunk) {
            *error = Failure("cannot write", path);
            return false;
        }
        done += chunk;
    }
    return true;
}
