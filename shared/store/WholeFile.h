#pragma once

#include <optional>
#include <string>
#include <string_view>

// Files of the data folder are written whole: the new content goes to a temporary file beside
// the old one, is flushed, and is moved over it in one step. A writer killed at any moment
// leaves the old file or the new one, never a part, and readers outside the two programs never
// see half a file. Writers hold the data folder's lock (CDataFolderLock).

// The end of a temporary file's name: "Mouse.ini.saving" never reads as a settings file.
inline constexpr std::wstring_view kTemporarySuffix = L".saving";

// The file's bytes; nothing when it exists but could not be read (held, no access, a folder).
// A missing file (or folder) reads as empty, with `missing` set when given.
std::optional<std::string> ReadWholeFile(const std::wstring& path, bool* missing = nullptr);
// Puts bytes in the file's place; false, with the file as it was, when a step failed. Without
// replaceExisting a file that exists is left alone and the write fails.
bool ReplaceWholeFile(const std::wstring& path, std::string_view bytes,
                      bool replaceExisting = true);
// The whole of one file onto another, in one step.
bool CopyWholeFile(const std::wstring& from, const std::wstring& to, bool replaceExisting = true);
// Removes the temporary files that killed writers left in the folder (with its trailing
// backslash).
void RemoveLeftoverTemporaries(const std::wstring& folder);
