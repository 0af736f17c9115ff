#pragma once

#include "shared/codes/MacroEvent.h"

#include <cstdint>
#include <span>

// Checks and sums over a macro's events, as the main window shows them.

// True when playing the events leaves no key or mouse button pressed: every press is followed
// by a later release of the same key (or button). Also true without any press.
bool MacroKeysReleased(std::span<const MacroEvent> events);

// The main window's check over the whole event buffer: the same as MacroKeysReleased.
bool RebuildMacroLists(const MacroEventBuffer& events);

// The macro's total time in milliseconds: the sum of its delay events.
std::uint32_t SumMacroTime(const MacroEventBuffer& events);
