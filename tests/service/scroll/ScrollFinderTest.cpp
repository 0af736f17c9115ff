// The scroll finder against real windows of the class names it knows, laid out by the test.
// Stage coordinates are screen coordinates, and the cursor is where the test says.

#include "service/CFindScrollBar.h"
#include "tests/service/scroll/ScrollTestWindows.h"

#include <gtest/gtest.h>

namespace {

constexpr auto H = CFindScrollBar::Mode::Horizontal;
constexpr auto V = CFindScrollBar::Mode::Vertical;

struct FinderCase {
    const char* what;
    Layout layout;
    std::wstring under; // the window under the cursor
    POINT cursor;
    CFindScrollBar::Mode mode;
    std::wstring expected; // empty: nothing found
};

void PrintTo(const FinderCase& c, std::ostream* out) {
    *out << c.what;
}

class ScrollFinder : public testing::TestWithParam<FinderCase> {};

TEST_P(ScrollFinder, FindsTheTarget) {
    const FinderCase& c = GetParam();
    const ScrollTestWindows windows(c.layout);
    CFindScrollBar finder;
    finder.SetTarget(c.cursor.x, c.cursor.y);
    const HWND under = windows[c.under];
    EXPECT_EQ(windows.NameOf(c.mode == H ? finder.FindHorizontalTarget(under)
                                         : finder.FindVerticalTarget(under)),
              c.expected);
}

Layout One(const std::wstring& className, DWORD style) {
    return {{L"view", className, L"", style, {0, 0, 400, 300}}};
}

Layout InOrdinaryParent(const std::wstring& className) {
    return {{L"box", L"V212Plain", L"", 0, {0, 0, 400, 300}},
            {L"list", className, L"box", WS_HSCROLL, {0, 0, 400, 300}}};
}

// "bar" inside a frame window "outer" beside "view".
Layout FramedBar(DWORD barStyle) {
    return {{L"frame", L"V212Plain", L"", 0, {0, 0, 400, 300}},
            {L"view", L"V212Plain", L"frame", 0, {0, 0, 400, 280}},
            {L"outer", L"AVL_AVScrollBar", L"frame", 0, {0, 280, 400, 296}},
            {L"bar", L"ScrollBar", L"outer", barStyle, {0, 0, 400, 16}}};
}

// "bar" inside a sibling created before "view".
Layout BarInEarlierSibling(const std::wstring& siblingClass) {
    return {{L"frame", L"V212Plain", L"", 0, {0, 0, 400, 300}},
            {L"sibling", siblingClass, L"frame", 0, {0, 280, 400, 296}},
            {L"bar", L"ScrollBar", L"sibling", SBS_HORZ, {0, 0, 400, 16}},
            {L"view", L"V212Plain", L"frame", 0, {0, 0, 400, 280}}};
}

const Layout kBrowserPane{{L"outer", L"V212Plain", L"", 0, {0, 0, 400, 300}},
                          {L"inner", L"MozillaWindowClass", L"outer", 0, {0, 0, 400, 300}}};

// Neither child covers the cursor; the bar is in the second.
const Layout kComposite{{L"dui", L"DirectUIHWND", L"", 0, {0, 0, 400, 300}},
                        {L"first", L"V212Plain", L"dui", 0, {0, 0, 50, 50}},
                        {L"second", L"V212Plain", L"dui", 0, {0, 250, 400, 300}},
                        {L"bar", L"ScrollBar", L"second", SBS_HORZ, {0, 30, 400, 46}}};

// A pane at (100, 0, 300, 200) and a bar that only the neighbour search reaches: it lies in
// another window of the pane's parent, its screen rectangle is `bar` moved down by 200.
Layout PaneAndNeighbour(const std::wstring& paneClass, RECT bar) {
    return {{L"pane", paneClass, L"", 0, {100, 0, 300, 200}},
            {L"holder", L"V212Plain", L"", 0, {0, 200, 400, 260}},
            {L"bar", L"ScrollBar", L"holder", SBS_HORZ, bar}};
}

const Layout kOtherBarClass{{L"frame", L"V212Plain", L"", 0, {0, 0, 400, 300}},
                            {L"view", L"V212Plain", L"frame", 0, {0, 0, 400, 280}},
                            {L"bar", L"NUIScrollbar", L"frame", 0, {0, 280, 400, 296}}};

// clang-format off
INSTANTIATE_TEST_SUITE_P(Windows, ScrollFinder, testing::Values(
    FinderCase{"DesktopIconsAreRefused", DesktopIcons(), L"list", {50, 50}, H, L""},
    FinderCase{"AListViewElsewhereScrolls", InOrdinaryParent(L"SysListView32"), L"list", {50, 50}, H, L"list"},
    FinderCase{"TheDesktopIsRefused", {}, L"desktop", {50, 50}, H, L""},
    FinderCase{"AWindowWithItsOwnBar", ScrollingView(), L"view", {50, 50}, H, L"view"},
    FinderCase{"AHorizontalBarIsNoVerticalOne", ScrollingView(), L"view", {50, 50}, V, L""},
    FinderCase{"ADocumentWindowScrollsItself", One(L"Internet Explorer_Server", 0), L"view", {50, 50}, H, L"view"},
    FinderCase{"ABarBesideTheWindow", ViewAndBar(L"V212Plain"), L"view", {100, 100}, H, L"bar"},
    FinderCase{"ABarOfTheOtherClass", kOtherBarClass, L"view", {100, 100}, H, L"bar"},
    FinderCase{"LeftOfTheBarStillCounts", ViewAndBar(L"V212Plain", SBS_HORZ, {150, 280, 300, 296}), L"view", {50, 100}, H, L"bar"},
    FinderCase{"RightOfTheBarDoesNot", ViewAndBar(L"V212Plain", SBS_HORZ, {0, 280, 200, 296}), L"view", {300, 100}, H, L""},
    FinderCase{"AVerticalBarIsNotHorizontal", ViewAndBar(L"V212Plain", SBS_VERT, {380, 0, 396, 200}), L"view", {100, 100}, H, L""},
    FinderCase{"AVerticalBarBesideTheCursor", ViewAndBar(L"V212Plain", SBS_VERT, {380, 0, 396, 200}), L"view", {100, 100}, V, L"bar"},
    FinderCase{"AVerticalBarNotBesideIt", ViewAndBar(L"V212Plain", SBS_VERT, {380, 0, 396, 200}), L"view", {100, 250}, V, L""},
    FinderCase{"ABarInAFrameWindow", FramedBar(SBS_HORZ), L"view", {100, 100}, H, L"bar"},
    FinderCase{"AVerticalBarInAFrameIsNotHorizontal", FramedBar(SBS_VERT), L"view", {100, 100}, H, L""},
    FinderCase{"AVerticalBarInAFrameWindow", FramedBar(SBS_VERT), L"view", {100, 100}, V, L"bar"},
    FinderCase{"ABarInAnEarlierFrameSibling", BarInEarlierSibling(L"AfxWnd42"), L"view", {100, 100}, H, L"bar"},
    FinderCase{"NotInAnOrdinaryEarlierSibling", BarInEarlierSibling(L"V212Plain"), L"view", {100, 100}, H, L""},
    FinderCase{"ABrowserPaneScrollsItsParent", kBrowserPane, L"inner", {50, 50}, H, L"outer"},
    FinderCase{"ABarInACompositesSecondChild", kComposite, L"dui", {200, 150}, H, L"bar"},
    FinderCase{"ANeighbourWithinReach", PaneAndNeighbour(L"paneClassDC", {75, 10, 325, 26}), L"pane", {150, 100}, H, L"bar"},
    FinderCase{"ANeighbourOfTheOtherPane", PaneAndNeighbour(L"VISIOG", {75, 10, 325, 26}), L"pane", {150, 100}, H, L"bar"},
    FinderCase{"ANeighbourStartingTooFarLeft", PaneAndNeighbour(L"paneClassDC", {74, 10, 325, 26}), L"pane", {150, 100}, H, L""},
    FinderCase{"ANeighbourEndingTooFarRight", PaneAndNeighbour(L"paneClassDC", {100, 10, 326, 26}), L"pane", {150, 100}, H, L""},
    FinderCase{"NoNeighboursForOtherWindows", PaneAndNeighbour(L"V212Plain", {75, 10, 325, 26}), L"pane", {150, 100}, H, L""}),
    [](const testing::TestParamInfo<FinderCase>& info) { return std::string(info.param.what); });
// clang-format on

} // namespace
