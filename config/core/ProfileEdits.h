#pragma once

#include "shared/store/SettingsRecord.h"

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

// The clamps and texts of the edits that change one value of the working profile, and what the
// service's events do to the record. Pure: no file, no window.
namespace ProfileEdits {

// Typed stage DPI: 12000 and more give 12000, 100 and less give 100, then cut to a multiple
// of 100. The stored stage value is the result / 100.
int DpiStageInput(int typed);
// DPI slider position 1 to 120.
int DpiSliderValue(int value);
// A stage value as DPI: v × 100 below 121, else v × 200.
std::wstring DpiStageText(int stageValue);
// "<label> <stage number>".
std::wstring DpiStageCaption(std::wstring_view label, int stageNumber);

// Typed wheel lines, compared without sign: above 100 (negative input too) gives 100, 0 gives 1.
int WheelLinesInput(int typed);
// One step up or down from the stored value, kept within 1 to 100.
int StepWheelLines(int current, int step);

// A typed colour component: above 255 gives 255, below 0 gives 0.
int ColourComponentInput(int typed);

// The lParam of 0x4FD for a polling interval of 8, 4, 2 or 1 ms; nothing for another interval.
std::optional<LPARAM> PollingRateParam(int interval);

// The double-click buttons: A sets 128, B sets 0, C toggles between them.
enum class DoubleClickButton { A, B, C };
int DoubleClickSpeed(DoubleClickButton button, int current);

bool IsDpiStage(long long value);
bool IsProfileIndex(long long value);
// The lighting mode 1 to 6 that the mouse reports as one bit (1, 2, 4, 8, 16, 32); any other
// value gives 1.
int LightingModeOfBit(long long bit);

// The service's events (0x505) on the record. Each returns false, changing nothing, when the
// value is out of range.
bool ApplyReportedDpiStage(SettingsRecord& record, long long stage);
bool ApplyReportedProfile(SettingsRecord& record, long long profile);
// Sets the first lighting slot's mode; bit 1 also sets that slot's mode value to 1.
void ApplyReportedLightingMode(SettingsRecord& record, long long bit);

} // namespace ProfileEdits
