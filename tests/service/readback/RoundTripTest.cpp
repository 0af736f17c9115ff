// The round trip: a configuration uploaded into the mouse, read back into the files, and
// uploaded again must reach the mouse byte for byte as the first time.

#include "shared/codes/MacroFile.h"
#include "shared/store/CIniFile.h"
#include "shared/store/SettingsIni.h"
#include "tests/service/readback/ReadBackFixture.h"

#include <cstring>
#include <string>
#include <vector>

using namespace hidsim;

namespace {

struct ButtonSetup {
    std::uint8_t Code;
    std::uint8_t Param1;
    std::uint8_t Param2;
    std::vector<std::uint8_t> Data;
    const wchar_t* Text;
};

struct Configuration {
    const char* Name;
    std::array<ButtonSetup, 8> Buttons;
    std::array<int, 4> Stages;
    int Stage;
    int PollingRate;
    int DoubleClickSpeed;
    int LedColor;
    int LedMode;
};

// Every function kind on some button, every class of DPI stage value (the doubled code 100, the
// lowest and highest of the first range, the second range), lighting.
const std::vector<Configuration> kConfigurations = {
    {"macros, launches, keys",
     {{{6, 3, 0, {}, L"M0"},
       {99,
        1,
        6,
        {0x80, 0xE0, 0x80, 0xE1, 0x80, 0xE2, 0x80, 0xE3, 0x80, 0x04,
         0x00, 0x04, 0x00, 0xE3, 0x00, 0xE2, 0x00, 0xE1, 0x00, 0xE0},
        L""},
       {118, 1, 0, {}, L"C:\\Tools\\run.exe"},
       {141, 1, 0, {}, L"C:\\Users"},
       {140, 1, 0, {}, L"http://example.test/"},
       {9, 5, 30, {0, 0x81}, L""},
       {5, 1, 1, {0x80, 0x2C}, L""},
       {6, 2, 0, {}, L"M4"}}},
     {84, 1, 120, 121},
     2,
     3,
     12,
     0x123456,
     2},
    {"combinations, profiles, shifts",
     {{{120, 1, 0, {}, L""},
       {6, 4, 0, {}, L"M5"},
       {67, 1, 0, {}, L""},
       {82, 1, 0, {}, L""},
       {100, 1, 0, {}, L""},
       {101, 1, 0, {}, L""},
       {115, 1, 0, {}, L""},
       {15, 3, 0, {}, L""}}},
     {180, 2, 60, 150},
     0,
     1,
     0,
     0x00FF00,
     4},
    {"consumer keys, off, own combination",
     {{{4, 1, 0, {}, L""},
       {32, 1, 0, {}, L""},
       {7, 1, 0, {}, L""},
       {139, 1, 0, {}, L""},
       {40, 1, 0, {}, L""},
       {6, 1, 0, {}, L"M2"},
       {99, 1, 4, {0x80, 0xE0, 0x80, 0x1D, 0x00, 0x1D, 0x00, 0xE0}, L""},
       {64, 1, 0, {}, L""}}},
     {100, 119, 122, 179},
     3,
     8,
     255,
     0xABCDEF,
     10},
};

// Six macros: key, mouse-button and delay events, a full one and an empty one.
std::vector<std::vector<MacroEvent>> Macros() {
    std::vector<MacroEvent> full;
    for (int i = 0; i < MaxMacroEvents; ++i) {
        full.push_back(MacroEvent::DelayEvent(static_cast<std::uint16_t>(i * 300 + 1)));
    }
    return {{MacroEvent::KeyEvent(0x04, true), MacroEvent::DelayEvent(25),
             MacroEvent::KeyEvent(0x04, false)},
            full,
            {},
            {MacroEvent::MouseButtonEvent(1, true), MacroEvent::DelayEvent(0xFFFF),
             MacroEvent::MouseButtonEvent(1, false)},
            {MacroEvent::KeyEvent(0xE1, true), MacroEvent::KeyEvent(0x2C, true),
             MacroEvent::KeyEvent(0x2C, false), MacroEvent::KeyEvent(0xE1, false)},
            {MacroEvent::MouseButtonEvent(4, true), MacroEvent::MouseButtonEvent(4, false)}};
}

class RoundTripTest : public ReadBackTest {
protected:
    void Store(const Configuration& configuration) {
        SettingsRecord record = settings_;
        for (std::size_t i = 0; i < record.ButtonAssigned.size(); ++i) {
            const ButtonSetup& setup = configuration.Buttons[i];
            ButtonAssignment& entry = record.ButtonAssigned[i];
            entry = ButtonAssignment{};
            entry.ButtonNumber = static_cast<std::uint8_t>(i + 1);
            entry.FunctionCode = setup.Code;
            entry.Param1 = setup.Param1;
            entry.Param2 = setup.Param2;
            std::copy(setup.Data.begin(), setup.Data.end(), entry.Data.begin());
            std::wcsncpy(entry.Text.data(), setup.Text, entry.Text.size() - 1);
        }
        for (std::size_t i = 0; i < 4; ++i) {
            const int value = configuration.Stages[i];
            record.DPI_INFO[i] = {0, value, value, value};
        }
        record.DPI = configuration.Stage;
        record.PollingRate = configuration.PollingRate;
        record.DoubleClickSpeed = configuration.DoubleClickSpeed;
        record.LedColor = configuration.LedColor;
        record.LedMode = configuration.LedMode;
        record.LED_MODE_INFO[0] = {3, 7, 2, 0, 0};
        ASSERT_EQ(SettingsIni_Write(record, folder_.SettingsFile()), 1);
        const auto macros = Macros();
        for (int position = 0; position < MaxMacros; ++position) {
            const std::wstring name = L"M" + std::to_wstring(position);
            ListMacro(position, name);
            WriteMacro(name, macros[static_cast<std::size_t>(position)], position + 1);
        }
    }

    // Takes away from the files whatever the read-back has to bring back from the mouse.
    void Forget() {
        SettingsRecord record = settings_;
        for (ButtonAssignment& entry : record.ButtonAssigned) {
            entry.FunctionCode = 7;
            entry.Param2 = 0;
            entry.Data.fill(0);
            if (entry.Text[0] == L'M') {
                entry.Text.fill(0);
            }
        }
        for (auto& stage : record.DPI_INFO) {
            stage = {0, 50, 50, 50};
        }
        record.DPI = 1;
        record.PollingRate = 4;
        record.DoubleClickSpeed = 77;
        ASSERT_EQ(SettingsIni_Write(record, folder_.SettingsFile()), 1);
        for (int position = 0; position < MaxMacros; ++position) {
            WriteMacro(L"M" + std::to_wstring(position), {MacroEvent::DelayEvent(1)}, position + 1);
        }
        ReloadSettings();
    }
};

TEST_F(RoundTripTest, SecondUploadEqualsTheFirst) {
    for (const Configuration& configuration : kConfigurations) {
        SCOPED_TRACE(configuration.Name);
        LoadMemory(0, Bytes{1});
        Store(configuration);
        ReloadSettings();
        ClearLog();
        UploadAll();
        const auto first = SentFeatureReports();

        Forget();
        ClearLog();
        ASSERT_EQ(readBack_.QueryAllFrMouse(), 1);
        ReloadSettings();
        ClearLog();
        UploadAll();
        const auto second = SentFeatureReports();

        ASSERT_EQ(second.size(), first.size());
        for (std::size_t i = 0; i < first.size(); ++i) {
            EXPECT_EQ(HexOf(second[i]), HexOf(first[i])) << "report " << i;
        }
        // What the mouse does not hold stays the user's.
        for (int position = 0; position < MaxMacros; ++position) {
            EXPECT_EQ(MacroInt(L"M" + std::to_wstring(position), L"LoopTime"), position + 1);
        }
        EXPECT_EQ(std::wstring(settings_.ButtonAssigned[2].Text.data()),
                  std::wstring(configuration.Buttons[2].Text));
    }
}

} // namespace
