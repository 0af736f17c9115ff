#include "shared/gfx/LoadPictureFile.h"

#include "tests/shared/gfx/TestBitmaps.h"

#include <gdiplus.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>

namespace {

// Five columns, three rows, every pixel different and the top row unlike the bottom one.
TestPicture SamplePicture() {
    TestPicture picture{5, 3, {}};
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            picture.pixels.push_back(RGB(40 * x + 10, 100 * y + 5, 200 - 30 * x - 50 * y));
    return picture;
}

void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// A 24-bit bottom-up BMP file, written byte by byte.
std::vector<std::uint8_t> BmpFileBytes(const TestPicture& picture) {
    const int stride = (picture.width * 3 + 3) & ~3;
    const auto imageSize = static_cast<std::uint32_t>(stride * picture.height);
    std::vector<std::uint8_t> bytes(14 + 40 + imageSize);
    auto put16 = [&](std::size_t at, std::uint16_t v) { std::memcpy(&bytes[at], &v, 2); };
    auto put32 = [&](std::size_t at, std::uint32_t v) { std::memcpy(&bytes[at], &v, 4); };
    put16(0, 0x4D42);
    put32(2, static_cast<std::uint32_t>(bytes.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(picture.width));
    put32(22, static_cast<std::uint32_t>(picture.height));
    put16(26, 1);
    put16(28, 24);
    put32(34, imageSize);
    for (int y = 0; y < picture.height; ++y) {
        std::size_t at = 54 + static_cast<std::size_t>(picture.height - 1 - y) * stride;
        for (int x = 0; x < picture.width; ++x) {
            const COLORREF c = picture.At(x, y);
            bytes[at++] = GetBValue(c);
            bytes[at++] = GetGValue(c);
            bytes[at++] = GetRValue(c);
        }
    }
    return bytes;
}

class LoadPictureFileTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::GdiplusStartup(&s_gdiplus, &input, nullptr), Gdiplus::Ok);
    }
    static void TearDownTestSuite() { Gdiplus::GdiplusShutdown(s_gdiplus); }

    // The picture encoded by the platform's image encoders (mime type "image/png", ...).
    static bool SaveEncoded(const TestPicture& picture, const wchar_t* mimeType,
                            const std::filesystem::path& path) {
        UINT count = 0;
        UINT bytes = 0;
        if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0)
            return false;
        std::vector<std::uint8_t> buffer(bytes);
        auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
        if (Gdiplus::GetImageEncoders(count, bytes, codecs) != Gdiplus::Ok)
            return false;
        for (UINT i = 0; i < count; ++i) {
            if (std::wcscmp(codecs[i].MimeType, mimeType) != 0)
                continue;
            Gdiplus::Bitmap image(picture.width, picture.height, PixelFormat24bppRGB);
            for (int y = 0; y < picture.height; ++y)
                for (int x = 0; x < picture.width; ++x) {
                    const COLORREF c = picture.At(x, y);
                    image.SetPixel(x, y, Gdiplus::Color(GetRValue(c), GetGValue(c), GetBValue(c)));
                }
            return image.Save(path.c_str(), &codecs[i].Clsid, nullptr) == Gdiplus::Ok;
        }
        return false;
    }

    // A bitmap that a failed load must not leave behind.
    static winlayer::BitmapHandle Stale() { return MakeBitmap(TestPicture{2, 2, {0, 0, 0, 0}}); }

    static void ExpectCleanFailure(const std::filesystem::path& path) {
        winlayer::BitmapHandle bitmap = Stale();
        SIZE size{7, 7};
        EXPECT_FALSE(LoadPictureFile(path.wstring(), bitmap, size));
        EXPECT_FALSE(bitmap);
        EXPECT_EQ(size.cx, 0);
        EXPECT_EQ(size.cy, 0);
    }

    CTestFolder m_folder;

private:
    static inline ULONG_PTR s_gdiplus = 0;
};

TEST_F(LoadPictureFileTest, BmpLoadsWithItsSizeAndPixelsTopRowFirst) {
    const TestPicture picture = SamplePicture();
    WriteBytes(m_folder.File(L"sample.bmp"), BmpFileBytes(picture));
    winlayer::BitmapHandle bitmap = Stale();
    SIZE size{};
    ASSERT_TRUE(LoadPictureFile(m_folder.File(L"sample.bmp").wstring(), bitmap, size));
    EXPECT_EQ(size.cx, 5);
    EXPECT_EQ(size.cy, 3);
    const TestPicture loaded = ReadBitmap(bitmap.Get());
    EXPECT_EQ(loaded.width, 5);
    EXPECT_EQ(loaded.pixels, picture.pixels);
}

TEST_F(LoadPictureFileTest, PngAndJpegLoadWithTheirSizes) {
    TestPicture picture{24, 10, std::vector<COLORREF>(240, RGB(200, 40, 40))};
    ASSERT_TRUE(SaveEncoded(picture, L"image/png", m_folder.File(L"sample.png")));
    ASSERT_TRUE(SaveEncoded(picture, L"image/jpeg", m_folder.File(L"sample.jpg")));

    winlayer::BitmapHandle bitmap;
    SIZE size{};
    ASSERT_TRUE(LoadPictureFile(m_folder.File(L"sample.png").wstring(), bitmap, size));
    EXPECT_EQ(size.cx, 24);
    EXPECT_EQ(size.cy, 10);
    EXPECT_EQ(ReadBitmap(bitmap.Get()).pixels, picture.pixels);

    ASSERT_TRUE(LoadPictureFile(m_folder.File(L"sample.jpg").wstring(), bitmap, size));
    EXPECT_EQ(size.cx, 24);
    EXPECT_EQ(size.cy, 10);
    const COLORREF centre = ReadBitmap(bitmap.Get()).At(12, 5);
    EXPECT_NEAR(GetRValue(centre), 200, 8);
    EXPECT_NEAR(GetGValue(centre), 40, 8);
    EXPECT_NEAR(GetBValue(centre), 40, 8);
}

TEST_F(LoadPictureFileTest, MissingEmptyAndCorruptFilesFailCleanly) {
    ExpectCleanFailure(m_folder.File(L"missing.bmp"));

    WriteBytes(m_folder.File(L"empty.bmp"), {});
    ExpectCleanFailure(m_folder.File(L"empty.bmp"));

    WriteBytes(m_folder.File(L"noise.jpg"), {0x13, 0x57, 0x9B, 0xDF, 0x02, 0x46, 0x8A, 0xCE});
    ExpectCleanFailure(m_folder.File(L"noise.jpg"));

    // A bitmap file cut off inside its headers.
    std::vector<std::uint8_t> cut = BmpFileBytes(SamplePicture());
    cut.resize(20);
    WriteBytes(m_folder.File(L"cut.bmp"), cut);
    ExpectCleanFailure(m_folder.File(L"cut.bmp"));

    ExpectCleanFailure(m_folder.File(L""));
}

} // namespace
