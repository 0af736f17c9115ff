#include "tests/tolvane/RecorderWindow.h"

namespace {
constexpr wchar_t kClassName[] = L"V212RecorderWindow";

void RegisterRecorderClass(WNDPROC procedure) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
}
} // namespace

RecorderWindow::RecorderWindow(const std::wstring& title) {
    RegisterRecorderClass(&RecorderWindow::Procedure);
    hwnd_ = CreateWindowExW(0, kClassName, title.c_str(), WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                            GetModuleHandleW(nullptr), this);
}

RecorderWindow::~RecorderWindow() {
    if (hwnd_ != nullptr) {
        DestroyWindow(hwnd_);
    }
}

int RecorderWindow::Count(UINT message) const {
    int count = 0;
    for (const Message& m : messages_) {
        count += m.message == message ? 1 : 0;
    }
    return count;
}

int RecorderWindow::Count(UINT message, WPARAM wParam, LPARAM lParam) const {
    int count = 0;
    for (const Message& m : messages_) {
        count += (m.message == message && m.wParam == wParam && m.lParam == lParam) ? 1 : 0;
    }
    return count;
}

LRESULT CALLBACK RecorderWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<RecorderWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self != nullptr && (message == WM_CLOSE || (message >= WM_USER && message < 0x8000))) {
        self->messages_.push_back({message, wParam, lParam});
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}
