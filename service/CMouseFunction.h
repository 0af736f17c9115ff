#pragma once

#include "service/CScrollSystem.h"

#include <windows.h>

#include <string_view>

struct IHTMLDocument2;

// Horizontal scrolling of the window under the mouse cursor, in whatever program owns it, and
// synthesised clicks and wheel steps. Every call with an effect goes through `system`; an
// object keeps no state between calls.
class CMouseFunction {
public:
    // How a window's program takes a horizontal scroll.
    enum class Means {
        // Scroll messages (or arrow keys, or the browser document) to the window itself.
        Window,
        // WM_HSCROLL posted to the owner of the scroll-bar control found.
        OwnerMessages,
        // Clicks on the scroll bar's arrow: the program ignores scroll messages.
        ArrowClicks,
    };

    // A browser document scrolls by this many pixels per step.
    static constexpr long kDocumentStep = 10;
    static constexpr UINT kDocumentTimeoutMs = 1000;
    // Arrow clicks land this far inside the scroll bar's corner.
    static constexpr int kArrowInset = 5;

    explicit CMouseFunction(CScrollSystem& system) : system_(system) {}
    CMouseFunction(const CMouseFunction&) = delete;
    CMouseFunction& operator=(const CMouseFunction&) = delete;

    // count > 0 scrolls left by count steps, count < 0 right by -count steps.
    void HorizontalScroll(int count);
    // Scrolls the browser document under the cursor by count steps.
    void BrowserHScroll(int count, bool left);

    void LeftClick();
    void RightClick();
    void MiddleClick();
    void DoubleClick();
    void BackClick();
    void ForwardClick();
    void WheelUp();
    void WheelDown();

    static Means MeansFor(std::wstring_view className);

private:
    void ClickArrow(HWND scrollBar, POINT cursor, long long steps, bool left);
    void Click(DWORD down, DWORD up, DWORD data);
    // False when the document has no body or the body no scroll position.
    static bool HasScrollPosition(IHTMLDocument2& document);
    // False when the document's window cannot be reached or refuses the scroll.
    static bool ScrollDocument(IHTMLDocument2& document, long dx);

    CScrollSystem& system_;
};
