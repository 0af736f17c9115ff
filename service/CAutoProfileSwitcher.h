#pragma once

#include "service/CFeatureReports.h"
#include "service/CSettingsGuard.h"
#include "service/CSettingsSender.h"
#include "shared/store/SettingsRecord.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

// Automatic profile switching: a profile linked to a program becomes active while that program
// owns the foreground window. The choice is recorded as "AutoProfile" in "Mouse.ini"; a running
// configuration program is asked to apply it, otherwise the service puts the profile's settings
// into "Mouse.ini" itself, keeping the settings file's own lists and keys, and uploads it when
// the mouse is attached. Runs on the window thread.
class CAutoProfileSwitcher {
public:
    // The executable name of the foreground program, nothing when there is none.
    using ForegroundLookup = std::function<std::optional<std::wstring>()>;
    // Posts to the configuration program's window; false when that window does not exist.
    using ConfigPoster = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam)>;

    // More list keys than this are taken for a damaged file.
    static constexpr int kMaxProfilePrograms = 1000;

    // `settings` is the service window's record: its profile name is the current one, and an
    // applied profile is loaded into it under `guard`. `sender` sends that same record.
    CAutoProfileSwitcher(SettingsRecord& settings, const CSettingsGuard& guard,
                         CSettingsSender& sender, const CFeatureReports& reports);

    // `settingsPath` is "Mouse.ini", `profileFolder` holds the profile files.
    void SetPaths(std::wstring settingsPath, std::wstring profileFolder);
    void SetForegroundLookup(ForegroundLookup lookup) { foreground_ = std::move(lookup); }
    void SetConfigPoster(ConfigPoster poster) { postToConfig_ = std::move(poster); }

    // Rebuilds the list of linked programs from "PROFILE_LIST" of "Mouse.ini"; false, with the
    // list as it was, when the file could not be read.
    bool LoadProfileProgramList();
    // One check of the foreground program; switches once when it belongs to a linked profile
    // other than the one this switch chose last (at first, and after an unlinked program had the
    // foreground: other than the current one). A switch that failed is tried again on the next
    // check.
    void CheckForegroundProfile();
    // Applies the profile named by "AutoProfile"; false when nothing was applied.
    bool ApplyAutoProfile();

private:
    std::optional<std::wstring> ProfilePath(const std::wstring& name) const;
    // Whether the profile file holds a profile at all; one that does not is refused like a
    // missing one, with a line in the debug output.
    static bool HoldsProfile(const std::wstring& path);
    // Posts the switch to the running configuration program; false when it does not run.
    bool AskConfigProgram() const;
    // Switches the files to the profile and uploads it. Stops at the first file step that
    // fails, before anything is sent: the record and the mouse change only from files that were
    // written. False also when the mouse refused the upload; the next check sends it again.
    bool ApplyProfileFile(const std::wstring& profile, const std::wstring& path);
    // Loads the whole profile into `loaded` (rewriting the profile file with every key) and
    // replaces "Mouse.ini" with its own text carrying the profile's settings; false, with
    // "Mouse.ini" as it was, when any step failed or the profile lacks a setting or button.
    bool SwitchFiles(const std::wstring& profile, const std::wstring& path,
                     SettingsRecord& loaded) const;
    // The whole upload of the record in its bracket; true without the mouse.
    bool Upload();

    SettingsRecord& settings_;
    const CSettingsGuard& guard_;
    CSettingsSender& sender_;
    const CFeatureReports& reports_;
    std::wstring settingsPath_;
    std::wstring profileFolder_;
    ForegroundLookup foreground_;
    ConfigPoster postToConfig_;
    std::vector<std::wstring> programs_;
    // The profile this switch chose last while linked programs had the foreground.
    std::optional<std::wstring> chosen_;
    // The files switched, the mouse refused the upload.
    bool uploadPending_ = false;
};
