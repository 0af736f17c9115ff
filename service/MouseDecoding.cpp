#include "service/MouseDecoding.h"

#include "service/MouseEncoding.h"
#include "shared/codes/CodeTables.h"

#include <windows.h>

#include <algorithm>
#include <functional>

namespace {

constexpr std::uint8_t kDeviceLaunchOrConsumer = 0x8E;
constexpr std::uint8_t kDeviceKeyCombination = 0x8F;
constexpr std::uint8_t kDeviceProfileStep = 0x93;
constexpr std::uint8_t kPcSideAction = 0xFF;

constexpr std::uint8_t kFunctionSingleKey = 5;
constexpr std::uint8_t kFunctionMacro = 6;
constexpr std::uint8_t kFunctionXShoot = 9;
constexpr std::uint8_t kFunctionKeyCombination = 99;
constexpr std::uint8_t kFunctionNextProfile = 100;
constexpr std::uint8_t kFunctionPreviousProfile = 101;
constexpr std::uint8_t kFunctionRunProgram = 118;
constexpr std::uint8_t kFunctionOpenWebAddress = 140;
constexpr std::uint8_t kFunctionOpenFolder = 141;

constexpr int kLightingModeMax = 13;

// Stage values above the table use its entries from here on with the range byte set.
constexpr int kHighRangeOffset = 60;
constexpr std::uint8_t kMacroSlotMask = 0x3F; // below the play-mode flags 0x80 and 0x40
constexpr std::uint8_t kPressFlag = 0x80;

// Modifiers of a key combination, in the order their presses are recorded: the mouse's bit and
// the left-hand key's virtual key.
struct Modifier {
    std::uint8_t Bit;
    std::uint32_t VirtualKey;
};
constexpr std::array<Modifier, 4> kModifiers{
    {{8, VK_LWIN}, {4, VK_LMENU}, {2, VK_LSHIFT}, {1, VK_LCONTROL}}};

std::optional<std::uint8_t> FirstRow(const std::function<bool(const DeviceCodeRow&)>& matches) {
    const auto row = std::ranges::find_if(DeviceCodeTable, matches);
    if (row == DeviceCodeTable.end()) {
        return std::nullopt;
    }
    return (*row)[0];
}

// The row sent as it stands ("code, c1, c2, c3"), else the first row with the mouse-side code.
std::optional<std::uint8_t> KindOfCode(std::span<const std::uint8_t, 4> data) {
    if (auto exact = FirstRow([&](const DeviceCodeRow& row) {
            return std::equal(data.begin(), data.end(), row.begin() + 1);
        })) {
        return exact;
    }
    return FirstRow([&](const DeviceCodeRow& row) { return row[1] == data[0]; });
}

std::optional<std::uint8_t> KindOf(std::span<const std::uint8_t, 4> data) {
    const std::uint8_t c = data[0];
    const std::uint8_t m = data[1];
    const std::uint8_t k = data[2];
    const std::uint8_t x = data[3];
    if (c == kDeviceLaunchOrConsumer) {
        if (k >= 250 && k <= 254) {
            return kFunctionRunProgram;
        }
        if (k >= 245 && k <= 249) {
            return kFunctionOpenFolder;
        }
        if (k >= 240 && k <= 244) {
            return kFunctionOpenWebAddress;
        }
        if (k == kPcSideAction) {
            // A function the service carries out itself: its action code follows the marker.
            return FirstRow([&](const DeviceCodeRow& row) {
                return row[1] == c && row[3] == kPcSideAction && row[4] == x;
            });
        }
        return FirstRow([&](const DeviceCodeRow& row) { return row[1] == c && row[3] == k; });
    }
    if (c == kDeviceKeyCombination) {
        // The named combinations are sent as their rows; anything else is the user's own.
        return FirstRow([&](const DeviceCodeRow& row) {
                   return row[1] == c && row[2] == m && row[3] == k && row[4] == x;
               })
            .value_or(kFunctionKeyCombination);
    }
    if (c == kDeviceProfileStep) {
        return m == 2 ? kFunctionPreviousProfile : kFunctionNextProfile;
    }
    return KindOfCode(data);
}

// Presses of the modifiers, the key pressed and released, then the modifiers released in the
// opposite order: two bytes per event, the press flag and the key's usage id.
void RebuildKeySequence(std::uint8_t modifiers, std::uint8_t key, ButtonAssignment& entry) {
    entry.Data.fill(0);
    std::size_t at = 0;
    const auto add = [&](bool press, std::uint8_t usage) {
        entry.Data[at++] = press ? kPressFlag : 0;
        entry.Data[at++] = usage;
    };
    const auto usageOf = [](std::uint32_t virtualKey) {
        std::uint32_t usage = 0;
        KeyCodeMap_LookupForward(virtualKey, usage);
        return static_cast<std::uint8_t>(usage);
    };
    for (const Modifier& modifier : kModifiers) {
        if (modifiers & modifier.Bit) {
            add(true, usageOf(modifier.VirtualKey));
        }
    }
    add(true, key);
    add(false, key);
    for (auto modifier = kModifiers.rbegin(); modifier != kModifiers.rend(); ++modifier) {
        if (modifiers & modifier->Bit) {
            add(false, usageOf(modifier->VirtualKey));
        }
    }
}

} // namespace

std::optional<int> DecodeDpiStage(std::uint8_t code, std::uint8_t range) {
    if (range > 1) {
        return std::nullopt;
    }
    const int first = range == 0 ? 0 : static_cast<int>(DpiCodeTable.size()) - kHighRangeOffset;
    for (int index = static_cast<int>(DpiCodeTable.size()) - 1; index >= first; --index) {
        if (DpiCodeTable[static_cast<std::size_t>(index)] == code) {
            return range == 0 ? index : index + kHighRangeOffset;
        }
    }
    return std::nullopt;
}

std::optional<int> DecodeLightingMode(std::uint8_t code, std::uint8_t option) {
    // Searched through the encoding itself; the modes that send an option of their own take it
    // from the first field of the lighting entry.
    SettingsRecord settings{};
    settings.LedColor = 0;
    settings.LED_MODE_INFO[0] = {option, 0, 0, 0, 0};
    for (int mode = 1; mode <= kLightingModeMax; ++mode) {
        settings.LedMode = mode;
        for (const int variant : {0, 255}) {
            const auto sent = EncodeLighting(settings, variant);
            if (sent && (*sent)[3] == code && (*sent)[5] == option) {
                return mode;
            }
        }
    }
    return std::nullopt;
}

std::optional<int> MacroPositionOfSlot(int slot) {
    if (slot == 0 || slot == 1) {
        return slot;
    }
    if (slot >= 3 && slot <= 6) {
        return slot - 1;
    }
    return std::nullopt;
}

bool DecodeButtonAssignment(std::span<const std::uint8_t, 4> data,
                            const std::array<std::wstring, 6>& macroNames,
                            ButtonAssignment& entry) {
    const std::optional<std::uint8_t> kind = KindOf(data);
    if (!kind) {
        return false;
    }
    const std::uint8_t m = data[1];
    const std::uint8_t k = data[2];
    const std::uint8_t x = data[3];
    switch (*kind) {
    case kFunctionMacro: {
        const std::optional<int> position = MacroPositionOfSlot(m & kMacroSlotMask);
        if (!position) {
            return false;
        }
        entry.Param2 = static_cast<std::uint8_t>(*position);
        const std::wstring& name = macroNames[static_cast<std::size_t>(*position)];
        entry.Text.fill(0);
        std::copy_n(name.begin(), std::min(name.size(), entry.Text.size() - 1), entry.Text.begin());
        break;
    }
    case kFunctionSingleKey:
        entry.Data[1] = k;
        break;
    case kFunctionXShoot:
        entry.Param1 = k;
        entry.Param2 = static_cast<std::uint8_t>(x * 10);
        entry.Data[1] = m;
        break;
    case kFunctionKeyCombination:
        RebuildKeySequence(m, k, entry);
        break;
    default:
        break;
    }
    entry.FunctionCode = *kind;
    return true;
}
