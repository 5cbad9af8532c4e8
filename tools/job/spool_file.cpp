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
        if (!KnownCall(call)) return Fail(error, offset, "unknown call " + std::to_string(call));
        SpoolRecord record;
        record.call = static_cast<SpoolCall>(call);
        const char* name = SpoolCallName(record.call);
        if (!CallTakesData(record.call) && length != 0)
            return Fail(error, offset,
                        std::string(name) + " record with " + std::to_string(length) +
                            " bytes of data (it takes none)");
        if (record.call == SpoolCall::StartDoc && length > kSpoolMaxDocNameBytes)
            return Fail(error, offset, "document name of " + std::to_string(length) + " bytes");
        const uint8_t* bytes = nullptr;
        if (!in.Take(length, &bytes))
            return Fail(error, offset,
                        std::string("truncated: ") + name + " record of " + std::to_string(length) +
                            " bytes, " + std::to_string(in.Remaining()) + " left");
        if (record.call == SpoolCall::End) {
            if (!in.AtEnd()) return Fail(error, in.Offset(), "bytes after the End record");
            return true;
        }
        record.data.assign(bytes, bytes + length);
        job->records.push_back(std::move(record));
    }
}

bool CheckSpoolOrder(const SpoolJob& job, std::string* error) {
    const auto& records = job.records;
    if (records.empty() || records.front().call != SpoolCall::StartDoc) {
        *error = "a job starts with StartDoc";
        return false;
    }
    if (records.back().call != SpoolCall::EndDoc) {
        *error = "a job ends with EndDoc";
        return false;
    }
    for (size_t i = 1; i + 1 < records.size(); ++i) {
        const SpoolCall call = records[i].call;
        if (call == SpoolCall::StartDoc || call == SpoolCall::EndDoc) {
            *error =
                "record " + std::to_string(i + 1) + ": " + SpoolCallName(call) + " in the middle of the job";
            return false;
        }
    }
    return true;
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
