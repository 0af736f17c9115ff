#include "tests/config/mainwindow/MainWindowProbe.h"
#include "tests/config/mainwindow/MainWindowSession.h"
#include "tests/config/mainwindow/ModalBoxes.h"

#include "config/mainwindow/ConfigResources.h"
#include "shared/store/CIniFile.h"
#include "shared/store/DataPaths.h"
#include "tests/config/controls/ControlTestSupport.h"
#include "tests/tolvane/ServiceProcess.h"

#include <gtest/gtest.h>

namespace {
HWND FindConfigWindow(DWORD processId) {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, nullptr, CLucfgDlg::kWindowTitle)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId) {
            return window;
        }
    }
    return nullptr;
}

SIZE WindowSize(HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}
} // namespace

TEST(MainWindowFrame, SecondCopyEndsAtOnceAndLeavesTheFirstRunning) {
    ServiceProcess first;
    ASSERT_TRUE(first.Start(MainWindowData::BuiltFile(V212_CONFIG_EXE)));
    HWND window = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (window = FindConfigWindow(first.Id())) != nullptr; }, 20000));

    ServiceProcess second;
    ASSERT_TRUE(second.Start(MainWindowData::BuiltFile(V212_CONFIG_EXE)));
    EXPECT_TRUE(second.WaitForExit(10000));
    EXPECT_EQ(nullptr, FindConfigWindow(second.Id()));
    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(IsWindow(window));

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(first.WaitForExit(10000));
}

TEST(MainWindowFrame, TakesItsSizeAndShapeFromTheSkinAndStaysVisibleWithout) {
    struct Row {
        bool skin;
        bool sizedBySkin;
        bool shaped;
    };
    for (const Row row : {Row{true, true, true}, Row{false, false, false}}) {
        SCOPED_TRACE(row.skin ? "with skin" : "without skin");
        const std::wstring folder = row.skin ? MainWindowFixture::MakeTestSkin()
                                             : MainWindowFixture::MakeEmptyProgramFolder();
        MainWindowFixture fixture(folder);
        ASSERT_NE(nullptr, fixture.Hwnd());
        EXPECT_TRUE(IsWindowVisible(fixture.Hwnd()));
        const SIZE size = WindowSize(fixture.Hwnd());
        if (row.sizedBySkin) {
            EXPECT_EQ(MainWindowFixture::kWidth, size.cx);
            EXPECT_EQ(MainWindowFixture::kHeight, size.cy);
        } else {
            // The template's own size: the window never shrinks to nothing.
            EXPECT_GT(size.cx, 400);
            EXPECT_GT(size.cy, 200);
        }
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        const int kind = GetWindowRgn(fixture.Hwnd(), region);
        EXPECT_EQ(row.shaped, kind == COMPLEXREGION);
        if (row.shaped) {
            EXPECT_FALSE(PtInRegion(region, 5, 5));
            EXPECT_TRUE(PtInRegion(region, 5, 100));
        }
        DeleteObject(region);
    }
}

TEST(MainWindowFrame, KeysNeverEndItAndTheServiceCloseDoes) {
    struct Row {
        const char* name;
        bool boxOpen; // the user has the Reset question open when the close comes
        UINT message;
    };
    const Row rows[] = {
        {"the service's 0x500", false, 0x500},
        {"the service's 0x500 over an open box", true, 0x500},
        {"the service's WM_CLOSE over an open box", true, WM_CLOSE},
    };
    static CLucfgDlg* s_dialog = nullptr;
    static const Row* s_row = nullptr;
    static int s_step = 0;
    static bool s_boxSeen = false;
    static bool s_answeredByTest = false;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MainWindowData::Start(MainWindowData::Record(L"Game"), {L"Game"}, {});
        RecorderWindow service(L"V212Hid");
        CLucfgDlg dialog(MainWindowSession::MakeProgramFolder());
        s_dialog = &dialog;
        s_row = &row;
        s_step = 0;
        s_boxSeen = false;
        s_answeredByTest = false;
        // Drives the modal loop from a thread timer: the keys first, then a 0x500 that is not
        // the service's, then the user's box, then the service's close. The ticks go on inside
        // the box's own loop.
        const UINT_PTR timer = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) {
            HWND hwnd = s_dialog->Hwnd();
            if (hwnd == nullptr) {
                return;
            }
            switch (s_step++) {
            case 0:
                for (WPARAM key : {VK_ESCAPE, VK_RETURN, VK_F1}) {
                    PostMessageW(hwnd, WM_KEYDOWN, key, 0);
                }
                PostMessageW(hwnd, 0x500, 1, 0);
                break;
            case 1:
                if (s_row->boxOpen) {
                    Click(MainWindowProbe::resetBtn(*s_dialog).Hwnd());
                }
                break;
            case 2:
                s_boxSeen = ModalBoxes::OpenBox(hwnd) != nullptr;
                break;
            case 3:
                PostMessageW(hwnd, s_row->message, 0, 0);
                break;
            case 20:
                // Still open two seconds later: the box is answered, so that the test ends and
                // fails.
                if (auto* box = dynamic_cast<winlayer::Dialog*>(
                        winlayer::Window::FromHandle(ModalBoxes::OpenBox(hwnd)))) {
                    s_answeredByTest = true;
                    box->EndDialog(IDCANCEL);
                }
                break;
            case 100:
                // The window itself is still open: ended with a result no close gives.
                s_dialog->EndDialog(-2);
                break;
            default:
                break;
            }
        });
        const INT_PTR result = dialog.DoModal();
        KillTimer(nullptr, timer);
        EXPECT_EQ(IDCANCEL, result);
        EXPECT_GE(s_step, 4);
        EXPECT_EQ(row.boxOpen, s_boxSeen);
        // The close cancels the box and ends the window; the test never had to answer the box.
        // (The ticks that the test counts come only while a loop runs, however slow the machine.)
        EXPECT_FALSE(s_answeredByTest);
        EXPECT_TRUE(ShownDialogs(nullptr).empty());
        Pump();
        EXPECT_EQ(0, service.Count(0x4FF)) << "nothing was reset";
    }
}

TEST(MainWindowFrame, StartTimerEmptiesAndLocksTheLoopCount) {
    MainWindowSession session(MainWindowData::Record(L"Game"));
    const HWND edit = MainWindowProbe::loopCountEdit(session.Dialog()).Hwnd();
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowEnabled(edit); }, 3000));
    wchar_t text[16] = {};
    GetWindowTextW(edit, text, 16);
    EXPECT_STREQ(L"0", text);
}

TEST(MainWindowFrame, FrameRules) {
    SettingsRecord record{};
    for (auto& entry : record.ButtonAssigned) {
        entry.FunctionCode = 2;
    }
    record.ButtonAssigned[3].FunctionCode = 1;
    struct Row {
        int index;
        int expected;
    };
    for (const Row row : {Row{3, 0}, Row{0, 1}, Row{7, 1}, Row{-1, 1}}) {
        EXPECT_EQ(row.expected, CLucfgDlg::IsOtherSlotActive(record, row.index)) << row.index;
    }
}

TEST(MainWindowFrame, PollingRateChoiceIsStoredShownAndAnnounced) {
    MainWindowSession session(MainWindowData::Record(L"Game"));
    RecorderWindow& service = session.Service();
    struct Row {
        int id;
        int interval;
        const wchar_t* caption;
        LPARAM posted;
    };
    for (const Row row : {Row{40024, 8, L"125", 1}, Row{40025, 4, L"250", 1},
                          Row{40026, 2, L"500", 2}, Row{40027, 1, L"1000", 3}}) {
        service.Clear();
        session.Dialog().OnRateCommand(row.id);
        Pump();
        EXPECT_EQ(row.interval,
                  CIniFile(SettingsFilePath()).ReadInt(L"Setting", L"PollingRate", -1));
        EXPECT_EQ(row.caption, MainWindowProbe::pollingRateBtn(session.Dialog()).GetCaption());
        EXPECT_EQ(1, service.Count(0x4FD, 0, row.posted)) << row.id;
    }
    service.Clear();
    session.Dialog().OnRateCommand(40023);
    Pump();
    EXPECT_EQ(0, service.Count(0x4FD));
    EXPECT_EQ(1, CIniFile(SettingsFilePath()).ReadInt(L"Setting", L"PollingRate", -1));
}
