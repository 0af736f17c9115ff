#include "config/core/MacroDelay.h"

#include "shared/store/CIniFile.h"
#include "winlayer/Format.h"

#include <algorithm>

int EnteredDelay(int milliseconds) {
    return std::clamp(milliseconds / 10 * 10, kShortestMacroDelay, kLongestMacroDelay);
}

FixedDelay ReadFixedDelay(std::wstring_view boxText) {
    const int delay = EnteredDelay(CIniFile::ParseInt(boxText, 0));
    return {delay, boxText != std::to_wstring(delay)};
}

FixedDelay ClickDelay(MacroDelayMode mode, std::wstring_view boxText) {
    switch (mode) {
    case MacroDelayMode::Fixed:
        return ReadFixedDelay(boxText);
    case MacroDelayMode::Measured:
        return {kShortestMacroDelay, false};
    default:
        return {0, false};
    }
}

int NormalizedDelay(std::int64_t milliseconds) {
    const std::int64_t whole = milliseconds / 10 * 10;
    if (whole <= 0) {
        return 0;
    }
    return static_cast<int>(std::min<std::int64_t>(whole, kLongestMacroDelay));
}

std::wstring DelayRowText(int milliseconds) {
    return winlayer::Format(L"%d %ls", milliseconds, L"MS");
}
