// Finding and opening the mouse, the reader threads, and plug and unplug.

#include "service/CMouseConnection.h"
#include "shared/store/ServiceIni.h"
#include "tests/service/HidTestSupport.h"

#include <tlhelp32.h>

#include <array>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>

using namespace hidsim;

namespace {

struct ReceivedReport {
    int Channel;
    Bytes Report;
};

int ThreadsOfThisProcess() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    int count = 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        count += entry.th32OwnerProcessID == GetCurrentProcessId() ? 1 : 0;
    }
    CloseHandle(snapshot);
    return count;
}

// A device-interface record of `bytes` bytes whose name is `name`, as far as it fits.
std::vector<std::uint64_t> InterfaceRecord(const std::wstring& name, std::size_t bytes) {
    std::vector<std::uint64_t> storage(1 + (bytes + name.size() * 2 + 8) / 8, 0);
    auto* record = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(storage.data());
    record->dbcc_size = static_cast<DWORD>(bytes);
    record->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    std::memcpy(record->dbcc_name, name.c_str(), (name.size() + 1) * sizeof(wchar_t));
    return storage;
}

class MouseConnectionTest : public SimulatedMouseTest {
protected:
    void SetUp() override {
        SimulatedMouseTest::SetUp();
        connection_ = std::make_unique<CMouseConnection>(folder_.SettingsFile());
        connection_->SetReportHandler([this](int channel, InputReport report) {
            std::lock_guard lock(mutex_);
            reports_.push_back({channel, Bytes(report.begin(), report.end())});
            arrived_.notify_all();
        });
        connection_->SetArrivalActions([this] { ++trayLaunches_; }, [this] { ++readBacks_; });
        SetDeviceChangeSink([this](UINT event, const DEV_BROADCAST_HDR* record) {
            EXPECT_TRUE(connection_->OnDeviceChange(event, record));
        });
    }
    void TearDown() override {
        connection_.reset();
        SimulatedMouseTest::TearDown();
    }

    // What the service window does when it is created.
    void StartService() {
        connection_->SetupDeviceTable();
        connection_->EnumerateMouse();
        connection_->OpenMouse(CMouseConnection::kVendorId, CMouseConnection::kProductId);
        connection_->StartReaders();
        connection_->WriteDeviceState();
    }
    int Device() const { return ServiceIni_ReadDevice(folder_.SettingsFile()); }
    // Collections opened since the log was last cleared.
    std::vector<int> Opened() const {
        std::vector<int> opened;
        for (const auto& entry : Log()) {
            if (entry.Function == Call::OpenPath && entry.Result == 0) {
                opened.push_back(entry.Collection);
            }
        }
        return opened;
    }
    std::vector<ReceivedReport> WaitForReports(std::size_t count) {
        std::unique_lock lock(mutex_);
        arrived_.wait_for(lock, std::chrono::seconds(5), [&] { return reports_.size() >= count; });
        return reports_;
    }
    bool IsUp() const {
        return connection_->IsInputOpen() && connection_->IsControlOpen() &&
               connection_->RunningReaders() == 2;
    }

    ScratchFolder folder_;
    std::unique_ptr<CMouseConnection> connection_;
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<ReceivedReport> reports_;
    int trayLaunches_ = 0;
    int readBacks_ = 0;
};

TEST_F(MouseConnectionTest, OpensOnlyTheMousesTwoCollectionsAtStart) {
    StartService();
    const auto collections = DefaultCollections();
    EXPECT_EQ(connection_->Entry().InputPath, collections[InputCollection].Path);
    EXPECT_EQ(connection_->Entry().ControlPath, collections[ControlCollection].Path);
    EXPECT_TRUE(connection_->Entry().InputFound && connection_->Entry().ControlFound);
    EXPECT_TRUE(IsUp());
    EXPECT_EQ(Opened(), (std::vector<int>{InputCollection, ControlCollection}));
    EXPECT_EQ(Device(), 1);
    EXPECT_EQ(trayLaunches_ + readBacks_, 0);
}

TEST_F(MouseConnectionTest, FailedInitialisationOpensNothing) {
    FailNext(Call::Init, -1, 2);
    connection_->SetupDeviceTable();
    EXPECT_EQ(connection_->EnumerateMouse(), -1);
    connection_->OpenMouse(CMouseConnection::kVendorId, CMouseConnection::kProductId);
    connection_->WriteDeviceState();
    EXPECT_FALSE(connection_->IsInputOpen() || connection_->IsControlOpen());
    EXPECT_EQ(Device(), 0);
}

TEST_F(MouseConnectionTest, PathsLongerThanTheOldBufferAreKeptWhole) {
    auto collections = DefaultCollections();
    for (int i : {InputCollection, ControlCollection}) {
        auto& path = collections[static_cast<std::size_t>(i)].Path;
        path.insert(path.find('#', 8) + 1, std::string(280, 'a' + static_cast<char>(i)));
    }
    SetCollections(collections);
    StartService();
    EXPECT_EQ(connection_->Entry().ControlPath, collections[ControlCollection].Path);
    EXPECT_TRUE(IsUp());
    Unplug();
    EXPECT_FALSE(connection_->IsControlOpen());
    Plug();
    EXPECT_TRUE(IsUp());
}

TEST_F(MouseConnectionTest, ReadersHandOnReportsWithTheirChannel) {
    StartService();
    FailNext(Call::ReadTimeout, -1, 3); // failed reads are skipped
    ASSERT_TRUE(InjectInputReport(0, std::array<std::uint8_t, 3>{0x01, 0xFF, 0x7F}));
    auto received = WaitForReports(1);
    ASSERT_TRUE(InjectInputReport(1, std::array<std::uint8_t, 8>{8, 2, 3, 4, 5, 6, 7, 8}));
    received = WaitForReports(2);
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].Channel, 0);
    EXPECT_EQ(received[0].Report, (Bytes{0x01, 0xFF, 0x7F, 0, 0, 0, 0, 0}));
    EXPECT_EQ(received[1].Channel, 1);
    EXPECT_EQ(received[1].Report, (Bytes{8, 2, 3, 4, 5, 6, 7, 8}));
}

TEST_F(MouseConnectionTest, RemovalStopsTheReadersAtOnceAndClosesWhenBothAreGone) {
    StartService();
    UnplugCollection(ControlCollection);
    EXPECT_EQ(connection_->RunningReaders(), 0);
    EXPECT_FALSE(connection_->ControlPresent());
    EXPECT_TRUE(connection_->InputPresent());
    EXPECT_TRUE(connection_->IsInputOpen());
    EXPECT_EQ(Device(), 1);

    UnplugCollection(InputCollection);
    EXPECT_FALSE(connection_->IsInputOpen() || connection_->IsControlOpen());
    EXPECT_EQ(Device(), 0);
    // The readers were waiting inside reads; the simulator reports a close under a read.
}

TEST_F(MouseConnectionTest, PlugInReopensByTheStoredPaths) {
    StartService();
    Unplug();
    EXPECT_EQ(Device(), 0);
    ClearLog();
    Plug();
    EXPECT_TRUE(IsUp());
    EXPECT_EQ(Opened(), (std::vector<int>{InputCollection, ControlCollection}));
    EXPECT_EQ(trayLaunches_, 1);
    EXPECT_EQ(readBacks_, 1);
    EXPECT_EQ(Device(), 1);
    EXPECT_EQ(connection_->ArrivalCount(), 0);
}

TEST_F(MouseConnectionTest, HalfRemovedMouseComesBackWhenTheCollectionReturns) {
    StartService();
    UnplugCollection(ControlCollection);
    PlugCollection(ControlCollection);
    EXPECT_TRUE(IsUp());
    EXPECT_EQ(trayLaunches_, 1);
    EXPECT_EQ(readBacks_, 1);
}

TEST_F(MouseConnectionTest, ArrivalOfAnotherCollectionChangesNothing) {
    StartService();
    Unplug();
    ClearLog();
    PlugCollection(2);
    PlugCollection(3);
    EXPECT_FALSE(connection_->InputPresent() || connection_->ControlPresent());
    EXPECT_FALSE(connection_->IsInputOpen());
    EXPECT_TRUE(Opened().empty());
    EXPECT_EQ(trayLaunches_ + readBacks_, 0);
}

TEST_F(MouseConnectionTest, StartedWithoutMouseOpensOnTheFourthArrival) {
    Unplug();
    StartService();
    EXPECT_TRUE(connection_->Entry().InputPath.empty());
    EXPECT_EQ(connection_->RunningReaders(), 2);
    EXPECT_EQ(Device(), 0);
    const int threads = ThreadsOfThisProcess();
    ClearLog();

    for (int collection = 0; collection < 3; ++collection) {
        PlugCollection(collection);
        EXPECT_EQ(connection_->ArrivalCount(), collection + 1);
        EXPECT_FALSE(connection_->IsControlOpen());
    }
    EXPECT_TRUE(Log().empty());
    PlugCollection(3);
    EXPECT_EQ(connection_->ArrivalCount(), 0);
    EXPECT_TRUE(IsUp());
    EXPECT_EQ(Opened(), (std::vector<int>{InputCollection, ControlCollection}));
    EXPECT_EQ(readBacks_, 1);
    EXPECT_EQ(trayLaunches_, 0);
    EXPECT_EQ(Device(), 1);
    // The idle readers were ended before the new ones started.
    EXPECT_EQ(ThreadsOfThisProcess(), threads);

    for (int cycle = 0; cycle < 3; ++cycle) {
        Unplug();
        Plug();
    }
    EXPECT_TRUE(IsUp());
    EXPECT_EQ(ThreadsOfThisProcess(), threads);
}

TEST_F(MouseConnectionTest, DeviceStaysZeroWhenTheControlCollectionDoesNotOpen) {
    StartService();
    Unplug();
    FailNext(Call::OpenPath, -1, 2);
    Plug();
    EXPECT_FALSE(connection_->IsControlOpen());
    EXPECT_EQ(Device(), 0);
    EXPECT_EQ(readBacks_, 0);
}

TEST_F(MouseConnectionTest, OnlyWholeDeviceInterfaceRecordsAreRead) {
    StartService();
    const std::wstring inputName = NotificationName(InputCollection);
    const std::wstring controlName = NotificationName(ControlCollection);

    // A port broadcast whose bytes at the name's place spell the mouse's name.
    auto port = InterfaceRecord(inputName, 4096);
    reinterpret_cast<DEV_BROADCAST_HDR*>(port.data())->dbch_devicetype = DBT_DEVTYP_PORT;
    connection_->OnDeviceChange(DBT_DEVICEREMOVECOMPLETE,
                                reinterpret_cast<const DEV_BROADCAST_HDR*>(port.data()));
    DEV_BROADCAST_VOLUME volume{sizeof volume, DBT_DEVTYP_VOLUME, 0, 1, 0};
    connection_->OnDeviceChange(DBT_DEVICEREMOVECOMPLETE,
                                reinterpret_cast<const DEV_BROADCAST_HDR*>(&volume));
    connection_->OnDeviceChange(DBT_DEVICEREMOVECOMPLETE, nullptr);
    // A record whose size ends inside the name: the name read is cut there and matches nothing.
    auto cut =
        InterfaceRecord(controlName, offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) + 2 * 40);
    connection_->OnDeviceChange(DBT_DEVICEREMOVECOMPLETE,
                                reinterpret_cast<const DEV_BROADCAST_HDR*>(cut.data()));
    EXPECT_TRUE(IsUp());

    auto whole = InterfaceRecord(controlName, offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) +
                                                  2 * (controlName.size() + 1));
    connection_->OnDeviceChange(DBT_DEVICEREMOVECOMPLETE,
                                reinterpret_cast<const DEV_BROADCAST_HDR*>(whole.data()));
    EXPECT_EQ(connection_->RunningReaders(), 0);
}

} // namespace
