#pragma once

#include "config/core/LanguageText.h"

#include <cstdint>
#include <string>

enum class KeyNameCase { Upper, Lower };

// Display names of keys and mouse buttons by key position code (1 to 245). Key codes stored in
// profiles and macros are usage ids; they reach a name through their virtual key and position.
class KeyPositionNames {
public:
    // Name of key position code 1..245 (empty for 0 and 246..255 and codes without a name);
    // 1, 2 and 4 are the language texts "CLICK", "MENU", "MIDDLE" of "BUTTONPAGE".
    static std::wstring Name(std::uint8_t position, KeyNameCase letterCase,
                             const LanguageText& language);
    // usage id -> virtual key -> position -> Name; empty when a table has no entry.
    static std::wstring NameOfUsage(std::uint8_t usage, KeyNameCase letterCase,
                                    const LanguageText& language);
    // virtual key -> position -> Name; empty when the key has no position.
    static std::wstring NameOfVirtualKey(std::uint32_t virtualKey, KeyNameCase letterCase,
                                         const LanguageText& language);

    // The names the single-key dialog shows: the left-hand modifiers are "LAlt", "LShift" and
    // "LCtrl", the mouse-button positions 1, 2 and 4 have no name, and in upper case 240 to 242
    // name the three mouse buttons.
    static std::wstring SingleKeyName(std::uint8_t position, KeyNameCase letterCase);
    // usage id -> virtual key -> position -> SingleKeyName.
    static std::wstring SingleKeyNameOfUsage(std::uint8_t usage, KeyNameCase letterCase);
};
