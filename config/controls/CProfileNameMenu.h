#pragma once

#include "config/controls/CNameMenu.h"
#include "config/controls/ListAndMenuResources.h"

// The pop-up list of the names of the profiles, in the order the owner gives them; the chosen
// row is posted to the owner as kChoice.
class CProfileNameMenu : public CNameMenu {
public:
    static constexpr UINT kChoice = 0x3415;
    static constexpr UINT kTemplate = IDD_PROFILENAMEMENU;

    CProfileNameMenu(winlayer::Window* owner, std::vector<std::wstring> names, int value = 0);
};
