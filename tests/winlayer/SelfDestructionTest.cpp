#include "winlayer/RawSubclass.h"
#include "winlayer/Window.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using winlayer::RawSubclass;
using winlayer::Window;

namespace {

HWND MakeEdit() {
    return CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 60, 20, nullptr, nullptr, nullptr,
                           nullptr);
}

TEST(RawSubclass, ProcedureThatDestroysItsOwnWindowLeavesNothingBehind) {
    HWND edit = MakeEdit();
    ASSERT_NE(nullptr, edit);
    RawSubclass subclass;
    int keyUps = 0;
    ASSERT_TRUE(subclass.Install(edit, [&](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_KEYUP && wParam == VK_RETURN) {
            ++keyUps;
            DestroyWindow(hwnd);
            // Too late for the window: must do nothing now.
            return subclass.CallPrevious(hwnd, message, wParam, lParam);
        }
        return subclass.CallPrevious(hwnd, message, wParam, lParam);
    }));
    SetWindowTextW(edit, L"250");
    wchar_t text[8] = {};
    GetWindowTextW(edit, text, 8);
    EXPECT_STREQ(L"250", text);

    EXPECT_EQ(0, SendMessageW(edit, WM_KEYUP, VK_RETURN, 0));
    EXPECT_EQ(1, keyUps);
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(nullptr, subclass.Hwnd());
    subclass.Restore();
}

TEST(RawSubclass, RestorePutsThePreviousProcedureBack) {
    HWND edit = MakeEdit();
    LONG_PTR original = GetWindowLongPtrW(edit, GWLP_WNDPROC);
    {
        RawSubclass subclass;
        ASSERT_TRUE(subclass.Install(edit, [&](HWND h, UINT m, WPARAM w, LPARAM l) {
            return subclass.CallPrevious(h, m, w, l);
        }));
        EXPECT_NE(original, GetWindowLongPtrW(edit, GWLP_WNDPROC));
    }
    EXPECT_EQ(original, GetWindowLongPtrW(edit, GWLP_WNDPROC));
    DestroyWindow(edit);
}

// Taking an object off a window that was subclassed again after it must not cut the chain.
TEST(RawSubclass, ObjectDetachedUnderARawSubclassKeepsTheChainWorking) {
    HWND edit = MakeEdit();
    Window object;
    ASSERT_TRUE(object.Attach(edit));
    RawSubclass subclass;
    ASSERT_TRUE(subclass.Install(edit, [&](HWND h, UINT m, WPARAM w, LPARAM l) {
        return subclass.CallPrevious(h, m, w, l);
    }));
    object.Detach();
    SetWindowTextW(edit, L"a");
    subclass.Restore();
    SetWindowTextW(edit, L"ab");
    wchar_t text[8] = {};
    GetWindowTextW(edit, text, 8);
    EXPECT_STREQ(L"ab", text);
    EXPECT_TRUE(DestroyWindow(edit));
}

class SelfDestroyingEdit : public Window {
public:
    std::function<void()> onEnter;
    void OnKeyUp(UINT key, UINT repeat, UINT flags) override {
        if (key == VK_RETURN) {
            if (onEnter) {
                // The owner may delete this object, callback included.
                auto callback = onEnter;
                callback();
                return;
            }
            DestroyWindow();
        }
        Window::OnKeyUp(key, repeat, flags);
    }
};

TEST(Window, ObjectWhoseWindowDestroysItselfInItsHandlerIsLeftUnbound) {
    HWND edit = MakeEdit();
    SelfDestroyingEdit object;
    ASSERT_TRUE(object.Attach(edit));
    SendMessageW(edit, WM_KEYUP, VK_RETURN, 0);
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(nullptr, object.Hwnd());
    EXPECT_EQ(nullptr, Window::FromHandle(edit));
    EXPECT_FALSE(object.DestroyWindow());
}

TEST(Window, ObjectDeletedByItsOwnerInsideItsOwnHandlerTakesItsWindowAlong) {
    auto object = std::make_unique<SelfDestroyingEdit>();
    ASSERT_TRUE(object->Create(L"EDIT", L"", WS_POPUP, RECT{0, 0, 60, 20}, nullptr, 0));
    HWND edit = object->Hwnd();
    object->onEnter = [&] { object.reset(); };
    SendMessageW(edit, WM_KEYUP, VK_RETURN, 0);
    EXPECT_EQ(nullptr, object);
    EXPECT_FALSE(IsWindow(edit));
}

} // namespace
