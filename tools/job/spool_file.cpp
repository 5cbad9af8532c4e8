#include "job/spool_file.h"

#include "decode/byte_cursor.h"
#include "job/file_bytes.h"

namespace {

bool KnownCall(uint8_t value) { return value <= static_cast<uint8_t>(SpoolCall::Abort); }

bool CallTakesData(SpoolCall call) { return call == SpoolCall::StartDoc || call == SpoolCall::WritePrinter; }

void PutU16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void PutRecord(std::vector<uint8_t>& out, SpoolCall call, const std::vector<uint8_t>& data) {
    out.push_back(static_cast<uint8_t>(call));
    PutU32(out, static_cast<uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
}

bool Fail(std::string* error, size_t offset, const std::string& what) {
    *error = "byte offset " + std::to_string(offset) + ": " + what;
    return false;
}

bool DecodeHeader(ByteCursor& in, std::string* error) {
    const uint8_t* magic = nullptr;
    if (!in.Take(4, &magic)) return Fail(error, 0, "too short for a spool file header");
    for (size_t i = 0; i < 4; ++i)
        if (magic[i] != static_cast<uint8_t>(kSpoolMagic[i]))
            return Fail(error, 0, "not a spool file (no \"ZSPL\" magic)");
    uint16_t version = 0, flags = 0;
    if (!in.ReadLE16(&version) || !in.ReadLE16(&flags))
        return Fail(error, in.Offset(), "too short for a spool file header");
    if (version != kSpoolVersion)
        return Fail(error, 4,
                    "spool file version " + std::to_string(version) + ", this tool reads " +
                        std::to_string(kSpoolVersion));
    if (flags != 0) return Fail(error, 6, "unknown header flags " + std::to_string(flags));
    return true;
}

}  // namespace

bool CheckSpoolHeader(const uint8_t* data, size_t size, std::string* error) {
    ByteCursor in(data, size);
    return DecodeHeader(in, error);
}

const char* SpoolCallName(SpoolCall call) {
    switch (call) {
        case SpoolCall::End: return "End";
        case SpoolCall::StartDoc: return "StartDoc";
        case SpoolCall::WritePrinter: return "WritePrinter";
        case SpoolCall::StartPage: return "StartPage";
        case SpoolCall::EndPage: return "EndPage";
        case SpoolCall::EndDoc: return "EndDoc";
        case SpoolCall::Abort: return "Abort";
    }
    return "unknown";
}

std::vector<uint8_t> EncodeSpoolFile(const SpoolJob& job) {
    std::vector<uint8_t> out(kSpoolMagic, kSpoolMagic + 4);
    PutU16(out, kSpoolVersion);
    PutU16(out, 0);
    for (const SpoolRecord& record : job.records) PutRecord(out, record.call, record.data);
    PutRecord(out, SpoolCall::End, {});
    return out;
}

bool DecodeSpoolFile(const uint8_t* data, size_t size, SpoolJob* job, std::string* error) {
    job->records.clear();
    ByteCursor in(data, size);
    if (!DecodeHeader(in, error)) return false;
    for (;;) {
        const size_t offset = in.Offset();
        uint8_t call = 0;
        uint32_t length = 0;
        if (!in.ReadU8(&call) || !in.ReadLE32(&length))
            return Fail(error, offset, "truncated: the file ends without its End record");
        std::string fault;
        if (!CheckSpoolRecordHeader(call, length, in.Remaining(), &fault)) return Fail(error, offset, fault);
        const uint8_t* bytes = nullptr;
        in.Take(length, &bytes);
        SpoolRecord record;
        record.call = static_cast<SpoolCall>(call);
        if (record.call == SpoolCall::End) {
            if (!in.AtEnd()) return Fail(error, in.Offset(), "bytes after the End record");
            return true;
        }
        record.data.assign(bytes, bytes + length);
        job->records.push_back(std::move(record));
    }
}

bool CheckSpoolRecordHeader(uint8_t call, uint32_t length, uint64_t remaining, std::string* fault) {
    if (!KnownCall(call)) {
        *fault = "unknown call " + std::to_string(call);
        return false;
    }
    const auto spoolCall = static_cast<SpoolCall>(call);
    const char* name = SpoolCallName(spoolCall);
    if (!CallTakesData(spoolCall) && length != 0) {
        *fault =
            std::string(name) + " record with " + std::to_string(length) + " bytes of data (it takes none)";
        return false;
    }
    if (spoolCall == SpoolCall::StartDoc && length > kSpoolMaxDocNameBytes) {
        *fault = "document name of " + std::to_string(length) + " bytes";
        return false;
    }
    if (length > remaining) {
        *fault = std::string("truncated: ") + name + " record of " + std::to_string(length) + " bytes, " +
                 std::to_string(remaining) + " left";
        return false;
    }
    return true;
}

void SpoolOrderCheck::Add(SpoolCall call) {
    ++count_;
    if (count_ == 1) first_ = call;
    // The record before this one is in the middle now; faults are found in
    // record order, so the first one found is the first in the file.
    if (!misplaced_ && count_ > 2 && last_ == SpoolCall::EndDoc) {
        misplaced_ = count_ - 1;
        misplacedCall_ = last_;
    }
    if (!misplaced_ && count_ > 1 && call == SpoolCall::StartDoc) {
        misplaced_ = count_;
        misplacedCall_ = call;
    }
    last_ = call;
}

bool SpoolOrderCheck::Finish(std::string* error) const {
    if (count_ == 0 || first_ != SpoolCall::StartDoc) {
        *error = "a job starts with StartDoc";
        return false;
    }
    if (last_ != SpoolCall::EndDoc) {
        *error = "a job ends with EndDoc";
        return false;
    }
    if (misplaced_) {
        *error = "record " + std::to_string(misplaced_) + ": " + SpoolCallName(misplacedCall_) +
                 " in the middle of the job";
        return false;
    }
    return true;
}

bool CheckSpoolOrder(const SpoolJob& job, std::string* error) {
    SpoolOrderCheck order;
    for (const SpoolRecord& record : job.records) order.Add(record.call);
    return order.Finish(error);
}

bool WriteSpoolFile(sys::WStringView path, const SpoolJob& job, std::string* error) {
    return WriteFileBytes(path, EncodeSpoolFile(job), error);
}

bool ReadSpoolFile(sys::WStringView path, SpoolJob* job, std::string* error) {
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, kSpoolMaxFileBytes, &bytes, error)) return false;
    std::string detail;
    if (!DecodeSpoolFile(bytes.data(), bytes.size(), job, &detail)) {
        *error = sys::Narrow(path) + ": " + detail;
        return false;
    }
    return true;
}
