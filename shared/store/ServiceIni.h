#pragma once

#include "shared/store/SettingsRecord.h"

#include <string>

// Single keys of section "Setting" of a settings file. Writes return 1, or 0 when the write
// failed.
int ServiceIni_WriteProfile(const std::wstring& path, int value);
// "LeftCount", then "RightCount".
int ServiceIni_WriteButtonCounts(const std::wstring& path, int left, int right);
int ServiceIni_WriteFWVersion(const std::wstring& path, int value);
int ServiceIni_WriteDevice(const std::wstring& path, int value);
// The "Device" value, 0 when missing.
int ServiceIni_ReadDevice(const std::wstring& path);
int ServiceIni_WritePollingRate(int value, const std::wstring& path);
// "UniversalScrollEnabled" and "TrayEnabled" into the record, -1 when missing. 0 when the file
// exists but could not be read, with the record as it was.
int ServiceIni_ReadTrayFlags(SettingsRecord& record, const std::wstring& path);
// The four DPI stages into the record; a missing or malformed stage is left as it was. 0 when
// the file exists but could not be read.
int ServiceIni_ReadDpiInfo(SettingsRecord& record, const std::wstring& path);
