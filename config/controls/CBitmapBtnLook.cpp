#include "config/controls/CBitmapBtnLook.h"

BtnImage CBitmapBtnLook::ChooseImage(const BtnDrawState& s) {
    if (s.checkable) {
        if (s.checked) {
            return s.enabled ? BtnImage::Pressed : BtnImage::Disabled;
        }
        return s.enabled ? BtnImage::Normal : BtnImage::Disabled;
    }
    if (s.checked || s.selected) {
        return BtnImage::Pressed;
    }
    if (s.hover) {
        return BtnImage::Over;
    }
    return s.enabled ? BtnImage::Normal : BtnImage::Disabled;
}

COLORREF CBitmapBtnLook::CaptionColor(BtnImage image, const BtnColors& colors) {
    switch (image) {
    case BtnImage::Over:
        return colors.over;
    case BtnImage::Pressed:
        return colors.pressed;
    case BtnImage::Disabled:
        return colors.disabled;
    case BtnImage::Normal:
        break;
    }
    return colors.normal;
}

int CBitmapBtnLook::Escapement(int orientation) {
    if (orientation == kBtnRotated90) {
        return 900;
    }
    if (orientation == kBtnRotated270) {
        return 2700;
    }
    return 0;
}

POINT CBitmapBtnLook::CaptionOrigin(int orientation, SIZE extent, SIZE client, int xOffset) {
    POINT p{};
    if (orientation == kBtnRotated90) {
        p = {client.cx / 2 - extent.cy / 2, client.cy / 2 + extent.cx / 2};
    } else if (orientation == kBtnRotated270) {
        p = {client.cx / 2 + extent.cy / 2, client.cy / 2 - extent.cx / 2};
    } else {
        p = {client.cx / 2 - extent.cx / 2, client.cy / 2 - extent.cy / 2};
    }
    if (xOffset != 0) {
        p.x = xOffset;
    }
    return p;
}
