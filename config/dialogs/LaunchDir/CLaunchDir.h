#pragma once

#include "config/dialogs/LaunchTarget/CLaunchTargetDlg.h"

// Asks for the folder a mouse button opens: the middle button shows the folder and opens the
// shell's folder browser.
class CLaunchDir : public CLaunchTargetDlg {
public:
    CLaunchDir(winlayer::Window* parent, std::wstring title, std::wstring secondText,
               std::wstring hint);
};
