#include "shared/xml/CXmlDocument.h"
#include "shared/xml/XmlCodePages.h"
#include "shared/xml/XmlFileText.h"
#include "shared/xml/XmlTextEncoding.h"
#include "shared/xml/XmlUnicode.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

// The same document in every Unicode form: an attribute, Latin, CJK and a character beyond
// the basic plane.
const std::wstring kText = L"<r a=\"1\">\u00e9\u4e2d\U0001F600</r>";
const std::u32string kCodePoints = U"<r a=\"1\">\u00e9\u4e2d\U0001F600</r>";
const std::string kUtf8 = "<r a=\"1\">\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80</r>";

std::string Utf16Bytes(std::wstring_view text, bool bigEndian) {
    std::string bytes;
    for (wchar_t c : text) {
        const char low = static_cast<char>(c & 0xFF), high = static_cast<char>(c >> 8);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

std::string Utf32Bytes(std::u32string_view text, bool bigEndian) {
    std::string bytes;
    for (char32_t c : text) {
        for (int i = 0; i < 4; ++i)
            bytes += static_cast<char>(c >> (8 * (bigEndian ? 3 - i : i)));
    }
    return bytes;
}

std::wstring Ansi(std::string_view bytes) {
    std::wstring text(bytes.size(), L'\0');
    text.resize(MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                                    text.data(), static_cast<int>(text.size())));
    return text;
}

std::wstring SystemMessage(DWORD error) {
    SetLastError(error);
    return FormatLastErrorText();
}

class XmlFiles : public ::testing::Test {
protected:
    std::wstring Path(const std::wstring& name) {
        wchar_t folder[MAX_PATH];
        GetTempPathW(MAX_PATH, folder);
        const std::wstring path = std::wstring(folder) + L"v212_xml_" + name;
        m_paths.push_back(path);
        return path;
    }
    std::wstring Write(const std::wstring& name, std::string_view bytes) {
        const std::wstring path = Path(name);
        std::FILE* file = _wfopen(path.c_str(), L"wb");
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
        return path;
    }
    static std::string Read(const std::wstring& path) {
        std::string bytes;
        if (std::FILE* file = _wfopen(path.c_str(), L"rb")) {
            char buffer[4096];
            for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
                bytes.append(buffer, n);
            std::fclose(file);
        }
        return bytes;
    }
    void TearDown() override {
        for (const std::wstring& path : m_paths)
            DeleteFileW(path.c_str());
    }

private:
    std::vector<std::wstring> m_paths;
};

struct LoadCase {
    const wchar_t* name;
    std::string bytes;
    std::wstring status;
    std::wstring text;
    bool sameBytesWhenSaved;
};

} // namespace

TEST(XmlCodePages, EveryNameFindsItsCodePage) {
    std::set<std::wstring_view> names;
    for (const XmlCodePageName& entry : XmlCodePageNames()) {
        names.insert(entry.name);
        EXPECT_EQ(entry.codePage, CodePageFromName(entry.name)) << std::wstring(entry.name);
        std::wstring upper(entry.name);
        for (wchar_t& c : upper)
            c = (c >= L'a' && c <= L'z') ? c - 32 : c;
        EXPECT_EQ(entry.codePage, CodePageFromName(upper)) << upper;
    }
    EXPECT_EQ(254u, names.size());
    EXPECT_EQ(936u, CodePageFromName(L"GB2312"));
    EXPECT_EQ(65001u, CodePageFromName(L"Utf-8"));
    EXPECT_EQ(1252u, CodePageFromName(L"windows-1252"));
    EXPECT_EQ(0u, CodePageFromName(L"no-such-encoding"));
    EXPECT_EQ(0u, CodePageFromName(L""));
    EXPECT_EQ(0u, CodePageFromName(std::wstring(100, L'a')));
    EXPECT_EQ(XmlCodePage::Utf32, CodePageOfEncoding(L"UTF-32BE"));
    EXPECT_EQ(0u, CodePageOfEncoding(L"utf-32"));
}

TEST(XmlUnicode, CodecsRoundTripAndReplaceWhatDoesNotDecode) {
    for (char32_t value : {U'A', U'\u00e9', U'\u4e2d', U'\U0001F600', U'\U0010FFFF'}) {
        char bytes[4];
        const std::size_t count = EncodeUtf8(value, bytes);
        EXPECT_EQ(count, EncodeUtf8(value, nullptr));
        std::size_t pos = 0;
        EXPECT_EQ(value, DecodeUtf8(std::string_view(bytes, count), pos));
        EXPECT_EQ(count, pos);
        wchar_t units[2];
        const std::size_t n = EncodeUtf16(value, units);
        EXPECT_EQ(value >= 0x10000 ? 2u : 1u, n);
        pos = 0;
        EXPECT_EQ(value, DecodeUtf16(std::wstring_view(units, n), pos));
    }
    const std::string bad[] = {"\x80", "\xC0\xAF", "\xE4\xB8", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                               "\xFF", "\xC3("};
    for (const std::string& bytes : bad) {
        std::size_t pos = 0;
        EXPECT_EQ(U'?', DecodeUtf8(bytes, pos));
        EXPECT_EQ(1u, pos);
    }
    std::size_t pos = 0;
    EXPECT_EQ(U'?', DecodeUtf16(L"\xD800x", pos));
    pos = 0;
    EXPECT_EQ(U'?', DecodeUtf16(L"\xDC00\xD800", pos));
    wchar_t unit;
    EncodeUtf16(0xD800, &unit);
    EXPECT_EQ(L'?', unit);

    EXPECT_TRUE(IsValidUtf8(kUtf8));
    EXPECT_TRUE(IsValidUtf8("plain"));
    EXPECT_TRUE(IsValidUtf8(std::string_view("ok\0\xFF", 4))); // a 0 byte ends the check
    EXPECT_FALSE(IsValidUtf8("caf\xE9!"));
    EXPECT_FALSE(IsValidUtf8("\xE4\xB8"));
    EXPECT_FALSE(IsValidUtf8("\xF8\x80\x80\x80\x80"));
}

TEST(XmlTextEncoding, ConversionsCountAndConvertAlike) {
    const std::string_view wide(reinterpret_cast<const char*>(kText.data()), kText.size() * 2);
    const std::string utf32 = Utf32Bytes(kCodePoints, false);
    const XmlConversion toUtf32 = ConvertTextEncoding(L"UTF-32", L"UTF-16", wide);
    EXPECT_EQ(kCodePoints.size(), toUtf32.units);
    std::string out(toUtf32.units * 4, '\0');
    ConvertTextEncoding(L"UTF-32", L"UTF-16", wide, out);
    EXPECT_EQ(utf32, out);

    out.assign(ConvertTextEncoding(L"utf-8", L"UTF-32", utf32).units, '\0');
    ConvertTextEncoding(L"utf-8", L"UTF-32", utf32, out);
    EXPECT_EQ(kUtf8, out);
    EXPECT_EQ(0u, ConvertTextEncoding(L"windows-1252", L"UTF-32", utf32).units);
    EXPECT_EQ(0u, ConvertTextEncoding(L"UTF-32", L"windows-1252", "abc").units);

    out.assign(ConvertTextEncoding(L"UTF-32", L"UTF-8",
                                   "a\xFF"
                                   "b")
                       .units *
                   4,
               '\0');
    ConvertTextEncoding(L"UTF-32", L"UTF-8",
                        "a\xFF"
                        "b",
                        out);
    EXPECT_EQ(Utf32Bytes(U"a?b", false), out);

    out.assign(ConvertTextEncoding(L"windows-1252", L"UTF-8", "caf\xC3\xA9").units, '\0');
    ConvertTextEncoding(L"windows-1252", L"UTF-8", "caf\xC3\xA9", out);
    EXPECT_EQ("caf\xE9", out);

    const std::wstring chinese = L"\u4e2d";
    const std::string_view chineseBytes(reinterpret_cast<const char*>(chinese.data()), 2);
    EXPECT_TRUE(ConvertTextEncoding(L"windows-1252", L"UTF-16", chineseBytes).lost);
    EXPECT_FALSE(ConvertTextEncoding(L"UTF-8", L"UTF-16", chineseBytes).lost);
}

TEST(XmlTextEncoding, DeclaredEncodings) {
    EXPECT_EQ(L"windows-1252",
              FindDeclaredEncoding(L"<?xml version=\"1.0\" encoding=\"windows-1252\"?><r/>"));
    EXPECT_EQ(L"x", FindDeclaredEncoding(L"<?XML encoding='x' ?><r/>"));
    EXPECT_EQ(L"", FindDeclaredEncoding(L"<?xml version=\"1.0\"?><r/>"));
    EXPECT_EQ(L"", FindDeclaredEncoding(L" <?xml encoding='x'?><r/>"));
    EXPECT_EQ(L"gb2312",
              FindDeclaredEncoding(L"<!DOCTYPE html><HTML><head><title>t</title>"
                                   L"<META HTTP-EQUIV='content-type' content='text/html; "
                                   L"Charset = gb2312'></head>"));
    EXPECT_EQ(L"", FindDeclaredEncoding(L"<html><head></head><meta http-equiv='Content-Type' "
                                        L"content='text/html; charset=gb2312'>"));
    EXPECT_EQ(L"", FindDeclaredEncoding(L"<body><html><meta http-equiv='Content-Type' "
                                        L"content='charset=gb2312'>"));
    EXPECT_EQ(L"", FindDeclaredEncoding(L"<html><meta http-equiv='refresh' content='charset=x'>"));
    EXPECT_EQ(L"", FindDeclaredEncoding(L"<html><1><meta http-equiv='Content-Type' "
                                        L"content='charset=x'>"));
}

TEST_F(XmlFiles, EveryDetectionPathLoadsAndRoundTrips) {
    const std::string decl1252 = "<?xml version=\"1.0\" encoding=\"windows-1252\"?><r>caf\xE9</r>";
    const std::string declGb = "<?xml version=\"1.0\" encoding=\"GB2312\"?><r>\xD6\xD0\xCE\xC4</r>";
    const std::string ansi = "\r\n<r>caf\xE9</r>";
    const LoadCase cases[] = {
        {L"utf8bom", "\xEF\xBB\xBF" + kUtf8, L"UTF-8 BOM + length 22 to 17 wide chars ", kText,
         true},
        {L"utf8ascii", "\xEF\xBB\xBF<r>abc</r>", L"UTF-8 BOM + length 10 to 10 wide chars ",
         L"<r>abc</r>", true},
        {L"utf8", kUtf8, L"UTF-8 length 22 to 17 wide chars ", kText, true},
        {L"utf16le", std::string("\xFF\xFE") + Utf16Bytes(kText, false),
         L"UTF-16LE BOM + length 17 ", kText, true},
        {L"utf16be", std::string("\xFE\xFF") + Utf16Bytes(kText, true),
         L"UTF-16BE BOM + length 17 endian swap ", kText, true},
        {L"utf32le", std::string("\xFF\xFE\0\0", 4) + Utf32Bytes(kCodePoints, false),
         L"UTF-32LE BOM + length 16 to 17 wide chars ", kText, true},
        {L"utf32be", std::string("\0\0\xFE\xFF", 4) + Utf32Bytes(kCodePoints, true),
         L"UTF-32BE BOM + length 16 endian swap to 17 wide chars ", kText, true},
        {L"decl1252", decl1252, L"windows-1252 length 56 to 56 wide chars ",
         L"<?xml version=\"1.0\" encoding=\"windows-1252\"?><r>caf\u00e9</r>", true},
        {L"declgb", declGb, L"GB2312 length 50 to 48 wide chars ",
         L"<?xml version=\"1.0\" encoding=\"GB2312\"?><r>\u4e2d\u6587</r>", true},
        {L"declnone", "<?xml version=\"1.0\"?><r>\xC3\xA9</r>",
         L"UTF-8 length 30 to 29 wide chars ", L"<?xml version=\"1.0\"?><r>\u00e9</r>", true},
        {L"ansi", ansi, L"ANSI length 13 (used UTF-8 detection) to 13 wide chars ", Ansi(ansi),
         true},
        {L"detected", "\r\n<r>caf\xC3\xA9</r>",
         L"UTF-8 length 14 (used UTF-8 detection) to 13 wide chars ", L"\r\n<r>caf\u00e9</r>",
         false},
        {L"nulls", std::string("<\0r\0/\0>\0", 8),
         L"UTF-8 length 8 (4 nulls removed) to 4 wide chars ", L"<r/>", false},
        {L"oddbyte", std::string("\xFF\xFE") + Utf16Bytes(L"<r/>", false) + "A",
         L"UTF-16LE BOM + length 4 ", L"<r/>", false},
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring path = Write(c.name, c.bytes);
        CXmlDocument doc;
        EXPECT_TRUE(doc.LoadFile(path));
        EXPECT_EQ(c.status, doc.GetStatusText());
        EXPECT_EQ(c.text, doc.GetDocumentText());

        const std::wstring copy = Path(std::wstring(c.name) + L".saved");
        ASSERT_TRUE(doc.SaveFile(copy)) << doc.GetStatusText();
        if (c.sameBytesWhenSaved) {
            EXPECT_EQ(c.bytes, Read(copy));
        }
        CXmlDocument again;
        EXPECT_TRUE(again.LoadFile(copy));
        EXPECT_EQ(c.text, again.GetDocumentText());
    }
}

TEST_F(XmlFiles, HtmlMetaCharsetAndEmptyFile) {
    CXmlDocument doc;
    doc.LoadFile(Write(L"page.html", "<html><head><meta http-equiv=\"Content-Type\" "
                                     "content=\"text/html; charset=gb2312\"/>"
                                     "<title>\xD6\xD0\xCE\xC4</title></head></html>"));
    EXPECT_TRUE(doc.GetStatusText().starts_with(L"gb2312 length 114 to 112 wide chars "))
        << doc.GetStatusText();
    ASSERT_TRUE(doc.FindChildElement(L"head"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindChildElement(L"title"));
    EXPECT_EQ(L"\u4e2d\u6587", doc.GetChildText());

    EXPECT_FALSE(doc.LoadFile(Write(L"empty", "")));
    EXPECT_EQ(L"ANSI 0 length  Empty document", doc.GetStatusText());
}

TEST_F(XmlFiles, SaveStatusTextsAndMarks) {
    CXmlDocument doc;
    doc.SetDocumentText(L"<a/>");
    const std::wstring fresh = Path(L"fresh");
    doc.SetDocumentFlags(XmlDocFlag::Utf16LeMark);
    ASSERT_TRUE(doc.SaveFile(fresh));
    EXPECT_EQ(L"UTF-16LE BOM + length 4 ", doc.GetStatusText());
    EXPECT_EQ(std::string("\xFF\xFE") + Utf16Bytes(L"<a/>", false), Read(fresh));

    const std::wstring existing = Write(L"existing", "x");
    doc.SetDocumentFlags(XmlDocFlag::Utf16LeMark | XmlDocFlag::Appending);
    ASSERT_TRUE(doc.SaveFile(existing));
    EXPECT_EQ(L"UTF-8 length 4 ", doc.GetStatusText());
    EXPECT_EQ(std::string("x") + Utf16Bytes(L"<a/>", false), Read(existing));

    doc.SetDocumentFlags(XmlDocFlag::Utf8Mark);
    ASSERT_TRUE(doc.SaveFile(fresh));
    EXPECT_EQ(L"UTF-8 BOM + length 4 from wide length 4 ", doc.GetStatusText());

    doc.SetDocumentFlags(0);
    doc.SetDocumentText(L"<?xml version='1.0' encoding='windows-1252'?><a>\u4e2d</a>");
    ASSERT_TRUE(doc.SaveFile(fresh));
    EXPECT_EQ(L"windows-1252 length 53 from wide length 53 (chars lost in conversion!) ",
              doc.GetStatusText());

    doc.SetDocumentText(L"<?xml version='1.0' encoding='UTF-16'?><a/>");
    ASSERT_TRUE(doc.SaveFile(fresh));
    EXPECT_EQ(L"UTF-16 length 43 ", doc.GetStatusText());
    EXPECT_EQ(Utf16Bytes(doc.GetDocumentText(), false), Read(fresh));
    doc.SetDocumentText(L"<?xml version='1.0' encoding='unicodeFFFE'?><a/>");
    ASSERT_TRUE(doc.SaveFile(fresh));
    EXPECT_EQ(L"unicodeFFFE endian swap length 48 ", doc.GetStatusText());
    EXPECT_EQ(Utf16Bytes(doc.GetDocumentText(), true), Read(fresh));

    doc.SetDocumentText(L"");
    ASSERT_TRUE(doc.SaveFile(fresh));
    EXPECT_EQ(L"0 length ", doc.GetStatusText());
    EXPECT_EQ("", Read(fresh));
}

TEST_F(XmlFiles, MarkOfAnEarlierFileDoesNotCarryOver) {
    CXmlDocument doc;
    ASSERT_TRUE(doc.LoadFile(Write(L"be", std::string("\xFE\xFF") + Utf16Bytes(kText, true))));
    EXPECT_EQ(XmlDocFlag::Utf16BeMark, doc.GetDocumentFlags() & XmlDocFlag::AnyMark);
    ASSERT_TRUE(doc.LoadFile(Write(L"le", std::string("\xFF\xFE") + Utf16Bytes(kText, false))));
    EXPECT_EQ(kText, doc.GetDocumentText());
    EXPECT_EQ(XmlDocFlag::Utf16LeMark, doc.GetDocumentFlags() & XmlDocFlag::AnyMark);
    ASSERT_TRUE(doc.LoadFile(Write(L"plain", kUtf8)));
    EXPECT_EQ(kText, doc.GetDocumentText());
    EXPECT_EQ(0u, doc.GetDocumentFlags() & XmlDocFlag::AnyMark);
}

TEST_F(XmlFiles, UnpairedSurrogatesFromAFileBecomeQuestionMarks) {
    CXmlDocument doc;
    ASSERT_TRUE(
        doc.LoadFile(Write(L"lone", std::string("\xFF\xFE") +
                                        Utf16Bytes(std::wstring(L"<r>\xD800x\xDC00</r>"), false))));
    EXPECT_EQ(L"<r>?x?</r>", doc.GetDocumentText());
    ASSERT_TRUE(doc.LoadFile(Write(
        L"lone32", std::string("\xFF\xFE\0\0", 4) + Utf32Bytes(U"<r>", false) +
                       std::string("\x00\xD8\0\0\x00\x00\x11\0", 8) + Utf32Bytes(U"</r>", false))));
    EXPECT_EQ(L"<r>?\x3F</r>", doc.GetDocumentText());
}

TEST_F(XmlFiles, FailuresKeepFilesAndReportTheSystemMessage) {
    CXmlDocument doc;
    doc.SetDocumentText(L"<old/>");
    EXPECT_FALSE(doc.LoadFile(Path(L"missing")));
    EXPECT_EQ(SystemMessage(ERROR_FILE_NOT_FOUND), doc.GetStatusText());
    EXPECT_FALSE(doc.GetStatusText().empty());
    EXPECT_EQ(std::wstring::npos, doc.GetStatusText().find_first_of(L"\r\n"));
    EXPECT_EQ(L"", doc.GetDocumentText());
    EXPECT_FALSE(doc.FindElement());
    EXPECT_FALSE(doc.IsWellFormed());

    // A code page the system cannot produce: the file stays as it was.
    const std::wstring kept = Write(L"kept", "keep me");
    doc.SetDocumentText(L"<?xml version='1.0' encoding='x-ebcdic-japaneseandkana'?><r/>");
    EXPECT_FALSE(doc.SaveFile(kept));
    EXPECT_EQ(SystemMessage(ERROR_INVALID_PARAMETER), doc.GetStatusText());
    EXPECT_EQ("keep me", Read(kept));

    doc.SetDocumentText(L"<r/>");
    EXPECT_FALSE(doc.SaveFile(Path(L"no_such_folder\\file.xml")));
    EXPECT_EQ(SystemMessage(ERROR_PATH_NOT_FOUND), doc.GetStatusText());
}

TEST_F(XmlFiles, ForcedEncodingOverridesDetection) {
    const std::wstring path = Write(L"forced", "<r>caf\xE9</r>");
    std::wstring text, result;
    unsigned flags = 0;
    ASSERT_TRUE(XmlFileText::ReadWholeFile(path, text, result, flags, L"windows-1252"));
    EXPECT_EQ(L"UTF-8 forced windows-1252 length 11 to 11 wide chars ", result);
    EXPECT_EQ(L"<r>caf\u00e9</r>", text);

    const std::wstring marked =
        Write(L"forcedmark", std::string("\xFF\xFE") + Utf16Bytes(L"<r/>", false));
    ASSERT_TRUE(XmlFileText::ReadWholeFile(marked, text, result, flags, L"windows-1252"));
    EXPECT_EQ(L"UTF-16LE BOM + length 4 ", result);
}
