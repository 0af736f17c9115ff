#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

// Which pop-up of the main window is open. It decides how a choice is read, apart from the
// menu's entry layout: the lighting-mode and mouse-button menus share ids, and the insert-action
// and mouse-button menus share a layout.
enum class MenuKind {
    InsertAction = 0,
    ButtonFunction = 1,
    PollingRate = 2,
    LightingMode = 3,
    InsertMode = 4,
    MouseButton = 5,
};

// A choice reported by an open menu (CBmpMenuChoice::kMenuChoice), checked against its entries.
struct MenuChoice {
    MenuKind kind = MenuKind::InsertAction;
    // Top-level entry and its id (the sub-menu head's for a sub-entry).
    int position = 0;
    int id = 0;
    // Set for a sub-entry.
    std::optional<int> subPosition;
    int subId = 0;

    // The id of the entry that was clicked.
    int ChosenId() const { return subPosition ? subId : id; }
};

// What one pop-up of the main window holds and how it opens: filled into the menu window by its
// owner, which keeps it while the menu is open to read its choice.
struct PopupMenu {
    struct Entry {
        // Language keyword under "BUTTONPAGE"; empty for a fixed text.
        std::wstring keyword;
        std::wstring text;
        int id = 0;
    };
    struct SubEntry {
        // Position of the top-level entry the sub-entry belongs to.
        int head = 0;
        std::wstring keyword;
        std::wstring text;
        int id = 0;
    };
    // File names under "skins\" in the order the menu takes them.
    using Pictures = std::array<std::wstring, 4>;

    MenuKind kind = MenuKind::InsertAction;
    // The menu's entry layout (its style).
    int style = 0;
    // Entry font height; 0 keeps the menu's own.
    int fontSize = 0;
    Pictures pictures;
    std::optional<Pictures> subPictures;
    // The menu opens at the control's bottom edge, this far right of its left edge.
    int openingOffset = 0;
    // Moved so that its first picture stays on the screen.
    bool fitToScreen = false;
    std::vector<Entry> entries;
    std::vector<SubEntry> subEntries;

    // The opening point for the control that was clicked (its client area in screen
    // coordinates), before fitting.
    POINT OpeningPoint(const RECT& controlOnScreen) const;
    // The choice of a kMenuChoice while this menu is open; none for a position or id that is not
    // one of its entries.
    std::optional<MenuChoice> Decode(WPARAM wParam, LPARAM lParam) const;

    // Where a picture of `picture` size wanted at `at` opens: past the right edge it moves left
    // by twice its width (room for a sub-menu on its right), past the bottom it is mirrored
    // above; never above or left of the screen.
    static POINT FitImageToScreen(POINT at, SIZE picture, SIZE screen);
    // The client area of a control in screen coordinates.
    static RECT ControlOnScreen(HWND control);
    // The full-screen area the menus are fitted to.
    static SIZE FullScreen();
};
