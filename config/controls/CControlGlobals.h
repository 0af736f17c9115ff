#pragma once

#include <string>

// Process-wide state the skinned controls share with the configuration program's main window:
// the face name of every font they create, and the two edit flags a coloured edit sets when it
// takes the focus (the main window clears them once it has taken the edited value). Their skin
// pictures come from SkinFile's program folder.
class CControlGlobals {
public:
    static const std::wstring& FaceName();
    static void SetFaceName(std::wstring face);

    static bool EditInProgress();
    static void SetEditInProgress(bool on);
    static bool SecondEditFlag();
    static void SetSecondEditFlag(bool on);
};
