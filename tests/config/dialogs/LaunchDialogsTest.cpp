#include "config/dialogs/LaunchApp/CLaunchApp.h"
#include "config/dialogs/LaunchDir/CLaunchDir.h"
#include "config/dialogs/LaunchWWW/CLaunchWWW.h"

#include "tests/config/controls/ControlTestSupport.h"
#include "tests/config/dialogs/ModalSteps.h"

#include <gtest/gtest.h>

#include <memory>

namespace {
constexpr int kWidth = 340;
constexpr int kHeight = 390;
const std::wstring kTooLong(300, L'x');

void MakeBoxSkin(bool withPictures) {
    MakeSkinFolder();
    if (withPictures) {
        SaveSolidPng(SkinFile(L"box3.jpg"), kWidth, kHeight, RGB(20, 20, 20));
        SaveSolidPng(SkinFile(L"box4.jpg"), kWidth, kHeight, RGB(90, 0, 0));
    }
    const std::wstring ini = SkinFile(L"skin_warn.ini");
    WritePrivateProfileStringW(L"BUTTONPOS", L"1", L"OK", ini.c_str());
    WritePrivateProfileStringW(L"BUTTONPOS", L"2", L"Cancel", ini.c_str());
}

std::wstring CaptionOf(HWND button) {
    const auto* object = dynamic_cast<CBitmapBtn*>(winlayer::Window::FromHandle(button));
    return object != nullptr ? object->GetCaption() : L"<no button>";
}

enum class Kind { App, Dir, Www };
enum class Act {
    Ok,                // OK at once
    ChooseOk,          // middle button, then OK
    ChooseTwiceOk,     // middle button twice (the second choice wins), then OK
    ChooseRefusedOk,   // middle button, a warning box appears and is closed, then OK
    TypeOk,            // type the address, OK button
    TypeEnter,         // type the address, Enter in the edit
    TypeCancel,        // type the address, Cancel button
    RefusedThenEscape, // OK refused with a warning box, then Escape
};

struct Row {
    const char* name;
    Kind kind;
    bool pictures;
    std::wstring preset;
    std::vector<std::optional<std::wstring>> choices;
    Act act;
    std::wstring typed;
    INT_PTR result;
    std::wstring target;
    bool warned;
};

std::unique_ptr<CLaunchTargetDlg> Make(Kind kind) {
    switch (kind) {
    case Kind::App:
        return std::make_unique<CLaunchApp>(nullptr, L"指派程序开启", L"", L"hint");
    case Kind::Dir:
        return std::make_unique<CLaunchDir>(nullptr, L"打开目录", L"", L"hint");
    case Kind::Www:
        break;
    }
    return std::make_unique<CLaunchWWW>(nullptr, L"打开网址", L"", L"hint");
}
} // namespace

TEST(LaunchDialogsTest, OneRunEndsWithTheTargetTheUserAcceptedAndRefusesOverLongOnes) {
    const std::vector<Row> rows = {
        {"app: OK keeps the caller's target",
         Kind::App,
         true,
         L"C:\\Games\\a.exe",
         {},
         Act::Ok,
         L"",
         IDOK,
         L"C:\\Games\\a.exe",
         false},
        {"app: OK with no target", Kind::App, true, L"", {}, Act::Ok, L"", IDOK, L"", false},
        {"app: chosen program",
         Kind::App,
         true,
         L"C:\\old.exe",
         {L"C:\\Tools\\b.exe"},
         Act::ChooseOk,
         L"",
         IDOK,
         L"C:\\Tools\\b.exe",
         false},
        {"app: cancelled chooser keeps the target",
         Kind::App,
         true,
         L"C:\\old.exe",
         {std::nullopt},
         Act::ChooseOk,
         L"",
         IDOK,
         L"C:\\old.exe",
         false},
        {"app: over-long program refused, not cut",
         Kind::App,
         true,
         L"C:\\old.exe",
         {kTooLong},
         Act::ChooseRefusedOk,
         L"",
         IDOK,
         L"C:\\old.exe",
         true},
        {"dir: chosen folder, then another",
         Kind::Dir,
         true,
         L"",
         {L"D:\\Music", L"D:\\Films"},
         Act::ChooseTwiceOk,
         L"",
         IDOK,
         L"D:\\Films",
         false},
        {"dir: cancelled browser keeps the folder",
         Kind::Dir,
         true,
         L"D:\\Music",
         {std::nullopt},
         Act::ChooseOk,
         L"",
         IDOK,
         L"D:\\Music",
         false},
        {"dir: over-long folder refused",
         Kind::Dir,
         true,
         L"D:\\Music",
         {kTooLong},
         Act::ChooseRefusedOk,
         L"",
         IDOK,
         L"D:\\Music",
         true},
        {"dir: no pictures, template size",
         Kind::Dir,
         false,
         L"D:\\Music",
         {L"E:\\"},
         Act::ChooseOk,
         L"",
         IDOK,
         L"E:\\",
         false},
        {"www: typed address by OK",
         Kind::Www,
         true,
         L"old.example",
         {},
         Act::TypeOk,
         L"www.example.com",
         IDOK,
         L"www.example.com",
         false},
        {"www: typed address by Enter",
         Kind::Www,
         true,
         L"",
         {},
         Act::TypeEnter,
         L"www.example.com/a",
         IDOK,
         L"www.example.com/a",
         false},
        {"www: OK keeps the caller's address",
         Kind::Www,
         true,
         L"old.example",
         {},
         Act::Ok,
         L"",
         IDOK,
         L"old.example",
         false},
        {"www: cancel keeps the caller's address",
         Kind::Www,
         true,
         L"old.example",
         {},
         Act::TypeCancel,
         L"new.example",
         IDCANCEL,
         L"old.example",
         false},
        {"www: over-long address refused at OK",
         Kind::Www,
         true,
         kTooLong,
         {},
         Act::RefusedThenEscape,
         L"",
         IDCANCEL,
         kTooLong,
         true},
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
        HWND edit = nullptr;
        std::wstring shown;
        bool warned = false;
        RECT window{};
        std::vector<ModalSteps::Step> steps = {[&] {
            GetWindowRect(dialog->Hwnd(), &window);
            if (row.kind == Kind::Www) {
                edit = static_cast<CLaunchWWW&>(*dialog).AddressEdit();
                EXPECT_EQ(static_cast<LRESULT>(CLaunchTargetDlg::kMaxTarget),
                          SendMessageW(edit, EM_GETLIMITTEXT, 0, 0));
                if (!row.typed.empty()) {
                    SetWindowTextW(edit, row.typed.c_str());
                }
            }
        }};
        const auto lookForWarning = [&] {
            const HWND box = OpenBoxOf(dialog->Hwnd());
            warned = box != nullptr;
            if (box != nullptr) {
                PostKey(box, VK_RETURN);
            }
        };
        switch (row.act) {
        case Act::Ok:
        case Act::TypeOk:
            steps.push_back([&] { PostClick(dialog->OkButton()); });
            break;
        case Act::ChooseTwiceOk:
            steps.push_back([&] { PostClick(dialog->MiddleButton()); });
            [[fallthrough]];
        case Act::ChooseOk:
            steps.push_back([&] { PostClick(dialog->MiddleButton()); });
            steps.push_back([&] {
                shown = CaptionOf(dialog->MiddleButton());
                PostClick(dialog->OkButton());
            });
            break;
        case Act::ChooseRefusedOk:
            steps.push_back([&] { PostClick(dialog->MiddleButton()); });
            steps.push_back(lookForWarning);
            steps.push_back([&] {
                shown = CaptionOf(dialog->MiddleButton());
                PostClick(dialog->OkButton());
            });
            break;
        case Act::TypeEnter:
            steps.push_back([&] { PostKey(edit, VK_RETURN); });
            break;
        case Act::TypeCancel:
            steps.push_back([&] { PostClick(dialog->CancelButton()); });
            break;
        case Act::RefusedThenEscape:
            steps.push_back([&] { PostClick(dialog->OkButton()); });
            steps.push_back(lookForWarning);
            steps.push_back([&] { PostKey(dialog->Hwnd(), VK_ESCAPE); });
            break;
        }
        ModalSteps driver(*dialog, std::move(steps));
        EXPECT_EQ(row.result, driver.Run());
        EXPECT_EQ(row.target, dialog->Target());
        EXPECT_EQ(row.warned, warned);
        if (!row.choices.empty()) {
            EXPECT_EQ(row.choices.size(), asked);
            // The middle button shows the target that stands.
            EXPECT_EQ(row.target, shown);
        }
        if (row.pictures) {
            EXPECT_EQ(kWidth, window.right - window.left);
            EXPECT_EQ(kHeight, window.bottom - window.top);
        } else {
            EXPECT_GT(window.right - window.left, 0);
        }
    }
}
