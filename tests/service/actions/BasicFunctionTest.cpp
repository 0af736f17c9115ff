// The exact key events and pauses of every action, and the programs that actions start, against
// the recording system.

#include "service/CBasicFunction.h"
#include "tests/service/actions/CRecordingActionSystem.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using Key = CRecordingActionSystem::Key;
using Shell = CRecordingActionSystem::Shell;
using Keys = std::vector<Key>;

constexpr DWORD kDown = 1;
constexpr DWORD kUp = 3;

// The expected events of the three timing patterns and the two held sequences, with the time
// the whole sequence takes (no pause after the last event).
struct Expected {
    Keys Events;
    DWORD Duration;
};

Expected Combination(BYTE modifier, BYTE key) {
    return {{{0, modifier, kDown}, {50, key, kDown}, {100, key, kUp}, {150, modifier, kUp}}, 150};
}
Expected Held(BYTE modifier, BYTE key) {
    return {{{0, modifier, kDown}, {50, key, kDown}, {150, key, kUp}, {200, modifier, kUp}}, 200};
}
Expected Tap(BYTE key) {
    return {{{0, key, kDown}, {50, key, kUp}}, 50};
}
Expected Instant(BYTE key) {
    return {{{0, key, kDown}, {0, key, kUp}}, 0};
}

struct KeyAction {
    std::uint8_t Code;
    Expected Sequence;
};

// Key codes as numbers, so that a wrong constant (the left Control key, the generic Alt key)
// shows up here.
const std::vector<KeyAction> kKeyActions = {
    {64, Combination(0x11, 0x58)},                      // Ctrl+X
    {65, Combination(0x11, 0x43)},                      // Ctrl+C
    {66, Combination(0x11, 0x56)},                      // Ctrl+V
    {67, Combination(0x11, 0x5A)},                      // Ctrl+Z
    {68, Combination(0x11, 0x41)},                      // Ctrl+A
    {69, Combination(0x11, 0x46)},                      // Ctrl+F
    {70, Combination(0x11, 0x4E)},                      // Ctrl+N
    {71, Combination(0x11, 0x50)},                      // Ctrl+P
    {72, Combination(0x11, 0x53)},                      // Ctrl+S
    {80, Combination(0xA4, 0x09)},                      // Alt+Tab
    {81, Combination(0xA4, 0x73)},                      // Alt+F4
    {83, Combination(0x5B, 0x45)},                      // Win+E
    {84, Combination(0x5B, 0x52)},                      // Win+R
    {85, Combination(0x5B, 0x44)},                      // Win+D
    {124, Instant(0xAB)},                               // favourites
    {125, Instant(0xA7)},                               // forward
    {126, Instant(0xA6)},                               // back
    {127, Instant(0xA9)},                               // stop
    {128, Instant(0xA8)},                               // refresh
    {132, {{{0, 0x2C, kDown}, {100, 0x2C, kUp}}, 100}}, // Print Screen
    {133, Held(0xA4, 0x2C)},                            // Alt+Print Screen
    {135, Combination(0x5B, 0x46)},                     // Win+F
    {136, Tap(0x5B)},                                   // Win
    {137, Combination(0x5B, 0x44)},                     // Win+D again
    {138, Held(0x5B, 0x09)},                            // Win+Tab
};

TEST(BasicFunctionKeys, EveryKeyActionCodeSendsItsExactSequence) {
    for (const KeyAction& action : kKeyActions) {
        SCOPED_TRACE(testing::Message() << "code " << int{action.Code});
        CRecordingActionSystem system;
        EXPECT_TRUE(CBasicFunction(system).Perform(action.Code));
        EXPECT_EQ(system.Keys(), action.Sequence.Events);
        EXPECT_EQ(system.Now(), action.Sequence.Duration);
        EXPECT_TRUE(system.Shells().empty());
        EXPECT_EQ(system.Locks(), 0);
    }
}

TEST(BasicFunctionKeys, CodesWithoutAnOperationDoNothing) {
    for (int code :
         {0, 1, 23, 24, 63, 73, 79, 86, 99, 118, 119, 121, 129, 131, 134, 140, 141, 255}) {
        SCOPED_TRACE(testing::Message() << "code " << code);
        CRecordingActionSystem system;
        EXPECT_FALSE(CBasicFunction(system).Perform(static_cast<std::uint8_t>(code)));
        EXPECT_TRUE(system.NothingDone());
        EXPECT_TRUE(system.RegistryReads().empty());
        EXPECT_EQ(system.Now(), 0u);
    }
}

struct Operation {
    const char* Name;
    std::function<void(CBasicFunction&)> Run;
    Expected Sequence;
};

TEST(BasicFunctionKeys, OperationsThatNoCodeSelects) {
    const std::vector<Operation> operations = {
        {"SendDelete", &CBasicFunction::SendDelete, Tap(0x2E)},
        {"SendF3", &CBasicFunction::SendF3, Instant(0x72)},
        {"SendTab", &CBasicFunction::SendTab, Tap(0x09)},
        {"HoldAltTab",
         &CBasicFunction::HoldAltTab,
         {{{0, 0xA4, kDown}, {50, 0x09, kDown}, {100, 0x09, kUp}}, 100}},
        {"ReleaseAlt", &CBasicFunction::ReleaseAlt, {{{0, 0xA4, kUp}}, 0}},
        {"SendCtrlWinTab",
         &CBasicFunction::SendCtrlWinTab,
         {{{0, 0x11, kDown},
           {50, 0x5B, kDown},
           {100, 0x09, kDown},
           {150, 0x09, kUp},
           {200, 0x5B, kUp},
           {250, 0x11, kUp}},
          250}},
        {"OpenMailClient(false)", [](CBasicFunction& f) { f.OpenMailClient(false); },
         Instant(0xB4)},
    };
    for (const Operation& operation : operations) {
        SCOPED_TRACE(operation.Name);
        CRecordingActionSystem system;
        CBasicFunction function(system);
        operation.Run(function);
        EXPECT_EQ(system.Keys(), operation.Sequence.Events);
        EXPECT_EQ(system.Now(), operation.Sequence.Duration);
        EXPECT_TRUE(system.RegistryReads().empty());
    }
}

TEST(BasicFunctionPrograms, LockingCallsTheSystemDirectly) {
    CRecordingActionSystem system;
    EXPECT_TRUE(CBasicFunction(system).Perform(82));
    EXPECT_EQ(system.Locks(), 1);
    // Nothing is started by name from the search path.
    EXPECT_TRUE(system.Shells().empty());
    EXPECT_TRUE(system.Keys().empty());
}

TEST(BasicFunctionPrograms, ProgramsStartThroughTheShell) {
    struct Case {
        std::uint8_t Code;
        std::wstring File;
    };
    for (const Case& c : {Case{120, L"D:\\Apps\\V212 Mouse\\config.exe"}, Case{122, L"calc.exe"},
                          Case{139, L"taskmgr.exe"}}) {
        SCOPED_TRACE(testing::Message() << "code " << int{c.Code});
        CRecordingActionSystem system;
        system.SetModuleFileName(L"D:\\Apps\\V212 Mouse\\tolvane.exe");
        EXPECT_TRUE(CBasicFunction(system).Perform(c.Code));
        EXPECT_EQ(system.Shells(), (std::vector<Shell>{{0, c.File, SW_SHOW}}));
        EXPECT_TRUE(system.Keys().empty());
    }
}

TEST(BasicFunctionPrograms, ConfigProgramNeedsAFolder) {
    CRecordingActionSystem system;
    system.SetModuleFileName(L"");
    CBasicFunction(system).OpenConfigProgram();
    system.SetModuleFileName(L"tolvane.exe");
    CBasicFunction(system).OpenConfigProgram();
    EXPECT_TRUE(system.NothingDone());
}

} // namespace
