#include "config/controls/CStaticTrans.h"

#include "tests/config/controls/ControlTestSupport.h"

#include <gtest/gtest.h>

namespace {
constexpr COLORREF kText = RGB(255, 255, 0);
constexpr RECT kLabel{40, 40, 200, 70};

class StaticTrans : public ::testing::Test {
protected:
    void SetUp() override {
        label.SetFontHeight(24);
        ASSERT_TRUE(label.Create(L"WWWWW", WS_VISIBLE, kLabel, parent.Hwnd(), 0xFFFF));
        label.SetTextColor(kText);
        Pump();
    }
    int TextPixels() const { return ScreenShot(parent.Hwnd()).Count(kLabel, kText); }

    RecordingParent parent;
    CStaticTrans label;
};
} // namespace

TEST_F(StaticTrans, DrawsItsTextOverTheParentsPicture) {
    EXPECT_GT(TextPixels(), 20);
    const ScreenShot shot(parent.Hwnd());
    const int background = shot.Count(kLabel, RecordingParent::kBackground);
    const int area = (kLabel.right - kLabel.left) * (kLabel.bottom - kLabel.top);
    // Everything that is not text shows the parent; only glyph edges are blended.
    EXPECT_GT(background + TextPixels(), area * 3 / 4);
    EXPECT_EQ(RecordingParent::kBackground, shot.At(kLabel.right - 2, kLabel.bottom - 2));
}

TEST_F(StaticTrans, NewTextRepaintsThePictureUnderTheOldOne) {
    SetWindowTextW(label.Hwnd(), L"");
    Pump();
    EXPECT_EQ(0, TextPixels());
    SetWindowTextW(label.Hwnd(), L"W");
    Pump();
    EXPECT_GT(TextPixels(), 5);
}

TEST_F(StaticTrans, OpaqueBackgroundFillsTheLabel) {
    label.SetBkColor(RGB(0, 128, 0));
    InvalidateRect(label.Hwnd(), nullptr, TRUE);
    Pump();
    EXPECT_EQ(RGB(0, 128, 0), PixelAt(parent.Hwnd(), kLabel.right - 2, kLabel.bottom - 2));
}

TEST_F(StaticTrans, NewColourRepaintsTheParentInsideTheLabel) {
    label.SetTextColor(RGB(0, 255, 255));
    RECT update{};
    GetUpdateRect(parent.Hwnd(), &update, FALSE);
    EXPECT_EQ(kLabel.left + 2, update.left);
    EXPECT_EQ(kLabel.top + 2, update.top);
    EXPECT_EQ(kLabel.right - 2, update.right);
    EXPECT_EQ(kLabel.bottom - 2, update.bottom);
    Pump();
    const ScreenShot shot(parent.Hwnd());
    EXPECT_GT(shot.Count(kLabel, RGB(0, 255, 255)), 20);
    EXPECT_EQ(0, shot.Count(update, kText));
}
