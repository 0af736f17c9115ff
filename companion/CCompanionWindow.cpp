#include "companion/CCompanionWindow.h"

namespace {
constexpr int kCloseId = IDCANCEL;
constexpr wchar_t kText[] =
    L"This window stands in for the companion tool of the mouse suite.\r\n"
    L"The tool itself is not part of this installation; nothing here changes the mouse.";
} // namespace

bool CCompanionWindow::CreateAndShow() {
    if (!CreateEx(0, nullptr, kTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                  CW_USEDEFAULT, CW_USEDEFAULT, 460, 170, nullptr, nullptr)) {
        return false;
    }
    ShowWindow(Hwnd(), SW_SHOW);
    return true;
}

int CCompanionWindow::OnCreate(CREATESTRUCTW&) {
    m_font.Reset(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    HWND text = CreateWindowExW(0, L"STATIC", kText, WS_CHILD | WS_VISIBLE, 16, 16, 420, 48, Hwnd(),
                                nullptr, instance, nullptr);
    m_close =
        CreateWindowExW(0, L"BUTTON", L"Close", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 346, 84,
                        90, 26, Hwnd(), reinterpret_cast<HMENU>(kCloseId), instance, nullptr);
    for (HWND child : {text, m_close}) {
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), TRUE);
    }
    return 0;
}

void CCompanionWindow::OnDestroy() {
    // A stock font is not deleted.
    m_font.Release();
    PostQuitMessage(0);
}

bool CCompanionWindow::OnCommand(WPARAM wParam, LPARAM) {
    if (LOWORD(wParam) == kCloseId) {
        DestroyWindow();
        return true;
    }
    return false;
}
