// The reports each sender puts on the wire, byte for byte, and what the mouse's memory holds
// afterwards.

#include "service/CFeatureReports.h"
#include "service/CMouseConnection.h"
#include "service/CSettingsSender.h"
#include "shared/codes/MacroFile.h"
#include "shared/store/CIniFile.h"
#include "shared/store/SettingsIni.h"
#include "tests/service/HidTestSupport.h"

#include <atomic>
#include <climits>
#include <functional>
#include <optional>
#include <thread>

using namespace hidsim;

namespace {

struct SystemCall {
    UINT Action;
    UINT Param;
    UINT_PTR Value;
    UINT Flags;
    bool operator==(const SystemCall&) const = default;
};

std::vector<WPARAM> settingChanges;

// How long a test waits for another thread before it fails: generous, as it only keeps a test
// whose thread never gets there from running forever.
constexpr ULONGLONG kGiveUpMs = 60000;

LRESULT CALLBACK RecordingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTINGCHANGE) {
        settingChanges.push_back(wParam);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

ButtonAssignment Button(int index, std::uint8_t code, std::uint8_t param1 = 1,
                        std::vector<std::uint8_t> data = {}, const wchar_t* text = L"") {
    ButtonAssignment entry{};
    entry.ButtonNumber = static_cast<std::uint8_t>(index + 1);
    entry.FunctionCode = code;
    entry.Param1 = param1;
    std::copy(data.begin(), data.end(), entry.Data.begin());
    std::wcsncpy(entry.Text.data(), text, entry.Text.size() - 1);
    return entry;
}

class SettingsSenderTest : public SimulatedMouseTest {
protected:
    void SetUp() override {
        SimulatedMouseTest::SetUp();
        connection_.SetupDeviceTable();
        connection_.EnumerateMouse();
        connection_.OpenMouse(CMouseConnection::kVendorId, CMouseConnection::kProductId);
        ASSERT_TRUE(connection_.IsControlOpen());
        SettingsRecord_FillDefaults(settings_, 0);
        settings_.Profile = 0;
        settings_.PollingRate = 3;
        settings_.DPI = 2;
        settings_.DPI_INFO[2][1] = 121;
        settings_.LedColor = 0x0000FF;
        settings_.LedMode = 2;
        settings_.ButtonAssigned[6] = Button(6, 118);
        for (int i = 0; i < kButtonCount; ++i) {
            settings_.ButtonAssigned[static_cast<std::size_t>(i)].ButtonNumber =
                static_cast<std::uint8_t>(i + 1);
        }
        sender_.SetSystemParameters([this](UINT action, UINT param, PVOID value, UINT flags) {
            if (action == SPI_GETWHEELSCROLLLINES) {
                if (!systemWheelLines_) {
                    return FALSE;
                }
                *static_cast<UINT*>(value) = *systemWheelLines_;
                return TRUE;
            }
            systemCalls_.push_back({action, param, reinterpret_cast<UINT_PTR>(value), flags});
            return TRUE;
        });
        ClearLog();
    }

    void ListMacro(int position, const std::wstring& name) {
        CIniFile(folder_.SettingsFile())
            .WriteString(L"MACRO_LIST", std::to_wstring(position), name);
    }

    ScratchFolder folder_;
    CMouseConnection connection_;
    CFeatureReports reports_{connection_};
    SettingsRecord settings_{};
    CSettingsSender sender_{reports_, settings_, folder_.SettingsFile(), folder_.MacroFolder()};
    std::vector<SystemCall> systemCalls_;
    // What the system answers for its wheel-scroll lines; none: the query fails.
    std::optional<UINT> systemWheelLines_;
};

struct SenderCase {
    const char* Name;
    std::function<int(CSettingsSender&)> Send;
    std::vector<Bytes> Expected;
};

TEST_F(SettingsSenderTest, EachSingleSettingSender) {
    const std::vector<SenderCase> cases = {
        {"bracket open", [](auto& s) { return s.SendUpdateBracket(0); }, {BracketReport(0)}},
        {"bracket close", [](auto& s) { return s.SendUpdateBracket(1); }, {BracketReport(1)}},
        {"register 3E", [](auto& s) { return s.ClearRegister3E(); }, {WriteReport(0x3E, {0, 0})}},
        {"polling rate",
         [](auto& s) { return s.SendPollingRate(true); },
         {WriteReport(0x32, {3, 0, 3, 0, 3, 0}), WriteReport(0x38, {3, 0, 3, 0}),
          CommitReport(0x08)}},
        {"polling rate without commit",
         [](auto& s) { return s.SendPollingRate(false); },
         {WriteReport(0x32, {3, 0, 3, 0, 3, 0}), WriteReport(0x38, {3, 0, 3, 0})}},
        {"current dpi stage",
         [](auto& s) { return s.SendCurrentDpiStage(true); },
         {WriteReport(0x42, {2}), CommitReport(0x02)}},
        {"dpi stage 121",
         [](auto& s) { return s.SendDpiStage(2, true); },
         {WriteReport(0x50, {1, 72, 1, 72, 1}), CommitReport(0x02)}},
        {"dpi stage without commit",
         [](auto& s) { return s.SendDpiStage(0, false); },
         {WriteReport(0x44, {1, 6, 0, 6, 0})}},
        {"double-click register",
         [](auto& s) { return s.SendDoubleClickSpeedRegister(true); },
         {WriteReport(0x2A, {12}), CommitReport(0x08)}},
        {"profile register",
         [](auto& s) { return s.ResetProfileRegister(true); },
         {WriteReport(0x2C, {0, 0}), CommitReport(0x01)}},
        {"profile register without commit",
         [](auto& s) { return s.ResetProfileRegister(false); },
         {WriteReport(0x2C, {0, 0})}},
        {"button 0",
         [](auto& s) { return s.SendButtonAssignment(0, 0); },
         {WriteReport(0x82, {0x81, 0, 0, 0})}},
        {"button 5",
         [](auto& s) { return s.SendButtonAssignment(0, 5); },
         {WriteReport(0x96, {0x88, 0, 0, 0})}},
        {"button 6 to slot 10",
         [](auto& s) { return s.SendButtonAssignment(1, 6); },
         {WriteReport(0xAA, {0x8E, 1, 251, 6})}},
        {"button 7 to slot 11",
         [](auto& s) { return s.SendButtonAssignment(0, 7); },
         {WriteReport(0xAE, {0x8C, 0, 0, 0})}},
        {"lighting",
         [](auto& s) { return s.SendLighting(7, 255); },
         {WriteReport(0x446, {0, 0}), WriteReport(0x449, {0xFF, 0, 0, 3, 5, 2, 3}),
          WriteReport(0x2E, {2, 0x80, 3, 0x80}), CommitReport(0x04)}},
        {"register EA 170",
         [](auto& s) { return s.SendRegisterEA(170); },
         {WriteReport(0xEA, {0xFF, 0xFF})}},
        {"register EA 0",
         [](auto& s) { return s.SendRegisterEA(0); },
         {WriteReport(0xEA, {0xFF, 0xFF})}},
        {"commit all", [](auto& s) { return s.CommitAll(); }, {CommitReport(0x0E)}},
    };
    for (const SenderCase& c : cases) {
        ClearLog();
        EXPECT_EQ(c.Send(sender_), 1) << c.Name;
        EXPECT_EQ(SentFeatureReports(), c.Expected) << c.Name;
    }
    EXPECT_TRUE(systemCalls_.empty());
}

TEST_F(SettingsSenderTest, RequestsOutsideTheirRangeSendNothing) {
    EXPECT_EQ(sender_.SendRegisterEA(23), 0);
    EXPECT_EQ(sender_.SendRegisterEA(-1), 0);
    EXPECT_EQ(sender_.SendDpiStage(4, true), 0);
    EXPECT_EQ(sender_.SendDpiStage(-1, true), 0);
    EXPECT_EQ(sender_.SendButtonAssignment(5, 0), 0);
    EXPECT_EQ(sender_.SendButtonAssignment(0, 8), 0);
    EXPECT_EQ(sender_.SendButtonAssignment(0, -1), 0);
    EXPECT_EQ(sender_.SendUpdateBracket(2), 0);
    EXPECT_TRUE(SentFeatureReports().empty());
}

TEST_F(SettingsSenderTest, BracketsPauseAtLeastOneHundredMilliseconds) {
    sender_.SendUpdateBracket(0);
    sender_.CommitAll();
    sender_.SendUpdateBracket(1);
    sender_.CommitAll();
    const auto transfers = FeatureTransfers();
    ASSERT_EQ(transfers.size(), 4u);
    EXPECT_GE(transfers[1].Time - transfers[0].Time, std::chrono::milliseconds(100));
    EXPECT_GE(transfers[3].Time - transfers[2].Time, std::chrono::milliseconds(100));
    EXPECT_FALSE(InUpdateBracket());
}

TEST_F(SettingsSenderTest, WholeUploadFromMouseIniReportForReport) {
    SettingsRecord stored = settings_;
    stored.PollingRate = 2;
    stored.DPI = 1;
    stored.DPI_INFO = {{{0, 6, 6, 6}, {0, 40, 40, 40}, {0, 120, 120, 120}, {0, 150, 150, 150}}};
    stored.DoubleClickSpeed = 12;
    stored.UniversalScrollEnabled = 0;
    stored.WheelScrollLines = 3;
    stored.ButtonAssigned = {Button(0, 1),
                             Button(1, 2),
                             Button(2, 3),
                             Button(3, 6, 2, {}, L"Reload"),
                             Button(4, 99, 1, {0x80, 0xE0, 0x80, 0x06, 0x00, 0x06, 0x00, 0xE0}),
                             Button(5, 15, 2),
                             Button(6, 118, 1, {}, L"C:\\Tools\\tool.exe"),
                             Button(7, 49)};
    ASSERT_EQ(SettingsIni_Write(stored, folder_.SettingsFile()), 1);
    ListMacro(3, L"Reload");
    SettingsRecord loaded{};
    SettingsRecord_Reset(loaded);
    SettingsIni_Read(loaded, folder_.SettingsFile(), -1);
    SettingsRecord_Assign(settings_, loaded);

    sender_.SendUpdateBracket(0);
    EXPECT_EQ(sender_.SendAll2Mouse(), 1);
    sender_.CommitAll();
    sender_.SendUpdateBracket(1);

    const std::vector<Bytes> expected = {
        BracketReport(0),
        WriteReport(0x3E, {0, 0}),
        WriteReport(0x32, {2, 0, 2, 0, 2, 0}),
        WriteReport(0x38, {2, 0, 2, 0}),
        WriteReport(0x42, {1}),
        WriteReport(0x44, {1, 6, 0, 6, 0}),
        WriteReport(0x4A, {1, 47, 0, 47, 0}),
        WriteReport(0x50, {1, 143, 0, 143, 0}),
        WriteReport(0x56, {1, 107, 1, 107, 1}),
        WriteReport(0x2A, {12}),
        CommitReport(0x08),
        WriteReport(0x2C, {0, 0}),
        CommitReport(0x01),
        WriteReport(0x82, {0x81, 0, 0, 0}),
        WriteReport(0x86, {0x82, 0, 0, 0}),
        WriteReport(0x8A, {0x83, 0, 0, 0}),
        WriteReport(0x8E, {0x91, 4, 2, 0}),
        WriteReport(0x92, {0x8F, 1, 0x06, 0}),
        WriteReport(0x96, {0x9A, 1, 3, 3}),
        WriteReport(0xAA, {0x8E, 1, 250, 6}),
        WriteReport(0xAE, {0x8C, 0, 0, 0}),
        WriteReport(0xEA, {0xFF, 0xFF}),
        CommitReport(0x01),
        CommitReport(0x02),
        CommitReport(0x01),
        CommitReport(0x0E),
        BracketReport(1),
    };
    const auto sent = SentFeatureReports();
    ASSERT_EQ(sent.size(), 27u);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(sent[i], expected[i]) << "report " << i << ": " << HexOf(sent[i]);
    }
    EXPECT_EQ(PendingCommitGroups(), 0u);
    EXPECT_EQ(ReadMemory(0x008E, 4), (Bytes{0x91, 4, 2, 0}));
    EXPECT_EQ(systemCalls_, (std::vector<SystemCall>{{SPI_SETWHEELSCROLLLINES, 3, 0,
                                                      SPIF_UPDATEINIFILE | SPIF_SENDCHANGE}}));
}

TEST_F(SettingsSenderTest, MacroButtonWithoutListedMacroIsSkipped) {
    settings_.ButtonAssigned[2] = Button(2, 6, 1, {}, L"Gone");
    ListMacro(0, L"Other");
    EXPECT_EQ(sender_.SendButtonAssignment(0, 2), 0);
    EXPECT_TRUE(SentFeatureReports().empty());
    EXPECT_EQ(sender_.SendAll2Mouse(), 1);
    const auto sent = SentFeatureReports();
    EXPECT_EQ(sent.size(), 23u);
    for (const Bytes& report : sent) {
        EXPECT_FALSE(report[1] == 0xF3 && report[2] == 0x8A) << HexOf(report);
    }
    EXPECT_EQ(sent.back(), CommitReport(0x01));
}

TEST_F(SettingsSenderTest, MacrosGoToTheirSlotsWithTheEndMark) {
    const std::vector<std::uint16_t> addresses = {0x0478, 0x0540, 0x06D0, 0x0798, 0x0860, 0x0928};
    for (int position = 0; position < 6; ++position) {
        ClearLog();
        EXPECT_EQ(sender_.SendMacro(position, true), 1);
        EXPECT_EQ(SentFeatureReports(),
                  std::vector<Bytes>{BlockWriteReport(addresses[static_cast<std::size_t>(position)],
                                                      Bytes(200, 0))})
            << position;
    }

    MacroEventBuffer events{};
    events[0] = MacroEvent::KeyEvent(0x2C, true);
    events[1] = MacroEvent::DelayEvent(5);
    events[2] = MacroEvent::KeyEvent(0x2C, false);
    ASSERT_TRUE(MacroFile::ForName(folder_.MacroFolder(), L"Jump")->Write(events, 3, 0));
    ListMacro(4, L"Jump");
    ClearLog();
    EXPECT_EQ(sender_.SendMacro(4, false), 1);
    Bytes data(200, 0);
    const Bytes used = {0x84, 0x2C, 0, 0x06, 5, 0, 0x04, 0x2C, 0};
    std::copy(used.begin(), used.end(), data.begin());
    data[195] = data[196] = data[197] = 0xFF;
    EXPECT_EQ(SentFeatureReports(), std::vector<Bytes>{BlockWriteReport(0x0860, data)});
    EXPECT_EQ(ReadMemory(0x0860, 200), data);
}

TEST_F(SettingsSenderTest, MacroPositionOutsideTheListWritesNothing) {
    const Bytes profile4(200, 0xAA);
    LoadMemory(0x0310, profile4);
    ListMacro(0, L"Jump");
    EXPECT_EQ(sender_.SendMacro(-1, false), 0);
    EXPECT_EQ(sender_.SendMacro(6, false), 0);
    EXPECT_EQ(sender_.SendMacro(-1, true), 0);
    EXPECT_TRUE(SentFeatureReports().empty());
    EXPECT_EQ(ReadMemory(0x0310, 200), profile4);

    // A count past the event buffer is cut to the sixty events there are.
    const CIniFile file(folder_.MacroFolder() + L"Jump.MACRO");
    file.WriteInt(L"Setting", L"Count", 1000);
    file.WriteStruct(L"Setting", L"MacroSetting_0", Bytes(180, 0x11));
    EXPECT_EQ(sender_.SendMacro(0, false), 1);
    Bytes expected(200, 0x11);
    std::fill(expected.begin() + 180, expected.end(), 0);
    expected[195] = expected[196] = expected[197] = 0xFF;
    EXPECT_EQ(ReadMemory(0x0478, 200), expected);
}

TEST_F(SettingsSenderTest, NothingReachesHidapiWhileTheMouseIsClosed) {
    connection_.CloseMouse();
    ClearLog();
    ListMacro(0, L"Jump");
    EXPECT_EQ(sender_.SendUpdateBracket(0), 0);
    EXPECT_EQ(sender_.ClearRegister3E(), 0);
    EXPECT_EQ(sender_.SendPollingRate(true), 0);
    EXPECT_EQ(sender_.SendCurrentDpiStage(true), 0);
    EXPECT_EQ(sender_.SendDpiStage(1, true), 0);
    EXPECT_EQ(sender_.SendDoubleClickSpeedRegister(true), 0);
    EXPECT_EQ(sender_.ResetProfileRegister(true), 0);
    EXPECT_EQ(sender_.SendButtonAssignment(0, 6), 0);
    EXPECT_EQ(sender_.SendLighting(0, 0), 0);
    EXPECT_EQ(sender_.SendRegisterEA(170), 0);
    EXPECT_EQ(sender_.CommitAll(), 0);
    EXPECT_EQ(sender_.SendMacro(0, false), 0);
    sender_.SendAll2Mouse();
    std::array<std::uint8_t, 8> value{};
    EXPECT_FALSE(reports_.ReadRegister(0x002C, std::span(value.data(), 2)));
    EXPECT_TRUE(Log().empty());
}

TEST_F(SettingsSenderTest, ValuesTheMouseCannotTakeAreNotWritten) {
    const Bytes before = {7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7,
                          7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7};
    LoadMemory(0x002A, before);      // 0x2A to 0x59: registers and all DPI stages
    settings_.DPI = -1;              // a missing "DPI" key
    settings_.DoubleClickSpeed = -1; // a missing "DoubleClickSpeed" key
    settings_.PollingRate = -1;      // a missing "PollingRate" key
    settings_.DPI_INFO[1][1] = -1;   // a stage the file did not hold
    settings_.DPI_INFO[2][1] = 181;  // beyond the code table
    settings_.DPI_INFO[3][1] = 100;
    sender_.SendAll2Mouse();
    const auto memory = ReadMemory(0x002A, before.size());
    EXPECT_EQ(memory[0x2A - 0x2A], 7); // double-click speed kept
    EXPECT_EQ(memory[0x32 - 0x2A], 7); // polling rate kept
    EXPECT_EQ(memory[0x38 - 0x2A], 7);
    EXPECT_EQ(memory[0x42 - 0x2A], 7);       // current stage kept
    EXPECT_EQ(memory[0x4A - 0x2A], 7);       // stage 1 kept
    EXPECT_EQ(memory[0x50 - 0x2A], 7);       // stage 2 kept
    EXPECT_EQ(memory[0x56 - 0x2A + 1], 119); // stage 3 written
    EXPECT_EQ(Commits(), (std::vector<unsigned>{0x08, 0x01, 0x01, 0x02, 0x01}));

    settings_.Profile = 7;
    settings_.DPI = 1;
    ClearLog();
    EXPECT_EQ(sender_.SendCurrentDpiStage(true), 1);
    EXPECT_EQ(SentFeatureReports(), std::vector<Bytes>{CommitReport(0x02)});

    // Lighting from a file without a usable colour or mode entry keeps the mouse's lighting;
    // the rest of the step still goes.
    struct LightingCase {
        const char* Name;
        std::int32_t Color;
        std::int32_t Level;
    };
    const std::vector<LightingCase> lighting = {
        {"colour missing", -1, 3},
        {"colour clamped to the int maximum", INT_MAX, 3},
        {"colour at the int minimum", INT_MIN, 3},
        {"mode entry missing", 0x0000FF, -1},
    };
    const Bytes held = {1, 2, 3, 4, 5, 6, 7};
    for (const LightingCase& c : lighting) {
        LoadMemory(0x0449, held);
        settings_.LedColor = c.Color;
        settings_.LED_MODE_INFO[0] = {c.Level, c.Level, c.Level, c.Level, c.Level};
        ClearLog();
        EXPECT_EQ(sender_.SendLighting(0, 0), 1) << c.Name;
        EXPECT_EQ(SentFeatureReports(),
                  (std::vector<Bytes>{WriteReport(0x446, {0, 0}),
                                      WriteReport(0x2E, {2, 0x80, 3, 0x80}), CommitReport(0x04)}))
            << c.Name;
        EXPECT_EQ(ReadMemory(0x0449, held.size()), held) << c.Name;
    }
}

TEST_F(SettingsSenderTest, PointerSpeedOnlyFromValidSteps) {
    for (int step : {0, 12, -1}) {
        settings_.Acceleration = step;
        EXPECT_EQ(sender_.ApplyPointerSpeed(), 0) << step;
    }
    EXPECT_TRUE(systemCalls_.empty());
    const std::vector<std::pair<int, UINT_PTR>> speeds = {{1, 1}, {2, 2}, {6, 10}, {11, 20}};
    for (const auto& [step, speed] : speeds) {
        systemCalls_.clear();
        settings_.Acceleration = step;
        EXPECT_EQ(sender_.ApplyPointerSpeed(), 1);
        EXPECT_EQ(systemCalls_,
                  (std::vector<SystemCall>{{SPI_SETMOUSESPEED, 0, speed, SPIF_SENDCHANGE}}));
    }
}

TEST_F(SettingsSenderTest, WheelLinesOnlyFromValidSettings) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = RecordingWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"V212 HID Test Window";
    RegisterClassW(&windowClass);
    HWND owner = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                 nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(owner, nullptr);
    sender_.SetOwnerWindow(owner);
    struct WheelCase {
        int UniversalScroll;
        int Lines;
        std::optional<UINT> Applied;
    };
    const std::vector<WheelCase> cases = {
        {1, 3, WHEEL_PAGESCROLL},
        {0, 3, 3u},
        {-1, 5, 5u},
        {2, 4, 4u},
        {0, 100, 100u},
        {0, -1, {}},
        {0, 0, {}},
        {-1, -1, {}},
        {0, 101, {}},
        {1, -1, WHEEL_PAGESCROLL},
    };
    for (const WheelCase& c : cases) {
        systemCalls_.clear();
        settingChanges.clear();
        settings_.UniversalScrollEnabled = c.UniversalScroll;
        settings_.WheelScrollLines = c.Lines;
        EXPECT_EQ(sender_.ApplyWheelScrollLines(), c.Applied ? 1 : 0);
        std::vector<SystemCall> expected;
        std::vector<WPARAM> changes;
        if (c.Applied) {
            expected.push_back(
                {SPI_SETWHEELSCROLLLINES, *c.Applied, 0, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE});
            changes.push_back(105);
        }
        EXPECT_EQ(systemCalls_, expected) << c.UniversalScroll << " " << c.Lines;
        EXPECT_EQ(settingChanges, changes);
    }

    // The value the system already holds is neither set nor announced; any other value is.
    struct HeldCase {
        int UniversalScroll;
        int Lines;
        UINT Held;
        bool Set;
    };
    const std::vector<HeldCase> held = {
        {0, 3, 3u, false}, {1, 3, WHEEL_PAGESCROLL, false},  {0, 3, 4u, true},
        {1, 3, 3u, true},  {0, 100, WHEEL_PAGESCROLL, true},
    };
    for (const HeldCase& c : held) {
        systemCalls_.clear();
        settingChanges.clear();
        systemWheelLines_ = c.Held;
        settings_.UniversalScrollEnabled = c.UniversalScroll;
        settings_.WheelScrollLines = c.Lines;
        EXPECT_EQ(sender_.ApplyWheelScrollLines(), 1);
        EXPECT_EQ(systemCalls_.size(), c.Set ? 1u : 0u) << c.Lines << " held " << c.Held;
        EXPECT_EQ(settingChanges.size(), c.Set ? 1u : 0u);
    }
    DestroyWindow(owner);
}

TEST_F(SettingsSenderTest, CurrentDpiStageTakesTheProfileUnderTheGuard) {
    // The readers change "Profile" under the guard: a send meanwhile waits for them and then
    // goes to the profile they stored.
    CSettingsGuard guard{settings_};
    sender_.SetGuard(&guard);
    settings_.Profile = 0;
    settings_.DPI = 2;
    std::atomic<bool> started{false};
    std::atomic<bool> sent{false};
    std::thread window;
    {
        const auto lock = guard.Lock();
        window = std::thread([&] {
            started = true;
            sender_.SendCurrentDpiStage(true);
            sent = true;
        });
        const ULONGLONG deadline = GetTickCount64() + kGiveUpMs;
        while (!started && GetTickCount64() < deadline) {
            Sleep(1);
        }
        EXPECT_TRUE(started);
        // Time enough for a send that does not wait to show itself.
        Sleep(100);
        EXPECT_FALSE(sent);
        settings_.Profile = 3;
    }
    window.join();
    EXPECT_TRUE(sent);
    EXPECT_EQ(SentFeatureReports(),
              (std::vector<Bytes>{WriteReport(0x262, {2}), CommitReport(0x02)}));
}

// Reports whose two transfers belong together: a write and its commit, a read request and its
// reply. Each pair must come from one thread with nothing between.
void ExpectWholeSequences(const std::vector<LogEntry>& transfers) {
    ASSERT_EQ(transfers.size() % 2, 0u);
    for (std::size_t i = 0; i < transfers.size(); i += 2) {
        const LogEntry& first = transfers[i];
        const LogEntry& second = transfers[i + 1];
        ASSERT_EQ(first.Thread, second.Thread) << "transfer " << i;
        ASSERT_EQ(first.Function, Call::SendFeatureReport) << "transfer " << i;
        if (first.Bytes[1] == 0xF2) {
            ASSERT_EQ(second.Function, Call::GetFeatureReport) << "transfer " << i;
        } else {
            ASSERT_EQ(first.Bytes[1], 0xF3) << "transfer " << i;
            ASSERT_EQ(second.Function, Call::SendFeatureReport) << "transfer " << i;
            ASSERT_EQ(second.Bytes[1], 0xF1) << "transfer " << i;
        }
    }
}

TEST_F(SettingsSenderTest, ReadersAndWindowNeverInterleaveOnTheControlHandle) {
    SetTransferLatency(std::chrono::microseconds(50));
    std::atomic<int> handled{0};
    connection_.SetReportHandler([&](int, InputReport) {
        // What a profile-step button does on its reader: reset the register, then look at it.
        sender_.ResetProfileRegister(true);
        std::array<std::uint8_t, 2> value{};
        EXPECT_TRUE(reports_.ReadRegister(0x002C, value));
        ++handled;
    });
    connection_.StartReaders();
    std::atomic<bool> injecting{true};
    std::thread injector([&] {
        const std::array<std::uint8_t, 8> report{0x01, 0xFF, 23};
        for (int channel = 0; injecting; channel ^= 1) {
            InjectInputReport(channel, report);
            Sleep(2);
        }
    });
    const ULONGLONG deadline = GetTickCount64() + kGiveUpMs;
    for (int change = 0; change < 1000 || (handled < 20 && GetTickCount64() < deadline); ++change) {
        settings_.DPI_INFO[static_cast<std::size_t>(change % 4)][1] = change % 181;
        sender_.SendDpiStage(change % 4, true);
        std::array<std::uint8_t, 5> stage{};
        EXPECT_TRUE(
            reports_.ReadRegister(static_cast<std::uint16_t>(0x44 + 6 * (change % 4)), stage));
    }
    injecting = false;
    injector.join();
    connection_.StopReaders();
    EXPECT_GE(handled.load(), 20);
    ExpectWholeSequences(FeatureTransfers());
}

} // namespace
