// Input reports injected into the running service through the simulated mouse's control channel,
// observed where a user would see their effect: messages to the configuration program, reports to
// the mouse and "Mouse.ini".

#include "service/ServiceMessages.h"
#include "shared/store/CIniFile.h"
#include "tests/service/HidTestSupport.h"
#include "tests/tolvane/MessagePump.h"
#include "tests/tolvane/ServiceHarness.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class ActionEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ServiceHarness::CleanDataFolder());
        ASSERT_TRUE(harness_.Start()) << harness_.StartFailure();
        settings_ = std::make_unique<CIniFile>(ServiceHarness::SettingsPath());
    }
    void TearDown() override {
        SetWindowTextW(harness_.Config().Handle(), L"Selvin V212 Gaming Mouse");
        if (harness_.Started() && harness_.Process().Running()) {
            EXPECT_TRUE(harness_.Close());
        }
    }

    void Inject(int channel, const std::string& bytes) {
        ASSERT_EQ("ok", harness_.Simulator()
                            .Command("inject " + std::to_string(channel) + " " + bytes)
                            .value_or(""));
    }
    bool WaitForEvent(WPARAM what, LPARAM value) {
        return PumpUntil([&] { return harness_.Config().Count(kMsgServiceEvent, what, value) > 0; },
                         ServiceHarness::kTimeoutMs);
    }
    int Profile() const { return settings_->ReadInt(L"Setting", L"Profile", -99); }
    // Makes the service take "Profile" from the file: the bracket-only message reloads.
    void ReloadWithProfile(int profile) {
        settings_->WriteInt(L"Setting", L"Profile", profile);
        ASSERT_TRUE(harness_.SendAndWait(kMsgBracketOnly));
    }

    ServiceHarness harness_;
    std::unique_ptr<CIniFile> settings_;
};

TEST_F(ActionEndToEnd, DeviceEventsArePostedToTheConfigurationProgram) {
    Inject(1, "08 02 01 00 00 00 00 00");
    EXPECT_TRUE(WaitForEvent(kEventDpiStageChanged, 1));
    Inject(0, "08 09 03 00 00 00 00 00");
    EXPECT_TRUE(WaitForEvent(kEventLightingReported, 3));
    const int stored = Profile();
    Inject(1, "08 01 02 00 00 00 00 00");
    EXPECT_TRUE(WaitForEvent(kEventProfileChanged, 2));
    EXPECT_EQ(Profile(), stored);
}

TEST_F(ActionEndToEnd, AProfileEventWithoutTheConfigurationProgramIsStored) {
    // The recorder keeps running under another title, so nothing finds it.
    SetWindowTextW(harness_.Config().Handle(), L"elsewhere");
    Inject(1, "08 01 03 00 00 00 00 00");
    EXPECT_TRUE(PumpUntil([&] { return Profile() == 3; }, ServiceHarness::kTimeoutMs));
    EXPECT_EQ(harness_.Config().Count(kMsgServiceEvent), 0);
}

TEST_F(ActionEndToEnd, ProfileStepsResetTheMouseAndTellTheConfigurationProgram) {
    ReloadWithProfile(4);
    SimulatorClient& mouse = harness_.Simulator();
    const std::vector<Bytes> reset = {WriteReport(0x002C, {0x00, 0x00}), CommitReport(0x01)};

    auto first = mouse.NextSequence();
    Inject(1, "01 ff 17 00 00 00 00 00");
    EXPECT_TRUE(WaitForEvent(kEventProfileChanged, 4));
    EXPECT_EQ(mouse.SentFeatureReports(first), reset);

    first = mouse.NextSequence();
    Inject(0, "01 ff 18 00 00 00 00 00");
    EXPECT_TRUE(WaitForEvent(kEventProfileChanged, 3));
    EXPECT_EQ(mouse.SentFeatureReports(first), reset);
    // The configuration program stores the new profile, not the service.
    EXPECT_EQ(Profile(), 4);
}

} // namespace
