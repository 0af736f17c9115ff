#include "config/controls/CBitmapBtn.h"

#include "config/controls/ControlMessages.h"

CBitmapBtn::CBitmapBtn()
    : CBitmapBtnBase(RGB(255, 255, 255), RGB(255, 255, 255),
                     DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_WORDBREAK | DT_NOCLIP |
                         DT_END_ELLIPSIS) {}

void CBitmapBtn::SetCaption(const std::wstring& caption, int xOffset, int orientation) {
    StoreCaption(caption, xOffset, orientation);
    Redraw();
}

void CBitmapBtn::OnLButtonDown(UINT, POINT) {
    NotifyParent(ControlMessages::kButtonPress, 1, reinterpret_cast<LPARAM>(Hwnd()));
    Default();
}

void CBitmapBtn::OnLButtonUp(UINT flags, POINT point) {
    NotifyParent(ControlMessages::kButtonPress, 0, reinterpret_cast<LPARAM>(Hwnd()));
    CBitmapBtnBase::OnLButtonUp(flags, point);
}
