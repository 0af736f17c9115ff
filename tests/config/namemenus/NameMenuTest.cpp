#include "config/controls/CMacroNameMenu.h"
#include "config/controls/CMoreMenu.h"
#include "config/controls/CProfileNameMenu.h"

#include "tests/config/controls/ControlTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {
constexpr int kPictureWidth = 170;

enum class Kind { Macro, Profile, More };

std::vector<std::wstring> Names(int count) {
    std::vector<std::wstring> names;
    for (int i = 0; i < count; ++i) {
        names.push_back(L"name " + std::to_wstring(i));
    }
    return names;
}

class NameMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        MakeSkinFolder();
        SaveSolidPng(SkinFile(L"macro_menu_n.jpg"), kPictureWidth, 420, RGB(40, 40, 40));
        SaveSolidPng(SkinFile(L"macro_menu_n2.jpg"), 120, 70, RGB(40, 40, 40));
        m_owner.Clear();
    }
    std::unique_ptr<CNameMenu> Open(Kind kind, int names) {
        std::unique_ptr<CNameMenu> menu;
        UINT templateId = 0;
        switch (kind) {
        case Kind::Macro:
            menu = std::make_unique<CMacroNameMenu>(&m_owner, Names(names), 7);
            templateId = CMacroNameMenu::kTemplate;
            break;
        case Kind::Profile:
            menu = std::make_unique<CProfileNameMenu>(&m_owner, Names(names));
            templateId = CProfileNameMenu::kTemplate;
            break;
        case Kind::More:
            menu = std::make_unique<CMoreMenu>(&m_owner);
            templateId = CMoreMenu::kTemplate;
            break;
        }
        menu->SetPosition(300, 40);
        EXPECT_TRUE(menu->Create(templateId, &m_owner));
        ShowWindow(menu->Hwnd(), SW_SHOWNA);
        Pump();
        m_owner.Clear();
        return menu;
    }
    static POINT RowCentre(const CNameMenu& menu, int row) {
        RECT r{};
        SendMessageW(menu.List().Hwnd(), LB_GETITEMRECT, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&r));
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    static void Press(HWND hwnd, UINT down, UINT up, POINT p) {
        SendMessageW(hwnd, down, MK_LBUTTON, PointParam(p.x, p.y));
        SendMessageW(hwnd, up, 0, PointParam(p.x, p.y));
        Pump();
    }

    RecordingParent m_owner{100, 100};
};

SIZE WindowSize(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return {r.right - r.left, r.bottom - r.top};
}

int Count(const CNameMenu& menu) {
    return static_cast<int>(SendMessageW(menu.List().Hwnd(), LB_GETCOUNT, 0, 0));
}
} // namespace

TEST_F(NameMenuTest, RowsAndHeightFollowTheNamesUpToTwentyAndEveryNameIsListed) {
    struct Row {
        const char* name;
        Kind kind;
        int names;
        bool skinTexts;
        int rows;
        int height;
        std::vector<std::wstring> texts;
    };
    const std::vector<Row> rows = {
        {"25 macros: 20 rows, the rest scroll", Kind::Macro, 25, false, 20, 402, Names(25)},
        {"3 macros", Kind::Macro, 3, false, 3, 62, Names(3)},
        {"no profiles: no rows", Kind::Profile, 0, false, 0, 2, {}},
        {"20 profiles", Kind::Profile, 20, false, 20, 402, Names(20)},
        {"more-menu without skin texts", Kind::More, 0, false, 3, 62, {L"", L"", L""}},
        {"more-menu with skin texts", Kind::More, 0, true, 3, 62, {L"Copy", L"Import", L"Export"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.skinTexts) {
            const std::wstring ini = SkinFile(L"skin_main.ini");
            WritePrivateProfileStringW(L"BUTTONPOS", L"1", L"Copy", ini.c_str());
            WritePrivateProfileStringW(L"BUTTONPOS", L"2", L"Import", ini.c_str());
            WritePrivateProfileStringW(L"BUTTONPOS", L"3", L"Export", ini.c_str());
        }
        auto menu = Open(row.kind, row.names);
        ASSERT_NE(nullptr, menu->Hwnd());
        EXPECT_EQ(row.rows, menu->Rows());
        const SIZE size = WindowSize(menu->Hwnd());
        EXPECT_EQ(row.height, size.cy);
        EXPECT_EQ(row.kind == Kind::More ? 120 : kPictureWidth, size.cx);
        EXPECT_EQ(row.rows * CNameMenu::kRowHeight, WindowSize(menu->List().Hwnd()).cy);
        ASSERT_EQ(static_cast<int>(row.texts.size()), Count(*menu));
        for (size_t i = 0; i < row.texts.size(); ++i) {
            EXPECT_EQ(row.texts[i], menu->List().GetText(static_cast<int>(i)));
        }
        if (row.names > CNameMenu::kMaxRows) {
            SendMessageW(menu->List().Hwnd(), LB_SETTOPINDEX, 5, 0);
            EXPECT_EQ(5, SendMessageW(menu->List().Hwnd(), LB_GETTOPINDEX, 0, 0));
        }
        RECT where{};
        GetWindowRect(menu->Hwnd(), &where);
        EXPECT_EQ(300, where.left);
        EXPECT_EQ(40, where.top);
        menu->DestroyWindow();
        MakeSkinFolder();
        SaveSolidPng(SkinFile(L"macro_menu_n.jpg"), kPictureWidth, 420, RGB(40, 40, 40));
        SaveSolidPng(SkinFile(L"macro_menu_n2.jpg"), 120, 70, RGB(40, 40, 40));
    }
}

TEST_F(NameMenuTest, WithoutItsPictureTheMenuKeepsTheTemplateWidthAndItsFrame) {
    DeleteFileW(SkinFile(L"macro_menu_n.jpg").c_str());
    auto menu = Open(Kind::Macro, 2);
    const SIZE size = WindowSize(menu->Hwnd());
    EXPECT_GT(size.cx, 20);
    EXPECT_EQ(42, size.cy);
    UpdateWindow(menu->Hwnd());
    const ScreenShot shot(menu->Hwnd());
    EXPECT_EQ(CNameMenu::kFrameColor, shot.At(size.cx / 2, 41));
    EXPECT_EQ(CNameMenu::kFrameColor, shot.At(size.cx - 1, 20));
}

TEST_F(NameMenuTest, SelectionAndDoubleClickPostTheChosenRowOnlyForRowsThatExist) {
    struct Row {
        const char* name;
        Kind kind;
        int names;
        std::function<void(NameMenuTest&, CNameMenu&)> act;
        UINT message;
        std::vector<WPARAM> rows;
    };
    const std::vector<Row> table = {
        {"click on a macro row",
         Kind::Macro,
         5,
         [](NameMenuTest& t, CNameMenu& m) {
             t.Press(m.List().Hwnd(), WM_LBUTTONDOWN, WM_LBUTTONUP, RowCentre(m, 3));
         },
         CMacroNameMenu::kChoice,
         {3}},
        {"double click posts the row again",
         Kind::Profile,
         4,
         [](NameMenuTest& t, CNameMenu& m) {
             t.Press(m.List().Hwnd(), WM_LBUTTONDOWN, WM_LBUTTONUP, RowCentre(m, 2));
             t.Press(m.List().Hwnd(), WM_LBUTTONDBLCLK, WM_LBUTTONUP, RowCentre(m, 2));
         },
         CProfileNameMenu::kChoice,
         {2, 2}},
        {"more-menu entry",
         Kind::More,
         0,
         [](NameMenuTest& t, CNameMenu& m) {
             t.Press(m.List().Hwnd(), WM_LBUTTONDOWN, WM_LBUTTONUP, RowCentre(m, 1));
         },
         CMoreMenu::kChoice,
         {1}},
        {"a scrolled-to row past the twentieth",
         Kind::Macro,
         25,
         [](NameMenuTest& t, CNameMenu& m) {
             SendMessageW(m.List().Hwnd(), LB_SETTOPINDEX, 5, 0);
             t.Press(m.List().Hwnd(), WM_LBUTTONDOWN, WM_LBUTTONUP, RowCentre(m, 24));
         },
         CMacroNameMenu::kChoice,
         {24}},
        {"a selection notice with nothing selected",
         Kind::Macro,
         5,
         [](NameMenuTest&, CNameMenu& m) {
             SendMessageW(m.Hwnd(), WM_COMMAND, MAKEWPARAM(CNameMenu::kListId, LBN_SELCHANGE),
                          reinterpret_cast<LPARAM>(m.List().Hwnd()));
         },
         CMacroNameMenu::kChoice,
         {}},
        {"click in an empty menu",
         Kind::Profile,
         0,
         [](NameMenuTest& t, CNameMenu& m) {
             t.Press(m.List().Hwnd(), WM_LBUTTONDOWN, WM_LBUTTONUP, {5, 0});
             t.Press(m.Hwnd(), WM_LBUTTONDOWN, WM_LBUTTONUP, {5, 1});
         },
         CProfileNameMenu::kChoice,
         {}},
        {"click on the menu's frame",
         Kind::Macro,
         3,
         [](NameMenuTest& t, CNameMenu& m) {
             t.Press(m.Hwnd(), WM_LBUTTONDOWN, WM_LBUTTONUP, {0, 0});
         },
         CMacroNameMenu::kChoice,
         {}},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        auto menu = Open(row.kind, row.names);
        row.act(*this, *menu);
        std::vector<WPARAM> posted;
        for (const RecordedMessage& m : m_owner.Received(row.message)) {
            EXPECT_EQ(0, m.lParam);
            posted.push_back(m.wParam);
        }
        if (row.rows.empty()) {
            EXPECT_TRUE(posted.empty());
        } else {
            // Every notice of a press posts the row; a double click adds one more.
            ASSERT_GE(posted.size(), row.rows.size());
            for (WPARAM p : posted) {
                EXPECT_EQ(row.rows.front(), p);
            }
        }
        menu->DestroyWindow();
    }
}
