#include "config/controls/CPngHSlider.h"

#include "config/controls/ControlMessages.h"
#include "config/controls/PictureRegion.h"
#include "winlayer/DoubleBuffer.h"
#include "winlayer/PaintDC.h"

#include <algorithm>

bool CPngHSlider::Create(const std::wstring& imagePath, const std::wstring& disabledImagePath,
                         int x, int y, int trackEndX, int, HWND parent, int id, bool shapeFlag,
                         bool keyRowFlag) {
    m_image = LoadPicture(imagePath);
    // The same file twice is one picture: the paint falls back to the normal one.
    if (!disabledImagePath.empty() && disabledImagePath != imagePath) {
        m_disabledImage = LoadPicture(disabledImagePath);
    }
    m_width = m_image ? static_cast<int>(m_image->GetWidth()) : 0;
    m_height = m_image ? static_cast<int>(m_image->GetHeight()) : 0;
    m_trackStart = x;
    m_trackY = y;
    m_trackEnd = trackEndX;
    m_id = id;
    m_scale.SetRange(0, 10);
    m_draggable = true;
    m_enabled = true;
    if (!CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, x - m_width / 2, y - m_height / 2,
                  m_width, m_height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)))) {
        return false;
    }
    SetWindowLongPtrW(Hwnd(), GWL_EXSTYLE, GetWindowLongPtrW(Hwnd(), GWL_EXSTYLE) | WS_EX_TOPMOST);
    if (shapeFlag) {
        ShapeToPicture(keyRowFlag);
    }
    return true;
}

void CPngHSlider::ShapeToPicture(bool keyRowFlag) {
    winlayer::RegionHandle region =
        RegionFromPictureKeyedAt(m_image.get(), keyRowFlag ? m_height - 1 : 0);
    if (region) {
        SetWindowRegion(std::move(region), true);
    }
}

void CPngHSlider::SetEnabled(bool enabled) {
    m_enabled = enabled;
    if (Hwnd() != nullptr) {
        InvalidateRect(Hwnd(), nullptr, FALSE);
    }
}

void CPngHSlider::SetPos(int value) {
    m_value = m_scale.Normalize(value);
    MoveTo(m_scale.ThumbLeft(m_value, m_trackStart, m_trackEnd, m_width));
}

void CPngHSlider::MoveTo(int x) {
    m_x = x;
    if (Hwnd() != nullptr) {
        // Drawn anew at its new place: the pixels it showed at the old one would carry that
        // place's track along.
        SetWindowPos(Hwnd(), nullptr, x, m_trackY, m_width, m_height,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    }
}

void CPngHSlider::OnDestroy() {
    m_image.reset();
    m_disabledImage.reset();
    Default();
}

void CPngHSlider::OnPaint() {
    const winlayer::PaintDC dc(Hwnd());
    Gdiplus::Bitmap* picture =
        (!m_enabled && m_disabledImage) ? m_disabledImage.get() : m_image.get();
    if (!m_backdrop) {
        if (picture != nullptr) {
            Gdiplus::Graphics graphics(dc.Get());
            graphics.DrawImage(picture, 0, 0, static_cast<INT>(picture->GetWidth()),
                               static_cast<INT>(picture->GetHeight()));
        }
        return;
    }
    RECT client{};
    GetClientRect(Hwnd(), &client);
    winlayer::DoubleBuffer buffer(dc.Get(), client);
    RECT place = client;
    MapWindowPoints(Hwnd(), GetParent(Hwnd()), reinterpret_cast<POINT*>(&place), 2);
    m_backdrop(buffer.Dc(), POINT{place.left, place.top});
    if (picture != nullptr) {
        buffer.Graphics().DrawImage(picture, 0, 0, static_cast<INT>(picture->GetWidth()),
                                    static_cast<INT>(picture->GetHeight()));
    }
}

bool CPngHSlider::OnEraseBkgnd(HDC) {
    return true;
}

void CPngHSlider::OnLButtonDown(UINT, POINT point) {
    if (!m_draggable) {
        return;
    }
    SetCapture(Hwnd());
    m_dragging = true;
    m_grab = point;
}

void CPngHSlider::OnMouseMove(UINT, POINT point) {
    if (!m_dragging) {
        return;
    }
    RECT r{};
    GetWindowRect(Hwnd(), &r);
    MapWindowPoints(nullptr, GetParent(Hwnd()), reinterpret_cast<POINT*>(&r), 2);
    const int left =
        std::max(m_trackStart, std::min<int>(r.left + point.x - m_grab.x, m_trackEnd - m_width));
    MoveTo(left);
    // The bar fills its track up to the thumb: all of it is drawn anew, then the thumb.
    InvalidateRect(GetParent(Hwnd()), nullptr, FALSE);
    UpdateWindow(GetParent(Hwnd()));
    UpdateWindow(Hwnd());
}

void CPngHSlider::OnLButtonUp(UINT, POINT) {
    if (!m_dragging) {
        return;
    }
    m_dragging = false;
    ReleaseCapture();
    m_value = m_scale.ValueFromThumbLeft(m_x, m_trackStart, m_trackEnd, m_width);
    PostMessageW(GetParent(Hwnd()), ControlMessages::kSliderValue, m_value, m_id);
}
