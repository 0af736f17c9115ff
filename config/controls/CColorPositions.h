#pragma once

#include <windows.h>

#include <string>

// Where the colour selector's hue marker and square cursor stand.
struct ColorPositions {
    int hueX = 227;
    int satX = 124;
    int valY = 5;
};

// Conversions between a colour and the colour selector's positions: the hue strip runs from
// 360 degrees at x 8 down to 0 at x 227, the square from grey (x 9) to full saturation (x 124)
// and from full value (y 5) down to black (y 98).
class CColorPositions {
public:
    static constexpr int kHueLeft = 8;
    static constexpr int kHueRight = 227;
    static constexpr int kSatLeft = 9;
    static constexpr int kSatRight = 124;
    static constexpr int kValTop = 5;
    static constexpr int kValBottom = 98;

    static COLORREF ColorAt(const ColorPositions& pos);
    // The fully saturated, full-value colour shown for the hue marker at x.
    static COLORREF HueColor(int hueX);
    static ColorPositions FromColor(COLORREF color);

    // Left (grey) and right (hue) ends of the square's gradient line at row i (0 to 93).
    static COLORREF SquareRowGrey(int row);
    static COLORREF SquareRowHue(int row, COLORREF hue);

    // One arrow step on a channel, kept within 0 to 255.
    static int StepChannel(int value, int delta);
    static int ClampChannel(int value);
    // The colour as six hexadecimal digits in the order people read colours: red, green, blue.
    static std::wstring HexText(COLORREF color);

    // Standard sector conversion; h in degrees (any h is brought into 0 to 360), s and v 0 to 1.
    static COLORREF FromHsv(double h, double s, double v);
};
