#pragma once

#include <string>

// What a program does with the data folder before it first reads it: temporary files that a
// killed writer left are removed, and a "Mouse.ini" that holds no settings (emptied or
// overwritten by a disk fault or another program) is kept aside under another name and replaced
// by the newest whole profile file: each profile file is a copy of the settings file from its
// profile's last change, lists included, so the program links and macro names survive. A
// missing "Mouse.ini" is a first start and stays missing. The data folder ends with a backslash.
// True when the settings file was restored from a profile.
bool RepairSettingsFile(const std::wstring& dataFolder);
