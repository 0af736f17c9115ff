#include "shared/store/LedIni.h"

#include "shared/store/CIniFile.h"
#include "shared/store/CIniText.h"
#include "shared/store/IniRecordFields.h"

namespace {

constexpr wchar_t kSetting[] = L"Setting";

// The keys of a lighting file in the order both directions handle them.
template <class Record, class IntKey, class StructKey>
void VisitLedKeys(Record& r, IntKey onInt, StructKey onStruct) {
    onInt(std::wstring(L"LEDOn"), r.LedStateOn, 0);
    onInt(std::wstring(L"LedColor"), r.LedColor, 0);
    onInt(std::wstring(L"LLedMode1"), r.LedMode, 0);
    onInt(std::wstring(L"LLedMode2"), r.LedMode2, 0);
    onInt(std::wstring(L"LLedMode3"), r.LedMode3, 0);
    onInt(std::wstring(L"LLedMode4"), r.LedMode4, 0);
    for (int i = 0; i < 7; ++i) {
        onInt(NumberedKey(L"MULTIPOS", i + 1), r.MULTIPOS[i], -1);
    }
    for (int i = 0; i < 7; ++i) {
        onInt(NumberedKey(L"SHOWSLIDER", i + 1), r.SHOWSLIDER[i], -1);
    }
    for (int i = 0; i < 7; ++i) {
        onInt(NumberedKey(L"SELSLODER", i + 1), r.SELSLODER[i], -1);
    }
    onStruct(std::wstring(L"MULTILED_INFO"), BytesOf(r.MULTILED_INFO));
    for (int i = 0; i < 4; ++i) {
        onStruct(NumberedKey(L"LED_MODE_INFO", i + 1), BytesOf(r.LED_MODE_INFO[i]));
    }
}

} // namespace

int LedIni_Write(const SettingsRecord& record, const std::wstring& path) {
    return CIniFile(path).Replace([&](CIniText& text) {
        VisitLedKeys(
            record,
            [&](const std::wstring& key, const std::int32_t& value, int) {
                text.Set(kSetting, key, std::to_wstring(value));
            },
            [&](const std::wstring& key, std::span<const std::uint8_t> bytes) {
                text.Set(kSetting, key, CIniFile::EncodeStruct(bytes));
            });
    })
               ? 1
               : 0;
}

int LedIni_Read(SettingsRecord& record, const std::wstring& path) {
    const CIniFile ini(path);
    VisitLedKeys(
        record,
        [&](const std::wstring& key, std::int32_t& value, int defaultValue) {
            value = ini.ReadInt(kSetting, key, defaultValue);
        },
        [&](const std::wstring& key, std::span<std::uint8_t> bytes) {
            ini.ReadStruct(kSetting, key, bytes);
        });
    for (int i = 0; i < 4; ++i) {
        ini.ReadStruct(kSetting, NumberedKey(L"DPI_INFO", i + 1), BytesOf(record.DPI_INFO[i]));
    }
    return 1;
}
