#include "winlayer/Format.h"

#include <cwchar>
#include <vector>

namespace winlayer {

namespace {
// vswprintf reports overflow and a bad format alike; past this size the format is taken as bad.
constexpr size_t kLargest = size_t{1} << 20;
} // namespace

std::wstring Format(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    std::wstring text = FormatV(format, args);
    va_end(args);
    return text;
}

std::wstring FormatV(const wchar_t* format, va_list args) {
    if (format == nullptr) {
        return {};
    }
    std::vector<wchar_t> buffer(256);
    while (buffer.size() <= kLargest) {
        va_list copy;
        va_copy(copy, args);
        int length = std::vswprintf(buffer.data(), buffer.size(), format, copy);
        va_end(copy);
        if (length >= 0 && static_cast<size_t>(length) < buffer.size()) {
            return std::wstring(buffer.data(), static_cast<size_t>(length));
        }
        buffer.resize(buffer.size() * 2);
    }
    return {};
}

} // namespace winlayer
