#include "tests/shared/gfx/TestBitmaps.h"

#include <atomic>
#include <cstdint>
#include <cstring>

namespace {

BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    return format;
}

std::uint32_t ToMemoryOrder(COLORREF colour) {
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

COLORREF FromMemoryOrder(std::uint32_t pixel) {
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

} // namespace

winlayer::BitmapHandle MakeBitmap(const TestPicture& picture) {
    BITMAPINFO format = TopDown32(picture.width, picture.height);
    void* bits = nullptr;
    winlayer::BitmapHandle bitmap(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap)
        return bitmap;
    auto* out = static_cast<std::uint32_t*>(bits);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i)
        out[i] = ToMemoryOrder(picture.pixels[i]);
    GdiFlush();
    return bitmap;
}

TestPicture ReadBitmap(HBITMAP bitmap) {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof(info), &info) == 0)
        return {};
    TestPicture picture{info.bmWidth, info.bmHeight, {}};
    std::vector<std::uint32_t> raw(static_cast<std::size_t>(info.bmWidth) * info.bmHeight);
    BITMAPINFO format = TopDown32(info.bmWidth, info.bmHeight);
    HDC screen = GetDC(nullptr);
    const int rows =
        GetDIBits(screen, bitmap, 0, info.bmHeight, raw.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != info.bmHeight)
        return {};
    for (std::uint32_t pixel : raw)
        picture.pixels.push_back(FromMemoryOrder(pixel));
    return picture;
}

CTestFolder::CTestFolder() {
    static std::atomic<int> counter{0};
    m_path =
        std::filesystem::temp_directory_path() /
        (L"v212-gfx-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(counter++));
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
}

CTestFolder::~CTestFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}
