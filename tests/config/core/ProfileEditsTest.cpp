#include "config/core/ProfileEdits.h"

#include "config/core/PopupMenus.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace ProfileEdits;

namespace {
std::wstring Text(long long value) {
    return std::to_wstring(value);
}
std::wstring Param(int menuId) {
    const auto interval = PopupMenus::PollingIntervalOfId(menuId);
    const auto param = interval ? PollingRateParam(*interval) : std::nullopt;
    return interval && param ? Text(*interval) + L"/" + Text(*param) : L"none";
}
} // namespace

// Every clamp and text of the direct edits, as what the box or the record ends up with.
TEST(ProfileEdits, ClampsAndTexts) {
    struct Row {
        const char* what;
        std::function<std::wstring()> actual;
        const wchar_t* expected;
    };
    const Row rows[] = {
        {"DPI 50 shows 100", [] { return Text(DpiStageInput(50)); }, L"100"},
        {"DPI 100 stays", [] { return Text(DpiStageInput(100)); }, L"100"},
        {"DPI 150 is cut", [] { return Text(DpiStageInput(150)); }, L"100"},
        {"DPI 1234 is cut", [] { return Text(DpiStageInput(1234)); }, L"1200"},
        {"DPI 12050 is capped", [] { return Text(DpiStageInput(12050)); }, L"12000"},
        {"DPI 12345 is capped", [] { return Text(DpiStageInput(12345)); }, L"12000"},
        {"DPI negative", [] { return Text(DpiStageInput(-3000)); }, L"100"},
        {"slider 0", [] { return Text(DpiSliderValue(0)); }, L"1"},
        {"slider 121", [] { return Text(DpiSliderValue(121)); }, L"120"},
        {"slider 60", [] { return Text(DpiSliderValue(60)); }, L"60"},
        {"stage 32", [] { return DpiStageText(32); }, L"3200"},
        {"stage 120", [] { return DpiStageText(120); }, L"12000"},
        {"stage 121", [] { return DpiStageText(121); }, L"24200"},
        {"stage caption", [] { return DpiStageCaption(L"档位", 3); }, L"档位 3"},
        {"wheel 0", [] { return Text(WheelLinesInput(0)); }, L"1"},
        {"wheel -5", [] { return Text(WheelLinesInput(-5)); }, L"100"},
        {"wheel 250", [] { return Text(WheelLinesInput(250)); }, L"100"},
        {"wheel 7", [] { return Text(WheelLinesInput(7)); }, L"7"},
        {"wheel up at 100", [] { return Text(StepWheelLines(100, 1)); }, L"100"},
        {"wheel down at 1", [] { return Text(StepWheelLines(1, -1)); }, L"1"},
        {"wheel up from unset", [] { return Text(StepWheelLines(-1, 1)); }, L"1"},
        {"wheel down from 3", [] { return Text(StepWheelLines(3, -1)); }, L"2"},
        {"colour 300", [] { return Text(ColourComponentInput(300)); }, L"255"},
        {"colour -4", [] { return Text(ColourComponentInput(-4)); }, L"0"},
        {"rate 125", [] { return Param(40024); }, L"8/1"},
        {"rate 250", [] { return Param(40025); }, L"4/1"},
        {"rate 500", [] { return Param(40026); }, L"2/2"},
        {"rate 1000", [] { return Param(40027); }, L"1/3"},
        {"rate other id", [] { return Param(40028); }, L"none"},
        {"double-click A", [] { return Text(DoubleClickSpeed(DoubleClickButton::A, 0)); }, L"128"},
        {"double-click B", [] { return Text(DoubleClickSpeed(DoubleClickButton::B, 128)); }, L"0"},
        {"double-click C from 0", [] { return Text(DoubleClickSpeed(DoubleClickButton::C, 0)); },
         L"128"},
        {"double-click C from 12", [] { return Text(DoubleClickSpeed(DoubleClickButton::C, 12)); },
         L"128"},
        {"lighting bit 8", [] { return Text(LightingModeOfBit(8)); }, L"4"},
        {"lighting bit 32", [] { return Text(LightingModeOfBit(32)); }, L"6"},
        {"lighting value 3", [] { return Text(LightingModeOfBit(3)); }, L"1"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.expected, row.actual()) << row.what;
    }
}
