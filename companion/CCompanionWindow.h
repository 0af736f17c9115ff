#pragma once

#include "winlayer/GdiObject.h"
#include "winlayer/Window.h"

// The companion program's one window: it explains that it stands in for the real tool and
// closes with its button.
class CCompanionWindow : public winlayer::Window {
public:
    static constexpr wchar_t kTitle[] = L"Varnok Mouse Tool";

    bool CreateAndShow();

protected:
    int OnCreate(CREATESTRUCTW& create) override;
    void OnDestroy() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    winlayer::FontHandle m_font;
    HWND m_close = nullptr;
};
