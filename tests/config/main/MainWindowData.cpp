#include "tests/config/main/MainWindowData.h"

#include "shared/codes/MacroFile.h"
#include "shared/store/DataPaths.h"
#include "shared/store/SettingsIni.h"

#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {
std::wstring VendorFolder() {
    wchar_t appData[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT,
                     appData);
    return std::wstring(appData) + L"\\Selvin V212 Gaming Mouse";
}
} // namespace

void MainWindowData::Clean() {
    std::error_code ignored;
    std::filesystem::remove_all(VendorFolder(), ignored);
}

void MainWindowData::WriteMacro(int slot, const std::wstring& name,
                                const std::vector<MacroEvent>& events, int loopTime) {
    MacroEventBuffer buffer{};
    std::copy(events.begin(), events.end(), buffer.begin());
    MacroFile::ForName(MacroFolder(), name)
        ->Write(buffer, static_cast<int>(events.size()), loopTime);
    WritePrivateProfileStringW(L"MACRO_LIST", std::to_wstring(slot).c_str(), name.c_str(),
                               SettingsFilePath().c_str());
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

SettingsRecord MainWindowData::DefaultRecord() {
    SettingsRecord record{};
    SettingsRecord_Reset(record);
    SettingsRecord_FillDefaults(record, 0);
    record.Profile = 0;
    return record;
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

void MainWindowData::AddHookLibrary(const std::wstring& programFolder) {
    std::wstring built = V212_TARROW_DLL;
    std::replace(built.begin(), built.end(), L'/', L'\\');
    CopyFileW(built.c_str(), (programFolder + L"Tarrow.dll").c_str(), FALSE);
}

void MainWindowData::WriteLanguage(const std::wstring& programFolder) {
    std::ofstream file(std::filesystem::path(programFolder + L"Strings.xml"), std::ios::binary);
    file << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Strings><FONT><MAIN>Tahoma</MAIN>"
            "</FONT><BUTTONPAGE><DPISTAGE>DPI Stage</DPISTAGE><NEWMACRO>Macro</NEWMACRO>"
            "<WARN3>One button keeps the left click</WARN3></BUTTONPAGE></Strings>\r\n";
}
