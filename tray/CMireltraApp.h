#pragma once

#include "tray/CPennrack.h"

#include "winlayer/Application.h"
#include "winlayer/UniqueHandle.h"

#include <memory>

// The tray program: one copy per session, held by the mutex "V212MousePennrack_Mutex"; its
// hidden tray window is the main window.
class CMireltraApp : public winlayer::Application {
public:
    bool InitInstance() override;
    int ExitInstance() override;

private:
    std::unique_ptr<CPennrack> m_tray;
    winlayer::UniqueHandle m_mutex;
};
