#include "tests/config/mainwindow/MainWindowProbe.h"
#include "tests/config/mainwindow/MainWindowSession.h"

#include "shared/store/CIniFile.h"
#include "shared/store/DataPaths.h"
#include "shared/store/SettingsIni.h"
#include "tests/config/controls/ControlTestSupport.h"
#include "tests/config/dialogs/ModalSteps.h"
#include "tests/config/mainwindow/ModalBoxes.h"
#include "tests/shared/store/StoreTestSupport.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <fstream>
#include <filesystem>

// The settings sub-pages, what they show of the working profile, and the name menus' choices.

using Data = MainWindowData;
using Probe = MainWindowProbe;
using Dlg = CLucfgDlg;

namespace {
std::wstring Marks(std::initializer_list<bool> flags) {
    std::wstring marks;
    for (const bool flag : flags) {
        marks += flag ? L'x' : L'-';
    }
    return marks;
}

bool Visible(const winlayer::Window& window) {
    return IsWindowVisible(window.Hwnd()) != FALSE;
}

std::vector<COLORREF> Pixels(HWND hwnd) {
    RECT client{};
    GetClientRect(hwnd, &client);
    const ScreenShot shot(hwnd);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            pixels.push_back(shot.At(x, y));
        }
    }
    return pixels;
}

// The box's text, and how it draws the text's last character: as a glyph of its own, or as the
// empty box it also draws for the character before it.
std::wstring TextAndLastGlyph(const winlayer::Window& box) {
    const std::wstring text = box.Text();
    const auto drawn = [&](const std::wstring& shown) {
        SetWindowTextW(box.Hwnd(), shown.c_str());
        UpdateWindow(box.Hwnd());
        return Pixels(box.Hwnd());
    };
    const std::vector<COLORREF> own = drawn(text);
    const std::vector<COLORREF> other =
        drawn(text.substr(0, text.size() - 1) + text[text.size() - 2]);
    SetWindowTextW(box.Hwnd(), text.c_str());
    return text + (own != other ? L" glyph" : L" box");
}
} // namespace

// A sub-tab shows its sub-page and only its own; the slot highlight's timer runs only on the
// buttons sub-page.
TEST(MainWindowPages, SubPagesSwitchAndOnlyTheButtonsPageRunsTheHighlight) {
    struct Row {
        const char* what;
        std::vector<std::function<HWND(Dlg&)>> clicks;
        int mainPage;
        int subPage;
        const wchar_t* shown; // slot buttons, polling rate, lighting zones, double-click panel
        const wchar_t* tabs;
        bool highlight;
    };
    const auto tab = [](size_t i) { return [=](Dlg& d) { return Probe::subTabs(d)[i].Hwnd(); }; };
    const auto macroTab = [](Dlg& d) { return Probe::macroTabBtn(d).Hwnd(); };
    const Row rows[] = {
        {"performance",
         {tab(1)},
         Dlg::kMainPage,
         Dlg::kPerformanceSubPage,
         L"-x--",
         L"-x--",
         false},
        {"lighting", {tab(2)}, Dlg::kMainPage, Dlg::kLightingSubPage, L"--x-", L"--x-", false},
        {"double-click",
         {tab(3)},
         Dlg::kMainPage,
         Dlg::kDoubleClickSubPage,
         L"---x",
         L"---x",
         false},
        {"buttons", {tab(0)}, Dlg::kMainPage, Dlg::kButtonsSubPage, L"x---", L"x---", true},
        {"the macro page",
         {macroTab},
         Dlg::kMacroPage,
         Dlg::kButtonsSubPage,
         L"----",
         L"x---",
         false},
        {"the macro page, then the same sub-page again",
         {macroTab, tab(0)},
         Dlg::kMainPage,
         Dlg::kButtonsSubPage,
         L"x---",
         L"x---",
         true},
        {"the macro page, then the main tab",
         {macroTab, [](Dlg& d) { return Probe::mainTabBtn(d).Hwnd(); }},
         Dlg::kMainPage,
         Dlg::kButtonsSubPage,
         L"x---",
         L"x---",
         true},
        {"the macro page again",
         {macroTab},
         Dlg::kMacroPage,
         Dlg::kButtonsSubPage,
         L"----",
         L"x---",
         false},
        {"the macro page, then lighting",
         {macroTab, tab(2)},
         Dlg::kMainPage,
         Dlg::kLightingSubPage,
         L"--x-",
         L"--x-",
         false},
    };
    MainWindowSession session(Data::Record(L"Game"));
    Dlg& dialog = session.Dialog();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        for (const auto& control : row.clicks) {
            Click(control(dialog));
        }
        EXPECT_EQ(row.mainPage, dialog.MainPage());
        EXPECT_EQ(row.subPage, dialog.SubPage());
        EXPECT_EQ(
            row.shown,
            Marks({Visible(Probe::slotBtns(dialog)[0]), Visible(Probe::pollingRateBtn(dialog)),
                   Visible(Probe::zoneBtns(dialog)[0]), Visible(Probe::doubleClickA(dialog))}));
        const auto& tabs = Probe::subTabs(dialog);
        EXPECT_EQ(row.tabs, Marks({tabs[0].IsChecked(), tabs[1].IsChecked(), tabs[2].IsChecked(),
                                   tabs[3].IsChecked()}));
        EXPECT_EQ(row.highlight,
                  TimerSet(session.Hwnd(), CLucfgDlg::kHighlightTimer, CLucfgDlg::kHighlightMs));
    }
}

// When the service has rewritten the settings, the page shows the working profile's values.
TEST(MainWindowPages, SettingsPageShowsTheWorkingProfile) {
    struct Row {
        const char* what;
        std::function<void(SettingsRecord&)> change;
        std::function<std::wstring(Dlg&)> shown;
        std::wstring expected;
    };
    const auto rate = [](Dlg& d) { return Probe::pollingRateBtn(d).GetCaption(); };
    const auto stage = [](Dlg& d) {
        auto& s = Probe::dpiStageBtns(d);
        return Marks({s[0].IsChecked(), s[1].IsChecked(), s[2].IsChecked(), s[3].IsChecked()}) +
               L" " + std::to_wstring(Probe::dpiSlider(d).Thumb().Value()) + L" " + s[2].EditText();
    };
    const auto lighting = [](Dlg& d) {
        return std::to_wstring(Probe::ledLevelSlider(d).Thumb().Value()) + L" " +
               std::to_wstring(Probe::effectSpeedSlider(d).Thumb().Value());
    };
    const auto scroll = [](Dlg& d) {
        return Probe::wheelLinesEdit(d).Text() + L" " +
               Marks({Probe::scrollOffBtn(d).IsChecked(), Probe::scrollOnBtn(d).IsChecked()});
    };
    const auto doubleClick = [](Dlg& d) {
        return Marks({Probe::doubleClickA(d).IsChecked(), Probe::doubleClickB(d).IsChecked(),
                      Probe::doubleClickC(d).IsChecked()});
    };
    const Row rows[] = {
        {"polling interval 8", [](SettingsRecord& r) { r.PollingRate = 8; }, rate, L"125"},
        {"polling interval 1", [](SettingsRecord& r) { r.PollingRate = 1; }, rate, L"1000"},
        {"DPI stage 3 and its value",
         [](SettingsRecord& r) {
             r.DPI = 2;
             r.DPI_INFO[2][1] = 30;
         },
         stage, L"--x- 30 3000"},
        {"lighting values of the zone",
         [](SettingsRecord& r) {
             r.LED_MODE_INFO[0][1] = 3;
             r.LED_MODE_INFO[0][2] = 1;
         },
         lighting, L"3 1"},
        {"universal scroll on",
         [](SettingsRecord& r) {
             r.UniversalScrollEnabled = 1;
             r.WheelScrollLines = 9;
         },
         scroll, L"9 -x"},
        {"universal scroll off",
         [](SettingsRecord& r) {
             r.UniversalScrollEnabled = 0;
             r.WheelScrollLines = 4;
         },
         scroll, L"4 x-"},
        {"fast double-click", [](SettingsRecord& r) { r.DoubleClickSpeed = 128; }, doubleClick,
         L"x-x"},
        {"standard double-click", [](SettingsRecord& r) { r.DoubleClickSpeed = 0; }, doubleClick,
         L"-x-"},
        // A name beyond Latin: the rename box draws what the labels draw.
        {"a name beyond Latin",
         [](SettingsRecord& r) {
             r.ProfileName.fill(L'\0');
             std::wstring(L"\u00DCn\u00EFc\u00F8d\u00E9 \u6E38\u620F")
                 .copy(r.ProfileName.data(), r.ProfileName.size() - 1);
         },
         [](Dlg& d) { return TextAndLastGlyph(Probe::profileNameEdit(d)); },
         L"\u00DCn\u00EFc\u00F8d\u00E9 \u6E38\u620F glyph"},
        {"a name wider than the profile drop-down: its ellipsis ends left of the arrow",
         [](SettingsRecord& r) {
             r.ProfileName.fill(L'\0');
             std::wstring(30, L'W').copy(r.ProfileName.data(), r.ProfileName.size() - 1);
         },
         [](Dlg& d) { return std::to_wstring(DrawnOverArrow(Probe::profileNameBtn(d).Hwnd())); },
         L"0"},
        {"pointer speed", [](SettingsRecord& r) { r.Acceleration = 4; },
         [](Dlg& d) { return std::to_wstring(Probe::speedSlider(d).Thumb().Value()); }, L"4"},
    };
    MainWindowSession session(Data::Record(L"Game"));
    Dlg& dialog = session.Dialog();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SettingsRecord record = Data::Record(L"Game");
        row.change(record);
        SettingsIni_Write(record, SettingsFilePath());
        SendMessageW(session.Hwnd(), 0x505, 0, 0);
        EXPECT_EQ(row.expected, row.shown(dialog));
    }
}

// A choice in a name menu reaches the window; one that comes with no menu open, or names a row
// the menu does not have, changes nothing.
TEST(MainWindowPages, NameMenuChoicesReachTheWindowAndLateOnesDoNothing) {
    struct Row {
        const char* what;
        bool macroPage;
        std::function<HWND(Dlg&)> open; // none: no menu is open
        std::function<void(Dlg&, HWND menu)> choose;
        const wchar_t* state; // profile, profiles, macro, macros, profile buttons enabled
        // A profile whose file holds one setting alone: choosing it fails with a warning.
        const wchar_t* damaged = nullptr;
    };
    const auto post = [](UINT message, WPARAM index) {
        return [=](Dlg& d, HWND) { PostMessageW(d.Hwnd(), message, index, 0); };
    };
    const auto row = [](int index) {
        return [=](Dlg&, HWND menu) { ClickListRow(GetDlgItem(menu, CNameMenu::kListId), index); };
    };
    const auto macroNames = [](Dlg& d) { return Probe::macroNameBtn(d).Hwnd(); };
    const auto profileNames = [](Dlg& d) { return Probe::profileNameBtn(d).Hwnd(); };
    const Row rows[] = {
        {"late macro choice", true, nullptr, post(0x3414, 1), L"Game 2 Alpha 2 x"},
        {"late profile choice", false, nullptr, post(0x3415, 1), L"Game 2 Alpha 2 x"},
        {"late more-menu choice", false, nullptr, post(0x3416, 0), L"Game 2 Alpha 2 x"},
        {"macro past the list", true, macroNames, post(0x3414, 2), L"Game 2 Alpha 2 x"},
        {"profile past the list", false, profileNames, post(0x3415, 2), L"Game 2 Alpha 2 x"},
        {"macro chosen", true, macroNames, row(1), L"Game 2 Beta 2 x"},
        {"macro copied", true, [](Dlg& d) { return Probe::moreMacroBtn(d).Hwnd(); }, row(0),
         L"Game 2 Beta copy 1 3 x"},
        {"profile copied", false, [](Dlg& d) { return Probe::moreProfileBtn(d).Hwnd(); }, row(0),
         L"Game copy 1 3 Beta copy 1 3 -"},
        // The service's take-over that brings the buttons back also makes the first macro
        // current.
        {"profile chosen", false, profileNames, row(2), L"Work 3 Alpha 3 -"},
        // Its unset values would reach the files and the mouse.
        {"a profile that holds one setting chosen", false, profileNames, row(1),
         L"Work 3 Alpha 3 x", L"Game copy 1"},
    };
    MainWindowSession session(Data::Record(L"Game"), {L"Game", L"Work"},
                              {{0, L"Alpha"}, {1, L"Beta"}});
    Dlg& dialog = session.Dialog();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        // The profile buttons come back when the service has taken a profile over.
        if (!IsWindowEnabled(Probe::newProfileBtn(dialog).Hwnd())) {
            SendMessageW(session.Hwnd(), 0x505, 11, 0);
            ASSERT_TRUE(
                WaitUntil([&] { return IsWindowEnabled(Probe::newProfileBtn(dialog).Hwnd()); }));
        }
        Click(r.macroPage ? Probe::macroTabBtn(dialog).Hwnd() : Probe::mainTabBtn(dialog).Hwnd());
        HWND menu = nullptr;
        if (r.open) {
            Click(r.open(dialog));
            const std::vector<HWND> popups = OwnedWindows(session.Hwnd());
            ASSERT_EQ(1u, popups.size());
            menu = popups[0];
        }
        std::optional<ModalBoxes> boxes;
        std::string settingsBefore;
        if (r.damaged != nullptr) {
            std::ofstream(std::filesystem::path(Data::ProfileFile(r.damaged)), std::ios::binary)
                << "[Setting]\r\nDPI=2\r\n";
            settingsBefore = ReadFileBytes(SettingsFilePath());
            session.Service().Clear();
            boxes.emplace(session.Hwnd(), std::vector<ModalBoxes::Step>{ModalBoxes::Ok()});
        }
        r.choose(dialog, menu);
        Pump();
        if (boxes) {
            EXPECT_EQ(1u, boxes->Boxes().size());
            boxes.reset();
            EXPECT_EQ(settingsBefore, ReadFileBytes(SettingsFilePath()));
            EXPECT_TRUE(session.Service().Messages().empty());
        }
        EXPECT_TRUE(OwnedWindows(session.Hwnd()).empty());
        const std::wstring state =
            dialog.CurrentProfileName() + L" " +
            std::to_wstring(Probe::profileList(dialog).Count()) + L" " +
            Probe::macros(dialog).Current() + L" " + std::to_wstring(dialog.MacroNames().size()) +
            L" " + (IsWindowEnabled(Probe::newProfileBtn(dialog).Hwnd()) ? L"x" : L"-");
        EXPECT_EQ(r.state, state);
    }
    EXPECT_EQ(L"Work", CIniFile(SettingsFilePath()).ReadString(L"GROUP", L"ProfileName", L""));
}
