#include "shared/lang/ReadXmlValue.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

class ReadXmlValueTest : public testing::Test {
protected:
    void SetUp() override {
        m_folder = std::filesystem::temp_directory_path() /
                   (L"v212-lang-" + std::to_wstring(GetCurrentProcessId()));
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    std::wstring Write(const std::string& bytes, const wchar_t* name = L"Strings.xml") {
        const std::filesystem::path path = m_folder / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.wstring();
    }

    std::filesystem::path m_folder;
};

TEST_F(ReadXmlValueTest, ReadsTheChildOfTheElementUnderTheRoot) {
    const std::wstring file = Write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                                    "<Strings>\r\n"
                                    "  <TRAY><CONFIG>Open</CONFIG><CLOSE>Close</CLOSE></TRAY>\r\n"
                                    "  <BUTTONPAGE>\r\n"
                                    "    <DPISTAGE>Stage</DPISTAGE>\r\n"
                                    "    <NEWMACRO>Macro</NEWMACRO>\r\n"
                                    "    <NEWMACRO>Second</NEWMACRO>\r\n"
                                    "  </BUTTONPAGE>\r\n"
                                    "</Strings>\r\n");
    EXPECT_EQ(ReadXmlValue(file, L"BUTTONPAGE", L"NEWMACRO"), L"Macro");
    EXPECT_EQ(ReadXmlValue(file, L"BUTTONPAGE", L"DPISTAGE"), L"Stage");
    EXPECT_EQ(ReadXmlValue(file, L"TRAY", L"CLOSE"), L"Close");
    EXPECT_EQ(ReadXmlValue(file, L"BUTTONPAGE", L"MISSING"), L"");
    EXPECT_EQ(ReadXmlValue(file, L"NOPAGE", L"NEWMACRO"), L"");
}

TEST_F(ReadXmlValueTest, MissingUnreadableOrElementlessFilesGiveEmptyText) {
    EXPECT_EQ(ReadXmlValue((m_folder / L"absent.xml").wstring(), L"BUTTONPAGE", L"NEWMACRO"), L"");
    // The element exists, but not directly under the root.
    const std::wstring deep =
        Write("<Strings><PAGES><BUTTONPAGE><NEWMACRO>Macro</NEWMACRO></BUTTONPAGE></PAGES>"
              "</Strings>",
              L"deep.xml");
    EXPECT_EQ(ReadXmlValue(deep, L"BUTTONPAGE", L"NEWMACRO"), L"");
    EXPECT_EQ(ReadXmlValue(Write("", L"empty.xml"), L"BUTTONPAGE", L"NEWMACRO"), L"");
    const std::wstring broken =
        Write("<Strings><BUTTONPAGE><NEWMACRO>Macro</NEWMACRO></BUTTONPAGE>", L"broken.xml");
    EXPECT_EQ(ReadXmlValue(broken, L"BUTTONPAGE", L"NEWMACRO"), L"");
}

TEST_F(ReadXmlValueTest, WithoutTheChildTheSearchGoesDownIntoANestedElementOfTheSameName) {
    const std::wstring nested = Write("<Strings>"
                                      "<BUTTONPAGE><OTHER>x</OTHER>"
                                      "<BUTTONPAGE><NAME>y</NAME>"
                                      "<BUTTONPAGE><NEWMACRO>Deep</NEWMACRO></BUTTONPAGE>"
                                      "</BUTTONPAGE></BUTTONPAGE>"
                                      "</Strings>",
                                      L"nested.xml");
    EXPECT_EQ(ReadXmlValue(nested, L"BUTTONPAGE", L"NEWMACRO"), L"Deep");
    EXPECT_EQ(ReadXmlValue(nested, L"BUTTONPAGE", L"NAME"), L"y");
    EXPECT_EQ(ReadXmlValue(nested, L"BUTTONPAGE", L"OTHER"), L"x");

    // A later element of the same name beside the first is not searched.
    const std::wstring siblings = Write("<Strings>"
                                        "<BUTTONPAGE><OTHER>x</OTHER></BUTTONPAGE>"
                                        "<BUTTONPAGE><NEWMACRO>Beside</NEWMACRO></BUTTONPAGE>"
                                        "</Strings>",
                                        L"siblings.xml");
    EXPECT_EQ(ReadXmlValue(siblings, L"BUTTONPAGE", L"NEWMACRO"), L"");
}

TEST_F(ReadXmlValueTest, TextIsDecodedAndTheFileIsReadAnewOnEveryCall) {
    // UTF-8 without declaration, an entity and characters beyond ASCII.
    const std::wstring file = Write("<Strings><BUTTONPAGE><NEWMACRO>Gr\xC3\xB6\xC3\x9F"
                                    "e &amp; \xE5\xAE\x8F</NEWMACRO></BUTTONPAGE></Strings>");
    EXPECT_EQ(ReadXmlValue(file, L"BUTTONPAGE", L"NEWMACRO"), L"Gr\u00F6\u00DFe & \u5B8F");

    // UTF-16 little-endian with its byte-order mark.
    std::string utf16 = "\xFF\xFE";
    for (wchar_t c :
         std::wstring(L"<Strings><TRAY><CLOSE>Schlie\u00DFen</CLOSE></TRAY></Strings>")) {
        utf16 += static_cast<char>(c & 0xFF);
        utf16 += static_cast<char>(c >> 8);
    }
    Write(utf16);
    EXPECT_EQ(ReadXmlValue(file, L"TRAY", L"CLOSE"), L"Schlie\u00DFen");
    EXPECT_EQ(ReadXmlValue(file, L"BUTTONPAGE", L"NEWMACRO"), L"");
}

TEST(ShippedLanguageFileTest, HoldsEveryTextTheProgramsRead) {
    const std::wstring file = std::filesystem::path(V212_SHIPPED_STRINGS_XML).wstring();
    std::ifstream in(std::filesystem::path(file), std::ios::binary);
    std::string head(38, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    EXPECT_EQ(head, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>");

    const std::pair<const wchar_t*, const wchar_t*> texts[] = {
        {L"TRAY", L"CONFIG"},         {L"TRAY", L"CLOSE"}, {L"BUTTONPAGE", L"NEWMACRO"},
        {L"BUTTONPAGE", L"DPISTAGE"}, {L"FONT", L"MAIN"},
    };
    for (const auto& [element, child] : texts)
        EXPECT_FALSE(ReadXmlValue(file, element, child).empty()) << element << "/" << child;
}

} // namespace
