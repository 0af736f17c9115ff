#pragma once
#include <windows.h>

#include <functional>

namespace winlayer {

// Replaces the procedure of a window that has no Window object (for example an edit made for a
// moment inside a list) by a callable; CallPrevious hands a message on to the window's own
// procedure. The previous procedure is put back by Restore, by the destructor, or when the
// window is destroyed, also from inside the callable: after that CallPrevious does nothing.
// The RawSubclass object must outlive any call of its callable.
class RawSubclass {
public:
    using Procedure = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

    RawSubclass() = default;
    ~RawSubclass();
    RawSubclass(const RawSubclass&) = delete;
    RawSubclass& operator=(const RawSubclass&) = delete;

    bool Install(HWND hwnd, Procedure procedure);
    LRESULT CallPrevious(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Restore();
    // Null once restored or destroyed.
    HWND Hwnd() const { return hwnd_; }

private:
    static LRESULT CALLBACK Trampoline(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    WNDPROC previous_ = nullptr;
    Procedure procedure_;
};

} // namespace winlayer
