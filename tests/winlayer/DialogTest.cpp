#include "winlayer/Dialog.h"
#include "winlayer/MessageLoop.h"

#include "tests/winlayer/PumpMessages.h"
#include "tests/winlayer/TestResources.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using winlayer::Dialog;
using winlayer::Window;

namespace {

constexpr UINT kEnd = WM_APP + 1;
constexpr UINT kRunInner = WM_APP + 2;
constexpr UINT kPing = WM_APP + 3;
constexpr UINT kChoice = WM_APP + 4;

// Ends itself with the wParam of a posted kEnd, caught in its DefWindowProc override.
class EndingDialog : public Dialog {
public:
    using Dialog::Dialog;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kEnd) {
            EndDialog(static_cast<INT_PTR>(wParam));
        }
        return Dialog::DefWindowProc(message, wParam, lParam);
    }
};

class OrderDialog : public EndingDialog {
public:
    std::vector<std::string> events;
    OrderDialog() : EndingDialog(IDD_TEST_EDIT) {}

    int OnCreate(CREATESTRUCTW& create) override {
        events.push_back(GetDlgItem(Hwnd(), IDC_TEST_EDIT) == nullptr ? "create" : "create late");
        return EndingDialog::OnCreate(create);
    }
    bool OnInitDialog() override {
        events.push_back(GetDlgItem(Hwnd(), IDC_TEST_EDIT) != nullptr ? "init" : "init early");
        PostMessageW(Hwnd(), kEnd, 7, 0);
        return EndingDialog::OnInitDialog();
    }
};

TEST(Dialog, CreateReachesTheObjectBeforeInitDialogAndDoModalReturnsTheResult) {
    OrderDialog dialog;
    EXPECT_EQ(7, dialog.DoModal());
    EXPECT_EQ((std::vector<std::string>{"create", "init"}), dialog.events);
    EXPECT_EQ(nullptr, dialog.Hwnd());
}

class ButtonDialog : public Dialog {
public:
    int button;
    explicit ButtonDialog(int pressed, Window* parent = nullptr)
        : Dialog(IDD_TEST_EDIT, parent), button(pressed) {}
    bool ownerEnabledDuringRun = true;
    bool OnInitDialog() override {
        HWND owner = GetWindow(Hwnd(), GW_OWNER);
        ownerEnabledDuringRun = owner == nullptr || IsWindowEnabled(owner);
        PostMessageW(GetDlgItem(Hwnd(), button), BM_CLICK, 0, 0);
        return Dialog::OnInitDialog();
    }
};

TEST(Dialog, OkAndCancelButtonsEndWithTheirResultWhileTheOwnerIsDisabled) {
    Window owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                               nullptr));
    ButtonDialog ok(IDOK, &owner);
    EXPECT_EQ(IDOK, ok.DoModal());
    EXPECT_FALSE(ok.ownerEnabledDuringRun);
    EXPECT_TRUE(IsWindowEnabled(owner.Hwnd()));
    ButtonDialog cancel(IDCANCEL, &owner);
    EXPECT_EQ(IDCANCEL, cancel.DoModal());
}

TEST(Dialog, MissingTemplateFailsWithoutRunning) {
    Dialog dialog(9999);
    EXPECT_EQ(-1, dialog.DoModal());
}

// The outer dialog runs an inner one from a posted message; while the inner one is modal the
// outer one must keep getting its timer and posted messages.
class InnerDialog : public EndingDialog {
public:
    HWND outer = nullptr;
    InnerDialog(Window* parent) : EndingDialog(IDD_TEST_BARE, parent) {}
    bool OnInitDialog() override {
        PostMessageW(outer, kPing, 0, 0);
        SetTimer(1, 5);
        return true;
    }
    const int* outerTicks = nullptr;
    const int* outerPings = nullptr;
    void OnTimer(UINT_PTR id) override {
        if (*outerTicks >= 3 && *outerPings >= 1) {
            KillTimer(id);
            EndDialog(IDOK);
        }
    }
};

class OuterDialog : public EndingDialog {
public:
    int ticks = 0;
    int pings = 0;
    INT_PTR innerResult = 0;
    bool disabledDuringInner = false;
    OuterDialog() : EndingDialog(IDD_TEST_EDIT) {}
    bool OnInitDialog() override {
        SetTimer(2, 5);
        PostMessageW(Hwnd(), kRunInner, 0, 0);
        return true;
    }
    void OnTimer(UINT_PTR) override { ++ticks; }
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kPing) {
            ++pings;
            disabledDuringInner = !IsWindowEnabled(Hwnd());
        } else if (message == kRunInner) {
            InnerDialog inner(this);
            inner.outer = Hwnd();
            inner.outerTicks = &ticks;
            inner.outerPings = &pings;
            innerResult = inner.DoModal();
            EndDialog(IDCANCEL);
        }
        return EndingDialog::DefWindowProc(message, wParam, lParam);
    }
};

TEST(Dialog, NestedModalDialogKeepsTimersAndPostedMessagesFlowingToTheOuter) {
    OuterDialog outer;
    EXPECT_EQ(IDCANCEL, outer.DoModal());
    EXPECT_EQ(IDOK, outer.innerResult);
    EXPECT_GE(outer.ticks, 3);
    EXPECT_EQ(1, outer.pings);
    EXPECT_TRUE(outer.disabledDuringInner);
}

// Key handling: the edit's object and then the dialog see a key before the dialog manager.
class KeyEdit : public Window {
public:
    std::vector<std::string>* log = nullptr;
    bool PreTranslateMessage(MSG& msg) override {
        if (msg.message == WM_KEYDOWN) {
            log->push_back("edit " + std::to_string(msg.wParam));
        }
        return false;
    }
};

class KeyDialog : public EndingDialog {
public:
    std::vector<std::string> log;
    bool swallowEscape = false;
    KeyEdit edit;
    KeyDialog() : EndingDialog(IDD_TEST_EDIT) { edit.log = &log; }
    bool OnInitDialog() override {
        edit.AttachDlgItem(IDC_TEST_EDIT, Hwnd());
        SetFocus(edit.Hwnd());
        PostMessageW(edit.Hwnd(), WM_KEYDOWN, 'A', 0x001E0001);
        PostMessageW(edit.Hwnd(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        PostMessageW(Hwnd(), kEnd, IDOK, 0);
        return false;
    }
    bool PreTranslateMessage(MSG& msg) override {
        if (msg.message == WM_KEYDOWN) {
            log.push_back("dialog " + std::to_string(msg.wParam));
            return swallowEscape && msg.wParam == VK_ESCAPE;
        }
        return false;
    }
};

TEST(Dialog, PreTranslateRunsFromTheFocusedChildUpBeforeTheDialogManager) {
    KeyDialog swallowing;
    swallowing.swallowEscape = true;
    EXPECT_EQ(IDOK, swallowing.DoModal());
    EXPECT_EQ((std::vector<std::string>{"edit 65", "dialog 65", "edit 27", "dialog 27"}),
              swallowing.log);

    KeyDialog plain;
    EXPECT_EQ(IDCANCEL, plain.DoModal());
}

// A modeless pop-up posts its choice to its owner, which destroys and deletes it right there.
class Popup : public Dialog {
public:
    Popup() : Dialog(IDD_TEST_BARE) {}
    bool OnInitDialog() override {
        PostMessageW(GetParent(Hwnd()), kChoice, 3, 0);
        return false;
    }
};

class PopupOwner : public Window {
public:
    std::unique_ptr<Popup> popup;
    WPARAM choice = 0;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kChoice) {
            choice = wParam;
            popup->DestroyWindow();
            popup.reset();
        }
        return Window::DefWindowProc(message, wParam, lParam);
    }
};

TEST(Dialog, ModelessPopupIsDestroyedByItsOwnerOnItsPostedChoice) {
    PopupOwner owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"owner", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    owner.popup = std::make_unique<Popup>();
    ASSERT_TRUE(owner.popup->Create(IDD_TEST_BARE, &owner));
    HWND popup = owner.popup->Hwnd();
    EXPECT_EQ(owner.Hwnd(), GetParent(popup));
    ASSERT_TRUE(PumpMessagesUntil([&] { return owner.popup == nullptr; }));
    EXPECT_EQ(3u, owner.choice);
    EXPECT_FALSE(IsWindow(popup));
}

} // namespace
