#include "config/dialogs/Warning/CWarningDlg.h"

#include "config/core/SkinFile.h"
#include "config/dialogs/DialogTemplates.h"

namespace {
constexpr wchar_t kSkinIni[] = L"skin_warn.ini";
constexpr RECT kOkRect{39, 335, 163, 365};
constexpr RECT kCancelRect{174, 335, 298, 365};
constexpr RECT kTitleRect{36, 27, 204, 45};
constexpr RECT kFirstRect{36, 100, 301, 118};
constexpr RECT kSecondRect{36, 122, 301, 140};
constexpr COLORREF kTitleColor = RGB(254, 0, 0);
constexpr COLORREF kLineColor = RGB(175, 175, 175);
constexpr int kTextSize = 18;
} // namespace

CWarningDlg::CWarningDlg(winlayer::Window* parent, std::wstring title, std::wstring firstLine,
                         std::wstring secondLine, int flag)
    : CSkinnedDialog(IDD_WARNING, parent), m_titleText(std::move(title)),
      m_firstText(std::move(firstLine)), m_secondText(std::move(secondLine)), m_flag(flag) {}

int CWarningDlg::OnCreate(CREATESTRUCTW&) {
    if (Default() == -1) {
        return -1;
    }
    LoadPictures(SkinFile::Path(L"warn_n.png"), SkinFile::Path(L"warn_d.png"));
    MakeButton(m_ok, kOkRect, SkinFile::ButtonText(kSkinIni, 1), Background(), Hover());
    MakeButton(m_cancel, kCancelRect, SkinFile::ButtonText(kSkinIni, 2), Background(), Hover());
    MakeLabel(m_title, kTitleRect, m_titleText, kTitleColor, kTextSize);
    MakeLabel(m_first, kFirstRect, m_firstText, kLineColor, kTextSize);
    MakeLabel(m_second, kSecondRect, m_secondText, kLineColor, kTextSize);
    return 0;
}

bool CWarningDlg::PreTranslateMessage(MSG& msg) {
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) {
        EndDialog(IDOK);
        return true;
    }
    return CSkinnedDialog::PreTranslateMessage(msg);
}

bool CWarningDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    const auto from = reinterpret_cast<HWND>(lParam);
    if (from != nullptr && from == m_ok.Hwnd()) {
        EndDialog(IDOK);
        return true;
    }
    if (from != nullptr && from == m_cancel.Hwnd()) {
        EndDialog(IDCANCEL);
        return true;
    }
    // Escape arrives from the dialog manager as IDCANCEL.
    return CSkinnedDialog::OnCommand(wParam, lParam);
}
