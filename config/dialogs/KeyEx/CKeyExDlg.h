#pragma once

#include "config/dialogs/ButtonEntryTarget.h"
#include "config/controls/CBitmapBtn.h"
#include "config/controls/CMirelMacroDisplay.h"
#include "config/controls/CStaticTrans.h"
#include "config/dialogs/BaseKeyPress/CBaseKeyPressDlg.h"
#include "shared/store/SettingsRecord.h"

#include <array>

// The dialog in which the user assigns one keyboard key to a mouse button by pressing it: the
// last key pressed is shown by name, and OK writes it into the button's entry of the record
// (function code 5), or turns the button off (7) when no key was pressed.
//
// Use: SetTarget(record, buttonIndex), then DoModal: IDOK after the entry was written, IDCANCEL
// (entry untouched) from the close button or without a valid target.
class CKeyExDlg : public CBaseKeyPressDlg {
public:
    explicit CKeyExDlg(winlayer::Window* parent);

    // False, and no target, for a button index outside 0 to 7.
    bool SetTarget(SettingsRecord& record, int buttonIndex);

    bool PreTranslateMessage(MSG& msg) override;

protected:
    int OnCreate(CREATESTRUCTW& create) override;
    bool OnInitDialog() override;
    int RecordKeyEvent(std::uint32_t action, UINT key, UINT flags) override;
    void RefreshDisplay() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    ButtonAssignment* Entry() const { return m_target.Entry(); }

    ButtonEntryTarget m_target;
    CBitmapBtn m_ok;
    CBitmapBtn m_close;
    CBitmapBtn m_hidden;
    CMirelMacroDisplay m_display;
    std::array<CStaticTrans, 3> m_labels;
};
