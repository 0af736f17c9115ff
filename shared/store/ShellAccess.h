#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <string>
#include <string_view>

// Starts the program that opens ".htm" files with argument on its command line. Returns 0
// when the program was started, -1 when the file class or its command cannot be read or the
// program does not start. Only reads the registry.
int OpenHtmlWithDefaultBrowser(std::wstring_view argument);

// The program of a shell "open" command: the text trimmed and without double quotes, cut at
// the first space before which an existing file (not a folder) stands; the whole text when no
// such space exists.
std::wstring ProgramFromOpenCommand(std::wstring_view command);
// The command line that starts program with argument; the program path is quoted so that its
// spaces do not split it.
std::wstring ProgramCommandLine(std::wstring_view program, std::wstring_view argument);

// Longest path CopyFileWithShell takes: two terminators must fit MAX_PATH characters.
inline constexpr std::size_t kMaxShellPath = MAX_PATH - 2;

// Renames the file from to to with the shell's file operation (no window, the given flags).
// Returns 1 on success; 0 when a path is empty or longer than kMaxShellPath, the operation
// fails or is aborted.
int CopyFileWithShell(std::wstring_view from, std::wstring_view to, FILEOP_FLAGS flags);
