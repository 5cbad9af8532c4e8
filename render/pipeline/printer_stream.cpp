#include "pipeline/printer_stream.h"

#include <cstring>

#include "pipeline/pjl.h"

namespace {

int Write(FBOut* out, const uint8_t* bytes, uint32_t length, uint32_t stream) {
    return FBOutWrite(out, bytes, length, stream);
}

}  // namespace

int WriteJobHeader(FBOut* out, const FBPage& page, FBSettings* settings) {
    // Collated copies are made by replaying the recorded page part, so the
    // recording has to start before the first byte of the job.
    if (out->copyRepeatCount != 0) FBOutInitializeJobSpool(out);
    char text[kPJLBufferSize];
    if (!BuildJobHeader(text, page, settings)) return 0;
    return FBOutWrite(out, text, static_cast<uint32_t>(std::strlen(text)), kStreamJobHeader);
}

int WriteJobTrailer(FBOut* out) {
    const uint8_t end = kRecordJobTrailer;
    const int ok = Write(out, &end, 1, kStreamJobTrailer);
    return Write(out, reinterpret_cast<const uint8_t*>(kUniversalExit.data()),
                 static_cast<uint32_t>(kUniversalExit.size()), kStreamJobTrailer) &
           ok;
}

int WritePageHeader(FBOut* out, const FBPage& page, const FBSettings& settings) {
    const auto header = BuildPageHeader(page, settings, out->pageCounter);
    if (!header) return 0;
    return Write(out, header->data(), kPageHeaderSize, kStreamPage);
}

int WritePageTrailer(FBOut* out, const FBPage& page, const FBSettings& /*settings*/) {
    const auto trailer = BuildPageTrailer(page);
    if (!trailer) return 0;
    return Write(out, trailer->data(), kPageTrailerSize, kStreamPage);
}

int WriteBandHeaderColor(FBOut* out, uint32_t bandNumber, uint8_t compression, uint32_t widthDots,
                         uint32_t lines, uint32_t dataLength, uint8_t planeId) {
    const auto header = BuildBandHeader(bandNumber, compression, widthDots, lines, dataLength, planeId);
    if (!header) return 0;
    return Write(out, header->data(), kBandHeaderSize, kStreamPage);
}

int WriteBandRepeatedHeaderColor(FBOut* out, uint8_t compression, uint32_t dataLength, uint8_t planeId) {
    const auto header = BuildPlaneHeader(compression, dataLength, planeId);
    if (!header) return 0;
    return Write(out, header->data(), kPlaneHeaderSize, kStreamPage);
}

int WriteBandBuffer(FBOut* out, const uint8_t* data, uint32_t length) {
    if (!data || length == 0) return 0;
    const auto checksum = BuildBandChecksum(data, length);
    const int ok = Write(out, data, length, kStreamPage);
    return Write(out, checksum.data(), kBandChecksumSize, kStreamPage) & ok;
}
