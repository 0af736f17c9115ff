#pragma once

#include <cstddef>
#include <string_view>

// The own Unicode codecs. Decoders return "?" for what does not decode (and step over one
// unit); encoders write "?" for a value that is no character, and only count when given no
// buffer.

char32_t DecodeUtf8(std::string_view bytes, std::size_t& pos);
std::size_t EncodeUtf8(char32_t value, char* out);
char32_t DecodeUtf16(std::wstring_view text, std::size_t& pos);
std::size_t EncodeUtf16(char32_t value, wchar_t* out);

// Loose check that bytes read as UTF-8: lead bytes announce their length and every following
// byte has its top bit set. A 0 byte ends the check.
bool IsValidUtf8(std::string_view bytes);
