#include "service/ForegroundProgram.h"

#include "winlayer/UniqueHandle.h"

#include <tlhelp32.h>

std::optional<std::wstring> ExecutableNameOfProcess(DWORD processId) {
    const winlayer::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        return std::nullopt;
    }
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
         more = Process32NextW(snapshot.Get(), &entry)) {
        if (entry.th32ProcessID == processId) {
            return std::wstring(entry.szExeFile);
        }
    }
    return std::nullopt;
}

std::optional<std::wstring> ForegroundProgramName() {
    HWND foreground = GetForegroundWindow();
    if (foreground == nullptr) {
        return std::nullopt;
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(foreground, &processId);
    if (processId == 0) {
        return std::nullopt;
    }
    return ExecutableNameOfProcess(processId);
}
