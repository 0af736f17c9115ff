#include "config/controls/CBitmapBtnEdit.h"

#include "config/controls/CControlGlobals.h"
#include "config/controls/ControlMessages.h"
#include "tests/config/controls/ControlTestSupport.h"

#include <gtest/gtest.h>

namespace {
class BitmapBtnEdit : public ::testing::Test {
protected:
    void SetUp() override {
        CControlGlobals::SetEditInProgress(false);
        ASSERT_TRUE(button.Create(L"", WS_VISIBLE, RECT{271, 255, 340, 301}, parent.Hwnd(), 0));
        button.SetImages(271, 255, 69, 46, page.get(), page.get());
        Pump();
        parent.Clear();
    }
    HWND Edit() { return button.Edit().Hwnd(); }
    void Repaint() {
        InvalidateRect(button.Hwnd(), nullptr, FALSE);
        Pump();
    }

    RecordingParent parent;
    std::unique_ptr<Gdiplus::Bitmap> page = SolidPicture(600, 400, RGB(40, 40, 90));
    CBitmapBtnEdit button;
};
} // namespace

TEST_F(BitmapBtnEdit, InlineEditIsMadeInsideTheButton) {
    ASSERT_NE(nullptr, Edit());
    EXPECT_EQ(button.Hwnd(), GetParent(Edit()));
    EXPECT_EQ(CBitmapBtnEdit::kEditId, GetDlgCtrlID(Edit()));
    EXPECT_EQ(5, SendMessageW(Edit(), EM_GETLIMITTEXT, 0, 0));
    RECT r{};
    GetWindowRect(Edit(), &r);
    MapWindowPoints(nullptr, button.Hwnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(15, r.left);
    EXPECT_EQ(25, r.top);
    EXPECT_EQ(58, r.right);
    EXPECT_EQ(39, r.bottom);
    // The edit stays visible over the painted button, white on black.
    SetWindowTextW(Edit(), L"");
    Repaint();
    EXPECT_EQ(RGB(0, 0, 0), PixelAt(Edit(), 1, 1));
    EXPECT_EQ(RGB(40, 40, 90), PixelAt(button.Hwnd(), 2, 2));
}

TEST_F(BitmapBtnEdit, EnterInTheEditReachesTheParentAndKeyUpsDoNot) {
    SendMessageW(Edit(), WM_KEYUP, '4', 0);
    PostMessageW(Edit(), WM_KEYDOWN, VK_RETURN, 1);
    Pump();
    EXPECT_EQ((Log{{ControlMessages::kEditEnter, 0, 0}}),
              parent.Received(ControlMessages::kEditEnter));
    EXPECT_TRUE(parent.Received(ControlMessages::kEditKeyUp).empty());
}

TEST_F(BitmapBtnEdit, StoredTextReachesTheEditAtTheNextPaint) {
    button.SetEditText(L"1600");
    EXPECT_EQ(L"", button.Edit().Text());
    Pump();
    EXPECT_EQ(L"1600", button.Edit().Text());
}

TEST_F(BitmapBtnEdit, TypingIsNeverOverwritten) {
    button.SetEditText(L"800");
    Pump();
    SetFocus(Edit());
    EXPECT_TRUE(CControlGlobals::EditInProgress());
    SetWindowTextW(Edit(), L"95");
    button.SetEditText(L"1200");
    Pump();
    EXPECT_EQ(L"95", button.Edit().Text());
    CControlGlobals::SetEditInProgress(false);
    Repaint();
    EXPECT_EQ(L"1200", button.Edit().Text());
}

TEST_F(BitmapBtnEdit, RepaintingWithTheSameTextLeavesTheCaretAlone) {
    button.SetEditText(L"3200");
    Pump();
    SendMessageW(Edit(), EM_SETSEL, 2, 2);
    Repaint();
    DWORD start = 0;
    SendMessageW(Edit(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    EXPECT_EQ(2u, start);
    EXPECT_FALSE(GetUpdateRect(button.Hwnd(), nullptr, FALSE));
}

TEST_F(BitmapBtnEdit, CheckingDecidesWhetherTheEditTakesClicks) {
    button.SetChecked(true);
    EXPECT_TRUE(button.IsChecked());
    EXPECT_TRUE(button.Edit().AcceptsClicks());
    button.SetChecked(false);
    EXPECT_FALSE(button.Edit().AcceptsClicks());
}

TEST_F(BitmapBtnEdit, CaptionGoesToTheButtonAndTextToTheEdit) {
    button.SetFontSize(30);
    button.SetTextColors(RGB(255, 255, 0), RGB(254, 0, 0), RGB(254, 0, 0));
    button.SetCaption(L"MW", L"400", 0, kBtnHorizontal);
    EXPECT_EQ(L"400", button.Edit().Text());
    Pump();
    EXPECT_GT(ScreenShot(button.Hwnd()).Count(RECT{0, 0, 69, 25}, RGB(255, 255, 0)), 10);
}
