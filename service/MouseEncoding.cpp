#include "service/MouseEncoding.h"

#include "shared/codes/CodeTables.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

const std::array<std::uint8_t, 121> DpiCodeTable = {
    100, 0,   2,   3,   4,   5,   6,   7,   9,   10,  11,  12,  13,  14,  16,  17,  18,  19,
    20,  22,  23,  24,  25,  26,  27,  29,  30,  31,  32,  33,  35,  37,  38,  39,  40,  41,
    42,  44,  45,  46,  47,  48,  50,  51,  52,  53,  54,  56,  57,  58,  59,  60,  62,  63,
    64,  65,  66,  68,  69,  70,  71,  72,  74,  75,  76,  77,  78,  80,  81,  82,  83,  84,
    86,  87,  88,  89,  90,  92,  93,  94,  95,  96,  98,  99,  100, 101, 102, 104, 105, 106,
    107, 108, 110, 111, 112, 113, 114, 116, 117, 118, 119, 120, 122, 123, 124, 125, 126, 128,
    129, 130, 131, 132, 134, 135, 136, 137, 138, 140, 141, 142, 143};

namespace {

constexpr std::uint8_t kFunctionDoubleClick = 4;
constexpr std::uint8_t kFunctionSingleKey = 5;
constexpr std::uint8_t kFunctionMacro = 6;
constexpr std::uint8_t kFunctionXShoot = 9;
constexpr std::uint8_t kFunctionDpiShift = 15;
constexpr std::uint8_t kFunctionKeyCombination = 99;
constexpr std::uint8_t kFunctionRunProgram = 118;
constexpr std::uint8_t kFunctionOpenWebAddress = 140;
constexpr std::uint8_t kFunctionOpenFolder = 141;

constexpr std::int32_t kLedColorMax = 0xFFFFFF;

// Key events of a key combination: ten two-byte events (flag, usage) from entry byte 4.
constexpr std::size_t kKeyEventsOffset = 4;
constexpr int kKeyEventCount = 10;

std::uint8_t Byte(std::int32_t value, int shift) {
    return static_cast<std::uint8_t>((static_cast<std::uint32_t>(value) >> shift) & 0xFF);
}

// Mouse-side lighting mode code and option of each "LedMode" 1 to 12; any other mode is 0, 0.
constexpr int OptionFromMode = -1;    // first field of the first lighting mode entry
constexpr int OptionFromVariant = -2; // 2 when the request's variant is 255, else 1
struct LightingMode {
    std::uint8_t Code;
    int Option;
};
constexpr std::array<LightingMode, 12> kLightingModes{{{2, 1},
                                                       {3, OptionFromVariant},
                                                       {1, 1},
                                                       {2, OptionFromMode},
                                                       {9, 0},
                                                       {9, 1},
                                                       {6, 0},
                                                       {7, OptionFromMode},
                                                       {10, 0},
                                                       {5, OptionFromMode},
                                                       {0, 0},
                                                       {11, 1}}};

std::uint8_t LightingSpeed(const std::array<std::int32_t, 5>& mode) {
    if (mode[4] == 1) {
        return 0;
    }
    switch (mode[2]) {
    case 1:
        return 8;
    case 3:
        return 2;
    default:
        return 5;
    }
}

// Mouse-side modifier bits of the left-hand modifier keys, by their virtual keys.
std::uint8_t ModifierBit(std::uint32_t virtualKey) {
    switch (virtualKey) {
    case VK_LWIN:
        return 8;
    case VK_LMENU:
        return 4;
    case VK_LSHIFT:
        return 2;
    case VK_LCONTROL:
        return 1;
    default:
        return 0;
    }
}

std::array<std::uint8_t, 4> EncodeKeyCombination(std::uint8_t code,
                                                 const std::uint8_t* entryBytes) {
    unsigned modifierSum = 0;
    std::uint8_t key = 0;
    for (int i = 0; i < kKeyEventCount; ++i) {
        const std::uint8_t usage = entryBytes[kKeyEventsOffset + 2 * i + 1];
        if (usage == 0) {
            continue;
        }
        std::uint32_t virtualKey = 0;
        const std::uint8_t bit =
            KeyCodeMap_LookupReverse(usage, virtualKey) ? ModifierBit(virtualKey) : 0;
        if (bit != 0) {
            modifierSum += bit;
        } else {
            key = usage;
        }
    }
    // Each modifier is counted on its press and on its release.
    return {code, static_cast<std::uint8_t>(modifierSum / 2), key, 0};
}

} // namespace

std::optional<std::array<std::uint8_t, 5>> EncodeDpiStage(int value) {
    if (value < 0 || value > kDpiStageValueMax) {
        return std::nullopt;
    }
    const int last = static_cast<int>(DpiCodeTable.size()) - 1;
    const std::uint8_t range = value > last ? 1 : 0;
    const std::uint8_t code =
        DpiCodeTable[static_cast<std::size_t>(value > last ? value - 60 : value)];
    return std::array<std::uint8_t, 5>{1, code, range, code, range};
}

std::optional<std::array<std::uint8_t, 7>> EncodeLighting(const SettingsRecord& settings,
                                                          int variant) {
    const std::array<std::int32_t, 5>& mode = settings.LED_MODE_INFO[0];
    if (settings.LedColor < 0 || settings.LedColor > kLedColorMax || mode[0] < 0 || mode[1] < 0) {
        return std::nullopt;
    }
    std::uint8_t modeCode = 0;
    std::uint8_t option = 0;
    if (settings.LedMode >= 1 && settings.LedMode <= static_cast<int>(kLightingModes.size())) {
        const LightingMode& row = kLightingModes[static_cast<std::size_t>(settings.LedMode - 1)];
        modeCode = row.Code;
        switch (row.Option) {
        case OptionFromMode:
            option = static_cast<std::uint8_t>(mode[0]);
            break;
        case OptionFromVariant:
            option = variant == 255 ? 2 : 1;
            break;
        default:
            option = static_cast<std::uint8_t>(row.Option);
            break;
        }
    }
    return std::array<std::uint8_t, 7>{Byte(settings.LedColor, 0),
                                       Byte(settings.LedColor, 8),
                                       Byte(settings.LedColor, 16),
                                       modeCode,
                                       LightingSpeed(mode),
                                       option,
                                       Byte(mode[1], 0)};
}

std::optional<std::array<std::uint8_t, 4>>
EncodeButtonAssignment(const ButtonAssignment& entry, int profile, int button,
                       std::optional<int> macroDeviceSlot) {
    std::array<std::uint8_t, 4> device{};
    if (!DeviceCodeTable_LookupDeviceCode(entry.FunctionCode, device)) {
        return std::nullopt;
    }
    std::array<std::uint8_t, sizeof(ButtonAssignment)> bytes{};
    std::memcpy(bytes.data(), &entry, sizeof entry);
    const std::uint8_t code = device[0];
    const auto launch = [&](int selectorBase) -> std::array<std::uint8_t, 4> {
        return {code, 1, static_cast<std::uint8_t>(selectorBase + profile),
                static_cast<std::uint8_t>(button)};
    };
    switch (entry.FunctionCode) {
    case kFunctionDoubleClick:
        return std::array<std::uint8_t, 4>{code, 2, 10, 0};
    case kFunctionSingleKey:
        return std::array<std::uint8_t, 4>{code, 0, bytes[5], 0};
    case kFunctionMacro: {
        if (!macroDeviceSlot) {
            return std::nullopt;
        }
        std::uint8_t slot = static_cast<std::uint8_t>(*macroDeviceSlot);
        if (bytes[0] == 1 || bytes[0] == 2) {
            slot |= bytes[0] == 1 ? 0x80 : 0x40;
            return std::array<std::uint8_t, 4>{code, slot, 0xFF, 0xFF};
        }
        const std::uint8_t repeat = bytes[2] != 0 ? bytes[2] : 1;
        return std::array<std::uint8_t, 4>{code, slot, repeat, 0};
    }
    case kFunctionXShoot:
        return std::array<std::uint8_t, 4>{code, bytes[5], bytes[2],
                                           static_cast<std::uint8_t>(bytes[3] / 10)};
    case kFunctionDpiShift: {
        static constexpr std::array<std::uint8_t, 5> steps{0, 2, 3, 6, 38};
        const std::uint8_t step = bytes[2] >= 1 && bytes[2] <= 4 ? steps[bytes[2]] : 0;
        return std::array<std::uint8_t, 4>{code, 1, step, step};
    }
    case kFunctionKeyCombination:
        return EncodeKeyCombination(code, bytes.data());
    case kFunctionRunProgram:
        return launch(250);
    case kFunctionOpenFolder:
        return launch(245);
    case kFunctionOpenWebAddress:
        return launch(240);
    default:
        return device;
    }
}

std::array<std::uint8_t, 200> EncodeMacroSlot(const MacroEventBuffer& events, int count) {
    std::array<std::uint8_t, 200> slot{};
    const int used = std::clamp(count, 0, MaxMacroEvents);
    std::memcpy(slot.data(), events.data(), static_cast<std::size_t>(used) * sizeof(MacroEvent));
    slot[195] = slot[196] = slot[197] = 0xFF;
    return slot;
}
