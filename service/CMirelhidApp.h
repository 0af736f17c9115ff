#pragma once

#include "service/CMirelhidDlg.h"
#include "winlayer/Application.h"
#include "winlayer/UniqueHandle.h"

#include <memory>

// The device service's application object: one copy per session, owning the hidden service
// window for the life of the program.
class CMirelhidApp : public winlayer::Application {
public:
    // False (the program ends) when another copy runs or the window cannot be made.
    bool InitInstance() override;
    int ExitInstance() override;

private:
    winlayer::UniqueHandle mutex_;
    std::unique_ptr<CMirelhidDlg> window_;
};
