#include "tray/CPennrack.h"

#include "shared/lang/ReadXmlValue.h"
#include "shared/store/DataPaths.h"

namespace {

// The window's own class: no class style, cursor, brush or icon.
const wchar_t* TrayWindowClass() {
    static const wchar_t kName[] = L"V212PennrackWindow";
    static const bool registered = [] {
        WNDCLASSEXW cls{};
        cls.cbSize = sizeof(cls);
        cls.lpfnWndProc = ::DefWindowProcW;
        cls.hInstance = GetModuleHandleW(nullptr);
        cls.lpszClassName = kName;
        return RegisterClassExW(&cls) != 0;
    }();
    return registered ? kName : nullptr;
}

} // namespace

CPennrack::~CPennrack() {
    // The icon must not outlive the window the shell reports to.
    RemoveNotifyIcon();
}

bool CPennrack::CreateTrayWindow() {
    return CreateEx(0, TrayWindowClass(), kWindowTitle, WS_POPUP, 100, 100, 100, 100, nullptr,
                    nullptr);
}

int CPennrack::OnCreate(CREATESTRUCTW&) {
    const std::wstring executable = ProgramFilePath();
    const auto slash = executable.find_last_of(L'\\');
    m_programFolder = slash == std::wstring::npos ? std::wstring() : executable.substr(0, slash);
    m_languageLibrary.reset(LoadLibraryW((m_programFolder + L"\\language.dll").c_str()));
    m_stringsFile = m_programFolder + L"\\Strings.xml";
    AddNotifyIcon();
    return 0;
}

void CPennrack::AddNotifyIcon() {
    SHFILEINFOW info{};
    SHGetFileInfoW(ProgramFilePath().c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                   SHGFI_ICON | SHGFI_SMALLICON);
    m_icon.reset(info.hIcon);

    m_notifyIcon = NOTIFYICONDATAW{};
    m_notifyIcon.cbSize = sizeof(NOTIFYICONDATAW);
    m_notifyIcon.hWnd = Hwnd();
    m_notifyIcon.uID = kNotifyIconId;
    m_notifyIcon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_notifyIcon.uCallbackMessage = kTrayNotifyMessage;
    m_notifyIcon.hIcon = m_icon.get();
    lstrcpynW(m_notifyIcon.szTip, kConfigWindowTitle, ARRAYSIZE(m_notifyIcon.szTip));
    Shell_NotifyIconW(NIM_ADD, &m_notifyIcon);
}

void CPennrack::RemoveNotifyIcon() {
    if (m_notifyIcon.hWnd != nullptr)
        Shell_NotifyIconW(NIM_DELETE, &m_notifyIcon);
}

void CPennrack::OnDestroy() {
    RemoveNotifyIcon();
    m_notifyIcon.hWnd = nullptr;
    m_icon.reset();
    m_languageLibrary.reset();
    Window::OnDestroy();
}

void CPennrack::OnClose() {
    RemoveNotifyIcon();
    // Destroying is the whole answer: the default handling would destroy a second time.
    DestroyWindow();
}

void CPennrack::OnTimer(UINT_PTR id) {
    KillTimer(id);
    Window::OnTimer(id);
}

bool CPennrack::OnCommand(WPARAM wParam, LPARAM) {
    switch (LOWORD(wParam)) {
    case kShowConfigCommand:
        ShowConfigProgram();
        return true;
    case kCloseCommand:
        DestroyWindow();
        return true;
    default:
        return false;
    }
}

LRESULT CPennrack::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kTrayNotifyMessage)
        return OnTrayNotify(wParam, lParam);
    return Window::DefWindowProc(message, wParam, lParam);
}

LRESULT CPennrack::OnTrayNotify(WPARAM, LPARAM lParam) {
    switch (static_cast<UINT>(lParam)) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        ShowConfigProgram();
        break;
    case WM_RBUTTONDOWN:
        ShowTrayMenu();
        break;
    default:
        break;
    }
    return 0;
}

void CPennrack::ShowTrayMenu() {
    const HWND window = Hwnd();
    SetForegroundWindow(GetLastActivePopup(window));
    MenuHandle menu = CreateTrayMenu(m_stringsFile);
    if (!menu)
        return;
    POINT cursor{};
    GetCursorPos(&cursor);
    TrackPopupMenu(menu.get(), 0, cursor.x, cursor.y, 0, window, nullptr);
    // Lets the menu close properly when the user clicks elsewhere.
    PostMessageW(window, WM_NULL, 0, 0);
}

CPennrack::MenuHandle CPennrack::CreateTrayMenu(const std::wstring& stringsFile) {
    MenuHandle menu(CreatePopupMenu());
    if (!menu)
        return menu;
    AppendMenuW(menu.get(), MF_STRING, kShowConfigCommand,
                GetTrayString(stringsFile, L"TRAY", L"CONFIG").c_str());
    SetMenuDefaultItem(menu.get(), kShowConfigCommand, FALSE);
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.get(), MF_STRING, kCloseCommand,
                GetTrayString(stringsFile, L"TRAY", L"CLOSE").c_str());
    return menu;
}

std::wstring CPennrack::GetTrayString(const std::wstring& file, const wchar_t* section,
                                      const wchar_t* key) {
    return ReadXmlValue(file, section, key);
}

void CPennrack::ShowConfigProgram() {
    if (HWND config = FindWindowW(nullptr, kConfigWindowTitle)) {
        if (IsIconic(config))
            ShowWindow(config, SW_SHOWNORMAL);
        SetForegroundWindow(config);
        SetActiveWindow(config);
        return;
    }
    const std::wstring program = m_programFolder + L"\\config.exe";
    ShellExecuteW(nullptr, L"open", program.c_str(), nullptr, nullptr, SW_SHOW);
}
