#include "tests/config/dialogs/ModalSteps.h"

namespace {
constexpr UINT kTickMs = 20;
constexpr int kIdleTicksAllowed = 150;
ModalSteps* g_running = nullptr;
} // namespace

ModalSteps::ModalSteps(winlayer::Dialog& dialog, std::vector<Step> steps)
    : m_dialog(dialog), m_steps(std::move(steps)) {}

ModalSteps::~ModalSteps() {
    if (m_timer != 0) {
        KillTimer(nullptr, m_timer);
    }
    g_running = nullptr;
}

INT_PTR ModalSteps::Run() {
    g_running = this;
    m_timer = SetTimer(nullptr, 0, kTickMs, &ModalSteps::Tick);
    const INT_PTR result = m_dialog.DoModal();
    KillTimer(nullptr, m_timer);
    m_timer = 0;
    g_running = nullptr;
    return result;
}

void CALLBACK ModalSteps::Tick(HWND, UINT, UINT_PTR, DWORD) {
    ModalSteps* self = g_running;
    if (self == nullptr || self->m_dialog.Hwnd() == nullptr) {
        return;
    }
    if (self->m_next < self->m_steps.size()) {
        // Counted before it runs: a step may start a nested loop in which the next ticks come.
        const size_t step = self->m_next++;
        self->m_steps[step]();
        return;
    }
    if (++self->m_idleTicks > kIdleTicksAllowed) {
        self->m_dialog.EndDialog(kTimedOut);
    }
}

void PostClick(HWND button) {
    PostMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

void PostKey(HWND window, WPARAM key) {
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

std::vector<HWND> ShownWindows(const std::function<bool(HWND)>& which) {
    struct Search {
        const std::function<bool(HWND)>& which;
        std::vector<HWND> found;
    } search{which, {}};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (IsWindowVisible(hwnd) && s->which(hwnd)) {
                s->found.push_back(hwnd);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> OwnedWindows(HWND window) {
    return ShownWindows([window](HWND hwnd) { return GetWindow(hwnd, GW_OWNER) == window; });
}

bool IsDialogWindow(HWND hwnd) {
    return winlayer::Dialog::IsDialogWindow(hwnd);
}

HWND OpenBoxOf(HWND window) {
    for (HWND owned : OwnedWindows(window)) {
        if (IsWindowEnabled(owned)) {
            return owned;
        }
    }
    return nullptr;
}

HWND ChildAt(HWND window, const RECT& rect, const wchar_t* cls) {
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
