#include "shared/xml/CXmlDocument.h"
#include "shared/xml/XmlTextEncoding.h"
#include "shared/xml/XmlUnicode.h"
#include "tests/shared/xml/XmlDocumentInspector.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

namespace {

const std::wstring kSeeds[] = {
    L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<!-- language -->\r\n<Strings lang='en'>\r\n"
    L"  <FONT><MAIN>Segoe UI</MAIN></FONT>\r\n  <BUTTONPAGE>\r\n"
    L"    <NEWMACRO>Macro &amp; more</NEWMACRO>\r\n    <Item id=\"1\">&#x41;&eacute;</Item>\r\n"
    L"    <Item id=\"2\"><![CDATA[<raw>]]></Item>\r\n    <EMPTY/>\r\n  </BUTTONPAGE>\r\n"
    L"  <TRAY><CONFIG>Open</CONFIG></TRAY>\r\n</Strings>\r\n",
    L"<!DOCTYPE r [<!ENTITY e \"<v>\"><!ELEMENT r ANY>]><?pi a='1'?><r x=\"1\" y='>' z=w>"
    L"<a/><b c='d'/><e>t<!--c--><?p?>u</e><f><g><h>deep</h></g></f>\u4e2d\U0001F600</r>",
    L"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"
    L"<title>T</title></head><body><p>a<br>b</p><img src=x></body></html>",
    L"<a><b><c></b></c><d></a><e/>text</f><![CDATA[x]]><!-- y --><?z?>",
};

void Mutate(std::wstring& text, std::mt19937& random) {
    const int count = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < count; ++i) {
        if (text.empty())
            return;
        const std::size_t at = random() % text.size();
        const std::size_t length = 1 + random() % 16;
        switch (random() % 3) {
        case 0: // a bit of one byte flipped
            text[at] ^= static_cast<wchar_t>(1u << (random() % 16));
            break;
        case 1: // cut out, or cut off
            text.erase(at, random() % 4 == 0 ? std::wstring::npos : length);
            break;
        default: // repeated
            text.insert(random() % (text.size() + 1), text.substr(at, length));
            break;
        }
    }
}

void MutateBytes(std::string& bytes, std::mt19937& random) {
    if (bytes.empty())
        return;
    const std::size_t at = random() % bytes.size();
    switch (random() % 3) {
    case 0:
        bytes[at] ^= static_cast<char>(1u << (random() % 8));
        break;
    case 1:
        bytes.erase(at, 1 + random() % 8);
        break;
    default:
        bytes.insert(random() % (bytes.size() + 1), bytes.substr(at, 1 + random() % 8));
        break;
    }
}

void ReadEverything(CXmlDocument& doc, int depth) {
    do {
        doc.GetElementName();
        doc.GetElementText();
        doc.GetElementPath();
        doc.GetElementContent();
        doc.GetElementMarkup();
        doc.GetAttribute(L"id");
        doc.GetAttributeName(0);
        doc.GetAttributeName(1);
        doc.GetNodeLabel();
        if (depth < 100 && doc.FindChildElement() && doc.EnterElement()) {
            ReadEverything(doc, depth + 1);
            doc.LeaveElement();
        }
    } while (doc.FindElement());
}

void WalkNodes(CXmlDocument& doc) {
    for (int k = 0; k < 1000 && doc.SeekNode() != 0; ++k) {
        doc.GetNodeLabel();
        doc.GetElementText();
        doc.GetAttribute(L"a");
    }
}

void Edit(CXmlDocument& doc) {
    doc.ResetPosition();
    if (!doc.FindElement())
        return;
    doc.AppendChildElement(L"n", L"v<&>");
    doc.SetAttribute(L"k", L"'q'");
    doc.FindChildElement();
    doc.SetChildText(L"t");
    doc.SetChildAttribute(L"id", 7);
    doc.EnterElement();
    doc.InsertNode(XmlNode::Comment, L"c");
    doc.InsertElementBefore(L"m");
    doc.SeekNode();
    doc.DeleteNode();
    doc.LeaveElement();
    doc.InsertMarkup(L"<i j='1'><k/></i>", XmlEditFlag::AsChild);
    doc.DeleteChildElement();
    doc.SetElementContent(L"<x>1</x><y/>");
    doc.FindChildElement(L"y");
    doc.SetChildText(L"z");
}

::testing::AssertionResult RecordsMatchReparse(const CXmlDocument& doc) {
    CXmlDocument reparsed;
    reparsed.SetDocumentText(doc.GetDocumentText());
    if (XmlDocumentInspector(doc).Tree() == XmlDocumentInspector(reparsed).Tree())
        return ::testing::AssertionSuccess();
    std::string text;
    for (wchar_t c : doc.GetDocumentText())
        text += c < 0x80 ? static_cast<char>(c) : '?';
    return ::testing::AssertionFailure() << "records differ after editing\n" << text;
}

} // namespace

TEST(XmlRobustness, MutatedDocumentsParseReadAndEditSafely) {
    constexpr int kDocuments = 100000;
    std::mt19937 random(20240611);
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"v212_xml_mutant.xml";
    int wellFormed = 0, edited = 0;
    for (int i = 0; i < kDocuments; ++i) {
        std::wstring text = kSeeds[i % std::size(kSeeds)];
        Mutate(text, random);
        CXmlDocument doc;
        const bool ok = doc.SetDocumentText(text);
        ASSERT_TRUE(ok || !doc.GetStatusText().empty()) << i;
        wellFormed += ok;
        ReadEverything(doc, 0);
        doc.ResetPosition();
        WalkNodes(doc);
        doc.ResetPosition();
        if (doc.FindElement() && doc.EnterElement())
            WalkNodes(doc);
        if (i % 4 == 0) {
            Edit(doc);
            if (ok && doc.IsWellFormed()) {
                ++edited;
                ASSERT_TRUE(RecordsMatchReparse(doc)) << i;
            }
        }

        // The same document as bytes through the decoders.
        std::string bytes(
            ConvertTextEncoding(L"UTF-8", L"UTF-16",
                                {reinterpret_cast<const char*>(text.data()), text.size() * 2})
                .units,
            '\0');
        ConvertTextEncoding(L"UTF-8", L"UTF-16",
                            {reinterpret_cast<const char*>(text.data()), text.size() * 2}, bytes);
        MutateBytes(bytes, random);
        IsValidUtf8(bytes);
        for (const wchar_t* from : {L"UTF-8", L"UTF-32"}) {
            std::wstring wide(ConvertTextEncoding(L"UTF-16", from, bytes).units, L'\0');
            ConvertTextEncoding(L"UTF-16", from, bytes,
                                {reinterpret_cast<char*>(wide.data()), wide.size() * 2});
            FindDeclaredEncoding(wide);
        }
        if (i % 200 == 0) {
            static const std::string marks[] = {"",
                                                "\xEF\xBB\xBF",
                                                "\xFF\xFE",
                                                "\xFE\xFF",
                                                std::string("\xFF\xFE\0\0", 4),
                                                std::string("\0\0\xFE\xFF", 4)};
            const std::string file = marks[(i / 200) % std::size(marks)] + bytes;
            std::FILE* stream = _wfopen(path.c_str(), L"wb");
            std::fwrite(file.data(), 1, file.size(), stream);
            std::fclose(stream);
            CXmlDocument loaded;
            const bool loadedOk = loaded.LoadFile(path);
            ASSERT_TRUE(loadedOk || !loaded.GetStatusText().empty()) << i;
            ReadEverything(loaded, 0);
            loaded.SaveFile(path);
        }
    }
    DeleteFileW(path.c_str());
    // The mutations must leave a fair share well-formed, or the edits go untested.
    EXPECT_GT(wellFormed, kDocuments / 20);
    EXPECT_GT(edited, kDocuments / 100);
}
