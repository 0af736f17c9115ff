#include "shared/xml/CXmlDocument.h"

#include <gtest/gtest.h>

namespace {

const wchar_t kLanguageFile[] = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                                L"<!-- Texts of the configuration program -->\r\n"
                                L"<Strings lang=\"en\" version='3'>\r\n"
                                L"  <FONT>\r\n"
                                L"    <MAIN>Segoe UI</MAIN>\r\n"
                                L"    <SIZE>9</SIZE>\r\n"
                                L"  </FONT>\r\n"
                                L"  <BUTTONPAGE>\r\n"
                                L"    <NEWMACRO>Macro</NEWMACRO>\r\n"
                                L"    <DPISTAGE>DPI Stage</DPISTAGE>\r\n"
                                L"    <Item id=\"1\">First</Item>\r\n"
                                L"    <Item id=\"2\">Second &amp; more</Item>\r\n"
                                L"    <Item id=\"3\"><![CDATA[<Third>]]></Item>\r\n"
                                L"    <EMPTY/>\r\n"
                                L"  </BUTTONPAGE>\r\n"
                                L"  <TRAY>\r\n"
                                L"    <CONFIG>Open configuration</CONFIG>\r\n"
                                L"    <EXIT>Exit</EXIT>\r\n"
                                L"  </TRAY>\r\n"
                                L"</Strings>\r\n";

class XmlNavigation : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(doc.SetDocumentText(kLanguageFile)); }

    // The walk the language look-up makes: element under the root, then its child.
    std::wstring Lookup(std::wstring_view element, std::wstring_view child) {
        doc.ResetPosition();
        if (!doc.FindChildElement(element) || !doc.EnterElement() || !doc.FindChildElement(child))
            return {};
        return doc.GetChildText();
    }

    CXmlDocument doc;
};

} // namespace

TEST_F(XmlNavigation, LanguageLookupWalk) {
    EXPECT_EQ(L"Macro", Lookup(L"BUTTONPAGE", L"NEWMACRO"));
    EXPECT_EQ(L"DPI Stage", Lookup(L"BUTTONPAGE", L"DPISTAGE"));
    EXPECT_EQ(L"Segoe UI", Lookup(L"FONT", L"MAIN"));
    EXPECT_EQ(L"Open configuration", Lookup(L"TRAY", L"CONFIG"));
    EXPECT_EQ(L"", Lookup(L"TRAY", L"NEWMACRO"));
    EXPECT_EQ(L"", Lookup(L"NOPAGE", L"CONFIG"));
}

TEST_F(XmlNavigation, FindChildElementMakesTheRootCurrentFirst) {
    EXPECT_EQ(L"", doc.GetElementName());
    ASSERT_TRUE(doc.FindChildElement(L"TRAY"));
    EXPECT_EQ(L"Strings", doc.GetElementName());
    EXPECT_EQ(L"TRAY", doc.GetChildElementName());
    EXPECT_EQ(L"en", doc.GetAttribute(L"lang"));
    EXPECT_EQ(L"/Strings", doc.GetElementPath());
}

TEST_F(XmlNavigation, FailuresLeaveThePlaceAndReadEmpty) {
    EXPECT_FALSE(doc.EnterElement());
    EXPECT_FALSE(doc.LeaveElement());
    EXPECT_EQ(L"", doc.GetElementText());
    EXPECT_EQ(L"", doc.GetChildText());
    EXPECT_EQ(L"", doc.GetAttribute(L"lang"));
    EXPECT_EQ(L"", doc.GetAttributeName(0));
    EXPECT_EQ(L"", doc.GetElementPath());
    EXPECT_EQ(L"", doc.GetElementMarkup());
    EXPECT_EQ(L"", doc.GetChildMarkup());
    EXPECT_EQ(0, doc.GetNodeKind());

    ASSERT_TRUE(doc.FindChildElement(L"FONT"));
    EXPECT_FALSE(doc.FindChildElement(L"MAIN")); // MAIN is not a child of the root
    EXPECT_EQ(L"FONT", doc.GetChildElementName());
    EXPECT_FALSE(doc.FindElement(L"Other"));
    EXPECT_EQ(L"Strings", doc.GetElementName());
    EXPECT_EQ(L"", doc.GetAttribute(L"missing"));
    EXPECT_EQ(L"", doc.GetAttributeName(2));
    EXPECT_EQ(L"", doc.GetElementText()); // it has child elements

    CXmlDocument empty;
    EXPECT_FALSE(empty.FindElement());
    EXPECT_FALSE(empty.FindChildElement());
    EXPECT_EQ(0, empty.SeekNode());
    EXPECT_EQ(L"Empty document", empty.GetStatusText());
}

TEST_F(XmlNavigation, SiblingsByNamePathsTextsAndAttributes) {
    ASSERT_TRUE(doc.FindChildElement(L"BUTTONPAGE"));
    ASSERT_TRUE(doc.EnterElement());
    EXPECT_EQ(L"BUTTONPAGE", doc.GetElementName());
    ASSERT_TRUE(doc.FindChildElement(L"Item"));
    ASSERT_TRUE(doc.EnterElement());
    EXPECT_EQ(L"/Strings/BUTTONPAGE/Item", doc.GetElementPath());
    const wchar_t* texts[] = {L"First", L"Second & more", L"<Third>"};
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            ASSERT_TRUE(doc.FindElement(L"Item"));
        }
        EXPECT_EQ(std::to_wstring(i + 1), doc.GetAttribute(L"id"));
        EXPECT_EQ(texts[i], doc.GetElementText());
    }
    EXPECT_EQ(L"/Strings/BUTTONPAGE/Item[3]", doc.GetElementPath());
    EXPECT_EQ(L"<Item id=\"3\"><![CDATA[<Third>]]></Item>\r\n    ", doc.GetElementMarkup());
    EXPECT_EQ(L"<![CDATA[<Third>]]>", doc.GetElementContent());
    EXPECT_FALSE(doc.FindElement(L"Item"));
    EXPECT_EQ(L"id", doc.GetAttributeName(0));

    ASSERT_TRUE(doc.FindElement(L"EMPTY"));
    EXPECT_EQ(L"", doc.GetElementText());
    EXPECT_EQ(L"", doc.GetElementContent());

    ASSERT_TRUE(doc.LeaveElement());
    EXPECT_EQ(L"BUTTONPAGE", doc.GetElementName());
    EXPECT_EQ(L"EMPTY", doc.GetChildElementName());
    ASSERT_TRUE(doc.LeaveElement());
    EXPECT_EQ(L"Strings", doc.GetElementName());
    EXPECT_EQ(L"BUTTONPAGE", doc.GetChildElementName());
    EXPECT_EQ(L"version", doc.GetAttributeName(1));
    EXPECT_EQ(L"3", doc.GetAttribute(L"version"));
    EXPECT_TRUE(doc.FindChildElement(L"TRAY"));
    EXPECT_EQ(L"<TRAY>\r\n    <CONFIG>Open configuration</CONFIG>\r\n    <EXIT>Exit</EXIT>\r\n"
              L"  </TRAY>\r\n",
              doc.GetChildMarkup());
}

TEST_F(XmlNavigation, NodeWalkReportsEveryKind) {
    EXPECT_EQ(XmlNode::ProcessingInstruction, doc.SeekNode());
    EXPECT_EQ(L"xml", doc.GetNodeLabel());
    EXPECT_EQ(L"UTF-8", doc.GetAttribute(L"encoding"));
    EXPECT_EQ(L"version", doc.GetAttributeName(0));
    EXPECT_EQ(XmlNode::Whitespace, doc.SeekNode());
    EXPECT_EQ(L"#text", doc.GetNodeLabel());
    EXPECT_EQ(XmlNode::Comment, doc.SeekNode());
    EXPECT_EQ(L"#comment", doc.GetNodeLabel());
    EXPECT_EQ(L" Texts of the configuration program ", doc.GetElementText());
    EXPECT_EQ(XmlNode::Element, doc.SeekNode(XmlNode::Element));
    EXPECT_EQ(L"Strings", doc.GetNodeLabel());
    EXPECT_EQ(XmlNode::Whitespace, doc.SeekNode());
    EXPECT_EQ(0, doc.SeekNode());
    EXPECT_EQ(XmlNode::Whitespace, doc.GetNodeKind()); // unchanged by the failed walk

    // Inside an element, down to its end tag only.
    doc.ResetPosition();
    ASSERT_TRUE(doc.FindChildElement(L"BUTTONPAGE"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindChildElement(L"Item"));
    ASSERT_TRUE(doc.FindChildElement(L"Item"));
    ASSERT_TRUE(doc.FindChildElement(L"Item"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.EnterElement());
    EXPECT_EQ(XmlNode::CData, doc.SeekNode());
    EXPECT_EQ(L"#cdata-section", doc.GetNodeLabel());
    EXPECT_EQ(L"<Third>", doc.GetElementText());
    EXPECT_EQ(0, doc.SeekNode());

    CXmlDocument odd;
    odd.SetDocumentText(L"<!DOCTYPE r><r>a</x>b<1></r>");
    EXPECT_EQ(XmlNode::DocumentType, odd.SeekNode());
    EXPECT_EQ(L"DOCTYPE", odd.GetNodeLabel());
    ASSERT_EQ(XmlNode::Element, odd.SeekNode());
    ASSERT_TRUE(odd.EnterElement());
    EXPECT_EQ(XmlNode::Text, odd.SeekNode());
    EXPECT_EQ(XmlNode::StrayEndTag, odd.SeekNode());
    EXPECT_EQ(L"x", odd.GetElementText());
    EXPECT_EQ(XmlNode::IllFormed, odd.SeekNode(XmlNode::IllFormed));
    EXPECT_EQ(L"<1>", odd.GetElementText());
    EXPECT_EQ(0, odd.SeekNode());
}

TEST_F(XmlNavigation, ElementTextJoinsTextAndCDataOnly) {
    CXmlDocument small;
    ASSERT_TRUE(small.SetDocumentText(L"<a>x&amp;y<![CDATA[<z>]]></a>"));
    ASSERT_TRUE(small.FindElement());
    EXPECT_EQ(L"x&y<z>", small.GetElementText());
    ASSERT_TRUE(small.SetDocumentText(L"<a> 1 <!-- c --><?p?>2 </a>"));
    ASSERT_TRUE(small.FindElement());
    EXPECT_EQ(L" 1 2 ", small.GetElementText());
}

TEST_F(XmlNavigation, SavedPositionsRecallEachKindOfPlace) {
    EXPECT_FALSE(doc.StorePosition(L""));
    EXPECT_FALSE(doc.RecallPosition(L"top"));
    EXPECT_TRUE(doc.StorePosition(L"top"));
    ASSERT_TRUE(doc.FindChildElement(L"TRAY"));
    EXPECT_TRUE(doc.StorePosition(L"tray", 3));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindChildElement(L"EXIT"));
    ASSERT_TRUE(doc.EnterElement());
    EXPECT_TRUE(doc.StorePosition(L"exit"));
    EXPECT_TRUE(doc.StorePosition(L"tray", 0)); // another map, same name

    doc.ResetPosition();
    ASSERT_TRUE(doc.RecallPosition(L"tray", 3));
    EXPECT_EQ(L"Strings", doc.GetElementName());
    EXPECT_EQ(L"TRAY", doc.GetChildElementName());
    ASSERT_TRUE(doc.RecallPosition(L"exit"));
    EXPECT_EQ(L"EXIT", doc.GetElementName());
    EXPECT_EQ(L"", doc.GetChildElementName());
    EXPECT_TRUE(doc.LeaveElement());
    EXPECT_EQ(L"TRAY", doc.GetElementName());
    ASSERT_TRUE(doc.RecallPosition(L"top"));
    EXPECT_EQ(L"", doc.GetElementName());
    EXPECT_TRUE(doc.FindElement());
    EXPECT_FALSE(doc.RecallPosition(L"exit", 3));

    // A copy keeps the saved places and the current place; a reparse drops them.
    CXmlDocument copy = doc;
    EXPECT_EQ(L"Strings", copy.GetElementName());
    EXPECT_TRUE(copy.RecallPosition(L"exit"));
    EXPECT_EQ(L"Exit", copy.GetElementText());
    copy.SetDocumentText(copy.GetDocumentText());
    EXPECT_FALSE(copy.RecallPosition(L"exit"));
    EXPECT_TRUE(doc.RecallPosition(L"exit"));
}
