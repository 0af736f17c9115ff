#include "service/CFindScrollBar.h"

#include <array>

namespace {

constexpr wchar_t kScrollBar[] = L"ScrollBar";
constexpr wchar_t kNuiScrollBar[] = L"NUIScrollbar";
constexpr wchar_t kFramedScrollBar[] = L"AVL_AVScrollBar";

bool IsScrollBarClass(const std::wstring& name) {
    return name == kScrollBar || name == kNuiScrollBar;
}

RECT ScreenRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

LONG_PTR StyleOf(HWND window) {
    return GetWindowLongPtrW(window, GWL_STYLE);
}

// Some programs wrap their scroll-bar control in a frame window: the control is the frame's
// first child. `name` becomes the class of that child, as the caller goes on with it.
HWND ScrollBarInFrame(HWND frame, CFindScrollBar::Mode mode, std::wstring& name) {
    if (name != kFramedScrollBar) {
        return nullptr;
    }
    const HWND child = GetWindow(frame, GW_CHILD);
    if (child == nullptr) {
        return nullptr;
    }
    name = CFindScrollBar::ClassName(child);
    if (name != kScrollBar) {
        return nullptr;
    }
    const LONG_PTR style = StyleOf(child);
    if (mode == CFindScrollBar::Mode::Horizontal) {
        return (style & (SBS_VERT | SBS_SIZEBOX)) == 0 ? child : nullptr;
    }
    return (style & SBS_VERT) != 0 ? child : nullptr;
}

} // namespace

// One neighbour search: the enumeration hands this to each window it visits.
struct CFindScrollBar::NearSearch {
    const CFindScrollBar* finder;
    RECT reference;
    HWND found;
};

void CFindScrollBar::SetTarget(int x, int y) {
    targetX = x;
    targetY = y;
}

std::wstring CFindScrollBar::ClassName(HWND window) {
    std::array<wchar_t, 260> name{};
    const int length = GetClassNameW(window, name.data(), static_cast<int>(name.size()));
    return std::wstring(name.data(), length > 0 ? static_cast<size_t>(length) : 0);
}

bool CFindScrollBar::HasProgmanAncestor(HWND window) {
    for (HWND parent = GetParent(window); parent != nullptr; parent = GetParent(parent)) {
        if (ClassName(parent) == L"Progman") {
            return true;
        }
    }
    return false;
}

bool CFindScrollBar::IsCandidateWindow(HWND window) {
    if (window == nullptr || window == GetDesktopWindow()) {
        return false;
    }
    return !(ClassName(window) == L"SysListView32" && HasProgmanAncestor(window));
}

bool CFindScrollBar::IsScrollTarget(HWND window, Mode mode) const {
    const std::wstring name = ClassName(window);
    if (name == L"Internet Explorer_Server") {
        return true;
    }
    if (!IsScrollBarClass(name)) {
        return (StyleOf(window) & (mode == Mode::Horizontal ? WS_HSCROLL : WS_VSCROLL)) != 0;
    }
    const RECT rect = ScreenRect(window);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (mode == Mode::Horizontal) {
        // Only the right edge counts: a bar reaching to the right of the cursor scrolls it.
        return width > height && targetX < rect.right;
    }
    return height > width && targetY > rect.top && targetY < rect.bottom;
}

HWND CFindScrollBar::FindChildScrollBar(HWND window, Mode mode) const {
    if (window == nullptr) {
        return nullptr;
    }
    const HWND child = GetWindow(window, GW_CHILD);
    if (child == nullptr) {
        return nullptr;
    }
    return IsScrollTarget(child, mode) ? child : FindSiblingScrollBar(child, mode);
}

HWND CFindScrollBar::FindSiblingScrollBar(HWND window, Mode mode) const {
    for (HWND sibling = GetWindow(window, GW_HWNDNEXT); sibling != nullptr;
         sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        std::wstring name = ClassName(sibling);
        if (const HWND framed = ScrollBarInFrame(sibling, mode, name)) {
            return framed;
        }
        if (IsScrollBarClass(name) && IsScrollTarget(sibling, mode)) {
            return sibling;
        }
    }
    for (HWND sibling = GetWindow(window, GW_HWNDPREV); sibling != nullptr;
         sibling = GetWindow(sibling, GW_HWNDPREV)) {
        std::wstring name = ClassName(sibling);
        if (const HWND framed = ScrollBarInFrame(sibling, mode, name)) {
            return framed;
        }
        if (IsScrollBarClass(name) && IsScrollTarget(sibling, mode)) {
            return sibling;
        }
        // Some frame windows keep their scroll bars among their children.
        if (name == L"AfxWnd70" || name == L"AfxWnd42") {
            if (const HWND inner = FindChildScrollBar(sibling, mode)) {
                return inner;
            }
        }
    }
    return nullptr;
}

HWND CFindScrollBar::WindowAtTarget(HWND window) const {
    POINT point{targetX, targetY};
    ScreenToClient(window, &point);
    const HWND child = ChildWindowFromPoint(window, point);
    return child != nullptr ? child : window;
}

HWND CFindScrollBar::FirstResult(HWND window, const std::wstring& className, Mode mode) const {
    // These windows scroll through their parent.
    if (className == L"MozillaWindowClass") {
        return GetParent(window);
    }
    return IsScrollTarget(window, mode) ? window : nullptr;
}

HWND CFindScrollBar::FindHorizontalTarget(HWND window) const {
    if (!IsCandidateWindow(window)) {
        return nullptr;
    }
    const HWND at = WindowAtTarget(window);
    const std::wstring name = ClassName(at);
    HWND result = FirstResult(at, name, Mode::Horizontal);
    if (result == nullptr && name == L"DirectUIHWND") {
        const HWND first = FindWindowExW(at, nullptr, nullptr, nullptr);
        result = FindChildScrollBar(first, Mode::Horizontal);
        if (result == nullptr && first != nullptr) {
            result =
                FindChildScrollBar(FindWindowExW(at, first, nullptr, nullptr), Mode::Horizontal);
        }
    }
    if (result == nullptr && name != kScrollBar) {
        result = FindChildScrollBar(at, Mode::Horizontal);
        if (result == nullptr) {
            result = FindSiblingScrollBar(at, Mode::Horizontal);
        }
    }
    if (result != nullptr) {
        return result;
    }
    // Document panes whose scroll bars lie elsewhere in the same parent.
    if (name == L"paneClassDC" || name == L"VISIOG") {
        return FindNearScrollBar(at);
    }
    return nullptr;
}

HWND CFindScrollBar::FindVerticalTarget(HWND window) const {
    if (!IsCandidateWindow(window)) {
        return nullptr;
    }
    const HWND at = WindowAtTarget(window);
    const std::wstring name = ClassName(at);
    HWND result = FirstResult(at, name, Mode::Vertical);
    if (result == nullptr && name != kScrollBar) {
        result = FindChildScrollBar(at, Mode::Vertical);
        if (result == nullptr) {
            result = FindSiblingScrollBar(at, Mode::Vertical);
        }
    }
    return result;
}

HWND CFindScrollBar::FindNearScrollBar(HWND window) const {
    const HWND parent = GetParent(window);
    // Without a parent the enumeration would cover every top-level window.
    if (parent == nullptr) {
        return nullptr;
    }
    NearSearch search{this, ScreenRect(window), nullptr};
    EnumChildWindows(parent, &CFindScrollBar::NearScrollBarProc, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK CFindScrollBar::NearScrollBarProc(HWND window, LPARAM searchParam) {
    auto& search = *reinterpret_cast<NearSearch*>(searchParam);
    if (!IsScrollBarClass(ClassName(window)) ||
        !search.finder->IsScrollTarget(window, Mode::Horizontal)) {
        return TRUE;
    }
    const RECT rect = ScreenRect(window);
    if (rect.left < search.reference.left - kNeighbourReach) {
        return TRUE;
    }
    if (search.reference.right + kNeighbourReach >= rect.right) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}
