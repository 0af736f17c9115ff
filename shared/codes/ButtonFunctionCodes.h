#pragma once

#include "shared/store/SettingsRecord.h"

#include <cstdint>
#include <span>
#include <string_view>

// Button function codes: what a programmable mouse button does, as stored in a button entry,
// offered by the button-function menu and carried out by the mouse and the service. Each code
// that has a caption of its own names it by a keyword of the language file's "BUTTONPAGE".
class ButtonFunctionCodes {
public:
    static constexpr std::uint8_t kLeftClick = 1;
    static constexpr std::uint8_t kSingleKey = 5;
    static constexpr std::uint8_t kMacro = 6;
    static constexpr std::uint8_t kOff = 7;
    static constexpr std::uint8_t kF11 = 100;
    static constexpr std::uint8_t kF12 = 101;
    static constexpr std::uint8_t kKeyCombination = 99;

    struct Keyword {
        std::uint8_t code;
        std::wstring_view keyword;
    };

    // The 70 codes that have a keyword, in rising code order.
    static std::span<const Keyword> Keywords();
    // Empty for a code without a keyword.
    static std::wstring_view KeywordOf(std::uint8_t code);

    // A single key is one key event in the entry's key data: 0x80 at entry offset 4 and the key's
    // usage id at offset 5, the byte every reader takes.
    static std::uint8_t SingleKeyUsage(const ButtonAssignment& entry) { return entry.Data[1]; }
    // Clears the key data and stores `usage` as the entry's single key event.
    static void StoreSingleKey(ButtonAssignment& entry, std::uint8_t usage);
};
