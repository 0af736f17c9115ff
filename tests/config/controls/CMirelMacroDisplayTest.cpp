#include "config/controls/CMirelMacroDisplay.h"

#include "tests/config/controls/ControlTestSupport.h"

#include <gtest/gtest.h>

namespace {
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr int kWidth = 200;
constexpr int kHeight = 60;

class MacroDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_display.Create(WS_VISIBLE, {20, 20, 20 + kWidth, 20 + kHeight},
                                     m_parent.Hwnd(), 0x2001));
    }
    ScreenShot Shown() {
        UpdateWindow(m_parent.Hwnd());
        UpdateWindow(m_display.Hwnd());
        return ScreenShot(m_display.Hwnd());
    }
    // Width and height of a character of the display's font.
    SIZE CharSize(wchar_t ch) const {
        HDC dc = GetDC(m_display.Hwnd());
        HGDIOBJ old = SelectObject(dc, GetStockObject(ANSI_VAR_FONT));
        SIZE size{};
        GetTextExtentPoint32W(dc, &ch, 1, &size);
        SelectObject(dc, old);
        ReleaseDC(m_display.Hwnd(), dc);
        return size;
    }

    RecordingParent m_parent;
    CMirelMacroDisplay m_display;
};
} // namespace

TEST_F(MacroDisplayTest, EmptyDisplayPaintsWhiteOnly) {
    const ScreenShot shot = Shown();
    EXPECT_EQ(kWidth * kHeight, shot.Count({0, 0, kWidth, kHeight}, kWhite));
}

TEST_F(MacroDisplayTest, PicturesStandForCaretAndBarAndTheBandMarksHighlightedLines) {
    m_display.SetText(L"A^|");
    const int caretX = 2 + CharSize(L'A').cx;
    ScreenShot shot = Shown();
    // The caret picture's apex (4, 2) and the bar's column 4, drawn from y = 2.
    EXPECT_EQ(kBlack, shot.At(caretX + 4, 2 + 2));
    EXPECT_EQ(kWhite, shot.At(caretX + 4, 2 + 1));
    EXPECT_EQ(kBlack, shot.At(caretX + 9 + 4, 2 + 5));
    EXPECT_EQ(kWhite, shot.At(caretX + 9 + 6, 2 + 5));
    EXPECT_EQ(0, shot.Count({0, 30, kWidth, kHeight}, CMirelMacroDisplay::kHighlightColor));

    m_display.SetHighlight(true);
    shot = Shown();
    const int lineHeight = std::max<int>(CharSize(L'A').cy, 11) + 2;
    const int end = caretX + 18;
    EXPECT_EQ(CMirelMacroDisplay::kHighlightColor, shot.At(1, 1));
    EXPECT_EQ(CMirelMacroDisplay::kHighlightColor, shot.At(end, lineHeight - 2));
    EXPECT_EQ(kWhite, shot.At(end + 1, 5));
    EXPECT_EQ(kWhite, shot.At(1, lineHeight - 1));
    EXPECT_EQ(kWhite, shot.At(0, 5));
}
