#include "shared/store/ServiceIni.h"

#include "shared/store/CIniFile.h"
#include "shared/store/CIniSection.h"
#include "shared/store/CIniText.h"
#include "shared/store/IniRecordFields.h"

namespace {

constexpr wchar_t kSetting[] = L"Setting";

int WriteSettingInt(const std::wstring& path, const wchar_t* key, int value) {
    return CIniFile(path).WriteInt(kSetting, key, value) ? 1 : 0;
}

} // namespace

int ServiceIni_WriteProfile(const std::wstring& path, int value) {
    return WriteSettingInt(path, L"Profile", value);
}

int ServiceIni_WriteButtonCounts(const std::wstring& path, int left, int right) {
    return CIniFile(path).Change([&](CIniText& text) {
        text.Set(kSetting, L"LeftCount", std::to_wstring(left));
        text.Set(kSetting, L"RightCount", std::to_wstring(right));
    })
               ? 1
               : 0;
}

int ServiceIni_WriteFWVersion(const std::wstring& path, int value) {
    return WriteSettingInt(path, L"FWVersion", value);
}

int ServiceIni_WriteDevice(const std::wstring& path, int value) {
    return WriteSettingInt(path, L"Device", value);
}

int ServiceIni_ReadDevice(const std::wstring& path) {
    return CIniFile(path).ReadInt(kSetting, L"Device", 0);
}

int ServiceIni_WritePollingRate(int value, const std::wstring& path) {
    return WriteSettingInt(path, L"PollingRate", value);
}

int ServiceIni_ReadTrayFlags(SettingsRecord& record, const std::wstring& path) {
    const CIniSection setting(CIniFile(path), kSetting);
    if (!setting.Readable()) {
        return 0;
    }
    record.UniversalScrollEnabled = setting.ReadInt(L"UniversalScrollEnabled", -1);
    record.TrayEnabled = setting.ReadInt(L"TrayEnabled", -1);
    return 1;
}

int ServiceIni_ReadDpiInfo(SettingsRecord& record, const std::wstring& path) {
    const CIniSection setting(CIniFile(path), kSetting);
    if (!setting.Readable()) {
        return 0;
    }
    for (int i = 0; i < 4; ++i) {
        setting.ReadStruct(NumberedKey(L"DPI_INFO", i + 1), BytesOf(record.DPI_INFO[i]));
    }
    return 1;
}
