#include "config/dialogs/Warning/CWarningDlg.h"

#include "tests/config/controls/ControlTestSupport.h"
#include "tests/config/dialogs/ModalSteps.h"

#include <gtest/gtest.h>

namespace {
constexpr int kWidth = 340;
constexpr int kHeight = 390;

void MakeWarningSkin(bool withPictures) {
    MakeSkinFolder();
    if (withPictures) {
        SaveSolidPng(SkinFile(L"warn_n.png"), kWidth, kHeight, RGB(20, 20, 20));
        SaveSolidPng(SkinFile(L"warn_d.png"), kWidth, kHeight, RGB(90, 0, 0));
    }
    const std::wstring ini = SkinFile(L"skin_warn.ini");
    WritePrivateProfileStringW(L"BUTTONPOS", L"1", L"OK", ini.c_str());
    WritePrivateProfileStringW(L"BUTTONPOS", L"2", L"Cancel", ini.c_str());
}

struct Label {
    std::wstring text;
    RECT rect;
};

std::vector<Label> Labels(HWND dialog) {
    std::vector<Label> labels;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[16] = {};
        GetClassNameW(child, cls, 16);
        if (lstrcmpiW(cls, L"Static") != 0) {
            continue;
        }
        wchar_t text[64] = {};
        GetWindowTextW(child, text, 64);
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        labels.push_back({text, r});
    }
    return labels;
}
} // namespace

TEST(WarningDlgTest, EndsWithOkFromTheButtonOrEnterAndCancelFromTheButtonOrEscape) {
    enum class Act { ClickOk, Enter, EnterOnOk, ClickCancel, Escape };
    struct Row {
        const char* name;
        bool pictures;
        Act act;
        std::wstring first;
        INT_PTR result;
    };
    const std::vector<Row> rows = {
        {"OK button", true, Act::ClickOk, L"line", IDOK},
        {"Enter", true, Act::Enter, L"line", IDOK},
        {"Enter while the OK button has the keys", true, Act::EnterOnOk, L"line", IDOK},
        {"Cancel button", true, Act::ClickCancel, L"line", IDCANCEL},
        {"Escape", true, Act::Escape, L"line", IDCANCEL},
        {"empty texts", true, Act::Enter, L"", IDOK},
        {"no pictures: template size, still answers", false, Act::Escape, L"line", IDCANCEL},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MakeWarningSkin(row.pictures);
        CWarningDlg box(nullptr, L"Title", row.first, L"", 0);
        std::vector<Label> labels;
        RECT window{};
        ModalSteps steps(box, {[&] {
                                   labels = Labels(box.Hwnd());
                                   GetWindowRect(box.Hwnd(), &window);
                               },
                               [&] {
                                   switch (row.act) {
                                   case Act::ClickOk:
                                       SendMessageW(box.OkButton(), WM_LBUTTONDOWN, MK_LBUTTON,
                                                    PointParam(5, 5));
                                       SendMessageW(box.OkButton(), WM_LBUTTONUP, 0,
                                                    PointParam(5, 5));
                                       break;
                                   case Act::Enter:
                                       PostKey(box.Hwnd(), VK_RETURN);
                                       break;
                                   case Act::EnterOnOk:
                                       PostKey(box.OkButton(), VK_RETURN);
                                       break;
                                   case Act::ClickCancel:
                                       PostClick(box.CancelButton());
                                       break;
                                   case Act::Escape:
                                       PostKey(box.Hwnd(), VK_ESCAPE);
                                       break;
                                   }
                               }});
        EXPECT_EQ(row.result, steps.Run());
        if (row.pictures) {
            EXPECT_EQ(kWidth, window.right - window.left);
            EXPECT_EQ(kHeight, window.bottom - window.top);
        } else {
            EXPECT_GT(window.right - window.left, 0);
        }
        // Title, first and second line keep their places whatever their texts.
        ASSERT_EQ(3U, labels.size());
        EXPECT_EQ(L"Title", labels[0].text);
        EXPECT_EQ(row.first, labels[1].text);
        EXPECT_EQ(L"", labels[2].text);
        EXPECT_EQ(100, labels[1].rect.top);
        EXPECT_EQ(122, labels[2].rect.top);
    }
}
