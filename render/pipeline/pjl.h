// The PJL text of the job header: the universal exit sequence, one SET line
// per chosen printer setting and the switch to the page-description language
// ZEBL. Lines are appended to a NUL-terminated text in a fixed buffer; an
// append that would not fit (with its NUL) leaves the text unchanged and
// reports 0, so no index or value can run past the buffer.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "pipeline/fb_records.h"

constexpr uint32_t kPJLBufferSize = 512;

// ESC "%-12345X": leaves any language and returns the printer to PJL.
constexpr std::string_view kUniversalExit{"\x1B%-12345X", 9};
constexpr std::string_view kPJLEnterZebl{"@PJL ENTER LANGUAGE = ZEBL\r\n"};

// AddPJL selectors: one bit per PJL variable.
enum PJLSelector : uint32_t {
    kPJLPaperType = 1,
    kPJLTimeout = 2,
    kPJLDensity = 4,
    kPJLEconomy = 8,
    kPJLPowerSave = 16,
    kPJLRet = 32,
    kPJLJamRecovery = 64,
    kPJLReprint = 128,
    kPJLAltitude = 256,
    kPJLDuplex = 512,
    kPJLColorMode = 1024,
};

// Paper type index of envelopes ("ENV").
constexpr uint32_t kPaperTypeEnvelope = 9;

// Appends "@PJL SET name = value\r\n". 1, or 0 when it does not fit.
int AddPJLSET(std::span<char> buffer, std::string_view name, std::string_view value);
// Appends "@PJL DEFAULT name = value\r\n". 1, or 0 when it does not fit.
int AddPJLDEF(std::span<char> buffer, std::string_view name, std::string_view value);
// Appends the line(s) of one variable. An index that is 255 or outside its
// table appends nothing and counts as success. 0 when the lines do not fit
// (nothing is appended) or the selector is not one of the above.
int AddPJL(std::span<char> buffer, const FBSettings& settings, uint32_t selector);

// Envelope paper codes print on envelope media whatever the user chose.
bool IsEnvelopePaper(uint32_t paperCode);

// The whole job header text, NUL-terminated, in `buffer` (cleared first).
// Sets the settings' paper type to envelope for envelope paper. 1, or 0 when
// the buffer is too small.
int BuildJobHeader(std::span<char> buffer, const FBPage& page, FBSettings* settings);
