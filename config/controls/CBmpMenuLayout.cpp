#include "config/controls/CBmpMenuLayout.h"

RECT CBmpMenuLayout::EntryRect(int style, int index, int width) {
    switch (style) {
    case 1:
        return {0, 4 + 23 * index, width, 26 + 23 * index};
    case 2:
        return {3, 5 + 18 * index, 142, 22 + 18 * index};
    case 3:
        return {3, 3 + 25 * index, 183, 27 + 25 * index};
    case 4:
        return {4, 4 + 25 * index, 184, 28 + 25 * index};
    default:
        return {0, 24 * index, width, 24 + 24 * index};
    }
}

int CBmpMenuLayout::MenuHeight(int style, int entries, int pictureHeight) {
    const auto bottom = [style](int index) {
        return static_cast<int>(EntryRect(style, index, 0).bottom);
    };
    if (entries <= 0 || bottom(entries) > pictureHeight) {
        return pictureHeight;
    }
    int rows = entries + 1;
    while (bottom(rows) <= pictureHeight) {
        ++rows;
    }
    return bottom(entries - 1) + pictureHeight - bottom(rows - 1);
}

RECT CBmpMenuLayout::SubEntryRect(int index, int width) {
    return {0, 4 + 23 * index, width, 26 + 23 * index};
}

RECT CBmpMenuLayout::SubEntryTextRect(int width) {
    return {0, 0, width, 23};
}

std::optional<std::wstring> CBmpMenuLayout::SubMenuPicture(int entryIndex) {
    switch (entryIndex) {
    case 16:
    case 18:
    case 19:
        return L"Menu6_n.png";
    case 17:
        return L"Menu7_n.png";
    case 20:
        return L"Menu8_n.png";
    case 21:
        return L"Menu9_n.png";
    default:
        return std::nullopt;
    }
}

POINT CBmpMenuLayout::SubMenuOrigin(const RECT& menuWindow, SIZE subMenu) {
    const int menuWidth = menuWindow.right - menuWindow.left;
    const int menuHeight = menuWindow.bottom - menuWindow.top;
    return {menuWindow.left + menuWidth, menuWindow.top + menuHeight - subMenu.cy};
}
