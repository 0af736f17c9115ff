#include "winlayer/Dialog.h"
#include "winlayer/Window.h"

#include "tests/winlayer/PumpMessages.h"
#include "tests/winlayer/TestResources.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using winlayer::Window;

namespace {

class Parent : public Window {
public:
    std::vector<std::pair<HWND, UINT>> changes;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (HIWORD(wParam) == EN_CHANGE) {
            changes.emplace_back(reinterpret_cast<HWND>(lParam), EN_CHANGE);
        }
        return true;
    }
};

void MakeShownParent(Window& parent) {
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"parent", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr));
    ShowWindow(parent.Hwnd(), SW_SHOWNOACTIVATE);
}

class OwnerDrawButton : public Window {
public:
    std::vector<HWND> drawn;
    bool OnReflectedDrawItem(const DRAWITEMSTRUCT& item) override {
        drawn.push_back(item.hwndItem);
        return true;
    }
};

void Redraw(const Window& window) {
    RedrawWindow(window.Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

TEST(Reflection, DrawItemReachesTheDrawnButtonAmongButtonsSharingAnId) {
    Parent parent;
    MakeShownParent(parent);
    OwnerDrawButton first;
    OwnerDrawButton second;
    DWORD style = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;
    ASSERT_TRUE(first.Create(L"BUTTON", L"", style, RECT{0, 0, 40, 20}, parent.Hwnd(), 0));
    ASSERT_TRUE(second.Create(L"BUTTON", L"", style, RECT{50, 0, 90, 20}, parent.Hwnd(), 0));
    UpdateWindow(parent.Hwnd());
    first.drawn.clear();
    second.drawn.clear();

    Redraw(second);
    EXPECT_TRUE(first.drawn.empty());
    ASSERT_EQ(1u, second.drawn.size());
    EXPECT_EQ(second.Hwnd(), second.drawn[0]);
    Redraw(first);
    EXPECT_EQ(std::vector<HWND>{first.Hwnd()}, first.drawn);
    EXPECT_EQ(1u, second.drawn.size());
}

class ChangeEdit : public Window {
public:
    bool consume = false;
    int changes = 0;
    bool OnReflectedCommand(UINT code) override {
        if (code == EN_CHANGE) {
            ++changes;
            return consume;
        }
        return false;
    }
};

TEST(Reflection, NotificationReachesTheControlFirstAndTheParentUnlessConsumed) {
    Parent parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"parent", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr));
    ChangeEdit passing;
    ChangeEdit consuming;
    consuming.consume = true;
    ASSERT_TRUE(passing.Create(L"EDIT", L"", WS_CHILD, RECT{0, 0, 80, 20}, parent.Hwnd(), 5));
    ASSERT_TRUE(consuming.Create(L"EDIT", L"", WS_CHILD, RECT{0, 30, 80, 50}, parent.Hwnd(), 6));

    SetWindowTextW(passing.Hwnd(), L"12");
    SetWindowTextW(consuming.Hwnd(), L"34");
    EXPECT_EQ(1, passing.changes);
    EXPECT_EQ(1, consuming.changes);
    std::vector<std::pair<HWND, UINT>> expected{{passing.Hwnd(), EN_CHANGE}};
    EXPECT_EQ(expected, parent.changes);
}

TEST(Reflection, TemplateControlAttachedInADialogGetsItsNotifications) {
    winlayer::Dialog dialog(IDD_TEST_EDIT);
    ASSERT_TRUE(dialog.Create(IDD_TEST_EDIT, nullptr));
    ChangeEdit edit;
    ASSERT_TRUE(edit.AttachDlgItem(IDC_TEST_EDIT, dialog.Hwnd()));
    SetWindowTextW(edit.Hwnd(), L"x");
    EXPECT_EQ(1, edit.changes);
    dialog.DestroyWindow();
    EXPECT_EQ(nullptr, edit.Hwnd());
}

class MeasuredList : public Window {
public:
    int measured = 0;
    bool OnReflectedMeasureItem(MEASUREITEMSTRUCT& item) override {
        ++measured;
        item.itemHeight = 20;
        return true;
    }
};

TEST(Reflection, MeasureItemReachesAListAlsoWhileItIsBeingCreated) {
    Parent parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"parent", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr));
    MeasuredList fixed;
    ASSERT_TRUE(fixed.Create(L"LISTBOX", L"",
                             WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS,
                             RECT{0, 0, 100, 100}, parent.Hwnd(), 4113));
    EXPECT_GE(fixed.measured, 1);
    EXPECT_EQ(20, SendMessageW(fixed.Hwnd(), LB_GETITEMHEIGHT, 0, 0));

    MeasuredList variable;
    ASSERT_TRUE(variable.Create(L"LISTBOX", L"",
                                WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS,
                                RECT{100, 0, 200, 100}, parent.Hwnd(), 4114));
    int before = variable.measured;
    SendMessageW(variable.Hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"row"));
    EXPECT_EQ(before + 1, variable.measured);
    EXPECT_EQ(20, SendMessageW(variable.Hwnd(), LB_GETITEMHEIGHT, 0, 0));
}

class ColouredEdit : public Window {
public:
    winlayer::BrushHandle brush{CreateSolidBrush(RGB(1, 2, 3))};
    int requests = 0;
    HBRUSH OnReflectedCtlColor(HDC, UINT message) override {
        if (message != WM_CTLCOLOREDIT) {
            return nullptr;
        }
        ++requests;
        return brush.Get();
    }
};

TEST(Reflection, ColourRequestIsAnsweredByTheControl) {
    Parent parent;
    MakeShownParent(parent);
    ColouredEdit edit;
    ASSERT_TRUE(
        edit.Create(L"EDIT", L"text", WS_CHILD | WS_VISIBLE, RECT{0, 0, 80, 20}, parent.Hwnd(), 1));
    RedrawWindow(edit.Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_GE(edit.requests, 1);

    HDC dc = GetDC(edit.Hwnd());
    LRESULT answer = SendMessageW(parent.Hwnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                  reinterpret_cast<LPARAM>(edit.Hwnd()));
    ReleaseDC(edit.Hwnd(), dc);
    EXPECT_EQ(reinterpret_cast<LRESULT>(edit.brush.Get()), answer);
}

} // namespace
