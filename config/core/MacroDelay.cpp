#include "config/core/MacroDelay.h"

#include "winlayer/Format.h"

#include <algorithm>
#include <climits>

int ReadBoxNumber(std::wstring_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || text[i] == L'\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) {
        negative = text[i] == L'-';
        ++i;
    }
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        // Past the int range the value only needs to stay there.
        value = std::min<std::int64_t>(value * 10 + (text[i] - L'0'), std::int64_t{INT_MAX} + 1);
    }
    if (negative) {
        value = -value;
    }
    return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

int EnteredDelay(int milliseconds) {
    return std::clamp(milliseconds / 10 * 10, kShortestMacroDelay, kLongestMacroDelay);
}

FixedDelay ReadFixedDelay(std::wstring_view boxText) {
    const int delay = EnteredDelay(ReadBoxNumber(boxText));
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

std::uint16_t DelayUnits(int milliseconds) {
    return static_cast<std::uint16_t>(std::clamp(milliseconds, 0, kLongestMacroDelay) / 10);
}

std::wstring DelayRowText(int milliseconds) {
    return winlayer::Format(L"%d %ls", milliseconds, L"MS");
}
