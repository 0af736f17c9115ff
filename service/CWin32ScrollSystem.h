#pragma once

#include "service/CScrollSystem.h"

// The universal scroll's calls made on Win32.
class CWin32ScrollSystem : public CScrollSystem {
public:
    POINT CursorPos() override;
    void SetCursorPos(int x, int y) override;
    HWND WindowFromPoint(POINT point) override;
    bool ButtonsSwapped() override;
    void MouseEvent(DWORD flags, DWORD dx, DWORD dy, DWORD data) override;
    void PostWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void SendWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    bool SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT timeoutMs,
                         LRESULT& result) override;
    HRESULT EnterComponentLibrary() override;
    void LeaveComponentLibrary() override;
    std::unique_ptr<Accessibility> LoadAccessibility() override;
};
