#pragma once

#include <span>
#include <string_view>

struct XmlCodePageName {
    std::wstring_view name;
    unsigned codePage;
};

// The 254 encoding names that CodePageFromName knows.
std::span<const XmlCodePageName> XmlCodePageNames();

// The Windows code page of an encoding name, compared without regard to ASCII case; 0 (the
// system ANSI code page) for names it does not know.
unsigned CodePageFromName(std::wstring_view name);
