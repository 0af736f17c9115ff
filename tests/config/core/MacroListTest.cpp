#include "config/MacroList.h"
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
    enum Op { Add, Remove, SlotOf, PositionOf, SlotAt };
    struct Row {
        const char* name;
        const wchar_t* start;
        Op op;
        const wchar_t* name_or_position;
        int reported;
        const wchar_t* expected;
        std::vector<std::wstring> names;
    };
    const Row rows[] = {
        {"add fills the empty slot between two names",
         L"A,,C,,,",
         Add,
         L"B",
         1,
         L"A,B,C,,,",
         {L"A", L"B", L"C"}},
        {"remove empties the name's slot", L"A,,C,,,", Remove, L"C", -1, L"A,,,,,", {L"A"}},
        {"six names: nothing added",
         L"A,B,C,D,E,F",
         Add,
         L"G",
         -1,
         L"A,B,C,D,E,F",
         {L"A", L"B", L"C", L"D", L"E", L"F"}},
        {"a name listed in another case keeps its one slot",
         L",,Fire,,,",
         Add,
         L"FIRE",
         2,
         L",,Fire,,,",
         {L"Fire"}},
        {"slot of a name behind an empty slot",
         L"A,,C,,,",
         SlotOf,
         L"C",
         2,
         L"A,,C,,,",
         {L"A", L"C"}},
        {"slot look-up compares exactly", L"A,,C,,,", SlotOf, L"c", -1, L"A,,C,,,", {L"A", L"C"}},
        {"its list position is one less",
         L"A,,C,,,",
         PositionOf,
         L"C",
         1,
         L"A,,C,,,",
         {L"A", L"C"}},
        {"list position back to its slot", L"A,,C,,,", SlotAt, L"1", 2, L"A,,C,,,", {L"A", L"C"}},
        {"a position outside the list", L"A,,C,,,", SlotAt, L"2", -1, L"A,,C,,,", {L"A", L"C"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MacroFolder folder;
        WriteSlots(folder.Settings(), row.start);
        MacroList list(folder.Settings());
        list.Load();
        const std::wstring arg = row.name_or_position;
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
        case PositionOf:
            reported = static_cast<int>(list.PositionOf(arg));
            break;
        case SlotAt:
            reported = static_cast<int>(list.SlotAt(MacroListPosition{std::stoi(arg)}));
            break;
        }
        EXPECT_EQ(row.reported, reported);
        EXPECT_EQ(row.expected, Slots(folder.Settings()));
        EXPECT_EQ(row.names, list.Names());
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
