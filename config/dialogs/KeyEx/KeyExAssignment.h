#pragma once

#include "config/dialogs/BaseKeyPress/KeyEventRecorder.h"
#include "shared/store/SettingsRecord.h"

#include <span>
#include <string>
#include <vector>

// What the key assignment dialog shows and stores: key names by virtual key, the display text of
// a list of key events, and the button entry's key (function code 5 with one key event, 7 off).
namespace KeyExAssignment {
// The fixed name of the key, or the character the keyboard layout gives it (lower case, upper
// case while capsHeld); empty when the layout gives no character.
std::wstring KeyName(std::uint32_t virtualKey, bool capsHeld);
// The names of the key-down events in order, each followed by "(<n>ms)" when it carries a delay
// and one blank.
std::wstring DisplayText(std::span<const KeyEvent> events, bool capsHeld);

// The key events an entry opens with: none unless it holds an assigned key (code 5) with an
// event count of 1.
std::vector<KeyEvent> ReadEntry(const ButtonAssignment& entry);
// Code 5 with the events (at most one is kept by the dialog) or 7 without any; each event as its
// press flag 0x80 (release: 0x00) with the delay bits, then its usage id (0 when the key has
// none).
void WriteEntry(std::span<const KeyEvent> events, ButtonAssignment& entry);
} // namespace KeyExAssignment
