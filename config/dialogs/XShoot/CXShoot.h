#pragma once

#include "config/dialogs/ButtonEntryTarget.h"
#include "config/controls/CBitmapBtn.h"
#include "config/controls/CClrEdit.h"
#include "config/controls/CStaticTrans.h"
#include "config/dialogs/CSkinnedDialog.h"
#include "config/dialogs/DialogDropDown.h"
#include "config/dialogs/XShoot/XShootEntry.h"

#include <array>

// The dialog that sets up the XSHOOT function (code 9) of one mouse button: two values from 1 to
// 255 and the mouse button or keyboard key it works with, chosen from a drop-down.
//
// Use: SetTarget(record, buttonIndex), DoModal: IDOK after the entry was written (code 9),
// IDCANCEL with the entry untouched (also without a valid target).
class CXShoot : public CSkinnedDialog {
public:
    // The drop-down's choice message; the chosen entry's value is in the high word of lParam.
    static constexpr UINT kChoiceMessage = 0x501;

    explicit CXShoot(winlayer::Window* parent);

    // False, and no target, for a button index outside 0 to 7.
    bool SetTarget(SettingsRecord& record, int buttonIndex);

    bool PreTranslateMessage(MSG& msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    int OnCreate(CREATESTRUCTW& create) override;
    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnLButtonDown(UINT flags, POINT point) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    ButtonAssignment* Entry() const { return m_target.Entry(); }
    void OpenDropDown();
    void Choose(int choice);
    // A value within 1 to 255 is taken as it is typed; any other text waits for the commit.
    void OnValueTyped(const CClrEdit& edit, int& stored);
    // The end of the typing in a value field (Enter, leaving it, a click on the dialog): its
    // value held within 1 to 255, and the field showing it. Nothing for another window.
    void CommitValue(HWND field);
    void OnKeyTyped();

    ButtonEntryTarget m_target;
    XShootEntry::Values m_values;
    DialogDropDown m_dropDown;
    CBitmapBtn m_choiceButton;
    CBitmapBtn m_ok;
    CBitmapBtn m_cancel;
    CBitmapBtn m_fourth;
    CClrEdit m_first;
    CClrEdit m_second;
    CClrEdit m_key;
    std::array<CStaticTrans, 4> m_labels;
};
