#pragma once

#include "service/CActionSystem.h"

// The button actions' calls made on Win32.
class CWin32ActionSystem : public CActionSystem {
public:
    void KeyEvent(BYTE virtualKey, DWORD flags) override;
    void Pause(DWORD milliseconds) override;
    // Within a ShellApartment.
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
    // readers: a shell call enters a single-threaded apartment for its own length and leaves it
    // again, so that nothing is left to undo when the reader ends.
    class ShellApartment {
    public:
        ShellApartment();
        ~ShellApartment();
        ShellApartment(const ShellApartment&) = delete;
        ShellApartment& operator=(const ShellApartment&) = delete;

        // True when the thread has an apartment (this one, or one it had before).
        bool Entered() const;

    private:
        HRESULT result_;
    };
};
