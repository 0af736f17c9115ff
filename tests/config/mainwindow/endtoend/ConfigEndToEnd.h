#pragma once

// The configuration program's main window in the test's own process, beside the device
// service's test build (linked with the simulated mouse) as a real process: the service's posts
// to "Selvin V212 Gaming Mouse" reach this window, and its posts to "V212Hid" the service.

#include "config/mainwindow/CLucfgDlg.h"
#include "tests/config/mainwindow/MainWindowFixture.h"
#include "tests/service/HidTestSupport.h"
#include "tests/tolvane/ServiceHarness.h"

#include <gtest/gtest.h>

#include <string>

#include <array>
#include <functional>
#include <memory>
#include <vector>

using Reports = std::vector<Bytes>;

// A private message for the main window or for the test's thread itself (no window), seen
// before it was handled.
struct SeenMessage {
    HWND Window;
    UINT Message;
    WPARAM WParam;
    LPARAM LParam;
    ULONGLONG Tick;
};

// Types the text into the edit as the keyboard does, over what it holds: the window has taken
// what each key changed before the next key comes.
void Type(HWND edit, const std::wstring& text);

// The actual reports match when each has the expected report id, command and address bytes
// (bracket value, commit mask) and its data begin with the expected report's data.
::testing::AssertionResult ReportsMatch(const Reports& actual, const Reports& expected);

class ConfigEndToEnd : public ::testing::Test {
protected:
    static constexpr DWORD kTimeoutMs = ServiceHarness::kTimeoutMs;

    void SetUp() override;
    void TearDown() override;

    // Starts the service on the prepared data folder, with the mouse plugged in or not.
    void StartService(bool plugged = true);
    // Sub-tabs of the main page.
    static constexpr int kButtonsTab = 0;
    static constexpr int kPerformanceTab = 1;

    // The test skin, or the skin the build made: its pictures and texts, as a user sees them.
    enum class Skin { Test, Built };

    // The main window over the skin, with the given sub-tab of the main page clicked.
    void OpenWindow(int subTab = kButtonsTab, Skin skin = Skin::Test);
    CLucfgDlg& Dialog() { return window_->Dialog(); }
    HWND Hwnd() const { return window_->Hwnd(); }
    // New, profile name, Delete, More and Reset.
    std::array<HWND, 5> ProfileButtons();
    bool ProfileButtonsEnabled();

    // Handles the thread's messages as the program's loop does until done() holds, noting the
    // private messages first (onSeen_ is called with each); false on timeout.
    bool PumpWatching(const std::function<bool()>& done, DWORD timeoutMs = kTimeoutMs);
    // The feature reports from `first` on, without the service's own write of register EA,
    // which it makes once, 15 s after its start, into whatever else is going on.
    Reports SentSince(std::uint64_t first);
    // The same, once the last is the closing bracket report.
    Reports WaitForBracket(std::uint64_t first);

    ServiceHarness harness_{ServiceHarness::Peers::TrayOnly};
    std::unique_ptr<MainWindowFixture> window_;
    std::vector<SeenMessage> seen_;
    std::function<void(const SeenMessage&)> onSeen_;
};
