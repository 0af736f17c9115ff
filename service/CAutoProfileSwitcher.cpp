#include "service/CAutoProfileSwitcher.h"

#include "service/ForegroundProgram.h"
#include "service/PeerWindows.h"
#include "service/ServiceMessages.h"
#include "shared/store/CIniFile.h"
#include "shared/store/CIniSection.h"
#include "shared/store/CIniSectionUpdate.h"
#include "shared/store/DataPaths.h"
#include "shared/store/ServiceIni.h"
#include "shared/store/SettingsIni.h"

#include <algorithm>
#include <array>
#include <cwchar>
#include <string_view>

namespace {

constexpr wchar_t kProfileListSection[] = L"PROFILE_LIST";
constexpr wchar_t kProfileCountKey[] = L"ProfileCount";
constexpr wchar_t kSettingSection[] = L"Setting";
constexpr wchar_t kAutoProfileKey[] = L"AutoProfile";
constexpr wchar_t kGroupSection[] = L"GROUP";
constexpr wchar_t kLinkKey[] = L"Link";
constexpr wchar_t kProfileExtension[] = L".ini";
constexpr wchar_t kMacroListSection[] = L"MACRO_LIST";
constexpr wchar_t kMouseIdKey[] = L"MouseID";
// Read for a key the file does not hold; no value in our files looks like it.
constexpr wchar_t kAbsent[] = L"\x01absent\x01";

// The mouse's own helper programs never switch the profile.
constexpr std::array<std::wstring_view, 2> kIgnoredPrograms{L"OSD.exe", L"hid.exe"};

bool EqualNoCase(std::wstring_view a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// Gives the copied file's section the keys of `entries`, a list read from the settings file,
// and removes the keys the list lacks, key by key where a section write would drop comment
// lines or lines without '='.
bool KeepList(const CIniFile& file, const wchar_t* section, const std::vector<wchar_t>& entries) {
    CIniSectionUpdate list(section);
    list.OwnAllKeys();
    for (const std::wstring_view entry : CIniFile::ListEntries(entries)) {
        const std::size_t equals = entry.find(L'=');
        if (equals != 0 && equals != std::wstring_view::npos) {
            list.Add(entry.substr(0, equals), entry.substr(equals + 1));
        }
    }
    return list.Write(file) != CIniSectionUpdate::Outcome::Failed;
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

CAutoProfileSwitcher::CAutoProfileSwitcher(SettingsRecord& settings, const CSettingsGuard& guard,
                                           CSettingsSender& sender, const CFeatureReports& reports)
    : settings_(settings), guard_(guard), sender_(sender), reports_(reports),
      foreground_(ForegroundProgramName),
      postToConfig_([](UINT message, WPARAM wParam, LPARAM lParam) {
          return PostToWindow(kConfigWindowTitle, message, wParam, lParam);
      }) {}

void CAutoProfileSwitcher::SetPaths(std::wstring settingsPath, std::wstring profileFolder) {
    settingsPath_ = std::move(settingsPath);
    profileFolder_ = std::move(profileFolder);
}

void CAutoProfileSwitcher::LoadProfileProgramList() {
    programs_.clear();
    if (settingsPath_.empty()) {
        return;
    }
    const CIniFile ini(settingsPath_);
    const int count =
        std::clamp(ini.ReadInt(kProfileListSection, kProfileCountKey, 1), 0, kMaxProfilePrograms);
    for (int i = 0; i < count; ++i) {
        std::wstring program = ini.ReadString(kProfileListSection, std::to_wstring(i), L"");
        if (!program.empty()) {
            programs_.push_back(std::move(program));
        }
    }
}

std::optional<std::wstring> CAutoProfileSwitcher::ProfilePath(const std::wstring& name) const {
    // The name comes from a file: it may only ever name a file inside the profile folder.
    return JoinNamedPath(profileFolder_, name, kProfileExtension);
}

bool CAutoProfileSwitcher::HoldsProfile(const std::wstring& path) {
    if (SettingsIni_HoldsRecord(path)) {
        return true;
    }
    OutputDebugStringW((L"AutoProfile: no profile in " + path + L"\n").c_str());
    return false;
}

bool CAutoProfileSwitcher::AskConfigProgram() const {
    return postToConfig_ && postToConfig_(kMsgServiceEvent, kEventAutoProfile, 0);
}

void CAutoProfileSwitcher::CheckForegroundProfile() {
    if (settingsPath_.empty() || !foreground_) {
        return;
    }
    const std::optional<std::wstring> program = foreground_();
    if (!program) {
        return;
    }
    if (std::ranges::any_of(kIgnoredPrograms, [&](std::wstring_view ignored) {
            return EqualNoCase(*program, ignored);
        })) {
        return;
    }
    const auto linked = std::ranges::find_if(
        programs_, [&](const std::wstring& entry) { return EqualNoCase(*program, entry); });
    if (linked == programs_.end()) {
        chosen_.reset();
        return;
    }
    const CIniFile ini(settingsPath_);
    const std::wstring profile = ini.ReadString(kProfileListSection, *linked, L"");
    // The record's name comes from the profile file after a switch, and may differ from the
    // name it is listed under: compared with it, every check would switch again.
    const std::wstring_view current =
        chosen_ ? std::wstring_view(*chosen_)
                : std::wstring_view(
                      settings_.ProfileName.data(),
                      wcsnlen(settings_.ProfileName.data(), settings_.ProfileName.size()));
    if (EqualNoCase(profile, current)) {
        return;
    }
    const std::optional<std::wstring> path = ProfilePath(profile);
    if (!path || CIniFile(*path).ReadInt(kGroupSection, kLinkKey, 0) == 0 || !HoldsProfile(*path)) {
        return;
    }
    // A choice that could not be recorded would have the profile recorded before applied.
    if (!ini.WriteString(kSettingSection, kAutoProfileKey, profile)) {
        return;
    }
    if (AskConfigProgram() || ApplyProfileFile(profile, *path)) {
        chosen_ = profile;
    }
}

bool CAutoProfileSwitcher::ApplyAutoProfile() {
    if (AskConfigProgram()) {
        return true;
    }
    if (settingsPath_.empty()) {
        return false;
    }
    const std::wstring profile =
        CIniFile(settingsPath_).ReadString(kSettingSection, kAutoProfileKey, L"");
    const std::optional<std::wstring> path = ProfilePath(profile);
    // Loading a missing file would create it from defaults and copy that over the settings.
    if (!path || !FileExists(*path) || !HoldsProfile(*path)) {
        return false;
    }
    return ApplyProfileFile(profile, *path);
}

bool CAutoProfileSwitcher::ApplyProfileFile(const std::wstring& profile, const std::wstring& path) {
    SettingsRecord loaded{};
    {
        const auto lock = guard_.Lock();
        loaded = settings_;
    }
    SettingsRecord_Reset(loaded);
    if (SettingsIni_LoadAndRewrite(loaded, path, -1) == 0) {
        return false;
    }
    // The program links, the macro names and the mouse model belong to the settings file, not
    // to a profile: a profile file copied before a link or macro was added lacks them. Lists
    // that could not be read would be lost with the copy.
    const CIniFile settings(settingsPath_);
    const std::optional<std::vector<wchar_t>> programs =
        settings.ReadSectionText(kProfileListSection);
    const std::optional<std::vector<wchar_t>> macros = settings.ReadSectionText(kMacroListSection);
    const CIniSection setting(settings, kSettingSection);
    if (!programs || !macros || !setting.Readable()) {
        return false;
    }
    const std::wstring mouseId = setting.ReadString(kMouseIdKey, kAbsent);
    if (!CopyFileW(path.c_str(), settingsPath_.c_str(), FALSE) ||
        !KeepList(settings, kProfileListSection, *programs) ||
        !KeepList(settings, kMacroListSection, *macros) ||
        !(mouseId == kAbsent ? settings.DeleteKey(kSettingSection, kMouseIdKey)
                             : settings.WriteString(kSettingSection, kMouseIdKey, mouseId)) ||
        // The copy brings the profile's own, stale, connection state and choice along.
        ServiceIni_WriteDevice(settingsPath_, reports_.IsOpen() ? 1 : 0) == 0 ||
        !settings.WriteString(kSettingSection, kAutoProfileKey, profile)) {
        return false;
    }
    {
        const auto lock = guard_.Lock();
        SettingsRecord_Assign(settings_, loaded);
    }
    // The user linked the profile so that the mouse follows the program.
    if (reports_.IsOpen()) {
        if (!sender_.ReadMacroList()) {
            return false;
        }
        sender_.SendUpdateBracket(0);
        sender_.SendAll2Mouse();
        sender_.CommitAll();
        sender_.SendUpdateBracket(1);
    }
    return true;
}
