#pragma once

#include <string>

// Process-wide state the skinned controls share with the configuration program's main window:
// the program folder their fixed skin pictures are loaded from, the face name of every font they
// create, and the two edit flags a coloured edit sets when it takes the focus (the main window
// clears them once it has taken the edited value).
class CControlGlobals {
public:
    // Folder with a trailing separator; until set, the folder of the running program.
    static const std::wstring& ProgramFolder();
    static void SetProgramFolder(std::wstring folder);
    // Full path of a file under "skins\" in the program folder.
    static std::wstring SkinPath(const std::wstring& fileName);

    static const std::wstring& FaceName();
    static void SetFaceName(std::wstring face);

    static bool EditInProgress();
    static void SetEditInProgress(bool on);
    static bool SecondEditFlag();
    static void SetSecondEditFlag(bool on);
};
