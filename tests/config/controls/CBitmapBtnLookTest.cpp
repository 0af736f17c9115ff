#include "config/controls/CBitmapBtnLook.h"

#include <gtest/gtest.h>

namespace {
BtnImage Plain(bool checked, bool selected, bool hover, bool enabled) {
    return CBitmapBtnLook::ChooseImage({false, checked, selected, hover, enabled});
}
BtnImage Checkable(bool checked, bool hover, bool enabled) {
    return CBitmapBtnLook::ChooseImage({true, checked, false, hover, enabled});
}
} // namespace

TEST(BitmapBtnLook, PlainButtonStatesFirstMatchWins) {
    EXPECT_EQ(BtnImage::Pressed, Plain(true, false, true, true));
    EXPECT_EQ(BtnImage::Pressed, Plain(false, true, true, true));
    EXPECT_EQ(BtnImage::Over, Plain(false, false, true, true));
    EXPECT_EQ(BtnImage::Normal, Plain(false, false, false, true));
    EXPECT_EQ(BtnImage::Disabled, Plain(false, false, false, false));
}

TEST(BitmapBtnLook, CheckableButtonIgnoresHover) {
    EXPECT_EQ(BtnImage::Pressed, Checkable(true, true, true));
    EXPECT_EQ(BtnImage::Disabled, Checkable(true, false, false));
    EXPECT_EQ(BtnImage::Normal, Checkable(false, true, true));
    EXPECT_EQ(BtnImage::Disabled, Checkable(false, false, false));
}

TEST(BitmapBtnLook, CaptionColourFollowsTheImage) {
    const BtnColors defaults;
    EXPECT_EQ(RGB(200, 200, 200), CBitmapBtnLook::CaptionColor(BtnImage::Normal, defaults));
    EXPECT_EQ(RGB(255, 255, 255), CBitmapBtnLook::CaptionColor(BtnImage::Over, defaults));
    EXPECT_EQ(RGB(150, 150, 150), CBitmapBtnLook::CaptionColor(BtnImage::Disabled, defaults));
    const BtnColors mine{1, 2, 3, 4};
    EXPECT_EQ(3u, CBitmapBtnLook::CaptionColor(BtnImage::Pressed, mine));
}

TEST(BitmapBtnLook, CaptionPlacement) {
    const SIZE text{40, 16};
    const SIZE client{101, 31};
    EXPECT_EQ(30, CBitmapBtnLook::CaptionOrigin(kBtnHorizontal, text, client, 0).x);
    EXPECT_EQ(7, CBitmapBtnLook::CaptionOrigin(kBtnHorizontal, text, client, 0).y);
    const POINT up = CBitmapBtnLook::CaptionOrigin(kBtnRotated90, text, client, 0);
    EXPECT_EQ(42, up.x);
    EXPECT_EQ(35, up.y);
    const POINT down = CBitmapBtnLook::CaptionOrigin(kBtnRotated270, text, client, 0);
    EXPECT_EQ(58, down.x);
    EXPECT_EQ(-5, down.y);
    const POINT pinned = CBitmapBtnLook::CaptionOrigin(kBtnHorizontal, text, client, 16);
    EXPECT_EQ(16, pinned.x);
    EXPECT_EQ(7, pinned.y);
    EXPECT_EQ(900, CBitmapBtnLook::Escapement(kBtnRotated90));
    EXPECT_EQ(2700, CBitmapBtnLook::Escapement(kBtnRotated270));
    EXPECT_EQ(0, CBitmapBtnLook::Escapement(1));
}
