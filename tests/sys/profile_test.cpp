// The profile functions, one table of cases run in both builds: natively
// against the posix layer's INI parser, under Wine against the system's
// own profile functions. The expected results were taken from Wine; the two
// builds must agree on every case, corners included (quoted values cut
// short, section lists that do not fit, names with blanks, duplicates).
#include "sys/profile.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "support/test_printer.h"
#include "sys/files.h"

namespace {

using namespace std::string_literals;

constexpr char kSample[] =
    "; comment\r\n"
    "nokey=before\r\n"
    "[ Sec One ]\r\n"
    "  Key A  =  value a  \r\n"
    ";c=commented\r\n"
    "q=\"quoted\"\r\n"
    "q1='single'\r\n"
    "q2=\"half\r\n"
    "q3=\"\r\n"
    "empty=\r\n"
    "noequals\r\n"
    "[broken\r\n"
    "after=broken\r\n"
    "=novalue\r\n"
    "a=b=c\r\n"
    "dup=1\r\n"
    "DUP=2\r\n"
    "#hash=1\r\n"
    "[sec one]\r\n"
    "key a=second section\r\n"
    "new=in second\r\n"
    "[Tab]\tx\r\n"
    " k\t=\tv\t\r\n"
    "[S2]junk]\r\n"
    "k=1\r\n";

const std::u16string kSampleList =
    u"Key A=value a\0q=\"quoted\"\0q1='single'\0q2=\"half\0q3=\"\0empty=\0noequals\0"
    u"[broken\0after=broken\0=novalue\0a=b=c\0dup=1\0DUP=2\0#hash=1\0\0"s;

constexpr char kMissingFile[] = "";  // the case's file is not written at all

bool WriteBytes(sys::WStringView path, const std::string& bytes) {
    sys::File file = sys::File::CreateAlways(path);
    uint32_t written = 0;
    return file.IsOpen() && file.Write(bytes.data(), static_cast<uint32_t>(bytes.size()), &written) &&
           written == bytes.size();
}

std::string ReadBytes(sys::WStringView path) {
    const std::vector<uint8_t> bytes = zebl_test::ReadWholeFile(path);
    return std::string(bytes.begin(), bytes.end());
}

std::string Utf16File(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

// Units past the buffer size keep this value: nothing writes beyond `size`.
constexpr char16_t kUntouched = u'#';

// ---- Reads ---------------------------------------------------------------------

enum class Read { kString, kSection };

struct ReadCase {
    const char* name;
    std::string ini;  // the file's bytes; kMissingFile for no file
    Read call;
    std::u16string section;
    std::u16string key;       // kString only
    std::u16string fallback;  // kString only
    uint32_t size;
    uint32_t result;
    std::u16string buffer;  // the buffer's first units, NULs included
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

const ReadCase kReadCases[] = {
    // Names: case, blanks around them, the first section of a name only.
    {"ExactNames", kSample, Read::kString, u"Sec One", u"Key A", u"d", 100, 7, u"value a\0"s},
    {"OtherCase", kSample, Read::kString, u"sec one", u"key a", u"d", 100, 7, u"value a\0"s},
    {"BlanksAroundAskedNames", kSample, Read::kString, u" sec one ", u" key a ", u"d", 100, 7, u"value a\0"s},
    {"SecondSectionOfANameIsNotRead", kSample, Read::kString, u"Sec One", u"new", u"d", 100, 1, u"d\0"s},
    {"FirstOfTwoKeysWins", kSample, Read::kString, u"Sec One", u"DUP", u"d", 100, 1, u"1\0"s},
    {"TabsAroundKeyAndValue", kSample, Read::kString, u"Tab", u"k", u"d", 100, 1, u"v\0"s},
    {"SectionNameEndsAtTheLastBracket", kSample, Read::kString, u"S2]junk", u"k", u"d", 100, 1, u"1\0"s},
    {"NotTheFirstBracket", kSample, Read::kString, u"S2", u"k", u"d", 100, 1, u"d\0"s},
    {"KeysBeforeAnySection", kSample, Read::kString, u"", u"nokey", u"d", 100, 6, u"before\0"s},
    // Lines: comments, '#', lines without '=' or ']', '=' in the value.
    {"CommentLinesStillAnswerLookups", kSample, Read::kString, u"Sec One", u";c", u"d", 100, 9,
     u"commented\0"s},
    {"HashIsNoComment", kSample, Read::kString, u"Sec One", u"#hash", u"d", 100, 1, u"1\0"s},
    {"LineWithoutEqualsGivesTheDefault", kSample, Read::kString, u"Sec One", u"noequals", u"d", 100, 1,
     u"d\0"s},
    {"UnclosedSectionIsAKeyLine", kSample, Read::kString, u"Sec One", u"after", u"d", 100, 6, u"broken\0"s},
    {"EmptyKeyName", kSample, Read::kString, u"Sec One", u"", u"d", 100, 7, u"novalue\0"s},
    {"ValueKeepsLaterEquals", kSample, Read::kString, u"Sec One", u"a", u"d", 100, 3, u"b=c\0"s},
    {"EmptyValueIsNoDefault", kSample, Read::kString, u"Sec One", u"empty", u"d", 100, 0, u"\0"s},
    // Quotes: a matching pair goes, a lone quote stays.
    {"DoubleQuotes", kSample, Read::kString, u"Sec One", u"q", u"d", 100, 6, u"quoted\0"s},
    {"SingleQuotes", kSample, Read::kString, u"Sec One", u"q1", u"d", 100, 6, u"single\0"s},
    {"UnmatchedQuote", kSample, Read::kString, u"Sec One", u"q2", u"d", 100, 5, u"\"half\0"s},
    {"LoneQuote", kSample, Read::kString, u"Sec One", u"q3", u"d", 100, 1, u"\"\0"s},
    {"QuotedCutBeforeTheQuote", kSample, Read::kString, u"Sec One", u"q", u"d", 6, 5, u"quote\0"s},
    {"QuotedOneShortLosesALetter", kSample, Read::kString, u"Sec One", u"q", u"d", 7, 5, u"quote\0"s},
    {"QuotedJustFits", kSample, Read::kString, u"Sec One", u"q", u"d", 8, 6, u"quoted\0"s},
    // Defaults.
    {"MissingKey", kSample, Read::kString, u"Sec One", u"missing", u"def", 100, 3, u"def\0"s},
    {"MissingSection", kSample, Read::kString, u"Nowhere", u"Key A", u"def", 100, 3, u"def\0"s},
    {"MissingFile", kMissingFile, Read::kString, u"S", u"k", u"dflt", 100, 4, u"dflt\0"s},
    {"DefaultLosesTrailingSpaces", kSample, Read::kString, u"Sec One", u"missing", u"def  ", 100, 3,
     u"def\0"s},
    {"DefaultKeepsLeadingSpaces", kSample, Read::kString, u"Sec One", u"missing", u"  def", 100, 5,
     u"  def\0"s},
    {"EmptyDefault", kSample, Read::kString, u"Sec One", u"missing", u"", 100, 0, u"\0"s},
    {"QuotedDefault", kSample, Read::kString, u"Sec One", u"missing", u"\"quoted default\"", 100, 14,
     u"quoted default\0"s},
    // Cutting to the buffer: size - 1 units and a NUL.
    {"ValueCut", kSample, Read::kString, u"Sec One", u"Key A", u"d", 4, 3, u"val\0"s},
    {"DefaultCut", kSample, Read::kString, u"Sec One", u"missing", u"default", 4, 3, u"def\0"s},
    {"SizeOne", kSample, Read::kString, u"Sec One", u"Key A", u"d", 1, 0, u"\0"s},
    {"SizeZeroWritesNothing", kSample, Read::kString, u"Sec One", u"Key A", u"d", 0, 0, u""},
    {"LongValueIn256Units", "[S]\r\nk=" + std::string(300, 'x') + "\r\n", Read::kString, u"S", u"k", u"d",
     256, 255, std::u16string(255, u'x') + u'\0'},
    // Line ends, NULs, byte-order marks.
    {"LfAndCrAloneEndLines", "[S]\na=1\rb=2\n\n\n   [T]   \nc=3", Read::kString, u"S", u"b", u"d", 100, 1,
     u"2\0"s},
    {"LastLineWithoutLineEnd", "[S]\na=1\rb=2\n\n\n   [T]   \nc=3", Read::kString, u"T", u"c", u"d", 100, 1,
     u"3\0"s},
    {"NulEndsTheValue", "[S]\r\na=x\0y\r\nb=after nul\r\n"s, Read::kString, u"S", u"a", u"d", 100, 1,
     u"x\0"s},
    {"LineAfterNulIsRead", "[S]\r\na=x\0y\r\nb=after nul\r\n"s, Read::kString, u"S", u"b", u"d", 100, 9,
     u"after nul\0"s},
    {"Utf8WithMark", "\xEF\xBB\xBF[S]\r\nk=\xC3\xBC\r\n", Read::kString, u"S", u"k", u"d", 100, 1,
     u"\u00FC\0"s},
    {"Utf16LeWithMark", Utf16File(u"[S]\r\nk=\u00FC\r\n"), Read::kString, u"S", u"k", u"d", 100, 1,
     u"\u00FC\0"s},
    // Section lists.
    {"WholeSection", kSample, Read::kSection, u"Sec One", u"", u"", 200, 123, kSampleList},
    {"SectionOtherCase", kSample, Read::kSection, u"sec one", u"", u"", 200, 123, kSampleList},
    {"SectionCutInAValue", kSample, Read::kSection, u"Sec One", u"", u"", 20, 18,
     u"Key A=value a\0q=\"q\0\0"s},
    {"SectionCutAfterAKey", kSample, Read::kSection, u"Sec One", u"", u"", 17, 15, u"Key A=value a\0q\0\0"s},
    {"SectionSizeThree", kSample, Read::kSection, u"Sec One", u"", u"", 3, 1, u"K\0\0"s},
    {"SectionSizeTwo", kSample, Read::kSection, u"Sec One", u"", u"", 2, 0, u"\0\0"s},
    {"SectionSizeOne", kSample, Read::kSection, u"Sec One", u"", u"", 1, 0, u"\0"s},
    {"SectionExactFitCountsAsCut", kSample, Read::kSection, u"Tab", u"", u"", 5, 3, u"k=v\0\0"s},
    {"SectionOneUnitToSpare", kSample, Read::kSection, u"Tab", u"", u"", 6, 4, u"k=v\0\0"s},
    {"SectionBeforeAnyHeader", kSample, Read::kSection, u"", u"", u"", 100, 13, u"nokey=before\0\0"s},
    {"MissingSectionList", kSample, Read::kSection, u"Nowhere", u"", u"", 10, 0, u"\0\0"s},
    {"MissingFileList", kMissingFile, Read::kSection, u"S", u"", u"", 10, 0, u"\0\0"s},
    {"SectionListWithNul", "[S]\r\na=x\0y\r\nb=after nul\r\n"s, Read::kSection, u"S", u"", u"", 100, 16,
     u"a=x\0b=after nul\0\0"s},
};

class ProfileRead : public ::testing::TestWithParam<ReadCase> {
protected:
    zebl_test::TempFolder temp_;
};

TEST_P(ProfileRead, AgreesWithWindows) {
    const ReadCase& c = GetParam();
    const sys::WString path = temp_.Join(u"case.ini");
    if (!c.ini.empty()) {
        ASSERT_TRUE(WriteBytes(path, c.ini));
    }
    std::u16string buffer(512, kUntouched);
    const uint32_t result =
        c.call == Read::kString
            ? sys::GetPrivateProfileString(c.section, c.key, c.fallback, buffer.data(), c.size, path)
            : sys::GetPrivateProfileSection(c.section, buffer.data(), c.size, path);
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(buffer.substr(0, c.buffer.size()), c.buffer);
    EXPECT_EQ(buffer.find_first_not_of(kUntouched, c.size), std::u16string::npos)
        << "written past the buffer's " << c.size << " units";
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileRead, ::testing::ValuesIn(kReadCases),
                         [](const auto& test) { return std::string(test.param.name); });

// ---- Writes --------------------------------------------------------------------

using Edit = std::function<bool(const sys::WString& path)>;

bool Set(const sys::WString& path, const char16_t* section, const char16_t* key, const char16_t* value) {
    return sys::WritePrivateProfileString(section, key, value, path);
}

struct WriteCase {
    const char* name;
    std::string before;  // kMissingFile for no file
    std::vector<Edit> edits;
    std::string after;  // the file's bytes, as Windows writes them
};

void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }

constexpr char kTwoA[] = "; head\r\n[A]\r\nk1=v1\r\n; note\r\nk2=v2\r\n[B]\r\nx=1\r\n[a]\r\nk3=v3\r\n";
constexpr char kTwoD[] = "[D]\r\na=1\r\n[E]\r\nb=1\r\n[d]\r\nc=1\r\n";

std::vector<WriteCase> WriteCases() {
    return {
        {"ValuesReplacedAndAppendedInTheFirstSection",
         kTwoA,
         {[](auto& p) { return Set(p, u"a", u"K1", u"new1"); },
          [](auto& p) { return Set(p, u"A", u"k3", u"new3"); },
          [](auto& p) { return Set(p, u" B ", u"y", u"2"); },
          [](auto& p) { return Set(p, u"C", u"c", u"  spaced"); }},
         "; head\r\n[A]\r\nk1=new1\r\n; note\r\nk2=v2\r\nk3=new3\r\n[B]\r\nx=1\r\ny=2\r\n[a]\r\nk3=v3\r\n"
         "[C]\r\nc=spaced\r\n"},
        {"KeyDeleted",
         kTwoA,
         {[](auto& p) { return sys::DeletePrivateProfileKey(u"A", u"K2", p); }},
         "; head\r\n[A]\r\nk1=v1\r\n; note\r\n[B]\r\nx=1\r\n[a]\r\nk3=v3\r\n"},
        {"FirstSectionOfTheNameDeleted",
         kTwoA,
         {[](auto& p) { return sys::DeletePrivateProfileSection(u"a", p); }},
         "; head\r\n[B]\r\nx=1\r\n[a]\r\nk3=v3\r\n"},
        {"SectionReplacedWithoutLinesLackingEquals",
         kTwoA,
         {[](auto& p) {
             const std::vector<sys::WString> lines{u"n1=1", u"n2=2", u"bare"};
             return sys::WritePrivateProfileSection(u"B", lines, p);
         }},
         "; head\r\n[A]\r\nk1=v1\r\n; note\r\nk2=v2\r\n[B]\r\nn1=1\r\nn2=2\r\n[a]\r\nk3=v3\r\n"},
        {"ReplacingEmptiesEverySectionOfTheName",
         kTwoD,
         {[](auto& p) {
             const std::vector<sys::WString> lines{u"z=9"};
             return sys::WritePrivateProfileSection(u"D", lines, p);
         }},
         "[D]\r\nz=9\r\n[E]\r\nb=1\r\n[d]\r\n"},
        {"DeletingOneOfTwoSections",
         kTwoD,
         {[](auto& p) { return sys::DeletePrivateProfileSection(u"D", p); }},
         "[E]\r\nb=1\r\n[d]\r\nc=1\r\n"},
        {"DeletingWhatIsNotThereChangesNothing",
         kTwoD,
         {[](auto& p) { return sys::DeletePrivateProfileKey(u"E", u"zz", p); },
          [](auto& p) { return sys::DeletePrivateProfileKey(u"Nowhere", u"b", p); },
          [](auto& p) { return sys::DeletePrivateProfileSection(u"Nowhere", p); }},
         kTwoD},
        {"NewFile",
         kMissingFile,
         {[](auto& p) { return Set(p, u"Fresh", u"k", u"v"); }},
         "[Fresh]\r\nk=v\r\n"},
        {"EmptyAndSpacedAndQuotedValues",
         kMissingFile,
         {[](auto& p) { return Set(p, u"S", u"k", u""); },
          [](auto& p) { return Set(p, u"S", u"k2", u"  lead"); },
          [](auto& p) { return Set(p, u"S", u"k3", u"\"q\""); }},
         "[S]\r\nk=\r\nk2=lead\r\nk3=\"q\"\r\n"},
        {"BlankLinesGoCommentsStay",
         "[A]\r\n\r\n;only\r\n\r\n[B]\r\nx=1",
         {[](auto& p) { return Set(p, u"A", u"k", u"v"); }, [](auto& p) { return Set(p, u"B", u"y", u"2"); }},
         "[A]\r\n;only\r\nk=v\r\n[B]\r\nx=1\r\ny=2\r\n"},
        {"SectionsWithDuplicateAndWithoutKeys",
         "[S]\r\nold=1\r\n",
         {[](auto& p) {
              const std::vector<sys::WString> lines{u"a=1", u"a=2"};
              return sys::WritePrivateProfileSection(u"T", lines, p);
          },
          [](auto& p) { return sys::WritePrivateProfileSection(u"S", {}, p); }},
         "[S]\r\n[T]\r\na=1\r\na=2\r\n"},
        {"Utf16FileStaysUtf16",
         Utf16File(u"[S]\r\nk=\u00FC\r\n"),
         {[](auto& p) { return Set(p, u"S", u"n", u"x"); }},
         Utf16File(u"[S]\r\nk=\u00FC\r\nn=x\r\n")},
    };
}

class ProfileWrite : public ::testing::TestWithParam<WriteCase> {
protected:
    zebl_test::TempFolder temp_;
};

TEST_P(ProfileWrite, AgreesWithWindows) {
    const WriteCase& c = GetParam();
    const sys::WString path = temp_.Join(u"case.ini");
    if (!c.before.empty()) {
        ASSERT_TRUE(WriteBytes(path, c.before));
    }
    for (size_t i = 0; i < c.edits.size(); ++i) EXPECT_TRUE(c.edits[i](path)) << "edit " << i;
    EXPECT_EQ(ReadBytes(path), c.after);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileWrite, ::testing::ValuesIn(WriteCases()),
                         [](const auto& test) { return std::string(test.param.name); });

// What was written reads back, through every kind of value the setup data
// files hold: 255 characters, text beyond ASCII in the code page.
TEST(ProfileRoundTrip, WrittenValuesReadBack) {
    zebl_test::TempFolder temp;
    const sys::WString path = temp.Join(u"setup.ini");
    const sys::WString longest(255, u'v');
    const sys::WString accented = u"Gr\u00FC\u00DFe \u00E9t\u00E9";
    ASSERT_TRUE(sys::WritePrivateProfileString(u"START", u"LONGEST", longest, path));
    ASSERT_TRUE(sys::WritePrivateProfileString(u"START", u"ACCENTED", accented, path));
    char16_t buffer[256];
    EXPECT_EQ(sys::GetPrivateProfileString(u"start", u"longest", u"", buffer, 256, path), 255u);
    EXPECT_EQ(sys::WString(buffer), longest);
    EXPECT_EQ(sys::GetPrivateProfileString(u"START", u"ACCENTED", u"", buffer, 256, path), accented.size());
    EXPECT_EQ(sys::WString(buffer), accented);
}

}  // namespace
