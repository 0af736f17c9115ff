#include "config/dialogs/MacroSel/CMacroSelDlg.h"
#include "config/dialogs/MacroSel/CRepeatCount.h"

#include "tests/config/controls/ControlTestSupport.h"
#include "tests/config/dialogs/ModalSteps.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {
const std::vector<std::wstring> kMacros = {L"Reload", L"Combo", L"Burst", L"Jump"};

void MakeMacroSelSkin() {
    MakeSkinFolder();
    SaveSolidPng(SkinFile(L"sel_n.png"), 340, 390, RGB(20, 20, 20));
    SaveSolidPng(SkinFile(L"sel_d.png"), 340, 390, RGB(90, 0, 0));
    const std::wstring ini = SkinFile(L"skin_macrosel.ini");
    WritePrivateProfileStringW(L"Screen", L"Main", L"sel_n.png", ini.c_str());
    WritePrivateProfileStringW(L"Screen", L"Over", L"sel_d.png", ini.c_str());
}

CBitmapBtn& Button(HWND hwnd) {
    return dynamic_cast<CBitmapBtn&>(*winlayer::Window::FromHandle(hwnd));
}

// One user action: "t<text>" types into the count edit, "e" presses Enter in it, "n" clicks the
// name button, "p<row>" picks a row of the open pop-up, "c<index>" posts a pop-up choice,
// "m<mode>" clicks a mode button; "ok", "cancel", "close", "enter" and "esc" end the run.
void Perform(CMacroSelDlg& dialog, const std::string& action) {
    const int value = action.size() > 1 ? std::atoi(action.c_str() + 1) : 0;
    if (action == "ok" || action == "cancel" || action == "close") {
        PostClick(action == "ok"       ? dialog.OkButton()
                  : action == "cancel" ? dialog.CancelButton()
                                       : dialog.CloseButton());
    } else if (action[0] == 't') {
        SetWindowTextA(dialog.CountEdit(), action.c_str() + 1);
    } else if (action == "e") {
        PostKey(dialog.CountEdit(), VK_RETURN);
    } else if (action == "n") {
        PostClick(dialog.NameButton());
    } else if (action[0] == 'p') {
        ASSERT_NE(nullptr, dialog.NameMenu());
        const HWND list = dialog.NameMenu()->List().Hwnd();
        RECT r{};
        SendMessageW(list, LB_GETITEMRECT, value, reinterpret_cast<LPARAM>(&r));
        SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(r.left + 5, r.top + 5));
        SendMessageW(list, WM_LBUTTONUP, 0, PointParam(r.left + 5, r.top + 5));
    } else if (action[0] == 'c') {
        PostMessageW(dialog.Hwnd(), CMacroNameMenu::kChoice, static_cast<WPARAM>(value), 0);
    } else if (action[0] == 'm') {
        PostClick(dialog.ModeButton(value));
    } else {
        PostKey(dialog.Hwnd(), action == "enter" ? VK_RETURN : VK_ESCAPE);
    }
}
} // namespace

TEST(RepeatCountTest, TypedTextsComeOutBetweenOneAndTwoHundredFiftyFive) {
    const std::vector<std::pair<std::wstring, int>> rows = {
        {L"5", 5},
        {L"255", 255},
        {L"256", 255},
        {L"300", 255},
        {L"0", 1},
        {L"", 1},
        {L"abc", 1},
        {L"-7", 1},
        {L"12abc", 12},
        {L" 42", 42},
        {L"007", 7},
        {L"+3", 3},
        {L"99999999999999999999", 255},
    };
    for (const auto& [text, count] : rows) {
        EXPECT_EQ(count, CRepeatCount::FromText(text)) << testing::PrintToString(text);
    }
}

TEST(MacroSelDlgTest, OneRunReturnsTheChosenMacroModeAndClampedCount) {
    struct Row {
        const char* name;
        bool macros;
        int mode, count, slot; // given before the run, with the name of that slot
        const char* actions;
        INT_PTR result;
        int endMode, endCount, endSlot;
        const wchar_t* shownCount; // in the edit when the run ends
        bool menuOpened;
    };
    const std::vector<Row> rows = {
        {"300 typed stays until Enter shows 255", true, 0, 1, 0, "t300 e ok", IDOK, 0, 255, 0,
         L"255", false},
        {"0 typed shows 1 after Enter", true, 0, 9, 0, "t0 e ok", IDOK, 0, 1, 0, L"1", false},
        {"garbage typed shows 1 after Enter", true, 0, 9, 0, "tabc e ok", IDOK, 0, 1, 0, L"1",
         false},
        {"300 typed is taken as 255 at OK", true, 0, 1, 0, "t300 ok", IDOK, 0, 255, 0, L"300",
         false},
        {"caller's count out of range", true, 2, 300, 1, "enter", IDOK, 2, 255, 1, L"255", false},
        {"third macro from the pop-up", true, 0, 3, 0, "n p2 ok", IDOK, 0, 3, 2, L"3", true},
        {"mode 1 and count 5", true, 0, 1, 3, "m1 t5 ok", IDOK, 1, 5, 3, L"5", false},
        {"pop-up closed unchosen", true, 0, 1, 1, "n c-1 ok", IDOK, 0, 1, 1, L"1", true},
        {"choice past the list", true, 0, 1, 1, "n c9 ok", IDOK, 0, 1, 1, L"1", true},
        {"late choice, no pop-up", true, 0, 1, 1, "c3 ok", IDOK, 0, 1, 1, L"1", false},
        {"no macros: no pop-up", false, 0, 1, 0, "n cancel", IDCANCEL, 0, 1, 0, L"1", false},
        {"Escape closes the pop-up", true, 1, 1, 0, "n esc", IDCANCEL, 1, 1, 0, L"1", true},
        {"close button", true, 0, 4, 0, "n close", IDCANCEL, 0, 4, 0, L"4", true},
        {"mode outside 0-2 is 0", true, 7, 1, 0, "ok", IDOK, 0, 1, 0, L"1", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MakeMacroSelSkin();
        CMacroSelDlg dialog(nullptr, row.macros ? kMacros : std::vector<std::wstring>{});
        dialog.SetValues(row.mode, row.count, row.slot);
        dialog.SetMacroName(row.macros ? kMacros[static_cast<size_t>(row.slot)] : L"");
        bool menuOpened = false;
        HWND menu = nullptr;
        wchar_t shownCount[32] = {};
        std::wstring shownName;
        std::vector<bool> checks;
        // Before each action: what the previous one left on the screen.
        const ModalSteps::Step look = [&] {
            if (dialog.NameMenu() != nullptr) {
                menuOpened = true;
                menu = dialog.NameMenu()->Hwnd();
            }
            GetWindowTextW(dialog.CountEdit(), shownCount, 32);
            shownName = Button(dialog.NameButton()).GetCaption();
            checks.clear();
            for (int mode = 0; mode < 3; ++mode) {
                checks.push_back(Button(dialog.ModeButton(mode)).IsChecked());
            }
        };
        std::vector<ModalSteps::Step> steps;
        std::istringstream actions(row.actions);
        for (std::string action; actions >> action;) {
            steps.push_back(look);
            steps.push_back([&dialog, action] { Perform(dialog, action); });
        }
        EXPECT_EQ(row.result, ModalSteps(dialog, std::move(steps)).Run());
        EXPECT_EQ(row.menuOpened, menuOpened);
        EXPECT_FALSE(menu != nullptr && IsWindow(menu));
        EXPECT_EQ(nullptr, dialog.NameMenu());
        EXPECT_EQ(row.endMode, dialog.Mode());
        EXPECT_EQ(row.endCount, dialog.Count());
        EXPECT_EQ(row.endSlot, dialog.Slot());
        const std::wstring endName = row.macros ? kMacros[static_cast<size_t>(row.endSlot)] : L"";
        EXPECT_EQ(endName, dialog.MacroName());
        EXPECT_EQ(endName, shownName);
        EXPECT_EQ(std::wstring(row.shownCount), shownCount);
        EXPECT_EQ((std::vector<bool>{row.endMode == 0, row.endMode == 1, row.endMode == 2}),
                  checks);
    }
}
