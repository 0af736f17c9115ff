#include "config/dialogs/LaunchTarget/CLaunchTargetDlg.h"

#include "config/controls/CControlGlobals.h"
#include "config/core/SkinFile.h"
#include "config/dialogs/Warning/CWarningDlg.h"

namespace {
constexpr wchar_t kSkinIni[] = L"skin_warn.ini";
constexpr RECT kOkRect{39, 335, 163, 365};
constexpr RECT kCancelRect{174, 335, 298, 365};
constexpr RECT kMiddleRect{41, 96, 304, 125};
constexpr RECT kTitleRect{36, 27, 204, 45};
constexpr RECT kHintRect{36, 122, 301, 140};
constexpr COLORREF kTitleColor = RGB(254, 0, 0);
constexpr COLORREF kTextColor = RGB(175, 175, 175);
constexpr int kTextSize = 18;

winlayer::FontHandle DialogFont() {
    return winlayer::FontHandle(CreateFontW(14, 0, 0, 0, 500, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, 6, 14,
                                            CControlGlobals::FaceName().c_str()));
}
} // namespace

CLaunchTargetDlg::CLaunchTargetDlg(UINT templateId, winlayer::Window* parent, std::wstring title,
                                   std::wstring secondText, std::wstring hint,
                                   TargetChooser chooser)
    : CSkinnedDialog(templateId, parent), m_titleText(std::move(title)),
      m_secondText(std::move(secondText)), m_hintText(std::move(hint)),
      m_chooser(std::move(chooser)) {}

int CLaunchTargetDlg::OnCreate(CREATESTRUCTW&) {
    if (Default() == -1) {
        return -1;
    }
    m_font = DialogFont();
    LoadPictures(SkinFile::Path(L"box3.jpg"), SkinFile::Path(L"box4.jpg"));
    MakeButton(m_ok, kOkRect, SkinFile::ButtonText(kSkinIni, 1), Background(), Hover());
    MakeButton(m_cancel, kCancelRect, SkinFile::ButtonText(kSkinIni, 2), Background(), Hover());
    MakeMiddleControl(kMiddleRect);
    MakeLabel(m_title, kTitleRect, m_titleText, kTitleColor, kTextSize);
    // The second text has no place in this layout; its label stays empty-sized.
    MakeLabel(m_second, RECT{}, m_secondText, kTextColor, kTextSize);
    MakeLabel(m_hint, kHintRect, m_hintText, kTextColor, kTextSize);
    return 0;
}

bool CLaunchTargetDlg::MakeMiddleControl(const RECT& rect) {
    return MakeButton(m_middle, rect, m_target, Background(), Hover());
}

bool CLaunchTargetDlg::PreTranslateMessage(MSG& msg) {
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) {
        Accept();
        return true;
    }
    return CSkinnedDialog::PreTranslateMessage(msg);
}

bool CLaunchTargetDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    const auto from = reinterpret_cast<HWND>(lParam);
    if (from != nullptr && from == m_ok.Hwnd()) {
        Accept();
        return true;
    }
    if (from != nullptr && from == m_cancel.Hwnd()) {
        EndDialog(IDCANCEL);
        return true;
    }
    if (from != nullptr && from == m_middle.Hwnd()) {
        if (HIWORD(wParam) == BN_CLICKED) {
            Choose();
        }
        return true;
    }
    // The dialog manager's OK takes the same path as the button.
    if (LOWORD(wParam) == IDOK) {
        Accept();
        return true;
    }
    return CSkinnedDialog::OnCommand(wParam, lParam);
}

void CLaunchTargetDlg::Accept() {
    if (const std::optional<std::wstring> typed = TypedTarget()) {
        if (!TakeTarget(*typed)) {
            return;
        }
    }
    EndDialog(IDOK);
}

void CLaunchTargetDlg::Choose() {
    if (!m_chooser) {
        return;
    }
    if (const std::optional<std::wstring> chosen = m_chooser(Hwnd())) {
        TakeTarget(*chosen);
    }
}

bool CLaunchTargetDlg::TakeTarget(const std::wstring& target) {
    if (target.size() > kMaxTarget) {
        CWarningDlg warning(this, L"提示", L"路径太长，无法使用",
                            L"最多 " + std::to_wstring(kMaxTarget) + L" 个字符");
        warning.DoModal();
        return false;
    }
    m_target = target;
    if (m_middle.Hwnd() != nullptr) {
        m_middle.SetCaption(m_target, 0, 1);
    }
    return true;
}
