#include "config/dialogs/FWUpdate/CFWUpdateDlg.h"

#include "config/controls/CControlGlobals.h"
#include "tests/config/controls/ControlTestSupport.h"
#include "tests/config/dialogs/ModalSteps.h"
#include "tests/tolvane/RecorderWindow.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

namespace {
constexpr wchar_t kTool[] = L"fwupdate\\KPT_FW_Update_Tool.exe";
constexpr UINT kProgress = 0x1400;
// Polls of the running dialog, one per tick: about ten seconds for a flash.
constexpr int kPolls = 500;

constexpr wchar_t kPlain[] = L"硬件版本 : V123";
constexpr wchar_t kDotted[] = L"硬件版本 : V1.23";

// Bar text and position.
using Shown = std::pair<std::wstring, int>;

struct Seen {
    Shown bar;
    std::wstring hardware;
    bool updateVisible = false;
    bool barVisible = false;
};

std::wstring TextOf(HWND hwnd) {
    wchar_t text[128] = {};
    GetWindowTextW(hwnd, text, 128);
    return text;
}

// The box as the main window runs it, recording what the bar shows after each stage the tool
// posts and every tool start. With an argument the tool is started with it (the box itself never
// passes one); with a fake result nothing is started.
class ObservedDlg : public CFWUpdateDlg {
public:
    explicit ObservedDlg(std::wstring argument, std::optional<INT_PTR> fakeResult = std::nullopt,
                         int version = 0x123)
        : CFWUpdateDlg(nullptr, version, L"Firmware"), m_argument(std::move(argument)),
          m_fakeResult(fakeResult) {}

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        const LRESULT result = CFWUpdateDlg::WindowProc(message, wParam, lParam);
        if (message == kProgress) {
            shown.emplace_back(ProgressBar().Text(), ProgressBar().Pos());
        }
        return result;
    }

    Seen Look() const {
        return {{ProgressBar().Text(), ProgressBar().Pos()},
                TextOf(HardwareLabel()),
                IsWindowVisible(UpdateButton()) != FALSE,
                IsWindowVisible(ProgressBar().Hwnd()) != FALSE};
    }

    std::vector<Shown> shown;
    std::vector<std::wstring> started;

protected:
    INT_PTR StartTool(const std::wstring& path) override {
        started.push_back(path);
        if (m_fakeResult) {
            return *m_fakeResult;
        }
        if (m_argument.empty()) {
            return CFWUpdateDlg::StartTool(path);
        }
        return reinterpret_cast<INT_PTR>(
            ShellExecuteW(nullptr, L"open", path.c_str(), m_argument.c_str(), nullptr, SW_SHOW));
    }

private:
    std::wstring m_argument;
    std::optional<INT_PTR> m_fakeResult;
};

// A program folder with the box's pictures and, when asked, the stand-in flash tool copied from
// beside the test program.
std::wstring MakeProgramFolder(bool withTool) {
    const std::wstring folder = MakeSkinFolder();
    SaveSolidPng(SkinFile(L"fw_update.png"), 368, 380, RGB(30, 30, 30));
    SaveSolidPng(SkinFile(L"fw_update_d.png"), 368, 380, RGB(150, 0, 0));
    if (withTool) {
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        const std::filesystem::path built =
            std::filesystem::path(self).parent_path() / L"fwupdate" / L"KPT_FW_Update_Tool.exe";
        std::filesystem::create_directories(folder + L"fwupdate");
        EXPECT_TRUE(CopyFileW(built.c_str(), (folder + kTool).c_str(), FALSE));
    }
    return folder;
}

// The texts of the box's labels, and how many of its children reach past its client area.
std::pair<std::vector<std::wstring>, int> Children(HWND dialog) {
    RECT client{};
    GetClientRect(dialog, &client);
    std::pair<std::vector<std::wstring>, int> found{{}, 0};
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[16] = {};
        GetClassNameW(child, cls, 16);
        if (lstrcmpiW(cls, L"Static") == 0) {
            found.first.push_back(TextOf(child));
        }
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        found.second += (r.right > client.right || r.bottom > client.bottom) ? 1 : 0;
    }
    return found;
}

bool ToolWindowOpen() {
    return FindWindowW(nullptr, L"QJ FWUpdate") != nullptr;
}
} // namespace

TEST(FWUpdateDlgTest, ShowsEveryStageTheFlashToolPostsAndAFailureWhenTheToolIsMissing) {
    const Shown boot{L"进入bootloader", 20}, prepare{L"准备数据", 30}, erased{L"擦除数据成功", 40},
        writing{L"开始写数据", 50}, written{L"写入成功", 60}, verified{L"校验成功", 75},
        updated{L"更新成功", 100}, eraseFailed{L"擦除数据失败", 100}, writeFailed{L"写入失败", 100},
        verifyFailed{L"校验失败", 100}, prepareFailed{L"准备数据失败", 20},
        upToDate{L"已是最新版本", 100}, noMouse{L"未找到鼠标", 100};
    struct Row {
        const char* name;
        const wchar_t* argument;
        bool toolInFolder;
        std::vector<Shown> shown;
        Shown last;
        const wchar_t* hardware;
    };
    const std::vector<Row> rows = {
        {"success",
         L"",
         true,
         {boot, prepare, erased, writing, written, verified, updated},
         updated,
         kDotted},
        {"erase fails", L"erase-fails", true, {boot, prepare, eraseFailed}, eraseFailed, kPlain},
        {"write fails",
         L"write-fails",
         true,
         {boot, prepare, erased, writing, writeFailed},
         writeFailed,
         kPlain},
        {"verify fails",
         L"verify-fails",
         true,
         {boot, prepare, erased, writing, written, verifyFailed},
         verifyFailed,
         kPlain},
        {"preparing fails: the bar stays",
         L"prepare-fails",
         true,
         {boot, prepareFailed},
         prepareFailed,
         kPlain},
        {"up to date", L"up-to-date", true, {boot, upToDate}, upToDate, kPlain},
        {"no mouse", L"no-mouse", true, {noMouse}, noMouse, kPlain},
        {"tool missing: a failure at once, not a bar waiting for ever",
         L"",
         false,
         {},
         {L"准备数据失败", 10},
         kPlain},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_FALSE(ToolWindowOpen()) << "a tool of an earlier row is still running";
        const std::wstring folder = MakeProgramFolder(row.toolInFolder);
        ObservedDlg box(row.argument);
        Seen seen;
        bool closed = false;
        std::vector<ModalSteps::Step> steps = {[&] { PostClick(box.UpdateButton()); }};
        steps.insert(steps.end(), kPolls, [&] {
            if (!closed && box.shown.size() >= row.shown.size() && !ToolWindowOpen()) {
                closed = true;
                seen = box.Look();
                PostClick(box.CloseButton());
            }
        });
        ModalSteps run(box, steps);
        EXPECT_EQ(IDCANCEL, run.Run());
        EXPECT_EQ(std::vector<std::wstring>{folder + kTool}, box.started);
        EXPECT_EQ(row.shown, box.shown);
        EXPECT_EQ(row.last, seen.bar);
        EXPECT_EQ(row.hardware, seen.hardware);
        EXPECT_FALSE(seen.updateVisible);
        EXPECT_TRUE(seen.barVisible);
    }
}

TEST(FWUpdateDlgTest, UpdateStartsTheToolUnlessItIsOpenAndStagesChangeOnlyWhatTheirRowSays) {
    struct Row {
        const char* name;
        bool toolWindowOpen;
        std::vector<WPARAM> before;
        std::vector<WPARAM> after;
        bool endBetween;
        Shown bar;
        const wchar_t* hardware;
        int version = 0x123;
    };
    const std::vector<Row> rows = {
        {"update pressed: bar at 10, tool started", false, {}, {}, false, {L"", 10}, kPlain},
        {"tool window open: bar at 10, nothing started", true, {}, {}, false, {L"", 10}, kPlain},
        {"unknown stage", false, {12}, {5}, false, {L"校验成功", 75}, kPlain},
        {"stage past the table", false, {12}, {99}, false, {L"校验成功", 75}, kPlain},
        {"huge code", false, {12}, {static_cast<WPARAM>(-1)}, false, {L"校验成功", 75}, kPlain},
        {"preparing failed keeps the bar", false, {12}, {17}, false, {L"准备数据失败", 75}, kPlain},
        {"second up-to-date code", false, {}, {20}, false, {L"已是最新版本", 100}, kPlain},
        {"success: point after the first digit",
         false,
         {},
         {16},
         false,
         {L"更新成功", 100},
         kDotted},
        {"success with a one-digit version: no point with nothing after it",
         false,
         {},
         {16},
         false,
         {L"更新成功", 100},
         L"硬件版本 : V0",
         0},
        {"stages after the box ended", false, {12}, {16, 22}, true, {L"校验成功", 75}, kPlain},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::wstring folder = MakeProgramFolder(false);
        std::optional<RecorderWindow> toolWindow;
        if (row.toolWindowOpen) {
            toolWindow.emplace(L"QJ FWUpdate");
        }
        ObservedDlg box(L"", INT_PTR{42}, row.version);
        Seen seen;
        const auto post = [&](const std::vector<WPARAM>& stages) {
            for (WPARAM stage : stages) {
                PostMessageW(box.Hwnd(), kProgress, stage, 0);
            }
        };
        ModalSteps run(box, {[&] { PostClick(box.UpdateButton()); }, [&] { post(row.before); },
                             [&] {
                                 if (!row.endBetween) {
                                     post(row.after);
                                     return;
                                 }
                                 // Ended, but the window is still there for the stages.
                                 SendMessageW(box.Hwnd(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                                              reinterpret_cast<LPARAM>(box.CloseButton()));
                                 for (WPARAM stage : row.after) {
                                     SendMessageW(box.Hwnd(), kProgress, stage, 0);
                                 }
                                 seen = box.Look();
                             },
                             [&] {
                                 seen = box.Look();
                                 PostClick(box.CloseButton());
                             }});
        EXPECT_EQ(IDCANCEL, run.Run());
        EXPECT_EQ(row.toolWindowOpen ? std::vector<std::wstring>{}
                                     : std::vector<std::wstring>{folder + kTool},
                  box.started);
        EXPECT_EQ(row.bar, seen.bar);
        EXPECT_EQ(row.hardware, seen.hardware);
        EXPECT_TRUE(seen.barVisible);
        EXPECT_FALSE(seen.updateVisible);
    }
}

TEST(FWUpdateDlgTest, LaysOutItsTextsWithOrWithoutPicturesAndEndsOnlyByCloseOrEscape) {
    struct Row {
        const char* name;
        bool pictures;
        int version;
        std::wstring hardware;
        std::wstring closeCaption;
    };
    const std::vector<Row> rows = {
        {"skinned", true, 0x123, kPlain, L"Close"},
        {"no pictures and no skin ini: template size, every control inside", false, 0x2A,
         L"硬件版本 : V2a", L""},
        {"version never read from the mouse", true, -1, L"硬件版本 : Vffffffff", L"Close"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MakeSkinFolder();
        if (row.pictures) {
            MakeProgramFolder(false);
            WritePrivateProfileStringW(L"BUTTONPOS", L"2", L"Close",
                                       SkinFile(L"skin_warn.ini").c_str());
        }
        CFWUpdateDlg box(nullptr, row.version, L"Firmware");
        std::pair<std::vector<std::wstring>, int> children;
        std::wstring title;
        std::wstring closeCaption;
        RECT window{};
        bool openAfterEnter = false;
        bool barHidden = false;
        ModalSteps run(box, {[&] {
                                 children = Children(box.Hwnd());
                                 title = TextOf(box.Hwnd());
                                 closeCaption = dynamic_cast<CBitmapBtn*>(
                                                    winlayer::Window::FromHandle(box.CloseButton()))
                                                    ->GetCaption();
                                 GetWindowRect(box.Hwnd(), &window);
                                 barHidden = !IsWindowVisible(box.ProgressBar().Hwnd());
                                 PostKey(box.Hwnd(), VK_RETURN);
                             },
                             [&] {
                                 openAfterEnter = IsWindow(box.Hwnd()) != FALSE;
                                 PostKey(box.Hwnd(), VK_ESCAPE);
                             }});
        EXPECT_EQ(IDCANCEL, run.Run());
        EXPECT_EQ(L"QJ FW UPDATE", title);
        EXPECT_EQ((std::vector<std::wstring>{L"Firmware", L"软件版本 : V1.00", row.hardware}),
                  children.first);
        EXPECT_EQ(row.closeCaption, closeCaption);
        EXPECT_EQ(row.pictures,
                  window.right - window.left == 368 && window.bottom - window.top == 380);
        EXPECT_EQ(0, children.second);
        EXPECT_TRUE(barHidden);
        EXPECT_TRUE(openAfterEnter);
    }
}
