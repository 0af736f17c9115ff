#include "service/CWin32ActionSystem.h"

#include "service/PeerWindows.h"
#include "shared/store/DataPaths.h"
#include "shared/store/RegKey.h"
#include "shared/store/ShellAccess.h"

#include <objbase.h>
#include <shellapi.h>

CWin32ActionSystem::ShellApartment::ShellApartment()
    : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}

CWin32ActionSystem::ShellApartment::~ShellApartment() {
    if (SUCCEEDED(result_)) {
        CoUninitialize();
    }
}

bool CWin32ActionSystem::ShellApartment::Entered() const {
    // A thread already in the multithreaded apartment can call the shell as well.
    return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE;
}

void CWin32ActionSystem::KeyEvent(BYTE virtualKey, DWORD flags) {
    keybd_event(virtualKey, 0, flags, 0);
}

void CWin32ActionSystem::Pause(DWORD milliseconds) {
    Sleep(milliseconds);
}

void CWin32ActionSystem::ShellOpen(const std::wstring& file, int show) {
    const ShellApartment apartment;
    ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, nullptr, show);
}

void CWin32ActionSystem::OpenInBrowser(const std::wstring& address) {
    OpenHtmlWithDefaultBrowser(address);
}

void CWin32ActionSystem::LockWorkStation() {
    ::LockWorkStation();
}

HWND CWin32ActionSystem::ForegroundWindow() {
    return GetForegroundWindow();
}

HWND CWin32ActionSystem::DesktopWindow() {
    return GetDesktopWindow();
}

void CWin32ActionSystem::SendWindowMessage(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    SendMessageW(window, message, wParam, lParam);
}

bool CWin32ActionSystem::PostToWindow(const wchar_t* title, UINT message, WPARAM wParam,
                                      LPARAM lParam) {
    return ::PostToWindow(title, message, wParam, lParam);
}

std::optional<std::wstring> CWin32ActionSystem::ReadRegistryString(std::wstring_view keyPath,
                                                                   std::wstring_view valueName) {
    RegKey key;
    if (!key.Open(keyPath, KEY_READ, false)) {
        return std::nullopt;
    }
    return key.ReadString(valueName);
}

std::wstring CWin32ActionSystem::ModuleFileName() {
    return ProgramFilePath();
}
