#pragma once

#include "winlayer/Dialog.h"

#include <windows.h>

#include <functional>
#include <vector>

// Drives a modal dialog from inside its own loop: the steps run one per timer tick of the thread
// (also inside nested modal loops), so that every message a step posts is handled by the loop
// that is running then. Steps that should reach the dialog post; they do not send.
class ModalSteps {
public:
    using Step = std::function<void()>;

    ModalSteps(winlayer::Dialog& dialog, std::vector<Step> steps);
    ~ModalSteps();
    ModalSteps(const ModalSteps&) = delete;
    ModalSteps& operator=(const ModalSteps&) = delete;

    // Runs the dialog with the steps; a dialog still open well after the last step is ended
    // with kTimedOut, so a test that forgets to close it fails instead of hanging.
    INT_PTR Run();

    static constexpr INT_PTR kTimedOut = -2;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);

    winlayer::Dialog& m_dialog;
    std::vector<Step> m_steps;
    size_t m_next = 0;
    int m_idleTicks = 0;
    UINT_PTR m_timer = 0;
};

// Posts a click notice of button to its dialog.
void PostClick(HWND button);
// Posts a key press to window.
void PostKey(HWND window, WPARAM key);
// The shown top-level windows of this thread that `which` keeps, topmost first.
std::vector<HWND> ShownWindows(const std::function<bool(HWND)>& which);
// The shown windows of this thread that window owns (pop-ups, menus, boxes), topmost first.
std::vector<HWND> OwnedWindows(HWND window);
// A window of the dialog class: a dialog, a box, a skinned menu.
bool IsDialogWindow(HWND hwnd);
// The enabled pop-up (a nested modal box) that window owns, or null.
HWND OpenBoxOf(HWND window);
// The child window of class cls at rect of the window's client area, or null.
HWND ChildAt(HWND window, const RECT& rect, const wchar_t* cls);
