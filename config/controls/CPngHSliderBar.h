#pragma once

#include "config/controls/CPngHSlider.h"
#include "config/controls/CSliderScale.h"
#include "config/controls/SkinPicture.h"
#include "winlayer/Window.h"

#include <string>

// A slider track: paints its background picture and, left of the thumb, its fill picture; owns
// the thumb. A press on the track and again its release move the thumb to the value under the
// cursor and post 0x446 (value, id) to the parent; a dragged thumb's value is passed on the same
// way.
class CPngHSliderBar : public winlayer::Window {
public:
    // The rectangle is in the parent's client coordinates; the thumb pictures and the two shape
    // switches go to the thumb.
    bool Create(const std::wstring& thumbImagePath, const std::wstring& thumbDisabledImagePath,
                int left, int top, int right, int bottom, HWND parent, int id, bool shapeFlag,
                bool keyRowFlag);

    void SetRange(int minimum, int maximum);
    void SetPos(int value);
    // Cut (x, y, width, height) out of the sources, which stay the caller's.
    void SetBackImage(int x, int y, int width, int height, Gdiplus::Bitmap* source);
    void SetImages(int x, int y, int width, int height, Gdiplus::Bitmap* backSource,
                   Gdiplus::Bitmap* fillSource);

    CPngHSlider& Thumb() { return m_thumb; }
    int Id() const { return m_id; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    int OnCreate(CREATESTRUCTW& create) override;
    void OnDestroy() override;
    void OnPaint() override;
    bool OnEraseBkgnd(HDC dc) override;
    void OnEnable(bool enabled) override;
    void OnLButtonDown(UINT flags, POINT point) override;
    void OnLButtonUp(UINT flags, POINT point) override;

private:
    void TrackClick(POINT point);
    // The background and the fill left of the thumb, from the bar's point `origin` on, drawn
    // at (0, 0) of dc.
    void PaintTrack(HDC dc, POINT origin) const;

    PicturePtr m_back;
    PicturePtr m_fill;
    std::wstring m_thumbPath;
    std::wstring m_thumbDisabledPath;
    RECT m_rect{};
    CSliderScale m_scale;
    int m_id = 0;
    HWND m_parent = nullptr;
    bool m_shapeFlag = false;
    bool m_keyRowFlag = false;
    CPngHSlider m_thumb;
};
