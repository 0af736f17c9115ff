#pragma once

#include "winlayer/Window.h"

#include <windows.h>

#include <gdiplus.h>

#include <string>

// The skinned progress bar: a background picture covered from the left by a second picture in
// proportion to the position within the range, with a caption over both. The pictures and the
// font stay the owner's and must outlive the bar's window.
class CDMarker : public winlayer::Window {
public:
    // Child window over rect with range 0..10 and position 0.
    bool Create(const RECT& rect, HWND parent, int id);

    // No redraw: the owner sets the range before any position.
    void SetRange(int minimum, int maximum);
    // A position outside the range shows the minimum (an empty bar). Redraws at once.
    void SetPos(int position);
    void SetText(const std::wstring& text);
    void SetPictures(Gdiplus::Bitmap* background, Gdiplus::Bitmap* foreground);
    void SetFont(HFONT font) { m_font = font; }

    int Pos() const { return m_pos; }
    const std::wstring& Text() const { return m_caption; }

    // Width of the covered part of a bar `width` pixels wide; 0 for an empty or reversed range
    // and never more than the bar.
    static int FilledWidth(int position, int minimum, int maximum, int width);

protected:
    void OnPaint() override;
    bool OnEraseBkgnd(HDC dc) override;
    void OnLButtonUp(UINT flags, POINT point) override;

private:
    std::wstring m_caption;
    Gdiplus::Bitmap* m_background = nullptr;
    Gdiplus::Bitmap* m_foreground = nullptr;
    RECT m_layout{};
    int m_min = 0;
    int m_max = 10;
    int m_pos = 0;
    HFONT m_font = nullptr;
};
