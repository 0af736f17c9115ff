#pragma once

#include "winlayer/Dialog.h"

// The configuration program's main window.
class CLucfgDlg : public winlayer::Dialog {
public:
    static constexpr wchar_t kWindowTitle[] = L"Selvin V212 Gaming Mouse";

    CLucfgDlg();
};
