#include "service/CBasicFunction.h"

namespace {

constexpr BYTE kKeyA = 'A';
constexpr BYTE kKeyC = 'C';
constexpr BYTE kKeyD = 'D';
constexpr BYTE kKeyE = 'E';
constexpr BYTE kKeyF = 'F';
constexpr BYTE kKeyN = 'N';
constexpr BYTE kKeyP = 'P';
constexpr BYTE kKeyR = 'R';
constexpr BYTE kKeyS = 'S';
constexpr BYTE kKeyV = 'V';
constexpr BYTE kKeyX = 'X';
constexpr BYTE kKeyZ = 'Z';

constexpr wchar_t kStartPageKey[] =
    L"HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main";
constexpr wchar_t kStartPageValue[] = L"Start Page";
constexpr wchar_t kMailCommandKey[] = L"HKEY_CLASSES_ROOT\\mailto\\shell\\open\\command";

} // namespace

bool CBasicFunction::Perform(std::uint8_t code) {
    switch (code) {
    case 64:
        SendCtrlX();
        return true;
    case 65:
        SendCtrlC();
        return true;
    case 66:
        SendCtrlV();
        return true;
    case 67:
        SendCtrlZ();
        return true;
    case 68:
        SendCtrlA();
        return true;
    case 69:
        SendCtrlF();
        return true;
    case 70:
        SendCtrlN();
        return true;
    case 71:
        SendCtrlP();
        return true;
    case 72:
        SendCtrlS();
        return true;
    case 80:
        SendAltTab();
        return true;
    case 81:
        SendAltF4();
        return true;
    case 82:
        LockWorkStation();
        return true;
    case 83:
        SendWinE();
        return true;
    case 84:
        SendWinR();
        return true;
    case 85:
    case 137:
        SendWinD();
        return true;
    case 120:
        OpenConfigProgram();
        return true;
    case 122:
        OpenCalculator();
        return true;
    case 123:
        OpenMailClient(true);
        return true;
    case 124:
        BrowserFavorites();
        return true;
    case 125:
        BrowserForward();
        return true;
    case 126:
        BrowserBack();
        return true;
    case 127:
        BrowserStop();
        return true;
    case 128:
        BrowserRefresh();
        return true;
    case 130:
        OpenBrowserHome();
        return true;
    case 132:
        PrintScreen();
        return true;
    case 133:
        SendAltPrintScreen();
        return true;
    case 135:
        SendWinF();
        return true;
    case 136:
        SendWin();
        return true;
    case 138:
        SendWinTab();
        return true;
    case 139:
        OpenTaskManager();
        return true;
    default:
        return false;
    }
}

void CBasicFunction::Press(BYTE key) {
    system_.KeyEvent(key, kKeyPress);
}

void CBasicFunction::Release(BYTE key) {
    system_.KeyEvent(key, kKeyRelease);
}

void CBasicFunction::Combination(BYTE modifier, BYTE key) {
    Press(modifier);
    system_.Pause(kStepPauseMs);
    Press(key);
    system_.Pause(kStepPauseMs);
    Release(key);
    system_.Pause(kStepPauseMs);
    Release(modifier);
}

void CBasicFunction::HeldCombination(BYTE modifier, BYTE key) {
    Press(modifier);
    system_.Pause(kStepPauseMs);
    Press(key);
    system_.Pause(kHoldPauseMs);
    Release(key);
    system_.Pause(kStepPauseMs);
    Release(modifier);
}

void CBasicFunction::Tap(BYTE key) {
    Press(key);
    system_.Pause(kStepPauseMs);
    Release(key);
}

void CBasicFunction::Instant(BYTE key) {
    Press(key);
    Release(key);
}

void CBasicFunction::SendCtrlX() {
    Combination(VK_CONTROL, kKeyX);
}
void CBasicFunction::SendCtrlC() {
    Combination(VK_CONTROL, kKeyC);
}
void CBasicFunction::SendCtrlV() {
    Combination(VK_CONTROL, kKeyV);
}
void CBasicFunction::SendCtrlZ() {
    Combination(VK_CONTROL, kKeyZ);
}
void CBasicFunction::SendCtrlA() {
    Combination(VK_CONTROL, kKeyA);
}
void CBasicFunction::SendCtrlF() {
    Combination(VK_CONTROL, kKeyF);
}
void CBasicFunction::SendCtrlN() {
    Combination(VK_CONTROL, kKeyN);
}
void CBasicFunction::SendCtrlP() {
    Combination(VK_CONTROL, kKeyP);
}
void CBasicFunction::SendCtrlS() {
    Combination(VK_CONTROL, kKeyS);
}
void CBasicFunction::SendAltTab() {
    Combination(VK_LMENU, VK_TAB);
}
void CBasicFunction::SendAltF4() {
    Combination(VK_LMENU, VK_F4);
}
void CBasicFunction::SendWinE() {
    Combination(VK_LWIN, kKeyE);
}
void CBasicFunction::SendWinR() {
    Combination(VK_LWIN, kKeyR);
}
void CBasicFunction::SendWinD() {
    Combination(VK_LWIN, kKeyD);
}
void CBasicFunction::SendWinF() {
    Combination(VK_LWIN, kKeyF);
}
void CBasicFunction::SendWin() {
    Tap(VK_LWIN);
}
void CBasicFunction::SendWinTab() {
    HeldCombination(VK_LWIN, VK_TAB);
}
void CBasicFunction::SendDelete() {
    Tap(VK_DELETE);
}
void CBasicFunction::SendF3() {
    Instant(VK_F3);
}
void CBasicFunction::SendTab() {
    Tap(VK_TAB);
}
void CBasicFunction::PrintScreen() {
    Press(VK_SNAPSHOT);
    system_.Pause(kHoldPauseMs);
    Release(VK_SNAPSHOT);
}
void CBasicFunction::SendAltPrintScreen() {
    HeldCombination(VK_LMENU, VK_SNAPSHOT);
}
void CBasicFunction::BrowserFavorites() {
    Instant(VK_BROWSER_FAVORITES);
}
void CBasicFunction::BrowserForward() {
    Instant(VK_BROWSER_FORWARD);
}
void CBasicFunction::BrowserBack() {
    Instant(VK_BROWSER_BACK);
}
void CBasicFunction::BrowserStop() {
    Instant(VK_BROWSER_STOP);
}
void CBasicFunction::BrowserRefresh() {
    Instant(VK_BROWSER_REFRESH);
}

void CBasicFunction::HoldAltTab() {
    Press(VK_LMENU);
    system_.Pause(kStepPauseMs);
    Press(VK_TAB);
    system_.Pause(kStepPauseMs);
    Release(VK_TAB);
}

void CBasicFunction::ReleaseAlt() {
    Release(VK_LMENU);
}

void CBasicFunction::SendCtrlWinTab() {
    Press(VK_CONTROL);
    system_.Pause(kStepPauseMs);
    Press(VK_LWIN);
    system_.Pause(kStepPauseMs);
    Press(VK_TAB);
    system_.Pause(kStepPauseMs);
    Release(VK_TAB);
    system_.Pause(kStepPauseMs);
    Release(VK_LWIN);
    system_.Pause(kStepPauseMs);
    Release(VK_CONTROL);
}

void CBasicFunction::LockWorkStation() {
    system_.LockWorkStation();
}

void CBasicFunction::WindowCommand(LONG_PTR neededBox, WPARAM command) {
    HWND window = system_.ForegroundWindow();
    if (window == nullptr) {
        return;
    }
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    if ((style & neededBox) == 0 || window == system_.DesktopWindow()) {
        return;
    }
    system_.SendWindowMessage(window, WM_SYSCOMMAND, command, 0);
}

void CBasicFunction::MaximizeForeground() {
    WindowCommand(WS_MAXIMIZEBOX, SC_MAXIMIZE);
}

void CBasicFunction::MinimizeForeground() {
    WindowCommand(WS_MINIMIZEBOX, SC_MINIMIZE);
}

void CBasicFunction::Open(const std::wstring& file, int show) {
    if (!file.empty()) {
        system_.ShellOpen(file, show);
    }
}

void CBasicFunction::OpenConfigProgram() {
    const std::wstring path = system_.ModuleFileName();
    const std::size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos) {
        return;
    }
    Open(path.substr(0, slash) + L"\\config.exe", SW_SHOW);
}

void CBasicFunction::OpenCalculator() {
    Open(L"calc.exe", SW_SHOW);
}

void CBasicFunction::OpenTaskManager() {
    Open(L"taskmgr.exe", SW_SHOW);
}

std::wstring CBasicFunction::MailProgram(std::wstring_view command) {
    if (command.size() <= 3 || command.front() != L'"') {
        return {};
    }
    const std::size_t end = command.find(L'"', 3);
    if (end == std::wstring_view::npos) {
        return {};
    }
    return std::wstring(command.substr(1, end - 1));
}

void CBasicFunction::OpenMailClient(bool useRegistry) {
    if (!useRegistry) {
        Instant(VK_LAUNCH_MAIL);
        return;
    }
    const auto command = system_.ReadRegistryString(kMailCommandKey, L"");
    if (command) {
        Open(MailProgram(*command), SW_SHOWDEFAULT);
    }
}

void CBasicFunction::OpenBrowserHome() {
    std::wstring page = system_.ReadRegistryString(kStartPageKey, kStartPageValue).value_or(L"");
    const auto defaultValue = system_.ReadRegistryString(kStartPageKey, L"");
    if (defaultValue && !defaultValue->empty()) {
        page = *defaultValue;
    }
    Open(page, SW_SHOWDEFAULT);
}
