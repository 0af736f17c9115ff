#include "winlayer/DoubleBuffer.h"
#include "winlayer/Format.h"

#include <gtest/gtest.h>

#include <string>

using winlayer::Format;

namespace {

TEST(Format, WideArgumentsAndTextsLongerThanTheFirstBuffer) {
    EXPECT_EQ(L"C:\\p\\Mouse.ini", Format(L"%ls\\%ls", L"C:\\p", L"Mouse.ini"));
    EXPECT_EQ(L"125 MS 0x1f", Format(L"%d %ls 0x%x", 125, L"MS", 31));
    std::wstring longName(1000, L'n');
    EXPECT_EQ(longName + L".ini", Format(L"%ls.ini", longName.c_str()));
    EXPECT_EQ(L"", Format(nullptr));
}

class GdiPlus : public ::testing::Test {
protected:
    void SetUp() override {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&token_, &input, nullptr));
    }
    void TearDown() override { Gdiplus::GdiplusShutdown(token_); }

private:
    ULONG_PTR token_ = 0;
};

TEST_F(GdiPlus, DoubleBufferCopiesItsPictureOntoTheAreaOnly) {
    HDC screen = GetDC(nullptr);
    HDC target = CreateCompatibleDC(screen);
    HBITMAP surface = CreateCompatibleBitmap(screen, 20, 20);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(target, surface);
    RECT all{0, 0, 20, 20};
    FillRect(target, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    {
        winlayer::DoubleBuffer buffer(target, RECT{5, 5, 15, 15});
        EXPECT_EQ(10, buffer.Width());
        SetPixel(buffer.Dc(), 0, 0, RGB(0, 0, 255));
        Gdiplus::SolidBrush red(Gdiplus::Color(255, 255, 0, 0));
        buffer.Graphics().FillRectangle(&red, 1, 1, 9, 9);
        EXPECT_EQ(RGB(255, 255, 255), GetPixel(target, 10, 10));
    }
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(target, 10, 10));
    EXPECT_EQ(RGB(0, 0, 255), GetPixel(target, 5, 5));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(target, 4, 4));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(target, 15, 15));
    SelectObject(target, old);
    DeleteObject(surface);
    DeleteDC(target);
}

} // namespace
