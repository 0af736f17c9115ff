#pragma once

#include <array>
#include <cstdint>

// The three constant code tables shared by all programs, and their look-ups. Key codes stored in
// button entries and macro events are HID keyboard usage ids; the key hook and the key dialogs see
// virtual-key codes; the key-name tables are indexed by key position codes; the mouse takes its
// own encoding of each button function code.

struct KeyCodePair {
    std::uint32_t VirtualKey;
    std::uint32_t Usage;
};

struct KeyPositionPair {
    std::uint32_t Position;
    std::uint32_t VirtualKey;
};

// Byte 0 is the button function code, byte 1 the mouse-side function code, bytes 2 to 5 its
// parameters.
using DeviceCodeRow = std::array<std::uint8_t, 6>;

static_assert(sizeof(KeyCodePair) == 8);
static_assert(sizeof(KeyPositionPair) == 8);
static_assert(sizeof(DeviceCodeRow) == 6);

extern const std::array<KeyCodePair, 104> KeyCodeMap;
extern const std::array<KeyPositionPair, 145> KeyPositionMap;
extern const std::array<DeviceCodeRow, 70> DeviceCodeTable;

// Virtual key to usage id; the last matching pair wins. Leaves `usage` unchanged when none does.
bool KeyCodeMap_LookupForward(std::uint32_t virtualKey, std::uint32_t& usage);
// Usage id to virtual key; the last matching pair wins. Leaves `virtualKey` unchanged when none
// does.
bool KeyCodeMap_LookupReverse(std::uint32_t usage, std::uint32_t& virtualKey);

// Virtual key to key position (last match), 0 when the key has no position.
std::uint32_t CodePairTable_Lookup(std::uint32_t virtualKey);
// Key position to virtual key (last match), 0 when the position holds no key.
std::uint32_t KeyPositionMap_ToVirtualKey(std::uint32_t position);

// Device code table look-ups: each takes the first matching row and leaves its out value
// unchanged when no row matches.
// Button function code to the four mouse-side bytes (row bytes 1 to 4).
bool DeviceCodeTable_LookupDeviceCode(std::uint8_t functionCode,
                                      std::array<std::uint8_t, 4>& deviceCode);
// Row byte 1, 3 or 5 to the button function code of the row.
bool DeviceCodeTable_LookupByByte1(std::uint8_t value, std::uint8_t& functionCode);
bool DeviceCodeTable_LookupByByte3(std::uint8_t value, std::uint8_t& functionCode);
bool DeviceCodeTable_LookupByByte5(std::uint8_t value, std::uint8_t& functionCode);
