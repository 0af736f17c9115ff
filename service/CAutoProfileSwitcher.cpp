#include "service/CAutoProfileSwitcher.h"

#include "service/ForegroundProgram.h"
#include "service/PeerWindows.h"
#include "service/ServiceMessages.h"
#include "shared/store/CDataFolderLock.h"
#include "shared/store/CIniFile.h"
#include "shared/store/CIniSection.h"
#include "shared/store/CIniText.h"
#include "shared/store/IniTextRules.h"
#include "shared/store/DataPaths.h"
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
constexpr wchar_t kDeviceKey[] = L"Device";
constexpr wchar_t kGroupSection[] = L"GROUP";
constexpr wchar_t kLinkKey[] = L"Link";
constexpr wchar_t kProfileExtension[] = L".ini";

// The mouse's own helper programs never switch the profile.
constexpr std::array<std::wstring_view, 2> kIgnoredPrograms{L"OSD.exe", L"hid.exe"};

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

bool CAutoProfileSwitcher::LoadProfileProgramList() {
    if (settingsPath_.empty()) {
        programs_.clear();
        return true;
    }
    // One look at the list: the configuration program rewrites it whole.
    const CIniSection list(CIniFile(settingsPath_), kProfileListSection);
    if (!list.Readable()) {
        return false;
    }
    programs_.clear();
    const int count = std::clamp(list.ReadInt(kProfileCountKey, 1), 0, kMaxProfilePrograms);
    for (int i = 0; i < count; ++i) {
        std::wstring program = list.ReadString(std::to_wstring(i), L"");
        if (!program.empty()) {
            programs_.push_back(std::move(program));
        }
    }
    return true;
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
        // The files switched but the mouse refused the upload: it is sent again.
        if (uploadPending_ && Upload()) {
            chosen_ = profile;
        }
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
    if (!SwitchFiles(profile, path, loaded)) {
        return false;
    }
    {
        const auto lock = guard_.Lock();
        SettingsRecord_Assign(settings_, loaded);
    }
    return Upload();
}

bool CAutoProfileSwitcher::SwitchFiles(const std::wstring& profile, const std::wstring& path,
                                       SettingsRecord& loaded) const {
    // Neither file changes between the look at it and the write; no transfer happens meanwhile.
    const CDataFolderLock lock;
    if (!lock) {
        return false;
    }
    // A profile that lacks a setting or button would bring its unset value to the mouse.
    if (SettingsIni_LoadAndRewrite(loaded, path, -1, SettingsIniNeed::WholeRecord) == 0) {
        OutputDebugStringW((L"AutoProfile: " + profile + L" not applied\n").c_str());
        return false;
    }
    // The new settings file is "Mouse.ini" line for line with the profile's settings in it: the
    // program links, the macro names, the mouse model and every line of the settings file's own
    // stay, and the file is replaced in one step, or not at all.
    return CIniFile(settingsPath_).Change([&](CIniText& settings) {
        SettingsIni_Put(loaded, settings);
        settings.Set(kSettingSection, kAutoProfileKey, profile);
        settings.Set(kSettingSection, kDeviceKey, reports_.IsOpen() ? L"1" : L"0");
    });
}

bool CAutoProfileSwitcher::Upload() {
    // The user linked the profile so that the mouse follows the program; without the mouse
    // only the files switch.
    if (!reports_.IsOpen()) {
        uploadPending_ = false;
        return true;
    }
    uploadPending_ = !sender_.ReadMacroList() || sender_.UploadAll() == 0;
    return !uploadPending_;
}
