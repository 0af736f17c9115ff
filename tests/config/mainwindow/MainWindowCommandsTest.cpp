#include "tests/config/mainwindow/MainWindowProbe.h"
#include "tests/config/mainwindow/MainWindowSession.h"
#include "tests/config/mainwindow/ModalBoxes.h"

#include "config/controls/CControlGlobals.h"
#include "config/controls/ControlMessages.h"
#include "config/core/LightingFile.h"
#include "shared/store/CIniFile.h"
#include "shared/store/DataPaths.h"
#include "tests/config/controls/ControlTestSupport.h"
#include "tests/config/controls/PointerHold.h"
#include "tests/config/dialogs/ModalSteps.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <tuple>

// Commands as the main window's controls send them, with a recording stand-in for the service.

using Data = MainWindowData;
using Probe = MainWindowProbe;
using Post = MainWindowSession::Post;

namespace {
constexpr wchar_t kCompanionTitle[] = L"Varnok Mouse Tool";

std::wstring Checked(std::initializer_list<const CBitmapBtnBase*> buttons) {
    std::wstring marks;
    for (const CBitmapBtnBase* button : buttons) {
        marks += button->IsChecked() ? L'x' : L'-';
    }
    return marks;
}

std::wstring Edits(CLucfgDlg& dialog) {
    std::wstring text;
    for (auto& edit : Probe::rgbEdits(dialog)) {
        text += (text.empty() ? L"" : L" ") + edit.Text();
    }
    return text;
}

std::string FileBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int Processes(const wchar_t* program) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        count += lstrcmpiW(entry.szExeFile, program) == 0 ? 1 : 0;
    }
    CloseHandle(snapshot);
    return count;
}

std::vector<HWND> WindowsTitled(const wchar_t* title) {
    std::vector<HWND> windows;
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, nullptr, title)) != nullptr) {
        windows.push_back(window);
    }
    return windows;
}

void CloseAll(const wchar_t* title, const wchar_t* program) {
    for (HWND window : WindowsTitled(title)) {
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    WaitUntil([=] { return Processes(program) == 0; }, 10000);
}

// Puts the screen pointer on the control's middle, the control told as by the pointer's own
// move; the pointer then rests there (the caller holds it).
void RestPointerOn(HWND control) {
    RECT client{};
    GetClientRect(control, &client);
    POINT at{client.right / 2, client.bottom / 2};
    POINT screen = at;
    ClientToScreen(control, &screen);
    SetCursorPos(screen.x, screen.y);
    PostMessageW(control, WM_MOUSEMOVE, 0, PointParam(at.x, at.y));
    Pump();
}

// Whether the pop-up lies over the window in the z-order: the screen shows it there, and a click
// where the two overlap goes to it.
bool Above(HWND popup, HWND window) {
    for (HWND hwnd = GetTopWindow(nullptr); hwnd != nullptr; hwnd = GetWindow(hwnd, GW_HWNDNEXT)) {
        if (hwnd == window) {
            return false;
        }
        if (hwnd == popup) {
            return true;
        }
    }
    return false;
}

// The tooltip of this thread that is showing, or null.
HWND ShownToolTip() {
    HWND shown = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM found) {
            std::array<wchar_t, 64> name{};
            GetClassNameW(hwnd, name.data(), static_cast<int>(name.size()));
            if (lstrcmpiW(name.data(), TOOLTIPS_CLASSW) == 0 && IsWindowVisible(hwnd)) {
                *reinterpret_cast<HWND*>(found) = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&shown));
    return shown;
}

} // namespace

// Each control's click stores its setting in "Mouse.ini" and the profile's file and posts the
// setting's message once; the window shows what was stored.
TEST(MainWindowCommands, SettingsButtonsStoreShowAndNotify) {
    using Dlg = CLucfgDlg;
    struct Row {
        std::string what;
        std::function<HWND(Dlg&)> control;
        std::function<void(Dlg&)> before;
        Post posted;
        std::vector<std::pair<const wchar_t*, int>> keys;
        std::function<std::wstring(Dlg&)> shown;
        std::wstring expected;
    };
    const auto wheel = [](Dlg& d) { return Probe::wheelLinesEdit(d).Text(); };
    const auto scroll = [](Dlg& d) {
        return Probe::wheelLinesEdit(d).Text() + L" " +
               Checked({&Probe::scrollOffBtn(d), &Probe::scrollOnBtn(d)});
    };
    const auto typed = [](const wchar_t* text, int universal) {
        return [=](Dlg& d) {
            SetWindowTextW(Probe::wheelLinesEdit(d).Hwnd(), text);
            // Without the box's own commit of the text: the buttons keep the lines in range
            // themselves.
            MSG commit{};
            while (PeekMessageW(&commit, d.Hwnd(), ControlMessages::kEditChanged,
                                ControlMessages::kEditChanged, PM_REMOVE)) {
            }
            d.Working().UniversalScrollEnabled = universal;
        };
    };
    const auto lines = [](int value) {
        return [=](Dlg& d) { d.Working().WheelScrollLines = value; };
    };
    const auto speed = [](int value) {
        return [=](Dlg& d) { d.Working().DoubleClickSpeed = value; };
    };
    // Cards A and B, and C's switch.
    const auto doubleClick = [](Dlg& d) {
        return Checked({&Probe::doubleClickA(d), &Probe::doubleClickB(d), &Probe::doubleClickC(d)});
    };
    std::vector<Row> rows = {
        {"universal scroll off takes the typed lines, kept at most 100",
         [](Dlg& d) { return Probe::scrollOffBtn(d).Hwnd(); },
         typed(L"150", 1),
         {0x50F, 0, 0},
         {{L"WheelScrollLines", 100}, {L"UniversalScrollEnabled", 0}},
         scroll,
         L"100 x-"},
        {"universal scroll on takes the typed lines, kept at least 1",
         [](Dlg& d) { return Probe::scrollOnBtn(d).Hwnd(); },
         typed(L"0", 0),
         {0x50F, 0, 0},
         {{L"WheelScrollLines", 1}, {L"UniversalScrollEnabled", 1}},
         scroll,
         L"1 -x"},
        {"wheel lines up",
         [](Dlg& d) { return Probe::wheelUpBtn(d).Hwnd(); },
         lines(5),
         {0x50F, 0, 0},
         {{L"WheelScrollLines", 6}},
         wheel,
         L"6"},
        {"wheel lines up at 100 stays",
         [](Dlg& d) { return Probe::wheelUpBtn(d).Hwnd(); },
         lines(100),
         {0x50F, 0, 0},
         {{L"WheelScrollLines", 100}},
         wheel,
         L"100"},
        {"wheel lines down",
         [](Dlg& d) { return Probe::wheelDownBtn(d).Hwnd(); },
         lines(7),
         {0x50F, 0, 0},
         {{L"WheelScrollLines", 6}},
         wheel,
         L"6"},
        {"wheel lines down at 1 stays",
         [](Dlg& d) { return Probe::wheelDownBtn(d).Hwnd(); },
         lines(1),
         {0x50F, 0, 0},
         {{L"WheelScrollLines", 1}},
         wheel,
         L"1"},
        {"double-click A",
         [](Dlg& d) { return Probe::doubleClickA(d).Hwnd(); },
         speed(0),
         {0x510, 0, 0},
         {{L"DoubleClickSpeed", 128}},
         doubleClick,
         L"x-x"},
        {"double-click B",
         [](Dlg& d) { return Probe::doubleClickB(d).Hwnd(); },
         speed(128),
         {0x510, 0, 0},
         {{L"DoubleClickSpeed", 0}},
         doubleClick,
         L"-x-"},
        {"double-click C from 0",
         [](Dlg& d) { return Probe::doubleClickC(d).Hwnd(); },
         speed(0),
         {0x510, 0, 0},
         {{L"DoubleClickSpeed", 128}},
         doubleClick,
         L"x-x"},
        {"double-click C from 128",
         [](Dlg& d) { return Probe::doubleClickC(d).Hwnd(); },
         speed(128),
         {0x510, 0, 0},
         {{L"DoubleClickSpeed", 0}},
         doubleClick,
         L"-x-"},
        // Off (B) at the first start's 12: the switch turns on.
        {"double-click C from 12",
         [](Dlg& d) { return Probe::doubleClickC(d).Hwnd(); },
         speed(12),
         {0x510, 0, 0},
         {{L"DoubleClickSpeed", 128}},
         doubleClick,
         L"x-x"},
    };
    for (int stage = 0; stage < 4; ++stage) {
        rows.push_back({"DPI stage " + std::to_string(stage),
                        [=](Dlg& d) { return Probe::dpiStageBtns(d)[stage].Hwnd(); },
                        [](Dlg& d) {
                            for (size_t i = 0; i < 4; ++i) {
                                d.Working().DPI_INFO[i][1] = static_cast<int>(10 * (i + 1));
                            }
                        },
                        {0x511, 0, 0},
                        {{L"DPI", stage}},
                        [](Dlg& d) {
                            auto& s = Probe::dpiStageBtns(d);
                            return Checked({&s[0], &s[1], &s[2], &s[3]}) + L" " +
                                   std::to_wstring(Probe::dpiSlider(d).Thumb().Value());
                        },
                        std::wstring(L"----").replace(static_cast<size_t>(stage), 1, L"x") + L" " +
                            std::to_wstring(10 * (stage + 1))});
    }
    // The presets of the effects with a few fixed colours, then the row under the selector.
    const COLORREF presets[] = {
        RGB(255, 0, 0),   RGB(255, 255, 0), RGB(0, 255, 0),     RGB(0, 255, 255),
        RGB(0, 0, 255),   RGB(255, 0, 255), RGB(255, 255, 255), RGB(255, 0, 0),
        RGB(255, 128, 0), RGB(255, 255, 0), RGB(0, 255, 0),     RGB(0, 255, 255),
        RGB(0, 128, 255), RGB(0, 0, 255),   RGB(255, 0, 255),   RGB(160, 0, 90)};
    for (size_t i = 0; i < std::size(presets); ++i) {
        const COLORREF color = presets[i];
        rows.push_back(
            {"preset colour " + std::to_string(i),
             [=](Dlg& d) {
                 return i < 7 ? Probe::presetColors(d)[i].Hwnd()
                              : Probe::presetRow(d)[i - 7].Hwnd();
             },
             [](Dlg& d) {
                 Click(Probe::zoneBtns(d)[2].Hwnd());
                 d.Working().LED_MODE_INFO[2][0] = 5;
             },
             {0x4CB, 2, 0},
             {{L"LedColor", static_cast<int>(color)}},
             [](Dlg& d) {
                 return Edits(d) + L" " + std::to_wstring(d.Working().LED_MODE_INFO[2][0]);
             },
             std::to_wstring(GetRValue(color)) + L" " + std::to_wstring(GetGValue(color)) + L" " +
                 std::to_wstring(GetBValue(color)) + L" 0"});
    }

    MainWindowSession session(Data::Record(L"Game"));
    CLucfgDlg& dialog = session.Dialog();
    ASSERT_EQ(L"Game", dialog.CurrentProfileName());
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        row.before(dialog);
        Pump();
        session.Service().Clear();
        Click(row.control(dialog));
        Pump();
        EXPECT_EQ((std::vector<Post>{row.posted}), session.Posts());
        for (const auto& [key, value] : row.keys) {
            EXPECT_EQ(value, CIniFile(SettingsFilePath()).ReadInt(L"Setting", key, -99)) << key;
            EXPECT_EQ(value, CIniFile(Data::ProfileFile(L"Game")).ReadInt(L"Setting", key, -99))
                << key;
        }
        EXPECT_EQ(row.expected, row.shown(dialog));
    }
}

// A DPI value typed into the current stage and not yet taken is taken, kept within 100 to 12000
// in steps of 100, before the clicked command runs. A press on the number of a stage that is not
// selected selects it and puts the caret there; the number takes digits only.
TEST(MainWindowCommands, TypedDpiValueIsTakenBeforeTheClickedCommand) {
    struct Row {
        const wchar_t* typed; // null: nothing typed
        const wchar_t* shown;
        int slider;
        // Typed key by key after a press on this stage's number; -1: into stage 2, selected.
        int pressed = -1;
    };
    MainWindowSession session(Data::Record(L"Game"));
    CLucfgDlg& dialog = session.Dialog();
    Click(Probe::subTabs(dialog)[1].Hwnd());
    Click(Probe::dpiStageBtns(dialog)[2].Hwnd());
    const Post wheelPost{0x50F, 0, 0};
    for (const Row& row :
         {Row{L"50", L"100", 1}, Row{L"12050", L"12000", 120}, Row{L"1234", L"1200", 12},
          Row{nullptr, L"1200", 12}, Row{L"a5b00", L"500", 5, 0}}) {
        SCOPED_TRACE(row.typed != nullptr ? testing::PrintToString(std::wstring(row.typed))
                                          : "nothing typed");
        const int index = row.pressed >= 0 ? row.pressed : 2;
        CBitmapBtnEdit& stage = Probe::dpiStageBtns(dialog)[static_cast<size_t>(index)];
        const HWND number = stage.Edit().Hwnd();
        std::vector<Post> posts{wheelPost};
        if (row.pressed >= 0) {
            // On the number, right of its digits.
            PostMessageW(number, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(66, 8));
            PostMessageW(number, WM_LBUTTONUP, 0, PointParam(66, 8));
            Pump();
            EXPECT_EQ(row.pressed, Data::ReadSettings().DPI) << "the pressed stage is selected";
            EXPECT_TRUE(stage.IsChecked());
            EXPECT_EQ(number, GetFocus());
            DWORD caret = 0;
            SendMessageW(number, EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
            EXPECT_EQ(stage.Edit().Text().size(), caret) << "the caret where the press was";
            SendMessageW(number, EM_SETSEL, 0, -1);
            for (const wchar_t* c = row.typed; *c != 0; ++c) {
                SendMessageW(number, WM_CHAR, *c, 1);
            }
        } else if (row.typed != nullptr) {
            SetFocus(number);
            ASSERT_TRUE(CControlGlobals::EditInProgress());
            SetWindowTextW(number, row.typed);
        }
        if (row.typed != nullptr) {
            posts.insert(posts.begin(), Post{0x516, static_cast<WPARAM>(index), 0});
        }
        Pump();
        session.Service().Clear();
        Click(Probe::wheelUpBtn(dialog).Hwnd());
        Pump();
        EXPECT_EQ(posts, session.Posts());
        EXPECT_FALSE(CControlGlobals::EditInProgress());
        EXPECT_EQ(row.shown, stage.Edit().Text());
        EXPECT_EQ(row.shown, stage.EditText());
        EXPECT_EQ(row.slider, Probe::dpiSlider(dialog).Thumb().Value());
        EXPECT_EQ(row.slider, Data::ReadSettings().DPI_INFO[static_cast<size_t>(index)][1]);
    }
}

// Each pop-up opens from its button, over the window; a second click, or another pop-up's, leaves
// one open. A click elsewhere on the window, or Escape, closes it without a choice; while it is
// open no tip shows over it.
TEST(MainWindowCommands, APopupOpenedTwiceLeavesOne) {
    using Dlg = CLucfgDlg;
    using Control = std::function<HWND(Dlg&)>;
    using Close = std::function<void(Dlg&)>;
    struct Row {
        const char* what;
        std::vector<Control> clicks;
        // The pop-up that is left open.
        std::function<HWND(Dlg&)> open;
        // Each closes the pop-up, opened again by the clicks before the next; none: a click on
        // another button.
        std::vector<Close> closes = {};
        // The pointer rests on the last button clicked, as it does after a click.
        bool pointerRests = false;
    };
    const Control mainTab = [](Dlg& d) { return Probe::mainTabBtn(d).Hwnd(); };
    const Control macroTab = [](Dlg& d) { return Probe::macroTabBtn(d).Hwnd(); };
    const Control buttons = [](Dlg& d) { return Probe::subTabs(d)[0].Hwnd(); };
    const Control performance = [](Dlg& d) { return Probe::subTabs(d)[1].Hwnd(); };
    const Control slot = [](Dlg& d) { return Probe::slotBtns(d)[2].Hwnd(); };
    const Control profileName = [](Dlg& d) { return Probe::profileNameBtn(d).Hwnd(); };
    const Control moreProfile = [](Dlg& d) { return Probe::moreProfileBtn(d).Hwnd(); };
    const Control macroName = [](Dlg& d) { return Probe::macroNameBtn(d).Hwnd(); };
    const Control moreMacro = [](Dlg& d) { return Probe::moreMacroBtn(d).Hwnd(); };
    const Control rate = [](Dlg& d) { return Probe::pollingRateBtn(d).Hwnd(); };
    const auto window = [](auto& menu) { return menu ? menu->Hwnd() : nullptr; };
    const auto profileMenu = [=](Dlg& d) { return window(Probe::profileNameMenu(d)); };
    const auto moreMenu = [=](Dlg& d) { return window(Probe::moreMenu(d)); };
    const auto macroMenu = [=](Dlg& d) { return window(Probe::macroNameMenu(d)); };
    const auto menu = [=](Dlg& d) { return window(Probe::popup(d)); };
    const Close otherButton = [](Dlg& d) { Click(Probe::highlightBtns(d)[0].Hwnd()); };
    // The key reaches the window that has the keyboard, the pop-up itself when it took it.
    const Close escape = [](Dlg&) { PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0); };
    const Close pressInProfileBox = [](Dlg& d) {
        const HWND box = Probe::profileNameEdit(d).Hwnd();
        PostMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(5, 5));
        PostMessageW(box, WM_LBUTTONUP, 0, PointParam(5, 5));
    };
    const Row rows[] = {
        {"profile names twice", {mainTab, profileName, profileName}, profileMenu},
        {"profile more-menu twice", {mainTab, moreProfile, moreProfile}, moreMenu},
        {"profile names, then the more-menu", {mainTab, profileName, moreProfile}, moreMenu},
        {"polling-rate menu, then the more-menu", {performance, rate, moreProfile}, moreMenu},
        {"more-menu, then the polling-rate menu", {performance, moreProfile, rate}, menu},
        {"macro names twice", {macroTab, macroName, macroName}, macroMenu},
        {"macro more-menu twice", {macroTab, moreMacro, moreMacro}, moreMenu},
        {"macro more-menu, then the names", {macroTab, moreMacro, macroName}, macroMenu},
        {"profile names with the pointer resting on their button",
         {mainTab, profileName},
         profileMenu,
         {},
         true},
        {"button function menu: Escape, and a press in the profile name's box",
         {mainTab, buttons, slot},
         menu,
         {escape, pressInProfileBox}},
    };
    MainWindowSession session(Data::Record(L"Game"), {L"Game", L"Work"},
                              {{0, L"Alpha"}, {1, L"Beta"}});
    CLucfgDlg& dialog = session.Dialog();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::optional<PointerHold> pointer;
        if (row.pointerRests) {
            pointer.emplace();
        }
        const std::vector<Close> closes =
            row.closes.empty() ? std::vector{otherButton} : row.closes;
        for (const Close& close : closes) {
            for (const auto& control : row.clicks) {
                if (pointer && &control == &row.clicks.back()) {
                    RestPointerOn(control(dialog));
                }
                Click(control(dialog));
                Pump();
            }
            const std::vector<HWND> popups = OwnedWindows(session.Hwnd());
            ASSERT_EQ(1u, popups.size());
            EXPECT_EQ(row.open(dialog), popups[0]);
            EXPECT_TRUE(Above(popups[0], session.Hwnd()));
            if (pointer) {
                // Long past the tip's delay.
                PumpFor(1500);
                EXPECT_EQ(nullptr, ShownToolTip());
            }
            close(dialog);
            Pump();
            EXPECT_TRUE(OwnedWindows(session.Hwnd()).empty());
            EXPECT_EQ(nullptr, Probe::popup(dialog));
            EXPECT_TRUE(Probe::slotHighlighting(dialog));
        }
        if (pointer) {
            // With the pop-up gone the tips come back.
            RestPointerOn(row.clicks.back()(dialog));
            EXPECT_TRUE(WaitUntil([] { return ShownToolTip() != nullptr; }, 3000));
        }
    }
}

// Delete asks first, never removes the last profile, and stops the slot highlight while it asks.
TEST(MainWindowCommands, DeleteProfileAsksAndKeepsTheLastProfile) {
    struct Row {
        const char* what;
        std::vector<std::wstring> profiles;
        ModalBoxes::Step answer;
        const wchar_t* question;
        std::vector<std::wstring> remaining;
        const wchar_t* current;
        int applies;
        // New, profile name, Delete, More and Reset wait for the service to take a profile over.
        bool buttonsEnabled;
        // The profile the service switches to while the box asks; none when empty.
        const wchar_t* switchedTo = L"";
    };
    const Row rows[] = {
        {"one profile: a warning, nothing deleted",
         {L"Game"},
         ModalBoxes::Ok(),
         L"必须要保留一个配置文件",
         {L"Game"},
         L"Game",
         0,
         true},
        {"cancelled",
         {L"Game", L"Work"},
         ModalBoxes::Cancel(),
         L"确定要删除这个配置文件吗？",
         {L"Game", L"Work"},
         L"Game",
         0,
         true},
        {"confirmed",
         {L"Game", L"Work"},
         ModalBoxes::Ok(),
         L"确定要删除这个配置文件吗？",
         {L"Work"},
         L"Work",
         1,
         false},
        {"the service switches to Work while it asks: the profile asked about goes, Work stays",
         {L"Game", L"Work"},
         ModalBoxes::Ok(),
         L"确定要删除这个配置文件吗？",
         {L"Work"},
         L"Work",
         1,
         true,
         L"Work"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        MainWindowSession session(Data::Record(L"Game"), row.profiles);
        CLucfgDlg& dialog = session.Dialog();
        ASSERT_TRUE(Probe::highlightTimerOn(dialog));
        bool highlightWhileAsking = true;
        {
            ModalBoxes boxes(session.Hwnd(), {[&](HWND box) {
                                 highlightWhileAsking = Probe::highlightTimerOn(dialog);
                                 if (*row.switchedTo != L'\0') {
                                     CIniFile(SettingsFilePath())
                                         .WriteString(L"Setting", L"AutoProfile", row.switchedTo);
                                     SendMessageW(session.Hwnd(), 0x505, 15, 0);
                                 }
                                 row.answer(box);
                             }});
            Click(Probe::deleteProfileBtn(dialog).Hwnd());
            ASSERT_EQ(1u, boxes.Boxes().size());
            EXPECT_EQ((std::vector<std::wstring>{L"删除配置文件", row.question, L""}),
                      boxes.Boxes()[0]);
        }
        Pump();
        EXPECT_FALSE(highlightWhileAsking);
        EXPECT_TRUE(Probe::highlightTimerOn(dialog));
        std::vector<std::wstring> remaining;
        for (const auto& entry : std::filesystem::directory_iterator(ProfileFolder())) {
            remaining.push_back(entry.path().stem().wstring());
        }
        std::sort(remaining.begin(), remaining.end());
        EXPECT_EQ(row.remaining, remaining);
        EXPECT_EQ(row.current, dialog.CurrentProfileName());
        EXPECT_EQ(row.applies, session.Service().Count(0x4FF));
        for (const CBitmapBtn* button :
             {&Probe::newProfileBtn(dialog), &Probe::profileNameBtn(dialog),
              &Probe::deleteProfileBtn(dialog), &Probe::moreProfileBtn(dialog),
              &Probe::resetBtn(dialog)}) {
            EXPECT_EQ(row.buttonsEnabled, IsWindowEnabled(button->Hwnd()) != FALSE);
        }
    }
}

// The window's own buttons: Close ends it with IDCANCEL; Minimise only minimises it.
TEST(MainWindowCommands, CloseEndsWithCancelAndMinimiseDoesNot) {
    struct Row {
        const char* what;
        std::vector<HWND (*)(CLucfgDlg&)> clicks;
        bool iconicBeforeTheLast;
    };
    const auto close = [](CLucfgDlg& d) { return Probe::closeBtn(d).Hwnd(); };
    const auto minimise = [](CLucfgDlg& d) { return Probe::minimizeBtn(d).Hwnd(); };
    const Row rows[] = {{"close", {close}, false},
                        {"minimise, then close", {minimise, close}, true}};
    static CLucfgDlg* s_dialog = nullptr;
    static const Row* s_row = nullptr;
    static size_t s_step = 0;
    static int s_ticks = 0;
    static bool s_iconic = false;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Data::Start(Data::Record(L"Game"), {L"Game"}, {});
        CLucfgDlg dialog(MainWindowSession::MakeProgramFolder());
        s_dialog = &dialog;
        s_row = &row;
        s_step = 0;
        s_ticks = 0;
        s_iconic = false;
        // One click every few ticks inside the window's own loop; a window still open long after
        // the last click is ended with a result no button gives.
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
            HWND hwnd = s_dialog->Hwnd();
            if (hwnd == nullptr || ++s_ticks % 2 != 0) {
                return;
            }
            if (s_step < s_row->clicks.size()) {
                if (s_step + 1 == s_row->clicks.size()) {
                    s_iconic = IsIconic(hwnd) != FALSE;
                }
                Click(s_row->clicks[s_step++](*s_dialog));
            } else if (s_ticks > 200) {
                s_dialog->EndDialog(-2);
            }
        });
        const INT_PTR result = dialog.DoModal();
        KillTimer(nullptr, timer);
        EXPECT_EQ(IDCANCEL, result);
        EXPECT_EQ(row.clicks.size(), s_step);
        EXPECT_EQ(row.iconicBeforeTheLast, s_iconic);
    }
}

// The companion program and the user guide are opened from the program folder once; a second
// request brings their window back instead of opening another.
TEST(MainWindowCommands, CompanionAndGuideAreOpenedOnceThenRaised) {
    struct Target {
        const char* what;
        std::wstring built;
        // The file's name in the program folder.
        const wchar_t* file;
        std::function<void(CLucfgDlg&)> request;
        // The window it opens, and the program that shows it.
        const wchar_t* title;
        const wchar_t* program;
    };
    const Target targets[] = {
        {"companion", Data::BuiltFile(V212_COMPANION_EXE), L"pallwick.exe",
         [](CLucfgDlg& d) { Click(Probe::companionBtn(d).Hwnd()); }, kCompanionTitle,
         L"pallwick.exe"},
        // Asked for by another program; the guide's viewer titles its window as the guide says.
        {"user guide", Data::BuiltFile(V212_HELP_CHM), L"Mirelcfg.chm",
         [](CLucfgDlg& d) { PostMessageW(d.Hwnd(), 0x40A, 22, 0); }, L"HTML Help", L"hh.exe"},
    };
    struct Row {
        const char* what;
        bool minimiseFirst;
    };
    const Row rows[] = {Row{"first request opens it", false}, Row{"second request raises it", true},
                        Row{"third request, not minimised", false}};
    MainWindowSession session(Data::Record(L"Game"));
    for (const Target& target : targets) {
        SCOPED_TRACE(target.what);
        CloseAll(target.title, target.program);
        ASSERT_TRUE(
            CopyFileW(target.built.c_str(), (session.ProgramFolder() + target.file).c_str(), FALSE))
            << testing::PrintToString(target.built);
        const auto windows = [&] { return WindowsTitled(target.title); };
        for (const Row& row : rows) {
            SCOPED_TRACE(row.what);
            if (row.minimiseFirst) {
                ShowWindow(windows().front(), SW_MINIMIZE);
                ASSERT_TRUE(WaitUntil([&] { return IsIconic(windows().front()) != FALSE; }));
            }
            target.request(session.Dialog());
            ASSERT_TRUE(WaitUntil([&] { return windows().size() == 1; }, 20000));
            EXPECT_TRUE(WaitUntil([&] { return IsIconic(windows().front()) == FALSE; }));
            // A second copy would be there by now: the start returns once the process exists.
            PumpFor(100);
            EXPECT_EQ(1u, windows().size());
            EXPECT_EQ(1, Processes(target.program));
        }
        CloseAll(target.title, target.program);
    }
}

// Importing a lighting file takes a whole file; a damaged one is refused with a warning and
// changes nothing: not the working profile, not "Mouse.ini", not the service.
TEST(MainWindowCommands, ADamagedLightingFileChangesNothing) {
    struct Row {
        const char* what;
        std::function<void(const std::wstring& file)> damage;
        bool taken;
    };
    const Row rows[] = {
        {"whole file", [](const std::wstring&) {}, true},
        {"truncated",
         [](const std::wstring& file) {
             const std::string bytes = FileBytes(file);
             std::ofstream(std::filesystem::path(file), std::ios::binary | std::ios::trunc)
                 << bytes.substr(0, bytes.size() / 2);
         },
         false},
        {"colour out of range",
         [](const std::wstring& file) {
             CIniFile(file).WriteString(L"Setting", L"LedColor", L"16777216");
         },
         false},
        {"missing", [](const std::wstring& file) { DeleteFileW(file.c_str()); }, false},
    };
    MainWindowSession session(Data::Record(L"Game"));
    CLucfgDlg& dialog = session.Dialog();
    Click(Probe::subTabs(dialog)[2].Hwnd());
    Click(Probe::zoneBtns(dialog)[1].Hwnd());
    const std::wstring file = session.ProgramFolder() + L"light.LED";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SettingsRecord exported = Data::Record(L"Other");
        exported.LedColor = static_cast<std::int32_t>(RGB(12, 34, 56));
        exported.LedMode2 = 3;
        ASSERT_TRUE(LightingFile::Write(exported, file));
        row.damage(file);
        dialog.Working().LED_MODE_INFO[1][0] = 4;
        const auto before = std::make_unique<SettingsRecord>(dialog.Working());
        const std::string settingsBefore = FileBytes(SettingsFilePath());
        const std::wstring editsBefore = Edits(dialog);
        Pump();
        session.Service().Clear();
        std::vector<std::vector<std::wstring>> boxes;
        {
            ModalBoxes answers(session.Hwnd(), {ModalBoxes::ChooseFile(file), ModalBoxes::Ok()});
            Click(Probe::ledImportBtn(dialog).Hwnd());
            boxes = answers.Boxes();
        }
        Pump();
        if (row.taken) {
            EXPECT_EQ(1u, boxes.size());
            EXPECT_EQ(static_cast<std::int32_t>(RGB(12, 34, 56)), dialog.Working().LedColor);
            EXPECT_EQ(3, dialog.Working().LedMode2);
            EXPECT_EQ(0, dialog.Working().LED_MODE_INFO[1][0]);
            EXPECT_EQ(static_cast<std::int32_t>(RGB(12, 34, 56)), Data::ReadSettings().LedColor);
            EXPECT_EQ(L"12 34 56", Edits(dialog));
            EXPECT_EQ((std::vector<Post>{Post{0x4CB, 1, 0}}), session.Posts());
        } else {
            ASSERT_EQ(2u, boxes.size());
            EXPECT_EQ((std::vector<std::wstring>{L"灯光", L"这个灯光文件无法读取，",
                                                 L"灯光设置没有改变"}),
                      boxes[1]);
            EXPECT_EQ(0, std::memcmp(before.get(), &dialog.Working(), sizeof(SettingsRecord)));
            EXPECT_EQ(settingsBefore, FileBytes(SettingsFilePath()));
            EXPECT_EQ(editsBefore, Edits(dialog));
            EXPECT_TRUE(session.Service().Messages().empty());
        }
    }
}
