#include "config/controls/CBitmapBtnEdit.h"

#include "config/controls/CControlGlobals.h"
#include "config/controls/ControlMessages.h"

CBitmapBtnEdit::CBitmapBtnEdit()
    : CBitmapBtnBase(RGB(254, 0, 0), RGB(254, 0, 0),
                     DT_CENTER | DT_VCENTER | DT_WORDBREAK | DT_NOCLIP | DT_END_ELLIPSIS) {}

bool CBitmapBtnEdit::Create(const wchar_t* text, DWORD style, const RECT& rect, HWND parent,
                            int id) {
    return CBitmapBtnBase::Create(text, style | WS_CLIPCHILDREN, rect, parent, id);
}

int CBitmapBtnEdit::OnCreate(CREATESTRUCTW&) {
    const int result = static_cast<int>(Default());
    if (result == -1) {
        return result;
    }
    m_edit.Create(WS_VISIBLE | ES_CENTER | ES_NUMBER, RECT{15, 25, 58, 39}, Hwnd(), kEditId);
    SendMessageW(m_edit.Hwnd(), EM_LIMITTEXT, 5, 0);
    m_edit.SetTextColor(RGB(255, 255, 255));
    m_edit.SetBkColor(RGB(0, 0, 0));
    m_edit.SetReportKeyUps(false);
    m_edit.SetMarksEditing(true);
    // A press on the number of a button that is not checked is a click of the button: the owner
    // checks it there, and the press then places the caret in the number.
    m_edit.SetRefusedClickHandler([this] {
        SendMessageW(GetParent(Hwnd()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Hwnd()), BN_CLICKED),
                     reinterpret_cast<LPARAM>(Hwnd()));
    });
    return result;
}

void CBitmapBtnEdit::SetChecked(bool checked) {
    ChangeChecked(checked);
    m_edit.SetAcceptClicks(checked);
}

void CBitmapBtnEdit::SetCaption(const std::wstring& caption, const std::wstring& editText,
                                int xOffset, int orientation) {
    StoreCaption(caption, xOffset, orientation);
    m_editText = editText;
    if (m_edit.Hwnd() != nullptr) {
        SetWindowTextW(m_edit.Hwnd(), m_editText.c_str());
    }
    Redraw();
}

void CBitmapBtnEdit::SetEditText(const std::wstring& text) {
    m_editText = text;
    Redraw();
}

void CBitmapBtnEdit::OnPainted() {
    // Setting an unchanged text would repaint the edit and move its caret on every paint.
    if (CControlGlobals::EditInProgress() || m_edit.Hwnd() == nullptr ||
        m_edit.Text() == m_editText) {
        return;
    }
    SetWindowTextW(m_edit.Hwnd(), m_editText.c_str());
}

bool CBitmapBtnEdit::OnCommand(WPARAM wParam, LPARAM lParam) {
    // The edit's loss of the focus ends its typing: the owner takes the value then.
    if (HIWORD(wParam) == EN_KILLFOCUS && reinterpret_cast<HWND>(lParam) == m_edit.Hwnd() &&
        m_edit.Hwnd() != nullptr) {
        SendMessageW(GetParent(Hwnd()), WM_COMMAND, wParam, lParam);
        return true;
    }
    return CBitmapBtnBase::OnCommand(wParam, lParam);
}

LRESULT CBitmapBtnEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == ControlMessages::kEditEnter) {
        NotifyParent(ControlMessages::kEditEnter, 0, 0);
        return 0;
    }
    return CBitmapBtnBase::WindowProc(message, wParam, lParam);
}
