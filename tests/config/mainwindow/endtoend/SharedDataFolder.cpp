#include "tests/config/mainwindow/endtoend/SharedDataFolder.h"

#include "shared/store/CIniFile.h"
#include "shared/store/SettingsIni.h"
#include "tests/tolvane/ServiceHarness.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {
constexpr wchar_t kCurrentProfile[] = L"Game";

std::wstring DataFolder() {
    return ServiceHarness::VendorFolder() + L"\\GamingMouse\\";
}

bool NameProfile(const std::wstring& file, const std::wstring& name) {
    return CIniFile(file).WriteString(L"GROUP", L"ProfileName", name);
}
} // namespace

bool SharedDataFolder::Prepare(std::initializer_list<Profile> others) {
    if (!ServiceHarness::CleanDataFolder()) {
        return false;
    }
    std::error_code error;
    fs::create_directories(DataFolder() + L"Profile", error);
    fs::create_directories(DataFolder() + L"Macro", error);
    const std::wstring settings = SettingsFile();
    if (error ||
        !CopyFileW((ServiceHarness::ProgramFolder() + L"\\Mouse.ini").c_str(), settings.c_str(),
                   FALSE) ||
        !NameProfile(settings, kCurrentProfile) ||
        !CopyFileW(settings.c_str(), ProfileFile(kCurrentProfile).c_str(), FALSE)) {
        return false;
    }
    for (const Profile& profile : others) {
        const std::wstring file = ProfileFile(profile.Name);
        SettingsRecord record = Read(settings);
        profile.Edit(record);
        if (!CopyFileW(settings.c_str(), file.c_str(), FALSE) ||
            SettingsIni_Write(record, file) == 0 || !NameProfile(file, profile.Name)) {
            return false;
        }
    }
    return true;
}

std::wstring SharedDataFolder::SettingsFile() {
    return DataFolder() + L"Mouse.ini";
}

std::wstring SharedDataFolder::ProfileFile(const std::wstring& name) {
    return DataFolder() + L"Profile\\" + name + L".ini";
}

SettingsRecord SharedDataFolder::Read(const std::wstring& file) {
    SettingsRecord record{};
    SettingsRecord_Reset(record);
    SettingsIni_Read(record, file, -1);
    return record;
}
