#include "service/CMouseConnection.h"

#include "shared/store/ServiceIni.h"

#include <cwchar>

namespace {

// Device notifications of the mouse's HID collections start with this name.
constexpr wchar_t kMouseNamePrefix[] = L"\\\\?\\HID#VID_04D9&PID_F111";
constexpr std::size_t kMouseNamePrefixLength = 25;
static_assert(sizeof(kMouseNamePrefix) / sizeof(wchar_t) - 1 == kMouseNamePrefixLength);

// The stack sizes are only the initial commit; the stacks grow as the report handler needs.
constexpr SIZE_T kReader0Stack = 4096;
constexpr SIZE_T kReader1Stack = 4097;

bool SameText(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

std::wstring Widen(const std::string& path) {
    return std::wstring(path.begin(), path.end());
}

// The interface name of a device-interface record, read no further than the record's own size.
// Empty for any other kind of record: volume and port broadcasts reach every top-level window.
std::wstring InterfaceName(const DEV_BROADCAST_HDR* record) {
    constexpr std::size_t nameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);
    if (record == nullptr || record->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE ||
        record->dbch_size < nameOffset + sizeof(wchar_t)) {
        return {};
    }
    const auto* deviceInterface = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(record);
    const std::size_t capacity = (record->dbch_size - nameOffset) / sizeof(wchar_t);
    return std::wstring(deviceInterface->dbcc_name, wcsnlen(deviceInterface->dbcc_name, capacity));
}

bool Matches(const hid_device_info& device, const MouseDeviceEntry& entry, unsigned short usage,
             unsigned short usagePage) {
    return device.vendor_id == entry.VendorId && device.product_id == entry.ProductId &&
           device.usage == usage && device.usage_page == usagePage &&
           (entry.HighestRelease == 0 || (entry.LowestRelease <= device.release_number &&
                                          device.release_number <= entry.HighestRelease));
}

} // namespace

CMouseConnection::CMouseConnection(std::wstring settingsPath)
    : settingsPath_(std::move(settingsPath)) {}

CMouseConnection::~CMouseConnection() {
    CloseMouse();
}

void CMouseConnection::SetArrivalActions(Action launchTrayProgram, Action queryAllFromMouse) {
    launchTrayProgram_ = std::move(launchTrayProgram);
    queryAllFromMouse_ = std::move(queryAllFromMouse);
}

void CMouseConnection::SetupDeviceTable() {
    MouseDeviceEntry& entry = table_[0];
    entry = MouseDeviceEntry{};
    entry.VendorId = kVendorId;
    entry.ProductId = kProductId;
    entry.LowestRelease = 0x0200;
    entry.HighestRelease = 0x02FF;
    entry.InputUsage = 1;
    entry.InputUsagePage = 0x000C;
    entry.ControlUsage = 1;
    entry.ControlUsagePage = 0xFFA0;
}

int CMouseConnection::EnumerateMouse() {
    if (hid_init() != 0) {
        return -1;
    }
    hid_device_info* devices = hid_enumerate(0, 0);
    for (const hid_device_info* device = devices; device != nullptr; device = device->next) {
        if (device->path == nullptr) {
            continue;
        }
        for (MouseDeviceEntry& entry : table_) {
            if (Matches(*device, entry, entry.InputUsage, entry.InputUsagePage)) {
                entry.InputPath = device->path;
                entry.InputFound = true;
            }
            if (Matches(*device, entry, entry.ControlUsage, entry.ControlUsagePage)) {
                entry.ControlPath = device->path;
                entry.ControlFound = true;
            }
        }
    }
    hid_free_enumeration(devices);
    return 0;
}

void CMouseConnection::OpenMouse(unsigned short vendorId, unsigned short productId) {
    CloseMouse();
    if (hid_init() == 0) {
        for (const MouseDeviceEntry& entry : table_) {
            if (entry.VendorId == vendorId && entry.ProductId == productId) {
                input_.Open(entry.InputPath);
                control_.Open(entry.ControlPath);
            }
        }
    }
    // An opened collection is present; its removal is then what closes it.
    inputPresent_ = IsInputOpen();
    controlPresent_ = IsControlOpen();
}

void CMouseConnection::CloseMouse() {
    StopReaders();
    const auto lock = LockTransfers();
    input_.Close();
    control_.Close();
}

void CMouseConnection::StartReaders() {
    stop_.store(false);
    if (!reader0_.Running()) {
        reader0_.Start(kReader0Stack);
    }
    if (!reader1_.Running()) {
        reader1_.Start(kReader1Stack);
    }
}

void CMouseConnection::StopReaders() {
    stop_.store(true);
    reader0_.Join();
    reader1_.Join();
}

int CMouseConnection::RunningReaders() const {
    return (reader0_.Running() ? 1 : 0) + (reader1_.Running() ? 1 : 0);
}

void CMouseConnection::WriteDeviceState() {
    if (!settingsPath_.empty()) {
        ServiceIni_WriteDevice(settingsPath_, IsControlOpen() ? 1 : 0);
    }
}

void CMouseConnection::Reopen() {
    OpenMouse(kVendorId, kProductId);
    StartReaders();
    WriteDeviceState();
}

BOOL CMouseConnection::OnDeviceChange(UINT event, const DEV_BROADCAST_HDR* record) {
    if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE) {
        return TRUE;
    }
    const std::wstring name = InterfaceName(record);
    if (name.empty()) {
        return TRUE;
    }
    if (event == DBT_DEVICEARRIVAL) {
        Arrival(name);
    } else {
        Removal(name);
    }
    return TRUE;
}

void CMouseConnection::Arrival(const std::wstring& name) {
    if (name.size() < kMouseNamePrefixLength ||
        CompareStringOrdinal(name.c_str(), kMouseNamePrefixLength, kMouseNamePrefix,
                             kMouseNamePrefixLength, TRUE) != CSTR_EQUAL) {
        return;
    }
    OutputDebugStringW((name + L"\n").c_str());
    const MouseDeviceEntry& entry = table_[0];
    if (entry.InputPath.empty()) {
        // Started without the mouse: a plug-in announces four HID collections, and only after
        // the last of them can the enumeration see all of them.
        if (++arrivals_ % 4 != 0) {
            return;
        }
        EnumerateMouse();
        arrivals_ = 0;
        Reopen();
        if (IsControlOpen() && queryAllFromMouse_) {
            queryAllFromMouse_();
        }
        return;
    }
    const bool isInput = SameText(name, Widen(entry.InputPath));
    const bool isControl = SameText(name, Widen(entry.ControlPath));
    if (!isInput && !isControl) {
        return;
    }
    inputPresent_ = inputPresent_ || isInput;
    controlPresent_ = controlPresent_ || isControl;
    const bool alreadyUp = IsInputOpen() && IsControlOpen() && RunningReaders() == 2;
    if (!inputPresent_ || !controlPresent_ || alreadyUp) {
        return;
    }
    Reopen();
    if (launchTrayProgram_) {
        launchTrayProgram_();
    }
    if (IsControlOpen() && queryAllFromMouse_) {
        queryAllFromMouse_();
    }
}

void CMouseConnection::Removal(const std::wstring& name) {
    const MouseDeviceEntry& entry = table_[0];
    const bool isInput = !entry.InputPath.empty() && SameText(name, Widen(entry.InputPath));
    const bool isControl = !entry.ControlPath.empty() && SameText(name, Widen(entry.ControlPath));
    if (!isInput && !isControl) {
        return;
    }
    StopReaders();
    if (isInput) {
        inputPresent_ = false;
    }
    if (isControl) {
        controlPresent_ = false;
    }
    if (!inputPresent_ && !controlPresent_) {
        CloseMouse();
        WriteDeviceState();
    }
}
