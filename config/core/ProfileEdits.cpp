#include "config/core/ProfileEdits.h"

#include "winlayer/Format.h"

#include <algorithm>
#include <array>

namespace ProfileEdits {

namespace {
constexpr int kMostDpi = 12000;
constexpr int kLeastDpi = 100;
constexpr int kDpiStep = 100;
constexpr int kMostSliderValue = 120;
constexpr int kMostWheelLines = 100;
} // namespace

int DpiStageInput(int typed) {
    const int clamped = std::clamp(typed, kLeastDpi, kMostDpi);
    return clamped / kDpiStep * kDpiStep;
}

int DpiSliderValue(int value) {
    return std::clamp(value, 1, kMostSliderValue);
}

std::wstring DpiStageText(int stageValue) {
    return std::to_wstring(DpiOfStageValue(stageValue));
}

std::wstring DpiStageCaption(std::wstring_view label, int stageNumber) {
    const std::wstring text(label);
    return winlayer::Format(L"%ls %d", text.c_str(), stageNumber);
}

int WheelLinesInput(int typed) {
    if (static_cast<unsigned>(typed) > kMostWheelLines) {
        return kMostWheelLines;
    }
    return typed == 0 ? 1 : typed;
}

int StepWheelLines(int current, int step) {
    return static_cast<int>(std::clamp(static_cast<long long>(current) + step, 1LL,
                                       static_cast<long long>(kMostWheelLines)));
}

int ColourComponentInput(int typed) {
    return std::clamp(typed, 0, 255);
}

std::optional<LPARAM> PollingRateParam(int interval) {
    switch (interval) {
    case 8:
    case 4:
        return 1;
    case 2:
        return 2;
    case 1:
        return 3;
    default:
        return std::nullopt;
    }
}

int DoubleClickSpeed(DoubleClickButton button, int current) {
    constexpr int kOn = 128;
    switch (button) {
    case DoubleClickButton::A:
        return kOn;
    case DoubleClickButton::B:
        return 0;
    case DoubleClickButton::C:
        // Its switch shows on only at 128: from any other value it turns on.
        return current == kOn ? 0 : kOn;
    }
    return current;
}

bool IsDpiStage(long long value) {
    return value >= 0 && value < 4;
}

bool IsProfileIndex(long long value) {
    return value >= 0 && value < kProfileCount;
}

int LightingModeOfBit(long long bit) {
    constexpr std::array<long long, 6> kBits = {1, 2, 4, 8, 16, 32};
    const auto found = std::ranges::find(kBits, bit);
    return found == kBits.end() ? 1 : static_cast<int>(found - kBits.begin()) + 1;
}

bool ApplyReportedDpiStage(SettingsRecord& record, long long stage) {
    if (!IsDpiStage(stage)) {
        return false;
    }
    record.DPI = static_cast<std::int32_t>(stage);
    return true;
}

bool ApplyReportedProfile(SettingsRecord& record, long long profile) {
    if (!IsProfileIndex(profile)) {
        return false;
    }
    record.Profile = static_cast<std::int32_t>(profile);
    return true;
}

void ApplyReportedLightingMode(SettingsRecord& record, long long bit) {
    record.LedMode = LightingModeOfBit(bit);
    if (bit == 1) {
        record.LED_MODE_INFO[0][0] = 1;
    }
}

} // namespace ProfileEdits
