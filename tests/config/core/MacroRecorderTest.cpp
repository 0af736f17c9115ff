#include "config/core/MacroRecorder.h"
#include "tests/config/core/MacroTestSupport.h"

#include <gtest/gtest.h>

using namespace macrotest;

namespace {

enum class Begin { Record, Append, Before, After, Replace };
using Switches = std::vector<std::pair<bool, bool>>;

// A recorder on its own editor, clock and hook switch.
struct Bench {
    MacroEditor editor;
    std::uint32_t now = 5000;
    bool available = true;
    Switches switches;
    MacroRecorder recorder{editor,
                           {[this] { return available; },
                            [this](bool keys, bool mouse) { switches.emplace_back(keys, mouse); }},
                           [this] { return now; }};

    explicit Bench(const std::string& events) : editor(Loaded(events)) {}

    MacroRecordStart Start(Begin begin, int row, MacroDelayMode mode, const wchar_t* box) {
        const auto insert = [&](MacroInsertMode m) {
            return recorder.StartInserting(m, row, mode, box);
        };
        switch (begin) {
        case Begin::Record:
            return recorder.Start(mode, box);
        case Begin::Append:
            return insert(MacroInsertMode::Append);
        case Begin::Before:
            return insert(MacroInsertMode::RecordBefore);
        case Begin::After:
            return insert(MacroInsertMode::RecordAfter);
        default:
            return recorder.StartReplacing(row);
        }
    }

    // "A+1000" key A (usage 4) pressed at 1000 ms, "B-" released, "A?" an unknown transition,
    // "x+" a key without a code; "L+", "R-", "M+" mouse buttons, "V" a mouse move.
    std::vector<MacroRecordResult> Send(const std::string& reports) {
        std::vector<MacroRecordResult> results;
        std::istringstream in(reports);
        for (std::string r; in >> r;) {
            const std::size_t digits = r.find_first_of("0123456789");
            now = digits == std::string::npos ? now : std::stoul(r.substr(digits));
            const char c = r[0];
            const bool down = r.size() > 1 && r[1] == '+';
            if (c == 'L' || c == 'R' || c == 'M' || c == 'V') {
                const UINT base = c == 'L'   ? WM_LBUTTONDOWN
                                  : c == 'R' ? WM_RBUTTONDOWN
                                             : WM_MBUTTONDOWN;
                const UINT message = c == 'V' ? WM_MOUSEMOVE : down ? base : base + 1;
                results.push_back(recorder.RecordMouse(message, 0x00100010));
            } else {
                const LPARAM transition = r[1] == '?' ? 7
                                          : down      ? MacroRecorder::kPress
                                                      : MacroRecorder::kRelease;
                results.push_back(recorder.RecordKey(c == 'x' ? 0x07 : c, transition));
            }
        }
        return results;
    }
};

} // namespace

// Reports in, events and rows out, with the clock driven by the reports.
TEST(MacroRecorder, ReportsBecomeEvents) {
    struct Row {
        const char* name;
        const char* start;
        Begin begin;
        int row;
        MacroDelayMode mode;
        const wchar_t* box;
        const char* reports;
        const char* expected;
        int selection;
        const wchar_t* texts = nullptr; // the rows' texts, each followed by '|'
        const wchar_t* boxShown = nullptr;
    };
    const auto m = MacroDelayMode::Measured;
    const auto fixed = MacroDelayMode::Fixed;
    const auto none = MacroDelayMode::None;
    const Row rows[] = {
        {"press A, 250 ms, release A", "K9+", Begin::Record, -1, m, L"", "A+1000 A-1250",
         "K4+ D25 K4-", 2, L"K4|250 MS|K4|"},
        {"a 70 s gap", "", Begin::Record, -1, m, L"", "A+1000 A-71000", "K4+ D6553 K4-", 2,
         L"K4|65530 MS|K4|"},
        {"under 10 ms: no delay", "", Begin::Record, -1, m, L"", "A+1000 A-1009", "K4+ K4-", 1},
        {"a fixed delay of 5 becomes 10", "", Begin::Record, -1, fixed, L"5",
         "A+0 B+4000 B-9000 A-9100", "K4+ D1 K5+ D1 K5- D1 K4-", 6,
         L"K4|10 MS|K5|10 MS|K5|10 MS|K4|", L"10"},
        {"no delays", "", Begin::Record, -1, none, L"", "A+0 B+400 B-900 A-1200", "K4+ K5+ K5- K4-",
         3},
        {"a repeated report dropped", "", Begin::Record, -1, none, L"", "A+0 A+30 A-60", "K4+ K4-",
         1},
        {"a release never pressed dropped", "", Begin::Record, -1, none, L"", "A-0 B+10", "K5+", 0},
        {"unknown transitions and keys dropped", "", Begin::Record, -1, m, L"", "A?0 x+10 A+20",
         "K4+", 0},
        {"insert after the row: the selection follows", "K20+ K20-", Begin::After, 0, m, L"",
         "A+0 A-100", "K20+ K4+ D10 K4- K20-", 3},
        {"insert before the row: it moves down", "K20+ K20-", Begin::Before, 1, none, L"",
         "A+0 A-100", "K20+ K4+ K4- K20-", 3},
        {"inserting at the end keeps the events", "K20+", Begin::Append, 0, none, L"", "A+0",
         "K20+ K4+", 1},
        {"57 events: the second report is dropped", "N57", Begin::Append, -1, m, L"", "A+0 A-500",
         "N57 K4+", 57},
        {"58 events: keys and clicks dropped", "N58", Begin::After, 3, none, L"", "A+0 L+10", "N58",
         -2},
        {"a right click 1234 ms after the press", "", Begin::Record, -1, m, L"", "R+100 R-1334",
         "B2+ D123 B2-", 2, L"B2|1230 MS|B2|"},
        {"the same mouse report twice records once", "", Begin::Record, -1, m, L"", "L+0 L+50",
         "B1+", 0},
        {"mouse moves and lone releases dropped", "", Begin::Record, -1, m, L"", "V0 M-10 M+20",
         "B4+", 0},
        {"replacing a press renames its release, not the delays", "K4+ D5 K4- K4+ K4-",
         Begin::Replace, 0, m, L"", "B+0 B-10", "K5+ D5 K5- K4+ K4-", 0},
        {"replacing a release renames the press before it", "K4+ K4-", Begin::Replace, 1, m, L"",
         "B+0", "K5+ K5-", 1, L"K5|K5|"},
        {"a full macro still takes a replacement", "N58 K4+ K4-", Begin::Replace, 58, m, L"", "B+0",
         "N58 K5+ K5-", 58},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench(row.start);
        ASSERT_EQ(MacroRecordStart::Started, bench.Start(row.begin, row.row, row.mode, row.box));
        FakeList list{bench.editor.Rows()};
        std::wstring boxShown;
        for (const MacroRecordResult& result : bench.Send(row.reports)) {
            MirrorMacroEdit(list, result.Edit);
            boxShown = result.DelayBoxText.value_or(boxShown);
        }
        EXPECT_EQ(Events(row.expected), Used(bench.editor));
        EXPECT_EQ(bench.editor.Rows(), list.rows);
        std::wstring texts;
        for (const MacroRow& shown : list.rows) {
            texts += shown.Text + L"|";
        }
        EXPECT_EQ(row.texts ? row.texts : texts, texts);
        EXPECT_EQ(row.selection, list.selection);
        EXPECT_EQ(row.boxShown ? row.boxShown : L"", boxShown);
        // Only the caller's Stop or Cancel ends a recording, a replacement too.
        EXPECT_TRUE(bench.recorder.Active());
    }
}

// Starting and ending: the hooks are on only while running, and only a kept recording stays.
TEST(MacroRecorder, StartsAndEndsCleanly) {
    enum class Finish { None, Stop, Cancel };
    struct Row {
        const char* name;
        bool available;
        Begin begin;
        int row;
        const char* reports;
        Finish finish;
        MacroRecordStart started;
        const char* expected;
        bool keysReleased;
        Switches switches;
    };
    const Switches both{{true, true}, {false, false}};
    const auto started = MacroRecordStart::Started;
    const Row rows[] = {
        {"without key capture nothing starts",
         false,
         Begin::Record,
         -1,
         "A+",
         Finish::Stop,
         MacroRecordStart::HooksMissing,
         "K9+ K9- D3",
         true,
         {}},
        {"cancel puts the earlier events back", true, Begin::Record, -1, "A+", Finish::Cancel,
         started, "K9+ K9- D3", true, both},
        {"stop keeps a key left pressed and says so", true, Begin::Record, -1, "A+", Finish::Stop,
         started, "K4+", false, both},
        {"stop after press and release", true, Begin::Append, -1, "A+ A-", Finish::Stop, started,
         "K9+ K9- D3 K4+ K4-", true, both},
        {"a replacement uses the keyboard hook and takes no more keys until stopped",
         true,
         Begin::Replace,
         1,
         "B+ C+",
         Finish::Stop,
         started,
         "K5+ K5- D3",
         true,
         {{true, false}, {false, false}}},
        {"a delay row cannot be replaced",
         true,
         Begin::Replace,
         2,
         "",
         Finish::None,
         MacroRecordStart::NoRow,
         "K9+ K9- D3",
         true,
         {}},
        {"inserting needs a selected row",
         true,
         Begin::After,
         -1,
         "",
         Finish::None,
         MacroRecordStart::NoRow,
         "K9+ K9- D3",
         true,
         {}},
        {"no report is taken after the stop", true, Begin::Record, -1, "", Finish::Stop, started,
         "", true, both},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench("K9+ K9- D3");
        bench.available = row.available;
        EXPECT_EQ(row.started, bench.Start(row.begin, row.row, MacroDelayMode::None, L""));
        bench.Send(row.reports);
        if (row.finish == Finish::Stop) {
            EXPECT_EQ(row.keysReleased, bench.recorder.Stop().KeysReleased);
        } else if (row.finish == Finish::Cancel) {
            EXPECT_TRUE(bench.recorder.Cancel());
        }
        EXPECT_FALSE(bench.Send("A+ L+").front().Taken);
        EXPECT_EQ(Events(row.expected), Used(bench.editor));
        EXPECT_FALSE(bench.recorder.Active());
        EXPECT_EQ(row.switches, bench.switches);
    }
    Bench bench("K9+");
    EXPECT_EQ(
        MacroRecordStart::WrongMode,
        bench.recorder.StartInserting(MacroInsertMode::DelayAfter, 0, MacroDelayMode::None, L""));
}
