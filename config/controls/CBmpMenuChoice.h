#pragma once

#include <windows.h>

// The messages by which a bitmap menu reports a choice, and how their parameters are packed.
class CBmpMenuChoice {
public:
    // Menu to its owner: the choice.
    static constexpr UINT kMenuChoice = 0x501;
    // Sub-menu to its menu: a sub-entry was chosen.
    static constexpr UINT kSubMenuChoice = 0x500;
    // The entry index of a kMenuChoice that chooses nothing (Escape in the menu): every owner
    // closes the menu and takes no choice, as no menu has that many entries.
    static constexpr int kNoEntry = 0xFFFF;

    // kMenuChoice for an entry without sub-menu.
    static WPARAM EntryWParam(int entryIndex);
    static LPARAM EntryLParam(int entryValue);
    // kSubMenuChoice from the sub-menu of entry `entryIndex`.
    static WPARAM SubEntryWParam(int entryIndex, int subIndex);
    static LPARAM SubEntryLParam(int subValue);
    // The kMenuChoice lParam a menu relays for a kSubMenuChoice lParam; wParam passes unchanged.
    static LPARAM RelayLParam(LPARAM subEntryLParam, int entryValue);
};
