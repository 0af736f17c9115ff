#include "config/core/LightingFile.h"

#include "shared/store/CIniFile.h"
#include "shared/store/CIniSection.h"
#include "shared/store/IniRecordFields.h"
#include "shared/store/LedIni.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>

namespace {

constexpr wchar_t kSetting[] = L"Setting";
constexpr int kLastLightingMode = 13;
constexpr int kMostMarkerPosition = 20;
// Highest stage value the mouse has a DPI code for.
constexpr int kMostStageValue = 180;

// A number is present when the two defaults cannot both come back.
bool HasInt(const CIniSection& section, const std::wstring& key) {
    return section.ReadInt(key, 0) == section.ReadInt(key, 1);
}

template <std::size_t N> bool HasStruct(const CIniSection& section, const std::wstring& key) {
    std::array<std::uint8_t, N> bytes{};
    return section.ReadStruct(key, bytes);
}

// Every key the writer writes, so that a truncated file is told from a whole one.
bool IsComplete(const CIniSection& section) {
    for (const wchar_t* key : {L"LEDOn", L"LedColor"}) {
        if (!HasInt(section, key)) {
            return false;
        }
    }
    for (int i = 1; i <= 4; ++i) {
        if (!HasInt(section, NumberedKey(L"LLedMode", i)) ||
            !HasStruct<20>(section, NumberedKey(L"LED_MODE_INFO", i))) {
            return false;
        }
    }
    for (int i = 1; i <= 7; ++i) {
        for (const wchar_t* prefix : {L"MULTIPOS", L"SHOWSLIDER", L"SELSLODER"}) {
            if (!HasInt(section, NumberedKey(prefix, i))) {
                return false;
            }
        }
    }
    return HasStruct<100>(section, L"MULTILED_INFO");
}

bool In(int value, int low, int high) {
    return value >= low && value <= high;
}

bool LightingInRange(const SettingsRecord& r) {
    const auto isFlag = [](int value) { return value == 0 || value == 1; };
    if (!isFlag(r.LedStateOn) || !In(r.LedColor, 0, 0xFFFFFF)) {
        return false;
    }
    for (int mode : {r.LedMode, r.LedMode2, r.LedMode3, r.LedMode4}) {
        if (!In(mode, 1, kLastLightingMode)) {
            return false;
        }
    }
    // The second and third values are the two lighting sliders (1 to 3).
    if (!std::ranges::all_of(r.LED_MODE_INFO, [](const auto& entry) {
            return In(entry[1], 1, 3) && In(entry[2], 1, 3);
        })) {
        return false;
    }
    return std::ranges::all_of(r.MULTIPOS, [](int p) { return In(p, 1, kMostMarkerPosition); }) &&
           std::ranges::all_of(r.SHOWSLIDER, isFlag) && std::ranges::all_of(r.SELSLODER, isFlag);
}

// The store's reader also takes DPI stages from a lighting file when it holds them.
bool StagesInRange(const CIniSection& section) {
    for (int i = 1; i <= 4; ++i) {
        std::array<std::int32_t, 4> stage{};
        if (section.ReadStruct(NumberedKey(L"DPI_INFO", i), BytesOf(stage)) &&
            !In(stage[1], 0, kMostStageValue)) {
            return false;
        }
    }
    return true;
}

} // namespace

LightingFileResult LightingFile::Read(SettingsRecord& record, const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (path.empty() || attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return LightingFileResult::Missing;
    }
    const CIniFile ini(path);
    const CIniSection section(ini, kSetting);
    if (!IsComplete(section)) {
        return LightingFileResult::Incomplete;
    }
    if (!StagesInRange(section)) {
        return LightingFileResult::OutOfRange;
    }
    // Read into a copy: the record only changes when all of the file is good.
    auto read = std::make_unique<SettingsRecord>(record);
    LedIni_Read(*read, path);
    if (!LightingInRange(*read)) {
        return LightingFileResult::OutOfRange;
    }
    record = *read;
    return LightingFileResult::Read;
}

bool LightingFile::Write(const SettingsRecord& record, const std::wstring& path) {
    // The user chose to replace the file: it is written whole, keeping nothing of an older one.
    return LedIni_Write(record, path) != 0;
}
