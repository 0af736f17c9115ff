#pragma once

#include "config/controls/CMarkerTrack.h"
#include "config/controls/SkinPicture.h"
#include "winlayer/Window.h"

#include <array>
#include <span>
#include <string>

// The bar of the seven lighting stage markers: a colour band running red, yellow, green, cyan,
// blue, magenta and back to red between the markers, a light picture per shown marker, and
// markers dragged over 20 positions. A released marker is reported with 0x447 (position,
// marker index) to the parent.
class CPngMultiHSliderBar : public winlayer::Window {
public:
    // Red, green and blue of one point of the band.
    using Rgb = std::array<BYTE, 3>;

    CPngMultiHSliderBar();

    // The marker arrays are shared by every bar; the owner reads them directly.
    static MarkerArrays& Markers();

    // The rectangle is in the parent's client coordinates. The picture path and the three
    // extra values are accepted for the owner's sake; the bar draws the pictures given to
    // SetImages.
    bool Create(const std::wstring& imagePath, int extra, int left, int top, int right, int bottom,
                HWND parent, int id, int extra2, int extra3);
    // The first value has no meaning for the bar.
    void SetRange(int unused, int minimum, int maximum);
    // Cuts (x, y, width, height) out of the bar source, which stays the caller's. The second
    // source is accepted for the owner's sake; the bar has no use for it.
    void SetImages(int x, int y, int width, int height, Gdiplus::Bitmap* barSource,
                   Gdiplus::Bitmap* secondSource);
    // At most seven values are taken.
    void SetPositions(std::span<const int> values);
    // The colour the bar shows at lighting point index (0 to 19), taken from its own drawing so
    // that covered or off-screen bars give the same answer.
    Rgb GetColorAt(int index) const;

    const CMarkerTrack& Track() const { return m_track; }

protected:
    int OnCreate(CREATESTRUCTW& create) override;
    void OnDestroy() override;
    void OnPaint() override;
    bool OnEraseBkgnd(HDC dc) override;
    void OnLButtonDown(UINT flags, POINT point) override;
    void OnMouseMove(UINT flags, POINT point) override;
    void OnLButtonUp(UINT flags, POINT point) override;

private:
    void Render(Gdiplus::Graphics& graphics, int width, int height) const;
    void Redraw() const;

    PicturePtr m_bar;
    std::array<PicturePtr, 6> m_lights;
    RECT m_rect{};
    HWND m_parent = nullptr;
    CMarkerTrack m_track;
};
