#include "config/core/ButtonCaptions.h"

#include "shared/codes/ButtonFunctionCodes.h"
#include "tests/config/core/ButtonPageTexts.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace {
struct CodeKeyword {
    int code;
    const wchar_t* keyword;
};

// The codes the button-function menu does not offer (the menu's tables hold the others).
const CodeKeyword kNotOffered[] = {{14, L"DPISWITCH"},  {15, L"DPISHIFT"},    {21, L"GAMEKEY"},
                                   {23, L"PROFILEUP"},  {24, L"PROFILEDOWN"}, {25, L"PROFILEFUN"},
                                   {50, L"SCROLLLEFT"}, {51, L"SCROLLRIGHT"}, {71, L"PRINT"},
                                   {96, L"DPIFUN"},     {113, L"SHIFT1"},     {114, L"SHIFT2"},
                                   {115, L"SHIFT3"},    {116, L"SHIFT4"},     {117, L"SHIFT5"}};

const ButtonPageTexts& Texts() {
    static const ButtonPageTexts texts([] {
        std::vector<std::wstring> keywords;
        for (const auto& row : ButtonFunctionCodes::Keywords()) {
            keywords.emplace_back(row.keyword);
        }
        return keywords;
    }());
    return texts;
}

ButtonAssignment Entry(int code, std::initializer_list<int> keyData = {}, int macroSlot = 0) {
    ButtonAssignment entry{};
    entry.FunctionCode = static_cast<std::uint8_t>(code);
    entry.Param2 = static_cast<std::uint8_t>(macroSlot);
    size_t i = 0;
    for (const int byte : keyData) {
        entry.Data[i++] = static_cast<std::uint8_t>(byte);
    }
    return entry;
}

std::wstring CaptionOf(const ButtonAssignment& entry) {
    return ButtonCaptions::Of(entry, {}, Texts().Language()).text;
}

// Usage ids of the keys the rows use.
constexpr int kA = 0x04, kC = 0x06, kEnter = 0x28, kF1 = 0x3A, kOne = 0x1E;
constexpr int kLCtrl = 0xE0, kLShift = 0xE1, kLAlt = 0xE2, kLWin = 0xE3, kRCtrl = 0xE4;
constexpr int kRShift = 0xE5, kRAlt = 0xE6;
} // namespace

TEST(ButtonCaptions, KeywordAndFixedCaptions) {
    EXPECT_EQ(70u, ButtonFunctionCodes::Keywords().size());
    for (const CodeKeyword& row : kNotOffered) {
        EXPECT_EQ(row.keyword, ButtonFunctionCodes::KeywordOf(static_cast<std::uint8_t>(row.code)));
    }
    // Every keyword is its code's caption but those of a single key and a macro.
    for (const auto& row : ButtonFunctionCodes::Keywords()) {
        if (row.code != 5 && row.code != 6) {
            EXPECT_EQ(ButtonPageTexts::Of(std::wstring(row.keyword)), CaptionOf(Entry(row.code)));
        }
    }
    EXPECT_EQ(L"F11", CaptionOf(Entry(100)));
    EXPECT_EQ(L"F12", CaptionOf(Entry(101)));
    // Sub-menu heads and codes outside the table have no caption.
    for (const int code : {0, 8, 16, 18, 19, 20, 22, 131, 134, 142, 255}) {
        EXPECT_EQ(L"", CaptionOf(Entry(code))) << code;
    }
}

TEST(ButtonCaptions, SingleKeyReadFromTheKeyEvent) {
    struct Row {
        std::initializer_list<int> keyData;
        const wchar_t* caption;
    };
    const Row rows[] = {{{0x80, kA}, L"A"},
                        {{0x80, kOne}, L"1"},
                        {{0x80, kRAlt}, L"RAlt"},
                        {{0x80, kLShift}, L"LShift"},
                        {{0x80, kLWin}, L"Win"},
                        {{0x80, kEnter}, L"Enter"},
                        {{0x80, kF1}, L"F1"},
                        {{0x80, 0x64}, L"key"},
                        {{0x80, 0x00}, L"key"},
                        // The key is the event's usage byte, never the flag byte before it.
                        {{kA, 0x00}, L"key"}};
    for (const Row& row : rows) {
        EXPECT_EQ(row.caption, CaptionOf(Entry(5, row.keyData)));
    }
    ButtonAssignment stored{};
    stored.Data.fill(0xEE);
    ButtonFunctionCodes::StoreSingleKey(stored, kC);
    EXPECT_EQ(0x80, stored.Data[0]);
    EXPECT_EQ(kC, ButtonFunctionCodes::SingleKeyUsage(stored));
    EXPECT_EQ(0, stored.Data[2]);
}

TEST(ButtonCaptions, KeyCombinations) {
    struct Row {
        std::initializer_list<int> keyData;
        const wchar_t* caption;
    };
    const Row rows[] = {
        {{0x80, kLCtrl, 0x80, kC, 0x00, kC, 0x00, kLCtrl}, L"Ctrl + C"},
        {{0x80, kLShift, 0x80, kLCtrl, 0x80, kLWin, 0x80, kLAlt,  0x80, kA,
          0x00, kA,      0x00, kLAlt,  0x00, kLWin, 0x00, kLCtrl, 0x00, kLShift},
         L"Shift + Ctrl + Win + Alt + A"},
        // Recorded in another order, shown in the fixed one.
        {{0x80, kA, 0x80, kLAlt, 0x80, kLShift, 0x00, kLShift, 0x00, kLAlt, 0x00, kA},
         L"Shift + Alt + A"},
        {{0x80, kLShift, 0x80, kRShift, 0x00, kRShift, 0x00, kLShift}, L"Shift + Right Shift"},
        {{0x80, kLCtrl, 0x80, kRAlt, 0x00, kRAlt, 0x00, kLCtrl}, L"Ctrl + Right Alt"},
        {{0x80, kLCtrl, 0x80, kRCtrl, 0x00, kRCtrl, 0x00, kLCtrl}, L"Ctrl + Right Ctrl"},
        // Fewer than two keys: the first key's name.
        {{0x80, kA, 0x00, kA}, L"A"},
        {{0x80, kLCtrl}, L"Ctrl"},
        {{}, L""}};
    for (const Row& row : rows) {
        EXPECT_EQ(row.caption, CaptionOf(Entry(99, row.keyData)));
    }
}

TEST(ButtonCaptions, MacroNamesAndMissingMacros) {
    struct Row {
        std::vector<std::wstring> names;
        int slot;
        const wchar_t* caption;
        int codeAfter;
        const wchar_t* textAfter;
        bool changed;
    };
    const Row rows[] = {{{}, 0, L"[OFFBUTTON]", 6, L"old", false},
                        {{}, 3, L"[OFFBUTTON]", 6, L"old", false},
                        // The entry's macro left the list: never the one that took its place.
                        {{L"first", L"second"}, 1, L"[OFFBUTTON]", 6, L"old", false},
                        {{L"old"}, 0, L"old", 6, L"old", false},
                        // Its macro is listed elsewhere now, after one before it was deleted.
                        {{L"first", L"Old"}, 5, L"Old", 6, L"old", false},
                        {{L"first"}, 1, L"[OFFBUTTON]", 7, L"old", true},
                        {{L"first", L"second"}, 200, L"[OFFBUTTON]", 7, L"old", true}};
    for (const Row& row : rows) {
        ButtonAssignment entry = Entry(6, {}, row.slot);
        std::copy_n(L"old", 4, entry.Text.begin());
        const auto caption = ButtonCaptions::Of(entry, row.names, Texts().Language());
        EXPECT_EQ(row.caption, caption.text);
        const ButtonAssignment after = caption.changedEntry.value_or(entry);
        EXPECT_EQ(row.codeAfter, after.FunctionCode);
        EXPECT_EQ(std::wstring(row.textAfter), after.Text.data());
        EXPECT_EQ(row.changed, caption.changedEntry.has_value());
    }
}

TEST(ButtonCaptions, RefreshReadsTheRecordsOneProfileBlock) {
    auto record = std::make_unique<SettingsRecord>();
    *record = {};
    record->Profile = 4;
    record->ButtonAssigned[0] = Entry(1);
    record->ButtonAssigned[1] = Entry(6, {}, 1);
    record->ButtonAssigned[2] = Entry(5, {0x80, kA});
    record->ButtonAssigned[7] = Entry(6, {}, 0);
    const std::vector<std::wstring> names{L"only"};
    const auto captions = ButtonCaptions::Refresh(*record, names, Texts().Language());
    const std::array<std::wstring, 8> expected{L"[CLICK]", L"[OFFBUTTON]", L"A", L"", L"", L"",
                                               L"",        L"only"};
    EXPECT_EQ(expected, captions);
    EXPECT_EQ(7, record->ButtonAssigned[1].FunctionCode);
    EXPECT_EQ(std::wstring(L"only"), record->ButtonAssigned[7].Text.data());
    EXPECT_EQ(4, record->Profile);
}
