// Low-level keyboard and mouse hooks. While a hook is enabled, every key or button transition
// is posted to the window it was installed for as 0x8D2: wParam the virtual key, lParam 0 or 1
// for a press, 128 or 129 for a release (bit 0 the extended-key flag). Events are always passed
// on: the hooks watch, they never swallow.
//
// The hooks run on the thread that installed them, which must run a message loop. The state is
// shared by every caller in the process: installing again moves the reports to the new window.

#include <windows.h>

#include <atomic>

namespace {

constexpr UINT kKeyReport = 0x8D2;
// The release and extended-key bits of a key's hook flags.
constexpr DWORD kTransitionBits = LLKHF_UP | LLKHF_EXTENDED;
constexpr LPARAM kPress = 0;
constexpr LPARAM kRelease = LLKHF_UP;

HINSTANCE thisModule = nullptr;

struct Hook {
    std::atomic<HHOOK> handle{nullptr};
    std::atomic<HWND> window{nullptr};
    std::atomic<bool> enabled{false};
};

Hook keyboard;
Hook mouse;

void Report(const Hook& hook, WPARAM key, LPARAM transition) {
    if (hook.enabled) {
        const HWND window = hook.window;
        if (window != nullptr) {
            PostMessageW(window, kKeyReport, key, transition);
        }
    }
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto& event = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        Report(keyboard, event.vkCode, static_cast<LPARAM>(event.flags & kTransitionBits));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        switch (wParam) {
        case WM_LBUTTONDOWN:
            Report(mouse, VK_LBUTTON, kPress);
            break;
        case WM_LBUTTONUP:
            Report(mouse, VK_LBUTTON, kRelease);
            break;
        case WM_RBUTTONDOWN:
            Report(mouse, VK_RBUTTON, kPress);
            break;
        case WM_RBUTTONUP:
            Report(mouse, VK_RBUTTON, kRelease);
            break;
        case WM_MBUTTONDOWN:
            Report(mouse, VK_MBUTTON, kPress);
            break;
        case WM_MBUTTONUP:
            Report(mouse, VK_MBUTTON, kRelease);
            break;
        default:
            break;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A hook already installed keeps running and only changes its window.
BOOL Install(Hook& hook, int kind, HOOKPROC procedure, HWND window) {
    if (window == nullptr || !IsWindow(window)) {
        return FALSE;
    }
    hook.window = window;
    if (hook.handle.load() == nullptr) {
        const HHOOK handle = SetWindowsHookExW(kind, procedure, thisModule, 0);
        if (handle == nullptr) {
            hook.window = nullptr;
            return FALSE;
        }
        hook.handle = handle;
    }
    return TRUE;
}

// TRUE when no hook is left installed.
BOOL Remove(Hook& hook) {
    hook.window = nullptr;
    const HHOOK handle = hook.handle.exchange(nullptr);
    return handle == nullptr || UnhookWindowsHookEx(handle) ? TRUE : FALSE;
}

BOOL Enable(Hook& hook, int flag) {
    hook.enabled = flag != 0;
    return TRUE;
}

} // namespace

extern "C" {

BOOL installhook(HWND window) {
    return Install(keyboard, WH_KEYBOARD_LL, &KeyboardProc, window);
}

BOOL removehook() {
    return Remove(keyboard);
}

BOOL enablehook(int flag) {
    return Enable(keyboard, flag);
}

BOOL installmousehook(HWND window) {
    return Install(mouse, WH_MOUSE_LL, &MouseProc, window);
}

BOOL removemousehook() {
    return Remove(mouse);
}

BOOL enablemousehook(int flag) {
    return Enable(mouse, flag);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        thisModule = instance;
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        // Freed while the process goes on: a hook left behind would call into the unloaded
        // library.
        Remove(keyboard);
        Remove(mouse);
    }
    return TRUE;
}

} // extern "C"
