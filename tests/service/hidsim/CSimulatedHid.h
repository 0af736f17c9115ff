#pragma once

#include "tests/service/hidsim/CControlChannel.h"
#include "tests/service/hidsim/CSimulatedMouse.h"
#include "tests/service/hidsim/HidSim.h"

#include <hidapi.h>

#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>

// What a hid_device pointer of the simulator points at: one open of one collection. Objects are
// never freed while the process runs, so a stale pointer is detected rather than followed.
struct hid_device_ {
    int Serial = 0;
    int Collection = -1;
    bool Closed = false;
    bool Gone = false; // its collection was unplugged
    bool Nonblocking = false;
    int ReadsInProgress = 0;
    int TransfersInProgress = 0;
    std::deque<std::vector<std::uint8_t>> Reports;
    std::wstring LastError;
};

// The simulated HID world of one process: collections, the mouse behind them, open handles, the
// call log, injected failures, and the control channel. Every hidapi function of the library
// lands here.
class CSimulatedHid {
public:
    static CSimulatedHid& Instance();

    CSimulatedHid();
    CSimulatedHid(const CSimulatedHid&) = delete;
    CSimulatedHid& operator=(const CSimulatedHid&) = delete;

    int Init();
    int Exit();
    hid_device_info* Enumerate(unsigned short vendorId, unsigned short productId);
    void FreeEnumeration(hid_device_info* list);
    hid_device* OpenPath(const char* path);
    void Close(hid_device* device);
    int SendFeatureReport(hid_device* device, const unsigned char* data, std::size_t length);
    int GetFeatureReport(hid_device* device, unsigned char* data, std::size_t length);
    int Read(hid_device* device, unsigned char* data, std::size_t length, int milliseconds,
             hidsim::Call call);
    int SetNonblocking(hid_device* device, int nonblock);
    const wchar_t* Error(hid_device* device);

    void Reset();
    void SetCollections(std::vector<hidsim::Collection> collections);
    std::vector<hidsim::Collection> Collections();
    void LoadMemory(std::uint16_t address, std::span<const std::uint8_t> bytes);
    std::vector<std::uint8_t> ReadMemory(std::uint16_t address, std::size_t count);
    unsigned PendingCommitGroups();
    std::vector<unsigned> Commits();
    bool InUpdateBracket();
    std::vector<hidsim::LogEntry> Log(std::uint64_t firstSequence = 0);
    std::uint64_t IdleReads();
    int ReadsWaiting();
    std::chrono::nanoseconds TransferTime();
    void ClearLog();
    std::vector<std::string> Violations();
    void FailNext(hidsim::Call call, int result, int times);
    bool InjectInputReport(int channel, std::span<const std::uint8_t> report);
    void SetDeviceChangeSink(hidsim::DeviceChangeSink sink);
    void SetPlugged(bool plugged);
    void SetCollectionPlugged(int collection, bool plugged);
    bool IsPlugged();
    static std::wstring NotificationName(const std::string& path);
    std::wstring NotificationNameOf(int collection);
    void SetTransferLatency(std::chrono::nanoseconds latency);
    std::wstring ControlPipeName() const { return pipeName_; }
    void SetReportLogFile(const std::wstring& path);

private:
    struct Notification {
        UINT Event;
        std::wstring Name;
        bool HidInterface;
    };
    struct Enumeration {
        std::vector<hid_device_info> Nodes;
        std::vector<std::string> Paths;
        std::vector<std::wstring> Texts;
    };

    // All of these expect mutex_ held.
    void Append(hidsim::Call call, const hid_device* device, int result,
                std::span<const std::uint8_t> bytes = {});
    bool Usable(hid_device* device, hidsim::Call call);
    bool TakeFailure(hidsim::Call call, int& result);
    void MarkGone(int collection);

    void Deliver(const std::vector<Notification>& notifications);
    void ChargeLatency();
    // Spans one feature transfer: counts its time into transferTime_, and marks its device busy
    // so that a read from another thread at the same time is reported, as hidapi cannot take it.
    class TransferScope {
    public:
        TransferScope(CSimulatedHid& owner, hid_device* device, hidsim::Call call);
        ~TransferScope();
        TransferScope(const TransferScope&) = delete;
        TransferScope& operator=(const TransferScope&) = delete;

    private:
        CSimulatedHid& owner_;
        hid_device* device_;
        std::chrono::steady_clock::time_point start_;
    };
    bool Known(const hid_device* device) const;
    // Appends one line to the report log, when there is one; expects mutex_ held.
    void Note(const std::string& text);
    std::string HandleCommand(const std::string& request);
    std::string FormatLog(std::uint64_t firstSequence);

    std::mutex mutex_;
    std::condition_variable reportArrived_;
    std::mutex bus_; // one feature transfer at a time, as on the wire
    std::vector<hidsim::Collection> collections_;
    std::vector<bool> present_;
    CSimulatedMouse mouse_;
    std::deque<std::unique_ptr<hid_device_>> devices_;
    std::map<hid_device_info*, std::unique_ptr<Enumeration>> enumerations_;
    std::map<hidsim::Call, std::deque<int>> failures_;
    std::deque<hidsim::LogEntry> log_;
    std::uint64_t nextSequence_ = 1;
    std::uint64_t idleReads_ = 0;
    std::chrono::nanoseconds transferTime_{0};
    std::vector<std::string> violations_;
    std::wstring lastError_;
    hidsim::DeviceChangeSink sink_;
    std::chrono::nanoseconds latency_{0};
    std::chrono::steady_clock::time_point epoch_;
    std::wstring pipeName_;
    CControlChannel channel_;
    std::unique_ptr<void, decltype(&CloseHandle)> reportLog_{nullptr, &CloseHandle};
    std::wstring languageFile_; // names the button functions in the report log
};
