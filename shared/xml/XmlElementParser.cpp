#include "shared/xml/XmlElementParser.h"

#include "shared/xml/XmlFlags.h"

#include <cwchar>

void XmlElementParser::Report(std::wstring message) {
    if (m_message.empty())
        m_message = std::move(message);
}

void XmlElementParser::FlagIllFormed() {
    m_records[m_start].levelFlags |= XmlRecordFlag::ParseError;
    m_records[Current()].levelFlags |= XmlRecordFlag::IllFormedInside;
}

std::int32_t XmlElementParser::ParseElements(std::int32_t parent, std::int32_t after,
                                             XmlToken& token, std::int32_t base) {
    m_text = token.Text();
    m_start = parent;
    m_base = base;
    m_flags = token.Flags();
    m_open.clear();
    m_open.reserve(6);
    const std::uint32_t baseLevel = parent == 0 ? 0 : m_records[parent].Level() + 1;
    const wchar_t* const text = m_text.data();
    const int size = static_cast<int>(m_text.size());
    std::int32_t topAfter = after;
    std::int32_t first = 0;
    XmlNodeToken node;
    int offset = token.Offset();
    for (;;) {
        // Text makes no records: go straight to the next markup.
        if (offset >= size)
            break;
        const wchar_t* lt = std::wmemchr(text + offset, L'<', size - offset);
        if (!lt)
            break;
        token.SetOffset(static_cast<int>(lt - text));
        token.StepNode(node);
        offset = token.Offset();
        switch (node.type) {
        case XmlNode::Element: {
            const std::uint32_t level = baseLevel + static_cast<std::uint32_t>(m_open.size());
            if (level > XmlElementRecord::kMaxLevel ||
                static_cast<std::uint32_t>(node.length) > XmlElementRecord::kMaxStartTag) {
                // Deeper or longer than a record can hold.
                FlagIllFormed();
                Report(L"Incorrect tag at offset " + std::to_wstring(node.start));
                break;
            }
            const std::int32_t r = m_records.Allocate();
            XmlElementRecord& rec = m_records[r];
            rec.start = base + node.start;
            rec.SetTagLengths(node.length, 0);
            rec.levelFlags = level;
            if (m_open.empty()) {
                m_records.LinkAfter(parent, topAfter, r);
                topAfter = r;
            } else {
                const std::int32_t up = m_open.back().record;
                m_records.LinkAfter(up, m_records.LastChild(up), r);
            }
            if (first == 0)
                first = r;
            if (node.flags & XmlStep::ClosedEmpty) {
                m_records[r].length = node.length;
            } else {
                if (m_open.size() == m_open.capacity())
                    m_open.reserve(m_open.size() * 2 + 6);
                m_open.push_back({r, node.nameStart, node.nameLength});
            }
            break;
        }
        case XmlStep::EndTag:
            if (static_cast<std::uint32_t>(node.length) > XmlElementRecord::kMaxEndTag) {
                FlagIllFormed();
                Report(L"Incorrect tag at offset " + std::to_wstring(node.start));
            } else {
                CloseMatched(node);
            }
            break;
        case XmlStep::IllFormed:
            FlagIllFormed();
            Report(std::move(node.message));
            node.message.clear();
            break;
        default:
            break;
        }
    }
    if (!m_open.empty()) {
        const OpenElement& top = m_open.back();
        Report(L"Element '" + std::wstring(NameOf(top)) + L"' at offset " +
               std::to_wstring(m_records[top.record].start - base) + L" not ended");
        CloseUnended(0);
    }
    token.SetOffset(size);
    return first;
}

void XmlElementParser::CloseMatched(const XmlNodeToken& endTag) {
    const std::wstring_view word = m_text.substr(endTag.nameStart, endTag.nameLength);
    std::size_t k = m_open.size();
    while (k > 0 && !XmlToken::MatchName(word, NameOf(m_open[k - 1]), m_flags))
        --k;
    if (k == 0) {
        FlagIllFormed();
        Report(L"No start tag for end tag '" + std::wstring(word) + L"' at offset " +
               std::to_wstring(endTag.start));
        return;
    }
    const std::size_t found = k - 1;
    if (found + 1 < m_open.size()) {
        const OpenElement& top = m_open.back();
        Report(L"End tag '" + std::wstring(word) + L"' at offset " +
               std::to_wstring(endTag.start + 1) + L" does not match start tag '" +
               std::wstring(NameOf(top)) + L"' at offset " +
               std::to_wstring(m_records[top.record].start - m_base));
        CloseUnended(found + 1);
    }
    XmlElementRecord& rec = m_records[m_open[found].record];
    rec.length = m_base + endTag.start + endTag.length - rec.start;
    rec.SetTagLengths(rec.StartTagLength(), endTag.length);
    m_open.pop_back();
}

void XmlElementParser::CloseUnended(std::size_t from) {
    const std::int32_t outer = from == 0 ? m_start : m_open[from - 1].record;
    // "Something inside is ill-formed" climbs out through every element closed here.
    for (std::size_t i = m_open.size(); i-- > from;) {
        if (m_records[m_open[i].record].Has(XmlRecordFlag::IllFormedInside)) {
            const std::int32_t up = i > from ? m_open[i - 1].record : outer;
            m_records[up].levelFlags |= XmlRecordFlag::IllFormedInside;
        }
    }
    // Each element closed here is followed, as a sibling under `outer`, by its own children;
    // the next element closed is always its last child.
    std::int32_t prev = m_open[from].record;
    for (std::size_t i = from; i < m_open.size(); ++i) {
        const std::int32_t r = m_open[i].record;
        if (i > from) {
            m_records.LinkAfter(outer, prev, r);
            prev = r;
        }
        XmlElementRecord& rec = m_records[r];
        rec.levelFlags |= XmlRecordFlag::NoEndTag;
        rec.length = rec.StartTagLength();
        rec.SetTagLengths(rec.StartTagLength(), 0);
        std::int32_t child = rec.firstChild;
        rec.firstChild = 0;
        const std::int32_t nextOpen = i + 1 < m_open.size() ? m_open[i + 1].record : 0;
        while (child != 0) {
            const std::int32_t next = m_records[child].nextSibling;
            if (child != nextOpen) {
                m_records.LinkAfter(outer, prev, child);
                prev = child;
            }
            child = next;
        }
    }
    m_records[m_start].levelFlags |= XmlRecordFlag::ParseError;
    m_open.resize(from);
}
