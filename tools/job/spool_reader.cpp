#include "job/spool_reader.h"

#include <algorithm>
#include <cstring>

#include "sys/last_error.h"

namespace {

// Small records (page brackets, settings) come from the read-ahead buffer;
// larger ones are read straight into the record.
constexpr size_t kReadAheadBytes = 64 * 1024;

std::string SystemError() { return "error " + std::to_string(sys::GetLastError()); }

// Why a read that the file's length allowed came up short.
std::string ReadFault() {
    return sys::GetLastError() == 0 ? "the file got shorter while it was read"
                                    : "cannot read (" + SystemError() + ")";
}

}  // namespace

bool SpoolFileReader::Open(sys::WStringView path, std::string* error) {
    name_ = sys::Narrow(path);
    offset_ = 0;
    aheadPos_ = aheadEnd_ = 0;
    file_ = sys::File::OpenExisting(path, false, sys::Share::ReadWrite);
    if (!file_.IsOpen()) {
        *error = "cannot open " + name_ + " (" + SystemError() + ")";
        return false;
    }
    if (!file_.Seek(0, sys::SeekOrigin::End, &size_) || !file_.Seek(0, sys::SeekOrigin::Begin)) {
        *error = "cannot read " + name_ + " (" + SystemError() + ")";
        return false;
    }
    ahead_.resize(kReadAheadBytes);
    uint8_t header[kSpoolHeaderSize] = {};
    const size_t got = static_cast<size_t>(std::min<uint64_t>(size_, kSpoolHeaderSize));
    std::string detail;
    if (!Read(header, got) || !CheckSpoolHeader(header, got, &detail)) {
        *error = detail.empty() ? "cannot read " + name_ + " (" + SystemError() + ")" : name_ + ": " + detail;
        return false;
    }
    return true;
}

SpoolFileReader::Step SpoolFileReader::Next(SpoolRecord* record, bool withData, std::string* error) {
    const uint64_t offset = offset_;
    record->data.clear();
    uint8_t header[kSpoolRecordHeaderSize];
    if (size_ - offset_ < kSpoolRecordHeaderSize)
        return Fault(error, offset, "truncated: the file ends without its End record");
    if (!Read(header, sizeof header)) return Fault(error, offset, ReadFault());
    const uint8_t call = header[0];
    const uint32_t length = uint32_t{header[1]} | uint32_t{header[2]} << 8 | uint32_t{header[3]} << 16 |
                            uint32_t{header[4]} << 24;
    std::string fault;
    if (!CheckSpoolRecordHeader(call, length, size_ - offset_, &fault)) return Fault(error, offset, fault);
    record->call = static_cast<SpoolCall>(call);
    if (length > maxRecordBytes_)
        return Fault(error, offset,
                     std::string(SpoolCallName(record->call)) + " record of " + std::to_string(length) +
                         " bytes (at most " + std::to_string(maxRecordBytes_) + ")");
    if (record->call == SpoolCall::End) {
        if (offset_ != size_) return Fault(error, offset_, "bytes after the End record");
        return Step::End;
    }
    bool read = false;
    if (withData) {
        record->data.resize(length);
        read = Read(record->data.data(), length);
    } else {
        read = Skip(length);
    }
    if (!read) return Fault(error, offset, ReadFault());
    return Step::Record;
}

bool SpoolFileReader::Read(uint8_t* out, size_t length) {
    const size_t buffered = std::min(length, aheadEnd_ - aheadPos_);
    if (buffered) std::memcpy(out, ahead_.data() + aheadPos_, buffered);
    aheadPos_ += buffered;
    offset_ += buffered;
    out += buffered;
    length -= buffered;
    while (length > 0) {
        // A large rest goes straight to its place; a small one refills the
        // read-ahead buffer first.
        const bool direct = length >= ahead_.size();
        uint8_t* target = direct ? out : ahead_.data();
        const size_t want = direct ? std::min<size_t>(length, uint32_t{1} << 30) : ahead_.size();
        uint32_t got = 0;
        if (!file_.Read(target, static_cast<uint32_t>(want), &got)) return false;
        if (got == 0) {
            sys::SetLastError(0);  // the file shrank while it was read
            return false;
        }
        if (direct) {
            out += got;
            length -= got;
            offset_ += got;
            continue;
        }
        aheadPos_ = 0;
        aheadEnd_ = got;
        const size_t part = std::min<size_t>(length, got);
        std::memcpy(out, ahead_.data(), part);
        aheadPos_ = part;
        offset_ += part;
        out += part;
        length -= part;
    }
    return true;
}

bool SpoolFileReader::Skip(uint64_t length) {
    const size_t buffered = static_cast<size_t>(std::min<uint64_t>(length, aheadEnd_ - aheadPos_));
    aheadPos_ += buffered;
    offset_ += buffered;
    length -= buffered;
    if (length == 0) return true;
    aheadPos_ = aheadEnd_ = 0;
    offset_ += length;
    return file_.Seek(static_cast<int64_t>(offset_), sys::SeekOrigin::Begin);
}

SpoolFileReader::Step SpoolFileReader::Fault(std::string* error, uint64_t offset,
                                             const std::string& what) const {
    *error = name_ + ": byte offset " + std::to_string(offset) + ": " + what;
    return Step::Fault;
}

bool CheckSpoolFile(sys::WStringView path, std::string* error) {
    SpoolFileReader reader;
    if (!reader.Open(path, error)) return false;
    SpoolOrderCheck order;
    SpoolRecord record;
    for (;;) {
        const SpoolFileReader::Step step = reader.Next(&record, false, error);
        if (step == SpoolFileReader::Step::Fault) return false;
        if (step == SpoolFileReader::Step::End) break;
        order.Add(record.call);
    }
    std::string detail;
    if (!order.Finish(&detail)) {
        *error = sys::Narrow(path) + ": " + detail;
        return false;
    }
    return true;
}
