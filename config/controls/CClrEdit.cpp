#include "config/controls/CClrEdit.h"

#include "config/controls/CControlGlobals.h"
#include "config/controls/ControlMessages.h"
#include "config/controls/LinkedFontFace.h"

namespace {
// A timer the edit's own code may leave running; it fires once.
constexpr UINT_PTR kOneShotTimer = 4369;
} // namespace

bool CClrEdit::Create(DWORD style, const RECT& rect, HWND parent, int id) {
    if (m_border) {
        style |= WS_BORDER;
    }
    return Window::Create(L"EDIT", L"", style | WS_CHILD, rect, parent, id);
}

void CClrEdit::SetTextColor(COLORREF color) {
    m_textColor = color;
    if (Hwnd() != nullptr) {
        InvalidateRect(Hwnd(), nullptr, TRUE);
    }
}

void CClrEdit::SetBkColor(COLORREF color) {
    m_bkColor = color;
    if (Hwnd() != nullptr) {
        InvalidateRect(Hwnd(), nullptr, TRUE);
    }
}

void CClrEdit::Notify(UINT message, WPARAM wParam, LPARAM lParam) const {
    PostMessageW(GetParent(Hwnd()), message, wParam, lParam);
}

bool CClrEdit::PreTranslateMessage(MSG& msg) {
    if (msg.hwnd == Hwnd() && msg.message == WM_KEYDOWN) {
        if (msg.wParam == VK_RETURN) {
            Notify(ControlMessages::kEditEnter, 0, 0);
            return true;
        }
        if (msg.wParam == VK_BACK) {
            InvalidateRect(Hwnd(), nullptr, TRUE);
        }
    }
    return false;
}

void CClrEdit::OnKeyUp(UINT key, UINT, UINT) {
    if (m_reportKeyUps) {
        Notify(ControlMessages::kEditKeyUp, key, m_id);
    }
    Default();
}

void CClrEdit::OnSetFocus(HWND) {
    Default();
    if (m_marksEditing) {
        CControlGlobals::SetEditInProgress(true);
    }
    if (m_marksSecondFlag) {
        CControlGlobals::SetSecondEditFlag(true);
    }
}

void CClrEdit::OnLButtonDown(UINT, POINT) {
    if (!m_acceptClicks && m_refusedClick) {
        m_refusedClick();
    }
    if (m_acceptClicks) {
        Default();
    }
}

void CClrEdit::ShowCorrectedText(const std::wstring& text) {
    if (Hwnd() == nullptr || Text() == text) {
        return;
    }
    SetWindowTextW(Hwnd(), text.c_str());
    const auto end = static_cast<WPARAM>(text.size());
    SendMessageW(Hwnd(), EM_SETSEL, end, static_cast<LPARAM>(end));
}

void CClrEdit::OnTimer(UINT_PTR id) {
    if (id == kOneShotTimer) {
        KillTimer(id);
    }
    Default();
}

bool CClrEdit::OnEraseBkgnd(HDC) {
    return true;
}

bool CClrEdit::OnReflectedCommand(UINT code) {
    if (code != EN_CHANGE || !m_reportChanges) {
        return false;
    }
    Notify(ControlMessages::kEditChanged, 0, 0);
    return true;
}

HBRUSH CClrEdit::OnReflectedCtlColor(HDC dc, UINT) {
    // The face follows the text: a name beyond the interface face's own characters is drawn in
    // the face linked to it that has them.
    const std::wstring text = Text();
    if (!m_font || text != m_fontText) {
        const std::wstring face = LinkedFontFace(CControlGlobals::FaceName(), text);
        if (!m_font || face != m_fontFace) {
            m_font.Reset(CreateFontW(13, 0, 0, 0, 500, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, 0x20,
                                     face.c_str()));
            m_fontFace = face;
        }
        m_fontText = text;
    }
    SetBkMode(dc, TRANSPARENT);
    m_bkBrush.Reset(CreateSolidBrush(m_bkColor));
    ::SetTextColor(dc, m_textColor);
    ::SetBkColor(dc, m_bkColor);
    SelectObject(dc, m_font.Get());
    return m_bkBrush.Get();
}
