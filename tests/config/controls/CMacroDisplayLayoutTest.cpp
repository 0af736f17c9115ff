#include "config/controls/CMacroDisplayLayout.h"

#include <gtest/gtest.h>

namespace {
// Every character 10 pixels wide, 16 high; pictures 9 x 11.
CMacroDisplayLayout::Metrics TenPixelFont(int clientRight) {
    CMacroDisplayLayout::Metrics m;
    m.clientRight = clientRight;
    m.textHeight = 16;
    m.caret = {9, 11};
    m.bar = {9, 11};
    m.textWidth = [](wchar_t) { return 10; };
    return m;
}
} // namespace

TEST(MacroDisplayLayout, PicturesAndTextOnOneLine) {
    const CMacroDisplayLayout layout(L"A^|B", TenPixelFont(100));
    EXPECT_EQ(18, layout.LineHeight());
    const auto& items = layout.Items();
    ASSERT_EQ(4u, items.size());
    EXPECT_EQ(CMacroDisplayLayout::Kind::Text, items[0].kind);
    EXPECT_EQ(2, items[0].x);
    EXPECT_EQ(0, items[0].y);
    EXPECT_EQ(CMacroDisplayLayout::Kind::Caret, items[1].kind);
    EXPECT_EQ(12, items[1].x);
    EXPECT_EQ(2, items[1].y);
    EXPECT_EQ(CMacroDisplayLayout::Kind::Bar, items[2].kind);
    EXPECT_EQ(21, items[2].x);
    EXPECT_EQ(30, items[3].x);
    const auto bands = layout.HighlightBands();
    ASSERT_EQ(1u, bands.size());
    EXPECT_EQ(1, bands[0].left);
    EXPECT_EQ(1, bands[0].top);
    EXPECT_EQ(41, bands[0].right);
    EXPECT_EQ(17, bands[0].bottom);
}

TEST(MacroDisplayLayout, WrapsWhenAnItemWouldReachTheRightEdge) {
    // Right edge 32: "AB" ends at 22, "C" would end at 32 and wraps.
    const CMacroDisplayLayout layout(L"ABC^D", TenPixelFont(32));
    const auto& items = layout.Items();
    ASSERT_EQ(5u, items.size());
    EXPECT_EQ(0, items[1].line);
    EXPECT_EQ(1, items[2].line);
    EXPECT_EQ(2, items[2].x);
    EXPECT_EQ(18, items[2].y);
    EXPECT_EQ(12, items[3].x);
    EXPECT_EQ(20, items[3].y);
    // "D" would end at 31 (21 + 10), below the edge: stays.
    EXPECT_EQ(1, items[4].line);
    EXPECT_EQ(21, items[4].x);
    const auto bands = layout.HighlightBands();
    ASSERT_EQ(2u, bands.size());
    EXPECT_EQ(23, bands[0].right);
    EXPECT_EQ(19, bands[1].top);
    EXPECT_EQ(35, bands[1].bottom);
    EXPECT_EQ(32, bands[1].right);
}

TEST(MacroDisplayLayout, BandsOnlyForTheFirstSixLinesWithContent) {
    // Too narrow for anything: every item opens a new line and line 0 stays empty.
    const CMacroDisplayLayout layout(L"ABCDEFGH", TenPixelFont(5));
    ASSERT_EQ(8u, layout.Items().size());
    EXPECT_EQ(8, layout.Items().back().line);
    const auto bands = layout.HighlightBands();
    ASSERT_EQ(5u, bands.size());
    EXPECT_EQ(1 + 18, bands.front().top);
    EXPECT_EQ(1 + 5 * 18, bands.back().top);
    EXPECT_TRUE(CMacroDisplayLayout(L"", TenPixelFont(100)).HighlightBands().empty());
}
