#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// One programmable button's assignment. Stored byte for byte in the ini files, so the layout
// is a file format.
struct ButtonAssignment {
    std::uint8_t ButtonNumber;          // 1 to 8
    std::uint8_t FunctionCode;          // 255 = none
    std::uint8_t Param1;                // first parameter byte
    std::uint8_t Param2;                // second parameter byte (macro slot for code 6)
    std::array<std::uint8_t, 120> Data; // layout depends on the function code
    std::array<wchar_t, 260> Text;      // program path, folder, web address or macro name
};

static_assert(sizeof(wchar_t) == 2);
static_assert(sizeof(ButtonAssignment) == 644);
static_assert(offsetof(ButtonAssignment, FunctionCode) == 1);
static_assert(offsetof(ButtonAssignment, Param1) == 2);
static_assert(offsetof(ButtonAssignment, Param2) == 3);
static_assert(offsetof(ButtonAssignment, Data) == 4);
static_assert(offsetof(ButtonAssignment, Text) == 124);

inline constexpr int kButtonCount = 8;
inline constexpr int kProfileCount = 5;

// In-memory image of one profile and the global settings; a plain value copied whole.
struct SettingsRecord {
    // Header
    std::int32_t LeftCount;
    std::int32_t RightCount;
    std::int32_t MouseButtons;
    std::int32_t Profile;
    std::int32_t TrayEnabled;

    // Profile block
    std::array<wchar_t, 520> ProfileName;
    std::array<ButtonAssignment, kButtonCount> ButtonAssigned;
    std::int32_t GroupDPI;
    std::array<wchar_t, 260> LinkName;
    std::int32_t Link;

    // Global block
    std::int32_t MouseSensitivity;
    std::int32_t AccelerationEnabled;
    std::int32_t LedStateOn;
    std::int32_t LedColor;
    std::int32_t DPI;
    std::array<std::array<std::int32_t, 4>, 4> DPI_INFO;
    std::int32_t PollingRate;
    std::int32_t DoubleClickSpeed;
    std::int32_t UniversalScrollEnabled;
    std::int32_t WheelScrollLines;
    std::int32_t LedMode;
    std::int32_t LedMode2;
    std::int32_t LedMode3;
    std::int32_t LedMode4;
    std::array<std::array<std::int32_t, 5>, 4> LED_MODE_INFO;
    std::int32_t Acceleration;
    std::array<std::int32_t, 7> MULTIPOS;
    std::array<std::int32_t, 7> SHOWSLIDER;
    std::array<std::int32_t, 7> SELSLODER;
    std::int32_t FWVersion;
    std::array<std::uint8_t, 100> MULTILED_INFO;

    // Pads the record to the size the programs exchange.
    std::array<std::uint8_t, 8> Reserved;
};

inline constexpr std::size_t kProfileBlockOffset = offsetof(SettingsRecord, ProfileName);
inline constexpr std::size_t kProfileBlockSize =
    offsetof(SettingsRecord, Link) + sizeof(std::int32_t) - kProfileBlockOffset;

static_assert(offsetof(SettingsRecord, RightCount) == 4);
static_assert(offsetof(SettingsRecord, MouseButtons) == 8);
static_assert(offsetof(SettingsRecord, Profile) == 12);
static_assert(offsetof(SettingsRecord, TrayEnabled) == 16);
static_assert(kProfileBlockOffset == 20);
static_assert(offsetof(SettingsRecord, ButtonAssigned) == 1060);
static_assert(offsetof(SettingsRecord, GroupDPI) == 6212);
static_assert(offsetof(SettingsRecord, LinkName) == 6216);
static_assert(offsetof(SettingsRecord, Link) == 6736);
static_assert(kProfileBlockSize == 6720);
static_assert(offsetof(SettingsRecord, MouseSensitivity) == 6740);
static_assert(offsetof(SettingsRecord, AccelerationEnabled) == 6744);
static_assert(offsetof(SettingsRecord, LedStateOn) == 6748);
static_assert(offsetof(SettingsRecord, LedColor) == 6752);
static_assert(offsetof(SettingsRecord, DPI) == 6756);
static_assert(offsetof(SettingsRecord, DPI_INFO) == 6760);
static_assert(offsetof(SettingsRecord, PollingRate) == 6824);
static_assert(offsetof(SettingsRecord, DoubleClickSpeed) == 6828);
static_assert(offsetof(SettingsRecord, UniversalScrollEnabled) == 6832);
static_assert(offsetof(SettingsRecord, WheelScrollLines) == 6836);
static_assert(offsetof(SettingsRecord, LedMode) == 6840);
static_assert(offsetof(SettingsRecord, LedMode4) == 6852);
static_assert(offsetof(SettingsRecord, LED_MODE_INFO) == 6856);
static_assert(offsetof(SettingsRecord, Acceleration) == 6936);
static_assert(offsetof(SettingsRecord, MULTIPOS) == 6940);
static_assert(offsetof(SettingsRecord, SHOWSLIDER) == 6968);
static_assert(offsetof(SettingsRecord, SELSLODER) == 6996);
static_assert(offsetof(SettingsRecord, FWVersion) == 7024);
static_assert(offsetof(SettingsRecord, MULTILED_INFO) == 7028);
static_assert(offsetof(SettingsRecord, Reserved) == 7128);
static_assert(sizeof(SettingsRecord) == 7136);

// Change flags returned by SettingsRecord_Compare.
inline constexpr int kChangedMouse = 0x01;
inline constexpr int kChangedButtons = 0x02;
inline constexpr int kChangedTray = 0x04;
inline constexpr int kChangedProfile = 0x10;
inline constexpr int kChangedLighting = 0x20;

// Function code of each button, button 1 first, used whenever an entry holds no valid code.
inline constexpr std::array<std::uint8_t, kButtonCount> DefaultButtonCodes = {1,  2,  3,  10,
                                                                              11, 14, 48, 49};

bool IsValidButtonFunctionCode(std::uint8_t code);

// The resolution a DPI stage value (the second field of "DPI_INFO%d") stands for: v × 100 below
// 121, else v × 200.
constexpr long long DpiOfStageValue(int stageValue) {
    return stageValue < 121 ? stageValue * 100LL : stageValue * 200LL;
}
// The report rate of a "PollingRate" report interval in milliseconds (8, 4, 2 or 1); 0 for none.
constexpr int PollingRateHz(int interval) {
    return interval != 0 ? 1000 / interval : 0;
}

// Clears the profile block and stores the reset values; the counts, the button count, the
// lighting modes, the stage markers, the firmware version and the colour table are kept.
int SettingsRecord_Reset(SettingsRecord& record);
// Copies source into target, then corrects the values that must stay in range.
int SettingsRecord_Assign(SettingsRecord& target, const SettingsRecord& source);
// Replaces every button entry whose function code is not valid by the button's default.
int SettingsRecord_ValidateButtons(SettingsRecord& record);
// Stores the default values into the global block and the record's profile block. A record
// holds one profile block, so profileIndex only has to name a profile (0 to 4); any other
// index changes nothing and returns 0. Returns 1 otherwise.
int SettingsRecord_FillDefaults(SettingsRecord& record, int profileIndex);
// Takes over every compared field of source that differs and returns the change flags.
int SettingsRecord_Compare(SettingsRecord& target, const SettingsRecord& source);
// The button step of the merge: takes over the button entries and GroupDPI when they differ;
// returns kChangedButtons then, else 0.
int SettingsRecord_CompareButtons(SettingsRecord& target, const SettingsRecord& source);
