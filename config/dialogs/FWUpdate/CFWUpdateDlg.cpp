#include "config/dialogs/FWUpdate/CFWUpdateDlg.h"

#include "config/core/ProgramFolder.h"
#include "config/core/SkinFile.h"
#include "config/dialogs/DialogTemplates.h"
#include "config/dialogs/FWUpdate/FlashStages.h"

#include <shellapi.h>

namespace {
constexpr wchar_t kSkinIni[] = L"skin_warn.ini";
constexpr wchar_t kToolPath[] = L"fwupdate\\KPT_FW_Update_Tool.exe";
// The bar takes the update button's place once the update runs.
constexpr RECT kUpdateRect{60, 262, 308, 292};
constexpr RECT kBarRect = kUpdateRect;
constexpr RECT kCloseRect{150, 332, 218, 352};
constexpr RECT kNowhere{0, 0, 0, 0};
constexpr RECT kTitleRect{36, 27, 204, 45};
constexpr RECT kSoftwareRect{136, 219, 233, 234};
constexpr RECT kHardwareRect{136, 203, 233, 218};
constexpr COLORREF kTitleColor = RGB(200, 200, 200);
constexpr COLORREF kVersionColor = RGB(255, 255, 255);
constexpr int kTitleSize = 18;
constexpr int kVersionSize = 12;
constexpr int kBarId = 1000;
constexpr int kBarFirst = 1;
constexpr int kBarLast = 100;
constexpr int kBarStarting = 5;
constexpr int kBarStarted = 10;
// ShellExecuteW results up to this value are errors.
constexpr INT_PTR kLastShellError = 32;
} // namespace

CFWUpdateDlg::CFWUpdateDlg(winlayer::Window* parent, int hardwareVersion, std::wstring title)
    : CSkinnedDialog(IDD_FWUPDATE, parent),
      m_barFont(CreateFontW(14, 0, 0, 0, 500, 0, 0, 0, 1, 0, 0, 6, 14, L"Tahoma")),
      m_titleText(std::move(title)), m_hardwareVersion(hardwareVersion) {}

int CFWUpdateDlg::OnCreate(CREATESTRUCTW&) {
    if (Default() == -1) {
        return -1;
    }
    m_ended = false;
    LoadPictures(SkinFile::Path(L"fw_update.png"), SkinFile::Path(L"fw_update_d.png"));
    ShapeToBackground();
    MakeButton(m_update, kUpdateRect, L"检查更新", Background(), Hover());
    MakeButton(m_close, kCloseRect, SkinFile::ButtonText(kSkinIni, 2), Background(), Hover());

    const int barWidth = kBarRect.right - kBarRect.left;
    const int barHeight = kBarRect.bottom - kBarRect.top;
    m_barEmpty = CutPicture(Background(), kBarRect.left, kBarRect.top, barWidth, barHeight);
    m_barFilled = CutPicture(Hover(), kBarRect.left, kBarRect.top, barWidth, barHeight);
    if (m_bar.Create(kBarRect, Hwnd(), kBarId)) {
        m_bar.SetPictures(m_barEmpty.get(), m_barFilled.get());
        m_bar.SetFont(m_barFont.Get());
        m_bar.SetRange(kBarFirst, kBarLast);
        m_bar.SetPos(kBarFirst);
        ShowWindow(m_bar.Hwnd(), SW_HIDE);
    }

    MakeButton(m_spare, kNowhere, L"", Background(), Hover());
    MakeLabel(m_title, kTitleRect, m_titleText, kTitleColor, kTitleSize);
    MakeLabel(m_softwareLabel, kSoftwareRect, L"软件版本 : V1.00", kVersionColor, kVersionSize);
    MakeLabel(m_hardwareLabel, kHardwareRect,
              FlashStages::HardwareVersionText(m_hardwareVersion, false), kVersionColor,
              kVersionSize);
    // The flash tool finds the box by this title.
    SetWindowTextW(Hwnd(), FlashStages::kDialogTitle);
    return 0;
}

void CFWUpdateDlg::OnDestroy() {
    m_ended = true;
    CSkinnedDialog::OnDestroy();
}

bool CFWUpdateDlg::PreTranslateMessage(MSG& msg) {
    // Enter would end the box through the dialog manager's default button.
    if (IsKeyDownOf(msg, {VK_RETURN})) {
        return true;
    }
    return CSkinnedDialog::PreTranslateMessage(msg);
}

LRESULT CFWUpdateDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == FlashStages::kProgressMessage) {
        OnFlashProgress(wParam);
        return 0;
    }
    return CSkinnedDialog::WindowProc(message, wParam, lParam);
}

bool CFWUpdateDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (IsClickOf(wParam, lParam, m_update)) {
        StartUpdate();
        return true;
    }
    // Escape arrives from the dialog manager as IDCANCEL.
    if (IsClickOf(wParam, lParam, m_close) ||
        (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDCANCEL)) {
        Finish(IDCANCEL);
        return true;
    }
    return CSkinnedDialog::OnCommand(wParam, lParam);
}

INT_PTR CFWUpdateDlg::StartTool(const std::wstring& path) {
    return reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOW));
}

void CFWUpdateDlg::StartUpdate() {
    ShowWindow(m_update.Hwnd(), SW_HIDE);
    ShowWindow(m_bar.Hwnd(), SW_SHOW);
    m_bar.SetPos(kBarStarting);
    m_bar.SetPos(kBarStarted);
    if (FindWindowW(nullptr, FlashStages::kToolTitle) != nullptr) {
        return;
    }
    // A tool that cannot start would leave the bar waiting for ever.
    if (StartTool(ProgramFolder::Path() + kToolPath) <= kLastShellError) {
        OnFlashProgress(FlashStages::kPrepareFailed);
    }
}

void CFWUpdateDlg::OnFlashProgress(WPARAM stage) {
    // The tool keeps posting after the user has closed the box.
    if (m_ended || m_bar.Hwnd() == nullptr) {
        return;
    }
    const std::optional<FlashStages::StageView> view = FlashStages::Look(stage);
    if (!view) {
        return;
    }
    m_bar.SetText(view->text);
    if (view->position != FlashStages::kKeepPosition) {
        m_bar.SetPos(view->position);
    }
    if (stage == FlashStages::kUpdated) {
        SetWindowTextW(m_hardwareLabel.Hwnd(),
                       FlashStages::HardwareVersionText(m_hardwareVersion, true).c_str());
    }
}

void CFWUpdateDlg::Finish(INT_PTR result) {
    m_ended = true;
    EndDialog(result);
}
