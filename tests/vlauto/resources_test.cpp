// VLAuto.Dll's resources as the build compiles them: the two dialog
// templates control by control, the pictures' sizes and depths, the hand
// cursor and the version. Read from the built library, loaded as data.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "support/library_paths.h"
#include "sys/text.h"
#include "win32/windows_api.h"
// windows_api.h first: the headers below must not see its macros.
#include "win32/gdi_handles.h"

namespace {

// One control of a template: identifier and rectangle in dialog units.
struct TemplateItem {
    int id;
    int x, y, width, height;
    friend bool operator==(const TemplateItem&, const TemplateItem&) = default;
};

// What a DLGTEMPLATEEX says of its size, font and controls.
struct ParsedTemplate {
    int width = 0, height = 0;
    uint32_t style = 0, exStyle = 0;
    int pointSize = 0;
    std::string face;
    std::vector<TemplateItem> items;
};

// Reads a DLGTEMPLATEEX: a fixed header, the menu, class and title (each a
// string or 0xFFFF and an ordinal), the font (DS_SETFONT), then per control
// on a 4-byte boundary a fixed part, class, title and extra data.
class TemplateReader {
public:
    TemplateReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool Read(ParsedTemplate& out) {
        if (U16() != 1 || U16() != 0xFFFF) return false;  // version 1 of the extended form
        U32();                                            // help identifier
        out.exStyle = U32();
        out.style = U32();
        const int count = U16();
        U16(), U16();  // x, y
        out.width = S16();
        out.height = S16();
        SkipStringOrOrdinal();  // menu
        SkipStringOrOrdinal();  // class
        SkipStringOrOrdinal();  // title
        if (out.style & DS_SETFONT) {
            out.pointSize = U16();
            U16(), U16();  // weight, italic and character set
            out.face = String();
        }
        for (int i = 0; i < count && ok_; ++i) {
            at_ = (at_ + 3) & ~size_t(3);
            U32(), U32(), U32();  // help identifier, extended style, style
            TemplateItem item{};
            item.x = S16();
            item.y = S16();
            item.width = S16();
            item.height = S16();
            item.id = static_cast<int32_t>(U32());
            SkipStringOrOrdinal();  // class
            SkipStringOrOrdinal();  // title
            at_ += U16();           // extra data
            out.items.push_back(item);
        }
        return ok_;
    }

private:
    uint16_t U16() {
        if (at_ + 2 > size_) return Fail();
        uint16_t value;
        std::memcpy(&value, data_ + at_, 2);
        at_ += 2;
        return value;
    }
    int S16() { return static_cast<int16_t>(U16()); }
    uint32_t U32() { return U16() | (uint32_t(U16()) << 16); }
    void SkipStringOrOrdinal() {
        if (at_ + 2 <= size_ && data_[at_] == 0xFF && data_[at_ + 1] == 0xFF) {
            at_ += 4;
            return;
        }
        String();
    }
    std::string String() {
        std::string text;
        for (uint16_t unit = U16(); ok_ && unit != 0; unit = U16()) text += static_cast<char>(unit);
        return text;
    }
    uint16_t Fail() {
        ok_ = false;
        at_ = size_;
        return 0;
    }

    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
    bool ok_ = true;
};

class VLAutoResourcesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const sys::WString path = zebl_test::StandInFolder() + u"\\VLAuto.Dll";
        library_ = LoadLibraryExA(sys::ToCodePage(path).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    static void TearDownTestSuite() {
        if (library_ != nullptr) FreeLibrary(library_);
        library_ = nullptr;
    }
    void SetUp() override { ASSERT_NE(nullptr, library_) << "bin/VLAuto.Dll"; }

    static ParsedTemplate Template(int id) {
        ParsedTemplate parsed;
        HRSRC found = FindResourceA(library_, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));  // RT_DIALOG
        EXPECT_NE(nullptr, found) << "template " << id;
        if (found == nullptr) return parsed;
        const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(library_, found)));
        EXPECT_TRUE(TemplateReader(data, SizeofResource(library_, found)).Read(parsed)) << "template " << id;
        return parsed;
    }

    static HMODULE library_;
};
HMODULE VLAutoResourcesTest::library_ = nullptr;

constexpr uint32_t kAutorunDialogStyle = DS_MODALFRAME | DS_SETFOREGROUND | WS_POPUP | WS_CAPTION;

// The two templates: size, font, and every control in template order.
struct TemplateCase {
    const char* name;
    int id;
    std::vector<TemplateItem> items;
};

class TemplateTest : public VLAutoResourcesTest, public ::testing::WithParamInterface<TemplateCase> {};

TEST_P(TemplateTest, TheTemplateHasItsControlsWhereTheLayoutPutsThem) {
    const ParsedTemplate parsed = Template(GetParam().id);
    EXPECT_EQ(331, parsed.width);
    EXPECT_EQ(222, parsed.height);
    EXPECT_EQ(kAutorunDialogStyle, parsed.style & ~DS_SETFONT);
    EXPECT_EQ(static_cast<uint32_t>(WS_EX_APPWINDOW), parsed.exStyle);
    EXPECT_EQ(8, parsed.pointSize);
    EXPECT_EQ("MS Sans Serif", parsed.face);
    EXPECT_EQ(GetParam().items, parsed.items);
}

INSTANTIATE_TEST_SUITE_P(Dialogs, TemplateTest,
                         ::testing::Values(TemplateCase{"Welcome",
                                                        129,
                                                        {{9, 274, 199, 50, 14},
                                                         {1014, 122, 35, 202, 24},
                                                         {1015, 122, 59, 202, 24},
                                                         {1016, 122, 83, 202, 24},
                                                         {1017, 122, 107, 202, 24},
                                                         {1013, 117, 5, 207, 27},
                                                         {1001, 0, 0, 111, 193},
                                                         {1020, 0, 193, 332, 1},
                                                         {110, 260, 184, 62, 9},
                                                         {-1, 111, 0, 220, 193},
                                                         {1018, 122, 140, 196, 42},
                                                         {1002, 117, 131, 205, 53}}},
                                           TemplateCase{"Manual",
                                                        1002,
                                                        {{9, 274, 199, 50, 15},
                                                         {102, 122, 51, 202, 24},
                                                         {103, 122, 76, 202, 24},
                                                         {2, 167, 199, 50, 15},
                                                         {1013, 117, 5, 207, 27},
                                                         {1001, 0, 0, 110, 193},
                                                         {1020, 0, 193, 332, 1},
                                                         {-1, 110, 0, 221, 193},
                                                         {1018, 124, 148, 192, 34},
                                                         {1002, 117, 140, 208, 44}}}),
                         [](const auto& test) { return std::string(test.param.name); });

// A picture of the library: its size and bits per pixel.
struct PictureCase {
    const char* name;
    int width, height;
};

class PictureTest : public VLAutoResourcesTest, public ::testing::WithParamInterface<PictureCase> {};

TEST_P(PictureTest, ThePictureHasItsSizeAndEightBitsPerPixel) {
    HANDLE image = LoadImageA(library_, GetParam().name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    ASSERT_NE(nullptr, image);
    const ui::win32::Bitmap bitmap(static_cast<HBITMAP>(image));
    DIBSECTION section{};
    ASSERT_EQ(static_cast<int>(sizeof section), GetObjectA(bitmap.Get(), sizeof section, &section));
    EXPECT_EQ(GetParam().width, section.dsBmih.biWidth);
    EXPECT_EQ(GetParam().height, std::abs(section.dsBmih.biHeight));
    EXPECT_EQ(8, section.dsBmih.biBitCount);
}

INSTANTIATE_TEST_SUITE_P(Pictures, PictureTest,
                         ::testing::Values(PictureCase{"WELCOME_BMP", 164, 314},
                                           PictureCase{"IDB_OFF_BUTTON", 17, 17},
                                           PictureCase{"IDB_ON_BUTTON", 17, 17},
                                           PictureCase{"IDB_CLICKED_BUTTON", 17, 17}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(VLAutoResourcesTest, TheHandCursorIs32By32) {
    EXPECT_NE(nullptr,
              FindResourceA(library_, MAKEINTRESOURCEA(131), MAKEINTRESOURCEA(12)));  // RT_GROUP_CURSOR
    HANDLE cursor = LoadImageA(library_, MAKEINTRESOURCEA(131), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE);
    ASSERT_NE(nullptr, cursor);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(static_cast<HCURSOR>(cursor), &info));
    const ui::win32::Bitmap mask(info.hbmMask);
    const ui::win32::Bitmap colour(info.hbmColor);
    const SIZE size = ui::win32::BitmapSize(mask.Get());
    EXPECT_EQ(32, size.cx);
    EXPECT_EQ(64, size.cy);  // a monochrome cursor: AND mask over XOR mask
    DestroyCursor(static_cast<HCURSOR>(cursor));
}

TEST_F(VLAutoResourcesTest, TheVersionNamesTheAutorunDialogLibrary) {
    HRSRC found = FindResourceA(library_, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16));  // RT_VERSION
    ASSERT_NE(nullptr, found);
    const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(library_, found)));
    const std::string block(reinterpret_cast<const char*>(data), SizeofResource(library_, found));
    // The fixed part: VS_FIXEDFILEINFO after "VS_VERSION_INFO" (UTF-16).
    const size_t signature = block.find(std::string("\xBD\x04\xEF\xFE", 4));
    ASSERT_NE(std::string::npos, signature);
    VS_FIXEDFILEINFO fixed{};
    std::memcpy(&fixed, block.data() + signature, sizeof fixed);
    EXPECT_EQ(MAKELONG(0, 1), fixed.dwFileVersionMS);
    EXPECT_EQ(MAKELONG(1, 1), fixed.dwFileVersionLS);
    EXPECT_EQ(fixed.dwFileVersionMS, fixed.dwProductVersionMS);
    EXPECT_EQ(fixed.dwFileVersionLS, fixed.dwProductVersionLS);
    // The strings, as UTF-16 in the block.
    auto wide = [](const std::string& text) {
        std::string units;
        for (char c : text) units += std::string{c, '\0'};
        return units;
    };
    for (const char* text : {"AutoRun Dialog Version", "AutoRunDlg", "VLAuto.Dll", "1.0.1.1"})
        EXPECT_NE(std::string::npos, block.find(wide(text))) << text;
}

}  // namespace
