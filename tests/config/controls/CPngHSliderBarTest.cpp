#include "config/controls/CPngHSliderBar.h"

#include "config/controls/ControlMessages.h"
#include "tests/config/controls/ControlTestSupport.h"

#include <gtest/gtest.h>

namespace {
constexpr COLORREF kBack = RGB(90, 90, 90);
constexpr COLORREF kFill = RGB(0, 0, 200);
constexpr COLORREF kThumb = RGB(230, 120, 0);
constexpr COLORREF kThumbDisabled = RGB(120, 120, 0);
constexpr COLORREF kKey = RGB(255, 0, 255);
constexpr int kId = 10009;
// A bar 90 pixels wide at (100, 50) in its parent; the thumb is 10 x 20.
constexpr RECT kBar{100, 50, 190, 70};

class PngHSliderBar : public ::testing::Test {
protected:
    void SetUp() override {
        MakeSkinFolder();
        SaveSolidPng(SkinFile(L"thumb.png"), 10, 20, kThumb);
        SaveSolidPng(SkinFile(L"thumb_d.png"), 10, 20, kThumbDisabled);
        SavePngWithBottomRow(SkinFile(L"keyed.png"), 10, 20, kThumb, kKey);
    }
    void Make(const std::wstring& thumb, const std::wstring& disabled = L"", bool shape = false,
              bool keyRow = false) {
        ASSERT_TRUE(bar.Create(SkinFile(thumb), disabled.empty() ? L"" : SkinFile(disabled),
                               kBar.left, kBar.top, kBar.right, kBar.bottom, parent.Hwnd(), kId,
                               shape, keyRow));
        bar.SetImages(kBar.left, kBar.top, 90, 20, back.get(), fill.get());
        bar.SetRange(1, 3);
        bar.SetPos(1);
        Pump();
        parent.Clear();
    }
    void Click(int x) {
        SendMessageW(bar.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, PointParam(x, 10));
        SendMessageW(bar.Hwnd(), WM_LBUTTONUP, 0, PointParam(x, 10));
        Pump();
    }
    std::vector<int> Values() const {
        std::vector<int> values;
        for (const auto& m : parent.Received(ControlMessages::kSliderValue)) {
            EXPECT_EQ(kId, m.lParam);
            values.push_back(static_cast<int>(m.wParam));
        }
        return values;
    }
    // A pixel of the bar, in the bar's client coordinates.
    COLORREF Bar(int x, int y) const { return PixelAt(bar.Hwnd(), x, y); }

    RecordingParent parent;
    std::unique_ptr<Gdiplus::Bitmap> back = SolidPicture(300, 200, kBack);
    std::unique_ptr<Gdiplus::Bitmap> fill = SolidPicture(300, 200, kFill);
    CPngHSliderBar bar;
};
} // namespace

TEST_F(PngHSliderBar, TrackClicksPostTheNearestValueTwice) {
    Make(L"thumb.png");
    for (int x : {20, 23, 67, 68}) {
        Click(x);
    }
    EXPECT_EQ((std::vector<int>{1, 1, 2, 2, 2, 2, 3, 3}), Values());
    EXPECT_EQ(3, bar.Thumb().Value());
}

TEST_F(PngHSliderBar, ClicksBeyondTheTrackGiveItsEnds) {
    Make(L"thumb.png");
    Click(-6);
    Click(95);
    EXPECT_EQ((std::vector<int>{1, 1, 3, 3}), Values());
}

TEST_F(PngHSliderBar, FillReachesTheThumb) {
    Make(L"thumb.png");
    bar.SetPos(2);
    Pump();
    EXPECT_EQ(40, bar.Thumb().X());
    EXPECT_EQ(kFill, Bar(39, 10));
    EXPECT_EQ(kThumb, Bar(45, 10));
    EXPECT_EQ(kBack, Bar(55, 10));
    // Out of range: the thumb goes back to the minimum and the fill with it.
    bar.SetPos(7);
    Pump();
    EXPECT_EQ(0, bar.Thumb().X());
    EXPECT_EQ(kThumb, Bar(5, 10));
    EXPECT_EQ(kBack, Bar(39, 10));
    // The window under the bar paints over its children too: the thumb comes back with the bar.
    InvalidateRect(parent.Hwnd(), nullptr, TRUE);
    Pump();
    EXPECT_EQ(kThumb, Bar(5, 10));
}

TEST_F(PngHSliderBar, DroppedThumbPostsTheRoundedValueAndStaysPut) {
    Make(L"thumb.png");
    HWND thumb = bar.Thumb().Hwnd();
    SendMessageW(thumb, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(2, 5));
    SendMessageW(thumb, WM_MOUSEMOVE, MK_LBUTTON, PointParam(32, 5));
    MSG queued{};
    EXPECT_FALSE(PeekMessageW(&queued, nullptr, ControlMessages::kSliderValue,
                              ControlMessages::kSliderValue, PM_NOREMOVE))
        << "nothing is posted while dragging";
    EXPECT_EQ(30, bar.Thumb().X());
    // The track is filled up to the dragged thumb, also where the thumb never stood.
    EXPECT_EQ(kFill, Bar(20, 10));
    SendMessageW(thumb, WM_LBUTTONUP, 0, PointParam(2, 5));
    Pump();
    EXPECT_EQ((std::vector<int>{2}), Values());
    EXPECT_EQ(30, bar.Thumb().X());
    EXPECT_EQ(kThumb, Bar(35, 10));
}

TEST_F(PngHSliderBar, DraggedThumbStaysOnTheTrack) {
    Make(L"thumb.png");
    HWND thumb = bar.Thumb().Hwnd();
    SendMessageW(thumb, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(2, 5));
    SendMessageW(thumb, WM_MOUSEMOVE, MK_LBUTTON, PointParam(400, 5));
    EXPECT_EQ(80, bar.Thumb().X());
    SendMessageW(thumb, WM_MOUSEMOVE, MK_LBUTTON, PointParam(-400, 5));
    EXPECT_EQ(0, bar.Thumb().X());
    SendMessageW(thumb, WM_LBUTTONUP, 0, PointParam(2, 5));
    Pump();
    EXPECT_EQ((std::vector<int>{1}), Values());
}

TEST_F(PngHSliderBar, DisabledBarShowsTheDisabledThumbWhenThereIsOne) {
    Make(L"thumb.png");
    EnableWindow(bar.Hwnd(), FALSE);
    Pump();
    EXPECT_EQ(kThumb, Bar(5, 10));
}

TEST_F(PngHSliderBar, DisabledThumbPicture) {
    Make(L"thumb.png", L"thumb_d.png");
    EnableWindow(bar.Hwnd(), FALSE);
    Pump();
    EXPECT_EQ(kThumbDisabled, Bar(5, 10));
    EnableWindow(bar.Hwnd(), TRUE);
    Pump();
    EXPECT_EQ(kThumb, Bar(5, 10));
}

TEST_F(PngHSliderBar, ShapedThumbTakesTheKeyFromItsBottomRow) {
    Make(L"keyed.png", L"", true, true);
    EXPECT_EQ(kThumb, Bar(5, 10));
    EXPECT_EQ(kBack, Bar(5, 19)) << "the key row is cut away";
}

TEST_F(PngHSliderBar, ShapedThumbTakesTheKeyFromItsTopLeftPixel) {
    Make(L"keyed.png", L"", true, false);
    EXPECT_EQ(kBack, Bar(5, 10));
    EXPECT_EQ(kKey, Bar(5, 19));
}
