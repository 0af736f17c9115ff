#include "tests/skins/SkinLists.h"

#include "config/core/LanguageText.h"
#include "config/core/PopupMenus.h"
#include "shared/codes/ButtonFunctionCodes.h"
#include "shared/lang/ReadXmlValue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

// Every text the windows read, from the files the build put into the program folder.

namespace {
using SkinLists::BuiltFile;
using SkinLists::BuiltSkin;

const wchar_t kLanguageFile[] = L"Strings.xml";

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

std::wstring Read(const SkinLists::Text& row) {
    if (row.file == kLanguageFile) {
        return ReadXmlValue(BuiltFile(kLanguageFile), row.section, row.key);
    }
    wchar_t buffer[4096] = {};
    GetPrivateProfileStringW(row.section.c_str(), row.key.c_str(), L"", buffer, 4096,
                             BuiltSkin(row.file).c_str());
    return buffer;
}

bool Listed(const std::wstring& file, const std::wstring& section, const std::wstring& key) {
    const auto& texts = SkinLists::Texts();
    return std::any_of(texts.begin(), texts.end(), [&](const SkinLists::Text& row) {
        return row.file == file && row.section == section && row.key == key;
    });
}

TEST(SkinTexts, EveryTextTheWindowsReadIsThere) {
    ASSERT_GT(SkinLists::Texts().size(), 200u) << "the list was not read";
    for (const SkinLists::Text& row : SkinLists::Texts()) {
        SCOPED_TRACE(Narrow(row.file + L" [" + row.section + L"] " + row.key));
        EXPECT_FALSE(Read(row).empty());
    }
}

// A [Screen] value names a picture the build renders, and the picture is there.
TEST(SkinTexts, ScreenPicturesAreListedAndBuilt) {
    std::set<std::wstring> listed;
    for (const SkinLists::Picture& picture : SkinLists::Pictures()) {
        listed.insert(picture.file);
    }
    for (const SkinLists::Text& row : SkinLists::Texts()) {
        if (row.section != L"Screen") {
            continue;
        }
        const std::wstring value = Read(row);
        SCOPED_TRACE(Narrow(row.file + L" " + row.key + L"=" + value));
        EXPECT_EQ(1u, listed.count(value));
        EXPECT_TRUE(std::filesystem::exists(BuiltSkin(value)));
    }
}

// The insert mode is read back from the insert-mode button's caption: equal texts would make
// two modes one.
TEST(SkinTexts, TextsMarkedDistinctDiffer) {
    std::set<std::wstring> seen;
    int count = 0;
    for (const SkinLists::Text& row : SkinLists::Texts()) {
        if (row.distinct) {
            ++count;
            EXPECT_TRUE(seen.insert(Read(row)).second) << Narrow(row.key);
        }
    }
    EXPECT_EQ(4, count);
}

// The list follows the program: every keyword a caption or a menu of the main window looks up
// is a row of it.
TEST(SkinTexts, EveryKeywordTheProgramLooksUpIsListed) {
    const LanguageText language(BuiltFile(kLanguageFile));
    std::set<std::wstring> keywords;
    for (const ButtonFunctionCodes::Keyword& entry : ButtonFunctionCodes::Keywords()) {
        keywords.emplace(entry.keyword);
    }
    std::vector<PopupMenu> menus{
        PopupMenus::ButtonFunction(language), PopupMenus::InsertAction(language),
        PopupMenus::MouseButton(language), PopupMenus::InsertMode(language)};
    for (const int slot : {0, 2}) {
        if (auto menu = PopupMenus::LightingMode(slot, language)) {
            menus.push_back(*menu);
        }
    }
    for (const PopupMenu& menu : menus) {
        for (const PopupMenu::Entry& entry : menu.entries) {
            if (!entry.keyword.empty()) {
                keywords.insert(entry.keyword);
            }
        }
        for (const PopupMenu::SubEntry& entry : menu.subEntries) {
            keywords.insert(entry.keyword);
        }
    }
    EXPECT_GE(keywords.size(), 80u);
    for (const std::wstring& keyword : keywords) {
        EXPECT_TRUE(Listed(kLanguageFile, L"BUTTONPAGE", keyword)) << Narrow(keyword);
    }
}
} // namespace
