#pragma once

#include "shared/store/SettingsRecord.h"

#include <string>

enum class LightingFileResult {
    Read,
    Missing,    // no such file
    Incomplete, // a key the writer writes is missing or malformed (a damaged or foreign file)
    OutOfRange, // a value no control or the mouse can take
};

// A lighting file (".LED") that the user exports or imports, through the store's lighting keys.
// A file is taken whole or not at all, so a damaged one never half-changes a profile.
class LightingFile {
public:
    // Reads the file into `record` when it is complete and every value in range; otherwise
    // `record` is left exactly as it was.
    static LightingFileResult Read(SettingsRecord& record, const std::wstring& path);
    // Replaces the file by the record's lighting keys; false when it could not be written.
    static bool Write(const SettingsRecord& record, const std::wstring& path);
};
