#include "config/MacroBufferChecks.h"
#include "config/MacroDelay.h"
#include "config/MacroEditor.h"
#include "tests/config/core/MacroTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

using namespace macrotest;

namespace {

constexpr std::optional<int> kLeft = std::nullopt;

int MeasuredClick() {
    return ClickDelay(MacroDelayMode::Measured, L"").Milliseconds;
}

std::vector<MacroEvent> With(std::vector<MacroEvent> events, std::vector<MacroEvent> tail) {
    events.insert(events.end(), tail.begin(), tail.end());
    return events;
}

} // namespace

// Each operation on the events, with the list box following it step by step.
TEST(MacroEditor, EditingOperationsKeepEventsAndRowsInStep) {
    struct Row {
        const char* name;
        std::vector<MacroEvent> start;
        std::function<MacroEdit(MacroEditor&)> edit;
        std::vector<MacroEvent> expected;
        std::optional<int> selection;
    };
    const auto n60 = Numbered(60);
    const Row rows[] = {
        {"click after a key: delay, press, delay, release",
         {P(4)},
         [](MacroEditor& e) {
             return e.InsertClick(0, MacroEditor::ClickButtonCode(1), MeasuredClick());
         },
         {P(4), D(1), BP(1), D(1), BR(1)},
         0},
        {"click after a delay row: no leading delay",
         {D(25), P(4)},
         [](MacroEditor& e) { return e.InsertClick(0, MacroEditor::ClickButtonCode(3), 10); },
         {D(25), BP(4), D(1), BR(4), D(1), P(4)},
         0},
        {"click without delays",
         {P(4)},
         [](MacroEditor& e) { return e.InsertClick(0, 2, 0); },
         {P(4), BP(2), BR(2)},
         0},
        {"click into 55 events", Numbered(55),
         [](MacroEditor& e) { return e.InsertClick(54, 1, 10); },
         With(Numbered(55), {D(1), BP(1), D(1), BR(1)}), 54},
        {"click into 56 events refused", Numbered(56),
         [](MacroEditor& e) { return e.InsertClick(0, 1, 10); }, Numbered(56), kLeft},
        {"click with no row selected",
         {P(4)},
         [](MacroEditor& e) { return e.InsertClick(-1, 1, 10); },
         {P(4)},
         kLeft},
        {"cut then paste after the row selected at the paste",
         {P(4), R(4), D(5)},
         [](MacroEditor& e) {
             MacroEdit edit = e.Cut(0);
             edit.Merge(e.Paste(1));
             return edit;
         },
         {R(4), D(5), P(4)},
         1},
        {"paste into 60 events refused", n60,
         [](MacroEditor& e) {
             e.Copy(3);
             return e.Paste(0);
         },
         n60, kLeft},
        {"paste with nothing copied",
         {P(4)},
         [](MacroEditor& e) { return e.Paste(0); },
         {P(4)},
         kLeft},
        {"delete the only event", {P(4)}, [](MacroEditor& e) { return e.Delete(0); }, {}, -1},
        {"delete the last of 60", n60, [](MacroEditor& e) { return e.Delete(59); }, Numbered(59),
         58},
        {"delete the first of 60", n60, [](MacroEditor& e) { return e.Delete(0); },
         std::vector<MacroEvent>(n60.begin() + 1, n60.end()), 0},
        {"delete past the end", {P(4)}, [](MacroEditor& e) { return e.Delete(1); }, {P(4)}, kLeft},
        {"move up at the top",
         {P(4), R(4)},
         [](MacroEditor& e) { return e.MoveUp(0); },
         {P(4), R(4)},
         kLeft},
        {"move down at the bottom",
         {P(4), R(4)},
         [](MacroEditor& e) { return e.MoveDown(1); },
         {P(4), R(4)},
         kLeft},
        {"move up",
         {P(4), D(3), R(4)},
         [](MacroEditor& e) { return e.MoveUp(2); },
         {P(4), R(4), D(3)},
         1},
        {"move down",
         {P(4), D(3), R(4)},
         [](MacroEditor& e) { return e.MoveDown(0); },
         {D(3), P(4), R(4)},
         1},
        {"delay before the selected row",
         {P(4), R(4)},
         [](MacroEditor& e) { return e.InsertDelay(1, MacroInsertPlace::Before, 120); },
         {P(4), D(12), R(4)},
         2},
        {"delay after the selected row",
         {P(4), R(4)},
         [](MacroEditor& e) { return e.InsertDelay(0, MacroInsertPlace::After, 120); },
         {P(4), D(12), R(4)},
         1},
        {"delay into 60 events refused", n60,
         [](MacroEditor& e) { return e.InsertDelay(0, MacroInsertPlace::After, 120); }, n60, kLeft},
        {"delay edited",
         {P(4), D(3)},
         [](MacroEditor& e) { return e.SetDelay(1, 1000); },
         {P(4), D(100)},
         1},
        {"delay edited to 0 keeps 10 ms",
         {D(3)},
         [](MacroEditor& e) { return e.SetDelay(0, 0); },
         {D(1)},
         0},
        {"delay edit on a key row refused",
         {P(4), D(3)},
         [](MacroEditor& e) { return e.SetDelay(0, 1000); },
         {P(4), D(3)},
         kLeft},
        {"delay edit past the end refused",
         {P(4), D(3)},
         [](MacroEditor& e) { return e.SetDelay(2, 1000); },
         {P(4), D(3)},
         kLeft},
        {"loading leaves out empty slots and unknown kinds",
         {P(4), MacroEvent{}, MacroEvent{0x07, 1, 0}, R(4)},
         [](MacroEditor&) { return MacroEdit{}; },
         {P(4), R(4)},
         kLeft},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MacroEditor editor = Loaded(row.start);
        FakeList list{editor.Rows()};
        const std::vector<MacroEvent> before = Used(editor);
        const MacroEdit edit = row.edit(editor);
        MirrorMacroEdit(list, edit);

        EXPECT_EQ(row.expected, Used(editor));
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

TEST(MacroEditor, RowsShowDelaysInMillisecondsAndKeysByName) {
    const MacroEditor editor = Loaded({P(4), D(25), R(4), BP(2)});
    const std::vector<MacroRow> expected{{L"K4", MacroRow::kPressItem},
                                         {L"250 MS", MacroRow::kDelayItem},
                                         {L"K4", MacroRow::kReleaseItem},
                                         {L"B2", MacroRow::kPressItem}};
    EXPECT_EQ(expected, editor.Rows());
}

// The stuck-key check and the total time over whole event buffers.
TEST(MacroBufferChecks, KeysReleasedAndTotalTime) {
    struct Row {
        const char* name;
        std::vector<MacroEvent> events;
        bool released;
        std::uint32_t totalMs;
    };
    const Row rows[] = {
        {"empty", {}, true, 0},
        {"press and release", {P(4), D(25), R(4)}, true, 250},
        {"key left pressed", {P(4), D(25), P(5), R(5)}, false, 250},
        {"pressed twice, released once", {P(4), P(4), R(4)}, true, 0},
        {"released before its press", {R(4), D(6553), P(4)}, false, 65530},
        {"key 4 is not the middle button", {BP(4), R(4)}, false, 0},
        {"button click with delays", {BP(1), D(1), BR(1), D(300)}, true, 3010},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const MacroEventBuffer buffer = Buffer(row.events);
        EXPECT_EQ(row.released, MacroKeysReleased(row.events));
        EXPECT_EQ(row.released, RebuildMacroLists(buffer));
        EXPECT_EQ(row.totalMs, SumMacroTime(buffer));
        EXPECT_EQ(row.totalMs, Loaded(row.events).TotalMilliseconds());
    }
}
