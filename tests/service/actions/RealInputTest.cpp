// Real input and real window commands on the display: a focused window receives the key events
// of a combination, and a window is maximised and minimised. These take the focus, so the
// program runs while no other test does.

#include "service/CBasicFunction.h"
#include "service/CWin32ActionSystem.h"
#include "tests/service/actions/TestWindow.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <vector>

namespace {

using KeyMessage = TestWindow::KeyMessage;

void PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done() && std::chrono::steady_clock::now() < end) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    }
}

TEST(RealInput, AFocusedWindowReceivesTheCombination) {
    TestWindow window(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ASSERT_NE(window.Handle(), nullptr);
    PumpUntil(
        [&] {
            SetForegroundWindow(window.Handle());
            SetFocus(window.Handle());
            return GetForegroundWindow() == window.Handle() && GetFocus() == window.Handle();
        },
        std::chrono::milliseconds(2000));
    ASSERT_EQ(GetForegroundWindow(), window.Handle());
    window.ClearKeyMessages();

    CWin32ActionSystem system;
    const auto start = std::chrono::steady_clock::now();
    CBasicFunction(system).SendCtrlC();
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
    PumpUntil([&] { return window.KeyMessages().size() >= 4; }, std::chrono::milliseconds(3000));
    EXPECT_EQ(
        window.KeyMessages(),
        (std::vector<KeyMessage>{
            {WM_KEYDOWN, VK_CONTROL}, {WM_KEYDOWN, 'C'}, {WM_KEYUP, 'C'}, {WM_KEYUP, VK_CONTROL}}));
}

// The real system with the foreground window fixed, so that the command reaches the test's
// window whichever window the display has in front.
class FixedForegroundSystem : public CWin32ActionSystem {
public:
    explicit FixedForegroundSystem(HWND window) : window_(window) {}
    HWND ForegroundWindow() override { return window_; }

private:
    HWND window_;
};

TEST(RealInput, TheWindowIsMaximisedAndMinimised) {
    TestWindow window(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    FixedForegroundSystem system(window.Handle());
    CBasicFunction(system).MaximizeForeground();
    EXPECT_TRUE(IsZoomed(window.Handle()));
    CBasicFunction(system).MinimizeForeground();
    EXPECT_TRUE(IsIconic(window.Handle()));
    EXPECT_EQ(window.SystemCommands(), (std::vector<WPARAM>{SC_MAXIMIZE, SC_MINIMIZE}));
}

} // namespace
