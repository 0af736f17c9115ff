#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

// The key or key combination of the single-key dialog, built from the key hook's reports: up to
// four modifiers (left Shift, Ctrl, Windows, Alt) and one other key. Confirming hands back either
// one key's usage id (the main key) or an event list: presses in slot order, then releases in
// the opposite order, two bytes an event (0x80 or 0x00, usage id).
class SingleKeyCombination {
public:
    static constexpr std::uint8_t kNoKey = 255;
    using EventBuffer = std::array<std::uint8_t, 120>;

    // Shift, Ctrl, Windows, Alt, other key.
    static constexpr int kSlots = 5;

    // The assignment the dialog opens with; returns the text to show. The first key reported
    // afterwards replaces it.
    std::wstring Open(std::uint8_t mainKeyUsage, const EventBuffer& events, int keyCount,
                      bool capsLockOn);

    // A report of the key hook: virtual key and flags (bit 7 a release). The new text when the
    // shown combination changed. Releases change nothing until a key was pressed.
    std::optional<std::wstring> OnHookKey(std::uint32_t virtualKey, std::uint32_t flags,
                                          bool capsLockOn);

    // True when a key was reported since opening; fills the event buffer for a combination or a
    // modifier alone, leaves it empty for one other key still held (the main key).
    bool Confirm();

    std::uint8_t MainKeyUsage() const { return m_mainKeyUsage; }
    const EventBuffer& Events() const { return m_events; }
    int KeyCount() const { return m_keyCount; }
    const std::wstring& Text() const { return m_text; }

    // The key data the button entry stores after a confirmed run: one key as one key event
    // (0x80, usage), a combination of 2 to 5 keys as the event list.
    EventBuffer StoredKeyData() const;

private:
    int SlotOf(std::uint32_t virtualKey) const;
    std::wstring ShowCombination(bool capsLockOn);
    void InsertEvents(int position, std::uint8_t usage);

    std::uint8_t m_mainKeyUsage = kNoKey;
    EventBuffer m_events{};
    int m_keyCount = 0;
    std::array<bool, kSlots> m_pressed{};
    // Left Shift, left Ctrl, left Windows, left Alt, and the other key once one is pressed.
    std::array<std::uint32_t, kSlots> m_slotKeys{160, 162, 91, 164, 0};
    std::array<bool, kSlots> m_confirmed{};
    bool m_nothingPressed = true;
    // The last report, so that a held key the hook repeats counts once; forgotten at each
    // opening, so a key still held when the previous dialog closed counts again.
    std::optional<std::pair<std::uint32_t, std::uint32_t>> m_lastReport;
    std::wstring m_text;
};
