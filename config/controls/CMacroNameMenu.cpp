#include "config/controls/CMacroNameMenu.h"

CMacroNameMenu::CMacroNameMenu(winlayer::Window* owner, std::vector<std::wstring> names, int value)
    : CNameMenu(kTemplate, owner, value, L"macro_menu_n.jpg", kChoice, std::move(names)) {}
