// Stands in for the tray program beside the service's test build: every start appends one line
// to "pennrack-starts.txt" beside it, and its window "V212MousePennrack" lives until it is
// closed, or for two minutes at most, so that no copy outlives a failed test for long.
#include <windows.h>

#include <string>

namespace {

constexpr UINT_PTR kLifetimeTimer = 1;
constexpr UINT kLifetimeMs = 120000;

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

bool CountStart() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return false;
    }
    std::wstring log(path);
    log = log.substr(0, log.find_last_of(L'\\')) + L"\\pennrack-starts.txt";
    HANDLE file = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL ok = WriteFile(file, "started\n", 8, &written, nullptr);
    CloseHandle(file);
    return ok != FALSE;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"V212TrayStandIn";
    RegisterClassExW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"V212MousePennrack", WS_POPUP, 0,
                                  0, 10, 10, nullptr, nullptr, instance, nullptr);
    if (window == nullptr || !CountStart()) {
        return 1;
    }
    SetTimer(window, kLifetimeTimer, kLifetimeMs, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
