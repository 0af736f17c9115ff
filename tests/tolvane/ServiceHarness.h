#pragma once

#include "tests/tolvane/RecorderWindow.h"
#include "tests/tolvane/ServiceProcess.h"
#include "tests/tolvane/SimulatorClient.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Runs the test build of the device service as a real process beside the windows of its two
// peers (the configuration program and the tray program), which record what it posts.
class ServiceHarness {
public:
    static constexpr DWORD kTimeoutMs = 20000;

    // The peers the harness stands in for. A test that runs the real configuration window leaves
    // that stand-in out, so the service's posts reach the real one.
    enum class Peers { ConfigAndTray, TrayOnly };

    explicit ServiceHarness(Peers peers = Peers::ConfigAndTray);

    // Where the test build and its template "Mouse.ini" lie: the folder of the running program,
    // unless another was named.
    static std::wstring ProgramFolder();
    static void UseProgramFolder(std::wstring folder);
    static std::wstring SimulatedServicePath();
    // "<application data>\Selvin V212 Gaming Mouse"; empty when the shell has no such folder.
    static std::wstring VendorFolder();
    static std::wstring SettingsPath();
    // Deletes the vendor folder with everything in it.
    static bool CleanDataFolder();
    // The top-level windows titled "V212Hid".
    static std::vector<HWND> ServiceWindows();

    // Starts a service process and waits until its window handles messages; false when it
    // did not get there, with the reason in StartFailure().
    bool Start();
    const std::string& StartFailure() const { return startFailure_; }
    // Starts one more copy and returns it, without waiting for anything.
    std::unique_ptr<ServiceProcess> StartAnother() const;
    bool Started() const { return process_ != nullptr; }
    ServiceProcess& Process() { return *process_; }
    SimulatorClient& Simulator() { return *simulator_; }
    HWND ServiceWindow() const { return window_; }

    bool Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // Sends the message and returns once the service has handled it: for checking that a
    // message does nothing, where no reply or report could be waited for.
    bool SendAndWait(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // Posts and waits for the reports sent from now until the closing bracket report.
    std::vector<std::vector<std::uint8_t>> PostAndCollectBracket(UINT message, WPARAM wParam = 0,
                                                                 LPARAM lParam = 0);
    // Posts WM_CLOSE and waits for the process to end.
    bool Close();

    // Only with Peers::ConfigAndTray.
    RecorderWindow& Config() { return *config_; }
    RecorderWindow& Tray() { return tray_; }

private:
    // What a service that did not come up left to see, for StartFailure().
    std::string WhyNotStarted() const;

    std::optional<RecorderWindow> config_;
    RecorderWindow tray_;
    std::unique_ptr<ServiceProcess> process_;
    std::unique_ptr<SimulatorClient> simulator_;
    HWND window_ = nullptr;
    std::string startFailure_;
};
