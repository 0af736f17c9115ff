// A profile chosen on the main window reaches the mouse as a whole apply, and the five profile
// buttons wait for the service to take it over (or, when it never answers, a bounded time); the
// service's events and the repaint requests as one table.

#include "service/MouseMemoryMap.h"
#include "service/ServiceMessages.h"
#include "shared/store/CIniFile.h"
#include "tests/config/mainwindow/MainWindowProbe.h"
#include "tests/config/mainwindow/ModalBoxes.h"
#include "tests/config/mainwindow/endtoend/ConfigEndToEnd.h"
#include "tests/config/mainwindow/endtoend/SharedDataFolder.h"
#include "tests/tolvane/RecorderWindow.h"
#include "winlayer/UniqueHandle.h"

#include <algorithm>
#include <atomic>
#include <optional>
#include <string>
#include <thread>

namespace map = MouseMemoryMap;

namespace {
constexpr UINT kProfileNameChoice = 0x3415;
constexpr UINT kRepaintRequest = 0x40A;
// The profile "Work": DPI stage 1 at 4400, polling every 4 ms.
constexpr int kWorkStage = 44;
constexpr int kWorkInterval = 4;
// The take-over answer enables the buttons on a 1000 ms timer; timers never fire early.
constexpr ULONGLONG kAnswerDelayMs = 1000;
constexpr ULONGLONG kTimerSlackMs = 50;

const SharedDataFolder::Profile kWork{L"Work", [](SettingsRecord& record) {
                                          record.DPI_INFO[0][1] = kWorkStage;
                                          record.PollingRate = kWorkInterval;
                                      }};

// A write time long past, which a synchronising tool keeps on the files it brings.
constexpr FILETIME kToolsWriteTime{0, 0x01DB0000};

void SetWriteTime(const std::wstring& path, const FILETIME& time) {
    const winlayer::UniqueHandle file(CreateFileW(
        path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, 0, nullptr));
    SetFileTime(file.Get(), nullptr, nullptr, &time);
}

bool Contains(const Reports& reports, const Bytes& expected) {
    return std::any_of(reports.begin(), reports.end(),
                       [&](const Bytes& report) { return ReportsMatch({report}, {expected}); });
}

class ProfileTakeOver : public ConfigEndToEnd {
protected:
    void SetUp() override { ASSERT_TRUE(SharedDataFolder::Prepare({kWork})); }

    std::wstring Caption() { return Dialog().CurrentProfileName(); }
    // Disabled as a profile operation leaves them while it waits for the take-over.
    void SetProfileButtons(bool enabled) {
        for (HWND button : ProfileButtons()) {
            EnableWindow(button, enabled ? TRUE : FALSE);
        }
        MainWindowProbe::takeOverPending(Dialog()) = !enabled;
    }
};
} // namespace

TEST_F(ProfileTakeOver, ASelectedProfileReachesTheMouseWholeAndTheButtonsComeBack) {
    for (const bool plugged : {true, false}) {
        SCOPED_TRACE(plugged ? "mouse plugged in" : "mouse unplugged");
        ASSERT_TRUE(SharedDataFolder::Prepare({kWork}));
        ASSERT_NO_FATAL_FAILURE(StartService(plugged));
        ASSERT_NO_FATAL_FAILURE(OpenWindow());
        ASSERT_EQ(L"Game", Caption());
        ASSERT_TRUE(ProfileButtonsEnabled());

        // When the answer arrives, and the buttons' state then, before the window handles it.
        std::optional<ULONGLONG> answered;
        bool enabledAtAnswer = false;
        onSeen_ = [&](const SeenMessage& seen) {
            if (seen.Message == kMsgServiceEvent && seen.WParam == kEventApplied) {
                answered = seen.Tick;
                enabledAtAnswer = ProfileButtonsEnabled();
            }
        };
        const std::uint64_t first = harness_.Simulator().NextSequence();
        Click(MainWindowProbe::profileNameBtn(Dialog()).Hwnd());
        const ULONGLONG chosen = GetTickCount64();
        PostMessageW(Hwnd(), kProfileNameChoice, 1, 0);
        ASSERT_TRUE(PumpWatching([&] { return Caption() == L"Work"; }));
        EXPECT_FALSE(ProfileButtonsEnabled());

        ASSERT_TRUE(PumpWatching(
            [&] { return ProfileButtonsEnabled() && (answered.has_value() || !plugged); }));
        const ULONGLONG enabled = GetTickCount64();
        const Reports reports = SentSince(first);
        if (plugged) {
            ASSERT_FALSE(reports.empty());
            EXPECT_TRUE(ReportsMatch({reports.front(), reports.back()},
                                     {BracketReport(0), BracketReport(1)}));
            EXPECT_TRUE(Contains(reports, WriteReport(map::DpiStageAddress(0), {1, 52, 0, 52, 0})));
            EXPECT_TRUE(Contains(reports, WriteReport(map::kPollingRate, {4, 0, 4, 0, 4, 0})));
            EXPECT_TRUE(Contains(reports, CommitReport(map::kCommitAll)));
            // Unless the bounded wait ran out first, the buttons come back a second after the
            // answer; a slow mouse answers after that wait, which the buttons then waited out.
            if (*answered - chosen < CLucfgDlg::kTakeOverWaitMs) {
                EXPECT_FALSE(enabledAtAnswer);
            }
            if (enabledAtAnswer) {
                EXPECT_GE(*answered - chosen + kTimerSlackMs, CLucfgDlg::kTakeOverWaitMs);
            } else {
                EXPECT_GE(enabled - *answered + kTimerSlackMs, kAnswerDelayMs);
            }
        } else {
            EXPECT_FALSE(answered.has_value());
            EXPECT_TRUE(reports.empty()) << reports.size();
            EXPECT_GE(enabled - chosen + kTimerSlackMs, CLucfgDlg::kTakeOverWaitMs);
        }
        onSeen_ = nullptr;
        TearDown();
    }
}

TEST_F(ProfileTakeOver, ServiceEventsAndRepaintRequests) {
    ASSERT_NO_FATAL_FAILURE(OpenWindow());
    RecorderWindow service(L"V212Hid");
    RecorderWindow help(L"HTML Help");
    SettingsRecord defaults = Dialog().Working();
    SettingsRecord_FillDefaults(defaults, defaults.Profile);
    const int defaultStage = defaults.DPI_INFO[0][1];

    using Field = int (*)(const SettingsRecord&);
    const Field dpi = [](const SettingsRecord& r) { return r.DPI; };
    const Field profile = [](const SettingsRecord& r) { return r.Profile; };
    const Field ledMode = [](const SettingsRecord& r) { return r.LedMode; };
    const Field firstStage = [](const SettingsRecord& r) { return r.DPI_INFO[0][1]; };
    // Kept: enabled before and after; Back: disabled before, enabled at once; Later: disabled
    // before, enabled a second later; Stay: disabled before and after.
    enum class Buttons { Kept, Back, Later, Stay };
    struct Row {
        UINT message;
        WPARAM code;
        LPARAM value;
        const wchar_t* autoProfile;
        LRESULT result;
        Field field; // 0x505: in both files; 0x40A: in the window's working record
        int stored;
        Buttons buttons;
        bool refreshed; // the page shows what the service wrote to "Mouse.ini"
        const wchar_t* caption;
        int applies;
        // Another program, a synchronising tool, brings a later change of the service into
        // "Mouse.ini" and keeps the file's write time at one value: the window reads the file,
        // not a copy taken at that time. The platform keeps such a copy of an ini file while its
        // write time stays the same and lies seconds back.
        bool touched = false;
    };
    const Row rows[] = {
        {kMsgServiceEvent, 8, 2, L"", 0, dpi, 2, Buttons::Kept, false, L"Game", 0},
        {kMsgServiceEvent, 8, 4, L"", 0, dpi, 2, Buttons::Kept, false, L"Game", 0},
        {kMsgServiceEvent, 8, -1, L"", 0, dpi, 2, Buttons::Kept, false, L"Game", 0},
        {kMsgServiceEvent, 9, 3, L"", 0, profile, 3, Buttons::Back, false, L"Game", 0},
        {kMsgServiceEvent, 9, 5, L"", 0, profile, 3, Buttons::Stay, false, L"Game", 0},
        {kMsgServiceEvent, 9, -1, L"", 0, profile, 3, Buttons::Stay, false, L"Game", 0},
        {kMsgServiceEvent, 9, 2, L"", 0, profile, 2, Buttons::Back, true, L"Game", 0},
        {kMsgServiceEvent, 9, 1, L"", 0, profile, 1, Buttons::Back, true, L"Game", 0, true},
        {kMsgServiceEvent, 10, 8, L"", 0, ledMode, 4, Buttons::Kept, true, L"Game", 0},
        {kMsgServiceEvent, 10, 3, L"", 0, ledMode, 1, Buttons::Kept, true, L"Game", 0},
        // A take-over that no profile operation of the window waits for greys nothing.
        {kMsgServiceEvent, 11, 0, L"", 0, nullptr, 0, Buttons::Kept, true, L"Game", 0},
        {kMsgServiceEvent, 11, 0, L"", 0, nullptr, 0, Buttons::Later, true, L"Game", 0},
        {kMsgServiceEvent, 12, 0, L"", 0, nullptr, 0, Buttons::Kept, true, L"Game", 0},
        {kMsgServiceEvent, 15, 0, L"", 0, nullptr, 0, Buttons::Kept, false, L"Game", 0},
        // A choice that names no profile changes nothing and opens no box.
        {kMsgServiceEvent, 15, 0, L"Gone", 0, nullptr, 0, Buttons::Kept, false, L"Game", 0},
        {kMsgServiceEvent, 15, 0, L"Work", 0, firstStage, kWorkStage, Buttons::Kept, false, L"Work",
         1},
        {kRepaintRequest, 11, 0, L"", 0, firstStage, defaultStage, Buttons::Kept, false, L"Work",
         0},
        {kRepaintRequest, 12, 0, L"", 0, firstStage, 99, Buttons::Kept, false, L"Work", 0},
        {kRepaintRequest, 22, 0, L"", 0, firstStage, 99, Buttons::Kept, false, L"Work", 0},
        {kRepaintRequest, 13, 0, L"", -1, firstStage, 99, Buttons::Kept, false, L"Work", 0},
    };
    int wheelLines = 20;
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message()
                     << std::hex << row.message << std::dec << " " << row.code << " " << row.value);
        // What the service would have written before telling the window.
        CIniFile settings(SharedDataFolder::SettingsFile());
        ASSERT_TRUE(settings.WriteString(L"Setting", L"AutoProfile", row.autoProfile));
        ASSERT_TRUE(settings.WriteInt(L"Setting", L"WheelScrollLines", ++wheelLines));
        SetProfileButtons(row.buttons == Buttons::Kept);
        service.Clear();

        LRESULT result = 0;
        // No event of the service opens a box; one that did would be ended after a while.
        const ModalBoxes boxes(Hwnd(), {});
        std::atomic<bool> touching = row.touched;
        std::atomic<int> touches = 0;
        const std::wstring next = settings.Path() + L".next";
        if (row.touched) {
            // This process reads the file while it has the tool's write time, then the tool
            // makes its next text.
            SetWriteTime(settings.Path(), kToolsWriteTime);
            settings.ReadInt(L"Setting", L"WheelScrollLines", 0);
            ASSERT_TRUE(CopyFileW(settings.Path().c_str(), next.c_str(), FALSE));
            ASSERT_TRUE(CIniFile(next).WriteInt(L"Setting", L"WheelScrollLines", ++wheelLines));
        }
        std::thread toucher([&] {
            if (!touching) {
                return;
            }
            // The new text goes in place in one step, with the same write time.
            SetWriteTime(next, kToolsWriteTime);
            MoveFileExW(next.c_str(), settings.Path().c_str(), MOVEFILE_REPLACE_EXISTING);
            for (; touching; ++touches) {
                SetWriteTime(settings.Path(), kToolsWriteTime);
            }
        });
        const ULONGLONG deadline = GetTickCount64() + kTimeoutMs;
        while (touching && touches < 20 && GetTickCount64() < deadline) {
            Sleep(1);
        }
        EXPECT_TRUE(!touching || touches >= 20);
        // Before the window handles it, so before any timer it starts.
        const ULONGLONG sent = GetTickCount64();
        if (row.message == kRepaintRequest) {
            Dialog().Working().DPI_INFO[0][1] = 99;
            result = SendMessageW(Hwnd(), row.message, row.code, row.value);
        } else {
            PostMessageW(Hwnd(), row.message, row.code, row.value);
        }
        PumpWatching([] { return true; }, 0);
        touching = false;
        toucher.join();
        // A tool that holds the file open keeps it from being replaced: the store waits for it.
        EXPECT_TRUE(PumpWatching([&] { return !MainWindowProbe::profile(Dialog()).Waiting(); }));

        EXPECT_EQ(row.result, result);
        EXPECT_TRUE(boxes.Boxes().empty());
        if (row.field != nullptr && row.message == kRepaintRequest) {
            EXPECT_EQ(row.stored, row.field(Dialog().Working()));
        } else if (row.field != nullptr) {
            for (const std::wstring& file :
                 {SharedDataFolder::SettingsFile(), SharedDataFolder::ProfileFile(row.caption)}) {
                EXPECT_EQ(row.stored, row.field(SharedDataFolder::Read(file)))
                    << std::string(file.begin(), file.end());
                if (row.touched) {
                    // The settings the service left stay the user's.
                    EXPECT_EQ(wheelLines, SharedDataFolder::Read(file).WheelScrollLines);
                }
            }
        }
        const bool shown =
            MainWindowProbe::wheelLinesEdit(Dialog()).Text() == std::to_wstring(wheelLines);
        EXPECT_EQ(row.refreshed, shown);
        EXPECT_EQ(row.caption, Caption());
        EXPECT_EQ(row.applies, service.Count(kMsgApplyAll, 0, 0));
        switch (row.buttons) {
        case Buttons::Kept:
        case Buttons::Back:
            EXPECT_TRUE(ProfileButtonsEnabled());
            break;
        case Buttons::Stay:
            EXPECT_FALSE(ProfileButtonsEnabled());
            break;
        case Buttons::Later:
            EXPECT_FALSE(ProfileButtonsEnabled());
            EXPECT_TRUE(PumpWatching([&] { return ProfileButtonsEnabled(); }));
            EXPECT_GE(GetTickCount64() - sent + kTimerSlackMs, kAnswerDelayMs);
            break;
        }
    }
}
