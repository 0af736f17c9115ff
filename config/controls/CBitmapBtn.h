#pragma once

#include "config/controls/CBitmapBtnBase.h"

// The skinned push or toggle button. Besides the usual click notification it posts 0x519 to its
// parent when the left button goes down (wParam 1) and up (wParam 0) on it, with its own window
// in lParam.
class CBitmapBtn : public CBitmapBtnBase {
public:
    CBitmapBtn();

    void SetCaption(const std::wstring& caption, int xOffset, int orientation);
    std::wstring GetCaption() const { return Caption(); }
    // Checked also forces the pressed look on a button that is not checkable.
    void SetCheck(bool checked) { ChangeChecked(checked); }

protected:
    void OnLButtonDown(UINT flags, POINT point) override;
    void OnLButtonUp(UINT flags, POINT point) override;
};
