#include "config/controls/CSliderScale.h"

#include <gtest/gtest.h>

namespace {
CSliderScale Scale(int minimum, int maximum) {
    CSliderScale s;
    s.SetRange(minimum, maximum);
    return s;
}
} // namespace

TEST(SliderScale, TrackClicksRoundToTheNearestStep) {
    const CSliderScale s = Scale(1, 3);
    EXPECT_EQ(1, s.ValueFromClick(20, 0, 90));
    EXPECT_EQ(2, s.ValueFromClick(23, 0, 90));
    EXPECT_EQ(2, s.ValueFromClick(67, 0, 90));
    EXPECT_EQ(3, s.ValueFromClick(68, 0, 90));
    // The same clicks on a bar that does not start at the parent's left edge.
    EXPECT_EQ(1, s.ValueFromClick(320, 300, 390));
    EXPECT_EQ(3, s.ValueFromClick(368, 300, 390));
}

TEST(SliderScale, ClicksBeyondTheTrackGiveItsEnds) {
    const CSliderScale s = Scale(1, 120);
    EXPECT_EQ(1, s.ValueFromClick(-40, 0, 432));
    EXPECT_EQ(120, s.ValueFromClick(500, 0, 432));
    EXPECT_EQ(120, s.ValueFromClick(432, 0, 432));
}

TEST(SliderScale, RoundingCountsFromTheMinimumOfRangesStartingAtZero) {
    // Steps of 10 pixels: 14 lies nearer to 1 than to 2, 16 nearer to 2.
    const CSliderScale s = Scale(0, 10);
    EXPECT_EQ(1, s.ValueFromClick(14, 0, 100));
    EXPECT_EQ(2, s.ValueFromClick(16, 0, 100));
    EXPECT_EQ(0, s.ValueFromClick(4, 0, 100));
}

TEST(SliderScale, EmptyRangesAndTracksGiveTheMinimum) {
    EXPECT_EQ(5, Scale(5, 5).ValueFromClick(30, 0, 90));
    EXPECT_EQ(5, Scale(5, 5).ValueFromThumbLeft(30, 0, 90, 10));
    EXPECT_EQ(0, Scale(5, 5).ThumbLeft(5, 0, 90, 10));
    EXPECT_EQ(1, Scale(1, 3).ValueFromClick(30, 50, 50));
    EXPECT_EQ(1, Scale(1, 3).ValueFromThumbLeft(30, 0, 10, 10));
}

TEST(SliderScale, ThumbPlacement) {
    const CSliderScale s = Scale(1, 3);
    EXPECT_EQ(0, s.ThumbLeft(1, 0, 100, 10));
    EXPECT_EQ(45, s.ThumbLeft(2, 0, 100, 10));
    EXPECT_EQ(90, s.ThumbLeft(3, 0, 100, 10));
    // Out of range stands for the minimum.
    EXPECT_EQ(0, s.ThumbLeft(4, 0, 100, 10));
    EXPECT_EQ(0, s.ThumbLeft(0, 0, 100, 10));
    EXPECT_EQ(1, s.Normalize(7));
}

TEST(SliderScale, DroppedThumbValues) {
    const CSliderScale s = Scale(1, 3);
    // Free width 90, steps of 50 measured on the whole track.
    EXPECT_EQ(1, s.ValueFromThumbLeft(20, 0, 100, 10));
    EXPECT_EQ(2, s.ValueFromThumbLeft(30, 0, 100, 10));
    EXPECT_EQ(3, s.ValueFromThumbLeft(90, 0, 100, 10));
    EXPECT_EQ(1, s.ValueFromThumbLeft(-5, 0, 100, 10));
}
