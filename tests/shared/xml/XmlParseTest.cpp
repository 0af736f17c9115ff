#include "shared/xml/CXmlDocument.h"
#include "tests/shared/xml/XmlDocumentInspector.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ParseCase {
    std::wstring text;
    std::wstring message;
};

std::wstring Repeat(std::wstring_view piece, int count) {
    std::wstring text;
    text.reserve(piece.size() * count);
    for (int i = 0; i < count; ++i)
        text += piece;
    return text;
}

} // namespace

TEST(XmlParse, EveryErrorMessageVerbatimWithItsOffset) {
    const std::wstring longName(1100, L'n');
    const ParseCase cases[] = {
        {L"<a><b></a>", L"End tag 'a' at offset 7 does not match start tag 'b' at offset 3"},
        {L"<a><b><c></a>", L"End tag 'a' at offset 10 does not match start tag 'c' at offset 6"},
        {L"<a></b></a>", L"No start tag for end tag 'b' at offset 3"},
        {L"<a>", L"Element 'a' at offset 0 not ended"},
        {L"<a x=y/>", L"Element 'a' at offset 0 not ended"},
        {L"<a><!-- x", L"Comment at offset 3 unterminated"},
        {L"<a><1/></a>", L"Incorrect tag name character at offset 3"},
        {L"<a>< b/></a>", L"Incorrect tag name character at offset 3"},
        {L"<a><!x></a>", L"Incorrect ! tag at offset 3"},
        {L"<a><!-x></a>", L"Incorrect comment tag at offset 3"},
        {L"<a><![x></a>", L"Incorrect tag at offset 3"},
        {L"<a></a", L"Element end tag at offset 3 unterminated"},
        {L"<a x='1>", L"Element tag at offset 0 unterminated"},
        {L"<a><![CDATA[x", L"CDATA Section at offset 3 unterminated"},
        {L"<a><?pi x", L"Processing instruction at offset 3 unterminated"},
        {L"<!DOCTYPE a [<!ENTITY x \"y>\">", L"Doctype at offset 0 unterminated"},
        {L"<a><", L"tag at offset 3 unterminated"},
        {L"<a><!ELEMENT x", L"tag at offset 3 unterminated"},
        {L"<a/><b/>", L"Root element has sibling"},
        {L"<a></x><b/>", L"Root element has sibling"},
        {L"just text", L"No root element"},
        {L"<!-- only a comment -->", L"No root element"},
        {L"", L"Empty document"},
        // Only the first message is kept.
        {L"<a><1/></b>", L"Incorrect tag name character at offset 3"},
        // An end tag longer than a record can hold is ill-formed.
        {L"<" + longName + L"></" + longName + L">",
         L"Incorrect tag at offset " + std::to_wstring(longName.size() + 2)},
    };
    for (const ParseCase& c : cases) {
        CXmlDocument doc;
        EXPECT_FALSE(doc.SetDocumentText(c.text)) << c.text.substr(0, 40);
        EXPECT_EQ(c.message, doc.GetStatusText()) << c.text.substr(0, 40);
    }
}

TEST(XmlParse, WellFormedDocumentsInEveryConstruct) {
    const std::wstring texts[] = {
        L"<a/>",
        L"<a />",
        L"<a></a>",
        L"<?xml version=\"1.0\" encoding='UTF-8'?>\r\n<a>x</a>\r\n",
        L"<!DOCTYPE a [\r\n<!ENTITY e \"<v>\">\r\n<!ELEMENT a (#PCDATA)>\r\n]>\r\n<a>&e;</a>",
        L"<!-- before --><a><!-- inside <b> --></a><!-- after -->",
        L"<a><![CDATA[<not> & ]] markup]]></a>",
        L"<?pi first?><a><?pi inside?></a>",
        L"<a>&lt;&amp;&gt;&quot;&apos;&#65;&#x42;&eacute;</a>",
        L"<a x=\"1\" y='2' z = \"a>b\" w='\"'/>",
        L"<a><b/><c></c><d x='1' /></a>",
        L"<a:b xmlns:a='urn:x'><_c/><\u00e9/></a:b>",
        L"<a>text > more</a>",
    };
    for (const std::wstring& text : texts) {
        CXmlDocument doc;
        EXPECT_TRUE(doc.SetDocumentText(text)) << text;
        EXPECT_EQ(L"", doc.GetStatusText()) << text;
    }
}

TEST(XmlParse, UnendedElementKeepsItsStartTagAndGivesUpItsChildren) {
    CXmlDocument doc;
    EXPECT_FALSE(doc.SetDocumentText(L"<r><a><x/><y/></r>"));
    XmlDocumentInspector view(doc);
    const XmlElementRecord& root = view.Record(view.Root());
    EXPECT_EQ(18, root.length);
    const std::int32_t a = root.firstChild;
    const XmlElementRecord& ra = view.Record(a);
    EXPECT_TRUE(ra.Has(XmlRecordFlag::NoEndTag));
    EXPECT_EQ(3, ra.length);
    EXPECT_EQ(0, ra.EndTagLength());
    EXPECT_EQ(0, ra.firstChild);
    // x and y became a's following siblings under r; y is r's last child.
    const std::int32_t x = ra.nextSibling;
    ASSERT_NE(0, x);
    EXPECT_EQ(view.Root(), view.Record(x).parent);
    const std::int32_t y = view.Record(x).nextSibling;
    EXPECT_EQ(y, view.Record(a).prevSibling);
    EXPECT_TRUE(view.Record(0).Has(XmlRecordFlag::ParseError));
    EXPECT_FALSE(root.Has(XmlRecordFlag::NoEndTag));
}

TEST(XmlParse, MismatchedEndTagClosesTheOuterElementNormally) {
    CXmlDocument doc;
    doc.SetDocumentText(L"<a><b></a>");
    XmlDocumentInspector view(doc);
    const XmlElementRecord& a = view.Record(view.Root());
    EXPECT_EQ(10, a.length);
    EXPECT_EQ(4, a.EndTagLength());
    EXPECT_FALSE(a.Has(XmlRecordFlag::NoEndTag));
    const XmlElementRecord& b = view.Record(a.firstChild);
    EXPECT_TRUE(b.Has(XmlRecordFlag::NoEndTag));
    EXPECT_EQ(3, b.length);
    EXPECT_FALSE(doc.IsWellFormed());
}

TEST(XmlParse, RecordsHoldOffsetsTagLengthsLevelsAndLinks) {
    CXmlDocument doc;
    ASSERT_TRUE(doc.SetDocumentText(L"<r>\r\n <a x='1'>t</a><b/></r>"));
    XmlDocumentInspector view(doc);
    const XmlElementRecord& r = view.Record(view.Root());
    EXPECT_EQ(0, r.start);
    EXPECT_EQ(28, r.length);
    EXPECT_EQ(3, r.StartTagLength());
    EXPECT_EQ(4, r.EndTagLength());
    EXPECT_EQ(0u, r.Level());
    const XmlElementRecord& a = view.Record(r.firstChild);
    EXPECT_EQ(6, a.start);
    EXPECT_EQ(14, a.length);
    EXPECT_EQ(9, a.StartTagLength());
    EXPECT_EQ(1u, a.Level());
    EXPECT_TRUE(a.Has(XmlRecordFlag::FirstChild));
    const XmlElementRecord& b = view.Record(a.nextSibling);
    EXPECT_EQ(20, b.start);
    EXPECT_EQ(4, b.length);
    EXPECT_EQ(0, b.EndTagLength());
    EXPECT_FALSE(b.Has(XmlRecordFlag::FirstChild));
    EXPECT_EQ(a.nextSibling, a.prevSibling); // the first child points at the last
    EXPECT_EQ(28, view.Record(0).length);
}

TEST(XmlParse, QuotedGreaterThanDoesNotEndATag) {
    CXmlDocument doc;
    ASSERT_TRUE(doc.SetDocumentText(L"<a x='>'/>"));
    ASSERT_TRUE(doc.FindElement());
    EXPECT_EQ(L">", doc.GetAttribute(L"x"));
    EXPECT_EQ(10, XmlDocumentInspector(doc).Record(XmlDocumentInspector(doc).Root()).length);
}

TEST(XmlParse, IgnoreCaseFlagFoldsTagNames) {
    CXmlDocument folded;
    folded.SetDocumentFlags(XmlDocFlag::IgnoreCase);
    EXPECT_TRUE(folded.SetDocumentText(L"<List><item/></LIST>"));
    EXPECT_TRUE(folded.FindChildElement(L"ITEM"));

    CXmlDocument exact;
    EXPECT_FALSE(exact.SetDocumentText(L"<List><item/></LIST>"));
    exact.SetDocumentText(L"<List><item/></List>");
    EXPECT_FALSE(exact.FindChildElement(L"ITEM"));
    EXPECT_TRUE(exact.FindChildElement(L"item"));
}

TEST(XmlParse, NodesShorterThanTheirDelimitersReadAsEmpty) {
    CXmlDocument doc;
    ASSERT_TRUE(doc.SetDocumentText(L"<r><![C]]><?><!--><!---><![CDATA]]>x</r>"));
    ASSERT_TRUE(doc.FindElement());
    EXPECT_EQ(L"x", doc.GetElementText());
    ASSERT_TRUE(doc.EnterElement());
    const int kinds[] = {XmlNode::CData, XmlNode::ProcessingInstruction, XmlNode::Comment,
                         XmlNode::Comment, XmlNode::CData};
    for (int kind : kinds) {
        EXPECT_EQ(kind, doc.SeekNode());
        EXPECT_EQ(L"", doc.GetElementText());
        doc.GetNodeLabel();
    }
    EXPECT_EQ(XmlNode::Text, doc.SeekNode());
    EXPECT_EQ(L"x", doc.GetElementText());
    EXPECT_EQ(0, doc.SeekNode());
}

TEST(XmlParse, NestingDeeperThanARecordHoldsIsIllFormed) {
    const int depth = 65537;
    CXmlDocument doc;
    EXPECT_FALSE(doc.SetDocumentText(Repeat(L"<a>", depth) + Repeat(L"</a>", depth)));
    EXPECT_EQ(L"Incorrect tag at offset " + std::to_wstring((depth - 1) * 3), doc.GetStatusText());
    // The deepest element that fits has level 65535.
    XmlDocumentInspector view(doc);
    std::int32_t r = view.Root();
    while (view.Record(r).firstChild != 0)
        r = view.Record(r).firstChild;
    EXPECT_EQ(65535u, view.Record(r).Level());
}

TEST(XmlParse, LongRunsOfUnendedElementsParseInLinearTime) {
    // Each would take quadratic time if the children of every unended element were moved up
    // once per element closed above them.
    CXmlDocument doc;
    EXPECT_FALSE(doc.SetDocumentText(Repeat(L"<a>", 60000)));
    int count = 0;
    while (doc.FindElement())
        ++count;
    EXPECT_EQ(60000, count);

    EXPECT_FALSE(
        doc.SetDocumentText(L"<r>" + Repeat(L"<a><x>", 30000) + Repeat(L"</a>", 30000) + L"</r>"));
    EXPECT_EQ(L"End tag 'a' at offset 180004 does not match start tag 'x' at offset 180000",
              doc.GetStatusText());
}
