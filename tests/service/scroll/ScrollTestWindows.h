#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

// One window of a test layout, in its parent's client coordinates. Windows without a parent lie
// on a stage whose client area starts at the screen's top-left corner, so their coordinates are
// screen coordinates too.
struct WindowSpec {
    std::wstring name;
    std::wstring className; // registered by the test, except "ScrollBar"
    std::wstring parent;    // empty: the stage
    DWORD style;            // besides WS_CHILD | WS_VISIBLE
    RECT rect;
};
using Layout = std::vector<WindowSpec>;

// Real windows of the class names that the scroll finder knows, laid out on a stage that is
// never shown, and destroyed with the object.
class ScrollTestWindows {
public:
    explicit ScrollTestWindows(const Layout& layout);
    ~ScrollTestWindows();
    ScrollTestWindows(const ScrollTestWindows&) = delete;
    ScrollTestWindows& operator=(const ScrollTestWindows&) = delete;

    // The window of that name; "desktop" is the desktop window; null for any other name.
    HWND operator[](const std::wstring& name) const;
    // The layout's name of the window; empty for any other window.
    std::wstring NameOf(HWND window) const;

private:
    HWND stage_ = nullptr;
    std::map<std::wstring, HWND> windows_;
};

// Layouts both test groups use.
// "view" of the class with "bar" below it, both in "frame".
Layout ViewAndBar(const std::wstring& viewClass, DWORD barStyle = SBS_HORZ,
                  RECT bar = {0, 280, 400, 296});
// "list", a list view of the desktop's shell "shell".
Layout DesktopIcons();
// "view" with a horizontal scroll bar of its own.
Layout ScrollingView();
