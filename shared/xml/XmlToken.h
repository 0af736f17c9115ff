#pragma once

#include <string>
#include <string_view>

// Results of a tokenizer step that are not node kinds.
namespace XmlStep {
inline constexpr int EndTag = 0;
inline constexpr int IllFormed = -1;
inline constexpr int EndOfText = -2;
inline constexpr unsigned ClosedEmpty = 0x10000; // start tag closed by "/>"
} // namespace XmlStep

// One piece of markup found by XmlToken::StepNode.
struct XmlNodeToken {
    int type = XmlStep::EndOfText; // an XmlNode kind or an XmlStep result
    int start = 0;
    int length = 0;
    unsigned flags = 0;
    int nameStart = 0; // tag name of start and end tags, target of processing instructions
    int nameLength = 0;
    std::wstring message; // what is wrong, for ill-formed markup
};

// Where FindAttribute found an attribute (offsets into the token's text, last one past the end).
struct XmlAttributeSpan {
    bool found = false;
    int first = 0;
    int last = 0;
    bool quoted = false;   // the value stood in quotes
    bool hasValue = false; // the named attribute had a value at all
    int nameEnd = 0;       // end of the named attribute's name
    int itemsEnd = 0;      // end of the last item read: where a new attribute goes
};

// Scanner over a document text: words, tag names, attributes and markup nodes.
class XmlToken {
public:
    XmlToken(std::wstring_view text, unsigned flags, int offset = 0)
        : m_text(text), m_flags(flags), m_offset(offset) {}

    int Offset() const { return m_offset; }
    void SetOffset(int offset) { m_offset = offset; }
    std::wstring_view Text() const { return m_text; }
    unsigned Flags() const { return m_flags; }

    // Scans the next word after the offset; false at the end of the text.
    bool NextWord();
    std::wstring_view Word() const { return m_text.substr(m_wordFirst, m_wordLast - m_wordFirst); }
    // Whether a name starts with the word (ASCII case folded with XmlDocFlag::IgnoreCase) and
    // then ends or goes on with one of " =/[]".
    static bool MatchName(std::wstring_view word, std::wstring_view name, unsigned flags);
    // Characters that end a word, and those that may start a tag name.
    static bool IsWordStop(wchar_t c);
    static bool IsNameStart(wchar_t c);

    // Searches the attributes from the offset (just after a tag name) to the end of the text:
    // with a name, the value of the first attribute of that name; without, the name of the
    // n-th attribute.
    XmlAttributeSpan FindAttribute(std::wstring_view name, int n = 0) const;

    // Reads the markup node at the offset and moves the offset past it.
    void StepNode(XmlNodeToken& node);

private:
    void Unterminated(XmlNodeToken& node, const wchar_t* kind);
    void Incorrect(XmlNodeToken& node, const wchar_t* what);
    int WordRunEnd(int from) const;

    std::wstring_view m_text;
    unsigned m_flags;
    int m_offset;
    int m_wordFirst = 0;
    int m_wordLast = 0;
};

inline bool IsXmlBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r';
}
