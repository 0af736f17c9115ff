#pragma once

#include "winlayer/Window.h"

// The bare child window that custom-drawn controls derive from.
class CMirelCustomControl : public winlayer::Window {
public:
    bool Create(DWORD style, const RECT& rect, HWND parent, int id);
};
