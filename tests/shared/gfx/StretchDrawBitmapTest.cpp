#include "shared/gfx/StretchDrawBitmap.h"

#include "tests/shared/gfx/TestBitmaps.h"

#include <gtest/gtest.h>

namespace {

TestPicture Gradient(int width, int height) {
    TestPicture picture{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.pixels.push_back(RGB(x * 10, y * 10, 128));
    return picture;
}

class StretchDrawBitmapTest : public testing::Test {
protected:
    void SetUp() override { m_dc = GetDC(nullptr); }
    void TearDown() override { ReleaseDC(nullptr, m_dc); }

    static void ExpectCutOf(const TestPicture& source, HBITMAP cut, int left, int top, int width,
                            int height) {
        const TestPicture result = ReadBitmap(cut);
        ASSERT_EQ(result.width, width);
        ASSERT_EQ(result.height, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(result.At(x, y), source.At(left + x, top + y)) << x << "," << y;
    }

    HDC m_dc = nullptr;
};

TEST_F(StretchDrawBitmapTest, CopiesTheRectangleOneToOneIntoANewBitmap) {
    const TestPicture picture = Gradient(20, 12);
    winlayer::BitmapHandle source = MakeBitmap(picture);
    winlayer::BitmapHandle target = MakeBitmap(Gradient(2, 2));
    ASSERT_TRUE(StretchDrawBitmap(m_dc, target, source, 4, 3, 13, 10));
    ExpectCutOf(picture, target.Get(), 4, 3, 9, 7);
    // The source is untouched and still usable.
    EXPECT_EQ(ReadBitmap(source.Get()).pixels, picture.pixels);
}

TEST_F(StretchDrawBitmapTest, TargetMayBeTheSourceItself) {
    const TestPicture picture = Gradient(20, 12);
    winlayer::BitmapHandle bitmap = MakeBitmap(picture);
    ASSERT_TRUE(StretchDrawBitmap(m_dc, bitmap, bitmap, 5, 2, 15, 8));
    ExpectCutOf(picture, bitmap.Get(), 5, 2, 10, 6);
}

TEST_F(StretchDrawBitmapTest, EmptySourceOrRectangleLeavesTheTargetAlone) {
    winlayer::BitmapHandle empty;
    winlayer::BitmapHandle source = MakeBitmap(Gradient(8, 8));
    winlayer::BitmapHandle target = MakeBitmap(Gradient(3, 3));
    const HBITMAP before = target.Get();
    EXPECT_FALSE(StretchDrawBitmap(m_dc, target, empty, 0, 0, 4, 4));
    EXPECT_FALSE(StretchDrawBitmap(m_dc, target, source, 4, 4, 4, 6));
    EXPECT_FALSE(StretchDrawBitmap(m_dc, target, source, 6, 0, 2, 4));
    EXPECT_EQ(target.Get(), before);
}

} // namespace
