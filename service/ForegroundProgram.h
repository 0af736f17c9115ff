#pragma once

#include <windows.h>

#include <optional>
#include <string>

// Which program the user is working in, by the executable name of a process (the file name
// without its folder, as the process snapshot gives it).

// The executable name of the process with this id; nothing when no snapshot can be taken or no
// process has the id.
std::optional<std::wstring> ExecutableNameOfProcess(DWORD processId);

// The executable name of the process that owns the foreground window; nothing when there is no
// foreground window or its process is not found.
std::optional<std::wstring> ForegroundProgramName();
