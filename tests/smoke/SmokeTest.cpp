#include <windows.h>
#include <hidapi.h>
#include <gtest/gtest.h>
TEST(Smoke, HidInitAndWindow) {
    HWND w = CreateWindowExW(0, L"STATIC", L"x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_NE(nullptr, w);
    DestroyWindow(w);
    hid_exit();
}
