#include "shared/xml/CXmlDocument.h"
#include "shared/xml/XmlEntities.h"
#include "shared/xml/XmlEscaping.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

TEST(XmlEscaping, EveryNamedReferenceDecodes) {
    std::set<std::wstring_view> names;
    for (const XmlEntity& entity : XmlEntities()) {
        names.insert(entity.name);
        EXPECT_EQ(std::wstring(1, static_cast<wchar_t>(entity.value)),
                  UnescapeText(L"&" + std::wstring(entity.name) + L";"))
            << std::wstring(entity.name);
    }
    EXPECT_EQ(253u, names.size());
    EXPECT_EQ(160, FindXmlEntity(L"nbsp"));
    EXPECT_EQ(255, FindXmlEntity(L"yuml"));
    EXPECT_EQ(338, FindXmlEntity(L"OElig"));
    EXPECT_EQ(9830, FindXmlEntity(L"diams"));
    EXPECT_EQ(8364, FindXmlEntity(L"euro"));
}

TEST(XmlEscaping, NamesMatchWithoutCaseButExactMatchWins) {
    EXPECT_EQ(L"\u00c9\u00e9", UnescapeText(L"&Eacute;&eacute;"));
    EXPECT_EQ(L"\u2021\u2020", UnescapeText(L"&Dagger;&dagger;"));
    EXPECT_EQ(L"\u21d2\u2192", UnescapeText(L"&rArr;&rarr;"));
    EXPECT_EQ(L"&<>\u20ac", UnescapeText(L"&AMP;&Lt;&GT;&EURO;"));
    EXPECT_EQ(L"\u00c9", UnescapeText(L"&EACUTE;"));
}

TEST(XmlEscaping, NumericReferencesAndWhatStaysPlain) {
    EXPECT_EQ(L"AAA", UnescapeText(L"&#x41;&#65;&#X41;"));
    EXPECT_EQ(L"&lt;", UnescapeText(L"&amp;lt;"));
    EXPECT_EQ(L"\U0001F600", UnescapeText(L"&#x1F600;"));
    EXPECT_EQ(L"\U0010FFFF", UnescapeText(L"&#1114111;"));
    const std::wstring plain[] = {
        L"&bogus;",
        L"&;",
        L"&#;",
        L"&#x;",
        L"&#0;",
        L"& amp;",
        L"&amp",
        L"&#12a;",
        L"&abcdefghij;", // ten characters are too many
        L"&\u00e9;",
        // Values that UTF-16 cannot carry.
        L"&#x110000;",
        L"&#xD800;",
        L"&#xDFFF;",
        L"&#55296;",
        L"&#99999999;",
    };
    for (const std::wstring& text : plain)
        EXPECT_EQ(text, UnescapeText(text));
    EXPECT_EQ(L"a&b<c", UnescapeText(L"a&b&lt;c"));
}

TEST(XmlEscaping, EscapeTextWithAndWithoutFlags) {
    EXPECT_EQ(L"&lt;a href=\"x\" title='y'&gt; &amp; z",
              EscapeText(L"<a href=\"x\" title='y'> & z"));
    EXPECT_EQ(L"&lt;&quot;&apos;&gt;", EscapeText(L"<\"'>", XmlEditFlag::EscapeQuotes));
    EXPECT_EQ(L"&amp; &amp; &#65; &amp;x &amp;amp ; &x-1.y:_\u00e9;",
              EscapeText(L"&amp; & &#65; &x &amp ; &x-1.y:_\u00e9;", XmlEditFlag::KeepReferences));
    EXPECT_EQ(L"&amp;amp;", EscapeText(L"&amp;"));
}

TEST(XmlEscaping, CDataSectionsSplitAroundTheirEnd) {
    EXPECT_EQ(L"<![CDATA[a<b]]>", EncodeCData(L"a<b"));
    EXPECT_EQ(L"<![CDATA[a]]]]><![CDATA[>b]]]]><![CDATA[>]]>", EncodeCData(L"a]]>b]]>"));
    // Read back, the sections join to the original text.
    CXmlDocument doc;
    ASSERT_TRUE(doc.SetDocumentText(L"<r>" + EncodeCData(L"x]]>y") + L"</r>"));
    ASSERT_TRUE(doc.FindElement());
    EXPECT_EQ(L"x]]>y", doc.GetElementText());
}
