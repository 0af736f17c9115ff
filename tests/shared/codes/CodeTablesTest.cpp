#include "shared/codes/CodeTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>

namespace {

enum class Lookup { Forward, Reverse, KeyToPosition, PositionToKey, ByByte1, ByByte3, ByByte5 };

struct LookupCase {
    const char* Name;
    Lookup Kind;
    std::uint32_t Argument;
    std::optional<std::uint32_t> Expected; // nullopt: the look-up reports no match
};

std::optional<std::uint32_t> RunLookup(Lookup kind, std::uint32_t argument) {
    std::uint32_t out = 0;
    std::uint8_t code = 0;
    auto byte = static_cast<std::uint8_t>(argument);
    switch (kind) {
    case Lookup::Forward:
        return KeyCodeMap_LookupForward(argument, out) ? std::optional(out) : std::nullopt;
    case Lookup::Reverse:
        return KeyCodeMap_LookupReverse(argument, out) ? std::optional(out) : std::nullopt;
    case Lookup::KeyToPosition:
        return CodePairTable_Lookup(argument);
    case Lookup::PositionToKey:
        return KeyPositionMap_ToVirtualKey(argument);
    case Lookup::ByByte1:
        return DeviceCodeTable_LookupByByte1(byte, code) ? std::optional<std::uint32_t>(code)
                                                         : std::nullopt;
    case Lookup::ByByte3:
        return DeviceCodeTable_LookupByByte3(byte, code) ? std::optional<std::uint32_t>(code)
                                                         : std::nullopt;
    case Lookup::ByByte5:
        return DeviceCodeTable_LookupByByte5(byte, code) ? std::optional<std::uint32_t>(code)
                                                         : std::nullopt;
    }
    return std::nullopt;
}

class CodeTableLookup : public testing::TestWithParam<LookupCase> {};

TEST_P(CodeTableLookup, GivesExpectedCode) {
    const LookupCase& c = GetParam();
    EXPECT_EQ(c.Expected, RunLookup(c.Kind, c.Argument));
}

const LookupCase Cases[] = {
    {"KeyAToUsage", Lookup::Forward, 0x41, 0x04},
    {"UsageToKeyA", Lookup::Reverse, 0x04, 0x41},
    {"RightWinToUsage", Lookup::Forward, 0x5C, 0xE7},
    {"LeftShiftToUsage", Lookup::Forward, 0xA0, 0xE1},
    {"PauseToUsage", Lookup::Forward, 0x13, 0x48},
    {"KeyWithoutUsage", Lookup::Forward, 0x5F, std::nullopt},
    {"UsageWithoutKey", Lookup::Reverse, 0x64, std::nullopt},
    {"GraveIsFirstPosition", Lookup::KeyToPosition, 0xC0, 0x10},
    {"KeyAPosition", Lookup::KeyToPosition, 0x41, 0x14},
    {"LeftWinPosition", Lookup::KeyToPosition, 0x5B, 0x9C},
    {"RightWinPosition", Lookup::KeyToPosition, 0x5C, 0x9C},
    {"RepeatedKeyTakesLastPosition", Lookup::KeyToPosition, 0xB1, 0x94},
    {"KeyB0HasNoPosition", Lookup::KeyToPosition, 0xB0, 0},
    {"KeyWithoutPosition", Lookup::KeyToPosition, 0x5F, 0},
    {"SharedPositionTakesLastKey", Lookup::PositionToKey, 0x9C, 0x5C},
    {"PositionOfKeyB1", Lookup::PositionToKey, 0x93, 0xB1},
    {"EmptyPosition", Lookup::PositionToKey, 0x17, 0},
    {"LastPosition", Lookup::PositionToKey, 0x9F, 0xFB},
    {"PositionOutsideTable", Lookup::PositionToKey, 0xA0, 0},
    {"Byte1FirstCombinationRow", Lookup::ByByte1, 0x8F, 64},
    {"Byte1FirstConsumerRow", Lookup::ByByte1, 0x8E, 139},
    {"Byte1FirstShiftRow", Lookup::ByByte1, 0x9C, 113},
    {"Byte1Code96", Lookup::ByByte1, 0x30, 96},
    {"Byte1Unknown", Lookup::ByByte1, 0x97, std::nullopt},
    {"Byte3FirstFFRow", Lookup::ByByte3, 0xFF, 139},
    {"Byte3Mute", Lookup::ByByte3, 0xE2, 39},
    {"Byte3FirstZeroRow", Lookup::ByByte3, 0x00, 1},
    {"Byte3Unknown", Lookup::ByByte3, 0x77, std::nullopt},
    {"Byte5ZeroIsFirstRow", Lookup::ByByte5, 0x00, 1},
    {"Byte5Unknown", Lookup::ByByte5, 0x8B, std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Tables, CodeTableLookup, testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.Name); });

struct DeviceCase {
    std::uint8_t FunctionCode;
    std::optional<std::array<std::uint8_t, 4>> Expected;
};

class DeviceCodeLookup : public testing::TestWithParam<DeviceCase> {};

TEST_P(DeviceCodeLookup, GivesMouseSideBytes) {
    std::array<std::uint8_t, 4> out{0xAA, 0xAA, 0xAA, 0xAA};
    bool found = DeviceCodeTable_LookupDeviceCode(GetParam().FunctionCode, out);
    ASSERT_EQ(GetParam().Expected.has_value(), found);
    EXPECT_EQ(GetParam().Expected.value_or(std::array<std::uint8_t, 4>{0xAA, 0xAA, 0xAA, 0xAA}),
              out);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, DeviceCodeLookup,
    testing::Values(DeviceCase{1, {{0x81, 0, 0, 0}}}, DeviceCase{15, {{0x9A, 0x01, 0x0B, 0x0B}}},
                    DeviceCase{67, {{0x8F, 0x01, 0x04, 0x1D}}},
                    DeviceCase{40, {{0x8E, 0x01, 0x83, 0x01}}},
                    DeviceCase{141, {{0x8E, 0x01, 0xFF, 0x8D}}}, DeviceCase{7, {{0x00, 0, 0, 0}}},
                    DeviceCase{96, {{0x30, 0, 0, 0}}}, DeviceCase{117, {{0x9C, 0x00, 0x04, 0x00}}},
                    DeviceCase{101, {{0x93, 0x02, 0, 0}}}, DeviceCase{21, std::nullopt},
                    DeviceCase{36, std::nullopt}, DeviceCase{50, std::nullopt},
                    DeviceCase{51, std::nullopt}, DeviceCase{8, std::nullopt},
                    DeviceCase{255, std::nullopt}));

TEST(CodeTables, FailedKeyLookupsLeaveOutValue) {
    std::uint32_t out = 0x1234;
    EXPECT_FALSE(KeyCodeMap_LookupForward(0x5F, out));
    EXPECT_FALSE(KeyCodeMap_LookupReverse(0xFF, out));
    EXPECT_EQ(0x1234u, out);
    std::uint8_t code = 0x77;
    EXPECT_FALSE(DeviceCodeTable_LookupByByte1(0xFE, code));
    EXPECT_EQ(0x77, code);
}

TEST(CodeTables, KeyCodeMapHoldsEachKeyAndUsageOnce) {
    std::set<std::uint32_t> keys, usages;
    for (const KeyCodePair& p : KeyCodeMap) {
        keys.insert(p.VirtualKey);
        usages.insert(p.Usage);
    }
    EXPECT_EQ(104u, keys.size());
    EXPECT_EQ(104u, usages.size());
}

TEST(CodeTables, EveryKeyRoundTripsThroughItsUsage) {
    for (const KeyCodePair& p : KeyCodeMap) {
        std::uint32_t usage = 0, key = 0;
        ASSERT_TRUE(KeyCodeMap_LookupForward(p.VirtualKey, usage)) << p.VirtualKey;
        ASSERT_TRUE(KeyCodeMap_LookupReverse(usage, key)) << usage;
        EXPECT_EQ(p.VirtualKey, key);
    }
}

TEST(CodeTables, PositionMapCoversEveryPositionInRisingOrder) {
    EXPECT_TRUE(std::ranges::is_sorted(KeyPositionMap, {}, &KeyPositionPair::Position));
    EXPECT_EQ(0x10u, KeyPositionMap.front().Position);
    EXPECT_EQ(0x9Fu, KeyPositionMap.back().Position);
    std::set<std::uint32_t> positions;
    int empty = 0;
    for (const KeyPositionPair& p : KeyPositionMap) {
        positions.insert(p.Position);
        empty += p.VirtualKey == 0;
    }
    EXPECT_EQ(144u, positions.size());
    EXPECT_EQ(2, std::ranges::count(KeyPositionMap, 0x9Cu, &KeyPositionPair::Position));
    EXPECT_EQ(31, empty);
    EXPECT_EQ(2, std::ranges::count(KeyPositionMap, 0xB1u, &KeyPositionPair::VirtualKey));
}

TEST(CodeTables, DeviceTableHasOneRowPerFunctionCode) {
    std::set<std::uint8_t> codes;
    for (const DeviceCodeRow& row : DeviceCodeTable) {
        codes.insert(row[0]);
        EXPECT_EQ(0, row[5]) << int(row[0]);
    }
    EXPECT_EQ(70u, codes.size());
    EXPECT_EQ(64, DeviceCodeTable[14][0]);
    EXPECT_EQ(101, DeviceCodeTable.back()[0]);
}

} // namespace
