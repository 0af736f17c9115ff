#include "tray/CPennrack.h"

#include "tests/tray/FakeShellTray.h"
#include "tests/tray/TrayProgramFolder.h"

#include <shellapi.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

namespace {

constexpr UINT kTrayNotify = 0x7E9;

bool ModuleLoaded(DWORD processId, const std::wstring& name) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    MODULEENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    bool found = false;
    for (BOOL more = Module32FirstW(snapshot, &entry); more && !found;
         more = Module32NextW(snapshot, &entry))
        found = lstrcmpiW(entry.szModule, name.c_str()) == 0;
    CloseHandle(snapshot);
    return found;
}

// A window standing in for the configuration program's main window.
class ConfigWindowStandIn {
public:
    ConfigWindowStandIn()
        : m_window(CreateWindowExW(0, L"STATIC", L"Selvin V212 Gaming Mouse", WS_OVERLAPPEDWINDOW,
                                   300, 200, 400, 300, nullptr, nullptr, nullptr, nullptr)) {}
    ConfigWindowStandIn(const ConfigWindowStandIn&) = delete;
    ConfigWindowStandIn& operator=(const ConfigWindowStandIn&) = delete;
    ~ConfigWindowStandIn() { DestroyWindow(m_window); }

    HWND Get() const { return m_window; }
    bool Minimise() const {
        ShowWindow(m_window, SW_MINIMIZE);
        return WaitUntil(5000, [this] { return IsIconic(m_window) != FALSE; });
    }

private:
    HWND m_window;
};

// Every test gives the tray program a notification area of its own: the icons then go nowhere
// else, and the calls can be seen.
class PennrackProcessTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_shell.IsTheTray()); }

    FakeShellTray m_shell;
};

// Tells the tray window that its icon was clicked; waits until it has handled the click.
void Click(HWND tray, UINT mouseMessage) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(tray, kTrayNotify, CPennrack::kNotifyIconId, mouseMessage, SMTO_NORMAL,
                        10000, &ignored);
}

TEST(PennrackProgramTest, CarriesAnIconOfItsOwn) {
    EXPECT_EQ(ExtractIconExW(V212_PENNRACK_EXE, -1, nullptr, nullptr, 0), 1u);
}

TEST_F(PennrackProcessTest, SecondStartEndsAtOnceAndOneWindowRemains) {
    TrayProgramFolder folder;
    TrayProcess first(folder.TrayProgram());
    ASSERT_TRUE(first.Started());
    ASSERT_NE(first.WaitForWindow(), nullptr);
    // The window is findable while it is still being created, before the library is loaded.
    EXPECT_TRUE(WaitUntil(5000, [&] { return ModuleLoaded(first.Id(), L"language.dll"); }));

    TrayProcess second(folder.TrayProgram());
    ASSERT_TRUE(second.Started());
    EXPECT_TRUE(second.WaitForExit(10000));
    EXPECT_TRUE(first.Running());
    EXPECT_EQ(CountTrayWindows(), 1);
}

TEST_F(PennrackProcessTest, ClickRaisesTheMinimisedConfigWindowElseStartsConfigOnce) {
    TrayProgramFolder folder;
    TrayProcess tray(folder.TrayProgram());
    const HWND trayWindow = tray.WaitForWindow();
    ASSERT_NE(trayWindow, nullptr);

    {
        ConfigWindowStandIn config;
        ASSERT_TRUE(config.Minimise());
        Click(trayWindow, WM_LBUTTONDOWN);
        EXPECT_TRUE(WaitUntil(5000, [&] {
            return !IsIconic(config.Get()) && GetForegroundWindow() == config.Get();
        }));
        EXPECT_TRUE(IsWindowVisible(config.Get()));

        ASSERT_TRUE(config.Minimise());
        Click(trayWindow, WM_LBUTTONDBLCLK);
        EXPECT_TRUE(WaitUntil(5000, [&] { return !IsIconic(config.Get()); }));

        // Other mouse messages do nothing.
        ASSERT_TRUE(config.Minimise());
        Click(trayWindow, WM_MOUSEMOVE);
        Click(trayWindow, WM_LBUTTONUP);
        WaitUntil(200, [] { return false; });
        EXPECT_TRUE(IsIconic(config.Get()));
    }

    // No configuration window: the click starts the program beside the tray program.
    Click(trayWindow, WM_LBUTTONDOWN);
    EXPECT_TRUE(WaitUntil(10000, [&] { return folder.ConfigStarts() >= 1; }));
    WaitUntil(500, [] { return false; });
    EXPECT_EQ(folder.ConfigStarts(), 1);
}

TEST_F(PennrackProcessTest, CloseRemovesTheIconBeforeTheWindowGoesAndEndsCleanly) {
    TrayProgramFolder folder;
    TrayProcess tray(folder.TrayProgram());
    const HWND trayWindow = tray.WaitForWindow();
    ASSERT_NE(trayWindow, nullptr);
    ASSERT_TRUE(WaitUntil(5000, [&] { return !m_shell.Calls().empty(); }));
    EXPECT_EQ(m_shell.Calls()[0].command, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(m_shell.Calls()[0].window, trayWindow);

    PostMessageW(trayWindow, WM_CLOSE, 0, 0);
    ASSERT_TRUE(tray.WaitForExit(10000));
    EXPECT_EQ(tray.ExitCode(), 0u);
    EXPECT_EQ(CountTrayWindows(), 0);
    ASSERT_GE(m_shell.Calls().size(), 2u);
    EXPECT_EQ(m_shell.Calls()[1].command, static_cast<DWORD>(NIM_DELETE));
    EXPECT_TRUE(m_shell.Calls()[1].windowAlive);
}

TEST_F(PennrackProcessTest, RightClickMenuAndCloseCommand) {
    TrayProgramFolder folder;
    folder.WriteStrings(
        "<Strings><TRAY><CONFIG>Open</CONFIG><CLOSE>Close</CLOSE></TRAY></Strings>");
    TrayProcess tray(folder.TrayProgram());
    const HWND trayWindow = tray.WaitForWindow();
    ASSERT_NE(trayWindow, nullptr);

    PostMessageW(trayWindow, kTrayNotify, CPennrack::kNotifyIconId, WM_RBUTTONDOWN);
    HWND popup = nullptr;
    EXPECT_TRUE(WaitUntil(5000, [&] {
        popup = FindWindowW(L"#32768", nullptr);
        DWORD owner = 0;
        GetWindowThreadProcessId(popup, &owner);
        return popup != nullptr && owner == tray.Id() && IsWindowVisible(popup);
    }));
    PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitUntil(5000, [&] { return !IsWindowVisible(popup); }));

    PostMessageW(trayWindow, WM_COMMAND, CPennrack::kCloseCommand, 0);
    ASSERT_TRUE(tray.WaitForExit(10000));
    EXPECT_EQ(tray.ExitCode(), 0u);
    EXPECT_EQ(folder.ConfigStarts(), 0);
}

} // namespace
