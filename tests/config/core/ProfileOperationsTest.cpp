#include "config/core/ProfileOperations.h"

#include "shared/store/CIniFile.h"
#include "tests/config/core/ProfileTestSupport.h"
#include "tests/tolvane/MessagePump.h"
#include "tests/tolvane/RecorderWindow.h"

#include <gtest/gtest.h>

#include <cstring>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

// The dialog's side of the operations: the profile-name button's caption and the answer to the
// replace question.
struct Session {
    ProfileFolder folder;
    WorkingProfile profile{folder.Paths()};
    ProfileList list{folder.Paths()};
    ProfileOperations operations{profile, list, folder.TemplateFile()};
    std::wstring caption;
    bool replace = false;
    int asked = 0;

    Session() {
        profile.SetNameSource([this] { return caption; });
    }

    ProfileOperations::ConfirmReplace Confirm() {
        return [this](const std::wstring&) {
            ++asked;
            return replace;
        };
    }
    // A ".PROF" file outside the data folder with this polling rate.
    std::wstring ExportFile(const std::wstring& name, int pollingRate) {
        auto record = DefaultRecord(L"exported");
        record->PollingRate = pollingRate;
        const std::wstring file = folder.Outside(name);
        SettingsIni_Write(*record, file);
        return file;
    }
};

using Operation = std::function<ProfileResult(Session&)>;

} // namespace

TEST(ProfileOperations, ChangeTheProfilesOnDisk) {
    struct Row {
        const char* what;
        std::vector<std::wstring> profiles;
        std::wstring current;
        Operation run;
        ProfileOutcome outcome;
        std::wstring nowCurrent; // empty: the current profile stays
        std::vector<std::wstring> profilesAfter;
        int asked = 0;
    };
    const auto remove = [](const wchar_t* name) {
        return [=](Session& s) { return s.operations.Delete(name); };
    };
    const auto rename = [](const wchar_t* from, const wchar_t* to) {
        return [=](Session& s) { return s.operations.Rename(from, to); };
    };
    const auto import = [](int pollingRate, bool replace) {
        return [=](Session& s) {
            s.replace = replace;
            return s.operations.Import(s.ExportFile(L"Fast.PROF", pollingRate),
                                       ProfileOperations::Form::Menu, s.Confirm());
        };
    };
    const Row rows[] = {
        {"new after X001 and X002",
         {L"X001", L"X002"},
         L"X001",
         [](Session& s) { return s.operations.New(L"X"); },
         ProfileOutcome::Done,
         L"X003",
         {L"X001", L"X002", L"X003"}},
        {"new beside X002 alone",
         {L"X002"},
         L"X002",
         [](Session& s) { return s.operations.New(L"X"); },
         ProfileOutcome::Done,
         L"X001",
         {L"X001", L"X002"}},
        {"first profile when there is none",
         {},
         L"",
         [](Session& s) { return s.operations.CreateFirst(L"X"); },
         ProfileOutcome::Done,
         L"X001",
         {L"X001"}},
        {"no first profile beside one",
         {L"A"},
         L"A",
         [](Session& s) { return s.operations.CreateFirst(L"X"); },
         ProfileOutcome::Unchanged,
         L"",
         {L"A"}},
        {"new from a base name the store refuses",
         {L"A"},
         L"A",
         [](Session& s) { return s.operations.New(L"a\\b"); },
         ProfileOutcome::NameRefused,
         L"",
         {L"A"}},
        {"copy when copy 1 exists",
         {L"Game", L"Game copy 1"},
         L"Game",
         [](Session& s) { return s.operations.Copy(L"Game"); },
         ProfileOutcome::Done,
         L"Game copy 2",
         {L"Game", L"Game copy 1", L"Game copy 2"}},
        {"rename to the same name",
         {L"A", L"B"},
         L"A",
         rename(L"A", L"A"),
         ProfileOutcome::Unchanged,
         L"",
         {L"A", L"B"}},
        {"rename to an existing name in another case",
         {L"A", L"B"},
         L"A",
         rename(L"A", L"b"),
         ProfileOutcome::NameExists,
         L"",
         {L"A", L"B"}},
        {"rename to an empty name",
         {L"A", L"B"},
         L"A",
         rename(L"A", L""),
         ProfileOutcome::NameEmpty,
         L"",
         {L"A", L"B"}},
        {"rename to a device name",
         {L"A", L"B"},
         L"A",
         rename(L"A", L"CON"),
         ProfileOutcome::NameRefused,
         L"",
         {L"A", L"B"}},
        {"rename into another folder",
         {L"A", L"B"},
         L"A",
         rename(L"A", L"..\\A"),
         ProfileOutcome::NameRefused,
         L"",
         {L"A", L"B"}},
        {"rename of a profile without a file",
         {L"A"},
         L"Ghost",
         rename(L"Ghost", L"Spirit"),
         ProfileOutcome::FileFailed,
         L"",
         {L"A"}},
        {"rename",
         {L"A", L"B"},
         L"A",
         rename(L"A", L"Arrow"),
         ProfileOutcome::Done,
         L"Arrow",
         {L"Arrow", L"B"}},
        {"rename of the case alone",
         {L"A", L"B"},
         L"B",
         rename(L"B", L"b"),
         ProfileOutcome::Done,
         L"b",
         {L"A", L"b"}},
        {"delete the first",
         {L"A", L"B", L"C"},
         L"A",
         remove(L"A"),
         ProfileOutcome::Done,
         L"B",
         {L"B", L"C"}},
        {"delete the third",
         {L"A", L"B", L"C"},
         L"C",
         remove(L"C"),
         ProfileOutcome::Done,
         L"B",
         {L"A", L"B"}},
        {"delete the last one",
         {L"A"},
         L"A",
         remove(L"A"),
         ProfileOutcome::LastProfile,
         L"",
         {L"A"}},
        {"delete a profile that is not there",
         {L"A", L"B"},
         L"A",
         remove(L"Ghost"),
         ProfileOutcome::NotFound,
         L"",
         {L"A", L"B"}},
        {"delete a file held open",
         {L"A", L"B"},
         L"A",
         [](Session& s) {
             const HANDLE held = CreateFileW(s.folder.ProfileFile(L"A").c_str(), GENERIC_READ,
                                             FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
             ProfileResult result = s.operations.Delete(L"A");
             CloseHandle(held);
             return result;
         },
         ProfileOutcome::FileFailed,
         L"",
         {L"A", L"B"}},
        {"select",
         {L"A", L"B"},
         L"A",
         [](Session& s) { return s.operations.Select(L"B"); },
         ProfileOutcome::Done,
         L"B",
         {L"A", L"B"}},
        {"select a missing profile",
         {L"A"},
         L"A",
         [](Session& s) { return s.operations.Select(L"Gone"); },
         ProfileOutcome::NotFound,
         L"",
         {L"A"}},
        {"import creates the profile",
         {L"A"},
         L"A",
         import(4, false),
         ProfileOutcome::Done,
         L"Fast",
         {L"A", L"Fast"}},
        {"import over an existing profile, declined",
         {L"A", L"Fast"},
         L"A",
         import(4, false),
         ProfileOutcome::Declined,
         L"",
         {L"A", L"Fast"},
         1},
        {"import over an existing profile, accepted",
         {L"A", L"Fast"},
         L"A",
         import(4, true),
         ProfileOutcome::Done,
         L"Fast",
         {L"A", L"Fast"},
         1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Session s;
        // Each profile with a polling rate of its own, "Mouse.ini" a copy of the current one.
        int pollingRate = 8;
        for (const std::wstring& name : row.profiles) {
            s.folder.WriteProfile(name, L"", pollingRate);
            pollingRate = pollingRate > 1 ? pollingRate / 2 : 8;
        }
        CopyFileW(s.folder.ProfileFile(row.current).c_str(),
                  s.folder.Paths().SettingsFile().c_str(), FALSE);
        s.caption = row.current;
        s.list.Load();
        const auto before = s.folder.Snapshot();

        const ProfileResult result = row.run(s);
        EXPECT_EQ(row.outcome, result.Outcome);
        EXPECT_EQ(row.nowCurrent, result.CurrentName);
        EXPECT_EQ(row.asked, s.asked);
        EXPECT_EQ(row.profilesAfter, s.folder.ProfileNames());
        if (!result.Succeeded()) {
            EXPECT_EQ(before, s.folder.Snapshot());
            continue;
        }
        // The profile now current is named in the record, "Mouse.ini" and its own file, and
        // "Mouse.ini" holds its settings.
        const std::wstring settings = s.folder.Paths().SettingsFile();
        EXPECT_EQ(row.nowCurrent, s.profile.Name());
        EXPECT_EQ(row.nowCurrent, CIniFile(settings).ReadString(L"GROUP", L"ProfileName", L""));
        const auto own = ReadRecord(s.folder.ProfileFile(row.nowCurrent));
        EXPECT_EQ(row.nowCurrent, std::wstring(own->ProfileName.data()));
        EXPECT_EQ(own->PollingRate, ReadRecord(settings)->PollingRate);
        EXPECT_EQ(static_cast<int>(row.profilesAfter.size()), s.list.Count());
        EXPECT_FALSE(result.DisableProfileButtons); // no service to take the profile over
    }
}

// Imports of files that are no whole profile are refused: their unset values would reach the
// files and the mouse.
TEST(ProfileOperations, ImportsOfFilesThatAreNoWholeProfileAreRefused) {
    struct Row {
        const char* what;
        std::string bytes;
    };
    const Row rows[] = {
        {"garbage", std::string("\x00\xff\xfe[GROUP]\r\nProfileName\r\n\x01=\x02\x03", 24)},
        {"empty", ""},
        {"truncated", "\xff\xfe[\0S\0e\0t\0t\0i\0n\0g\0]\0\r\0\n\0P\0o\0l\0l"},
        {"settings of another kind", "[Setting]\r\nPollingRate=99\r\nMouseButtons=-3\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Session s;
        s.folder.WriteProfile(L"A");
        s.caption = L"A";
        const std::wstring file = s.folder.Outside(L"Odd.PROF");
        WriteFileBytes(file, row.bytes);
        const SettingsRecord before = s.profile.Working();
        const ProfileResult result =
            s.operations.Import(file, ProfileOperations::Form::Button, s.Confirm());
        EXPECT_EQ(ProfileOutcome::FileFailed, result.Outcome);
        EXPECT_EQ(L"", result.CurrentName);
        EXPECT_EQ(0, std::memcmp(&before, &s.profile.Working(), sizeof before));
        EXPECT_FALSE(s.folder.HasProfile(L"Odd"));
    }
}

// A renamed linked profile stays linked: the service's list names it under its new name.
TEST(ProfileOperations, RenameKeepsTheLinkInTheServicesForm) {
    Session s;
    s.folder.WriteProfile(L"Alpha");
    s.folder.WriteProfile(L"Beta", L"game.exe");
    s.folder.WriteProfile(L"Gamma");
    s.caption = L"Beta";
    s.list.Load();
    ASSERT_TRUE(s.operations.Rename(L"Beta", L"Bravo").Succeeded());
    EXPECT_EQ((std::vector<std::wstring>{L"ProfileCount=3", L"0=", L"1=game.exe", L"2=",
                                         L"game.exe=Bravo"}),
              SectionLines(s.folder.Paths().SettingsFile(), ProfileList::kSection));
}

// With the service running the apply is posted (lParam 0) and the five buttons wait for it.
TEST(ProfileOperations, ServiceTakesTheProfileOver) {
    Session s;
    s.folder.WriteProfile(L"A");
    s.caption = L"A";
    s.list.Load();
    RecorderWindow service(L"V212Hid");
    const ProfileResult result = s.operations.New(L"NEWPROFILE");
    DispatchPending();
    EXPECT_EQ(L"NEWPROFILE001", result.CurrentName);
    EXPECT_TRUE(result.DisableProfileButtons);
    EXPECT_EQ(1, service.Count(0x4FF, 0, 0));
    EXPECT_EQ(1u, service.Messages().size());
}

TEST(ProfileOperations, StopAt999) {
    Session s;
    for (int n = 1; n <= ProfileOperations::kMostProfiles; ++n) {
        WriteFileBytes(s.folder.ProfileFile(L"X" + std::to_wstring(1000 + n).substr(1)), "");
    }
    s.list.Load();
    EXPECT_EQ(ProfileOutcome::LimitReached, s.operations.New(L"X").Outcome);
    EXPECT_EQ(ProfileOutcome::LimitReached, s.operations.Copy(L"X001").Outcome);
}

TEST(ProfileOperations, ExportsBothForms) {
    Session s;
    s.profile.Working().PollingRate = 2;
    s.profile.SetName(L"Current");
    const std::wstring file = s.folder.Outside(L"Out.PROF");
    WriteFileBytes(file, "[PROFILE_LIST]\r\nstale.exe=Old\r\n");
    ASSERT_TRUE(s.operations.Export(file, ProfileOperations::Form::Button, s.caption).Succeeded());
    EXPECT_EQ(L"Current", std::wstring(ReadRecord(file)->ProfileName.data()));
    EXPECT_EQ(2, ReadRecord(file)->PollingRate);
    EXPECT_TRUE(SectionLines(file, ProfileList::kSection).empty());
    ASSERT_TRUE(s.operations.Export(file, ProfileOperations::Form::Menu, s.caption).Succeeded());
    EXPECT_EQ(L"Out", std::wstring(ReadRecord(file)->ProfileName.data()));
    EXPECT_EQ(ProfileOutcome::FileFailed, s.operations
                                              .Export(s.folder.Outside(L"none\\Out.PROF"),
                                                      ProfileOperations::Form::Button, s.caption)
                                              .Outcome);
}

// Without a data folder no operation writes anything.
TEST(ProfileOperations, ReadOnlyWithoutDataFolder) {
    WorkingProfile profile{ConfigPaths()};
    ProfileList list{ConfigPaths()};
    ProfileOperations operations(profile, list, L"");
    for (const ProfileResult& result :
         {operations.New(L"X"), operations.Select(L"A"), operations.Copy(L"A"),
          operations.Rename(L"A", L"B"), operations.Delete(L"A"),
          operations.Import(L"C:\\none.PROF", ProfileOperations::Form::Menu, nullptr)}) {
        EXPECT_EQ(ProfileOutcome::ReadOnly, result.Outcome);
        EXPECT_TRUE(result.NeedsWarning());
    }
    EXPECT_TRUE(operations.AutoProfileName().empty());
}
