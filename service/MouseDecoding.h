#pragma once

#include "shared/store/SettingsRecord.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

// How settings read back from the mouse's memory map back to the settings record: the inverse
// of the encodings the service sends.

// The stage value of a DPI code and its range byte. Code 100 stands for the values 0 and 84; the
// higher is taken. Nothing for a pair that no stage value encodes to.
std::optional<int> DecodeDpiStage(std::uint8_t code, std::uint8_t range);

// The "LedMode" (1 to 13) that the mouse's lighting mode code and option were sent for: the first
// mode whose encoding gives them (modes 11 and 13 both give 0, 0). Nothing for a pair that no
// mode encodes to.
std::optional<int> DecodeLightingMode(std::uint8_t code, std::uint8_t option);

// The "MACRO_LIST" position whose macro lives in this device slot (slot 2 is never used);
// nothing for any other slot.
std::optional<int> MacroPositionOfSlot(int slot);

// Takes the four bytes of a button's assignment into `entry`: the function code and the
// parameters the bytes carry. A macro button gets its "MACRO_LIST" position and the name listed
// there (`macroNames`, positions 0 to 5). False, with the entry left as it was, when the bytes
// name no function.
bool DecodeButtonAssignment(std::span<const std::uint8_t, 4> data,
                            const std::array<std::wstring, 6>& macroNames, ButtonAssignment& entry);
