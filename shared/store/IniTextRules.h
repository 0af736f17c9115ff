#pragma once

#include <string_view>

// Rules that every reader and writer of our ini files shares.

// The text without the spaces and tabs around it, as names and values are compared.
std::wstring_view Trimmed(std::wstring_view text);
// Names of sections, keys, files and programs compare without regard to case, as the platform
// compares them.
bool EqualNoCase(std::wstring_view a, std::wstring_view b);
