#include "config/controls/CMarkerTrack.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
// Seven markers at 1, 4, 7, ... 19 on the range the owner sets.
class MarkerTrack : public ::testing::Test {
protected:
    MarkerTrack() : track(arrays) {
        track.SetRange(1, 20);
        const std::vector<int> start{1, 4, 7, 10, 13, 16, 19};
        track.SetPositions(start);
    }
    // Presses on the centre of marker i's rectangle.
    void Grab(int i) {
        const RECT r = track.MarkerRect(i);
        ASSERT_TRUE(track.ButtonDown({(r.left + r.right) / 2, 20}));
    }
    // Moves the grabbed marker's centre to the middle of position p.
    void MoveTo(int p) { track.MouseMove(14 * p - 14 + 6); }

    MarkerArrays arrays;
    CMarkerTrack track;
};
} // namespace

TEST_F(MarkerTrack, ConstructionShowsEveryLight) {
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(1, arrays.shown[i]);
        EXPECT_EQ(0, arrays.selected[i]);
    }
    EXPECT_EQ(42, track.MarkerRect(1).left);
    EXPECT_EQ(55, track.MarkerRect(1).right);
}

TEST_F(MarkerTrack, FreeMoveFollowsTheCursorAndSnapsOnRelease) {
    Grab(1);
    MoveTo(6);
    EXPECT_EQ(6, arrays.position[1]);
    EXPECT_EQ(76 - 7, track.MarkerRect(1).left);
    const auto release = track.ButtonUp();
    ASSERT_TRUE(release);
    EXPECT_EQ(6, release->position);
    EXPECT_EQ(1, release->index);
    EXPECT_EQ(70, track.MarkerRect(1).left);
    EXPECT_FALSE(track.Dragging());
}

TEST_F(MarkerTrack, MarkerPushedOntoItsLeftNeighbourJoinsIt) {
    Grab(2);
    MoveTo(4);
    EXPECT_EQ(4, arrays.position[1]);
    EXPECT_EQ(4, arrays.position[2]);
    EXPECT_EQ(0, arrays.shown[1]);
    EXPECT_EQ(1, arrays.shown[2]);
    // From now on both move together.
    MoveTo(2);
    EXPECT_EQ(2, arrays.position[1]);
    EXPECT_EQ(2, arrays.position[2]);
    const auto release = track.ButtonUp();
    EXPECT_EQ(2, release->position);
    EXPECT_EQ(2, release->index);
}

TEST_F(MarkerTrack, FastMovePastTheLeftNeighbourKeepsTheOrder) {
    Grab(2);
    MoveTo(2);
    EXPECT_EQ(2, arrays.position[1]);
    EXPECT_EQ(4, arrays.position[2]);
    EXPECT_EQ(1, arrays.selected[1]);
    MoveTo(3);
    EXPECT_EQ(3, arrays.position[1]);
    EXPECT_EQ(3, arrays.position[2]);
}

TEST_F(MarkerTrack, MarkerPushedOntoItsRightNeighbourJoinsIt) {
    Grab(3);
    MoveTo(13);
    EXPECT_EQ(13, arrays.position[3]);
    EXPECT_EQ(13, arrays.position[4]);
    EXPECT_EQ(0, arrays.shown[4]);
    MoveTo(15);
    EXPECT_EQ(15, arrays.position[3]);
    EXPECT_EQ(15, arrays.position[4]);
    EXPECT_EQ(16, arrays.position[5]);
}

TEST_F(MarkerTrack, GrabbedStackGivesUpItsLowestMarkerToTheLeft) {
    Grab(2);
    MoveTo(4);
    track.ButtonUp();
    Grab(1);
    EXPECT_TRUE(track.StackGrabbed());
    EXPECT_EQ(2, track.Current());
    MoveTo(4);
    EXPECT_TRUE(track.StackGrabbed());
    MoveTo(3);
    EXPECT_FALSE(track.StackGrabbed());
    EXPECT_EQ(3, arrays.position[1]);
    EXPECT_EQ(4, arrays.position[2]);
    EXPECT_EQ(1, arrays.shown[1]);
    EXPECT_EQ(1, arrays.shown[2]);
    EXPECT_EQ(1, arrays.selected[1]);
    EXPECT_EQ(0, arrays.selected[2]);
    const auto release = track.ButtonUp();
    EXPECT_EQ(3, release->position);
    EXPECT_EQ(1, release->index);
}

TEST_F(MarkerTrack, GrabbedStackGivesUpItsHighestMarkerToTheRight) {
    Grab(2);
    MoveTo(4);
    track.ButtonUp();
    Grab(2);
    MoveTo(6);
    EXPECT_EQ(4, arrays.position[1]);
    EXPECT_EQ(6, arrays.position[2]);
    EXPECT_EQ(1, arrays.shown[1]);
    EXPECT_EQ(0, arrays.selected[1]);
    EXPECT_EQ(1, arrays.selected[2]);
    const auto release = track.ButtonUp();
    EXPECT_EQ(6, release->position);
    EXPECT_EQ(2, release->index);
}

TEST_F(MarkerTrack, PositionsNeverLeaveTheTrack) {
    Grab(6);
    track.MouseMove(5000);
    EXPECT_EQ(20, arrays.position[6]);
    EXPECT_EQ(266, track.MarkerRect(6).left);
    track.ButtonUp();
    Grab(0);
    track.MouseMove(-300);
    EXPECT_EQ(1, arrays.position[0]);
    EXPECT_EQ(0, track.MarkerRect(0).left);
}

TEST_F(MarkerTrack, PressesOffTheMarkersGrabNothing) {
    EXPECT_FALSE(track.ButtonDown({30, 20}));
    EXPECT_FALSE(track.MouseMove(100));
    EXPECT_FALSE(track.ButtonUp());
    EXPECT_FALSE(track.ButtonDown({5, 45}));
}

TEST_F(MarkerTrack, SurplusPositionsAreIgnored) {
    const std::vector<int> many{2, 3, 4, 5, 6, 7, 8, 9, 10};
    track.SetPositions(many);
    EXPECT_EQ(8, arrays.position[6]);
}
