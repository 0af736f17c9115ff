#pragma once

#include <windows.h>

#include <optional>
#include <string>

// Where a bitmap menu places its entry buttons, which pictures a sub-menu opens with, and where
// it opens.
class CBmpMenuLayout {
public:
    // Rectangle of entry `index` in menu client coordinates; `width` is the width of the menu's
    // background picture. Styles other than 1 to 4 stack rows of 24 pixels over the full width.
    static RECT EntryRect(int style, int index, int width);
    // The menu's height for `entries` entries over a picture `pictureHeight` high: the picture's,
    // unless it has room for more rows than there are entries; the menu then ends below its last
    // entry with the picture's own margin under its last row.
    static int MenuHeight(int style, int entries, int pictureHeight);
    // Rectangle of sub-entry `index` in sub-menu client coordinates.
    static RECT SubEntryRect(int index, int width);
    // Caption rectangle of a sub-entry button, in the button's client coordinates.
    static RECT SubEntryTextRect(int width);
    // The first and fourth sub-menu picture of the entries that have their own (positions 16 to
    // 21); none for the other positions, which keep the sub-menu pictures the menu was given.
    static std::optional<std::wstring> SubMenuPicture(int entryIndex);
    // Second and third sub-menu picture of the entries that have their own.
    static const wchar_t* SubMenuHighlightPicture() { return L"Menu6_d.png"; }
    // Right of the menu, bottom edges aligned (screen coordinates).
    static POINT SubMenuOrigin(const RECT& menuWindow, SIZE subMenu);
};
