#include "config/controls/CListBoxEx.h"

#include "tests/config/controls/ControlTestSupport.h"
#include "tests/config/controls/PointerHold.h"

#include <gtest/gtest.h>

namespace {
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kHighlight = RGB(60, 110, 200);
constexpr int kListLeft = 10;
constexpr int kListTop = 10;

// The list remembers the parent of the first list the mouse moved over for the whole program;
// every list here lives in the same one, beside the other tests' windows.
RecordingParent& Parent() {
    static RecordingParent parent(200, 300);
    return parent;
}

class ListBoxExTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetWindowPos(Parent().Hwnd(), HWND_TOP, 600, 0, 0, 0, SWP_NOSIZE);
        Parent().Clear();
        ASSERT_TRUE(m_list.Create(WS_VISIBLE | LBS_NOTIFY | LBS_OWNERDRAWVARIABLE,
                                  {kListLeft, kListTop, kListLeft + 170, kListTop + 160},
                                  Parent().Hwnd(), 0x1012));
        m_list.SetColors(kBlack, kHighlight);
        m_list.SetTextColors(RGB(200, 200, 200), RGB(255, 255, 255));
        m_list.AddItem(149, L"Left");
        m_list.AddItem(0, L"250 MS");
        m_list.AddItem(148, L"Left");
        m_list.AddItem(0, L"Delay");
        m_list.SetNotifyWindow(Parent().Hwnd());
        // Caches the parent that Enter reports to.
        SendMessageW(m_list.Hwnd(), WM_MOUSEMOVE, 0, PointParam(150, 150));
        Pump();
        Parent().Clear();
    }

    POINT RowCentre(int row) const {
        RECT r{};
        SendMessageW(m_list.Hwnd(), LB_GETITEMRECT, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&r));
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void Click(int row) {
        const POINT p = RowCentre(row);
        SendMessageW(m_list.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, PointParam(p.x, p.y));
        SendMessageW(m_list.Hwnd(), WM_LBUTTONUP, 0, PointParam(p.x, p.y));
        Pump();
    }
    void TypeAndRelease(const wchar_t* text, WPARAM key) {
        HWND edit = m_list.DelayEdit();
        ASSERT_NE(nullptr, edit);
        SetWindowTextW(edit, text);
        SendMessageW(edit, WM_KEYUP, key, 0);
        Pump();
    }
    LPARAM ItemValue(int row) const {
        return SendMessageW(m_list.Hwnd(), LB_GETITEMDATA, static_cast<WPARAM>(row), 0);
    }

    // A list in hover mode draws the row under the pointer: no other program moves it meanwhile.
    PointerHold m_pointer;
    CListBoxEx m_list;
};

std::wstring WindowText(HWND hwnd) {
    wchar_t text[64] = {};
    GetWindowTextW(hwnd, text, 64);
    return text;
}
} // namespace

TEST_F(ListBoxExTest, EnterCommitsTheDelayAndReportsTheEditedRow) {
    m_list.EditDelay(1, 0);
    ASSERT_NE(nullptr, m_list.DelayEdit());
    EXPECT_EQ(L"250", WindowText(m_list.DelayEdit()));
    EXPECT_EQ(L"", m_list.GetText(1));
    EXPECT_EQ(1, m_list.GetCurSel());

    TypeAndRelease(L"1000", VK_RETURN);
    EXPECT_EQ(nullptr, m_list.DelayEdit());
    EXPECT_EQ(L"1000 MS", m_list.GetText(1));
    EXPECT_EQ(0, ItemValue(1));
    EXPECT_EQ(1, m_list.GetCurSel());
    EXPECT_EQ((Log{{CListBoxEx::kDelayEnter, 0, 0}}), Parent().Received(CListBoxEx::kDelayEnter));
    EXPECT_EQ((Log{{CListBoxEx::kDelayEdited, 1000, 1}}),
              Parent().Received(CListBoxEx::kDelayEdited));

    // A row without a blank opens with 0.
    Parent().Clear();
    m_list.EditDelay(3, 0);
    EXPECT_EQ(L"0", WindowText(m_list.DelayEdit()));
    TypeAndRelease(L"20", VK_RETURN);
    EXPECT_EQ(L"20 MS", m_list.GetText(3));
    EXPECT_EQ((Log{{CListBoxEx::kDelayEdited, 20, 3}}),
              Parent().Received(CListBoxEx::kDelayEdited));
}

TEST_F(ListBoxExTest, EscapeRestoresTheOldDelayAndReportsNothing) {
    m_list.EditDelay(1, 0);
    TypeAndRelease(L"999", VK_ESCAPE);
    EXPECT_EQ(nullptr, m_list.DelayEdit());
    EXPECT_EQ(L"250 MS", m_list.GetText(1));
    EXPECT_EQ(0, ItemValue(1));
    EXPECT_EQ(1, m_list.GetCurSel());
    EXPECT_TRUE(Parent().Received(CListBoxEx::kDelayEdited).empty());
    EXPECT_TRUE(Parent().Received(CListBoxEx::kDelayEnter).empty());
}

TEST_F(ListBoxExTest, ClickingAnotherRowCommitsFirstAndClickOnTheEditedRowStays) {
    m_list.EditDelay(1, 0);
    SetWindowTextW(m_list.DelayEdit(), L"777");
    Click(1);
    ASSERT_NE(nullptr, m_list.DelayEdit());
    EXPECT_TRUE(Parent().Received(CListBoxEx::kRowClicked).empty());

    Click(2);
    EXPECT_EQ(nullptr, m_list.DelayEdit());
    EXPECT_EQ(L"777 MS", m_list.GetText(1));
    EXPECT_EQ(2, m_list.GetCurSel());
    EXPECT_EQ((Log{{CListBoxEx::kDelayEdited, 777, 1}}),
              Parent().Received(CListBoxEx::kDelayEdited));
    EXPECT_TRUE(Parent().Received(CListBoxEx::kDelayEnter).empty());
    EXPECT_EQ((Log{{CListBoxEx::kRowClicked, 2, 148}}), Parent().Received(CListBoxEx::kRowClicked));
}

TEST_F(ListBoxExTest, EditIsRefusedForEventRowsBadIndexesAndASecondEdit) {
    m_list.EditDelay(0, 149);
    m_list.EditDelay(2, 148);
    m_list.EditDelay(-1, 0);
    m_list.EditDelay(4, 0);
    EXPECT_EQ(nullptr, m_list.DelayEdit());
    EXPECT_EQ(L"Left", m_list.GetText(0));

    m_list.EditDelay(1, 0);
    HWND first = m_list.DelayEdit();
    m_list.EditDelay(3, 0);
    EXPECT_EQ(first, m_list.DelayEdit());
    EXPECT_EQ(L"Delay", m_list.GetText(3));
}

TEST_F(ListBoxExTest, DestroyingTheListWithAnOpenEditLeavesNoEditBehind) {
    {
        CListBoxEx other;
        ASSERT_TRUE(other.Create(WS_VISIBLE, {10, 180, 110, 260}, Parent().Hwnd(), 7));
        other.AddItem(0, L"30 MS");
        other.EditDelay(0, 0);
        ASSERT_NE(nullptr, other.DelayEdit());
    }
    // Another list may edit now.
    m_list.EditDelay(1, 0);
    EXPECT_NE(nullptr, m_list.DelayEdit());
}

TEST_F(ListBoxExTest, ClicksReportRowAndItemValue) {
    Click(0);
    EXPECT_EQ((Log{{CListBoxEx::kRowClicked, 0, 149}}), Parent().Received(CListBoxEx::kRowClicked));
    EXPECT_EQ(0, m_list.GetCurSel());

    // Below the last row: no row, so nothing for the notify window.
    Parent().Clear();
    SendMessageW(m_list.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, PointParam(50, 150));
    SendMessageW(m_list.Hwnd(), WM_LBUTTONUP, 0, PointParam(50, 150));
    Pump();
    EXPECT_TRUE(Parent().Received(CListBoxEx::kRowClicked).empty());

    // Without a notify window the parent hears of it, with lParam 0.
    Parent().Clear();
    m_list.SetNotifyWindow(nullptr);
    Click(2);
    EXPECT_EQ((Log{{CListBoxEx::kRowClicked, 2, 0}}), Parent().Received(CListBoxEx::kRowClicked));

    Parent().Clear();
    m_list.SetLocked(true);
    Click(1);
    EXPECT_TRUE(Parent().Received(CListBoxEx::kRowClicked).empty());
    EXPECT_EQ(2, m_list.GetCurSel());
}

TEST_F(ListBoxExTest, RightClicksReportOnlyWhenSwitchedOn) {
    const POINT p = RowCentre(3);
    SendMessageW(m_list.Hwnd(), WM_RBUTTONUP, 0, PointParam(p.x, p.y));
    Pump();
    EXPECT_TRUE(Parent().Received(CListBoxEx::kRowMenu).empty());
    m_list.SetRightClickOff(false);
    SendMessageW(m_list.Hwnd(), WM_RBUTTONUP, 0, PointParam(p.x, p.y));
    Pump();
    EXPECT_EQ((Log{{CListBoxEx::kRowMenu, 3, 0}}), Parent().Received(CListBoxEx::kRowMenu));
}

TEST_F(ListBoxExTest, SelectedRowIsHighlightedAndItsIconKeepsItsOwnSize) {
    m_list.SetSelectionMode(true);
    m_list.SetCurSel(0);
    UpdateWindow(Parent().Hwnd());
    UpdateWindow(m_list.Hwnd());
    const ScreenShot shot(m_list.Hwnd());
    RECT row0{};
    SendMessageW(m_list.Hwnd(), LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row0));
    // Right of the text the row shows the highlight; other rows the background.
    EXPECT_EQ(kHighlight, shot.At(row0.right - 5, row0.top + 10));
    EXPECT_EQ(kHighlight, shot.At(row0.left + 1, row0.bottom - 1));
    EXPECT_EQ(kBlack, shot.At(row0.right - 5, row0.top + 30));
    // The 9 x 11 press picture at (left + 5, top); beside and below it the row's fill remains.
    EXPECT_NE(kHighlight, shot.At(row0.left + 5 + 4, row0.top + 5));
    EXPECT_EQ(kHighlight, shot.At(row0.left + 5 + 9, row0.top + 5));
    EXPECT_EQ(kHighlight, shot.At(row0.left + 5 + 4, row0.top + 11));
    EXPECT_EQ(kHighlight, shot.At(row0.left + 5 + 12, row0.top + 14));
}

TEST_F(ListBoxExTest, RowUnderTheCursorIsHighlightedInHoverMode) {
    RECT row2{};
    SendMessageW(m_list.Hwnd(), LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row2));
    POINT screen{row2.right - 20, row2.top + 10};
    ClientToScreen(m_list.Hwnd(), &screen);
    SetCursorPos(screen.x, screen.y);
    SendMessageW(m_list.Hwnd(), WM_MOUSEMOVE, 0, PointParam(row2.right - 20, row2.top + 10));
    EXPECT_EQ(2, m_list.HoveredRow());
    UpdateWindow(m_list.Hwnd());
    const ScreenShot shot(m_list.Hwnd());
    EXPECT_EQ(kHighlight, shot.At(row2.right - 5, row2.top + 10));
    EXPECT_EQ(kBlack, shot.At(row2.right - 5, row2.top - 10));
    EXPECT_EQ(kBlack, shot.At(row2.right - 5, row2.bottom + 10));
}
