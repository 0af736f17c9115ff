#include "tests/service/hidsim/HidSim.h"

#include "tests/service/hidsim/CSimulatedHid.h"

namespace {

constexpr char HidInterfaceClass[] = "{4d1e55b2-f16f-11cf-88cb-001111000030}";

std::string MousePath(const char* interfacePart, const char* instance) {
    return std::string("\\\\?\\HID#VID_04D9&PID_F111&") + interfacePart + "#" + instance + "#" +
           HidInterfaceClass;
}

} // namespace

namespace hidsim {

std::vector<Collection> DefaultCollections() {
    return {
        {MousePath("MI_01&Col01", "7&2a8f5e1c&0&0000"), 0x04D9, 0xF111, 0x0205, 0x000C, 0x0001,
         true},
        {MousePath("MI_01&Col02", "7&2a8f5e1c&0&0001"), 0x04D9, 0xF111, 0x0205, 0xFFA0, 0x0001,
         true},
        {MousePath("MI_00", "7&11c3a2b4&0&0000"), 0x04D9, 0xF111, 0x0205, 0x0001, 0x0002, true},
        {MousePath("MI_01&Col03", "7&2a8f5e1c&0&0002"), 0x04D9, 0xF111, 0x0205, 0xFFA0, 0x0002,
         true},
        {std::string("\\\\?\\HID#VID_04D9&PID_A001&MI_01&Col02#8&3c4d5e6f&0&0001#") +
             HidInterfaceClass,
         0x04D9, 0xA001, 0x0205, 0xFFA0, 0x0001, false},
        {MousePath("MI_01&Col02", "8&1b2c3d4e&0&0001"), 0x04D9, 0xF111, 0x0300, 0xFFA0, 0x0001,
         false},
    };
}

const char* CallName(Call call) {
    switch (call) {
    case Call::Init:
        return "hid_init";
    case Call::Exit:
        return "hid_exit";
    case Call::Enumerate:
        return "hid_enumerate";
    case Call::FreeEnumeration:
        return "hid_free_enumeration";
    case Call::OpenPath:
        return "hid_open_path";
    case Call::Close:
        return "hid_close";
    case Call::SendFeatureReport:
        return "hid_send_feature_report";
    case Call::GetFeatureReport:
        return "hid_get_feature_report";
    case Call::Read:
        return "hid_read";
    case Call::ReadTimeout:
        return "hid_read_timeout";
    case Call::SetNonblocking:
        return "hid_set_nonblocking";
    case Call::Error:
        return "hid_error";
    }
    return "?";
}

void Reset() {
    CSimulatedHid::Instance().Reset();
}

void SetCollections(std::vector<Collection> collections) {
    CSimulatedHid::Instance().SetCollections(std::move(collections));
}

std::vector<Collection> Collections() {
    return CSimulatedHid::Instance().Collections();
}

void LoadMemory(std::uint16_t address, std::span<const std::uint8_t> bytes) {
    CSimulatedHid::Instance().LoadMemory(address, bytes);
}

std::vector<std::uint8_t> ReadMemory(std::uint16_t address, std::size_t count) {
    return CSimulatedHid::Instance().ReadMemory(address, count);
}

unsigned PendingCommitGroups() {
    return CSimulatedHid::Instance().PendingCommitGroups();
}

std::vector<unsigned> Commits() {
    return CSimulatedHid::Instance().Commits();
}

bool InUpdateBracket() {
    return CSimulatedHid::Instance().InUpdateBracket();
}

std::vector<LogEntry> Log() {
    return CSimulatedHid::Instance().Log();
}

std::vector<LogEntry> FeatureTransfers() {
    std::vector<LogEntry> transfers;
    for (auto& entry : Log()) {
        if (entry.Function == Call::SendFeatureReport || entry.Function == Call::GetFeatureReport) {
            transfers.push_back(std::move(entry));
        }
    }
    return transfers;
}

std::vector<std::vector<std::uint8_t>> SentFeatureReports() {
    std::vector<std::vector<std::uint8_t>> reports;
    for (auto& entry : Log()) {
        if (entry.Function == Call::SendFeatureReport) {
            reports.push_back(std::move(entry.Bytes));
        }
    }
    return reports;
}

std::uint64_t IdleReads() {
    return CSimulatedHid::Instance().IdleReads();
}

int ReadsWaiting() {
    return CSimulatedHid::Instance().ReadsWaiting();
}

std::chrono::nanoseconds TransferTime() {
    return CSimulatedHid::Instance().TransferTime();
}

void ClearLog() {
    CSimulatedHid::Instance().ClearLog();
}

std::vector<std::string> Violations() {
    return CSimulatedHid::Instance().Violations();
}

void FailNext(Call call, int result, int times) {
    CSimulatedHid::Instance().FailNext(call, result, times);
}

bool InjectInputReport(int channel, std::span<const std::uint8_t> report) {
    return CSimulatedHid::Instance().InjectInputReport(channel, report);
}

void SetDeviceChangeSink(DeviceChangeSink sink) {
    CSimulatedHid::Instance().SetDeviceChangeSink(std::move(sink));
}

void Plug() {
    CSimulatedHid::Instance().SetPlugged(true);
}

void Unplug() {
    CSimulatedHid::Instance().SetPlugged(false);
}

bool IsPlugged() {
    return CSimulatedHid::Instance().IsPlugged();
}

void PlugCollection(int collection) {
    CSimulatedHid::Instance().SetCollectionPlugged(collection, true);
}

void UnplugCollection(int collection) {
    CSimulatedHid::Instance().SetCollectionPlugged(collection, false);
}

std::wstring NotificationName(int collection) {
    return CSimulatedHid::Instance().NotificationNameOf(collection);
}

void SetTransferLatency(std::chrono::nanoseconds latency) {
    CSimulatedHid::Instance().SetTransferLatency(latency);
}

std::wstring ControlPipeName() {
    return CSimulatedHid::Instance().ControlPipeName();
}

void SetReportLogFile(const std::wstring& path) {
    CSimulatedHid::Instance().SetReportLogFile(path);
}

std::wstring ControlPipeNameFor(DWORD processId) {
    return L"\\\\.\\pipe\\V212HidSim-" + std::to_wstring(processId);
}

std::optional<std::string> SendControlCommand(const std::wstring& pipe, const std::string& command,
                                              DWORD timeoutMilliseconds) {
    std::string reply;
    if (!CControlChannel::Send(pipe, command, reply, timeoutMilliseconds)) {
        return std::nullopt;
    }
    return reply;
}

} // namespace hidsim
