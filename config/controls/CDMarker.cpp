#include "config/controls/CDMarker.h"

#include "config/controls/SkinPicture.h"
#include "winlayer/DoubleBuffer.h"
#include "winlayer/ObjectSelection.h"
#include "winlayer/PaintDC.h"

#include <algorithm>
#include <cstdint>

namespace {
constexpr COLORREF kCaptionColor = RGB(200, 200, 200);
constexpr UINT kCaptionFormat =
    DT_CENTER | DT_VCENTER | DT_WORDBREAK | DT_SINGLELINE | DT_NOCLIP | DT_END_ELLIPSIS;

// Pictures that failed to load or cut can come with no pixels at all.
bool HasPixels(Gdiplus::Bitmap* picture) {
    return picture != nullptr && picture->GetWidth() > 0 && picture->GetHeight() > 0;
}
} // namespace

bool CDMarker::Create(const RECT& rect, HWND parent, int id) {
    m_layout = rect;
    m_min = 0;
    m_max = 10;
    m_pos = 0;
    return Window::Create(nullptr, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, rect, parent, id);
}

void CDMarker::SetRange(int minimum, int maximum) {
    m_min = minimum;
    m_max = maximum;
}

void CDMarker::SetPos(int position) {
    m_pos = (position >= m_min && position <= m_max) ? position : m_min;
    if (Hwnd() != nullptr) {
        InvalidateRect(Hwnd(), nullptr, TRUE);
        UpdateWindow(Hwnd());
    }
}

void CDMarker::SetText(const std::wstring& text) {
    m_caption = text;
    if (Hwnd() != nullptr) {
        InvalidateRect(Hwnd(), nullptr, TRUE);
    }
}

void CDMarker::SetPictures(Gdiplus::Bitmap* background, Gdiplus::Bitmap* foreground) {
    m_background = background;
    m_foreground = foreground;
    if (Hwnd() != nullptr) {
        InvalidateRect(Hwnd(), nullptr, TRUE);
    }
}

int CDMarker::FilledWidth(int position, int minimum, int maximum, int width) {
    if (maximum <= minimum || width <= 0) {
        return 0;
    }
    // 64 bits: a wide bar with a large range must not overflow.
    const std::int64_t filled = (static_cast<std::int64_t>(position) - minimum) * width /
                                (static_cast<std::int64_t>(maximum) - minimum);
    return static_cast<int>(std::clamp<std::int64_t>(filled, 0, width));
}

void CDMarker::OnPaint() {
    const winlayer::PaintDC paint(Hwnd());
    RECT client{};
    GetClientRect(Hwnd(), &client);
    winlayer::DoubleBuffer buffer(paint.Get(), client);
    const int w = buffer.Width();
    const int h = buffer.Height();
    {
        // Released before the caption is drawn with GDI on the same device context.
        Gdiplus::Graphics graphics(buffer.Dc());
        if (HasPixels(m_background)) {
            DrawStretched(graphics, m_background, Gdiplus::Rect(0, 0, w, h));
        }
        if (HasPixels(m_foreground)) {
            // Pixel for pixel, never past the picture's own edges.
            const int f = std::min(FilledWidth(m_pos, m_min, m_max, m_layout.right - m_layout.left),
                                   static_cast<int>(m_foreground->GetWidth()));
            const int fh = std::min(h, static_cast<int>(m_foreground->GetHeight()));
            if (f > 0 && fh > 0) {
                graphics.DrawImage(m_foreground, Gdiplus::Rect(0, 0, f, fh), 0, 0, f, fh,
                                   Gdiplus::UnitPixel);
            }
        }
    }
    if (m_caption.empty()) {
        return;
    }
    SetBkMode(buffer.Dc(), TRANSPARENT);
    SetTextColor(buffer.Dc(), kCaptionColor);
    const winlayer::ObjectSelection font(buffer.Dc(), m_font);
    RECT area{0, 0, w, h};
    DrawTextW(buffer.Dc(), m_caption.c_str(), static_cast<int>(m_caption.size()), &area,
              kCaptionFormat);
}

bool CDMarker::OnEraseBkgnd(HDC) {
    return true;
}

void CDMarker::OnLButtonUp(UINT, POINT) {}
