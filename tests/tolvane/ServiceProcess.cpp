#include "tests/tolvane/ServiceProcess.h"

ServiceProcess::~ServiceProcess() {
    if (process_ == nullptr) {
        return;
    }
    if (Running()) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 10000);
    }
    CloseHandle(process_);
}

bool ServiceProcess::Start(const std::wstring& exePath) {
    std::wstring folder = exePath.substr(0, exePath.find_last_of(L'\\'));
    std::wstring commandLine = L"\"" + exePath + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &info)) {
        return false;
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
    return true;
}

bool ServiceProcess::Running() const {
    return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool ServiceProcess::WaitForExit(DWORD timeoutMs) const {
    return process_ != nullptr && WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0;
}

DWORD ServiceProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_ != nullptr) {
        GetExitCodeProcess(process_, &code);
    }
    return code;
}
