#pragma once

#include "service/CHidHandle.h"
#include "service/CInputReader.h"

#include <windows.h>
#include <dbt.h>

#include <array>
#include <atomic>
#include <functional>
#include <mutex>
#include <string>

// One mouse model the service looks for, with the two collections it opens and the paths found
// for them.
struct MouseDeviceEntry {
    unsigned short VendorId = 0;
    unsigned short ProductId = 0;
    unsigned short LowestRelease = 0;
    unsigned short HighestRelease = 0; // 0 accepts any release
    unsigned short InputUsage = 0;
    unsigned short InputUsagePage = 0;
    unsigned short ControlUsage = 0;
    unsigned short ControlUsagePage = 0;
    std::string InputPath;
    bool InputFound = false;
    std::string ControlPath;
    bool ControlFound = false;
};

// The service's connection to the mouse: finding its two collections, opening them (the input
// handle for channel 0, the control handle for channel 1 and every feature report), the two
// reader threads, and following plug and unplug through WM_DEVICECHANGE. Owned by the service
// window; every method except the report handler runs on the window's thread.
class CMouseConnection {
public:
    static constexpr unsigned short kVendorId = 0x04D9;
    static constexpr unsigned short kProductId = 0xF111;

    using Action = std::function<void()>;

    // `settingsPath` is "Mouse.ini", where the connection state is written as "Device"; an empty
    // path writes nothing.
    explicit CMouseConnection(std::wstring settingsPath = {});
    CMouseConnection(const CMouseConnection&) = delete;
    CMouseConnection& operator=(const CMouseConnection&) = delete;
    // Stops and joins the readers, then closes both handles.
    ~CMouseConnection();

    void SetSettingsPath(std::wstring settingsPath) { settingsPath_ = std::move(settingsPath); }
    // Called on a reader thread for every input report read. Set it before StartReaders. It must
    // not wait for the window thread (SendMessage to it): a removal joins the readers there.
    void SetReportHandler(InputReportHandler handler) { handler_ = std::move(handler); }
    // What an arrival that opened the mouse runs afterwards: starting the tray program (on the
    // arrival of both known collections) and reading the mouse back (when the control handle
    // opened).
    void SetArrivalActions(Action launchTrayProgram, Action queryAllFromMouse);

    void SetupDeviceTable();
    // Finds the paths of both collections of every table entry. -1 when hid_init fails, else 0.
    int EnumerateMouse();
    // Opens both collections of the entries with these ids by their stored paths; a path that is
    // empty or does not open leaves its handle null. Running readers are stopped and open
    // handles closed first; afterwards a collection counts as present when it opened.
    void OpenMouse(unsigned short vendorId, unsigned short productId);
    // Stops the readers and closes both handles.
    void CloseMouse();
    // Clears the stop flag and starts reader 0 (input handle) and reader 1 (control handle);
    // readers that already run are left running, so there are never more than two.
    void StartReaders();
    // Sets the stop flag and waits until both readers have ended.
    void StopReaders();
    // Writes "Device" = 1 when the control handle is open, else 0.
    void WriteDeviceState();
    // The WM_DEVICECHANGE handler: arrival and removal of the mouse's collections. Always TRUE.
    BOOL OnDeviceChange(UINT event, const DEV_BROADCAST_HDR* record);

    // The control handle, for feature reports; null while closed.
    hid_device* ControlDevice() const { return control_.Get(); }
    bool IsControlOpen() const { return control_.IsOpen(); }
    bool IsInputOpen() const { return input_.IsOpen(); }
    // Held around every feature-report sequence (a request and its reply, a write and its
    // commit), so that the window thread and a reader never interleave on the control handle.
    std::unique_lock<std::recursive_mutex> LockTransfers() const {
        return std::unique_lock(transfers_);
    }

    const MouseDeviceEntry& Entry() const { return table_[0]; }
    bool InputPresent() const { return inputPresent_; }
    bool ControlPresent() const { return controlPresent_; }
    int ArrivalCount() const { return arrivals_; }
    int RunningReaders() const;

private:
    void Arrival(const std::wstring& name);
    void Removal(const std::wstring& name);
    // Opens the mouse, starts the readers and writes "Device".
    void Reopen();

    std::wstring settingsPath_;
    std::array<MouseDeviceEntry, 1> table_{};
    CHidHandle input_;
    CHidHandle control_;
    std::atomic<bool> stop_{false};
    mutable std::recursive_mutex transfers_;
    InputReportHandler handler_;
    CInputReader reader0_{0, input_, stop_, handler_};
    CInputReader reader1_{1, control_, stop_, handler_, &transfers_};
    bool inputPresent_ = false;
    bool controlPresent_ = false;
    int arrivals_ = 0;
    Action launchTrayProgram_;
    Action queryAllFromMouse_;
};
