#pragma once

#include "config/controls/CMirelCustomControl.h"
#include "winlayer/GdiObject.h"

#include <string>

// A white strip that shows a key sequence as wrapping text in which "^" and "|" are drawn as
// small pictures; when highlighted, the first lines are underlaid with a green band.
class CMirelMacroDisplay : public CMirelCustomControl {
public:
    static constexpr COLORREF kHighlightColor = 0x35B57F;

    void SetText(const std::wstring& text);
    void SetHighlight(bool highlight);
    const std::wstring& GetText() const { return m_text; }

protected:
    int OnCreate(CREATESTRUCTW& create) override;
    void OnPaint() override;

private:
    void Paint(HDC dc) const;

    std::wstring m_text;
    bool m_highlight = false;
    winlayer::BitmapHandle m_caret;
    SIZE m_caretSize{};
    winlayer::BitmapHandle m_bar;
    SIZE m_barSize{};
};
