#include "tray/CPennrack.h"

#include "tests/tray/FakeShellTray.h"
#include "tests/tray/TrayProgramFolder.h"

#include <gtest/gtest.h>

namespace {

class CountingPennrack : public CPennrack {
public:
    int destroys = 0;
    int timers = 0;

protected:
    void OnDestroy() override {
        ++destroys;
        CPennrack::OnDestroy();
    }
    void OnTimer(UINT_PTR id) override {
        ++timers;
        CPennrack::OnTimer(id);
    }
};

class PennrackWindowTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_shell.IsTheTray()); }

    FakeShellTray m_shell;
};

TEST_F(PennrackWindowTest, HiddenPopupWindowWithTheIconRecordTheShellExpects) {
    CountingPennrack tray;
    ASSERT_TRUE(tray.CreateTrayWindow());
    const HWND window = tray.Hwnd();
    wchar_t title[64] = {};
    GetWindowTextW(window, title, ARRAYSIZE(title));
    EXPECT_STREQ(title, L"V212MousePennrack");
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)) & ~WS_CLIPSIBLINGS,
              static_cast<DWORD>(WS_POPUP));
    EXPECT_FALSE(IsWindowVisible(window));
    RECT rect{};
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 100);
    EXPECT_EQ(rect.top, 100);
    EXPECT_EQ(rect.right, 200);
    EXPECT_EQ(rect.bottom, 200);
    EXPECT_EQ(GetClassLongPtrW(window, GCL_STYLE), 0);
    EXPECT_EQ(GetClassLongPtrW(window, GCLP_HCURSOR), 0);
    EXPECT_EQ(GetClassLongPtrW(window, GCLP_HBRBACKGROUND), 0);

    const NOTIFYICONDATAW& record = tray.NotifyIconRecord();
    // The size of the whole record on this platform: the shell ignores records of a size it
    // does not know.
    EXPECT_EQ(record.cbSize, sizeof(NOTIFYICONDATAW));
    static_assert(sizeof(void*) != 8 || sizeof(NOTIFYICONDATAW) == 976);
    EXPECT_EQ(record.hWnd, window);
    EXPECT_EQ(record.uID, 128u);
    EXPECT_EQ(record.uFlags, 7u);
    EXPECT_EQ(record.uCallbackMessage, 0x7E9u);
    EXPECT_NE(record.hIcon, nullptr);
    EXPECT_STREQ(record.szTip, L"Selvin V212 Gaming Mouse");
}

TEST_F(PennrackWindowTest, CloseRemovesTheIconFirstAndDestroysTheWindowOnce) {
    CountingPennrack tray;
    ASSERT_TRUE(tray.CreateTrayWindow());
    const HWND window = tray.Hwnd();
    ASSERT_EQ(m_shell.Calls().size(), 1u);
    EXPECT_EQ(m_shell.Calls()[0].command, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(m_shell.Calls()[0].window, window);

    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(tray.Hwnd(), nullptr);
    EXPECT_EQ(tray.destroys, 1);
    ASSERT_GE(m_shell.Calls().size(), 2u);
    for (std::size_t i = 1; i < m_shell.Calls().size(); ++i) {
        EXPECT_EQ(m_shell.Calls()[i].command, static_cast<DWORD>(NIM_DELETE));
        EXPECT_TRUE(m_shell.Calls()[i].windowAlive);
    }
}

TEST_F(PennrackWindowTest, CommandsAndTimers) {
    CountingPennrack tray;
    ASSERT_TRUE(tray.CreateTrayWindow());
    const HWND window = tray.Hwnd();

    // A timer that fires is killed: it fires once.
    tray.SetTimer(7, 10);
    WaitUntil(300, [] { return false; });
    EXPECT_EQ(tray.timers, 1);

    SendMessageW(window, WM_COMMAND, 4711, 0);
    EXPECT_TRUE(IsWindow(window));
    SendMessageW(window, WM_COMMAND, 6006, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(tray.destroys, 1);
}

} // namespace
