#pragma once

#include "config/dialogs/LaunchTarget/CLaunchTargetDlg.h"

// Asks for the program a mouse button starts: the middle button shows the program's path and
// opens the file dialog for "*.exe".
class CLaunchApp : public CLaunchTargetDlg {
public:
    CLaunchApp(winlayer::Window* parent, std::wstring title, std::wstring secondText,
               std::wstring hint);
};
