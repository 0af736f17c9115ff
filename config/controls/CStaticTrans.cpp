#include "config/controls/CStaticTrans.h"

#include "config/controls/CControlGlobals.h"

bool CStaticTrans::Create(const wchar_t* text, DWORD style, const RECT& rect, HWND parent, int id) {
    return Window::Create(L"STATIC", text, style | WS_CHILD, rect, parent, id);
}

RECT CStaticTrans::RectInParent() const {
    RECT r{};
    GetWindowRect(Hwnd(), &r);
    MapWindowPoints(nullptr, GetParent(Hwnd()), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void CStaticTrans::SetTextColor(COLORREF color) {
    m_textColor = color;
    // A hidden parent paints the whole label when it shows.
    if (Hwnd() == nullptr || !IsWindowVisible(GetParent(Hwnd()))) {
        return;
    }
    RECT r = RectInParent();
    InflateRect(&r, -2, -2);
    InvalidateRect(GetParent(Hwnd()), &r, FALSE);
}

LRESULT CStaticTrans::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT && IsWindowVisible(GetParent(Hwnd()))) {
        // The old text must leave the picture before the new one is drawn.
        const RECT r = RectInParent();
        InvalidateRect(GetParent(Hwnd()), &r, TRUE);
    }
    return Window::WindowProc(message, wParam, lParam);
}

HBRUSH CStaticTrans::OnReflectedCtlColor(HDC dc, UINT) {
    HBRUSH brush = nullptr;
    if (m_bkColor == kTransparent) {
        winlayer::FontHandle font(
            CreateFontW(m_fontHeight, 0, 0, 0, m_fontWeight, m_italic ? TRUE : FALSE, FALSE, FALSE,
                        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, 6, 14,
                        CControlGlobals::FaceName().c_str()));
        SelectObject(dc, font.Get());
        m_font = std::move(font);
        m_brush.Reset();
        brush = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
        SetBkMode(dc, TRANSPARENT);
    } else {
        m_brush.Reset(CreateSolidBrush(m_bkColor));
        brush = m_brush.Get();
        ::SetBkColor(dc, m_bkColor);
    }
    ::SetTextColor(dc, m_textColor);
    return brush;
}
