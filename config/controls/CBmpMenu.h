#pragma once

#include "config/controls/CBitmapBtn.h"
#include "config/controls/CBmpMenuEntries.h"
#include "config/controls/CSubBmpMenu.h"
#include "config/controls/SharedToolTip.h"
#include "config/controls/SkinPicture.h"
#include "winlayer/Dialog.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The skinned pop-up menu: a borderless window painted from a skin picture whose entries are
// bitmap buttons stacked top to bottom. Resting the cursor on an entry that has sub-entries opens
// a CSubBmpMenu beside the menu. A choice is posted to the owner as CBmpMenuChoice::kMenuChoice
// (see CBmpMenuChoice for the packing); the owner then destroys the menu.
//
// Use: construct with the owner, LoadImages, SetStyle / SetPosition / SetFontSize, AddItem and
// AddSubItem, then Create(IDD_BMPMENU, owner) and ShowWindow(SW_SHOW).
// Escape reports a choice of no entry (CBmpMenuChoice::kNoEntry). While the menu is open the
// owner's tooltips stay off.
class CBmpMenu : public winlayer::Dialog {
public:
    explicit CBmpMenu(winlayer::Window* owner);
    ~CBmpMenu() override;

    void SetFontSize(int height) { m_fontSize = height; }
    // Screen position of the top-left corner.
    void SetPosition(int x, int y) { m_position = {x, y}; }
    // Entry layout 0 to 4 (CBmpMenuLayout::EntryRect).
    void SetStyle(int style) { m_style = style; }
    // Normal look (also the background, which sets the menu's size: as tall as the entries need
    // within it), highlighted look, and two more; files that cannot be loaded give empty pictures.
    void LoadImages(const std::wstring& first, const std::wstring& second,
                    const std::wstring& third, const std::wstring& fourth);
    // The sub-menu pictures. Entries 16 to 21 load their own when their sub-menu opens.
    void LoadSubImages(const std::wstring& first, const std::wstring& second,
                       const std::wstring& third, const std::wstring& fourth);
    // Entries past the 22 buttons are ignored; texts are cut to 259 characters.
    void AddItem(const std::wstring& text, int value);
    // Ignored for an index that names no entry.
    void AddSubItem(int index, const std::wstring& text, int value);

    bool DestroyWindow() override;

    // Size of the first picture (the menu's largest size once shown), known before the window
    // exists so the owner can fit the menu to the screen; empty before LoadImages.
    SIZE FirstPictureSize() const;
    const CBmpMenuEntries& Entries() const { return m_entries; }
    // The button of entry index, or null.
    HWND EntryButton(int index) const;
    CSubBmpMenu* OpenSubMenu() const { return m_subMenu.get(); }

protected:
    bool OnInitDialog() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;
    bool OnEraseBkgnd(HDC dc) override;
    // Comes from the menu's own surface in client coordinates and, forwarded in screen
    // coordinates, from its buttons; the point of the move decides, not where the pointer is now.
    void OnMouseMove(UINT flags, POINT point) override;
    void OnDestroy() override;

private:
    void OpenSubMenuFor(int index);
    void CloseSubMenu();

    CBmpMenuEntries m_entries;
    int m_fontSize = 15;
    int m_style = 0;
    POINT m_position{};
    std::array<PicturePtr, 4> m_pictures;
    std::array<PicturePtr, 4> m_subPictures;
    // The first picture without the rows it has room for beyond the entries; empty when the
    // entries fill it.
    PicturePtr m_background;
    std::vector<std::unique_ptr<CBitmapBtn>> m_buttons;
    std::unique_ptr<CSubBmpMenu> m_subMenu;
    // The owner's tips stay off while the menu is open.
    std::optional<SharedToolTip::Hold> m_tipHold;
};
