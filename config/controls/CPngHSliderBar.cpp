#include "config/controls/CPngHSliderBar.h"

#include "config/controls/ControlMessages.h"
#include "winlayer/DoubleBuffer.h"
#include "winlayer/PaintDC.h"

#include <algorithm>

bool CPngHSliderBar::Create(const std::wstring& thumbImagePath,
                            const std::wstring& thumbDisabledImagePath, int left, int top,
                            int right, int bottom, HWND parent, int id, bool shapeFlag,
                            bool keyRowFlag) {
    m_thumbPath = thumbImagePath;
    m_thumbDisabledPath = thumbDisabledImagePath;
    m_rect = {left, top, right, bottom};
    m_parent = parent;
    m_id = id;
    m_shapeFlag = shapeFlag;
    m_keyRowFlag = keyRowFlag;
    // The thumb keeps its own pictures; the bar only creates it.
    return Window::Create(nullptr, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, m_rect, parent,
                          id);
}

int CPngHSliderBar::OnCreate(CREATESTRUCTW&) {
    const int result = static_cast<int>(Default());
    if (result == -1) {
        return result;
    }
    const int width = m_rect.right - m_rect.left;
    const int height = m_rect.bottom - m_rect.top;
    m_thumb.Create(m_thumbPath, m_thumbDisabledPath, 0, 0, width, height, Hwnd(), m_id, m_shapeFlag,
                   m_keyRowFlag);
    m_thumb.SetBackdrop([this](HDC dc, POINT origin) { PaintTrack(dc, origin); });
    m_thumb.SetPos(0);
    m_thumb.SetDraggable(true);
    return result;
}

void CPngHSliderBar::SetRange(int minimum, int maximum) {
    m_scale.SetRange(minimum, maximum);
    m_thumb.SetRange(minimum, maximum);
}

void CPngHSliderBar::SetPos(int value) {
    m_thumb.SetPos(value);
    if (Hwnd() != nullptr) {
        InvalidateRect(Hwnd(), nullptr, FALSE);
    }
}

void CPngHSliderBar::SetBackImage(int x, int y, int width, int height, Gdiplus::Bitmap* source) {
    m_back = CutPicture(source, x, y, width, height);
}

void CPngHSliderBar::SetImages(int x, int y, int width, int height, Gdiplus::Bitmap* backSource,
                               Gdiplus::Bitmap* fillSource) {
    m_back = CutPicture(backSource, x, y, width, height);
    m_fill = CutPicture(fillSource, x, y, width, height);
}

LRESULT CPngHSliderBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == ControlMessages::kSliderValue) {
        PostMessageW(m_parent, message, wParam, lParam);
        return 0;
    }
    return Window::WindowProc(message, wParam, lParam);
}

void CPngHSliderBar::OnDestroy() {
    m_back.reset();
    m_fill.reset();
    Default();
}

void CPngHSliderBar::OnPaint() {
    {
        const winlayer::PaintDC dc(Hwnd());
        RECT client{};
        GetClientRect(Hwnd(), &client);
        const winlayer::DoubleBuffer buffer(dc.Get(), client);
        PaintTrack(buffer.Dc(), POINT{0, 0});
    }
    // Whatever painted over the bar (its parent does not leave its children out) may have
    // painted over the thumb too: the thumb is drawn whenever its bar is.
    if (m_thumb.Hwnd() != nullptr) {
        InvalidateRect(m_thumb.Hwnd(), nullptr, FALSE);
    }
}

void CPngHSliderBar::PaintTrack(HDC dc, POINT origin) const {
    RECT client{};
    GetClientRect(Hwnd(), &client);
    Gdiplus::Graphics graphics(dc);
    graphics.TranslateTransform(static_cast<Gdiplus::REAL>(-origin.x),
                                static_cast<Gdiplus::REAL>(-origin.y));
    DrawStretched(graphics, m_back.get(), Gdiplus::Rect(0, 0, client.right, client.bottom));
    if (m_fill) {
        // The fill is drawn 1:1 from its left edge up to the thumb's left edge.
        const int fillWidth = std::min(m_thumb.X() + 1, static_cast<int>(m_fill->GetWidth()));
        graphics.DrawImage(m_fill.get(), Gdiplus::Rect(0, 0, fillWidth, client.bottom), 0, 0,
                           fillWidth, client.bottom, Gdiplus::UnitPixel);
    }
    graphics.Flush(Gdiplus::FlushIntentionSync);
}

bool CPngHSliderBar::OnEraseBkgnd(HDC) {
    return true;
}

void CPngHSliderBar::OnEnable(bool enabled) {
    Default();
    m_thumb.SetEnabled(enabled);
}

void CPngHSliderBar::OnLButtonDown(UINT, POINT point) {
    TrackClick(point);
}

void CPngHSliderBar::OnLButtonUp(UINT, POINT point) {
    TrackClick(point);
}

void CPngHSliderBar::TrackClick(POINT point) {
    MapWindowPoints(Hwnd(), m_parent, &point, 1);
    RECT bar{};
    GetWindowRect(Hwnd(), &bar);
    MapWindowPoints(nullptr, m_parent, reinterpret_cast<POINT*>(&bar), 2);
    const int value = m_scale.ValueFromClick(point.x, bar.left, bar.right);
    m_thumb.SetPos(value);
    InvalidateRect(Hwnd(), nullptr, FALSE);
    PostMessageW(m_parent, ControlMessages::kSliderValue, value, m_id);
}
