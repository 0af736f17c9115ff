#pragma once
#include <cstdarg>
#include <string>

namespace winlayer {

// printf-style formatting into a wide string of any length. Wide string arguments take %ls
// (with this toolchain %s means a narrow string). An invalid format, or a text over a million
// characters, gives an empty string.
std::wstring Format(const wchar_t* format, ...);
std::wstring FormatV(const wchar_t* format, va_list args);

} // namespace winlayer
