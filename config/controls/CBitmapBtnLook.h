#pragma once

#include <windows.h>

// Which of the four state images a bitmap button paints.
enum class BtnImage { Normal, Over, Pressed, Disabled };

// Caption colours per state.
struct BtnColors {
    COLORREF normal = RGB(200, 200, 200);
    COLORREF over = RGB(255, 255, 255);
    COLORREF pressed = RGB(255, 255, 255);
    COLORREF disabled = RGB(150, 150, 150);
};

// What the owner-draw request and the button know at paint time.
struct BtnDrawState {
    bool checkable = false;
    bool checked = false;
    bool selected = false;
    bool hover = false;
    bool enabled = true;
};

// Caption orientations: horizontal, rotated 90 degrees, rotated 270 degrees.
enum BtnOrientation { kBtnHorizontal = 0, kBtnRotated90 = 2, kBtnRotated270 = 3 };

// The paint decisions of the bitmap buttons, kept apart from the window so they can be checked
// without one.
class CBitmapBtnLook {
public:
    static BtnImage ChooseImage(const BtnDrawState& state);
    static COLORREF CaptionColor(BtnImage image, const BtnColors& colors);
    // Escapement in tenths of a degree for the caption font.
    static int Escapement(int orientation);
    // Where TextOut starts the caption of the given extent in a client area of the given size;
    // a non-zero x offset pins the left edge instead of centring.
    static POINT CaptionOrigin(int orientation, SIZE extent, SIZE client, int xOffset);
};
