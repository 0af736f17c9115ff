#include "config/core/MacroOperations.h"
#include "shared/codes/MacroFile.h"
#include "shared/store/CIniFile.h"
#include "tests/config/core/MacroTestSupport.h"
#include "tests/tolvane/MessagePump.h"
#include "tests/tolvane/RecorderWindow.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

using namespace macrotest;

namespace {

// Each test macro's events, by the first letter of its name.
std::vector<MacroEvent> EventsOf(const std::wstring& name) {
    const wchar_t first = name.empty() ? L' ' : name[0];
    return Events(first == L'A'   ? "K4+ K4-"
                  : first == L'B' ? "K5+ D3 K5-"
                  : first == L'C' ? "B1+ B1-"
                  : first == L'X' ? "K6+ D250 K6-"
                                  : "");
}

std::vector<MacroEvent> FileEvents(const std::wstring& path) {
    MacroEventBuffer events{};
    int count = 0;
    MacroFile(path).Read(events, count);
    return {events.begin(), events.begin() + count};
}

void WriteMacro(const std::wstring& path, const std::vector<MacroEvent>& events) {
    MacroFile(path).Write(Buffer(events), static_cast<int>(events.size()), 0);
}

// Macro files for `slots` ("A,,C") listed in those slots; `current` chosen.
MacroOperations Prepared(const MacroFolder& folder, const std::vector<std::wstring>& slots,
                         const std::wstring& current) {
    for (std::size_t i = 0; i < slots.size(); ++i) {
        CIniFile(folder.Settings()).WriteString(MacroList::kSection, std::to_wstring(i), slots[i]);
        if (!slots[i].empty()) {
            WriteMacro(folder.MacroPath(slots[i]), EventsOf(slots[i]));
        }
    }
    MacroOperations macros(folder.Macros(), folder.Settings(), TestName);
    macros.Choose(macros.List().FindMacroName(current));
    return macros;
}

bool Exists(const std::wstring& path) {
    return std::filesystem::exists(path);
}

} // namespace

// Deleting never writes the deleted macro's events under its neighbour's name.
TEST(MacroOperations, DeleteMakesTheNeighbourCurrent) {
    struct Row {
        const char* name;
        std::vector<std::wstring> slots;
        std::wstring deleted;
        std::wstring next;
        std::vector<std::wstring> names;
    };
    const Row rows[] = {
        {"the middle of three", {L"A", L"B", L"C"}, L"B", L"A", {L"A", L"C"}},
        {"the first", {L"A", L"B", L"C"}, L"A", L"B", {L"B", L"C"}},
        {"the last", {L"A", L"B", L"C"}, L"C", L"B", {L"A", L"B"}},
        {"behind an empty slot", {L"A", L"", L"C"}, L"C", L"A", {L"A"}},
        {"the only one", {L"B"}, L"B", L"", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MacroFolder folder;
        MacroOperations macros = Prepared(folder, row.slots, row.deleted);
        ASSERT_TRUE(macros.Delete());
        macros.SaveAndAnnounce();
        EXPECT_EQ(row.next, macros.Current());
        EXPECT_EQ(row.names, macros.List().Names());
        EXPECT_FALSE(Exists(folder.MacroPath(row.deleted)));
        EXPECT_EQ(EventsOf(row.next), Used(macros.Editor()));
        EXPECT_EQ(EventsOf(row.next), FileEvents(folder.MacroPath(row.next)));
    }
}

TEST(MacroOperations, RenameKeepsTheMacroUnlessTheNewFileHoldsIt) {
    struct Row {
        const wchar_t* newName;
        MacroRenameResult result;
        std::wstring current;
    };
    const Row rows[] = {
        {L"", MacroRenameResult::Unchanged, L"A"},  {L"B", MacroRenameResult::Exists, L"A"},
        {L"b", MacroRenameResult::Exists, L"A"},    {L"..\\A", MacroRenameResult::Refused, L"A"},
        {L"CON", MacroRenameResult::Refused, L"A"}, {L"Z", MacroRenameResult::Renamed, L"Z"},
        {L"a", MacroRenameResult::Renamed, L"a"}, // its own name in another case: same file
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(row.result) << " " << row.current);
        MacroFolder folder;
        MacroOperations macros = Prepared(folder, {L"A", L"B"}, L"A");
        EXPECT_EQ(row.result, macros.Rename(row.newName));
        EXPECT_EQ(row.current, macros.Current());
        EXPECT_EQ((std::vector<std::wstring>{row.current, L"B"}), macros.List().Names());
        EXPECT_EQ(EventsOf(L"A"), FileEvents(folder.MacroPath(row.current)));
        EXPECT_EQ(EventsOf(L"B"), FileEvents(folder.MacroPath(L"B")));
        EXPECT_EQ(row.current == L"Z", !Exists(folder.MacroPath(L"A")));
    }
}

TEST(MacroOperations, ImportAsksBeforeReplacingAndTakesOnlyMacros) {
    enum Source { Macro, Garbage, Count61, BadChecksum };
    struct Row {
        const char* name;
        Source source;
        const wchar_t* title;
        bool answer;
        MacroImportResult result;
        bool asked;
        std::wstring current;
        std::vector<std::wstring> names;
    };
    const auto imported = MacroImportResult::Imported;
    const auto notAMacro = MacroImportResult::NotAMacro;
    const Row rows[] = {
        {"a new title", Macro, L"X", false, imported, false, L"X", {L"A", L"B", L"X"}},
        {"an existing title, declined",
         Macro,
         L"A",
         false,
         MacroImportResult::Declined,
         true,
         L"B",
         {L"A", L"B"}},
        {"an existing title, replaced", Macro, L"A", true, imported, true, L"A", {L"A", L"B"}},
        {"an existing title in another case",
         Macro,
         L"a",
         true,
         imported,
         true,
         L"A",
         {L"A", L"B"}},
        {"garbage", Garbage, L"X", true, notAMacro, false, L"B", {L"A", L"B"}},
        {"a count of 61", Count61, L"X", true, notAMacro, false, L"B", {L"A", L"B"}},
        {"a bad checksum", BadChecksum, L"A", true, notAMacro, false, L"B", {L"A", L"B"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MacroFolder folder;
        const std::wstring source = folder.Outside(std::wstring(row.title) + L".MACRO");
        WriteMacro(source, EventsOf(L"X"));
        const CIniFile ini(source);
        if (row.source == Garbage) {
            std::ofstream(std::filesystem::path(source)) << "not a macro";
        } else if (row.source == Count61) {
            ini.WriteInt(L"Setting", L"Count", 61);
        } else if (row.source == BadChecksum) {
            std::wstring block = ini.ReadString(L"Setting", L"MacroSetting_0", L"", 400);
            block.back() = block.back() == L'0' ? L'1' : L'0';
            ini.WriteString(L"Setting", L"MacroSetting_0", block);
        }
        MacroOperations macros = Prepared(folder, {L"A", L"B"}, L"B");
        bool asked = false;
        EXPECT_EQ(row.result, macros.Import(source, [&](const std::wstring&) {
            asked = true;
            return row.answer;
        }));
        EXPECT_EQ(row.asked, asked);
        EXPECT_EQ(row.current, macros.Current());
        EXPECT_EQ(row.names, macros.List().Names());
        const bool replaced = row.result == imported && row.current == L"A";
        EXPECT_EQ(EventsOf(row.current == L"B" ? L"B" : L"X"), Used(macros.Editor()));
        EXPECT_EQ(EventsOf(replaced ? L"X" : L"A"), FileEvents(folder.MacroPath(L"A")));
    }
}

// New and copied names take the first free number; nothing is added to six macros.
TEST(MacroOperations, AddingNamesAndTheSixMacroLimit) {
    struct Row {
        const char* name;
        std::vector<std::wstring> slots;
        bool copy;
        int times;
        std::optional<std::wstring> added;
        std::size_t longest = 0; // the longest name that fits; 0: any
    };
    const std::vector<std::wstring> six{L"A", L"B", L"C", L"A2", L"B2", L"C2"};
    const Row rows[] = {
        {"new after files 1 and 2", {L"A"}, false, 1, L"Macro3"},
        {"new with six macros", six, false, 1, std::nullopt},
        {"copy twice", {L"A"}, true, 2, L"A copy 2"},
        {"copy with six macros", six, true, 1, std::nullopt},
        {"copy of a long name: cut before a character pair, no blank left at the cut",
         {L"Ab \U0001F600xyz"},
         true,
         1,
         L"Ab copy 1",
         11},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MacroFolder folder;
        WriteMacro(folder.MacroPath(L"Macro1"), {});
        WriteMacro(folder.MacroPath(L"Macro2"), {});
        MacroOperations macros = Prepared(folder, row.slots, L"A");
        std::optional<std::wstring> added;
        for (int i = 0; i < row.times; ++i) {
            macros.Choose(MacroListPosition{0});
            const auto fits = [&](std::wstring_view name) {
                return row.longest == 0 || name.size() <= row.longest;
            };
            added = row.copy ? macros.Copy(fits) : macros.New(L"Macro");
        }
        EXPECT_EQ(row.added, added);
        const std::wstring current = row.added.value_or(L"A");
        EXPECT_EQ(current, macros.Current());
        EXPECT_EQ(EventsOf(row.copy ? L"A" : current), Used(macros.Editor()));
        EXPECT_EQ(Used(macros.Editor()), FileEvents(folder.MacroPath(current)));
        EXPECT_EQ(std::min<int>(row.slots.size() + row.times, MaxMacros), macros.List().Count());
    }
}

TEST(MacroOperations, LoopSwitchAndCount) {
    struct Row {
        const char* name;
        std::wstring current;
        int toggles;
        const wchar_t* typed;
        std::optional<std::wstring> boxShown;
        int loopTime; // in the file afterwards
        bool loopOn;
    };
    const Row rows[] = {
        {"a switch without a macro writes nothing", L"", 1, nullptr, std::nullopt, 0, false},
        {"switched on", L"A", 1, nullptr, std::nullopt, 1, true},
        {"switched on and off", L"A", 2, nullptr, std::nullopt, 0, false},
        {"300 typed becomes 255", L"A", 0, L"300", L"255", 255, false},
        {"12 typed stays", L"A", 0, L"12", std::nullopt, 12, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MacroFolder folder;
        MacroOperations macros = Prepared(folder, {L"A"}, row.current);
        for (int i = 0; i < row.toggles; ++i) {
            EXPECT_EQ(row.current.empty(), !macros.ToggleLoop().has_value());
        }
        if (row.typed) {
            EXPECT_EQ(row.boxShown, macros.SetLoopCount(row.typed));
            macros.SaveAndAnnounce();
        }
        EXPECT_FALSE(Exists(folder.MacroPath(L"")));
        EXPECT_EQ(row.loopTime, MacroFile(folder.MacroPath(L"A")).ReadLoopTime());
        EXPECT_EQ(row.loopOn, macros.LoopOn());
    }
}

// 0x514 carries the "MACRO_LIST" slot, or -1 for a macro that is not listed.
TEST(MacroOperations, ChangesAreAnnouncedWithTheSlot) {
    struct Row {
        const char* name;
        std::wstring current;
        std::function<void(MacroOperations&)> change;
        std::vector<WPARAM> posted;
    };
    const auto save = [](MacroOperations& m) { m.SaveAndAnnounce(); };
    const Row rows[] = {
        {"save behind an empty slot", L"C", save, {2}},
        {"save of a macro no longer listed",
         L"C",
         [](MacroOperations& m) {
             m.List().Remove(L"C");
             m.SaveAndAnnounce();
         },
         {static_cast<WPARAM>(-1)}},
        {"no macro: nothing", L"", save, {}},
        {"delete", L"C", [](MacroOperations& m) { m.Delete(); }, {2}},
        {"copy into the empty slot", L"C", [](MacroOperations& m) { m.Copy(); }, {1}},
    };
    RecorderWindow service(L"V212Hid");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MacroFolder folder;
        MacroOperations macros = Prepared(folder, {L"A", L"", L"C"}, row.current);
        DispatchPending();
        service.Clear();
        row.change(macros);
        DispatchPending();
        std::vector<WPARAM> posted;
        for (const RecorderWindow::Message& m : service.Messages()) {
            EXPECT_EQ(MacroOperations::kMacroChanged, m.message);
            EXPECT_EQ(0, m.lParam);
            posted.push_back(m.wParam);
        }
        EXPECT_EQ(row.posted, posted);
    }
}
