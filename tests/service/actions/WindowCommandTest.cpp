// Maximise and minimise on real (hidden) windows: the guards read the real window's style.

#include "service/CBasicFunction.h"
#include "tests/service/actions/CRecordingActionSystem.h"
#include "tests/service/actions/TestWindow.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Sent = CRecordingActionSystem::Sent;

TEST(WindowCommands, SentToAWindowWithTheBox) {
    TestWindow window(WS_OVERLAPPEDWINDOW);
    CRecordingActionSystem system;
    system.SetForeground(window.Handle());
    CBasicFunction(system).MaximizeForeground();
    CBasicFunction(system).MinimizeForeground();
    EXPECT_EQ(system.SentMessages(),
              (std::vector<Sent>{{window.Handle(), WM_SYSCOMMAND, 0xF030, 0},
                                 {window.Handle(), WM_SYSCOMMAND, 0xF020, 0}}));
}

TEST(WindowCommands, RefusedForAWindowWithoutTheBox) {
    TestWindow neither(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU);
    TestWindow minimizeOnly(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    TestWindow maximizeOnly(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MAXIMIZEBOX);
    CRecordingActionSystem system;
    system.SetForeground(neither.Handle());
    CBasicFunction(system).MaximizeForeground();
    CBasicFunction(system).MinimizeForeground();
    system.SetForeground(minimizeOnly.Handle());
    CBasicFunction(system).MaximizeForeground();
    system.SetForeground(maximizeOnly.Handle());
    CBasicFunction(system).MinimizeForeground();
    EXPECT_TRUE(system.SentMessages().empty());
}

TEST(WindowCommands, RefusedForTheDesktopAndForNoWindow) {
    CRecordingActionSystem system;
    system.SetForeground(GetDesktopWindow());
    CBasicFunction(system).MaximizeForeground();
    CBasicFunction(system).MinimizeForeground();
    system.SetForeground(nullptr);
    CBasicFunction(system).MaximizeForeground();
    // A desktop that has both boxes is still left alone.
    TestWindow desktop(WS_OVERLAPPEDWINDOW);
    system.SetForeground(desktop.Handle());
    system.SetDesktop(desktop.Handle());
    CBasicFunction(system).MaximizeForeground();
    CBasicFunction(system).MinimizeForeground();
    EXPECT_TRUE(system.SentMessages().empty());
}

} // namespace
