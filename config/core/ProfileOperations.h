#pragma once

#include "config/core/ConfigPaths.h"
#include "config/core/ProfileList.h"
#include "config/core/WorkingProfile.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

enum class ProfileOutcome {
    Done,
    Unchanged,    // nothing to do (rename to the same name)
    Declined,     // the user kept the existing profile
    ReadOnly,     // no data folder: nothing is written
    LimitReached, // 999 profiles, or no free number up to 999
    NameEmpty,
    NameRefused, // the store's path check refuses the name
    NameExists,  // another profile has that name (in any case)
    NotFound,    // the profile or file to load does not exist
    LastProfile, // the only profile is never deleted
    FileFailed,  // the copy, rename, delete or write on disk failed; nothing else changed
};

struct ProfileResult {
    ProfileOutcome Outcome = ProfileOutcome::Unchanged;
    // After Done: the current profile, for the profile-name button's caption and tooltip and
    // the profile-name edit box. Empty when the current profile did not change.
    std::wstring CurrentName;
    // New, select, copy, delete and the menu import disable New, profile name, Delete, More and
    // Reset until the service has taken the profile over; only when the apply reached it.
    bool DisableProfileButtons = false;

    bool Succeeded() const { return Outcome == ProfileOutcome::Done; }
    // A warning box is due (the other outcomes are silent).
    bool NeedsWarning() const {
        return Outcome != ProfileOutcome::Done && Outcome != ProfileOutcome::Unchanged &&
               Outcome != ProfileOutcome::Declined;
    }
};

// The profile operations on a data folder: every path comes from a name through the store's
// one check, a failure on disk leaves the list and the current profile as they were, and the
// result says what the dialog shows. An operation that makes another profile current loads it,
// names it in the working record and "Mouse.ini", applies it (0x4FF) and rebuilds the list.
class ProfileOperations {
public:
    // Most profiles the new and copy operations make, and the highest number they try.
    static constexpr int kMostProfiles = 999;

    // How an import was started: the import button or the more-menu.
    enum class Form { Button, Menu };
    // Asked before an import replaces the existing profile of that name; true replaces it.
    using ConfirmReplace = std::function<bool(const std::wstring& name)>;

    // `templateFile` is the program folder's "Mouse.ini" that new profiles start from.
    ProfileOperations(WorkingProfile& profile, ProfileList& list, std::wstring templateFile);

    // "<baseName>001" and on: the first number without a file.
    ProfileResult New(std::wstring_view baseName);
    // The first start finds no profile at all: the settings in use become "<baseName>001", so
    // that every later store has a profile file to keep. Unchanged when any profile exists.
    ProfileResult CreateFirst(std::wstring_view baseName);
    // An existing profile becomes current.
    ProfileResult Select(std::wstring_view name);
    // The current settings under "<currentName> copy <n>".
    ProfileResult Copy(std::wstring_view currentName);
    // Refuses an empty, unsafe or existing name; on success "PROFILE_LIST" is rebuilt.
    ProfileResult Rename(std::wstring_view oldName, std::wstring_view newName);
    // Never the last profile. When it is the current one, the one before it (or the first)
    // becomes current; another current profile stays.
    ProfileResult Delete(std::wstring_view name);
    // A ".PROF" file becomes the current profile named after its file title, and a profile of
    // the list; an existing profile of that name is replaced only after `confirm`. Whatever the
    // file holds loads as the store loads it.
    ProfileResult Import(const std::wstring& file, Form form, const ConfirmReplace& confirm);
    // Profile `name` into a file the user chose: the working profile when it is the current one,
    // else its own file's settings. The menu form names the file after its title.
    ProfileResult Export(const std::wstring& file, Form form, std::wstring_view name) const;
    // A profile other than the current one, changed in its own file: read, changed, written back,
    // and the list rebuilt (its link may have changed).
    ProfileResult ChangeStored(std::wstring_view name,
                               const std::function<void(SettingsRecord&)>& change);

    // "AutoProfile" of "Mouse.ini": the profile the service's automatic switching chose.
    std::wstring AutoProfileName() const;

private:
    ProfileResult MakeCurrent(const std::wstring& file, const std::wstring& name,
                              bool disableButtons);
    ProfileResult CreateFrom(const std::wstring& source, const std::wstring& file,
                             const std::wstring& name);
    ProfileResult CreateNumbered(std::wstring_view baseName, const std::wstring& source);
    // The settings of profile `name`'s file; none (NotFound or FileFailed in `outcome`) when it
    // is missing or cannot be read.
    std::unique_ptr<SettingsRecord> ReadStored(std::wstring_view name,
                                               ProfileOutcome& outcome) const;

    WorkingProfile& profile_;
    ProfileList& list_;
    std::wstring templateFile_;
};
