#include "config/controls/COwnColorSelect.h"

#include "config/controls/ControlMessages.h"
#include "tests/config/controls/ControlTestSupport.h"

#include <gtest/gtest.h>

namespace {
constexpr COLORREF kPanel = RGB(50, 50, 50);
constexpr POINT kPreview{147, 35};

class OwnColorSelect : public ::testing::Test {
protected:
    void SetUp() override {
        MakeSkinFolder();
        SaveSolidPng(SkinFile(L"selcolor.png"), 236, 169, kPanel);
        SaveSolidPng(SkinFile(L"bar1.png"), 5, 7, RGB(250, 250, 250));
        SaveSolidPng(SkinFile(L"bar2.png"), 5, 7, RGB(250, 250, 250));
        ASSERT_TRUE(select.Create(10, 10, 246, 179, parent.Hwnd(), 10013));
        Pump();
        parent.Clear();
    }
    // The queue is pumped only after the release, so that no stray input from the display
    // reaches the selector while it holds the capture.
    void Send(UINT message, POINT at) {
        SendMessageW(select.Hwnd(), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                     PointParam(at.x, at.y));
        if (message == WM_LBUTTONUP) {
            Pump();
        }
    }
    // Colour messages waiting in the queue for the parent.
    bool ColorQueued() const {
        MSG queued{};
        return PeekMessageW(&queued, parent.Hwnd(), ControlMessages::kColorChosen,
                            ControlMessages::kColorChosen, PM_NOREMOVE) != FALSE;
    }
    void Click(HWND button) {
        SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(2, 2));
        SendMessageW(button, WM_LBUTTONUP, 0, PointParam(2, 2));
        Pump();
    }
    std::wstring FieldText(COwnColorSelect::Field field) { return select.FieldEdit(field).Text(); }
    void TypeInto(COwnColorSelect::Field field, const wchar_t* text) {
        SetWindowTextW(select.FieldEdit(field).Hwnd(), text);
        SendMessageW(select.FieldEdit(field).Hwnd(), WM_KEYUP, '0', 0);
        Pump();
    }
    Log Posted() const { return parent.Received(ControlMessages::kColorChosen); }
    COLORREF Preview() const { return PixelAt(select.Hwnd(), kPreview.x, kPreview.y); }

    RecordingParent parent;
    COwnColorSelect select;
};
} // namespace

TEST_F(OwnColorSelect, StartsAtRed) {
    EXPECT_EQ(RGB(255, 0, 0), select.Color());
    EXPECT_EQ(227, select.Positions().hueX);
    EXPECT_EQ(RGB(255, 0, 0), select.HueColor());
    EXPECT_EQ(L"255", FieldText(COwnColorSelect::kRedField));
    EXPECT_EQ(L"0", FieldText(COwnColorSelect::kGreenField));
    EXPECT_EQ(L"ff0000", select.HexEdit().Text());
    EXPECT_FALSE(IsWindowEnabled(select.HexEdit().Hwnd()));
    // Read-only, it looks it: on the panel, not black like the fields that take typing.
    EXPECT_EQ(kPanel, PixelAt(select.HexEdit().Hwnd(), 70, 8));
    EXPECT_EQ(RGB(0, 0, 0), PixelAt(select.FieldEdit(COwnColorSelect::kRedField).Hwnd(), 28, 8));
    EXPECT_EQ(RGB(255, 0, 0), Preview());
    EXPECT_EQ(kPanel, PixelAt(select.Hwnd(), 170, 110));
}

TEST_F(OwnColorSelect, SetColorShowsWithoutReporting) {
    select.SetColor(RGB(0x12, 0x34, 0x56));
    Pump();
    EXPECT_EQ(L"18", FieldText(COwnColorSelect::kRedField));
    EXPECT_EQ(L"52", FieldText(COwnColorSelect::kGreenField));
    EXPECT_EQ(L"86", FieldText(COwnColorSelect::kBlueField));
    EXPECT_EQ(L"123456", select.HexEdit().Text());
    EXPECT_EQ(RGB(0x12, 0x34, 0x56), Preview());
    EXPECT_TRUE(Posted().empty());
    select.SetColor(RGB(255, 255, 255));
    EXPECT_EQ(9, select.Positions().satX);
    EXPECT_EQ(5, select.Positions().valY);
    select.SetColor(RGB(0, 0, 0));
    EXPECT_EQ(98, select.Positions().valY);
}

TEST_F(OwnColorSelect, HueDragPostsOnceWhenReleased) {
    Send(WM_LBUTTONDOWN, POINT{100, 110});
    Send(WM_MOUSEMOVE, POINT{130, 120});
    Send(WM_MOUSEMOVE, POINT{150, 140});
    EXPECT_FALSE(ColorQueued());
    Send(WM_LBUTTONUP, POINT{150, 140});
    EXPECT_EQ(150, select.Positions().hueX);
    EXPECT_EQ((Log{{ControlMessages::kColorChosen, select.Color(), 0}}), Posted());
    EXPECT_EQ(CColorPositions::ColorAt({150, 124, 5}), select.Color());
    EXPECT_EQ(select.Color(), Preview());
}

TEST_F(OwnColorSelect, HueDragStaysOnTheStrip) {
    Send(WM_LBUTTONDOWN, POINT{100, 110});
    Send(WM_MOUSEMOVE, POINT{400, 110});
    EXPECT_EQ(227, select.Positions().hueX);
    Send(WM_MOUSEMOVE, POINT{-50, 110});
    EXPECT_EQ(8, select.Positions().hueX);
    Send(WM_LBUTTONUP, POINT{-50, 110});
    EXPECT_EQ(1u, Posted().size());
}

TEST_F(OwnColorSelect, SquarePostsOnPressAndOnRelease) {
    Send(WM_LBUTTONDOWN, POINT{66, 50});
    EXPECT_TRUE(ColorQueued());
    const COLORREF pressed = select.Color();
    Send(WM_MOUSEMOVE, POINT{500, -20});
    EXPECT_EQ(124, select.Positions().satX);
    EXPECT_EQ(5, select.Positions().valY);
    EXPECT_EQ(RGB(255, 0, 0), select.Color());
    EXPECT_EQ(L"255", FieldText(COwnColorSelect::kRedField));
    Send(WM_LBUTTONUP, POINT{500, -20});
    EXPECT_EQ((Log{{ControlMessages::kColorChosen, pressed, 0},
                   {ControlMessages::kColorChosen, RGB(255, 0, 0), 0}}),
              Posted());
    EXPECT_EQ(RGB(255, 0, 0), Preview());
}

TEST_F(OwnColorSelect, SquareRunsFromWhiteToTheHueAndDownToBlack) {
    const ScreenShot shot(select.Hwnd());
    EXPECT_EQ(RGB(255, 255, 255), shot.At(9, 5));
    // Row 45: grey 132 on the left, the red hue dimmed to 131 on the right.
    EXPECT_EQ(RGB(132, 132, 132), shot.At(9, 50));
    const COLORREF right = shot.At(123, 50);
    EXPECT_GT(GetRValue(right), 125);
    EXPECT_LT(GetGValue(right), 10);
    EXPECT_EQ(RGB(0, 0, 0), shot.At(60, 98));
}

TEST_F(OwnColorSelect, TypedChannelsAreClampedToAByte) {
    TypeInto(COwnColorSelect::kRedField, L"300");
    EXPECT_EQ(L"255", FieldText(COwnColorSelect::kRedField));
    EXPECT_EQ((Log{{ControlMessages::kColorChosen, RGB(255, 0, 0), 0}}), Posted());
    // A field that was not the one typed in cannot spill into its neighbour either.
    SetWindowTextW(select.FieldEdit(COwnColorSelect::kGreenField).Hwnd(), L"999");
    SetWindowTextW(select.FieldEdit(COwnColorSelect::kBlueField).Hwnd(), L"7");
    TypeInto(COwnColorSelect::kRedField, L"10");
    EXPECT_EQ(RGB(10, 255, 7), select.Color());
    EXPECT_EQ(L"255", FieldText(COwnColorSelect::kGreenField));
    EXPECT_EQ(RGB(10, 255, 7), Posted().back().wParam);
}

TEST_F(OwnColorSelect, ArrowsStepWithinAByte) {
    select.SetColor(RGB(254, 0, 1));
    Click(select.ArrowButton(COwnColorSelect::kRedUp).Hwnd());
    EXPECT_EQ(RGB(255, 0, 1), select.Color());
    Click(select.ArrowButton(COwnColorSelect::kBlueDown).Hwnd());
    EXPECT_EQ(RGB(255, 0, 0), select.Color());
    EXPECT_EQ(L"255", FieldText(COwnColorSelect::kRedField));
    EXPECT_EQ(L"0", FieldText(COwnColorSelect::kBlueField));
    // Each click reports its extra step and its release.
    EXPECT_EQ(4u, Posted().size());
    EXPECT_EQ(RGB(255, 0, 0), Posted().back().wParam);
}

// How often the repeat fires depends on the machine; that it repeats and stops does not.
TEST_F(OwnColorSelect, HeldArrowRepeatsUntilReleased) {
    select.SetColor(RGB(100, 100, 100));
    // What the arrow button posts when it is pressed and released.
    const auto up = reinterpret_cast<LPARAM>(select.ArrowButton(COwnColorSelect::kGreenUp).Hwnd());
    const UINT_PTR repeat = COwnColorSelect::kFirstArrowTimer + COwnColorSelect::kGreenUp;
    PostMessageW(select.Hwnd(), ControlMessages::kButtonPress, 1, up);
    Pump();
    EXPECT_LE(101, GetGValue(select.Color())) << "the press makes the first step";
    // Each tick of the repeat is one more step.
    const int before = GetGValue(select.Color());
    SendMessageW(select.Hwnd(), WM_TIMER, repeat, 0);
    EXPECT_EQ(before + 1, GetGValue(select.Color()));
    // Held, it goes on by itself.
    const DWORD start = GetTickCount();
    while (GetGValue(select.Color()) == before + 1 && GetTickCount() - start < 10000) {
        PumpFor(20);
    }
    EXPECT_LT(before + 1, GetGValue(select.Color()));
    EXPECT_TRUE(Posted().empty());
    PostMessageW(select.Hwnd(), ControlMessages::kButtonPress, 0, up);
    Pump();
    const int held = GetGValue(select.Color());
    EXPECT_FALSE(KillTimer(select.Hwnd(), repeat)) << "the release stops the repeat";
    EXPECT_EQ((Log{{ControlMessages::kColorChosen, RGB(100, held, 100), 0}}), Posted());
}

TEST_F(OwnColorSelect, PresetsSetAndReportTheirColour) {
    SendMessageW(select.PresetButton(3).Hwnd(), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(RGB(0, 255, 0), select.Color());
    EXPECT_EQ((Log{{ControlMessages::kColorChosen, RGB(0, 255, 0), 0}}), Posted());
    EXPECT_EQ(RGB(0, 255, 0), Preview());
    SendMessageW(select.PresetButton(8).Hwnd(), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(static_cast<COLORREF>(0x5A00A0), select.Color());
}
