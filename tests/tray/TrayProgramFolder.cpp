#include "tests/tray/TrayProgramFolder.h"

#include "tray/CPennrack.h"

#include <fstream>
#include <iterator>

namespace {

struct WindowSearch {
    DWORD processId;
    HWND found;
    int count;
};

BOOL CALLBACK VisitTopLevelWindow(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<WindowSearch*>(context);
    wchar_t title[64] = {};
    GetWindowTextW(window, title, ARRAYSIZE(title));
    if (std::wstring_view(title) != CPennrack::kWindowTitle)
        return TRUE;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (search.processId == 0 || owner == search.processId) {
        search.found = window;
        ++search.count;
    }
    return TRUE;
}

WindowSearch FindTrayWindows(DWORD processId) {
    WindowSearch search{processId, nullptr, 0};
    EnumWindows(VisitTopLevelWindow, reinterpret_cast<LPARAM>(&search));
    return search;
}

} // namespace

TrayProgramFolder::TrayProgramFolder() {
    static int counter = 0;
    m_path = std::filesystem::temp_directory_path() /
             (L"v212-tray-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(counter++));
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
    std::filesystem::copy_file(V212_PENNRACK_EXE, TrayProgram());
    std::filesystem::copy_file(V212_LANGUAGE_DLL, m_path / L"language.dll");
    std::filesystem::copy_file(V212_CONFIG_STUB_EXE, m_path / L"config.exe");
}

TrayProgramFolder::~TrayProgramFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

void TrayProgramFolder::WriteStrings(const std::string& xml) const {
    std::ofstream(m_path / L"Strings.xml", std::ios::binary) << xml;
}

int TrayProgramFolder::ConfigStarts() const {
    std::ifstream log(m_path / L"config-starts.txt", std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>()};
    int starts = 0;
    for (char c : text)
        starts += c == '\n';
    return starts;
}

TrayProcess::TrayProcess(const std::filesystem::path& program) {
    const std::wstring folder = program.parent_path().wstring();
    std::wstring commandLine = L"\"" + program.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &info))
        return;
    CloseHandle(info.hThread);
    m_process = info.hProcess;
    m_id = info.dwProcessId;
}

TrayProcess::~TrayProcess() {
    if (m_process == nullptr)
        return;
    if (Running()) {
        if (HWND window = FindTrayWindows(m_id).found)
            PostMessageW(window, WM_CLOSE, 0, 0);
        if (!WaitForExit(5000)) {
            TerminateProcess(m_process, 1);
            WaitForExit(5000);
        }
    }
    CloseHandle(m_process);
}

bool TrayProcess::Running() const {
    return m_process != nullptr && WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT;
}

bool TrayProcess::WaitForExit(DWORD milliseconds) const {
    // Pumps meanwhile: the program may be sending to a window of this thread as it closes.
    return m_process != nullptr && WaitUntil(milliseconds, [this] { return !Running(); });
}

DWORD TrayProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (m_process != nullptr)
        GetExitCodeProcess(m_process, &code);
    return code;
}

HWND TrayProcess::WaitForWindow() const {
    HWND window = nullptr;
    WaitUntil(10000, [&] {
        window = FindTrayWindows(m_id).found;
        return window != nullptr || !Running();
    });
    return window;
}

int CountTrayWindows() {
    return FindTrayWindows(0).count;
}

bool WaitUntil(DWORD milliseconds, const std::function<bool()>& done) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done())
            return true;
        if (GetTickCount64() >= end)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}
