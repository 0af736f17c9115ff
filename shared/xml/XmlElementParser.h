#pragma once

#include "shared/xml/XmlPositionPages.h"
#include "shared/xml/XmlToken.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Builds position records for the elements of a markup text. It never rejects markup: what
// cannot be read is flagged and described by the first error message.
class XmlElementParser {
public:
    // `message` receives the first error, and only while it is still empty.
    XmlElementParser(XmlPositionPages& records, std::wstring& message)
        : m_records(records), m_message(message) {}

    // Parses from the token's offset to the end of its text, linking the new top-level records
    // under `parent` after its child `after` (0: as first children). Record offsets are the
    // text's offsets plus `base`. Returns the first element created (0 for none).
    std::int32_t ParseElements(std::int32_t parent, std::int32_t after, XmlToken& token,
                               std::int32_t base = 0);

private:
    struct OpenElement {
        std::int32_t record;
        int nameStart;
        int nameLength;
    };

    void Report(std::wstring message);
    void FlagIllFormed();
    std::int32_t Current() const { return m_open.empty() ? m_start : m_open.back().record; }
    std::wstring_view NameOf(const OpenElement& open) const {
        return m_text.substr(open.nameStart, open.nameLength);
    }
    void CloseMatched(const XmlNodeToken& endTag);
    // Closes the open elements from stack index `from` up as elements without end tag.
    void CloseUnended(std::size_t from);

    XmlPositionPages& m_records;
    std::wstring& m_message;
    std::vector<OpenElement> m_open;
    std::wstring_view m_text;
    std::int32_t m_start = 0;
    std::int32_t m_base = 0;
    unsigned m_flags = 0;
};
