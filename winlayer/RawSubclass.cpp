#include "winlayer/RawSubclass.h"

#include <utility>

namespace winlayer {

namespace {
const wchar_t kObjectProperty[] = L"winlayer.RawSubclass";
// Kept on the window when another procedure was installed over ours and ours could not be
// taken out: the trampoline then only forwards.
const wchar_t kPreviousProperty[] = L"winlayer.RawPrevious";
} // namespace

RawSubclass::~RawSubclass() {
    Restore();
}

bool RawSubclass::Install(HWND hwnd, Procedure procedure) {
    if (hwnd_ != nullptr || !IsWindow(hwnd) || GetPropW(hwnd, kObjectProperty) != nullptr ||
        !procedure) {
        return false;
    }
    if (!SetPropW(hwnd, kObjectProperty, this)) {
        return false;
    }
    hwnd_ = hwnd;
    procedure_ = std::move(procedure);
    previous_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RawSubclass::Trampoline)));
    return true;
}

LRESULT RawSubclass::CallPrevious(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd_ == nullptr || hwnd != hwnd_ || previous_ == nullptr) {
        return 0;
    }
    return CallWindowProcW(previous_, hwnd, message, wParam, lParam);
}

void RawSubclass::Restore() {
    if (hwnd_ == nullptr) {
        return;
    }
    if (GetWindowLongPtrW(hwnd_, GWLP_WNDPROC) ==
        reinterpret_cast<LONG_PTR>(&RawSubclass::Trampoline)) {
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    } else {
        SetPropW(hwnd_, kPreviousProperty, reinterpret_cast<HANDLE>(previous_));
    }
    RemovePropW(hwnd_, kObjectProperty);
    hwnd_ = nullptr;
    previous_ = nullptr;
}

LRESULT CALLBACK RawSubclass::Trampoline(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<RawSubclass*>(GetPropW(hwnd, kObjectProperty));
    if (self == nullptr) {
        auto previous = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kPreviousProperty));
        if (message == WM_NCDESTROY) {
            RemovePropW(hwnd, kPreviousProperty);
        }
        return previous != nullptr ? CallWindowProcW(previous, hwnd, message, wParam, lParam)
                                   : DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (message != WM_NCDESTROY) {
        return self->procedure_(hwnd, message, wParam, lParam);
    }
    // The window's own last message goes to its own procedure; then nothing refers to it.
    LRESULT result = self->CallPrevious(hwnd, message, wParam, lParam);
    self->Restore();
    return result;
}

} // namespace winlayer
