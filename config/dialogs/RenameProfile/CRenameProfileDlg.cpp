#include "config/dialogs/RenameProfile/CRenameProfileDlg.h"

#include "config/core/SkinFile.h"
#include "config/dialogs/DialogTemplates.h"
#include "shared/store/SettingsRecord.h"

namespace {
constexpr wchar_t kSkin[] = L"skin_singlekey.ini";
constexpr RECT kOkRect{166, 253, 269, 273};
constexpr RECT kCancelRect{271, 253, 374, 273};
constexpr RECT kCloseRect{363, 11, 387, 35};
constexpr RECT kEditRect{69, 126, 177, 145};
constexpr int kOkText = 1;
constexpr int kCancelText = 2;
constexpr DWORD kEditStyle = WS_VISIBLE | ES_CENTER;
} // namespace

// The record's name field keeps its terminating zero.
const size_t CRenameProfileDlg::kLongestName =
    std::tuple_size_v<decltype(SettingsRecord::ProfileName)> - 1;

CRenameProfileDlg::CRenameProfileDlg(winlayer::Window* parent)
    : CSkinnedDialog(IDD_RENAMEPROFILE, parent) {}

void CRenameProfileDlg::SetName(std::wstring name) {
    if (name.size() > kLongestName) {
        name.resize(kLongestName);
    }
    m_name = std::move(name);
}

int CRenameProfileDlg::OnCreate(CREATESTRUCTW& create) {
    const int result = CSkinnedDialog::OnCreate(create);
    LoadSkinPictures(kSkin, false);
    MakeButton(m_ok, kOkRect, SkinFile::ButtonText(kSkin, kOkText), Background(), Background());
    MakeButton(m_cancel, kCancelRect, SkinFile::ButtonText(kSkin, kCancelText), Background(),
               Background());
    MakeButton(m_close, kCloseRect, L"", Background(), Background());
    m_edit.Create(kEditStyle, kEditRect, Hwnd(), 0);
    SendMessageW(m_edit.Hwnd(), EM_SETLIMITTEXT, kLongestName, 0);
    ShapeToBackground();
    ShowName();
    return result;
}

bool CRenameProfileDlg::OnInitDialog() {
    CSkinnedDialog::OnInitDialog();
    ShowName();
    return false;
}

void CRenameProfileDlg::ShowName() {
    SetWindowTextW(m_edit.Hwnd(), m_name.c_str());
    SetFocus(m_edit.Hwnd());
}

bool CRenameProfileDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (IsClickOf(wParam, lParam, m_ok)) {
        SetName(m_edit.Text());
        EndDialog(IDOK);
    } else if (IsClickOf(wParam, lParam, m_cancel) || IsClickOf(wParam, lParam, m_close) ||
               LOWORD(wParam) == IDCANCEL) {
        // Closing the window counts as Cancel.
        EndDialog(IDCANCEL);
    }
    return true;
}

bool CRenameProfileDlg::PreTranslateMessage(MSG& msg) {
    if (IsKeyDownOf(msg, {VK_RETURN, VK_ESCAPE})) {
        return true;
    }
    return CSkinnedDialog::PreTranslateMessage(msg);
}
