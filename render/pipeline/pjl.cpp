#include "pipeline/pjl.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

// Texts of the index-valued variables, in index order. A null entry sends no
// line for that index.
constexpr const char* kColorModes[] = {"MONO", "COLOR"};
constexpr const char* kPaperTypes[] = {"OFF",   "NORMAL", "THICK", "THIN", "BOND",   "COLOR",   "CARD",
                                       "LABEL", "OHP",    "ENV",   "USED", "COTTON", "RECYCLED"};
constexpr const char* kRetModes[] = {"OFF", "ON", "GRAY"};
constexpr const char* kOffOn[] = {"OFF", "ON"};
constexpr const char* kDensities[] = {"3", "1", "5"};
constexpr const char* kEconomyModes[] = {nullptr, "OFF", "ON"};
constexpr const char* kAltitudes[] = {"LOW", "HIGH"};

// The text for an index, or null when the index is "not set" or unknown.
template <size_t N>
const char* IndexText(const char* const (&table)[N], uint32_t index) {
    return index < N ? table[index] : nullptr;
}

// Appends `text` to the NUL-terminated text in `buffer` when it fits with its
// NUL; a buffer without a NUL is full.
int Append(std::span<char> buffer, std::string_view text) {
    const size_t length = static_cast<size_t>(std::find(buffer.begin(), buffer.end(), '\0') - buffer.begin());
    if (length == buffer.size() || text.size() >= buffer.size() - length) return 0;
    std::memcpy(buffer.data() + length, text.data(), text.size());
    buffer[length + text.size()] = '\0';
    return 1;
}

std::string Line(std::string_view command, std::string_view name, std::string_view value) {
    std::string line = "@PJL ";
    line.append(command).append(" ").append(name).append(" = ").append(value).append("\r\n");
    return line;
}

std::string SetLine(std::string_view name, const char* value) {
    return value ? Line("SET", name, value) : std::string();
}

std::string DuplexLines(uint32_t duplexType) {
    const char* binding = nullptr;
    switch (duplexType) {
        case kDuplexOff: return "@PJL SET DUPLEX=OFF\r\n";
        case kDuplexLongEdge: binding = "LONGEDGE"; break;
        case kDuplexShortEdge: binding = "SHORTEDGE"; break;
        case kDuplexReverseLongEdge: binding = "REVERSE_LONGEDGE"; break;
        case kDuplexReverseShortEdge: binding = "REVERSE_SHORTEDGE"; break;
        default: return std::string();
    }
    return std::string("@PJL SET DUPLEX=ON\r\n@PJL SET BINDING=") + binding + "\r\n";
}

std::string PowerSaveLines(uint32_t minutes) {
    if (minutes == 0) return Line("SET", "POWERSAVE", "OFF");
    return Line("SET", "POWERSAVE", "ON") +
           Line("SET", "POWERSAVETIME", std::to_string(static_cast<int32_t>(minutes)));
}

// The text of one selector; false for an unknown selector.
bool SelectorLines(const FBSettings& s, uint32_t selector, std::string* lines) {
    switch (selector) {
        case kPJLPaperType:
            *lines = SetLine("PAPERTYPE", IndexText(kPaperTypes, s.paperTypeIndex));
            return true;
        case kPJLTimeout:
            *lines = Line("DEFAULT", "TIMEOUT", std::to_string(static_cast<int32_t>(s.timeout)));
            return true;
        case kPJLDensity: *lines = SetLine("DENSITY", IndexText(kDensities, s.densityIndex)); return true;
        case kPJLEconomy:
            *lines = SetLine("ECONOMODE", IndexText(kEconomyModes, s.economyIndex));
            return true;
        case kPJLPowerSave: *lines = PowerSaveLines(s.powerSaveTime); return true;
        case kPJLRet: *lines = SetLine("RET", IndexText(kRetModes, s.retIndex)); return true;
        case kPJLJamRecovery:
            *lines = SetLine("JAMRECOVERY", IndexText(kOffOn, s.jamRecoveryIndex));
            return true;
        case kPJLReprint: *lines = SetLine("REPRINT", IndexText(kOffOn, s.reprintIndex)); return true;
        case kPJLAltitude: *lines = SetLine("ALTITUDE", IndexText(kAltitudes, s.altitudeIndex)); return true;
        case kPJLDuplex: *lines = DuplexLines(s.duplexType); return true;
        case kPJLColorMode: *lines = SetLine("COLORMODE", IndexText(kColorModes, s.colourIndex)); return true;
        default: return false;
    }
}

}  // namespace

int AddPJLSET(std::span<char> buffer, std::string_view name, std::string_view value) {
    return Append(buffer, Line("SET", name, value));
}

int AddPJLDEF(std::span<char> buffer, std::string_view name, std::string_view value) {
    return Append(buffer, Line("DEFAULT", name, value));
}

int AddPJL(std::span<char> buffer, const FBSettings& settings, uint32_t selector) {
    std::string lines;
    if (!SelectorLines(settings, selector, &lines)) return 0;
    return lines.empty() ? 1 : Append(buffer, lines);
}

bool IsEnvelopePaper(uint32_t paperCode) {
    // #10, DL, C5, C6 and Monarch.
    return paperCode == 20 || paperCode == 27 || paperCode == 28 || paperCode == 31 || paperCode == 37;
}

int BuildJobHeader(std::span<char> buffer, const FBPage& page, FBSettings* settings) {
    if (buffer.empty()) return 0;
    std::fill(buffer.begin(), buffer.end(), '\0');
    int ok = Append(buffer, kUniversalExit);
    ok &= AddPJL(buffer, *settings, kPJLColorMode);
    if (IsEnvelopePaper(page.paperCode)) settings->paperTypeIndex = kPaperTypeEnvelope;
    for (uint32_t selector : {kPJLPaperType, kPJLRet, kPJLJamRecovery, kPJLDuplex}) {
        ok &= AddPJL(buffer, *settings, selector);
    }
    ok &= Append(buffer, kPJLEnterZebl);
    return ok;
}
