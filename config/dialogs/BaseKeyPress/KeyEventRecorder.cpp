#include "config/dialogs/BaseKeyPress/KeyEventRecorder.h"

namespace {
constexpr UINT kExtended = KF_EXTENDED;
constexpr UINT kPreviouslyDown = KF_REPEAT;
constexpr UINT kLeftShiftScan = 0x2A;
constexpr UINT kRightShiftScan = 0x36;
constexpr std::uint32_t kKeypadEnter = 108;
constexpr size_t kSetKeysLimit = 55;

bool IsWindowsKey(UINT key) {
    return key == VK_LWIN || key == VK_RWIN || key == VK_APPS;
}

// Keys the dialog manager also acts on: only the extended bit tells their variants apart.
bool PassesExtendedBitOnly(UINT key) {
    return key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE || key == VK_RIGHT ||
           key == VK_DOWN || key == VK_SNAPSHOT;
}
} // namespace

KeyEventRecorder::Route KeyEventRecorder::PreTranslateRoute(UINT message, UINT key, UINT flags) {
    const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    if (down && (flags & kPreviouslyDown) != 0) {
        return {false, flags, false};
    }
    if (message == WM_SYSKEYDOWN || message == WM_SYSKEYUP) {
        return {true, flags, false};
    }
    if (IsWindowsKey(key)) {
        return {false, flags, false};
    }
    if (message == WM_KEYUP) {
        return {true, flags, false};
    }
    if (PassesExtendedBitOnly(key)) {
        return {true, flags & kExtended, false};
    }
    return {true, flags, key == VK_SPACE};
}

std::uint32_t KeyEventRecorder::MapKey(UINT key, UINT flags) {
    const bool extended = (flags & kExtended) != 0;
    switch (key) {
    case VK_CONTROL:
        return extended ? VK_RCONTROL : VK_LCONTROL;
    case VK_SHIFT: {
        const UINT scan = flags & 0xFF;
        if (scan == kLeftShiftScan) {
            return VK_LSHIFT;
        }
        return scan == kRightShiftScan ? VK_RSHIFT : VK_SHIFT;
    }
    case VK_MENU:
        return extended ? VK_RMENU : VK_LMENU;
    case VK_RETURN:
        return extended ? kKeypadEnter : VK_RETURN;
    default:
        return key;
    }
}

int KeyEventRecorder::Record(std::uint32_t action, UINT key, UINT flags) {
    // Before the first recorded event the list counts as empty; it is emptied only once the
    // event is taken, so a stray key-up cannot wipe what the dialog was opened with.
    const size_t count = m_started ? m_count : 0;
    if (count >= kCapacity || (count >= 1 && !m_allowSeveral)) {
        return -1;
    }
    const std::uint32_t mapped = MapKey(key, flags);
    if (action == kUp) {
        size_t at = count;
        while (at > 0 && m_events[at - 1].key != mapped) {
            --at;
        }
        if (at == 0 || m_events[at - 1].action != kDown) {
            return -1;
        }
    }
    m_events[count] = {mapped, action, 0};
    m_count = count + 1;
    m_started = true;
    return 0;
}

void KeyEventRecorder::SetKeys(std::span<const KeyEvent> events) {
    m_count = 0;
    for (const KeyEvent& event : events) {
        if (m_count > kSetKeysLimit) {
            break;
        }
        m_events[m_count++] = event;
    }
}
