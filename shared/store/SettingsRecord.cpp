#include "shared/store/SettingsRecord.h"

#include <algorithm>
#include <cstring>

namespace {

void SetDefaultFunction(ButtonAssignment& entry, int index) {
    entry.FunctionCode = DefaultButtonCodes[index];
    entry.Param1 = 1;
    entry.Param2 = 0;
    entry.Data.fill(0);
}

// Copies source's value into target when they differ and reports whether they did.
template <class T> bool TakeOver(T& target, const T& source) {
    if (target == source) {
        return false;
    }
    target = source;
    return true;
}

constexpr std::array<std::uint8_t, 60> kMultiLedColours = {
    255, 0,   0, 255, 68,  0, 255, 187, 0, 255, 255, 0, 187, 255, 0, 68, 255, 0,  0, 255, 0,   0,
    255, 68,  0, 255, 187, 0, 255, 255, 0, 187, 255, 0, 68,  255, 0, 0,  255, 68, 0, 255, 187, 0,
    255, 255, 0, 255, 255, 0, 209, 255, 0, 128, 255, 0, 47,  255, 0, 0};

} // namespace

bool IsValidButtonFunctionCode(std::uint8_t code) {
    const auto in = [code](int low, int high) { return code >= low && code <= high; };
    return in(1, 7) || in(9, 15) || code == 21 || in(23, 25) || in(32, 40) || in(48, 51) ||
           in(64, 72) || in(80, 85) || in(99, 101) || in(113, 118) || code == 120 || in(122, 128) ||
           code == 130 || code == 132 || code == 133 || in(135, 141);
}

int SettingsRecord_Reset(SettingsRecord& record) {
    std::memset(reinterpret_cast<std::uint8_t*>(&record) + kProfileBlockOffset, 0,
                kProfileBlockSize);
    record.Profile = -1;
    record.TrayEnabled = -1;
    for (int i = 0; i < kButtonCount; ++i) {
        ButtonAssignment& entry = record.ButtonAssigned[i];
        entry.ButtonNumber = static_cast<std::uint8_t>(i + 1);
        entry.FunctionCode = 255;
        entry.Param1 = 1;
        entry.Param2 = 0;
    }
    record.GroupDPI = -1;
    record.MouseSensitivity = -1;
    record.AccelerationEnabled = -1;
    record.LedStateOn = -1;
    record.LedColor = -1;
    record.DPI = -1;
    for (auto& stage : record.DPI_INFO) {
        stage.fill(-1);
    }
    record.PollingRate = -1;
    record.DoubleClickSpeed = -1;
    record.UniversalScrollEnabled = -1;
    record.WheelScrollLines = -1;
    for (auto& mode : record.LED_MODE_INFO) {
        mode.fill(-1);
    }
    record.Acceleration = -1;
    return 0;
}

int SettingsRecord_Assign(SettingsRecord& target, const SettingsRecord& source) {
    if (&target != &source) {
        std::memcpy(&target, &source, sizeof target);
    }
    if (static_cast<std::uint32_t>(target.Profile) >= kProfileCount) {
        target.Profile = 0;
    }
    if (target.MouseButtons == 0 || static_cast<std::uint32_t>(target.MouseButtons) > 8) {
        target.MouseButtons = 8;
    }
    if (target.TrayEnabled != 0 && target.TrayEnabled != 1) {
        target.TrayEnabled = 1;
    }
    if (target.PollingRate == 0 || static_cast<std::uint32_t>(target.PollingRate) > 8) {
        target.PollingRate = 1;
    }
    SettingsRecord_ValidateButtons(target);
    return 0;
}

int SettingsRecord_ValidateButtons(SettingsRecord& record) {
    for (int i = 0; i < kButtonCount; ++i) {
        if (!IsValidButtonFunctionCode(record.ButtonAssigned[i].FunctionCode)) {
            SetDefaultFunction(record.ButtonAssigned[i], i);
        }
    }
    return 0;
}

int SettingsRecord_FillDefaults(SettingsRecord& record, int profileIndex) {
    if (profileIndex < 0 || profileIndex >= kProfileCount) {
        return 0;
    }
    record.MouseSensitivity = 5;
    record.AccelerationEnabled = 0;
    record.LedStateOn = 1;
    record.LedColor = 255;
    record.DPI = 1;
    const int stageValues[4] = {6, 8, 16, 32};
    for (int i = 0; i < 4; ++i) {
        record.DPI_INFO[i] = {0, stageValues[i], stageValues[i], stageValues[i]};
    }
    record.PollingRate = 1;
    record.DoubleClickSpeed = 12;
    record.UniversalScrollEnabled = 0;
    record.WheelScrollLines = 3;
    record.LedMode = record.LedMode2 = record.LedMode3 = record.LedMode4 = 2;
    for (auto& mode : record.LED_MODE_INFO) {
        mode = {2, 3, 2, 0, 0};
    }
    record.Acceleration = 6;
    record.MULTIPOS = {1, 4, 7, 10, 13, 16, 20};
    record.SHOWSLIDER.fill(1);
    record.SELSLODER.fill(0);
    record.MULTILED_INFO.fill(0);
    std::copy(kMultiLedColours.begin(), kMultiLedColours.end(), record.MULTILED_INFO.begin());

    record.GroupDPI = 1;
    record.Link = 0;
    record.LinkName.fill(L'\0');
    for (int i = 0; i < kButtonCount; ++i) {
        SetDefaultFunction(record.ButtonAssigned[i], i);
    }
    return 1;
}

int SettingsRecord_CompareButtons(SettingsRecord& target, const SettingsRecord& source) {
    int flags = 0;
    if (std::memcmp(target.ButtonAssigned.data(), source.ButtonAssigned.data(),
                    sizeof target.ButtonAssigned) != 0) {
        std::memcpy(target.ButtonAssigned.data(), source.ButtonAssigned.data(),
                    sizeof target.ButtonAssigned);
        flags |= kChangedButtons;
    }
    // Taken over too, or the change would be reported again on every merge.
    if (TakeOver(target.GroupDPI, source.GroupDPI)) {
        flags |= kChangedButtons;
    }
    return flags;
}

int SettingsRecord_Compare(SettingsRecord& target, const SettingsRecord& source) {
    int flags = 0;
    const auto take = [&flags](auto& t, const auto& s, int flag) {
        if (TakeOver(t, s)) {
            flags |= flag;
        }
    };
    take(target.TrayEnabled, source.TrayEnabled, kChangedTray);
    take(target.MouseSensitivity, source.MouseSensitivity, kChangedMouse);
    take(target.DoubleClickSpeed, source.DoubleClickSpeed, kChangedMouse);
    take(target.WheelScrollLines, source.WheelScrollLines, kChangedMouse);
    take(target.UniversalScrollEnabled, source.UniversalScrollEnabled, kChangedMouse);
    take(target.AccelerationEnabled, source.AccelerationEnabled, kChangedMouse);
    take(target.Acceleration, source.Acceleration, kChangedMouse);
    take(target.DPI_INFO, source.DPI_INFO, kChangedMouse);
    take(target.LED_MODE_INFO, source.LED_MODE_INFO, kChangedLighting);
    take(target.Profile, source.Profile, kChangedProfile);
    take(target.LedStateOn, source.LedStateOn, kChangedLighting);
    take(target.LedColor, source.LedColor, kChangedLighting);
    take(target.DPI, source.DPI, kChangedMouse);
    take(target.PollingRate, source.PollingRate, kChangedMouse);
    return flags | SettingsRecord_CompareButtons(target, source);
}
