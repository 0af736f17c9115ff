#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

// How a launch dialog asks the user for a target: the chosen path, or nothing when the user
// cancelled. Tests put their own in place of the system's choosers.
using TargetChooser = std::function<std::optional<std::wstring>(HWND owner)>;

// The system's choosers used by the launch dialogs.
class CTargetChooser {
public:
    // The file-open dialog for "*.exe", starting in the programs folder.
    static std::optional<std::wstring> ProgramFile(HWND owner);
    // The shell's folder browser rooted at the desktop; only file-system folders.
    static std::optional<std::wstring> Folder(HWND owner);
};
