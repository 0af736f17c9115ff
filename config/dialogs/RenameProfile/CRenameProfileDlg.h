#pragma once

#include "config/controls/CBitmapBtn.h"
#include "config/controls/CClrEdit.h"
#include "config/dialogs/CSkinnedDialog.h"

#include <string>

// A small shaped dialog that asks for a name: its outline follows the non-white pixels of its
// background. The name can be no longer than the settings record's name field holds; whether it
// is acceptable (empty, refused characters, already taken) is for the caller to decide.
//
// Use: SetName, DoModal, and on IDOK read Name(). IDCANCEL (name as preset) from Cancel or close.
class CRenameProfileDlg : public CSkinnedDialog {
public:
    static const size_t kLongestName;

    explicit CRenameProfileDlg(winlayer::Window* parent);

    void SetName(std::wstring name);
    const std::wstring& Name() const { return m_name; }

    bool PreTranslateMessage(MSG& msg) override;

protected:
    int OnCreate(CREATESTRUCTW& create) override;
    bool OnInitDialog() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void ShowName();

    std::wstring m_name;
    CBitmapBtn m_ok;
    CBitmapBtn m_cancel;
    CBitmapBtn m_close;
    CClrEdit m_edit;
};
