// Settings read back from the mouse: each decoding is the inverse of what the service sends.

#include "service/MouseDecoding.h"
#include "service/MouseEncoding.h"
#include "shared/codes/CodeTables.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Four = std::array<std::uint8_t, 4>;

const std::array<std::wstring, 6> kNames{L"Zero", L"One", L"Two", L"Three", L"Four", L"Five"};

TEST(MouseDecodingTest, DpiStagesDecodeToTheValueSent) {
    for (int value = 1; value <= kDpiStageValueMax; ++value) {
        const auto encoded = EncodeDpiStage(value);
        ASSERT_TRUE(encoded.has_value());
        EXPECT_EQ(DecodeDpiStage((*encoded)[1], (*encoded)[2]), value) << value;
    }
    // Code 100 stands for 0 and 84: the higher is taken.
    EXPECT_EQ(DecodeDpiStage(100, 0), 84);
    // Pairs the encoding never gives.
    EXPECT_EQ(DecodeDpiStage(1, 0), std::nullopt);
    EXPECT_EQ(DecodeDpiStage(0, 1), std::nullopt);
    EXPECT_EQ(DecodeDpiStage(70, 1), std::nullopt);
    EXPECT_EQ(DecodeDpiStage(6, 2), std::nullopt);
}

TEST(MouseDecodingTest, MacroSlotsBackToTheirPositions) {
    EXPECT_EQ(MacroPositionOfSlot(0), 0);
    EXPECT_EQ(MacroPositionOfSlot(1), 1);
    EXPECT_EQ(MacroPositionOfSlot(2), std::nullopt);
    EXPECT_EQ(MacroPositionOfSlot(3), 2);
    EXPECT_EQ(MacroPositionOfSlot(6), 5);
    EXPECT_EQ(MacroPositionOfSlot(7), std::nullopt);
}

// An entry as the configuration program sets it up for `code`, with parameters that the
// encoding of each kind carries.
ButtonAssignment EntryFor(std::uint8_t code, std::uint8_t number) {
    ButtonAssignment entry{};
    entry.ButtonNumber = number;
    entry.FunctionCode = code;
    entry.Param1 = 3;
    entry.Param2 = code == 9 ? 40 : 2;
    entry.Data[1] = 0x2C;
    if (code == 99) {
        // Ctrl+Shift+F as the key dialog records it.
        const std::vector<std::uint8_t> keys{0x80, 0xE0, 0x80, 0xE1, 0x80, 0x09,
                                             0x00, 0x09, 0x00, 0xE1, 0x00, 0xE0};
        std::copy(keys.begin(), keys.end(), entry.Data.begin());
    }
    return entry;
}

// What the read-back does not restore: the repeat count and DPI shift step (first parameter),
// the button number and launch targets stay as the settings file holds them.
ButtonAssignment Forgotten(const ButtonAssignment& entry) {
    ButtonAssignment blank{};
    blank.ButtonNumber = entry.ButtonNumber;
    blank.FunctionCode = 255;
    blank.Param1 = entry.Param1;
    return blank;
}

TEST(MouseDecodingTest, EveryFunctionCodeSurvivesSendAndReadBack) {
    for (const DeviceCodeRow& row : DeviceCodeTable) {
        for (std::uint8_t number : {std::uint8_t{1}, std::uint8_t{2}, std::uint8_t{5}}) {
            const std::uint8_t code = row[0];
            const ButtonAssignment entry = EntryFor(code, number);
            const std::optional<int> slot = code == 6 ? std::optional<int>(5) : std::nullopt;
            const auto sent = EncodeButtonAssignment(entry, 0, number - 1, slot);
            ASSERT_TRUE(sent.has_value()) << int(code);

            ButtonAssignment read = Forgotten(entry);
            ASSERT_TRUE(DecodeButtonAssignment(*sent, kNames, read)) << int(code);
            EXPECT_EQ(EncodeButtonAssignment(read, 0, number - 1, slot), sent)
                << "function code " << int(code) << " on button " << int(number);
        }
    }
}

struct DecodeCase {
    const char* Name;
    Four Bytes;
    std::uint8_t Kind;
};

TEST(MouseDecodingTest, KindsSharingAMouseSideCode) {
    const std::vector<DecodeCase> cases = {
        {"run program, profile 2", {0x8E, 1, 252, 4}, 118},
        {"consumer key", {0x8E, 1, 0xCD, 0}, 32},
        // The action code after the marker, not a byte that is 0 in every row.
        {"configuration program", {0x8E, 1, 0xFF, 0x78}, 120},
        {"select all", {0x8F, 1, 0x04, 0}, 68},
        {"undo as sent", {0x8F, 1, 0x04, 0x1D}, 67},
        // Not a named combination: the user's own, never Ctrl+X.
        {"ctrl shift z", {0x8F, 3, 0x1D, 0}, 99},
        {"ctrl z", {0x8F, 1, 0x1D, 0}, 99},
        {"profile shift 4", {0x9C, 0, 3, 0}, 116},
        {"off", {0, 0, 0, 0}, 7},
    };
    for (const DecodeCase& c : cases) {
        ButtonAssignment entry{};
        ASSERT_TRUE(DecodeButtonAssignment(c.Bytes, kNames, entry)) << c.Name;
        EXPECT_EQ(entry.FunctionCode, c.Kind) << c.Name;
    }
}

TEST(MouseDecodingTest, ParametersOfEachKind) {
    ButtonAssignment key{};
    ASSERT_TRUE(DecodeButtonAssignment(Four{0x90, 0, 0x2C, 0}, kNames, key));
    EXPECT_EQ(key.FunctionCode, 5);
    EXPECT_EQ(key.Data[1], 0x2C);

    ButtonAssignment xshoot{};
    ASSERT_TRUE(DecodeButtonAssignment(Four{0x99, 0x81, 5, 3}, kNames, xshoot));
    EXPECT_EQ(xshoot.FunctionCode, 9);
    EXPECT_EQ(xshoot.Param1, 5);
    EXPECT_EQ(xshoot.Param2, 30);
    EXPECT_EQ(xshoot.Data[1], 0x81);

    // Slot 4 holds position 3; the play-mode flag is not part of the slot.
    ButtonAssignment macro{};
    macro.Param1 = 9;
    ASSERT_TRUE(DecodeButtonAssignment(Four{0x91, 0x84, 0xFF, 0xFF}, kNames, macro));
    EXPECT_EQ(macro.FunctionCode, 6);
    EXPECT_EQ(macro.Param2, 3);
    EXPECT_EQ(macro.Param1, 9);
    EXPECT_EQ(std::wstring(macro.Text.data()), L"Three");

    ButtonAssignment combination{};
    combination.Data.fill(0x55);
    ASSERT_TRUE(DecodeButtonAssignment(Four{0x8F, 0x0F, 0x04, 0}, kNames, combination));
    EXPECT_EQ(combination.FunctionCode, 99);
    std::array<std::uint8_t, 120> keys{};
    const std::vector<std::uint8_t> expected{0x80, 0xE3, 0x80, 0xE2, 0x80, 0xE1, 0x80,
                                             0xE0, 0x80, 0x04, 0x00, 0x04, 0x00, 0xE0,
                                             0x00, 0xE1, 0x00, 0xE2, 0x00, 0xE3};
    std::copy(expected.begin(), expected.end(), keys.begin());
    EXPECT_EQ(combination.Data, keys);
}

TEST(MouseDecodingTest, BytesNamingNoFunctionLeaveTheEntry) {
    ButtonAssignment entry{};
    entry.FunctionCode = 14;
    entry.Text[0] = L'x';
    const ButtonAssignment before = entry;
    for (const Four& bytes :
         {Four{0x77, 0, 0, 0}, Four{0x8E, 1, 0x42, 0}, Four{0x8E, 1, 0xFF, 0x01},
          Four{0x91, 0x02, 1, 0}, Four{0x91, 0x07, 1, 0}}) {
        EXPECT_FALSE(DecodeButtonAssignment(bytes, kNames, entry));
        EXPECT_EQ(std::memcmp(&entry, &before, sizeof entry), 0);
    }
}

} // namespace
