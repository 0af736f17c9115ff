#include "config/controls/CPngMultiHSliderBar.h"

#include "config/controls/ControlMessages.h"
#include "tests/config/controls/ControlTestSupport.h"

#include <gtest/gtest.h>

namespace {
constexpr COLORREF kBarColor = RGB(70, 70, 70);
constexpr std::array<COLORREF, 6> kLights{RGB(10, 10, 10), RGB(20, 20, 20), RGB(30, 30, 30),
                                          RGB(40, 40, 40), RGB(50, 50, 50), RGB(60, 60, 60)};
constexpr RECT kBar{20, 100, 300, 140};

COLORREF Rgb(const CPngMultiHSliderBar::Rgb& c) {
    return RGB(c[0], c[1], c[2]);
}

class PngMultiHSliderBar : public ::testing::Test {
protected:
    void SetUp() override {
        MakeSkinFolder();
        for (size_t i = 0; i < kLights.size(); ++i) {
            SaveSolidPng(SkinFile(L"light" + std::to_wstring(i + 1) + L".png"), 14, 29, kLights[i]);
        }
        ASSERT_TRUE(bar.Create(SkinFile(L"arrow1.png"), 0, kBar.left, kBar.top, kBar.right,
                               kBar.bottom, parent.Hwnd(), 10012, 0, 0));
        bar.SetImages(kBar.left, kBar.top, 280, 40, page.get(), page.get());
        bar.SetRange(4, 1, 20);
        const std::array<int, 7> start{1, 4, 7, 10, 13, 16, 19};
        bar.SetPositions(start);
        Pump();
        parent.Clear();
    }
    // The queue is pumped only after the release, so that no stray input from the display
    // reaches the bar while it holds the capture.
    void Send(UINT message, int x) {
        SendMessageW(bar.Hwnd(), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                     PointParam(x, 20));
        if (message == WM_LBUTTONUP) {
            Pump();
        }
    }

    RecordingParent parent;
    std::unique_ptr<Gdiplus::Bitmap> page = SolidPicture(400, 300, kBarColor);
    CPngMultiHSliderBar bar;
};
} // namespace

TEST_F(PngMultiHSliderBar, BandShowsEachMarkersColourAndLight) {
    const ScreenShot shot(bar.Hwnd());
    EXPECT_EQ(RGB(255, 0, 0), shot.At(7, 3));
    EXPECT_EQ(RGB(255, 255, 0), shot.At(49, 3));
    EXPECT_EQ(RGB(0, 255, 0), shot.At(91, 3));
    EXPECT_EQ(RGB(255, 0, 255), shot.At(217, 3));
    EXPECT_EQ(RGB(255, 0, 0), shot.At(259, 3));
    EXPECT_EQ(RGB(255, 0, 0), shot.At(277, 3)) << "red after the last marker";
    EXPECT_EQ(kLights[0], shot.At(3, 20));
    EXPECT_EQ(kLights[1], shot.At(45, 20));
    EXPECT_EQ(kLights[5], shot.At(213, 20));
    EXPECT_EQ(kLights[0], shot.At(255, 20));
    EXPECT_EQ(kBarColor, shot.At(30, 35));
    // Between the first two markers the band runs from red to yellow.
    const COLORREF between = shot.At(28, 3);
    EXPECT_EQ(255, GetRValue(between));
    EXPECT_GT(GetGValue(between), 60);
    EXPECT_LT(GetGValue(between), 200);
    EXPECT_EQ(0, GetBValue(between));
}

TEST_F(PngMultiHSliderBar, LightingPointsComeFromTheBarsOwnDrawing) {
    const ScreenShot shot(bar.Hwnd());
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(shot.At(14 * i + 7, 3), Rgb(bar.GetColorAt(i))) << i;
    }
    // Covered by another window the bar still reports its own colours.
    RecordingParent cover(800, 600);
    Pump();
    EXPECT_EQ(RecordingParent::kBackground, PixelAt(cover.Hwnd(), kBar.left + 7, kBar.top + 3));
    EXPECT_EQ(RGB(255, 0, 0), Rgb(bar.GetColorAt(0)));
    EXPECT_EQ(RGB(255, 255, 0), Rgb(bar.GetColorAt(3)));
    EXPECT_EQ(RGB(0, 0, 255), Rgb(bar.GetColorAt(12)));
}

TEST_F(PngMultiHSliderBar, DraggedMarkerJoinsItsNeighbourAndIsReportedOnce) {
    Send(WM_LBUTTONDOWN, 90);
    Send(WM_MOUSEMOVE, 48);
    Send(WM_LBUTTONUP, 48);
    EXPECT_EQ((Log{{ControlMessages::kMarkerValue, 4, 2}}),
              parent.Received(ControlMessages::kMarkerValue));
    const MarkerArrays& markers = CPngMultiHSliderBar::Markers();
    EXPECT_EQ(4, markers.position[1]);
    EXPECT_EQ(4, markers.position[2]);
    EXPECT_EQ(0, markers.shown[1]);
    // Only the dragged marker's light and colour are drawn on the shared position.
    const ScreenShot shot(bar.Hwnd());
    EXPECT_EQ(kLights[2], shot.At(45, 20));
    EXPECT_EQ(RGB(0, 255, 0), shot.At(49, 3));
}

TEST_F(PngMultiHSliderBar, PressOffTheMarkersReportsNothing) {
    Send(WM_LBUTTONDOWN, 30);
    Send(WM_MOUSEMOVE, 100);
    Send(WM_LBUTTONUP, 100);
    EXPECT_TRUE(parent.Received(ControlMessages::kMarkerValue).empty());
    EXPECT_EQ(4, CPngMultiHSliderBar::Markers().position[1]);
}
