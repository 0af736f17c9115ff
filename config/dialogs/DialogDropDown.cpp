#include "config/dialogs/DialogDropDown.h"

#include "config/controls/ListAndMenuResources.h"
#include "config/core/SkinFile.h"

bool DialogDropDown::Open(winlayer::Window& owner, const std::array<const wchar_t*, 4>& pictures,
                          int style, POINT at, std::span<const Item> items) {
    Close();
    auto menu = std::make_unique<CBmpMenu>(&owner);
    menu->LoadImages(SkinFile::Path(pictures[0]), SkinFile::Path(pictures[1]),
                     SkinFile::Path(pictures[2]), SkinFile::Path(pictures[3]));
    menu->SetStyle(style);
    menu->SetPosition(at.x, at.y);
    for (const Item& item : items) {
        menu->AddItem(item.text, item.value);
    }
    if (!menu->Create(IDD_BMPMENU, &owner)) {
        return false;
    }
    ShowWindow(menu->Hwnd(), SW_SHOW);
    m_menu = std::move(menu);
    return true;
}

void DialogDropDown::Close() {
    // Moved out first: destroying the window may bring its owner back here.
    std::unique_ptr<CBmpMenu> menu = std::move(m_menu);
    if (menu && menu->Hwnd() != nullptr) {
        menu->DestroyWindow();
    }
}
