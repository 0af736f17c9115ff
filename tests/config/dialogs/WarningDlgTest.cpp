#include "config/dialogs/Warning/CWarningDlg.h"

#include "tests/config/controls/ControlTestSupport.h"
#include "tests/config/dialogs/ModalSteps.h"

#include <gtest/gtest.h>

namespace {
// Texts and tops of the box's labels, in creation order.
std::vector<std::pair<std::wstring, LONG>> Labels(HWND dialog) {
    std::vector<std::pair<std::wstring, LONG>> labels;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[16] = {};
        wchar_t text[64] = {};
        GetClassNameW(child, cls, 16);
        GetWindowTextW(child, text, 64);
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        if (lstrcmpiW(cls, L"Static") == 0) {
            labels.emplace_back(text, r.top);
        }
    }
    return labels;
}
} // namespace

TEST(WarningDlgTest, EndsWithOkFromTheButtonOrEnterAndCancelFromTheButtonOrEscape) {
    struct Row {
        const char* name;
        bool pictures;
        const char* action;
        std::wstring first;
        INT_PTR result;
    };
    const std::vector<Row> rows = {
        {"OK button pressed", true, "press ok", L"line", IDOK},
        {"Enter", true, "enter", L"line", IDOK},
        {"Enter while the OK button has the keys", true, "enter on ok", L"line", IDOK},
        {"Cancel button", true, "cancel", L"line", IDCANCEL},
        {"Escape", true, "esc", L"line", IDCANCEL},
        {"empty texts keep their places", true, "enter", L"", IDOK},
        {"no pictures: template size", false, "esc", L"line", IDCANCEL},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MakeSkinFolder();
        if (row.pictures) {
            SaveSolidPng(SkinFile(L"warn_n.png"), 340, 390, RGB(20, 20, 20));
            SaveSolidPng(SkinFile(L"warn_d.png"), 340, 390, RGB(90, 0, 0));
        }
        CWarningDlg box(nullptr, L"Title", row.first, L"", 0);
        std::vector<std::pair<std::wstring, LONG>> labels;
        RECT window{};
        const std::string action = row.action;
        ModalSteps steps(box,
                         {[&] {
                              labels = Labels(box.Hwnd());
                              GetWindowRect(box.Hwnd(), &window);
                          },
                          [&] {
                              if (action == "press ok") {
                                  SendMessageW(box.OkButton(), WM_LBUTTONDOWN, MK_LBUTTON,
                                               PointParam(5, 5));
                                  SendMessageW(box.OkButton(), WM_LBUTTONUP, 0, PointParam(5, 5));
                              } else if (action == "cancel") {
                                  PostClick(box.CancelButton());
                              } else {
                                  PostKey(action == "enter on ok" ? box.OkButton() : box.Hwnd(),
                                          action == "esc" ? VK_ESCAPE : VK_RETURN);
                              }
                          }});
        EXPECT_EQ(row.result, steps.Run());
        EXPECT_EQ(row.pictures,
                  window.right - window.left == 340 && window.bottom - window.top == 390);
        EXPECT_EQ((std::vector<std::pair<std::wstring, LONG>>{
                      {L"Title", 27}, {row.first, 100}, {L"", 122}}),
                  labels);
    }
}
