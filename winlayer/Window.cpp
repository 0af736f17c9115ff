#include "winlayer/Window.h"

#include "winlayer/Application.h"

#include <windowsx.h>

#include <mutex>
#include <shared_mutex>
#include <unordered_map>
#include <vector>

namespace winlayer {

namespace {

// Left on a window whose procedure could not be put back because another procedure was
// installed over ours; StaticProc keeps forwarding to it.
const wchar_t kPreviousProperty[] = L"winlayer.Previous";

// The message each window of this thread is handling, innermost first, for Default().
struct CurrentMessage {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    const CurrentMessage* outer;
};
thread_local const CurrentMessage* t_current = nullptr;

// A window creation in progress on this thread; the first window it makes is bound to window.
struct Creation {
    Window* window;
    HWND bound;
    Creation* outer;
};
thread_local Creation* t_creation = nullptr;
// The creation hook of this thread: windows made while another is being made share it.
thread_local HHOOK t_creationHook = nullptr;

// The object of every bound window. A window property would do as well, but under Wine each
// look-up of one is a round trip to the window server, and every message needs a look-up.
class BoundWindows {
public:
    Window* Find(HWND hwnd) {
        const std::shared_lock lock(mutex_);
        const auto found = objects_.find(hwnd);
        return found == objects_.end() ? nullptr : found->second;
    }
    void Add(HWND hwnd, Window* window) {
        const std::unique_lock lock(mutex_);
        objects_.insert_or_assign(hwnd, window);
    }
    void Remove(HWND hwnd) {
        const std::unique_lock lock(mutex_);
        objects_.erase(hwnd);
    }

private:
    std::shared_mutex mutex_;
    std::unordered_map<HWND, Window*> objects_;
};

BoundWindows& Bound() {
    static BoundWindows bound;
    return bound;
}

POINT PointOf(LPARAM lParam) {
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

// The system's input-method windows may be made on the thread while ours is being created.
bool IsInputMethodWindow(const CREATESTRUCTW& create) {
    if (IS_INTRESOURCE(create.lpszClass)) {
        return false;
    }
    return lstrcmpiW(create.lpszClass, L"IME") == 0 ||
           lstrcmpiW(create.lpszClass, L"MSCTFIME UI") == 0;
}

} // namespace

Window::~Window() {
    if (hwnd_ != nullptr) {
        HWND hwnd = hwnd_;
        bool created = created_;
        Unbind();
        if (created) {
            ::DestroyWindow(hwnd);
        }
    }
}

Window* Window::FromHandle(HWND hwnd) {
    if (hwnd == nullptr) {
        return nullptr;
    }
    return Bound().Find(hwnd);
}

const wchar_t* Window::DefaultClass() {
    static const wchar_t kName[] = L"winlayer.Window";
    static const bool registered = [] {
        WNDCLASSEXW cls{};
        cls.cbSize = sizeof(cls);
        cls.style = CS_DBLCLKS;
        cls.lpfnWndProc = ::DefWindowProcW;
        cls.hInstance = GetModuleHandleW(nullptr);
        cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        cls.lpszClassName = kName;
        return RegisterClassExW(&cls) != 0;
    }();
    return registered ? kName : nullptr;
}

bool Window::CreateBound(const std::function<HWND()>& create) {
    if (hwnd_ != nullptr) {
        return false;
    }
    Creation creation{this, nullptr, t_creation};
    t_creation = &creation;
    HHOOK hook = nullptr;
    if (t_creationHook == nullptr) {
        hook = SetWindowsHookExW(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
        t_creationHook = hook;
    }
    HWND hwnd = create();
    if (hook != nullptr) {
        UnhookWindowsHookEx(hook);
        t_creationHook = nullptr;
    }
    t_creation = creation.outer;
    if (hwnd == nullptr) {
        return false;
    }
    if (hwnd_ == nullptr && creation.bound == nullptr) {
        Bind(hwnd);
    }
    created_ = hwnd_ == hwnd;
    return created_;
}

bool Window::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                      int x, int y, int width, int height, HWND parent, HMENU menuOrId) {
    const wchar_t* cls = className != nullptr ? className : DefaultClass();
    return CreateBound([&] {
        return CreateWindowExW(exStyle, cls, title, style, x, y, width, height, parent, menuOrId,
                               GetModuleHandleW(nullptr), nullptr);
    });
}

bool Window::Create(const wchar_t* className, const wchar_t* text, DWORD style, const RECT& rect,
                    HWND parent, int id) {
    return CreateEx(0, className, text, style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

bool Window::Attach(HWND hwnd) {
    if (hwnd_ != nullptr || !IsWindow(hwnd) || FromHandle(hwnd) != nullptr) {
        return false;
    }
    if (!Bind(hwnd)) {
        return false;
    }
    OnAttached();
    return true;
}

bool Window::AttachDlgItem(int id, HWND dialog) {
    return Attach(GetDlgItem(dialog, id));
}

HWND Window::Detach() {
    HWND hwnd = hwnd_;
    Unbind();
    return hwnd;
}

bool Window::DestroyWindow() {
    return hwnd_ != nullptr && ::DestroyWindow(hwnd_) != FALSE;
}

bool Window::Bind(HWND hwnd) {
    Bound().Add(hwnd, this);
    hwnd_ = hwnd;
    previous_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::StaticProc)));
    return true;
}

void Window::Unbind() {
    if (hwnd_ == nullptr) {
        return;
    }
    auto ours = reinterpret_cast<LONG_PTR>(&Window::StaticProc);
    if (GetWindowLongPtrW(hwnd_, GWLP_WNDPROC) == ours) {
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    } else {
        SetPropW(hwnd_, kPreviousProperty, reinterpret_cast<HANDLE>(previous_));
    }
    Bound().Remove(hwnd_);
    hwnd_ = nullptr;
    previous_ = nullptr;
    created_ = false;
}

LRESULT CALLBACK Window::CbtHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && t_creation != nullptr && t_creation->bound == nullptr) {
        auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
        auto hwnd = reinterpret_cast<HWND>(wParam);
        if (!IsInputMethodWindow(*create) && t_creation->window->Bind(hwnd)) {
            t_creation->bound = hwnd;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK Window::StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = FromHandle(hwnd);
    if (window == nullptr) {
        auto previous = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kPreviousProperty));
        if (message == WM_NCDESTROY) {
            RemovePropW(hwnd, kPreviousProperty);
        }
        return previous != nullptr ? CallWindowProcW(previous, hwnd, message, wParam, lParam)
                                   : ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    // Nothing here touches the object after WindowProc: a handler may have deleted it.
    CurrentMessage current{hwnd, message, wParam, lParam, t_current};
    t_current = &current;
    LRESULT result = window->WindowProc(message, wParam, lParam);
    t_current = current.outer;
    return result;
}

LRESULT Window::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate(*reinterpret_cast<CREATESTRUCTW*>(lParam));
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_NCDESTROY: {
        LRESULT result = Default();
        Unbind();
        Application* app = Application::Instance();
        if (app != nullptr && app->MainWindow() == this) {
            app->SetMainWindow(nullptr);
            PostQuitMessage(0);
        }
        return result;
    }
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<HDC>(wParam)) ? 1 : 0;
    case WM_MOUSEMOVE:
        OnMouseMove(static_cast<UINT>(wParam), PointOf(lParam));
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(static_cast<UINT>(wParam), PointOf(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(static_cast<UINT>(wParam), PointOf(lParam));
        return 0;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk(static_cast<UINT>(wParam), PointOf(lParam));
        return 0;
    case WM_RBUTTONDOWN:
        OnRButtonDown(static_cast<UINT>(wParam), PointOf(lParam));
        return 0;
    case WM_RBUTTONUP:
        OnRButtonUp(static_cast<UINT>(wParam), PointOf(lParam));
        return 0;
    case WM_MBUTTONDOWN:
        OnMButtonDown(static_cast<UINT>(wParam), PointOf(lParam));
        return 0;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return 0;
    case WM_CAPTURECHANGED:
        OnCaptureChanged(reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_KEYUP:
        OnKeyUp(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_SYSKEYDOWN:
        OnSysKeyDown(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_SYSKEYUP:
        OnSysKeyUp(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_SETFOCUS:
        OnSetFocus(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_KILLFOCUS:
        OnKillFocus(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_ENABLE:
        OnEnable(wParam != FALSE);
        return 0;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<LRESULT>(OnQueryDragIcon());
    case WM_DEVICECHANGE:
        return OnDeviceChange(static_cast<UINT>(wParam), static_cast<DWORD_PTR>(lParam));
    case WM_COMMAND: {
        Window* child = FromHandle(reinterpret_cast<HWND>(lParam));
        if (child != nullptr && child != this && child->OnReflectedCommand(HIWORD(wParam))) {
            return 0;
        }
        if (OnCommand(wParam, lParam)) {
            return 0;
        }
        return DefWindowProc(message, wParam, lParam);
    }
    case WM_DRAWITEM: {
        auto& item = *reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        Window* child = item.CtlType == ODT_MENU ? nullptr : FromHandle(item.hwndItem);
        if (child != nullptr && child != this && child->OnReflectedDrawItem(item)) {
            return TRUE;
        }
        return DefWindowProc(message, wParam, lParam);
    }
    case WM_MEASUREITEM: {
        auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        Window* child = MeasureItemTarget(item);
        if (child != nullptr && child->OnReflectedMeasureItem(item)) {
            return TRUE;
        }
        return DefWindowProc(message, wParam, lParam);
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
        Window* child = FromHandle(reinterpret_cast<HWND>(lParam));
        if (child != nullptr && child != this) {
            if (HBRUSH brush = child->OnReflectedCtlColor(reinterpret_cast<HDC>(wParam), message)) {
                return reinterpret_cast<LRESULT>(brush);
            }
        }
        return DefWindowProc(message, wParam, lParam);
    }
    default:
        return DefWindowProc(message, wParam, lParam);
    }
}

// WM_MEASUREITEM names the control only by id, and a fixed-height owner-drawn list asks while
// it is still being created: prefer a child of ours that is being created with that id.
Window* Window::MeasureItemTarget(const MEASUREITEMSTRUCT& item) const {
    if (item.CtlType == ODT_MENU) {
        return nullptr;
    }
    for (const Creation* creation = t_creation; creation != nullptr; creation = creation->outer) {
        HWND child = creation->bound;
        if (child != nullptr && GetParent(child) == hwnd_ &&
            static_cast<UINT>(GetDlgCtrlID(child)) == item.CtlID) {
            return FromHandle(child);
        }
    }
    Window* child = FromHandle(GetDlgItem(hwnd_, static_cast<int>(item.CtlID)));
    return child != this ? child : nullptr;
}

LRESULT Window::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd_ == nullptr) {
        return 0;
    }
    if (previous_ != nullptr) {
        return CallWindowProcW(previous_, hwnd_, message, wParam, lParam);
    }
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT Window::Default() {
    if (t_current == nullptr || t_current->hwnd != hwnd_) {
        return 0;
    }
    return DefWindowProc(t_current->message, t_current->wParam, t_current->lParam);
}

bool Window::PreTranslateMessage(MSG&) {
    return false;
}

UINT_PTR Window::SetTimer(UINT_PTR id, UINT milliseconds) {
    return hwnd_ != nullptr ? ::SetTimer(hwnd_, id, milliseconds, nullptr) : 0;
}

bool Window::KillTimer(UINT_PTR id) {
    return hwnd_ != nullptr && ::KillTimer(hwnd_, id) != FALSE;
}

bool Window::SetWindowRegion(RegionHandle region, bool redraw) {
    if (hwnd_ == nullptr || ::SetWindowRgn(hwnd_, region.Get(), redraw ? TRUE : FALSE) == 0) {
        return false;
    }
    region.Release();
    return true;
}

std::wstring Window::Text() const {
    if (hwnd_ == nullptr) {
        return {};
    }
    std::vector<wchar_t> buffer(static_cast<size_t>(GetWindowTextLengthW(hwnd_)) + 1);
    int length = GetWindowTextW(hwnd_, buffer.data(), static_cast<int>(buffer.size()));
    return std::wstring(buffer.data(), static_cast<size_t>(length));
}

int Window::OnCreate(CREATESTRUCTW&) {
    return static_cast<int>(Default());
}
void Window::OnDestroy() {
    Default();
}
void Window::OnClose() {
    Default();
}
void Window::OnTimer(UINT_PTR) {
    Default();
}
void Window::OnPaint() {
    Default();
}
bool Window::OnEraseBkgnd(HDC) {
    return Default() != 0;
}
void Window::OnMouseMove(UINT, POINT) {
    Default();
}
void Window::OnLButtonDown(UINT, POINT) {
    Default();
}
void Window::OnLButtonUp(UINT, POINT) {
    Default();
}
void Window::OnLButtonDblClk(UINT, POINT) {
    Default();
}
void Window::OnRButtonDown(UINT, POINT) {
    Default();
}
void Window::OnRButtonUp(UINT, POINT) {
    Default();
}
void Window::OnMButtonDown(UINT, POINT) {
    Default();
}
void Window::OnMouseLeave() {
    Default();
}
void Window::OnCaptureChanged(HWND) {
    Default();
}
void Window::OnKeyDown(UINT, UINT, UINT) {
    Default();
}
void Window::OnKeyUp(UINT, UINT, UINT) {
    Default();
}
void Window::OnSysKeyDown(UINT, UINT, UINT) {
    Default();
}
void Window::OnSysKeyUp(UINT, UINT, UINT) {
    Default();
}
void Window::OnSetFocus(HWND) {
    Default();
}
void Window::OnKillFocus(HWND) {
    Default();
}
void Window::OnEnable(bool) {
    Default();
}
HCURSOR Window::OnQueryDragIcon() {
    return reinterpret_cast<HCURSOR>(Default());
}
LRESULT Window::OnDeviceChange(UINT, DWORD_PTR) {
    return Default();
}
bool Window::OnCommand(WPARAM, LPARAM) {
    return false;
}
bool Window::OnReflectedCommand(UINT) {
    return false;
}
bool Window::OnReflectedDrawItem(const DRAWITEMSTRUCT&) {
    return false;
}
bool Window::OnReflectedMeasureItem(MEASUREITEMSTRUCT&) {
    return false;
}
HBRUSH Window::OnReflectedCtlColor(HDC, UINT) {
    return nullptr;
}
void Window::OnAttached() {}

} // namespace winlayer
