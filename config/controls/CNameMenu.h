#pragma once

#include "config/controls/CListBoxEx.h"
#include "config/controls/SharedToolTip.h"
#include "config/controls/SkinPicture.h"
#include "winlayer/Dialog.h"

#include <optional>
#include <string>
#include <vector>

// What the three name menus share: a borderless pop-up over a skin picture holding one list of
// names, at most 20 rows high (more names scroll). The row the user selects or double-clicks is
// posted to the owner as the menu's choice message (wParam the row, lParam 0); a choice is only
// ever posted for a row that exists. The owner destroys the menu when a choice arrives.
//
// Use: construct, SetPosition, Create(template, owner), ShowWindow.
class CNameMenu : public winlayer::Dialog {
public:
    static constexpr int kListId = 0x1011;
    static constexpr int kRowHeight = 20;
    static constexpr int kMaxRows = 20;
    static constexpr COLORREF kFrameColor = 0x0000FE;

    // Screen position of the top-left corner.
    void SetPosition(int x, int y) { m_position = {x, y}; }
    // The value given at construction; the menu itself does not use it.
    int Value() const { return m_value; }
    int Rows() const { return m_rows; }
    const CListBoxEx& List() const { return m_list; }
    // Window height for a number of rows: the rows and a one-pixel frame above and below.
    static int HeightFor(int rows) { return rows * kRowHeight + 2; }
    // Rows shown for a number of names.
    static int RowsFor(size_t names);

protected:
    CNameMenu(UINT templateId, winlayer::Window* owner, int value, std::wstring pictureName,
              UINT choiceMessage, std::vector<std::wstring> entries);

    int OnCreate(CREATESTRUCTW& create) override;
    bool OnInitDialog() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;
    bool OnEraseBkgnd(HDC dc) override;
    void OnDestroy() override;

private:
    void PostChoice() const;

    winlayer::Window* m_owner;
    int m_value;
    std::wstring m_pictureName;
    UINT m_choiceMessage;
    std::vector<std::wstring> m_entries;
    int m_rows = 0;
    int m_width = 0;
    POINT m_position{};
    PicturePtr m_background;
    CListBoxEx m_list;
    // The owner's tips stay off while the menu is open.
    std::optional<SharedToolTip::Hold> m_tipHold;
};
