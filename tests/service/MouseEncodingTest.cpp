// How settings are laid out in the mouse's memory.

#include "service/MouseEncoding.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <optional>
#include <vector>

namespace {

using Four = std::array<std::uint8_t, 4>;

TEST(MouseEncodingTest, DpiStageValuesOfEachClass) {
    using Five = std::array<std::uint8_t, 5>;
    EXPECT_EQ(EncodeDpiStage(0), (Five{1, 100, 0, 100, 0}));
    EXPECT_EQ(EncodeDpiStage(6), (Five{1, 6, 0, 6, 0}));
    EXPECT_EQ(EncodeDpiStage(120), (Five{1, 143, 0, 143, 0}));
    EXPECT_EQ(EncodeDpiStage(121), (Five{1, 72, 1, 72, 1}));
    EXPECT_EQ(EncodeDpiStage(180), (Five{1, 143, 1, 143, 1}));
    EXPECT_FALSE(EncodeDpiStage(-1).has_value());
    EXPECT_FALSE(EncodeDpiStage(181).has_value());
}

ButtonAssignment Entry(std::uint8_t number, std::uint8_t code, std::uint8_t param1,
                       std::uint8_t param2, std::vector<std::uint8_t> data = {}) {
    ButtonAssignment entry{};
    entry.ButtonNumber = number;
    entry.FunctionCode = code;
    entry.Param1 = param1;
    entry.Param2 = param2;
    std::copy(data.begin(), data.end(), entry.Data.begin());
    return entry;
}

struct ButtonCase {
    const char* Name;
    ButtonAssignment Assignment;
    int Profile;
    int Button;
    std::optional<int> MacroSlot;
    std::optional<Four> Expected;
};

TEST(MouseEncodingTest, EveryButtonFunctionKind) {
    const std::vector<ButtonCase> cases = {
        {"click", Entry(1, 1, 1, 0), 0, 0, {}, Four{0x81, 0, 0, 0}},
        {"copy", Entry(2, 65, 1, 0), 0, 1, {}, Four{0x8F, 0x01, 0x06, 0}},
        {"volume up", Entry(3, 37, 1, 0), 0, 2, {}, Four{0x8E, 0x01, 0xE9, 0}},
        {"task manager", Entry(3, 139, 1, 0), 0, 2, {}, Four{0x8E, 0x01, 0xFF, 0x8B}},
        {"shift 3", Entry(3, 115, 1, 0), 0, 2, {}, Four{0x9C, 0x00, 0x02, 0}},
        {"off", Entry(3, 7, 1, 0), 0, 2, {}, Four{0, 0, 0, 0}},
        {"double click", Entry(4, 4, 1, 0), 0, 3, {}, Four{0x92, 2, 10, 0}},
        {"single key", Entry(5, 5, 1, 0, {0x80, 0x2C}), 0, 4, {}, Four{0x90, 0, 0x2C, 0}},
        {"macro", Entry(6, 6, 3, 0), 0, 5, 4, Four{0x91, 4, 3, 0}},
        {"macro once", Entry(6, 6, 0, 0), 0, 5, 0, Four{0x91, 0, 1, 0}},
        {"macro on button 1", Entry(1, 6, 3, 0), 0, 0, 1, Four{0x91, 0x81, 0xFF, 0xFF}},
        {"macro on button 2", Entry(2, 6, 3, 0), 0, 1, 6, Four{0x91, 0x46, 0xFF, 0xFF}},
        {"macro not listed", Entry(6, 6, 1, 0), 0, 5, {}, std::nullopt},
        {"xshoot", Entry(7, 9, 4, 55, {0, 3}), 0, 6, {}, Four{0x99, 3, 4, 5}},
        {"dpi shift 1", Entry(8, 15, 1, 0), 0, 7, {}, Four{0x9A, 1, 2, 2}},
        {"dpi shift 2", Entry(8, 15, 2, 0), 0, 7, {}, Four{0x9A, 1, 3, 3}},
        {"dpi shift 3", Entry(8, 15, 3, 0), 0, 7, {}, Four{0x9A, 1, 6, 6}},
        {"dpi shift 4", Entry(8, 15, 4, 0), 0, 7, {}, Four{0x9A, 1, 38, 38}},
        {"dpi shift other", Entry(8, 15, 9, 0), 0, 7, {}, Four{0x9A, 1, 0, 0}},
        // Ctrl, Alt, A pressed and released: modifiers counted twice, halved.
        {"key combination",
         Entry(1, 99, 1, 0,
               {0x80, 0xE0, 0x80, 0xE2, 0x80, 0x04, 0x00, 0x04, 0x00, 0xE2, 0x00, 0xE0}),
         0,
         0,
         {},
         Four{0x8F, 5, 0x04, 0}},
        // Win and Shift with F5; a right-hand modifier counts as the key.
        {"key combination win shift",
         Entry(1, 99, 1, 0,
               {0x80, 0xE3, 0x80, 0xE1, 0x80, 0x3E, 0x00, 0x3E, 0x00, 0xE1, 0x00, 0xE3}),
         0,
         0,
         {},
         Four{0x8F, 10, 0x3E, 0}},
        {"right ctrl is a key",
         Entry(1, 99, 1, 0, {0x80, 0xE4, 0x00, 0xE4}),
         0,
         0,
         {},
         Four{0x8F, 0, 0xE4, 0}},
        {"run program", Entry(7, 118, 1, 0), 0, 6, {}, Four{0x8E, 1, 250, 6}},
        {"run program profile 3", Entry(7, 118, 1, 0), 3, 6, {}, Four{0x8E, 1, 253, 6}},
        {"open folder", Entry(3, 141, 1, 0), 2, 2, {}, Four{0x8E, 1, 247, 2}},
        {"open web address", Entry(8, 140, 1, 0), 4, 7, {}, Four{0x8E, 1, 244, 7}},
        {"no mouse code", Entry(1, 21, 1, 0), 0, 0, {}, std::nullopt},
        {"none", Entry(1, 255, 1, 0), 0, 0, {}, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeButtonAssignment(c.Assignment, c.Profile, c.Button, c.MacroSlot),
                  c.Expected)
            << c.Name;
    }
}

TEST(MouseEncodingTest, LightingRows) {
    SettingsRecord settings{};
    settings.LedColor = 0x00336699; // red 0x99, green 0x66, blue 0x33
    settings.LED_MODE_INFO[0] = {4, 0x1A7, 1, 0, 0};
    struct Row {
        int Mode;
        int Variant;
        std::uint8_t Code;
        std::uint8_t Option;
    };
    const std::vector<Row> rows = {{1, 0, 2, 1},   {2, 0, 3, 1},  {2, 255, 3, 2}, {3, 0, 1, 1},
                                   {4, 0, 2, 4},   {5, 0, 9, 0},  {6, 0, 9, 1},   {7, 0, 6, 0},
                                   {8, 0, 7, 4},   {9, 0, 10, 0}, {10, 0, 5, 4},  {11, 0, 0, 0},
                                   {12, 0, 11, 1}, {13, 0, 0, 0}, {-1, 0, 0, 0},  {0, 255, 0, 0}};
    for (const Row& row : rows) {
        settings.LedMode = row.Mode;
        EXPECT_EQ(EncodeLighting(settings, row.Variant),
                  (std::array<std::uint8_t, 7>{0x99, 0x66, 0x33, row.Code, 8, row.Option, 0xA7}))
            << "mode " << row.Mode << " variant " << row.Variant;
    }

    settings.LedMode = 3;
    const std::vector<std::pair<std::array<std::int32_t, 5>, std::uint8_t>> speeds = {
        {{0, 0, 1, 0, 0}, 8}, {{0, 0, 2, 0, 0}, 5},  {{0, 0, 3, 0, 0}, 2},
        {{0, 0, 7, 0, 0}, 5}, {{0, 0, -1, 0, 0}, 5}, {{0, 0, 1, 0, 1}, 0}};
    for (const auto& [mode, speed] : speeds) {
        settings.LED_MODE_INFO[0] = mode;
        EXPECT_EQ(EncodeLighting(settings, 0).value()[4], speed) << "speed field " << mode[2];
    }

    // Values a damaged or incomplete file leaves: nothing to send. A missing key reads as -1, a
    // missing entry is all -1, and huge numbers are clamped to the int range by the reader.
    struct Unusable {
        const char* Name;
        std::int32_t Color;
        std::array<std::int32_t, 5> Mode;
    };
    const std::vector<Unusable> unusable = {
        {"colour missing", -1, {2, 3, 2, 0, 0}},
        {"colour beyond the int range", 0x7FFFFFFF, {2, 3, 2, 0, 0}},
        {"colour at the int minimum", INT_MIN, {2, 3, 2, 0, 0}},
        {"colour with a fourth byte", 0x1000000, {2, 3, 2, 0, 0}},
        {"mode entry missing", 0x336699, {-1, -1, -1, -1, -1}},
        {"option negative", 0x336699, {-1, 3, 2, 0, 0}},
        {"level negative", 0x336699, {2, -1, 2, 0, 0}},
    };
    for (const Unusable& c : unusable) {
        settings.LedColor = c.Color;
        settings.LED_MODE_INFO[0] = c.Mode;
        EXPECT_EQ(EncodeLighting(settings, 0), std::nullopt) << c.Name;
    }
    settings.LedColor = 0xFFFFFF;
    settings.LED_MODE_INFO[0] = {0, 0, 2, 0, 0};
    EXPECT_EQ(EncodeLighting(settings, 0),
              (std::array<std::uint8_t, 7>{0xFF, 0xFF, 0xFF, 1, 5, 1, 0}));
}

TEST(MouseEncodingTest, MacroSlotHoldsTheEventsAndTheEndMark) {
    MacroEventBuffer events{};
    events[0] = MacroEvent::KeyEvent(0x04, true);
    events[1] = MacroEvent::DelayEvent(300);
    events[2] = MacroEvent::KeyEvent(0x04, false);
    events[59] = MacroEvent::KeyEvent(0x05, true);

    const auto slot = EncodeMacroSlot(events, 2);
    std::array<std::uint8_t, 200> expected{};
    const std::array<std::uint8_t, 6> used{0x84, 0x04, 0x00, 0x06, 0x2C, 0x01};
    std::copy(used.begin(), used.end(), expected.begin());
    expected[195] = expected[196] = expected[197] = 0xFF;
    EXPECT_EQ(slot, expected);

    const auto full = EncodeMacroSlot(events, 500);
    EXPECT_EQ(full[178], 0x05);
    EXPECT_EQ(full[180], 0);
    EXPECT_EQ(full[195], 0xFF);
    std::array<std::uint8_t, 200> empty{};
    empty[195] = empty[196] = empty[197] = 0xFF;
    EXPECT_EQ(EncodeMacroSlot(events, -1), empty);
}

} // namespace
