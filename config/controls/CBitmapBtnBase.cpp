#include "config/controls/CBitmapBtnBase.h"

#include "config/controls/CControlGlobals.h"
#include "winlayer/GdiObject.h"
#include "winlayer/ObjectSelection.h"

#include <algorithm>
#include <climits>
#include <numeric>
#include <string_view>
#include <vector>

namespace {
// The line as it fits into `width` pixels: whole, or cut after as many characters as leave
// room for the ellipsis after them.
std::wstring FittedLine(HDC dc, const std::wstring& text, int width, bool ellipsis) {
    constexpr std::wstring_view kEllipsis = L"...";
    const int length = static_cast<int>(text.size());
    SIZE whole{};
    GetTextExtentPoint32W(dc, text.c_str(), length, &whole);
    if (!ellipsis || whole.cx <= width) {
        return text;
    }
    SIZE dots{};
    GetTextExtentPoint32W(dc, kEllipsis.data(), static_cast<int>(kEllipsis.size()), &dots);
    int fit = 0;
    SIZE fitting{};
    GetTextExtentExPointW(dc, text.c_str(), length, std::max(0, width - static_cast<int>(dots.cx)),
                          &fit, nullptr, &fitting);
    if (fit > 0 && IS_HIGH_SURROGATE(text[static_cast<size_t>(fit) - 1])) {
        --fit;
    }
    return text.substr(0, static_cast<size_t>(fit)).append(kEllipsis);
}

// Draws one line into the rectangle as the format places it, each character at the advance the
// font reports. Wine draws the interface face at some sizes with advances other than those it
// reports (wider for "W"), so a line cut to fit by measure would otherwise run past its room.
void DrawLine(HDC dc, const std::wstring& text, const RECT& rect, UINT format) {
    const std::wstring line =
        FittedLine(dc, text, rect.right - rect.left, (format & DT_END_ELLIPSIS) != 0);
    const int length = static_cast<int>(line.size());
    std::vector<int> advances(line.size());
    SIZE size{};
    GetTextExtentExPointW(dc, line.c_str(), length, INT_MAX, nullptr, advances.data(), &size);
    std::adjacent_difference(advances.begin(), advances.end(), advances.begin());
    POINT at{rect.left, rect.top};
    if ((format & DT_CENTER) != 0) {
        at.x += (rect.right - rect.left - size.cx) / 2;
    }
    if ((format & DT_VCENTER) != 0) {
        at.y += (rect.bottom - rect.top - size.cy) / 2;
    }
    ExtTextOutW(dc, at.x, at.y, 0, nullptr, line.c_str(), static_cast<UINT>(length),
                advances.data());
}
} // namespace

CBitmapBtnBase::CBitmapBtnBase(COLORREF overColor, COLORREF pressedColor, UINT textRectFormat)
    : m_textRectFormat(textRectFormat) {
    m_colors.over = overColor;
    m_colors.pressed = pressedColor;
}

CBitmapBtnBase::~CBitmapBtnBase() {
    if (m_toolTip && Hwnd() != nullptr) {
        m_toolTip->RemoveTool(Hwnd());
    }
}

bool CBitmapBtnBase::Create(const wchar_t* text, DWORD style, const RECT& rect, HWND parent,
                            int id) {
    return Window::Create(L"BUTTON", text, style | WS_CHILD | BS_OWNERDRAW, rect, parent, id);
}

void CBitmapBtnBase::SetImages(int x, int y, int width, int height, Gdiplus::Bitmap* normalSource,
                               Gdiplus::Bitmap* overSource) {
    m_normal = CutPicture(normalSource, x, y, width, height);
    m_over.reset();
    if (overSource != normalSource) {
        m_over = CutPicture(overSource, x, y, width, height);
    }
    if (Hwnd() != nullptr) {
        ClearStyle(WS_BORDER | WS_TABSTOP);
    }
    Redraw();
}

void CBitmapBtnBase::SetCheckable(bool checkable) {
    m_checkable = checkable;
    Redraw();
}

void CBitmapBtnBase::SetFontSize(int height) {
    m_fontHeight = height;
    Redraw();
}

void CBitmapBtnBase::SetTextColors(COLORREF normal, COLORREF over, COLORREF pressed) {
    m_colors.normal = normal;
    m_colors.over = over;
    m_colors.pressed = pressed;
    Redraw();
}

void CBitmapBtnBase::SetTextRect(int left, int top, int right, int bottom) {
    m_textRect = {left, top, right, bottom};
    m_textRectMode = true;
    Redraw();
}

void CBitmapBtnBase::SetToolTipText(const std::wstring& text, bool activate) {
    if (Hwnd() == nullptr) {
        return;
    }
    m_toolTipText = text;
    if (!m_toolTip) {
        m_toolTip = SharedToolTip::For(Hwnd());
        if (!m_toolTip) {
            return;
        }
        m_toolTip->AddTool(Hwnd(), m_toolTipText);
    }
    m_toolTip->SetText(Hwnd(), m_toolTipText);
    if (m_toolTipActive && !activate) {
        m_toolTip->Hide(Hwnd());
    }
    m_toolTipActive = activate;
}

bool CBitmapBtnBase::PreTranslateMessage(MSG& msg) {
    // An inactive tool is told nothing, so its tip never shows.
    if (m_toolTip && m_toolTipActive) {
        m_toolTip->Relay(msg);
    }
    return Window::PreTranslateMessage(msg);
}

void CBitmapBtnBase::StoreCaption(const std::wstring& caption, int xOffset, int orientation) {
    m_caption = caption;
    m_xOffset = xOffset;
    m_orientation = orientation;
}

void CBitmapBtnBase::ChangeChecked(bool checked) {
    if (m_checked != checked) {
        m_checked = checked;
        Redraw();
    }
}

void CBitmapBtnBase::Redraw() const {
    // A hidden button is painted whole when it shows; asking the window server now is wasted.
    if (Hwnd() != nullptr && IsWindowVisible(Hwnd())) {
        InvalidateRect(Hwnd(), nullptr, FALSE);
    }
}

void CBitmapBtnBase::ClearStyle(LONG_PTR bits) const {
    // Reading the style stays in the process; changing it is a round trip to the window server.
    const LONG_PTR style = GetWindowLongPtrW(Hwnd(), GWL_STYLE);
    if ((style & bits) != 0) {
        SetWindowLongPtrW(Hwnd(), GWL_STYLE, style & ~bits);
    }
}

void CBitmapBtnBase::NotifyParent(UINT message, WPARAM wParam, LPARAM lParam) const {
    PostMessageW(GetParent(Hwnd()), message, wParam, lParam);
}

void CBitmapBtnBase::OnAttached() {
    ClearStyle(WS_TABSTOP);
}

void CBitmapBtnBase::OnDestroy() {
    if (m_toolTip) {
        m_toolTip->RemoveTool(Hwnd());
        m_toolTip.reset();
    }
    Default();
}

void CBitmapBtnBase::OnMouseMove(UINT flags, POINT point) {
    Default();
    const bool leftDown = (flags & MK_LBUTTON) != 0;
    if (leftDown && !m_hover) {
        return;
    }
    POINT screen = point;
    ClientToScreen(Hwnd(), &screen);
    if (GetCapture() != Hwnd()) {
        if (GetActiveWindow() != nullptr && GetParent(Hwnd()) != nullptr) {
            m_hover = true;
            SetCapture(Hwnd());
            Redraw();
        }
    } else if (WindowFromPoint(screen) != Hwnd()) {
        if (m_hover) {
            m_hover = false;
            Redraw();
        }
        if (!leftDown) {
            ReleaseCapture();
        }
    }
    NotifyParent(WM_MOUSEMOVE, flags, MAKELPARAM(screen.x, screen.y));
}

void CBitmapBtnBase::OnCaptureChanged(HWND) {
    // The capture has already moved on; the hover state stays until the next move decides.
    if (m_hover) {
        Redraw();
    }
    Default();
}

void CBitmapBtnBase::OnKillFocus(HWND) {
    Default();
    m_hover = false;
    Redraw();
}

void CBitmapBtnBase::OnLButtonUp(UINT, POINT) {
    if (!m_checkable) {
        Default();
        return;
    }
    m_checked = !m_checked;
    Redraw();
    SendMessageW(GetParent(Hwnd()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Hwnd()), BN_CLICKED),
                 reinterpret_cast<LPARAM>(Hwnd()));
}

bool CBitmapBtnBase::OnEraseBkgnd(HDC) {
    return false;
}

Gdiplus::Bitmap* CBitmapBtnBase::ImageFor(BtnImage image) const {
    if ((image == BtnImage::Over || image == BtnImage::Pressed) && m_over) {
        return m_over.get();
    }
    return m_normal.get();
}

bool CBitmapBtnBase::OnReflectedDrawItem(const DRAWITEMSTRUCT& item) {
    const BtnDrawState state{m_checkable, m_checked, (item.itemState & ODS_SELECTED) != 0, m_hover,
                             (item.itemState & ODS_DISABLED) == 0};
    const BtnImage image = CBitmapBtnLook::ChooseImage(state);
    RECT client{};
    GetClientRect(Hwnd(), &client);
    {
        Gdiplus::Graphics graphics(item.hDC);
        DrawStretched(graphics, ImageFor(image),
                      Gdiplus::Rect(0, 0, client.right - client.left, client.bottom - client.top));
    }
    if (!m_caption.empty()) {
        DrawCaption(item.hDC, client, CBitmapBtnLook::CaptionColor(image, m_colors));
    }
    OnPainted();
    return true;
}

void CBitmapBtnBase::DrawCaption(HDC dc, const RECT& client, COLORREF color) const {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color);
    const winlayer::FontHandle font(
        CreateFontW(m_fontHeight, 0, CBitmapBtnLook::Escapement(m_orientation), 0, 400, FALSE,
                    FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                    DEFAULT_QUALITY, FF_SWISS, CControlGlobals::FaceName().c_str()));
    const winlayer::ObjectSelection selection(dc, font.Get());
    const int length = static_cast<int>(m_caption.size());
    if (m_textRectMode && (m_textRectFormat & DT_SINGLELINE) != 0) {
        DrawLine(dc, m_caption, m_textRect, m_textRectFormat);
    } else if (m_textRectMode) {
        RECT r = m_textRect;
        DrawTextW(dc, m_caption.c_str(), length, &r, m_textRectFormat);
    } else {
        SIZE extent{};
        GetTextExtentPoint32W(dc, m_caption.c_str(), length, &extent);
        const SIZE size{client.right - client.left, client.bottom - client.top};
        POINT at = CBitmapBtnLook::CaptionOrigin(m_orientation, extent, size, m_xOffset);
        if (m_xOffset != 0) {
            at.x += client.left;
        }
        TextOutW(dc, at.x, at.y, m_caption.c_str(), length);
    }
}
