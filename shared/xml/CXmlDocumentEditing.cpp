// The editing operations of CXmlDocument: each splices the text once and keeps the records in
// step with it, so that the records always match what a reparse of the text would build.
#include "shared/xml/CXmlDocument.h"

#include "shared/xml/XmlElementParser.h"
#include "shared/xml/XmlEscaping.h"

namespace {

bool HasWordStop(std::wstring_view name) {
    for (wchar_t c : name) {
        if (XmlToken::IsWordStop(c) || c == L'&')
            return true;
    }
    return false;
}

// A name that reads back as itself in a start tag and in an end tag that fits a record.
bool IsValidTagName(std::wstring_view name) {
    return !name.empty() && XmlToken::IsNameStart(name[0]) && !HasWordStop(name) &&
           name.size() + 3 <= XmlElementRecord::kMaxEndTag;
}

bool IsValidAttributeName(std::wstring_view name) {
    return !name.empty() && !HasWordStop(name);
}

} // namespace

void CXmlDocument::Splice(std::int32_t offset, std::int32_t removed, std::wstring_view text) {
    m_text.replace(offset, removed, text);
    const std::int32_t delta = static_cast<std::int32_t>(text.size()) - removed;
    const std::int32_t used = m_records.UsedCount();
    for (std::int32_t r = 1; r < used; ++r) {
        XmlElementRecord& rec = Rec(r);
        if (rec.Has(XmlRecordFlag::Freed))
            continue;
        // Records behind the splice move; records around it grow or shrink.
        if (rec.start >= offset + removed)
            rec.start += delta;
        else if (rec.start <= offset && offset + removed <= rec.End() &&
                 (removed > 0 || offset < rec.End()))
            rec.length += delta;
    }
    Rec(0).length = static_cast<std::int32_t>(m_text.size());
}

void CXmlDocument::FreeSubtree(std::int32_t r) {
    std::vector<std::int32_t> pending{r};
    while (!pending.empty()) {
        const std::int32_t x = pending.back();
        pending.pop_back();
        Rec(x).levelFlags |= XmlRecordFlag::Freed;
        for (std::int32_t c = Rec(x).firstChild; c != 0; c = Rec(c).nextSibling)
            pending.push_back(c);
    }
}

void CXmlDocument::DropFreedPositions() {
    for (auto& [number, map] : m_saved)
        map.DropIf([this](std::int32_t r) { return r != 0 && Rec(r).Has(XmlRecordFlag::Freed); });
}

bool CXmlDocument::FindInsertionPoint(unsigned flags, bool fromNode, InsertionPoint& point) const {
    const bool before = (flags & XmlEditFlag::Before) != 0;
    std::int32_t parent, ref;
    if (flags & XmlEditFlag::AsChild) {
        if (m_main == 0)
            return false;
        parent = m_main;
        ref = m_child;
        fromNode = false;
    } else {
        parent = m_parent;
        ref = m_main;
    }
    const XmlElementRecord& up = Rec(parent);
    // An element without end tag has no content to put anything into.
    if (parent != 0 && up.Has(XmlRecordFlag::NoEndTag))
        return false;
    if (parent != 0 && up.Level() + 1 > XmlElementRecord::kMaxLevel)
        return false;
    point.parent = parent;
    point.openEmpty = parent != 0 && up.EndTagLength() == 0;
    if (fromNode && OnNode()) {
        point.after = m_main;
        const std::int32_t end = m_nodeOffset + m_nodeLength;
        point.offset = before ? m_nodeOffset : end + TrailingBlanks(end);
    } else if (ref != 0) {
        const XmlElementRecord& rec = Rec(ref);
        point.after = before ? m_records.PreviousSibling(ref) : ref;
        point.offset = before ? rec.start : rec.End() + TrailingBlanks(rec.End());
    } else {
        point.after = before ? 0 : m_records.LastChild(parent);
        point.offset = before ? up.ContentStart() : up.ContentEnd();
    }
    return true;
}

std::int32_t CXmlDocument::OpenEmptyElement(std::int32_t r, std::wstring_view content) {
    const std::wstring name(TagName(r));
    const std::int32_t slash = Rec(r).start + Rec(r).StartTagLength() - 2;
    Splice(slash, 2, L">" + std::wstring(content) + L"</" + name + L">");
    XmlElementRecord& rec = Rec(r);
    rec.SetTagLengths(slash + 1 - rec.start, static_cast<std::int32_t>(name.size()) + 3);
    return slash + 1;
}

std::int32_t CXmlDocument::InsertText(const InsertionPoint& point, std::wstring_view markup,
                                      unsigned flags) {
    const bool breaks = (flags & XmlEditFlag::NoLineBreak) == 0;
    const std::wstring after = breaks ? L"\r\n" : L"";
    if (point.openEmpty)
        return OpenEmptyElement(point.parent, after + std::wstring(markup) + after) +
               static_cast<std::int32_t>(after.size());
    const XmlElementRecord& up = Rec(point.parent);
    // In an element that had no content at all the new text starts on a line of its own.
    const bool ownLine = breaks && point.parent != 0 && up.ContentStart() == up.ContentEnd();
    const std::wstring lead = ownLine ? L"\r\n" : L"";
    Splice(point.offset, 0, lead + std::wstring(markup) + after);
    return point.offset + static_cast<std::int32_t>(lead.size());
}

bool CXmlDocument::AddElement(std::wstring_view name, std::wstring_view value, unsigned flags) {
    if (!IsValidTagName(name))
        return false;
    if ((flags & XmlEditFlag::NoEndTag) && !value.empty())
        return false;
    const std::wstring tag(name);
    std::wstring markup;
    if (!value.empty()) {
        markup = L"<" + tag + L">" +
                 ((flags & XmlEditFlag::WithCData)
                      ? EncodeCData(value)
                      : EscapeText(value, flags & XmlEditFlag::KeepReferences)) +
                 L"</" + tag + L">";
    } else if (flags & XmlEditFlag::NoEndTag) {
        markup = L"<" + tag + L">";
    } else {
        markup = L"<" + tag + ((flags & XmlEditFlag::SpaceBeforeSlash) ? L" />" : L"/>");
    }
    InsertionPoint point;
    if (!FindInsertionPoint(flags, false, point))
        return false;
    const std::int32_t offset = InsertText(point, markup, flags);
    const std::int32_t r = m_records.Allocate();
    XmlElementRecord& rec = Rec(r);
    rec.start = offset;
    rec.length = static_cast<std::int32_t>(markup.size());
    if (!value.empty())
        rec.SetTagLengths(static_cast<std::int32_t>(tag.size()) + 2,
                          static_cast<std::int32_t>(tag.size()) + 3);
    else
        rec.SetTagLengths(rec.length, 0);
    rec.levelFlags = point.parent == 0 ? 0 : Rec(point.parent).Level() + 1;
    if (flags & XmlEditFlag::NoEndTag)
        rec.levelFlags |= XmlRecordFlag::NoEndTag;
    m_records.LinkAfter(point.parent, point.after, r);
    if (flags & XmlEditFlag::AsChild) {
        m_child = r;
        SetMainElement(m_main);
    } else {
        m_child = 0;
        SetMainElement(r);
    }
    return true;
}

bool CXmlDocument::AppendElement(std::wstring_view name, std::wstring_view value, unsigned flags) {
    return AddElement(name, value, flags & ~(XmlEditFlag::AsChild | XmlEditFlag::Before));
}

bool CXmlDocument::InsertElementBefore(std::wstring_view name, std::wstring_view value,
                                       unsigned flags) {
    return AddElement(name, value, (flags & ~XmlEditFlag::AsChild) | XmlEditFlag::Before);
}

bool CXmlDocument::AppendChildElement(std::wstring_view name, std::wstring_view value,
                                      unsigned flags) {
    return AddElement(name, value, (flags & ~XmlEditFlag::Before) | XmlEditFlag::AsChild);
}

bool CXmlDocument::InsertChildElementBefore(std::wstring_view name, std::wstring_view value,
                                            unsigned flags) {
    return AddElement(name, value, flags | XmlEditFlag::AsChild | XmlEditFlag::Before);
}

bool CXmlDocument::NodeMarkup(int kind, std::wstring_view text, std::wstring& markup,
                              int& readKind) const {
    switch (kind) {
    case XmlNode::Element:
        markup = L"<" + std::wstring(text) + L"/>";
        break;
    case XmlNode::Text:
    case XmlNode::Whitespace:
        if (text.empty())
            return false;
        markup = EscapeText(text);
        break;
    case XmlNode::CData:
        if (text.find(L"]]>") != std::wstring_view::npos)
            return false;
        markup = L"<![CDATA[" + std::wstring(text) + L"]]>";
        break;
    case XmlNode::ProcessingInstruction:
        markup = L"<?" + std::wstring(text) + L"?>";
        break;
    case XmlNode::Comment:
        markup = L"<!--" + std::wstring(text) + L"-->";
        break;
    case XmlNode::DocumentType:
        markup = text;
        break;
    default:
        return false;
    }
    // The markup must read back as exactly one node of its kind.
    XmlToken token(markup, m_flags);
    XmlNodeToken node;
    token.StepNode(node);
    if (node.length != static_cast<int>(markup.size()))
        return false;
    readKind = node.type;
    switch (kind) {
    case XmlNode::Text:
    case XmlNode::Whitespace:
        return node.type == XmlNode::Text || node.type == XmlNode::Whitespace;
    case XmlNode::Element:
        return node.type == kind && (node.flags & XmlStep::ClosedEmpty) &&
               markup.size() <= XmlElementRecord::kMaxStartTag;
    default:
        return node.type == kind;
    }
}

bool CXmlDocument::InsertNode(int kind, std::wstring_view text, unsigned flags) {
    std::wstring markup;
    int readKind = 0;
    if (!NodeMarkup(kind, text, markup, readKind))
        return false;
    flags &= ~XmlEditFlag::AsChild;
    // Only declarations, instructions and comments get a line of their own.
    if (kind == XmlNode::Element || kind == XmlNode::Text || kind == XmlNode::Whitespace ||
        kind == XmlNode::CData)
        flags |= XmlEditFlag::NoLineBreak;
    InsertionPoint point;
    if (!FindInsertionPoint(flags, true, point))
        return false;
    const std::int32_t offset = InsertText(point, markup, flags);
    m_child = 0;
    if (kind == XmlNode::Element) {
        const std::int32_t r = m_records.Allocate();
        XmlElementRecord& rec = Rec(r);
        rec.start = offset;
        rec.length = static_cast<std::int32_t>(markup.size());
        rec.SetTagLengths(rec.length, 0);
        rec.levelFlags = point.parent == 0 ? 0 : Rec(point.parent).Level() + 1;
        m_records.LinkAfter(point.parent, point.after, r);
        SetMainElement(r);
        return true;
    }
    m_main = point.after;
    m_nodeKind = readKind;
    m_nodeOffset = offset;
    m_nodeLength = static_cast<std::int32_t>(markup.size());
    return true;
}

bool CXmlDocument::SetTextOf(std::int32_t r, std::wstring_view text, unsigned flags) {
    const XmlElementRecord& rec = Rec(r);
    if (rec.firstChild != 0 || rec.Has(XmlRecordFlag::NoEndTag))
        return false;
    const std::wstring content = (flags & XmlEditFlag::WithCData)
                                     ? EncodeCData(text)
                                     : EscapeText(text, flags & XmlEditFlag::KeepReferences);
    if (rec.EndTagLength() == 0) {
        if (TagName(r).size() + 3 > XmlElementRecord::kMaxEndTag)
            return false;
        OpenEmptyElement(r, content);
    } else {
        Splice(rec.ContentStart(), rec.ContentEnd() - rec.ContentStart(), content);
    }
    Rec(r).levelFlags &= ~XmlRecordFlag::IllFormedInside;
    return true;
}

bool CXmlDocument::SetElementText(std::wstring_view text, unsigned flags) {
    if (OnNode()) {
        std::wstring markup;
        int readKind = 0;
        if (!NodeMarkup(m_nodeKind, text, markup, readKind))
            return false;
        Splice(m_nodeOffset, m_nodeLength, markup);
        m_nodeKind = readKind;
        m_nodeLength = static_cast<std::int32_t>(markup.size());
        return true;
    }
    return m_main != 0 && SetTextOf(m_main, text, flags);
}

bool CXmlDocument::SetChildText(std::wstring_view text, unsigned flags) {
    return m_child != 0 && SetTextOf(m_child, text, flags);
}

bool CXmlDocument::SetAttributeOf(std::int32_t r, std::wstring_view name, std::wstring_view value,
                                  unsigned flags) {
    std::int32_t start, end;
    if (!IsValidAttributeName(name) || !CurrentAttributeTag(r, start, end))
        return false;
    const bool onInstruction = r == m_main && m_nodeKind == XmlNode::ProcessingInstruction;
    const XmlAttributeSpan span = FindAttributeOf(start, end, name, 0);
    const std::wstring quoted =
        L"\"" +
        EscapeText(value, XmlEditFlag::EscapeQuotes | (flags & XmlEditFlag::KeepReferences)) +
        L"\"";
    std::int32_t at, removed = 0;
    std::wstring text;
    if (span.found && span.hasValue) {
        at = span.quoted ? span.first - 1 : span.first;
        removed = (span.quoted ? span.itemsEnd : span.last) - at;
        text = quoted;
    } else if (span.found) {
        at = span.nameEnd;
        text = L"=" + quoted;
    } else {
        at = span.itemsEnd;
        text = L" " + std::wstring(name) + L"=" + quoted;
    }
    // The changed tag must still read as the same kind of tag, ending where it now ends.
    std::wstring tag = m_text.substr(start, end - start);
    tag.replace(at - start, removed, text);
    XmlToken token(tag, m_flags);
    XmlNodeToken node;
    token.StepNode(node);
    const std::int32_t delta = static_cast<std::int32_t>(text.size()) - removed;
    if (node.length != static_cast<int>(tag.size()))
        return false;
    if (onInstruction) {
        if (node.type != XmlNode::ProcessingInstruction)
            return false;
    } else {
        const bool closed = Rec(r).EndTagLength() == 0 && !Rec(r).Has(XmlRecordFlag::NoEndTag);
        if (node.type != XmlNode::Element || ((node.flags & XmlStep::ClosedEmpty) != 0) != closed ||
            tag.size() > XmlElementRecord::kMaxStartTag)
            return false;
    }
    Splice(at, removed, text);
    if (onInstruction)
        m_nodeLength += delta;
    else
        Rec(r).SetTagLengths(Rec(r).StartTagLength() + delta, Rec(r).EndTagLength());
    return true;
}

bool CXmlDocument::SetAttribute(std::wstring_view name, std::wstring_view value, unsigned flags) {
    return SetAttributeOf(m_main, name, value, flags);
}

bool CXmlDocument::SetChildAttribute(std::wstring_view name, std::wstring_view value,
                                     unsigned flags) {
    return m_child != 0 && SetAttributeOf(m_child, name, value, flags);
}

bool CXmlDocument::SetElementContent(std::wstring_view markup) {
    if (m_main == 0 || OnNode())
        return false;
    const std::int32_t r = m_main;
    const XmlElementRecord& rec = Rec(r);
    if (rec.Has(XmlRecordFlag::NoEndTag) ||
        (rec.EndTagLength() == 0 && TagName(r).size() + 3 > XmlElementRecord::kMaxEndTag))
        return false;
    const std::wstring content(markup);
    for (std::int32_t c = rec.firstChild; c != 0;) {
        const std::int32_t next = Rec(c).nextSibling;
        FreeSubtree(c);
        c = next;
    }
    Rec(r).firstChild = 0;
    Rec(r).levelFlags &= ~(XmlRecordFlag::IllFormedInside | XmlRecordFlag::ParseError);
    std::int32_t contentStart;
    if (Rec(r).EndTagLength() == 0) {
        contentStart = OpenEmptyElement(r, content);
    } else {
        contentStart = Rec(r).ContentStart();
        Splice(contentStart, Rec(r).ContentEnd() - contentStart, content);
    }
    std::wstring message;
    XmlElementParser parser(m_records, message);
    XmlToken token(content, m_flags);
    parser.ParseElements(r, 0, token, contentStart);
    m_child = 0;
    SetMainElement(r);
    DropFreedPositions();
    return message.empty();
}

bool CXmlDocument::InsertMarkup(std::wstring_view markup, unsigned flags) {
    CXmlDocument part;
    part.m_flags = m_flags & XmlDocFlag::IgnoreCase;
    const bool wellFormed = part.SetDocumentText(markup);
    std::wstring text;
    if (wellFormed) {
        const XmlElementRecord& root = part.Rec(part.Rec(0).firstChild);
        text = part.m_text.substr(root.start, root.length);
    } else {
        text = markup;
        flags |= XmlEditFlag::NoLineBreak;
    }
    InsertionPoint point;
    if (!FindInsertionPoint(flags, false, point))
        return false;
    const std::int32_t offset = InsertText(point, text, flags);
    std::wstring message;
    XmlElementParser parser(m_records, message);
    XmlToken token(text, m_flags);
    const std::int32_t first = parser.ParseElements(point.parent, point.after, token, offset);
    if (first != 0) {
        if (flags & XmlEditFlag::AsChild) {
            m_child = first;
            SetMainElement(m_main);
        } else {
            m_child = 0;
            SetMainElement(first);
        }
    }
    return wellFormed;
}

void CXmlDocument::RemoveElement(std::int32_t r) {
    const std::int32_t start = Rec(r).start;
    const std::int32_t end = Rec(r).End() + TrailingBlanks(Rec(r).End());
    m_records.Unlink(r);
    FreeSubtree(r);
    Splice(start, end - start, {});
    DropFreedPositions();
}

bool CXmlDocument::DeleteElement() {
    if (m_main == 0)
        return false;
    const std::int32_t before = m_records.PreviousSibling(m_main);
    RemoveElement(m_main);
    m_child = 0;
    SetMainElement(before);
    return true;
}

bool CXmlDocument::DeleteChildElement() {
    if (m_child == 0)
        return false;
    const std::int32_t before = m_records.PreviousSibling(m_child);
    RemoveElement(m_child);
    m_child = before;
    SetMainElement(m_main);
    return true;
}

bool CXmlDocument::DeleteNode() {
    std::int32_t offset, length, element = 0;
    if (OnNode()) {
        offset = m_nodeOffset;
        length = m_nodeLength;
    } else if (m_main != 0) {
        element = m_main;
        offset = Rec(element).start;
        length = Rec(element).length;
    } else {
        return false;
    }
    // The node before it becomes current.
    NodeCursor cursor = CursorAt(m_parent, Rec(m_parent).ContentStart(), 0);
    XmlNodeToken node;
    int kind = 0, beforeKind = 0;
    std::int32_t beforeStart = 0, beforeLength = 0, beforeMain = 0;
    while (NextNode(cursor, node, kind) && node.start < offset) {
        beforeKind = kind;
        beforeStart = node.start;
        beforeLength = node.length;
        beforeMain = cursor.lastElement;
    }
    const std::int32_t end = offset + length + TrailingBlanks(offset + length);
    if (element != 0) {
        m_records.Unlink(element);
        FreeSubtree(element);
    }
    Splice(offset, end - offset, {});
    m_child = 0;
    if (beforeKind == 0 || beforeKind == XmlNode::Element) {
        SetMainElement(beforeMain);
    } else {
        m_main = beforeMain;
        m_nodeKind = beforeKind;
        m_nodeOffset = beforeStart;
        m_nodeLength = beforeLength;
    }
    if (element != 0)
        DropFreedPositions();
    return true;
}
