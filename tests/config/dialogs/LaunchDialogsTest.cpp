#include "config/dialogs/LaunchApp/CLaunchApp.h"
#include "config/dialogs/LaunchDir/CLaunchDir.h"
#include "config/dialogs/LaunchWWW/CLaunchWWW.h"

#include "tests/config/controls/ControlTestSupport.h"
#include "tests/config/dialogs/ModalSteps.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

namespace {
const std::wstring kTooLong(300, L'x');

void MakeBoxSkin(bool withPictures) {
    MakeSkinFolder();
    if (withPictures) {
        SaveSolidPng(SkinFile(L"box3.jpg"), 340, 390, RGB(20, 20, 20));
        SaveSolidPng(SkinFile(L"box4.jpg"), 340, 390, RGB(90, 0, 0));
    }
}

std::unique_ptr<CLaunchTargetDlg> Make(char kind) {
    if (kind == 'a') {
        return std::make_unique<CLaunchApp>(nullptr, L"指派程序开启", L"", L"hint");
    }
    if (kind == 'd') {
        return std::make_unique<CLaunchDir>(nullptr, L"打开目录", L"", L"hint");
    }
    return std::make_unique<CLaunchWWW>(nullptr, L"打开网址", L"", L"hint");
}
} // namespace

TEST(LaunchDialogsTest, OneRunEndsWithTheTargetTheUserAcceptedAndRefusesOverLongOnes) {
    // Actions: "choose" clicks the middle button, "type" types the row's text into the address
    // edit, "warned" answers the warning box that must be open, "ok", "cancel", "enter", "esc".
    struct Row {
        const char* name;
        char kind; // 'a' program, 'd' folder, 'w' web address
        bool pictures;
        std::wstring preset;
        std::vector<std::optional<std::wstring>> choices; // the chooser's answers in turn
        std::wstring typed;
        const char* actions;
        INT_PTR result;
        std::wstring target;
    };
    const std::vector<Row> rows = {
        {"app: OK keeps the caller's target",
         'a',
         true,
         L"C:\\a.exe",
         {},
         L"",
         "ok",
         IDOK,
         L"C:\\a.exe"},
        {"app: OK with no target", 'a', true, L"", {}, L"", "ok", IDOK, L""},
        {"app: chosen program",
         'a',
         true,
         L"C:\\a.exe",
         {L"C:\\b.exe"},
         L"",
         "choose ok",
         IDOK,
         L"C:\\b.exe"},
        {"app: cancelled chooser",
         'a',
         true,
         L"C:\\a.exe",
         {std::nullopt},
         L"",
         "choose ok",
         IDOK,
         L"C:\\a.exe"},
        {"app: over-long program refused",
         'a',
         true,
         L"C:\\a.exe",
         {kTooLong},
         L"",
         "choose warned ok",
         IDOK,
         L"C:\\a.exe"},
        {"dir: two choices, the last stands",
         'd',
         true,
         L"",
         {L"D:\\M", L"D:\\F"},
         L"",
         "choose choose ok",
         IDOK,
         L"D:\\F"},
        {"dir: cancelled browser",
         'd',
         true,
         L"D:\\M",
         {std::nullopt},
         L"",
         "choose enter",
         IDOK,
         L"D:\\M"},
        {"dir: over-long folder refused",
         'd',
         true,
         L"D:\\M",
         {kTooLong},
         L"",
         "choose warned ok",
         IDOK,
         L"D:\\M"},
        {"dir: no pictures", 'd', false, L"D:\\M", {L"E:\\"}, L"", "choose ok", IDOK, L"E:\\"},
        {"www: typed, OK",
         'w',
         true,
         L"old.example",
         {},
         L"www.example.com",
         "type ok",
         IDOK,
         L"www.example.com"},
        {"www: typed, Enter",
         'w',
         true,
         L"",
         {},
         L"a.example/b",
         "type enter",
         IDOK,
         L"a.example/b"},
        {"www: typed, cancelled",
         'w',
         true,
         L"old.example",
         {},
         L"new.example",
         "type cancel",
         IDCANCEL,
         L"old.example"},
        {"www: over-long address refused",
         'w',
         true,
         kTooLong,
         {},
         L"",
         "ok warned esc",
         IDCANCEL,
         kTooLong},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MakeBoxSkin(row.pictures);
        auto dialog = Make(row.kind);
        dialog->SetTarget(row.preset);
        size_t asked = 0;
        dialog->SetChooser([&](HWND owner) -> std::optional<std::wstring> {
            EXPECT_EQ(dialog->Hwnd(), owner);
            return asked < row.choices.size() ? row.choices[asked++] : std::nullopt;
        });
        std::wstring shown;
        RECT window{};
        std::vector<ModalSteps::Step> steps = {[&] { GetWindowRect(dialog->Hwnd(), &window); }};
        std::istringstream actions(row.actions);
        for (std::string action; actions >> action;) {
            steps.push_back([&, action] {
                const HWND edit =
                    row.kind == 'w' ? static_cast<CLaunchWWW&>(*dialog).AddressEdit() : nullptr;
                if (action == "warned") {
                    const HWND box = OpenBoxOf(dialog->Hwnd());
                    ASSERT_NE(nullptr, box);
                    PostKey(box, VK_RETURN);
                } else if (action == "type") {
                    EXPECT_EQ(259, SendMessageW(edit, EM_GETLIMITTEXT, 0, 0));
                    SetWindowTextW(edit, row.typed.c_str());
                } else if (action == "choose" || action == "ok" || action == "cancel") {
                    ASSERT_EQ(nullptr, OpenBoxOf(dialog->Hwnd()));
                    if (dialog->MiddleButton() != nullptr) {
                        shown = dynamic_cast<CBitmapBtn*>(
                                    winlayer::Window::FromHandle(dialog->MiddleButton()))
                                    ->GetCaption();
                    }
                    PostClick(action == "choose" ? dialog->MiddleButton()
                              : action == "ok"   ? dialog->OkButton()
                                                 : dialog->CancelButton());
                } else {
                    PostKey(edit != nullptr ? edit : dialog->Hwnd(),
                            action == "enter" ? VK_RETURN : VK_ESCAPE);
                }
            });
        }
        EXPECT_EQ(row.result, ModalSteps(*dialog, std::move(steps)).Run());
        EXPECT_EQ(row.target, dialog->Target());
        EXPECT_EQ(row.choices.size(), asked);
        // The middle button shows the target that stands.
        EXPECT_EQ(row.kind == 'w' ? L"" : row.target, shown);
        // Without its picture the dialog keeps the template's size.
        EXPECT_EQ(row.pictures, window.right - window.left == 340);
    }
}
