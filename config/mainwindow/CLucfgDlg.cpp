#include "config/mainwindow/CLucfgDlg.h"

#include "config/controls/CControlGlobals.h"
#include "config/controls/ListAndMenuResources.h"
#include "config/core/ProgramFolder.h"
#include "config/core/ServiceWindow.h"
#include "config/mainwindow/ConfigResources.h"
#include "shared/codes/CodeTables.h"
#include "shared/gfx/CreateRegionFromBitmap.h"
#include "shared/gfx/LoadPictureFile.h"
#include "shared/store/CIniFile.h"
#include "shared/store/DataPaths.h"
#include "shared/store/ServiceIni.h"
#include "winlayer/DoubleBuffer.h"
#include "winlayer/FileDialog.h"
#include "winlayer/Format.h"
#include "winlayer/PaintDC.h"

#include <shellapi.h>

#include <algorithm>

namespace {
constexpr UINT kCaptionHorizontal = 1;
constexpr Gdiplus::ARGB kFrameColor = 0xFF035793;
constexpr COLORREF kPaintTextColor = RGB(255, 225, 0);
// The longest program path the link keeps.
constexpr size_t kMaxLinkedProgramPath = 126;

std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring TitleOf(const std::wstring& path) {
    return winlayer::FileDialog::TitleOf(path);
}
} // namespace

CLucfgDlg::CLucfgDlg(std::wstring programFolder)
    : Dialog(IDD_LUCFG_DIALOG), m_programFolder(programFolder.empty() ? FolderOf(ProgramFilePath())
                                                                      : std::move(programFolder)),
      m_languagePath(m_programFolder + L"Strings.xml"), m_language(m_languagePath),
      m_paths(ConfigPaths::FromUserDataFolder()), m_profile(m_paths), m_profileList(m_paths),
      m_profileOps(m_profile, m_profileList, m_programFolder + L"Mouse.ini"),
      m_macros(m_paths.MacroFolder(), m_paths.SettingsFile(),
               [this](const MacroEvent& event) { return EventName(event); }),
      m_recorder(m_macros.Editor(), MacroCapture{[this] { return m_hooks.Loaded(); },
                                                 [this](bool keyboard, bool mouse) {
                                                     m_hooks.EnableHook(keyboard);
                                                     m_hooks.EnableMouseHook(mouse);
                                                 }}) {
    m_icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    // Every store copies "Mouse.ini" onto the file of the profile the window shows.
    m_profile.SetNameSource([this] { return CurrentProfileName(); });
    m_profile.SetWaitNotice([this] { SetTimer(kStoreRetryTimer, kStoreRetryMs); });
}

std::wstring CLucfgDlg::EventName(const MacroEvent& event) const {
    if (event.EventKind() != MacroEvent::Key) {
        return KeyCodeToName(event.Code);
    }
    // One name for a key however the list was filled (recorded or read from the file): a key is
    // recorded, not the letter it typed, so Caps Lock never changes it, and the two Windows keys
    // keep names of their own.
    std::uint32_t virtualKey = 0;
    if (!KeyCodeMap_LookupReverse(event.Code, virtualKey)) {
        return {};
    }
    const std::uint32_t position = MacroRecorder::RecordedKeyPosition(virtualKey);
    return position <= 0xFF ? KeyCodeToName(static_cast<std::uint8_t>(position)) : std::wstring();
}

CLucfgDlg::~CLucfgDlg() = default;

int CLucfgDlg::IsOtherSlotActive(const SettingsRecord& record, int index) {
    for (int i = 0; i < kButtonCount; ++i) {
        if (i != index && record.ButtonAssigned[static_cast<size_t>(i)].FunctionCode == 1) {
            return 1;
        }
    }
    return 0;
}

// --- Messages ---

bool CLucfgDlg::PreTranslateMessage(MSG& msg) {
    if (msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN ||
        msg.message == WM_MBUTTONDOWN) {
        OnPressAnywhere(msg.hwnd);
    }
    // The dialog's keyboard handling would end the window on Escape or Enter.
    if (msg.message == WM_KEYDOWN &&
        (msg.wParam == VK_ESCAPE || msg.wParam == VK_RETURN || msg.wParam == VK_F1)) {
        if (msg.wParam == VK_ESCAPE) {
            DismissPopups();
        }
        return true;
    }
    return Dialog::PreTranslateMessage(msg);
}

void CLucfgDlg::OnPressAnywhere(HWND target) {
    // A number typed and not yet taken is taken before the press does anything else.
    if (const HWND focus = GetFocus(); target != focus) {
        CommitNumberBox(focus);
    }
    DismissPopups();
}

void CLucfgDlg::DismissPopups() {
    if (m_popup) {
        m_hover = {-1, -1};
    }
    ClosePopups();
}

int CLucfgDlg::OnCreate(CREATESTRUCTW&) {
    if (static_cast<int>(Default()) == -1) {
        return -1;
    }
    ProgramFolder::Set(m_programFolder);
    GetCurrentDirectoryW(static_cast<DWORD>(m_savedDirectory.size()), m_savedDirectory.data());
    SetCurrentDirectoryW(m_programFolder.c_str());

    CControlGlobals::SetFaceName(
        winlayer::Format(L"%ls", m_language.Text(L"FONT", L"MAIN").c_str()));

    BuildSkinControls();
    BuildCommandTable();

    if (m_mask) {
        if (winlayer::RegionHandle region = CreateRegionFromBitmap(m_mask.Get(), 0xFFFFFF, 0)) {
            SetWindowRegion(std::move(region), true);
        }
    }
    LoadHookLibrary();
    OutputDebugStringW(
        winlayer::Format(L"strtmp %x", static_cast<unsigned>(reinterpret_cast<UINT_PTR>(Hwnd())))
            .c_str());
    // Installed now, switched on only while a recording needs them.
    m_hooks.EnableHook(false);
    m_hooks.EnableMouseHook(false);
    SetTimer(kStartTimer, 1);
    return 0;
}

void CLucfgDlg::LoadHookLibrary() {
    if (!m_hooks.Load(m_programFolder)) {
        return;
    }
    m_hooks.InstallHook(Hwnd());
    m_hooks.InstallMouseHook(Hwnd());
}

void CLucfgDlg::OnDestroy() {
    Default();
    // A recording the window did not finish is dropped, not saved half-way.
    CancelRecording();
    m_hooks.EnableHook(false);
    m_hooks.EnableMouseHook(false);
    m_hooks.RemoveHook();
    m_hooks.RemoveMouseHook();
    ClosePopups();
    KillTimer(kHighlightTimer);
    KillTimer(kProfileButtonsTimer);
    KillTimer(kStoreRetryTimer);
}

void CLucfgDlg::OnClose() {
    EndWithOpenBoxes();
}

void CLucfgDlg::EndWithOpenBoxes() {
    // A box runs its own loop inside the handler that opened it: it is cancelled first, so that
    // the handler finishes as after a Cancel and the window's loop ends right after it.
    ClosePopups();
    // A profile switch that waits for an assignment is not made on the way out.
    m_autoProfileDeferred = false;
    StoreBeforeClosing();
    winlayer::Dialog::CancelModalBoxesOver(Hwnd());
    EndDialog(IDCANCEL);
}

void CLucfgDlg::OnTimer(UINT_PTR id) {
    switch (id) {
    case kStartTimer:
        KillTimer(kStartTimer);
        SetWindowTextW(m_loopCountEdit.Hwnd(), L"0");
        EnableWindow(m_loopCountEdit.Hwnd(), FALSE);
        break;
    case kHighlightTimer: {
        // A settings file that could not be read at the start is tried again until it can be.
        if (!m_profile.Loaded() && m_profile.Load(-1)) {
            RefreshPage();
        }
        POINT cursor{};
        GetCursorPos(&cursor);
        int index = -1;
        for (int i = 0; i < kButtonCount; ++i) {
            RECT rect{};
            if (GetWindowRect(m_slotBtns[static_cast<size_t>(i)].Hwnd(), &rect) &&
                PtInRect(&rect, cursor)) {
                index = i;
                break;
            }
        }
        HighlightProfileSlot(index);
        break;
    }
    case kProfileButtonsTimer:
        KillTimer(kProfileButtonsTimer);
        m_takeOverPending = false;
        EnableProfileButtons(true);
        break;
    case kStoreRetryTimer:
        RetryWaitingStore();
        break;
    default:
        break;
    }
    Default();
}

void CLucfgDlg::EnableProfileButtons(bool enable) {
    for (winlayer::Window* button : {static_cast<winlayer::Window*>(&m_newProfileBtn),
                                     static_cast<winlayer::Window*>(&m_profileNameBtn),
                                     static_cast<winlayer::Window*>(&m_deleteProfileBtn),
                                     static_cast<winlayer::Window*>(&m_moreProfileBtn),
                                     static_cast<winlayer::Window*>(&m_resetBtn)}) {
        EnableWindow(button->Hwnd(), enable ? TRUE : FALSE);
    }
}

void CLucfgDlg::OnLButtonDown(UINT, POINT point) {
    // Any point of the background moves the window.
    PostMessageW(Hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
    DismissPopups();
    CommitPendingDpiEdit();
    if (CControlGlobals::SecondEditFlag()) {
        SetFocus(m_subTabs[0].Hwnd());
        CControlGlobals::SetSecondEditFlag(false);
    }
    Default();
}

HCURSOR CLucfgDlg::OnQueryDragIcon() {
    return static_cast<HCURSOR>(m_icon);
}

// --- Painting ---

bool CLucfgDlg::OnEraseBkgnd(HDC) {
    return true;
}

void CLucfgDlg::OnPaint() {
    winlayer::PaintDC paint(Hwnd());
    RECT client{};
    GetClientRect(Hwnd(), &client);
    if (IsIconic(Hwnd())) {
        SendMessageW(Hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.Get()), 0);
        const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
        DrawIcon(paint.Get(), x, y, m_icon);
        return;
    }
    winlayer::DoubleBuffer buffer(paint.Get(), client);
    PaintBackground(buffer.Graphics(), buffer.Width(), buffer.Height());
    SetBkMode(buffer.Dc(), TRANSPARENT);
    SetTextColor(buffer.Dc(), kPaintTextColor);
}

void CLucfgDlg::PaintBackground(Gdiplus::Graphics& graphics, int width, int height) {
    Gdiplus::Bitmap* picture = nullptr;
    if (m_mainPage == kMainPage) {
        switch (m_subPage) {
        case kButtonsSubPage:
            picture = m_pictures[k70A].get();
            break;
        case kPerformanceSubPage:
            picture = m_pictures[kAdvanceNormal].get();
            break;
        case kLightingSubPage:
            picture = m_mouseModel == 3 ? m_pictures[kF7].get() : nullptr;
            break;
        case kDoubleClickSubPage:
            picture = m_pictures[kG1].get();
            break;
        default:
            break;
        }
    } else if (m_mainPage == kMacroPage) {
        picture = m_pictures[kMacroDisabled].get();
    }
    if (picture == nullptr) {
        // Without a picture the window shows a plain dark surface, never what lay beneath.
        graphics.Clear(Gdiplus::Color(255, 16, 18, 22));
        if (m_mainPage != kMacroPage) {
            return;
        }
    } else {
        DrawStretched(graphics, picture, Gdiplus::Rect(0, 0, width, height));
    }
    if (m_mainPage == kMacroPage && (m_frameFlag == 0 || m_frameFlag == 1) &&
        m_frameRect.right > m_frameRect.left) {
        Gdiplus::Pen pen(Gdiplus::Color(kFrameColor), 1);
        graphics.DrawRectangle(&pen, static_cast<INT>(m_frameRect.left - 1),
                               static_cast<INT>(m_frameRect.top - 1),
                               static_cast<INT>(m_frameRect.right - m_frameRect.left + 1),
                               static_cast<INT>(m_frameRect.bottom - m_frameRect.top + 1));
    }
}

// --- Pop-ups and modal dialogs ---

INT_PTR CLucfgDlg::RunModal(winlayer::Dialog& dialog) {
    const bool highlighting = m_highlightTimerOn;
    StopHighlightTimer();
    const INT_PTR result = dialog.DoModal();
    if (highlighting && Hwnd() != nullptr) {
        StartHighlightTimer();
    }
    return result;
}

void CLucfgDlg::StartHighlightTimer() {
    KillTimer(kHighlightTimer);
    SetTimer(kHighlightTimer, kHighlightMs);
    m_highlightTimerOn = true;
}

void CLucfgDlg::StopHighlightTimer() {
    KillTimer(kHighlightTimer);
    m_highlightTimerOn = false;
}

// --- Frame operations ---

void CLucfgDlg::ShowPollingRate(int interval) {
    if (interval != 0) {
        m_pollingRateBtn.SetCaption(std::to_wstring(PollingRateHz(interval)), 0,
                                    kCaptionHorizontal);
    }
}

void CLucfgDlg::SetPageState(int type) {
    m_pageType = type;
    EnableWindow(m_fixedDelayEdit.Hwnd(), FALSE);
    static constexpr std::array<std::array<bool, 3>, 3> kStates{
        {{true, false, false}, {false, true, false}, {false, false, true}}};
    if (type < 0 || type > 2) {
        return;
    }
    for (size_t i = 0; i < m_delayModeBtns.size(); ++i) {
        m_delayModeBtns[i].SetCheck(kStates[static_cast<size_t>(type)][i]);
    }
    if (type == 1) {
        EnableWindow(m_fixedDelayEdit.Hwnd(), TRUE);
    }
}

void CLucfgDlg::SetModeButtons(int mode) {
    if (mode < 0 || mode > 3) {
        return;
    }
    for (size_t i = 0; i < m_zoneBtns.size(); ++i) {
        m_zoneBtns[i].SetCheck(static_cast<int>(i) == mode);
    }
    m_mode = mode;
}

void CLucfgDlg::SetTwoValues(int a, int b) {
    m_effectSpeedSlider.SetPos(b);
    m_ledLevelSlider.SetPos(a);
}

void CLucfgDlg::HighlightProfileSlot(int index) {
    if (!m_slotHighlighting) {
        return;
    }
    for (int i = 0; i < kButtonCount; ++i) {
        m_highlightBtns[static_cast<size_t>(i)].SetCheck(i == index);
    }
}

int CLucfgDlg::ListCount(HWND list) {
    return static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
}

void CLucfgDlg::ListReset(HWND list) {
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
}

void CLucfgDlg::WriteMouseId() {
    if (m_paths.Valid()) {
        CIniFile(m_paths.SettingsFile()).WriteInt(L"Setting", L"MouseID", m_mouseModel);
    }
}

void CLucfgDlg::RaiseOrOpen(const wchar_t* title, const std::wstring& fileName) const {
    if (HWND window = FindWindowW(nullptr, title)) {
        if (IsIconic(window)) {
            ShowWindow(window, SW_SHOWNORMAL);
        }
        SetForegroundWindow(window);
        SetActiveWindow(window);
        return;
    }
    const std::wstring path = m_programFolder + fileName;
    ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOW);
}

void CLucfgDlg::OpenHelp() {
    RaiseOrOpen(L"HTML Help", L"Mirelcfg.chm");
}

std::optional<std::wstring> CLucfgDlg::BrowseProgram() {
    winlayer::FileDialog dialog(winlayer::FileDialog::Kind::Open, L".exe", L"*.exe",
                                OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, L"(*.exe)|*.exe||", Hwnd());
    std::array<wchar_t, MAX_PATH> programs{};
    ExpandEnvironmentStringsW(L"%ProgramFiles%", programs.data(),
                              static_cast<DWORD>(programs.size()));
    dialog.SetInitialFolder(programs.data());
    if (dialog.DoModal() != IDOK || dialog.Path().size() > kMaxLinkedProgramPath) {
        return std::nullopt;
    }
    return TitleOf(dialog.Path());
}

void CLucfgDlg::OnRateCommand(int id) {
    if (m_profile.SetPollingRateFromMenu(id)) {
        ShowPollingRate(Working().PollingRate);
    }
}
