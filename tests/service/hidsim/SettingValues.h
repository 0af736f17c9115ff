#pragma once

#include <cstdint>
#include <span>
#include <string>

// What a write to one setting of the mouse's memory (or the reply to a read of it) says in the
// terms the user set it in: "DPI stage 2: 5000 DPI", "polling rate 1000 Hz", "button 4: Back",
// "colour FF8000, mode 2, option 1, speed 5, level 3". Button functions are named by their texts
// in the language file, or by their keywords where it has none. Empty for bytes that are not one
// whole setting.
std::string SettingValues(std::uint16_t address, std::span<const std::uint8_t> data,
                          const std::wstring& languageFile);
