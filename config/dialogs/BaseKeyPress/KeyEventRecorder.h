#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <span>

// One recorded key event: the virtual key, 0 down or 1 up, and an extra value (0 when captured;
// a delay in units of 2 ms when loaded from a stored assignment).
struct KeyEvent {
    std::uint32_t key;
    std::uint32_t action;
    std::uint32_t extra;
    bool operator==(const KeyEvent&) const = default;
};

// The list of key events a key-capture dialog records from key messages: left and right Shift,
// Ctrl and Alt and the keypad Enter are told apart, and a key-up counts only after its key-down.
class KeyEventRecorder {
public:
    static constexpr int kCapacity = 60;
    static constexpr std::uint32_t kDown = 0;
    static constexpr std::uint32_t kUp = 1;

    // What the dialog's message pre-translation does with a key message.
    struct Route {
        bool record;
        // The key flags handed to the recording.
        UINT flags;
        // True when the message goes no further (Space must not press the focused button).
        bool consume;
    };
    // message: WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN or WM_SYSKEYUP; flags: the high word of the
    // message's lParam (scan code, extended bit 8, previous-state bit 14).
    static Route PreTranslateRoute(UINT message, UINT key, UINT flags);
    // The key as recorded: generic Ctrl, Shift and Alt become their left or right key, Enter
    // from the keypad becomes 108.
    static std::uint32_t MapKey(UINT key, UINT flags);

    // 0 when recorded, -1 when refused (list full, a second event while only one is allowed, a
    // key-up whose key-down is not in the list). The first recorded event after ClearStarted
    // replaces the list; a refused event changes nothing.
    int Record(std::uint32_t action, UINT key, UINT flags);

    // Empties the list and appends the events; appends stop once the list holds more than 55.
    void SetKeys(std::span<const KeyEvent> events);
    std::span<const KeyEvent> Events() const { return {m_events.data(), m_count}; }
    int Count() const { return static_cast<int>(m_count); }
    void Clear() { m_count = 0; }

    bool Started() const { return m_started; }
    void ClearStarted() { m_started = false; }
    void SetAllowSeveral(bool allow) { m_allowSeveral = allow; }

private:
    std::array<KeyEvent, kCapacity> m_events{};
    size_t m_count = 0;
    bool m_started = false;
    bool m_allowSeveral = true;
};
