#include "config/dialogs/LaunchApp/CLaunchApp.h"

#include "config/dialogs/DialogTemplates.h"

CLaunchApp::CLaunchApp(winlayer::Window* parent, std::wstring title, std::wstring secondText,
                       std::wstring hint)
    : CLaunchTargetDlg(IDD_LAUNCHAPP, parent, std::move(title), std::move(secondText),
                       std::move(hint), &CTargetChooser::ProgramFile) {}
