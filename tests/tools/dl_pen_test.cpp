// The pen writes only what changes the interpreter's registers, and follows
// them through spans and lines as the interpreter does.
#include "job/dl_pen.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;

TEST(DLPen, UsesShortMovesWithinReachAndAbsoluteOnesBeyond) {
    DLWriter out;
    DLPen pen(&out);
    ASSERT_TRUE(pen.MoveTo(1000, 500));
    ASSERT_TRUE(pen.MoveTo(1127, 372));  // +127 and -128: still short
    ASSERT_TRUE(pen.MoveTo(1255, 372));  // +128: too far
    ASSERT_TRUE(pen.MoveTo(1255, 372));  // nothing to do
    EXPECT_EQ(out.Bytes(),
              (Bytes{0x60, 0xF4, 0x01, 0x62, 0xE8, 0x03, 0x61, 0x80, 0x63, 0x7F, 0x62, 0xE7, 0x04}));
    EXPECT_FALSE(pen.MoveTo(65536, 0));
}

TEST(DLPen, FollowsLinesAsTheInterpreterMovesThePosition) {
    DLWriter out;
    DLPen pen(&out);
    ASSERT_TRUE(pen.Line(10, 20, 30, 40));  // DL_LINE: the position stays at (10, 20)
    ASSERT_TRUE(pen.LineTo(50, 60));        // DL_LINE_TO: moves to (50, 60)
    ASSERT_TRUE(pen.LineRel(-5, 6));        // to (45, 66)
    ASSERT_TRUE(pen.MoveTo(45, 66));        // already there
    ASSERT_TRUE(pen.MoveTo(10, 20));
    EXPECT_EQ(out.Bytes(),
              (Bytes{0x60, 20, 0,    0x62, 10, 0,  0x75, 0xF0, 0, 0,    0,    0x81, 0x52, 30,  0,
                     40,   0,  0x50, 60,   0,  50, 0,    0x51, 6, 0xFB, 0x61, 0xD2, 0x63, 0xDD}));
    EXPECT_FALSE(pen.LineRel(200, 0));
}

TEST(DLPen, ForgetsEverythingWhenAsked) {
    DLWriter out;
    DLPen pen(&out);
    ASSERT_TRUE(pen.Box(1, 1, 1, 1));
    pen.Forget();
    ASSERT_TRUE(pen.Box(1, 1, 1, 1));
    const Bytes once = {0x60, 1, 0, 0x62, 1, 0, 0x75, 0xF0, 0, 0, 0, 0x81, 0x53, 1, 1};
    Bytes twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(out.Bytes(), twice);
}

TEST(DLPen, HatchesSetTheirColoursAtOnce) {
    DLWriter out;
    DLPen pen(&out);
    pen.SetHatch(1, Rgb(1, 2, 3), Rgb(4, 5, 6));
    ASSERT_TRUE(pen.Box(0, 0, 1, 1));  // the code is in place: only the operation is set
    EXPECT_EQ(out.Bytes(), (Bytes{0x81, 1,    0, 0, 0x85, 3, 2, 1,    0,    6,    5, 4,
                                  0,    0x60, 0, 0, 0x62, 0, 0, 0x73, 0xF0, 0x53, 1, 1}));
}

}  // namespace
