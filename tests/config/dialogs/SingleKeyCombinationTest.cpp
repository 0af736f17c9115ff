#include "config/dialogs/SingleKey/SingleKeyCombination.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {
using Buffer = SingleKeyCombination::EventBuffer;
constexpr std::uint32_t kRelease = 0x80;
// In a row's reports: open the dialog again with the same assignment.
constexpr std::uint32_t kReopen = 0xFFFF;

Buffer Bytes(std::initializer_list<std::uint8_t> bytes) {
    Buffer buffer{};
    std::copy(bytes.begin(), bytes.end(), buffer.begin());
    return buffer;
}

struct Opening {
    std::uint8_t mainKey = SingleKeyCombination::kNoKey;
    Buffer events{};
    int keyCount = 0;
};

struct Report {
    std::uint32_t key;
    std::uint32_t flags;
};

struct CombinationCase {
    const char* name;
    Opening opening;
    std::wstring openingText;
    std::vector<Report> reports;
    bool capsLock;
    // What each report shows ("-": the text stays).
    std::vector<std::wstring> shown;
    bool confirmed;
    std::wstring text;
    std::uint8_t mainKey;
    int keyCount;
    Buffer events;
    Buffer stored;
};

const Buffer kCtrlA = Bytes({0x80, 0xE0, 0x80, 0x04, 0x00, 0x04, 0x00, 0xE0});
} // namespace

TEST(SingleKeyCombination, BuildsTheKeysAndWhatOkHandsBack) {
    const Buffer allFive = Bytes({0x80, 0xE1, 0x80, 0xE0, 0x80, 0xE3, 0x80, 0xE2, 0x80, 0xE5,
                                  0x00, 0xE5, 0x00, 0xE2, 0x00, 0xE3, 0x00, 0xE0, 0x00, 0xE1});
    const std::wstring fiveKeys = L"LShift + LCtrl + Win + LAlt + Right Shift";
    // clang-format off
    const std::vector<CombinationCase> cases = {
        {"Ctrl, then A, both released: a combination of two", {}, L"",
         {{162, 0}, {'A', 0}, {'A', kRelease}, {162, kRelease}}, false,
         {L"LCtrl", L"LCtrl + a", L"-", L"-"}, true, L"LCtrl + a", 255, 2, kCtrlA, kCtrlA},
        {"A pressed and released: one key as its event pair", {}, L"",
         {{'A', 0}, {'A', kRelease}}, false,
         {L"a", L"-"}, true, L"a", 255, 1, Bytes({0x80, 0x04, 0x00, 0x04}), Bytes({0x80, 0x04})},
        {"A still held: the main key, no events", {}, L"",
         {{'A', 0}}, false,
         {L"a"}, true, L"a", 0x04, 1, Bytes({}), Bytes({0x80, 0x04})},
        {"left Shift alone", {}, L"",
         {{160, 0}, {160, kRelease}}, false,
         {L"LShift", L"-"}, true, L"LShift", 255, 1, Bytes({0x80, 0xE1, 0x00, 0xE1}),
         Bytes({0x80, 0xE1})},
        {"four modifiers and a fifth that counts as the other key", {}, L"",
         {{160, 0}, {162, 0}, {91, 0}, {164, 0}, {161, 0}}, false,
         {L"LShift", L"LShift + LCtrl", L"LShift + LCtrl + Win", L"LShift + LCtrl + Win + LAlt",
          fiveKeys}, true, fiveKeys, 0xE5, 5, allFive, allFive},
        {"Caps Lock on names letters in upper case", {}, L"",
         {{162, 0}, {'A', 0}}, true,
         {L"LCtrl", L"LCtrl + A"}, true, L"LCtrl + A", 0x04, 2, kCtrlA, kCtrlA},
        {"a held key that the hook repeats counts once", {}, L"",
         {{'A', 0}, {'A', 0}, {'A', kRelease}}, false,
         {L"a", L"-", L"-"}, true, L"a", 255, 1, Bytes({0x80, 0x04, 0x00, 0x04}),
         Bytes({0x80, 0x04})},
        {"OK without a key leaves the assignment", {0x04, {}, 1}, L"A",
         {}, false,
         {}, false, L"A", 0x04, 1, Bytes({}), Bytes({0x80, 0x04})},
        {"a release of a key held before opening changes nothing", {0x04, {}, 1}, L"A",
         {{'B', kRelease}}, false,
         {L"-"}, false, L"A", 0x04, 1, Bytes({}), Bytes({0x80, 0x04})},
        {"a stored combination is shown and replaced by the first key", {255, kCtrlA, 2},
         L"LCtrl + a", {{'B', 0}, {'B', kRelease}}, false,
         {L"b", L"-"}, true, L"b", 255, 1, Bytes({0x80, 0x05, 0x00, 0x05}), Bytes({0x80, 0x05})},
        {"a key still held from the previous opening counts again", {}, L"",
         {{'A', 0}, {kReopen, 0}, {'A', 0}}, false,
         {L"a", L"-", L"a"}, true, L"a", 0x04, 1, Bytes({}), Bytes({0x80, 0x04})},
    };
    // clang-format on
    for (const auto& c : cases) {
        SingleKeyCombination combination;
        const auto open = [&] {
            return combination.Open(c.opening.mainKey, c.opening.events, c.opening.keyCount,
                                    c.capsLock);
        };
        EXPECT_EQ(c.openingText, open()) << c.name;
        std::vector<std::wstring> shown;
        for (const Report& r : c.reports) {
            if (r.key == kReopen) {
                open();
                shown.push_back(L"-");
                continue;
            }
            shown.push_back(combination.OnHookKey(r.key, r.flags, c.capsLock).value_or(L"-"));
        }
        EXPECT_EQ(c.shown, shown) << c.name;
        EXPECT_EQ(c.confirmed, combination.Confirm()) << c.name;
        EXPECT_EQ(c.text, combination.Text()) << c.name;
        EXPECT_EQ(c.mainKey, combination.MainKeyUsage()) << c.name;
        EXPECT_EQ(c.keyCount, combination.KeyCount()) << c.name;
        if (c.confirmed) {
            EXPECT_EQ(c.events, combination.Events()) << c.name;
            EXPECT_EQ(c.stored, combination.StoredKeyData()) << c.name;
        }
    }
}
