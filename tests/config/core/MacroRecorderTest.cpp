#include "config/MacroRecorder.h"
#include "tests/config/core/MacroTestSupport.h"

#include <gtest/gtest.h>

using namespace macrotest;

namespace {

constexpr WPARAM kA = 'A'; // usage 4
constexpr WPARAM kB = 'B'; // usage 5
constexpr int kUsageA = 4;
constexpr int kUsageB = 5;
constexpr int kUsageQ = 0x14;
constexpr LPARAM kDown = MacroRecorder::kPress;
constexpr LPARAM kUp = MacroRecorder::kRelease;

struct Report {
    bool mouse;
    WPARAM wParam;
    LPARAM lParam;
    std::uint32_t at; // clock milliseconds
};
Report Key(WPARAM key, LPARAM transition, std::uint32_t at) {
    return {false, key, transition, at};
}
Report Mouse(UINT message, std::uint32_t at, LPARAM point = 0x00100010) {
    return {true, message, point, at};
}

enum class Begin { Record, Append, Before, After, Replace };

std::vector<MacroEvent> With(std::vector<MacroEvent> events, std::vector<MacroEvent> tail) {
    events.insert(events.end(), tail.begin(), tail.end());
    return events;
}

// A recorder on its own editor, clock and hook switch.
struct Bench {
    MacroEditor editor;
    std::uint32_t now = 5000;
    bool available = true;
    std::vector<std::pair<bool, bool>> switches;
    MacroRecorder recorder;

    explicit Bench(const std::vector<MacroEvent>& events)
        : editor(Loaded(events)),
          recorder(
              editor,
              MacroCapture{[this] { return available; },
                           [this](bool keys, bool mouse) { switches.emplace_back(keys, mouse); }},
              [](std::uint32_t key) { return L"v" + std::to_wstring(key); },
              [this] { return now; }) {}

    MacroRecordStart Start(Begin begin, int row, MacroDelayMode mode, const wchar_t* box) {
        switch (begin) {
        case Begin::Record:
            return recorder.Start(mode, box);
        case Begin::Append:
            return recorder.StartInserting(MacroInsertMode::Append, row, mode, box);
        case Begin::Before:
            return recorder.StartInserting(MacroInsertMode::RecordBefore, row, mode, box);
        case Begin::After:
            return recorder.StartInserting(MacroInsertMode::RecordAfter, row, mode, box);
        default:
            return recorder.StartReplacing(row);
        }
    }

    MacroRecordResult Send(const Report& report) {
        now = report.at;
        return report.mouse ? recorder.RecordMouse(report.wParam, report.lParam)
                            : recorder.RecordKey(report.wParam, report.lParam);
    }
};

} // namespace

// Reports in, events and rows out, with the clock driven by the reports.
TEST(MacroRecorder, ReportsBecomeEvents) {
    struct Row {
        const char* name;
        std::vector<MacroEvent> start;
        Begin begin;
        int row;
        MacroDelayMode mode;
        const wchar_t* box;
        std::vector<Report> reports;
        std::vector<MacroEvent> expected;
        int selection;
        std::vector<std::wstring> texts; // when given, the rows' texts
        const wchar_t* boxShown = nullptr;
    };
    const auto m = MacroDelayMode::Measured;
    const auto fixed = MacroDelayMode::Fixed;
    const auto none = MacroDelayMode::None;
    const Row rows[] = {
        {"press A, 250 ms, release A",
         {P(9)},
         Begin::Record,
         -1,
         m,
         L"",
         {Key(kA, kDown, 1000), Key(kA, kUp, 1250)},
         {P(kUsageA), D(25), R(kUsageA)},
         2,
         {L"v65", L"250 MS", L"v65"}},
        {"a 70 s gap",
         {},
         Begin::Record,
         -1,
         m,
         L"",
         {Key(kA, kDown, 1000), Key(kA, kUp, 71000)},
         {P(kUsageA), D(6553), R(kUsageA)},
         2,
         {L"v65", L"65535 MS", L"v65"}},
        {"under 10 ms: no delay",
         {},
         Begin::Record,
         -1,
         m,
         L"",
         {Key(kA, kDown, 1000), Key(kA, kUp, 1009)},
         {P(kUsageA), R(kUsageA)},
         1},
        {"fixed delay of 5 becomes 10",
         {},
         Begin::Record,
         -1,
         fixed,
         L"5",
         {Key(kA, kDown, 0), Key(kB, kDown, 4000), Key(kB, kUp, 9000), Key(kA, kUp, 9100)},
         {P(kUsageA), D(1), P(kUsageB), D(1), R(kUsageB), D(1), R(kUsageA)},
         6,
         {L"v65", L"10 MS", L"v66", L"10 MS", L"v66", L"10 MS", L"v65"},
         L"10"},
        {"no delays",
         {},
         Begin::Record,
         -1,
         none,
         L"",
         {Key(kA, kDown, 0), Key(kB, kDown, 400), Key(kB, kUp, 900), Key(kA, kUp, 1200)},
         {P(kUsageA), P(kUsageB), R(kUsageB), R(kUsageA)},
         3},
        {"a repeated report dropped",
         {},
         Begin::Record,
         -1,
         none,
         L"",
         {Key(kA, kDown, 0), Key(kA, kDown, 30), Key(kA, kUp, 60)},
         {P(kUsageA), R(kUsageA)},
         1},
        {"a release never pressed dropped",
         {},
         Begin::Record,
         -1,
         none,
         L"",
         {Key(kA, kUp, 0), Key(kB, kDown, 10)},
         {P(kUsageB)},
         0},
        {"unknown transitions and keys dropped",
         {},
         Begin::Record,
         -1,
         m,
         L"",
         {Key(kA, 7, 0), Key(0x07, kDown, 10), Key(kA, kDown, 20)},
         {P(kUsageA)},
         0},
        {"insert after the row: the selection follows",
         {P(kUsageQ), R(kUsageQ)},
         Begin::After,
         0,
         m,
         L"",
         {Key(kA, kDown, 0), Key(kA, kUp, 100)},
         {P(kUsageQ), P(kUsageA), D(10), R(kUsageA), R(kUsageQ)},
         3},
        {"insert before the row: it moves down",
         {P(kUsageQ), R(kUsageQ)},
         Begin::Before,
         1,
         none,
         L"",
         {Key(kA, kDown, 0), Key(kA, kUp, 100)},
         {P(kUsageQ), P(kUsageA), R(kUsageA), R(kUsageQ)},
         3},
        {"inserting at the end keeps the events",
         {P(kUsageQ)},
         Begin::Append,
         0,
         none,
         L"",
         {Key(kA, kDown, 0)},
         {P(kUsageQ), P(kUsageA)},
         1},
        {"57 events: the second report is dropped",
         Numbered(57),
         Begin::Append,
         -1,
         m,
         L"",
         {Key(kA, kDown, 0), Key(kA, kUp, 500)},
         With(Numbered(57), {P(kUsageA)}),
         57},
        {"58 events: nothing is inserted after the row",
         Numbered(58),
         Begin::After,
         3,
         none,
         L"",
         {Key(kA, kDown, 0), Mouse(WM_LBUTTONDOWN, 10)},
         Numbered(58),
         3},
        {"right click 1234 ms after the press",
         {},
         Begin::Record,
         -1,
         m,
         L"",
         {Mouse(WM_RBUTTONDOWN, 100), Mouse(WM_RBUTTONUP, 1334)},
         {BP(2), D(123), BR(2)},
         2,
         {L"B2", L"1230 MS", L"B2"}},
        {"the same mouse report twice records once",
         {},
         Begin::Record,
         -1,
         m,
         L"",
         {Mouse(WM_LBUTTONDOWN, 0), Mouse(WM_LBUTTONDOWN, 50)},
         {BP(1)},
         0},
        {"mouse moves and lone releases dropped",
         {},
         Begin::Record,
         -1,
         m,
         L"",
         {Mouse(WM_MOUSEMOVE, 0), Mouse(WM_MBUTTONUP, 10), Mouse(WM_MBUTTONDOWN, 20)},
         {BP(4)},
         0},
        {"replacing a press renames its release, not the delays",
         {P(kUsageA), D(5), R(kUsageA), P(kUsageA), R(kUsageA)},
         Begin::Replace,
         0,
         m,
         L"",
         {Key(kB, kDown, 0), Key(kB, kUp, 10)},
         {P(kUsageB), D(5), R(kUsageB), P(kUsageA), R(kUsageA)},
         0},
        {"replacing a release renames the press before it",
         {P(kUsageA), R(kUsageA)},
         Begin::Replace,
         1,
         m,
         L"",
         {Key(kB, kDown, 0)},
         {P(kUsageB), R(kUsageB)},
         1,
         {L"v66", L"v66"}},
        {"a full macro still takes a replacement",
         With(Numbered(58), {P(kUsageA), R(kUsageA)}),
         Begin::Replace,
         58,
         m,
         L"",
         {Key(kB, kDown, 0)},
         With(Numbered(58), {P(kUsageB), R(kUsageB)}),
         58},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench(row.start);
        ASSERT_EQ(MacroRecordStart::Started, bench.Start(row.begin, row.row, row.mode, row.box));
        FakeList list{bench.editor.Rows()};
        std::optional<std::wstring> boxShown;
        for (const Report& report : row.reports) {
            const MacroRecordResult result = bench.Send(report);
            if (result.Edit.Rebuild) {
                list.rows = bench.editor.Rows();
            }
            MirrorMacroEdit(list, result.Edit);
            if (result.DelayBoxText) {
                boxShown = result.DelayBoxText;
            }
        }
        EXPECT_EQ(row.expected, Used(bench.editor));
        EXPECT_EQ(bench.editor.Rows(), list.rows);
        if (!row.texts.empty()) {
            std::vector<std::wstring> texts;
            for (const MacroRow& shown : list.rows) {
                texts.push_back(shown.Text);
            }
            EXPECT_EQ(row.texts, texts);
        }
        if (list.selection != -2) {
            EXPECT_EQ(row.selection, list.selection);
        }
        EXPECT_EQ(row.boxShown ? std::optional<std::wstring>(row.boxShown) : std::nullopt,
                  boxShown);
        EXPECT_EQ(row.begin != Begin::Replace, bench.recorder.Active());
    }
}

// Starting and ending: the hooks are on only while running, and only a kept recording stays.
TEST(MacroRecorder, StartsAndEndsCleanly) {
    enum class Finish { None, Stop, Cancel };
    using Switches = std::vector<std::pair<bool, bool>>;
    struct Row {
        const char* name;
        bool available;
        Begin begin;
        int row;
        std::vector<Report> reports;
        Finish finish;
        MacroRecordStart started;
        std::vector<MacroEvent> expected;
        bool keysReleased;
        Switches switches;
    };
    const Switches both{{true, true}, {false, false}};
    const Row rows[] = {
        {"without key capture nothing starts",
         false,
         Begin::Record,
         -1,
         {Key(kA, kDown, 0)},
         Finish::Stop,
         MacroRecordStart::HooksMissing,
         {P(9), R(9), D(3)},
         true,
         {}},
        {"cancel puts the earlier events back",
         true,
         Begin::Record,
         -1,
         {Key(kA, kDown, 0)},
         Finish::Cancel,
         MacroRecordStart::Started,
         {P(9), R(9), D(3)},
         true,
         both},
        {"stop keeps a key left pressed and says so",
         true,
         Begin::Record,
         -1,
         {Key(kA, kDown, 0)},
         Finish::Stop,
         MacroRecordStart::Started,
         {P(kUsageA)},
         false,
         both},
        {"stop after press and release",
         true,
         Begin::Append,
         -1,
         {Key(kA, kDown, 0), Key(kA, kUp, 0)},
         Finish::Stop,
         MacroRecordStart::Started,
         {P(9), R(9), D(3), P(kUsageA), R(kUsageA)},
         true,
         both},
        {"a replacement uses the keyboard hook and ends by itself",
         true,
         Begin::Replace,
         1,
         {Key(kB, kDown, 0)},
         Finish::None,
         MacroRecordStart::Started,
         {P(kUsageB), R(kUsageB), D(3)},
         true,
         {{true, false}, {false, false}}},
        {"a delay row cannot be replaced",
         true,
         Begin::Replace,
         2,
         {},
         Finish::None,
         MacroRecordStart::NoRow,
         {P(9), R(9), D(3)},
         true,
         {}},
        {"inserting needs a selected row",
         true,
         Begin::After,
         -1,
         {},
         Finish::None,
         MacroRecordStart::NoRow,
         {P(9), R(9), D(3)},
         true,
         {}},
        {"no report is taken after the stop",
         true,
         Begin::Record,
         -1,
         {},
         Finish::Stop,
         MacroRecordStart::Started,
         {},
         true,
         both},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench({P(9), R(9), D(3)});
        bench.available = row.available;
        EXPECT_EQ(row.started, bench.Start(row.begin, row.row, MacroDelayMode::None, L""));
        for (const Report& report : row.reports) {
            bench.Send(report);
        }
        if (row.finish == Finish::Stop) {
            EXPECT_EQ(row.keysReleased, bench.recorder.Stop().KeysReleased);
        } else if (row.finish == Finish::Cancel) {
            EXPECT_TRUE(bench.recorder.Cancel());
        }
        EXPECT_FALSE(bench.Send(Key(kA, kDown, 0)).Taken);
        EXPECT_EQ(row.expected, Used(bench.editor));
        EXPECT_FALSE(bench.recorder.Active());
        EXPECT_EQ(row.switches, bench.switches);
    }
    Bench bench({P(9)});
    EXPECT_EQ(
        MacroRecordStart::WrongMode,
        bench.recorder.StartInserting(MacroInsertMode::DelayAfter, 0, MacroDelayMode::None, L""));
}
