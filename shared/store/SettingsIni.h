#pragma once

#include "shared/store/SettingsRecord.h"

#include <string>
#include <vector>

class CIniText;

// Loading and storing a settings record in the settings file ("Mouse.ini") or a profile file.
// Each operation holds the data folder's lock (CDataFolderLock) for its whole file work.
// Writes return 1, or 0 as soon as a write fails; reads return 1, or 0 when the file exists but
// could not be read (the record is then left as it was). Missing keys give defaults; a missing
// or malformed structure value leaves its field as it was.

enum class SettingsIniRead {
    Read,
    // The file exists but could not be read now (another program holds it, or the lock could
    // not be had): worth another try later. The record is as it was.
    Unreadable,
    // The file lacks what the caller needs; the record is as it was.
    Refused,
};

// What a file must hold for a read to count.
enum class SettingsIniNeed {
    // Anything: a missing file or key gives the defaults.
    Anything,
    // Keys in section "Setting": an empty or missing settings file holds no settings to send.
    SettingSection,
    // Every key of the record, well-formed: a file that lacks one would leave its setting or
    // button at the unset value, and a profile is never applied so.
    WholeRecord,
};

// Writes section "Setting" and then the profile keys of section "GROUP", in one write of the
// whole file. Keys of the file that the record does not own are left in place.
int SettingsIni_Write(const SettingsRecord& record, const std::wstring& path);
// The keys that SettingsIni_Write stores, put into a text that is written later.
void SettingsIni_Put(const SettingsRecord& record, CIniText& text);
// Reads section "Setting" and then "GROUP". profileIndex -1 takes "Profile" from the file (0
// when missing); any other value is stored in Profile as it is.
int SettingsIni_Read(SettingsRecord& record, const std::wstring& path, int profileIndex);
// SettingsIni_Read, saying why a read did not count.
SettingsIniRead SettingsIni_Load(SettingsRecord& record, const std::wstring& path, int profileIndex,
                                 SettingsIniNeed need);
// Opens (creating when missing) and closes the current user's "Control Panel\Desktop" key,
// then SettingsIni_Write.
int SettingsIni_WriteAll(const SettingsRecord& record, const std::wstring& path);
// SettingsIni_Load, then SettingsIni_WriteAll to the same file, so that it holds every key; a
// file that could not be read, or lacks what `need` asks, is not written.
int SettingsIni_LoadAndRewrite(SettingsRecord& record, const std::wstring& path, int profileIndex,
                               SettingsIniNeed need = SettingsIniNeed::Anything);
// Whether the file holds a whole settings record (SettingsIniNeed::WholeRecord).
bool SettingsIni_HoldsRecord(const std::wstring& path);

// The profile keys alone, in section "GROUP" (group below 1) or "GROUP<group>".
int ProfileIni_WriteGroups(const SettingsRecord& record, int group, const std::wstring& path);
int ProfileIni_ReadGroups(SettingsRecord& record, int group, const std::wstring& path);
