#include "config/dialogs/NumberClamp.h"

#include <cwctype>

namespace NumberClamp {

namespace {
constexpr long long kSaturation = 1'000'000'000'000LL;
} // namespace

long long Parse(std::wstring_view text) {
    size_t at = 0;
    while (at < text.size() && std::iswspace(text[at])) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == L'-' || text[at] == L'+')) {
        negative = text[at] == L'-';
        ++at;
    }
    long long value = 0;
    for (; at < text.size() && text[at] >= L'0' && text[at] <= L'9'; ++at) {
        value = value * 10 + (text[at] - L'0');
        if (value > kSaturation) {
            value = kSaturation;
        }
    }
    return negative ? -value : value;
}

int Clamp(long long value, int low, int high) {
    if (value < low) {
        return low;
    }
    if (value > high) {
        return high;
    }
    return static_cast<int>(value);
}

int Typed(std::wstring_view text, int stored, int low, int high) {
    const long long parsed = Parse(text);
    return parsed >= low && parsed <= high ? static_cast<int>(parsed) : stored;
}

Step Committed(std::wstring_view text, int low, int high) {
    const int value = Clamp(Parse(text), low, high);
    std::wstring shown = std::to_wstring(value);
    if (shown == text) {
        return {value, std::nullopt};
    }
    return {value, std::move(shown)};
}

} // namespace NumberClamp
