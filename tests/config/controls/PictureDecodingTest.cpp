#include "config/controls/PictureDecoding.h"

#include "tests/config/controls/ControlTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

// Pictures read while a decoding scope is open are the pictures GDI+ reads from the same files.

namespace {
constexpr int kWidth = 37;
constexpr int kHeight = 21;

// Every pixel different; the alpha runs across the picture where the format keeps it.
std::unique_ptr<Gdiplus::Bitmap> Gradient(Gdiplus::PixelFormat format) {
    auto picture = std::make_unique<Gdiplus::Bitmap>(kWidth, kHeight, format);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const auto alpha = static_cast<BYTE>(255 - x * 5);
            picture->SetPixel(x, y,
                              Gdiplus::Color(alpha, static_cast<BYTE>(x * 7),
                                             static_cast<BYTE>(y * 12), static_cast<BYTE>(x + y)));
        }
    }
    return picture;
}

std::vector<Gdiplus::ARGB> Pixels(Gdiplus::Bitmap& picture) {
    std::vector<Gdiplus::ARGB> pixels(static_cast<size_t>(picture.GetWidth()) *
                                      picture.GetHeight());
    Gdiplus::BitmapData data{};
    data.Width = picture.GetWidth();
    data.Height = picture.GetHeight();
    data.Stride = static_cast<INT>(data.Width * 4);
    data.PixelFormat = PixelFormat32bppARGB;
    data.Scan0 = pixels.data();
    const Gdiplus::Rect all(0, 0, static_cast<INT>(data.Width), static_cast<INT>(data.Height));
    if (picture.LockBits(&all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                         PixelFormat32bppARGB, &data) != Gdiplus::Ok) {
        return {};
    }
    picture.UnlockBits(&data);
    return pixels;
}

PicturePtr Decoded(const std::wstring& path) {
    const PictureDecoding decoding;
    return LoadPicture(path);
}

void Write(const std::wstring& path, const std::string& bytes) {
    std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
}
} // namespace

TEST(PictureDecoding, ReadsEachFormatAsGdiPlusReadsIt) {
    MakeSkinFolder();
    struct Row {
        const wchar_t* file;
        const wchar_t* mime;
        Gdiplus::PixelFormat format;
        float resolution;
    };
    const Row rows[] = {
        {L"alpha.png", L"image/png", PixelFormat32bppARGB, 96},
        {L"opaque.png", L"image/png", PixelFormat24bppRGB, 96},
        {L"dense.png", L"image/png", PixelFormat24bppRGB, 150},
        {L"plain.bmp", L"image/bmp", PixelFormat24bppRGB, 96},
        {L"wide.bmp", L"image/bmp", PixelFormat32bppRGB, 96},
        {L"photo.jpg", L"image/jpeg", PixelFormat24bppRGB, 96},
        // A picture's format comes from its bytes, not from its name.
        {L"named.png", L"image/bmp", PixelFormat24bppRGB, 96},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.file, row.file + wcslen(row.file)));
        const std::wstring path = SkinFile(row.file);
        const auto source = Gradient(row.format);
        source->SetResolution(row.resolution, row.resolution);
        const CLSID encoder = ImageEncoder(row.mime);
        ASSERT_EQ(Gdiplus::Ok, source->Save(path.c_str(), &encoder, nullptr));

        Gdiplus::Bitmap expected(path.c_str());
        ASSERT_EQ(Gdiplus::Ok, expected.GetLastStatus());
        const PicturePtr decoded = Decoded(path);
        ASSERT_NE(nullptr, decoded);
        EXPECT_EQ(expected.GetWidth(), decoded->GetWidth());
        EXPECT_EQ(expected.GetHeight(), decoded->GetHeight());
        EXPECT_FLOAT_EQ(expected.GetHorizontalResolution(), decoded->GetHorizontalResolution());
        EXPECT_FLOAT_EQ(expected.GetVerticalResolution(), decoded->GetVerticalResolution());
        const std::vector<Gdiplus::ARGB> pixels = Pixels(*decoded);
        ASSERT_FALSE(pixels.empty());
        EXPECT_TRUE(Pixels(expected) == pixels);
    }
}

TEST(PictureDecoding, FilesNeitherReadsAreNoPicture) {
    MakeSkinFolder();
    const std::wstring png = SkinFile(L"whole.png");
    SaveSolidPng(png, 20, 20, RGB(1, 2, 3));
    std::string bytes;
    {
        std::ifstream in(std::filesystem::path(png), std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    Write(SkinFile(L"empty.png"), "");
    Write(SkinFile(L"text.png"), "not a picture at all");
    Write(SkinFile(L"cut.png"), bytes.substr(0, bytes.size() / 2));
    Write(SkinFile(L"head.bmp"), "BM");
    for (const wchar_t* file :
         {L"missing.png", L"empty.png", L"text.png", L"cut.png", L"head.bmp"}) {
        SCOPED_TRACE(std::string(file, file + wcslen(file)));
        EXPECT_EQ(nullptr, LoadPicture(SkinFile(file)));
        EXPECT_EQ(nullptr, Decoded(SkinFile(file)));
    }
}

TEST(PictureDecoding, ScopesNestOnTheirOwnThread) {
    EXPECT_EQ(nullptr, PictureDecoding::Current());
    {
        const PictureDecoding outer;
        EXPECT_EQ(&outer, PictureDecoding::Current());
        {
            const PictureDecoding inner;
            EXPECT_EQ(&inner, PictureDecoding::Current());
            const PictureDecoding* seenElsewhere = &outer;
            std::thread([&] { seenElsewhere = PictureDecoding::Current(); }).join();
            EXPECT_EQ(nullptr, seenElsewhere);
        }
        EXPECT_EQ(&outer, PictureDecoding::Current());
    }
    EXPECT_EQ(nullptr, PictureDecoding::Current());
}
