#pragma once

#include "winlayer/GdiObject.h"
#include "winlayer/Window.h"

// A text label drawn over the skin picture behind it, in its own colour and font.
class CStaticTrans : public winlayer::Window {
public:
    // Background colour that leaves the picture behind the label visible.
    static constexpr COLORREF kTransparent = static_cast<COLORREF>(-1);

    // Makes the STATIC window as a child with the given style.
    bool Create(const wchar_t* text, DWORD style, const RECT& rect, HWND parent, int id);

    // Stores the colour and has the parent repaint the area under the label.
    void SetTextColor(COLORREF color);
    void SetBkColor(COLORREF color) { m_bkColor = color; }
    void SetFontHeight(int height) { m_fontHeight = height; }
    void SetFontWeight(int weight) { m_fontWeight = weight; }
    void SetItalic(bool italic) { m_italic = italic; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    HBRUSH OnReflectedCtlColor(HDC dc, UINT message) override;

private:
    // The label's rectangle in its parent's client coordinates.
    RECT RectInParent() const;

    COLORREF m_textColor = RGB(255, 255, 255);
    COLORREF m_bkColor = kTransparent;
    int m_fontHeight = 16;
    int m_fontWeight = 400;
    bool m_italic = false;
    winlayer::BrushHandle m_brush;
    // Stays selected in the label's paint DC, so it lives until the next colour request.
    winlayer::FontHandle m_font;
};
