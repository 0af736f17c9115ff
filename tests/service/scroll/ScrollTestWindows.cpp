#include "tests/service/scroll/ScrollTestWindows.h"

#include <set>

namespace {

void RegisterOnce(const std::wstring& className) {
    // Only the class name matters to the finder, so even the list view is a plain window.
    static std::set<std::wstring> registered{L"ScrollBar"};
    if (!registered.insert(className).second) {
        return;
    }
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className.c_str();
    RegisterClassW(&windowClass);
}

} // namespace

ScrollTestWindows::ScrollTestWindows(const Layout& layout) {
    RegisterOnce(L"V212ScrollStage");
    stage_ = CreateWindowExW(0, L"V212ScrollStage", L"", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    for (const WindowSpec& spec : layout) {
        RegisterOnce(spec.className);
        const HWND parent = spec.parent.empty() ? stage_ : windows_.at(spec.parent);
        windows_[spec.name] = CreateWindowExW(
            0, spec.className.c_str(), L"", WS_CHILD | WS_VISIBLE | spec.style, spec.rect.left,
            spec.rect.top, spec.rect.right - spec.rect.left, spec.rect.bottom - spec.rect.top,
            parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
}

ScrollTestWindows::~ScrollTestWindows() {
    DestroyWindow(stage_);
}

HWND ScrollTestWindows::operator[](const std::wstring& name) const {
    if (name == L"desktop") {
        return GetDesktopWindow();
    }
    const auto found = windows_.find(name);
    return found != windows_.end() ? found->second : nullptr;
}

std::wstring ScrollTestWindows::NameOf(HWND window) const {
    for (const auto& [name, handle] : windows_) {
        if (handle == window) {
            return name;
        }
    }
    return {};
}

Layout ViewAndBar(const std::wstring& viewClass, DWORD barStyle, RECT bar) {
    return {{L"frame", L"V212Plain", L"", 0, {0, 0, 400, 300}},
            {L"view", viewClass, L"frame", 0, {0, 0, 400, 280}},
            {L"bar", L"ScrollBar", L"frame", barStyle, bar}};
}

Layout DesktopIcons() {
    return {{L"shell", L"Progman", L"", 0, {0, 0, 400, 300}},
            {L"list", L"SysListView32", L"shell", WS_HSCROLL, {0, 0, 400, 300}}};
}

Layout ScrollingView() {
    return {{L"view", L"V212Plain", L"", WS_HSCROLL, {0, 0, 400, 300}}};
}
