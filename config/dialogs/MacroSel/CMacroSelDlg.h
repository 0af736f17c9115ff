#pragma once

#include "config/controls/CClrEdit.h"
#include "config/controls/CMacroNameMenu.h"
#include "config/dialogs/CSkinnedDialog.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

// Picks the macro a mouse button plays and how: play mode 0, 1 or 2 and a repeat count of 1 to
// 255. The caller gives the macro names (in list order) and the current values, runs DoModal and
// after IDOK reads MacroName, Slot (the name's index in the list), Mode and Count. The name
// button opens the list of names as a pop-up; the count is left as typed and kept in 1-255 when
// its typing ends (Enter, leaving it, a click on the dialog) and at OK.
class CMacroSelDlg : public CSkinnedDialog {
public:
    CMacroSelDlg(winlayer::Window* parent, std::vector<std::wstring> macroNames);

    // Before the run. A mode outside 0-2 counts as 0; the count is brought into 1-255.
    void SetValues(int mode, int count, int slot);
    void SetMacroName(std::wstring name) { m_name = std::move(name); }

    const std::wstring& MacroName() const { return m_name; }
    int Slot() const { return m_slot; }
    int Mode() const { return m_mode; }
    int Count() const { return m_count; }

    HWND OkButton() const { return m_ok.Hwnd(); }
    HWND CancelButton() const { return m_cancel.Hwnd(); }
    HWND CloseButton() const { return m_close.Hwnd(); }
    HWND NameButton() const { return m_nameButton.Hwnd(); }
    HWND ModeButton(int mode) const;
    HWND CountEdit() const { return m_countEdit.Hwnd(); }
    // The open name pop-up, or null.
    const CMacroNameMenu* NameMenu() const { return m_menu.get(); }

protected:
    int OnCreate(CREATESTRUCTW& create) override;
    void OnDestroy() override;
    void OnLButtonDown(UINT flags, POINT point) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OpenNameMenu();
    void CloseNameMenu();
    void TakeChosenName(int index);
    void ShowMode(int mode);
    // Brings the edit's text into 1-255, rewriting it only when it changes.
    int ClampEditText();
    void Accept();

    std::vector<std::wstring> m_names;
    std::wstring m_name;
    int m_slot = 0;
    int m_mode = 0;
    int m_count = 1;
    CBitmapBtn m_close;
    CBitmapBtn m_ok;
    CBitmapBtn m_cancel;
    CBitmapBtn m_nameButton;
    std::array<CBitmapBtn, 3> m_modeButtons;
    CClrEdit m_countEdit;
    std::array<CStaticTrans, 6> m_labels;
    std::unique_ptr<CMacroNameMenu> m_menu;
};
