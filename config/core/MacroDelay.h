#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// How delays between recorded events are made, and the delays typed into the macro page's boxes.
enum class MacroDelayMode : int {
    Measured = 0, // the time between two reports
    Fixed = 1,    // the delay box's value
    None = 2,     // no delay events
};

// Delays that events are given: whole 10 ms, from 10 ms up to 65530 ms (6553 stored units), so
// that a row, the file, the mouse and the total all say the same.
inline constexpr int kShortestMacroDelay = 10;
inline constexpr int kLongestMacroDelay = 65530;

// A delay that is typed, into a delay box or a delay row: cut to whole 10 ms and held within
// 10..65530 ms.
int EnteredDelay(int milliseconds);

// A delay box's value as a delay (EnteredDelay); the box is corrected when it shows anything else.
struct FixedDelay {
    int Milliseconds = kShortestMacroDelay;
    bool BoxCorrected = false;
};
FixedDelay ReadFixedDelay(std::wstring_view boxText);

// The delay put between the press and the release of an inserted click: the box's value in the
// fixed mode, 10 ms in the measured mode, none (0) without delays.
FixedDelay ClickDelay(MacroDelayMode mode, std::wstring_view boxText);

// A delay made ready for an event: cut to whole 10 ms; 0 stays 0 (no delay event); anything else
// lies within 10..65530 ms.
int NormalizedDelay(std::int64_t milliseconds);

// Row text of a delay: "250 MS".
std::wstring DelayRowText(int milliseconds);
