#include "tests/config/mainwindow/MainWindowProbe.h"
#include "tests/config/mainwindow/MainWindowSession.h"
#include "tests/config/mainwindow/ModalBoxes.h"

#include "config/dialogs/Warning/CWarningDlg.h"
#include "shared/store/DataPaths.h"
#include "tests/config/controls/ControlTestSupport.h"
#include "tests/config/dialogs/ModalSteps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <memory>
#include <optional>

namespace {
using P = MainWindowProbe;
constexpr UINT kMacroChanged = 0x514;
constexpr UINT kServiceEvent = 0x505;
constexpr UINT kMenuChoice = 0x501;
constexpr UINT kMacroNameChoice = 0x3414;
constexpr UINT kMoreChoice = 0x3416;
constexpr UINT kDelayDialog = 0x3403;
constexpr int kFirstInsertModeId = 40028;
constexpr RECT kDelayOk{170, 348, 293, 376};
constexpr RECT kDelayClose{296, 12, 319, 33};
constexpr RECT kDelayEdit{36, 189, 294, 328};

constexpr MacroEvent Down(std::uint8_t usage) {
    return MacroEvent::KeyEvent(usage, true);
}
constexpr MacroEvent Up(std::uint8_t usage) {
    return MacroEvent::KeyEvent(usage, false);
}
constexpr MacroEvent Wait(std::uint16_t units) {
    return MacroEvent::DelayEvent(units);
}
constexpr std::uint8_t kA = 0x04;
constexpr std::uint8_t kB = 0x05;
constexpr std::uint8_t kC = 0x06;
using Events = std::vector<MacroEvent>;

} // namespace

// Found by the printer through the event's own namespace.
static void PrintTo(const MacroEvent& e, std::ostream* os) {
    *os << "{" << int(e.Type) << "," << int(e.Code) << "," << int(e.High) << "}";
}

namespace {
// The macros of a row in their slots, with the events the table gives each name. Beta does not
// loop; the others loop three times.
std::vector<MainWindowSession::Macro> Macros(const std::vector<std::pair<int, std::wstring>>& slots,
                                             const std::function<Events(const std::wstring&)>& of) {
    std::vector<MainWindowSession::Macro> macros;
    for (const auto& [slot, name] : slots) {
        macros.push_back({slot, name, of(name), name == L"Beta" ? 0 : 3});
    }
    return macros;
}

// The macro page of a window started on these macros and this profile.
void StartOnMacroPage(MainWindowSession& window,
                      const std::vector<MainWindowSession::Macro>& macros,
                      const SettingsRecord& record = MainWindowData::Record()) {
    window.Restart(record, {}, macros);
    Click(P::macroTabBtn(window.Dialog()).Hwnd());
    Pump();
}

// The macro at this place of the list, chosen from the macro-name menu.
void Choose(MainWindowSession& window, int position) {
    Click(P::macroNameBtn(window.Dialog()).Hwnd());
    PostMessageW(window.Hwnd(), kMacroNameChoice, static_cast<WPARAM>(position), 0);
    Pump();
}

std::vector<std::wstring> Rows(CLucfgDlg& dialog) {
    CListBoxEx& list = P::eventList(dialog);
    std::vector<std::wstring> rows;
    for (int i = 0; i < CLucfgDlg::ListCount(list.Hwnd()); ++i) {
        rows.push_back(list.GetText(i));
    }
    return rows;
}

// The row texts of the events being edited.
std::vector<std::wstring> EditorRows(CLucfgDlg& dialog) {
    std::vector<std::wstring> rows;
    for (const MacroRow& r : P::macros(dialog).Editor().Rows()) {
        rows.push_back(r.Text);
    }
    return rows;
}

// What the name box keeps of a name typed into it key by key.
std::wstring TypedIntoBox(HWND box, const std::wstring& name) {
    SetWindowTextW(box, L"");
    for (const wchar_t c : name) {
        SendMessageW(box, WM_CHAR, c, 1);
    }
    std::array<wchar_t, 64> kept{};
    GetWindowTextW(box, kept.data(), static_cast<int>(kept.size()));
    return kept.data();
}

// An expected name "<head>…<tail>" stands for `actual` when that is <tail> after a shorter
// beginning of <head>; any other expected name stands for itself.
std::wstring Resolved(const std::wstring& expected, const std::wstring& actual) {
    const size_t cut = expected.find(L'…');
    if (cut == std::wstring::npos) {
        return expected;
    }
    const std::wstring head = expected.substr(0, cut);
    const std::wstring tail = expected.substr(cut + 1);
    const bool matches = actual.size() > tail.size() && actual.ends_with(tail) &&
                         actual.size() - tail.size() < head.size() &&
                         head.starts_with(actual.substr(0, actual.size() - tail.size()));
    return matches ? actual : expected;
}

// Answers the box that is open: the warning box and the delay dialog by their own buttons.
ModalBoxes::Step Answer(bool ok, std::wstring* text = nullptr, const wchar_t* typed = nullptr) {
    return [=](HWND box) {
        if (text != nullptr) {
            *text += ModalBoxes::Text(box);
        }
        if (const auto* warning = dynamic_cast<CWarningDlg*>(winlayer::Window::FromHandle(box))) {
            PostClick(ok ? warning->OkButton() : warning->CancelButton());
            return;
        }
        if (typed != nullptr) {
            SetWindowTextW(ChildAt(box, kDelayEdit, L"Edit"), typed);
        }
        PostClick(ChildAt(box, ok ? kDelayOk : kDelayClose, L"Button"));
    };
}

// Delay events of a measured recording may be a little longer than the pause between reports.
bool SameEvents(const Events& expected, const Events& actual, bool measured) {
    if (expected.size() != actual.size()) {
        return false;
    }
    for (size_t i = 0; i < expected.size(); ++i) {
        const MacroEvent& e = expected[i];
        const MacroEvent& a = actual[i];
        const bool longer = measured && e.EventKind() == MacroEvent::Delay &&
                            a.EventKind() == MacroEvent::Delay &&
                            a.DelayMilliseconds() >= e.DelayMilliseconds() &&
                            a.DelayMilliseconds() < e.DelayMilliseconds() + 1000;
        if (!(e == a) && !longer) {
            return false;
        }
    }
    return true;
}
} // namespace

TEST(MacroPage, RecordsTheHookReportsIntoTheCurrentMacro) {
    // The record button, or the insert button in the insert mode; the insert-action menu's
    // "INSERTNEWACT" in that mode; the edit button on the selected key row.
    enum class Via { Buttons, InsertAction, EditButton };
    // The key itself ends a replacement.
    enum class End { Stop, StopInsert, MainTab, LightingTab, WindowCloses, ByItself };
    struct Report {
        WPARAM key;
        LPARAM transition;
        DWORD pauseAfter = 0;
    };
    struct Row {
        const char* name;
        bool hooks;
        Events before;
        int delayMode;
        const wchar_t* delayBox;
        int insertMode; // -1: the record button; 2, 3: the insert button in that mode
        int selected;
        std::vector<Report> reports;
        End end;
        const wchar_t* warning; // the box shown, empty for none
        Events after;           // in the file and the list
        int selection;
        std::vector<WPARAM> posts;
        const wchar_t* delayBoxAfter;
        Via via = Via::Buttons;
        bool capsLock = false;
        // The service's read-back arrives while it runs.
        bool serviceRefresh = false;
        std::vector<std::wstring> shown = {}; // the list's rows at the end; empty: not looked at
    };
    const Events ab{Down(kB), Up(kB)};
    const Events aa{Down(kA), Up(kA)};
    const std::vector<Report> typeA{{'A', 0}, {'A', 128}};
    const std::vector<Report> typeB{{'B', 0}, {'B', 128}};
    const wchar_t* stuck = L"有一个或者多个按键没有被松开，";
    const wchar_t* noHooks = L"找不到键盘钩子库 (Tarrow.dll)，";
    // clang-format off
    const std::vector<Row> rows = {
        {"measured: press A, 120 ms, release A replaces the macro", true, ab, 0, L"", -1, -1,
         {{'A', 0, 120}, {'A', 128}}, End::Stop, L"", {Down(kA), Wait(12), Up(kA)}, 2, {1}, L""},
        {"fixed delay with 5 in the box gives 10 ms and shows 10", true, ab, 1, L"5", -1, -1,
         typeA, End::Stop, L"", {Down(kA), Wait(1), Up(kA)}, 2, {1}, L"10", Via::Buttons, false,
         false, {L"A", L"10 MS", L"A"}},
        {"fixed delay with 99999 in the box: the row and the box show the 65530 ms stored", true,
         ab, 1, L"99999", -1, -1, typeA, End::Stop, L"", {Down(kA), Wait(6553), Up(kA)}, 2, {1},
         L"65530", Via::Buttons, false, false, {L"A", L"65530 MS", L"A"}},
        {"no delays; a repeated report and a release never pressed are dropped", true, ab, 2,
         L"", -1, -1, {{'B', 128}, {'A', 0}, {'A', 0}, {'A', 128}}, End::Stop, L"", aa, 1, {1},
         L""},
        {"a right click from the mouse hook", true, ab, 2, L"", -1, -1,
         {{VK_RBUTTON, 0}, {VK_RBUTTON, 128}}, End::Stop, L"",
         {MacroEvent::MouseButtonEvent(2, true), MacroEvent::MouseButtonEvent(2, false)}, 1, {1},
         L""},
        {"a key left pressed: warned, then saved", true, ab, 2, L"", -1, -1, {{'A', 0}},
         End::Stop, stuck, {Down(kA)}, 0, {1}, L""},
        {"insert mode 2 records before the selected row, which moves down", true, aa, 2, L"", 2,
         1, typeB, End::StopInsert, L"", {Down(kA), Down(kB), Up(kB), Up(kA)}, 3, {1}, L""},
        {"insert mode 3 records after the selected row, the selection follows", true, aa, 2, L"",
         3, 0, typeB, End::StopInsert, L"", {Down(kA), Down(kB), Up(kB), Up(kA)}, 2, {1}, L""},
        {"leaving for the settings page drops the recording", true, ab, 2, L"", -1, -1, typeA,
         End::MainTab, L"", ab, 1, {}, L""},
        {"leaving for lighting drops an inserting recording", true, aa, 2, L"", 3, 0, typeB,
         End::LightingTab, L"", aa, 1, {}, L""},
        {"closing the window drops the recording", true, ab, 2, L"", -1, -1, typeA,
         End::WindowCloses, L"", ab, 1, {}, L""},
        {"without the hook library: warned, nothing recorded", false, ab, 2, L"", -1, -1, typeA,
         End::Stop, noHooks, ab, 1, {}, L""},
        {"a recorded key has the name its macro's file gives it, Caps Lock on or not", true, ab,
         2, L"", -1, -1, typeA, End::Stop, L"", aa, 1, {1}, L"", Via::Buttons, true, false,
         {L"A", L"A"}},
        {"insert mode 1: a new action from the row's menu goes to the end", true, aa, 2, L"", 1,
         0, typeB, End::Stop, L"", {Down(kA), Up(kA), Down(kB), Up(kB)}, 3, {1}, L"",
         Via::InsertAction},
        {"the edit button on a key row: the next key replaces it, saved once, survives the refresh",
         true, aa, 2, L"", -1, 0, typeB, End::ByItself, L"", ab, 1, {1}, L"", Via::EditButton,
         false, true, {L"B", L"B"}},
    };
    // clang-format on
    std::unique_ptr<MainWindowSession> shared;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (!shared || shared->Hooks() != row.hooks || shared->Hwnd() == nullptr) {
            shared.reset();
            shared = std::make_unique<MainWindowSession>(
                MainWindowData::Record(), std::vector<std::wstring>{},
                std::vector<MainWindowSession::Macro>{}, row.hooks);
        }
        MainWindowSession& window = *shared;
        // In slot 1 with slot 0 empty: the announcement names the slot.
        StartOnMacroPage(window, {{1, L"Rec", row.before, 0}});
        CLucfgDlg& dialog = window.Dialog();
        Click(P::delayModeBtns(dialog)[static_cast<size_t>(row.delayMode)].Hwnd());
        SetWindowTextW(P::fixedDelayEdit(dialog).Hwnd(), row.delayBox);
        std::wstring warning;
        int eventsAtWarning = -1;
        ModalBoxes boxes(window.Hwnd(), {[&](HWND box) {
                             eventsAtWarning =
                                 static_cast<int>(MainWindowData::ReadMacro(L"Rec")->size());
                             Answer(true, &warning)(box);
                         }});
        std::array<BYTE, 256> keys{};
        GetKeyboardState(keys.data());
        keys[VK_CAPITAL] = row.capsLock ? 1 : 0;
        SetKeyboardState(keys.data());
        if (row.insertMode >= 0) {
            Click(P::addMacroMenuBtn(dialog).Hwnd());
            PostMessageW(window.Hwnd(), kMenuChoice, MAKEWPARAM(0, row.insertMode),
                         MAKELPARAM(0, kFirstInsertModeId + row.insertMode));
            Pump();
        }
        if (row.selected >= 0) {
            P::eventList(dialog).SetCurSel(row.selected);
        }
        if (row.via == Via::EditButton) {
            Click(P::editEventBtn(dialog).Hwnd());
        } else if (row.via == Via::InsertAction) {
            Click(P::insertActionBtn(dialog).Hwnd());
            PostMessageW(window.Hwnd(), kMenuChoice, MAKEWPARAM(0, 0), MAKELPARAM(0, 40001));
        } else if (row.insertMode < 0) {
            Click(P::recordBtn(dialog).Hwnd());
        } else {
            Click(P::insertBtn(dialog).Hwnd());
        }
        Pump();
        if (row.serviceRefresh) {
            SendMessageW(window.Hwnd(), 0x505, 0, 0);
        }
        window.Service().Clear();
        EXPECT_EQ(row.hooks, P::recorder(dialog).Active());
        EXPECT_EQ(row.hooks, IsWindowVisible(P::stopRecordBtn(dialog).Hwnd()) != FALSE);
        EXPECT_EQ(row.hooks, !IsWindowVisible(P::recordBtn(dialog).Hwnd()));
        EXPECT_EQ(row.hooks, !IsWindowEnabled(P::newMacroBtn(dialog).Hwnd())) << "page locked";
        for (const Report& report : row.reports) {
            PostMessageW(window.Hwnd(), HookLibrary::kKeyReport, report.key, report.transition);
            Pump();
            Sleep(report.pauseAfter);
        }
        switch (row.end) {
        case End::Stop:
            Click(P::stopRecordBtn(dialog).Hwnd());
            break;
        case End::StopInsert:
            Click(P::stopInsertBtn(dialog).Hwnd());
            break;
        case End::MainTab:
            Click(P::mainTabBtn(dialog).Hwnd());
            break;
        case End::LightingTab:
            Click(P::lightingTabBtn(dialog).Hwnd());
            break;
        case End::WindowCloses:
            dialog.DestroyWindow();
            break;
        case End::ByItself:
            break;
        }
        Pump();
        keys[VK_CAPITAL] = 0;
        SetKeyboardState(keys.data());
        EXPECT_FALSE(boxes.TimedOut());
        EXPECT_NE(std::wstring::npos, warning.find(row.warning)) << testing::PrintToString(warning);
        EXPECT_EQ(*row.warning == L'\0', warning.empty());
        if (row.warning == stuck) {
            EXPECT_EQ(static_cast<int>(row.before.size()), eventsAtWarning) << "saved after it";
        }
        const bool measured = row.delayMode == 0;
        EXPECT_TRUE(SameEvents(row.after, *MainWindowData::ReadMacro(L"Rec"), measured))
            << testing::PrintToString(*MainWindowData::ReadMacro(L"Rec"));
        EXPECT_EQ(row.posts, window.Posts(kMacroChanged));
        if (dialog.Hwnd() == nullptr) {
            continue;
        }
        EXPECT_FALSE(P::recorder(dialog).Active());
        const MacroEditor& editor = P::macros(dialog).Editor();
        EXPECT_TRUE(SameEvents(
            row.after, Events(editor.Events().begin(), editor.Events().begin() + editor.Count()),
            measured));
        EXPECT_EQ(EditorRows(dialog), Rows(dialog)) << "the list shows the events";
        if (!row.shown.empty()) {
            EXPECT_EQ(row.shown, Rows(dialog));
        }
        EXPECT_EQ(row.selection, P::eventList(dialog).GetCurSel());
        if (*row.delayBoxAfter != L'\0') {
            EXPECT_EQ(row.delayBoxAfter, P::fixedDelayEdit(dialog).Text());
        }
        // Back on the macro page the page is as before the recording.
        Click(P::macroTabBtn(dialog).Hwnd());
        Pump();
        EXPECT_TRUE(IsWindowVisible(P::recordBtn(dialog).Hwnd()));
        EXPECT_FALSE(IsWindowVisible(P::stopRecordBtn(dialog).Hwnd()));
        EXPECT_TRUE(IsWindowEnabled(P::newMacroBtn(dialog).Hwnd()));
        EXPECT_TRUE(IsWindowEnabled(P::macroNameEdit(dialog).Hwnd()));
        EXPECT_TRUE(IsWindowEnabled(P::editEventBtn(dialog).Hwnd()));
        EXPECT_FALSE(P::refreshDeferred(dialog)) << "a refresh that waited is done";
    }
}

TEST(MacroPage, MacroOperationsFromTheirButtonsKeepEveryOtherMacro) {
    enum class Op {
        New,
        Delete,
        DeleteThenLoop,
        Rename,
        LoopSwitch,
        DelayDialog,
        Copy,
        DeleteEvent,
        DelayEditEscape,
        EmptiedOutside,
    };
    struct Box {
        const wchar_t* text; // part of what the box shows
        bool ok;
        const wchar_t* typed = nullptr;
    };
    using Files = std::vector<std::pair<std::wstring, Events>>;
    struct Row {
        const char* name;
        std::vector<std::pair<int, std::wstring>> slots;
        int current; // list position chosen from the macro-name menu
        Op op;
        const wchar_t* argument;
        std::vector<Box> boxes;
        std::vector<std::wstring> listed;
        std::wstring currentAfter; // "<head>…<tail>": a shorter beginning of <head>, then <tail>
        Files files;               // every file of the macro folder and its events
        std::vector<WPARAM> posts;
        int loopAfter; // "LoopTime" of the current macro's file; -1 not looked at
        const wchar_t* buttonPlays = nullptr; // the macro the last mouse button plays, by name
        const wchar_t* buttonAfter = nullptr; // that button's caption then
    };
    const Events alpha{Down(kA), Wait(25), Up(kA)};
    const Events beta{Down(kB), Up(kB)};
    const Events gamma{Down(kC)};
    const auto eventsOf = [&](const std::wstring& name) {
        return name == L"Alpha" ? alpha : name == L"Beta" ? beta : gamma;
    };
    const std::vector<std::pair<int, std::wstring>> three{
        {0, L"Alpha"}, {1, L"Beta"}, {2, L"Gamma"}};
    const Files all{{L"Alpha", alpha}, {L"Beta", beta}, {L"Gamma", gamma}};
    const wchar_t* sure = L"确定要删除这个宏文件吗？";
    // clang-format off
    const std::vector<Row> rows = {
        {"new macro", {{0, L"Alpha"}}, 0, Op::New, L"", {}, {L"Alpha", L"Macro1"}, L"Macro1",
         {{L"Alpha", alpha}, {L"Macro1", {}}}, {}, 0},
        {"delete: the neighbour becomes current and its file stays whole", three, 1, Op::Delete,
         L"", {{sure, true}}, {L"Alpha", L"Gamma"}, L"Alpha",
         {{L"Alpha", alpha}, {L"Gamma", gamma}}, {1, 0}, 3},
        {"delete with an empty slot before it announces the slot", {{0, L"Alpha"}, {2, L"Gamma"}},
         1, Op::Delete, L"", {{sure, true}}, {L"Alpha"}, L"Alpha", {{L"Alpha", alpha}}, {2, 0}, 3},
        {"delete declined", three, 1, Op::Delete, L"", {{sure, false}},
         {L"Alpha", L"Beta", L"Gamma"}, L"Beta", all, {1}, 0},
        {"deleting the last macro empties the page", {{0, L"Alpha"}}, 0, Op::Delete, L"",
         {{sure, true}}, {}, L"", {}, {0}, -1},
        {"deleting the macro a button plays turns its caption off, not to the next macro", three,
         0, Op::Delete, L"", {{sure, true}}, {L"Beta", L"Gamma"}, L"Beta",
         {{L"Beta", beta}, {L"Gamma", gamma}}, {0, 1}, 0, L"Alpha", L"[OFFBUTTON]"},
        {"the list emptied outside the window: the page names no macro, the button reads off",
         three, 1, Op::EmptiedOutside, L"", {}, {}, L"", all, {}, -1, L"Beta", L"[OFFBUTTON]"},
        {"rename to another macro's name in another case", three, 1, Op::Rename, L"alpha",
         {{L"已有同名的宏", true}}, {L"Alpha", L"Beta", L"Gamma"}, L"Beta", all, {}, 0},
        {"rename to a name that fills the box: the drop-down shows it", three, 1, Op::Rename,
         L"WWWWWWWWWWW", {}, {L"Alpha", L"WWWWWWWWWWW", L"Gamma"}, L"WWWWWWWWWWW",
         {{L"Alpha", alpha}, {L"Gamma", gamma}, {L"WWWWWWWWWWW", beta}}, {}, 0},
        {"rename to a path", three, 1, Op::Rename, L"..\\Beta", {{L"宏名称不能用作文件名", true}},
         {L"Alpha", L"Beta", L"Gamma"}, L"Beta", all, {}, 0},
        {"rename", three, 1, Op::Rename, L"Delta", {}, {L"Alpha", L"Delta", L"Gamma"}, L"Delta",
         {{L"Alpha", alpha}, {L"Delta", beta}, {L"Gamma", gamma}}, {}, 0, L"Beta", L"Delta"},
        {"loop switch on", three, 1, Op::LoopSwitch, L"", {}, {L"Alpha", L"Beta", L"Gamma"},
         L"Beta", all, {}, 1},
        {"loop switch after the last macro went writes nothing", {{0, L"Alpha"}}, 0,
         Op::DeleteThenLoop, L"", {{sure, true}}, {}, L"", {}, {0}, -1},
        {"delay dialog on a delay row", three, 0, Op::DelayDialog, L"1",
         {{L"", true, L"1234"}}, {L"Alpha", L"Beta", L"Gamma"}, L"Alpha",
         {{L"Alpha", {Down(kA), Wait(123), Up(kA)}}, {L"Beta", beta}, {L"Gamma", gamma}}, {0}, 3},
        {"delay dialog closed", three, 0, Op::DelayDialog, L"1", {{L"", false, L"1234"}},
         {L"Alpha", L"Beta", L"Gamma"}, L"Alpha", all, {}, 3},
        {"no delay dialog on a key row", three, 0, Op::DelayDialog, L"0", {},
         {L"Alpha", L"Beta", L"Gamma"}, L"Alpha", all, {}, 3},
        {"copy of a name that fills the box: its beginning is cut to fit before copy 1",
         {{0, L"NNNNNNNNNNNNNNNN"}}, 0, Op::Copy, L"", {},
         {L"NNNNNNNNNNNNNNNN", L"NNNNNNNNNNNNNNNN… copy 1"}, L"NNNNNNNNNNNNNNNN… copy 1",
         {{L"NNNNNNNNNNNNNNNN… copy 1", gamma}, {L"NNNNNNNNNNNNNNNN", gamma}}, {1}, 3},
        {"deleting the only event leaves a list that draws no row", three, 2, Op::DeleteEvent,
         L"0", {}, {L"Alpha", L"Beta", L"Gamma"}, L"Gamma",
         {{L"Alpha", alpha}, {L"Beta", beta}, {L"Gamma", {}}}, {2}, 3},
        {"Escape in the delay row's edit leaves the row as it was", three, 0,
         Op::DelayEditEscape, L"1", {}, {L"Alpha", L"Beta", L"Gamma"}, L"Alpha", all, {}, 3},
    };
    // clang-format on
    MainWindowSession window(MainWindowData::Record(), {}, {}, true);
    CLucfgDlg& dialog = window.Dialog();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SettingsRecord record = MainWindowData::Record();
        if (row.buttonPlays != nullptr) {
            ButtonAssignment& entry = record.ButtonAssigned[kButtonCount - 1];
            entry.FunctionCode = 6;
            const auto at = std::find_if(row.slots.begin(), row.slots.end(), [&](const auto& slot) {
                return slot.second == row.buttonPlays;
            });
            entry.Param2 = static_cast<std::uint8_t>(at - row.slots.begin());
            wcsncpy(entry.Text.data(), row.buttonPlays, entry.Text.size() - 1);
        }
        StartOnMacroPage(window, Macros(row.slots, eventsOf), record);
        Choose(window, row.current);
        window.Service().Clear();
        std::vector<std::wstring> shown(row.boxes.size());
        std::vector<ModalBoxes::Step> steps;
        for (size_t i = 0; i < row.boxes.size(); ++i) {
            steps.push_back(Answer(row.boxes[i].ok, &shown[i], row.boxes[i].typed));
        }
        ModalBoxes boxes(window.Hwnd(), steps);
        switch (row.op) {
        case Op::New:
            Click(P::newMacroBtn(dialog).Hwnd());
            break;
        case Op::Delete:
        case Op::DeleteThenLoop:
            Click(P::deleteMacroBtn(dialog).Hwnd());
            // The next edit saves whichever macro is current then.
            Click(row.op == Op::Delete ? P::moveDownBtn(dialog).Hwnd()
                                       : P::loopSwitchBtn(dialog).Hwnd());
            break;
        case Op::Rename:
            SetWindowTextW(P::macroNameEdit(dialog).Hwnd(), row.argument);
            Click(P::renameMacroBtn(dialog).Hwnd());
            break;
        case Op::LoopSwitch:
            Click(P::loopSwitchBtn(dialog).Hwnd());
            break;
        case Op::DelayDialog:
            SendMessageW(window.Hwnd(), kDelayDialog, static_cast<WPARAM>(_wtoi(row.argument)), 0);
            break;
        case Op::Copy:
            Click(P::moreMacroBtn(dialog).Hwnd());
            PostMessageW(window.Hwnd(), kMoreChoice, 0, 0);
            break;
        case Op::DeleteEvent:
            ClickListRow(P::eventList(dialog).Hwnd(), _wtoi(row.argument));
            Click(P::deleteEventBtn(dialog).Hwnd());
            break;
        case Op::DelayEditEscape:
            P::eventList(dialog).SetCurSel(_wtoi(row.argument));
            Click(P::editEventBtn(dialog).Hwnd());
            SetWindowTextW(P::eventList(dialog).DelayEdit(), L"999");
            SendMessageW(P::eventList(dialog).DelayEdit(), WM_KEYUP, VK_ESCAPE, 0);
            break;
        case Op::EmptiedOutside:
            WritePrivateProfileStringW(L"MACRO_LIST", nullptr, nullptr, SettingsFilePath().c_str());
            SendMessageW(window.Hwnd(), kServiceEvent, 0, 0);
            break;
        }
        Pump();
        EXPECT_FALSE(boxes.TimedOut());
        EXPECT_EQ(row.boxes.size(), boxes.StepsRun()) << "boxes shown";
        for (size_t i = 0; i < row.boxes.size(); ++i) {
            EXPECT_NE(std::wstring::npos, shown[i].find(row.boxes[i].text))
                << testing::PrintToString(shown[i]);
        }
        const std::wstring current = P::macros(dialog).Current();
        const auto expected = [&](const std::wstring& name) { return Resolved(name, current); };
        std::vector<std::wstring> listed;
        std::ranges::transform(row.listed, std::back_inserter(listed), expected);
        EXPECT_EQ(listed, P::macros(dialog).List().Names());
        EXPECT_EQ(expected(row.currentAfter), current);
        EXPECT_EQ(current, P::macroNameBtn(dialog).GetCaption());
        EXPECT_EQ(current, P::macroNameEdit(dialog).Text());
        std::vector<std::wstring> expectedFiles;
        for (const auto& [name, events] : row.files) {
            expectedFiles.push_back(expected(name) + L".MACRO");
            EXPECT_EQ(events,
                      MainWindowData::ReadMacro(expected(name)).value_or(Events{{0xFF, 0, 0}}))
                << testing::PrintToString(name);
        }
        EXPECT_EQ(expectedFiles, MainWindowData::MacroFiles());
        EXPECT_EQ(row.posts, window.Posts(kMacroChanged));
        if (row.loopAfter >= 0) {
            EXPECT_EQ(row.loopAfter, MainWindowData::ReadLoopTime(current));
            EXPECT_EQ(std::to_wstring(row.loopAfter), P::loopCountEdit(dialog).Text());
            EXPECT_EQ(row.loopAfter != 0, IsWindowEnabled(P::loopCountEdit(dialog).Hwnd()) != 0);
        }
        EXPECT_EQ(static_cast<int>(P::macros(dialog).Editor().Count()),
                  CLucfgDlg::ListCount(P::eventList(dialog).Hwnd()));
        EXPECT_EQ(EditorRows(dialog), Rows(dialog)) << "the list shows the events";
        const HWND list = P::eventList(dialog).Hwnd();
        if (CLucfgDlg::ListCount(list) == 0) {
            UpdateWindow(list);
            RECT client{};
            GetClientRect(list, &client);
            EXPECT_EQ(client.right * client.bottom, ScreenShot(list).Count(client, RGB(0, 0, 0)))
                << "an empty list shows its background only";
        }
        // The name box takes the current name as it would take it typed.
        EXPECT_EQ(current, TypedIntoBox(P::macroNameEdit(dialog).Hwnd(), current));
        EXPECT_EQ(0, DrawnOverArrow(P::macroNameBtn(dialog).Hwnd()))
            << "the drop-down draws its name left of its arrow";
        if (row.buttonAfter != nullptr) {
            EXPECT_EQ(row.buttonAfter, P::slotBtns(dialog)[kButtonCount - 1].GetCaption());
        }
    }
}
