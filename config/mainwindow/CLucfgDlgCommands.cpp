#include "config/mainwindow/CLucfgDlg.h"

#include "config/dialogs/FWUpdate/CFWUpdateDlg.h"
#include "winlayer/Format.h"

// Every click on a control of the main window ends here: the control is found by its window in
// one table, after the prologue that closes the pop-ups and takes a typed DPI value.

namespace {
constexpr wchar_t kCompanionTitle[] = L"Varnok Mouse Tool";
} // namespace

void CLucfgDlg::AddCommand(const winlayer::Window& control, Command command) {
    if (control.Hwnd() != nullptr) {
        m_commands[control.Hwnd()] = std::move(command);
    }
}

void CLucfgDlg::BuildCommandTable() {
    m_commands.clear();
    RegisterSettingsCommands();
    RegisterProfileCommands();
    RegisterLightingCommands();
    RegisterMacroCommands();
}

bool CLucfgDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    // The system's close (the taskbar's menu, Alt+F4) arrives as IDCANCEL without a control.
    if (lParam == 0 && LOWORD(wParam) == IDCANCEL) {
        EndWithOpenBoxes();
        return true;
    }
    const HWND control = reinterpret_cast<HWND>(lParam);
    const UINT code = HIWORD(wParam);
    if (control == m_wheelLinesEdit.Hwnd() && code == EN_CHANGE) {
        RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
        return true;
    }
    if (code == EN_KILLFOCUS && CommitNumberBox(control)) {
        return true;
    }
    if (code != BN_CLICKED) {
        return Window::OnCommand(wParam, lParam);
    }
    ClosePopups();
    CommitPendingDpiEdit();
    if (const auto found = m_commands.find(control); found != m_commands.end()) {
        // The command may replace the table's entry (never while it runs: the copy runs).
        const Command command = found->second;
        command();
        return true;
    }
    return Window::OnCommand(wParam, lParam);
}

void CLucfgDlg::RegisterSettingsCommands() {
    for (size_t i = 0; i < m_modelTabs.size(); ++i) {
        AddCommand(m_modelTabs[i], [this, i] { SetMouseModel(static_cast<int>(i)); });
    }
    AddCommand(m_closeBtn, [this] { EndDialog(IDCANCEL); });
    AddCommand(m_minimizeBtn, [this] { PostMessageW(Hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0); });
    AddCommand(m_mainTabBtn, [this] {
        if (m_mainPage != kMainPage) {
            CancelRecording();
            m_mainPage = kMainPage;
            ShowPage(m_mainPage);
        }
    });
    AddCommand(m_macroTabBtn, [this] {
        if (m_mainPage != kMacroPage) {
            m_mainPage = kMacroPage;
            ShowPage(m_mainPage);
            StopHighlightTimer();
        }
    });
    AddCommand(m_lightingTabBtn, [this] {
        CancelRecording();
        ShowPage(kLightingPage);
        StopHighlightTimer();
    });
    AddCommand(m_companionBtn, [this] { OpenCompanion(); });
    AddCommand(m_firmwareBtn, [this] {
        CFWUpdateDlg dialog(this, m_fwVersion, m_language.ButtonPage(L"FWUPDATE"));
        RunModal(dialog);
    });
    static constexpr std::array<int, 4> kSubPages{kButtonsSubPage, kPerformanceSubPage,
                                                  kLightingSubPage, kDoubleClickSubPage};
    for (size_t i = 0; i < m_subTabs.size(); ++i) {
        AddCommand(m_subTabs[i], [this, i] {
            const int subPage = kSubPages[i];
            if (subPage != m_subPage || m_mainPage != kMainPage) {
                CancelRecording();
                m_subPage = subPage;
                m_mainPage = kMainPage;
                ShowSettingsPage(subPage);
            }
        });
    }
    for (size_t i = 0; i < m_dpiStageBtns.size(); ++i) {
        AddCommand(m_dpiStageBtns[i], [this, i] {
            m_profile.SelectDpiStage(static_cast<int>(i));
            ShowDpiStage(static_cast<int>(i));
        });
    }
    AddCommand(m_scrollOffBtn, [this] { SetUniversalScroll(false); });
    AddCommand(m_scrollOnBtn, [this] { SetUniversalScroll(true); });
    AddCommand(m_wheelUpBtn, [this] { StepWheelLines(1); });
    AddCommand(m_wheelDownBtn, [this] { StepWheelLines(-1); });
    AddCommand(m_pollingRateBtn, [this] { ShowSkinMenu(m_pollingRateBtn.Hwnd()); });
    using Click = ProfileEdits::DoubleClickButton;
    AddCommand(m_doubleClickA, [this] { SetDoubleClick(Click::A); });
    AddCommand(m_doubleClickB, [this] { SetDoubleClick(Click::B); });
    AddCommand(m_doubleClickC, [this] { SetDoubleClick(Click::C); });
    for (size_t i = 0; i < m_slotBtns.size(); ++i) {
        AddCommand(m_slotBtns[i], [this, i] {
            HighlightProfileSlot(static_cast<int>(i));
            ShowButtonFunctionMenu(m_slotBtns[i].Hwnd(), static_cast<int>(i));
        });
        AddCommand(m_highlightBtns[i],
                   [this, i] { InvalidateRect(m_highlightBtns[i].Hwnd(), nullptr, FALSE); });
    }
}

void CLucfgDlg::SetMouseModel(int model) {
    m_mouseModel = model;
    for (size_t i = 0; i < m_modelTabs.size(); ++i) {
        m_modelTabs[i].SetCheck(static_cast<int>(i) == model);
    }
    if (m_mainPage == kMainPage && m_subPage == kButtonsSubPage) {
        for (CBitmapBtn& dot : m_highlightBtns) {
            ShowWindow(dot.Hwnd(), model == 3 ? SW_SHOWNA : SW_HIDE);
        }
    }
    const RECT area{636, 122, 869, 523};
    InvalidateRect(Hwnd(), &area, TRUE);
    WriteMouseId();
}

void CLucfgDlg::OpenCompanion() {
    RaiseOrOpen(kCompanionTitle, L"pallwick.exe");
}

void CLucfgDlg::ShowDpiStage(int stage) {
    RefreshDpiStageButtons(stage);
}

void CLucfgDlg::SetUniversalScroll(bool on) {
    m_scrollOnBtn.SetCheck(on);
    m_scrollOffBtn.SetCheck(!on);
    ShowTextEdit(m_wheelLinesEdit, m_profile.SetUniversalScroll(on, m_wheelLinesEdit.Text()));
}

void CLucfgDlg::StepWheelLines(int step) {
    const TextEdit edit = m_profile.StepWheelLines(step);
    SetWindowTextW(m_wheelLinesEdit.Hwnd(), edit.Text.c_str());
}

void CLucfgDlg::ShowTextEdit(const winlayer::Window& edit, const TextEdit& result) {
    if (result.TextCorrected && edit.Text() != result.Text) {
        SetWindowTextW(edit.Hwnd(), result.Text.c_str());
    }
}

void CLucfgDlg::SetDoubleClick(ProfileEdits::DoubleClickButton button) {
    m_profile.SetDoubleClick(button);
    ShowDoubleClick(Working().DoubleClickSpeed);
}
