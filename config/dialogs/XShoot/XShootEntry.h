#pragma once

#include "shared/store/SettingsRecord.h"

#include <cstdint>
#include <string>
#include <string_view>

// The button entry of the XSHOOT function (code 9): two values from 1 to 255 in the parameter
// bytes and, in the second byte of the key data, the mouse button (0x81 left, 0x82 right, 0x84
// middle) or the keyboard key (usage id) it works with.
namespace XShootEntry {
constexpr std::uint8_t kFunctionCode = 9;
constexpr int kLowest = 1;
constexpr int kHighest = 255;

// What the dialog edits: the menu choice is 1 left, 2 right, 3 middle button, 4 keyboard key.
struct Values {
    int first = kLowest;
    int second = kLowest;
    int choice = 4;
    // No key until one is typed.
    std::uint8_t code = 0;
};

// The entry's values when it holds code 9 (values held inside 1 to 255), else the defaults.
Values Read(const ButtonAssignment& entry);
// What the key field shows: "Left", "Right", "Middle", or the key's name ("A", ";", "Space Bar";
// empty when the key has none).
std::wstring KeyText(const Values& values);
// The code a menu choice stands for: 0x81, 0x82, 0x84, or 0 (no key yet) for the keyboard key.
std::uint8_t CodeOfChoice(int choice);
// The usage id of the key that types character c; 0 when it has none.
std::uint8_t CodeOfCharacter(wchar_t c);
// Writes code 9 with both values held inside 1 to 255 and the code; the rest of the key data is
// cleared.
void Write(int first, int second, std::uint8_t code, ButtonAssignment& entry);
} // namespace XShootEntry
