#pragma once

#include <windows.h>

#include <string>

// The keyboard and mouse hook library "Tarrow.dll" of the program folder, loaded at run time.
// While enabled, its hooks post 0x8D2 (virtual key, transition) to the window they were
// installed for. Each export is bound on its own: a missing library or export leaves that call
// doing nothing (false), so the program works on without key capture.
class HookLibrary {
public:
    // The message the hooks post: wParam the virtual key, lParam 0/1 press, 128/129 release.
    static constexpr UINT kKeyReport = 0x8D2;

    HookLibrary() = default;
    ~HookLibrary();
    HookLibrary(const HookLibrary&) = delete;
    HookLibrary& operator=(const HookLibrary&) = delete;

    // Loads "<folder>Tarrow.dll" (folder with its trailing separator). False, with the system's
    // error code written to the debugger output, when it cannot be loaded.
    bool Load(const std::wstring& programFolder);
    bool Loaded() const { return m_module != nullptr; }

    bool InstallHook(HWND window) const;
    bool RemoveHook() const;
    bool EnableHook(bool on) const;
    bool InstallMouseHook(HWND window) const;
    bool RemoveMouseHook() const;
    bool EnableMouseHook(bool on) const;
    // Both hooks on or off.
    void EnableBoth(bool on) const {
        EnableHook(on);
        EnableMouseHook(on);
    }

private:
    using WindowProc = BOOL (*)(HWND);
    using VoidProc = BOOL (*)();
    using FlagProc = BOOL (*)(int);

    HMODULE m_module = nullptr;
    WindowProc m_installHook = nullptr;
    VoidProc m_removeHook = nullptr;
    FlagProc m_enableHook = nullptr;
    WindowProc m_installMouseHook = nullptr;
    VoidProc m_removeMouseHook = nullptr;
    FlagProc m_enableMouseHook = nullptr;
};
