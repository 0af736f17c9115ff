#include "config/core/ConfigPaths.h"

#include "shared/store/DataPaths.h"

#include <windows.h>

namespace {

bool FolderExistsOrCreated(const std::wstring& folder) {
    if (CreateDirectoryW(folder.c_str(), nullptr)) {
        return true;
    }
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

ConfigPaths::ConfigPaths(std::wstring dataFolder)
    : dataFolder_(std::move(dataFolder)), settingsFile_(dataFolder_ + L"Mouse.ini"),
      profileFolder_(dataFolder_ + L"Profile\\"), macroFolder_(dataFolder_ + L"Macro\\") {}

ConfigPaths ConfigPaths::FromUserDataFolder() {
    std::wstring folder = ::DataFolder();
    return folder.empty() ? ConfigPaths() : ConfigPaths(std::move(folder));
}

ConfigPaths ConfigPaths::FromDataFolder(std::wstring_view folder) {
    if (folder.empty()) {
        return {};
    }
    std::wstring withSeparator(folder);
    if (withSeparator.back() != L'\\' && withSeparator.back() != L'/') {
        withSeparator.push_back(L'\\');
    }
    ConfigPaths paths(std::move(withSeparator));
    if (!FolderExistsOrCreated(paths.dataFolder_) || !FolderExistsOrCreated(paths.profileFolder_) ||
        !FolderExistsOrCreated(paths.macroFolder_)) {
        return {};
    }
    return paths;
}

std::wstring ConfigPaths::ProgramTemplateFile() {
    std::wstring path = ProgramFilePath();
    const std::size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos) {
        return {};
    }
    path.resize(separator + 1);
    return path + L"Mouse.ini";
}

std::optional<std::wstring> ConfigPaths::ProfileFile(std::wstring_view name) const {
    if (!Valid()) {
        return std::nullopt;
    }
    return JoinNamedPath(profileFolder_, name, L".ini");
}
