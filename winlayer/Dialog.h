#pragma once
#include "winlayer/Window.h"

namespace winlayer {

// A window made from a dialog template in the program's resources (compiled with windres).
// The object is bound before the dialog's first message, so OnCreate runs before the template's
// controls exist and OnInitDialog after. Results follow the dialog convention: IDOK 1, IDCANCEL 2.
class Dialog : public Window {
public:
    explicit Dialog(UINT templateId, Window* parent = nullptr);

    // Runs the dialog in its own loop with its owner (the parent's top-level window) disabled,
    // and destroys it at the end. Returns the EndDialog result, IDCANCEL when the window was
    // destroyed without one, -1 when the template could not be made.
    INT_PTR DoModal();
    // Makes a modeless dialog owned by owner; the owner destroys it when done.
    bool Create(UINT templateId, Window* owner);
    // Modal: ends the loop with result. Modeless: destroys the window.
    void EndDialog(INT_PTR result);
    // Ends every modal box that runs over owner as cancelled, this layer's boxes at once and the
    // system's (file and folder choosers) by their Cancel command. Each box's loop returns as
    // soon as it has control again, the innermost first.
    static void CancelModalBoxesOver(HWND owner);
    // A window of the dialog class: a dialog, a box, a skinned menu.
    static bool IsDialogWindow(HWND hwnd);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // The return value of WM_INITDIALOG: true lets the system focus the first control.
    virtual bool OnInitDialog();
    // IDOK and IDCANCEL clicks end the dialog with that result.
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    bool CreateFromTemplate(HWND owner);

    UINT templateId_;
    Window* parent_;
    bool modal_ = false;
    bool ended_ = false;
    INT_PTR result_ = IDCANCEL;
};

} // namespace winlayer
