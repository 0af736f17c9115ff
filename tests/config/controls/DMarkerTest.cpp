#include "config/controls/CDMarker.h"

#include "tests/config/controls/ControlTestSupport.h"

#include <gtest/gtest.h>

#include <climits>

namespace {
constexpr COLORREF kEmpty = RGB(0, 0, 200);
constexpr COLORREF kFilled = RGB(0, 200, 0);
constexpr COLORREF kCaption = RGB(200, 200, 200);
constexpr RECT kBar{10, 10, 110, 30};
} // namespace

TEST(DMarkerTest, FilledWidthStaysInsideTheBar) {
    struct Row {
        const char* name;
        int position, minimum, maximum, width, filled;
    };
    const Row rows[] = {
        {"half way", 50, 0, 100, 296, 148},
        {"range 1..100 at 10", 10, 1, 100, 99, 9},
        {"at the maximum: full", 100, 1, 100, 296, 296},
        {"at the minimum: empty", 1, 1, 100, 296, 0},
        {"empty range is not divided by", 5, 5, 5, 296, 0},
        {"reversed range", 5, 10, 1, 296, 0},
        {"zero-width bar", 50, 0, 100, 0, 0},
        {"negative-width bar", 50, 0, 100, -20, 0},
        {"huge range does not overflow", INT_MAX, INT_MIN, INT_MAX, 1000, 1000},
        {"position past the maximum is cut at the bar", 200, 0, 100, 100, 100},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.filled,
                  CDMarker::FilledWidth(row.position, row.minimum, row.maximum, row.width));
    }
}

TEST(DMarkerTest, PaintsTheFilledShareOfTheForegroundAndTheCaptionOverBoth) {
    const auto background = SolidPicture(100, 20, kEmpty);
    const auto foreground = SolidPicture(100, 20, kFilled);
    const auto narrow = SolidPicture(30, 20, kFilled);
    // What a failed load leaves: an object without pixels.
    Gdiplus::Bitmap zeroWidth(0, 20, PixelFormat32bppARGB);
    struct Row {
        const char* name;
        Gdiplus::Bitmap* back;
        Gdiplus::Bitmap* front;
        int minimum, maximum, position;
        const wchar_t* caption;
        int filledColumns;
    };
    const Row rows[] = {
        {"half way", background.get(), foreground.get(), 0, 100, 50, L"", 50},
        {"full", background.get(), foreground.get(), 1, 100, 100, L"", 100},
        {"above the maximum shows the minimum", background.get(), foreground.get(), 1, 100, 101,
         L"", 0},
        {"below the minimum shows the minimum", background.get(), foreground.get(), 1, 100, -4, L"",
         0},
        {"empty range", background.get(), foreground.get(), 7, 7, 7, L"", 0},
        {"foreground narrower than the bar", background.get(), narrow.get(), 0, 100, 80, L"", 30},
        {"zero-width foreground draws nothing", background.get(), &zeroWidth, 0, 100, 80, L"", 0},
        {"zero-width background draws nothing", &zeroWidth, foreground.get(), 0, 100, 20, L"", 20},
        {"caption over both pictures", background.get(), foreground.get(), 0, 100, 50,
         L"WWWWWWWWWWWWWW", -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RecordingParent parent;
        CDMarker bar;
        ASSERT_TRUE(bar.Create(kBar, parent.Hwnd(), 7));
        bar.SetPictures(row.back, row.front);
        bar.SetRange(row.minimum, row.maximum);
        bar.SetPos(row.position);
        bar.SetText(row.caption);
        Pump();
        const ScreenShot shot(bar.Hwnd());
        const RECT all{0, 0, 100, 20};
        if (row.filledColumns < 0) {
            EXPECT_GT(shot.Count(RECT{0, 0, 50, 20}, kCaption), 10);
            EXPECT_GT(shot.Count(RECT{50, 0, 100, 20}, kCaption), 10);
            continue;
        }
        EXPECT_EQ(row.filledColumns * 20, shot.Count(all, kFilled));
        const int emptyColumns = row.back == &zeroWidth ? 0 : 100 - row.filledColumns;
        EXPECT_EQ(emptyColumns * 20, shot.Count(all, kEmpty));
    }
}
