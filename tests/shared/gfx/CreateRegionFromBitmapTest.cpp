#include "shared/gfx/CreateRegionFromBitmap.h"

#include "tests/shared/gfx/TestBitmaps.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGrey = RGB(90, 90, 90);

TestPicture Paint(int width, int height, const std::function<COLORREF(int, int)>& colourAt) {
    TestPicture picture{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.pixels.push_back(colourAt(x, y));
    return picture;
}

std::vector<RECT> Rectangles(HRGN region) {
    const DWORD bytes = GetRegionData(region, 0, nullptr);
    std::vector<std::byte> buffer(bytes);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (bytes == 0 || GetRegionData(region, bytes, data) != bytes)
        return {};
    const auto* first = reinterpret_cast<const RECT*>(data->Buffer);
    return {first, first + data->rdh.nCount};
}

// Which pixels the region covers, row 0 first.
std::vector<bool> Coverage(HRGN region, int width, int height) {
    std::vector<bool> covered(static_cast<std::size_t>(width) * height, false);
    for (const RECT& r : Rectangles(region))
        for (LONG y = std::max(0L, r.top); y < std::min<LONG>(height, r.bottom); ++y)
            for (LONG x = std::max(0L, r.left); x < std::min<LONG>(width, r.right); ++x)
                covered[static_cast<std::size_t>(y) * width + x] = true;
    return covered;
}

winlayer::RegionHandle RegionOf(const TestPicture& picture, COLORREF key, COLORREF tolerance) {
    winlayer::BitmapHandle bitmap = MakeBitmap(picture);
    return CreateRegionFromBitmap(bitmap.Get(), key, tolerance);
}

TEST(CreateRegionFromBitmapTest, NullBitmapGivesNoRegion) {
    EXPECT_FALSE(CreateRegionFromBitmap(nullptr, kWhite, 0));
}

TEST(CreateRegionFromBitmapTest, KeyColourOnlyGivesEmptyRegionAndNoKeyGivesFullRectangle) {
    winlayer::RegionHandle empty = RegionOf(Paint(30, 20, [](int, int) { return kWhite; }), kWhite, 0);
    ASSERT_TRUE(empty);
    RECT box{};
    EXPECT_EQ(GetRgnBox(empty.Get(), &box), NULLREGION);

    winlayer::RegionHandle full = RegionOf(Paint(30, 20, [](int, int) { return kGrey; }), kWhite, 0);
    ASSERT_TRUE(full);
    EXPECT_EQ(GetRgnBox(full.Get(), &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, 30);
    EXPECT_EQ(box.bottom, 20);
    EXPECT_EQ(Rectangles(full.Get()).size(), 1u);
}

TEST(CreateRegionFromBitmapTest, RowZeroIsTheTopRowOfThePicture) {
    // Top row: opaque from x 1 to 3; the rest of the picture is see-through but for the last
    // row's first pixel.
    const TestPicture picture = Paint(6, 4, [](int x, int y) {
        if (y == 0)
            return (x >= 1 && x < 4) ? kGrey : kWhite;
        return (y == 3 && x == 0) ? kGrey : kWhite;
    });
    winlayer::RegionHandle region = RegionOf(picture, kWhite, 0);
    ASSERT_TRUE(region);
    EXPECT_TRUE(PtInRegion(region.Get(), 1, 0));
    EXPECT_TRUE(PtInRegion(region.Get(), 3, 0));
    EXPECT_FALSE(PtInRegion(region.Get(), 4, 0));
    EXPECT_FALSE(PtInRegion(region.Get(), 0, 0));
    EXPECT_TRUE(PtInRegion(region.Get(), 0, 3));
    EXPECT_FALSE(PtInRegion(region.Get(), 1, 3));
    EXPECT_FALSE(PtInRegion(region.Get(), 2, 1));
}

TEST(CreateRegionFromBitmapTest, ToleranceWidensTheKeyRangeUpTo255) {
    const TestPicture picture = Paint(4, 1, [](int x, int) {
        constexpr COLORREF row[] = {RGB(0xF0, 0xF0, 0xF0), RGB(0xFF, 0xFF, 0xFF),
                                    RGB(0xFE, 0xFF, 0xFF), RGB(0xEF, 0xF0, 0xF0)};
        return row[x];
    });
    // Exact key only.
    winlayer::RegionHandle exact = RegionOf(picture, kWhite, 0);
    EXPECT_EQ(Coverage(exact.Get(), 4, 1), (std::vector<bool>{true, false, true, true}));
    // 0xF0 + 0x20 would pass 255: the range ends at 255 instead of wrapping to 0x10.
    winlayer::RegionHandle capped = RegionOf(picture, RGB(0xF0, 0xF0, 0xF0), RGB(0x20, 0x20, 0x20));
    EXPECT_EQ(Coverage(capped.Get(), 4, 1), (std::vector<bool>{false, false, false, true}));
    // -1 as key is pure white.
    winlayer::RegionHandle minusOne = RegionOf(picture, static_cast<COLORREF>(-1), 0);
    EXPECT_EQ(Coverage(minusOne.Get(), 4, 1), (std::vector<bool>{true, false, true, true}));
}

TEST(CreateRegionFromBitmapTest, KeyAndToleranceAreReadAsRedGreenBlue) {
    const TestPicture picture = Paint(3, 1, [](int x, int) {
        constexpr COLORREF row[] = {kRed, kBlue, RGB(255, 0, 40)};
        return row[x];
    });
    winlayer::RegionHandle exact = RegionOf(picture, kRed, 0);
    EXPECT_EQ(Coverage(exact.Get(), 3, 1), (std::vector<bool>{false, true, true}));
    // Tolerance only in blue lets the bluish red through as well.
    winlayer::RegionHandle bluish = RegionOf(picture, kRed, RGB(0, 0, 50));
    EXPECT_EQ(Coverage(bluish.Get(), 3, 1), (std::vector<bool>{false, true, false}));
}

TEST(CreateRegionFromBitmapTest, LargePictureWithManyRunsCoversExactlyTheOpaquePixels) {
    // About 200 runs per row: more than 2000 runs in all, so batches are merged.
    auto opaque = [](int x, int y) {
        return ((x / 3 + y) % 4 != 0) && ((x * 7 + y * 3) % 11 != 0);
    };
    const TestPicture picture =
        Paint(1000, 600, [&](int x, int y) { return opaque(x, y) ? kGrey : kWhite; });
    winlayer::RegionHandle region = RegionOf(picture, kWhite, 0);
    ASSERT_TRUE(region);
    const std::vector<bool> covered = Coverage(region.Get(), 1000, 600);
    std::size_t wrong = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 1000; ++x)
            wrong += covered[static_cast<std::size_t>(y) * 1000 + x] != opaque(x, y);
    EXPECT_EQ(wrong, 0u);
    RECT box{};
    GetRgnBox(region.Get(), &box);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.bottom, 600);
}

} // namespace
