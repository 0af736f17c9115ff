#include "shared/xml/CXmlDocument.h"
#include "tests/shared/xml/XmlDocumentInspector.h"

#include <gtest/gtest.h>

namespace {

// After an edit the records must be what a reparse of the new text builds.
::testing::AssertionResult Consistent(const CXmlDocument& doc) {
    CXmlDocument reparsed;
    reparsed.SetDocumentFlags(doc.GetDocumentFlags());
    reparsed.SetDocumentText(doc.GetDocumentText());
    const auto edited = XmlDocumentInspector(doc).Tree();
    const auto fresh = XmlDocumentInspector(reparsed).Tree();
    if (edited == fresh)
        return ::testing::AssertionSuccess();
    auto failure = ::testing::AssertionFailure() << "records differ after edit\n";
    for (std::size_t i = 0; i < std::max(edited.size(), fresh.size()); ++i) {
        failure << i << ": ";
        if (i < edited.size())
            failure << edited[i];
        failure << " | ";
        if (i < fresh.size())
            failure << fresh[i];
        failure << "\n";
    }
    return failure;
}

CXmlDocument Parsed(std::wstring_view text) {
    CXmlDocument doc;
    doc.SetDocumentText(text);
    return doc;
}

} // namespace

TEST(XmlEditing, AppendChildOpensAnEmptyElement) {
    CXmlDocument doc = Parsed(L"<a/>");
    ASSERT_TRUE(doc.FindElement());
    ASSERT_TRUE(doc.AppendChildElement(L"b"));
    EXPECT_EQ(L"<a>\r\n<b/>\r\n</a>", doc.GetDocumentText());
    EXPECT_EQ(L"b", doc.GetChildElementName());
    EXPECT_TRUE(Consistent(doc));
    EXPECT_TRUE(doc.IsWellFormed());
}

TEST(XmlEditing, BuildsADocumentFromNothing) {
    CXmlDocument doc;
    ASSERT_TRUE(doc.AppendElement(L"root"));
    EXPECT_TRUE(Consistent(doc));
    ASSERT_TRUE(doc.AppendChildElement(L"name", L"Tom & Jerry"));
    EXPECT_TRUE(Consistent(doc));
    ASSERT_TRUE(doc.AppendChildElement(L"n", 42));
    EXPECT_TRUE(Consistent(doc));
    ASSERT_TRUE(doc.InsertChildElementBefore(L"first"));
    EXPECT_TRUE(Consistent(doc));
    ASSERT_TRUE(doc.AppendChildElement(L"code", L"<x>]]>", XmlEditFlag::WithCData));
    EXPECT_TRUE(Consistent(doc));
    ASSERT_TRUE(
        doc.AppendChildElement(L"e", {}, XmlEditFlag::SpaceBeforeSlash | XmlEditFlag::NoLineBreak));
    EXPECT_TRUE(Consistent(doc));
    EXPECT_EQ(L"<root>\r\n<name>Tom &amp; Jerry</name>\r\n<first/>\r\n"
              L"<code><![CDATA[<x>]]]]><![CDATA[>]]></code>\r\n<e /><n>42</n>\r\n</root>\r\n",
              doc.GetDocumentText());
    EXPECT_TRUE(doc.IsWellFormed());
    EXPECT_EQ(L"root", doc.GetElementName());
    EXPECT_EQ(L"e", doc.GetChildElementName());

    const std::wstring before = doc.GetDocumentText();
    EXPECT_FALSE(doc.AppendChildElement(L"bare", L"v", XmlEditFlag::NoEndTag));
    EXPECT_FALSE(doc.AppendChildElement(L""));
    EXPECT_FALSE(doc.AppendChildElement(L"a b"));
    EXPECT_FALSE(doc.AppendChildElement(L"1a"));
    EXPECT_FALSE(doc.AppendChildElement(L"a>"));
    EXPECT_EQ(before, doc.GetDocumentText());

    ASSERT_TRUE(doc.AppendChildElement(L"bare", {}, XmlEditFlag::NoEndTag));
    EXPECT_NE(std::wstring::npos, doc.GetDocumentText().find(L"<e /><bare>\r\n<n>"));
    // An element without end tag takes no children.
    EXPECT_EQ(L"bare", doc.GetChildElementName());
    ASSERT_TRUE(doc.EnterElement());
    EXPECT_FALSE(doc.AppendChildElement(L"inside"));
}

TEST(XmlEditing, SiblingsTakeThePlaceOfTheWhitespaceAfterTheReference) {
    CXmlDocument doc = Parsed(L"<r>\r\n  <a/>\r\n  <c/>\r\n</r>");
    ASSERT_TRUE(doc.FindChildElement(L"a"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.AppendElement(L"b"));
    EXPECT_EQ(L"<r>\r\n  <a/>\r\n  <b/>\r\n<c/>\r\n</r>", doc.GetDocumentText());
    EXPECT_TRUE(Consistent(doc));
    ASSERT_TRUE(doc.InsertElementBefore(L"z", L"1"));
    EXPECT_EQ(L"<r>\r\n  <a/>\r\n  <z>1</z>\r\n<b/>\r\n<c/>\r\n</r>", doc.GetDocumentText());
    EXPECT_EQ(L"z", doc.GetElementName());
    EXPECT_TRUE(Consistent(doc));
    ASSERT_TRUE(doc.FindElement(L"c"));
    ASSERT_TRUE(doc.AppendElement(L"last", {}, XmlEditFlag::NoLineBreak));
    EXPECT_EQ(L"<c/>\r\n<last/></r>",
              doc.GetDocumentText().substr(doc.GetDocumentText().size() - 17));
    EXPECT_TRUE(Consistent(doc));
    doc.ResetPosition();
    ASSERT_TRUE(doc.FindElement());
    ASSERT_TRUE(doc.InsertChildElementBefore(L"zero"));
    EXPECT_TRUE(doc.GetDocumentText().starts_with(L"<r><zero/>\r\n\r\n  <a/>"));
    EXPECT_TRUE(Consistent(doc));
}

TEST(XmlEditing, SetTextReplacesContentOrNodes) {
    CXmlDocument doc = Parsed(L"<r><a>old</a><b/><c><d/></c>tail</r>");
    ASSERT_TRUE(doc.FindChildElement(L"a"));
    ASSERT_TRUE(doc.SetChildText(L"x<y"));
    EXPECT_TRUE(Consistent(doc));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindElement(L"b"));
    ASSERT_TRUE(doc.SetElementText(7));
    EXPECT_TRUE(Consistent(doc));
    ASSERT_TRUE(doc.FindElement(L"c"));
    const std::wstring before = doc.GetDocumentText();
    EXPECT_FALSE(doc.SetElementText(L"no"));
    EXPECT_EQ(before, doc.GetDocumentText());
    EXPECT_EQ(L"<r><a>x&lt;y</a><b>7</b><c><d/></c>tail</r>", doc.GetDocumentText());

    ASSERT_TRUE(doc.SeekNode(XmlNode::Text));
    ASSERT_TRUE(doc.SetElementText(L"end & more"));
    EXPECT_EQ(L"end & more", doc.GetElementText());
    EXPECT_TRUE(Consistent(doc));
    doc.ResetPosition();
    ASSERT_TRUE(doc.FindChildElement(L"a"));
    ASSERT_TRUE(doc.SetChildText(L"&amp;x", XmlEditFlag::KeepReferences));
    ASSERT_TRUE(doc.FindChildElement(L"b"));
    ASSERT_TRUE(doc.SetChildText(L"z]]>", XmlEditFlag::WithCData));
    EXPECT_EQ(L"<r><a>&amp;x</a><b><![CDATA[z]]]]><![CDATA[>]]></b><c><d/></c>end &amp; more</r>",
              doc.GetDocumentText());
    EXPECT_EQ(L"z]]>", doc.GetChildText());
    EXPECT_TRUE(Consistent(doc));
}

TEST(XmlEditing, AttributesAreReplacedOrAppended) {
    CXmlDocument doc = Parsed(L"<r a=\"1\" b='2' c=3 d><?pi x=\"1\"?><e/></r>");
    ASSERT_TRUE(doc.FindElement());
    ASSERT_TRUE(doc.SetAttribute(L"a", L"x\"y<"));
    ASSERT_TRUE(doc.SetAttribute(L"b", L"q"));
    ASSERT_TRUE(doc.SetAttribute(L"c", 4));
    ASSERT_TRUE(doc.SetAttribute(L"d", L"5"));
    ASSERT_TRUE(doc.SetAttribute(L"f", L"it's"));
    EXPECT_FALSE(doc.SetAttribute(L"", L"x"));
    EXPECT_FALSE(doc.SetAttribute(L"g h", L"x"));
    EXPECT_EQ(L"x\"y<", doc.GetAttribute(L"a"));
    EXPECT_EQ(L"it's", doc.GetAttribute(L"f"));
    EXPECT_TRUE(Consistent(doc));
    ASSERT_TRUE(doc.FindChildElement(L"e"));
    ASSERT_TRUE(doc.SetChildAttribute(L"k", 1));
    EXPECT_TRUE(Consistent(doc));
    doc.ResetPosition();
    ASSERT_TRUE(doc.FindElement());
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_EQ(XmlNode::ProcessingInstruction, doc.SeekNode(XmlNode::ProcessingInstruction));
    ASSERT_TRUE(doc.SetAttribute(L"y", L"2"));
    EXPECT_EQ(L"2", doc.GetAttribute(L"y"));
    EXPECT_EQ(L"<r a=\"x&quot;y&lt;\" b=\"q\" c=\"4\" d=\"5\" f=\"it&apos;s\">"
              L"<?pi x=\"1\" y=\"2\"?><e k=\"1\"/></r>",
              doc.GetDocumentText());
    EXPECT_TRUE(Consistent(doc));
}

TEST(XmlEditing, SetElementContentReparsesTheNewChildren) {
    CXmlDocument doc = Parsed(L"<r><a><b/></a><z/></r>");
    ASSERT_TRUE(doc.FindChildElement(L"a"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindChildElement(L"b"));
    ASSERT_TRUE(doc.StorePosition(L"b"));
    ASSERT_TRUE(doc.SetElementContent(L"<c>1</c><d x='2'/>"));
    EXPECT_EQ(L"<r><a><c>1</c><d x='2'/></a><z/></r>", doc.GetDocumentText());
    EXPECT_TRUE(Consistent(doc));
    EXPECT_FALSE(doc.RecallPosition(L"b"));
    ASSERT_TRUE(doc.FindChildElement(L"d"));
    EXPECT_EQ(L"2", doc.GetChildAttribute(L"x"));

    ASSERT_TRUE(doc.LeaveElement());
    ASSERT_TRUE(doc.FindChildElement(L"z"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.SetElementContent(L"<y/>"));
    EXPECT_EQ(L"<z><y/></z>", doc.GetElementMarkup());
    EXPECT_TRUE(Consistent(doc));

    EXPECT_FALSE(doc.SetElementContent(L"<open>"));
    EXPECT_EQ(L"<z><open></z>", doc.GetElementMarkup());
}

TEST(XmlEditing, InsertMarkupTakesOneElementOrTheWholeText) {
    CXmlDocument doc = Parsed(L"<r>\r\n<a/>\r\n</r>");
    ASSERT_TRUE(doc.FindChildElement(L"a"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.InsertMarkup(L"<?xml version='1.0'?>\r\n<b x='1'><c/></b>\r\n"));
    EXPECT_EQ(L"<r>\r\n<a/>\r\n<b x='1'><c/></b>\r\n</r>", doc.GetDocumentText());
    EXPECT_EQ(L"b", doc.GetElementName());
    EXPECT_TRUE(Consistent(doc));
    EXPECT_FALSE(doc.InsertMarkup(L"<d/><e/>", XmlEditFlag::Before));
    EXPECT_EQ(L"<r>\r\n<a/>\r\n<d/><e/><b x='1'><c/></b>\r\n</r>", doc.GetDocumentText());
    EXPECT_EQ(L"d", doc.GetElementName());
    EXPECT_TRUE(Consistent(doc));
    ASSERT_TRUE(doc.InsertMarkup(L"<f/>", XmlEditFlag::AsChild));
    EXPECT_EQ(L"f", doc.GetChildElementName());
    EXPECT_TRUE(Consistent(doc));
    EXPECT_TRUE(doc.IsWellFormed());
}

TEST(XmlEditing, InsertNodeOfEveryKind) {
    CXmlDocument doc = Parsed(L"<r><a/></r>");
    ASSERT_TRUE(doc.FindChildElement(L"a"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.InsertNode(XmlNode::Comment, L" note "));
    EXPECT_EQ(XmlNode::Comment, doc.GetNodeKind());
    EXPECT_TRUE(Consistent(doc));
    ASSERT_TRUE(doc.InsertNode(XmlNode::Text, L"x<y"));
    EXPECT_EQ(L"x<y", doc.GetElementText());
    const std::wstring before = doc.GetDocumentText();
    EXPECT_FALSE(doc.InsertNode(XmlNode::CData, L"a]]>b"));
    EXPECT_FALSE(doc.InsertNode(XmlNode::Comment, L"a-->b"));
    EXPECT_FALSE(doc.InsertNode(XmlNode::ProcessingInstruction, L"pi ?> x"));
    EXPECT_FALSE(doc.InsertNode(XmlNode::Element, L"e x=1"));
    EXPECT_FALSE(doc.InsertNode(XmlNode::StrayEndTag, L"x"));
    EXPECT_FALSE(doc.InsertNode(XmlNode::Text, L""));
    EXPECT_EQ(before, doc.GetDocumentText());
    ASSERT_TRUE(doc.InsertNode(XmlNode::CData, L"c"));
    ASSERT_TRUE(doc.InsertNode(XmlNode::Element, L"e k='1'"));
    EXPECT_EQ(L"1", doc.GetAttribute(L"k"));
    EXPECT_TRUE(Consistent(doc));
    ASSERT_TRUE(doc.InsertNode(XmlNode::ProcessingInstruction, L"go now", XmlEditFlag::Before));
    EXPECT_EQ(L"go", doc.GetNodeLabel());
    EXPECT_TRUE(Consistent(doc));
    EXPECT_EQ(L"<r><a/><!-- note -->\r\nx&lt;y<![CDATA[c]]><?go now?>\r\n<e k='1'/></r>",
              doc.GetDocumentText());
    doc.ResetPosition();
    ASSERT_TRUE(doc.InsertNode(XmlNode::DocumentType, L"<!DOCTYPE r>", XmlEditFlag::Before));
    EXPECT_TRUE(doc.GetDocumentText().starts_with(L"<!DOCTYPE r>\r\n<r>"));
    EXPECT_TRUE(Consistent(doc));
    EXPECT_TRUE(doc.IsWellFormed());
}

TEST(XmlEditing, DeletesMoveThePlaceBackAndDropSavedPlaces) {
    CXmlDocument doc =
        Parsed(L"<r>\r\n  <a><x/></a>\r\n  <b/>\r\n  <!-- c -->\r\n  <d/>\r\n  <e/>\r\n</r>");
    ASSERT_TRUE(doc.FindChildElement(L"a"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindChildElement(L"x"));
    ASSERT_TRUE(doc.StorePosition(L"x"));
    ASSERT_TRUE(doc.FindElement(L"b"));
    ASSERT_TRUE(doc.StorePosition(L"b"));
    ASSERT_TRUE(doc.DeleteElement());
    EXPECT_EQ(L"a", doc.GetElementName());
    EXPECT_FALSE(doc.RecallPosition(L"b"));
    EXPECT_TRUE(Consistent(doc));
    ASSERT_TRUE(doc.FindChildElement(L"x"));
    ASSERT_TRUE(doc.DeleteChildElement());
    EXPECT_EQ(L"", doc.GetChildElementName());
    EXPECT_EQ(L"<a></a>", doc.GetElementMarkup().substr(0, 7));
    EXPECT_FALSE(doc.RecallPosition(L"x"));
    EXPECT_TRUE(Consistent(doc));

    ASSERT_EQ(XmlNode::Comment, doc.SeekNode(XmlNode::Comment));
    ASSERT_TRUE(doc.DeleteNode());
    EXPECT_EQ(XmlNode::Whitespace, doc.GetNodeKind());
    EXPECT_TRUE(Consistent(doc));
    ASSERT_TRUE(doc.FindElement(L"e"));
    ASSERT_TRUE(doc.DeleteNode());
    EXPECT_EQ(XmlNode::Whitespace, doc.GetNodeKind());
    EXPECT_EQ(L"<r>\r\n  <a></a>\r\n  <d/>\r\n  </r>", doc.GetDocumentText());
    EXPECT_TRUE(Consistent(doc));
    doc.ResetPosition();
    ASSERT_TRUE(doc.FindChildElement(L"a"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.DeleteElement());
    EXPECT_EQ(L"", doc.GetElementName());
    EXPECT_TRUE(Consistent(doc));

    doc.ResetPosition();
    ASSERT_TRUE(doc.FindElement());
    ASSERT_TRUE(doc.DeleteElement());
    EXPECT_EQ(L"", doc.GetDocumentText());
    EXPECT_FALSE(doc.IsWellFormed());
    EXPECT_FALSE(doc.DeleteElement());
    EXPECT_FALSE(doc.DeleteNode());
}
