#pragma once

#include <windows.h>

#include <memory>

// The signature of the accessibility library's "ObjectFromLresult".
using ObjectFromLresultFunction = HRESULT(WINAPI*)(LRESULT result, REFIID iid, WPARAM wParam,
                                                   void** object);

// Every call with an effect that the universal scroll makes: the cursor, synthesised mouse
// events, messages to other programs' windows, COM and the accessibility library. Reading
// windows (classes, styles, rectangles, parents) goes straight to the system. The service runs
// these on Win32 (CWin32ScrollSystem); tests record them and choose what the system answers.
class CScrollSystem {
public:
    // The accessibility library, loaded for one operation and freed when the object ends.
    class Accessibility {
    public:
        virtual ~Accessibility() = default;
        // Null when the library has no "ObjectFromLresult".
        virtual ObjectFromLresultFunction ObjectFromLresult() const = 0;
    };

    virtual ~CScrollSystem() = default;

    virtual POINT CursorPos() = 0;
    virtual void SetCursorPos(int x, int y) = 0;
    virtual HWND WindowFromPoint(POINT point) = 0;
    // True when the primary and secondary mouse buttons are swapped.
    virtual bool ButtonsSwapped() = 0;
    // mouse_event with the current message's extra information.
    virtual void MouseEvent(DWORD flags, DWORD dx, DWORD dy, DWORD data) = 0;
    virtual void PostWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual void SendWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // SendMessageTimeoutW that gives up on a hung window; false when the send failed or timed
    // out.
    virtual bool SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                 UINT timeoutMs, LRESULT& result) = 0;
    // CoInitialize on the calling thread; LeaveComponentLibrary balances a successful one.
    virtual HRESULT EnterComponentLibrary() = 0;
    virtual void LeaveComponentLibrary() = 0;
    // "OLEACC.DLL"; null when it cannot be loaded.
    virtual std::unique_ptr<Accessibility> LoadAccessibility() = 0;
};
