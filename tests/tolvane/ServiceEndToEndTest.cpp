#include "service/ServiceMessages.h"
#include "shared/store/CIniFile.h"
#include "tests/tolvane/MessagePump.h"
#include "tests/tolvane/ServiceFixture.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

int ThreadsOf(DWORD processId) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return -1;
    }
    int count = 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        count += entry.th32OwnerProcessID == processId ? 1 : 0;
    }
    CloseHandle(snapshot);
    return count;
}

TEST_F(ServiceEndToEnd, ASecondCopyEndsAndLeavesTheFirstAlone) {
    ASSERT_NO_FATAL_FAILURE(StartService());
    auto second = harness_.StartAnother();
    ASSERT_TRUE(second->WaitForExit(ServiceHarness::kTimeoutMs));
    PumpUntil([] { return false; }, 0);

    const auto windows = ServiceHarness::ServiceWindows();
    ASSERT_EQ(1u, windows.size());
    EXPECT_EQ(harness_.ServiceWindow(), windows[0]);
    EXPECT_TRUE(harness_.Process().Running());
    // A window of the second copy would have told the peers to close when it went.
    EXPECT_EQ(0, harness_.Config().Count(WM_CLOSE));
    EXPECT_EQ(0, harness_.Tray().Count(WM_CLOSE));
}

TEST_F(ServiceEndToEnd, AFirstStartCopiesTheTemplateAndLaterStartsKeepTheUsersFile) {
    ASSERT_NO_FATAL_FAILURE(StartService());
    EXPECT_EQ(12, Setting(L"DoubleClickSpeed"));
    EXPECT_EQ(6, Setting(L"Acceleration"));
    EXPECT_EQ(1, Setting(L"Device"));
    ASSERT_TRUE(harness_.Close());

    ASSERT_TRUE(settings_->WriteInt(L"Setting", L"DoubleClickSpeed", 20));
    ASSERT_TRUE(settings_->WriteString(L"Mine", L"Kept", L"yes"));
    ASSERT_NO_FATAL_FAILURE(StartService());
    EXPECT_EQ(20, Setting(L"DoubleClickSpeed"));
    EXPECT_EQ(L"yes", settings_->ReadString(L"Mine", L"Kept", L""));
}

TEST_F(ServiceEndToEnd, ASubFolderThatCannotBeMadeLeavesTheSettingsInUse) {
    for (const wchar_t* blocked : {L"Profile", L"Macro"}) {
        SCOPED_TRACE(blocked);
        ASSERT_TRUE(ServiceHarness::CleanDataFolder());
        const std::filesystem::path data = ServiceHarness::VendorFolder() + L"\\GamingMouse";
        std::filesystem::create_directories(data);
        std::ofstream(data / blocked) << "not a folder";

        ASSERT_NO_FATAL_FAILURE(StartService());
        // The template was copied and the mouse's state recorded.
        EXPECT_EQ(12, Setting(L"DoubleClickSpeed"));
        EXPECT_EQ(1, Setting(L"Device"));
        ASSERT_TRUE(settings_->WriteInt(L"Setting", L"DoubleClickSpeed", 31));
        const auto reports = harness_.PostAndCollectBracket(kMsgDoubleClickSpeed);
        ASSERT_EQ(4u, reports.size());
        EXPECT_EQ(31, reports[1][8]);
        ASSERT_TRUE(harness_.Close());
    }
}

TEST_F(ServiceEndToEnd, ReloadingReadsTheFileWithoutRewritingIt) {
    ASSERT_NO_FATAL_FAILURE(StartService());
    // A file the configuration program is in the middle of writing: a rewrite would fill in
    // every other key.
    std::filesystem::remove(ServiceHarness::SettingsPath());
    ASSERT_TRUE(settings_->WriteInt(L"Setting", L"DoubleClickSpeed", 33));

    const auto reports = harness_.PostAndCollectBracket(kMsgDoubleClickSpeed);
    ASSERT_EQ(4u, reports.size());
    EXPECT_EQ(33, reports[1][8]);
    EXPECT_EQ(-99, Setting(L"PollingRate"));
    EXPECT_EQ(-99, Setting(L"Profile"));
    EXPECT_EQ(L"", settings_->ReadString(L"GROUP", L"ButtonAssigned1", L""));
}

TEST_F(ServiceEndToEnd, ApplyingEverythingSendsTheWholeConfigurationAndAnswers) {
    ASSERT_NO_FATAL_FAILURE(StartService());
    ASSERT_TRUE(settings_->WriteInt(L"Setting", L"FWVersion", 7));
    const auto first = harness_.Simulator().NextSequence();
    ASSERT_TRUE(harness_.Post(kMsgApplyAll, 0, 1));
    ASSERT_TRUE(PumpUntil([&] { return harness_.Config().Count(kMsgServiceEvent) > 0; },
                          ServiceHarness::kTimeoutMs));

    const std::vector<std::string> expected = {
        "bracket 0",  "write 003e", "write 0032", "write 0038", "write 0042", "write 0044",
        "write 004a", "write 0050", "write 0056", "write 002a", "commit 08",  "write 002c",
        "commit 01",  "write 0082", "write 0086", "write 008a", "write 008e", "write 0092",
        "write 0096", "write 00aa", "write 00ae", "write 00ea", "commit 01",  "commit 02",
        "commit 01",  "commit 0e",  "bracket 1"};
    EXPECT_EQ(expected, Summaries(harness_.Simulator().SentFeatureReports(first)));
    EXPECT_EQ(1, harness_.Config().Count(kMsgServiceEvent, kEventApplied, 0));
    EXPECT_EQ(0, Setting(L"FWVersion"));
}

TEST_F(ServiceEndToEnd, ApplyingWithoutTheMouseSendsNothingAndDoesNotAnswer) {
    ASSERT_NO_FATAL_FAILURE(StartService());
    ASSERT_EQ("ok", harness_.Simulator().Command("unplug").value_or(""));
    EXPECT_EQ(0, Setting(L"Device"));
    ExpectIgnored(kMsgApplyAll, 0, 1);
    ExpectIgnored(kMsgBracketOnly, 0, 0);
}

TEST_F(ServiceEndToEnd, SingleSettingsReachTheMouseInTheirBracket) {
    ASSERT_NO_FATAL_FAILURE(StartService());
    ASSERT_TRUE(settings_->WriteInt(L"Setting", L"DPI", 2));
    ASSERT_TRUE(settings_->WriteInt(L"Setting", L"DoubleClickSpeed", 25));

    auto reports = harness_.PostAndCollectBracket(kMsgCurrentDpiStage);
    EXPECT_EQ((std::vector<std::string>{"bracket 0", "write 0042", "commit 02", "bracket 1"}),
              Summaries(reports));
    EXPECT_EQ(2, reports.at(1).at(8));

    reports = harness_.PostAndCollectBracket(kMsgBracketOnly);
    EXPECT_EQ((std::vector<std::string>{"bracket 0", "bracket 1"}), Summaries(reports));

    reports = harness_.PostAndCollectBracket(kMsgPollingRate);
    EXPECT_EQ((std::vector<std::string>{"bracket 0", "write 0032", "write 0038", "commit 08",
                                        "bracket 1"}),
              Summaries(reports));

    reports = harness_.PostAndCollectBracket(kMsgDoubleClickSpeed);
    EXPECT_EQ((std::vector<std::string>{"bracket 0", "write 002a", "commit 08", "bracket 1"}),
              Summaries(reports));
    EXPECT_EQ(25, reports.at(1).at(8));

    // Any pair but 255, 255 sends the current DPI stage.
    reports = harness_.PostAndCollectBracket(kMsgPointerSpeedOrDpi, 1, 0);
    EXPECT_EQ((std::vector<std::string>{"bracket 0", "write 0042", "commit 02", "bracket 1"}),
              Summaries(reports));
    ExpectIgnored(kMsgPointerSpeedOrDpi, 255, 255);

    // Button 6 lives in device slot 10.
    reports = harness_.PostAndCollectBracket(kMsgButtonAssignment, 0, 6);
    EXPECT_EQ((std::vector<std::string>{"bracket 0", "write 00aa", "write 00ea", "bracket 1"}),
              Summaries(reports));

    reports = harness_.PostAndCollectBracket(kMsgMacro, 2, 1);
    ASSERT_EQ((std::vector<std::string>{"bracket 0", "block 06d0", "bracket 1"}),
              Summaries(reports));
    EXPECT_EQ(std::vector<std::uint8_t>(200, 0),
              std::vector<std::uint8_t>(reports[1].begin() + 8, reports[1].begin() + 208));

    reports = harness_.PostAndCollectBracket(kMsgDpiStage, 3);
    EXPECT_EQ((std::vector<std::string>{"bracket 0", "write 0056", "commit 02", "bracket 1"}),
              Summaries(reports));
}

TEST_F(ServiceEndToEnd, ArgumentsOutOfRangeSendNothing) {
    ASSERT_NO_FATAL_FAILURE(StartService());
    ExpectIgnored(kMsgDpiStage, static_cast<WPARAM>(-1), 0);
    ExpectIgnored(kMsgDpiStage, 4, 0);
    ExpectIgnored(kMsgButtonAssignment, 5, 0);
    ExpectIgnored(kMsgButtonAssignment, 0, 8);
    ExpectIgnored(kMsgButtonAssignment, static_cast<WPARAM>(-1), -1);
    ExpectIgnored(kMsgMacro, 6, 1);
    ExpectIgnored(kMsgMacro, static_cast<WPARAM>(-1), 1);
}

TEST_F(ServiceEndToEnd, UnplugAndPlugFollowTheMouse) {
    ASSERT_NO_FATAL_FAILURE(StartService());
    SimulatorClient& mouse = harness_.Simulator();
    const int threadsWithReaders = ThreadsOf(harness_.Process().Id());

    const auto beforeUnplug = mouse.NextSequence();
    ASSERT_EQ("ok", mouse.Command("unplug").value_or(""));
    EXPECT_EQ(0, Setting(L"Device"));
    int closes = 0;
    for (const auto& entry : mouse.Log(beforeUnplug)) {
        closes += entry.Call == "hid_close" ? 1 : 0;
    }
    EXPECT_EQ(2, closes);
    EXPECT_EQ("dropped", mouse.Command("inject 1 08 02 01 00 00 00 00 00").value_or(""));
    EXPECT_TRUE(
        PumpUntil([&] { return ThreadsOf(harness_.Process().Id()) == threadsWithReaders - 2; },
                  ServiceHarness::kTimeoutMs));

    harness_.Config().Clear();
    ASSERT_EQ("ok", mouse.Command("plug").value_or(""));
    EXPECT_EQ(1, Setting(L"Device"));
    // A mouse that comes back is read back into the settings, and the configuration program told.
    EXPECT_TRUE(
        PumpUntil([&] { return harness_.Config().Count(kMsgServiceEvent, kEventReadBackDone, 0); },
                  ServiceHarness::kTimeoutMs));
    EXPECT_TRUE(PumpUntil([&] { return ThreadsOf(harness_.Process().Id()) == threadsWithReaders; },
                          ServiceHarness::kTimeoutMs));
    EXPECT_EQ("ok", mouse.Command("inject 1 08 02 01 00 00 00 00 00").value_or(""));
    EXPECT_EQ((std::vector<std::string>{"bracket 0", "bracket 1"}),
              Summaries(harness_.PostAndCollectBracket(kMsgBracketOnly)));
}

TEST_F(ServiceEndToEnd, FifteenSecondsAfterTheStartTheMouseIsMarked) {
    ASSERT_NO_FATAL_FAILURE(StartService());
    const auto isMark = [](const SimulatorClient::Entry& entry) {
        return entry.Call == "hid_send_feature_report" && Summary(entry.Bytes) == "write 00ea";
    };
    std::vector<SimulatorClient::Entry> log;
    ULONGLONG lastLook = 0;
    ASSERT_TRUE(PumpUntil(
        [&] {
            // A long wait: the log is fetched ten times a second, not at every turn.
            if (GetTickCount64() - lastLook < 100) {
                return false;
            }
            lastLook = GetTickCount64();
            log = harness_.Simulator().Log();
            return std::any_of(log.begin(), log.end(), isMark);
        },
        30000));
    const auto start = std::find_if(log.begin(), log.end(),
                                    [](const auto& entry) { return entry.Call == "hid_init"; });
    const auto mark = std::find_if(log.begin(), log.end(), isMark);
    ASSERT_NE(log.end(), start);
    EXPECT_GE(mark->Micros - start->Micros, 14'900'000);
    EXPECT_EQ(std::vector<std::uint8_t>({0xFF, 0xFF}),
              std::vector<std::uint8_t>(mark->Bytes.begin() + 8, mark->Bytes.begin() + 10));

    EXPECT_EQ(1, std::count_if(log.begin(), log.end(), isMark));
}

TEST_F(ServiceEndToEnd, ClosingTellsThePeersAndEndsCleanly) {
    ASSERT_NO_FATAL_FAILURE(StartService());
    ASSERT_TRUE(harness_.Close());
    EXPECT_EQ(0u, harness_.Process().ExitCode());
    EXPECT_EQ(1, harness_.Config().Count(WM_CLOSE));
    EXPECT_EQ(1, harness_.Tray().Count(WM_CLOSE));
    EXPECT_TRUE(ServiceHarness::ServiceWindows().empty());
}

} // namespace
