#include "shared/store/SettingsRecord.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

// A record whose every byte is the same, so that any field a call touches shows.
SettingsRecord Filled(std::uint8_t byte) {
    SettingsRecord record;
    std::memset(&record, byte, sizeof record);
    return record;
}

bool SameBytes(const SettingsRecord& a, const SettingsRecord& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

TEST(SettingsRecordReset, StoresResetValuesAndKeepsTheRest) {
    SettingsRecord record = Filled(0x33);
    const SettingsRecord before = record;
    EXPECT_EQ(0, SettingsRecord_Reset(record));

    EXPECT_EQ(-1, record.Profile);
    EXPECT_EQ(-1, record.TrayEnabled);
    EXPECT_EQ(-1, record.GroupDPI);
    EXPECT_EQ(0, record.Link);
    EXPECT_EQ(L'\0', record.ProfileName[0]);
    EXPECT_EQ(L'\0', record.LinkName[259]);
    for (int i = 0; i < kButtonCount; ++i) {
        const ButtonAssignment& entry = record.ButtonAssigned[i];
        EXPECT_EQ(i + 1, entry.ButtonNumber);
        EXPECT_EQ(255, entry.FunctionCode);
        EXPECT_EQ(1, entry.Param1);
        EXPECT_EQ(0, entry.Param2);
        EXPECT_EQ(0, entry.Data[119]);
        EXPECT_EQ(L'\0', entry.Text[0]);
    }
    for (std::int32_t v :
         {record.MouseSensitivity, record.AccelerationEnabled, record.LedStateOn, record.LedColor,
          record.DPI, record.PollingRate, record.DoubleClickSpeed, record.UniversalScrollEnabled,
          record.WheelScrollLines, record.Acceleration, record.DPI_INFO[3][3],
          record.LED_MODE_INFO[3][4]}) {
        EXPECT_EQ(-1, v);
    }

    EXPECT_EQ(before.LeftCount, record.LeftCount);
    EXPECT_EQ(before.RightCount, record.RightCount);
    EXPECT_EQ(before.MouseButtons, record.MouseButtons);
    EXPECT_EQ(before.LedMode, record.LedMode);
    EXPECT_EQ(before.LedMode4, record.LedMode4);
    EXPECT_EQ(before.MULTIPOS, record.MULTIPOS);
    EXPECT_EQ(before.SHOWSLIDER, record.SHOWSLIDER);
    EXPECT_EQ(before.SELSLODER, record.SELSLODER);
    EXPECT_EQ(before.FWVersion, record.FWVersion);
    EXPECT_EQ(before.MULTILED_INFO, record.MULTILED_INFO);
}

TEST(SettingsRecordAssign, CorrectsOutOfRangeValuesAsUnsigned) {
    struct Case {
        std::int32_t profile, buttons, tray, rate;
        std::int32_t wantProfile, wantButtons, wantTray, wantRate;
    };
    const Case cases[] = {
        {7, 0, 5, 9, 0, 8, 1, 1}, {-1, -1, -1, -1, 0, 8, 1, 1}, {5, 9, 2, 0, 0, 8, 1, 1},
        {4, 8, 0, 8, 4, 8, 0, 8}, {0, 1, 1, 1, 0, 1, 1, 1},
    };
    for (const Case& c : cases) {
        SettingsRecord source = Filled(0);
        SettingsRecord_FillDefaults(source, 0);
        source.Profile = c.profile;
        source.MouseButtons = c.buttons;
        source.TrayEnabled = c.tray;
        source.PollingRate = c.rate;
        source.DoubleClickSpeed = 77;
        SettingsRecord target = Filled(0x11);
        EXPECT_EQ(0, SettingsRecord_Assign(target, source));
        EXPECT_EQ(c.wantProfile, target.Profile) << c.profile;
        EXPECT_EQ(c.wantButtons, target.MouseButtons) << c.buttons;
        EXPECT_EQ(c.wantTray, target.TrayEnabled) << c.tray;
        EXPECT_EQ(c.wantRate, target.PollingRate) << c.rate;
        EXPECT_EQ(77, target.DoubleClickSpeed);
    }
}

TEST(SettingsRecordAssign, InvalidButtonCodesBecomeTheButtonsDefaultAndKeepTheirText) {
    SettingsRecord source = Filled(0);
    SettingsRecord_FillDefaults(source, 0);
    for (ButtonAssignment& entry : source.ButtonAssigned) {
        entry.FunctionCode = 118;
        entry.Param1 = 9;
        entry.Param2 = 9;
        entry.Data.fill(0x77);
        entry.Text[0] = L'T';
    }
    source.ButtonAssigned[2].FunctionCode = 8;
    source.ButtonAssigned[5].FunctionCode = 255;

    SettingsRecord target;
    SettingsRecord_Assign(target, source);
    for (int i : {2, 5}) {
        const ButtonAssignment& entry = target.ButtonAssigned[i];
        EXPECT_EQ(DefaultButtonCodes[i], entry.FunctionCode);
        EXPECT_EQ(1, entry.Param1);
        EXPECT_EQ(0, entry.Param2);
        EXPECT_EQ(0, entry.Data[0]);
        EXPECT_EQ(0, entry.Data[119]);
        EXPECT_EQ(L'T', entry.Text[0]);
        EXPECT_EQ(source.ButtonAssigned[i].ButtonNumber, entry.ButtonNumber);
    }
    EXPECT_EQ(3, target.ButtonAssigned[2].FunctionCode);
    EXPECT_EQ(14, target.ButtonAssigned[5].FunctionCode);
    EXPECT_EQ(0, std::memcmp(&source.ButtonAssigned[0], &target.ButtonAssigned[0],
                             sizeof(ButtonAssignment)));
}

TEST(SettingsRecordValidateButtons, KeepsCodesAtTheEdgesOfTheValidRanges) {
    const int valid[] = {1,  7,  9,   15,  21,  23,  25,  32,  40,  48,  51,  64,  72, 80,
                         85, 99, 101, 113, 118, 120, 122, 128, 130, 132, 133, 135, 141};
    const int invalid[] = {0,  8,  16, 20,  22,  26,  31,  41,  47,  52,  63,  73,
                           79, 86, 98, 102, 112, 119, 121, 129, 131, 134, 142, 255};
    for (int code : valid) {
        SettingsRecord record = Filled(0);
        record.ButtonAssigned[7].FunctionCode = static_cast<std::uint8_t>(code);
        record.ButtonAssigned[7].Param1 = 5;
        SettingsRecord_ValidateButtons(record);
        EXPECT_EQ(code, record.ButtonAssigned[7].FunctionCode);
        EXPECT_EQ(5, record.ButtonAssigned[7].Param1) << code;
    }
    for (int code : invalid) {
        SettingsRecord record = Filled(0);
        record.ButtonAssigned[7].FunctionCode = static_cast<std::uint8_t>(code);
        SettingsRecord_ValidateButtons(record);
        EXPECT_EQ(49, record.ButtonAssigned[7].FunctionCode) << code;
    }
}

TEST(SettingsRecordFillDefaults, FillsTheRecordsOwnProfileBlockForEveryIndex) {
    // Room after the record shows any write past its end.
    struct Guarded {
        SettingsRecord record;
        std::array<std::uint8_t, 4 * kProfileBlockSize> after;
    };
    for (int index = 0; index < kProfileCount; ++index) {
        Guarded guarded;
        std::memset(&guarded, 0x5A, sizeof guarded);
        const SettingsRecord before = guarded.record;
        EXPECT_EQ(1, SettingsRecord_FillDefaults(guarded.record, index));
        const SettingsRecord& r = guarded.record;
        for (std::uint8_t byte : guarded.after) {
            ASSERT_EQ(0x5A, byte) << index;
        }
        EXPECT_EQ(1, r.GroupDPI);
        EXPECT_EQ(0, r.Link);
        EXPECT_EQ(L'\0', r.LinkName[100]);
        for (int i = 0; i < kButtonCount; ++i) {
            EXPECT_EQ(DefaultButtonCodes[i], r.ButtonAssigned[i].FunctionCode);
            EXPECT_EQ(1, r.ButtonAssigned[i].Param1);
            EXPECT_EQ(0, r.ButtonAssigned[i].Param2);
            EXPECT_EQ(0, r.ButtonAssigned[i].Data[60]);
            EXPECT_EQ(0x5A, r.ButtonAssigned[i].ButtonNumber);
        }
        // The global values are pinned by the expected settings file.
        EXPECT_EQ(5, r.MouseSensitivity);
        EXPECT_EQ(before.ProfileName, r.ProfileName);
        EXPECT_EQ(before.Profile, r.Profile);
        EXPECT_EQ(before.TrayEnabled, r.TrayEnabled);
        EXPECT_EQ(before.FWVersion, r.FWVersion);
    }
}

TEST(SettingsRecordFillDefaults, IndexOutsideTheProfilesChangesNothing) {
    for (int index : {-1, 5, 1000}) {
        SettingsRecord record = Filled(0x5A);
        EXPECT_EQ(0, SettingsRecord_FillDefaults(record, index));
        EXPECT_TRUE(SameBytes(Filled(0x5A), record)) << index;
    }
}

TEST(SettingsRecordCompare, EqualRecordsGiveNoFlagsAndChangeNothing) {
    SettingsRecord source = Filled(0);
    SettingsRecord_FillDefaults(source, 0);
    SettingsRecord target = source;
    EXPECT_EQ(0, SettingsRecord_Compare(target, source));
    EXPECT_TRUE(SameBytes(source, target));
}

TEST(SettingsRecordCompare, EachComparedFieldRaisesItsFlagAndIsTakenOver) {
    struct Case {
        const char* name;
        std::function<void(SettingsRecord&)> change;
        int flag;
    };
    const Case cases[] = {
        {"TrayEnabled", [](SettingsRecord& r) { r.TrayEnabled = 0; }, kChangedTray},
        {"MouseSensitivity", [](SettingsRecord& r) { r.MouseSensitivity = 9; }, kChangedMouse},
        {"DoubleClickSpeed", [](SettingsRecord& r) { r.DoubleClickSpeed = 9; }, kChangedMouse},
        {"WheelScrollLines", [](SettingsRecord& r) { r.WheelScrollLines = 9; }, kChangedMouse},
        {"UniversalScroll", [](SettingsRecord& r) { r.UniversalScrollEnabled = 1; }, kChangedMouse},
        {"AccelerationEnabled", [](SettingsRecord& r) { r.AccelerationEnabled = 1; },
         kChangedMouse},
        {"Acceleration", [](SettingsRecord& r) { r.Acceleration = 9; }, kChangedMouse},
        {"DPI_INFO first", [](SettingsRecord& r) { r.DPI_INFO[3][0] = 9; }, kChangedMouse},
        {"DPI_INFO second", [](SettingsRecord& r) { r.DPI_INFO[0][1] = 9; }, kChangedMouse},
        {"LED_MODE_INFO", [](SettingsRecord& r) { r.LED_MODE_INFO[2][4] = 9; }, kChangedLighting},
        {"Profile", [](SettingsRecord& r) { r.Profile = 3; }, kChangedProfile},
        {"LedStateOn", [](SettingsRecord& r) { r.LedStateOn = 0; }, kChangedLighting},
        {"LedColor", [](SettingsRecord& r) { r.LedColor = 9; }, kChangedLighting},
        {"DPI", [](SettingsRecord& r) { r.DPI = 3; }, kChangedMouse},
        {"PollingRate", [](SettingsRecord& r) { r.PollingRate = 4; }, kChangedMouse},
        {"GroupDPI", [](SettingsRecord& r) { r.GroupDPI = 4; }, kChangedButtons},
        {"Button code", [](SettingsRecord& r) { r.ButtonAssigned[0].FunctionCode = 6; },
         kChangedButtons},
        {"Button 8 text", [](SettingsRecord& r) { r.ButtonAssigned[7].Text[259] = L'x'; },
         kChangedButtons},
    };
    for (const Case& c : cases) {
        SettingsRecord target = Filled(0);
        SettingsRecord_FillDefaults(target, 0);
        target.Profile = 0;
        target.TrayEnabled = 1;
        SettingsRecord source = target;
        c.change(source);
        EXPECT_EQ(c.flag, SettingsRecord_Compare(target, source)) << c.name;
        EXPECT_TRUE(SameBytes(source, target)) << c.name;
        // Taken over, so the same change is not reported again.
        EXPECT_EQ(0, SettingsRecord_Compare(target, source)) << c.name;
    }
}

TEST(SettingsRecordCompare, CombinesFlagsAndLeavesUncomparedFields) {
    SettingsRecord target = Filled(0);
    SettingsRecord_FillDefaults(target, 0);
    SettingsRecord source = Filled(0x44);
    const SettingsRecord before = target;

    EXPECT_EQ(kChangedMouse | kChangedButtons | kChangedTray | kChangedProfile | kChangedLighting,
              SettingsRecord_Compare(target, source));

    EXPECT_EQ(before.LeftCount, target.LeftCount);
    EXPECT_EQ(before.RightCount, target.RightCount);
    EXPECT_EQ(before.MouseButtons, target.MouseButtons);
    EXPECT_EQ(before.ProfileName, target.ProfileName);
    EXPECT_EQ(before.LinkName, target.LinkName);
    EXPECT_EQ(before.Link, target.Link);
    EXPECT_EQ(before.LedMode, target.LedMode);
    EXPECT_EQ(before.LedMode4, target.LedMode4);
    EXPECT_EQ(before.MULTIPOS, target.MULTIPOS);
    EXPECT_EQ(before.SHOWSLIDER, target.SHOWSLIDER);
    EXPECT_EQ(before.SELSLODER, target.SELSLODER);
    EXPECT_EQ(before.FWVersion, target.FWVersion);
    EXPECT_EQ(before.MULTILED_INFO, target.MULTILED_INFO);
    EXPECT_EQ(source.GroupDPI, target.GroupDPI);
    EXPECT_EQ(0, std::memcmp(&source.ButtonAssigned, &target.ButtonAssigned,
                             sizeof target.ButtonAssigned));
}

TEST(SettingsRecordCompareButtons, ReportsAndTakesOverButtonsAndGroupDpiOnly) {
    SettingsRecord target = Filled(0);
    SettingsRecord source = Filled(0);
    source.GroupDPI = 7;
    source.DPI = 3;
    EXPECT_EQ(kChangedButtons, SettingsRecord_CompareButtons(target, source));
    EXPECT_EQ(7, target.GroupDPI);
    EXPECT_EQ(0, target.DPI);
    EXPECT_EQ(0, SettingsRecord_CompareButtons(target, source));
}
