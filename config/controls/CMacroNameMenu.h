#pragma once

#include "config/controls/CNameMenu.h"
#include "config/controls/ListAndMenuResources.h"

// The pop-up list of the names of the saved macros, in the order the owner gives them; the chosen
// row is posted to the owner as kChoice.
class CMacroNameMenu : public CNameMenu {
public:
    static constexpr UINT kChoice = 0x3414;
    static constexpr UINT kTemplate = IDD_MACRONAMEMENU;

    CMacroNameMenu(winlayer::Window* owner, std::vector<std::wstring> names, int value = 0);
};
