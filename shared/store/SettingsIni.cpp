#include "shared/store/SettingsIni.h"

#include "shared/store/CDataFolderLock.h"
#include "shared/store/CIniFile.h"
#include "shared/store/CIniSection.h"
#include "shared/store/CIniText.h"
#include "shared/store/IniRecordFields.h"
#include "shared/store/RegKey.h"

#include <memory>

namespace {

constexpr wchar_t kSetting[] = L"Setting";

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

// The text of every key that a record write stores in section "Setting", in order.
template <class OnKey> void VisitSettingValues(const SettingsRecord& record, OnKey onKey) {
    onKey(L"Profile", std::to_wstring(record.Profile));
    VisitSettingKeys(
        record,
        [&](const std::wstring& key, const std::int32_t& value, int) {
            onKey(key, std::to_wstring(value));
        },
        [&](const std::wstring& key, std::span<const std::uint8_t> bytes) {
            onKey(key, CIniFile::EncodeStruct(bytes));
        });
}

// The same for the profile keys of a "GROUP" section.
template <class OnKey> void VisitGroupValues(const SettingsRecord& record, OnKey onKey) {
    onKey(L"ProfileName", FieldText(record.ProfileName));
    onKey(L"LinkName", FieldText(record.LinkName));
    onKey(L"Link", std::to_wstring(record.Link));
    onKey(L"DPI", std::to_wstring(record.GroupDPI));
    for (int i = 0; i < kButtonCount; ++i) {
        onKey(NumberedKey(L"ButtonAssigned", i + 1),
              CIniFile::EncodeStruct(BytesOf(record.ButtonAssigned[i])));
    }
}

std::wstring GroupSection(int group) {
    return group < 1 ? std::wstring(L"GROUP") : NumberedKey(L"GROUP", group);
}

// Reads the eight button entries into record; the number of them that were well-formed.
int ReadButtons(SettingsRecord& record, const CIniSection& section) {
    int wellFormed = 0;
    for (int i = 0; i < kButtonCount; ++i) {
        if (section.ReadStruct(NumberedKey(L"ButtonAssigned", i + 1),
                               BytesOf(record.ButtonAssigned[i]))) {
            ++wellFormed;
        }
    }
    return wellFormed;
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
    return CIniFile(path).Change([&](CIniText& text) {
        VisitGroupValues(record, [&](std::wstring_view key, std::wstring_view value) {
            text.Set(GroupSection(group), key, value);
        });
    })
               ? 1
               : 0;
}

int ProfileIni_ReadGroups(SettingsRecord& record, int group, const std::wstring& path) {
    const CIniSection section(CIniFile(path), GroupSection(group));
    if (!section.Readable()) {
        return 0;
    }
    ReadGroupKeys(record, section);
    return 1;
}

void SettingsIni_Put(const SettingsRecord& record, CIniText& text) {
    const auto into = [&text](const wchar_t* section) {
        return [&text, section](std::wstring_view key, std::wstring_view value) {
            text.Set(section, key, value);
        };
    };
    VisitSettingValues(record, into(kSetting));
    VisitGroupValues(record, into(L"GROUP"));
}

int SettingsIni_Write(const SettingsRecord& record, const std::wstring& path) {
    // Both sections in one write: a reader in the other program sees both or neither.
    return CIniFile(path).Change([&](CIniText& text) { SettingsIni_Put(record, text); }) ? 1 : 0;
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

// Whether the two sections hold every key of the record well-formed: each number of "Setting"
// (but "Profile", which has a meaning when missing) and structure, and the eight buttons.
bool HoldsWholeRecord(const CIniSection& setting, const CIniSection& group) {
    auto probe = std::make_unique<SettingsRecord>();
    bool whole = true;
    VisitSettingKeys(
        *probe,
        [&](const std::wstring& key, std::int32_t&, int) {
            // A number is there when the two defaults cannot both come back.
            whole = whole && setting.ReadInt(key, 0) == setting.ReadInt(key, 1);
        },
        [&](const std::wstring& key, std::span<std::uint8_t> bytes) {
            whole = whole && setting.ReadStruct(key, bytes);
        });
    return whole && ReadButtons(*probe, group) == kButtonCount;
}

} // namespace

SettingsIniRead SettingsIni_Load(SettingsRecord& record, const std::wstring& path, int profileIndex,
                                 SettingsIniNeed need) {
    // One look at the file: no writer of either program comes between the two sections.
    const CDataFolderLock lock;
    if (!lock) {
        return SettingsIniRead::Unreadable;
    }
    const CIniFile ini(path);
    const CIniSection setting(ini, kSetting);
    const CIniSection group(ini, GroupSection(0));
    if (!setting.Readable() || !group.Readable()) {
        return SettingsIniRead::Unreadable;
    }
    if ((need == SettingsIniNeed::SettingSection && setting.Empty()) ||
        (need == SettingsIniNeed::WholeRecord && !HoldsWholeRecord(setting, group))) {
        return SettingsIniRead::Refused;
    }
    ReadRecord(record, setting, group, profileIndex);
    return SettingsIniRead::Read;
}

int SettingsIni_Read(SettingsRecord& record, const std::wstring& path, int profileIndex) {
    return SettingsIni_Load(record, path, profileIndex, SettingsIniNeed::Anything) ==
                   SettingsIniRead::Read
               ? 1
               : 0;
}

bool SettingsIni_HoldsRecord(const std::wstring& path) {
    auto probe = std::make_unique<SettingsRecord>();
    return SettingsIni_Load(*probe, path, -1, SettingsIniNeed::WholeRecord) ==
           SettingsIniRead::Read;
}

int SettingsIni_WriteAll(const SettingsRecord& record, const std::wstring& path) {
    RegKey desktop;
    OpenOrCreateRegKey(HKEY_CURRENT_USER, L"Control Panel\\Desktop", desktop);
    desktop.Close();
    return SettingsIni_Write(record, path);
}

int SettingsIni_LoadAndRewrite(SettingsRecord& record, const std::wstring& path, int profileIndex,
                               SettingsIniNeed need) {
    // Nothing written in between may be lost by the rewrite.
    const CDataFolderLock lock;
    // A file that could not be read must not be rewritten from defaults.
    if (!lock || SettingsIni_Load(record, path, profileIndex, need) != SettingsIniRead::Read) {
        return 0;
    }
    return SettingsIni_WriteAll(record, path);
}
