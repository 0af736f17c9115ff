#pragma once

#include <windows.h>

#include <string>

// One started program. A process still running when the object goes is terminated, so a
// failing test leaves nothing behind.
class ServiceProcess {
public:
    ServiceProcess() = default;
    ~ServiceProcess();
    ServiceProcess(const ServiceProcess&) = delete;
    ServiceProcess& operator=(const ServiceProcess&) = delete;

    // Starts the program in its own folder; false when it could not be started.
    bool Start(const std::wstring& exePath);
    bool Running() const;
    // Waits for the process to end; false on timeout.
    bool WaitForExit(DWORD timeoutMs) const;
    DWORD ExitCode() const;
    DWORD Id() const { return id_; }

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};
