#pragma once

#include <string>

// The folder the configuration program runs from: its skins, language file, hook library and
// tools. One for the process; the main window sets it, tests set their own.
class ProgramFolder {
public:
    // With a trailing separator; until set, the folder of the running program.
    static const std::wstring& Path();
    static void Set(std::wstring folder);
};
