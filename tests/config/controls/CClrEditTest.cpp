#include "config/controls/CClrEdit.h"

#include "config/controls/CControlGlobals.h"
#include "config/controls/ControlMessages.h"
#include "tests/config/controls/ControlTestSupport.h"

#include <gtest/gtest.h>

namespace {
class ClrEdit : public ::testing::Test {
protected:
    void SetUp() override {
        CControlGlobals::SetEditInProgress(false);
        CControlGlobals::SetSecondEditFlag(false);
    }
    void Make(DWORD style = WS_VISIBLE) {
        ASSERT_TRUE(edit.Create(style, RECT{20, 20, 140, 44}, parent.Hwnd(), 20483));
        edit.SetId(7);
        Pump();
        parent.Clear();
    }
    void PostKeyDown(UINT key) {
        PostMessageW(edit.Hwnd(), WM_KEYDOWN, key, 1);
        Pump();
    }

    RecordingParent parent;
    CClrEdit edit;
};
} // namespace

TEST_F(ClrEdit, EnterPostsAndNeverReachesTheEdit) {
    Make(WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN);
    edit.SetReportKeyUps(false);
    SetWindowTextW(edit.Hwnd(), L"12");
    SendMessageW(edit.Hwnd(), EM_SETSEL, 2, 2);
    parent.Clear();
    PostKeyDown(VK_RETURN);
    EXPECT_EQ(L"12", edit.Text());
    EXPECT_EQ((Log{{ControlMessages::kEditEnter, 0, 0}}),
              parent.Received(ControlMessages::kEditEnter));
    EXPECT_TRUE(parent.Received(ControlMessages::kEditKeyUp).empty());
}

TEST_F(ClrEdit, KeyUpsAreReportedWithTheIdWhileSwitchedOn) {
    Make();
    SendMessageW(edit.Hwnd(), WM_KEYUP, 'A', 0);
    EXPECT_TRUE(parent.Received(ControlMessages::kEditKeyUp).empty()) << "posted, not sent";
    Pump();
    EXPECT_EQ((Log{{ControlMessages::kEditKeyUp, 'A', 7}}),
              parent.Received(ControlMessages::kEditKeyUp));
    edit.SetReportKeyUps(false);
    SendMessageW(edit.Hwnd(), WM_KEYUP, 'B', 0);
    Pump();
    EXPECT_EQ(1u, parent.Received(ControlMessages::kEditKeyUp).size());
}

TEST_F(ClrEdit, ChangesAreReportedOnlyWhenAsked) {
    Make();
    SetWindowTextW(edit.Hwnd(), L"5");
    Pump();
    EXPECT_TRUE(parent.Received(ControlMessages::kEditChanged).empty());
    edit.SetReportChanges(true);
    SetWindowTextW(edit.Hwnd(), L"6");
    Pump();
    EXPECT_EQ((Log{{ControlMessages::kEditChanged, 0, 0}}),
              parent.Received(ControlMessages::kEditChanged));
}

TEST_F(ClrEdit, FocusSetsOnlyTheFlagsItMarks) {
    Make();
    SetFocus(edit.Hwnd());
    EXPECT_FALSE(CControlGlobals::EditInProgress());
    SetFocus(parent.Hwnd());
    edit.SetMarksEditing(true);
    SetFocus(edit.Hwnd());
    EXPECT_TRUE(CControlGlobals::EditInProgress());
    EXPECT_FALSE(CControlGlobals::SecondEditFlag());
    SetFocus(parent.Hwnd());
    edit.SetMarksSecondFlag(true);
    SetFocus(edit.Hwnd());
    EXPECT_TRUE(CControlGlobals::SecondEditFlag());
}

TEST_F(ClrEdit, ClicksAreIgnoredWhileSwitchedOff) {
    Make();
    SetWindowTextW(edit.Hwnd(), L"12345");
    SetFocus(edit.Hwnd());
    SendMessageW(edit.Hwnd(), EM_SETSEL, 0, 0);
    edit.SetAcceptClicks(false);
    SendMessageW(edit.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, PointParam(110, 10));
    SendMessageW(edit.Hwnd(), WM_LBUTTONUP, 0, PointParam(110, 10));
    DWORD start = 1;
    SendMessageW(edit.Hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    EXPECT_EQ(0u, start);
    edit.SetAcceptClicks(true);
    SendMessageW(edit.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, PointParam(110, 10));
    SendMessageW(edit.Hwnd(), WM_LBUTTONUP, 0, PointParam(110, 10));
    SendMessageW(edit.Hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    EXPECT_EQ(5u, start);
}

TEST_F(ClrEdit, PaintsInItsOwnColours) {
    Make();
    edit.SetBkColor(RGB(6, 17, 30));
    edit.SetTextColor(RGB(255, 255, 0));
    SetWindowTextW(edit.Hwnd(), L"8888");
    Pump();
    const ScreenShot shot(edit.Hwnd());
    EXPECT_EQ(RGB(6, 17, 30), shot.At(118, 20));
    EXPECT_GT(shot.Count(RECT{0, 0, 120, 24}, RGB(255, 255, 0)), 10);
}
