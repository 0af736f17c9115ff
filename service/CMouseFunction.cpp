#include "service/CMouseFunction.h"

#include "service/CFindScrollBar.h"

#include <mshtml.h>
#include <wrl/client.h>

#include <array>

using Microsoft::WRL::ComPtr;

namespace {

constexpr wchar_t kDocumentWindow[] = L"Internet Explorer_Server";

// Key messages as a keyboard would send them: repeat count 1, the arrow's scan code, extended.
constexpr LPARAM kLeftDown = 0x014B0001;
constexpr LPARAM kLeftUp = static_cast<LPARAM>(0xC14B0001u);
constexpr LPARAM kRightDown = 0x014D0001;
constexpr LPARAM kRightUp = static_cast<LPARAM>(0xC14D0001u);

struct ClassMeans {
    const wchar_t* className;
    CMouseFunction::Means means;
};

constexpr std::array<ClassMeans, 11> kClassMeans{{
    {L"_WwG", CMouseFunction::Means::OwnerMessages},
    {L"AVL_AVView", CMouseFunction::Means::OwnerMessages},
    {L"EXCEL7", CMouseFunction::Means::ArrowClicks},
    {L"paneClassDC", CMouseFunction::Means::OwnerMessages},
    {L"VISIOG", CMouseFunction::Means::OwnerMessages},
    {L"PSViewC", CMouseFunction::Means::OwnerMessages},
    {L"EditControl", CMouseFunction::Means::OwnerMessages},
    {L"FrontPageEditorDocumentView", CMouseFunction::Means::OwnerMessages},
    {L"OGrid", CMouseFunction::Means::OwnerMessages},
    {L"OFormSub", CMouseFunction::Means::OwnerMessages},
    {L"OPrtPrevPage", CMouseFunction::Means::OwnerMessages},
}};

// COM for one operation on the calling thread, left again only when it was entered here.
class ComponentLibrary {
public:
    explicit ComponentLibrary(CScrollSystem& system)
        : system_(system), entered_(SUCCEEDED(system.EnterComponentLibrary())) {}
    ~ComponentLibrary() {
        if (entered_) {
            system_.LeaveComponentLibrary();
        }
    }
    ComponentLibrary(const ComponentLibrary&) = delete;
    ComponentLibrary& operator=(const ComponentLibrary&) = delete;

private:
    CScrollSystem& system_;
    bool entered_;
};

WPARAM LineCode(bool left) {
    return left ? SB_LINELEFT : SB_LINERIGHT;
}

} // namespace

CMouseFunction::Means CMouseFunction::MeansFor(std::wstring_view className) {
    for (const ClassMeans& entry : kClassMeans) {
        if (className == entry.className) {
            return entry.means;
        }
    }
    return Means::Window;
}

void CMouseFunction::HorizontalScroll(int count) {
    if (count == 0) {
        return;
    }
    CFindScrollBar finder;
    const POINT cursor = system_.CursorPos();
    const HWND window = system_.WindowFromPoint(cursor);
    // Nothing scrolls the desktop or its icons.
    if (!CFindScrollBar::IsCandidateWindow(window)) {
        return;
    }
    const std::wstring name = CFindScrollBar::ClassName(window);
    const Means means = MeansFor(name);
    finder.SetTarget(cursor.x, cursor.y);
    const HWND target = finder.FindHorizontalTarget(window);
    if (target == nullptr) {
        return;
    }
    const bool left = count > 0;
    const long long steps = left ? count : -static_cast<long long>(count);
    const WPARAM line = LineCode(left);
    if (means == Means::ArrowClicks) {
        ClickArrow(target, cursor, steps, left);
        return;
    }
    for (long long step = 0; step < steps; ++step) {
        if (means == Means::OwnerMessages) {
            system_.PostWindowMessage(GetParent(target), WM_HSCROLL, line,
                                      reinterpret_cast<LPARAM>(target));
        } else if (name == L"MozillaWindowClass") {
            const WPARAM key = left ? VK_LEFT : VK_RIGHT;
            system_.PostWindowMessage(target, WM_KEYDOWN, key, left ? kLeftDown : kRightDown);
            system_.PostWindowMessage(target, WM_KEYUP, key, left ? kLeftUp : kRightUp);
        } else if (name == kDocumentWindow) {
            BrowserHScroll(1, left);
        } else if (left) {
            system_.PostWindowMessage(window, WM_HSCROLL, line, 0);
        } else {
            system_.SendWindowMessage(window, WM_HSCROLL, line, 0);
        }
    }
}

void CMouseFunction::ClickArrow(HWND scrollBar, POINT cursor, long long steps, bool left) {
    RECT bar{};
    GetWindowRect(scrollBar, &bar);
    const POINT arrow{left ? bar.left + kArrowInset : bar.right - kArrowInset,
                      bar.top + kArrowInset};
    system_.SetCursorPos(arrow.x, arrow.y);
    const bool swapped = system_.ButtonsSwapped();
    const DWORD down = swapped ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    const DWORD up = swapped ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    const auto x = static_cast<DWORD>(arrow.x);
    const auto y = static_cast<DWORD>(arrow.y);
    for (long long step = 0; step < steps; ++step) {
        system_.MouseEvent(MOUSEEVENTF_ABSOLUTE | down, x, y, 0);
        system_.MouseEvent(MOUSEEVENTF_ABSOLUTE | up, x, y, 0);
    }
    system_.SetCursorPos(cursor.x, cursor.y);
}

void CMouseFunction::BrowserHScroll(int count, bool left) {
    const HWND window = system_.WindowFromPoint(system_.CursorPos());
    const std::wstring name = CFindScrollBar::ClassName(window);
    // Declared before every COM pointer, so that those are released first.
    const ComponentLibrary apartment(system_);
    const auto accessibility = system_.LoadAccessibility();
    if (accessibility == nullptr || name != kDocumentWindow) {
        return;
    }
    const ObjectFromLresultFunction objectFromLresult = accessibility->ObjectFromLresult();
    const UINT getObject = RegisterWindowMessageW(L"WM_HTML_GETOBJECT");
    if (objectFromLresult == nullptr || getObject == 0) {
        return;
    }
    LRESULT answer = 0;
    if (!system_.SendWithTimeout(window, getObject, 0, 0, kDocumentTimeoutMs, answer)) {
        return;
    }
    ComPtr<IHTMLDocument2> document;
    if (FAILED(objectFromLresult(answer, __uuidof(IHTMLDocument2), 0,
                                 reinterpret_cast<void**>(document.GetAddressOf()))) ||
        document == nullptr || !HasScrollPosition(*document.Get())) {
        return;
    }
    const long dx = (left ? -kDocumentStep : kDocumentStep) * count;
    if (ScrollDocument(*document.Get(), dx)) {
        return;
    }
    for (int step = 0; step < count; ++step) {
        system_.SendWindowMessage(window, WM_HSCROLL, LineCode(left), 0);
    }
}

bool CMouseFunction::HasScrollPosition(IHTMLDocument2& document) {
    ComPtr<IHTMLElement> body;
    if (FAILED(document.get_body(body.GetAddressOf())) || body == nullptr) {
        return false;
    }
    ComPtr<IHTMLElement2> element;
    long position = 0;
    return SUCCEEDED(body.As(&element)) && element != nullptr &&
           SUCCEEDED(element->get_scrollLeft(&position));
}

bool CMouseFunction::ScrollDocument(IHTMLDocument2& document, long dx) {
    ComPtr<IDispatch> script;
    if (FAILED(document.get_Script(script.GetAddressOf())) || script == nullptr) {
        return false;
    }
    ComPtr<IHTMLWindow2> window;
    return SUCCEEDED(script.As(&window)) && window != nullptr && SUCCEEDED(window->scrollBy(dx, 0));
}

void CMouseFunction::Click(DWORD down, DWORD up, DWORD data) {
    system_.MouseEvent(down, 0, 0, data);
    system_.MouseEvent(up, 0, 0, data);
}

void CMouseFunction::LeftClick() {
    Click(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 0);
}

void CMouseFunction::RightClick() {
    Click(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 0);
}

void CMouseFunction::MiddleClick() {
    Click(MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, 0);
}

void CMouseFunction::DoubleClick() {
    LeftClick();
    LeftClick();
}

void CMouseFunction::BackClick() {
    Click(MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP, XBUTTON1);
}

void CMouseFunction::ForwardClick() {
    Click(MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP, XBUTTON2);
}

void CMouseFunction::WheelUp() {
    system_.MouseEvent(MOUSEEVENTF_WHEEL, 0, 0, WHEEL_DELTA);
}

void CMouseFunction::WheelDown() {
    system_.MouseEvent(MOUSEEVENTF_WHEEL, 0, 0, static_cast<DWORD>(-WHEEL_DELTA));
}
