#include "tests/config/mainwindow/MainWindowProbe.h"
#include "tests/config/mainwindow/MainWindowSession.h"
#include "tests/config/mainwindow/ModalBoxes.h"

#include "config/controls/CMacroNameMenu.h"
#include "config/dialogs/DPIShift/CDPIShift.h"
#include "config/dialogs/LaunchTarget/CLaunchTargetDlg.h"
#include "config/dialogs/LaunchWWW/CLaunchWWW.h"
#include "config/dialogs/MacroSel/CMacroSelDlg.h"
#include "config/dialogs/Warning/CWarningDlg.h"
#include "shared/store/CIniFile.h"
#include "shared/store/DataPaths.h"
#include "shared/store/SettingsIni.h"
#include "tests/config/controls/ControlTestSupport.h"
#include "tests/config/dialogs/ModalSteps.h"

#include <gtest/gtest.h>

#include <memory>

namespace {
using P = MainWindowProbe;
constexpr UINT kButtonChanged = 0x513;
constexpr UINT kMenuChoice = 0x501;
constexpr RECT kKeyOk{170, 348, 293, 376};
constexpr RECT kKeyClose{296, 12, 319, 33};
constexpr RECT kShiftOk{166, 253, 269, 273};
constexpr RECT kShiftValue{35, 132, 145, 149};
constexpr RECT kXOk{41, 335, 165, 365};
constexpr RECT kXFirst{44, 175, 301, 200};
constexpr RECT kXSecond{44, 252, 301, 277};
constexpr RECT kXKey{44, 98, 265, 123};

// A choice as the button-function menu posts it: positions in wParam, ids in lParam, the
// sub-entry's in the low words.
struct Choice {
    int position;
    int id;
    int subPosition = 0;
    int subId = 0;
};

// A window started on this profile and macros, on the buttons sub-page.
void StartOnButtonPage(MainWindowSession& window, const SettingsRecord& record,
                       const std::vector<std::wstring>& macroSlots,
                       const std::vector<std::wstring>& profiles = {}) {
    std::vector<MainWindowSession::Macro> macros;
    for (size_t slot = 0; slot < macroSlots.size(); ++slot) {
        if (!macroSlots[slot].empty()) {
            macros.push_back(
                {static_cast<int>(slot), macroSlots[slot], {MacroEvent::KeyEvent(0x04, true)}, 3});
        }
    }
    window.Restart(record, profiles, macros);
    Click(P::subTabs(window.Dialog())[0].Hwnd());
    Pump();
}

// The slot button opens the menu; the choice arrives while it is open.
void ChooseFromMenu(MainWindowSession& window, int button, const Choice& choice) {
    Click(P::slotBtns(window.Dialog())[static_cast<size_t>(button)].Hwnd());
    PostMessageW(window.Hwnd(), kMenuChoice, MAKEWPARAM(choice.subPosition, choice.position),
                 MAKELPARAM(choice.subId, choice.id));
    Pump();
}

template <class T> T* As(HWND box) {
    return dynamic_cast<T*>(winlayer::Window::FromHandle(box));
}

std::wstring TextOf(const ButtonAssignment& entry) {
    return std::wstring(entry.Text.data(), wcsnlen(entry.Text.data(), entry.Text.size()));
}

// Byte 0, the function code, bytes 2 and 3, the first four key data bytes and the text.
struct Stored {
    std::array<int, 8> bytes;
    std::wstring text;
    bool operator==(const Stored&) const = default;
};

void PrintTo(const Stored& s, std::ostream* os) {
    for (int b : s.bytes) {
        *os << b << " ";
    }
    *os << testing::PrintToString(s.text);
}

Stored StoredOf(const ButtonAssignment& e) {
    return {{e.ButtonNumber, e.FunctionCode, e.Param1, e.Param2, e.Data[0], e.Data[1], e.Data[2],
             e.Data[3]},
            TextOf(e)};
}
} // namespace

TEST(ButtonAssignment, MenuChoicesAreStoredAndAnnouncedOnce) {
    using Codes = std::array<std::uint8_t, kButtonCount>;
    struct Row {
        const char* name;
        Codes codes;
        int button;
        Choice choice;
        const wchar_t* warning; // part of the box shown; empty for none
        Codes after;            // in "Mouse.ini"
        bool announced;         // 0x513 (profile, button) once
        int page;
    };
    const Codes standard{1, 2, 3, 10, 11, 14, 48, 49};
    const wchar_t* warn3 = L"One button keeps the left click";
    const int settings = CLucfgDlg::kMainPage;
    // clang-format off
    const std::vector<Row> rows = {
        {"a plain function", standard, 3, {8, 12}, L"", {1, 2, 3, 12, 11, 14, 48, 49}, true, settings},
        {"a sub-menu entry", standard, 4, {16, 19, 3, 32}, L"",
         {1, 2, 3, 10, 32, 14, 48, 49}, true, settings},
        {"the only left click refuses another function with the warning", standard, 0, {1, 2},
         warn3, standard, false, settings},
        {"the only left click chosen again changes nothing, silently", standard, 0, {0, 1}, L"",
         standard, false, settings},
        {"a second left click may go", {1, 1, 3, 10, 11, 14, 48, 49}, 0, {1, 2}, L"",
         {2, 1, 3, 10, 11, 14, 48, 49}, true, settings},
        {"with no left click at all any function is taken", {2, 2, 3, 10, 11, 14, 48, 49}, 0,
         {6, 48}, L"", {48, 2, 3, 10, 11, 14, 48, 49}, true, settings},
        {"the left click may be added to another button", standard, 5, {0, 1}, L"",
         {1, 2, 3, 10, 11, 1, 48, 49}, true, settings},
        {"a choice the open menu does not hold", standard, 3, {8, 13}, L"", standard, false,
         settings},
        {"a macro with no macro listed shows the macro page", standard, 3, {11, 6}, L"",
         standard, false, CLucfgDlg::kMacroPage},
    };
    // clang-format on
    MainWindowSession window(MainWindowData::Record(), {}, {}, true);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SettingsRecord record = MainWindowData::Record();
        for (size_t i = 0; i < kButtonCount; ++i) {
            record.ButtonAssigned[i].FunctionCode = row.codes[i];
        }
        StartOnButtonPage(window, record, {});
        std::wstring shown;
        ModalBoxes boxes(window.Hwnd(), {[&](HWND box) {
                             shown = ModalBoxes::Text(box);
                             if (const auto* warning = As<CWarningDlg>(box)) {
                                 PostClick(warning->OkButton());
                             } else {
                                 shown = L"another box";
                                 As<winlayer::Dialog>(box)->EndDialog(IDCANCEL);
                             }
                         }});
        ChooseFromMenu(window, row.button, row.choice);
        EXPECT_FALSE(boxes.TimedOut());
        EXPECT_NE(std::wstring::npos, shown.find(row.warning)) << testing::PrintToString(shown);
        EXPECT_EQ(*row.warning == L'\0', shown.empty());
        const SettingsRecord stored = MainWindowData::ReadSettings();
        for (size_t i = 0; i < kButtonCount; ++i) {
            EXPECT_EQ(row.after[i], stored.ButtonAssigned[i].FunctionCode) << i;
            EXPECT_EQ(row.after[i], window.Dialog().Working().ButtonAssigned[i].FunctionCode);
        }
        EXPECT_EQ(row.announced ? 1 : 0, window.Service().Count(kButtonChanged));
        EXPECT_EQ(row.announced ? 1 : 0, window.Service().Count(kButtonChanged, 0, row.button));
        EXPECT_EQ(row.page, window.Dialog().MainPage());
        EXPECT_EQ(nullptr, window.Dialog().OpenPopup()) << "the menu is gone";
    }
}

TEST(ButtonAssignment, EachDialogOpensFromItsChoiceAndWhatItReturnsIsStored) {
    using Steps = std::vector<ModalBoxes::Step>;
    struct Row {
        const char* name;
        int button;
        // The entry before: byte 0, code, bytes 2 and 3, and the text.
        std::array<std::uint8_t, 4> before;
        const wchar_t* beforeText;
        Choice choice;
        bool fromMenu; // else handed to the assignment as the menu would (no entry offers it)
        Steps steps;
        std::array<int, 8> after;
        const wchar_t* afterText;
        const wchar_t* caption;     // of the button's slot; empty: not looked at
        const wchar_t* shown;       // what a step saw in the dialog
        std::uint8_t beforeKey = 0; // the entry's key data byte 1 before
        // The service switches to the profile "Work" while the dialog asks: the function goes
        // to "Game", the profile it was chosen for, and "Work" becomes current after.
        bool switched = false;
    };
    std::wstring seen;
    const auto click = [](RECT rect) {
        return [rect](HWND box) { PostClick(ChildAt(box, rect, L"Button")); };
    };
    const auto report = [](std::vector<std::pair<WPARAM, LPARAM>> keys) {
        return [keys](HWND box) {
            for (const auto& [key, transition] : keys) {
                PostMessageW(box, HookLibrary::kKeyReport, key, transition);
            }
        };
    };
    const auto typeAt = [](RECT rect, const wchar_t* text) {
        return [rect, text](HWND box) { SetWindowTextW(ChildAt(box, rect, L"Edit"), text); };
    };
    const auto readAt = [&seen](RECT rect) {
        return [&seen, rect](HWND box) {
            wchar_t text[32] = {};
            GetWindowTextW(ChildAt(box, rect, L"Edit"), text, 32);
            seen = text;
        };
    };
    // The launch dialogs' choosers answer for the system's file and folder dialogs.
    const auto chooseTarget = [](const wchar_t* target) {
        return [target](HWND box) {
            CLaunchTargetDlg* dialog = As<CLaunchTargetDlg>(box);
            dialog->SetChooser([target](HWND) { return std::optional<std::wstring>(target); });
            PostClick(dialog->MiddleButton());
        };
    };
    const auto launchOk = [](HWND box) { PostClick(As<CLaunchTargetDlg>(box)->OkButton()); };
    const auto launchCancel = [&seen](HWND box) {
        seen = As<CBitmapBtn>(As<CLaunchTargetDlg>(box)->MiddleButton())->GetCaption();
        PostClick(As<CLaunchTargetDlg>(box)->CancelButton());
    };
    const auto pickMacro = [](WPARAM index) {
        return [index](HWND box) {
            PostClick(As<CMacroSelDlg>(box)->NameButton());
            PostMessageW(box, CMacroNameMenu::kChoice, index, 0);
        };
    };
    const auto macroOk = [](HWND box) { PostClick(As<CMacroSelDlg>(box)->OkButton()); };
    // The macro the dialog starts from and its count, as "name/count".
    const auto readMacroDialog = [&seen](HWND box) {
        wchar_t count[8] = {};
        GetWindowTextW(As<CMacroSelDlg>(box)->CountEdit(), count, 8);
        seen = As<CBitmapBtn>(As<CMacroSelDlg>(box)->NameButton())->GetCaption() + L"/" + count;
    };
    const auto switchToWork = [](HWND box) {
        CIniFile(SettingsFilePath()).WriteString(L"Setting", L"AutoProfile", L"Work");
        SendMessageW(GetWindow(box, GW_OWNER), 0x505, 15, 0);
    };
    const Choice advanced{19, 8};
    // clang-format off
    const std::vector<Row> rows = {
        {"single key from the hook", 4, {5, 11, 1, 0}, L"", {10, 5}, true,
         {report({{'B', 0}, {'B', 128}}), click(kKeyOk)},
         {5, 5, 1, 0, 0x80, 0x05, 0, 0}, L"", L"", L""},
        {"single key: a combination", 4, {5, 11, 1, 0}, L"", {10, 5}, true,
         {report({{VK_LCONTROL, 0}, {'A', 0}, {'A', 128}, {VK_LCONTROL, 128}}), click(kKeyOk)},
         {1, 99, 1, 4, 0x80, 0xE0, 0x80, 0x04}, L"", L"Ctrl + A", L""},
        {"single key closed: the entry stays", 4, {5, 11, 1, 0}, L"", {10, 5}, true,
         {report({{'B', 0}}), click(kKeyClose)}, {5, 11, 1, 0, 0, 0, 0, 0}, L"", L"", L""},
        {"key assignment", 4, {5, 11, 1, 0}, L"", {19, 8, 0, 5}, false,
         {[](HWND box) {
              PostMessageW(box, WM_KEYDOWN, 'C', 0x002E0001);
              PostMessageW(box, WM_KEYUP, 'C', static_cast<LPARAM>(0xC02E0001));
          },
          click(kKeyOk)},
         {5, 5, 1, 1, 0x80, 0x06, 0, 0}, L"", L"", L""},
        {"key assignment confirmed without a key turns the button off", 4, {5, 11, 1, 0}, L"",
         {19, 8, 0, 5}, false, {click(kKeyOk)}, {5, 7, 1, 0, 0, 0, 0, 0}, L"", L"[OFFBUTTON]",
         L""},
        {"DPI shift", 4, {5, 11, 1, 0}, L"", {19, 8, 0, 15}, false,
         {click(kShiftValue),
          [](HWND box) { PostMessageW(box, CDPIShift::kChoiceMessage, 0, MAKELPARAM(0, 3)); },
          click(kShiftOk)},
         {5, 15, 3, 0, 0, 0, 0, 0}, L"", L"", L""},
        {"XSHOOT", 4, {5, 11, 1, 0}, L"", {14, 9}, true,
         {typeAt(kXFirst, L"7"), typeAt(kXSecond, L"9"), typeAt(kXKey, L"a"), click(kXOk)},
         {5, 9, 7, 9, 0, 0x04, 0, 0}, L"", L"", L""},
        {"XSHOOT while the service switches the profile", 4, {5, 11, 1, 0}, L"", {14, 9}, true,
         {switchToWork, typeAt(kXFirst, L"7"), typeAt(kXSecond, L"9"), typeAt(kXKey, L"a"),
          click(kXOk)},
         {5, 9, 7, 9, 0, 0x04, 0, 0}, L"", L"", L"", 0, true},
        {"XSHOOT reopened on a punctuation key keeps it when only a value changes", 4,
         {5, 9, 7, 9}, L"", {14, 9}, true, {readAt(kXKey), typeAt(kXFirst, L"3"), click(kXOk)},
         {5, 9, 3, 9, 0, 0x33, 0, 0}, L"", L"", L";", 0x33},
        {"launch program", 4, {5, 11, 1, 0}, L"", {13, 118}, true,
         {chooseTarget(L"C:\\Games\\run.exe"), launchOk},
         {5, 118, 1, 0, 0, 0, 0, 0}, L"C:\\Games\\run.exe", L"", L""},
        {"launch program shows the program it launches", 4, {5, 118, 1, 0}, L"C:\\old.exe",
         {13, 118}, true, {launchCancel}, {5, 118, 1, 0, 0, 0, 0, 0}, L"C:\\old.exe", L"",
         L"C:\\old.exe"},
        {"open folder", 4, {5, 11, 1, 0}, L"", {advanced.position, advanced.id, 7, 141}, true,
         {chooseTarget(L"D:\\Media"), launchOk}, {5, 141, 1, 0, 0, 0, 0, 0}, L"D:\\Media",
         L"", L""},
        {"open web address", 4, {5, 11, 1, 0}, L"", {advanced.position, advanced.id, 6, 140},
         true,
         {[](HWND box) {
              SetWindowTextW(As<CLaunchWWW>(box)->AddressEdit(), L"www.example.com");
              PostClick(As<CLaunchWWW>(box)->OkButton());
          }},
         {5, 140, 1, 0, 0, 0, 0, 0}, L"www.example.com", L"", L""},
        {"macro: the second listed (slot 2), mode 1, count 5", 1, {2, 2, 1, 0}, L"", {11, 6},
         true,
         {pickMacro(1), [](HWND box) {
              PostClick(As<CMacroSelDlg>(box)->ModeButton(1));
              SetWindowTextW(As<CMacroSelDlg>(box)->CountEdit(), L"5");
          }, macroOk},
         {1, 6, 5, 1, 0, 0, 0, 0}, L"Gamma", L"", L""},
        {"macro dialog starts from the macro the button holds", 1, {2, 6, 7, 1}, L"Gamma",
         {11, 6}, true,
         {readMacroDialog, macroOk},
         {2, 6, 7, 1, 0, 0, 0, 0}, L"Gamma", L"", L"Gamma/7"},
        {"macro dialog on a button whose macro was deleted offers it no more", 1, {2, 6, 7, 1},
         L"Gone", {11, 6}, true,
         {readMacroDialog, macroOk},
         {2, 6, 7, 0, 0, 0, 0, 0}, L"Alpha", L"", L"/7"},
        {"macro dialog confirmed without a pick: the first macro, by its name", 1, {2, 2, 1, 0},
         L"", {11, 6}, true, {macroOk}, {0, 6, 1, 0, 0, 0, 0, 0}, L"Alpha", L"", L""},
        {"macro from the menu group: the current macro, played its loop count", 1, {2, 2, 1, 0},
         L"", {19, 8, 0, 6}, false, {}, {0, 6, 3, 0, 0, 0, 0, 0}, L"Alpha", L"", L""},
    };
    // clang-format on
    MainWindowSession window(MainWindowData::Record(), {}, {}, true);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SettingsRecord record = MainWindowData::Record(row.switched ? L"Game" : L"");
        ButtonAssignment& entry = record.ButtonAssigned[static_cast<size_t>(row.button)];
        entry.ButtonNumber = row.before[0];
        entry.FunctionCode = row.before[1];
        entry.Param1 = row.before[2];
        entry.Param2 = row.before[3];
        entry.Data[1] = row.beforeKey;
        wcsncpy(entry.Text.data(), row.beforeText, entry.Text.size() - 1);
        // Slot 1 is empty: Gamma is second in the list.
        StartOnButtonPage(window, record, {L"Alpha", L"", L"Gamma"},
                          row.switched ? std::vector<std::wstring>{L"Game", L"Work"}
                                       : std::vector<std::wstring>{});
        seen.clear();
        ModalBoxes boxes(window.Hwnd(), row.steps);
        if (row.fromMenu) {
            ChooseFromMenu(window, row.button, row.choice);
        } else {
            P::selectedButton(window.Dialog()) = row.button;
            MenuChoice choice{MenuKind::ButtonFunction, row.choice.position, row.choice.id,
                              row.choice.subPosition, row.choice.subId};
            window.Dialog().AssignFunctionToButton(choice);
            Pump();
        }
        EXPECT_FALSE(boxes.TimedOut());
        EXPECT_EQ(row.steps.size(), boxes.StepsRun());
        EXPECT_EQ(nullptr, ModalBoxes::OpenBox(window.Hwnd()));
        const Stored after{row.after, row.afterText};
        if (row.switched) {
            SettingsRecord game{};
            SettingsIni_Read(game, MainWindowData::ProfileFile(L"Game"), -1);
            EXPECT_EQ(after, StoredOf(game.ButtonAssigned[static_cast<size_t>(row.button)]));
            EXPECT_EQ(L"Work", window.Dialog().CurrentProfileName());
            EXPECT_EQ(StoredOf(entry),
                      StoredOf(MainWindowData::ReadSettings()
                                   .ButtonAssigned[static_cast<size_t>(row.button)]));
        } else {
            const SettingsRecord stored = MainWindowData::ReadSettings();
            EXPECT_EQ(after, StoredOf(stored.ButtonAssigned[static_cast<size_t>(row.button)]));
            EXPECT_EQ(
                after,
                StoredOf(
                    window.Dialog().Working().ButtonAssigned[static_cast<size_t>(row.button)]));
        }
        EXPECT_EQ(1, window.Service().Count(kButtonChanged));
        EXPECT_EQ(1, window.Service().Count(kButtonChanged, 0, row.button));
        if (*row.caption != L'\0') {
            EXPECT_EQ(row.caption,
                      P::slotBtns(window.Dialog())[static_cast<size_t>(row.button)].GetCaption());
        }
        EXPECT_EQ(row.shown, seen);
    }
}
