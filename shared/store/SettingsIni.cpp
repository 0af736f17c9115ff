#include "shared/store/SettingsIni.h"

#include "shared/store/CIniFile.h"
#include "shared/store/CIniSection.h"
#include "shared/store/CIniSectionUpdate.h"
#include "shared/store/IniRecordFields.h"
#include "shared/store/RegKey.h"

#include <memory>

namespace {

constexpr wchar_t kSetting[] = L"Setting";

// Another program rewrites the file in place, emptying it first: a read meanwhile finds it empty
// or cut short, with no error. A read counts when the file stayed the same all through it, and an
// empty file only when it stays empty for a while; the writer takes milliseconds.
constexpr int kSteadyReadAttempts = 40;
constexpr DWORD kSteadyReadPauseMs = 10;
constexpr DWORD kEmptyFileWaitMs = 50;

// Every key of section "Setting" after "Profile", in the order the writer writes them:
// onInt(key, field, default) for integers, onStruct(key, bytes) for structures.
template <class Record, class IntKey, class StructKey>
void VisitSettingKeys(Record& r, IntKey onInt, StructKey onStruct) {
    onInt(L"TrayEnabled", r.TrayEnabled, -1);
    onInt(L"MouseButtons", r.MouseButtons, -1);
    onInt(L"PollingRate", r.PollingRate, -1);
    onInt(L"LeftCount", r.LeftCount, 0);
    onInt(L"RightCount", r.RightCount, 0);
    onInt(L"WheelScrollLines", r.WheelScrollLines, -1);
    onInt(L"MouseSensitivity", r.MouseSensitivity, -1);
    onInt(L"DoubleClickSpeed", r.DoubleClickSpeed, -1);
    onInt(L"AccelerationEnabled", r.AccelerationEnabled, -1);
    onInt(L"Acceleration", r.Acceleration, -1);
    onInt(L"UniversalScrollEnabled", r.UniversalScrollEnabled, -1);
    for (int i = 0; i < 7; ++i) {
        onInt(NumberedKey(L"MULTIPOS", i + 1), r.MULTIPOS[i], -1);
    }
    for (int i = 0; i < 7; ++i) {
        onInt(NumberedKey(L"SHOWSLIDER", i + 1), r.SHOWSLIDER[i], -1);
    }
    for (int i = 0; i < 7; ++i) {
        onInt(NumberedKey(L"SELSLODER", i + 1), r.SELSLODER[i], -1);
    }
    for (int i = 0; i < 4; ++i) {
        onStruct(NumberedKey(L"DPI_INFO", i + 1), BytesOf(r.DPI_INFO[i]));
    }
    for (int i = 0; i < 4; ++i) {
        onStruct(NumberedKey(L"LED_MODE_INFO", i + 1), BytesOf(r.LED_MODE_INFO[i]));
    }
    onInt(L"DPI", r.DPI, -1);
    onInt(L"LedStateOn", r.LedStateOn, -1);
    onInt(L"LedColor", r.LedColor, -1);
    onInt(L"LedMode", r.LedMode, -1);
    onInt(L"LedMode2", r.LedMode2, -1);
    onInt(L"LedMode3", r.LedMode3, -1);
    onInt(L"LedMode4", r.LedMode4, -1);
    onInt(L"FWVersion", r.FWVersion, -1);
    onStruct(std::wstring(L"MULTILED_INFO"), BytesOf(r.MULTILED_INFO));
}

std::wstring GroupSection(int group) {
    return group < 1 ? std::wstring(L"GROUP") : NumberedKey(L"GROUP", group);
}

// Whether any of the eight button entries is well-formed; reads them into record.
bool ReadButtons(SettingsRecord& record, const CIniSection& section) {
    bool any = false;
    for (int i = 0; i < kButtonCount; ++i) {
        any = section.ReadStruct(NumberedKey(L"ButtonAssigned", i + 1),
                                 BytesOf(record.ButtonAssigned[i])) ||
              any;
    }
    return any;
}

void ReadGroupKeys(SettingsRecord& record, const CIniSection& section) {
    ReadTextField(section, L"ProfileName", record.ProfileName);
    ReadTextField(section, L"LinkName", record.LinkName);
    record.Link = section.ReadInt(L"Link", 0);
    record.GroupDPI = section.ReadInt(L"DPI", -1);
    ReadButtons(record, section);
}

} // namespace

int ProfileIni_WriteGroups(const SettingsRecord& record, int group, const std::wstring& path) {
    CIniSectionUpdate section(GroupSection(group));
    section.Add(L"ProfileName", FieldText(record.ProfileName));
    section.Add(L"LinkName", FieldText(record.LinkName));
    section.AddInt(L"Link", record.Link);
    section.AddInt(L"DPI", record.GroupDPI);
    for (int i = 0; i < kButtonCount; ++i) {
        section.AddStruct(NumberedKey(L"ButtonAssigned", i + 1), BytesOf(record.ButtonAssigned[i]));
    }
    return section.Write(CIniFile(path)) == CIniSectionUpdate::Outcome::Failed ? 0 : 1;
}

int ProfileIni_ReadGroups(SettingsRecord& record, int group, const std::wstring& path) {
    const CIniSection section(CIniFile(path), GroupSection(group));
    if (!section.Readable()) {
        return 0;
    }
    ReadGroupKeys(record, section);
    return 1;
}

int SettingsIni_Write(const SettingsRecord& record, const std::wstring& path) {
    // One section write each instead of a write per key: each of those rewrites the file.
    CIniSectionUpdate setting(kSetting);
    setting.AddInt(L"Profile", record.Profile);
    VisitSettingKeys(
        record,
        [&](const std::wstring& key, const std::int32_t& value, int) {
            setting.AddInt(key, value);
        },
        [&](const std::wstring& key, std::span<const std::uint8_t> bytes) {
            setting.AddStruct(key, bytes);
        });
    if (setting.Write(CIniFile(path)) == CIniSectionUpdate::Outcome::Failed) {
        return 0;
    }
    return ProfileIni_WriteGroups(record, 0, path);
}

namespace {

void ReadRecord(SettingsRecord& record, const CIniSection& setting, const CIniSection& group,
                int profileIndex) {
    if (profileIndex == -1) {
        const int profile = setting.ReadInt(L"Profile", -1);
        record.Profile = profile == -1 ? 0 : profile;
    } else {
        record.Profile = profileIndex;
    }
    VisitSettingKeys(
        record,
        [&](const std::wstring& key, std::int32_t& value, int defaultValue) {
            value = setting.ReadInt(key, defaultValue);
        },
        [&](const std::wstring& key, std::span<std::uint8_t> bytes) {
            setting.ReadStruct(key, bytes);
        });
    ReadGroupKeys(record, group);
}

} // namespace

int SettingsIni_Read(SettingsRecord& record, const std::wstring& path, int profileIndex) {
    const CIniFile ini(path);
    for (int attempt = 0; attempt < kSteadyReadAttempts; ++attempt) {
        const CIniFile::FileStamp before = ini.Stamp();
        const CIniSection setting(ini, kSetting);
        const CIniSection group(ini, GroupSection(0));
        if (!setting.Readable() || !group.Readable()) {
            return 0;
        }
        if (before.Exists && before.Size == 0) {
            Sleep(kEmptyFileWaitMs);
        }
        if (ini.Stamp() == before) {
            ReadRecord(record, setting, group, profileIndex);
            return 1;
        }
        Sleep(kSteadyReadPauseMs);
    }
    return 0;
}

bool SettingsIni_HoldsRecord(const std::wstring& path) {
    const CIniFile ini(path);
    const CIniSection setting(ini, kSetting);
    const CIniSection group(ini, GroupSection(0));
    auto probe = std::make_unique<SettingsRecord>();
    bool anySetting = false;
    VisitSettingKeys(
        *probe,
        [&](const std::wstring& key, std::int32_t&, int) {
            // A number is there when the two defaults cannot both come back.
            anySetting = anySetting || setting.ReadInt(key, 0) == setting.ReadInt(key, 1);
        },
        [&](const std::wstring& key, std::span<std::uint8_t> bytes) {
            anySetting = anySetting || setting.ReadStruct(key, bytes);
        });
    return setting.Readable() && group.Readable() && anySetting && ReadButtons(*probe, group);
}

int SettingsIni_WriteAll(const SettingsRecord& record, const std::wstring& path) {
    RegKey desktop;
    OpenOrCreateRegKey(HKEY_CURRENT_USER, L"Control Panel\\Desktop", desktop);
    desktop.Close();
    return SettingsIni_Write(record, path);
}

int SettingsIni_LoadAndRewrite(SettingsRecord& record, const std::wstring& path, int profileIndex) {
    // A file that could not be read must not be rewritten from defaults.
    if (SettingsIni_Read(record, path, profileIndex) == 0) {
        return 0;
    }
    return SettingsIni_WriteAll(record, path);
}
