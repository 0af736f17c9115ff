#include "config/core/MacroList.h"
#include "shared/store/CIniFile.h"
#include "tests/config/core/MacroTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace macrotest;

namespace {

// The six slots as "A,,C,,,".
std::wstring Slots(const std::wstring& settings) {
    std::wstring slots;
    for (int i = 0; i < MaxMacros; ++i) {
        slots += CIniFile(settings).ReadString(MacroList::kSection, std::to_wstring(i), L"");
        slots += i + 1 < MaxMacros ? L"," : L"";
    }
    return slots;
}

void WriteSlots(const std::wstring& settings, const std::wstring& slots) {
    std::wistringstream in(slots);
    std::wstring name;
    for (int i = 0; std::getline(in, name, L','); ++i) {
        CIniFile(settings).WriteString(MacroList::kSection, std::to_wstring(i), name);
    }
}

} // namespace

// "MACRO_LIST" filled and emptied; list positions and slots kept apart.
TEST(MacroList, SlotsAndPositions) {
    enum Op { Add, Remove, SlotOf, SlotAt, FindMacroName };
    struct Row {
        const char* name;
        const wchar_t* start;
        Op op;
        const wchar_t* arg; // a name, or a list position
        int reported;
        const wchar_t* slots; // afterwards
        const wchar_t* names;
    };
    const wchar_t* const ac = L"A,,C,,,";
    const Row rows[] = {
        {"add fills the empty slot between two names", ac, Add, L"B", 1, L"A,B,C,,,", L"A,B,C"},
        {"remove empties the name's slot", ac, Remove, L"C", -1, L"A,,,,,", L"A"},
        {"six names: nothing added", L"A,B,C,D,E,F", Add, L"G", -1, L"A,B,C,D,E,F", L"A,B,C,D,E,F"},
        {"a name listed in another case keeps its slot", L",,Fire,,,", Add, L"FIRE", 2,
         L",,Fire,,,", L"Fire"},
        {"slot of a name behind an empty slot", ac, SlotOf, L"C", 2, ac, L"A,C"},
        {"slot look-up compares exactly", ac, SlotOf, L"c", -1, ac, L"A,C"},
        {"its list position is one less than its slot", ac, FindMacroName, L"C", 1, ac, L"A,C"},
        {"list position back to its slot", ac, SlotAt, L"1", 2, ac, L"A,C"},
        {"a position outside the list", ac, SlotAt, L"2", -1, ac, L"A,C"},
        {"found only in its own case", ac, FindMacroName, L"c", -1, ac, L"A,C"},
        {"a single macro is at 0", L",,Fire,,,", FindMacroName, L"Fire", 0, L",,Fire,,,", L"Fire"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MacroFolder folder;
        WriteSlots(folder.Settings(), row.start);
        MacroList list(folder.Settings());
        list.Load();
        const std::wstring arg = row.arg;
        int reported = -1;
        switch (row.op) {
        case Add:
            reported = static_cast<int>(list.Add(arg));
            break;
        case Remove:
            list.Remove(arg);
            break;
        case SlotOf:
            reported = static_cast<int>(list.SlotOf(arg));
            break;
        case SlotAt:
            reported = static_cast<int>(list.SlotAt(MacroListPosition{std::stoi(arg)}));
            break;
        case FindMacroName:
            reported = static_cast<int>(list.FindMacroName(arg));
            break;
        }
        EXPECT_EQ(row.reported, reported);
        EXPECT_EQ(row.slots, Slots(folder.Settings()));
        std::wstring names;
        for (const std::wstring& name : list.Names()) {
            names += (names.empty() ? L"" : L",") + name;
        }
        EXPECT_EQ(row.names, names);
    }
}

TEST(MacroList, NewMacroNames) {
    struct Row {
        const char* name;
        std::vector<std::wstring> files;
        const wchar_t* base;
        std::optional<std::wstring> expected;
    };
    const Row rows[] = {
        {"files 1 and 2 exist", {L"Macro1", L"Macro2"}, L"Macro", L"Macro3"},
        {"the first free number", {L"Macro2"}, L"Macro", L"Macro1"},
        {"file names ignore case", {L"MACRO1"}, L"Macro", L"Macro2"},
        {"a base name that cannot be a file name", {}, L"a\\b", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MacroFolder folder;
        for (const std::wstring& file : row.files) {
            std::ofstream(std::filesystem::path(folder.MacroPath(file))) << "[Setting]\n";
        }
        EXPECT_EQ(row.expected, NewMacroName(folder.Macros(), row.base));
    }
}
