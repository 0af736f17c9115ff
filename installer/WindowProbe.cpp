// Looks for the suite's windows from inside Wine, for the scripts that run, package and test the
// suite: the service's hidden window has no X window that could be seen from outside.
//   WindowProbe wait <seconds> <title>...   exit 0 once every title has a top-level window
//   WindowProbe close <seconds> <title>...  asks the windows to close, ends the programs that
//                                           still run after <seconds>; exit 0 once none runs
//   WindowProbe absent <title>...           exit 0 when no title has a window
//   WindowProbe display                     exit 0 when Wine can make a window on its display

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

struct Found {
    std::wstring Title;
    HWND Window;
    DWORD Process;
};

std::vector<Found> FindAll(const std::vector<std::wstring>& titles) {
    std::vector<Found> found;
    for (const auto& title : titles) {
        HWND window = nullptr;
        while ((window = FindWindowExW(nullptr, window, nullptr, title.c_str())) != nullptr) {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            found.push_back({title, window, process});
        }
    }
    return found;
}

bool Has(const std::vector<Found>& found, const std::wstring& title) {
    for (const auto& f : found) {
        if (f.Title == title) {
            return true;
        }
    }
    return false;
}

int Wait(DWORD seconds, const std::vector<std::wstring>& titles) {
    const ULONGLONG deadline = GetTickCount64() + seconds * 1000ULL;
    for (;;) {
        const auto found = FindAll(titles);
        std::vector<std::wstring> missing;
        for (const auto& title : titles) {
            if (!Has(found, title)) {
                missing.push_back(title);
            }
        }
        if (missing.empty()) {
            return 0;
        }
        if (GetTickCount64() >= deadline) {
            for (const auto& title : missing) {
                std::wprintf(L"no window \"%ls\" after %lu s\n", title.c_str(), seconds);
            }
            return 1;
        }
        Sleep(100);
    }
}

int Close(DWORD seconds, const std::vector<std::wstring>& titles) {
    std::vector<HANDLE> processes;
    std::vector<std::wstring> names;
    for (const auto& f : FindAll(titles)) {
        PostMessageW(f.Window, WM_CLOSE, 0, 0);
        const HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, f.Process);
        if (process != nullptr) {
            processes.push_back(process);
            names.push_back(f.Title);
        }
    }
    // One program may own several of the windows: waiting on it twice is harmless.
    const ULONGLONG deadline = GetTickCount64() + seconds * 1000ULL;
    int result = 0;
    for (std::size_t i = 0; i < processes.size(); ++i) {
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
        if (WaitForSingleObject(processes[i], left) != WAIT_OBJECT_0) {
            std::wprintf(L"\"%ls\" did not close within %lu s: ended\n", names[i].c_str(), seconds);
            TerminateProcess(processes[i], 1);
            if (WaitForSingleObject(processes[i], 5000) != WAIT_OBJECT_0) {
                result = 1;
            }
        }
        CloseHandle(processes[i]);
    }
    return result;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"display") {
        const HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr,
                                            nullptr, nullptr, nullptr);
        if (window == nullptr) {
            std::wprintf(L"no window can be made: error %lu\n", GetLastError());
            return 1;
        }
        DestroyWindow(window);
        return 0;
    }
    const bool timed = command == L"wait" || command == L"close";
    const int first = timed ? 3 : 2;
    if ((!timed && command != L"absent") || argc <= first) {
        std::fwprintf(stderr, L"usage: WindowProbe wait|close <seconds> <title>...\n"
                              L"       WindowProbe absent <title>...\n"
                              L"       WindowProbe display\n");
        return 2;
    }
    const DWORD seconds = timed ? static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)) : 0;
    const std::vector<std::wstring> titles(argv + first, argv + argc);
    if (command == L"wait") {
        return Wait(seconds, titles);
    }
    if (command == L"close") {
        return Close(seconds, titles);
    }
    const auto found = FindAll(titles);
    for (const auto& f : found) {
        std::wprintf(L"window \"%ls\" of process %lu\n", f.Title.c_str(), f.Process);
    }
    return found.empty() ? 0 : 1;
}
