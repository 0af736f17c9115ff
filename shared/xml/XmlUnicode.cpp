#include "shared/xml/XmlUnicode.h"

namespace {

bool IsCharacter(char32_t value) {
    return value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
}

} // namespace

char32_t DecodeUtf8(std::string_view bytes, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(bytes[pos++]);
    if (lead < 0x80)
        return lead;
    std::size_t extra;
    char32_t value;
    char32_t least;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1, value = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2, value = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3, value = lead & 0x07, least = 0x10000;
    } else {
        return U'?';
    }
    if (bytes.size() - pos < extra)
        return U'?';
    for (std::size_t i = 0; i < extra; ++i) {
        const auto next = static_cast<unsigned char>(bytes[pos + i]);
        if ((next & 0xC0) != 0x80)
            return U'?';
        value = (value << 6) | (next & 0x3F);
    }
    if (value < least || !IsCharacter(value))
        return U'?';
    pos += extra;
    return value;
}

std::size_t EncodeUtf8(char32_t value, char* out) {
    if (!IsCharacter(value))
        value = U'?';
    std::size_t count = value < 0x80 ? 1 : value < 0x800 ? 2 : value < 0x10000 ? 3 : 4;
    if (out) {
        if (count == 1) {
            out[0] = static_cast<char>(value);
        } else {
            static constexpr unsigned char kLeads[] = {0, 0, 0xC0, 0xE0, 0xF0};
            for (std::size_t i = count - 1; i > 0; --i) {
                out[i] = static_cast<char>(0x80 | (value & 0x3F));
                value >>= 6;
            }
            out[0] = static_cast<char>(kLeads[count] | value);
        }
    }
    return count;
}

char32_t DecodeUtf16(std::wstring_view text, std::size_t& pos) {
    const char32_t unit = text[pos++];
    if (unit < 0xD800 || unit > 0xDFFF)
        return unit;
    if (unit <= 0xDBFF && pos < text.size()) {
        const char32_t low = text[pos];
        if (low >= 0xDC00 && low <= 0xDFFF) {
            ++pos;
            return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        }
    }
    return U'?';
}

std::size_t EncodeUtf16(char32_t value, wchar_t* out) {
    if (!IsCharacter(value))
        value = U'?';
    if (value < 0x10000) {
        if (out)
            out[0] = static_cast<wchar_t>(value);
        return 1;
    }
    if (out) {
        value -= 0x10000;
        out[0] = static_cast<wchar_t>(0xD800 + (value >> 10));
        out[1] = static_cast<wchar_t>(0xDC00 + (value & 0x3FF));
    }
    return 2;
}

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i++]);
        if (lead == 0)
            return true;
        if (lead < 0x80)
            continue;
        std::size_t extra;
        if (!(lead & 0x20))
            extra = 1;
        else if (!(lead & 0x10))
            extra = 2;
        else if (!(lead & 0x08))
            extra = 3;
        else
            return false;
        for (; extra > 0; --extra, ++i) {
            if (i >= bytes.size() || !(static_cast<unsigned char>(bytes[i]) & 0x80))
                return false;
        }
    }
    return true;
}
