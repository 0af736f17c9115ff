#include "config/controls/CMirelCustomControl.h"

bool CMirelCustomControl::Create(DWORD style, const RECT& rect, HWND parent, int id) {
    return Window::Create(nullptr, L"", style | WS_CHILD, rect, parent, id);
}
