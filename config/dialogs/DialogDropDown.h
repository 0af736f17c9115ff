#pragma once

#include "config/controls/CBmpMenu.h"

#include <array>
#include <memory>
#include <span>
#include <string>

// The one drop-down a skinned dialog may have open: a bitmap menu owned by the dialog that
// reports its choice with 0x501. Closed when the choice arrives, when it is asked for again, and
// at the latest when the object goes (a dialog ending with its menu open leaves nothing behind).
class DialogDropDown {
public:
    struct Item {
        const wchar_t* text;
        int value;
    };

    DialogDropDown() = default;
    ~DialogDropDown() { Close(); }
    DialogDropDown(const DialogDropDown&) = delete;
    DialogDropDown& operator=(const DialogDropDown&) = delete;

    // pictures: four file names under "skins\" of the program folder; at: the menu's top-left
    // corner on the screen. Closes a menu that is still open first.
    bool Open(winlayer::Window& owner, const std::array<const wchar_t*, 4>& pictures, int style,
              POINT at, std::span<const Item> items);
    void Close();
    bool IsOpen() const { return m_menu != nullptr; }
    HWND Hwnd() const { return m_menu ? m_menu->Hwnd() : nullptr; }

private:
    std::unique_ptr<CBmpMenu> m_menu;
};
