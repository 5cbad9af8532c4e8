// Image files and masks: PNM headers and samples worked out by hand, bad
// files refused, PNG written and read back, thresholds and dithering.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "image/bitonal.h"
#include "image/image_file.h"
#include "image/png_codec.h"
#include "image/pnm.h"
#include "job/file_bytes.h"
#include "support/byte_strings.h"
#include "support/temp_folder.h"

#if defined(ZEBL_HAVE_PNG)
#include <png.h>
#endif

namespace {

using Bytes = std::vector<uint8_t>;

using zebl_test::Text;

bool Decode(const Bytes& bytes, Image8* image, std::string* error) {
    // An exact heap copy, so the sanitizer sees any read past the end.
    std::unique_ptr<uint8_t[]> copy(new uint8_t[bytes.size() ? bytes.size() : 1]);
    std::copy(bytes.begin(), bytes.end(), copy.get());
    return DecodePnm(copy.get(), bytes.size(), image, error);
}

TEST(Pnm, ReadsBitmapsGreyAndColour) {
    Image8 image;
    std::string error;
    // P4: 10 x 2, rows padded to whole bytes, 1 is black.
    Bytes p4 = Text("P4\n# a comment\n10 2\n");
    p4.insert(p4.end(), {0xC0, 0x40, 0x00, 0x80});
    ASSERT_TRUE(Decode(p4, &image, &error)) << error;
    EXPECT_EQ(image.width, 10u);
    EXPECT_EQ(image.channels, 1u);
    EXPECT_EQ(image.pixels, (Bytes{0,   0,   255, 255, 255, 255, 255, 255, 255, 0,
                                   255, 255, 255, 255, 255, 255, 255, 255, 0,   255}));
    // P5 with maxval 15: samples scale to 0..255.
    Bytes p5 = Text("P5 3 1 15\n");
    p5.insert(p5.end(), {0, 15, 7});
    ASSERT_TRUE(Decode(p5, &image, &error)) << error;
    EXPECT_EQ(image.pixels, (Bytes{0, 255, 119}));
    // P6 with two-byte samples (maxval 65535), big-endian.
    Bytes p6 = Text("P6\n1 1\n65535\n");
    p6.insert(p6.end(), {0xFF, 0xFF, 0x80, 0x00, 0x00, 0x01});
    ASSERT_TRUE(Decode(p6, &image, &error)) << error;
    EXPECT_EQ(image.channels, 3u);
    EXPECT_EQ(image.pixels, (Bytes{255, 128, 0}));
    EXPECT_EQ(image.Grey(0, 0), (30 * 255 + 59 * 128) / 100);
}

TEST(Pnm, RefusesBadHeadersAndShortPixels) {
    auto error = [](const Bytes& bytes) {
        Image8 image;
        std::string message;
        EXPECT_FALSE(Decode(bytes, &image, &message));
        return message;
    };
    EXPECT_EQ(error(Text("P3\n1 1 255\n0 0 0")), "not a PNM image (P4, P5 or P6)");
    EXPECT_EQ(error(Text("P5")), "PNM header: width and height missing");
    EXPECT_EQ(error(Text("P5 2")), "PNM header: width and height missing");
    EXPECT_EQ(error(Text("P5 2 2")), "PNM header: maxval missing");
    EXPECT_EQ(error(Text("P5 2 2 255")), "PNM header: no whitespace before the pixels");
    EXPECT_EQ(error(Text("P5 0 2 255 ")), "PNM image of 0 x 2 pixels is empty or too large");
    EXPECT_EQ(error(Text("P5 70000 1 255 ")), "PNM image of 70000 x 1 pixels is empty or too large");
    EXPECT_EQ(error(Text("P5 60000 60000 255 ")), "PNM image of 60000 x 60000 pixels is empty or too large");
    EXPECT_EQ(error(Text("P5 2 2 0 ")), "PNM maxval 0");
    EXPECT_EQ(error(Text("P5 2 2 99999999999 ")), "PNM header: maxval missing");
    EXPECT_EQ(error(Text("P5 2 2 255 abc")), "PNM pixels truncated: 4 bytes needed, 3 present");
    EXPECT_EQ(error(Text("P6 1 1 256 abcde")), "PNM pixels truncated: 6 bytes needed, 5 present");
    EXPECT_EQ(error(Text("P4 9 2 a")), "PNM pixels truncated: 4 bytes needed, 1 present");
}

TEST(Pnm, WritesWhatItReads) {
    Image8 colour;
    colour.width = 2;
    colour.height = 2;
    colour.channels = 3;
    colour.pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    const Bytes bytes = EncodePnm(colour);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 11), Text("P6\n2 2\n255\n"));
    Image8 back;
    std::string error;
    ASSERT_TRUE(Decode(bytes, &back, &error)) << error;
    EXPECT_EQ(back.pixels, colour.pixels);
    EXPECT_EQ(back.channels, 3u);
}

class ImageFiles : public zebl_test::TempFolderTest {};

TEST_F(ImageFiles, PicturesRoundTripThroughTheirFileFormat) {
    Image8 grey;
    grey.width = 3;
    grey.height = 2;
    grey.pixels = {0, 50, 100, 150, 200, 255};
    const sys::WString path = temp_.Join(u"picture") + sys::Widen(PictureExtension());
    std::string error;
    ASSERT_TRUE(WritePictureFile(path, grey, &error)) << error;
    Image8 back;
    ASSERT_TRUE(ReadImageFile(path, &back, &error)) << error;
    EXPECT_EQ(back.width, 3u);
    EXPECT_EQ(back.height, 2u);
    EXPECT_EQ(back.channels, 1u);
    EXPECT_EQ(back.pixels, grey.pixels);

    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadFileBytes(path, 1 << 20, &bytes, &error));
    if (PngAvailable()) {
        EXPECT_EQ(bytes[1], 'P');
        EXPECT_EQ(bytes[2], 'N');
    } else {
        EXPECT_EQ(bytes[0], 'P');
        EXPECT_EQ(bytes[1], '5');
    }
}

TEST_F(ImageFiles, UnknownContentIsRefused) {
    std::string error;
    ASSERT_TRUE(WriteFileBytes(temp_.Join(u"x.gif"), Text("GIF89a"), &error));
    Image8 image;
    EXPECT_FALSE(ReadImageFile(temp_.Join(u"x.gif"), &image, &error));
    EXPECT_NE(error.find("not a PNM image"), std::string::npos) << error;
}

#if defined(ZEBL_HAVE_PNG)
// The PNG writer checked by libpng's own reader, pixel by pixel.
TEST(Png, WrittenColourPicturesReadBackWithLibpng) {
    Image8 colour;
    colour.width = 3;
    colour.height = 2;
    colour.channels = 3;
    for (int i = 0; i < 18; ++i) colour.pixels.push_back(static_cast<uint8_t>(i * 14));
    Bytes png;
    std::string error;
    ASSERT_TRUE(EncodePng(colour, &png, &error)) << error;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&image, png.data(), png.size()));
    EXPECT_EQ(image.width, 3u);
    EXPECT_EQ(image.height, 2u);
    EXPECT_TRUE(image.format & PNG_FORMAT_FLAG_COLOR);
    image.format = PNG_FORMAT_RGB;
    Bytes pixels(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
    EXPECT_EQ(pixels, colour.pixels);
}

TEST(Png, ReadsAlphaOntoWhiteAndRefusesGarbage) {
    // A 1 x 1 grey-and-alpha PNG made by libpng: black, fully transparent.
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = 1;
    image.height = 1;
    image.format = PNG_FORMAT_GA;
    const uint8_t pixel[2] = {0, 0};
    png_alloc_size_t size = 0;
    ASSERT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, pixel, 0, nullptr));
    Bytes png(size);
    ASSERT_TRUE(png_image_write_to_memory(&image, png.data(), &size, 0, pixel, 0, nullptr));
    Image8 out;
    std::string error;
    ASSERT_TRUE(DecodeImageBytes(png.data(), png.size(), &out, &error)) << error;
    EXPECT_EQ(out.pixels, Bytes{255});
    png.resize(png.size() / 2);
    EXPECT_FALSE(DecodeImageBytes(png.data(), png.size(), &out, &error));
}
#endif

Image8 GreyImage(uint32_t width, uint32_t height, uint8_t level) {
    Image8 image;
    image.width = width;
    image.height = height;
    image.pixels.assign(size_t{width} * height, level);
    return image;
}

TEST(Masks, ThresholdSplitsAtTheLevel) {
    Image8 ramp;
    ramp.width = 4;
    ramp.height = 1;
    ramp.pixels = {0, 127, 128, 255};
    MaskOptions options;
    options.method = MaskMethod::Threshold;
    const Mask1 mask = MakeMask(ramp, options);
    EXPECT_EQ(mask.width, 4u);
    EXPECT_EQ(mask.rows, 1u);
    EXPECT_EQ(mask.bits, (Bytes{0xC0, 0, 0, 0}));
}

TEST(Masks, DitheringKeepsTheGreyAsDotDensity) {
    for (uint8_t level : {0, 64, 128, 192, 255}) {
        const Mask1 mask = MakeMask(GreyImage(64, 64, level), MaskOptions{});
        uint32_t ink = 0;
        for (uint32_t y = 0; y < 64; ++y)
            for (uint32_t x = 0; x < 64; ++x) ink += mask.Ink(x, y);
        const double expected = 4096.0 * (255 - level) / 255;
        EXPECT_NEAR(ink, expected, 4096 * 0.02) << "level " << int(level);
    }
}

TEST(Masks, ResizingPicksTheNearestPixel) {
    Image8 two;
    two.width = 2;
    two.height = 2;
    two.pixels = {0, 255, 255, 0};
    MaskOptions options;
    options.method = MaskMethod::Threshold;
    options.width = 4;
    const Mask1 mask = MakeMask(two, options);
    ASSERT_EQ(mask.rows, 4u);  // proportions kept
    EXPECT_EQ(mask.bits, (Bytes{0xC0, 0, 0, 0, 0xC0, 0, 0, 0, 0x30, 0, 0, 0, 0x30, 0, 0, 0}));
    options.width = 70000;
    EXPECT_EQ(MakeMask(two, options).rows, 0u);
}

}  // namespace
