#pragma once

#include <optional>
#include <string>
#include <string_view>

// The user's data folder: the application-data folder followed by
// "\Selvin V212 Gaming Mouse\GamingMouse\" (with the trailing backslash). Forming it creates
// the folder and its "Profile\" and "Macro\" sub-folders, so that ini writes find them.
// Empty when the folder itself cannot be found or created; a sub-folder that cannot be made
// does not empty it.
std::wstring DataFolder();
// "Mouse.ini" in the data folder; empty when there is no data folder.
std::wstring SettingsFilePath();
// "Profile\" in the data folder, with the trailing backslash; empty when there is no data
// folder or the sub-folder cannot be made.
std::wstring ProfileFolder();
// "Macro\" in the data folder, with the trailing backslash; empty when there is no data folder
// or the sub-folder cannot be made.
std::wstring MacroFolder();

// The running program's own executable, whatever the length of its path; empty on failure.
// The programs find their skins, language file and each other beside it.
std::wstring ProgramFilePath();

// True when a name from a file or from the user may become one file name: not empty, not "."
// or "..", no path separator, drive colon, control character or character that a file name
// cannot hold, and no device name such as "CON" or "LPT1".
bool IsSafeFileName(std::wstring_view name);
// folder + name + extension (a backslash is put between folder and name when the folder lacks
// one), or nothing when the folder is empty, the name is not safe or the path would reach
// MAX_PATH characters. Every path formed from a name goes through here.
std::optional<std::wstring> JoinNamedPath(std::wstring_view folder, std::wstring_view name,
                                          std::wstring_view extension);
