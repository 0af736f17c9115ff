#include "config/mainwindow/CLucfgDlg.h"

#include "config/controls/CControlGlobals.h"
#include "config/controls/ControlMessages.h"
#include "config/dialogs/Warning/CWarningDlg.h"
#include "shared/store/CDataFolderLock.h"
#include "shared/store/CIniFile.h"
#include "shared/store/SettingsFileRepair.h"
#include "winlayer/Format.h"

#include <algorithm>

// Start-up, the device service's events, and the private messages of the controls.

namespace {
constexpr int kHorizontal = 1;
constexpr UINT kDeviceEvent = 0x505;
constexpr UINT kRepaintRequest = 0x40A;
constexpr UINT kReloadDpiStages = 0x4C8;
constexpr UINT kMenuChoice = 0x501;
constexpr UINT kMacroNameChoice = 0x3414;
constexpr UINT kProfileNameChoice = 0x3415;
constexpr UINT kMoreChoice = 0x3416;
constexpr UINT kMacroListRefresh = 0x50E;
constexpr UINT kRowMenu = 0x3400;
constexpr UINT kDelayEdited = 0x3401;
constexpr UINT kDelayDialog = 0x3403;
constexpr UINT kMouseRecord = 0x1401;
} // namespace

LRESULT CLucfgDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case 0x3402:
        m_selectedMacroRow = static_cast<int>(wParam);
        return 0;
    case kDelayDialog:
        return OnMacroMessage3403(wParam);
    case kRowMenu:
        return OnMsg3400();
    case kRepaintRequest:
        return OnRepaintRequest(wParam);
    case kDeviceEvent:
        return OnDeviceEvent(wParam, lParam);
    case kReloadDpiStages:
        return OnReloadDpiStages();
    case ControlMessages::kSliderValue:
        return OnSliderChanged(wParam, lParam);
    case 0x500:
        // The service closes the window this way; a sub-menu's own choice never reaches here.
        if (wParam == 0 && lParam == 0) {
            EndWithOpenBoxes();
        }
        return 0;
    case kMacroListRefresh:
        return OnMacroListRefresh();
    case 0x502:
    case ControlMessages::kMarkerValue:
        return 0;
    case HookLibrary::kKeyReport:
        return OnMacroRecordKey(wParam, lParam);
    case ControlMessages::kEditKeyUp:
        return OnMacroMessage1402(wParam, lParam);
    case ControlMessages::kEditEnter:
        return OnDpiStageEnter();
    case ControlMessages::kEditChanged:
        return OnWheelLinesChanged();
    case kDelayEdited:
        return OnMacroMessage3401(wParam, lParam);
    case kMouseRecord:
        return OnMsg1401(wParam, lParam);
    case ControlMessages::kColorChosen:
        return OnColorChosen(wParam);
    default:
        return Dialog::WindowProc(message, wParam, lParam);
    }
}

LRESULT CLucfgDlg::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kMenuChoice:
        OnMenuChoice(wParam, lParam);
        break;
    case kMacroNameChoice:
        OnMacroNameChoice(wParam);
        break;
    case kProfileNameChoice:
        OnProfileNameChoice(wParam);
        break;
    case kMoreChoice:
        if (m_mainPage == kMacroPage) {
            OnMacroMoreChoice(wParam);
        } else {
            OnMoreChoice(wParam);
        }
        break;
    default:
        break;
    }
    return Dialog::DefWindowProc(message, wParam, lParam);
}

bool CLucfgDlg::OnInitDialog() {
    // The window answers while another program holds the data folder's lock.
    CDataFolderLock::SetThreadWait(CDataFolderLock::kWindowThreadWaitMs);
    // What a killed writer or a damaged file left is mended before the first read.
    if (m_paths.Valid()) {
        RepairSettingsFile(m_paths.DataFolder());
    }
    SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
    SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));
    LoadWorkingProfile(-1);
    m_fwVersion = Working().FWVersion;
    if (m_paths.Valid()) {
        const CIniFile settings(m_paths.SettingsFile());
        const std::wstring name = settings.ReadString(L"GROUP", L"ProfileName", L"");
        m_profileNameBtn.SetCaption(name, 0, kHorizontal);
        m_profileNameBtn.SetToolTipText(name, true);
        m_linkProgramBtn.SetToolTipText(settings.ReadString(L"GROUP", L"LinkName", L""), true);
    }
    SetWindowTextW(Hwnd(), kWindowTitle);
    m_mainPage = kMainPage;
    m_subPage = kButtonsSubPage;
    ShowPage(m_mainPage);
    m_eventList.SetColors(RGB(0, 0, 0), RGB(60, 110, 200));
    m_eventList.SetTextColors(RGB(200, 200, 200), RGB(255, 255, 255));
    m_eventList.SetSelectionMode(true);
    StartHighlightTimer();
    LoadMacroList();
    ShowFirstMacro();
    LoadProfileList();
    ProfileResult first = m_profileOps.CreateFirst(m_language.ButtonPage(L"NEWPROFILE"));
    if (first.Succeeded()) {
        // Nothing waits on the service at the first start.
        first.DisableProfileButtons = false;
        ApplyProfileResult(first);
    }
    RedrawButtonPage();
    RefreshButtonCaptions();
    SetWindowLongPtrW(Hwnd(), GWL_STYLE, GetWindowLongPtrW(Hwnd(), GWL_STYLE) | WS_MINIMIZEBOX);
    m_addMacroMenuBtn.SetCaption(m_language.ButtonPage(L"ADDMACRO1"), 0, kHorizontal);
    UpdateAddMacroTexts();
    return true;
}

void CLucfgDlg::LoadWorkingProfile(int profileArg) {
    m_profile.Load(profileArg);
}

StoreResult CLucfgDlg::ApplyToDevice(int flag) {
    return m_profile.ApplyToDevice(flag);
}

StoreResult CLucfgDlg::StoreAndNotify(UINT message, WPARAM wParam, LPARAM lParam) {
    return m_profile.StoreAndNotify(message, wParam, lParam);
}

bool CLucfgDlg::CopyProfileFile() {
    return m_profile.CopyProfileFile();
}

bool CLucfgDlg::Warn(const std::wstring& title, const std::wstring& text,
                     const std::wstring& secondLine) {
    CWarningDlg box(this, title, text, secondLine, 0);
    return RunModal(box) == IDOK;
}

// --- The service's events ---

LRESULT CLucfgDlg::OnDeviceEvent(WPARAM code, LPARAM value) {
    // Events keep their order: one that came after a waiting one waits too.
    if (!m_waitingEvents.empty() || !HandleDeviceEvent(code, value)) {
        // The most an event of every code could want; older ones are superseded by then.
        constexpr std::size_t kMostWaiting = 32;
        if (m_waitingEvents.size() == kMostWaiting) {
            m_waitingEvents.erase(m_waitingEvents.begin());
        }
        m_waitingEvents.emplace_back(code, value);
        SetTimer(kStoreRetryTimer, kStoreRetryMs);
    }
    return 0;
}

void CLucfgDlg::RetryWaitingStore() {
    if (!m_profile.StoreWaiting()) {
        return;
    }
    while (!m_waitingEvents.empty()) {
        const auto [code, value] = m_waitingEvents.front();
        if (!HandleDeviceEvent(code, value)) {
            return;
        }
        m_waitingEvents.erase(m_waitingEvents.begin());
    }
    if (!m_profile.Waiting()) {
        KillTimer(kStoreRetryTimer);
    }
}

void CLucfgDlg::StoreBeforeClosing() {
    if (!m_profile.Waiting()) {
        return;
    }
    // The window goes: a longer wait than a click's costs nobody anything now.
    const DWORD windowWait = CDataFolderLock::SetThreadWait(CDataFolderLock::kWaitMs);
    const bool stored = m_profile.StoreWaiting();
    CDataFolderLock::SetThreadWait(windowWait);
    if (!stored) {
        OutputDebugStringW(L"closing: a change could not be stored\n");
        Warn(L"提示", L"设置文件被另一个程序占用，最后的更改未能保存");
    }
}

bool CLucfgDlg::HandleDeviceEvent(WPARAM code, LPARAM value) {
    // The service may have written "Mouse.ini": it is read again first, whatever the event. A
    // change of ours that waits for the file is stored before, never overwritten by the read.
    const DeviceEventResult applied = m_profile.ApplyDeviceEvent(code, value);
    if (applied == DeviceEventResult::Later) {
        return false;
    }
    const bool stored = applied == DeviceEventResult::Stored;
    switch (code) {
    case 8:
        if (stored) {
            ShowDpiStage(static_cast<int>(value));
        }
        return true;
    case 9:
        if (!stored) {
            return true;
        }
        for (const auto* group : {&m_profileGroup, &m_subTabGroup, &m_buttonsGroup}) {
            for (const winlayer::Window* window : *group) {
                EnableWindow(window->Hwnd(), TRUE);
            }
        }
        EnableWindow(m_mainTabBtn.Hwnd(), TRUE);
        EnableWindow(m_macroTabBtn.Hwnd(), TRUE);
        EnableWindow(m_resetBtn.Hwnd(), TRUE);
        m_takeOverPending = false;
        if (value != 3) {
            RefreshPage();
        }
        return true;
    case 10:
        if (stored) {
            RefreshPage();
        }
        return true;
    case 11:
        // The service has taken a profile over: buttons that a profile operation disabled come
        // back a second later, not with the refresh of the profile panel. Any other apply (the
        // Reset, a setting) leaves them usable.
        RefreshPage();
        if (m_takeOverPending) {
            EnableProfileButtons(false);
        }
        KillTimer(kProfileButtonsTimer);
        SetTimer(kProfileButtonsTimer, 1000);
        return true;
    case 15:
        if (m_assigning) {
            m_autoProfileDeferred = true;
            return true;
        }
        if (const std::wstring name = m_profileOps.AutoProfileName(); !name.empty()) {
            SelectProfile(name);
        }
        return true;
    default:
        RefreshPage();
        return true;
    }
}

void CLucfgDlg::RefreshPage() {
    ShowPage(m_mainPage);
    RedrawButtonPage();
    // The captions name the macros the list holds now.
    LoadMacroList();
    RefreshButtonCaptions();
    // A recording, or an operation asking about its macro, keeps that macro: the macro refresh
    // waits for its end.
    if (m_recorder.Active() || m_macroKept) {
        m_refreshDeferred = true;
        return;
    }
    ShowFirstMacro();
}

LRESULT CLucfgDlg::OnRepaintRequest(WPARAM code) {
    switch (code) {
    case 11:
        m_profile.ResetToDefaults();
        InvalidateRect(Hwnd(), nullptr, TRUE);
        RedrawButtonPage();
        RefreshButtonCaptions();
        return 0;
    case 12:
    case 18:
    case 20:
        return 0;
    case 22:
        OpenHelp();
        return 0;
    default:
        return -1;
    }
}

// --- The controls' private messages ---

LRESULT CLucfgDlg::OnSliderChanged(WPARAM value, LPARAM sliderId) {
    const SliderResult result = m_profile.OnSliderChanged(
        static_cast<int>(value), static_cast<int>(sliderId), m_lightingSlot);
    if (result.MoveSlider) {
        for (CPngHSliderBar* slider :
             {&m_dpiSlider, &m_effectSpeedSlider, &m_ledLevelSlider, &m_speedSlider}) {
            if (slider->Id() == static_cast<int>(sliderId)) {
                slider->SetPos(result.Position);
            }
        }
    }
    if (result.Stored && sliderId == WorkingProfile::kDpiSlider) {
        RefreshDpiStageButtons(m_profile.CurrentDpiStage().value_or(-1));
    }
    if (result.Stored && sliderId == WorkingProfile::kLightingLevelSlider) {
        InvalidateRect(Hwnd(), nullptr, FALSE);
    }
    return 0;
}

LRESULT CLucfgDlg::OnColorChosen(WPARAM color) {
    m_profile.SetLedColor(static_cast<COLORREF>(color));
    ShowColorValues(static_cast<COLORREF>(color));
    return 0;
}

LRESULT CLucfgDlg::OnMacroMessage1402(WPARAM, LPARAM id) {
    if (id >= 255 && id <= 257) {
        return OnColorBoxKeyUp();
    }
    if (id == m_loopCountEdit.Id()) {
        return OnLoopCountKeyUp();
    }
    return 0;
}

LRESULT CLucfgDlg::OnDpiStageEnter() {
    // Enter in a number box ends its typing.
    CommitNumberBox(GetFocus());
    if (CControlGlobals::SecondEditFlag()) {
        SetFocus(m_subTabs[0].Hwnd());
        CControlGlobals::SetSecondEditFlag(false);
    }
    CommitPendingDpiEdit();
    return 0;
}

void CLucfgDlg::CommitPendingDpiEdit() {
    if (!CControlGlobals::EditInProgress()) {
        return;
    }
    // Cleared first: the edit's loss of the focus then commits nothing more.
    CControlGlobals::SetEditInProgress(false);
    // Moving the focus ends the inline edit, unless the focus has left it already.
    if (IsDpiStageEdit(GetFocus())) {
        SetFocus(m_subTabs[0].Hwnd());
    }
    const std::optional<int> stage = m_profile.CurrentDpiStage();
    if (!stage) {
        return;
    }
    CBitmapBtnEdit& button = m_dpiStageBtns[static_cast<size_t>(*stage)];
    if (const std::optional<TextEdit> edit = m_profile.CommitDpiStage(button.Edit().Text())) {
        SetWindowTextW(button.Edit().Hwnd(), edit->Text.c_str());
        button.SetEditText(edit->Text);
        m_dpiSlider.SetPos(edit->Value);
    }
}

bool CLucfgDlg::IsDpiStageEdit(HWND window) {
    return window != nullptr &&
           std::ranges::any_of(m_dpiStageBtns, [window](CBitmapBtnEdit& button) {
               return button.Edit().Hwnd() == window;
           });
}

bool CLucfgDlg::CommitNumberBox(HWND box) {
    if (box == nullptr) {
        return false;
    }
    if (box == m_wheelLinesEdit.Hwnd()) {
        CommitWheelLinesEdit();
    } else if (box == m_loopCountEdit.Hwnd()) {
        CommitLoopCount();
    } else if (box == m_fixedDelayEdit.Hwnd()) {
        SettleDelayBox(m_fixedDelayEdit);
    } else if (box == m_insertDelayEdit.Hwnd()) {
        SettleDelayBox(m_insertDelayEdit);
    } else if (IsDpiStageEdit(box)) {
        CommitPendingDpiEdit();
    } else {
        return false;
    }
    return true;
}

LRESULT CLucfgDlg::OnWheelLinesChanged() {
    // What is being typed stays as it is: an empty or out-of-range text waits for the commit.
    m_profile.TypeWheelLines(m_wheelLinesEdit.Text());
    return 0;
}

void CLucfgDlg::CommitWheelLinesEdit() {
    const TextEdit edit = m_profile.CommitWheelLines(m_wheelLinesEdit.Text());
    if (edit.TextCorrected) {
        m_wheelLinesEdit.ShowCorrectedText(edit.Text);
    }
}

LRESULT CLucfgDlg::OnReloadDpiStages() {
    m_profile.ReloadDpiStages();
    return 0;
}
