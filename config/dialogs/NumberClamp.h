#pragma once

#include <optional>
#include <string>
#include <string_view>

// Number fields of the dialogs keep their value inside a range while the user types: a typed
// value that leaves the range is replaced by the nearest bound, and the field shows that bound.
namespace NumberClamp {
// The decimal number an edit's text starts with (blanks, an optional sign, digits), 0 when it
// starts with none; far too long numbers saturate instead of wrapping.
long long Parse(std::wstring_view text);
int Clamp(long long value, int low, int high);

struct Step {
    int value;
    // The text the field must show instead of what was typed, when the value was replaced.
    std::optional<std::wstring> shown;
};
// What a change of the field's text does to the stored value: nothing while the parsed value
// equals it, else the parsed value held inside [low, high].
Step Typed(std::wstring_view text, int stored, int low, int high);
} // namespace NumberClamp
