#include "config/core/MacroBufferChecks.h"
#include "config/core/MacroDelay.h"
#include "tests/config/core/MacroTestSupport.h"

#include <gtest/gtest.h>

using namespace macrotest;

// Each operation on the events, with the list box following it step by step.
TEST(MacroEditor, EditingOperationsKeepEventsAndRowsInStep) {
    enum Op { Click, CutPaste, CopyPaste, Paste, Delete, Up, Down, Before, After, SetDelay, None };
    struct Row {
        const char* name;
        const char* start;
        Op op;
        int row;
        int value; // click button code, delay in ms, paste row
        const char* expected;
        std::optional<int> selection;
    };
    const int measured = ClickDelay(MacroDelayMode::Measured, L"").Milliseconds;
    const std::nullopt_t left = std::nullopt;
    const Row rows[] = {
        {"click after a key: delay, press, delay, release", "K4+", Click, 0, 1, "K4+ D1 B1+ D1 B1-",
         0},
        {"click after a delay row: no leading delay", "D25 K4+", Click, 0, 4,
         "D25 B4+ D1 B4- D1 K4+", 0},
        {"click into 55 events", "N55", Click, 54, 1, "N55 D1 B1+ D1 B1-", 54},
        {"click into 56 events refused", "N56", Click, 0, 1, "N56", left},
        {"click with no row selected", "K4+", Click, -1, 1, "K4+", left},
        {"cut, then paste after the row selected then", "K4+ K4- D5", CutPaste, 0, 1, "K4- D5 K4+",
         1},
        {"paste into 60 events refused", "N60", CopyPaste, 3, 0, "N60", left},
        {"paste with nothing copied", "K4+", Paste, 0, 0, "K4+", left},
        {"delete the only event", "K4+", Delete, 0, 0, "", -1},
        {"delete the last of 60", "N60", Delete, 59, 0, "N59", 58},
        {"delete the first of 60", "K9+ N59", Delete, 0, 0, "N59", 0},
        {"delete past the end", "K4+", Delete, 1, 0, "K4+", left},
        {"move up at the top", "K4+ K4-", Up, 0, 0, "K4+ K4-", left},
        {"move down at the bottom", "K4+ K4-", Down, 1, 0, "K4+ K4-", left},
        {"move up", "K4+ D3 K4-", Up, 2, 0, "K4+ K4- D3", 1},
        {"move down", "K4+ D3 K4-", Down, 0, 0, "D3 K4+ K4-", 1},
        {"delay before the row", "K4+ K4-", Before, 1, 120, "K4+ D12 K4-", 2},
        {"delay after the row", "K4+ K4-", After, 0, 120, "K4+ D12 K4-", 1},
        {"delay into 60 events refused", "N60", After, 0, 120, "N60", left},
        {"delay edited", "K4+ D3", SetDelay, 1, 1000, "K4+ D100", 1},
        {"delay edited to 0 keeps 10 ms", "D3", SetDelay, 0, 0, "D1", 0},
        {"delay edit on a key row refused", "K4+ D3", SetDelay, 0, 1000, "K4+ D3", left},
        {"delay edit past the end refused", "K4+ D3", SetDelay, 2, 1000, "K4+ D3", left},
        {"loading leaves out empty slots and unknown kinds", "K4+ Z U K4-", None, 0, 0, "K4+ K4-",
         left},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MacroEditor editor = Loaded(row.start);
        FakeList list{editor.Rows()};
        const std::vector<MacroEvent> before = Used(editor);
        MacroEdit edit;
        switch (row.op) {
        case Click:
            edit = editor.InsertClick(row.row, static_cast<std::uint8_t>(row.value), measured);
            break;
        case CutPaste:
            edit = editor.Cut(row.row);
            edit.Merge(editor.Paste(row.value));
            break;
        case CopyPaste:
            editor.Copy(row.row);
            [[fallthrough]];
        case Paste:
            edit = editor.Paste(row.value);
            break;
        case Delete:
            edit = editor.Delete(row.row);
            break;
        case Up:
            edit = editor.MoveUp(row.row);
            break;
        case Down:
            edit = editor.MoveDown(row.row);
            break;
        case Before:
        case After:
            edit = editor.InsertDelay(
                row.row, row.op == Before ? MacroInsertPlace::Before : MacroInsertPlace::After,
                row.value);
            break;
        case SetDelay:
            edit = editor.SetDelay(row.row, row.value);
            break;
        case None:
            break;
        }
        MirrorMacroEdit(list, edit);

        EXPECT_EQ(Events(row.expected), Used(editor));
        EXPECT_EQ(edit.Changed, Used(editor) != before);
        EXPECT_TRUE(std::all_of(editor.Events().begin() + editor.Count(), editor.Events().end(),
                                [](const MacroEvent& e) { return e.IsEmpty(); }));
        EXPECT_EQ(row.selection, edit.Selection);
        ASSERT_EQ(editor.Rows(), list.rows);
        for (int i = 0; i < editor.Count(); ++i) {
            EXPECT_EQ(editor.RowOf(editor.Events()[i]), editor.Rows()[i]) << i;
        }
    }
}

// The stuck-key check and the total time over whole event buffers.
TEST(MacroBufferChecks, KeysReleasedAndTotalTime) {
    struct Row {
        const char* name;
        const char* events;
        bool released;
        std::uint32_t totalMs;
    };
    const Row rows[] = {
        {"empty", "", true, 0},
        {"press and release", "K4+ D25 K4-", true, 250},
        {"a key left pressed", "K4+ D25 K5+ K5-", false, 250},
        {"pressed twice, released once", "K4+ K4+ K4-", true, 0},
        {"released before its press", "K4- D6553 K4+", false, 65530},
        {"key 4 is not the middle button", "B4+ K4-", false, 0},
        {"a click with delays", "B1+ D1 B1- D300", true, 3010},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const MacroEventBuffer buffer = Buffer(Events(row.events));
        EXPECT_EQ(row.released, MacroKeysReleased(Events(row.events)));
        EXPECT_EQ(row.released, RebuildMacroLists(buffer));
        EXPECT_EQ(row.totalMs, SumMacroTime(buffer));
        EXPECT_EQ(row.totalMs, Loaded(row.events).TotalMilliseconds());
    }
}
