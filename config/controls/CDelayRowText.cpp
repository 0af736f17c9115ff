#include "config/controls/CDelayRowText.h"

#include <climits>
#include <cwchar>

namespace {
// Leading blanks, an optional sign and decimal digits; anything after them is ignored and values
// beyond the int range are held at its ends.
int ParseDecimal(const std::wstring& text) {
    const long value = std::wcstol(text.c_str(), nullptr, 10);
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}
} // namespace

int CDelayRowText::RowDelay(const std::wstring& rowText) {
    const size_t blank = rowText.find(L' ');
    if (blank == std::wstring::npos) {
        return 0;
    }
    return ParseDecimal(rowText.substr(0, blank));
}

int CDelayRowText::TypedDelay(const std::wstring& typed) {
    return ParseDecimal(typed.substr(0, kMaxTyped));
}

std::wstring CDelayRowText::CommittedRow(int delay) {
    return std::to_wstring(delay) + L" MS";
}
