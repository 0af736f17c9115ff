#pragma once

#include "shared/codes/MacroEvent.h"
#include "shared/store/SettingsRecord.h"

#include <optional>
#include <string>
#include <vector>

// The files the main window works on in the user's data folder of the tests' Wine prefix.
class MainWindowData {
public:
    struct Macro {
        int slot; // in "MACRO_LIST"
        std::wstring name;
        std::vector<MacroEvent> events = {};
        int loopTime = 0;
    };

    // The store's defaults for profile 0 under this name, changed by the caller.
    static SettingsRecord Record(const std::wstring& profileName = L"");
    // Removes the whole data folder, then writes "Mouse.ini" from record, each listed profile's
    // file (the record under the profile's name) and each macro's file and slot.
    static void Start(const SettingsRecord& record, const std::vector<std::wstring>& profiles,
                      const std::vector<Macro>& macros);

    static void WriteSettings(const SettingsRecord& record);
    // "Mouse.ini" as the window left it.
    static SettingsRecord ReadSettings();
    static std::wstring ProfileFile(const std::wstring& name);
    // The events of the macro's file; nothing when the file is missing.
    static std::optional<std::vector<MacroEvent>> ReadMacro(const std::wstring& name);
    static int ReadLoopTime(const std::wstring& name);
    // The file names in the macro folder.
    static std::vector<std::wstring> MacroFiles();

    // A file of the build as the test sees it under Wine (a path of the build's own drive).
    static std::wstring BuiltFile(const wchar_t* path);
};
