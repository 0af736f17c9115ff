#pragma once

#include "shared/store/SettingsRecord.h"

#include <string>

// A lighting file that the user exports or imports: the lighting keys of a settings record
// in section "Setting".

// Writes the file whole, in one step: nothing of an older file stays. Returns 1, or 0 when the
// write failed.
int LedIni_Write(const SettingsRecord& record, const std::wstring& path);
// Reads the lighting keys and also the DPI stages; missing integers read as 0 (switch, colour
// and modes) or -1 (stage markers), missing or malformed structures leave their fields.
// Returns 1.
int LedIni_Read(SettingsRecord& record, const std::wstring& path);
