#include "tray/CPennrack.h"

#include "tests/tray/TrayProgramFolder.h"

#include <gtest/gtest.h>

#include <array>

namespace {

struct MenuEntry {
    UINT id;
    bool separator;
    std::wstring text;
};

std::vector<MenuEntry> Entries(HMENU menu) {
    std::vector<MenuEntry> entries;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        std::array<wchar_t, 128> text{};
        MENUITEMINFOW item{};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING;
        item.dwTypeData = text.data();
        item.cch = static_cast<UINT>(text.size());
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item))
            return {};
        entries.push_back({item.wID, (item.fType & MFT_SEPARATOR) != 0, text.data()});
    }
    return entries;
}

void ExpectTrayMenu(const std::wstring& stringsFile, const std::wstring& configText,
                    const std::wstring& closeText) {
    CPennrack::MenuHandle menu = CPennrack::CreateTrayMenu(stringsFile);
    ASSERT_TRUE(menu);
    const std::vector<MenuEntry> entries = Entries(menu.get());
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].id, 6001u);
    EXPECT_FALSE(entries[0].separator);
    EXPECT_EQ(entries[0].text, configText);
    EXPECT_TRUE(entries[1].separator);
    EXPECT_EQ(entries[2].id, 6006u);
    EXPECT_FALSE(entries[2].separator);
    EXPECT_EQ(entries[2].text, closeText);
    EXPECT_EQ(GetMenuDefaultItem(menu.get(), FALSE, 0), 6001u);
}

TEST(TrayMenuTest, TextsComeFromTheLanguageFile) {
    TrayProgramFolder folder;
    folder.WriteStrings("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                        "<Strings><TRAY><CLOSE>Beenden</CLOSE><CONFIG>\xC3\x96"
                        "ffnen</CONFIG></TRAY></Strings>\n");
    ExpectTrayMenu((folder.Path() / L"Strings.xml").wstring(), L"\u00D6ffnen", L"Beenden");
}

TEST(TrayMenuTest, ShippedLanguageFileNamesBothEntries) {
    ExpectTrayMenu(V212_SHIPPED_STRINGS_XML, L"Open Selvin V212 Gaming Mouse", L"Close");
}

TEST(TrayMenuTest, WithoutLanguageFileOrTraySectionTheEntriesStayWithEmptyTexts) {
    TrayProgramFolder folder;
    ExpectTrayMenu((folder.Path() / L"Strings.xml").wstring(), L"", L"");
    folder.WriteStrings("<Strings><BUTTONPAGE><CONFIG>Wrong page</CONFIG></BUTTONPAGE></Strings>");
    ExpectTrayMenu((folder.Path() / L"Strings.xml").wstring(), L"", L"");
}

} // namespace
