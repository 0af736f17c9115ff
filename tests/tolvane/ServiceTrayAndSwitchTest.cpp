// What the running service starts and switches by itself: the tray program from its own folder
// (at start, on message 0x4FC and when the mouse returns, only while no tray window exists), and
// the profile linked to the foreground program, every 2 s on its timer.

#include "service/ServiceMessages.h"
#include "shared/store/CIniFile.h"
#include "tests/tolvane/MessagePump.h"
#include "tests/tolvane/ServiceFixture.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kTrayTitle[] = L"V212MousePennrack";
constexpr wchar_t kConfigTitle[] = L"Selvin V212 Gaming Mouse";
constexpr wchar_t kAside[] = L"standing aside";

std::filesystem::path TrayStartLog() {
    return std::filesystem::path(ServiceHarness::ProgramFolder()) / L"pennrack-starts.txt";
}

// How often the stand-in tray program beside the service has been started.
int TrayStarts() {
    std::ifstream log(TrayStartLog(), std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>()};
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// Tray windows of other processes: the stand-in's.
std::vector<HWND> StandInTrayWindows() {
    std::vector<HWND> windows;
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, nullptr, kTrayTitle)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != GetCurrentProcessId()) {
            windows.push_back(window);
        }
    }
    return windows;
}

int TrayProcesses() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return -1;
    }
    int count = 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        count += _wcsicmp(entry.szExeFile, L"pennrack.exe") == 0 ? 1 : 0;
    }
    CloseHandle(snapshot);
    return count;
}

bool CloseStandInTray() {
    for (HWND window : StandInTrayWindows()) {
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    return PumpUntil([] { return StandInTrayWindows().empty() && TrayProcesses() == 0; },
                     ServiceHarness::kTimeoutMs);
}

class TrayStart : public ServiceEndToEnd {
protected:
    void SetUp() override {
        ServiceEndToEnd::SetUp();
        std::filesystem::remove(TrayStartLog());
        // The recorder keeps running under another title, so the service finds no tray window.
        SetWindowTextW(harness_.Tray().Handle(), kAside);
    }
    void TearDown() override {
        ServiceEndToEnd::TearDown();
        EXPECT_TRUE(CloseStandInTray());
        SetWindowTextW(harness_.Tray().Handle(), kTrayTitle);
    }
    void Replug() {
        ASSERT_EQ("ok", harness_.Simulator().Command("unplug").value_or(""));
        // The arrival is handled, tray start included, before the command returns.
        ASSERT_EQ("ok", harness_.Simulator().Command("plug").value_or(""));
    }
};

TEST_F(TrayStart, StartsTheTrayProgramOnlyWhileNoneRuns) {
    struct Step {
        const char* Name;
        bool TrayRunsBefore;
        std::function<void()> Act;
        int StartsAfter;
    };
    const std::vector<Step> steps = {
        {"service start", false, [this] { ASSERT_NO_FATAL_FAILURE(StartService()); }, 1},
        {"0x4FC while it runs", true, [this] { ASSERT_TRUE(harness_.SendAndWait(kMsgShowTray)); },
         1},
        {"mouse returns while it runs", true, [this] { Replug(); }, 1},
        {"0x4FC after it closed", false,
         [this] { ASSERT_TRUE(harness_.SendAndWait(kMsgShowTray)); }, 2},
        {"mouse returns after it closed", false, [this] { Replug(); }, 3},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.Name);
        if (!step.TrayRunsBefore) {
            ASSERT_TRUE(CloseStandInTray());
        }
        ASSERT_NO_FATAL_FAILURE(step.Act());
        // A copy the service started is a process the moment the start returns.
        EXPECT_EQ(TrayProcesses(), 1);
        EXPECT_TRUE(PumpUntil(
            [&] { return TrayStarts() == step.StartsAfter && StandInTrayWindows().size() == 1; },
            ServiceHarness::kTimeoutMs))
            << "starts " << TrayStarts();
    }
}

// A shown window of this program, kept in the foreground while the test waits.
class ForegroundWindow {
public:
    ForegroundWindow()
        : hwnd_(CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"V212 foreground program",
                                WS_POPUP | WS_VISIBLE, 0, 0, 60, 40, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr)) {}
    ~ForegroundWindow() { DestroyWindow(hwnd_); }
    ForegroundWindow(const ForegroundWindow&) = delete;
    ForegroundWindow& operator=(const ForegroundWindow&) = delete;

    // Other programs on the test display may take the foreground meanwhile.
    void Keep() const {
        if (GetForegroundWindow() != hwnd_) {
            SetForegroundWindow(hwnd_);
        }
    }

private:
    HWND hwnd_;
};

std::wstring OwnProgramName() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).filename().wstring();
}

TEST_F(ServiceEndToEnd, TheRunningServiceFollowsTheForegroundProgram) {
    struct Case {
        const char* Name;
        bool ConfigRuns;
    };
    const std::vector<Case> cases = {{"configuration program runs", true},
                                     {"configuration program closed", false}};
    const std::wstring program = OwnProgramName();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        ASSERT_TRUE(ServiceHarness::CleanDataFolder());
        SetWindowTextW(harness_.Config().Handle(), c.ConfigRuns ? kConfigTitle : kAside);
        harness_.Config().Clear();
        ASSERT_NO_FATAL_FAILURE(StartService());

        // This test program is linked to the profile "Game", which polls at rate 5.
        const std::wstring profileFile =
            ServiceHarness::VendorFolder() + L"\\GamingMouse\\Profile\\Game.ini";
        ASSERT_TRUE(CopyFileW(ServiceHarness::SettingsPath().c_str(), profileFile.c_str(), FALSE));
        const CIniFile profile(profileFile);
        profile.WriteString(L"GROUP", L"ProfileName", L"Game");
        profile.WriteInt(L"GROUP", L"Link", 1);
        profile.WriteInt(L"Setting", L"PollingRate", 5);
        settings_->WriteInt(L"PROFILE_LIST", L"ProfileCount", 1);
        settings_->WriteString(L"PROFILE_LIST", L"0", program);
        settings_->WriteString(L"PROFILE_LIST", program, L"Game");
        settings_->WriteString(L"MACRO_LIST", L"0", L"Kept");
        ASSERT_TRUE(harness_.SendAndWait(kMsgProfilePrograms));

        const ForegroundWindow foreground;
        const auto switched = [&] {
            foreground.Keep();
            if (c.ConfigRuns) {
                return harness_.Config().Count(kMsgServiceEvent, kEventAutoProfile, 0) > 0;
            }
            return harness_.Simulator().Command("memory 32 6").value_or("") == "05 00 05 00 05 00";
        };
        ASSERT_TRUE(PumpUntil(switched, 3 * ServiceHarness::kTimeoutMs));

        EXPECT_EQ(settings_->ReadString(L"Setting", L"AutoProfile", L""), L"Game");
        EXPECT_EQ(settings_->ReadString(L"PROFILE_LIST", program, L""), L"Game");
        EXPECT_EQ(settings_->ReadString(L"MACRO_LIST", L"0", L""), L"Kept");
        if (c.ConfigRuns) {
            // The configuration program applies the profile: the files stay as they were.
            EXPECT_EQ(Setting(L"PollingRate"), 1);
            EXPECT_EQ(settings_->ReadString(L"GROUP", L"ProfileName", L"-"), L"");
        } else {
            EXPECT_EQ(Setting(L"PollingRate"), 5);
            EXPECT_EQ(settings_->ReadString(L"GROUP", L"ProfileName", L""), L"Game");
            EXPECT_EQ(Setting(L"Device"), 1);
            EXPECT_EQ(harness_.Config().Count(kMsgServiceEvent), 0);
        }
        ASSERT_TRUE(harness_.Close());
    }
    SetWindowTextW(harness_.Config().Handle(), kConfigTitle);
}

} // namespace
