#include "service/CMirelhidApp.h"

#include "service/PeerWindows.h"

#include <string>

bool CMirelhidApp::InitInstance() {
    const std::wstring mutexName = std::wstring(kServiceWindowTitle) + L"_Mutex";
    mutex_.Reset(CreateMutexW(nullptr, FALSE, mutexName.c_str()));
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        // The copy that runs already is left alone.
        mutex_.Reset();
        return false;
    }
    window_ = std::make_unique<CMirelhidDlg>();
    if (!window_->Create()) {
        return false;
    }
    SetMainWindow(window_.get());
    return true;
}

int CMirelhidApp::ExitInstance() {
    window_.reset();
    mutex_.Reset();
    return Application::ExitInstance();
}
