#include "tests/config/main/ModalBoxes.h"

#include "winlayer/Dialog.h"

namespace {
constexpr UINT kTickMs = 10;
constexpr int kIdleTicksAllowed = 300;
ModalBoxes* g_running = nullptr;

// A visible dialog window that owner owns.
HWND OwnedDialog(HWND owner) {
    struct Search {
        HWND owner;
        HWND found;
    } search{owner, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            wchar_t cls[16] = {};
            GetClassNameW(hwnd, cls, 16);
            if (GetWindow(hwnd, GW_OWNER) == s->owner && IsWindowVisible(hwnd) &&
                lstrcmpW(cls, L"#32770") == 0) {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}
} // namespace

ModalBoxes::ModalBoxes(HWND owner, std::vector<Step> steps)
    : m_owner(owner), m_steps(std::move(steps)) {
    g_running = this;
    m_timer = SetTimer(nullptr, 0, kTickMs, &ModalBoxes::Tick);
}

ModalBoxes::~ModalBoxes() {
    KillTimer(nullptr, m_timer);
    g_running = nullptr;
}

HWND ModalBoxes::OpenBox(HWND owner) {
    // A modal box disables the window under it; pop-ups that disable nothing are not boxes.
    HWND box = nullptr;
    for (HWND under = owner; under != nullptr && !IsWindowEnabled(under);) {
        under = OwnedDialog(under);
        if (under != nullptr) {
            box = under;
        }
    }
    return box;
}

void CALLBACK ModalBoxes::Tick(HWND, UINT, UINT_PTR, DWORD) {
    ModalBoxes* self = g_running;
    if (self == nullptr) {
        return;
    }
    const HWND box = OpenBox(self->m_owner);
    if (box == nullptr) {
        return;
    }
    if (self->m_next < self->m_steps.size()) {
        // Counted before it runs: a step may start a nested loop in which the next ticks come.
        const size_t step = self->m_next++;
        self->m_steps[step](box);
        return;
    }
    if (++self->m_idleTicks > kIdleTicksAllowed) {
        self->m_timedOut = true;
        if (auto* dialog = dynamic_cast<winlayer::Dialog*>(winlayer::Window::FromHandle(box))) {
            dialog->EndDialog(IDABORT);
        }
    }
}

std::wstring ModalBoxes::Text(HWND box) {
    std::wstring text;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[16] = {};
        GetClassNameW(child, cls, 16);
        if (lstrcmpiW(cls, L"Static") != 0) {
            continue;
        }
        wchar_t line[256] = {};
        GetWindowTextW(child, line, 256);
        text += (text.empty() ? L"" : L"|") + std::wstring(line);
    }
    return text;
}

HWND ModalBoxes::ChildAt(HWND window, const RECT& rect, const wchar_t* cls) {
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[32] = {};
        GetClassNameW(child, name, 32);
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        if (lstrcmpiW(name, cls) == 0 && EqualRect(&r, &rect)) {
            return child;
        }
    }
    return nullptr;
}
