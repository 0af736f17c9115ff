#include "tests/service/hidsim/SettingValues.h"

#include "service/MouseDecoding.h"
#include "service/MouseMemoryMap.h"
#include "shared/codes/ButtonFunctionCodes.h"
#include "shared/lang/ReadXmlValue.h"
#include "shared/store/SettingsRecord.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>

namespace map = MouseMemoryMap;

namespace {

std::string Utf8(const std::wstring& text) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(std::max(length, 0)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), length,
                        nullptr, nullptr);
    return utf8;
}

std::string Dpi(int stageValue) {
    return std::to_string(DpiOfStageValue(stageValue)) + " DPI";
}

// [1, code, range, code, range]: the same stage value for X and Y, unless someone sent two.
std::string DpiStage(int stage, std::span<const std::uint8_t> data) {
    const std::optional<int> x = DecodeDpiStage(data[1], data[2]);
    const std::optional<int> y = DecodeDpiStage(data[3], data[4]);
    if (!x || !y) {
        return {};
    }
    const std::string head = "DPI stage " + std::to_string(stage + 1) + ": ";
    return *x == *y ? head + Dpi(*x) : head + "X " + Dpi(*x) + ", Y " + Dpi(*y);
}

std::string FunctionName(std::uint8_t code, const std::wstring& languageFile) {
    const std::wstring_view keyword = ButtonFunctionCodes::KeywordOf(code);
    if (keyword.empty()) {
        return code == ButtonFunctionCodes::kKeyCombination ? "key combination"
                                                            : "function " + std::to_string(code);
    }
    const std::wstring text = ReadXmlValue(languageFile, L"BUTTONPAGE", keyword);
    return Utf8(text.empty() ? std::wstring(keyword) : text);
}

std::string Button(int button, std::span<const std::uint8_t> data,
                   const std::wstring& languageFile) {
    static const std::array<std::wstring, map::kMacroPositions> noMacroNames{};
    ButtonAssignment entry{};
    if (!DecodeButtonAssignment(data.first<4>(), noMacroNames, entry)) {
        return {};
    }
    return "button " + std::to_string(button + 1) + ": " +
           FunctionName(entry.FunctionCode, languageFile);
}

// [R, G, B, mode code, speed, option, level]: the mode named as the user chose it, with the
// mouse's own numbers beside it.
std::string Lighting(std::span<const std::uint8_t> data, const std::wstring& languageFile) {
    char colour[8];
    std::snprintf(colour, sizeof colour, "%02X%02X%02X", data[0], data[1], data[2]);
    std::string mode = "mode " + std::to_string(data[3]) + ", option " + std::to_string(data[5]);
    if (const std::optional<int> chosen = DecodeLightingMode(data[3], data[5])) {
        const std::wstring keyword = L"LEDMODE" + std::to_wstring(*chosen);
        const std::wstring text = ReadXmlValue(languageFile, L"BUTTONPAGE", keyword);
        mode = Utf8(text.empty() ? keyword : text) + " (" + mode + ")";
    }
    return std::string("colour ") + colour + ", " + mode + ", speed " + std::to_string(data[4]) +
           ", level " + std::to_string(data[6]);
}

} // namespace

std::string SettingValues(std::uint16_t address, std::span<const std::uint8_t> data,
                          const std::wstring& languageFile) {
    const auto is = [&](std::uint16_t first, std::size_t count) {
        return address == first && data.size() == count;
    };
    if (is(map::kDoubleClickSpeed, 1)) {
        return "double-click speed " + std::to_string(data[0]);
    }
    if (is(map::kPollingRate, 6) || is(map::kPollingRateSecond, 4)) {
        const int hertz = PollingRateHz(data[0]);
        return hertz > 0 ? "polling rate " + std::to_string(hertz) + " Hz" : std::string();
    }
    if (is(map::kLighting, 7)) {
        return Lighting(data, languageFile);
    }
    for (int stage = 0; stage < map::kDpiStageCount; ++stage) {
        if (is(map::DpiStageAddress(stage), 5)) {
            return DpiStage(stage, data);
        }
    }
    for (int profile = 0; profile < kProfileCount; ++profile) {
        if (is(map::CurrentDpiStageAddress(profile), 1)) {
            return "current DPI stage " + std::to_string(data[0] + 1);
        }
    }
    for (int button = 0; button < kButtonCount; ++button) {
        if (is(map::ButtonAddress(button), 4)) {
            return Button(button, data, languageFile);
        }
    }
    return {};
}
