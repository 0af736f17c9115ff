#pragma once

#include <windows.h>

#include <memory>

// An object that has taken a child window over, as a skin for scroll bars takes a list over: the
// window's user data points at the object, the object keeps the procedure the window had, and
// the window lives inside the object's own window. Host records the object for the window and
// keeps it from then on; RestoreHostedWindow gives the window back and ends the object.
class CWindowHost {
public:
    CWindowHost(WNDPROC previousProcedure, HWND ownWindow)
        : m_previousProcedure(previousProcedure), m_ownWindow(ownWindow) {}
    virtual ~CWindowHost() = default;
    CWindowHost(const CWindowHost&) = delete;
    CWindowHost& operator=(const CWindowHost&) = delete;

    WNDPROC PreviousProcedure() const { return m_previousProcedure; }
    HWND OwnWindow() const { return m_ownWindow; }
    // Told once the window has been given back, just before the object is deleted.
    virtual void Finish() {}

    // The host of `window` from now on: the window's user data points at it. A host the window
    // had before is replaced without being given anything back.
    static CWindowHost& Host(HWND window, std::unique_ptr<CWindowHost> host);

    // The window that every given-back window finally goes to; null (the default) leaves it with
    // the parent of the object's own window.
    static void SetDesignatedHost(HWND host);
    static HWND DesignatedHost();

private:
    WNDPROC m_previousProcedure;
    HWND m_ownWindow;
};

// Gives back a window that a CWindowHost holds: its procedure and an empty user data, the parent
// of the host's own window (then the designated host, when one is set) as its parent, and the
// host's own window's place; then the host finishes and is deleted. A window no host holds is
// left as it is, whatever its user data holds.
void RestoreHostedWindow(HWND window);
