// The hook library as the configuration program uses it: loaded from the program's folder, its
// hooks installed for a window that then receives 0x8D2 for each key and button transition.
// Real input is injected from another thread while this thread runs the hooks' message loop.

#include "config/core/HookLibrary.h"
#include "shared/store/DataPaths.h"
#include "tests/config/controls/PointerHold.h"
#include "tests/tolvane/MessagePump.h"
#include "tests/tolvane/RecorderWindow.h"

#include <gtest/gtest.h>

#include <thread>
#include <utility>
#include <vector>

namespace {

using Report = std::pair<WPARAM, LPARAM>;
using Reports = std::vector<Report>;

constexpr DWORD kArrivalMs = 3000;
// How long a case waits to be sure that nothing arrives.
constexpr DWORD kSilenceMs = 500;

INPUT Key(WORD key, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = flags;
    return input;
}

INPUT Mouse(DWORD flags, LONG dx = 0, DWORD data = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.mouseData = data;
    input.mi.dwFlags = flags;
    return input;
}

Reports ReportsTo(const RecorderWindow& window) {
    Reports reports;
    for (const RecorderWindow::Message& m : window.Messages()) {
        if (m.message == HookLibrary::kKeyReport) {
            reports.emplace_back(m.wParam, m.lParam);
        }
    }
    return reports;
}

// Injects from another thread and runs this thread's messages until `done` or the time is up.
void Inject(std::vector<INPUT> inputs, const std::function<bool()>& done, DWORD timeoutMs) {
    // The injected clicks land wherever the pointer is: in the far corner, not on a window of
    // another test program.
    const PointerHold pointer;
    std::thread injector([&inputs] {
        for (INPUT& input : inputs) {
            SendInput(1, &input, sizeof(INPUT));
        }
    });
    PumpUntil(done, timeoutMs);
    injector.join();
}

// A low-level hook of the test's own, installed before the library's: it sees an event only
// when the library's hook passed it on.
class PassedOn {
public:
    PassedOn() {
        count_ = 0;
        keyboard_ = SetWindowsHookExW(WH_KEYBOARD_LL, &Count, GetModuleHandleW(nullptr), 0);
        mouse_ = SetWindowsHookExW(WH_MOUSE_LL, &Count, GetModuleHandleW(nullptr), 0);
    }
    ~PassedOn() {
        UnhookWindowsHookEx(keyboard_);
        UnhookWindowsHookEx(mouse_);
    }
    PassedOn(const PassedOn&) = delete;
    PassedOn& operator=(const PassedOn&) = delete;
    static int Events() { return count_; }

private:
    static LRESULT CALLBACK Count(int code, WPARAM wParam, LPARAM lParam) {
        count_ += code == HC_ACTION ? 1 : 0;
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline int count_ = 0;
    HHOOK keyboard_;
    HHOOK mouse_;
};

class HookTest : public testing::Test {
protected:
    void SetUp() override {
        const std::wstring program = ProgramFilePath();
        ASSERT_TRUE(library_.Load(program.substr(0, program.find_last_of(L'\\') + 1)));
    }
    void TearDown() override {
        library_.EnableBoth(false);
        library_.RemoveHook();
        library_.RemoveMouseHook();
    }

    HookLibrary library_;
    RecorderWindow first_{L"V212 hook test first"};
    RecorderWindow second_{L"V212 hook test second"};
};

struct ReportCase {
    const char* what;
    std::vector<INPUT> inputs;
    Reports expected;
};

void PrintTo(const ReportCase& c, std::ostream* out) {
    *out << c.what;
}

class HookReports : public HookTest, public testing::WithParamInterface<ReportCase> {};

// Each case ends with a key that marks the end of its reports.
TEST_P(HookReports, ReportEachTransitionAndPassItOn) {
    const ReportCase& c = GetParam();
    const PassedOn observer;
    ASSERT_TRUE(library_.InstallHook(first_.Handle()));
    ASSERT_TRUE(library_.InstallMouseHook(first_.Handle()));
    library_.EnableBoth(true);

    std::vector<INPUT> inputs = c.inputs;
    inputs.push_back(Key(VK_F24, 0));
    inputs.push_back(Key(VK_F24, KEYEVENTF_KEYUP));
    Reports expected = c.expected;
    expected.insert(expected.end(), {{VK_F24, 0}, {VK_F24, 128}});
    const int injected = static_cast<int>(inputs.size());
    Inject(
        inputs,
        [&] {
            return PassedOn::Events() >= injected && ReportsTo(first_).size() >= expected.size();
        },
        kArrivalMs);

    EXPECT_EQ(ReportsTo(first_), expected);
    EXPECT_EQ(PassedOn::Events(), injected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Input, HookReports, testing::Values(
    ReportCase{"AKey", {Key('A', 0), Key('A', KEYEVENTF_KEYUP)}, {{'A', 0}, {'A', 128}}},
    ReportCase{"AnExtendedKey", {Key(VK_RIGHT, KEYEVENTF_EXTENDEDKEY), Key(VK_RIGHT, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP)}, {{VK_RIGHT, 1}, {VK_RIGHT, 129}}},
    ReportCase{"TheLeftButton", {Mouse(MOUSEEVENTF_LEFTDOWN), Mouse(MOUSEEVENTF_LEFTUP)}, {{VK_LBUTTON, 0}, {VK_LBUTTON, 128}}},
    ReportCase{"TheRightButton", {Mouse(MOUSEEVENTF_RIGHTDOWN), Mouse(MOUSEEVENTF_RIGHTUP)}, {{VK_RBUTTON, 0}, {VK_RBUTTON, 128}}},
    ReportCase{"TheMiddleButton", {Mouse(MOUSEEVENTF_MIDDLEDOWN), Mouse(MOUSEEVENTF_MIDDLEUP)}, {{VK_MBUTTON, 0}, {VK_MBUTTON, 128}}},
    ReportCase{"MovesAndWheelAreNotReported", {Mouse(MOUSEEVENTF_MOVE, 1), Mouse(MOUSEEVENTF_WHEEL, 0, WHEEL_DELTA)}, {}}),
    [](const testing::TestParamInfo<ReportCase>& info) { return std::string(info.param.what); });
// clang-format on

enum class Step { Disable, Enable, Remove, InstallOnSecond };
enum class Receiver { None, First, Second };

struct LifecycleCase {
    const char* what;
    bool mouse; // else the keyboard
    std::vector<Step> steps;
    Receiver receiver;
};

void PrintTo(const LifecycleCase& c, std::ostream* out) {
    *out << c.what;
}

class HookLifecycle : public HookTest, public testing::WithParamInterface<LifecycleCase> {};

// Installed for the first window and enabled, then the case's steps, then one press and release.
TEST_P(HookLifecycle, ReportsGoWhereTheHookStands) {
    const LifecycleCase& c = GetParam();
    const auto install = [&](HWND window) {
        return c.mouse ? library_.InstallMouseHook(window) : library_.InstallHook(window);
    };
    const auto enable = [&](bool on) {
        return c.mouse ? library_.EnableMouseHook(on) : library_.EnableHook(on);
    };
    ASSERT_TRUE(install(first_.Handle()));
    enable(true);
    for (const Step step : c.steps) {
        switch (step) {
        case Step::Disable:
            enable(false);
            break;
        case Step::Enable:
            enable(true);
            break;
        case Step::Remove:
            c.mouse ? library_.RemoveMouseHook() : library_.RemoveHook();
            break;
        case Step::InstallOnSecond:
            ASSERT_TRUE(install(second_.Handle()));
            break;
        }
    }

    const WPARAM key = c.mouse ? VK_LBUTTON : 'B';
    const std::vector<INPUT> inputs =
        c.mouse ? std::vector<INPUT>{Mouse(MOUSEEVENTF_LEFTDOWN), Mouse(MOUSEEVENTF_LEFTUP)}
                : std::vector<INPUT>{Key('B', 0), Key('B', KEYEVENTF_KEYUP)};
    const Reports pair{{key, 0}, {key, 128}};
    const RecorderWindow& receiver = c.receiver == Receiver::Second ? second_ : first_;
    Inject(
        inputs, [&] { return c.receiver != Receiver::None && ReportsTo(receiver).size() >= 2; },
        c.receiver == Receiver::None ? kSilenceMs : kArrivalMs);

    EXPECT_EQ(ReportsTo(first_), c.receiver == Receiver::First ? pair : Reports{});
    EXPECT_EQ(ReportsTo(second_), c.receiver == Receiver::Second ? pair : Reports{});
}

using enum Step;
// clang-format off
INSTANTIATE_TEST_SUITE_P(Steps, HookLifecycle, testing::Values(
    LifecycleCase{"KeysReachTheWindow", false, {}, Receiver::First},
    LifecycleCase{"NoKeysWhenDisabled", false, {Disable}, Receiver::None},
    LifecycleCase{"KeysAgainWhenEnabledAgain", false, {Disable, Enable}, Receiver::First},
    LifecycleCase{"NoKeysWhenRemoved", false, {Remove}, Receiver::None},
    LifecycleCase{"KeysFollowAReinstall", false, {Remove, InstallOnSecond}, Receiver::Second},
    LifecycleCase{"KeysFollowASecondInstall", false, {InstallOnSecond}, Receiver::Second},
    LifecycleCase{"ButtonsReachTheWindow", true, {}, Receiver::First},
    LifecycleCase{"NoButtonsWhenDisabled", true, {Disable}, Receiver::None},
    LifecycleCase{"ButtonsAgainWhenEnabledAgain", true, {Disable, Enable}, Receiver::First},
    LifecycleCase{"NoButtonsWhenRemoved", true, {Remove}, Receiver::None},
    LifecycleCase{"ButtonsFollowAReinstall", true, {Remove, InstallOnSecond}, Receiver::Second},
    LifecycleCase{"ButtonsFollowASecondInstall", true, {InstallOnSecond}, Receiver::Second}),
    [](const testing::TestParamInfo<LifecycleCase>& info) { return std::string(info.param.what); });
// clang-format on

} // namespace
