// Prints what one whole configuration upload costs: reports and bytes, the host's own time per
// call against a mouse that answers at once, and against one that takes the 1 ms that a
// full-speed control transfer needs.

#include "service/CFeatureReports.h"
#include "service/CMouseConnection.h"
#include "service/CSettingsSender.h"
#include "shared/store/CIniFile.h"
#include "shared/store/SettingsIni.h"
#include "tests/service/hidsim/HidSim.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Microseconds = std::chrono::duration<double, std::micro>;
using Milliseconds = std::chrono::duration<double, std::milli>;

constexpr int kZeroLatencyRuns = 500;
constexpr int kFloorRuns = 10;
constexpr auto kTransferFloor = std::chrono::milliseconds(1);

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The defaults the configuration program ships; with `macroPosition`, button 4 plays the macro
// listed there, which the upload looks up in "Mouse.ini".
void WriteSettings(const std::wstring& settingsFile, int macroPosition) {
    SettingsRecord record{};
    SettingsRecord_FillDefaults(record, 0);
    record.Profile = 0;
    for (int i = 0; i < kButtonCount; ++i) {
        record.ButtonAssigned[static_cast<std::size_t>(i)].ButtonNumber =
            static_cast<std::uint8_t>(i + 1);
    }
    if (macroPosition >= 0) {
        ButtonAssignment& macro = record.ButtonAssigned[3];
        macro.FunctionCode = 6;
        std::wcsncpy(macro.Text.data(), L"Reload", macro.Text.size() - 1);
        CIniFile(settingsFile)
            .WriteString(L"MACRO_LIST", std::to_wstring(macroPosition), L"Reload");
    }
    SettingsIni_Write(record, settingsFile);
}

// The service's side of one mouse: connection, reports and sender over a settings file.
struct Service {
    explicit Service(const std::wstring& folder)
        : SettingsFile(folder + L"Mouse.ini"), Connection(SettingsFile), Reports(Connection),
          Sender(Reports, Settings, SettingsFile, folder + L"Macro\\") {
        Connection.SetupDeviceTable();
        Connection.EnumerateMouse();
        Connection.OpenMouse(CMouseConnection::kVendorId, CMouseConnection::kProductId);
        SettingsRecord loaded{};
        SettingsRecord_Reset(loaded);
        SettingsIni_Read(loaded, SettingsFile, -1);
        SettingsRecord_Assign(Settings, loaded);
        Sender.SetSystemParameters([this](UINT action, UINT param, PVOID value, UINT flags) {
            const auto start = Clock::now();
            const BOOL done = SystemParametersInfoW(action, param, value, flags);
            SystemTime += Clock::now() - start;
            return done;
        });
    }

    std::wstring SettingsFile;
    CMouseConnection Connection;
    CFeatureReports Reports;
    SettingsRecord Settings{};
    CSettingsSender Sender;
    Clock::duration SystemTime{};
};

struct HostTimes {
    double Median;
    double MedianWithoutSystemCall;
    double Worst;
};

// Host time of SendAll2Mouse against a mouse that answers at once: the whole call less the time
// inside the simulated transfers.
HostTimes MeasureZeroLatency(Service& service) {
    std::vector<double> withSystem;
    std::vector<double> withoutSystem;
    for (int run = 0; run < kZeroLatencyRuns; ++run) {
        hidsim::ClearLog();
        service.SystemTime = {};
        const auto start = Clock::now();
        service.Sender.SendAll2Mouse();
        const auto host = Clock::now() - start - hidsim::TransferTime();
        withSystem.push_back(Microseconds(host).count());
        withoutSystem.push_back(Microseconds(host - service.SystemTime).count());
    }
    return {Median(withSystem), Median(withoutSystem),
            *std::max_element(withSystem.begin(), withSystem.end())};
}

} // namespace

int main() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring root =
        std::wstring(temp) + L"V212 HID Bench " + std::to_wstring(GetCurrentProcessId()) + L"\\";
    const std::wstring defaults = root + L"Defaults\\";
    const std::wstring withMacro = root + L"Macro button\\";
    for (const std::wstring& folder : {defaults, withMacro}) {
        std::filesystem::create_directories(folder + L"Macro\\");
    }
    WriteSettings(defaults + L"Mouse.ini", -1);
    WriteSettings(withMacro + L"Mouse.ini", 2);

    hidsim::Reset();
    Service service(defaults);
    if (!service.Connection.IsControlOpen()) {
        std::fprintf(stderr, "the simulated mouse did not open\n");
        return 1;
    }

    hidsim::ClearLog();
    service.Sender.SendAll2Mouse();
    const auto sent = hidsim::SentFeatureReports();
    std::size_t bytes = 0;
    for (const auto& report : sent) {
        bytes += report.size();
    }
    std::printf("SendAll2Mouse reports: %zu\n", sent.size());
    std::printf("SendAll2Mouse bytes: %zu\n", bytes);

    const HostTimes zero = MeasureZeroLatency(service);
    std::printf("SendAll2Mouse host time at zero latency, median of %d: %.1f us\n",
                kZeroLatencyRuns, zero.Median);
    std::printf("SendAll2Mouse host time without the wheel-lines system call: %.1f us\n",
                zero.MedianWithoutSystemCall);
    std::printf("SendAll2Mouse host time, worst: %.1f us\n", zero.Worst);
    {
        Service macroService(withMacro);
        std::printf("SendAll2Mouse host time with a macro button (list position 2), without the "
                    "system call: %.1f us\n",
                    MeasureZeroLatency(macroService).MedianWithoutSystemCall);
    }

    // The whole upload of message 0x4FF: bracket, SendAll2Mouse, commit of all groups, bracket.
    hidsim::SetTransferLatency(kTransferFloor);
    std::vector<double> totals;
    std::vector<double> overheads;
    std::vector<double> overheadsWithoutSystem;
    std::vector<double> pauses;
    std::size_t transfers = 0;
    for (int run = 0; run < kFloorRuns; ++run) {
        hidsim::ClearLog();
        service.SystemTime = {};
        const auto start = Clock::now();
        service.Sender.SendUpdateBracket(0);
        const auto firstBracket = Clock::now() - start;
        const auto bracketTransfers = hidsim::TransferTime();
        const auto middle = Clock::now();
        service.Sender.SendAll2Mouse();
        service.Sender.CommitAll();
        const auto body = Clock::now() - middle;
        const auto bodyTransfers = hidsim::TransferTime() - bracketTransfers;
        const auto lastStart = Clock::now();
        service.Sender.SendUpdateBracket(1);
        const auto lastBracket = Clock::now() - lastStart;
        const auto total = Clock::now() - start;
        transfers = hidsim::FeatureTransfers().size();
        // The brackets are transfer and pause and nearly nothing else: their time beyond the
        // transfer counts as pause.
        const auto pause = firstBracket + lastBracket - (hidsim::TransferTime() - bodyTransfers);
        totals.push_back(Milliseconds(total).count());
        pauses.push_back(Milliseconds(pause).count());
        overheads.push_back(Microseconds(body - bodyTransfers).count());
        overheadsWithoutSystem.push_back(
            Microseconds(body - bodyTransfers - service.SystemTime).count());
    }
    const double floorMs = Milliseconds(transfers * kTransferFloor).count();
    std::printf("Whole upload at 1 ms per transfer, median of %d: %.2f ms (%zu transfers, "
                "floor %.0f ms; bracket pauses %.2f ms)\n",
                kFloorRuns, Median(totals), transfers, floorMs, Median(pauses));
    const double overhead = Median(overheads);
    const double overheadWithoutSystem = Median(overheadsWithoutSystem);
    std::printf("Whole upload host overhead: %.1f us, %.2f%% of the transfer floor\n", overhead,
                overhead / (floorMs * 10.0));
    std::printf("Whole upload host overhead without the wheel-lines system call: %.1f us, %.2f%% "
                "of the transfer floor (target under 1%%)\n",
                overheadWithoutSystem, overheadWithoutSystem / (floorMs * 10.0));

    service.Connection.CloseMouse();
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
    return 0;
}
