// Starts the test build of the device service on a fresh data folder, posts the whole apply
// (0x4FF) 50 times and measures each until the 0x505 (11) answer arrives. The protocol itself
// pauses 100 ms after each of the two bracket reports; what is printed is the time beyond
// those 200 ms, with the simulated mouse answering at once, and how much of it lies inside the
// upload (first to last report, by the simulated mouse's clock) rather than around it (the
// messages, reloading "Mouse.ini", writing "FWVersion"); then the reload alone.
#include "bench/BenchClock.h"
#include "service/ServiceMessages.h"
#include "shared/store/SettingsIni.h"
#include "tests/tolvane/MessagePump.h"
#include "tests/tolvane/ServiceHarness.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
constexpr int kApplies = 50;
constexpr double kProtocolPausesMs = 200.0;

// Median, best and worst of the values.
void Print(const char* what, std::vector<double> values) {
    if (values.empty()) {
        return;
    }
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
    std::printf("  %-18s median %7.2f ms   best %7.2f ms   worst %7.2f ms\n", what, median,
                values.front(), values.back());
}
} // namespace

int main() {
    ServiceHarness::UseProgramFolder(V212_TOLVANE_SIM_FOLDER);
    if (!ServiceHarness::CleanDataFolder()) {
        std::fprintf(stderr, "cannot clean the data folder\n");
        return 1;
    }
    ServiceHarness harness;
    if (!harness.Start() || harness.Simulator().Command("latency 0") != "ok") {
        std::fprintf(stderr, "the service did not start\n");
        return 1;
    }
    std::vector<double> overheads;
    std::vector<double> uploads;
    for (int i = 0; i < kApplies; ++i) {
        harness.Config().Clear();
        const auto first = harness.Simulator().NextSequence();
        const double start = NowMs();
        harness.Post(kMsgApplyAll, 0, 1);
        if (!PumpUntil(
                [&] { return harness.Config().Count(kMsgServiceEvent, kEventApplied, 0) > 0; },
                ServiceHarness::kTimeoutMs)) {
            std::fprintf(stderr, "apply %d got no answer\n", i + 1);
            harness.Close();
            return 1;
        }
        overheads.push_back(NowMs() - start - kProtocolPausesMs);
        const auto log = harness.Simulator().Log(first);
        if (!log.empty()) {
            // The pause after the closing bracket report comes after the last report.
            uploads.push_back((log.back().Micros - log.front().Micros) / 1000.0 -
                              kProtocolPausesMs / 2);
        }
    }
    harness.Close();

    // The reload that every apply starts with, alone, on the file the service used.
    std::vector<double> reloads;
    for (int i = 0; i < kApplies; ++i) {
        SettingsRecord record{};
        const double start = NowMs();
        SettingsRecord_Reset(record);
        SettingsIni_Read(record, ServiceHarness::SettingsPath(), -1);
        reloads.push_back(NowMs() - start);
    }

    std::printf("whole apply, %d runs, time beyond the 2 x 100 ms bracket pauses:\n", kApplies);
    Print("post to answer", overheads);
    Print("inside the upload", uploads);
    std::printf("reading \"Mouse.ini\" into a settings record, %d runs:\n", kApplies);
    Print("reload", reloads);
    return 0;
}
