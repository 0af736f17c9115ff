#pragma once

#include <string>
#include <string_view>

// The repeat count of a macro button: stored in one byte, 1 to 255.
class CRepeatCount {
public:
    static constexpr int kMin = 1;
    static constexpr int kMax = 255;

    // The count a typed text stands for: its leading decimal number brought into 1-255; a text
    // that is no number counts as 0 and so becomes 1.
    static int FromText(std::wstring_view text);
    static int Clamp(int count);
    static std::wstring Text(int count) { return std::to_wstring(count); }
};
