// The buffers the driver's drawing side spools, and the records of a
// recorded data file.
//
//   settings record        a buffer of exactly kFBInterfaceSize bytes
//                          (formats/settings_record.h)
//   display-list piece     any other buffer:
//                             +0 tag (LE32) | +4 display-list bytes (whole records)
//   recorded data file     (overlays, watermarks; a command list with headers)
//                          records until the end of the file, each
//                             +0 length (LE32) | +4 tag (LE32) | +8 length bytes
#pragma once

#include <cstdint>

constexpr uint32_t kDLPieceTagBytes = 4;
// The length and tag in front of every record of a recorded data file.
constexpr uint32_t kFBCmdHeaderSize = 8;
// The tag of the pieces the print pipeline writes itself (origin, scale,
// frames, watermark brackets); the drawing side's pieces carry it too.
constexpr uint32_t kFBCmdPipelineTag = 0;
