#include "config/controls/CBitmapBtn.h"

#include "config/controls/ControlMessages.h"
#include "tests/config/controls/ControlTestSupport.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {
constexpr COLORREF kNormal = RGB(200, 0, 0);
constexpr COLORREF kOver = RGB(0, 160, 0);
constexpr RECT kButton{40, 30, 160, 70};
constexpr POINT kInside{60, 20};

class BitmapBtn : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(button.Create(L"", WS_VISIBLE | WS_TABSTOP, kButton, parent.Hwnd(), 1234));
        button.SetImages(kButton.left, kButton.top, Width(), Height(), normalPage.get(),
                         overPage.get());
        Pump();
        parent.Clear();
    }
    static int Width() { return kButton.right - kButton.left; }
    static int Height() { return kButton.bottom - kButton.top; }
    // The image colour in the button's corner, clear of any caption.
    COLORREF Shown() const { return PixelAt(button.Hwnd(), 2, 2); }
    int CaptionPixels(COLORREF color) const {
        return ScreenShot(button.Hwnd()).Count(RECT{0, 0, Width(), Height()}, color);
    }
    // Sent and painted at once: while the button holds the capture the queue is left alone, so
    // that no stray input from the display reaches it.
    void Send(UINT message, UINT flags, POINT at) {
        ActivateTestHost();
        SendMessageW(button.Hwnd(), message, flags, PointParam(at.x, at.y));
        UpdateWindow(button.Hwnd());
    }
    LPARAM Self() const { return reinterpret_cast<LPARAM>(button.Hwnd()); }

    RecordingParent parent;
    // Page pictures: the button cuts its part out of them.
    std::unique_ptr<Gdiplus::Bitmap> normalPage = SolidPicture(300, 200, kNormal);
    std::unique_ptr<Gdiplus::Bitmap> overPage = SolidPicture(300, 200, kOver);
    CBitmapBtn button;
};
} // namespace

TEST_F(BitmapBtn, CutsItsImagesAndDropsBorderAndTabStop) {
    EXPECT_EQ(kNormal, Shown());
    EXPECT_EQ(0, GetWindowLongPtrW(button.Hwnd(), GWL_STYLE) & (WS_TABSTOP | WS_BORDER));
}

TEST_F(BitmapBtn, HoverShowsTheOverImageUntilTheCursorLeaves) {
    Send(WM_MOUSEMOVE, 0, kInside);
    EXPECT_TRUE(button.IsHover());
    EXPECT_EQ(button.Hwnd(), GetCapture());
    EXPECT_EQ(kOver, Shown());
    // Outside the button (in the parent), in the button's client coordinates.
    Send(WM_MOUSEMOVE, 0, POINT{-20, -10});
    EXPECT_FALSE(button.IsHover());
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(kNormal, Shown());
}

TEST_F(BitmapBtn, MovesAreForwardedInScreenCoordinates) {
    Send(WM_MOUSEMOVE, 0, kInside);
    Send(WM_MOUSEMOVE, 0, POINT{-20, -10});
    Pump();
    POINT inside = kInside;
    ClientToScreen(button.Hwnd(), &inside);
    POINT outside{-20, -10};
    ClientToScreen(button.Hwnd(), &outside);
    const Log moves = parent.Received(WM_MOUSEMOVE);
    ASSERT_GE(moves.size(), 2u);
    EXPECT_EQ((RecordedMessage{WM_MOUSEMOVE, 0, PointParam(inside.x, inside.y)}), moves[0]);
    EXPECT_EQ((RecordedMessage{WM_MOUSEMOVE, 0, PointParam(outside.x, outside.y)}), moves[1]);
}

TEST_F(BitmapBtn, HeldButtonOverANonHoveredButtonIsNotForwarded) {
    Send(WM_MOUSEMOVE, MK_LBUTTON, kInside);
    Pump();
    EXPECT_TRUE(parent.Received(WM_MOUSEMOVE).empty());
    EXPECT_FALSE(button.IsHover());
}

TEST_F(BitmapBtn, PressAndReleaseArePostedInOrder) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, kInside);
    EXPECT_EQ(kOver, Shown()) << "pressed look";
    Send(WM_LBUTTONUP, 0, kInside);
    Pump();
    EXPECT_EQ((Log{{ControlMessages::kButtonPress, 1, Self()},
                   {ControlMessages::kButtonPress, 0, Self()}}),
              parent.Received(ControlMessages::kButtonPress));
    EXPECT_EQ((Log{{WM_COMMAND, MAKEWPARAM(1234, BN_CLICKED), Self()}}),
              parent.Received(WM_COMMAND));
    EXPECT_FALSE(button.IsChecked());
}

TEST_F(BitmapBtn, CheckableButtonTogglesAndNotifiesOnce) {
    button.SetCheckable(true);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, kInside);
    Send(WM_LBUTTONUP, 0, kInside);
    Pump();
    EXPECT_TRUE(button.IsChecked());
    EXPECT_EQ(kOver, Shown());
    EXPECT_EQ((Log{{WM_COMMAND, MAKEWPARAM(1234, BN_CLICKED), Self()}}),
              parent.Received(WM_COMMAND));
    EXPECT_EQ(2u, parent.Received(ControlMessages::kButtonPress).size());
    Send(WM_LBUTTONDOWN, MK_LBUTTON, kInside);
    Send(WM_LBUTTONUP, 0, kInside);
    EXPECT_FALSE(button.IsChecked());
    EXPECT_EQ(kNormal, Shown());
}

TEST_F(BitmapBtn, OneSourceServesEveryState) {
    CBitmapBtn single;
    ASSERT_TRUE(single.Create(L"", WS_VISIBLE, RECT{200, 30, 260, 70}, parent.Hwnd(), 1));
    single.SetImages(200, 30, 60, 40, normalPage.get(), normalPage.get());
    single.SetCheck(true);
    Pump();
    EXPECT_EQ(kNormal, PixelAt(single.Hwnd(), 2, 2));
}

TEST_F(BitmapBtn, CaptionColourFollowsTheState) {
    constexpr COLORREF kNormalText = RGB(255, 255, 0);
    constexpr COLORREF kOverText = RGB(0, 255, 255);
    constexpr COLORREF kPressedText = RGB(255, 0, 255);
    button.SetFontSize(32);
    button.SetCaption(L"MW", 0, kBtnHorizontal);
    button.SetTextColors(kNormalText, kOverText, kPressedText);
    Pump();
    EXPECT_GT(CaptionPixels(kNormalText), 20);
    Send(WM_MOUSEMOVE, 0, kInside);
    EXPECT_GT(CaptionPixels(kOverText), 20);
    // Checked wins over hover on a plain button.
    button.SetCheck(true);
    UpdateWindow(button.Hwnd());
    EXPECT_GT(CaptionPixels(kPressedText), 20);
    EXPECT_EQ(0, CaptionPixels(kOverText));
    Send(WM_MOUSEMOVE, 0, POINT{-20, -10});
}

TEST_F(BitmapBtn, DisabledCheckedCheckableShowsTheDisabledLook) {
    button.SetFontSize(32);
    button.SetCaption(L"MW", 0, kBtnHorizontal);
    button.SetCheckable(true);
    button.SetCheck(true);
    EnableWindow(button.Hwnd(), FALSE);
    Pump();
    EXPECT_EQ(kNormal, Shown());
    EXPECT_GT(CaptionPixels(RGB(150, 150, 150)), 20);
}

TEST_F(BitmapBtn, EmptyCaptionLeavesTheImageAlone) {
    EXPECT_EQ(Width() * Height(), CaptionPixels(kNormal));
}

TEST_F(BitmapBtn, SameCheckStateRedrawsOnce) {
    button.SetCheck(true);
    EXPECT_TRUE(GetUpdateRect(button.Hwnd(), nullptr, FALSE));
    Pump();
    button.SetCheck(true);
    EXPECT_FALSE(GetUpdateRect(button.Hwnd(), nullptr, FALSE));
}

TEST_F(BitmapBtn, ToolTipHasOneToolWithTheLatestText) {
    button.SetToolTipText(L"first", true);
    button.SetToolTipText(L"second", true);
    // The tooltip that knows tool 1 of this button.
    struct Search {
        HWND button;
        HWND tip = nullptr;
        std::wstring text;
    } search{button.Hwnd(), nullptr, {}};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM param) {
            auto& s = *reinterpret_cast<Search*>(param);
            wchar_t name[64] = {};
            GetClassNameW(hwnd, name, 64);
            if (std::wstring(name) != TOOLTIPS_CLASSW) {
                return TRUE;
            }
            wchar_t text[80] = {};
            TTTOOLINFOW tool{};
            tool.cbSize = TTTOOLINFOW_V2_SIZE;
            tool.hwnd = s.button;
            tool.uId = 1;
            tool.lpszText = text;
            if (SendMessageW(hwnd, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool))) {
                SendMessageW(hwnd, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
                s.tip = hwnd;
                s.text = text;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    ASSERT_NE(nullptr, search.tip);
    EXPECT_EQ(1, SendMessageW(search.tip, TTM_GETTOOLCOUNT, 0, 0));
    EXPECT_EQ(L"second", search.text);
}

namespace {
// The tooltips of this thread that the top-level window owns.
std::vector<HWND> ToolTipsOf(HWND root) {
    struct Search {
        HWND root;
        std::vector<HWND> tips;
    } search{root, {}};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM param) {
            auto& s = *reinterpret_cast<Search*>(param);
            wchar_t name[64] = {};
            GetClassNameW(hwnd, name, 64);
            if (std::wstring(name) == TOOLTIPS_CLASSW && GetWindow(hwnd, GW_OWNER) == s.root) {
                s.tips.push_back(hwnd);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.tips;
}

// The text of the control's tool in the tooltip; empty when the tooltip has no such tool.
std::optional<std::wstring> ToolText(HWND tip, HWND control) {
    wchar_t text[80] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = control;
    tool.uId = 1;
    tool.lpszText = text;
    if (!SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool))) {
        return std::nullopt;
    }
    SendMessageW(tip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
    return std::wstring(text);
}
} // namespace

TEST_F(BitmapBtn, ButtonsOfOneWindowShareItsToolTipEachAsAToolOfItsOwn) {
    const HWND root = GetAncestor(parent.Hwnd(), GA_ROOT);
    CBitmapBtn second;
    CBitmapBtn gone;
    ASSERT_TRUE(second.Create(L"", WS_VISIBLE, RECT{0, 0, 30, 20}, parent.Hwnd(), 1));
    ASSERT_TRUE(gone.Create(L"", WS_VISIBLE, RECT{0, 30, 30, 50}, parent.Hwnd(), 2));
    // A window of its own has a tooltip of its own.
    winlayer::Window otherRoot;
    ASSERT_TRUE(otherRoot.CreateEx(0, nullptr, L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
    CBitmapBtn elsewhere;
    ASSERT_TRUE(elsewhere.Create(L"", WS_VISIBLE, RECT{0, 0, 30, 20}, otherRoot.Hwnd(), 3));

    button.SetToolTipText(L"first", true);
    second.SetToolTipText(L"second", true);
    gone.SetToolTipText(L"gone", true);
    elsewhere.SetToolTipText(L"elsewhere", true);
    second.SetToolTipText(L"second again", true);
    const HWND goneHwnd = gone.Hwnd();
    gone.DestroyWindow();

    const std::vector<HWND> tips = ToolTipsOf(root);
    const std::vector<HWND> otherTips = ToolTipsOf(otherRoot.Hwnd());
    ASSERT_EQ(1u, tips.size());
    ASSERT_EQ(1u, otherTips.size());
    EXPECT_EQ(2, SendMessageW(tips[0], TTM_GETTOOLCOUNT, 0, 0));
    EXPECT_EQ(1, SendMessageW(otherTips[0], TTM_GETTOOLCOUNT, 0, 0));
    struct Row {
        const char* what;
        HWND tip;
        HWND control;
        std::optional<std::wstring> text;
    };
    const Row rows[] = {
        {"first button", tips[0], button.Hwnd(), L"first"},
        {"second button, text set twice", tips[0], second.Hwnd(), L"second again"},
        {"destroyed button", tips[0], goneHwnd, std::nullopt},
        {"button of another window", otherTips[0], elsewhere.Hwnd(), L"elsewhere"},
        {"button of another window, in this window's tooltip", tips[0], elsewhere.Hwnd(),
         std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(row.text, ToolText(row.tip, row.control));
    }
}

TEST_F(BitmapBtn, ChangesMadeWhileHiddenShowWhenTheButtonShows) {
    constexpr COLORREF kBlue = RGB(0, 0, 220);
    constexpr COLORREF kCaption = RGB(255, 255, 0);
    const std::unique_ptr<Gdiplus::Bitmap> bluePage = SolidPicture(300, 200, kBlue);
    struct Row {
        const char* what;
        std::function<void(CBitmapBtn&)> change;
        COLORREF corner;
        bool caption;
    };
    const Row rows[] = {
        {"checked", [](CBitmapBtn& b) { b.SetCheck(true); }, kOver, false},
        {"new pictures",
         [&](CBitmapBtn& b) {
             b.SetImages(kButton.left, kButton.top, Width(), Height(), bluePage.get(),
                         bluePage.get());
         },
         kBlue, false},
        {"caption",
         [&](CBitmapBtn& b) {
             b.SetTextColors(kCaption, kCaption, kCaption);
             b.SetFontSize(30);
             b.SetCaption(L"W", 0, kBtnHorizontal);
         },
         kNormal, true},
    };
    // The button hidden itself, or inside its hidden parent.
    for (const bool hideParent : {false, true}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(row.what) + (hideParent ? ", parent hidden" : ""));
            CBitmapBtn fresh;
            ASSERT_TRUE(fresh.Create(L"", WS_VISIBLE, kButton, parent.Hwnd(), 7));
            fresh.SetImages(kButton.left, kButton.top, Width(), Height(), normalPage.get(),
                            overPage.get());
            ShowWindow(button.Hwnd(), SW_HIDE);
            Pump();
            const HWND hidden = hideParent ? parent.Hwnd() : fresh.Hwnd();
            ShowWindow(hidden, SW_HIDE);
            Pump();
            row.change(fresh);
            ShowWindow(hidden, SW_SHOWNA);
            UpdateWindow(parent.Hwnd());
            Pump();
            EXPECT_EQ(row.corner, PixelAt(fresh.Hwnd(), 2, 2));
            const int captionPixels =
                ScreenShot(fresh.Hwnd()).Count(RECT{0, 0, Width(), Height()}, kCaption);
            EXPECT_EQ(row.caption, captionPixels > 0);
        }
    }
}
