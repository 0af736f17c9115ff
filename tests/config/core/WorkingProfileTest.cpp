#include "config/core/WorkingProfile.h"

#include "config/core/ServiceWindow.h"
#include "shared/store/CIniFile.h"
#include "tests/config/core/ProfileTestSupport.h"
#include "tests/tolvane/MessagePump.h"
#include "tests/tolvane/RecorderWindow.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <optional>

namespace {

using ProfileEdits::DoubleClickButton;
using Field = std::function<int(const SettingsRecord&)>;

// A working profile on a fresh data folder whose current profile is "Game".
struct Edited {
    ProfileFolder folder;
    WorkingProfile profile{folder.Paths()};

    Edited() {
        profile.SetNameSource([] { return std::wstring(L"Game"); });
        profile.Load(-1);
    }
    std::string Settings() const { return ReadFileBytes(folder.Paths().SettingsFile()); }
    std::string GameFile() const { return ReadFileBytes(folder.ProfileFile(L"Game")); }
};

} // namespace

// Every direct edit writes "Mouse.ini", posts its message only while the service window exists,
// and (all but the apply) leaves the profile's own file a copy of "Mouse.ini".
TEST(WorkingProfile, EditsStoreAndNotify) {
    struct Row {
        const char* what;
        std::function<void(WorkingProfile&)> edit;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        Field field;
        int expected;
        bool copies = true;
    };
    const Row rows[] = {
        {"colour chosen", [](WorkingProfile& p) { p.SetLedColor(RGB(1, 2, 3)); }, 0x4CB, 0, 0,
         [](const SettingsRecord& r) { return r.LedColor; }, static_cast<int>(RGB(1, 2, 3))},
        // The colour boxes also update the profile file.
        {"colour boxes", [](WorkingProfile& p) { p.CommitColourTexts(2, L"300", L"-4", L"7"); },
         0x4CB, 2, 0, [](const SettingsRecord& r) { return r.LedColor; },
         static_cast<int>(RGB(255, 0, 7))},
        {"preset colour clears the slot's mode value",
         [](WorkingProfile& p) {
             p.Working().LED_MODE_INFO[1][0] = 5;
             p.SetSlotColour(1, RGB(255, 128, 0));
         },
         0x4CB, 1, 0, [](const SettingsRecord& r) { return r.LED_MODE_INFO[1][0]; }, 0},
        {"wheel lines 250", [](WorkingProfile& p) { p.CommitWheelLines(L"250"); }, 0x50F, 0, 0,
         [](const SettingsRecord& r) { return r.WheelScrollLines; }, 100},
        // The scroll buttons keep the typed lines within 1 to 100 as the box does.
        {"universal scroll with 0 lines",
         [](WorkingProfile& p) { p.SetUniversalScroll(true, L"0"); }, 0x50F, 0, 0,
         [](const SettingsRecord& r) { return r.WheelScrollLines * 10 + r.UniversalScrollEnabled; },
         11},
        {"wheel lines up", [](WorkingProfile& p) { p.StepWheelLines(1); }, 0x50F, 0, 0,
         [](const SettingsRecord& r) { return r.WheelScrollLines; }, 4},
        {"DPI stage 1234", [](WorkingProfile& p) { p.CommitDpiStage(L"1234"); }, 0x516, 1, 0,
         [](const SettingsRecord& r) { return r.DPI_INFO[1][1]; }, 12},
        // The polling rate also updates the profile file.
        {"polling rate 500", [](WorkingProfile& p) { p.SetPollingRateFromMenu(40026); }, 0x4FD, 0,
         2, [](const SettingsRecord& r) { return r.PollingRate; }, 2},
        {"active stage", [](WorkingProfile& p) { p.SelectDpiStage(3); }, 0x511, 0, 0,
         [](const SettingsRecord& r) { return r.DPI; }, 3},
        {"double-click C from 12",
         [](WorkingProfile& p) { p.SetDoubleClick(DoubleClickButton::C); }, 0x510, 0, 0,
         [](const SettingsRecord& r) { return r.DoubleClickSpeed; }, 128},
        {"DPI slider 121", [](WorkingProfile& p) { p.OnSliderChanged(121, 10001, 0); }, 0x516, 1, 0,
         [](const SettingsRecord& r) { return r.DPI_INFO[1][1]; }, 120},
        {"lighting speed slider", [](WorkingProfile& p) { p.OnSliderChanged(3, 10008, 3); }, 0x4CB,
         3, 0, [](const SettingsRecord& r) { return r.LED_MODE_INFO[3][2]; }, 3},
        {"pointer speed slider", [](WorkingProfile& p) { p.OnSliderChanged(9, 10010, 0); }, 0x511,
         255, 255, [](const SettingsRecord& r) { return r.Acceleration; }, 9},
        {"lighting defaults",
         [](WorkingProfile& p) {
             p.Working().LedColor = 77;
             p.ResetLighting(2);
         },
         0x4CB, 2, 0, [](const SettingsRecord& r) { return r.LedColor; }, 255},
        {"apply with flag 0",
         [](WorkingProfile& p) {
             p.Working().MouseSensitivity = 9;
             p.ApplyToDevice(0);
         },
         0x4FF, 0, 1, [](const SettingsRecord& r) { return r.MouseSensitivity; }, 9, false},
        {"apply with flag 1", [](WorkingProfile& p) { p.ApplyToDevice(1); }, 0x4FF, 0, 0,
         [](const SettingsRecord& r) { return r.PollingRate; }, 1, false},
    };
    for (const bool serviceRuns : {true, false}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(row.what) + (serviceRuns ? " (service)" : " (no service)"));
            Edited state;
            std::optional<RecorderWindow> service;
            if (serviceRuns) {
                service.emplace(L"V212Hid");
            }
            row.edit(state.profile);
            DispatchPending();
            EXPECT_EQ(row.expected, row.field(*ReadRecord(state.folder.Paths().SettingsFile())));
            EXPECT_EQ(row.expected, row.field(state.profile.Working()));
            if (row.copies) {
                EXPECT_EQ(state.Settings(), state.GameFile());
            } else {
                EXPECT_FALSE(state.folder.HasProfile(L"Game"));
            }
            if (service) {
                ASSERT_EQ(1u, service->Messages().size());
                EXPECT_EQ(1, service->Count(row.message, row.wParam, row.lParam));
            }
        }
    }
}

// A slider that reports the value it already reported sends nothing, unless the record no longer
// holds that value (another stage or profile became current meanwhile).
TEST(WorkingProfile, SliderRepeats) {
    struct Step {
        int value;
        int slider;
        int slot;
        std::function<void(WorkingProfile&)> before;
    };
    struct Row {
        const char* what;
        std::vector<Step> steps;
        int posts;
        bool lastMoves;
        int lastPosition;
    };
    const auto none = [](WorkingProfile&) {};
    const Row rows[] = {
        {"DPI twice", {{40, 10001, 0, none}, {40, 10001, 0, none}}, 1, false, 0},
        {"DPI then another value", {{40, 10001, 0, none}, {41, 10001, 0, none}}, 2, true, 41},
        {"speed twice moves the slider only",
         {{3, 10008, 0, none}, {3, 10008, 0, none}},
         1,
         true,
         3},
        {"same value on another slider", {{2, 10009, 0, none}, {2, 10008, 0, none}}, 2, true, 2},
        {"same value after a stage switch",
         {{40, 10001, 0, none}, {40, 10001, 0, [](WorkingProfile& p) { p.Working().DPI = 2; }}},
         2,
         true,
         40},
        {"same value after a load",
         {{40, 10001, 0, none}, {40, 10001, 0, [](WorkingProfile& p) { p.Load(-1); }}},
         2,
         true,
         40},
        {"slot outside 0 to 3", {{2, 10009, 4, none}}, 0, false, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Edited state;
        RecorderWindow service(L"V212Hid");
        SliderResult last;
        for (const Step& step : row.steps) {
            step.before(state.profile);
            last = state.profile.OnSliderChanged(step.value, step.slider, step.slot);
        }
        DispatchPending();
        EXPECT_EQ(row.posts, static_cast<int>(service.Messages().size()));
        EXPECT_EQ(row.lastMoves, last.MoveSlider);
        if (row.lastMoves) {
            EXPECT_EQ(row.lastPosition, last.Position);
        }
    }
}

// 0x505: the value is taken only in range, stored in "Mouse.ini" and the profile file; the
// service is not told back.
TEST(WorkingProfile, DeviceEvents) {
    struct Row {
        WPARAM code;
        LPARAM value;
        bool stored;
        Field field;
        int expected;
    };
    const Field dpi = [](const SettingsRecord& r) { return r.DPI; };
    const Field profile = [](const SettingsRecord& r) { return r.Profile; };
    const Field mode = [](const SettingsRecord& r) {
        return r.LedMode * 10 + r.LED_MODE_INFO[0][0];
    };
    const Row rows[] = {
        {8, 3, true, dpi, 3},     {8, 4, false, dpi, 1},     {8, -1, false, dpi, 1},
        {9, 4, true, profile, 4}, {9, 5, false, profile, 0}, {9, -2, false, profile, 0},
        {10, 8, true, mode, 42},  {10, 32, true, mode, 62},  {10, 3, true, mode, 12},
        {10, 1, true, mode, 11},  {11, 0, false, dpi, 1},    {15, 0, false, dpi, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "code " << row.code << " value " << row.value);
        Edited state;
        RecorderWindow service(L"V212Hid");
        const std::string before = state.Settings();
        EXPECT_EQ(row.stored ? DeviceEventResult::Stored : DeviceEventResult::Ignored,
                  state.profile.ApplyDeviceEvent(row.code, row.value));
        DispatchPending();
        EXPECT_EQ(row.expected, row.field(state.profile.Working()));
        EXPECT_EQ(row.expected, row.field(*ReadRecord(state.folder.Paths().SettingsFile())));
        EXPECT_EQ(row.stored, state.folder.HasProfile(L"Game"));
        if (!row.stored) {
            EXPECT_EQ(before, state.Settings());
        }
        EXPECT_TRUE(service.Messages().empty());
    }
}

// Only a whole lighting file whose values are in range changes the working profile.
TEST(WorkingProfile, LightingFiles) {
    struct Row {
        const char* what;
        std::function<void(const std::wstring& file)> damage;
        LightingFileResult result;
    };
    const auto set = [](const wchar_t* key, const wchar_t* value) {
        return
            [=](const std::wstring& file) { CIniFile(file).WriteString(L"Setting", key, value); };
    };
    const Row rows[] = {
        {"whole file", [](const std::wstring&) {}, LightingFileResult::Read},
        {"missing file", [](const std::wstring& file) { DeleteFileW(file.c_str()); },
         LightingFileResult::Missing},
        {"truncated file",
         [](const std::wstring& file) {
             const std::string bytes = ReadFileBytes(file);
             WriteFileBytes(file, bytes.substr(0, bytes.size() / 2));
         },
         LightingFileResult::Incomplete},
        {"garbage", [](const std::wstring& file) { WriteFileBytes(file, "\x01\xff[Setting\n=="); },
         LightingFileResult::Incomplete},
        {"empty", [](const std::wstring& file) { WriteFileBytes(file, ""); },
         LightingFileResult::Incomplete},
        {"bad structure", set(L"LED_MODE_INFO2", L"0011"), LightingFileResult::Incomplete},
        {"colour out of range", set(L"LedColor", L"16777216"), LightingFileResult::OutOfRange},
        {"mode out of range", set(L"LLedMode3", L"14"), LightingFileResult::OutOfRange},
        {"switch out of range", set(L"LEDOn", L"2"), LightingFileResult::OutOfRange},
        {"marker out of range", set(L"MULTIPOS4", L"0"), LightingFileResult::OutOfRange},
        {"stage beyond the mouse's table",
         [](const std::wstring& file) {
             const std::array<std::int32_t, 4> stage = {0, 200, 200, 200};
             CIniFile(file).WriteStruct(L"Setting", L"DPI_INFO1", BytesOf(stage));
         },
         LightingFileResult::OutOfRange},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Edited state;
        const std::wstring file = state.folder.Outside(L"light.LED");
        auto exported = DefaultRecord();
        exported->LedColor = 0x123456;
        exported->LedMode3 = 7;
        ASSERT_TRUE(LightingFile::Write(*exported, file));
        row.damage(file);
        state.profile.Working().LED_MODE_INFO[2][0] = 4;
        auto before = std::make_unique<SettingsRecord>(state.profile.Working());
        const std::string settingsBefore = state.Settings();
        RecorderWindow service(L"V212Hid");

        EXPECT_EQ(row.result, state.profile.ImportLighting(file, 2));
        DispatchPending();
        const SettingsRecord& after = state.profile.Working();
        if (row.result == LightingFileResult::Read) {
            EXPECT_EQ(0x123456, after.LedColor);
            EXPECT_EQ(7, after.LedMode3);
            EXPECT_EQ(0, after.LED_MODE_INFO[2][0]);
            EXPECT_EQ(0x123456, ReadRecord(state.folder.Paths().SettingsFile())->LedColor);
            EXPECT_EQ(1, service.Count(0x4CB, 2, 0));
        } else {
            EXPECT_EQ(0, std::memcmp(before.get(), &after, sizeof after));
            EXPECT_EQ(settingsBefore, state.Settings());
            EXPECT_TRUE(service.Messages().empty());
        }
    }
}

TEST(WorkingProfile, LightingExportReportsAFailedWrite) {
    Edited state;
    EXPECT_TRUE(state.profile.ExportLighting(state.folder.Outside(L"out.LED")));
    EXPECT_FALSE(state.profile.ExportLighting(state.folder.Outside(L"missing\\out.LED")));
}

// Without a data folder nothing is written anywhere and nothing is posted.
TEST(WorkingProfile, ReadOnlyWithoutDataFolder) {
    WorkingProfile profile{ConfigPaths()};
    profile.SetNameSource([] { return std::wstring(L"Game"); });
    profile.Load(-1);
    RecorderWindow service(L"V212Hid");
    const StoreResult stored = profile.StoreAndNotify(0x4CB, 0, 0);
    EXPECT_FALSE(stored.Saved || stored.Posted || stored.Copied);
    EXPECT_FALSE(profile.ApplyToDevice(0).Posted);
    EXPECT_FALSE(profile.SetName(L"Game"));
    DispatchPending();
    EXPECT_TRUE(service.Messages().empty());
    EXPECT_FALSE(ConfigPaths::FromDataFolder(L"").Valid());
}
