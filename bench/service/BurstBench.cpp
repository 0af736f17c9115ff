// Starts the test build of the device service on a fresh data folder and posts 100 DPI-stage
// messages (0x516) in a row, as a slider dragged across its range does, then one bracket-only
// message (0x4FB) as a marker. Prints how many of the stage messages reached the mouse as an
// apply, and the time from the first post until the mouse got the last of them.
#include "bench/BenchClock.h"
#include "bench/service/ServiceBench.h"
#include "service/MouseMemoryMap.h"
#include "service/ServiceMessages.h"
#include "shared/store/CIniFile.h"
#include "tests/tolvane/MessagePump.h"
#include "tests/tolvane/ServiceHarness.h"

#include <windows.h>

#include <cstdio>

namespace {
constexpr int kPosts = 100;
constexpr WPARAM kStage = 1;
constexpr DWORD kWaitMs = 120000;
} // namespace

int main() {
    ServiceHarness harness;
    if (!StartBenchService(harness)) {
        return 1;
    }
    const auto first = harness.Simulator().NextSequence();
    const double start = NowMs();
    for (int i = 0; i < kPosts; ++i) {
        harness.Post(kMsgDpiStage, kStage, 0);
    }
    harness.Post(kMsgBracketOnly);
    // The marker is the only apply with nothing between its two bracket reports.
    std::vector<SimulatorClient::Entry> log;
    ULONGLONG lastLook = 0;
    const bool done = PumpUntil(
        [&] {
            if (GetTickCount64() - lastLook < 50) {
                return false;
            }
            lastLook = GetTickCount64();
            log = harness.Simulator().Log(first);
            for (std::size_t i = 1; i < log.size(); ++i) {
                if (IsBracket(log[i - 1], 0) && IsBracket(log[i], 1)) {
                    return true;
                }
            }
            return false;
        },
        kWaitMs);
    const double elapsed = NowMs() - start;
    harness.Close();
    if (!done) {
        std::fprintf(stderr, "the marker did not arrive\n");
        return 1;
    }
    int applies = 0;
    long long lastApplyMicros = 0;
    for (std::size_t i = 0; i + 1 < log.size(); ++i) {
        const auto& bytes = log[i].Bytes;
        if (log[i].Call == "hid_send_feature_report" && bytes.size() > 3 &&
            bytes[1] == MouseMemoryMap::kCommandWrite &&
            (bytes[2] | (bytes[3] << 8)) == MouseMemoryMap::DpiStageAddress(kStage)) {
            ++applies;
            lastApplyMicros = log[i + 1].Micros;
        }
    }
    std::printf("%d posts of 0x516 (DPI stage %u) in a row:\n", kPosts,
                static_cast<unsigned>(kStage));
    std::printf("  applies that reached the mouse     %d\n", applies);
    std::printf("  first post to the last apply       %.0f ms\n",
                elapsed - (log.back().Micros - lastApplyMicros) / 1000.0);
    std::printf("  first post to the marker's end     %.0f ms\n", elapsed);
    return 0;
}
