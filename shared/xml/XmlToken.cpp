#include "shared/xml/XmlToken.h"

#include "shared/xml/XmlFlags.h"
#include "shared/xml/XmlNameIndex.h"

#include <array>

namespace {

// Characters that end a word (and form a word of their own when met first).
constexpr std::array<bool, 128> kWordStops = [] {
    std::array<bool, 128> stops{};
    for (char c : std::string_view(" \t\n\r\"<>=\\/?!';"))
        stops[static_cast<unsigned char>(c)] = true;
    return stops;
}();

// A start-tag name runs up to one of these.
bool EndsTagName(wchar_t c) {
    return IsXmlBlank(c) || c == L'/' || c == L'>';
}

int Find(std::wstring_view text, std::wstring_view what, int from) {
    const auto at = text.find(what, static_cast<std::size_t>(from));
    return at == std::wstring_view::npos ? -1 : static_cast<int>(at);
}

} // namespace

bool XmlToken::IsWordStop(wchar_t c) {
    return c < 128 && kWordStops[c];
}

bool XmlToken::IsNameStart(wchar_t c) {
    return c == L':' || c == L'_' || (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') ||
           c >= 0x7B;
}

int XmlToken::WordRunEnd(int from) const {
    const int n = static_cast<int>(m_text.size());
    int i = from;
    if (i < n && IsWordStop(m_text[i]))
        return i + 1;
    while (i < n && !IsWordStop(m_text[i]))
        ++i;
    return i;
}

bool XmlToken::NextWord() {
    const int n = static_cast<int>(m_text.size());
    while (m_offset < n && IsXmlBlank(m_text[m_offset]))
        ++m_offset;
    if (m_offset >= n)
        return false;
    m_wordFirst = m_offset;
    m_wordLast = WordRunEnd(m_offset);
    m_offset = m_wordLast;
    return true;
}

bool XmlToken::MatchName(std::wstring_view word, std::wstring_view name, unsigned flags) {
    if (name.size() < word.size())
        return false;
    bool fold = (flags & XmlDocFlag::IgnoreCase) != 0;
    for (std::size_t i = 0; i < word.size(); ++i) {
        const wchar_t a = word[i];
        const wchar_t b = name[i];
        if (a == b) {
            // Folding stops at the first equal character outside ASCII.
            if (a >= 0x80)
                fold = false;
            continue;
        }
        if (!fold || LowerAscii(a) != LowerAscii(b))
            return false;
    }
    if (name.size() == word.size())
        return true;
    const wchar_t next = name[word.size()];
    return next == L' ' || next == L'=' || next == L'/' || next == L'[' || next == L']';
}

XmlAttributeSpan XmlToken::FindAttribute(std::wstring_view name, int n) const {
    XmlAttributeSpan span;
    const int size = static_cast<int>(m_text.size());
    int pos = m_offset;
    span.itemsEnd = pos;
    bool afterEquals = false;
    bool nameMatched = false;
    int count = 0;
    const auto valueFound = [&](int first, int last, bool quoted) {
        span.found = true;
        span.first = first;
        span.last = last;
        span.quoted = quoted;
        span.hasValue = true;
    };
    const auto matchedWithoutValue = [&] {
        span.found = true;
        span.first = span.last = span.nameEnd;
    };
    for (;;) {
        while (pos < size && IsXmlBlank(m_text[pos]))
            ++pos;
        if (pos >= size)
            break;
        const wchar_t c = m_text[pos];
        if (c == L'"' || c == L'\'') {
            int close = pos + 1;
            while (close < size && m_text[close] != c)
                ++close;
            const int first = pos + 1;
            pos = close < size ? close + 1 : size;
            span.itemsEnd = pos;
            if (afterEquals && nameMatched) {
                valueFound(first, close, true);
                return span;
            }
            afterEquals = false;
            continue;
        }
        if (c == L'=') {
            afterEquals = true;
            ++pos;
            span.itemsEnd = pos;
            continue;
        }
        if (c == L'>')
            break;
        int end = pos;
        if (afterEquals) {
            while (end < size && !IsXmlBlank(m_text[end]) && m_text[end] != L'>')
                ++end;
            span.itemsEnd = end;
            if (nameMatched) {
                valueFound(pos, end, false);
                return span;
            }
            afterEquals = false;
            pos = end;
            continue;
        }
        if (c == L'/' || c == L'?')
            break;
        while (end < size && !IsXmlBlank(m_text[end]) && m_text[end] != L'=' &&
               m_text[end] != L'>' && m_text[end] != L'/' && m_text[end] != L'?')
            ++end;
        span.itemsEnd = end;
        if (nameMatched) {
            // The attribute asked for had no value.
            matchedWithoutValue();
            return span;
        }
        if (name.empty()) {
            if (count++ == n) {
                span.found = true;
                span.first = pos;
                span.last = end;
                return span;
            }
        } else if (MatchName(m_text.substr(pos, end - pos), name, m_flags)) {
            nameMatched = true;
            span.nameEnd = end;
        }
        pos = end;
    }
    if (nameMatched && afterEquals)
        valueFound(pos, pos, false); // "name=" and nothing after it
    else if (nameMatched)
        matchedWithoutValue();
    return span;
}

void XmlToken::Unterminated(XmlNodeToken& node, const wchar_t* kind) {
    const int n = static_cast<int>(m_text.size());
    node.type = XmlStep::IllFormed;
    node.length = n - node.start;
    node.message =
        std::wstring(kind) + L" at offset " + std::to_wstring(node.start) + L" unterminated";
    m_offset = n;
}

void XmlToken::Incorrect(XmlNodeToken& node, const wchar_t* what) {
    const int n = static_cast<int>(m_text.size());
    int end = node.start + 1;
    while (end < n && m_text[end] != L'>')
        ++end;
    end = end < n ? end + 1 : n;
    node.type = XmlStep::IllFormed;
    node.length = end - node.start;
    node.message =
        std::wstring(L"Incorrect ") + what + L" at offset " + std::to_wstring(node.start);
    m_offset = end;
}

void XmlToken::StepNode(XmlNodeToken& node) {
    const wchar_t* s = m_text.data();
    const int n = static_cast<int>(m_text.size());
    const int i = m_offset;
    node.start = i;
    node.flags = 0;
    node.nameStart = node.nameLength = 0;
    if (!node.message.empty())
        node.message.clear();
    if (i >= n) {
        node.type = XmlStep::EndOfText;
        node.length = 0;
        return;
    }
    if (s[i] != L'<') {
        // Text, or whitespace until a non-blank character shows up; a ">" ends it after itself.
        int type = XmlNode::Whitespace;
        int j = i;
        while (j < n) {
            const wchar_t c = s[j];
            if (c == L'<')
                break;
            ++j;
            if (!IsXmlBlank(c)) {
                type = XmlNode::Text;
                if (c == L'>')
                    break;
            }
        }
        node.type = type;
        node.length = j - i;
        m_offset = j;
        return;
    }
    if (i + 1 >= n)
        return Unterminated(node, L"tag");
    const wchar_t c1 = s[i + 1];
    int j;
    if (c1 == L'?') {
        node.type = XmlNode::ProcessingInstruction;
        node.nameStart = i + 2;
        node.nameLength = WordRunEnd(i + 2) - (i + 2);
        const int close = Find(m_text, L"?>", i + 1);
        if (close < 0)
            return Unterminated(node, L"Processing instruction");
        j = close + 2;
    } else if (c1 == L'!') {
        if (i + 2 >= n)
            return Unterminated(node, L"tag");
        const wchar_t c2 = s[i + 2];
        if (c2 == L'-') {
            if (i + 3 >= n)
                return Unterminated(node, L"tag");
            if (s[i + 3] != L'-')
                return Incorrect(node, L"comment tag");
            node.type = XmlNode::Comment;
            const int close = Find(m_text, L"-->", i + 2);
            if (close < 0)
                return Unterminated(node, L"Comment");
            j = close + 3;
        } else if (c2 == L'[') {
            if (i + 3 >= n)
                return Unterminated(node, L"tag");
            if (s[i + 3] != L'C')
                return Incorrect(node, L"tag");
            node.type = XmlNode::CData;
            const int close = Find(m_text, L"]]>", i + 4);
            if (close < 0)
                return Unterminated(node, L"CDATA Section");
            j = close + 3;
        } else if (c2 == L'D') {
            // Nested declarations of an internal subset are skipped, with their quotes.
            node.type = XmlNode::DocumentType;
            int depth = 0;
            j = i + 3;
            for (;;) {
                if (j >= n)
                    return Unterminated(node, L"Doctype");
                const wchar_t c = s[j++];
                if (c == L'<') {
                    ++depth;
                } else if (c == L'>') {
                    if (depth == 0)
                        break;
                    --depth;
                } else if (depth > 0 && (c == L'"' || c == L'\'')) {
                    while (j < n && s[j] != c)
                        ++j;
                    if (j >= n)
                        return Unterminated(node, L"Doctype");
                    ++j;
                }
            }
        } else if (c2 == L'E' || c2 == L'A' || c2 == L'N') {
            node.type = XmlNode::DocumentType;
            j = i + 3;
            while (j < n && s[j] != L'>')
                ++j;
            if (j >= n)
                return Unterminated(node, L"tag");
            ++j;
        } else {
            return Incorrect(node, L"! tag");
        }
    } else {
        // Start or end tag: a ">" inside a quoted value does not end it.
        bool endTag = c1 == L'/';
        if (endTag) {
            node.type = XmlStep::EndTag;
            int w = i + 2;
            while (w < n && IsXmlBlank(s[w]))
                ++w;
            node.nameStart = w;
            node.nameLength = WordRunEnd(w) - w;
            j = i + 2;
        } else {
            if (!IsNameStart(c1))
                return Incorrect(node, L"tag name character");
            node.type = XmlNode::Element;
            j = i + 1;
            while (j < n && !EndsTagName(s[j]))
                ++j;
            node.nameStart = i + 1;
            node.nameLength = j - (i + 1);
        }
        const int nameEnd = j;
        bool afterEquals = false;
        for (;;) {
            if (j >= n)
                return Unterminated(node, endTag ? L"Element end tag" : L"Element tag");
            const wchar_t c = s[j];
            if (c == L'>')
                break;
            if (c == L'=') {
                afterEquals = true;
            } else if (afterEquals && (c == L'"' || c == L'\'')) {
                ++j;
                while (j < n && s[j] != c)
                    ++j;
                if (j >= n)
                    return Unterminated(node, endTag ? L"Element end tag" : L"Element tag");
                afterEquals = false;
            } else if (!IsXmlBlank(c)) {
                afterEquals = false;
            }
            ++j;
        }
        // "/>" closes the element unless the "/" ends an unquoted value.
        if (!endTag && j - 1 >= nameEnd && s[j - 1] == L'/') {
            const int slash = j - 1;
            if (slash == nameEnd || IsXmlBlank(s[slash - 1]) || s[slash - 1] == L'"' ||
                s[slash - 1] == L'\'')
                node.flags = XmlStep::ClosedEmpty;
        }
        ++j;
    }
    node.length = j - i;
    m_offset = j;
}
