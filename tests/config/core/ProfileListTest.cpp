#include "config/core/ProfileList.h"

#include "shared/store/CIniFile.h"
#include "tests/config/core/ProfileTestSupport.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

// "PROFILE_LIST" is rewritten whole from the profile files, in the form the service reads: the
// count, keys "0".."n-1" = linked programs, and linked program → profile name.
TEST(ProfileList, RebuildsTheServicesList) {
    using Profiles = std::vector<std::pair<std::wstring, std::wstring>>; // name, linked program
    struct Row {
        const char* what;
        Profiles profiles;
        std::optional<std::wstring> removedBeforeSecondLoad;
        std::vector<std::wstring> names;
        std::vector<std::wstring> section;
    };
    const Row rows[] = {
        {"second of three linked",
         {{L"Alpha", L""}, {L"Beta", L"game.exe"}, {L"Gamma", L""}},
         std::nullopt,
         {L"Alpha", L"Beta", L"Gamma"},
         {L"ProfileCount=3", L"0=", L"1=game.exe", L"2=", L"game.exe=Beta"}},
        {"linked one removed",
         {{L"Alpha", L""}, {L"Beta", L"game.exe"}, {L"Gamma", L""}},
         L"Beta",
         {L"Alpha", L"Gamma"},
         {L"ProfileCount=2", L"0=", L"1="}},
        {"unlinked one removed",
         {{L"Alpha", L""}, {L"Beta", L"game.exe"}, {L"Gamma", L""}},
         L"Alpha",
         {L"Beta", L"Gamma"},
         {L"ProfileCount=2", L"0=game.exe", L"1=", L"game.exe=Beta"}},
        // The folder's own order is not alphabetical everywhere.
        {"sorted without regard to case",
         {{L"b", L"b.exe"}, {L"C", L""}, {L"a", L""}},
         std::nullopt,
         {L"a", L"b", L"C"},
         {L"ProfileCount=3", L"0=", L"1=b.exe", L"2=", L"b.exe=b"}},
        {"one program, two profiles: the later wins",
         {{L"One", L"game.exe"}, {L"Two", L"GAME.exe"}},
         std::nullopt,
         {L"One", L"Two"},
         {L"ProfileCount=2", L"0=game.exe", L"1=GAME.exe", L"GAME.exe=Two"}},
        {"names beyond ASCII",
         {{L"游戏", L"游戏.exe"}},
         std::nullopt,
         {L"游戏"},
         {L"ProfileCount=1", L"0=游戏.exe", L"游戏.exe=游戏"}},
        {"no profiles", {}, std::nullopt, {}, {L"ProfileCount=0"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ProfileFolder folder;
        const std::wstring settings = folder.Paths().SettingsFile();
        // Keys of an older list that must not survive.
        CIniFile(settings).WriteString(ProfileList::kSection, L"old.exe", L"Gone");
        CIniFile(settings).WriteString(ProfileList::kSection, L"7", L"old.exe");
        for (const auto& [name, link] : row.profiles) {
            folder.WriteProfile(name, link);
        }
        ProfileList list(folder.Paths());
        ASSERT_TRUE(list.Load());
        if (row.removedBeforeSecondLoad) {
            DeleteFileW(folder.ProfileFile(*row.removedBeforeSecondLoad).c_str());
            ASSERT_TRUE(list.Load());
        }
        EXPECT_EQ(row.names, list.Names());
        EXPECT_EQ(row.section, SectionLines(settings, ProfileList::kSection));
        // The rest of the settings file is left alone.
        EXPECT_EQ(0, ReadRecord(settings)->Profile);
        // A name is found in any case, as its file is.
        if (!row.names.empty()) {
            std::wstring upper = row.names.back();
            CharUpperW(upper.data());
            EXPECT_EQ(row.names.size() - 1, list.FindProfileName(upper));
            EXPECT_EQ(std::nullopt, list.FindProfileName(row.names.back() + L"x"));
        }
    }
}

TEST(ProfileList, AMissingFolderLeavesTheSection) {
    ProfileFolder folder;
    const std::wstring settings = folder.Paths().SettingsFile();
    CIniFile(settings).WriteString(ProfileList::kSection, L"ProfileCount", L"4");
    std::filesystem::remove_all(folder.Paths().ProfileFolder());
    ProfileList list(folder.Paths());
    EXPECT_FALSE(list.Load());
    EXPECT_EQ(std::vector<std::wstring>{L"ProfileCount=4"},
              SectionLines(settings, ProfileList::kSection));
    EXPECT_FALSE(ProfileList(ConfigPaths()).Load());
}
