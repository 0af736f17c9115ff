#include "config/core/MacroBufferChecks.h"

#include <algorithm>
#include <utility>
#include <vector>

bool MacroKeysReleased(std::span<const MacroEvent> events) {
    // Keys and buttons are told apart by kind as well: key usage 4 is not the middle button.
    std::vector<std::pair<std::uint8_t, std::uint8_t>> held;
    for (const MacroEvent& event : events) {
        const std::uint8_t kind = event.EventKind();
        if (kind < MacroEvent::MouseButton || kind > MacroEvent::Key) {
            continue;
        }
        const std::pair key{kind, event.Code};
        if (event.IsPress()) {
            if (std::ranges::find(held, key) == held.end()) {
                held.push_back(key);
            }
        } else {
            std::erase(held, key);
        }
    }
    return held.empty();
}

bool RebuildMacroLists(const MacroEventBuffer& events) {
    return MacroKeysReleased(events);
}

std::uint32_t SumMacroTime(const MacroEventBuffer& events) {
    return TotalDelayMilliseconds(events);
}
