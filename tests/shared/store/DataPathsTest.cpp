#include "shared/store/DataPaths.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

namespace {

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

TEST(DataPaths, DataFolderIsCreatedWithItsProfileAndMacroFolders) {
    wchar_t appData[MAX_PATH] = {};
    ASSERT_EQ(S_OK, SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData));
    const std::wstring top = std::wstring(appData) + L"\\Selvin V212 Gaming Mouse";
    const std::wstring expected = top + L"\\GamingMouse\\";
    const bool existed = IsFolder(top);
    if (!existed) {
        ASSERT_FALSE(IsFolder(expected + L"Profile"));
    }

    EXPECT_EQ(expected, DataFolder());
    EXPECT_TRUE(IsFolder(expected + L"Profile"));
    EXPECT_TRUE(IsFolder(expected + L"Macro"));
    EXPECT_EQ(expected + L"Mouse.ini", SettingsFilePath());
    EXPECT_EQ(expected + L"Profile\\", ProfileFolder());
    EXPECT_EQ(expected + L"Macro\\", MacroFolder());

    if (!existed) {
        std::filesystem::remove_all(top);
    }
}

TEST(DataPaths, ASubFolderThatCannotBeMadeFailsOnlyItself) {
    wchar_t appData[MAX_PATH] = {};
    ASSERT_EQ(S_OK, SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData));
    const std::wstring top = std::wstring(appData) + L"\\Selvin V212 Gaming Mouse";
    const std::wstring data = top + L"\\GamingMouse\\";
    struct Case {
        const wchar_t* Blocked; // a file where the sub-folder would be
        bool ProfileMade;
        bool MacroMade;
    };
    const std::vector<Case> cases = {
        {nullptr, true, true}, {L"Profile", false, true}, {L"Macro", true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Blocked != nullptr ? c.Blocked : L"nothing blocked");
        std::filesystem::remove_all(top);
        std::filesystem::create_directories(data);
        if (c.Blocked != nullptr) {
            std::ofstream(std::filesystem::path(data + c.Blocked)) << "not a folder";
        }
        EXPECT_EQ(data, DataFolder());
        EXPECT_EQ(data + L"Mouse.ini", SettingsFilePath());
        EXPECT_EQ(c.ProfileMade ? data + L"Profile\\" : L"", ProfileFolder());
        EXPECT_EQ(c.MacroMade ? data + L"Macro\\" : L"", MacroFolder());
    }
    std::filesystem::remove_all(top);
}

TEST(DataPaths, UnsafeNamesAreRefused) {
    const wchar_t* unsafe[] = {
        L"",        L".",         L"..",   L"a\\b",     L"..\\Mouse", L"a/b",  L"C:x",  L"a\rb",
        L"a\nb",    L"tab\there", L"a*",   L"what?",    L"\"q\"",     L"<a>",  L"a|b",  L"CON",
        L"con.txt", L"Nul",       L"COM1", L"lpt9.ini", L"AUX ",      L"\x7F", L"\x1F",
    };
    for (const wchar_t* name : unsafe) {
        EXPECT_FALSE(IsSafeFileName(name)) << static_cast<const void*>(name);
        EXPECT_FALSE(JoinNamedPath(L"C:\\Data\\", name, L".ini").has_value());
    }
    EXPECT_FALSE(IsSafeFileName(std::wstring(L"a\0b", 3)));

    for (const wchar_t* name :
         {L"Game", L"My Profile 2", L"a.b", L"...x", L"Профиль", L"CONSOLE", L"COM10", L"LPT"}) {
        EXPECT_TRUE(IsSafeFileName(name));
    }
}

TEST(DataPaths, JoinFormsFolderNameExtensionBelowMaxPath) {
    EXPECT_EQ(L"C:\\Data\\Profile\\Game.ini",
              JoinNamedPath(L"C:\\Data\\Profile\\", L"Game", L".ini"));
    EXPECT_EQ(L"C:\\Data\\Macro\\M.MACRO", JoinNamedPath(L"C:\\Data\\Macro", L"M", L".MACRO"));
    EXPECT_FALSE(JoinNamedPath(L"", L"Game", L".ini").has_value());

    const std::wstring folder = L"C:\\Data\\";
    const std::wstring longest(MAX_PATH - 1 - folder.size() - 4, L'n');
    const auto fits = JoinNamedPath(folder, longest, L".ini");
    ASSERT_TRUE(fits.has_value());
    EXPECT_EQ(static_cast<std::size_t>(MAX_PATH - 1), fits->size());
    EXPECT_FALSE(JoinNamedPath(folder, longest + L"n", L".ini").has_value());
}
