#include "shared/codes/MacroEvent.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::array<std::uint8_t, 3> Bytes(const MacroEvent& event) {
    std::array<std::uint8_t, 3> bytes{};
    std::memcpy(bytes.data(), &event, bytes.size());
    return bytes;
}

TEST(MacroEvent, KeyPressAndReleaseBytes) {
    MacroEvent press = MacroEvent::KeyEvent(0x04, true);
    MacroEvent release = MacroEvent::KeyEvent(0x04, false);
    EXPECT_EQ((std::array<std::uint8_t, 3>{0x84, 0x04, 0x00}), Bytes(press));
    EXPECT_EQ((std::array<std::uint8_t, 3>{0x04, 0x04, 0x00}), Bytes(release));
    EXPECT_EQ(MacroEvent::Key, press.EventKind());
    EXPECT_TRUE(press.IsPress());
    EXPECT_FALSE(release.IsPress());
    EXPECT_EQ(0u, press.DelayMilliseconds());
}

TEST(MacroEvent, MouseButtonBytes) {
    EXPECT_EQ((std::array<std::uint8_t, 3>{0x81, 0x02, 0x00}),
              Bytes(MacroEvent::MouseButtonEvent(2, true)));
    EXPECT_EQ(MacroEvent::MouseButton, MacroEvent::MouseButtonEvent(4, false).EventKind());
}

TEST(MacroEvent, DelayBytesAndLength) {
    EXPECT_EQ((std::array<std::uint8_t, 3>{0x06, 0x2C, 0x01}), Bytes(MacroEvent::DelayEvent(300)));
    EXPECT_EQ(3000u, (MacroEvent{0x06, 0x2C, 0x01}).DelayMilliseconds());
    EXPECT_EQ(10u, (MacroEvent{0x06, 0x01, 0x00}).DelayMilliseconds());
    EXPECT_EQ(655350u, MacroEvent::DelayEvent(0xFFFF).DelayMilliseconds());
}

TEST(MacroEvent, RecordedDelayIsCutTo10MsAndCapped) {
    EXPECT_EQ(300, MacroDelayUnits(3000));
    EXPECT_EQ(25, MacroDelayUnits(259));
    EXPECT_EQ(0, MacroDelayUnits(9));
    EXPECT_EQ(0, MacroDelayUnits(0));
    EXPECT_EQ(1, MacroDelayUnits(10));
    EXPECT_EQ(6553, MacroDelayUnits(65534));
    EXPECT_EQ(6553, MacroDelayUnits(65535));
    EXPECT_EQ(6553, MacroDelayUnits(70000));
    EXPECT_EQ(6553, MacroDelayUnits(0xFFFFFFFF));
}

TEST(MacroEvent, CountStopsAtFirstEndMark) {
    MacroEventBuffer events{};
    EXPECT_EQ(0, CountEventsUntilEnd(events));
    events[0] = MacroEvent::KeyEvent(4, true);
    events[1] = MacroEvent::DelayEvent(5);
    events[2] = MacroEvent{0xFF, 0xFF, 0xFF};
    events[3] = MacroEvent::KeyEvent(4, false);
    EXPECT_EQ(2, CountEventsUntilEnd(events));
    events[2] = MacroEvent{0xFF, 0xFF, 0x00};
    EXPECT_EQ(4, CountEventsUntilEnd(events));
    events.fill(MacroEvent::KeyEvent(5, true));
    EXPECT_EQ(60, CountEventsUntilEnd(events));
}

TEST(MacroEvent, TotalTimeSumsOnlyDelays) {
    const MacroEvent events[] = {MacroEvent::KeyEvent(4, true), MacroEvent::DelayEvent(300),
                                 MacroEvent{0x86, 0x05, 0x00}, MacroEvent::KeyEvent(0x2C, false),
                                 MacroEvent::DelayEvent(1)};
    EXPECT_EQ(3060u, TotalDelayMilliseconds(events));
}

} // namespace
