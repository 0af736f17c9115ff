#include "config/mainwindow/CLucfgDlg.h"

#include "config/core/ProfileEdits.h"
#include "winlayer/Format.h"

// Which controls each page and sub-page shows, and the refresh of the settings page from the
// working profile.

namespace {
constexpr int kHorizontal = 1;
constexpr std::array<int, 4> kSubPages{CLucfgDlg::kButtonsSubPage, CLucfgDlg::kPerformanceSubPage,
                                       CLucfgDlg::kLightingSubPage, CLucfgDlg::kDoubleClickSubPage};

void Show(const winlayer::Window& window, bool show) {
    if (window.Hwnd() != nullptr) {
        ShowWindow(window.Hwnd(), show ? SW_SHOWNA : SW_HIDE);
    }
}
} // namespace

void CLucfgDlg::ShowGroup(const std::vector<winlayer::Window*>& group, bool show) const {
    for (const winlayer::Window* window : group) {
        Show(*window, show);
    }
}

void CLucfgDlg::ShowPage(int page) {
    if (page == kMainPage) {
        ShowSettingsPage(m_subPage);
        return;
    }
    if (page == kLightingPage || page == kLightingSubPage) {
        // The lighting controls all live on the main page's lighting sub-page.
        m_mainPage = kMainPage;
        m_subPage = kLightingSubPage;
        ShowSettingsPage(kLightingSubPage);
        return;
    }
    if (page != kMacroPage) {
        return;
    }
    ShowGroup(m_profileGroup, false);
    Show(m_resetBtn, false);
    ShowGroup(m_subTabGroup, false);
    ShowGroup(m_buttonsGroup, false);
    ShowGroup(m_performanceGroup, false);
    ShowGroup(m_doubleClickGroup, false);
    ShowGroup(m_lightingGroup, false);
    HideLightingOptions();
    ShowGroup(m_alwaysGroup, true);
    ShowGroup(m_macroGroup, true);
    // A recording keeps its stop button where the record button stands (a refresh shows the
    // page while one runs).
    Show(m_recordBtn, !m_recorder.Active());
    Show(m_stopRecordBtn, m_recorder.Active());
    m_mainTabBtn.SetCheck(false);
    m_macroTabBtn.SetCheck(true);
    m_lightingTabBtn.SetCheck(false);
    const RECT area{13, 94, 902, 523};
    InvalidateRect(Hwnd(), &area, TRUE);
}

void CLucfgDlg::ShowSettingsPage(int subPage) {
    m_mainTabBtn.SetCheck(true);
    m_macroTabBtn.SetCheck(false);
    m_lightingTabBtn.SetCheck(false);
    if (subPage == kButtonsSubPage) {
        StartHighlightTimer();
    } else {
        StopHighlightTimer();
    }
    for (size_t i = 0; i < m_subTabs.size(); ++i) {
        m_subTabs[i].SetCheck(kSubPages[i] == subPage);
    }
    ShowGroup(m_macroGroup, false);
    Show(m_stopRecordBtn, false);
    ShowGroup(m_alwaysGroup, true);
    ShowGroup(m_subTabGroup, true);
    ShowGroup(m_profileGroup, subPage != kLightingSubPage);
    ShowGroup(m_buttonsGroup, subPage == kButtonsSubPage);
    ShowGroup(m_performanceGroup, subPage == kPerformanceSubPage);
    ShowGroup(m_doubleClickGroup, subPage == kDoubleClickSubPage);
    ShowGroup(m_lightingGroup, subPage == kLightingSubPage);
    // The reset shares its corner with the performance sub-page's pointer-speed slider.
    Show(m_resetBtn, subPage == kButtonsSubPage || subPage == kDoubleClickSubPage);
    HideLightingOptions();
    if (subPage == kLightingSubPage) {
        ShowColorValues(static_cast<COLORREF>(Working().LedColor));
        ArrangeLedControls(LedModeOfSlot());
    }
    InvalidateRect(Hwnd(), nullptr, TRUE);
}

int CLucfgDlg::LedModeOfSlot() const {
    switch (m_lightingSlot) {
    case 0:
        return Working().LedMode;
    case 1:
        return Working().LedMode2;
    case 2:
        return Working().LedMode3;
    case 3:
        return Working().LedMode4;
    default:
        return 0;
    }
}

void CLucfgDlg::HideLightingOptions() {
    Show(m_colorSelect, false);
    Show(m_pointsBar, false);
    Show(m_applyPointsBtn, false);
    for (CBitmapBtn& button : m_presetRow) {
        Show(button, false);
    }
    for (CBitmapBtn& button : m_presetColors) {
        Show(button, false);
    }
    for (size_t i = 0; i < m_rgbEdits.size(); ++i) {
        Show(m_rgbEdits[i], false);
        Show(m_rgbCaptionBtns[i], false);
    }
}

void CLucfgDlg::ArrangeLedControls(int mode) {
    HideLightingOptions();
    if (mode >= 1 && mode <= 13 && m_subPage == kLightingSubPage && m_mainPage == kMainPage) {
        const std::wstring text = m_language.ButtonPage(winlayer::Format(L"LEDMODE%d", mode));
        m_ledModeBtn.SetCaption(text, 0, kHorizontal);
        m_ledModeSideBtn.SetCaption(text, 0, kHorizontal);
        const bool oneColor = mode == 1 || mode == 3 || mode == 9 || mode == 12;
        const bool presets = mode >= 5 && mode <= 7;
        Show(m_colorSelect, oneColor);
        for (CBitmapBtn& button : m_presetRow) {
            Show(button, oneColor);
        }
        for (CBitmapBtn& button : m_presetColors) {
            Show(button, presets);
        }
        for (size_t i = 0; i < m_rgbEdits.size(); ++i) {
            Show(m_rgbEdits[i], oneColor || presets);
            Show(m_rgbCaptionBtns[i], oneColor || presets);
            EnableWindow(m_rgbEdits[i].Hwnd(), oneColor ? TRUE : FALSE);
        }
        Show(m_pointsBar, mode == 13);
        Show(m_applyPointsBtn, mode == 13);
    }
    const RECT area{13, 130, 902, 523};
    InvalidateRect(Hwnd(), &area, TRUE);
}

void CLucfgDlg::ShowColorValues(COLORREF color) {
    const std::array<int, 3> channels{GetRValue(color), GetGValue(color), GetBValue(color)};
    for (size_t i = 0; i < m_rgbEdits.size(); ++i) {
        SetWindowTextW(m_rgbEdits[i].Hwnd(), winlayer::Format(L"%d", channels[i]).c_str());
    }
}

void CLucfgDlg::RefreshDpiStageButtons(int stage) {
    for (CBitmapBtnEdit& button : m_dpiStageBtns) {
        button.SetChecked(false);
    }
    if (stage >= 0 && stage < static_cast<int>(m_dpiStageBtns.size())) {
        m_dpiStageBtns[static_cast<size_t>(stage)].SetChecked(true);
        m_dpiSlider.SetPos(Working().DPI_INFO[static_cast<size_t>(stage)][1]);
    }
    const std::wstring& name = m_language.ButtonPage(L"DPISTAGE");
    for (size_t i = 0; i < m_dpiStageBtns.size(); ++i) {
        const int value = Working().DPI_INFO[i][1];
        m_dpiStageBtns[i].SetCaption(
            winlayer::Format(L"%ls %d", name.c_str(), static_cast<int>(i) + 1),
            ProfileEdits::DpiStageText(value), 0, kHorizontal);
    }
}

void CLucfgDlg::RedrawButtonPage() {
    const SettingsRecord& record = Working();
    for (const auto* group : {&m_profileGroup, &m_buttonsGroup, &m_performanceGroup,
                              &m_doubleClickGroup, &m_lightingGroup}) {
        for (const winlayer::Window* window : *group) {
            EnableWindow(window->Hwnd(), TRUE);
        }
    }
    EnableWindow(m_resetBtn.Hwnd(), TRUE);
    ShowPollingRate(record.PollingRate);
    RefreshDpiStageButtons(record.DPI >= 0 && record.DPI < 4 ? record.DPI : -1);
    if (m_lightingSlot >= 0 && m_lightingSlot < 4) {
        const auto& entry = record.LED_MODE_INFO[static_cast<size_t>(m_lightingSlot)];
        SetTwoValues(entry[1], entry[2]);
    }
    ArrangeLedControls(LedModeOfSlot());
    m_colorSelect.SetColor(static_cast<COLORREF>(record.LedColor));
    SetWindowTextW(m_wheelLinesEdit.Hwnd(),
                   winlayer::Format(L"%d", record.WheelScrollLines).c_str());
    m_scrollOnBtn.SetCheck(record.UniversalScrollEnabled == 1);
    m_scrollOffBtn.SetCheck(record.UniversalScrollEnabled != 1);
    const RECT counters{560, 470, 670, 510};
    InvalidateRect(Hwnd(), &counters, TRUE);
    if (record.DPI >= 0 && record.DPI < 4) {
        m_dpiSlider.SetPos(record.DPI_INFO[static_cast<size_t>(record.DPI)][1]);
    }
    m_speedSlider.SetPos(record.Acceleration);
    const bool performance = m_mainPage == kMainPage && m_subPage == kPerformanceSubPage;
    Show(m_dpiSlider, performance);
    Show(m_speedSlider, performance);
    const std::wstring name(record.ProfileName.data(),
                            wcsnlen(record.ProfileName.data(), record.ProfileName.size()));
    m_profileNameBtn.SetCaption(name, 0, kHorizontal);
    m_profileNameBtn.SetToolTipText(name, true);
    SetWindowTextW(m_profileNameEdit.Hwnd(), name.c_str());
    const std::wstring link(record.LinkName.data(),
                            wcsnlen(record.LinkName.data(), record.LinkName.size()));
    m_linkProgramBtn.SetToolTipText(winlayer::Format(L"%ls", link.c_str()), true);
    m_linkToggleBtn.SetCheck(!link.empty());
    m_pointsBar.SetPositions(record.MULTIPOS);
    ShowDoubleClick(record.DoubleClickSpeed);
    SetModeButtons(m_lightingSlot);
}

void CLucfgDlg::ShowDoubleClick(int speed) {
    // Card A and C's switch stand for 128, card B for every other value.
    m_doubleClickA.SetCheck(speed == 128);
    m_doubleClickB.SetCheck(speed != 128);
    m_doubleClickC.SetCheck(speed == 128);
}
