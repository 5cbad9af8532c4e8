#include "support/file_bytes.h"

#include <vector>

#include "sys/files.h"

namespace zebl_test {

bool CopyFileBytes(sys::WStringView from, sys::WStringView to) {
    sys::File in = sys::File::OpenExisting(from, false, sys::Share::ReadWrite);
    if (!in.IsOpen()) return false;
    std::vector<unsigned char> bytes;
    unsigned char chunk[65536];
    uint32_t got = 0;
    while (in.Read(chunk, sizeof chunk, &got) && got > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    return WriteFileBytes(to, bytes.data(), bytes.size());
}

bool WriteFileBytes(sys::WStringView path, const void* data, size_t size) {
    sys::File out = sys::File::CreateAlways(path);
    uint32_t written = 0;
    return out.IsOpen() && out.Write(data, static_cast<uint32_t>(size), &written) && written == size;
}

}  // namespace zebl_test
