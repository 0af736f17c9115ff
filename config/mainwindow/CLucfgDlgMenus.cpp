#include "config/mainwindow/CLucfgDlg.h"

#include "config/controls/ListAndMenuResources.h"
#include "config/core/ButtonCaptions.h"
#include "config/core/KeyPositionNames.h"
#include "config/core/PopupMenus.h"
#include "config/core/SkinFile.h"

// The pop-up menus of the main window: at most one is open; its description stays with the
// dialog so that its choice is read by the menu that was open.

namespace {
constexpr int kHorizontal = 1;

// Loads the menu's pictures, then places it (fitted to the screen when the design asks for it),
// styles and fills it; its window is still to be made.
void FillMenu(CBmpMenu& menu, const PopupMenu& design, POINT at) {
    const auto path = [](const std::wstring& name) { return SkinFile::Path(name); };
    const PopupMenu::Pictures& pictures = design.pictures;
    menu.LoadImages(path(pictures[0]), path(pictures[1]), path(pictures[2]), path(pictures[3]));
    if (design.fitToScreen) {
        at = PopupMenu::FitImageToScreen(at, menu.FirstPictureSize(), PopupMenu::FullScreen());
    }
    menu.SetStyle(design.style);
    menu.SetPosition(at.x, at.y);
    if (design.fontSize != 0) {
        menu.SetFontSize(design.fontSize);
    }
    if (design.subPictures) {
        const PopupMenu::Pictures& sub = *design.subPictures;
        menu.LoadSubImages(path(sub[0]), path(sub[1]), path(sub[2]), path(sub[3]));
    }
    for (const PopupMenu::Entry& entry : design.entries) {
        menu.AddItem(entry.text, entry.id);
    }
    for (const PopupMenu::SubEntry& entry : design.subEntries) {
        menu.AddSubItem(entry.head, entry.text, entry.id);
    }
}
} // namespace

void CLucfgDlg::OpenMenu(PopupMenu design, POINT at) {
    ClosePopupMenu();
    m_popup = std::make_unique<CBmpMenu>(this);
    FillMenu(*m_popup, design, at);
    m_menuKind = static_cast<int>(design.kind);
    m_openMenu = std::move(design);
    if (m_popup->Create(IDD_BMPMENU, this)) {
        ShowWindow(m_popup->Hwnd(), SW_SHOW);
    }
    m_slotHighlighting = false;
}

void CLucfgDlg::ClosePopupMenu() {
    if (m_popup) {
        m_popup->DestroyWindow();
        m_popup.reset();
        m_slotHighlighting = true;
    }
    m_openMenu.reset();
}

void CLucfgDlg::CloseNameMenus() {
    for (CNameMenu* menu : {static_cast<CNameMenu*>(m_moreMenu.get()),
                            static_cast<CNameMenu*>(m_profileNameMenu.get()),
                            static_cast<CNameMenu*>(m_macroNameMenu.get())}) {
        if (menu != nullptr && menu->Hwnd() != nullptr) {
            menu->DestroyWindow();
        }
    }
    m_moreMenu.reset();
    m_profileNameMenu.reset();
    m_macroNameMenu.reset();
}

void CLucfgDlg::ShowNameMenu(CNameMenu& menu, UINT templateId, HWND anchor) {
    const RECT at = PopupMenu::ControlOnScreen(anchor);
    menu.SetPosition(at.left, at.bottom);
    if (menu.Create(templateId, this)) {
        ShowWindow(menu.Hwnd(), SW_SHOWNA);
    }
}

void CLucfgDlg::ClosePopups() {
    ClosePopupMenu();
    CloseNameMenus();
}

void CLucfgDlg::OpenMenuAt(PopupMenu design, HWND control) {
    const POINT at = design.OpeningPoint(PopupMenu::ControlOnScreen(control));
    OpenMenu(std::move(design), at);
}

void CLucfgDlg::ShowSkinMenu(HWND anchor) {
    OpenMenuAt(PopupMenus::PollingRate(), anchor);
}

void CLucfgDlg::ShowButtonFunctionMenu(HWND control, int button) {
    m_selectedButton = button;
    OpenMenuAt(PopupMenus::ButtonFunction(m_language), control);
}

void CLucfgDlg::ShowLedMenu(HWND control) {
    if (auto design = PopupMenus::LightingMode(m_lightingSlot, m_language)) {
        OpenMenuAt(std::move(*design), control);
    }
}

void CLucfgDlg::ShowAddMacroMenu(HWND control) {
    OpenMenuAt(PopupMenus::InsertMode(m_language), control);
}

void CLucfgDlg::ShowInsertActionMenu(HWND control, int target) {
    m_menuTarget = target;
    OpenMenuAt(PopupMenus::InsertAction(m_language), control);
}

void CLucfgDlg::ShowInsertActionMenu2() {
    m_menuTarget = 0;
    POINT cursor{};
    GetCursorPos(&cursor);
    OpenMenu(PopupMenus::InsertAction(m_language), cursor);
}

void CLucfgDlg::ShowClickMenu(HWND control, int target) {
    m_menuTarget = target;
    OpenMenuAt(PopupMenus::MouseButton(m_language), control);
}

POINT CLucfgDlg::FitImageToScreen(POINT at, SIZE picture) {
    return PopupMenu::FitImageToScreen(at, picture, PopupMenu::FullScreen());
}

std::wstring CLucfgDlg::KeyCodeToName(std::uint8_t position) const {
    return KeyPositionNames::Name(position, KeyNameCase::Upper, m_language);
}

void CLucfgDlg::RefreshButtonCaptions() {
    const auto captions = ButtonCaptions::Refresh(Working(), MacroNames(), m_language);
    for (size_t i = 0; i < captions.size(); ++i) {
        m_slotBtns[i].SetCaption(captions[i], 0, kHorizontal);
        RedrawWindow(m_slotBtns[i].Hwnd(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
}

void CLucfgDlg::OnMenuChoice(WPARAM wParam, LPARAM lParam) {
    // The menu goes first; a choice that arrives after it is gone, or names none of its
    // entries, is dropped.
    const std::optional<MenuChoice> choice =
        m_openMenu ? m_openMenu->Decode(wParam, lParam) : std::nullopt;
    ClosePopupMenu();
    if (!choice) {
        return;
    }
    switch (choice->kind) {
    case MenuKind::ButtonFunction:
        if (m_mainPage == kMainPage && m_subPage == kButtonsSubPage) {
            AssignFunctionToButton(*choice);
        }
        m_selectedButton = -1;
        break;
    case MenuKind::PollingRate:
        if (m_mainPage == kMainPage && m_subPage == kPerformanceSubPage) {
            OnRateCommand(choice->id);
        }
        break;
    case MenuKind::LightingMode:
        if (m_mainPage == kMainPage && m_subPage == kLightingSubPage) {
            ApplyLedModeChoice(choice->id);
        }
        break;
    case MenuKind::InsertMode:
        if (m_mainPage == kMacroPage) {
            ApplyAddMacroChoice(choice->id);
        }
        break;
    case MenuKind::InsertAction:
    case MenuKind::MouseButton:
        if (m_mainPage == kMacroPage) {
            EditMacroEvents(*choice);
        }
        break;
    }
}

void CLucfgDlg::ApplyLedModeChoice(int id) {
    if (const std::optional<int> mode = PopupMenus::LightingModeOfId(id)) {
        if (std::int32_t* field = PopupMenus::LightingModeOfSlot(Working(), m_lightingSlot)) {
            *field = *mode;
        }
    }
    if (m_lightingSlot < 0 || m_lightingSlot > 3) {
        return;
    }
    auto& entry = Working().LED_MODE_INFO[static_cast<size_t>(m_lightingSlot)];
    SetTwoValues(entry[1], entry[2]);
    ArrangeLedControls(LedModeOfSlot());
    entry[0] = 0;
    StoreAndNotify(0x4CB, static_cast<WPARAM>(m_lightingSlot), 0);
}

void CLucfgDlg::ApplyAddMacroChoice(int id) {
    const std::optional<int> mode = PopupMenus::InsertModeOfId(id);
    if (!mode) {
        return;
    }
    m_addMacroMenuBtn.SetCaption(m_language.ButtonPage(PopupMenus::InsertModeKeyword(*mode)), 0,
                                 kHorizontal);
    SetInsertMode(*mode);
}

void CLucfgDlg::UpdateAddMacroTexts() {
    if (const auto mode =
            PopupMenus::InsertModeOfCaption(m_addMacroMenuBtn.GetCaption(), m_language)) {
        SetInsertMode(*mode);
    }
}
