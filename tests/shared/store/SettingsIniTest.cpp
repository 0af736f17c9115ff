#include "shared/store/CDataFolderLock.h"
#include "shared/store/CIniFile.h"
#include "shared/store/LedIni.h"
#include "shared/store/ServiceIni.h"
#include "shared/store/SettingsIni.h"
#include "winlayer/UniqueHandle.h"

#include "StoreTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <string_view>
#include <vector>

namespace {

SettingsRecord Filled(std::uint8_t byte) {
    SettingsRecord record;
    std::memset(&record, byte, sizeof record);
    return record;
}

// Every written field different from its neighbours and from the defaults; texts are zero
// after their end, as a read leaves them.
SettingsRecord Distinctive() {
    SettingsRecord r = Filled(0);
    std::int32_t next = 100;
    for (std::int32_t* field : {&r.LeftCount,
                                &r.RightCount,
                                &r.MouseButtons,
                                &r.Profile,
                                &r.TrayEnabled,
                                &r.GroupDPI,
                                &r.Link,
                                &r.MouseSensitivity,
                                &r.AccelerationEnabled,
                                &r.LedStateOn,
                                &r.LedColor,
                                &r.DPI,
                                &r.PollingRate,
                                &r.DoubleClickSpeed,
                                &r.UniversalScrollEnabled,
                                &r.WheelScrollLines,
                                &r.LedMode,
                                &r.LedMode2,
                                &r.LedMode3,
                                &r.LedMode4,
                                &r.Acceleration,
                                &r.FWVersion}) {
        *field = -(next++);
    }
    for (auto* values : {&r.MULTIPOS, &r.SHOWSLIDER, &r.SELSLODER}) {
        for (std::int32_t& v : *values) {
            v = next++;
        }
    }
    for (auto& stage : r.DPI_INFO) {
        for (std::int32_t& v : stage) {
            v = next++ * 1000;
        }
    }
    for (auto& mode : r.LED_MODE_INFO) {
        for (std::int32_t& v : mode) {
            v = -next++;
        }
    }
    for (std::size_t i = 0; i < r.MULTILED_INFO.size(); ++i) {
        r.MULTILED_INFO[i] = static_cast<std::uint8_t>(255 - i);
    }
    for (int b = 0; b < kButtonCount; ++b) {
        auto* bytes = reinterpret_cast<std::uint8_t*>(&r.ButtonAssigned[b]);
        for (std::size_t i = 0; i < sizeof(ButtonAssignment); ++i) {
            bytes[i] = static_cast<std::uint8_t>(i * 7 + b * 31);
        }
    }
    const std::wstring_view name = L"Gäme Профиль 速い";
    name.copy(r.ProfileName.data(), name.size());
    const std::wstring_view link = L"C:\\Games\\Ünï\\game.exe";
    link.copy(r.LinkName.data(), link.size());
    return r;
}

// Compares everything the files hold: the whole record but its reserved tail.
void ExpectSameWrittenFields(const SettingsRecord& expected, const SettingsRecord& actual) {
    EXPECT_EQ(0, std::memcmp(&expected, &actual, offsetof(SettingsRecord, Reserved)));
    for (int b = 0; b < kButtonCount; ++b) {
        EXPECT_EQ(0, std::memcmp(&expected.ButtonAssigned[b], &actual.ButtonAssigned[b],
                                 sizeof(ButtonAssignment)))
            << "button " << b + 1;
    }
}

// The second version that the writer in a loop stores.
SettingsRecord Changed() {
    SettingsRecord changed = Distinctive();
    changed.ButtonAssigned[7].Text[0] = L'Z';
    changed.ProfileName[0] = L'Q';
    return changed;
}

constexpr wchar_t kWriterSwitch[] = L"--store-in-a-loop";

// Started with kWriterSwitch, the settings file and an event's name, this program is a second
// program that stores the two versions in turn until it is ended; the event is set once it
// stores.
const bool kRunsAsWriter = [] {
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    const bool writer =
        args != nullptr && count == 4 && std::wstring_view(args[1]) == kWriterSwitch;
    if (writer) {
        const std::wstring path = args[2];
        const HANDLE started = OpenEventW(EVENT_MODIFY_STATE, FALSE, args[3]);
        const SettingsRecord versions[] = {Distinctive(), Changed()};
        for (int i = 0;; ++i) {
            SettingsIni_Write(versions[i % 2], path);
            SetEvent(started);
        }
    }
    LocalFree(args);
    return writer;
}();

const std::wstring kMissing = L"<missing>";

class SettingsIniTest : public ::testing::Test {
protected:
    TempFolder folder_;
    std::wstring path_ = folder_.File(L"Mouse.ini");
    CIniFile ini_{path_};

    bool Has(const wchar_t* section, const std::wstring& key) const {
        return ini_.ReadString(section, key, kMissing) != kMissing;
    }
};

} // namespace

TEST_F(SettingsIniTest, RecordWrittenAndReadBackIsEqual) {
    const SettingsRecord written = Distinctive();
    ASSERT_EQ(1, SettingsIni_Write(written, path_));
    SettingsRecord read = Filled(0x5A);
    read.Reserved = written.Reserved;
    EXPECT_EQ(1, SettingsIni_Read(read, path_, -1));
    ExpectSameWrittenFields(written, read);

    // The same through a file that exists already.
    const SettingsRecord changed = Changed();
    ASSERT_EQ(1, SettingsIni_WriteAll(changed, path_));
    EXPECT_EQ(1, SettingsIni_Read(read, path_, -1));
    ExpectSameWrittenFields(changed, read);

    // The same while the other program stores its settings in a loop. The platform rewrites the
    // file in place, emptying it first; every writer of ours holds the data folder's lock
    // meanwhile. Every read is whole, one version or the other, and none fails.
    const std::string changedBytes = ReadFileBytes(path_);
    ASSERT_EQ(1, SettingsIni_Write(written, path_));
    const std::string versions[] = {changedBytes, ReadFileBytes(path_)};
    std::atomic<bool> writing = true;
    std::thread writer([&] {
        for (int i = 0; writing; ++i) {
            const CDataFolderLock lock;
            WriteFileBytes(path_, "");
            Sleep(1);
            WriteFileBytes(path_, versions[i % 2]);
        }
    });
    int wrong = 0;
    for (int i = 0; i < 40; ++i) {
        read = Filled(0x5A);
        read.Reserved = written.Reserved;
        const int result = SettingsIni_Read(read, path_, -1);
        const auto same = [&](const SettingsRecord& expected) {
            return std::memcmp(&expected, &read, offsetof(SettingsRecord, Reserved)) == 0;
        };
        wrong += result == 1 && (same(written) || same(changed)) ? 0 : 1;
    }
    writing = false;
    writer.join();
    EXPECT_EQ(0, wrong);

    // The other program killed at a random moment of its stores, as by a crash, the task
    // manager or a power cut: the file holds one version or the other, whole, with the lines of
    // the lists that the record does not own.
    ASSERT_TRUE(ini_.WriteString(L"PROFILE_LIST", L"game.exe", L"Game"));
    ASSERT_TRUE(ini_.WriteString(L"MACRO_LIST", L"0", L"Combo"));
    ASSERT_EQ(1, SettingsIni_Write(changed, path_));
    const std::string changedWithLists = ReadFileBytes(path_);
    ASSERT_EQ(1, SettingsIni_Write(written, path_));
    const std::string writtenWithLists = ReadFileBytes(path_);
    const std::wstring eventName = L"V212StoreWriter" + std::to_wstring(GetCurrentProcessId());
    const winlayer::UniqueHandle started(CreateEventW(nullptr, FALSE, FALSE, eventName.c_str()));
    std::wstring program(MAX_PATH, L'\0');
    program.resize(GetModuleFileNameW(nullptr, program.data(), MAX_PATH));
    constexpr int kKills = 50;
    int damaged = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        std::wstring command =
            L"\"" + program + L"\" " + kWriterSwitch + L" \"" + path_ + L"\" " + eventName;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0,
                                   nullptr, nullptr, &startup, &process));
        const winlayer::UniqueHandle child(process.hProcess);
        CloseHandle(process.hThread);
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(started.Get(), 60000));
        Sleep(static_cast<DWORD>(kill * 7 % 23));
        TerminateProcess(child.Get(), 1);
        WaitForSingleObject(child.Get(), INFINITE);
        const std::string bytes = ReadFileBytes(path_);
        damaged += bytes == writtenWithLists || bytes == changedWithLists ? 0 : 1;
    }
    EXPECT_EQ(0, damaged) << "of " << kKills;
}

TEST_F(SettingsIniTest, ThreadsThatReadUnderTheLockEndCleanly) {
    // A reader thread ends after its read, as a mouse's input thread does when the mouse is
    // unplugged, while others allocate: nothing the lock left on the ending thread may be
    // freed twice or after its storage went.
    ASSERT_EQ(1, SettingsIni_Write(Distinctive(), path_));
    std::atomic<bool> allocating = true;
    std::vector<std::thread> allocators;
    for (int i = 0; i < 4; ++i) {
        allocators.emplace_back([&] {
            while (allocating) {
                std::vector<std::wstring> churn(64, std::wstring(40, L'x'));
                churn.resize(8);
            }
        });
    }
    int read = 0;
    for (int round = 0; round < 25; ++round) {
        std::vector<std::thread> readers;
        std::atomic<int> done = 0;
        for (int i = 0; i < 12; ++i) {
            readers.emplace_back([&] { done += ini_.ReadInt(L"Setting", L"Profile", 0) != 0; });
        }
        for (std::thread& reader : readers) {
            reader.join();
        }
        read += done;
    }
    allocating = false;
    for (std::thread& allocator : allocators) {
        allocator.join();
    }
    EXPECT_EQ(read, 25 * 12);
}

TEST_F(SettingsIniTest, MissingKeysReadAsTheirDefaults) {
    SettingsRecord record = Filled(0x5A);
    const SettingsRecord before = record;
    EXPECT_EQ(1, SettingsIni_Read(record, folder_.File(L"none.ini"), -1));
    EXPECT_EQ(0, record.Profile);
    EXPECT_EQ(0, record.LeftCount);
    EXPECT_EQ(0, record.RightCount);
    EXPECT_EQ(0, record.Link);
    EXPECT_EQ(-1, record.GroupDPI);
    EXPECT_EQ(L'\0', record.ProfileName[0]);
    EXPECT_EQ(L'\0', record.LinkName[0]);
    for (std::int32_t v :
         {record.TrayEnabled, record.MouseButtons, record.PollingRate, record.WheelScrollLines,
          record.MouseSensitivity, record.DoubleClickSpeed, record.AccelerationEnabled,
          record.Acceleration, record.UniversalScrollEnabled, record.MULTIPOS[0],
          record.SHOWSLIDER[6], record.SELSLODER[3], record.DPI, record.LedStateOn, record.LedColor,
          record.LedMode, record.LedMode4, record.FWVersion}) {
        EXPECT_EQ(-1, v);
    }
    // Structures keep what the record held.
    EXPECT_EQ(before.DPI_INFO, record.DPI_INFO);
    EXPECT_EQ(before.LED_MODE_INFO, record.LED_MODE_INFO);
    EXPECT_EQ(before.MULTILED_INFO, record.MULTILED_INFO);
    EXPECT_EQ(0, std::memcmp(&before.ButtonAssigned, &record.ButtonAssigned,
                             sizeof record.ButtonAssigned));
}

TEST_F(SettingsIniTest, ProfileComesFromTheFileOnlyForIndexMinusOne) {
    ASSERT_TRUE(ini_.WriteInt(L"Setting", L"Profile", 2));
    SettingsRecord record = Filled(0);
    SettingsIni_Read(record, path_, 3);
    EXPECT_EQ(3, record.Profile);
    SettingsIni_Read(record, path_, -1);
    EXPECT_EQ(2, record.Profile);
    ASSERT_TRUE(ini_.WriteInt(L"Setting", L"Profile", -1));
    SettingsIni_Read(record, path_, -1);
    EXPECT_EQ(0, record.Profile);
}

TEST_F(SettingsIniTest, FileFormatMatchesTheExpectedFile) {
    SettingsRecord record = Filled(0);
    SettingsRecord_Reset(record);
    ASSERT_EQ(1, SettingsRecord_FillDefaults(record, 0));
    ASSERT_EQ(1, SettingsIni_Write(record, path_));

    const std::vector<std::wstring> actual = ReadIniLines(path_);
    const std::vector<std::wstring> expected =
        ReadIniLines(std::wstring(STORE_TEST_DATA_DIR) + L"FilledSettings.ini");
    ASSERT_FALSE(expected.empty());
    for (std::size_t i = 0; i < std::max(actual.size(), expected.size()); ++i) {
        ASSERT_EQ(i < expected.size() ? expected[i] : L"<end>",
                  i < actual.size() ? actual[i] : L"<end>")
            << "line " << i + 1;
    }
}

TEST_F(SettingsIniTest, WriteLeavesTheKeysOfTheOtherProgramsInPlace) {
    ASSERT_TRUE(ini_.WriteInt(L"Setting", L"Device", 1));
    ASSERT_TRUE(ini_.WriteString(L"Setting", L"AutoProfile", L"Game"));
    ASSERT_TRUE(ini_.WriteInt(L"Setting", L"MouseID", 7));
    ASSERT_TRUE(ini_.WriteInt(L"PROFILE_LIST", L"ProfileCount", 2));
    ASSERT_TRUE(ini_.WriteString(L"PROFILE_LIST", L"0", L"C:\\game.exe"));
    ASSERT_TRUE(ini_.WriteString(L"PROFILE_LIST", L"C:\\game.exe", L"Game"));
    ASSERT_TRUE(ini_.WriteString(L"MACRO_LIST", L"3", L"Combo"));

    ASSERT_EQ(1, SettingsIni_WriteAll(Distinctive(), path_));

    EXPECT_EQ(1, ServiceIni_ReadDevice(path_));
    EXPECT_EQ(L"Game", ini_.ReadString(L"Setting", L"AutoProfile", L""));
    EXPECT_EQ(7, ini_.ReadInt(L"Setting", L"MouseID", 0));
    EXPECT_EQ(2, ini_.ReadInt(L"PROFILE_LIST", L"ProfileCount", 0));
    EXPECT_EQ(L"C:\\game.exe", ini_.ReadString(L"PROFILE_LIST", L"0", L""));
    EXPECT_EQ(L"Game", ini_.ReadString(L"PROFILE_LIST", L"C:\\game.exe", L""));
    EXPECT_EQ(L"Combo", ini_.ReadString(L"MACRO_LIST", L"3", L""));
}

TEST_F(SettingsIniTest, LoadAndRewriteCompletesAFileHoldingOnlyTheTraySwitch) {
    WriteFileBytes(path_, "[Setting]\r\nTrayEnabled=1\r\n");
    SettingsRecord record = Filled(0);
    SettingsRecord_Reset(record);
    ASSERT_EQ(1, SettingsIni_LoadAndRewrite(record, path_, -1));

    EXPECT_EQ(1, ini_.ReadInt(L"Setting", L"TrayEnabled", 0));
    EXPECT_EQ(0, ini_.ReadInt(L"Setting", L"Profile", -2));
    EXPECT_EQ(0, ini_.ReadInt(L"Setting", L"LeftCount", -2));
    EXPECT_EQ(0, ini_.ReadInt(L"Setting", L"RightCount", -2));
    EXPECT_EQ(0, ini_.ReadInt(L"GROUP", L"Link", -2));
    EXPECT_TRUE(Has(L"GROUP", L"ProfileName"));
    EXPECT_TRUE(Has(L"GROUP", L"LinkName"));
    for (const wchar_t* key : {L"MouseButtons",
                               L"PollingRate",
                               L"WheelScrollLines",
                               L"MouseSensitivity",
                               L"DoubleClickSpeed",
                               L"AccelerationEnabled",
                               L"Acceleration",
                               L"UniversalScrollEnabled",
                               L"MULTIPOS1",
                               L"MULTIPOS7",
                               L"SHOWSLIDER4",
                               L"SELSLODER7",
                               L"DPI",
                               L"LedStateOn",
                               L"LedColor",
                               L"LedMode",
                               L"LedMode2",
                               L"LedMode3",
                               L"LedMode4",
                               L"FWVersion"}) {
        EXPECT_EQ(-1, ini_.ReadInt(L"Setting", key, -2)) << key;
    }
    EXPECT_EQ(-1, ini_.ReadInt(L"GROUP", L"DPI", -2));
    for (int i = 1; i <= 4; ++i) {
        EXPECT_TRUE(Has(L"Setting", L"DPI_INFO" + std::to_wstring(i)));
        EXPECT_TRUE(Has(L"Setting", L"LED_MODE_INFO" + std::to_wstring(i)));
    }
    EXPECT_TRUE(Has(L"Setting", L"MULTILED_INFO"));
    for (int i = 1; i <= 8; ++i) {
        EXPECT_TRUE(Has(L"GROUP", L"ButtonAssigned" + std::to_wstring(i)));
    }
}

TEST_F(SettingsIniTest, LongNamesAreCutToTheirFields) {
    ASSERT_TRUE(ini_.WriteString(L"GROUP", L"ProfileName", std::wstring(600, L'p')));
    ASSERT_TRUE(ini_.WriteString(L"GROUP", L"LinkName", std::wstring(300, L'l')));
    SettingsRecord record = Filled(0x5A);
    const SettingsRecord before = record;
    SettingsIni_Read(record, path_, -1);

    EXPECT_EQ(std::wstring(519, L'p'), std::wstring(record.ProfileName.data()));
    EXPECT_EQ(std::wstring(259, L'l'), std::wstring(record.LinkName.data()));
    EXPECT_EQ(0, std::memcmp(&before.ButtonAssigned, &record.ButtonAssigned,
                             sizeof record.ButtonAssigned));
}

TEST_F(SettingsIniTest, LineBreaksInNamesDoNotAddLines) {
    SettingsRecord record = Distinctive();
    record.Profile = 1;
    const std::wstring_view evil = L"Evil\r\n[Setting]\r\nProfile=4\r\n[GROUP]\r\nDPI=9";
    record.ProfileName.fill(L'\0');
    evil.copy(record.ProfileName.data(), evil.size());
    ASSERT_EQ(1, SettingsIni_Write(record, path_));

    SettingsRecord read = Filled(0);
    SettingsIni_Read(read, path_, -1);
    EXPECT_EQ(1, read.Profile);
    EXPECT_EQ(record.GroupDPI, read.GroupDPI);
    EXPECT_EQ(L"Evil[Setting]Profile=4[GROUP]DPI=9", std::wstring(read.ProfileName.data()));
}

TEST_F(SettingsIniTest, FailedWritesReturnZero) {
    const std::wstring unreachable = folder_.File(L"gone\\Mouse.ini");
    const SettingsRecord record = Distinctive();
    EXPECT_EQ(0, SettingsIni_Write(record, unreachable));
    EXPECT_EQ(0, SettingsIni_WriteAll(record, unreachable));
    EXPECT_EQ(0, ProfileIni_WriteGroups(record, 0, unreachable));
    EXPECT_EQ(0, LedIni_Write(record, unreachable));
    EXPECT_EQ(0, ServiceIni_WriteProfile(unreachable, 1));
    EXPECT_EQ(0, ServiceIni_WriteButtonCounts(unreachable, 1, 2));
    EXPECT_EQ(0, ServiceIni_WriteFWVersion(unreachable, 1));
    EXPECT_EQ(0, ServiceIni_WriteDevice(unreachable, 1));
    EXPECT_EQ(0, ServiceIni_WritePollingRate(1, unreachable));

    SettingsRecord copy = record;
    EXPECT_EQ(0, SettingsIni_LoadAndRewrite(copy, unreachable, -1));
}

TEST_F(SettingsIniTest, MalformedButtonEntryIsNotTaken) {
    SettingsRecord record = Distinctive();
    ASSERT_EQ(1, SettingsIni_Write(record, path_));
    std::wstring value = ini_.ReadString(L"GROUP", L"ButtonAssigned3", L"");
    value.back() = value.back() == L'0' ? L'1' : L'0';
    ASSERT_TRUE(ini_.WriteString(L"GROUP", L"ButtonAssigned3", value));
    ASSERT_TRUE(ini_.WriteString(L"GROUP", L"ButtonAssigned5", value.substr(2)));

    SettingsRecord read = Filled(0x5A);
    SettingsIni_Read(read, path_, -1);
    EXPECT_EQ(0x5A, read.ButtonAssigned[2].FunctionCode);
    EXPECT_EQ(0x5A, read.ButtonAssigned[4].Data[7]);
    EXPECT_EQ(0, std::memcmp(&record.ButtonAssigned[3], &read.ButtonAssigned[3],
                             sizeof(ButtonAssignment)));
}

TEST_F(SettingsIniTest, DamagedFilesLoadAndAssignClampsTheirValues) {
    SettingsRecord good = Distinctive();
    ASSERT_EQ(1, SettingsIni_Write(good, path_));
    const std::string whole = ReadFileBytes(path_);

    std::string garbage;
    for (int i = 0; i < 20000; ++i) {
        garbage.push_back(static_cast<char>((i * 7919) % 251));
    }
    const std::string inputs[] = {
        whole.substr(0, whole.size() / 2),
        whole.substr(0, whole.size() / 2 + 1),
        garbage,
        "[Setting]\r\nProfile=-5\r\nMouseButtons=99999999999\r\nTrayEnabled=7\r\nPollingRate=abc"
        "\r\nDPI_INFO1=" +
            std::string(100000, 'F') + "\r\n[GROUP]\r\nProfileName=" + std::string(70000, 'n'),
        "[Setting",
        "=\r\n[]\r\n=x\r\n[GROUP]\r\nButtonAssigned1=\r\n",
    };
    for (const std::string& input : inputs) {
        WriteFileBytes(path_, input);
        SettingsRecord read = Filled(0);
        SettingsRecord_Reset(read);
        EXPECT_EQ(1, SettingsIni_LoadAndRewrite(read, path_, -1));
        SettingsRecord working;
        SettingsRecord_Assign(working, read);
        EXPECT_LT(static_cast<std::uint32_t>(working.Profile), 5u);
        EXPECT_GE(working.MouseButtons, 1);
        EXPECT_LE(working.MouseButtons, 8);
        EXPECT_TRUE(working.TrayEnabled == 0 || working.TrayEnabled == 1);
        EXPECT_GE(working.PollingRate, 1);
        EXPECT_LE(working.PollingRate, 8);
        EXPECT_EQ(L'\0', working.ProfileName[519]);
        for (const ButtonAssignment& entry : working.ButtonAssigned) {
            EXPECT_TRUE(IsValidButtonFunctionCode(entry.FunctionCode));
        }
    }
}

TEST_F(SettingsIniTest, ServiceKeysAreWrittenAndReadOneByOne) {
    ASSERT_EQ(1, ServiceIni_WriteProfile(path_, 3));
    ASSERT_EQ(1, ServiceIni_WriteButtonCounts(path_, 11, 12));
    ASSERT_EQ(1, ServiceIni_WriteFWVersion(path_, 258));
    ASSERT_EQ(1, ServiceIni_WritePollingRate(4, path_));
    EXPECT_EQ(0, ServiceIni_ReadDevice(path_));
    ASSERT_EQ(1, ServiceIni_WriteDevice(path_, 1));
    EXPECT_EQ(1, ServiceIni_ReadDevice(path_));

    SettingsRecord record = Filled(0);
    SettingsIni_Read(record, path_, -1);
    EXPECT_EQ(3, record.Profile);
    EXPECT_EQ(11, record.LeftCount);
    EXPECT_EQ(12, record.RightCount);
    EXPECT_EQ(258, record.FWVersion);
    EXPECT_EQ(4, record.PollingRate);

    record.TrayEnabled = 5;
    record.UniversalScrollEnabled = 5;
    ServiceIni_ReadTrayFlags(record, path_);
    EXPECT_EQ(-1, record.TrayEnabled);
    EXPECT_EQ(-1, record.UniversalScrollEnabled);

    const SettingsRecord stages = Distinctive();
    ASSERT_EQ(1, SettingsIni_Write(stages, path_));
    ServiceIni_ReadTrayFlags(record, path_);
    EXPECT_EQ(stages.TrayEnabled, record.TrayEnabled);
    EXPECT_EQ(stages.UniversalScrollEnabled, record.UniversalScrollEnabled);
    ServiceIni_ReadDpiInfo(record, path_);
    EXPECT_EQ(stages.DPI_INFO, record.DPI_INFO);
}

TEST_F(SettingsIniTest, ProfileGroupsUseNumberedSections) {
    const SettingsRecord record = Distinctive();
    ASSERT_EQ(1, ProfileIni_WriteGroups(record, 2, path_));
    EXPECT_FALSE(Has(L"GROUP", L"DPI"));
    EXPECT_EQ(record.GroupDPI, ini_.ReadInt(L"GROUP2", L"DPI", 0));

    SettingsRecord read = Filled(0);
    ProfileIni_ReadGroups(read, 2, path_);
    EXPECT_EQ(record.GroupDPI, read.GroupDPI);
    EXPECT_EQ(record.ProfileName, read.ProfileName);
    EXPECT_EQ(
        0, std::memcmp(&record.ButtonAssigned, &read.ButtonAssigned, sizeof read.ButtonAssigned));
}

TEST_F(SettingsIniTest, LightingFileCarriesTheLightingKeys) {
    const std::wstring ledPath = folder_.File(L"Colours.LED");
    const SettingsRecord record = Distinctive();
    ASSERT_EQ(1, LedIni_Write(record, ledPath));
    const CIniFile led(ledPath);
    EXPECT_EQ(record.LedStateOn, led.ReadInt(L"Setting", L"LEDOn", 0));
    EXPECT_EQ(record.LedMode, led.ReadInt(L"Setting", L"LLedMode1", 0));
    EXPECT_EQ(kMissing, led.ReadString(L"Setting", L"DPI_INFO1", kMissing));

    SettingsRecord read = Filled(0x5A);
    ASSERT_EQ(1, LedIni_Read(read, ledPath));
    EXPECT_EQ(record.LedStateOn, read.LedStateOn);
    EXPECT_EQ(record.LedColor, read.LedColor);
    EXPECT_EQ(record.LedMode, read.LedMode);
    EXPECT_EQ(record.LedMode2, read.LedMode2);
    EXPECT_EQ(record.LedMode3, read.LedMode3);
    EXPECT_EQ(record.LedMode4, read.LedMode4);
    EXPECT_EQ(record.MULTIPOS, read.MULTIPOS);
    EXPECT_EQ(record.SHOWSLIDER, read.SHOWSLIDER);
    EXPECT_EQ(record.SELSLODER, read.SELSLODER);
    EXPECT_EQ(record.MULTILED_INFO, read.MULTILED_INFO);
    EXPECT_EQ(record.LED_MODE_INFO, read.LED_MODE_INFO);
    EXPECT_EQ(Filled(0x5A).DPI_INFO, read.DPI_INFO);
    EXPECT_EQ(Filled(0x5A).DPI, read.DPI);

    // The reader also takes DPI stages that a lighting file holds.
    const auto* stage = reinterpret_cast<const std::uint8_t*>(record.DPI_INFO[1].data());
    ASSERT_TRUE(led.WriteStruct(L"Setting", L"DPI_INFO2", {stage, sizeof record.DPI_INFO[1]}));
    LedIni_Read(read, ledPath);
    EXPECT_EQ(record.DPI_INFO[1], read.DPI_INFO[1]);

    SettingsRecord empty = Filled(0x5A);
    LedIni_Read(empty, folder_.File(L"none.LED"));
    EXPECT_EQ(0, empty.LedStateOn);
    EXPECT_EQ(0, empty.LedColor);
    EXPECT_EQ(0, empty.LedMode4);
    EXPECT_EQ(-1, empty.MULTIPOS[0]);
    EXPECT_EQ(-1, empty.SELSLODER[6]);
    EXPECT_EQ(Filled(0x5A).MULTILED_INFO, empty.MULTILED_INFO);
}
