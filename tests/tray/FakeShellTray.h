#pragma once

#include <windows.h>

#include <vector>

// Takes the place of the shell's notification area for the tray program, in this process or
// another: a hidden top-most window of the class the shell's icon functions send to. It records
// each icon call it receives (as long as this thread pumps messages).
class FakeShellTray {
public:
    struct Call {
        DWORD command; // NIM_ADD, NIM_DELETE, ...
        HWND window;   // the window the icon belongs to
        bool windowAlive;
    };

    FakeShellTray();
    FakeShellTray(const FakeShellTray&) = delete;
    FakeShellTray& operator=(const FakeShellTray&) = delete;
    ~FakeShellTray();

    // True when the icon functions will find this window rather than the system's.
    bool IsTheTray() const;
    const std::vector<Call>& Calls() const { return m_calls; }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_window = nullptr;
    std::vector<Call> m_calls;
};
