#pragma once

#include "shared/store/SettingsRecord.h"

#include <string>

// Loading and storing a settings record in the settings file ("Mouse.ini") or a profile file.
// Writes return 1, or 0 as soon as a write fails; reads return 1, or 0 when the file exists but
// could not be read (the record is then left as it was). Missing keys give defaults; a missing
// or malformed structure value leaves its field as it was.

// Writes section "Setting" and then the profile keys of section "GROUP". Keys of the file that
// the record does not own are left in place.
int SettingsIni_Write(const SettingsRecord& record, const std::wstring& path);
// Reads section "Setting" and then "GROUP". profileIndex -1 takes "Profile" from the file (0
// when missing); any other value is stored in Profile as it is.
int SettingsIni_Read(SettingsRecord& record, const std::wstring& path, int profileIndex);
// Opens (creating when missing) and closes the current user's "Control Panel\Desktop" key,
// then SettingsIni_Write.
int SettingsIni_WriteAll(const SettingsRecord& record, const std::wstring& path);
// SettingsIni_Read, then SettingsIni_WriteAll to the same file, so that it holds every key; a
// file that could not be read is not written.
int SettingsIni_LoadAndRewrite(SettingsRecord& record, const std::wstring& path, int profileIndex);
// Whether the file holds a settings record at all: a key of section "Setting" that the record
// owns, and a well-formed button entry. Reading a file that lacks one of them leaves that part of
// the record at its unset values.
bool SettingsIni_HoldsRecord(const std::wstring& path);

// The profile keys alone, in section "GROUP" (group below 1) or "GROUP<group>".
int ProfileIni_WriteGroups(const SettingsRecord& record, int group, const std::wstring& path);
int ProfileIni_ReadGroups(SettingsRecord& record, int group, const std::wstring& path);
