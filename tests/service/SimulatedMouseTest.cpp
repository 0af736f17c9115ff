// The simulated mouse itself: the tests of the service trust its memory model, its log and its
// control channel, so these pin them.

#include "tests/service/HidTestSupport.h"

#include <hidapi.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

using namespace hidsim;

namespace {

class SimulatorTest : public SimulatedMouseTest {
protected:
    void SetUp() override {
        SimulatedMouseTest::SetUp();
        ASSERT_EQ(hid_init(), 0);
        control_ = hid_open_path(DefaultCollections()[ControlCollection].Path.c_str());
        ASSERT_NE(control_, nullptr);
    }
    void TearDown() override {
        hid_close(control_);
        SimulatedMouseTest::TearDown();
    }
    int Send(const Bytes& report) {
        return hid_send_feature_report(control_, report.data(), report.size());
    }

    hid_device* control_ = nullptr;
};

TEST_F(SimulatorTest, RegisterWritesChangeMemoryAndReadsAnswerFromIt) {
    EXPECT_EQ(Send(WriteReport(0x0044, {1, 2, 3, 4, 5})), 16);
    EXPECT_EQ(ReadMemory(0x0044, 5), (Bytes{1, 2, 3, 4, 5}));
    EXPECT_EQ(PendingCommitGroups(), 0x02u);

    EXPECT_EQ(Send(ReadRequest(0x0045, 3)), 16);
    std::array<std::uint8_t, 16> reply{2, 0xF2};
    EXPECT_EQ(hid_get_feature_report(control_, reply.data(), reply.size()), 16);
    EXPECT_EQ(Bytes(reply.begin(), reply.begin() + 11),
              (Bytes{2, 0xF2, 0x45, 0x00, 3, 0, 0, 0, 2, 3, 4}));
    EXPECT_EQ(reply[11], 0);

    EXPECT_EQ(Send(CommitReport(0x02)), 16);
    EXPECT_EQ(PendingCommitGroups(), 0u);
    EXPECT_EQ(Commits(), std::vector<unsigned>{0x02});
}

TEST_F(SimulatorTest, BlockReportsMoveTwoHundredAndFiftyBytes) {
    Bytes data(200);
    for (std::size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<std::uint8_t>(i + 1);
    }
    EXPECT_EQ(Send(BlockWriteReport(0x0540, data)), 1024);
    EXPECT_EQ(ReadMemory(0x0540, 200), data);

    Bytes request(64, 0);
    request[0] = 3, request[1] = 0xF2, request[2] = 0x72, request[3] = 0x05, request[4] = 50;
    EXPECT_EQ(Send(request), 64);
    std::array<std::uint8_t, 64> reply{3};
    EXPECT_EQ(hid_get_feature_report(control_, reply.data(), reply.size()), 64);
    EXPECT_EQ(Bytes(reply.begin() + 8, reply.begin() + 58),
              Bytes(data.begin() + 50, data.begin() + 100));
}

TEST_F(SimulatorTest, MalformedReportsAreRefused) {
    EXPECT_EQ(Send(WriteReport(0x0010, {})), -1);             // no data bytes
    EXPECT_EQ(Send(Bytes{9, 0xF3, 0, 0, 1, 0, 0, 0, 1}), -1); // unknown report id
    EXPECT_EQ(Send(Bytes(17, 2)), -1);                        // longer than report 2
    Bytes past = WriteReport(0xFFFE, {1, 2, 3});
    EXPECT_EQ(Send(past), -1); // beyond the memory
    hid_device* input = hid_open_path(DefaultCollections()[InputCollection].Path.c_str());
    const Bytes commit = CommitReport(1);
    EXPECT_EQ(hid_send_feature_report(input, commit.data(), commit.size()), -1);
    hid_close(input);
}

TEST_F(SimulatorTest, InjectedFailuresAndShortReplies) {
    FailNext(Call::SendFeatureReport, -1);
    EXPECT_EQ(Send(WriteReport(0x002A, {7})), -1);
    EXPECT_EQ(ReadMemory(0x002A, 1), Bytes{0});

    LoadMemory(0x002A, std::array<std::uint8_t, 1>{9});
    Send(ReadRequest(0x002A, 1));
    FailNext(Call::GetFeatureReport, 4);
    std::array<std::uint8_t, 16> reply{2};
    EXPECT_EQ(hid_get_feature_report(control_, reply.data(), reply.size()), 4);
    EXPECT_EQ(reply[8], 0);

    FailNext(Call::OpenPath, -1);
    EXPECT_EQ(hid_open_path(DefaultCollections()[InputCollection].Path.c_str()), nullptr);
}

TEST_F(SimulatorTest, EnumerationListsPresentCollectionsAndPlugFollows) {
    auto count = [] {
        int n = 0;
        hid_device_info* list = hid_enumerate(0x04D9, 0xF111);
        for (hid_device_info* d = list; d != nullptr; d = d->next) {
            ++n;
        }
        hid_free_enumeration(list);
        return n;
    };
    EXPECT_EQ(count(), 5); // four of the mouse, one out-of-range release
    std::vector<UINT> events;
    std::vector<std::wstring> names;
    SetDeviceChangeSink([&](UINT event, const DEV_BROADCAST_HDR* header) {
        events.push_back(event);
        names.push_back(
            reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(header)->dbcc_name);
    });
    Unplug();
    EXPECT_EQ(count(), 1);
    EXPECT_EQ(Send(CommitReport(1)), -1); // the handle died with the device
    ASSERT_EQ(names.size(), 5u);
    EXPECT_EQ(names[0], NotificationName(3));
    EXPECT_EQ(names[3], NotificationName(InputCollection));
    EXPECT_EQ(names[4].substr(0, 8), L"\\\\?\\usb#");
    EXPECT_EQ(events[0], static_cast<UINT>(DBT_DEVICEREMOVECOMPLETE));
    Plug();
    EXPECT_EQ(count(), 5);
    EXPECT_EQ(events.back(), static_cast<UINT>(DBT_DEVICEARRIVAL));
    EXPECT_EQ(names.back(), NotificationName(3));
}

TEST_F(SimulatorTest, ClosingWhileAnotherThreadReadsIsReported) {
    std::thread reader([this] {
        std::array<std::uint8_t, 8> report{};
        EXPECT_EQ(hid_read(control_, report.data(), report.size()), -1);
    });
    // Closed only once the reader waits: a busy machine may start the thread late. A reader
    // that never waits fails the row instead of holding the run.
    const ULONGLONG giveUp = GetTickCount64() + 60000;
    while (ReadsWaiting() == 0 && GetTickCount64() < giveUp) {
        Sleep(1);
    }
    const bool waited = ReadsWaiting() > 0;
    hid_close(control_);
    reader.join();
    ASSERT_TRUE(waited);
    EXPECT_EQ(Violations(), std::vector<std::string>{"hid_close while a read is in progress"});
    hidsim::Reset();
    control_ = nullptr;
}

TEST_F(SimulatorTest, ControlChannelTakesCommandsFromOutside) {
    const std::wstring pipe = ControlPipeName();
    ASSERT_EQ(pipe, ControlPipeNameFor(GetCurrentProcessId()));
    EXPECT_EQ(SendControlCommand(pipe, "inject 1 08 02 03"), "ok");
    std::array<std::uint8_t, 8> report{};
    EXPECT_EQ(hid_read_timeout(control_, report.data(), report.size(), 1000), 3);
    EXPECT_EQ(report[0], 8);
    EXPECT_EQ(report[2], 3);
    EXPECT_EQ(SendControlCommand(pipe, "inject 0 01"), "dropped"); // nothing open on channel 0

    LoadMemory(0x0100, std::array<std::uint8_t, 3>{0xAB, 0, 0x01});
    EXPECT_EQ(SendControlCommand(pipe, "memory 100 3"), "ab 00 01");

    const auto log = SendControlCommand(pipe, "log");
    ASSERT_TRUE(log.has_value());
    EXPECT_NE(log->find("hid_read_timeout 1 "), std::string::npos);
    EXPECT_NE(log->find(" 08 02 03\n"), std::string::npos);

    std::vector<std::wstring> names;
    SetDeviceChangeSink([&](UINT, const DEV_BROADCAST_HDR* header) {
        names.push_back(
            reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(header)->dbcc_name);
    });
    EXPECT_EQ(SendControlCommand(pipe, "unplug"), "ok");
    EXPECT_FALSE(IsPlugged());
    EXPECT_EQ(names.size(), 5u);
    EXPECT_EQ(SendControlCommand(pipe, "bogus"), "error unknown command");
}

// A suite left running keeps its calls on disk; memory keeps the latest.
TEST_F(SimulatorTest, WithAReportLogTheCallLogKeepsTheLatestCalls) {
    const ScratchFolder folder;
    const std::wstring path = folder.Path() + L"reports.log";
    SetReportLogFile(path);
    const std::size_t sends = LogCapacity + 10;
    for (std::size_t i = 0; i < sends; ++i) {
        Send(CommitReport(0x01));
    }
    const auto log = Log();
    ASSERT_EQ(log.size(), LogCapacity);
    EXPECT_EQ(log.front().Function, Call::SendFeatureReport);

    // Sequence numbers go on counting: the calls since a mark are there.
    const std::uint64_t mark = log.back().Sequence + 1;
    Send(CommitReport(0x02));
    const auto since = SendControlCommand(ControlPipeName(), "log " + std::to_string(mark));
    ASSERT_TRUE(since.has_value());
    EXPECT_EQ(std::count(since->begin(), since->end(), '\n'), 1) << *since;
    EXPECT_NE(since->find("hid_send_feature_report"), std::string::npos);

    SetReportLogFile(L"");
    std::ifstream file{std::filesystem::path(path)};
    std::size_t lines = 0;
    for (std::string line; std::getline(file, line);) {
        ++lines;
    }
    EXPECT_EQ(lines, sends + 1);
}

TEST_F(SimulatorTest, ReportLogTellsInWordsWhatTheMouseGot) {
    const ScratchFolder folder;
    const std::wstring path = folder.Path() + L"reports.log";
    SetReportLogFile(path);
    const Bytes block(200, 0x11);
    const Bytes getReply; // a get of report 2 instead of a send
    const Bytes openAndClose{0};
    const std::string input = DefaultCollections()[InputCollection].Path;
    const struct {
        Bytes Report;
        std::string Line;
    } rows[] = {
        {openAndClose, "opened " + input},
        {openAndClose, "closed " + input},
        {BracketReport(0), "sent update begins"},
        {WriteReport(0x002A, {3}),
         "sent write 0x002A, 1 byte (double-click speed): 03 = double-click speed 3"},
        {WriteReport(0x0044, {1, 2}), "sent write 0x0044, 2 bytes (DPI): 01 02"},
        {BlockWriteReport(0x0540, block),
         "sent write 0x0540, 200 bytes: 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 ... (184 "
         "more)"},
        {CommitReport(0x03), "sent commit buttons, DPI"},
        {ReadRequest(0x0044, 2), "sent read request 0x0044, 2 bytes"},
        {getReply, "got  reply 0x0044, 2 bytes (DPI): 01 02"},
        {WriteReport(0xFFFE, {1, 2, 3}), "sent write 0xFFFE, 3 bytes: 01 02 03  [refused]"},
        // One whole setting also says what the user set, decoded from the bytes.
        {WriteReport(0x0032, {4, 0, 4, 0, 4, 0}),
         "sent write 0x0032, 6 bytes (polling rate): 04 00 04 00 04 00 = polling rate 250 Hz"},
        {WriteReport(0x0038, {1, 0, 1, 0}),
         "sent write 0x0038, 4 bytes (polling rate): 01 00 01 00 = polling rate 1000 Hz"},
        {WriteReport(0x0042, {1}), "sent write 0x0042, 1 byte (DPI): 01 = current DPI stage 2"},
        {WriteReport(0x004A, {1, 0x3B, 0, 0x3B, 0}),
         "sent write 0x004A, 5 bytes (DPI): 01 3b 00 3b 00 = DPI stage 2: 5000 DPI"},
        {WriteReport(0x0056, {1, 0x48, 1, 0x48, 1}),
         "sent write 0x0056, 5 bytes (DPI): 01 48 01 48 01 = DPI stage 4: 24200 DPI"},
        {WriteReport(0x0050, {1, 0x3B, 0, 0x48, 1}),
         "sent write 0x0050, 5 bytes (DPI): 01 3b 00 48 01 = DPI stage 3: X 5000 DPI, Y 24200 DPI"},
        {WriteReport(0x008E, {0x85, 0, 0, 0}),
         "sent write 0x008E, 4 bytes (buttons): 85 00 00 00 = button 4: Back"},
        {WriteReport(0x00AA, {0x8B, 0, 0, 0}),
         "sent write 0x00AA, 4 bytes (buttons): 8b 00 00 00 = button 7: Scroll up"},
        {WriteReport(0x0082, {0x8F, 1, 6, 0}),
         "sent write 0x0082, 4 bytes (buttons): 8f 01 06 00 = button 1: Copy"},
        {WriteReport(0x0082, {0x8F, 5, 0x17, 0}),
         "sent write 0x0082, 4 bytes (buttons): 8f 05 17 00 = button 1: key combination"},
        {WriteReport(0x0449, {0xFF, 0x80, 0x00, 2, 5, 1, 3}),
         "sent write 0x0449, 7 bytes (lighting): ff 80 00 02 05 01 03 = colour FF8000, Static "
         "(mode 2, option 1), speed 5, level 3"},
        {WriteReport(0x0449, {0, 0, 0xFF, 3, 8, 2, 0x40}),
         "sent write 0x0449, 7 bytes (lighting): 00 00 ff 03 08 02 40 = colour 0000FF, Colour "
         "cycle (mode 3, option 2), speed 8, level 64"},
        {WriteReport(0x0449, {0, 0, 0, 0, 0, 0, 0}),
         "sent write 0x0449, 7 bytes (lighting): 00 00 00 00 00 00 00 = colour 000000, Off "
         "(mode 0, option 0), speed 0, level 0"},
        {WriteReport(0x0449, {1, 2, 3, 4, 5, 6, 7}),
         "sent write 0x0449, 7 bytes (lighting): 01 02 03 04 05 06 07 = colour 010203, mode 4, "
         "option 6, speed 5, level 7"},
        {ReadRequest(0x004A, 5), "sent read request 0x004A, 5 bytes"},
        {getReply, "got  reply 0x004A, 5 bytes (DPI): 01 3b 00 3b 00 = DPI stage 2: 5000 DPI"},
        {BracketReport(1), "sent update ends"},
    };
    hid_close(hid_open_path(input.c_str()));
    for (const auto& row : rows) {
        if (row.Report == openAndClose) {
            continue;
        }
        if (row.Report.empty()) {
            std::array<std::uint8_t, 16> reply{2};
            hid_get_feature_report(control_, reply.data(), reply.size());
        } else {
            Send(row.Report);
        }
    }
    SetReportLogFile(L""); // closes the file
    std::ifstream file{std::filesystem::path(path)};
    std::string line;
    for (const auto& row : rows) {
        ASSERT_TRUE(std::getline(file, line)) << row.Line;
        ASSERT_GT(line.size(), 13u);
        EXPECT_EQ(line.substr(13), row.Line); // after the "hh:mm:ss.mmm " time
    }
    EXPECT_FALSE(std::getline(file, line)) << line;
}

} // namespace
