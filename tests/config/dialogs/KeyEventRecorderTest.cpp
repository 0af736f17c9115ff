#include "config/dialogs/BaseKeyPress/KeyEventRecorder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
constexpr UINT kExtended = KF_EXTENDED;
constexpr std::uint32_t D = KeyEventRecorder::kDown;
constexpr std::uint32_t U = KeyEventRecorder::kUp;

struct Press {
    std::uint32_t action;
    UINT key;
    UINT flags;
};

struct RecorderCase {
    const char* name;
    bool allowSeveral;
    std::vector<KeyEvent> loaded;
    std::vector<Press> presses;
    std::vector<int> results;
    std::vector<KeyEvent> expected;
};

std::vector<Press> Downs(int count) {
    std::vector<Press> presses;
    for (int i = 0; i < count; ++i) {
        presses.push_back({D, static_cast<UINT>('A' + i % 26), 0});
    }
    return presses;
}

std::vector<KeyEvent> DownEvents(int count) {
    std::vector<KeyEvent> events;
    for (int i = 0; i < count; ++i) {
        events.push_back({static_cast<std::uint32_t>('A' + i % 26), D, 0});
    }
    return events;
}
} // namespace

TEST(KeyEventRecorder, RecordsKeyMessagesAsEvents) {
    std::vector<int> sixtyOneResults(60, 0);
    sixtyOneResults.push_back(-1);
    // clang-format off
    const std::vector<RecorderCase> cases = {
        {"left and right modifiers", true, {},
         {{D, VK_SHIFT, 0x2A}, {D, VK_SHIFT, 0x36}, {D, VK_CONTROL, 0x1D},
          {D, VK_CONTROL, 0x1D | kExtended}, {D, VK_MENU, 0x38}, {D, VK_MENU, 0x38 | kExtended}},
         {0, 0, 0, 0, 0, 0},
         {{160, D, 0}, {161, D, 0}, {162, D, 0}, {163, D, 0}, {164, D, 0}, {165, D, 0}}},
        {"keypad Enter and main Enter", true, {},
         {{D, VK_RETURN, kExtended}, {D, VK_RETURN, 0}}, {0, 0}, {{108, D, 0}, {13, D, 0}}},
        {"a key-up after its key-down", true, {},
         {{D, 'A', 0}, {U, 'A', 0}}, {0, 0}, {{'A', D, 0}, {'A', U, 0}}},
        {"a key-up without key-down is refused", true, {},
         {{D, 'A', 0}, {U, 'B', 0}, {U, VK_CONTROL, kExtended}}, {0, -1, -1}, {{'A', D, 0}}},
        {"a key-up whose key was released already is refused", true, {},
         {{D, 'A', 0}, {U, 'A', 0}, {U, 'A', 0}}, {0, 0, -1}, {{'A', D, 0}, {'A', U, 0}}},
        {"only one event while several are not allowed", false, {},
         {{D, 'A', 0}, {U, 'A', 0}, {D, 'B', 0}}, {0, -1, -1}, {{'A', D, 0}}},
        {"the first event replaces what was loaded", false, {{'Q', D, 3}},
         {{D, 'B', 0}}, {0}, {{'B', D, 0}}},
        {"a stray key-up keeps what was loaded", false, {{'Q', D, 3}},
         {{U, 'Z', 0}}, {-1}, {{'Q', D, 3}}},
        {"the 61st event is refused", true, {}, Downs(61), sixtyOneResults, DownEvents(60)},
    };
    // clang-format on
    for (const auto& c : cases) {
        KeyEventRecorder recorder;
        recorder.SetAllowSeveral(c.allowSeveral);
        recorder.SetKeys(c.loaded);
        recorder.ClearStarted();
        std::vector<int> results;
        for (const Press& p : c.presses) {
            results.push_back(recorder.Record(p.action, p.key, p.flags));
        }
        EXPECT_EQ(c.results, results) << c.name;
        const auto events = recorder.Events();
        EXPECT_EQ(c.expected, std::vector<KeyEvent>(events.begin(), events.end())) << c.name;
    }
}

TEST(KeyEventRecorder, LoadingKeepsAtMost56Events) {
    KeyEventRecorder recorder;
    recorder.SetKeys(DownEvents(60));
    EXPECT_EQ(56, recorder.Count());
}

TEST(KeyEventRecorder, PreTranslationRoutesKeys) {
    struct Case {
        UINT message;
        UINT key;
        UINT flags;
        KeyEventRecorder::Route route;
    };
    const std::vector<Case> cases = {
        {WM_KEYDOWN, 'A', 0x1E, {true, 0x1E, false}},
        {WM_KEYDOWN, 'A', 0x1E | KF_REPEAT, {false, 0x1E | KF_REPEAT, false}},
        {WM_KEYDOWN, VK_RETURN, 0x1C | kExtended, {true, kExtended, false}},
        {WM_KEYDOWN, VK_TAB, 0x0F, {true, 0, false}},
        {WM_KEYDOWN, VK_SPACE, 0x39, {true, 0x39, true}},
        {WM_KEYDOWN, VK_LWIN, 0x5B, {false, 0x5B, false}},
        {WM_KEYUP, VK_APPS, 0x5D, {false, 0x5D, false}},
        {WM_KEYUP, 'A', 0x1E, {true, 0x1E, false}},
        {WM_SYSKEYDOWN, VK_MENU, 0x38, {true, 0x38, false}},
        {WM_SYSKEYDOWN, VK_MENU, 0x38 | KF_REPEAT, {false, 0x38 | KF_REPEAT, false}},
        {WM_SYSKEYUP, VK_F10, 0x44, {true, 0x44, false}},
    };
    for (const auto& c : cases) {
        const auto route = KeyEventRecorder::PreTranslateRoute(c.message, c.key, c.flags);
        EXPECT_EQ(c.route.record, route.record) << c.message << " " << c.key;
        EXPECT_EQ(c.route.flags, route.flags) << c.message << " " << c.key;
        EXPECT_EQ(c.route.consume, route.consume) << c.message << " " << c.key;
    }
}
