#pragma once

#include "shared/codes/MacroEvent.h"
#include "shared/store/SettingsRecord.h"

#include <optional>
#include <string>
#include <vector>

// The files the main window works on in the user's data folder of the tests' Wine prefix, and
// what the tests add to the fixture's program folder.
class MainWindowData {
public:
    // Removes the whole data folder: a row starts from nothing.
    static void Clean();
    // The macro's file in the macro folder and its name in "MACRO_LIST" slot `slot`.
    static void WriteMacro(int slot, const std::wstring& name,
                           const std::vector<MacroEvent>& events, int loopTime = 0);
    // The events of the macro's file; nothing when the file is missing.
    static std::optional<std::vector<MacroEvent>> ReadMacro(const std::wstring& name);
    static int ReadLoopTime(const std::wstring& name);
    // The file names in the macro folder.
    static std::vector<std::wstring> MacroFiles();
    // "Mouse.ini" from a record of profile 0 with default settings, changed by the caller.
    static SettingsRecord DefaultRecord();
    static void WriteSettings(const SettingsRecord& record);
    static SettingsRecord ReadSettings();

    // Copies the built hook library into the program folder, so that recording can start.
    static void AddHookLibrary(const std::wstring& programFolder);
    // A language file with the texts the tests look for.
    static void WriteLanguage(const std::wstring& programFolder);
};
