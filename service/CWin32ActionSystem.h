#pragma once

#include "service/CActionSystem.h"

// The button actions' calls made on Win32.
class CWin32ActionSystem : public CActionSystem {
public:
    void KeyEvent(BYTE virtualKey, DWORD flags) override;
    void Pause(DWORD milliseconds) override;
    // Initialises COM on the calling thread first (see EnterThreadApartment).
    void ShellOpen(const std::wstring& file, int show) override;
    void OpenInBrowser(const std::wstring& address) override;
    void LockWorkStation() override;
    HWND ForegroundWindow() override;
    HWND DesktopWindow() override;
    void SendWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    bool PostToWindow(const wchar_t* title, UINT message, WPARAM wParam, LPARAM lParam) override;
    std::optional<std::wstring> ReadRegistryString(std::wstring_view keyPath,
                                                   std::wstring_view valueName) override;
    std::wstring ModuleFileName() override;

    // The shell needs COM on the thread that calls it, and actions run on the input-report
    // readers. The first call on a thread initialises a single-threaded apartment there; it is
    // left when the thread ends. Later calls on that thread do nothing. True when the thread has
    // an apartment (its own, or one it had before).
    static bool EnterThreadApartment();
};
