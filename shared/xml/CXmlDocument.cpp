#include "shared/xml/CXmlDocument.h"

#include "shared/xml/XmlElementParser.h"
#include "shared/xml/XmlEscaping.h"
#include "shared/xml/XmlFileText.h"

namespace {

bool EndsTagName(wchar_t c) {
    return IsXmlBlank(c) || c == L'/' || c == L'>';
}

// The inside of a node without its delimiters; empty when the node is shorter than both.
std::wstring_view Inner(std::wstring_view node, std::size_t head, std::size_t tail) {
    if (node.size() < head + tail)
        return {};
    return node.substr(head, node.size() - head - tail);
}

} // namespace

CXmlDocument::CXmlDocument() {
    SetDocumentText({});
}

bool CXmlDocument::SetDocumentText(std::wstring_view text) {
    m_text.assign(text);
    m_status.clear();
    return ParseDocument();
}

bool CXmlDocument::ParseDocument() {
    std::wstring diagnostics = std::move(m_status);
    m_status.clear();
    m_saved.clear();
    m_records.Reset(static_cast<std::int32_t>(m_text.size() / 64 + 8));
    if (m_text.empty()) {
        m_status = L"Empty document";
    } else {
        XmlElementParser parser(m_records, m_status);
        XmlToken token(m_text, m_flags);
        parser.ParseElements(0, 0, token);
        Rec(0).length = static_cast<std::int32_t>(m_text.size());
        const std::int32_t root = Rec(0).firstChild;
        if (root == 0) {
            if (m_status.empty())
                m_status = L"No root element";
        } else if (Rec(root).nextSibling != 0) {
            m_status = L"Root element has sibling";
        }
    }
    ResetPosition();
    if (!diagnostics.empty())
        m_status = m_status.empty() ? std::move(diagnostics) : diagnostics + L" " + m_status;
    return IsWellFormed();
}

void CXmlDocument::ClearPositions() {
    m_saved.clear();
    m_records.Reset(8);
    ResetPosition();
}

bool CXmlDocument::LoadFile(const std::wstring& path) {
    m_status.clear();
    unsigned flags = m_flags;
    if (!XmlFileText::ReadWholeFile(path, m_text, m_status, flags)) {
        m_text.clear();
        ClearPositions();
        return false;
    }
    m_flags = flags;
    return ParseDocument();
}

bool CXmlDocument::SaveFile(const std::wstring& path) {
    m_status.clear();
    unsigned flags = m_flags;
    const bool written = XmlFileText::WriteWholeFile(path, m_text, m_status, flags);
    m_flags = flags;
    return written;
}

bool CXmlDocument::IsWellFormed() const {
    const XmlElementRecord& holder = Rec(0);
    if (holder.Has(XmlRecordFlag::ParseError) || holder.firstChild == 0)
        return false;
    return Rec(holder.firstChild).nextSibling == 0;
}

void CXmlDocument::ResetPosition() {
    m_parent = m_main = m_child = 0;
    m_nodeKind = 0;
    m_nodeOffset = m_nodeLength = 0;
}

void CXmlDocument::SetMainElement(std::int32_t r) {
    m_main = r;
    if (r == 0) {
        m_nodeKind = 0;
        m_nodeOffset = m_nodeLength = 0;
        return;
    }
    m_nodeKind = XmlNode::Element;
    m_nodeOffset = Rec(r).start;
    m_nodeLength = Rec(r).length;
}

std::wstring_view CXmlDocument::TagName(std::int32_t r) const {
    const XmlElementRecord& rec = Rec(r);
    const std::size_t first = static_cast<std::size_t>(rec.start) + 1;
    std::size_t last = first;
    while (last < m_text.size() && !EndsTagName(m_text[last]))
        ++last;
    return std::wstring_view(m_text).substr(first, last - first);
}

bool CXmlDocument::NameMatches(std::int32_t r, std::wstring_view name) const {
    return name.empty() || XmlToken::MatchName(TagName(r), name, m_flags);
}

bool CXmlDocument::FindElement(std::wstring_view name) {
    std::int32_t found = m_main != 0 ? Rec(m_main).nextSibling : Rec(m_parent).firstChild;
    while (found != 0 && !NameMatches(found, name))
        found = Rec(found).nextSibling;
    if (found == 0)
        return false;
    m_parent = Rec(found).parent;
    m_child = 0;
    SetMainElement(found);
    return true;
}

bool CXmlDocument::FindChildElement(std::wstring_view name) {
    std::int32_t main = m_main;
    std::int32_t after = m_child;
    if (main == 0) {
        // Without a current element the first one at this level (the root) becomes current.
        main = Rec(m_parent).firstChild;
        after = 0;
        if (main == 0)
            return false;
    }
    std::int32_t found = after != 0 ? Rec(after).nextSibling : Rec(main).firstChild;
    while (found != 0 && !NameMatches(found, name))
        found = Rec(found).nextSibling;
    if (found == 0)
        return false;
    m_child = found;
    m_parent = Rec(main).parent;
    SetMainElement(main);
    return true;
}

bool CXmlDocument::EnterElement() {
    if (m_main == 0 || m_nodeKind != XmlNode::Element)
        return false;
    m_parent = m_main;
    const std::int32_t child = m_child;
    m_child = 0;
    SetMainElement(child);
    return true;
}

bool CXmlDocument::LeaveElement() {
    if (m_parent == 0)
        return false;
    m_child = m_main;
    const std::int32_t main = m_parent;
    m_parent = Rec(main).parent;
    SetMainElement(main);
    return true;
}

CXmlDocument::NodeCursor CXmlDocument::CursorAt(std::int32_t parent, std::int32_t offset,
                                                std::int32_t last) const {
    return {offset, Rec(parent).ContentEnd(),
            last != 0 ? Rec(last).nextSibling : Rec(parent).firstChild, last};
}

bool CXmlDocument::NextNode(NodeCursor& cursor, XmlNodeToken& node, int& kind) const {
    if (cursor.offset >= cursor.end)
        return false;
    if (cursor.nextElement != 0 && Rec(cursor.nextElement).start == cursor.offset) {
        const XmlElementRecord& rec = Rec(cursor.nextElement);
        kind = XmlNode::Element;
        node.start = rec.start;
        node.length = rec.length;
        cursor.offset = rec.End();
        cursor.lastElement = cursor.nextElement;
        cursor.nextElement = rec.nextSibling;
        return true;
    }
    XmlToken token(std::wstring_view(m_text).substr(0, cursor.end), m_flags, cursor.offset);
    token.StepNode(node);
    cursor.offset = token.Offset();
    switch (node.type) {
    case XmlStep::EndOfText:
        return false;
    case XmlStep::EndTag:
        kind = XmlNode::StrayEndTag;
        break;
    case XmlNode::Element: // a start tag that got no record
    case XmlStep::IllFormed:
        kind = XmlNode::IllFormed;
        break;
    default:
        kind = node.type;
    }
    return true;
}

int CXmlDocument::SeekNode(int mask) {
    NodeCursor cursor;
    if (OnNode())
        cursor = CursorAt(m_parent, m_nodeOffset + m_nodeLength, m_main);
    else if (m_main != 0)
        cursor = CursorAt(m_parent, Rec(m_main).End(), m_main);
    else
        cursor = CursorAt(m_parent, Rec(m_parent).ContentStart(), 0);
    XmlNodeToken node;
    int kind = 0;
    while (NextNode(cursor, node, kind)) {
        if (mask != 0 && (kind & mask) == 0)
            continue;
        m_child = 0;
        if (kind == XmlNode::Element) {
            SetMainElement(cursor.lastElement);
        } else {
            m_main = cursor.lastElement;
            m_nodeKind = kind;
            m_nodeOffset = node.start;
            m_nodeLength = node.length;
        }
        return kind;
    }
    return 0;
}

std::wstring CXmlDocument::GetElementName() const {
    return m_main != 0 ? std::wstring(TagName(m_main)) : std::wstring();
}

std::wstring CXmlDocument::GetChildElementName() const {
    return m_child != 0 ? std::wstring(TagName(m_child)) : std::wstring();
}

std::wstring CXmlDocument::NodeText(int kind, std::int32_t offset, std::int32_t length) const {
    const std::wstring_view node = std::wstring_view(m_text).substr(offset, length);
    switch (kind) {
    case XmlNode::Comment:
        return std::wstring(Inner(node, 4, 3));
    case XmlNode::ProcessingInstruction:
        return std::wstring(Inner(node, 2, 2));
    case XmlNode::CData:
        return std::wstring(Inner(node, 9, 3));
    case XmlNode::StrayEndTag:
        return std::wstring(Inner(node, 2, 1));
    case XmlNode::Text:
    case XmlNode::Whitespace:
        return UnescapeText(node);
    default:
        return std::wstring(node);
    }
}

std::wstring CXmlDocument::ElementText(std::int32_t r) const {
    const XmlElementRecord& rec = Rec(r);
    if (rec.firstChild != 0 || rec.EndTagLength() == 0)
        return {};
    const std::wstring_view content =
        std::wstring_view(m_text).substr(rec.ContentStart(), rec.ContentEnd() - rec.ContentStart());
    if (content.find(L'<') == std::wstring_view::npos)
        return UnescapeText(content);
    // Only the text nodes and the insides of CDATA sections count.
    std::wstring text;
    XmlToken token(std::wstring_view(m_text).substr(0, rec.ContentEnd()), m_flags,
                   rec.ContentStart());
    XmlNodeToken node;
    for (token.StepNode(node); node.type != XmlStep::EndOfText; token.StepNode(node)) {
        if (node.type == XmlNode::Text || node.type == XmlNode::Whitespace ||
            node.type == XmlNode::CData)
            text += NodeText(node.type, node.start, node.length);
    }
    return text;
}

std::wstring CXmlDocument::GetElementText() const {
    if (OnNode())
        return NodeText(m_nodeKind, m_nodeOffset, m_nodeLength);
    return m_main != 0 ? ElementText(m_main) : std::wstring();
}

std::wstring CXmlDocument::GetChildText() const {
    return m_child != 0 ? ElementText(m_child) : std::wstring();
}

XmlAttributeSpan CXmlDocument::FindAttributeOf(std::int32_t tagStart, std::int32_t tagEnd,
                                               std::wstring_view name, int n) const {
    // The search starts after the tag name (or the target of a processing instruction).
    const std::wstring_view tag = std::wstring_view(m_text).substr(0, tagEnd);
    XmlToken token(tag, m_flags, tagStart + 1);
    if (m_text[tagStart + 1] == L'?') {
        token.SetOffset(tagStart + 2);
        token.NextWord();
    } else {
        std::int32_t end = tagStart + 1;
        while (end < tagEnd && !EndsTagName(m_text[end]))
            ++end;
        token.SetOffset(end);
    }
    return token.FindAttribute(name, n);
}

// The tag whose attributes the main forms read: a current processing instruction, else the
// element r.
bool CXmlDocument::CurrentAttributeTag(std::int32_t r, std::int32_t& start,
                                       std::int32_t& end) const {
    if (r == m_main && m_nodeKind == XmlNode::ProcessingInstruction) {
        start = m_nodeOffset;
        end = m_nodeOffset + m_nodeLength;
        return true;
    }
    if (r == 0)
        return false;
    start = Rec(r).start;
    end = start + Rec(r).StartTagLength();
    return true;
}

std::wstring CXmlDocument::AttributeOf(std::int32_t r, std::wstring_view name) const {
    std::int32_t start, end;
    if (name.empty() || !CurrentAttributeTag(r, start, end))
        return {};
    const XmlAttributeSpan span = FindAttributeOf(start, end, name, 0);
    if (!span.found)
        return {};
    return UnescapeText(std::wstring_view(m_text).substr(span.first, span.last - span.first));
}

std::wstring CXmlDocument::GetAttribute(std::wstring_view name) const {
    return AttributeOf(m_main, name);
}

std::wstring CXmlDocument::GetChildAttribute(std::wstring_view name) const {
    if (m_child == 0)
        return {};
    return AttributeOf(m_child, name);
}

std::wstring CXmlDocument::GetAttributeName(int n) const {
    std::int32_t start, end;
    if (n < 0 || !CurrentAttributeTag(m_main, start, end))
        return {};
    const XmlAttributeSpan span = FindAttributeOf(start, end, {}, n);
    if (!span.found)
        return {};
    return m_text.substr(span.first, span.last - span.first);
}

std::wstring CXmlDocument::GetNodeLabel() const {
    switch (m_nodeKind) {
    case XmlNode::Text:
    case XmlNode::Whitespace:
        return L"#text";
    case XmlNode::CData:
        return L"#cdata-section";
    case XmlNode::Comment:
        return L"#comment";
    case XmlNode::ProcessingInstruction:
    case XmlNode::DocumentType: {
        XmlToken token(std::wstring_view(m_text).substr(0, m_nodeOffset + m_nodeLength), m_flags,
                       m_nodeOffset + 2);
        return token.NextWord() ? std::wstring(token.Word()) : std::wstring();
    }
    case 0:
    case XmlNode::Element:
        return GetElementName();
    default:
        return {};
    }
}

std::wstring CXmlDocument::GetElementPath() const {
    if (m_main == 0)
        return {};
    std::wstring path;
    for (std::int32_t r = m_main; r != 0; r = Rec(r).parent) {
        const std::wstring_view name = TagName(r);
        int rank = 1;
        for (std::int32_t s = Rec(Rec(r).parent).firstChild; s != r && s != 0;
             s = Rec(s).nextSibling) {
            const std::wstring_view other = TagName(s);
            if (other.size() == name.size() && XmlToken::MatchName(other, name, m_flags))
                ++rank;
        }
        std::wstring step = L"/" + std::wstring(name);
        if (rank > 1)
            step += L"[" + std::to_wstring(rank) + L"]";
        path.insert(0, step);
    }
    return path;
}

std::wstring CXmlDocument::GetElementContent() const {
    if (m_main == 0 || Rec(m_main).EndTagLength() == 0)
        return {};
    const XmlElementRecord& rec = Rec(m_main);
    return m_text.substr(rec.ContentStart(), rec.ContentEnd() - rec.ContentStart());
}

std::int32_t CXmlDocument::TrailingBlanks(std::int32_t offset) const {
    std::size_t end = offset;
    while (end < m_text.size() && IsXmlBlank(m_text[end]))
        ++end;
    if (end < m_text.size() && m_text[end] != L'<')
        return 0;
    return static_cast<std::int32_t>(end) - offset;
}

std::wstring CXmlDocument::MarkupOf(std::int32_t r) const {
    const XmlElementRecord& rec = Rec(r);
    return m_text.substr(rec.start, rec.length + TrailingBlanks(rec.End()));
}

std::wstring CXmlDocument::GetElementMarkup() const {
    return m_main != 0 ? MarkupOf(m_main) : std::wstring();
}

std::wstring CXmlDocument::GetChildMarkup() const {
    return m_child != 0 ? MarkupOf(m_child) : std::wstring();
}

bool CXmlDocument::StorePosition(std::wstring_view name, int map) {
    if (name.empty() || map < 0)
        return false;
    if (m_child != 0)
        m_saved[map].Store(name, m_child, XmlSavedPositions::ChildPlace);
    else if (m_main != 0)
        m_saved[map].Store(name, m_main, XmlSavedPositions::MainPlace);
    else
        m_saved[map].Store(name, m_parent, XmlSavedPositions::ParentPlace);
    return true;
}

bool CXmlDocument::RecallPosition(std::wstring_view name, int map) {
    const auto found = m_saved.find(map);
    if (found == m_saved.end())
        return false;
    const XmlSavedPositions::Entry* entry = found->second.Find(name);
    if (!entry)
        return false;
    switch (entry->kind) {
    case XmlSavedPositions::ChildPlace: {
        m_child = entry->position;
        const std::int32_t main = Rec(m_child).parent;
        m_parent = Rec(main).parent;
        SetMainElement(main);
        break;
    }
    case XmlSavedPositions::MainPlace:
        m_child = 0;
        m_parent = Rec(entry->position).parent;
        SetMainElement(entry->position);
        break;
    case XmlSavedPositions::ParentPlace:
        m_parent = entry->position;
        m_child = 0;
        SetMainElement(0);
        break;
    }
    return true;
}
