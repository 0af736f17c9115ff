#include "config/controls/CBmpMenuChoice.h"
#include "config/controls/CBmpMenuEntries.h"
#include "config/controls/CBmpMenuLayout.h"

#include <gtest/gtest.h>

namespace {
void ExpectRect(const RECT& expected, const RECT& actual) {
    EXPECT_EQ(expected.left, actual.left);
    EXPECT_EQ(expected.top, actual.top);
    EXPECT_EQ(expected.right, actual.right);
    EXPECT_EQ(expected.bottom, actual.bottom);
}
} // namespace

TEST(BmpMenuLayout, EntryRectanglesPerStyle) {
    ExpectRect({0, 0, 200, 24}, CBmpMenuLayout::EntryRect(0, 0, 200));
    ExpectRect({0, 72, 200, 96}, CBmpMenuLayout::EntryRect(0, 3, 200));
    ExpectRect({0, 50, 150, 72}, CBmpMenuLayout::EntryRect(1, 2, 150));
    ExpectRect({3, 41, 142, 58}, CBmpMenuLayout::EntryRect(2, 2, 999));
    ExpectRect({3, 53, 183, 77}, CBmpMenuLayout::EntryRect(3, 2, 999));
    ExpectRect({4, 54, 184, 78}, CBmpMenuLayout::EntryRect(4, 2, 999));
    // Unknown styles fall back to the plain stack.
    ExpectRect({0, 24, 80, 48}, CBmpMenuLayout::EntryRect(7, 1, 80));
    ExpectRect({0, 24, 80, 48}, CBmpMenuLayout::EntryRect(-1, 1, 80));
}

TEST(BmpMenuLayout, SubMenuPicturesOnlyForTheirPositions) {
    EXPECT_EQ(L"Menu6_n.png", CBmpMenuLayout::SubMenuPicture(16).value());
    EXPECT_EQ(L"Menu7_n.png", CBmpMenuLayout::SubMenuPicture(17).value());
    EXPECT_EQ(L"Menu6_n.png", CBmpMenuLayout::SubMenuPicture(18).value());
    EXPECT_EQ(L"Menu6_n.png", CBmpMenuLayout::SubMenuPicture(19).value());
    EXPECT_EQ(L"Menu8_n.png", CBmpMenuLayout::SubMenuPicture(20).value());
    EXPECT_EQ(L"Menu9_n.png", CBmpMenuLayout::SubMenuPicture(21).value());
    EXPECT_FALSE(CBmpMenuLayout::SubMenuPicture(0).has_value());
    EXPECT_FALSE(CBmpMenuLayout::SubMenuPicture(15).has_value());
    EXPECT_FALSE(CBmpMenuLayout::SubMenuPicture(22).has_value());
}

TEST(BmpMenuChoice, EntryAndRelayedSubEntryPacking) {
    EXPECT_EQ(0x00050000u, CBmpMenuChoice::EntryWParam(5));
    EXPECT_EQ(0x9C410000, CBmpMenuChoice::EntryLParam(40001));

    // Sub-entry 2 (value 7) of entry 16 (value 40).
    const WPARAM wParam = CBmpMenuChoice::SubEntryWParam(16, 2);
    const LPARAM fromSubMenu = CBmpMenuChoice::SubEntryLParam(7);
    EXPECT_EQ(0x00100002u, wParam);
    EXPECT_EQ(7, fromSubMenu);
    EXPECT_EQ(0x00280007, CBmpMenuChoice::RelayLParam(fromSubMenu, 40));
    // Only the low 16 bits of a sub-entry value survive the relay.
    EXPECT_EQ(0x00280001, CBmpMenuChoice::RelayLParam(CBmpMenuChoice::SubEntryLParam(0x10001), 40));
}

TEST(BmpMenuEntries, BoundedEntriesTextsAndSubEntries) {
    CBmpMenuEntries entries;
    for (int i = 0; i < 22; ++i) {
        EXPECT_TRUE(entries.AddItem(L"e" + std::to_wstring(i), i * 10));
    }
    EXPECT_FALSE(entries.AddItem(L"past the buttons", 999));
    ASSERT_EQ(22u, entries.Entries().size());
    EXPECT_EQ(210, entries.Entries().back().value);

    const std::wstring longText(400, L'x');
    CBmpMenuEntries other;
    other.AddItem(longText, 1);
    EXPECT_EQ(259u, other.Entries()[0].text.size());

    EXPECT_FALSE(other.AddSubItem(-1, L"bad", 1));
    EXPECT_FALSE(other.AddSubItem(1, L"bad", 1));
    EXPECT_FALSE(other.Entries()[0].hasSubMenu);
    for (int i = 0; i < 22; ++i) {
        EXPECT_TRUE(other.AddSubItem(0, longText, i));
    }
    EXPECT_FALSE(other.AddSubItem(0, L"past the buttons", 99));
    const tagBMPMENUINFO& head = other.Entries()[0];
    EXPECT_TRUE(head.hasSubMenu);
    EXPECT_FALSE(head.subMenuOpen);
    ASSERT_EQ(22u, head.subEntries.size());
    EXPECT_EQ(259u, head.subEntries[5].text.size());
    EXPECT_EQ(21, head.subEntries.back().value);

    other.Clear();
    EXPECT_TRUE(other.Entries().empty());
    EXPECT_EQ(nullptr, other.At(0));
}
