#include "config/dialogs/SingleKey/SingleKeyCombination.h"

#include "config/core/KeyPositionNames.h"
#include "shared/codes/CodeTables.h"

namespace {
constexpr int kOtherSlot = SingleKeyCombination::kSlots - 1;
constexpr std::uint32_t kReleaseFlag = 0x80;
constexpr std::uint8_t kPress = 0x80;
constexpr std::uint8_t kRelease = 0x00;
constexpr size_t kEventCount = std::tuple_size_v<SingleKeyCombination::EventBuffer> / 2;
// Opening looks at this many stored events for the keys of a combination.
constexpr size_t kOpeningEvents = 5;

std::uint8_t UsageOf(std::uint32_t virtualKey) {
    std::uint32_t usage = 0;
    KeyCodeMap_LookupForward(virtualKey, usage);
    return static_cast<std::uint8_t>(usage);
}

std::uint32_t VirtualKeyOf(std::uint8_t usage) {
    std::uint32_t virtualKey = 0;
    KeyCodeMap_LookupReverse(usage, virtualKey);
    return virtualKey;
}
} // namespace

int SingleKeyCombination::SlotOf(std::uint32_t virtualKey) const {
    for (int slot = 0; slot < kOtherSlot; ++slot) {
        if (m_slotKeys[static_cast<size_t>(slot)] == virtualKey) {
            return slot;
        }
    }
    return kOtherSlot;
}

std::wstring SingleKeyCombination::Open(std::uint8_t mainKeyUsage, const EventBuffer& events,
                                        int keyCount, bool capsLockOn) {
    m_mainKeyUsage = mainKeyUsage;
    m_events = events;
    m_keyCount = keyCount;
    m_pressed = {};
    m_confirmed = {};
    m_slotKeys[kOtherSlot] = 0;
    m_lastReport.reset();
    if (keyCount < 2 && mainKeyUsage != kNoKey) {
        m_text = KeyPositionNames::SingleKeyNameOfUsage(mainKeyUsage, KeyNameCase::Upper);
    } else {
        for (size_t i = 0; i < kOpeningEvents; ++i) {
            const std::uint8_t usage = m_events[2 * i + 1];
            if (usage == 0) {
                continue;
            }
            const std::uint32_t virtualKey = VirtualKeyOf(usage);
            const int slot = SlotOf(virtualKey);
            if (slot == kOtherSlot) {
                m_slotKeys[kOtherSlot] = virtualKey;
            }
            m_pressed[static_cast<size_t>(slot)] = true;
        }
        ShowCombination(capsLockOn);
    }
    m_nothingPressed = true;
    return m_text;
}

std::optional<std::wstring> SingleKeyCombination::OnHookKey(std::uint32_t virtualKey,
                                                            std::uint32_t flags, bool capsLockOn) {
    const std::pair report{virtualKey, flags};
    if (m_lastReport == report) {
        return std::nullopt;
    }
    m_lastReport = report;
    const bool release = (flags & kReleaseFlag) != 0;
    if (release && m_nothingPressed) {
        // A key held since before the dialog opened: what was shown stays.
        return std::nullopt;
    }
    if (m_nothingPressed) {
        m_keyCount = 0;
        m_pressed = {};
        m_confirmed = {};
        m_nothingPressed = false;
    }
    // A key that has been let go is no longer the main key.
    m_mainKeyUsage = kNoKey;
    const int slot = SlotOf(virtualKey);
    if (release) {
        m_pressed[static_cast<size_t>(slot)] = false;
        return std::nullopt;
    }
    m_pressed[static_cast<size_t>(slot)] = true;
    if (slot == kOtherSlot) {
        m_slotKeys[kOtherSlot] = virtualKey;
    }
    return ShowCombination(capsLockOn);
}

std::wstring SingleKeyCombination::ShowCombination(bool capsLockOn) {
    m_events.fill(0);
    m_keyCount = 0;
    m_text.clear();
    for (int slot = 0; slot < kSlots; ++slot) {
        if (!m_pressed[static_cast<size_t>(slot)]) {
            continue;
        }
        const std::uint32_t virtualKey = m_slotKeys[static_cast<size_t>(slot)];
        if (slot == kOtherSlot) {
            m_mainKeyUsage = UsageOf(virtualKey);
        }
        const auto position = static_cast<std::uint8_t>(CodePairTable_Lookup(virtualKey));
        if (m_keyCount > 0) {
            m_text += L" + ";
        }
        m_text += KeyPositionNames::SingleKeyName(position, capsLockOn ? KeyNameCase::Upper
                                                                       : KeyNameCase::Lower);
        ++m_keyCount;
    }
    m_confirmed = m_pressed;
    return m_text;
}

void SingleKeyCombination::InsertEvents(int position, std::uint8_t usage) {
    const auto at = static_cast<size_t>(position);
    for (size_t event = kEventCount - 1; event >= at + 2; --event) {
        m_events[2 * event] = m_events[2 * (event - 2)];
        m_events[2 * event + 1] = m_events[2 * (event - 2) + 1];
    }
    m_events[2 * at] = kPress;
    m_events[2 * at + 1] = usage;
    m_events[2 * at + 2] = kRelease;
    m_events[2 * at + 3] = usage;
}

bool SingleKeyCombination::Confirm() {
    if (m_nothingPressed) {
        return false;
    }
    if (m_keyCount > 1 || (m_keyCount == 1 && m_mainKeyUsage == kNoKey)) {
        int position = 0;
        for (int slot = 0; slot < kSlots; ++slot) {
            if (m_confirmed[static_cast<size_t>(slot)]) {
                InsertEvents(position++, UsageOf(m_slotKeys[static_cast<size_t>(slot)]));
            }
        }
    }
    return true;
}

SingleKeyCombination::EventBuffer SingleKeyCombination::StoredKeyData() const {
    if (m_keyCount != 1) {
        return m_events;
    }
    EventBuffer data{};
    data[0] = kPress;
    data[1] = m_mainKeyUsage != kNoKey ? m_mainKeyUsage : m_events[1];
    return data;
}
