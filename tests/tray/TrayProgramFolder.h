#pragma once

#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>

// A program folder of its own for one test, under the temporary folder: the tray program, the
// language library and a stand-in "config.exe" that counts its starts; "Strings.xml" only when
// the test writes one. Removed at the end.
class TrayProgramFolder {
public:
    TrayProgramFolder();
    TrayProgramFolder(const TrayProgramFolder&) = delete;
    TrayProgramFolder& operator=(const TrayProgramFolder&) = delete;
    ~TrayProgramFolder();

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path TrayProgram() const { return m_path / L"pennrack.exe"; }
    void WriteStrings(const std::string& xml) const;
    // How often the stand-in configuration program has been started.
    int ConfigStarts() const;

private:
    std::filesystem::path m_path;
};

// One started copy of the tray program. A copy still running at the end is closed, and
// terminated if it does not end, so that no process outlives its test.
class TrayProcess {
public:
    explicit TrayProcess(const std::filesystem::path& program);
    TrayProcess(const TrayProcess&) = delete;
    TrayProcess& operator=(const TrayProcess&) = delete;
    ~TrayProcess();

    bool Started() const { return m_process != nullptr; }
    DWORD Id() const { return m_id; }
    bool Running() const;
    bool WaitForExit(DWORD milliseconds) const;
    DWORD ExitCode() const;
    // The window "V212MousePennrack" of this process, waited for up to 10 s; null if none.
    HWND WaitForWindow() const;

private:
    HANDLE m_process = nullptr;
    DWORD m_id = 0;
};

// Top-level windows titled "V212MousePennrack", of any process.
int CountTrayWindows();
// Waits up to `milliseconds` for `done`, pumping this thread's messages meanwhile.
bool WaitUntil(DWORD milliseconds, const std::function<bool()>& done);
