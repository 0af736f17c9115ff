#include "config/mainwindow/CLucfgApp.h"

#include "config/mainwindow/CLucfgDlg.h"
#include "winlayer/Format.h"

#include <gdiplus.h>

bool CLucfgApp::InitInstance() {
    const std::wstring mutexName = winlayer::Format(L"%ls_Mutex", CLucfgDlg::kWindowTitle);
    m_mutex.Reset(CreateMutexW(nullptr, FALSE, mutexName.c_str()));
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        // Another copy runs: leave without a word to it.
        m_mutex.Reset();
        return false;
    }
    // The skinned controls draw with GDI+ from their creation on.
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&m_gdiplusToken, &input, nullptr);
    {
        CLucfgDlg dialog;
        SetMainWindow(&dialog);
        dialog.DoModal();
        SetMainWindow(nullptr);
    }
    return false;
}

int CLucfgApp::ExitInstance() {
    if (m_mutex) {
        ReleaseMutex(m_mutex.Get());
        m_mutex.Reset();
    }
    if (m_gdiplusToken != 0) {
        Gdiplus::GdiplusShutdown(m_gdiplusToken);
        m_gdiplusToken = 0;
    }
    return Application::ExitInstance();
}
