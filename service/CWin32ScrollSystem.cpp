#include "service/CWin32ScrollSystem.h"

#include <objbase.h>

namespace {

class LoadedAccessibility : public CScrollSystem::Accessibility {
public:
    explicit LoadedAccessibility(HMODULE module)
        : module_(module),
          objectFromLresult_(reinterpret_cast<ObjectFromLresultFunction>(
              reinterpret_cast<void*>(GetProcAddress(module, "ObjectFromLresult")))) {}
    ~LoadedAccessibility() override { FreeLibrary(module_); }
    LoadedAccessibility(const LoadedAccessibility&) = delete;
    LoadedAccessibility& operator=(const LoadedAccessibility&) = delete;

    ObjectFromLresultFunction ObjectFromLresult() const override { return objectFromLresult_; }

private:
    HMODULE module_;
    ObjectFromLresultFunction objectFromLresult_;
};

} // namespace

POINT CWin32ScrollSystem::CursorPos() {
    POINT point{};
    GetCursorPos(&point);
    return point;
}

void CWin32ScrollSystem::SetCursorPos(int x, int y) {
    ::SetCursorPos(x, y);
}

HWND CWin32ScrollSystem::WindowFromPoint(POINT point) {
    return ::WindowFromPoint(point);
}

bool CWin32ScrollSystem::ButtonsSwapped() {
    return GetSystemMetrics(SM_SWAPBUTTON) != 0;
}

void CWin32ScrollSystem::MouseEvent(DWORD flags, DWORD dx, DWORD dy, DWORD data) {
    mouse_event(flags, dx, dy, data, static_cast<ULONG_PTR>(GetMessageExtraInfo()));
}

void CWin32ScrollSystem::PostWindowMessage(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    PostMessageW(window, message, wParam, lParam);
}

void CWin32ScrollSystem::SendWindowMessage(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    SendMessageW(window, message, wParam, lParam);
}

bool CWin32ScrollSystem::SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT timeoutMs, LRESULT& result) {
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, timeoutMs,
                            &answer) == 0) {
        return false;
    }
    result = static_cast<LRESULT>(answer);
    return true;
}

HRESULT CWin32ScrollSystem::EnterComponentLibrary() {
    return CoInitialize(nullptr);
}

void CWin32ScrollSystem::LeaveComponentLibrary() {
    CoUninitialize();
}

std::unique_ptr<CScrollSystem::Accessibility> CWin32ScrollSystem::LoadAccessibility() {
    const HMODULE module = LoadLibraryW(L"OLEACC.DLL");
    if (module == nullptr) {
        return nullptr;
    }
    return std::make_unique<LoadedAccessibility>(module);
}
