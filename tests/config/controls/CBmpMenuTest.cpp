#include "config/controls/CBmpMenu.h"

#include "config/controls/CBmpMenuChoice.h"
#include "config/controls/CBmpMenuLayout.h"
#include "config/controls/ListAndMenuResources.h"

#include "tests/config/controls/ControlTestSupport.h"
#include "tests/config/controls/PointerHold.h"

#include <gtest/gtest.h>

namespace {
constexpr COLORREF kMenuNormal = RGB(30, 30, 30);
constexpr COLORREF kMenuOver = RGB(200, 0, 0);
constexpr int kMenuWidth = 160;
constexpr int kMenuHeight = 24 * 22;

// A menu posts to its owner, which is always a top-level window.
class MenuOwner : public winlayer::Window {
public:
    MenuOwner() {
        CreateEx(0, nullptr, L"menu owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                 nullptr);
        SetActiveWindow(Hwnd());
    }
    Log choices;

protected:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == CBmpMenuChoice::kMenuChoice) {
            choices.push_back({message, wParam, lParam});
            return 0;
        }
        return Window::DefWindowProc(message, wParam, lParam);
    }
};

class BmpMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        MakeSkinFolder();
        SaveSolidPng(SkinFile(L"Menu2_n.png"), kMenuWidth, kMenuHeight, kMenuNormal);
        SaveSolidPng(SkinFile(L"Menu2_d.png"), kMenuWidth, kMenuHeight, kMenuOver);
        SaveSolidPng(SkinFile(L"Menu6_n.png"), 120, 100, RGB(0, 0, 90));
        SaveSolidPng(SkinFile(L"Menu6_d.png"), 120, 100, RGB(0, 90, 0));
        SaveSolidPng(SkinFile(L"Own_n.png"), 90, 70, RGB(0, 60, 60));
    }
    std::unique_ptr<CBmpMenu> NewMenu(int entries, int style = 0) {
        auto menu = std::make_unique<CBmpMenu>(&m_owner);
        menu->LoadImages(SkinFile(L"Menu2_n.png"), SkinFile(L"Menu2_d.png"),
                         SkinFile(L"Menu2_d.png"), SkinFile(L"Menu2_n.png"));
        menu->SetStyle(style);
        menu->SetPosition(300, 40);
        for (int i = 0; i < entries; ++i) {
            menu->AddItem(L"entry " + std::to_wstring(i), 40001 + i);
        }
        return menu;
    }
    void Show(CBmpMenu& menu) {
        ASSERT_TRUE(menu.Create(IDD_BMPMENU, &m_owner));
        ShowWindow(menu.Hwnd(), SW_SHOW);
        Pump();
        m_owner.choices.clear();
    }
    static void Click(HWND button) {
        ASSERT_NE(nullptr, button);
        SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(5, 5));
        SendMessageW(button, WM_LBUTTONUP, 0, PointParam(5, 5));
        Pump();
    }
    // Puts the cursor on the centre of `target` and tells `receiver` (the button holding the
    // capture, or the target itself) that the mouse moved. With `movedOn` the pointer is elsewhere
    // when the move is handled, as another program on the display may put it; the pointer's own
    // moves are handled before, so that none comes after.
    static void HoverOnto(HWND target, HWND receiver, bool movedOn = false) {
        RECT r{};
        GetWindowRect(target, &r);
        const POINT screen{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        if (movedOn) {
            SetCursorPos(0, 0);
        } else {
            SetCursorPos(screen.x, screen.y);
        }
        PumpFor(50);
        POINT client = screen;
        ScreenToClient(receiver, &client);
        SendMessageW(receiver, WM_MOUSEMOVE, 0, PointParam(client.x, client.y));
        Pump();
    }
    static RECT RectIn(HWND window, HWND parent) {
        RECT r{};
        GetWindowRect(window, &r);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    // The menus read the pointer: no other program moves it while they are open.
    PointerHold m_pointer;
    MenuOwner m_owner;
};

void ExpectRect(const RECT& expected, const RECT& actual) {
    EXPECT_EQ(expected.left, actual.left);
    EXPECT_EQ(expected.top, actual.top);
    EXPECT_EQ(expected.right, actual.right);
    EXPECT_EQ(expected.bottom, actual.bottom);
}
} // namespace

// A picture with room for more rows than there are entries shows no empty rows: the menu ends
// below its last entry with the picture's own bottom edge.
TEST_F(BmpMenuTest, OpensAtItsPositionAsTallAsItsEntriesWithEntriesLaidOutByStyle) {
    constexpr COLORREF kEdge = RGB(0, 200, 0);
    SavePngWithBottomRow(SkinFile(L"Menu2_n.png"), kMenuWidth, kMenuHeight, kMenuNormal, kEdge);
    auto menu = NewMenu(3, 3);
    Show(*menu);
    RECT window{};
    GetWindowRect(menu->Hwnd(), &window);
    // Three rows of style 3 end at 77; the picture's last row (27 + 25 x 20 = 527) leaves 1.
    ExpectRect({300, 40, 300 + kMenuWidth, 40 + 78}, window);
    EXPECT_TRUE(IsWindowVisible(menu->Hwnd()));
    for (int i = 0; i < 3; ++i) {
        ExpectRect(CBmpMenuLayout::EntryRect(3, i, kMenuWidth),
                   RectIn(menu->EntryButton(i), menu->Hwnd()));
    }
    EXPECT_EQ(nullptr, menu->EntryButton(3));
    // Between the entries the menu shows its background picture, and under them its edge.
    UpdateWindow(menu->Hwnd());
    const ScreenShot shot(menu->Hwnd());
    EXPECT_EQ(kMenuNormal, shot.At(1, 1));
    EXPECT_EQ(kMenuNormal, shot.At(1, 76));
    EXPECT_EQ(kEdge, shot.At(1, 77));
    menu->DestroyWindow();

    // Entries that fill the picture take all of it.
    auto full = NewMenu(22);
    Show(*full);
    GetWindowRect(full->Hwnd(), &window);
    ExpectRect({300, 40, 300 + kMenuWidth, 40 + kMenuHeight}, window);
}

TEST_F(BmpMenuTest, ClickOnAnEntryPostsItsIndexAndValue) {
    auto menu = NewMenu(3);
    menu->AddSubItem(2, L"sub", 9);
    Show(*menu);
    Click(menu->EntryButton(1));
    EXPECT_EQ((Log{{CBmpMenuChoice::kMenuChoice, 0x00010000, 0x9C420000}}), m_owner.choices);

    // An entry with a sub-menu is not a choice.
    m_owner.choices.clear();
    Click(menu->EntryButton(2));
    EXPECT_TRUE(m_owner.choices.empty());
}

TEST_F(BmpMenuTest, RestingOnAnEntryOpensItsSubMenuWhoseChoiceIsRelayed) {
    auto menu = NewMenu(18);
    for (int i = 0; i < 3; ++i) {
        menu->AddSubItem(16, L"sub " + std::to_wstring(i), 5 + i);
    }
    menu->AddSubItem(17, L"other", 1);
    menu->AddSubItem(40, L"no such entry", 1);
    Show(*menu);

    HWND entry16 = menu->EntryButton(16);
    HoverOnto(entry16, entry16);
    CSubBmpMenu* sub = menu->OpenSubMenu();
    ASSERT_NE(nullptr, sub);
    EXPECT_EQ(16, sub->EntryIndex());
    EXPECT_TRUE(IsWindowVisible(sub->Hwnd()));
    RECT subRect{};
    GetWindowRect(sub->Hwnd(), &subRect);
    // Beside the menu, which ends below its 18 entries, bottom edges aligned.
    const int bottom = 40 + 18 * 24;
    ExpectRect({300 + kMenuWidth, bottom - 100, 300 + kMenuWidth + 120, bottom}, subRect);
    ExpectRect(CBmpMenuLayout::SubEntryRect(2, 120), RectIn(sub->EntryButton(2), sub->Hwnd()));
    EXPECT_EQ(nullptr, sub->EntryButton(3));

    // Into the sub-menu: it stays open.
    HoverOnto(sub->Hwnd(), entry16);
    ASSERT_EQ(sub, menu->OpenSubMenu());

    // Sub-entry 2 (value 7) of entry 16 (value 40017).
    Click(sub->EntryButton(2));
    EXPECT_EQ((Log{{CBmpMenuChoice::kMenuChoice, 0x00100002, 0x9C510007}}), m_owner.choices);
}

TEST_F(BmpMenuTest, LeavingTheEntryClosesItsSubMenuAndAnotherEntryOpensItsOwn) {
    auto menu = NewMenu(20);
    menu->AddSubItem(16, L"a", 1);
    menu->AddSubItem(17, L"b", 2);
    Show(*menu);
    HWND entry16 = menu->EntryButton(16);
    HoverOnto(entry16, entry16);
    ASSERT_NE(nullptr, menu->OpenSubMenu());
    HWND firstSub = menu->OpenSubMenu()->Hwnd();

    // Onto entry 17: the capture-holding entry 16 reports the move, the menu swaps sub-menus.
    HoverOnto(menu->EntryButton(17), entry16);
    ASSERT_NE(nullptr, menu->OpenSubMenu());
    EXPECT_EQ(17, menu->OpenSubMenu()->EntryIndex());
    EXPECT_FALSE(IsWindow(firstSub));
    EXPECT_FALSE(menu->Entries().Entries()[16].subMenuOpen);
    EXPECT_TRUE(menu->Entries().Entries()[17].subMenuOpen);

    // Onto a plain entry: closed.
    HoverOnto(menu->EntryButton(3), menu->EntryButton(17));
    HoverOnto(menu->EntryButton(3), menu->EntryButton(3));
    EXPECT_EQ(nullptr, menu->OpenSubMenu());
    EXPECT_FALSE(menu->Entries().Entries()[17].subMenuOpen);
}

TEST_F(BmpMenuTest, EntriesWithoutPicturesOfTheirOwnUseTheSubPicturesGiven) {
    auto menu = NewMenu(4);
    menu->AddSubItem(1, L"a", 1);
    menu->AddSubItem(2, L"b", 2);
    Show(*menu);
    HWND entry1 = menu->EntryButton(1);
    HoverOnto(entry1, entry1);
    ASSERT_NE(nullptr, menu->OpenSubMenu());
    RECT r{};
    GetWindowRect(menu->OpenSubMenu()->Hwnd(), &r);
    // None given: the menu's own pictures.
    EXPECT_EQ(kMenuWidth, r.right - r.left);

    menu->LoadSubImages(SkinFile(L"Own_n.png"), SkinFile(L"Menu6_d.png"), SkinFile(L"Menu6_d.png"),
                        SkinFile(L"Own_n.png"));
    HoverOnto(menu->EntryButton(2), entry1, true);
    ASSERT_NE(nullptr, menu->OpenSubMenu());
    GetWindowRect(menu->OpenSubMenu()->Hwnd(), &r);
    EXPECT_EQ(90, r.right - r.left);
    EXPECT_EQ(70, r.bottom - r.top);
}

TEST_F(BmpMenuTest, MenuDestroyedAnyWayLeavesNothingForTheNextOne) {
    auto first = NewMenu(20);
    first->AddSubItem(16, L"a", 1);
    Show(*first);
    HWND entry16 = first->EntryButton(16);
    HoverOnto(entry16, entry16);
    HWND sub = first->OpenSubMenu()->Hwnd();
    // Not through the menu's own DestroyWindow.
    ::DestroyWindow(first->Hwnd());
    EXPECT_FALSE(IsWindow(sub));
    EXPECT_EQ(nullptr, first->OpenSubMenu());
    EXPECT_TRUE(first->Entries().Entries().empty());

    auto second = NewMenu(5);
    Show(*second);
    EXPECT_EQ(5u, second->Entries().Entries().size());
    EXPECT_NE(nullptr, second->EntryButton(4));
    EXPECT_EQ(nullptr, second->EntryButton(5));
    first.reset();

    // The owner closes the open menu before it opens another: one stays.
    second->DestroyWindow();
    second.reset();
    auto third = NewMenu(2);
    Show(*third);
    int shown = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM count) {
            wchar_t cls[32] = {};
            GetClassNameW(hwnd, cls, 32);
            if (IsWindowVisible(hwnd) && std::wstring(cls) == L"#32770") {
                ++*reinterpret_cast<int*>(count);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&shown));
    EXPECT_EQ(1, shown);
}
