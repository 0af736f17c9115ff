#pragma once

#include "config/controls/CBitmapBtn.h"
#include "config/controls/CStaticTrans.h"
#include "config/dialogs/CSkinnedDialog.h"
#include "config/dialogs/DialogDropDown.h"

#include <array>
#include <string>

// The dialog in which the user picks the DPI value a mouse button switches to while it is held:
// 250, 500, 750 or 1000 from a drop-down, returned as the index 1 to 4.
//
// Use: optionally SetChoice, DoModal, and on IDOK read Choice(). IDCANCEL from cancel or close.
class CDPIShift : public CSkinnedDialog {
public:
    // The drop-down's choice message; the chosen index is in the high word of lParam.
    static constexpr UINT kChoiceMessage = 0x501;

    explicit CDPIShift(winlayer::Window* parent);

    // An index outside 1 to 4 is ignored.
    void SetChoice(int choice);
    int Choice() const { return m_choice; }
    // "250", "500", "750" or "1000" for 1 to 4; empty for any other index.
    static std::wstring ValueText(int choice);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    int OnCreate(CREATESTRUCTW& create) override;
    void OnDestroy() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void ToggleDropDown();

    int m_choice = 1;
    DialogDropDown m_dropDown;
    CBitmapBtn m_ok;
    CBitmapBtn m_cancel;
    CBitmapBtn m_close;
    CBitmapBtn m_value;
    std::array<CStaticTrans, 4> m_labels;
};
