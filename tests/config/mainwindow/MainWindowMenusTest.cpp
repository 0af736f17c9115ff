#include "tests/config/mainwindow/MainWindowProbe.h"
#include "tests/config/mainwindow/MainWindowSession.h"

#include "config/controls/CBmpMenuChoice.h"
#include "shared/store/DataPaths.h"
#include "shared/store/SettingsIni.h"
#include "tests/config/controls/ControlTestSupport.h"
#include "tests/config/controls/PointerHold.h"
#include "tests/config/dialogs/ModalSteps.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <tuple>

// The button captions and the pop-up menus of the main window.

using Data = MainWindowData;
using Probe = MainWindowProbe;
using Dlg = CLucfgDlg;

namespace {
using Post = MainWindowSession::Post;

ButtonAssignment Entry(int code, std::initializer_list<int> keyData = {}, int macroSlot = 0) {
    ButtonAssignment entry{};
    entry.FunctionCode = static_cast<std::uint8_t>(code);
    entry.Param2 = static_cast<std::uint8_t>(macroSlot);
    size_t i = 0;
    for (const int byte : keyData) {
        entry.Data[i++] = static_cast<std::uint8_t>(byte);
    }
    return entry;
}

size_t EntryCount(const CBmpMenu& menu) {
    size_t count = 0;
    while (menu.EntryButton(static_cast<int>(count)) != nullptr) {
        ++count;
    }
    return count;
}

// Rests the pointer on an entry, as the user does to open its sub-menu. The caller holds the
// pointer until the sub-menu is done with.
CSubBmpMenu* HoverEntry(CBmpMenu& menu, int entry) {
    RECT rect{};
    GetWindowRect(menu.EntryButton(entry), &rect);
    const POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    SetCursorPos(centre.x, centre.y);
    // The move as the entry button forwards it: in screen coordinates.
    SendMessageW(menu.Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(centre.x, centre.y));
    return menu.OpenSubMenu();
}

RECT ScreenRect(HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    return rect;
}
} // namespace

// Every slot button shows the function of its entry in the record's one profile block, at start
// and after the service rewrote the settings.
TEST(MainWindowMenus, SlotCaptionsShowTheRecordsFunctions) {
    constexpr int kA = 0x04, kC = 0x06, kLCtrl = 0xE0;
    struct Row {
        ButtonAssignment entry;
        std::wstring caption;
        int codeAfter;
    };
    const Row rows[] = {
        {Entry(1), MainWindowSession::Text(L"CLICK"), 1},
        {Entry(5, {0x80, kA}), L"A", 5},
        {Entry(99, {0x80, kLCtrl, 0x80, kC, 0x00, kC, 0x00, kLCtrl}), L"Ctrl + C", 99},
        {Entry(6, {}, 1), L"Beta", 6},
        {Entry(100), L"F11", 100},
        {Entry(7), MainWindowSession::Text(L"OFFBUTTON"), 7},
        {Entry(71), MainWindowSession::Text(L"PRINT"), 71},
        // A macro past the list is turned off.
        {Entry(6, {}, 2), MainWindowSession::Text(L"OFFBUTTON"), 7},
    };
    const auto recordWith = [&](size_t shift) {
        SettingsRecord record = Data::Record(L"Game");
        // The current profile's number never moves where the buttons are read.
        record.Profile = 3;
        for (size_t i = 0; i < kButtonCount; ++i) {
            record.ButtonAssigned[(i + shift) % kButtonCount] = rows[i].entry;
        }
        return record;
    };
    MainWindowSession session(recordWith(0), {L"Game"}, {{0, L"Alpha"}, {1, L"Beta"}});
    Dlg& dialog = session.Dialog();
    for (const size_t shift : {0u, 1u}) {
        SCOPED_TRACE(shift == 0 ? "at start" : "after the service's refresh");
        if (shift != 0) {
            SettingsIni_Write(recordWith(shift), SettingsFilePath());
            SendMessageW(session.Hwnd(), 0x505, 0, 0);
        }
        for (size_t i = 0; i < kButtonCount; ++i) {
            const size_t button = (i + shift) % kButtonCount;
            EXPECT_EQ(rows[i].caption, Probe::slotBtns(dialog)[button].GetCaption()) << i;
            EXPECT_EQ(rows[i].codeAfter, dialog.Working().ButtonAssigned[button].FunctionCode) << i;
        }
    }
}

// The three menus open from their buttons (a second click leaves one menu) and a click on one of
// their entries reaches the window, which closes the menu.
TEST(MainWindowMenus, MenusOpenFromTheWindowAndReportTheirChoices) {
    struct Row {
        const char* what;
        std::vector<std::function<HWND(Dlg&)>> page;
        std::function<HWND(Dlg&)> button;
        size_t entries;
        int entry;
        std::optional<int> subEntry;
        std::function<std::wstring(Dlg&)> shown;
        std::wstring expected;
        std::vector<Post> posted;
        // Choices (entry position, id) that reach the window after the click, as a forged or
        // late report does.
        std::vector<std::pair<int, int>> reports = {};
    };
    const auto subTab = [](size_t i) {
        return [=](Dlg& d) { return Probe::subTabs(d)[i].Hwnd(); };
    };
    const auto zone = [](size_t i) { return [=](Dlg& d) { return Probe::zoneBtns(d)[i].Hwnd(); }; };
    const auto slot = [](size_t i) {
        return [=](Dlg& d) {
            return Probe::slotBtns(d)[i].GetCaption() + L" " +
                   std::to_wstring(d.Working().ButtonAssigned[i].FunctionCode);
        };
    };
    const auto rate = [](Dlg& d) {
        return Probe::pollingRateBtn(d).GetCaption() + L" " +
               std::to_wstring(d.Working().PollingRate);
    };
    // The mode, its caption, and whether each lighting slider's thumb is on the screen.
    const auto mode = [](std::int32_t SettingsRecord::*field) {
        return [=](Dlg& d) {
            std::wstring thumbs;
            for (CPngHSliderBar* slider :
                 {&Probe::ledLevelSlider(d), &Probe::effectSpeedSlider(d)}) {
                CPngHSlider& thumb = slider->Thumb();
                const bool drawn =
                    PixelAt(thumb.Hwnd(), thumb.Width() / 2, 7) == MainWindowSession::kThumbColor;
                thumbs += drawn ? L" drawn" : L" gone";
            }
            return std::to_wstring(d.Working().*field) + L" " + Probe::ledModeBtn(d).GetCaption() +
                   thumbs;
        };
    };
    const Row rows[] = {
        {"button function of slot 2",
         {subTab(0)},
         [](Dlg& d) { return Probe::slotBtns(d)[2].Hwnd(); },
         22,
         1,
         std::nullopt,
         slot(2),
         MainWindowSession::Text(L"MENU") + L" 2",
         {{0x513, 0, 2}}},
        {"a sub-menu's entry for slot 5",
         {subTab(0)},
         [](Dlg& d) { return Probe::slotBtns(d)[5].Hwnd(); },
         22,
         16,
         3,
         slot(5),
         MainWindowSession::Text(L"PLAYPAUSE") + L" 32",
         {{0x513, 0, 5}}},
        {"polling rate",
         {subTab(1)},
         [](Dlg& d) { return Probe::pollingRateBtn(d).Hwnd(); },
         4,
         1,
         std::nullopt,
         rate,
         L"250 4",
         {{0x4FD, 0, 1}}},
        {"polling rate: a second, late choice",
         {subTab(1)},
         [](Dlg& d) { return Probe::pollingRateBtn(d).Hwnd(); },
         4,
         2,
         std::nullopt,
         rate,
         L"500 2",
         {{0x4FD, 0, 2}},
         {{3, 40027}}},
        {"polling rate: a position the menu does not have",
         {subTab(1)},
         [](Dlg& d) { return Probe::pollingRateBtn(d).Hwnd(); },
         4,
         -1,
         std::nullopt,
         rate,
         L"500 2",
         {},
         {{4, 40024}}},
        {"polling rate: another menu's id",
         {subTab(1)},
         [](Dlg& d) { return Probe::pollingRateBtn(d).Hwnd(); },
         4,
         -1,
         std::nullopt,
         rate,
         L"500 2",
         {},
         {{0, 40006}}},
        {"lighting mode of zone 3: multi-colour",
         {subTab(2), zone(2)},
         [](Dlg& d) { return Probe::ledModeBtn(d).Hwnd(); },
         5,
         3,
         std::nullopt,
         mode(&SettingsRecord::LedMode3),
         L"13 " + MainWindowSession::Text(L"LEDMODE13") + L" drawn drawn",
         {{0x4CB, 2, 0}}},
        {"lighting mode of zone 1 from the selector: off",
         {subTab(2), zone(0)},
         [](Dlg& d) { return Probe::ledModeSideBtn(d).Hwnd(); },
         4,
         3,
         std::nullopt,
         mode(&SettingsRecord::LedMode),
         L"11 " + MainWindowSession::Text(L"LEDMODE11") + L" drawn drawn",
         {{0x4CB, 0, 0}}},
        {"insert mode",
         {[](Dlg& d) { return Probe::macroTabBtn(d).Hwnd(); }},
         [](Dlg& d) { return Probe::addMacroMenuBtn(d).Hwnd(); },
         4,
         2,
         std::nullopt,
         [](Dlg& d) {
             return Probe::addMacroMenuBtn(d).GetCaption() + L" " +
                    std::to_wstring(Probe::insertMode(d));
         },
         MainWindowSession::Text(L"ADDMACRO3") + L" 2",
         {}},
    };
    MainWindowSession session(Data::Record(L"Game"));
    Dlg& dialog = session.Dialog();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        for (const auto& control : row.page) {
            Click(control(dialog));
        }
        Click(row.button(dialog));
        Click(row.button(dialog));
        Pump();
        const std::vector<HWND> popups = OwnedWindows(session.Hwnd());
        ASSERT_EQ(1u, popups.size());
        CBmpMenu* menu = Probe::popup(dialog).get();
        ASSERT_NE(nullptr, menu);
        EXPECT_EQ(menu->Hwnd(), popups[0]);
        EXPECT_EQ(row.entries, EntryCount(*menu));
        HWND entry = row.entry >= 0 ? menu->EntryButton(row.entry) : nullptr;
        std::optional<PointerHold> pointer;
        if (row.subEntry) {
            pointer.emplace();
            CSubBmpMenu* sub = HoverEntry(*menu, row.entry);
            ASSERT_NE(nullptr, sub);
            entry = sub->EntryButton(*row.subEntry);
        }
        Pump();
        session.Service().Clear();
        if (entry != nullptr) {
            Click(entry);
        }
        for (const auto& [position, id] : row.reports) {
            PostMessageW(session.Hwnd(), CBmpMenuChoice::kMenuChoice,
                         CBmpMenuChoice::EntryWParam(position), CBmpMenuChoice::EntryLParam(id));
        }
        Pump();
        // The menu goes with its sub-menu.
        EXPECT_TRUE(ShownDialogs(session.Hwnd()).empty());
        EXPECT_EQ(nullptr, Probe::popup(dialog).get());
        EXPECT_EQ(row.expected, row.shown(dialog));
        EXPECT_EQ(row.posted, session.Posts());
    }
}

// The function and polling-rate menus opened by a button near the screen's right or bottom edge
// are moved onto the screen.
TEST(MainWindowMenus, MenusNearTheScreenEdgeStayOnTheScreen) {
    struct Row {
        const char* what;
        std::function<HWND(Dlg&)> button;
        bool right;
        bool bottom;
        SIZE size;
        int offset; // of the menu's left from the button's
    };
    const auto slot = [](Dlg& d) { return Probe::slotBtns(d)[7].Hwnd(); };
    const auto rate = [](Dlg& d) { return Probe::pollingRateBtn(d).Hwnd(); };
    const Row rows[] = {
        {"function menu, right edge", slot, true, false, {180, 514}, 28},
        {"function menu, bottom edge", slot, false, true, {180, 514}, 28},
        {"function menu, bottom right corner", slot, true, true, {180, 514}, 28},
        {"polling-rate menu, right edge", rate, true, false, {145, 96}, 1},
        {"polling-rate menu, bottom right corner", rate, true, true, {145, 96}, 1},
    };
    MainWindowSession session(Data::Record(L"Game"));
    Dlg& dialog = session.Dialog();
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Click(Probe::subTabs(dialog)[row.button(dialog) == rate(dialog) ? 1 : 0].Hwnd());
        SetWindowPos(session.Hwnd(), nullptr, 100, 100, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        const RECT at = ScreenRect(row.button(dialog));
        // The button's left end near the right edge; its bottom near the bottom edge.
        const int dx = row.right ? screen.right - 60 - at.left : 0;
        const int dy = row.bottom ? screen.bottom - 10 - at.bottom : 0;
        SetWindowPos(session.Hwnd(), nullptr, 100 + dx, 100 + dy, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        Pump();
        // Opened where it is asked to, the menu would reach past the edge.
        const RECT moved = ScreenRect(row.button(dialog));
        EXPECT_EQ(row.right, moved.left + row.offset + row.size.cx > screen.right);
        EXPECT_EQ(row.bottom, moved.bottom + row.size.cy > screen.bottom);
        Click(row.button(dialog));
        Pump();
        ASSERT_NE(nullptr, Probe::popup(dialog).get());
        const RECT menu = ScreenRect(Probe::popup(dialog)->Hwnd());
        EXPECT_EQ(row.size.cx, menu.right - menu.left);
        EXPECT_EQ(row.size.cy, menu.bottom - menu.top);
        EXPECT_GE(menu.left, screen.left);
        EXPECT_GE(menu.top, screen.top);
        EXPECT_LE(menu.right, screen.right);
        EXPECT_LE(menu.bottom, screen.bottom);
        Click(Probe::highlightBtns(dialog)[0].Hwnd());
    }
}
