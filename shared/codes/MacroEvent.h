#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

// One step of a macro as the file, the event list and the mouse's macro memory hold it: the kind
// in bits 0 to 6 of the first byte with bit 7 set for a press, then two data bytes.
struct MacroEvent {
    enum Kind : std::uint8_t { MouseButton = 1, Key = 4, Delay = 6 };
    static constexpr std::uint8_t PressFlag = 0x80;
    static constexpr std::uint32_t MillisecondsPerUnit = 10;

    std::uint8_t Type = 0;
    std::uint8_t Code = 0; // usage id, mouse-button code, or the delay's low byte
    std::uint8_t High = 0; // the delay's high byte, else 0

    static constexpr MacroEvent KeyEvent(std::uint8_t usage, bool press) {
        return {static_cast<std::uint8_t>(Key | (press ? PressFlag : 0)), usage, 0};
    }
    static constexpr MacroEvent MouseButtonEvent(std::uint8_t button, bool press) {
        return {static_cast<std::uint8_t>(MouseButton | (press ? PressFlag : 0)), button, 0};
    }
    static constexpr MacroEvent DelayEvent(std::uint16_t units) {
        return {Delay, static_cast<std::uint8_t>(units & 0xFF),
                static_cast<std::uint8_t>(units >> 8)};
    }

    constexpr std::uint8_t EventKind() const { return Type & 0x7F; }
    constexpr bool IsPress() const { return (Type & PressFlag) != 0; }
    constexpr bool IsEmpty() const { return Type == 0 && Code == 0 && High == 0; }
    // Length of a delay event in milliseconds; 0 for every other kind.
    constexpr std::uint32_t DelayMilliseconds() const {
        return EventKind() == Delay ? (Code + 256u * High) * MillisecondsPerUnit : 0;
    }

    bool operator==(const MacroEvent&) const = default;
};

static_assert(sizeof(MacroEvent) == 3);
static_assert(offsetof(MacroEvent, Code) == 1 && offsetof(MacroEvent, High) == 2);

inline constexpr int MaxMacroEvents = 60;
inline constexpr int MaxMacros = 6;

// The event slots of one macro (180 bytes, the "MacroSetting_0" value of a macro file).
using MacroEventBuffer = std::array<MacroEvent, MaxMacroEvents>;
static_assert(sizeof(MacroEventBuffer) == 180);

// Units of 10 ms for a measured delay: cut down to whole 10 ms, capped at 6553 units; 0 means the
// delay is too short to record.
std::uint16_t MacroDelayUnits(std::uint32_t milliseconds);

// Number of events before the first slot that is all 0x00 or all 0xFF (how a macro read back from
// the mouse ends).
int CountEventsUntilEnd(const MacroEventBuffer& events);

// Sum of the delays among `events`.
std::uint32_t TotalDelayMilliseconds(std::span<const MacroEvent> events);
