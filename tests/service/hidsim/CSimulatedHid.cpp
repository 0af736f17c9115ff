#include "tests/service/hidsim/CSimulatedHid.h"

#include "shared/store/DataPaths.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwctype>
#include <sstream>

using hidsim::Call;

namespace {

constexpr wchar_t ServiceWindowTitle[] = L"V212Hid";
constexpr wchar_t UsbDeviceName[] =
    L"\\\\?\\usb#vid_04d9&pid_f111#5&1f0e2d3c&0&2#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";
constexpr GUID HidInterfaceGuid = {
    0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};
constexpr GUID UsbDeviceGuid = {
    0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};

bool SamePath(const std::string& a, const char* b) {
    const std::size_t length = std::strlen(b);
    if (a.size() != length) {
        return false;
    }
    for (std::size_t i = 0; i < length; ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

HWND FindServiceWindow() {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, nullptr, ServiceWindowTitle)) != nullptr) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId()) {
            return window;
        }
    }
    return nullptr;
}

std::string Hex(std::span<const std::uint8_t> bytes) {
    std::string text;
    char digits[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(digits, sizeof digits, i == 0 ? "%02x" : " %02x", bytes[i]);
        text += digits;
    }
    return text;
}

} // namespace

CSimulatedHid& CSimulatedHid::Instance() {
    static CSimulatedHid simulator;
    return simulator;
}

CSimulatedHid::CSimulatedHid()
    : collections_(hidsim::DefaultCollections()), present_(collections_.size(), true),
      epoch_(std::chrono::steady_clock::now()) {
    // The language file beside the program, as the service reads it.
    const std::wstring program = ProgramFilePath();
    languageFile_ = program.substr(0, program.find_last_of(L'\\') + 1) + L"Strings.xml";
    wchar_t configured[256] = {};
    const DWORD length = GetEnvironmentVariableW(L"V212_HIDSIM_PIPE", configured, 256);
    pipeName_ = length > 0 && length < 256 ? std::wstring(configured)
                                           : hidsim::ControlPipeNameFor(GetCurrentProcessId());
    wchar_t logPath[MAX_PATH] = {};
    const DWORD logLength = GetEnvironmentVariableW(L"V212_HIDSIM_LOG", logPath, MAX_PATH);
    if (logLength > 0 && logLength < MAX_PATH) {
        SetReportLogFile(logPath);
    }
}

void CSimulatedHid::SetReportLogFile(const std::wstring& path) {
    std::lock_guard lock(mutex_);
    reportLog_.reset();
    if (path.empty()) {
        return;
    }
    // Shared for reading, so that the log can be followed while the mouse is in use.
    const HANDLE file =
        CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        reportLog_.reset(file);
    }
}

void CSimulatedHid::Note(const std::string& text) {
    if (!reportLog_) {
        return;
    }
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char stamp[16];
    std::snprintf(stamp, sizeof stamp, "%02u:%02u:%02u.%03u ", now.wHour, now.wMinute, now.wSecond,
                  now.wMilliseconds);
    const std::string line = stamp + text + "\n";
    DWORD written = 0;
    WriteFile(reportLog_.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

void CSimulatedHid::Append(Call call, const hid_device* device, int result,
                           std::span<const std::uint8_t> bytes) {
    hidsim::LogEntry entry;
    entry.Sequence = nextSequence_++;
    entry.Time = std::chrono::steady_clock::now();
    entry.Thread = GetCurrentThreadId();
    entry.Function = call;
    entry.Collection = device != nullptr ? device->Collection : -1;
    entry.Handle = device != nullptr ? device->Serial : 0;
    entry.Result = result;
    entry.Bytes.assign(bytes.begin(), bytes.end());
    log_.push_back(std::move(entry));
    // A suite left running for days applies settings all along: while the report log on disk
    // keeps every call, memory keeps only the latest.
    if (reportLog_ && log_.size() > hidsim::LogCapacity) {
        log_.pop_front();
    }
}

CSimulatedHid::TransferScope::TransferScope(CSimulatedHid& owner, hid_device* device, Call call)
    : owner_(owner), device_(device), start_(std::chrono::steady_clock::now()) {
    std::lock_guard lock(owner_.mutex_);
    if (!owner_.Known(device_)) {
        device_ = nullptr;
        return;
    }
    if (device_->ReadsInProgress > 0) {
        owner_.violations_.push_back(std::string(hidsim::CallName(call)) +
                                     " while another thread reads the same handle");
    }
    ++device_->TransfersInProgress;
}

CSimulatedHid::TransferScope::~TransferScope() {
    std::lock_guard lock(owner_.mutex_);
    if (device_ != nullptr) {
        --device_->TransfersInProgress;
    }
    owner_.transferTime_ += std::chrono::steady_clock::now() - start_;
}

bool CSimulatedHid::Known(const hid_device* device) const {
    return device != nullptr &&
           std::any_of(devices_.begin(), devices_.end(),
                       [device](const auto& known) { return known.get() == device; });
}

bool CSimulatedHid::Usable(hid_device* device, Call call) {
    std::string problem;
    if (device == nullptr) {
        problem = "null handle";
    } else if (!Known(device)) {
        problem = "unknown handle";
    } else if (device->Closed) {
        problem = "closed handle";
    } else {
        return true;
    }
    violations_.push_back(std::string(hidsim::CallName(call)) + " on a " + problem);
    lastError_ = L"invalid handle";
    return false;
}

bool CSimulatedHid::TakeFailure(Call call, int& result) {
    auto found = failures_.find(call);
    if (found == failures_.end() || found->second.empty()) {
        return false;
    }
    result = found->second.front();
    found->second.pop_front();
    return true;
}

void CSimulatedHid::MarkGone(int collection) {
    for (auto& device : devices_) {
        if (device->Collection == collection) {
            device->Gone = true;
        }
    }
    reportArrived_.notify_all();
}

int CSimulatedHid::Init() {
    int result = 0;
    {
        std::lock_guard lock(mutex_);
        TakeFailure(Call::Init, result);
        Append(Call::Init, nullptr, result);
    }
    if (!channel_.Running()) {
        channel_.Start(pipeName_,
                       [this](const std::string& request) { return HandleCommand(request); });
    }
    return result;
}

int CSimulatedHid::Exit() {
    std::lock_guard lock(mutex_);
    Append(Call::Exit, nullptr, 0);
    return 0;
}

hid_device_info* CSimulatedHid::Enumerate(unsigned short vendorId, unsigned short productId) {
    std::lock_guard lock(mutex_);
    int result = 0;
    if (TakeFailure(Call::Enumerate, result)) {
        Append(Call::Enumerate, nullptr, result);
        return nullptr;
    }
    auto list = std::make_unique<Enumeration>();
    std::vector<std::size_t> matches;
    for (std::size_t i = 0; i < collections_.size(); ++i) {
        const auto& c = collections_[i];
        if (present_[i] && (vendorId == 0 || c.VendorId == vendorId) &&
            (productId == 0 || c.ProductId == productId)) {
            matches.push_back(i);
        }
    }
    Append(Call::Enumerate, nullptr, static_cast<int>(matches.size()));
    if (matches.empty()) {
        return nullptr;
    }
    list->Nodes.resize(matches.size());
    list->Paths.reserve(matches.size());
    list->Texts.reserve(matches.size() * 3);
    for (std::size_t n = 0; n < matches.size(); ++n) {
        const auto& c = collections_[matches[n]];
        hid_device_info& node = list->Nodes[n];
        list->Paths.push_back(c.Path);
        list->Texts.push_back(L"0001");
        node.serial_number = list->Texts.back().data();
        list->Texts.push_back(L"Selvin");
        node.manufacturer_string = list->Texts.back().data();
        list->Texts.push_back(L"V212 Gaming Mouse");
        node.product_string = list->Texts.back().data();
        node.path = list->Paths.back().data();
        node.vendor_id = c.VendorId;
        node.product_id = c.ProductId;
        node.release_number = c.Release;
        node.usage_page = c.UsagePage;
        node.usage = c.Usage;
        node.interface_number = c.Path.find("MI_00") != std::string::npos ? 0 : 1;
        node.bus_type = HID_API_BUS_USB;
        node.next = n + 1 < matches.size() ? &list->Nodes[n + 1] : nullptr;
    }
    hid_device_info* head = list->Nodes.data();
    enumerations_[head] = std::move(list);
    return head;
}

void CSimulatedHid::FreeEnumeration(hid_device_info* list) {
    std::lock_guard lock(mutex_);
    Append(Call::FreeEnumeration, nullptr, 0);
    if (list == nullptr) {
        return;
    }
    if (enumerations_.erase(list) == 0) {
        violations_.push_back("hid_free_enumeration of a list it did not make");
    }
}

hid_device* CSimulatedHid::OpenPath(const char* path) {
    std::lock_guard lock(mutex_);
    int result = 0;
    const std::string text = path != nullptr ? path : "";
    const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    if (TakeFailure(Call::OpenPath, result)) {
        Append(Call::OpenPath, nullptr, -1, bytes);
        lastError_ = L"open failed";
        return nullptr;
    }
    for (std::size_t i = 0; path != nullptr && i < collections_.size(); ++i) {
        if (present_[i] && SamePath(collections_[i].Path, path)) {
            auto device = std::make_unique<hid_device_>();
            device->Serial = static_cast<int>(devices_.size()) + 1;
            device->Collection = static_cast<int>(i);
            devices_.push_back(std::move(device));
            Append(Call::OpenPath, devices_.back().get(), 0, bytes);
            Note("opened " + collections_[i].Path);
            return devices_.back().get();
        }
    }
    Append(Call::OpenPath, nullptr, -1, bytes);
    lastError_ = L"no such device";
    return nullptr;
}

void CSimulatedHid::Close(hid_device* device) {
    std::lock_guard lock(mutex_);
    if (device == nullptr) {
        Append(Call::Close, nullptr, 0);
        return;
    }
    if (!Usable(device, Call::Close)) {
        Append(Call::Close, nullptr, -1);
        return;
    }
    if (device->ReadsInProgress > 0) {
        violations_.push_back("hid_close while a read is in progress");
    }
    device->Closed = true;
    reportArrived_.notify_all();
    Append(Call::Close, device, 0);
    Note("closed " + collections_[static_cast<std::size_t>(device->Collection)].Path);
}

void CSimulatedHid::ChargeLatency() {
    std::chrono::nanoseconds latency;
    {
        std::lock_guard lock(mutex_);
        latency = latency_;
    }
    if (latency.count() <= 0) {
        return;
    }
    const auto end = std::chrono::steady_clock::now() + latency;
    while (std::chrono::steady_clock::now() < end) {
        YieldProcessor();
    }
}

int CSimulatedHid::SendFeatureReport(hid_device* device, const unsigned char* data,
                                     std::size_t length) {
    const TransferScope scope(*this, device, Call::SendFeatureReport);
    std::lock_guard bus(bus_);
    ChargeLatency();
    std::lock_guard lock(mutex_);
    const std::span<const std::uint8_t> sent(data, data != nullptr ? length : 0);
    if (!Usable(device, Call::SendFeatureReport)) {
        Append(Call::SendFeatureReport, nullptr, -1, sent);
        return -1;
    }
    int result = 0;
    if (TakeFailure(Call::SendFeatureReport, result) && result < 0) {
        Append(Call::SendFeatureReport, device, result, sent);
        return result;
    }
    const auto& collection = collections_[static_cast<std::size_t>(device->Collection)];
    const bool takesReports =
        collection.PartOfMouse && collection.UsagePage == 0xFFA0 && collection.Usage == 1;
    const std::size_t reportLength = sent.empty() ? 0 : CSimulatedMouse::ReportLength(sent[0]);
    result = -1;
    if (!device->Gone && takesReports && reportLength != 0 && sent.size() <= reportLength) {
        std::vector<std::uint8_t> padded(reportLength, 0);
        std::copy(sent.begin(), sent.end(), padded.begin());
        if (mouse_.Receive(padded)) {
            result = static_cast<int>(length);
        }
    }
    device->LastError = result < 0 ? L"HidD_SetFeature failed" : L"";
    Append(Call::SendFeatureReport, device, result, sent);
    // Described only for a report log: naming a button's function reads the language file.
    if (reportLog_) {
        Note("sent " + CSimulatedMouse::Describe(sent, false, languageFile_) +
             (result < 0 ? "  [refused]" : ""));
    }
    return result;
}

int CSimulatedHid::GetFeatureReport(hid_device* device, unsigned char* data, std::size_t length) {
    const TransferScope scope(*this, device, Call::GetFeatureReport);
    std::lock_guard bus(bus_);
    ChargeLatency();
    std::lock_guard lock(mutex_);
    if (!Usable(device, Call::GetFeatureReport)) {
        Append(Call::GetFeatureReport, nullptr, -1);
        return -1;
    }
    const auto& collection = collections_[static_cast<std::size_t>(device->Collection)];
    const bool takesReports =
        collection.PartOfMouse && collection.UsagePage == 0xFFA0 && collection.Usage == 1;
    const std::size_t reportLength =
        data == nullptr || length == 0 ? 0 : CSimulatedMouse::ReportLength(data[0]);
    if (device->Gone || !takesReports || reportLength == 0 || length < reportLength) {
        device->LastError = L"get feature failed";
        Append(Call::GetFeatureReport, device, -1);
        return -1;
    }
    const std::vector<std::uint8_t> reply = mouse_.Reply(data[0]);
    int result = static_cast<int>(reply.size());
    if (TakeFailure(Call::GetFeatureReport, result) && result < 0) {
        Append(Call::GetFeatureReport, device, result);
        return result;
    }
    const std::size_t copied = std::min(reply.size(), static_cast<std::size_t>(result));
    std::copy_n(reply.begin(), copied, data);
    Append(Call::GetFeatureReport, device, result, std::span(reply.data(), copied));
    if (reportLog_) {
        Note("got  " +
             CSimulatedMouse::Describe(std::span(reply.data(), copied), true, languageFile_));
    }
    return result;
}

int CSimulatedHid::Read(hid_device* device, unsigned char* data, std::size_t length,
                        int milliseconds, Call call) {
    std::unique_lock lock(mutex_);
    if (!Usable(device, call)) {
        Append(call, nullptr, -1);
        return -1;
    }
    int result = 0;
    if (TakeFailure(call, result)) {
        Append(call, device, result);
        return result;
    }
    if (data == nullptr || length == 0) {
        Append(call, device, -1);
        return -1;
    }
    if (device->TransfersInProgress > 0) {
        violations_.push_back(std::string(hidsim::CallName(call)) +
                              " while another thread transfers on the same handle");
    }
    if (device->Nonblocking) {
        milliseconds = 0;
    }
    ++device->ReadsInProgress;
    const auto ready = [device] {
        return !device->Reports.empty() || device->Gone || device->Closed;
    };
    if (milliseconds < 0) {
        reportArrived_.wait(lock, ready);
    } else {
        reportArrived_.wait_for(lock, std::chrono::milliseconds(milliseconds), ready);
    }
    --device->ReadsInProgress;
    if (device->Gone || device->Closed) {
        device->LastError = L"device not connected";
        Append(call, device, -1);
        return -1;
    }
    if (device->Reports.empty()) {
        ++idleReads_;
        return 0;
    }
    const std::vector<std::uint8_t> report = std::move(device->Reports.front());
    device->Reports.pop_front();
    const std::size_t copied = std::min(length, report.size());
    std::copy_n(report.begin(), copied, data);
    Append(call, device, static_cast<int>(copied), std::span(report.data(), copied));
    return static_cast<int>(copied);
}

int CSimulatedHid::SetNonblocking(hid_device* device, int nonblock) {
    std::lock_guard lock(mutex_);
    if (!Usable(device, Call::SetNonblocking)) {
        Append(Call::SetNonblocking, nullptr, -1);
        return -1;
    }
    device->Nonblocking = nonblock != 0;
    Append(Call::SetNonblocking, device, 0);
    return 0;
}

const wchar_t* CSimulatedHid::Error(hid_device* device) {
    std::lock_guard lock(mutex_);
    if (device == nullptr) {
        return lastError_.c_str();
    }
    if (!Usable(device, Call::Error)) {
        return lastError_.c_str();
    }
    return device->LastError.c_str();
}

void CSimulatedHid::Reset() {
    std::lock_guard lock(mutex_);
    collections_ = hidsim::DefaultCollections();
    present_.assign(collections_.size(), true);
    mouse_.Blank();
    for (auto& device : devices_) {
        device->Closed = true;
        device->Gone = true;
    }
    reportArrived_.notify_all();
    failures_.clear();
    log_.clear();
    idleReads_ = 0;
    transferTime_ = std::chrono::nanoseconds(0);
    violations_.clear();
    lastError_.clear();
    sink_ = nullptr;
    latency_ = std::chrono::nanoseconds(0);
}

void CSimulatedHid::SetCollections(std::vector<hidsim::Collection> collections) {
    std::lock_guard lock(mutex_);
    collections_ = std::move(collections);
    present_.assign(collections_.size(), true);
}

std::vector<hidsim::Collection> CSimulatedHid::Collections() {
    std::lock_guard lock(mutex_);
    return collections_;
}

void CSimulatedHid::LoadMemory(std::uint16_t address, std::span<const std::uint8_t> bytes) {
    std::lock_guard lock(mutex_);
    mouse_.Load(address, bytes);
}

std::vector<std::uint8_t> CSimulatedHid::ReadMemory(std::uint16_t address, std::size_t count) {
    std::lock_guard lock(mutex_);
    return mouse_.Read(address, count);
}

unsigned CSimulatedHid::PendingCommitGroups() {
    std::lock_guard lock(mutex_);
    return mouse_.PendingGroups();
}

std::vector<unsigned> CSimulatedHid::Commits() {
    std::lock_guard lock(mutex_);
    return mouse_.Commits();
}

bool CSimulatedHid::InUpdateBracket() {
    std::lock_guard lock(mutex_);
    return mouse_.InBracket();
}

std::vector<hidsim::LogEntry> CSimulatedHid::Log(std::uint64_t firstSequence) {
    std::lock_guard lock(mutex_);
    std::vector<hidsim::LogEntry> entries;
    for (const auto& entry : log_) {
        if (entry.Sequence >= firstSequence) {
            entries.push_back(entry);
        }
    }
    return entries;
}

std::uint64_t CSimulatedHid::IdleReads() {
    std::lock_guard lock(mutex_);
    return idleReads_;
}

int CSimulatedHid::ReadsWaiting() {
    std::lock_guard lock(mutex_);
    int waiting = 0;
    for (const auto& device : devices_) {
        waiting += device->ReadsInProgress;
    }
    return waiting;
}

std::chrono::nanoseconds CSimulatedHid::TransferTime() {
    std::lock_guard lock(mutex_);
    return transferTime_;
}

void CSimulatedHid::ClearLog() {
    std::lock_guard lock(mutex_);
    log_.clear();
    idleReads_ = 0;
    transferTime_ = std::chrono::nanoseconds(0);
}

std::vector<std::string> CSimulatedHid::Violations() {
    std::lock_guard lock(mutex_);
    return violations_;
}

void CSimulatedHid::FailNext(Call call, int result, int times) {
    std::lock_guard lock(mutex_);
    for (int i = 0; i < times; ++i) {
        failures_[call].push_back(result);
    }
}

bool CSimulatedHid::InjectInputReport(int channel, std::span<const std::uint8_t> report) {
    std::lock_guard lock(mutex_);
    const int collection = channel == 0 ? hidsim::InputCollection : hidsim::ControlCollection;
    bool queued = false;
    for (auto& device : devices_) {
        if (device->Collection == collection && !device->Closed && !device->Gone) {
            device->Reports.emplace_back(report.begin(), report.end());
            queued = true;
        }
    }
    reportArrived_.notify_all();
    return queued;
}

void CSimulatedHid::SetDeviceChangeSink(hidsim::DeviceChangeSink sink) {
    std::lock_guard lock(mutex_);
    sink_ = std::move(sink);
}

std::wstring CSimulatedHid::NotificationName(const std::string& path) {
    std::wstring name;
    for (char c : path) {
        name += static_cast<wchar_t>(std::towlower(static_cast<unsigned char>(c)));
    }
    return name;
}

std::wstring CSimulatedHid::NotificationNameOf(int collection) {
    std::lock_guard lock(mutex_);
    if (collection < 0 || static_cast<std::size_t>(collection) >= collections_.size()) {
        return {};
    }
    return NotificationName(collections_[static_cast<std::size_t>(collection)].Path);
}

void CSimulatedHid::SetPlugged(bool plugged) {
    std::vector<Notification> notifications;
    const UINT event = plugged ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE;
    {
        std::lock_guard lock(mutex_);
        for (std::size_t i = 0; i < collections_.size(); ++i) {
            if (collections_[i].PartOfMouse) {
                present_[i] = plugged;
                if (!plugged) {
                    MarkGone(static_cast<int>(i));
                }
                notifications.push_back({event, NotificationName(collections_[i].Path), true});
            }
        }
        if (!plugged) {
            std::reverse(notifications.begin(), notifications.end());
        }
        Note(plugged ? "mouse plugged in" : "mouse unplugged");
        const Notification usb{event, UsbDeviceName, false};
        notifications.insert(plugged ? notifications.begin() : notifications.end(), usb);
    }
    Deliver(notifications);
}

void CSimulatedHid::SetCollectionPlugged(int collection, bool plugged) {
    std::vector<Notification> notifications;
    {
        std::lock_guard lock(mutex_);
        if (collection < 0 || static_cast<std::size_t>(collection) >= collections_.size()) {
            return;
        }
        const auto index = static_cast<std::size_t>(collection);
        present_[index] = plugged;
        if (!plugged) {
            MarkGone(collection);
        }
        const UINT event = plugged ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE;
        notifications.push_back({event, NotificationName(collections_[index].Path), true});
    }
    Deliver(notifications);
}

bool CSimulatedHid::IsPlugged() {
    std::lock_guard lock(mutex_);
    for (std::size_t i = 0; i < collections_.size(); ++i) {
        if (collections_[i].PartOfMouse && !present_[i]) {
            return false;
        }
    }
    return true;
}

void CSimulatedHid::Deliver(const std::vector<Notification>& notifications) {
    hidsim::DeviceChangeSink sink;
    {
        std::lock_guard lock(mutex_);
        sink = sink_;
    }
    const HWND window = sink ? nullptr : FindServiceWindow();
    for (const auto& notification : notifications) {
        // A device-interface record with its name at byte 28, as Windows hands it out.
        const std::size_t bytes = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) +
                                  (notification.Name.size() + 1) * sizeof(wchar_t);
        std::vector<std::uint64_t> storage((bytes + 7) / 8, 0);
        auto* record = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(storage.data());
        record->dbcc_size = static_cast<DWORD>(bytes);
        record->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        record->dbcc_classguid = notification.HidInterface ? HidInterfaceGuid : UsbDeviceGuid;
        std::memcpy(record->dbcc_name, notification.Name.c_str(),
                    (notification.Name.size() + 1) * sizeof(wchar_t));
        const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(record);
        if (sink) {
            sink(notification.Event, header);
        } else if (window != nullptr) {
            SendMessageW(window, WM_DEVICECHANGE, notification.Event,
                         reinterpret_cast<LPARAM>(header));
        }
    }
}

void CSimulatedHid::SetTransferLatency(std::chrono::nanoseconds latency) {
    std::lock_guard lock(mutex_);
    latency_ = latency;
}

std::string CSimulatedHid::FormatLog(std::uint64_t firstSequence) {
    std::string text;
    char line[160];
    for (const auto& entry : Log(firstSequence)) {
        const auto micros =
            std::chrono::duration_cast<std::chrono::microseconds>(entry.Time - epoch_).count();
        std::snprintf(line, sizeof line, "%llu %lld %lu %s %d %d %d ",
                      static_cast<unsigned long long>(entry.Sequence),
                      static_cast<long long>(micros), static_cast<unsigned long>(entry.Thread),
                      hidsim::CallName(entry.Function), entry.Collection, entry.Handle,
                      entry.Result);
        text += line;
        text += Hex(entry.Bytes);
        text += '\n';
    }
    return text;
}

std::string CSimulatedHid::HandleCommand(const std::string& request) {
    std::istringstream in(request);
    std::string command;
    in >> command;
    if (command == "plug" || command == "unplug") {
        bool delivered = FindServiceWindow() != nullptr;
        {
            std::lock_guard lock(mutex_);
            delivered = delivered || static_cast<bool>(sink_);
        }
        SetPlugged(command == "plug");
        return delivered ? "ok" : "ok undelivered";
    }
    if (command == "inject") {
        int channel = -1;
        in >> channel;
        std::vector<std::uint8_t> report;
        unsigned value = 0;
        while (in >> std::hex >> value) {
            if (value > 0xFF) {
                return "error byte out of range";
            }
            report.push_back(static_cast<std::uint8_t>(value));
        }
        if ((channel != 0 && channel != 1) || report.empty()) {
            return "error usage: inject <0|1> <hex bytes>";
        }
        return InjectInputReport(channel, report) ? "ok" : "dropped";
    }
    if (command == "log") {
        std::uint64_t first = 0;
        in >> first;
        return FormatLog(first);
    }
    if (command == "clearlog") {
        ClearLog();
        return "ok";
    }
    if (command == "memory") {
        unsigned address = 0;
        std::size_t count = 0;
        if (!(in >> std::hex >> address >> std::dec >> count) ||
            address >= CSimulatedMouse::MemorySize) {
            return "error usage: memory <hex address> <count>";
        }
        return Hex(ReadMemory(static_cast<std::uint16_t>(address), count));
    }
    if (command == "refuse") {
        int nth = 0;
        if (!(in >> nth) || nth < 1) {
            return "error usage: refuse <n>";
        }
        FailNext(Call::SendFeatureReport, 0, nth - 1);
        FailNext(Call::SendFeatureReport, -1, 1);
        return "ok";
    }
    if (command == "latency") {
        long long micros = -1;
        if (!(in >> micros) || micros < 0) {
            return "error usage: latency <microseconds>";
        }
        SetTransferLatency(std::chrono::microseconds(micros));
        return "ok";
    }
    return "error unknown command";
}
