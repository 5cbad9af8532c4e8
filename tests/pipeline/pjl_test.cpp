#include "pipeline/pjl.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

const std::string kUel = "\x1B%-12345X";

FBSettings NothingSet() {
    FBSettings s;
    s.colourIndex = s.paperTypeIndex = s.jamRecoveryIndex = s.densityIndex = 255;
    s.economyIndex = s.reprintIndex = s.altitudeIndex = 255;
    s.retIndex = 0;  // always 0 in a real job
    s.duplexType = 0;
    return s;
}

std::string Header(const FBPage& page, FBSettings* settings) {
    std::array<char, kPJLBufferSize> buffer;
    buffer.fill('#');
    EXPECT_EQ(BuildJobHeader(buffer, page, settings), 1);
    return std::string(buffer.data());
}

// The text one selector appends to an empty buffer.
std::string Lines(const FBSettings& s, uint32_t selector) {
    std::array<char, kPJLBufferSize> buffer{};
    EXPECT_EQ(AddPJL(buffer, s, selector), 1) << "selector " << selector;
    return std::string(buffer.data());
}

TEST(JobHeader, NothingSetStillSendsRetAndTheLanguageSwitch) {
    FBPage page;
    page.paperCode = 9;
    FBSettings s = NothingSet();
    EXPECT_EQ(Header(page, &s), kUel + "@PJL SET RET = OFF\r\n@PJL ENTER LANGUAGE = ZEBL\r\n");
}

TEST(JobHeader, ColourDuplexJobInOrder) {
    FBPage page;
    page.paperCode = 9;
    FBSettings s = NothingSet();
    s.colourIndex = 1;
    s.paperTypeIndex = 12;
    s.jamRecoveryIndex = 1;
    s.duplexType = kDuplexShortEdge;
    s.densityIndex = 2;  // not part of the job header
    s.timeout = 30;
    EXPECT_EQ(Header(page, &s), kUel +
                                    "@PJL SET COLORMODE = COLOR\r\n"
                                    "@PJL SET PAPERTYPE = RECYCLED\r\n"
                                    "@PJL SET RET = OFF\r\n"
                                    "@PJL SET JAMRECOVERY = ON\r\n"
                                    "@PJL SET DUPLEX=ON\r\n"
                                    "@PJL SET BINDING=SHORTEDGE\r\n"
                                    "@PJL ENTER LANGUAGE = ZEBL\r\n");
}

TEST(JobHeader, MonoWhenColourIndexIsZero) {
    FBPage page;
    FBSettings s = NothingSet();
    s.colourIndex = 0;
    const std::string header = Header(page, &s);
    EXPECT_EQ(header.find("@PJL SET COLORMODE = MONO\r\n"), kUel.size()) << header;
}

TEST(JobHeader, EnvelopesAlwaysPrintOnEnvelopeMedia) {
    for (uint32_t code : {20u, 27u, 28u, 31u, 37u}) {
        FBPage page;
        page.paperCode = code;
        FBSettings s = NothingSet();
        s.paperTypeIndex = 2;  // THICK chosen by the user
        const std::string header = Header(page, &s);
        EXPECT_NE(header.find("@PJL SET PAPERTYPE = ENV\r\n"), std::string::npos) << code;
        EXPECT_EQ(header.find("THICK"), std::string::npos) << code;
        EXPECT_EQ(s.paperTypeIndex, kPaperTypeEnvelope);
    }
    // Other envelope-like sizes (#9, C4) keep the user's choice.
    for (uint32_t code : {19u, 30u, 9u}) {
        FBPage page;
        page.paperCode = code;
        FBSettings s = NothingSet();
        s.paperTypeIndex = 2;
        EXPECT_NE(Header(page, &s).find("@PJL SET PAPERTYPE = THICK\r\n"), std::string::npos);
        EXPECT_EQ(s.paperTypeIndex, 2u);
    }
}

TEST(JobHeader, EveryDuplexType) {
    const struct {
        uint32_t type;
        const char* lines;
    } cases[] = {
        {0, ""},
        {1, "@PJL SET DUPLEX=ON\r\n@PJL SET BINDING=LONGEDGE\r\n"},
        {2, "@PJL SET DUPLEX=ON\r\n@PJL SET BINDING=SHORTEDGE\r\n"},
        {3, "@PJL SET DUPLEX=OFF\r\n"},
        {4, "@PJL SET DUPLEX=ON\r\n@PJL SET BINDING=REVERSE_LONGEDGE\r\n"},
        {5, "@PJL SET DUPLEX=ON\r\n@PJL SET BINDING=REVERSE_SHORTEDGE\r\n"},
        {6, ""},
        {0xFFFFFFFFu, ""},
    };
    for (const auto& c : cases) {
        FBPage page;
        FBSettings s = NothingSet();
        s.duplexType = c.type;
        EXPECT_EQ(Header(page, &s),
                  kUel + "@PJL SET RET = OFF\r\n" + c.lines + "@PJL ENTER LANGUAGE = ZEBL\r\n")
            << "duplex type " << c.type;
    }
}

TEST(AddPJL, EachSelectorAndItsTable) {
    // One setting at a time, on settings where nothing else is set.
    const struct {
        uint32_t FBSettings::*field;
        uint32_t value;
        uint32_t selector;
        const char* lines;
    } cases[] = {
        {&FBSettings::timeout, 0xFFFFFFFFu, kPJLTimeout, "@PJL DEFAULT TIMEOUT = -1\r\n"},  // always sent
        {&FBSettings::timeout, 300, kPJLTimeout, "@PJL DEFAULT TIMEOUT = 300\r\n"},
        // The density table is not in numeric order.
        {&FBSettings::densityIndex, 1, kPJLDensity, "@PJL SET DENSITY = 1\r\n"},
        {&FBSettings::economyIndex, 0, kPJLEconomy, ""},
        {&FBSettings::economyIndex, 1, kPJLEconomy, "@PJL SET ECONOMODE = OFF\r\n"},
        {&FBSettings::economyIndex, 2, kPJLEconomy, "@PJL SET ECONOMODE = ON\r\n"},
        {&FBSettings::powerSaveTime, 0, kPJLPowerSave, "@PJL SET POWERSAVE = OFF\r\n"},
        {&FBSettings::powerSaveTime, 15, kPJLPowerSave,
         "@PJL SET POWERSAVE = ON\r\n@PJL SET POWERSAVETIME = 15\r\n"},
        {&FBSettings::retIndex, 2, kPJLRet, "@PJL SET RET = GRAY\r\n"},
        {&FBSettings::reprintIndex, 1, kPJLReprint, "@PJL SET REPRINT = ON\r\n"},
        {&FBSettings::altitudeIndex, 0, kPJLAltitude, "@PJL SET ALTITUDE = LOW\r\n"},
        {&FBSettings::altitudeIndex, 1, kPJLAltitude, "@PJL SET ALTITUDE = HIGH\r\n"},
        {&FBSettings::jamRecoveryIndex, 0, kPJLJamRecovery, "@PJL SET JAMRECOVERY = OFF\r\n"},
    };
    for (const auto& c : cases) {
        FBSettings s = NothingSet();
        s.*c.field = c.value;
        EXPECT_EQ(Lines(s, c.selector), c.lines) << "selector " << c.selector << " value " << c.value;
    }
}

TEST(AddPJL, IndexesOutsideTheTablesSendNothing) {
    FBSettings s = NothingSet();
    s.paperTypeIndex = 13;
    s.retIndex = 3;
    s.jamRecoveryIndex = 2;
    s.densityIndex = 0x80000000u;
    s.economyIndex = 3;
    s.reprintIndex = 254;
    s.altitudeIndex = 0xFFFFFFFFu;
    s.colourIndex = 2;
    for (uint32_t selector : {kPJLPaperType, kPJLRet, kPJLJamRecovery, kPJLDensity, kPJLEconomy, kPJLReprint,
                              kPJLAltitude, kPJLColorMode}) {
        EXPECT_EQ(Lines(s, selector), "") << "selector " << selector;
    }
}

TEST(AddPJL, UnknownSelectorsAreRefused) {
    std::array<char, 64> buffer{};
    const FBSettings s = NothingSet();
    for (uint32_t selector : {0u, 3u, 2048u, 0x80000000u}) {
        EXPECT_EQ(AddPJL(buffer, s, selector), 0) << selector;
    }
    EXPECT_EQ(buffer[0], '\0');
}

TEST(AddPJL, AppendsNeverRunPastTheBuffer) {
    // The span covers only the first 40 bytes; the rest must stay untouched.
    std::array<char, 64> storage;
    storage.fill('#');
    storage[0] = '\0';
    const std::span<char> buffer(storage.data(), 40);
    EXPECT_EQ(AddPJLSET(buffer, "RET", "OFF"), 1);   // 20 bytes
    EXPECT_EQ(AddPJLSET(buffer, "RET", "GRAY"), 0);  // 21 more and the NUL: 22 > 20 free
    EXPECT_EQ(std::string(storage.data()), "@PJL SET RET = OFF\r\n");
    EXPECT_EQ(AddPJLSET(buffer, "RET", "ON"), 1);  // 19 and the NUL fill it exactly
    EXPECT_EQ(std::string(storage.data()), "@PJL SET RET = OFF\r\n@PJL SET RET = ON\r\n");
    EXPECT_EQ(storage[39], '\0');
    EXPECT_EQ(AddPJLSET(buffer, "", ""), 0);
    for (size_t i = 40; i < storage.size(); ++i) EXPECT_EQ(storage[i], '#') << i;

    // Two lines of one selector go in together or not at all.
    std::array<char, 30> small{};
    FBSettings s = NothingSet();
    s.duplexType = kDuplexLongEdge;
    EXPECT_EQ(AddPJL(small, s, kPJLDuplex), 0);
    EXPECT_EQ(small[0], '\0');

    // A buffer without any NUL is full.
    std::array<char, 16> full;
    full.fill('x');
    EXPECT_EQ(AddPJLSET(full, "A", "B"), 0);
    EXPECT_EQ(std::string(full.data(), full.size()), std::string(16, 'x'));
}

TEST(JobHeader, TooSmallABufferFailsInsideItsBounds) {
    std::array<char, 64> storage;
    storage.fill('#');
    FBPage page;
    FBSettings s = NothingSet();
    s.colourIndex = 1;
    EXPECT_EQ(BuildJobHeader(std::span<char>(storage.data(), 48), page, &s), 0);
    for (size_t i = 48; i < storage.size(); ++i) EXPECT_EQ(storage[i], '#') << i;
    EXPECT_EQ(BuildJobHeader(std::span<char>(), page, &s), 0);
}

}  // namespace
