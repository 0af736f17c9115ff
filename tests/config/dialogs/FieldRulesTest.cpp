#include "config/dialogs/NumberClamp.h"
#include "config/dialogs/XShoot/XShootEntry.h"

#include <gtest/gtest.h>

#include <vector>

// While typing only a value inside the range is taken; the end of the typing holds any text in
// the range and says what the field must show instead.
TEST(FieldRules, TypedNumbersStayInTheirRange) {
    struct Case {
        const wchar_t* text;
        int stored;
        int low;
        int high;
        int typed;     // taken while typing
        int committed; // taken when the typing ends
        const wchar_t* shown;
    };
    const std::vector<Case> cases = {
        {L"42", 1, 1, 255, 42, 42, nullptr},
        {L"300", 42, 1, 255, 42, 255, L"255"},
        {L"", 42, 1, 255, 42, 1, L"1"},
        {L"0", 42, 1, 255, 42, 1, L"1"},
        {L"-5", 42, 1, 255, 42, 1, L"1"},
        {L"007", 42, 1, 255, 7, 7, L"7"},
        {L"1", 1, 1, 255, 1, 1, nullptr},
        {L"999999", 500, 1, 131070, 500, 131070, L"131070"},
        {L"131070", 500, 1, 131070, 131070, 131070, nullptr},
        {L"99999999999999999999", 7, 1, 131070, 7, 131070, L"131070"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.typed, NumberClamp::Typed(c.text, c.stored, c.low, c.high)) << c.text;
        const auto step = NumberClamp::Committed(c.text, c.low, c.high);
        EXPECT_EQ(c.committed, step.value) << c.text;
        EXPECT_EQ(c.shown != nullptr, step.shown.has_value()) << c.text;
        if (c.shown != nullptr && step.shown) {
            EXPECT_EQ(c.shown, *step.shown) << c.text;
        }
    }
}

TEST(FieldRules, XShootEntryReadAndWritten) {
    struct Case {
        const char* name;
        std::uint8_t code;
        std::uint8_t first;
        std::uint8_t second;
        std::uint8_t keyCode;
        XShootEntry::Values read;
        std::wstring keyText;
    };
    const std::vector<Case> cases = {
        {"left button", 9, 10, 20, 0x81, {10, 20, 1, 0x81}, L"Left"},
        {"right button", 9, 1, 255, 0x82, {1, 255, 2, 0x82}, L"Right"},
        {"middle button", 9, 3, 4, 0x84, {3, 4, 3, 0x84}, L"Middle"},
        {"a keyboard key", 9, 5, 6, 0x04, {5, 6, 4, 0x04}, L"A"},
        {"zero values are held at 1", 9, 0, 0, 0x04, {1, 1, 4, 0x04}, L"A"},
        {"a usage without a key shows nothing", 9, 5, 6, 0x03, {5, 6, 4, 0x03}, L""},
        {"another function starts empty", 6, 10, 20, 0x81, {1, 1, 4, 0}, L""},
    };
    for (const auto& c : cases) {
        ButtonAssignment entry{};
        entry.FunctionCode = c.code;
        entry.Param1 = c.first;
        entry.Param2 = c.second;
        entry.Data[1] = c.keyCode;
        const auto values = XShootEntry::Read(entry);
        EXPECT_EQ(c.read.first, values.first) << c.name;
        EXPECT_EQ(c.read.second, values.second) << c.name;
        EXPECT_EQ(c.read.choice, values.choice) << c.name;
        EXPECT_EQ(c.read.code, values.code) << c.name;
        EXPECT_EQ(c.keyText, XShootEntry::KeyText(values)) << c.name;
    }

    EXPECT_EQ(0x04, XShootEntry::CodeOfCharacter(L'a'));
    EXPECT_EQ(0x27, XShootEntry::CodeOfCharacter(L'0'));
    EXPECT_EQ(0, XShootEntry::CodeOfChoice(4)) << "the keyboard key starts without a key";

    ButtonAssignment entry{};
    entry.Data.fill(0xEE);
    XShootEntry::Write(300, 0, 0x82, entry);
    EXPECT_EQ(9, entry.FunctionCode);
    EXPECT_EQ(255, entry.Param1);
    EXPECT_EQ(1, entry.Param2);
    EXPECT_EQ(0, entry.Data[0]);
    EXPECT_EQ(0x82, entry.Data[1]);
    EXPECT_EQ(0, entry.Data[119]);
}
