#pragma once

#include "config/controls/CBitmapBtnBase.h"
#include "config/controls/CClrEdit.h"

// A bitmap button with a small coloured edit inside it, for buttons that show an editable
// number (digits only). The owner stores the number with SetEditText; it reaches the edit at the
// next paint unless the user is typing in it. Enter in the edit is passed on to the parent as
// 0x1403, the edit's loss of the focus as its EN_KILLFOCUS, and a press on the edit of a button
// that is not checked as a click of the button.
class CBitmapBtnEdit : public CBitmapBtnBase {
public:
    static constexpr int kEditId = 20483;

    CBitmapBtnEdit();

    // The button's window is made to clip the edit, so painting the button leaves it visible.
    bool Create(const wchar_t* text, DWORD style, const RECT& rect, HWND parent, int id);

    // Also lets the edit take mouse clicks only while the button is checked; a press on it
    // while unchecked is passed on as a click of the button.
    void SetChecked(bool checked);
    void SetCaption(const std::wstring& caption, const std::wstring& editText, int xOffset,
                    int orientation);
    void SetEditText(const std::wstring& text);
    const std::wstring& EditText() const { return m_editText; }
    // The inline edit, for the owner to place and read.
    CClrEdit& Edit() { return m_edit; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    int OnCreate(CREATESTRUCTW& create) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnPainted() override;

private:
    CClrEdit m_edit;
    std::wstring m_editText;
};
