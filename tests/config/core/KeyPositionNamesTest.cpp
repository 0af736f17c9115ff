#include "config/core/KeyPositionNames.h"

#include "shared/codes/CodeTables.h"
#include "tests/config/core/ButtonPageTexts.h"

#include <gtest/gtest.h>

namespace {
const ButtonPageTexts& Texts() {
    static const ButtonPageTexts texts({L"CLICK", L"MENU", L"MIDDLE"});
    return texts;
}

std::wstring Upper(int position) {
    return KeyPositionNames::Name(static_cast<std::uint8_t>(position), KeyNameCase::Upper,
                                  Texts().Language());
}
std::wstring Lower(int position) {
    return KeyPositionNames::Name(static_cast<std::uint8_t>(position), KeyNameCase::Lower,
                                  Texts().Language());
}
} // namespace

TEST(KeyPositionNames, NamesOfEachRangeInBothCases) {
    struct Row {
        int position;
        const wchar_t* upper;
        const wchar_t* lower;
    };
    const Row rows[] = {{0, L"", L""},
                        {1, L"[CLICK]", L"[CLICK]"},
                        {2, L"[MENU]", L"[MENU]"},
                        {3, L"", L""},
                        {4, L"[MIDDLE]", L"[MIDDLE]"},
                        {16, L"~", L"~"},
                        {18, L"Q", L"q"},
                        {19, L"TAB", L"TAB"},
                        {20, L"A", L"a"},
                        {66, L"O", L"o"},
                        {73, L"0", L"0"},
                        {74, L"P", L"p"},
                        {84, L"\\", L"\\"},
                        {101, L"NA", L"NA"},
                        {124, L"NA", L"NA"},
                        {125, L"Alt", L"Alt"},
                        {126, L"", L""},
                        {134, L"Right Shift", L"Right Shift"},
                        {156, L"Win", L"Win"},
                        {240, L"", L""},
                        {244, L"Left Windows", L"Left Windows"},
                        {245, L"Right Windows", L"Right Windows"},
                        {246, L"", L""},
                        {255, L"", L""}};
    for (const Row& row : rows) {
        EXPECT_EQ(row.upper, Upper(row.position)) << row.position;
        EXPECT_EQ(row.lower, Lower(row.position)) << row.position;
    }
}

TEST(KeyPositionNames, EveryNamedPositionAndStoredKeyHasAName) {
    int named = 0;
    int caseDiffers = 0;
    for (int position = 1; position <= 245; ++position) {
        named += Upper(position).empty() ? 0 : 1;
        caseDiffers += Upper(position) != Lower(position) ? 1 : 0;
    }
    // 119 fixed names and the three mouse buttons; only the 26 letters change case.
    EXPECT_EQ(122, named);
    EXPECT_EQ(26, caseDiffers);
    // Every key a profile or macro can store is shown by a name.
    for (const KeyCodePair& pair : KeyCodeMap) {
        EXPECT_FALSE(KeyPositionNames::NameOfUsage(static_cast<std::uint8_t>(pair.Usage),
                                                   KeyNameCase::Upper, Texts().Language())
                         .empty())
            << pair.Usage;
    }
}

TEST(KeyPositionNames, UsagesAndSingleKeyDialogNames) {
    struct UsageRow {
        int usage;
        const wchar_t* upper;
        const wchar_t* lower;
    };
    const UsageRow usages[] = {{0x04, L"A", L"a"},
                               {0x27, L"0", L"0"},
                               {0xE3, L"Win", L"Win"},
                               {0xE7, L"Win", L"Win"},
                               {0xE6, L"Right Alt", L"Right Alt"},
                               {0x00, L"", L""},
                               {0x64, L"", L""}};
    for (const UsageRow& row : usages) {
        const auto usage = static_cast<std::uint8_t>(row.usage);
        EXPECT_EQ(row.upper,
                  KeyPositionNames::NameOfUsage(usage, KeyNameCase::Upper, Texts().Language()));
        EXPECT_EQ(row.lower,
                  KeyPositionNames::NameOfUsage(usage, KeyNameCase::Lower, Texts().Language()));
    }

    const UsageRow dialogNames[] = {{1, L"", L""},
                                    {2, L"", L""},
                                    {4, L"", L""},
                                    {20, L"A", L"a"},
                                    {125, L"LAlt", L"LAlt"},
                                    {127, L"Right Alt", L"Right Alt"},
                                    {131, L"LShift", L"LShift"},
                                    {136, L"LCtrl", L"LCtrl"},
                                    {240, L"Left Button", L""},
                                    {241, L"Right Button", L""},
                                    {242, L"Middle Button", L""},
                                    {243, L"", L""},
                                    {250, L"", L""}};
    for (const UsageRow& row : dialogNames) {
        const auto position = static_cast<std::uint8_t>(row.usage);
        EXPECT_EQ(row.upper, KeyPositionNames::SingleKeyName(position, KeyNameCase::Upper));
        EXPECT_EQ(row.lower, KeyPositionNames::SingleKeyName(position, KeyNameCase::Lower));
    }
    EXPECT_EQ(L"LCtrl", KeyPositionNames::SingleKeyNameOfUsage(0xE0, KeyNameCase::Lower));
}
