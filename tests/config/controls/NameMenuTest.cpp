#include "config/controls/CMacroNameMenu.h"
#include "config/controls/CMoreMenu.h"
#include "config/controls/CProfileNameMenu.h"
#include "config/controls/CWindowHost.h"

#include "tests/config/controls/ControlTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {
enum class Kind { Macro, Profile, More };

std::vector<std::wstring> Names(int count) {
    std::vector<std::wstring> names;
    for (int i = 0; i < count; ++i) {
        names.push_back(L"name " + std::to_wstring(i));
    }
    return names;
}

// Opens a menu over a fresh skin: 170-wide name pictures (none when asked), 120-wide more-menu.
std::unique_ptr<CNameMenu> Open(RecordingParent& owner, Kind kind, int names, bool pictures = true,
                                bool moreTexts = false) {
    MakeSkinFolder();
    if (pictures) {
        SaveSolidPng(SkinFile(L"macro_menu_n.jpg"), 170, 420, RGB(40, 40, 40));
        SaveSolidPng(SkinFile(L"macro_menu_n2.jpg"), 120, 70, RGB(40, 40, 40));
    }
    const std::wstring ini = SkinFile(L"skin_main.ini");
    for (const wchar_t* key : {L"1", L"2", L"3"}) {
        WritePrivateProfileStringW(L"BUTTONPOS", key, moreTexts ? key : nullptr, ini.c_str());
    }
    std::unique_ptr<CNameMenu> menu;
    if (kind == Kind::Macro) {
        menu = std::make_unique<CMacroNameMenu>(&owner, Names(names));
    } else if (kind == Kind::Profile) {
        menu = std::make_unique<CProfileNameMenu>(&owner, Names(names));
    } else {
        menu = std::make_unique<CMoreMenu>(&owner);
    }
    menu->SetPosition(300, 40);
    const UINT id = kind == Kind::Macro     ? CMacroNameMenu::kTemplate
                    : kind == Kind::Profile ? CProfileNameMenu::kTemplate
                                            : CMoreMenu::kTemplate;
    EXPECT_TRUE(menu->Create(id, &owner));
    ShowWindow(menu->Hwnd(), SW_SHOWNA);
    Pump();
    owner.Clear();
    return menu;
}

// Takes a list over as a skin for scroll bars does: a frame window of its own, where the list
// stood in its parent, holds the list.
class FrameHost : public CWindowHost {
public:
    struct Ends {
        bool finished = false;
        bool deleted = false;
    };

    static void TakeOver(HWND list, const RECT& frame, Ends& ends) {
        const HWND parent = GetParent(list);
        const HWND own = CreateWindowExW(
            0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, frame.left, frame.top,
            frame.right - frame.left, frame.bottom - frame.top, parent, nullptr, nullptr, nullptr);
        const auto previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure)));
        CWindowHost::Host(list, std::make_unique<FrameHost>(previous, own, ends));
        SetParent(list, own);
        MoveWindow(list, 0, 0, 10, 10, TRUE);
    }

    FrameHost(WNDPROC previous, HWND own, Ends& ends) : CWindowHost(previous, own), m_ends(ends) {}
    ~FrameHost() override { m_ends.deleted = true; }
    void Finish() override {
        m_ends.finished = true;
        DestroyWindow(OwnWindow());
    }

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        const auto* host = reinterpret_cast<FrameHost*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        return CallWindowProcW(host->PreviousProcedure(), hwnd, message, wParam, lParam);
    }

    Ends& m_ends;
};

RECT RectIn(HWND window, HWND parent) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void Press(HWND hwnd, UINT down, int row) {
    RECT r{};
    SendMessageW(hwnd, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    SendMessageW(hwnd, down, MK_LBUTTON, PointParam(r.left + 5, r.top + 5));
    SendMessageW(hwnd, WM_LBUTTONUP, 0, PointParam(r.left + 5, r.top + 5));
    Pump();
}
} // namespace

TEST(NameMenuTest, RowsHeightAndEntriesFollowTheNamesUpToTwentyRows) {
    struct Row {
        const char* name;
        Kind kind;
        int names;
        bool pictures;
        bool moreTexts;
        int rows;
        int height;
        int width; // 0: the template's
        std::vector<std::wstring> texts;
    };
    const std::vector<Row> rows = {
        {"25 macros: 20 rows, the rest scroll", Kind::Macro, 25, true, false, 20, 402, 170,
         Names(25)},
        {"no profiles: no rows", Kind::Profile, 0, true, false, 0, 2, 170, {}},
        {"no picture: the template's width", Kind::Profile, 3, false, false, 3, 62, 0, Names(3)},
        {"more-menu without skin texts", Kind::More, 0, true, false, 3, 62, 120, {L"", L"", L""}},
        {"more-menu with skin texts", Kind::More, 0, true, true, 3, 62, 120, {L"1", L"2", L"3"}},
    };
    RecordingParent owner(100, 100);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto menu = Open(owner, row.kind, row.names, row.pictures, row.moreTexts);
        RECT r{};
        GetWindowRect(menu->Hwnd(), &r);
        EXPECT_EQ(300, r.left);
        EXPECT_EQ(40, r.top);
        EXPECT_EQ(row.height, r.bottom - r.top);
        if (row.width > 0) {
            EXPECT_EQ(row.width, r.right - r.left);
        }
        EXPECT_GT(r.right - r.left, 20);
        EXPECT_EQ(row.rows, menu->Rows());
        const HWND list = menu->List().Hwnd();
        ASSERT_EQ(static_cast<LRESULT>(row.texts.size()), SendMessageW(list, LB_GETCOUNT, 0, 0));
        for (size_t i = 0; i < row.texts.size(); ++i) {
            EXPECT_EQ(row.texts[i], menu->List().GetText(static_cast<int>(i)));
        }
        SendMessageW(list, LB_SETTOPINDEX, 5, 0);
        EXPECT_EQ(row.names > CNameMenu::kMaxRows ? 5 : 0,
                  SendMessageW(list, LB_GETTOPINDEX, 0, 0));
        // The frame line under the last row.
        UpdateWindow(menu->Hwnd());
        EXPECT_EQ(CNameMenu::kFrameColor, PixelAt(menu->Hwnd(), 10, row.height - 1));
    }
}

TEST(NameMenuTest, SelectionAndDoubleClickPostTheRowOnlyForRowsThatExist) {
    struct Row {
        const char* name;
        Kind kind;
        int names;
        int row;    // pressed row; -1 presses the menu's frame
        bool twice; // a double click follows
        UINT message;
        size_t posts; // at least
    };
    const std::vector<Row> rows = {
        {"click on a macro row", Kind::Macro, 5, 3, false, CMacroNameMenu::kChoice, 1},
        {"double click posts again", Kind::Profile, 4, 2, true, CProfileNameMenu::kChoice, 2},
        {"more-menu entry", Kind::More, 0, 1, false, CMoreMenu::kChoice, 1},
        {"a row scrolled to", Kind::Macro, 25, 24, false, CMacroNameMenu::kChoice, 1},
        {"click in an empty menu", Kind::Profile, 0, 0, false, CProfileNameMenu::kChoice, 0},
        {"click on the frame", Kind::Macro, 3, -1, false, CMacroNameMenu::kChoice, 0},
    };
    RecordingParent owner(100, 100);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto menu = Open(owner, row.kind, row.names);
        const HWND list = menu->List().Hwnd();
        SendMessageW(list, LB_SETTOPINDEX, 5, 0);
        if (row.row < 0) {
            SendMessageW(menu->Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, PointParam(0, 0));
        } else {
            Press(list, WM_LBUTTONDOWN, row.row);
        }
        if (row.twice) {
            Press(list, WM_LBUTTONDBLCLK, row.row);
        }
        // A selection notice while nothing names a row posts nothing.
        SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        SendMessageW(menu->Hwnd(), WM_COMMAND, MAKEWPARAM(CNameMenu::kListId, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
        const Log posted = owner.Received(row.message);
        EXPECT_GE(posted.size(), row.posts);
        EXPECT_EQ(row.posts == 0, posted.empty());
        for (const RecordedMessage& m : posted) {
            EXPECT_EQ((RecordedMessage{row.message, static_cast<WPARAM>(row.row), 0}), m);
        }
    }
}

// A list that an object took over is given back with its own procedure, into the parent of the
// object's window (or the designated host) where that window stood, and the object ends; the
// menu gives its list back when it goes.
TEST(NameMenuTest, ATakenOverListIsGivenBack) {
    struct Row {
        const char* name;
        bool takenOver;
        bool designatedHost;
        bool byDestroyingTheMenu;
        // The list's user data points at an object that took nothing over.
        bool foreignUserData = false;
    };
    const Row rows[] = {
        {"not taken over: left as it is", false, false, false},
        {"given back into the menu", true, false, false},
        {"given back to the designated host", true, true, false},
        {"given back when the menu goes", true, false, true},
        {"user data of its own: neither given back nor deleted", false, false, false, true},
    };
    constexpr RECT kFrame{4, 6, 90, 50};
    RecordingParent owner(100, 100);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto menu = Open(owner, Kind::Profile, 3);
        const HWND list = menu->List().Hwnd();
        const auto procedure = GetWindowLongPtrW(list, GWLP_WNDPROC);
        const RECT before = RectIn(list, menu->Hwnd());
        FrameHost::Ends ends;
        if (row.takenOver) {
            FrameHost::TakeOver(list, kFrame, ends);
            ASSERT_NE(menu->Hwnd(), GetParent(list));
        }
        std::unique_ptr<FrameHost> foreign;
        if (row.foreignUserData) {
            foreign =
                std::make_unique<FrameHost>(reinterpret_cast<WNDPROC>(procedure), nullptr, ends);
            SetWindowLongPtrW(list, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(foreign.get()));
        }
        const HWND parent = row.designatedHost ? owner.Hwnd() : menu->Hwnd();
        const RECT expected = row.takenOver ? RectIn(GetParent(list), parent) : before;
        CWindowHost::SetDesignatedHost(row.designatedHost ? owner.Hwnd() : nullptr);
        if (row.byDestroyingTheMenu) {
            menu->DestroyWindow();
            EXPECT_FALSE(IsWindow(list));
        } else {
            RestoreHostedWindow(list);
            const auto userData = reinterpret_cast<LONG_PTR>(foreign.get());
            if (foreign && ends.deleted) {
                // Deleted already by the wrong hands: not once more.
                static_cast<void>(foreign.release());
            }
            EXPECT_EQ(procedure, GetWindowLongPtrW(list, GWLP_WNDPROC));
            EXPECT_EQ(userData, GetWindowLongPtrW(list, GWLP_USERDATA));
            SetWindowLongPtrW(list, GWLP_USERDATA, 0);
            EXPECT_EQ(parent, GetParent(list));
            const RECT after = RectIn(list, parent);
            EXPECT_TRUE(EqualRect(&expected, &after));
        }
        CWindowHost::SetDesignatedHost(nullptr);
        EXPECT_EQ(row.takenOver, ends.finished);
        EXPECT_EQ(row.takenOver, ends.deleted);
        if (IsWindow(list) && GetParent(list) != menu->Hwnd()) {
            DestroyWindow(list);
        }
    }
}
