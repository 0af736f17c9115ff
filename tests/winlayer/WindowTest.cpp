#include "winlayer/Application.h"
#include "winlayer/Window.h"

#include "tests/winlayer/PumpMessages.h"

#include <gtest/gtest.h>

#include <array>
#include <future>
#include <thread>
#include <vector>

using winlayer::Application;
using winlayer::Window;

namespace {

constexpr UINT kPrivate = WM_APP + 7;

class Probe : public Window {
public:
    bool boundAtCreate = false;
    bool failCreate = false;
    int timerTicks = 0;
    std::vector<WPARAM> privateMessages;
    std::vector<UINT> keys;

    int OnCreate(CREATESTRUCTW& create) override {
        boundAtCreate = Hwnd() != nullptr && FromHandle(Hwnd()) == this;
        if (failCreate) {
            return -1;
        }
        return Window::OnCreate(create);
    }
    void OnTimer(UINT_PTR id) override {
        ++timerTicks;
        if (timerTicks == 3) {
            KillTimer(id);
        }
        Window::OnTimer(id);
    }
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override {
        keys.push_back(key);
        Window::OnKeyDown(key, repeat, flags);
    }
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kPrivate) {
            privateMessages.push_back(wParam);
        }
        return Window::DefWindowProc(message, wParam, lParam);
    }
};

bool MakeHidden(Window& window) {
    return window.CreateEx(0, nullptr, L"probe", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr);
}

TEST(Window, OwnWindowIsBoundBeforeItsCreateAndRoutesTimersAndPrivateMessages) {
    Probe probe;
    ASSERT_TRUE(MakeHidden(probe));
    EXPECT_TRUE(probe.boundAtCreate);

    probe.SetTimer(5, 1);
    PostMessageW(probe.Hwnd(), kPrivate, 42, 0);
    ASSERT_TRUE(PumpMessagesUntil([&] { return probe.timerTicks >= 3; }));
    PumpMessagesUntil([] { return false; }, 50);
    EXPECT_EQ(3, probe.timerTicks);
    EXPECT_EQ(std::vector<WPARAM>{42}, probe.privateMessages);

    HWND hwnd = probe.Hwnd();
    EXPECT_TRUE(probe.DestroyWindow());
    EXPECT_EQ(nullptr, probe.Hwnd());
    EXPECT_EQ(nullptr, Window::FromHandle(hwnd));
}

TEST(Window, FailedCreateLeavesNoWindow) {
    Probe probe;
    probe.failCreate = true;
    EXPECT_FALSE(MakeHidden(probe));
    EXPECT_TRUE(probe.boundAtCreate);
    EXPECT_EQ(nullptr, probe.Hwnd());
}

TEST(Window, StandardControlCreatedThroughTheLayerSeesItsCreate) {
    Probe parent;
    ASSERT_TRUE(MakeHidden(parent));
    Probe button;
    ASSERT_TRUE(button.Create(L"BUTTON", L"b", WS_CHILD | WS_VISIBLE, RECT{0, 0, 20, 20},
                              parent.Hwnd(), 9));
    EXPECT_TRUE(button.boundAtCreate);
    EXPECT_EQ(9, GetDlgCtrlID(button.Hwnd()));
    EXPECT_EQ(L"b", button.Text());
}

TEST(Window, AttachRoutesAnExistingControlAndDetachRestoresItsProcedure) {
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr,
                                nullptr);
    ASSERT_NE(nullptr, edit);
    LONG_PTR original = GetWindowLongPtrW(edit, GWLP_WNDPROC);
    {
        Probe probe;
        ASSERT_TRUE(probe.Attach(edit));
        EXPECT_FALSE(Probe().Attach(edit));
        SendMessageW(edit, WM_KEYDOWN, 'Q', 0);
        SetWindowTextW(edit, L"kept");
        EXPECT_EQ(std::vector<UINT>{'Q'}, probe.keys);
        EXPECT_EQ(L"kept", probe.Text());
        EXPECT_EQ(edit, probe.Detach());
    }
    EXPECT_TRUE(IsWindow(edit));
    EXPECT_EQ(original, GetWindowLongPtrW(edit, GWLP_WNDPROC));
    DestroyWindow(edit);
}

TEST(Window, DeletingTheObjectDestroysTheWindowItCreated) {
    HWND hwnd = nullptr;
    {
        Probe probe;
        ASSERT_TRUE(MakeHidden(probe));
        hwnd = probe.Hwnd();
    }
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST(Window, RegionIsHandedToTheWindow) {
    Probe probe;
    ASSERT_TRUE(MakeHidden(probe));
    winlayer::RegionHandle region(CreateRectRgn(0, 0, 10, 10));
    EXPECT_TRUE(probe.SetWindowRegion(std::move(region), false));
    EXPECT_FALSE(region);
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(SIMPLEREGION, GetWindowRgn(probe.Hwnd(), copy));
    DeleteObject(copy);
}

// Makes its children and one window that bypasses the layer while it is itself being made.
class Nest : public Probe {
public:
    std::array<Probe, 3> children;
    HWND bypassing = nullptr;

    int OnCreate(CREATESTRUCTW& create) override {
        for (size_t i = 0; i < children.size(); ++i) {
            const int left = 20 * static_cast<int>(i);
            children[i].Create(L"BUTTON", L"", WS_CHILD, RECT{left, 0, left + 20, 20}, Hwnd(),
                               static_cast<int>(i) + 1);
        }
        bypassing = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 30, 20, 20, Hwnd(), nullptr,
                                    nullptr, nullptr);
        return Probe::OnCreate(create);
    }
};

TEST(Window, EachWindowIsFoundAsItsOwnObjectAlsoWhenMadeInsideAnothersCreation) {
    Nest nest;
    ASSERT_TRUE(MakeHidden(nest));
    HWND afterwards = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 60, 20, 20, nest.Hwnd(),
                                      nullptr, nullptr, nullptr);
    // The other thread keeps its window until the rows are checked.
    Probe elsewhere;
    std::promise<void> made;
    std::promise<void> checked;
    std::thread other([&] {
        MakeHidden(elsewhere);
        made.set_value();
        checked.get_future().wait();
        elsewhere.DestroyWindow();
    });
    made.get_future().wait();

    struct Row {
        const char* what;
        HWND hwnd;
        const Window* object;
        bool sawCreate;
    };
    const Row rows[] = {
        {"the window being made", nest.Hwnd(), &nest, nest.boundAtCreate},
        {"first child", nest.children[0].Hwnd(), &nest.children[0], nest.children[0].boundAtCreate},
        {"second child", nest.children[1].Hwnd(), &nest.children[1],
         nest.children[1].boundAtCreate},
        {"third child", nest.children[2].Hwnd(), &nest.children[2], nest.children[2].boundAtCreate},
        {"a window made around the layer", nest.bypassing, nullptr, true},
        {"a window made after the creation", afterwards, nullptr, true},
        {"a window of another thread", elsewhere.Hwnd(), &elsewhere, elsewhere.boundAtCreate},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ASSERT_NE(nullptr, row.hwnd);
        EXPECT_EQ(row.object, Window::FromHandle(row.hwnd));
        EXPECT_TRUE(row.sawCreate);
    }
    checked.set_value();
    other.join();
    const HWND child = nest.children[1].Hwnd();
    EXPECT_TRUE(nest.children[1].DestroyWindow());
    EXPECT_EQ(nullptr, Window::FromHandle(child));
}

class ExitRecorder : public Application {
public:
    bool initResult = false;
    bool exitRan = false;
    Probe window;

    bool InitInstance() override {
        if (initResult) {
            MakeHidden(window);
            SetMainWindow(&window);
            PostMessageW(window.Hwnd(), WM_CLOSE, 0, 0);
        }
        return initResult;
    }
    int ExitInstance() override {
        exitRan = true;
        return Application::ExitInstance() + 5;
    }
};

TEST(Application, ExitInstanceRunsAlsoWhenInitInstanceFails) {
    ExitRecorder app;
    EXPECT_EQ(&app, Application::Instance());
    EXPECT_EQ(5, app.Main(GetModuleHandleW(nullptr)));
    EXPECT_TRUE(app.exitRan);
}

TEST(Application, DestroyingTheMainWindowEndsTheMessageLoop) {
    ExitRecorder app;
    app.initResult = true;
    EXPECT_EQ(5, app.Main(GetModuleHandleW(nullptr)));
    EXPECT_TRUE(app.exitRan);
    EXPECT_EQ(nullptr, app.window.Hwnd());
    EXPECT_EQ(nullptr, app.MainWindow());
}

} // namespace
