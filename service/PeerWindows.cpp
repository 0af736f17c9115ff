#include "service/PeerWindows.h"

bool PostToWindow(const wchar_t* title, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = FindWindowW(nullptr, title);
    return window != nullptr && PostMessageW(window, message, wParam, lParam) != 0;
}
