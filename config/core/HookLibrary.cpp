#include "config/core/HookLibrary.h"

#include "winlayer/Format.h"

namespace {
template <class Proc> Proc Bind(HMODULE module, const char* name) {
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
} // namespace

HookLibrary::~HookLibrary() {
    if (m_module != nullptr) {
        FreeLibrary(m_module);
    }
}

bool HookLibrary::Load(const std::wstring& programFolder) {
    if (m_module != nullptr) {
        return true;
    }
    const std::wstring path = programFolder + L"Tarrow.dll";
    m_module = LoadLibraryW(path.c_str());
    if (m_module == nullptr) {
        OutputDebugStringW(winlayer::Format(L"GetError:%d\n", GetLastError()).c_str());
        return false;
    }
    m_installHook = Bind<WindowProc>(m_module, "installhook");
    m_removeHook = Bind<VoidProc>(m_module, "removehook");
    m_enableHook = Bind<FlagProc>(m_module, "enablehook");
    m_installMouseHook = Bind<WindowProc>(m_module, "installmousehook");
    m_removeMouseHook = Bind<VoidProc>(m_module, "removemousehook");
    m_enableMouseHook = Bind<FlagProc>(m_module, "enablemousehook");
    return true;
}

bool HookLibrary::InstallHook(HWND window) const {
    return m_installHook != nullptr && m_installHook(window) != FALSE;
}
bool HookLibrary::RemoveHook() const {
    return m_removeHook != nullptr && m_removeHook() != FALSE;
}
bool HookLibrary::EnableHook(bool on) const {
    return m_enableHook != nullptr && m_enableHook(on ? 1 : 0) != FALSE;
}
bool HookLibrary::InstallMouseHook(HWND window) const {
    return m_installMouseHook != nullptr && m_installMouseHook(window) != FALSE;
}
bool HookLibrary::RemoveMouseHook() const {
    return m_removeMouseHook != nullptr && m_removeMouseHook() != FALSE;
}
bool HookLibrary::EnableMouseHook(bool on) const {
    return m_enableMouseHook != nullptr && m_enableMouseHook(on ? 1 : 0) != FALSE;
}
