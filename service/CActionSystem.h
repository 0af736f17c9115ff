#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

// Every call into the system that a button action makes. The service runs them on Win32
// (CWin32ActionSystem); tests record them against a fake clock, so that key sequences and
// pauses can be checked without touching the real keyboard.
class CActionSystem {
public:
    virtual ~CActionSystem() = default;

    // keybd_event(virtualKey, 0, flags, 0).
    virtual void KeyEvent(BYTE virtualKey, DWORD flags) = 0;
    // Blocks the calling thread.
    virtual void Pause(DWORD milliseconds) = 0;
    // ShellExecuteW with the verb "open", no parameters and no working folder.
    virtual void ShellOpen(const std::wstring& file, int show) = 0;
    // Starts the program that opens ".htm" files with the address.
    virtual void OpenInBrowser(const std::wstring& address) = 0;
    virtual void LockWorkStation() = 0;
    virtual HWND ForegroundWindow() = 0;
    virtual HWND DesktopWindow() = 0;
    // SendMessageW, synchronously; its result is not used.
    virtual void SendWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // PostMessageW to the top-level window with this title; false when there is none.
    virtual bool PostToWindow(const wchar_t* title, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // A string value of the key "ROOT\sub\key" (an empty name reads the default value). Only
    // reads: a missing key is never created. Nothing when the key or the value is missing.
    virtual std::optional<std::wstring> ReadRegistryString(std::wstring_view keyPath,
                                                           std::wstring_view valueName) = 0;
    // The full path of the running program.
    virtual std::wstring ModuleFileName() = 0;
};
