#pragma once

#include "shared/codes/MacroEvent.h"
#include "shared/store/SettingsRecord.h"

#include <array>
#include <cstdint>
#include <optional>

// How each setting is laid out in the mouse's memory.

// The mouse's DPI codes for stage values 0 to 120; values 121 to 180 use entry value - 60 with
// the range byte set.
extern const std::array<std::uint8_t, 121> DpiCodeTable;
inline constexpr int kDpiStageValueMax = 180;

// [1, code, range, code, range] (the same for X and Y); nothing for a value outside 0..180.
std::optional<std::array<std::uint8_t, 5>> EncodeDpiStage(int value);

// [R, G, B, mode code, speed, option, level]. `variant` is the second parameter of the lighting
// request; 255 selects option 2 of lighting mode 2. Nothing when "LedColor" is missing or no
// colour (outside 0 to 0xFFFFFF), or the first lighting mode entry is missing (its option or
// level negative): such values would reach the mouse as garbage.
std::optional<std::array<std::uint8_t, 7>> EncodeLighting(const SettingsRecord& settings,
                                                          int variant);

// The four bytes of a button's assignment. `macroDeviceSlot` is the device slot of the macro a
// macro button names (needed only for function code 6). Nothing when the assignment has no
// encoding: a macro button without its macro, or a function code the mouse has no code for.
std::optional<std::array<std::uint8_t, 4>>
EncodeButtonAssignment(const ButtonAssignment& entry, int profile, int button,
                       std::optional<int> macroDeviceSlot);

// The 200 bytes of a macro slot: the first `count` events (clamped to 0..60), zeros, and the
// end mark 0xFF in bytes 195 to 197.
std::array<std::uint8_t, 200> EncodeMacroSlot(const MacroEventBuffer& events, int count);
