#include "shared/store/DataPaths.h"

#include <windows.h>
#include <shlobj.h>

#include <array>
#include <cwctype>

namespace {

constexpr wchar_t kDataSubFolder[] = L"\\Selvin V212 Gaming Mouse\\GamingMouse\\";

bool FolderExistsOrCreated(const std::wstring& folder) {
    if (CreateDirectoryW(folder.c_str(), nullptr)) {
        return true;
    }
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

constexpr wchar_t kProfileSubFolder[] = L"Profile\\";
constexpr wchar_t kMacroSubFolder[] = L"Macro\\";

bool IsDeviceName(std::wstring_view name) {
    // The platform opens a device for these names whatever extension follows.
    std::wstring base(name.substr(0, name.find(L'.')));
    while (!base.empty() && base.back() == L' ') {
        base.pop_back();
    }
    for (wchar_t& c : base) {
        c = static_cast<wchar_t>(std::towupper(c));
    }
    static constexpr std::array<std::wstring_view, 4> fixed = {L"CON", L"PRN", L"AUX", L"NUL"};
    for (std::wstring_view device : fixed) {
        if (base == device) {
            return true;
        }
    }
    return base.size() == 4 && (base.starts_with(L"COM") || base.starts_with(L"LPT")) &&
           base[3] >= L'1' && base[3] <= L'9';
}

} // namespace

std::wstring DataFolder() {
    std::array<wchar_t, MAX_PATH> appData{};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                SHGFP_TYPE_CURRENT, appData.data()))) {
        return {};
    }
    std::wstring folder = std::wstring(appData.data()) + kDataSubFolder;
    const int created = SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    if (created != ERROR_SUCCESS && created != ERROR_ALREADY_EXISTS &&
        created != ERROR_FILE_EXISTS) {
        return {};
    }
    if (!FolderExistsOrCreated(folder)) {
        return {};
    }
    // A sub-folder that cannot be made fails only what needs it, not the settings file.
    FolderExistsOrCreated(folder + kProfileSubFolder);
    FolderExistsOrCreated(folder + kMacroSubFolder);
    return folder;
}

namespace {
std::wstring DataSubFolder(const wchar_t* name) {
    const std::wstring folder = DataFolder();
    if (folder.empty()) {
        return folder;
    }
    const std::wstring sub = folder + name;
    return FolderExistsOrCreated(sub) ? sub : std::wstring();
}
} // namespace

std::wstring SettingsFilePath() {
    const std::wstring folder = DataFolder();
    return folder.empty() ? folder : folder + L"Mouse.ini";
}

std::wstring ProfileFolder() {
    return DataSubFolder(kProfileSubFolder);
}

std::wstring MacroFolder() {
    return DataSubFolder(kMacroSubFolder);
}

bool IsSafeFileName(std::wstring_view name) {
    if (name.empty() || name == L"." || name == L"..") {
        return false;
    }
    for (wchar_t c : name) {
        if (c < 0x20 || c == 0x7F ||
            std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos) {
            return false;
        }
    }
    return !IsDeviceName(name);
}

std::optional<std::wstring> JoinNamedPath(std::wstring_view folder, std::wstring_view name,
                                          std::wstring_view extension) {
    if (folder.empty() || !IsSafeFileName(name)) {
        return std::nullopt;
    }
    std::wstring path(folder);
    if (path.back() != L'\\' && path.back() != L'/') {
        path.push_back(L'\\');
    }
    path.append(name);
    path.append(extension);
    if (path.size() >= MAX_PATH) {
        return std::nullopt;
    }
    return path;
}

std::wstring ProgramFilePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}
