#include "tests/config/mainwindow/MainWindowData.h"

#include "shared/codes/MacroFile.h"
#include "shared/store/DataPaths.h"
#include "shared/store/SettingsIni.h"

#include <shlobj.h>

#include <algorithm>
#include <filesystem>

namespace {
std::wstring VendorFolder() {
    wchar_t appData[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT,
                     appData);
    return std::wstring(appData) + L"\\Selvin V212 Gaming Mouse";
}

void WriteMacro(const MainWindowData::Macro& macro) {
    MacroEventBuffer buffer{};
    std::copy(macro.events.begin(), macro.events.end(), buffer.begin());
    MacroFile::ForName(MacroFolder(), macro.name)
        ->Write(buffer, static_cast<int>(macro.events.size()), macro.loopTime);
    WritePrivateProfileStringW(L"MACRO_LIST", std::to_wstring(macro.slot).c_str(),
                               macro.name.c_str(), SettingsFilePath().c_str());
}
} // namespace

SettingsRecord MainWindowData::Record(const std::wstring& profileName) {
    SettingsRecord record{};
    SettingsRecord_Reset(record);
    SettingsRecord_FillDefaults(record, 0);
    record.Profile = 0;
    record.MouseButtons = 8;
    record.TrayEnabled = 1;
    profileName.copy(record.ProfileName.data(), record.ProfileName.size() - 1);
    return record;
}

void MainWindowData::Start(const SettingsRecord& record, const std::vector<std::wstring>& profiles,
                           const std::vector<Macro>& macros) {
    std::error_code ignored;
    std::filesystem::remove_all(VendorFolder(), ignored);
    // Forming a path makes the folder and its sub-folders again.
    WriteSettings(record);
    for (const std::wstring& name : profiles) {
        SettingsRecord profile = record;
        profile.ProfileName.fill(L'\0');
        name.copy(profile.ProfileName.data(), profile.ProfileName.size() - 1);
        SettingsIni_Write(profile, ProfileFile(name));
    }
    for (const Macro& macro : macros) {
        WriteMacro(macro);
    }
}

void MainWindowData::WriteSettings(const SettingsRecord& record) {
    SettingsIni_Write(record, SettingsFilePath());
}

SettingsRecord MainWindowData::ReadSettings() {
    SettingsRecord record{};
    SettingsRecord_Reset(record);
    SettingsIni_Read(record, SettingsFilePath(), -1);
    return record;
}

std::wstring MainWindowData::ProfileFile(const std::wstring& name) {
    return ProfileFolder() + name + L".ini";
}

std::optional<std::vector<MacroEvent>> MainWindowData::ReadMacro(const std::wstring& name) {
    const std::optional<MacroFile> file = MacroFile::ForName(MacroFolder(), name);
    if (!file || GetFileAttributesW(file->Path().c_str()) == INVALID_FILE_ATTRIBUTES) {
        return std::nullopt;
    }
    MacroEventBuffer buffer{};
    int count = 0;
    file->Read(buffer, count);
    return std::vector<MacroEvent>(buffer.begin(), buffer.begin() + count);
}

int MainWindowData::ReadLoopTime(const std::wstring& name) {
    return MacroFile::ForName(MacroFolder(), name)->ReadLoopTime();
}

std::vector<std::wstring> MainWindowData::MacroFiles() {
    std::vector<std::wstring> names;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(MacroFolder(), ignored)) {
        names.push_back(entry.path().filename().wstring());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::wstring MainWindowData::BuiltFile(const wchar_t* path) {
    std::wstring file = path;
    std::replace(file.begin(), file.end(), L'/', L'\\');
    return file;
}
