#pragma once

#include "config/controls/CSliderScale.h"
#include "config/controls/SkinPicture.h"
#include "winlayer/Window.h"

#include <functional>
#include <string>

// The draggable thumb of a slider bar: a child window painting a picture, optionally shaped to
// it. When a drag ends it posts 0x446 (value, id) to its parent; the thumb stays where it was
// dropped until the owner sets a position.
class CPngHSlider : public winlayer::Window {
public:
    // The track is given in the parent's client coordinates: it starts at x, runs at height y
    // and ends at trackEndX; its height is not needed. An empty disabledImagePath means no disabled
    // picture. With shapeFlag the window takes the picture's shape: pixels of the key colour,
    // sampled at the top-left pixel (or the bottom-left one with keyRowFlag), are left out.
    bool Create(const std::wstring& imagePath, const std::wstring& disabledImagePath, int x, int y,
                int trackEndX, int trackHeight, HWND parent, int id, bool shapeFlag,
                bool keyRowFlag);

    // Draws into dc at (0, 0) what the parent shows from `origin` (the parent's client point)
    // on: the thumb lays its picture over that, so that its see-through parts show the track as
    // it is at the thumb's place now.
    using Backdrop = std::function<void(HDC dc, POINT origin)>;
    void SetBackdrop(Backdrop backdrop) { m_backdrop = std::move(backdrop); }

    void SetRange(int minimum, int maximum) { m_scale.SetRange(minimum, maximum); }
    void SetDraggable(bool draggable) { m_draggable = draggable; }
    void SetEnabled(bool enabled);
    // A value outside the range moves the thumb to the minimum.
    void SetPos(int value);

    int Value() const { return m_value; }
    // Left edge in the parent's client coordinates.
    int X() const { return m_x; }
    int Width() const { return m_width; }
    bool Dragging() const { return m_dragging; }

protected:
    void OnDestroy() override;
    void OnPaint() override;
    bool OnEraseBkgnd(HDC dc) override;
    void OnLButtonDown(UINT flags, POINT point) override;
    void OnMouseMove(UINT flags, POINT point) override;
    void OnLButtonUp(UINT flags, POINT point) override;

private:
    void ShapeToPicture(bool keyRowFlag);
    void MoveTo(int x);

    PicturePtr m_image;
    PicturePtr m_disabledImage;
    int m_width = 0;
    int m_height = 0;
    int m_trackStart = 0;
    int m_trackY = 0;
    int m_trackEnd = 0;
    CSliderScale m_scale;
    int m_value = 0;
    int m_x = 0;
    int m_id = 0;
    bool m_draggable = true;
    bool m_dragging = false;
    POINT m_grab{};
    bool m_enabled = true;
    Backdrop m_backdrop;
};
