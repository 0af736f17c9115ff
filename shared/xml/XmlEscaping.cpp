#include "shared/xml/XmlEscaping.h"

#include "shared/xml/XmlEntities.h"
#include "shared/xml/XmlFlags.h"
#include "shared/xml/XmlUnicode.h"

namespace {

bool IsAsciiLetter(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}
bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// Length of the reference starting at the "&" at `at` ("&", name, ";"), or 0 when none does.
std::size_t ReferenceLength(std::wstring_view text, std::size_t at) {
    std::size_t i = at + 1;
    if (i >= text.size())
        return 0;
    const wchar_t first = text[i];
    if (!IsAsciiLetter(first) && first != L'#' && first != L'_' && first != L':' && first < 0x80)
        return 0;
    for (++i; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L';')
            return i + 1 - at;
        if (!IsAsciiLetter(c) && !IsDigit(c) && c != L'-' && c != L'.' && c != L':' && c != L'_' &&
            c < 0x80)
            return 0;
    }
    return 0;
}

// The code point of a reference body (between "&" and ";"), 0 when it names none.
char32_t ReferenceValue(std::wstring_view body) {
    if (body.size() < 2 || body[0] != L'#')
        return FindXmlEntity(body);
    const bool hex = body[1] == L'x' || body[1] == L'X';
    const std::wstring_view digits = body.substr(hex ? 2 : 1);
    if (digits.empty())
        return 0;
    char32_t value = 0;
    for (wchar_t c : digits) {
        unsigned digit;
        if (IsDigit(c))
            digit = c - L'0';
        else if (hex && c >= L'a' && c <= L'f')
            digit = c - L'a' + 10;
        else if (hex && c >= L'A' && c <= L'F')
            digit = c - L'A' + 10;
        else
            return 0;
        value = value * (hex ? 16 : 10) + digit;
    }
    return value;
}

} // namespace

std::wstring EscapeText(std::wstring_view text, unsigned flags) {
    std::wstring out;
    out.reserve(text.size() + text.size() / 10 + 7);
    const bool quotes = (flags & XmlEditFlag::EscapeQuotes) != 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        switch (c) {
        case L'<':
            out += L"&lt;";
            break;
        case L'>':
            out += L"&gt;";
            break;
        case L'&':
            if ((flags & XmlEditFlag::KeepReferences) && ReferenceLength(text, i) != 0)
                out += c;
            else
                out += L"&amp;";
            break;
        case L'\'':
            out += quotes ? L"&apos;" : L"'";
            break;
        case L'"':
            out += quotes ? L"&quot;" : L"\"";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::wstring UnescapeText(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t amp = text.find(L'&', i);
        if (amp == std::wstring_view::npos) {
            out.append(text.substr(i));
            break;
        }
        out.append(text.substr(i, amp - i));
        i = amp + 1;
        // At most 9 ASCII characters and then ";".
        std::size_t end = i;
        while (end < text.size() && end - i <= 9 && text[end] != L';' && text[end] < 0x80)
            ++end;
        const std::size_t length = end - i;
        if (end < text.size() && text[end] == L';' && length >= 1 && length <= 9) {
            const char32_t value = ReferenceValue(text.substr(i, length));
            // Values that UTF-16 cannot carry leave the "&" as it is.
            if (value != 0 && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF)) {
                wchar_t units[2];
                out.append(units, EncodeUtf16(value, units));
                i = end + 1;
                continue;
            }
        }
        out += L'&';
    }
    return out;
}

std::wstring EncodeCData(std::wstring_view text) {
    std::wstring out = L"<![CDATA[";
    std::size_t i = 0;
    for (std::size_t at; (at = text.find(L"]]>", i)) != std::wstring_view::npos; i = at + 3) {
        out.append(text.substr(i, at - i));
        out += L"]]]]><![CDATA[>";
    }
    out.append(text.substr(i));
    out += L"]]>";
    return out;
}
