// Reading the mouse back: the order of the reads, a blank mouse, the profile register, macro
// ends, default macros, new macro names, the button slots, and reads that fail.

#include "service/MouseEncoding.h"
#include "service/ServiceMessages.h"
#include "shared/codes/MacroFile.h"
#include "shared/store/CIniFile.h"
#include "tests/service/readback/ReadBackFixture.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>

using namespace hidsim;

namespace {

Bytes BlockReadRequest(std::uint16_t address) {
    Bytes report(64, 0);
    report[0] = 3;
    report[1] = 0xF2;
    report[2] = static_cast<std::uint8_t>(address & 0xFF);
    report[3] = static_cast<std::uint8_t>(address >> 8);
    report[4] = 50;
    return report;
}

// A macro slot as the mouse holds it: the bytes, then zeros.
Bytes Slot(const Bytes& bytes) {
    Bytes slot(200, 0);
    std::copy(bytes.begin(), bytes.end(), slot.begin());
    return slot;
}

std::uint16_t ButtonSlotAddress(int slot) {
    return static_cast<std::uint16_t>(0x40 + 0x42 + 4 * slot);
}

constexpr std::array<std::uint16_t, 6> kMacroAddresses{0x0478, 0x0540, 0x06D0,
                                                       0x0798, 0x0860, 0x0928};

class MouseReadBackTest : public ReadBackTest {
protected:
    void Prepared() { LoadMemory(0, Bytes{1}); }
    void WriteStrings(const std::string& text) {
        std::ofstream(std::filesystem::path(StringsFile()), std::ios::binary) << text;
    }
    int Setting(const wchar_t* key) const {
        return CIniFile(folder_.SettingsFile()).ReadInt(L"Setting", key, -99);
    }
};

TEST_F(MouseReadBackTest, BlankMouseIsPreparedBeforeAnyMacroIsRead) {
    const Bytes junk(200, 0x33);
    for (std::uint16_t address : kMacroAddresses) {
        LoadMemory(address, junk);
    }

    EXPECT_EQ(readBack_.QueryAllFrMouse(), 1);

    const auto transfers = FeatureTransfers();
    std::vector<LogEntry> sent;
    for (const LogEntry& entry : transfers) {
        if (entry.Function == Call::SendFeatureReport) {
            sent.push_back(entry);
        }
    }
    const auto flagRead = std::ranges::find_if(
        sent, [](const LogEntry& entry) { return entry.Bytes == ReadRequest(0x0000, 1); });
    ASSERT_NE(flagRead, sent.end());
    ASSERT_GE(sent.end() - flagRead, 6);
    const Bytes zeros(200, 0);
    EXPECT_EQ(flagRead[1].Bytes, BlockWriteReport(0x0478, zeros));
    EXPECT_EQ(flagRead[2].Bytes, BlockWriteReport(0x0540, zeros));
    EXPECT_EQ(flagRead[3].Bytes, BlockWriteReport(0x06D0, zeros));
    EXPECT_EQ(flagRead[4].Bytes, WriteReport(0x0000, {1}));
    EXPECT_EQ(flagRead[5].Bytes, BlockReadRequest(0x0478));
    EXPECT_GE(flagRead[2].Time - flagRead[1].Time, std::chrono::milliseconds(190));
    EXPECT_GE(flagRead[3].Time - flagRead[2].Time, std::chrono::milliseconds(190));

    EXPECT_EQ(ReadMemory(0, 1), Bytes{1});
    EXPECT_EQ(ReadMemory(0x0798, 200), junk);
    // Cleared slots read back as empty macros; the others as they are.
    EXPECT_EQ(MacroEvents(L"Macro1"), std::vector<MacroEvent>{});
    EXPECT_EQ(MacroEvents(L"Macro3"), std::vector<MacroEvent>{});
    EXPECT_EQ(MacroEvents(L"Macro4").size(), 60u);
    for (int position = 0; position < 6; ++position) {
        EXPECT_EQ(ListedMacro(position), L"Macro" + std::to_wstring(position + 1));
    }
    EXPECT_EQ(posts_, (std::vector<Post>{{kMsgServiceEvent, kEventReadBackDone, 0}}));
}

TEST_F(MouseReadBackTest, PreparedMouseIsNotClearedAgain) {
    Prepared();
    LoadMemory(0x0478, Slot({0x84, 0x04, 0x00, 0x04, 0x04, 0x00}));
    EXPECT_EQ(readBack_.QueryAllFrMouse(), 1);
    for (const Bytes& report : SentFeatureReports()) {
        EXPECT_NE(report[0], 4) << HexOf(report);
        EXPECT_NE(report[1], 0xF3) << HexOf(report);
    }
    EXPECT_EQ(MacroEvents(L"Macro1").size(), 2u);
}

TEST_F(MouseReadBackTest, NonZeroProfileRegisterIsResetBeforeAnythingElse) {
    Prepared();
    LoadMemory(0x2C, Bytes{3, 0});
    EXPECT_EQ(readBack_.QueryAllFrMouse(), 1);
    const auto sent = SentFeatureReports();
    ASSERT_GE(sent.size(), 4u);
    EXPECT_EQ(sent[0], ReadRequest(0x2C, 1));
    EXPECT_EQ(sent[1], WriteReport(0x2C, {0, 0}));
    EXPECT_EQ(sent[2], CommitReport(0x01));
    EXPECT_EQ(sent[3], ReadRequest(0x32, 1));
    EXPECT_EQ(ReadMemory(0x2C, 2), (Bytes{0, 0}));
    EXPECT_EQ(settings_.Profile, 0);
    EXPECT_EQ(Setting(L"Profile"), 0);
}

TEST_F(MouseReadBackTest, SettingsOfTheMouseReachMouseIni) {
    Prepared();
    settings_.FWVersion = 5;
    settings_.DPI_INFO[2] = {0, 16, 16, 16};
    LoadMemory(0x32, Bytes{4});
    LoadMemory(0x2A, Bytes{33});
    LoadMemory(0x42, Bytes{2});
    LoadMemory(0x44, *EncodeDpiStage(121));
    LoadMemory(0x4A, *EncodeDpiStage(84));
    LoadMemory(0x50, Bytes{1, 1, 0, 1, 0}); // no stage value gives code 1
    LoadMemory(0x56, *EncodeDpiStage(7));

    EXPECT_EQ(readBack_.QueryAllFrMouse(), 1);

    EXPECT_EQ(Setting(L"PollingRate"), 4);
    EXPECT_EQ(Setting(L"DoubleClickSpeed"), 33);
    EXPECT_EQ(Setting(L"DPI"), 2);
    EXPECT_EQ(Setting(L"FWVersion"), 0);
    using Stage = std::array<std::int32_t, 4>;
    EXPECT_EQ(settings_.DPI_INFO[0], (Stage{0, 121, 121, 121}));
    EXPECT_EQ(settings_.DPI_INFO[1], (Stage{0, 84, 84, 84}));
    EXPECT_EQ(settings_.DPI_INFO[2], (Stage{0, 16, 16, 16}));
    EXPECT_EQ(settings_.DPI_INFO[3], (Stage{0, 7, 7, 7}));
    Stage stored{};
    ASSERT_TRUE(CIniFile(folder_.SettingsFile())
                    .ReadStruct(L"Setting", L"DPI_INFO1",
                                {reinterpret_cast<std::uint8_t*>(stored.data()), sizeof stored}));
    EXPECT_EQ(stored, (Stage{0, 121, 121, 121}));
}

TEST_F(MouseReadBackTest, ButtonsComeFromTheSlotsTheyAreSentTo) {
    Prepared();
    // Slots 0 to 11, each with its own function.
    const std::array<Bytes, 12> slots{
        Bytes{0x81, 0, 0, 0}, Bytes{0x82, 0, 0, 0}, Bytes{0x91, 0x03, 2, 0}, Bytes{0x85, 0, 0, 0},
        Bytes{0x84, 0, 0, 0}, Bytes{0x88, 0, 0, 0}, Bytes{0x94, 0, 0, 0},    Bytes{0x95, 0, 0, 0},
        Bytes{0x8D, 0, 0, 0}, Bytes{0x89, 0, 0, 0}, Bytes{0x8B, 0, 0, 0},    Bytes{0x8C, 0, 0, 0}};
    for (int slot = 0; slot < 12; ++slot) {
        LoadMemory(ButtonSlotAddress(slot), slots[static_cast<std::size_t>(slot)]);
    }
    for (int position = 0; position < 6; ++position) {
        ListMacro(position, L"P" + std::to_wstring(position));
    }

    EXPECT_EQ(readBack_.QueryAllFrMouse(), 1);

    const std::array<std::uint8_t, 8> expected{1, 2, 6, 10, 11, 14, 48, 49};
    for (std::size_t button = 0; button < expected.size(); ++button) {
        EXPECT_EQ(settings_.ButtonAssigned[button].FunctionCode, expected[button]) << button;
    }
    EXPECT_EQ(settings_.ButtonAssigned[2].Param2, 2);
    EXPECT_EQ(std::wstring(settings_.ButtonAssigned[2].Text.data()), L"P2");
    ButtonAssignment stored{};
    ASSERT_TRUE(CIniFile(folder_.SettingsFile())
                    .ReadStruct(L"GROUP", L"ButtonAssigned7",
                                {reinterpret_cast<std::uint8_t*>(&stored), sizeof stored}));
    EXPECT_EQ(stored.FunctionCode, 48);
}

TEST_F(MouseReadBackTest, MacroEndsAndDefaultMacros) {
    Prepared();
    // The first four positions as the mouse comes with them, position 1 changed in one byte.
    const Bytes builtIn0{0x84, 0x2C, 0x00, 0x84, 0x06, 0x00, 0x06, 0x06, 0x00,
                         0x04, 0x2C, 0x00, 0x06, 0x16, 0x00, 0x04, 0x06};
    const Bytes builtIn1Changed{0x84, 0x1A, 0x00, 0x06, 0x0F, 0x00,
                                0x84, 0xE1, 0x00, 0x06, 0xFF, 0xFE};
    const Bytes builtIn3{0x81, 0x01, 0x00, 0x06, 0x01, 0x00, 0x02,
                         0x00, 0x16, 0x06, 0x0C, 0x00, 0x01, 0x01};
    Bytes sentByService = Slot(builtIn0);
    sentByService[195] = sentByService[196] = sentByService[197] = 0xFF;
    LoadMemory(kMacroAddresses[0], sentByService);
    LoadMemory(kMacroAddresses[1], Slot(builtIn1Changed));
    // Position 2: nothing before the first 00 00 00.
    LoadMemory(kMacroAddresses[2], Slot({0, 0, 0, 0x84, 0x04, 0x00}));
    LoadMemory(kMacroAddresses[3], Slot(builtIn3));
    // Position 4: two events, the FF FF FF end, then bytes that are not events.
    LoadMemory(kMacroAddresses[4],
               Slot({0x84, 0x05, 0x00, 0x04, 0x05, 0x00, 0xFF, 0xFF, 0xFF, 0x84, 0x06, 0x00}));
    // Position 5: sixty events and no end mark within them.
    Bytes full(200, 0);
    for (std::size_t i = 0; i < 180; i += 3) {
        full[i] = 0x06;
        full[i + 1] = static_cast<std::uint8_t>(i / 3 + 1);
    }
    full[180] = 0x84;
    LoadMemory(kMacroAddresses[5], full);
    for (int position = 0; position < 6; ++position) {
        ListMacro(position, L"P" + std::to_wstring(position));
    }
    WriteMacro(L"P1", {MacroEvent::DelayEvent(5)}, 4);

    EXPECT_EQ(readBack_.QueryAllFrMouse(), 1);

    EXPECT_EQ(MacroEvents(L"P0").size(), 6u);
    EXPECT_EQ(MacroEvents(L"P1").size(), 4u);
    EXPECT_EQ(MacroEvents(L"P2").size(), 0u);
    EXPECT_EQ(MacroEvents(L"P3").size(), 5u);
    EXPECT_EQ(MacroEvents(L"P4"), (std::vector<MacroEvent>{MacroEvent::KeyEvent(5, true),
                                                           MacroEvent::KeyEvent(5, false)}));
    EXPECT_EQ(MacroEvents(L"P5").size(), 60u);
    const std::array<int, 6> defaults{1, 0, 0, 1, 0, 0};
    for (int position = 0; position < 6; ++position) {
        const std::wstring name = L"P" + std::to_wstring(position);
        EXPECT_EQ(MacroInt(name, L"IsDef"), defaults[static_cast<std::size_t>(position)])
            << position;
        EXPECT_EQ(CIniFile(MacroPath(name)).ReadString(L"Setting", L"MacroFilePath", L""),
                  MacroPath(name));
    }
    // The loop setting is kept; a new file starts with none.
    EXPECT_EQ(MacroInt(L"P1", L"LoopTime"), 4);
    EXPECT_EQ(MacroInt(L"P0", L"LoopTime"), 0);
    // Events after the end are not part of the macro, not even in the stored block.
    MacroEventBuffer stored{};
    int count = 0;
    ASSERT_TRUE(MacroFile(MacroPath(L"P4")).Read(stored, count));
    EXPECT_TRUE(stored[2].IsEmpty());
    EXPECT_TRUE(stored[3].IsEmpty());
}

TEST_F(MouseReadBackTest, NewMacrosAreNamedFromTheLanguageFile) {
    Prepared();
    WriteStrings("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Strings>\r\n  <BUTTONPAGE>\r\n"
                 "    <NEWMACRO>Makro</NEWMACRO>\r\n  </BUTTONPAGE>\r\n</Strings>\r\n");
    ListMacro(0, L"Keep");
    ListMacro(3, L"Makro2");
    ListMacro(4, L"X4");
    ListMacro(5, L"X5");
    WriteMacro(L"Makro1", {}, 0);

    EXPECT_EQ(readBack_.QueryAllFrMouse(), 1);

    EXPECT_EQ(ListedMacro(0), L"Keep");
    // Makro1 has a file, Makro2 is another position's name.
    EXPECT_EQ(ListedMacro(1), L"Makro3");
    EXPECT_EQ(ListedMacro(2), L"Makro4");
    EXPECT_EQ(ListedMacro(3), L"Makro2");
    EXPECT_EQ(MacroInt(L"Makro3", L"Count"), 0);
    EXPECT_EQ(MacroInt(L"Makro4", L"LoopTime"), 0);
    EXPECT_EQ(MacroInt(L"Makro2", L"IsDef"), 0);
}

TEST_F(MouseReadBackTest, NewMacroNameWithoutUsableLanguageText) {
    for (const std::string& strings :
         {std::string(), std::string("<Strings><TRAY><CONFIG>x</CONFIG></TRAY></Strings>"),
          std::string("<Strings><BUTTONPAGE><NEWMACRO>..\\up</NEWMACRO></BUTTONPAGE></Strings>")}) {
        Prepared();
        std::filesystem::remove(StringsFile());
        if (!strings.empty()) {
            WriteStrings(strings);
        }
        for (int position = 0; position < 6; ++position) {
            ListMacro(position, position == 4 ? L"" : L"Named" + std::to_wstring(position));
        }
        EXPECT_EQ(readBack_.QueryAllFrMouse(), 1);
        EXPECT_EQ(ListedMacro(4), L"Macro1") << strings;
        std::filesystem::remove(MacroPath(L"Macro1"));
    }
    EXPECT_FALSE(std::filesystem::exists(folder_.Path() + L"up1.MACRO"));
}

TEST_F(MouseReadBackTest, ReadFailureAnywhereLeavesEveryFileUntouched) {
    Prepared();
    LoadMemory(0x32, Bytes{4});
    LoadMemory(0x0478, Slot({0x84, 0x04, 0x00, 0x04, 0x04, 0x00}));
    LoadMemory(ButtonSlotAddress(10), Bytes{0x8E, 1, 0xCD, 0});
    for (int position = 0; position < 6; ++position) {
        ListMacro(position, position == 2 ? L"" : L"P" + std::to_wstring(position));
    }
    WriteMacro(L"P0", {MacroEvent::DelayEvent(9)}, 3);
    const auto files = Files();
    const SettingsRecord before = settings_;

    // Gets that fail outright, one after each number of good ones, and a short reply.
    int gets = 0;
    for (int good = 0;; ++good) {
        ClearLog();
        FailNext(Call::GetFeatureReport, 4096, good);
        FailNext(Call::GetFeatureReport, -1);
        const int result = readBack_.QueryAllFrMouse();
        if (result == 1) {
            gets = good;
            break;
        }
        EXPECT_EQ(Files(), files) << "failed get " << good;
        EXPECT_EQ(std::memcmp(&settings_, &before, sizeof settings_), 0) << "failed get " << good;
        EXPECT_TRUE(posts_.empty()) << "failed get " << good;
        for (const Bytes& report : SentFeatureReports()) {
            EXPECT_NE(report[1], 0xF3) << "failed get " << good << ": " << HexOf(report);
        }
    }
    // Profile register, polling rate, five DPI reads, 0x002A, the flag, 24 macro blocks and
    // eight buttons.
    EXPECT_EQ(gets, 41);
    // The failure queued for the get after the last one.
    std::array<std::uint8_t, 1> spent{};
    EXPECT_FALSE(reports_.ReadRegister(0, spent));

    FailNext(Call::GetFeatureReport, 4096, 9);
    FailNext(Call::GetFeatureReport, 20);
    posts_.clear();
    const auto filesAfterOne = Files();
    EXPECT_EQ(readBack_.QueryAllFrMouse(), 0);
    EXPECT_EQ(Files(), filesAfterOne);

    FailNext(Call::SendFeatureReport, -1);
    EXPECT_EQ(readBack_.QueryAllFrMouse(), 0);
    EXPECT_EQ(Files(), filesAfterOne);

    // A non-zero profile register whose reset fails: the second send (its write), then the
    // third (its commit).
    LoadMemory(0x2C, Bytes{3, 0});
    for (int good : {1, 2}) {
        FailNext(Call::SendFeatureReport, 0, good);
        FailNext(Call::SendFeatureReport, -1);
        EXPECT_EQ(readBack_.QueryAllFrMouse(), 0) << "failed send " << good + 1;
        EXPECT_EQ(Files(), filesAfterOne) << "failed send " << good + 1;
    }

    connection_.CloseMouse();
    EXPECT_EQ(readBack_.QueryAllFrMouse(), 0);
    EXPECT_EQ(Files(), filesAfterOne);
    EXPECT_TRUE(posts_.empty());
}

TEST_F(MouseReadBackTest, OneMacroAlone) {
    LoadMemory(kMacroAddresses[3], Slot({0x81, 0x01, 0x00, 0x01, 0x01, 0x00}));
    ListMacro(3, L"");
    FailNext(Call::GetFeatureReport, -1);
    EXPECT_FALSE(readBack_.ReadMacro(3));
    EXPECT_EQ(ListedMacro(3), L"");

    EXPECT_TRUE(readBack_.ReadMacro(3));
    EXPECT_EQ(ListedMacro(3), L"Macro1");
    EXPECT_EQ(MacroEvents(L"Macro1"),
              (std::vector<MacroEvent>{MacroEvent::MouseButtonEvent(1, true),
                                       MacroEvent::MouseButtonEvent(1, false)}));
    EXPECT_FALSE(readBack_.ReadMacro(6));
}

TEST_F(MouseReadBackTest, FailedReadOfTheFlagClearsNoMacro) {
    const Bytes macro = Slot({0x84, 0x04, 0x00, 0x04, 0x04, 0x00});
    LoadMemory(0x0478, macro);
    // The flag is the ninth get.
    FailNext(Call::GetFeatureReport, 4096, 8);
    FailNext(Call::GetFeatureReport, -1);
    EXPECT_EQ(readBack_.QueryAllFrMouse(), 0);
    for (const Bytes& report : SentFeatureReports()) {
        EXPECT_NE(report[0], 4) << HexOf(report);
    }
    EXPECT_EQ(ReadMemory(0x0478, 200), macro);
    EXPECT_EQ(ReadMemory(0, 1), Bytes{0});
}

} // namespace
