#pragma once
#include <windows.h>

namespace winlayer {

// The message loop of the application and of modal dialogs. Each message is first offered to
// PreTranslateMessage of its window's object and then of each parent's object up to the
// top-level window (keyboard messages start at the focused child); then, when the top-level
// window is a dialog, to IsDialogMessage; only then is it translated and dispatched.
class MessageLoop {
public:
    // Runs until WM_QUIT and returns its exit code.
    static int Run();
    // Runs until done is true; false when WM_QUIT ended it, which is posted again for the
    // loop outside.
    static bool RunUntil(const bool& done);
    // The pre-translation steps; true when the message was consumed.
    static bool PreTranslate(MSG& msg);
    static void Process(MSG& msg);
};

} // namespace winlayer
