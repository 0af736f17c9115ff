#include "config/dialogs/MacroSel/CMacroSelDlg.h"

#include "config/controls/ControlMessages.h"
#include "config/core/SkinFile.h"
#include "config/dialogs/DialogTemplates.h"
#include "config/dialogs/MacroSel/CRepeatCount.h"

namespace {
constexpr wchar_t kSkinIni[] = L"skin_macrosel.ini";
constexpr RECT kOkRect{39, 335, 163, 365};
constexpr RECT kCancelRect{174, 335, 298, 365};
constexpr RECT kCloseRect{295, 11, 320, 34};
constexpr RECT kNameRect{41, 96, 304, 125};
constexpr std::array<RECT, 3> kModeRects{
    {{46, 143, 67, 164}, {46, 204, 67, 225}, {46, 265, 67, 286}}};
constexpr RECT kCountRect{80, 173, 157, 190};
constexpr int kCountEditId = 20483;
constexpr std::array<RECT, 6> kLabelRects{{{36, 27, 204, 45},
                                           {36, 51, 301, 69},
                                           {36, 73, 301, 91},
                                           {79, 144, 332, 163},
                                           {79, 205, 332, 224},
                                           {79, 266, 332, 285}}};
constexpr int kFirstLabelKey = 7;
constexpr COLORREF kTitleColor = RGB(254, 0, 0);
constexpr COLORREF kTextColor = RGB(175, 175, 175);
constexpr int kTitleSize = 18;
constexpr int kTextSize = 16;
constexpr int kHorizontal = 1;
} // namespace

CMacroSelDlg::CMacroSelDlg(winlayer::Window* parent, std::vector<std::wstring> macroNames)
    : CSkinnedDialog(IDD_MACROSEL, parent), m_names(std::move(macroNames)) {}

void CMacroSelDlg::SetValues(int mode, int count, int slot) {
    m_mode = mode >= 0 && mode < static_cast<int>(m_modeButtons.size()) ? mode : 0;
    m_count = CRepeatCount::Clamp(count);
    m_slot = slot;
}

HWND CMacroSelDlg::ModeButton(int mode) const {
    if (mode < 0 || mode >= static_cast<int>(m_modeButtons.size())) {
        return nullptr;
    }
    return m_modeButtons[static_cast<size_t>(mode)].Hwnd();
}

int CMacroSelDlg::OnCreate(CREATESTRUCTW&) {
    if (Default() == -1) {
        return -1;
    }
    LoadPictures(SkinFile::ScreenPicture(kSkinIni, L"Main"),
                 SkinFile::ScreenPicture(kSkinIni, L"Over"));
    MakeButton(m_ok, kOkRect, SkinFile::ButtonText(kSkinIni, 1), Background(), Hover());
    MakeButton(m_cancel, kCancelRect, SkinFile::ButtonText(kSkinIni, 2), Background(), Hover());
    MakeButton(m_close, kCloseRect, L"", Background(), Hover());
    MakeButton(m_nameButton, kNameRect, m_name, Background(), Hover());
    for (size_t i = 0; i < m_modeButtons.size(); ++i) {
        MakeButton(m_modeButtons[i], kModeRects[i], L"", Background(), Hover());
    }
    m_countEdit.SetReportKeyUps(false);
    m_countEdit.Create(WS_VISIBLE | ES_NUMBER, kCountRect, Hwnd(), kCountEditId);
    SetWindowTextW(m_countEdit.Hwnd(), CRepeatCount::Text(m_count).c_str());
    for (size_t i = 0; i < m_labels.size(); ++i) {
        const bool title = i == 0;
        MakeLabel(m_labels[i], kLabelRects[i],
                  SkinFile::ButtonText(kSkinIni, kFirstLabelKey + static_cast<int>(i)),
                  title ? kTitleColor : kTextColor, title ? kTitleSize : kTextSize);
    }
    ShowMode(m_mode);
    return 0;
}

void CMacroSelDlg::OnDestroy() {
    // A pop-up left open would outlive the dialog's run.
    CloseNameMenu();
    CSkinnedDialog::OnDestroy();
}

void CMacroSelDlg::OnLButtonDown(UINT, POINT) {
    if (GetFocus() == m_countEdit.Hwnd()) {
        ClampEditText();
    }
    CloseNameMenu();
    Default();
}

bool CMacroSelDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    const auto from = reinterpret_cast<HWND>(lParam);
    if (from != nullptr && from == m_countEdit.Hwnd()) {
        // Typing is left as it is until it ends.
        if (HIWORD(wParam) == EN_KILLFOCUS) {
            ClampEditText();
        }
        return false;
    }
    CloseNameMenu();
    if (from != nullptr && from == m_ok.Hwnd()) {
        Accept();
        return true;
    }
    if (from != nullptr && (from == m_cancel.Hwnd() || from == m_close.Hwnd())) {
        EndDialog(IDCANCEL);
        return true;
    }
    if (from != nullptr && from == m_nameButton.Hwnd()) {
        if (HIWORD(wParam) == BN_CLICKED) {
            OpenNameMenu();
        }
        return true;
    }
    for (size_t i = 0; i < m_modeButtons.size(); ++i) {
        if (from != nullptr && from == m_modeButtons[i].Hwnd()) {
            if (HIWORD(wParam) == BN_CLICKED) {
                ShowMode(static_cast<int>(i));
            }
            return true;
        }
    }
    // Enter from the dialog manager reads the count as the OK button does.
    if (LOWORD(wParam) == IDOK) {
        Accept();
        return true;
    }
    return CSkinnedDialog::OnCommand(wParam, lParam);
}

LRESULT CMacroSelDlg::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == CMacroNameMenu::kChoice) {
        TakeChosenName(static_cast<int>(wParam));
        return 0;
    }
    // Enter in the count ends its typing.
    if (message == ControlMessages::kEditEnter) {
        ClampEditText();
        return 0;
    }
    return CSkinnedDialog::DefWindowProc(message, wParam, lParam);
}

void CMacroSelDlg::OpenNameMenu() {
    if (m_names.empty()) {
        return;
    }
    RECT button{};
    GetWindowRect(m_nameButton.Hwnd(), &button);
    auto menu = std::make_unique<CMacroNameMenu>(this, m_names);
    menu->SetPosition(button.left + 1, button.bottom);
    if (!menu->Create(CMacroNameMenu::kTemplate, this)) {
        return;
    }
    ShowWindow(menu->Hwnd(), SW_SHOWNA);
    m_menu = std::move(menu);
}

void CMacroSelDlg::CloseNameMenu() {
    if (m_menu) {
        m_menu->DestroyWindow();
        m_menu.reset();
    }
}

void CMacroSelDlg::TakeChosenName(int index) {
    // A choice that arrives after the pop-up has gone (a double click's second notice) is stale.
    if (!m_menu) {
        return;
    }
    CloseNameMenu();
    if (index < 0 || index >= static_cast<int>(m_names.size())) {
        return;
    }
    m_name = m_names[static_cast<size_t>(index)];
    m_slot = index;
    m_nameButton.SetCaption(m_name, 0, kHorizontal);
}

void CMacroSelDlg::ShowMode(int mode) {
    m_mode = mode;
    for (size_t i = 0; i < m_modeButtons.size(); ++i) {
        m_modeButtons[i].SetCheck(static_cast<int>(i) == mode);
    }
}

int CMacroSelDlg::ClampEditText() {
    const int count = CRepeatCount::FromText(m_countEdit.Text());
    m_countEdit.ShowCorrectedText(CRepeatCount::Text(count));
    return count;
}

void CMacroSelDlg::Accept() {
    m_count = ClampEditText();
    EndDialog(IDOK);
}
