#include "tests/tray/FakeShellTray.h"

namespace {
const wchar_t kShellTrayClass[] = L"Shell_TrayWnd";
}

FakeShellTray::FakeShellTray() {
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof(cls);
    cls.lpfnWndProc = &FakeShellTray::Proc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = kShellTrayClass;
    RegisterClassExW(&cls);
    m_window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kShellTrayClass, L"", WS_POPUP, 0,
                               0, 1, 1, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

FakeShellTray::~FakeShellTray() {
    DestroyWindow(m_window);
    UnregisterClassW(kShellTrayClass, GetModuleHandleW(nullptr));
}

bool FakeShellTray::IsTheTray() const {
    return m_window != nullptr &&
           FindWindowExW(nullptr, nullptr, kShellTrayClass, nullptr) == m_window;
}

LRESULT CALLBACK FakeShellTray::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<FakeShellTray*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_COPYDATA && self != nullptr) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        const auto owner = reinterpret_cast<HWND>(wParam);
        self->m_calls.push_back(
            {static_cast<DWORD>(data->dwData), owner, IsWindow(owner) != FALSE});
        return TRUE;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
