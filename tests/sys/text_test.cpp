#include "sys/text.h"

#include <gtest/gtest.h>

#include "sys/paths.h"

namespace {

TEST(Text, RoundTripsAsciiAccentsAndSurrogatePairs) {
    // "Grüße": the literal is cut after the escapes so that the e is no hex digit.
    const std::string greetings = std::string("Gr\xC3\xBC\xC3\x9F") + "e";
    const std::string samples[] = {"", "C:\\TEMP\\vlg1.tmp", greetings, "\xE2\x82\xAC 5",
                                   "\xF0\x9F\x96\xA8 printer"};
    for (const std::string& s : samples) EXPECT_EQ(sys::Narrow(sys::Widen(s)), s);
    EXPECT_EQ(sys::Widen("\xF0\x9F\x96\xA8"), (std::u16string{0xD83D, 0xDDA8}));
    EXPECT_EQ(sys::Widen("\xC3\xBC"), std::u16string(1, u'\u00FC'));
}

TEST(Text, MalformedInputBecomesReplacementCharacters) {
    // A truncated sequence, an overlong encoding, a lone continuation byte and
    // an encoded surrogate: each yields U+FFFD and decoding goes on.
    EXPECT_EQ(sys::Widen("a\xC3"), (std::u16string{u'a', 0xFFFD}));
    EXPECT_EQ(sys::Widen("\xC0\xAF"
                         "b"),
              (std::u16string{0xFFFD, 0xFFFD, u'b'}));
    EXPECT_EQ(sys::Widen("\x80"), std::u16string(1, char16_t{0xFFFD}));
    EXPECT_EQ(sys::Widen("\xED\xA0\x80"), (std::u16string{0xFFFD, 0xFFFD, 0xFFFD}));
    EXPECT_EQ(sys::Narrow(std::u16string{0xD800, u'x'}), "\xEF\xBF\xBDx");
}

struct FoldCase {
    const char16_t* a;
    const char16_t* b;
    int order;  // CompareIgnoreCase(a, b)
};

// Letters of the scripts the package's names use fold; signs, other
// scripts' letters and sharp s compare as themselves.
TEST(Text, NamesCompareAsWindowsFoldsThem) {
    const FoldCase cases[] = {
        {u"Tzqr4UM.DLL", u"tzqr4um.dll", 0},
        {u"\u00C4RGER \u00D6L", u"\u00E4rger \u00F6l", 0},  // Latin-1
        {u"\u0391\u03A9", u"\u03B1\u03C9", 0},              // Greek
        {u"\u0416\u0401\u0400", u"\u0436\u0451\u0450", 0},  // Cyrillic
        {u"\u00D7", u"\u00F7", -1},                         // multiplication and division signs
        {u"\u00DF", u"SS", 1},                              // sharp s does not expand
        {u"[", u"{", -1},                                   // no folding outside letters
        {u"abc", u"ABCD", -1},                              // a prefix sorts first
        {u"b", u"A", 1},
        {u"", u"", 0},
    };
    for (const FoldCase& c : cases) {
        EXPECT_EQ(sys::CompareIgnoreCase(c.a, c.b), c.order) << sys::Narrow(c.a) << " / " << sys::Narrow(c.b);
        EXPECT_EQ(sys::CompareIgnoreCase(c.b, c.a), -c.order);
        EXPECT_EQ(sys::EqualsIgnoreCase(c.a, c.b), c.order == 0);
    }
    EXPECT_TRUE(sys::EndsWithIgnoreCase(u"C:\\Drivers\\TZQR4UM.DLL", u"um.dll"));
    EXPECT_FALSE(sys::EndsWithIgnoreCase(u"m.dll", u"um.dll"));
}

struct PathCase {
    const char16_t* path;
    const char16_t* folder;
    const char16_t* name;
    const char16_t* stem;  // WithoutExtension
};

TEST(Paths, SplitAtTheLastSeparator) {
    const PathCase cases[] = {
        {u"C:\\dir\\name.ext", u"C:\\dir", u"name.ext", u"C:\\dir\\name"},
        {u"/host/dir/Tzqr4SU.DLL", u"/host/dir", u"Tzqr4SU.DLL", u"/host/dir/Tzqr4SU"},
        {u"C:\\dir.d\\noext", u"C:\\dir.d", u"noext", u"C:\\dir.d\\noext"},
        {u"C:name.txt", u"", u"name.txt", u"C:name"},
        {u"name", u"", u"name", u"name"},
        {u"C:\\dir\\", u"C:\\dir", u"", u"C:\\dir\\"},
        {u"a.b.c", u"", u"a.b.c", u"a.b"},
    };
    for (const PathCase& c : cases) {
        EXPECT_EQ(sys::FolderOf(c.path), c.folder) << sys::Narrow(c.path);
        EXPECT_EQ(sys::FileNameOf(c.path), c.name) << sys::Narrow(c.path);
        EXPECT_EQ(sys::WithoutExtension(c.path), c.stem) << sys::Narrow(c.path);
    }
    EXPECT_EQ(sys::JoinPath(u"C:\\dir", u"a.txt"), u"C:\\dir\\a.txt");
    EXPECT_EQ(sys::JoinPath(u"C:\\", u"a.txt"), u"C:\\a.txt");
    EXPECT_EQ(sys::JoinPath(u"/tmp/", u"a.txt"), u"/tmp/a.txt");
    EXPECT_EQ(sys::JoinPath(u"", u"a.txt"), u"a.txt");
}

}  // namespace
