// Horizontal scrolling and the browser document against a recording system: the windows are
// real; the cursor, the input and the messages are recorded.

#include "service/CMouseFunction.h"
#include "service/CWin32ScrollSystem.h"
#include "tests/service/scroll/CRecordingScrollSystem.h"
#include "tests/service/scroll/FakeHtmlDocument.h"
#include "tests/service/scroll/ScrollTestWindows.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::wstring>;
using Scrolls = std::vector<std::pair<long, long>>;
using Library = CRecordingScrollSystem::Library;

Lines Twice(const Lines& lines) {
    Lines all = lines;
    all.insert(all.end(), lines.begin(), lines.end());
    return all;
}

const Layout kBrowserPane{{L"outer", L"V212Plain", L"", 0, {0, 0, 400, 300}},
                          {L"inner", L"MozillaWindowClass", L"outer", 0, {0, 0, 400, 300}}};
const Layout kDocumentAndOther{{L"page", L"Internet Explorer_Server", L"", 0, {0, 0, 400, 300}},
                               {L"other", L"V212Plain", L"", WS_HSCROLL, {400, 0, 800, 300}}};

// Every case ends with each reference handed out released, COM left as often as it was entered
// and the library freed.
void ExpectAllReleased(const FakeHtmlDocument& document, const CRecordingScrollSystem& system) {
    EXPECT_EQ(document.OutstandingReferences(), 0);
    EXPECT_TRUE(system.AllReleased());
}

struct ScrollCase {
    const char* what;
    Layout layout;
    std::wstring under;
    int count;
    bool swapped;
    Lines lines;
    Scrolls documentScrolls;
};

void PrintTo(const ScrollCase& c, std::ostream* out) {
    *out << c.what;
}

class HorizontalScroll : public testing::TestWithParam<ScrollCase> {};

TEST_P(HorizontalScroll, ScrollsByTheProgramsMeans) {
    const ScrollCase& c = GetParam();
    const ScrollTestWindows windows(c.layout);
    CRecordingScrollSystem system([&](HWND w) { return windows.NameOf(w); });
    FakeHtmlDocument document({});
    system.SetDocument(&document);
    system.PlaceCursor({100, 100}, windows[c.under]);
    system.SetButtonsSwapped(c.swapped);

    CMouseFunction(system).HorizontalScroll(c.count);

    EXPECT_EQ(system.Lines(), c.lines);
    EXPECT_EQ(document.Scrolls(), c.documentScrolls);
    ExpectAllReleased(document, system);
}

const Layout kNoTarget{{L"view", L"V212Plain", L"", 0, {0, 0, 400, 300}}};
const Lines kClicksLeft{L"cursor 5,285",       L"mouse 8002 5 285 0", L"mouse 8004 5 285 0",
                        L"mouse 8002 5 285 0", L"mouse 8004 5 285 0", L"cursor 100,100"};
const Lines kSwappedClickRight{L"cursor 395,285", L"mouse 8008 395 285 0", L"mouse 8010 395 285 0",
                               L"cursor 100,100"};
const Lines kKeysLeft{L"post outer 100 25 14b0001", L"post outer 101 25 c14b0001"};
const Lines kKeysRight{L"post outer 100 27 14d0001", L"post outer 101 27 c14d0001"};

// clang-format off
INSTANTIATE_TEST_SUITE_P(Windows, HorizontalScroll, testing::Values(
    ScrollCase{"DesktopIconsDoNothing", DesktopIcons(), L"list", 1, false, {}, {}},
    ScrollCase{"TheDesktopDoesNothing", {}, L"desktop", 1, false, {}, {}},
    ScrollCase{"NoWindowDoesNothing", {}, L"", 1, false, {}, {}},
    ScrollCase{"NoTargetDoesNothing", kNoTarget, L"view", 1, false, {}, {}},
    ScrollCase{"ZeroStepsDoNothing", ScrollingView(), L"view", 0, false, {}, {}},
    ScrollCase{"ArrowClicksGoLeftAndComeBack", ViewAndBar(L"EXCEL7"), L"view", 2, false, kClicksLeft, {}},
    ScrollCase{"SwappedButtonsClickRight", ViewAndBar(L"EXCEL7"), L"view", -1, true, kSwappedClickRight, {}},
    ScrollCase{"TheBarsOwnerScrollsRight", ViewAndBar(L"_WwG"), L"view", -2, false, Twice({L"post frame 114 1 bar"}), {}},
    ScrollCase{"TheBarsOwnerScrollsLeft", ViewAndBar(L"OGrid"), L"view", 1, false, {L"post frame 114 0 bar"}, {}},
    ScrollCase{"ABrowserPaneTakesLeftKeys", kBrowserPane, L"inner", 1, false, kKeysLeft, {}},
    ScrollCase{"ABrowserPaneTakesRightKeys", kBrowserPane, L"inner", -2, false, Twice(kKeysRight), {}},
    ScrollCase{"AWindowIsPostedLeftSteps", ScrollingView(), L"view", 2, false, Twice({L"post view 114 0 0"}), {}},
    ScrollCase{"AWindowIsSentRightSteps", ScrollingView(), L"view", -2, false, Twice({L"send view 114 1 0"}), {}},
    ScrollCase{"ADocumentStepByStep", kDocumentAndOther, L"page", 2, false, {}, {{-10, 0}, {-10, 0}}}),
    [](const testing::TestParamInfo<ScrollCase>& info) { return std::string(info.param.what); });
// clang-format on

struct DocumentCase {
    const char* what;
    DocumentShape shape;
    Library library;
    bool provided; // the library makes the document of the window's answer
    bool hung;
    std::wstring under;
    int count;
    bool left;
    Scrolls scrolls;
    Lines lines;
};

void PrintTo(const DocumentCase& c, std::ostream* out) {
    *out << c.what;
}

class BrowserScroll : public testing::TestWithParam<DocumentCase> {};

TEST_P(BrowserScroll, ScrollsTheDocumentAndReleasesEverything) {
    const DocumentCase& c = GetParam();
    const ScrollTestWindows windows(kDocumentAndOther);
    CRecordingScrollSystem system([&](HWND w) { return windows.NameOf(w); });
    FakeHtmlDocument document(c.shape);
    system.SetDocument(c.provided ? &document : nullptr);
    system.SetLibrary(c.library);
    system.SetHung(c.hung);
    system.PlaceCursor({100, 100}, windows[c.under]);

    CMouseFunction(system).BrowserHScroll(c.count, c.left);

    EXPECT_EQ(document.Scrolls(), c.scrolls);
    EXPECT_EQ(system.Lines(), c.lines);
    ExpectAllReleased(document, system);
}

constexpr auto Present = Library::Present;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Documents, BrowserScroll, testing::Values(
    DocumentCase{"ScrollsLeft", {}, Present, true, false, L"page", 3, true, {{-30, 0}}, {}},
    DocumentCase{"ScrollsRight", {}, Present, true, false, L"page", 1, false, {{10, 0}}, {}},
    DocumentCase{"AFailedScrollFallsBack", {.scrollResult = E_FAIL}, Present, true, false, L"page", 2, true, {{-20, 0}}, Twice({L"send page 114 0 0"})},
    DocumentCase{"NoScriptWindowFallsBack", {.scriptWindow = false}, Present, true, false, L"page", 1, false, {}, {L"send page 114 1 0"}},
    DocumentCase{"AFailingProvider", {}, Present, false, false, L"page", 1, true, {}, {}},
    DocumentCase{"ADocumentWithoutBody", {.body = false}, Present, true, false, L"page", 1, true, {}, {}},
    DocumentCase{"ABodyWithoutScrollPosition", {.scrollPosition = false}, Present, true, false, L"page", 1, true, {}, {}},
    DocumentCase{"NoLibrary", {}, Library::Missing, true, false, L"page", 1, true, {}, {}},
    DocumentCase{"NoFunctionInTheLibrary", {}, Library::WithoutObjectFromLresult, true, false, L"page", 1, true, {}, {}},
    DocumentCase{"AHungWindow", {}, Present, true, true, L"page", 1, true, {}, {}},
    DocumentCase{"NotADocumentWindow", {}, Present, true, false, L"other", 1, true, {}, {}}),
    [](const testing::TestParamInfo<DocumentCase>& info) { return std::string(info.param.what); });
// clang-format on

// The system's own library has the function the document is reached through.
TEST(Win32ScrollSystem, FindsTheAccessibilityFunction) {
    const auto library = CWin32ScrollSystem().LoadAccessibility();
    ASSERT_NE(library, nullptr);
    EXPECT_NE(library->ObjectFromLresult(), nullptr);
}

} // namespace
