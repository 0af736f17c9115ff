#include "tests/service/actions/TestWindow.h"

namespace {

constexpr wchar_t kClassName[] = L"V212ActionTestWindow";

void RegisterOnce(WNDPROC procedure) {
    static const ATOM atom = [procedure] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kClassName;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        return RegisterClassW(&windowClass);
    }();
    (void)atom;
}

} // namespace

TestWindow::TestWindow(DWORD style) {
    RegisterOnce(&TestWindow::Procedure);
    hwnd_ = CreateWindowExW(0, kClassName, L"V212 action test", style, 50, 50, 300, 200, nullptr,
                            nullptr, GetModuleHandleW(nullptr), this);
}

TestWindow::~TestWindow() {
    if (hwnd_ != nullptr) {
        DestroyWindow(hwnd_);
    }
}

LRESULT CALLBACK TestWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self != nullptr) {
        if (message == WM_SYSCOMMAND) {
            self->systemCommands_.push_back(wParam & 0xFFF0);
        } else if (message == WM_KEYDOWN || message == WM_KEYUP) {
            self->keyMessages_.push_back({message, wParam});
        } else if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        }
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}
