#pragma once

#include <optional>
#include <string>
#include <string_view>

// Number fields of the dialogs leave what the user types as it is: a typed value inside the range
// is taken at once, any other text waits; when the typing ends (Enter, leaving the field, a click
// elsewhere, OK) the value is held inside the range and the field shows what was taken.
namespace NumberClamp {
// The decimal number an edit's text starts with (blanks, an optional sign, digits), 0 when it
// starts with none; far too long numbers saturate instead of wrapping.
long long Parse(std::wstring_view text);
int Clamp(long long value, int low, int high);

// While the user types: the typed value when it lies inside [low, high], else the stored one.
int Typed(std::wstring_view text, int stored, int low, int high);

struct Step {
    int value;
    // The text the field must show instead of what was typed, when that differs.
    std::optional<std::wstring> shown;
};
// The end of the typing: the typed value held inside [low, high].
Step Committed(std::wstring_view text, int low, int high);
} // namespace NumberClamp
