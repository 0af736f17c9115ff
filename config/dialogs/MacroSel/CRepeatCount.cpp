#include "config/dialogs/MacroSel/CRepeatCount.h"

#include <algorithm>
#include <cwctype>

int CRepeatCount::Clamp(int count) {
    return std::clamp(count, kMin, kMax);
}

int CRepeatCount::FromText(std::wstring_view text) {
    size_t i = 0;
    while (i < text.size() && std::iswspace(text[i]) != 0) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) {
        negative = text[i] == L'-';
        ++i;
    }
    // Counting stops above the largest count: longer numbers only stay too large.
    int value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = std::min(value * 10 + (text[i] - L'0'), kMax + 1);
    }
    return Clamp(negative ? -value : value);
}
