#include "config/controls/CColorPositions.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

namespace {
constexpr double kHueSpan = 219.0;
constexpr double kSatSpan = 115.0;
constexpr double kValSpan = 93.0;

int Channel(double c) {
    return static_cast<int>(c * 255 + 0.5);
}
} // namespace

COLORREF CColorPositions::FromHsv(double h, double s, double v) {
    if (s == 0) {
        const int c = Channel(v);
        return RGB(c, c, c);
    }
    h = std::fmod(h, 360.0);
    if (h < 0) {
        h += 360.0;
    }
    const int sector = std::min(static_cast<int>(std::floor(h / 60)), 5);
    const double f = h / 60 - sector;
    const double p = v * (1 - s);
    const double q = v * (1 - s * f);
    const double t = v * (1 - s * (1 - f));
    double r = v, g = p, b = q;
    switch (sector) {
    case 0:
        r = v, g = t, b = p;
        break;
    case 1:
        r = q, g = v, b = p;
        break;
    case 2:
        r = p, g = v, b = t;
        break;
    case 3:
        r = p, g = q, b = v;
        break;
    case 4:
        r = t, g = p, b = v;
        break;
    default:
        break;
    }
    return RGB(Channel(r), Channel(g), Channel(b));
}

COLORREF CColorPositions::ColorAt(const ColorPositions& pos) {
    const double h = (1 - (pos.hueX - kHueLeft) / kHueSpan) * 360;
    const double s = (pos.satX - kSatLeft) / kSatSpan;
    const double v = 1 - (pos.valY - kValTop) / kValSpan;
    return FromHsv(h, s, v);
}

COLORREF CColorPositions::HueColor(int hueX) {
    return FromHsv((1 - (hueX - kHueLeft) / 221.0) * 360, 1, 1);
}

ColorPositions CColorPositions::FromColor(COLORREF color) {
    const double r = GetRValue(color) / 255.0;
    const double g = GetGValue(color) / 255.0;
    const double b = GetBValue(color) / 255.0;
    const double mx = std::max({r, g, b});
    const double mn = std::min({r, g, b});
    const double d = mx - mn;
    const double s = mx == 0 ? 0 : d / mx;
    double h = 0;
    if (d != 0) {
        if (mx == r) {
            h = 60 * (g - b) / d;
        } else if (mx == g) {
            h = 60 * (2 + (b - r) / d);
        } else {
            h = 60 * (4 + (r - g) / d);
        }
        if (h < 0) {
            h += 360;
        }
    }
    ColorPositions pos;
    pos.hueX = static_cast<int>((1 - h / 360) * kHueSpan + kHueLeft);
    pos.valY = static_cast<int>((1 - mx) * kValSpan + kValTop);
    pos.satX = static_cast<int>(s * kSatSpan + kSatLeft);
    return pos;
}

COLORREF CColorPositions::SquareRowGrey(int row) {
    const int g = 255 - row * 255 / 93;
    return RGB(g, g, g);
}

COLORREF CColorPositions::SquareRowHue(int row, COLORREF hue) {
    const double drop = row * 255 / kValSpan;
    auto fade = [drop](int c) { return c > drop ? static_cast<int>(c - drop) : 0; };
    return RGB(fade(GetRValue(hue)), fade(GetGValue(hue)), fade(GetBValue(hue)));
}

int CColorPositions::StepChannel(int value, int delta) {
    return ClampChannel(value + delta);
}

int CColorPositions::ClampChannel(int value) {
    return std::clamp(value, 0, 255);
}

std::wstring CColorPositions::HexText(COLORREF color) {
    wchar_t text[16];
    swprintf(text, 16, L"%.2x%.2x%.2x", GetRValue(color), GetGValue(color), GetBValue(color));
    return text;
}
