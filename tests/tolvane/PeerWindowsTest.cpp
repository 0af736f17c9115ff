#include "service/PeerWindows.h"
#include "tests/tolvane/MessagePump.h"
#include "tests/tolvane/RecorderWindow.h"

#include <gtest/gtest.h>

// A post to a window that is not there must not land in the caller's own queue, as posting to
// a null window would.
TEST(PeerWindows, PostsOnlyToAWindowThatExists) {
    constexpr UINT kMessage = WM_USER + 77;
    EXPECT_FALSE(PostToWindow(L"V212 no such window", kMessage, 1, 2));
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, kMessage, kMessage, PM_REMOVE));

    RecorderWindow peer(L"V212 peer window");
    ASSERT_TRUE(PostToWindow(L"V212 peer window", kMessage, 1, 2));
    EXPECT_TRUE(PumpUntil([&] { return peer.Count(kMessage, 1, 2) == 1; }, 5000));
}
