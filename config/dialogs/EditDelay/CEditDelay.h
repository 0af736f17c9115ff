#pragma once

#include "config/controls/CBitmapBtn.h"
#include "config/controls/CClrEdit.h"
#include "config/controls/CStaticTrans.h"
#include "config/dialogs/CSkinnedDialog.h"

#include <array>

// Asks for one macro delay in milliseconds, within 1 to 131070: typing is left as it is, and the
// end of it (Enter, leaving the field, a click on the dialog, OK) holds the value in the range.
//
// Use: SetDelay, DoModal, and on IDOK read Delay(). IDCANCEL from the close button, with the
// preset value kept.
class CEditDelay : public CSkinnedDialog {
public:
    static constexpr int kShortest = 1;
    static constexpr int kLongest = 131070;

    explicit CEditDelay(winlayer::Window* parent);

    // Held inside the range.
    void SetDelay(int milliseconds);
    int Delay() const { return m_delay; }

    bool PreTranslateMessage(MSG& msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    int OnCreate(CREATESTRUCTW& create) override;
    bool OnInitDialog() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnLButtonDown(UINT flags, POINT point) override;

private:
    // The typed delay held in the range, and the field showing it.
    void CommitDelay();

    int m_delay = kShortest;
    int m_preset = kShortest;
    bool m_ended = false;
    CBitmapBtn m_ok;
    CBitmapBtn m_close;
    CClrEdit m_edit;
    std::array<CStaticTrans, 4> m_labels;
};
