#include "shared/store/SettingsFileRepair.h"

#include "shared/store/CDataFolderLock.h"
#include "shared/store/SettingsIni.h"
#include "shared/store/WholeFile.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr wchar_t kSettingsName[] = L"Mouse.ini";
constexpr std::wstring_view kProfileExtension = L".ini";

// A name beside the file that no earlier damaged file has taken.
std::wstring AsideName(const std::wstring& file) {
    std::wstring aside = file + L".damaged";
    for (int n = 2; GetFileAttributesW(aside.c_str()) != INVALID_FILE_ATTRIBUTES; ++n) {
        aside = file + L".damaged" + std::to_wstring(n);
    }
    return aside;
}

// The profile files, newest first.
std::vector<std::wstring> ProfilesNewestFirst(const std::wstring& folder) {
    struct Found {
        std::wstring Path;
        ULONGLONG Written;
    };
    std::vector<Found> found;
    WIN32_FIND_DATAW data{};
    const HANDLE search = FindFirstFileW((folder + L"*.ini").c_str(), &data);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring_view name(data.cFileName);
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                name.ends_with(kProfileExtension)) {
                found.push_back({folder + data.cFileName,
                                 (ULONGLONG{data.ftLastWriteTime.dwHighDateTime} << 32) |
                                     data.ftLastWriteTime.dwLowDateTime});
            }
        } while (FindNextFileW(search, &data));
        FindClose(search);
    }
    std::ranges::sort(found, [](const Found& a, const Found& b) { return a.Written > b.Written; });
    std::vector<std::wstring> paths;
    for (Found& f : found) {
        paths.push_back(std::move(f.Path));
    }
    return paths;
}

} // namespace

bool RepairSettingsFile(const std::wstring& dataFolder) {
    if (dataFolder.empty()) {
        return false;
    }
    const CDataFolderLock lock;
    if (!lock) {
        return false;
    }
    const std::wstring profileFolder = dataFolder + L"Profile\\";
    for (const std::wstring& folder : {dataFolder, profileFolder, dataFolder + L"Macro\\"}) {
        RemoveLeftoverTemporaries(folder);
    }
    const std::wstring settings = dataFolder + kSettingsName;
    if (GetFileAttributesW(settings.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    auto probe = std::make_unique<SettingsRecord>();
    if (SettingsIni_Load(*probe, settings, -1, SettingsIniNeed::SettingSection) !=
        SettingsIniRead::Refused) {
        return false;
    }
    const std::wstring aside = AsideName(settings);
    if (!MoveFileExW(settings.c_str(), aside.c_str(), MOVEFILE_WRITE_THROUGH)) {
        OutputDebugStringW(
            (L"no settings in " + settings + L", and it cannot be moved aside\n").c_str());
        return false;
    }
    for (const std::wstring& profile : ProfilesNewestFirst(profileFolder)) {
        if (SettingsIni_HoldsRecord(profile) && CopyWholeFile(profile, settings, false)) {
            OutputDebugStringW((L"no settings in " + settings + L": kept as " + aside +
                                L", restored from " + profile + L"\n")
                                   .c_str());
            return true;
        }
    }
    OutputDebugStringW(
        (L"no settings in " + settings + L": kept as " + aside + L", no profile to restore\n")
            .c_str());
    return false;
}
