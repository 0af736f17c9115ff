#include "shared/xml/XmlTextEncoding.h"

#include "shared/xml/XmlCodePages.h"
#include "shared/xml/XmlFlags.h"
#include "shared/xml/XmlToken.h"
#include "shared/xml/XmlUnicode.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

namespace {

// Code pages for which the system cannot tell whether it had to use a default character.
bool CannotReportLoss(unsigned codePage) {
    return codePage == 42 || (codePage >= 50220 && codePage <= 50229) || codePage == 52936 ||
           codePage == 54936 || (codePage >= 57002 && codePage <= 57011) || codePage == 65000;
}

std::wstring WideFromBytes(std::string_view data) {
    std::wstring wide(data.size() / 2, L'\0');
    std::memcpy(wide.data(), data.data(), wide.size() * 2);
    return wide;
}

// Copies units into the output when there is one, and counts them.
class UnitWriter {
public:
    UnitWriter(std::span<char> out, std::size_t width) : m_out(out), m_width(width) {}
    template <class Unit> void Put(Unit unit) {
        static_assert(sizeof(Unit) == 2 || sizeof(Unit) == 4);
        if (!m_out.empty() && (m_units + 1) * m_width <= m_out.size())
            std::memcpy(m_out.data() + m_units * m_width, &unit, m_width);
        ++m_units;
    }
    void PutBytes(const char* bytes, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            if (m_units < m_out.size())
                m_out[m_units] = bytes[i];
            ++m_units;
        }
    }
    std::size_t Units() const { return m_units; }

private:
    std::span<char> m_out;
    std::size_t m_width;
    std::size_t m_units = 0;
};

// Own UTF-8 decoding, with a quick path for runs of ASCII (most of a markup file).
XmlConversion Utf8ToWide(std::string_view data, std::span<char> out) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
    const std::size_t size = data.size();
    const std::size_t capacity = out.size() / 2;
    char* const target = out.data();
    std::size_t units = 0;
    const auto put = [&](wchar_t unit) {
        if (units < capacity)
            std::memcpy(target + units * 2, &unit, 2);
        ++units;
    };
    for (std::size_t i = 0; i < size;) {
        if (bytes[i] < 0x80) {
            put(static_cast<wchar_t>(bytes[i++]));
            continue;
        }
        wchar_t pair[2];
        const std::size_t count = EncodeUtf16(DecodeUtf8(data, i), pair);
        for (std::size_t k = 0; k < count; ++k)
            put(pair[k]);
    }
    return {units, false};
}

XmlConversion BytesToWide(unsigned codePage, std::string_view data, std::span<char> out) {
    if (data.empty())
        return {};
    const int count =
        MultiByteToWideChar(codePage, 0, data.data(), static_cast<int>(data.size()), nullptr, 0);
    if (count <= 0 || out.empty())
        return {static_cast<std::size_t>(count > 0 ? count : 0), false};
    std::wstring wide(count, L'\0');
    const int made = MultiByteToWideChar(codePage, 0, data.data(), static_cast<int>(data.size()),
                                         wide.data(), count);
    const std::size_t units = std::min<std::size_t>(made > 0 ? made : 0, out.size() / 2);
    std::memcpy(out.data(), wide.data(), units * 2);
    return {units, false};
}

XmlConversion WideToBytes(unsigned codePage, std::wstring_view wide, std::span<char> out) {
    if (wide.empty())
        return {};
    BOOL usedDefault = FALSE;
    BOOL* lost = CannotReportLoss(codePage) ? nullptr : &usedDefault;
    const int count = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                          out.empty() ? nullptr : out.data(),
                                          static_cast<int>(out.size()), nullptr, lost);
    return {static_cast<std::size_t>(count > 0 ? count : 0), usedDefault != FALSE};
}

} // namespace

unsigned CodePageOfEncoding(std::wstring_view name) {
    if (name.substr(0, 6) == L"UTF-32")
        return XmlCodePage::Utf32;
    return CodePageFromName(name);
}

XmlConversion ConvertTextEncoding(std::wstring_view to, std::wstring_view from,
                                  std::string_view data, std::span<char> out) {
    const unsigned toPage = CodePageOfEncoding(to);
    const unsigned fromPage = CodePageOfEncoding(from);
    if (fromPage == XmlCodePage::Utf32) {
        // Only to UTF-8 and UTF-16; nothing else is produced from UTF-32.
        if (toPage != XmlCodePage::Utf8 && toPage != XmlCodePage::Utf16)
            return {};
        UnitWriter writer(out, toPage == XmlCodePage::Utf8 ? 1 : 2);
        for (std::size_t i = 0; i + 4 <= data.size(); i += 4) {
            char32_t value;
            std::memcpy(&value, data.data() + i, 4);
            if (toPage == XmlCodePage::Utf8) {
                char bytes[4];
                writer.PutBytes(bytes, EncodeUtf8(value, bytes));
            } else {
                wchar_t units[2];
                const std::size_t count = EncodeUtf16(value, units);
                for (std::size_t k = 0; k < count; ++k)
                    writer.Put(units[k]);
            }
        }
        return {writer.Units(), false};
    }
    if (fromPage == XmlCodePage::Utf16) {
        const std::wstring wide = WideFromBytes(data);
        if (toPage == XmlCodePage::Utf8) {
            UnitWriter writer(out, 1);
            for (std::size_t i = 0; i < wide.size();) {
                char bytes[4];
                writer.PutBytes(bytes, EncodeUtf8(DecodeUtf16(wide, i), bytes));
            }
            return {writer.Units(), false};
        }
        if (toPage != XmlCodePage::Utf32)
            return WideToBytes(toPage, wide, out);
        UnitWriter writer(out, 4);
        for (std::size_t i = 0; i < wide.size();)
            writer.Put(DecodeUtf16(wide, i));
        return {writer.Units(), false};
    }
    if (toPage == XmlCodePage::Utf16 && fromPage == XmlCodePage::Utf8)
        return Utf8ToWide(data, out);
    if (toPage == XmlCodePage::Utf16)
        return BytesToWide(fromPage, data, out);
    if (toPage == XmlCodePage::Utf32) {
        // Only from UTF-8.
        if (fromPage != XmlCodePage::Utf8)
            return {};
        UnitWriter writer(out, 4);
        for (std::size_t i = 0; i < data.size();)
            writer.Put(DecodeUtf8(data, i));
        return {writer.Units(), false};
    }
    // Between two byte encodings through UTF-16.
    const XmlConversion count = BytesToWide(fromPage, data, {});
    std::wstring wide(count.units, L'\0');
    BytesToWide(fromPage, data, {reinterpret_cast<char*>(wide.data()), wide.size() * 2});
    return WideToBytes(toPage, wide, out);
}

std::wstring FindDeclaredEncoding(std::wstring_view text) {
    const unsigned flags = XmlDocFlag::IgnoreCase;
    const auto is = [](std::wstring_view word, std::wstring_view name) {
        return word.size() == name.size() && XmlToken::MatchName(word, name, flags);
    };
    XmlToken token(text, flags);
    XmlNodeToken node;
    bool html = false;
    for (;;) {
        token.StepNode(node);
        const std::wstring_view name = text.substr(node.nameStart, node.nameLength);
        // Attributes are searched inside the node only.
        const XmlToken tag(text.substr(0, node.start + node.length), flags,
                           node.nameStart + node.nameLength);
        switch (node.type) {
        case XmlStep::EndOfText:
        case XmlStep::IllFormed:
            return {};
        case XmlStep::EndTag:
            if (is(name, L"head"))
                return {};
            break;
        case XmlNode::ProcessingInstruction:
            if (node.start == 0 && is(name, L"xml")) {
                const XmlAttributeSpan span = tag.FindAttribute(L"encoding");
                if (span.found && span.last > span.first)
                    return std::wstring(text.substr(span.first, span.last - span.first));
            }
            break;
        case XmlNode::Element:
            if (!html) {
                if (!is(name, L"html"))
                    return {};
                html = true;
            } else if (is(name, L"meta")) {
                const XmlAttributeSpan equiv = tag.FindAttribute(L"http-equiv");
                if (!equiv.found ||
                    !is(text.substr(equiv.first, equiv.last - equiv.first), L"Content-Type"))
                    break;
                const XmlAttributeSpan content = tag.FindAttribute(L"content");
                if (!content.found)
                    break;
                // The word after "charset" and "=".
                XmlToken words(text.substr(0, content.last), flags, content.first);
                while (words.NextWord()) {
                    if (!is(words.Word(), L"charset"))
                        continue;
                    if (words.NextWord() && words.Word() == L"=" && words.NextWord())
                        return std::wstring(words.Word());
                    break;
                }
            }
            break;
        default:
            break;
        }
    }
}
