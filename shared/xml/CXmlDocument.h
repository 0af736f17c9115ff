#pragma once

#include "shared/xml/XmlFlags.h"
#include "shared/xml/XmlPositionPages.h"
#include "shared/xml/XmlSavedPositions.h"
#include "shared/xml/XmlToken.h"

#include <concepts>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

// One markup document held as UTF-16 text plus a position record per element. It is never
// turned into a tree of objects: navigation walks the records, and edits splice the text and
// shift the records behind the splice.
//
// The current place is three positions: the parent whose children are walked, the main
// (current) element, and a current child of it. A non-element node (text, comment, ...) can be
// current too, after SeekNode or InsertNode.
class CXmlDocument {
public:
    CXmlDocument();

    // Replaces the text and parses it; returns whether it is well-formed.
    bool SetDocumentText(std::wstring_view text);
    const std::wstring& GetDocumentText() const { return m_text; }
    // Reads a file in any supported encoding and parses it. On failure the document is empty
    // and the status text is the system's message.
    bool LoadFile(const std::wstring& path);
    // Writes the text in the encoding the document was loaded with (or declares).
    bool SaveFile(const std::wstring& path);
    bool IsWellFormed() const;
    // File diagnostics and the first parse error.
    const std::wstring& GetStatusText() const { return m_status; }
    unsigned GetDocumentFlags() const { return m_flags; }
    void SetDocumentFlags(unsigned flags) { m_flags = flags; }

    // Navigation: true when the place moved; on false it is unchanged. An empty name is any.
    void ResetPosition();
    bool FindElement(std::wstring_view name = {});
    bool FindChildElement(std::wstring_view name = {});
    bool EnterElement();
    bool LeaveElement();
    // Moves to the next node inside the parent whose kind is in the mask (0 = any); returns
    // its XmlNode kind, 0 at the parent's end.
    int SeekNode(int mask = 0);
    int GetNodeKind() const { return m_nodeKind; }

    // Reading: empty strings where there is nothing to read.
    std::wstring GetElementName() const;
    std::wstring GetChildElementName() const;
    std::wstring GetElementText() const;
    std::wstring GetChildText() const;
    std::wstring GetAttribute(std::wstring_view name) const;
    std::wstring GetChildAttribute(std::wstring_view name) const;
    std::wstring GetAttributeName(int n) const;
    std::wstring GetNodeLabel() const;
    std::wstring GetElementPath() const;
    std::wstring GetElementContent() const;
    std::wstring GetElementMarkup() const;
    std::wstring GetChildMarkup() const;

    // Editing, with XmlEditFlag bits. A new element becomes the main element (the child for the
    // child forms).
    bool AppendElement(std::wstring_view name, std::wstring_view value = {}, unsigned flags = 0);
    bool InsertElementBefore(std::wstring_view name, std::wstring_view value = {},
                             unsigned flags = 0);
    bool AppendChildElement(std::wstring_view name, std::wstring_view value = {},
                            unsigned flags = 0);
    bool InsertChildElementBefore(std::wstring_view name, std::wstring_view value = {},
                                  unsigned flags = 0);
    bool InsertNode(int kind, std::wstring_view text, unsigned flags = 0);
    bool SetElementText(std::wstring_view text, unsigned flags = 0);
    bool SetChildText(std::wstring_view text, unsigned flags = 0);
    bool SetAttribute(std::wstring_view name, std::wstring_view value, unsigned flags = 0);
    bool SetChildAttribute(std::wstring_view name, std::wstring_view value, unsigned flags = 0);
    // Replaces the main element's content and parses it; false when it is not well-formed
    // (it is put in all the same).
    bool SetElementContent(std::wstring_view markup);
    bool InsertMarkup(std::wstring_view markup, unsigned flags = 0);
    bool DeleteElement();
    bool DeleteChildElement();
    bool DeleteNode();

    // Numeric variants write the value with "%d". Only an int binds here, so that {} still
    // means "no value".
    template <std::same_as<int> Int>
    bool AppendElement(std::wstring_view name, Int value, unsigned flags = 0) {
        return AppendElement(name, std::to_wstring(value), flags);
    }
    template <std::same_as<int> Int>
    bool InsertElementBefore(std::wstring_view name, Int value, unsigned flags = 0) {
        return InsertElementBefore(name, std::to_wstring(value), flags);
    }
    template <std::same_as<int> Int>
    bool AppendChildElement(std::wstring_view name, Int value, unsigned flags = 0) {
        return AppendChildElement(name, std::to_wstring(value), flags);
    }
    template <std::same_as<int> Int>
    bool InsertChildElementBefore(std::wstring_view name, Int value, unsigned flags = 0) {
        return InsertChildElementBefore(name, std::to_wstring(value), flags);
    }
    template <std::same_as<int> Int> bool SetElementText(Int value, unsigned flags = 0) {
        return SetElementText(std::to_wstring(value), flags);
    }
    template <std::same_as<int> Int> bool SetChildText(Int value, unsigned flags = 0) {
        return SetChildText(std::to_wstring(value), flags);
    }
    template <std::same_as<int> Int>
    bool SetAttribute(std::wstring_view name, Int value, unsigned flags = 0) {
        return SetAttribute(name, std::to_wstring(value), flags);
    }
    template <std::same_as<int> Int>
    bool SetChildAttribute(std::wstring_view name, Int value, unsigned flags = 0) {
        return SetChildAttribute(name, std::to_wstring(value), flags);
    }

    // Named places, kept in numbered maps until the next parse.
    bool StorePosition(std::wstring_view name, int map = 0);
    bool RecallPosition(std::wstring_view name, int map = 0);

private:
    // Tests compare the records of an edited document with those of a reparse through it.
    friend class XmlDocumentInspector;

    // A walk over the nodes inside one parent element.
    struct NodeCursor {
        std::int32_t offset;
        std::int32_t end;
        std::int32_t nextElement;
        std::int32_t lastElement;
    };
    // Where an adding operation puts its text and links its record.
    struct InsertionPoint {
        std::int32_t parent;
        std::int32_t after; // sibling to link after, 0: as first child
        std::int32_t offset;
        bool openEmpty; // the parent is written "<name/>" and must be opened
    };

    bool ParseDocument();
    void ClearPositions();
    void SetMainElement(std::int32_t r);
    bool OnNode() const { return m_nodeKind != 0 && m_nodeKind != XmlNode::Element; }

    const XmlElementRecord& Rec(std::int32_t r) const { return m_records[r]; }
    XmlElementRecord& Rec(std::int32_t r) { return m_records[r]; }
    std::wstring_view TagName(std::int32_t r) const;
    bool NameMatches(std::int32_t r, std::wstring_view name) const;
    std::wstring ElementText(std::int32_t r) const;
    std::wstring NodeText(int kind, std::int32_t offset, std::int32_t length) const;
    XmlAttributeSpan FindAttributeOf(std::int32_t tagStart, std::int32_t tagEnd,
                                     std::wstring_view name, int n) const;
    bool CurrentAttributeTag(std::int32_t r, std::int32_t& start, std::int32_t& end) const;
    std::wstring AttributeOf(std::int32_t r, std::wstring_view name) const;
    std::wstring MarkupOf(std::int32_t r) const;
    std::int32_t TrailingBlanks(std::int32_t offset) const;
    NodeCursor CursorAt(std::int32_t parent, std::int32_t offset, std::int32_t last) const;
    bool NextNode(NodeCursor& cursor, XmlNodeToken& node, int& kind) const;

    // Editing helpers.
    void Splice(std::int32_t offset, std::int32_t removed, std::wstring_view text);
    void FreeSubtree(std::int32_t r);
    void DropFreedPositions();
    bool FindInsertionPoint(unsigned flags, bool fromNode, InsertionPoint& point) const;
    std::int32_t InsertText(const InsertionPoint& point, std::wstring_view markup, unsigned flags);
    bool AddElement(std::wstring_view name, std::wstring_view value, unsigned flags);
    bool NodeMarkup(int kind, std::wstring_view text, std::wstring& markup, int& readKind) const;
    bool SetTextOf(std::int32_t r, std::wstring_view text, unsigned flags);
    std::int32_t OpenEmptyElement(std::int32_t r, std::wstring_view content);
    bool SetAttributeOf(std::int32_t r, std::wstring_view name, std::wstring_view value,
                        unsigned flags);
    void RemoveElement(std::int32_t r);

    std::wstring m_text;
    std::wstring m_status;
    std::int32_t m_parent = 0;
    std::int32_t m_main = 0;
    std::int32_t m_child = 0;
    int m_nodeKind = 0;
    std::int32_t m_nodeOffset = 0;
    std::int32_t m_nodeLength = 0;
    unsigned m_flags = 0;
    std::map<int, XmlSavedPositions> m_saved;
    XmlPositionPages m_records;
};
