#pragma once

// Test API of the simulated mouse. The library implements the hidapi functions over a model of
// the mouse: its HID collections, its 64 KiB configuration memory and the feature-report protocol
// that reads and writes it, input reports, and plugging and unplugging. Every call is logged.

#include <windows.h>
#include <dbt.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace hidsim {

enum class Call {
    Init,
    Exit,
    Enumerate,
    FreeEnumeration,
    OpenPath,
    Close,
    SendFeatureReport,
    GetFeatureReport,
    Read,
    ReadTimeout,
    SetNonblocking,
    Error,
};
const char* CallName(Call call);

struct LogEntry {
    std::uint64_t Sequence = 0;
    std::chrono::steady_clock::time_point Time;
    DWORD Thread = 0;
    Call Function = Call::Init;
    int Collection = -1; // index into Collections(); -1 when no device is concerned
    int Handle = 0;      // serial number of the device handle; 0 when none
    int Result = 0;
    std::vector<std::uint8_t> Bytes; // report sent, reply got, or input report read
};

struct Collection {
    std::string Path;
    unsigned short VendorId = 0;
    unsigned short ProductId = 0;
    unsigned short Release = 0;
    unsigned short UsagePage = 0;
    unsigned short Usage = 0;
    bool PartOfMouse = false; // plugged and unplugged with the mouse, announced by notifications
};

// The default world: the mouse's consumer collection (channel 0), its vendor collection (channel
// 1, which takes the feature reports), two more collections of the mouse that the service must
// not open, and two decoys outside it (another product, and a release out of range).
inline constexpr int InputCollection = 0;
inline constexpr int ControlCollection = 1;
std::vector<Collection> DefaultCollections();

// Back to the default world: collections, mouse plugged, blank memory, empty log, no injected
// failures or reports, no latency, no device-change sink. Handles opened before become invalid.
void Reset();
void SetCollections(std::vector<Collection> collections);
std::vector<Collection> Collections();

// Configuration memory of the mouse; it keeps its content across unplug and plug.
inline constexpr std::size_t MemorySize = 0x10000;
void LoadMemory(std::uint16_t address, std::span<const std::uint8_t> bytes);
std::vector<std::uint8_t> ReadMemory(std::uint16_t address, std::size_t count);
// Commit groups (0x01 profile and buttons, 0x02 DPI, 0x04 lighting, 0x08 polling rate and
// 0x002A) written since their last commit.
unsigned PendingCommitGroups();
// Masks of the commits received, in order.
std::vector<unsigned> Commits();
bool InUpdateBracket();

// Log of every call since the last Reset or ClearLog; while a report log is kept (below), of the
// latest LogCapacity calls only. Sequence numbers go on counting, so the calls since a mark stay
// easy to ask for. Reads that time out without a report are counted, not logged.
inline constexpr std::size_t LogCapacity = 4096;
std::vector<LogEntry> Log();
// Only the feature reports sent and got, in order.
std::vector<LogEntry> FeatureTransfers();
std::vector<std::vector<std::uint8_t>> SentFeatureReports();
std::uint64_t IdleReads();
// Reads waiting for a report right now, on any handle.
int ReadsWaiting();
// Time spent inside feature transfers (waiting for the bus and the latency included).
std::chrono::nanoseconds TransferTime();
void ClearLog();
// Misuse of the hidapi contract that a real hidapi would answer with a crash or a hang: a null
// or unknown handle, a call on a closed handle, closing while another thread reads from it, a
// feature transfer and a read on one handle from two threads at once.
std::vector<std::string> Violations();

// The next `times` calls of `call` return `result`. A non-negative result on GetFeatureReport is
// a short reply of that many bytes, on SendFeatureReport it lets the report through as usual;
// any result on OpenPath makes the open fail.
void FailNext(Call call, int result, int times = 1);

// Queues an 8-byte (or other) input report on every open handle of the channel's collection
// (0 the consumer collection, 1 the vendor collection); false when no handle is open.
bool InjectInputReport(int channel, std::span<const std::uint8_t> report);

// Device notifications for plug and unplug go to the sink when one is set; otherwise they are
// sent as WM_DEVICECHANGE to this process's top-level window titled "V212Hid".
using DeviceChangeSink = std::function<void(UINT event, const DEV_BROADCAST_HDR* record)>;
void SetDeviceChangeSink(DeviceChangeSink sink);
// Plug and unplug the whole mouse: the USB device interface and each collection of the mouse are
// announced (arrival in collection order, removal in reverse order).
void Plug();
void Unplug();
bool IsPlugged();
// One collection of the mouse only, with its one notification.
void PlugCollection(int collection);
void UnplugCollection(int collection);
// The notification name the simulator sends for a collection (the path in lower case, wide).
std::wstring NotificationName(int collection);

// Time charged to every feature transfer, as a full-speed bus would (spent busy, not slept).
void SetTransferLatency(std::chrono::nanoseconds latency);

// Control channel: a named pipe served inside the process once hidapi is initialised, so that
// another process can drive the mouse. One request per connection, one text line:
//   plug | unplug | inject <channel> <hex bytes> | log [<first sequence>] | clearlog
//   | memory <hex address> <count> | latency <microseconds> | refuse <n>
// ("refuse": the mouse refuses the n-th feature report sent from then on). The reply is "ok",
// "dropped" (inject with no handle open), "error ...", the log (one entry per line: sequence,
// microseconds, thread, call, collection, handle, result, hex bytes), or the hex bytes of
// memory. The name is "\\.\pipe\V212HidSim-<process id>" unless the environment
// variable V212_HIDSIM_PIPE names another.
std::wstring ControlPipeName();
std::wstring ControlPipeNameFor(DWORD processId);

// Report log for people: every open and close, every feature report sent to the mouse and every
// reply got from it, one described line each (with the values of a setting written or read whole,
// its button functions named from "Strings.xml" beside the program), appended to the file named
// by the environment variable V212_HIDSIM_LOG or set here (an empty path ends it).
void SetReportLogFile(const std::wstring& path);
std::optional<std::string> SendControlCommand(const std::wstring& pipe, const std::string& command,
                                              DWORD timeoutMilliseconds = 5000);

} // namespace hidsim
