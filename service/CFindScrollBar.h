#pragma once

#include <windows.h>

#include <string>

// Finds what scrolls the window under the mouse cursor in any program: a scroll-bar control
// beside or inside it, or a window with a scroll bar of its own. Programs draw their scroll
// bars in many ways, so the search goes by window class names, styles and geometry. An object
// serves one search; it holds only the cursor position.
class CFindScrollBar {
public:
    enum class Mode { Horizontal = 1, Vertical = 2 };

    // How far a neighbouring scroll bar's edges may lie outside the window at the cursor.
    static constexpr int kNeighbourReach = 25;

    // The cursor position in screen coordinates.
    void SetTarget(int x, int y);
    // The scroll target for the window under the cursor, or null.
    HWND FindHorizontalTarget(HWND window) const;
    HWND FindVerticalTarget(HWND window) const;

    // The window's class name; empty for a window that no longer exists.
    static std::wstring ClassName(HWND window);
    // True when a window up the parent chain (not the window itself) is the desktop's shell.
    static bool HasProgmanAncestor(HWND window);
    // False for no window, the desktop window and the desktop's icon list.
    static bool IsCandidateWindow(HWND window);

private:
    struct NearSearch;

    bool IsScrollTarget(HWND window, Mode mode) const;
    HWND FindChildScrollBar(HWND window, Mode mode) const;
    HWND FindSiblingScrollBar(HWND window, Mode mode) const;
    // The child of the window at the cursor, or the window itself.
    HWND WindowAtTarget(HWND window) const;
    HWND FirstResult(HWND window, const std::wstring& className, Mode mode) const;
    HWND FindNearScrollBar(HWND window) const;
    static BOOL CALLBACK NearScrollBarProc(HWND window, LPARAM search);

    int targetX = 0;
    int targetY = 0;
};
