#pragma once

#include "config/controls/CNameMenu.h"
#include "config/controls/ListAndMenuResources.h"

// The pop-up of three entries (copy, import, export) whose texts are keys "1" to "3" of section
// "BUTTONPOS" of "skins\skin_main.ini" (empty when missing); the chosen row is posted to the
// owner as kChoice.
class CMoreMenu : public CNameMenu {
public:
    static constexpr UINT kChoice = 0x3416;
    static constexpr UINT kTemplate = IDD_MOREMENU;

    explicit CMoreMenu(winlayer::Window* owner, int value = 0);
};
