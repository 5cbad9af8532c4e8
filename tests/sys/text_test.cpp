#include "sys/text.h"

#include <gtest/gtest.h>

namespace {

TEST(Text, RoundTripsAsciiAccentsAndSurrogatePairs) {
    const std::string samples[] = {"", "C:\\TEMP\\vlg1.tmp", "Gr\xC3\xBC\xC3\x9F" "e",
                                   "\xE2\x82\xAC 5", "\xF0\x9F\x96\xA8 printer"};
    for (const std::string& s : samples) EXPECT_EQ(sys::Narrow(sys::Widen(s)), s);
    EXPECT_EQ(sys::Widen("\xF0\x9F\x96\xA8"), (std::u16string{0xD83D, 0xDDA8}));
    EXPECT_EQ(sys::Widen("\xC3\xBC"), std::u16string(1, u'\u00FC'));
}

TEST(Text, MalformedInputBecomesReplacementCharacters) {
    // A truncated sequence, an overlong encoding, a lone continuation byte and
    // an encoded surrogate: each yields U+FFFD and decoding goes on.
    EXPECT_EQ(sys::Widen("a\xC3"), (std::u16string{u'a', 0xFFFD}));
    EXPECT_EQ(sys::Widen("\xC0\xAF" "b"), (std::u16string{0xFFFD, 0xFFFD, u'b'}));
    EXPECT_EQ(sys::Widen("\x80"), std::u16string(1, char16_t{0xFFFD}));
    EXPECT_EQ(sys::Widen("\xED\xA0\x80"), (std::u16string{0xFFFD, 0xFFFD, 0xFFFD}));
    EXPECT_EQ(sys::Narrow(std::u16string{0xD800, u'x'}), "\xEF\xBF\xBDx");
}

}  // namespace
