#pragma once

#include "winlayer/GdiObject.h"
#include "winlayer/RawSubclass.h"
#include "winlayer/Window.h"

#include <string>

// Owner-drawn list box with one row per entry. A row's item value names the 9 x 11 picture
// drawn in front of its text (0: none, 1: none but its space kept). The row under the cursor,
// or in selection mode the selected row, is highlighted. Delay rows ("250 MS") can be edited in
// place. Notifications are posted:
//   kRowClicked   left button down: wParam the row under the cursor; lParam its item value when a
//                 notify window is set (nothing is posted for a place without a row), else 0 to
//                 the parent
//   kRowMenu      right button up, while right-clicks are on: as kRowClicked
//   kDelayEdited  delay edit committed: wParam the new delay, lParam the edited row; to the notify
//                 window of the list most recently given one
//   kDelayEnter   delay edit committed with Enter: 0, 0; to the parent of the first list the
//                 mouse moved over
class CListBoxEx : public winlayer::Window {
public:
    static constexpr UINT kRowMenu = 0x3400;
    static constexpr UINT kDelayEdited = 0x3401;
    static constexpr UINT kRowClicked = 0x3402;
    static constexpr UINT kDelayEnter = 0x464;
    static constexpr int kRowHeight = 20;

    CListBoxEx();
    ~CListBoxEx() override;

    // Makes the LISTBOX window; owner-draw fixed rows and strings are added to style.
    bool Create(DWORD style, const RECT& rect, HWND parent, int id);

    // Row index, or a negative LB_ERR / LB_ERRSPACE.
    int AddItem(int value, const std::wstring& text);
    int InsertItem(int index, int value, const std::wstring& text);
    int GetCurSel() const;
    int SetCurSel(int index);
    std::wstring GetText(int index) const;
    int DeleteString(int index);

    void SetColors(COLORREF background, COLORREF highlight);
    void SetTextColors(COLORREF text, COLORREF selectedText);
    void SetNotifyWindow(HWND window);
    void SetSelectionMode(bool selectionMode);
    // Locked: left and middle presses are ignored.
    void SetLocked(bool locked) { m_locked = locked; }
    // Right-click reports are off until switched on.
    void SetRightClickOff(bool off) { m_rightClickOff = off; }

    // Opens the in-place delay edit on a row. Nothing happens while any delay edit is open, for
    // an index that names no row, or for rows of key and button events (items 148 and 149).
    void EditDelay(int index, int itemValue);
    // The open delay edit of this list, or null.
    HWND DelayEdit() const { return m_edit; }
    int HoveredRow() const { return m_hovered; }

protected:
    void OnPaint() override;
    void OnMouseMove(UINT flags, POINT point) override;
    void OnMouseLeave() override;
    void OnLButtonDown(UINT flags, POINT point) override;
    void OnLButtonDblClk(UINT flags, POINT point) override;
    void OnMButtonDown(UINT flags, POINT point) override;
    void OnRButtonUp(UINT flags, POINT point) override;
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override;
    void OnKeyUp(UINT key, UINT repeat, UINT flags) override;
    void OnKillFocus(HWND next) override;
    void OnEnable(bool enabled) override;
    bool OnReflectedDrawItem(const DRAWITEMSTRUCT& item) override;
    bool OnReflectedMeasureItem(MEASUREITEMSTRUCT& item) override;
    HBRUSH OnReflectedCtlColor(HDC dc, UINT message) override;

private:
    LRESULT DelayEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HFONT Font();
    // What the list's background is filled with: its brush, or the disabled one.
    HBRUSH Fill() const;
    int RowAt(POINT point) const;
    void RedrawRow(int index) const;
    void ReplaceRow(int index, const std::wstring& text, LPARAM value = 0);
    void PostRowMessage(UINT message, int row) const;
    // Takes the typed delay into the edited row, closes the edit and reports the new delay.
    void CommitDelay(bool withEnter);
    void AbandonDelay();
    void CloseDelayEdit();
    void DrawRow(const DRAWITEMSTRUCT& item);

    winlayer::FontHandle m_font;
    COLORREF m_textColor;
    COLORREF m_selectedTextColor;
    COLORREF m_highlightColor;
    winlayer::BrushHandle m_background;
    bool m_selectionMode = false;
    int m_hovered = -1;
    bool m_trackingLeave = false;
    HWND m_notify = nullptr;
    bool m_locked = false;
    bool m_rightClickOff = true;
    HWND m_edit = nullptr;
    winlayer::RawSubclass m_editSubclass;
    int m_editedRow = -1;
    // The edited row as it was, put back when the edit is abandoned.
    std::wstring m_rowBefore;
    LPARAM m_itemBefore = 0;
};
