// A change made on the main window's controls reaches the simulated mouse through the running
// service, and lands in "Mouse.ini" and in the current profile's file; without the service the
// files are written all the same and nothing is posted anywhere.

#include "config/controls/CBmpMenuChoice.h"
#include "shared/store/CDataFolderLock.h"
#include "service/MouseMemoryMap.h"
#include "tests/config/mainwindow/MainWindowProbe.h"
#include "tests/config/mainwindow/endtoend/ConfigEndToEnd.h"
#include "tests/config/mainwindow/endtoend/SharedDataFolder.h"
#include "tests/shared/store/StoreTestSupport.h"
#include "tests/tolvane/RecorderWindow.h"
#include "winlayer/UniqueHandle.h"

#include <climits>
#include <cstdio>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

namespace map = MouseMemoryMap;

namespace {
constexpr UINT kSliderValue = 0x446;
constexpr UINT kDpiStageEnter = 0x1403;
constexpr UINT kColourChosen = 0x518;
constexpr int kDpiSlider = 10001;
constexpr int kPointerSpeedSlider = 10010;
constexpr std::size_t kLightingTab = 2;
constexpr COLORREF kColour = RGB(0x12, 0x34, 0x56);

// The system's wheel lines as the registry holds them: the service sets them in its own process.
UINT SystemWheelLines() {
    wchar_t text[16] = {};
    DWORD size = sizeof(text);
    if (RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"WheelScrollLines",
                     RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS) {
        return 0;
    }
    return static_cast<UINT>(std::wcstoul(text, nullptr, 10));
}

RECT RectInDialog(const CLucfgDlg& dialog, HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog.Hwnd(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The shown slider whose caption, the nearest shown label above it, reads `caption`.
CPngHSliderBar* SliderCaptioned(CLucfgDlg& dialog, const std::wstring& caption) {
    for (CPngHSliderBar* slider :
         {&MainWindowProbe::dpiSlider(dialog), &MainWindowProbe::speedSlider(dialog),
          &MainWindowProbe::ledLevelSlider(dialog), &MainWindowProbe::effectSpeedSlider(dialog)}) {
        if (!IsWindowVisible(slider->Hwnd())) {
            continue;
        }
        const RECT bar = RectInDialog(dialog, slider->Hwnd());
        const CStaticTrans* nearest = nullptr;
        LONG nearestBottom = LONG_MIN;
        for (const auto& label : MainWindowProbe::labels(dialog)) {
            const RECT r = RectInDialog(dialog, label->Hwnd());
            if (IsWindowVisible(label->Hwnd()) && r.bottom <= bar.top && r.right > bar.left &&
                r.left < bar.right && r.bottom > nearestBottom) {
                nearest = label.get();
                nearestBottom = r.bottom;
            }
        }
        if (nearest != nullptr && nearest->Text() == caption) {
            return slider;
        }
    }
    return nullptr;
}

// Shows the lighting sub-page and clicks the track of the slider captioned `caption` at its
// left or right end, as the mouse does.
std::function<void(CLucfgDlg&)> ClickSliderEnd(const wchar_t* caption, bool right) {
    return [=](CLucfgDlg& d) {
        Click(MainWindowProbe::subTabs(d)[kLightingTab].Hwnd());
        CPngHSliderBar* slider = SliderCaptioned(d, caption);
        ASSERT_NE(nullptr, slider) << "no slider is captioned so";
        RECT client{};
        GetClientRect(slider->Hwnd(), &client);
        const LPARAM at = MAKELPARAM(right ? client.right - 1 : 0, client.bottom / 2);
        SendMessageW(slider->Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(slider->Hwnd(), WM_LBUTTONUP, 0, at);
    };
}

// The bytes at an address of the simulated mouse's memory.
Bytes MouseMemory(ServiceHarness& harness, std::uint16_t address, std::size_t count) {
    char command[32];
    std::snprintf(command, sizeof command, "memory %x %zu", address, count);
    std::istringstream reply(harness.Simulator().Command(command).value_or(""));
    Bytes bytes;
    unsigned value = 0;
    while (reply >> std::hex >> value) {
        bytes.push_back(static_cast<std::uint8_t>(value));
    }
    return bytes;
}

// The one byte of the mouse's lighting record that a change must alter, and its new value.
struct LightingByte {
    std::size_t index; // R, G, B, mode, speed, option, level
    std::uint8_t value;
};
constexpr std::size_t kLightingBytes = 7;

// One change the way its control makes it, what reaches the mouse, and the field both files
// then hold.
struct Change {
    const char* name;
    std::function<void(CLucfgDlg&)> make;
    Reports reports;
    std::function<int(const SettingsRecord&)> field;
    int stored;
    std::optional<LightingByte> lightingByte = std::nullopt;
    // Another program holds the data folder's lock while the change is made.
    bool lockHeld = false;
};

// The data folder's lock, held by another thread as another program would hold it, until the
// holder goes.
class LockHolder {
public:
    LockHolder()
        : thread_([this] {
              const CDataFolderLock lock;
              taken_ = static_cast<bool>(lock);
              SetEvent(held_.Get());
              WaitForSingleObject(release_.Get(), INFINITE);
          }) {
        WaitForSingleObject(held_.Get(), INFINITE);
    }
    ~LockHolder() {
        SetEvent(release_.Get());
        thread_.join();
    }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    bool Taken() const { return taken_; }

private:
    winlayer::UniqueHandle held_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    winlayer::UniqueHandle release_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    bool taken_ = false;
    std::thread thread_;
};

std::vector<Change> Changes(int stage, UINT wheelLines) {
    const auto stageValue = [stage](const SettingsRecord& r) {
        return r.DPI_INFO[static_cast<std::size_t>(stage)][1];
    };
    const std::uint16_t stageAddress = map::DpiStageAddress(stage);
    const Reports lighting{BracketReport(0),
                           WriteReport(map::kLightingClear, {0, 0}),
                           WriteReport(map::kLighting, {}),
                           WriteReport(map::kLightingFixed, {0x02, 0x80, 0x03, 0x80}),
                           CommitReport(4),
                           BracketReport(1)};
    return {
        {"DPI slider at 32",
         [](CLucfgDlg& d) { PostMessageW(d.Hwnd(), kSliderValue, 32, kDpiSlider); },
         {BracketReport(0), WriteReport(stageAddress, {1, 38, 0, 38, 0}), CommitReport(2),
          BracketReport(1)},
         stageValue,
         32},
        {"1550 typed into the stage's edit",
         [stage](CLucfgDlg& d) {
             auto& button = MainWindowProbe::dpiStageBtns(d)[static_cast<std::size_t>(stage)];
             Type(button.Edit().Hwnd(), L"1550");
             // Enter in the edit reaches the window through its button.
             PostMessageW(d.Hwnd(), kDpiStageEnter, 0, 0);
         },
         {BracketReport(0), WriteReport(stageAddress, {1, 17, 0, 17, 0}), CommitReport(2),
          BracketReport(1)},
         stageValue,
         15},
        {"colour chosen",
         [](CLucfgDlg& d) { PostMessageW(d.Hwnd(), kColourChosen, kColour, 0); },
         {BracketReport(0), WriteReport(map::kLightingClear, {0, 0}),
          WriteReport(map::kLighting, {0x12, 0x34, 0x56}),
          WriteReport(map::kLightingFixed, {0x02, 0x80, 0x03, 0x80}), CommitReport(4),
          BracketReport(1)},
         [](const SettingsRecord& r) { return r.LedColor; },
         static_cast<int>(kColour)},
        // The edit reports its own change (0x1404); wheel lines go to the system, not the mouse.
        {"wheel lines typed",
         [wheelLines](CLucfgDlg& d) {
             Type(MainWindowProbe::wheelLinesEdit(d).Hwnd(), std::to_wstring(wheelLines));
         },
         {},
         [](const SettingsRecord& r) { return r.WheelScrollLines; },
         static_cast<int>(wheelLines)},
        // The box emptied is left empty while the user goes on typing; Enter takes the lines.
        {"wheel lines emptied, typed again and taken with Enter",
         [](CLucfgDlg& d) {
             const HWND box = MainWindowProbe::wheelLinesEdit(d).Hwnd();
             Type(box, L"\b12");
             PostMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
         },
         {},
         [](const SettingsRecord& r) { return r.WheelScrollLines; },
         12},
        {"polling rate 500 chosen from its menu",
         [](CLucfgDlg& d) {
             Click(MainWindowProbe::pollingRateBtn(d).Hwnd());
             PostMessageW(d.Hwnd(), CBmpMenuChoice::kMenuChoice, CBmpMenuChoice::EntryWParam(2),
                          CBmpMenuChoice::EntryLParam(40026));
         },
         {BracketReport(0), WriteReport(map::kPollingRate, {2, 0, 2, 0, 2, 0}),
          WriteReport(map::kPollingRateSecond, {2, 0, 2, 0}), CommitReport(8), BracketReport(1)},
         [](const SettingsRecord& r) { return r.PollingRate; },
         2},
        // Each lighting slider changes what its caption names (zone 1's entry: 3 and 2 at first).
        {"the slider captioned Brightness at its left end", ClickSliderEnd(L"Brightness", false),
         lighting, [](const SettingsRecord& r) { return r.LED_MODE_INFO[0][1]; }, 1,
         LightingByte{6, 1}},
        {"the slider captioned Speed at its right end", ClickSliderEnd(L"Speed", true), lighting,
         [](const SettingsRecord& r) { return r.LED_MODE_INFO[0][2]; }, 3, LightingByte{4, 2}},
        // Nothing of the change is lost: it goes to the files and the mouse once the lock is
        // free.
        {"the slider captioned Speed at its left end while the lock is held",
         ClickSliderEnd(L"Speed", false), lighting,
         [](const SettingsRecord& r) { return r.LED_MODE_INFO[0][2]; }, 1, LightingByte{4, 8},
         true},
    };
}

void ExpectInBothFiles(const Change& change) {
    for (const std::wstring& file :
         {SharedDataFolder::SettingsFile(), SharedDataFolder::ProfileFile(L"Game")}) {
        EXPECT_EQ(change.stored, change.field(SharedDataFolder::Read(file)))
            << change.name << " in " << std::string(file.begin(), file.end());
    }
}

class SettingsToMouse : public ConfigEndToEnd {
protected:
    void SetUp() override {
        ConfigEndToEnd::SetUp();
        // The value typed differs from the system's, so that its arrival shows.
        systemWheelLines_ = SystemWheelLines();
        wheelLines_ = systemWheelLines_ == 7 ? 8 : 7;
    }
    void TearDown() override {
        ConfigEndToEnd::TearDown();
        if (systemWheelLines_ != 0) {
            SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, systemWheelLines_, nullptr,
                                  SPIF_UPDATEINIFILE);
        }
    }

    int CurrentStage() { return Dialog().Working().DPI; }

    UINT systemWheelLines_ = 0;
    UINT wheelLines_ = 7;
};
} // namespace

TEST_F(SettingsToMouse, ChangesOnScreenReachTheMouseAndBothFiles) {
    ASSERT_NO_FATAL_FAILURE(StartService());
    ASSERT_NO_FATAL_FAILURE(OpenWindow(kPerformanceTab, Skin::Built));
    const int stage = CurrentStage();
    ASSERT_TRUE(stage >= 0 && stage < 4) << stage;

    for (const Change& change : Changes(stage, wheelLines_)) {
        SCOPED_TRACE(change.name);
        const std::uint64_t first = harness_.Simulator().NextSequence();
        const Bytes lightingBefore = MouseMemory(harness_, map::kLighting, kLightingBytes);
        if (change.lockHeld) {
            const std::string settingsBefore = ReadFileBytes(SharedDataFolder::SettingsFile());
            const LockHolder holder;
            ASSERT_TRUE(holder.Taken());
            change.make(Dialog());
            // The window goes on meanwhile; nothing is written or sent from a stale file.
            PumpWatching([] { return false; }, 1000);
            EXPECT_EQ(settingsBefore, ReadFileBytes(SharedDataFolder::SettingsFile()));
            EXPECT_TRUE(ReportsMatch(SentSince(first), {}));
        } else {
            change.make(Dialog());
        }
        if (change.reports.empty()) {
            EXPECT_TRUE(PumpWatching(
                [&] { return SystemWheelLines() == static_cast<UINT>(change.stored); }));
            // The service's queue is empty once it answers a sent message.
            ASSERT_TRUE(harness_.SendAndWait(WM_NULL));
            EXPECT_TRUE(ReportsMatch(SentSince(first), {}));
        } else {
            EXPECT_TRUE(ReportsMatch(WaitForBracket(first), change.reports));
        }
        if (change.lightingByte) {
            Bytes expected = lightingBefore;
            ASSERT_EQ(kLightingBytes, expected.size());
            expected[change.lightingByte->index] = change.lightingByte->value;
            EXPECT_EQ(HexOf(expected),
                      HexOf(MouseMemory(harness_, map::kLighting, kLightingBytes)));
        }
        ExpectInBothFiles(change);
    }
}

TEST_F(SettingsToMouse, WithoutTheServiceBothFilesAreWrittenAndNothingIsPosted) {
    ASSERT_NO_FATAL_FAILURE(OpenWindow(kPerformanceTab, Skin::Built));
    ASSERT_TRUE(ServiceHarness::ServiceWindows().empty());
    const int stage = CurrentStage();
    for (const Change& change : Changes(stage, wheelLines_)) {
        SCOPED_TRACE(change.name);
        seen_.clear();
        change.make(Dialog());
        PumpWatching([&] {
            return change.field(SharedDataFolder::Read(SharedDataFolder::ProfileFile(L"Game"))) ==
                   change.stored;
        });
        ExpectInBothFiles(change);
        // A post to a window that is not there would land in this thread's own queue.
        for (const SeenMessage& seen : seen_) {
            EXPECT_NE(nullptr, seen.Window) << std::hex << seen.Message;
        }
    }
}

TEST_F(SettingsToMouse, ASliderMovedToTheSameValueTwiceSendsOneMessage) {
    ASSERT_NO_FATAL_FAILURE(OpenWindow(kPerformanceTab));
    RecorderWindow service(L"V212Hid");
    struct Row {
        int slider;
        std::vector<int> values;
        UINT message;
        int posts;
    };
    const Row rows[] = {
        {kDpiSlider, {40, 40}, 0x516, 1},
        {kDpiSlider, {41, 42, 42}, 0x516, 2},
        {kDpiSlider, {42}, 0x516, 0},
        {kPointerSpeedSlider, {5, 5}, 0x511, 1},
        {kPointerSpeedSlider, {5, 6}, 0x511, 1},
        {kDpiSlider, {42}, 0x516, 1},
    };
    for (const Row& row : rows) {
        service.Clear();
        for (const int value : row.values) {
            PostMessageW(Hwnd(), kSliderValue, static_cast<WPARAM>(value), row.slider);
        }
        PumpWatching([] { return false; }, 0);
        EXPECT_EQ(row.posts, service.Count(row.message))
            << row.slider << " moved " << row.values.size() << " times";
    }
}
