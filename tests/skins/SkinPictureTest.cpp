#include "tests/skins/SkinLists.h"

#include "config/controls/SkinPicture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

// The rendered pictures against the list: each loads and has its size; where controls of one
// page stand on the backgrounds of others, those pictures agree pixel for pixel.

namespace {
using SkinLists::BuiltSkin;

// The pictures stay loaded: the same areas compare the same few files many times.
Gdiplus::Bitmap* Loaded(const std::wstring& file) {
    static std::map<std::wstring, PicturePtr> pictures;
    auto [it, fresh] = pictures.try_emplace(file);
    if (fresh) {
        it->second = LoadPicture(BuiltSkin(file));
    }
    return it->second.get();
}

std::vector<DWORD> Pixels(Gdiplus::Bitmap* picture, const RECT& r) {
    Gdiplus::BitmapData data{};
    const Gdiplus::Rect area(r.left, r.top, r.right - r.left, r.bottom - r.top);
    std::vector<DWORD> pixels(static_cast<size_t>(area.Width) * area.Height);
    data.Width = area.Width;
    data.Height = area.Height;
    data.Stride = area.Width * 4;
    data.PixelFormat = PixelFormat32bppARGB;
    data.Scan0 = pixels.data();
    if (picture->LockBits(&area, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                          PixelFormat32bppARGB, &data) != Gdiplus::Ok) {
        return {};
    }
    picture->UnlockBits(&data);
    return pixels;
}

TEST(SkinPictures, EveryListedPictureLoadsWithItsSize) {
    ASSERT_GT(SkinLists::Pictures().size(), 60u) << "the list was not read";
    for (const SkinLists::Picture& row : SkinLists::Pictures()) {
        SCOPED_TRACE(std::string(row.file.begin(), row.file.end()));
        ASSERT_TRUE(std::filesystem::exists(BuiltSkin(row.file)));
        Gdiplus::Bitmap picture(BuiltSkin(row.file).c_str());
        ASSERT_EQ(Gdiplus::Ok, picture.GetLastStatus());
        EXPECT_EQ(row.width, static_cast<int>(picture.GetWidth()));
        EXPECT_EQ(row.height, static_cast<int>(picture.GetHeight()));
    }
}

TEST(SkinPictures, SharedAreasAreIdenticalOnEveryPage) {
    ASSERT_FALSE(SkinLists::SameAreas().empty());
    for (const SkinLists::Same& row : SkinLists::SameAreas()) {
        Gdiplus::Bitmap* first = Loaded(row.files.front());
        ASSERT_NE(nullptr, first);
        const std::vector<DWORD> expected = Pixels(first, row.rect);
        ASSERT_FALSE(expected.empty());
        for (const std::wstring& file : row.files) {
            SCOPED_TRACE(std::string(file.begin(), file.end()) + " at " +
                         std::to_string(row.rect.left) + "," + std::to_string(row.rect.top));
            Gdiplus::Bitmap* picture = Loaded(file);
            ASSERT_NE(nullptr, picture);
            EXPECT_TRUE(Pixels(picture, row.rect) == expected);
        }
    }
}

// The window's shape: white outside, black inside, nothing in between (a grey edge pixel would
// be cut or kept by chance).
TEST(SkinPictures, MaskIsPureBlackInsideAndWhiteOutside) {
    Gdiplus::Bitmap* mask = Loaded(L"main_mask.bmp");
    ASSERT_NE(nullptr, mask);
    const RECT whole{0, 0, static_cast<LONG>(mask->GetWidth()),
                     static_cast<LONG>(mask->GetHeight())};
    const std::vector<DWORD> pixels = Pixels(mask, whole);
    ASSERT_FALSE(pixels.empty());
    const auto at = [&](int x, int y) {
        return pixels[static_cast<size_t>(y) * whole.right + x] & 0xFFFFFF;
    };
    struct Point {
        int x, y;
        DWORD color;
    };
    const Point points[] = {{0, 0, 0xFFFFFF},
                            {whole.right - 1, 0, 0xFFFFFF},
                            {0, whole.bottom - 1, 0xFFFFFF},
                            {whole.right - 1, whole.bottom - 1, 0xFFFFFF},
                            {whole.right / 2, whole.bottom / 2, 0},
                            {whole.right / 2, 0, 0},
                            {0, whole.bottom / 2, 0}};
    for (const Point& p : points) {
        EXPECT_EQ(p.color, at(p.x, p.y)) << p.x << "," << p.y;
    }
    for (const DWORD pixel : pixels) {
        ASSERT_TRUE((pixel & 0xFFFFFF) == 0 || (pixel & 0xFFFFFF) == 0xFFFFFF);
    }
}
} // namespace
