#pragma once

#include "winlayer/GdiObject.h"
#include "winlayer/Window.h"

#include <span>

// The stand-in flash tool's one window: it says what it is, posts its stages one by one to the
// firmware update dialog with short pauses, flashes nothing, and closes after the last stage.
class CFlashToolWindow : public winlayer::Window {
public:
    explicit CFlashToolWindow(std::span<const int> stages);

    bool CreateAndShow();

protected:
    int OnCreate(CREATESTRUCTW& create) override;
    void OnDestroy() override;
    void OnTimer(UINT_PTR id) override;

private:
    std::span<const int> m_stages;
    size_t m_next = 0;
    winlayer::FontHandle m_font;
};
