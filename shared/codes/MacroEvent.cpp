#include "shared/codes/MacroEvent.h"

#include <algorithm>

namespace {

// Longer measured delays are recorded as this.
constexpr std::uint32_t LongestRecordedDelay = 65535;

bool IsEndMark(const MacroEvent& event) {
    return event.IsEmpty() || (event.Type == 0xFF && event.Code == 0xFF && event.High == 0xFF);
}

} // namespace

std::uint16_t MacroDelayUnits(std::uint32_t milliseconds) {
    std::uint32_t cut = milliseconds / MacroEvent::MillisecondsPerUnit;
    return static_cast<std::uint16_t>(
        std::min(cut, LongestRecordedDelay / MacroEvent::MillisecondsPerUnit));
}

int CountEventsUntilEnd(const MacroEventBuffer& events) {
    auto end = std::ranges::find_if(events, IsEndMark);
    return static_cast<int>(end - events.begin());
}

std::uint32_t TotalDelayMilliseconds(std::span<const MacroEvent> events) {
    std::uint32_t total = 0;
    for (const MacroEvent& event : events) {
        total += event.DelayMilliseconds();
    }
    return total;
}
