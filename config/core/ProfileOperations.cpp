#include "config/core/ProfileOperations.h"

#include "shared/store/CDataFolderLock.h"
#include "shared/store/CIniFile.h"
#include "shared/store/CIniText.h"
#include "shared/store/SettingsIni.h"
#include "shared/store/ShellAccess.h"
#include "shared/store/WholeFile.h"
#include "winlayer/FileDialog.h"
#include "winlayer/Format.h"

#include <windows.h>

#include <algorithm>

namespace {

constexpr wchar_t kGroup[] = L"GROUP";
constexpr wchar_t kProfileNameKey[] = L"ProfileName";

enum class FileState { Missing, Present, Unknown };

FileState StateOf(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? FileState::Unknown : FileState::Present;
    }
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileState::Missing
                                                                          : FileState::Unknown;
}

ProfileResult Outcome(ProfileOutcome outcome) {
    ProfileResult result;
    result.Outcome = outcome;
    return result;
}

struct FreeName {
    ProfileOutcome Outcome = ProfileOutcome::LimitReached;
    std::wstring Name;
    std::wstring File;
};

// The first name of the numbers 1 to 999 whose file is missing. A folder that cannot be read
// shows every file as taken, so the search ends there too.
template <class NameOf> FreeName FindFreeName(const ConfigPaths& paths, NameOf nameOf) {
    FreeName free;
    for (int n = 1; n <= ProfileOperations::kMostProfiles; ++n) {
        std::wstring name = nameOf(n);
        const std::optional<std::wstring> file = paths.ProfileFile(name);
        if (!file) {
            free.Outcome = ProfileOutcome::NameRefused;
            return free;
        }
        if (StateOf(*file) == FileState::Missing) {
            free.Outcome = ProfileOutcome::Done;
            free.Name = std::move(name);
            free.File = *file;
            return free;
        }
    }
    return free;
}

// A change of case alone: the shell takes the new name for a clash with the file itself, and
// some file systems keep the old case on a direct rename, so the file moves through a
// temporary name (and back when the second step fails).
bool ChangeCase(const std::wstring& from, const std::wstring& to) {
    const std::wstring between = to + L".renaming";
    if (!MoveFileExW(from.c_str(), between.c_str(), 0)) {
        return false;
    }
    if (MoveFileExW(between.c_str(), to.c_str(), 0)) {
        return true;
    }
    MoveFileExW(between.c_str(), from.c_str(), 0);
    return false;
}

bool WriteProfileName(const std::wstring& file, std::wstring_view name) {
    return CIniFile(file).WriteString(kGroup, kProfileNameKey, name);
}

} // namespace

ProfileOperations::ProfileOperations(WorkingProfile& profile, ProfileList& list,
                                     std::wstring templateFile)
    : profile_(profile), list_(list), templateFile_(std::move(templateFile)) {}

ProfileResult ProfileOperations::MakeCurrent(const std::wstring& file, const std::wstring& name,
                                             bool disableButtons) {
    const std::optional<StoreResult> applied = profile_.LoadProfileAsCurrent(file, name);
    list_.Load();
    if (!applied) {
        return Outcome(ProfileOutcome::FileFailed);
    }
    ProfileResult result = Outcome(ProfileOutcome::Done);
    result.CurrentName = name;
    // Only a service that got the apply answers it; otherwise nothing would enable them again.
    result.DisableProfileButtons = disableButtons && applied->Posted;
    return result;
}

ProfileResult ProfileOperations::CreateFrom(const std::wstring& source, const std::wstring& file,
                                            const std::wstring& name) {
    {
        // The new file appears whole, with its name: the service never finds it without.
        const CDataFolderLock lock;
        CIniText text;
        bool missing = false;
        if (!lock || source.empty() || !text.Load(source, &missing) || missing) {
            return Outcome(ProfileOutcome::FileFailed);
        }
        text.Set(kGroup, kProfileNameKey, name);
        // Never over a file that appeared meanwhile.
        if (!text.Save(file, false)) {
            return Outcome(ProfileOutcome::FileFailed);
        }
    }
    return MakeCurrent(file, name, true);
}

ProfileResult ProfileOperations::New(std::wstring_view baseName) {
    return CreateNumbered(baseName, templateFile_);
}

ProfileResult ProfileOperations::CreateFirst(std::wstring_view baseName) {
    if (!profile_.Paths().Valid()) {
        return Outcome(ProfileOutcome::ReadOnly);
    }
    list_.Load();
    if (list_.Count() != 0) {
        return Outcome(ProfileOutcome::Unchanged);
    }
    return CreateNumbered(baseName, profile_.Paths().SettingsFile());
}

ProfileResult ProfileOperations::CreateNumbered(std::wstring_view baseName,
                                                const std::wstring& source) {
    const ConfigPaths& paths = profile_.Paths();
    if (!paths.Valid()) {
        return Outcome(ProfileOutcome::ReadOnly);
    }
    if (list_.Count() >= kMostProfiles) {
        return Outcome(ProfileOutcome::LimitReached);
    }
    const std::wstring base(baseName);
    const FreeName free =
        FindFreeName(paths, [&](int n) { return winlayer::Format(L"%ls%.3d", base.c_str(), n); });
    if (free.Outcome != ProfileOutcome::Done) {
        return Outcome(free.Outcome);
    }
    return CreateFrom(source, free.File, free.Name);
}

ProfileResult ProfileOperations::Select(std::wstring_view name) {
    const ConfigPaths& paths = profile_.Paths();
    if (!paths.Valid()) {
        return Outcome(ProfileOutcome::ReadOnly);
    }
    const std::optional<std::wstring> file = paths.ProfileFile(name);
    if (!file) {
        return Outcome(ProfileOutcome::NameRefused);
    }
    // A missing file would load as defaults over the current settings.
    if (StateOf(*file) != FileState::Present) {
        return Outcome(ProfileOutcome::NotFound);
    }
    return MakeCurrent(*file, std::wstring(name), true);
}

ProfileResult ProfileOperations::Copy(std::wstring_view currentName) {
    const ConfigPaths& paths = profile_.Paths();
    if (!paths.Valid()) {
        return Outcome(ProfileOutcome::ReadOnly);
    }
    if (list_.Count() >= kMostProfiles) {
        return Outcome(ProfileOutcome::LimitReached);
    }
    const std::wstring current(currentName);
    const FreeName free = FindFreeName(
        paths, [&](int n) { return winlayer::Format(L"%ls copy %d", current.c_str(), n); });
    if (free.Outcome != ProfileOutcome::Done) {
        return Outcome(free.Outcome);
    }
    // The current settings, not the named profile's file.
    return CreateFrom(paths.SettingsFile(), free.File, free.Name);
}

ProfileResult ProfileOperations::Rename(std::wstring_view oldName, std::wstring_view newName) {
    const ConfigPaths& paths = profile_.Paths();
    if (!paths.Valid()) {
        return Outcome(ProfileOutcome::ReadOnly);
    }
    if (newName == oldName) {
        return Outcome(ProfileOutcome::Unchanged);
    }
    if (newName.empty()) {
        return Outcome(ProfileOutcome::NameEmpty);
    }
    const std::optional<std::wstring> newFile = paths.ProfileFile(newName);
    if (!newFile) {
        return Outcome(ProfileOutcome::NameRefused);
    }
    const std::optional<std::wstring> oldFile = paths.ProfileFile(oldName);
    if (!oldFile) {
        return Outcome(ProfileOutcome::NotFound);
    }
    // A change of case alone renames the profile's own file.
    if (!SameProfileName(oldName, newName) &&
        (StateOf(*newFile) != FileState::Missing || list_.Contains(newName))) {
        return Outcome(ProfileOutcome::NameExists);
    }
    const bool renamed =
        SameProfileName(oldName, newName)
            ? ChangeCase(*oldFile, *newFile)
            : CopyFileWithShell(*oldFile, *newFile,
                                FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT) != 0;
    if (!renamed) {
        return Outcome(ProfileOutcome::FileFailed);
    }
    WriteProfileName(*newFile, newName);
    profile_.SetName(newName);
    // The service looks a linked program up by its key: the list names the new profile.
    list_.Load();
    ProfileResult result = Outcome(ProfileOutcome::Done);
    result.CurrentName = std::wstring(newName);
    return result;
}

ProfileResult ProfileOperations::Delete(std::wstring_view name) {
    const ConfigPaths& paths = profile_.Paths();
    if (!paths.Valid()) {
        return Outcome(ProfileOutcome::ReadOnly);
    }
    if (!list_.Load()) {
        return Outcome(ProfileOutcome::FileFailed);
    }
    if (list_.Count() <= 1) {
        return Outcome(ProfileOutcome::LastProfile);
    }
    const std::optional<std::wstring> file = paths.ProfileFile(name);
    if (!file) {
        return Outcome(ProfileOutcome::NameRefused);
    }
    const std::optional<std::size_t> index = list_.FindProfileName(name);
    if (!index) {
        return Outcome(ProfileOutcome::NotFound);
    }
    if (!DeleteFileW(file->c_str())) {
        return Outcome(ProfileOutcome::FileFailed);
    }
    list_.Load();
    // The service switched to another profile while the user was asked: that one stays.
    if (!SameProfileName(name, profile_.ShownName()) || list_.Count() == 0) {
        return Outcome(ProfileOutcome::Done);
    }
    const std::size_t next =
        std::min(*index > 0 ? *index - 1 : 0, static_cast<std::size_t>(list_.Count() - 1));
    const std::wstring nextName = list_.Names()[next];
    const std::optional<std::wstring> nextFile = paths.ProfileFile(nextName);
    if (!nextFile) {
        return Outcome(ProfileOutcome::Done);
    }
    return MakeCurrent(*nextFile, nextName, true);
}

ProfileResult ProfileOperations::Import(const std::wstring& file, Form form,
                                        const ConfirmReplace& confirm) {
    const ConfigPaths& paths = profile_.Paths();
    if (!paths.Valid()) {
        return Outcome(ProfileOutcome::ReadOnly);
    }
    if (StateOf(file) != FileState::Present) {
        return Outcome(ProfileOutcome::NotFound);
    }
    const std::wstring title = winlayer::FileDialog::TitleOf(file);
    if (title.empty()) {
        return Outcome(ProfileOutcome::NameEmpty);
    }
    const std::optional<std::wstring> target = paths.ProfileFile(title);
    if (!target) {
        return Outcome(ProfileOutcome::NameRefused);
    }
    if (StateOf(*target) != FileState::Missing && !(confirm && confirm(title))) {
        return Outcome(ProfileOutcome::Declined);
    }
    // Named as the profile it becomes, so the next store copies onto its own file.
    const std::optional<StoreResult> applied = profile_.LoadProfileAsCurrent(file, title);
    if (!applied) {
        return Outcome(ProfileOutcome::FileFailed);
    }
    bool copied = false;
    if (const CDataFolderLock lock; lock) {
        copied = CopyWholeFile(paths.SettingsFile(), *target) && applied->Saved;
    }
    list_.Load();
    ProfileResult result = Outcome(copied ? ProfileOutcome::Done : ProfileOutcome::FileFailed);
    result.CurrentName = title;
    result.DisableProfileButtons = form == Form::Menu && applied->Posted;
    return result;
}

std::unique_ptr<SettingsRecord> ProfileOperations::ReadStored(std::wstring_view name,
                                                              ProfileOutcome& outcome) const {
    const std::optional<std::wstring> file = profile_.Paths().ProfileFile(name);
    if (!file || StateOf(*file) != FileState::Present) {
        outcome = ProfileOutcome::NotFound;
        return nullptr;
    }
    auto record = std::make_unique<SettingsRecord>();
    SettingsRecord_Reset(*record);
    if (SettingsIni_Read(*record, *file, -1) == 0) {
        outcome = ProfileOutcome::FileFailed;
        return nullptr;
    }
    return record;
}

ProfileResult ProfileOperations::ChangeStored(std::wstring_view name,
                                              const std::function<void(SettingsRecord&)>& change) {
    // Read, changed and written back with no write of the service in between.
    const CDataFolderLock lock;
    if (!lock) {
        return Outcome(ProfileOutcome::FileFailed);
    }
    ProfileOutcome outcome = ProfileOutcome::Done;
    const std::unique_ptr<SettingsRecord> record = ReadStored(name, outcome);
    if (!record) {
        return Outcome(outcome);
    }
    change(*record);
    if (SettingsIni_Write(*record, *profile_.Paths().ProfileFile(name)) == 0) {
        return Outcome(ProfileOutcome::FileFailed);
    }
    list_.Load();
    return Outcome(ProfileOutcome::Done);
}

ProfileResult ProfileOperations::Export(const std::wstring& file, Form form,
                                        std::wstring_view name) const {
    std::unique_ptr<SettingsRecord> stored;
    if (!SameProfileName(name, profile_.ShownName())) {
        ProfileOutcome outcome = ProfileOutcome::Done;
        stored = ReadStored(name, outcome);
        if (!stored) {
            return Outcome(outcome);
        }
    }
    // The user chose to replace the file: it is written whole, keeping nothing of an older one.
    const SettingsRecord& record = stored ? *stored : profile_.Working();
    const bool written = !file.empty() && CIniFile(file).Replace([&](CIniText& text) {
        SettingsIni_Put(record, text);
        if (form == Form::Menu) {
            text.Set(kGroup, kProfileNameKey, winlayer::FileDialog::TitleOf(file));
        }
    });
    return Outcome(written ? ProfileOutcome::Done : ProfileOutcome::FileFailed);
}

std::wstring ProfileOperations::AutoProfileName() const {
    const ConfigPaths& paths = profile_.Paths();
    if (!paths.Valid()) {
        return {};
    }
    return CIniFile(paths.SettingsFile()).ReadString(L"Setting", L"AutoProfile", L"");
}
