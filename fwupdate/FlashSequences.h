#pragma once

#include <optional>
#include <span>
#include <string_view>

// The stage sequences the stand-in plays: the successful flash without an argument, or the
// failure that the argument names ("erase-fails", "write-fails", "verify-fails",
// "prepare-fails", "up-to-date", "no-mouse"). None for an argument it does not know.
std::optional<std::span<const int>> SequenceFor(std::wstring_view argument);
