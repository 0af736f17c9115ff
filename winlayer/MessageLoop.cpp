#include "winlayer/MessageLoop.h"

#include "winlayer/Dialog.h"

namespace winlayer {

int MessageLoop::Run() {
    MSG msg{};
    for (;;) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            return static_cast<int>(msg.wParam);
        }
        if (got == -1) {
            return -1;
        }
        Process(msg);
    }
}

bool MessageLoop::RunUntil(const bool& done) {
    MSG msg{};
    while (!done) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (got == -1) {
            return false;
        }
        Process(msg);
    }
    return true;
}

bool MessageLoop::PreTranslate(MSG& msg) {
    // Each step looks its window up again: a handler may destroy windows on the way.
    for (HWND hwnd = msg.hwnd; hwnd != nullptr; hwnd = GetParent(hwnd)) {
        if (Window* window = Window::FromHandle(hwnd); window && window->PreTranslateMessage(msg)) {
            return true;
        }
        if ((GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) == 0) {
            break;
        }
    }
    HWND root = msg.hwnd != nullptr ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    return root != nullptr && Dialog::IsDialogWindow(root) && IsDialogMessageW(root, &msg);
}

void MessageLoop::Process(MSG& msg) {
    if (!PreTranslate(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

} // namespace winlayer
