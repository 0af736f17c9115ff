#pragma once

#include "winlayer/Application.h"
#include "winlayer/UniqueHandle.h"

#include <windows.h>

// The configuration program: one copy per session, held by the mutex named after the main
// window's title. Runs the main dialog modally; the program ends when it closes.
class CLucfgApp : public winlayer::Application {
public:
    bool InitInstance() override;
    int ExitInstance() override;

private:
    winlayer::UniqueHandle m_mutex;
    ULONG_PTR m_gdiplusToken = 0;
};
