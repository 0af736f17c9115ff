#include "config/core/ServiceWindow.h"

namespace ServiceWindow {

HWND Find() {
    return FindWindowW(nullptr, kTitle);
}

bool Post(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = Find();
    return window != nullptr && PostMessageW(window, message, wParam, lParam) != 0;
}

bool SendWithTimeout(UINT message, WPARAM wParam, LPARAM lParam, UINT timeoutMs) {
    HWND window = Find();
    DWORD_PTR result = 0;
    return window != nullptr && SendMessageTimeoutW(window, message, wParam, lParam,
                                                    SMTO_ABORTIFHUNG, timeoutMs, &result) != 0;
}

} // namespace ServiceWindow
