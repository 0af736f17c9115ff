#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

// Code pages the conversions know by number. UTF-8, UTF-16 and UTF-32 (which has a private
// number) are converted between each other by own code, the other code pages by the system.
namespace XmlCodePage {
inline constexpr unsigned Utf16 = 1200;
inline constexpr unsigned Utf16BigEndian = 1201;
inline constexpr unsigned Utf8 = 65001;
inline constexpr unsigned Utf32 = 65005;
} // namespace XmlCodePage

// The code page of an encoding name; a name starting "UTF-32" is XmlCodePage::Utf32.
unsigned CodePageOfEncoding(std::wstring_view name);

struct XmlConversion {
    std::size_t units = 0; // units of the target encoding produced (or counted)
    bool lost = false;     // characters were replaced by the default character
};

// Converts text between two named encodings. Data and output are bytes; UTF-16 and UTF-32 text
// is in little-endian units. With an empty output only counts.
XmlConversion ConvertTextEncoding(std::wstring_view to, std::wstring_view from,
                                  std::string_view data, std::span<char> out = {});

// The encoding a text declares: the "encoding" of an xml declaration at its start, or the
// charset of an HTML meta element of http-equiv "Content-Type" before the end of its head.
// Empty when it declares none.
std::wstring FindDeclaredEncoding(std::wstring_view text);
