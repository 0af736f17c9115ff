#pragma once

#include "config/dialogs/CSkinnedDialog.h"

#include <string>

// The program's one question and warning box: a red title and two grey lines over the skin's
// warning picture, with OK and Cancel. DoModal returns IDOK from the OK button or Enter and
// IDCANCEL from the Cancel button or Escape. Callers stop their 200 ms timer around the run.
class CWarningDlg : public CSkinnedDialog {
public:
    // flag: passed by the callers (always 0); the box looks and acts the same for any value.
    CWarningDlg(winlayer::Window* parent, std::wstring title, std::wstring firstLine,
                std::wstring secondLine, int flag = 0);

    int Flag() const { return m_flag; }
    HWND OkButton() const { return m_ok.Hwnd(); }
    HWND CancelButton() const { return m_cancel.Hwnd(); }

    bool PreTranslateMessage(MSG& msg) override;

protected:
    int OnCreate(CREATESTRUCTW& create) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    std::wstring m_titleText;
    std::wstring m_firstText;
    std::wstring m_secondText;
    int m_flag;
    CBitmapBtn m_ok;
    CBitmapBtn m_cancel;
    CStaticTrans m_title;
    CStaticTrans m_first;
    CStaticTrans m_second;
};
