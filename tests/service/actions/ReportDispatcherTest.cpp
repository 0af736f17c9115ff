// Input-report dispatch: device events with and without the configuration program, the profile
// steps with their reports to the mouse, the launch selectors, PC-side actions, and bytes that
// name nothing.

#include "service/CFeatureReports.h"
#include "service/CMouseConnection.h"
#include "service/CReportDispatcher.h"
#include "service/CSettingsGuard.h"
#include "service/CSettingsSender.h"
#include "shared/store/CIniFile.h"
#include "tests/service/HidTestSupport.h"
#include "tests/service/actions/CRecordingActionSystem.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cwchar>
#include <thread>

namespace {

using Posted = CRecordingActionSystem::Posted;
using Shell = CRecordingActionSystem::Shell;
using Key = CRecordingActionSystem::Key;
using Report = std::array<std::uint8_t, 8>;

const std::wstring kConfig = L"Selvin V212 Gaming Mouse";

class ReportDispatcherTest : public SimulatedMouseTest {
protected:
    void SetUp() override {
        SimulatedMouseTest::SetUp();
        connection_.SetupDeviceTable();
        connection_.EnumerateMouse();
        connection_.OpenMouse(CMouseConnection::kVendorId, CMouseConnection::kProductId);
        ASSERT_TRUE(connection_.IsControlOpen());
        SettingsRecord_FillDefaults(settings_, 0);
        settings_.Profile = 2;
        dispatcher_.SetSettingsPath(folder_.SettingsFile());
        hidsim::ClearLog();
    }

    void Dispatch(Report report, int channel = 1) {
        dispatcher_.DispatchInputReport(channel, report);
    }
    void SetText(int button, const wchar_t* text) {
        auto& field = settings_.ButtonAssigned[static_cast<std::size_t>(button)].Text;
        field.fill(L'\0');
        std::wcsncpy(field.data(), text, field.size());
    }
    bool SettingsFileWritten() const {
        return GetFileAttributesW(folder_.SettingsFile().c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    static std::vector<Bytes> ProfileReset() {
        return {WriteReport(0x002C, {0x00, 0x00}), CommitReport(0x01)};
    }

    ScratchFolder folder_;
    CMouseConnection connection_;
    CFeatureReports reports_{connection_};
    SettingsRecord settings_{};
    CSettingsSender sender_{reports_, settings_, folder_.SettingsFile(), folder_.MacroFolder()};
    CSettingsGuard guard_{settings_};
    CRecordingActionSystem system_;
    CReportDispatcher dispatcher_{system_, guard_, sender_};
};

TEST_F(ReportDispatcherTest, DeviceEventsReachTheConfigurationProgram) {
    system_.OpenWindow(kConfig);
    Dispatch({8, 2, 3});
    Dispatch({8, 1, 4});
    Dispatch({8, 9, 7});
    EXPECT_EQ(system_.Posts(),
              (std::vector<Posted>{
                  {kConfig, 0x505, 8, 3}, {kConfig, 0x505, 9, 4}, {kConfig, 0x505, 10, 7}}));
    // Told of the profile, the configuration program stores it; the service does not.
    EXPECT_EQ(settings_.Profile, 2);
    EXPECT_FALSE(SettingsFileWritten());
    EXPECT_TRUE(hidsim::SentFeatureReports().empty());
}

TEST_F(ReportDispatcherTest, AProfileChangeIsStoredWhileTheConfigurationProgramIsClosed) {
    Dispatch({8, 1, 3});
    EXPECT_EQ(settings_.Profile, 3);
    EXPECT_EQ(CIniFile(folder_.SettingsFile()).ReadInt(L"Setting", L"Profile", -1), 3);
    // Stage and lighting events have nobody to tell.
    Dispatch({8, 2, 1});
    Dispatch({8, 9, 1});
    EXPECT_TRUE(system_.NothingDone());
}

TEST_F(ReportDispatcherTest, EventValuesOutOfRangeAreIgnored) {
    for (bool configOpen : {true, false}) {
        SCOPED_TRACE(configOpen ? "configuration program open" : "closed");
        if (configOpen) {
            system_.OpenWindow(kConfig);
        } else {
            system_.CloseWindow(kConfig);
        }
        Dispatch({8, 1, 5});
        Dispatch({8, 1, 255});
        Dispatch({8, 2, 4});
        Dispatch({8, 2, 200});
        EXPECT_TRUE(system_.NothingDone());
        EXPECT_EQ(settings_.Profile, 2);
        EXPECT_FALSE(SettingsFileWritten());
    }
}

TEST_F(ReportDispatcherTest, EventNumbersCountOnlyInEventReports) {
    system_.OpenWindow(kConfig);
    Dispatch({1, 1, 3});
    Dispatch({2, 2, 1});
    Dispatch({0, 9, 1});
    EXPECT_TRUE(system_.NothingDone());
    // In an event report any other byte 1 is a selector.
    Dispatch({8, 255, 136});
    EXPECT_EQ(system_.Keys(), (std::vector<Key>{{0, 0x5B, 1}, {50, 0x5B, 3}}));
}

TEST_F(ReportDispatcherTest, ProfileStepsStopAtTheEndsAndResetTheMouseRegister) {
    system_.OpenWindow(kConfig);
    struct Case {
        int From;
        std::uint8_t Code;
        int To;
    };
    for (const Case& c : {Case{4, 23, 4}, Case{0, 24, 0}, Case{2, 23, 3}, Case{2, 24, 1}}) {
        SCOPED_TRACE(testing::Message() << "code " << int{c.Code} << " from " << c.From);
        settings_.Profile = c.From;
        hidsim::ClearLog();
        const auto firstPost = system_.Posts().size();
        Dispatch({0, 255, c.Code});
        EXPECT_EQ(settings_.Profile, c.To);
        EXPECT_EQ(hidsim::SentFeatureReports(), ProfileReset());
        ASSERT_EQ(system_.Posts().size(), firstPost + 1);
        EXPECT_EQ(system_.Posts().back(), (Posted{kConfig, 0x505, 9, c.To}));
    }
    // The service neither stores nor uploads the new profile.
    EXPECT_FALSE(SettingsFileWritten());
}

TEST_F(ReportDispatcherTest, ProfileStepsWithoutTheConfigurationProgramOrTheMouse) {
    Dispatch({0, 255, 23});
    EXPECT_EQ(settings_.Profile, 3);
    EXPECT_EQ(hidsim::SentFeatureReports(), ProfileReset());
    EXPECT_TRUE(system_.Posts().empty());
    EXPECT_FALSE(SettingsFileWritten());

    connection_.CloseMouse();
    system_.OpenWindow(kConfig);
    hidsim::ClearLog();
    Dispatch({0, 255, 24});
    EXPECT_EQ(settings_.Profile, 2);
    EXPECT_TRUE(hidsim::SentFeatureReports().empty());
    EXPECT_EQ(system_.Posts(), (std::vector<Posted>{{kConfig, 0x505, 9, 2}}));
}

TEST_F(ReportDispatcherTest, LaunchSelectorsOpenTheButtonText) {
    SetText(0, L"C:\\Work\\Folder");
    SetText(2, L"C:\\Tools\\tool.exe");
    SetText(7, L"http://www.example.com/");
    Dispatch({0, 250, 2});
    Dispatch({0, 245, 0});
    Dispatch({0, 240, 7});
    // A folder opens through the shell, not the browser.
    EXPECT_EQ(system_.Shells(), (std::vector<Shell>{{0, L"C:\\Tools\\tool.exe", SW_SHOW},
                                                    {0, L"C:\\Work\\Folder", SW_SHOW}}));
    EXPECT_EQ(system_.Browsed(), std::vector<std::wstring>{L"http://www.example.com/"});
    EXPECT_TRUE(system_.Keys().empty());
}

TEST_F(ReportDispatcherTest, LaunchesThatNameNoEntryOrNoTextDoNothing) {
    for (int button = 0; button < kButtonCount; ++button) {
        SetText(button, L"C:\\Tools\\tool.exe");
    }
    // Other profiles' selectors, and buttons past the eighth.
    for (int selector : {241, 244, 246, 249, 251, 254}) {
        Dispatch({0, static_cast<std::uint8_t>(selector), 1});
    }
    for (int selector : {240, 245, 250}) {
        for (int button : {8, 9, 100, 255}) {
            Dispatch({0, static_cast<std::uint8_t>(selector), static_cast<std::uint8_t>(button)});
        }
    }
    SetText(3, L"");
    Dispatch({0, 250, 3});
    Dispatch({0, 245, 3});
    Dispatch({0, 240, 3});
    EXPECT_TRUE(system_.NothingDone());
}

TEST_F(ReportDispatcherTest, ALaunchTextWithoutTerminatorIsTakenWhole) {
    auto& field = settings_.ButtonAssigned[1].Text;
    field.fill(L'x');
    Dispatch({0, 250, 1});
    EXPECT_EQ(system_.Shells(),
              (std::vector<Shell>{{0, std::wstring(field.size(), L'x'), SW_SHOW}}));
}

TEST_F(ReportDispatcherTest, ActionCodesRunOnTheEngine) {
    system_.SetModuleFileName(L"C:\\V212\\tolvane.exe");
    Dispatch({0, 255, 65});
    EXPECT_EQ(system_.Keys(),
              (std::vector<Key>{{0, 0x11, 1}, {50, 0x43, 1}, {100, 0x43, 3}, {150, 0x11, 3}}));
    Dispatch({0, 255, 82}, 0);
    EXPECT_EQ(system_.Locks(), 1);
    Dispatch({0, 255, 120}, 0);
    EXPECT_EQ(system_.Shells(), (std::vector<Shell>{{150, L"C:\\V212\\config.exe", SW_SHOW}}));
}

TEST_F(ReportDispatcherTest, SelectorsAndCodesThatNameNothing) {
    system_.OpenWindow(kConfig);
    for (int selector : {0, 1, 2, 9, 100, 200, 239}) {
        Dispatch({0, static_cast<std::uint8_t>(selector), 2});
    }
    for (int code : {0, 22, 25, 99, 129, 254}) {
        Dispatch({0, 255, static_cast<std::uint8_t>(code)});
    }
    EXPECT_TRUE(system_.NothingDone());
    EXPECT_TRUE(hidsim::SentFeatureReports().empty());
    EXPECT_EQ(settings_.Profile, 2);
}

TEST_F(ReportDispatcherTest, TheDebugTextShowsTheEightBytes) {
    const Report report{0x08, 0x01, 0x02, 0xA0, 0x00, 0x0F, 0x10, 0xFF};
    EXPECT_EQ(CReportDispatcher::ReportBytesText(report), L"08 01 02 a0 00 0f 10 ff\n");
}

TEST_F(ReportDispatcherTest, ChangesWaitWhileTheWindowHoldsTheRecord) {
    SetText(0, L"C:\\Tools\\tool.exe");
    std::atomic<bool> done{false};
    std::thread reader;
    {
        const auto lock = guard_.Lock();
        reader = std::thread([&] {
            Dispatch({8, 1, 4});
            Dispatch({0, 250, 0});
            done = true;
        });
        Sleep(100);
        EXPECT_FALSE(done.load());
        // A reload replaces the record meanwhile.
        settings_.Profile = 1;
        SetText(0, L"C:\\Tools\\reloaded.exe");
    }
    reader.join();
    EXPECT_EQ(settings_.Profile, 4);
    EXPECT_EQ(CIniFile(folder_.SettingsFile()).ReadInt(L"Setting", L"Profile", -1), 4);
    EXPECT_EQ(system_.Shells(), (std::vector<Shell>{{0, L"C:\\Tools\\reloaded.exe", SW_SHOW}}));
}

TEST_F(ReportDispatcherTest, ReportsFromBothReadersAreDispatched) {
    connection_.SetReportHandler([this](int channel, InputReport report) {
        dispatcher_.DispatchInputReport(channel, report);
    });
    connection_.StartReaders();
    system_.OpenWindow(kConfig);
    const Report dpi{8, 2, 1};
    const Report lighting{8, 9, 2};
    ASSERT_TRUE(hidsim::InjectInputReport(0, dpi));
    ASSERT_TRUE(hidsim::InjectInputReport(1, lighting));
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (system_.Posts().size() < 2 && std::chrono::steady_clock::now() < end) {
        Sleep(5);
    }
    connection_.StopReaders();
    auto posts = system_.Posts();
    std::sort(posts.begin(), posts.end(),
              [](const Posted& a, const Posted& b) { return a.WParam < b.WParam; });
    EXPECT_EQ(posts, (std::vector<Posted>{{kConfig, 0x505, 8, 1}, {kConfig, 0x505, 10, 2}}));
}

} // namespace
