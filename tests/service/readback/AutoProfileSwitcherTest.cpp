// Switching the profile by the foreground program: which programs switch, what is written, what
// is posted and what reaches the mouse.

#include "service/CAutoProfileSwitcher.h"
#include "service/CMouseConnection.h"
#include "service/ServiceMessages.h"
#include "shared/store/CIniFile.h"
#include "shared/store/IniRecordFields.h"
#include "shared/store/SettingsIni.h"
#include "tests/service/HidTestSupport.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

using namespace hidsim;

namespace {

struct Post {
    UINT Message;
    WPARAM WParam;
    LPARAM LParam;
    bool operator==(const Post&) const = default;
};

std::string FileBytes(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The text of a file our writes created: UTF-16LE after its mark.
std::wstring FileText(const std::wstring& path) {
    const std::string bytes = FileBytes(path);
    std::wstring text(bytes.size() / 2 - 1, L'\0');
    std::memcpy(text.data(), bytes.data() + 2, text.size() * sizeof(wchar_t));
    return text;
}

// Lines that only a person writes into a section: a comment and a line without '='.
const std::wstring kHandWritten = L"; linked by hand\r\nnote without value\r\n";

void WriteFileText(const std::wstring& path, const std::wstring& text) {
    std::ofstream file(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    file.write("\xFF\xFE", 2);
    file.write(reinterpret_cast<const char*>(text.data()),
               static_cast<std::streamsize>(text.size() * sizeof(wchar_t)));
}

void AddHandWrittenLines(const std::wstring& path, const std::wstring& section) {
    std::wstring text = FileText(path);
    const std::wstring header = L"[" + section + L"]\r\n";
    text.insert(text.find(header) + header.size(), kHandWritten);
    WriteFileText(path, text);
}

class AutoProfileSwitcherTest : public SimulatedMouseTest {
protected:
    void SetUp() override {
        SimulatedMouseTest::SetUp();
        std::filesystem::create_directories(ProfileFolder());
        connection_.SetupDeviceTable();
        connection_.EnumerateMouse();
        sender_.SetSystemParameters([](UINT, UINT, PVOID, UINT) { return TRUE; });
        switcher_.SetPaths(folder_.SettingsFile(), ProfileFolder());
        switcher_.SetForegroundLookup([this] { return foreground_; });
        switcher_.SetConfigPoster([this](UINT message, WPARAM wParam, LPARAM lParam) {
            if (configRunning_) {
                posts_.push_back({message, wParam, lParam});
            }
            return configRunning_;
        });
        SettingsRecord_FillDefaults(settings_, 0);
        SetName(settings_, L"Desktop");
        SettingsIni_Write(settings_, folder_.SettingsFile());
        CIniFile(folder_.SettingsFile()).WriteInt(L"Setting", L"Device", 0);
    }

    std::wstring ProfileFolder() const { return folder_.Path() + L"Profile\\"; }
    std::wstring ProfileFile(const std::wstring& name) const {
        return ProfileFolder() + name + L".ini";
    }
    CIniFile Settings() const { return CIniFile(folder_.SettingsFile()); }

    static void SetName(SettingsRecord& record, const wchar_t* name) {
        record.ProfileName.fill(0);
        std::wcsncpy(record.ProfileName.data(), name, record.ProfileName.size() - 1);
    }

    void OpenMouse() {
        connection_.OpenMouse(CMouseConnection::kVendorId, CMouseConnection::kProductId);
        ASSERT_TRUE(connection_.IsControlOpen());
    }

    // A profile file as the configuration program leaves it, told apart by its polling rate.
    void MakeProfile(const std::wstring& name, int link, int pollingRate) {
        SettingsRecord profile{};
        SettingsRecord_FillDefaults(profile, 0);
        profile.Profile = 0;
        profile.PollingRate = pollingRate;
        profile.Link = link;
        SetName(profile, name.c_str());
        SettingsIni_Write(profile, ProfileFile(name));
        CIniFile(ProfileFile(name)).WriteString(L"Setting", L"AutoProfile", L"Stale");
        CIniFile(ProfileFile(name)).WriteInt(L"Setting", L"Device", 7);
    }

    // "PROFILE_LIST" as the configuration program writes it: one program per index, and each
    // program's profile under the program's name.
    void ListPrograms(const std::vector<std::pair<std::wstring, std::wstring>>& links) {
        const CIniFile ini = Settings();
        ini.WriteInt(L"PROFILE_LIST", L"ProfileCount", static_cast<int>(links.size()));
        for (std::size_t i = 0; i < links.size(); ++i) {
            ini.WriteString(L"PROFILE_LIST", std::to_wstring(i), links[i].first);
            if (!links[i].first.empty()) {
                ini.WriteString(L"PROFILE_LIST", links[i].first, links[i].second);
            }
        }
        switcher_.LoadProfileProgramList();
    }

    // The programs of `candidates` whose use in the foreground makes a switch: those the loaded
    // list names. Each is given a linked profile of its own first.
    std::vector<std::wstring> Switching(const std::vector<std::wstring>& candidates) {
        std::vector<std::wstring> switching;
        for (const std::wstring& program : candidates) {
            const std::wstring profile = L"For " + program;
            MakeProfile(profile, 1, 5);
            Settings().WriteString(L"PROFILE_LIST", program, profile);
            posts_.clear();
            Tick(program.c_str());
            if (!posts_.empty()) {
                switching.push_back(program);
            }
        }
        return switching;
    }

    void Tick(const wchar_t* program) {
        foreground_ = program != nullptr ? std::optional<std::wstring>(program) : std::nullopt;
        switcher_.CheckForegroundProfile();
    }

    ScratchFolder folder_;
    CMouseConnection connection_;
    CFeatureReports reports_{connection_};
    SettingsRecord settings_{};
    CSettingsGuard guard_{settings_};
    CSettingsSender sender_{reports_, settings_, folder_.SettingsFile(), folder_.MacroFolder()};
    CAutoProfileSwitcher switcher_{settings_, guard_, sender_, reports_};
    std::optional<std::wstring> foreground_;
    bool configRunning_ = true;
    std::vector<Post> posts_;
};

TEST_F(AutoProfileSwitcherTest, ProgramListSkipsEmptyKeysAndIsCapped) {
    ListPrograms({{L"game.exe", L"Game"}, {L"", L""}, {L"editor.exe", L"Work"}});
    EXPECT_EQ(Switching({L"game.exe", L"editor.exe", L"other.exe"}),
              (std::vector<std::wstring>{L"game.exe", L"editor.exe"}));

    // A missing count reads as one program.
    Settings().WriteString(L"PROFILE_LIST", L"ProfileCount", L"");
    switcher_.LoadProfileProgramList();
    EXPECT_EQ(Switching({L"game.exe", L"editor.exe"}), std::vector<std::wstring>{L"game.exe"});

    // A damaged count neither runs for ever nor reaches past the cap.
    Settings().WriteInt(L"PROFILE_LIST", L"ProfileCount", 2000000000);
    Settings().WriteString(L"PROFILE_LIST", L"999", L"last.exe");
    Settings().WriteString(L"PROFILE_LIST", L"1000", L"beyond.exe");
    switcher_.LoadProfileProgramList();
    EXPECT_EQ(Switching({L"game.exe", L"editor.exe", L"last.exe", L"beyond.exe"}),
              (std::vector<std::wstring>{L"game.exe", L"editor.exe", L"last.exe"}));

    Settings().WriteInt(L"PROFILE_LIST", L"ProfileCount", -5);
    switcher_.LoadProfileProgramList();
    EXPECT_TRUE(Switching({L"game.exe"}).empty());
}

TEST_F(AutoProfileSwitcherTest, RunningConfigurationProgramIsAskedAndNothingElseChanges) {
    MakeProfile(L"Game", 1, 5);
    ListPrograms({{L"other.exe", L"Work"}, {L"game.exe", L"Game"}});
    const std::string profileBefore = FileBytes(ProfileFile(L"Game"));
    const SettingsRecord recordBefore = settings_;
    Settings().WriteString(L"Setting", L"AutoProfile", L"Before");
    const std::string settingsBefore = FileBytes(folder_.SettingsFile());

    Tick(L"GAME.EXE");

    EXPECT_EQ(posts_, (std::vector<Post>{{kMsgServiceEvent, kEventAutoProfile, 0}}));
    EXPECT_EQ(Settings().ReadString(L"Setting", L"AutoProfile", L"-"), L"Game");
    Settings().WriteString(L"Setting", L"AutoProfile", L"Before");
    EXPECT_EQ(FileBytes(folder_.SettingsFile()), settingsBefore);
    EXPECT_EQ(FileBytes(ProfileFile(L"Game")), profileBefore);
    EXPECT_EQ(std::memcmp(&settings_, &recordBefore, sizeof settings_), 0);
}

TEST_F(AutoProfileSwitcherTest, ProgramsThatNeverSwitch) {
    OpenMouse();
    MakeProfile(L"Game", 1, 5);
    MakeProfile(L"Unlinked", 0, 5);
    // Linked, and nothing else: loaded, it would reach the mouse as unset values.
    CIniFile(ProfileFile(L"Damaged")).WriteInt(L"GROUP", L"Link", 1);
    // Linked, but cut inside the fourth button, or holding one setting and one button: loaded,
    // the rest would reach the mouse and both files as unset values.
    MakeProfile(L"Cut", 1, 5);
    const std::wstring whole = FileText(ProfileFile(L"Cut"));
    WriteFileText(ProfileFile(L"Cut"), whole.substr(0, whole.find(L"ButtonAssigned4=") + 40));
    const CIniFile few(ProfileFile(L"Few"));
    few.WriteInt(L"Setting", L"PollingRate", 2);
    few.WriteInt(L"GROUP", L"Link", 1);
    few.WriteStruct(L"GROUP", L"ButtonAssigned1", BytesOf(settings_.ButtonAssigned[0]));
    ListPrograms({{L"osd.exe", L"Game"},
                  {L"HID.EXE", L"Game"},
                  {L"desk.exe", L"desktop"},
                  {L"tool.exe", L"Unlinked"},
                  {L"gone.exe", L"Missing"},
                  {L"sneaky.exe", L"..\\Game"},
                  {L"nameless.exe", L""},
                  {L"damaged.exe", L"Damaged"},
                  {L"cut.exe", L"Cut"},
                  {L"few.exe", L"Few"}});
    // A profile outside the profile folder that a crafted name would reach.
    MakeProfile(L"..\\Game", 1, 5);
    const std::string settingsBefore = FileBytes(folder_.SettingsFile());
    const std::string damagedBefore = FileBytes(ProfileFile(L"Damaged"));
    const std::string cutBefore = FileBytes(ProfileFile(L"Cut"));
    const std::string fewBefore = FileBytes(ProfileFile(L"Few"));
    ClearLog();

    for (const bool configRuns : {true, false}) {
        configRunning_ = configRuns;
        for (const wchar_t* program :
             {L"OSD.exe", L"hid.exe", L"desk.exe", L"tool.exe", L"gone.exe", L"sneaky.exe",
              L"nameless.exe", L"damaged.exe", L"cut.exe", L"few.exe", L"unknown.exe"}) {
            Tick(program);
            EXPECT_EQ(FileBytes(folder_.SettingsFile()), settingsBefore)
                << std::string(program, program + std::wcslen(program)) << " " << configRuns;
        }
    }
    Tick(nullptr);
    EXPECT_TRUE(posts_.empty());
    EXPECT_TRUE(SentFeatureReports().empty());
    EXPECT_EQ(FileBytes(ProfileFile(L"Damaged")), damagedBefore);
    EXPECT_EQ(FileBytes(ProfileFile(L"Cut")), cutBefore);
    EXPECT_EQ(FileBytes(ProfileFile(L"Few")), fewBefore);
    EXPECT_FALSE(std::filesystem::exists(ProfileFile(L"Missing")));
}

TEST_F(AutoProfileSwitcherTest, FirstListedProgramDecides) {
    MakeProfile(L"First", 1, 4);
    MakeProfile(L"Second", 1, 6);
    Settings().WriteInt(L"PROFILE_LIST", L"ProfileCount", 2);
    Settings().WriteString(L"PROFILE_LIST", L"0", L"game.exe");
    Settings().WriteString(L"PROFILE_LIST", L"1", L"Game.exe");
    Settings().WriteString(L"PROFILE_LIST", L"game.exe", L"First");
    switcher_.LoadProfileProgramList();

    Tick(L"game.exe");
    EXPECT_EQ(Settings().ReadString(L"Setting", L"AutoProfile", L""), L"First");
}

TEST_F(AutoProfileSwitcherTest, ClosedConfigurationProgramSwitchesFilesAndUploads) {
    OpenMouse();
    configRunning_ = false;
    MakeProfile(L"Game", 1, 5);
    ListPrograms({{L"game.exe", L"Game"}});
    // An earlier choice of another profile, which a switch that went on regardless would apply.
    MakeProfile(L"Earlier", 1, 3);
    Settings().WriteString(L"Setting", L"AutoProfile", L"Earlier");
    ClearLog();

    {
        // Another program holds "Mouse.ini" without write sharing: the choice cannot be recorded,
        // so nothing is applied.
        const HeldFile held(folder_.SettingsFile(), FILE_SHARE_READ);
        ASSERT_TRUE(held.Held());
        Tick(L"game.exe");
        EXPECT_TRUE(SentFeatureReports().empty());
        EXPECT_EQ(std::wstring(settings_.ProfileName.data()), L"Desktop");
    }
    // The next check tries again.
    Tick(L"game.exe");

    EXPECT_TRUE(posts_.empty());
    EXPECT_EQ(std::wstring(settings_.ProfileName.data()), L"Game");
    EXPECT_EQ(settings_.PollingRate, 5);
    const CIniFile ini = Settings();
    EXPECT_EQ(ini.ReadString(L"GROUP", L"ProfileName", L""), L"Game");
    EXPECT_EQ(ini.ReadInt(L"Setting", L"PollingRate", 0), 5);
    // The profile's own copies of these keys are stale.
    EXPECT_EQ(ini.ReadString(L"Setting", L"AutoProfile", L""), L"Game");
    EXPECT_EQ(ini.ReadInt(L"Setting", L"Device", -1), 1);

    const auto sent = SentFeatureReports();
    ASSERT_GE(sent.size(), 4u);
    EXPECT_EQ(sent.front(), BracketReport(0));
    EXPECT_EQ(sent[sent.size() - 2], CommitReport(0x0E));
    EXPECT_EQ(sent.back(), BracketReport(1));
    EXPECT_EQ(ReadMemory(0x32, 6), (Bytes{5, 0, 5, 0, 5, 0}));

    // Now current: the next tick changes nothing.
    ClearLog();
    const std::string settingsAfter = FileBytes(folder_.SettingsFile());
    Tick(L"game.exe");
    EXPECT_EQ(FileBytes(folder_.SettingsFile()), settingsAfter);
    EXPECT_TRUE(SentFeatureReports().empty());

    // A profile whose file names it otherwise is applied once in the five checks of 10 s.
    MakeProfile(L"Renamed", 1, 6);
    CIniFile(ProfileFile(L"Renamed")).WriteString(L"GROUP", L"ProfileName", L"Other");
    ListPrograms({{L"game.exe", L"Game"}, {L"renamed.exe", L"Renamed"}});
    ClearLog();
    for (int check = 0; check < 5; ++check) {
        Tick(L"renamed.exe");
    }
    const auto applies = SentFeatureReports();
    EXPECT_EQ(std::ranges::count(applies, BracketReport(0)), 1);
    EXPECT_EQ(ReadMemory(0x32, 6), (Bytes{6, 0, 6, 0, 6, 0}));

    // A mouse that refuses a report of the upload has not taken the profile: the next check
    // sends it again, whole.
    MakeProfile(L"Refused", 1, 2);
    ListPrograms({{L"game.exe", L"Game"}, {L"refused.exe", L"Refused"}});
    FailNext(Call::SendFeatureReport, -1);
    Tick(L"refused.exe");
    ClearLog();
    Tick(L"refused.exe");
    const auto again = SentFeatureReports();
    EXPECT_EQ(std::ranges::count(again, BracketReport(0)), 1);
    ASSERT_GE(again.size(), 2u);
    EXPECT_EQ(again[again.size() - 2], CommitReport(0x0E));
    EXPECT_EQ(ReadMemory(0x32, 6), (Bytes{2, 0, 2, 0, 2, 0}));

    // The same when it refuses only the closing bracket, the last report of the upload.
    MakeProfile(L"Unclosed", 1, 3);
    ListPrograms({{L"game.exe", L"Game"}, {L"unclosed.exe", L"Unclosed"}});
    FailNext(Call::SendFeatureReport, 0, static_cast<int>(again.size()) - 1);
    FailNext(Call::SendFeatureReport, -1);
    ClearLog();
    Tick(L"unclosed.exe");
    ASSERT_EQ(SentFeatureReports().size(), again.size());
    ClearLog();
    Tick(L"unclosed.exe");
    const auto closed = SentFeatureReports();
    EXPECT_EQ(std::ranges::count(closed, BracketReport(0)), 1);
    ASSERT_FALSE(closed.empty());
    EXPECT_EQ(closed.back(), BracketReport(1));
}

TEST_F(AutoProfileSwitcherTest, SwitchingKeepsTheSettingsFilesOwnListsAndKeys) {
    OpenMouse();
    configRunning_ = false;
    // A profile made before the links and the macro were added, with stale lists of its own.
    MakeProfile(L"Game", 1, 5);
    SettingsRecord profile{};
    SettingsRecord_Reset(profile);
    SettingsIni_Read(profile, ProfileFile(L"Game"), -1);
    profile.ButtonAssigned[2] = ButtonAssignment{3, 6, 1, 0, {}, {}};
    std::wcsncpy(profile.ButtonAssigned[2].Text.data(), L"Jump", 5);
    SettingsIni_Write(profile, ProfileFile(L"Game"));
    const CIniFile stale(ProfileFile(L"Game"));
    stale.WriteString(L"PROFILE_LIST", L"9", L"stale.exe");
    stale.WriteString(L"MACRO_LIST", L"0", L"Stale");
    stale.WriteInt(L"Setting", L"MouseID", 3);
    Settings().WriteString(L"MACRO_LIST", L"1", L"Jump");
    Settings().WriteInt(L"Setting", L"MouseID", 7);
    ListPrograms({{L"game.exe", L"Game"}, {L"work.exe", L"Work"}});
    // Lines that the settings file alone holds.
    AddHandWrittenLines(folder_.SettingsFile(), L"PROFILE_LIST");
    AddHandWrittenLines(folder_.SettingsFile(), L"MACRO_LIST");
    ClearLog();

    Tick(L"game.exe");

    struct Kept {
        const wchar_t* Section;
        const wchar_t* Key;
        const wchar_t* Value; // "-" for a key that must not be there
    };
    const std::vector<Kept> kept = {
        {L"PROFILE_LIST", L"ProfileCount", L"2"},
        {L"PROFILE_LIST", L"0", L"game.exe"},
        {L"PROFILE_LIST", L"1", L"work.exe"},
        {L"PROFILE_LIST", L"game.exe", L"Game"},
        {L"PROFILE_LIST", L"work.exe", L"Work"},
        {L"PROFILE_LIST", L"9", L"-"},
        {L"MACRO_LIST", L"1", L"Jump"},
        {L"MACRO_LIST", L"0", L"-"},
        {L"Setting", L"MouseID", L"7"},
        {L"Setting", L"AutoProfile", L"Game"},
        {L"Setting", L"Device", L"1"},
        // The profile's own settings do replace the file's.
        {L"Setting", L"PollingRate", L"5"},
        {L"GROUP", L"ProfileName", L"Game"},
    };
    for (const Kept& k : kept) {
        EXPECT_EQ(Settings().ReadString(k.Section, k.Key, L"-"), k.Value)
            << testing::PrintToString(std::wstring(k.Section)) << " "
            << testing::PrintToString(std::wstring(k.Key));
    }
    const std::wstring text = FileText(folder_.SettingsFile());
    for (const wchar_t* section : {L"[PROFILE_LIST]\r\n", L"[MACRO_LIST]\r\n"}) {
        EXPECT_NE(text.find(section + kHandWritten), std::wstring::npos)
            << testing::PrintToString(text);
    }
    // The macro button finds its macro in the kept list: device slot 1, once.
    EXPECT_EQ(ReadMemory(0x8A, 4), (Bytes{0x91, 1, 1, 0}));
    // Linking goes on: the other program still switches.
    MakeProfile(L"Work", 1, 6);
    Tick(L"work.exe");
    EXPECT_EQ(Settings().ReadString(L"GROUP", L"ProfileName", L""), L"Work");
}

TEST_F(AutoProfileSwitcherTest, ClosedConfigurationProgramWithoutMouseSwitchesFilesOnly) {
    configRunning_ = false;
    MakeProfile(L"Game", 1, 5);
    ListPrograms({{L"game.exe", L"Game"}});
    ClearLog();

    Tick(L"game.exe");

    EXPECT_EQ(Settings().ReadInt(L"Setting", L"PollingRate", 0), 5);
    EXPECT_EQ(Settings().ReadInt(L"Setting", L"Device", -1), 0);
    EXPECT_EQ(Settings().ReadString(L"Setting", L"AutoProfile", L""), L"Game");
    EXPECT_TRUE(Log().empty());
}

TEST_F(AutoProfileSwitcherTest, ApplyingAProfileWhoseFileIsGoneKeepsTheSettings) {
    configRunning_ = false;
    Settings().WriteString(L"Setting", L"AutoProfile", L"Deleted");
    const std::string settingsBefore = FileBytes(folder_.SettingsFile());

    switcher_.ApplyAutoProfile();

    EXPECT_EQ(FileBytes(folder_.SettingsFile()), settingsBefore);
    EXPECT_FALSE(std::filesystem::exists(ProfileFile(L"Deleted")));
}

} // namespace
