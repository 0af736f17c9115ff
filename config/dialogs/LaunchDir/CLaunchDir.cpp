#include "config/dialogs/LaunchDir/CLaunchDir.h"

#include "config/dialogs/DialogTemplates.h"

CLaunchDir::CLaunchDir(winlayer::Window* parent, std::wstring title, std::wstring secondText,
                       std::wstring hint)
    : CLaunchTargetDlg(IDD_LAUNCHDIR, parent, std::move(title), std::move(secondText),
                       std::move(hint), &CTargetChooser::Folder) {}
