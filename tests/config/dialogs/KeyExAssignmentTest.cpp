#include "config/dialogs/KeyEx/KeyExAssignment.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
constexpr std::uint32_t D = KeyEventRecorder::kDown;
constexpr std::uint32_t U = KeyEventRecorder::kUp;
} // namespace

TEST(KeyExAssignment, NamesKeysAndBuildsTheDisplayText) {
    struct Case {
        std::vector<KeyEvent> events;
        bool capsHeld;
        std::wstring text;
    };
    const std::vector<Case> cases = {
        {{{163, D, 0}}, false, L"RCtrl "},
        {{{160, D, 0}, {165, D, 0}}, false, L"LShift RAlt "},
        {{{108, D, 0}, {13, D, 0}}, false, L"Enter Enter "},
        {{{'A', D, 0}}, false, L"a "},
        {{{'A', D, 0}}, true, L"A "},
        {{{VK_NUMPAD7, D, 0}, {VK_F12, D, 0}, {VK_SPACE, D, 0}}, false, L"Num7 F12 Space "},
        {{{'B', D, 5}}, false, L"b(10ms) "},
        {{{'A', D, 0}, {'A', U, 0}}, false, L"a "},
        // A key the layout gives no character for has an empty name.
        {{{0x07, D, 0}}, false, L" "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.text, KeyExAssignment::DisplayText(c.events, c.capsHeld)) << c.events[0].key;
    }
}

TEST(KeyExAssignment, ReadsAndWritesTheButtonEntry) {
    struct Case {
        const char* name;
        std::vector<KeyEvent> written;
        std::uint8_t code;
        std::uint8_t count;
        std::array<std::uint8_t, 2> data;
        // What opening the written entry loads.
        std::vector<KeyEvent> read;
    };
    const std::vector<Case> cases = {
        {"one key as one key event", {{'A', D, 0}}, 5, 1, {0x80, 0x04}, {{'A', D, 0}}},
        {"right Ctrl keeps its own usage", {{163, D, 0}}, 5, 1, {0x80, 0xE4}, {{163, D, 0}}},
        {"no key turns the button off", {}, 7, 0, {0, 0}, {}},
        {"a key without a usage id is stored as 0",
         {{0x07, D, 0}},
         5,
         1,
         {0x80, 0x00},
         {{0, D, 0}}},
    };
    for (const auto& c : cases) {
        ButtonAssignment entry{};
        entry.Data.fill(0xEE);
        KeyExAssignment::WriteEntry(c.written, entry);
        EXPECT_EQ(c.code, entry.FunctionCode) << c.name;
        EXPECT_EQ(1, entry.Param1) << c.name;
        EXPECT_EQ(c.count, entry.Param2) << c.name;
        EXPECT_EQ(c.data[0], entry.Data[0]) << c.name;
        EXPECT_EQ(c.data[1], entry.Data[1]) << c.name;
        EXPECT_EQ(0, entry.Data[2]) << c.name;
        EXPECT_EQ(c.read, KeyExAssignment::ReadEntry(entry)) << c.name;
    }

    struct Opening {
        const char* name;
        std::uint8_t code;
        std::uint8_t count;
    };
    // Entries that hold no single assigned key open empty.
    for (const Opening& o : {Opening{"a count of 2", 5, 2}, Opening{"a count over 60", 5, 61},
                             Opening{"a macro entry", 6, 1}}) {
        ButtonAssignment entry{};
        entry.FunctionCode = o.code;
        entry.Param2 = o.count;
        entry.Data[0] = 0x80;
        entry.Data[1] = 0x04;
        EXPECT_TRUE(KeyExAssignment::ReadEntry(entry).empty()) << o.name;
    }
}
