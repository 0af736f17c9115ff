#pragma once

// A data folder of the configuration program under the temporary folder, with the settings,
// profile and import files the profile tests start from.

#include "config/core/ConfigPaths.h"
#include "shared/store/IniRecordFields.h"
#include "shared/store/SettingsIni.h"
#include "shared/store/SettingsRecord.h"
#include "tests/shared/store/StoreTestSupport.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

// The store's defaults, as the template "Mouse.ini" holds them.
inline std::unique_ptr<SettingsRecord> DefaultRecord(const std::wstring& name = L"",
                                                     const std::wstring& link = L"") {
    auto record = std::make_unique<SettingsRecord>();
    SettingsRecord_Reset(*record);
    SettingsRecord_FillDefaults(*record, 0);
    record->Profile = 0;
    record->MouseButtons = 8;
    record->TrayEnabled = 1;
    name.copy(record->ProfileName.data(), record->ProfileName.size() - 1);
    link.copy(record->LinkName.data(), record->LinkName.size() - 1);
    record->Link = link.empty() ? 0 : 1;
    return record;
}

inline std::unique_ptr<SettingsRecord> ReadRecord(const std::wstring& path) {
    auto record = std::make_unique<SettingsRecord>();
    SettingsRecord_Reset(*record);
    SettingsIni_Read(*record, path, -1);
    return record;
}

// Every "key=value" of a section, in file order.
inline std::vector<std::wstring> SectionLines(const std::wstring& path, const wchar_t* section) {
    std::vector<wchar_t> buffer(1 << 16);
    const DWORD length = GetPrivateProfileSectionW(section, buffer.data(),
                                                   static_cast<DWORD>(buffer.size()), path.c_str());
    std::vector<std::wstring> lines;
    for (DWORD i = 0; i < length;) {
        std::wstring line(buffer.data() + i);
        i += static_cast<DWORD>(line.size()) + 1;
        if (!line.empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}

class ProfileFolder {
public:
    ProfileFolder()
        : root_(L"V212 Profile Test"), paths_(ConfigPaths::FromDataFolder(root_.File(L"data"))) {
        std::filesystem::create_directories(root_.File(L"program"));
        std::filesystem::create_directories(root_.File(L"in"));
        SettingsIni_Write(*DefaultRecord(), TemplateFile());
        SettingsIni_Write(*DefaultRecord(), paths_.SettingsFile());
    }

    const ConfigPaths& Paths() const { return paths_; }
    std::wstring TemplateFile() const { return root_.File(L"program\\Mouse.ini"); }
    // A file outside the data folder, as the user picks one to import.
    std::wstring Outside(const std::wstring& name) const { return root_.File(L"in\\" + name); }
    std::wstring ProfileFile(const std::wstring& name) const {
        return paths_.ProfileFolder() + name + L".ini";
    }

    void WriteProfile(const std::wstring& name, const std::wstring& link = L"",
                      int pollingRate = 1) const {
        auto record = DefaultRecord(name, link);
        record->PollingRate = pollingRate;
        SettingsIni_Write(*record, ProfileFile(name));
    }
    bool HasProfile(const std::wstring& name) const {
        return GetFileAttributesW(ProfileFile(name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    // The profile files' names, in the order the folder lists them.
    std::vector<std::wstring> ProfileNames() const {
        std::vector<std::wstring> names;
        for (const auto& entry : std::filesystem::directory_iterator(paths_.ProfileFolder())) {
            names.push_back(entry.path().stem().wstring());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    // Every file of the data folder with its bytes: what "changes nothing on disk" compares.
    std::map<std::wstring, std::string> Snapshot() const {
        std::map<std::wstring, std::string> files;
        for (const auto& entry :
             std::filesystem::recursive_directory_iterator(paths_.DataFolder())) {
            if (entry.is_regular_file()) {
                files[entry.path().wstring()] = ReadFileBytes(entry.path().wstring());
            }
        }
        return files;
    }

private:
    TempFolder root_;
    ConfigPaths paths_;
};
