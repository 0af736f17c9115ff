// The private messages of the service window that no other end-to-end test posts, each sent to
// the running service: the exact reports that reach the simulated mouse, or none; and the whole
// apply from a settings file, or under a lock, that another program holds. And a burst of one
// message, as a dragged slider posts it, handled as its last post.

#include "service/MouseMemoryMap.h"
#include "service/ServiceMessages.h"
#include "shared/store/CIniFile.h"
#include "tests/service/HidTestSupport.h"
#include "tests/tolvane/MessagePump.h"
#include "tests/tolvane/ServiceFixture.h"
#include "winlayer/UniqueHandle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct SentMessage {
    UINT Id;
    WPARAM WParam;
    LPARAM LParam;
};

struct HandlerCase {
    const char* Name;
    // Edits of "Mouse.ini" before the message.
    std::function<void(const CIniFile&)> Prepare;
    UINT Message;
    WPARAM WParam;
    LPARAM LParam;
    std::vector<Bytes> Expected;
    // Once the file that another program held is free: the reports of the message that waited
    // for it, and the take-over answer.
    std::vector<Bytes> ExpectedOnceFree = {};
    // Checks of "Mouse.ini" once the message is handled.
    std::function<void(const CIniFile&)> After = [](const CIniFile&) {};
    // Sent behind the message while the file or the lock is still held: each has joined the
    // waiting messages when its call returns.
    std::vector<SentMessage> Behind = {};
};

// The data folder's lock held by another program of the suite until this goes.
class HeldLock {
public:
    HeldLock() : mutex_(CreateMutexW(nullptr, FALSE, L"V212DataFolder_Mutex")) {
        const DWORD wait =
            mutex_ ? WaitForSingleObject(mutex_.Get(), ServiceHarness::kTimeoutMs) : WAIT_FAILED;
        held_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
    }
    ~HeldLock() {
        if (held_) {
            ReleaseMutex(mutex_.Get());
        }
    }
    HeldLock(const HeldLock&) = delete;
    HeldLock& operator=(const HeldLock&) = delete;
    bool Held() const { return held_; }

private:
    winlayer::UniqueHandle mutex_;
    bool held_ = false;
};

void Nothing(const CIniFile&) {}

// The first lighting mode entry as five int32 values.
void WriteLightingMode(const CIniFile& ini, std::array<std::int32_t, 5> mode) {
    std::array<std::uint8_t, sizeof mode> bytes{};
    std::memcpy(bytes.data(), mode.data(), sizeof mode);
    ini.WriteStruct(L"Setting", L"LED_MODE_INFO1", bytes);
}

// What the template "Mouse.ini" uploads as a whole, between the brackets.
std::vector<Bytes> TemplateUpload() {
    return {WriteReport(0x3E, {0, 0}),
            WriteReport(0x32, {1, 0, 1, 0, 1, 0}),
            WriteReport(0x38, {1, 0, 1, 0}),
            WriteReport(0x42, {1}),
            WriteReport(0x44, {1, 6, 0, 6, 0}),
            WriteReport(0x4A, {1, 9, 0, 9, 0}),
            WriteReport(0x50, {1, 18, 0, 18, 0}),
            WriteReport(0x56, {1, 38, 0, 38, 0}),
            WriteReport(0x2A, {12}),
            CommitReport(0x08),
            WriteReport(0x2C, {0, 0}),
            CommitReport(0x01),
            WriteReport(0x82, {0x81, 0, 0, 0}),
            WriteReport(0x86, {0x82, 0, 0, 0}),
            WriteReport(0x8A, {0x83, 0, 0, 0}),
            WriteReport(0x8E, {0x85, 0, 0, 0}),
            WriteReport(0x92, {0x84, 0, 0, 0}),
            WriteReport(0x96, {0x88, 0, 0, 0}),
            WriteReport(0xAA, {0x8B, 0, 0, 0}),
            WriteReport(0xAE, {0x8C, 0, 0, 0}),
            WriteReport(0xEA, {0xFF, 0xFF}),
            CommitReport(0x01),
            CommitReport(0x02),
            CommitReport(0x01)};
}

std::vector<Bytes> Bracketed(std::vector<Bytes> inside) {
    inside.insert(inside.begin(), BracketReport(0));
    inside.push_back(BracketReport(1));
    return inside;
}

// The whole apply of the template: its upload and the commit of every group, in the bracket.
std::vector<Bytes> WholeApply() {
    auto reports = TemplateUpload();
    reports.push_back(CommitReport(0x0E));
    return Bracketed(reports);
}

bool IsBracket(const SimulatorClient::Entry& entry, std::uint8_t value) {
    return entry.Call == "hid_send_feature_report" && entry.Bytes.size() > 2 &&
           entry.Bytes[1] == MouseMemoryMap::kCommandBracket && entry.Bytes[2] == value;
}

TEST_F(ServiceEndToEnd, EachMessageSendsExactlyItsReports) {
    ASSERT_NO_FATAL_FAILURE(StartService());
    // "Mouse.ini" held without sharing by another program while a case's message is handled.
    std::optional<HeldFile> held;
    // Or the data folder's lock.
    std::optional<HeldLock> lock;
    const std::vector<Bytes> lightingEnd = {WriteReport(0x2E, {2, 0x80, 3, 0x80}),
                                            CommitReport(0x04)};
    const std::vector<HandlerCase> cases = {
        {"lighting",
         [](const CIniFile& ini) {
             ini.WriteInt(L"Setting", L"LedColor", 0x112233);
             ini.WriteInt(L"Setting", L"LedMode", 2);
             WriteLightingMode(ini, {2, 3, 2, 0, 0});
         },
         kMsgLighting, 1, 0,
         Bracketed({WriteReport(0x446, {0, 0}), WriteReport(0x449, {0x33, 0x22, 0x11, 3, 5, 1, 3}),
                    lightingEnd[0], lightingEnd[1]})},
        {"lighting, second variant of mode 2", Nothing, kMsgLighting, 1, 255,
         Bracketed({WriteReport(0x446, {0, 0}), WriteReport(0x449, {0x33, 0x22, 0x11, 3, 5, 2, 3}),
                    lightingEnd[0], lightingEnd[1]})},
        {"lighting from a colour beyond any colour",
         [](const CIniFile& ini) { ini.WriteString(L"Setting", L"LedColor", L"99999999999"); },
         kMsgLighting, 1, 0,
         Bracketed({WriteReport(0x446, {0, 0}), lightingEnd[0], lightingEnd[1]})},
        {"lighting without a mode entry",
         [](const CIniFile& ini) {
             ini.WriteInt(L"Setting", L"LedColor", 0x112233);
             WritePrivateProfileStringW(L"Setting", L"LED_MODE_INFO1", nullptr, ini.Path().c_str());
         },
         kMsgLighting, 1, 0,
         Bracketed({WriteReport(0x446, {0, 0}), lightingEnd[0], lightingEnd[1]})},
        {"nothing", Nothing, kMsgNothing, 0, 0, {}},
        {"tray program while its window exists", Nothing, kMsgShowTray, 0, 0, {}},
        {"whole upload", Nothing, kMsgSendAll, 0, 0, Bracketed(TemplateUpload())},
        {"tray flags", Nothing, kMsgTrayFlags, 0, 0, {}},
        {"wheel lines", Nothing, kMsgWheelLines, 0, 0, {}},
        {"profile register, profile 0",
         [](const CIniFile& ini) { ini.WriteInt(L"Setting", L"Profile", 0); }, kMsgResetProfile, 0,
         0,
         [] {
             auto reports = Bracketed({WriteReport(0x2C, {0, 0}), CommitReport(0x01)});
             reports.push_back(WriteReport(0xEA, {0xFF, 0xFF}));
             return reports;
         }()},
        // Only key 0 or 170 marks the mouse.
        {"profile register, profile 2",
         [](const CIniFile& ini) { ini.WriteInt(L"Setting", L"Profile", 2); }, kMsgResetProfile, 0,
         0, Bracketed({WriteReport(0x2C, {0, 0}), CommitReport(0x01)})},
        {"linked program list", Nothing, kMsgProfilePrograms, 0, 0, {}},
        // Unreadable while another program holds it: the mouse keeps its settings, and the
        // configuration program hears of no take-over until the file is free.
        {"whole apply from a settings file that cannot be read",
         [&held](const CIniFile& ini) {
             ini.WriteInt(L"Setting", L"Profile", 0);
             held.emplace(ini.Path(), 0);
             ASSERT_TRUE(held->Held());
         },
         kMsgApplyAll,
         0,
         1,
         {},
         WholeApply()},
        // The mouse refuses the closing bracket, the last report: it has not taken the whole
        // configuration over, so nothing is answered or written.
        {"whole apply whose closing bracket the mouse refuses",
         [this](const CIniFile& ini) {
             ini.WriteInt(L"Setting", L"FWVersion", 7);
             const std::size_t reports = WholeApply().size();
             ASSERT_EQ(harness_.Simulator().Command("refuse " + std::to_string(reports)), "ok");
         },
         kMsgApplyAll,
         0,
         1,
         WholeApply(),
         {},
         [](const CIniFile& ini) { EXPECT_EQ(ini.ReadInt(L"Setting", L"FWVersion", -1), 7); }},
        // Another program holds the lock while more messages come: once it is free they go out
        // in their order, a later copy of one in the place of the earlier.
        {"whole apply and more while another program holds the lock",
         [&lock](const CIniFile&) {
             lock.emplace();
             ASSERT_TRUE(lock->Held());
         },
         kMsgApplyAll,
         0,
         1,
         {},
         [] {
             auto reports = WholeApply();
             for (const auto& more :
                  {Bracketed({WriteReport(0x2A, {12}), CommitReport(0x08)}),
                   Bracketed({WriteReport(0x42, {1}), CommitReport(0x02)}),
                   Bracketed({WriteReport(0x32, {1, 0, 1, 0, 1, 0}),
                              WriteReport(0x38, {1, 0, 1, 0}), CommitReport(0x08)}),
                   Bracketed({})}) {
                 reports.insert(reports.end(), more.begin(), more.end());
             }
             return reports;
         }(),
         Nothing,
         {{kMsgPollingRate, 0, 0},
          {kMsgDoubleClickSpeed, 0, 0},
          {kMsgCurrentDpiStage, 0, 0},
          {kMsgPollingRate, 0, 0},
          {kMsgBracketOnly, 0, 0}}},
        {"session change", Nothing, WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 1, {}},
        // An emptied settings file holds no settings: nothing goes to the mouse.
        {"whole apply from an empty settings file",
         [](const CIniFile& ini) {
             std::ofstream(std::filesystem::path(ini.Path()), std::ios::trunc);
         },
         kMsgApplyAll,
         0,
         1,
         {}},
    };
    for (const HandlerCase& c : cases) {
        SCOPED_TRACE(c.Name);
        c.Prepare(*settings_);
        const auto first = harness_.Simulator().NextSequence();
        harness_.Config().Clear();
        // Sent: the handler has run when the call returns, so nothing more can come.
        ASSERT_TRUE(harness_.SendAndWait(c.Message, c.WParam, c.LParam));
        PumpUntil([] { return false; }, 0);
        const Reports sent = harness_.Simulator().SentFeatureReports(first);
        ASSERT_EQ(sent.size(), c.Expected.size()) << testing::PrintToString(Summaries(sent));
        for (std::size_t i = 0; i < sent.size(); ++i) {
            EXPECT_EQ(sent[i], c.Expected[i]) << "report " << i << ": " << HexOf(sent[i]);
        }
        EXPECT_TRUE(harness_.Config().Messages().empty());
        c.After(*settings_);
        for (const SentMessage& behind : c.Behind) {
            ASSERT_TRUE(harness_.SendAndWait(behind.Id, behind.WParam, behind.LParam));
        }
        if (held || lock) {
            // Waited for, not lost: handled once the file or the lock is free.
            held.reset();
            lock.reset();
            const auto closings = [&] {
                return std::ranges::count_if(harness_.Simulator().Log(first),
                                             [](const auto& entry) { return IsBracket(entry, 1); });
            };
            const auto closingsOnceFree = std::ranges::count(c.ExpectedOnceFree, BracketReport(1));
            if (closingsOnceFree > 1) {
                // The window answers between the brackets of the messages that waited: before
                // the last of them has gone out.
                ASSERT_TRUE(PumpUntil([&] { return closings() > 0; }, ServiceHarness::kTimeoutMs));
                ASSERT_TRUE(harness_.SendAndWait(WM_NULL));
                EXPECT_LT(closings(), closingsOnceFree);
            }
            EXPECT_TRUE(PumpUntil(
                [&] {
                    return closings() == closingsOnceFree && !harness_.Config().Messages().empty();
                },
                ServiceHarness::kTimeoutMs));
            EXPECT_EQ(harness_.Config().Count(kMsgServiceEvent, kEventApplied, 0), 1);
            EXPECT_EQ(Summaries(harness_.Simulator().SentFeatureReports(first)),
                      Summaries(c.ExpectedOnceFree));
        }
    }
}

TEST_F(ServiceEndToEnd, ABurstOfOneMessageReachesTheMouseAsItsLastPost) {
    ASSERT_NO_FATAL_FAILURE(StartService());
    // Stage 1 as the slider left it: value 40, code 47.
    const std::array<std::int32_t, 4> stage{0, 40, 40, 40};
    std::array<std::uint8_t, sizeof stage> bytes{};
    std::memcpy(bytes.data(), stage.data(), sizeof stage);
    ASSERT_TRUE(settings_->WriteStruct(L"Setting", L"DPI_INFO2", bytes));
    const Bytes expected = WriteReport(0x4A, {1, 47, 0, 47, 0});

    const auto first = harness_.Simulator().NextSequence();
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(harness_.Post(kMsgDpiStage, 1, 0));
    }
    // A marker behind the burst: the only apply with nothing between its brackets.
    ASSERT_TRUE(harness_.Post(kMsgBracketOnly));
    std::vector<SimulatorClient::Entry> log;
    ULONGLONG lastLook = 0;
    ASSERT_TRUE(PumpUntil(
        [&] {
            if (GetTickCount64() - lastLook < 50) {
                return false;
            }
            lastLook = GetTickCount64();
            log = harness_.Simulator().Log(first);
            for (std::size_t i = 1; i < log.size(); ++i) {
                if (IsBracket(log[i - 1], 0) && IsBracket(log[i], 1)) {
                    return true;
                }
            }
            return false;
        },
        3 * ServiceHarness::kTimeoutMs));

    std::vector<Bytes> applies;
    for (const auto& entry : log) {
        if (entry.Call == "hid_send_feature_report" && Summary(entry.Bytes) == "write 004a") {
            applies.push_back(entry.Bytes);
        }
    }
    // The first post may be taken before the others arrive; the rest collapse into one.
    EXPECT_GE(applies.size(), 1u);
    EXPECT_LE(applies.size(), 2u);
    ASSERT_FALSE(applies.empty());
    EXPECT_EQ(applies.back(), expected);
    EXPECT_EQ(harness_.Simulator().Command("memory 4a 5").value_or(""), "01 2f 00 2f 00");
}

} // namespace
