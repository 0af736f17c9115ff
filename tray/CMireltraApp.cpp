#include "tray/CMireltraApp.h"

#include "winlayer/Format.h"

bool CMireltraApp::InitInstance() {
    const std::wstring mutexName = winlayer::Format(L"%ls_Mutex", CPennrack::kWindowTitle);
    m_mutex.Reset(CreateMutexW(nullptr, FALSE, mutexName.c_str()));
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        // Another copy runs: leave without a word to it.
        m_mutex.Reset();
        return false;
    }
    m_tray = std::make_unique<CPennrack>();
    if (!m_tray->CreateTrayWindow())
        return false;
    SetMainWindow(m_tray.get());
    return true;
}

int CMireltraApp::ExitInstance() {
    m_tray.reset();
    if (m_mutex) {
        ReleaseMutex(m_mutex.Get());
        m_mutex.Reset();
    }
    return Application::ExitInstance();
}
