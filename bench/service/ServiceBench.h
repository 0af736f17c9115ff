#pragma once

// What the service benchmarks share: the test build of the service started on a fresh data
// folder, and the bracket reports in the simulated mouse's log.

#include "service/MouseMemoryMap.h"
#include "tests/tolvane/ServiceHarness.h"

#include <cstdint>
#include <cstdio>

// Starts the service with the simulated mouse answering at once; false (with a line on stderr)
// when it did not start.
inline bool StartBenchService(ServiceHarness& harness) {
    ServiceHarness::UseProgramFolder(V212_TOLVANE_SIM_FOLDER);
    if (!ServiceHarness::CleanDataFolder()) {
        std::fprintf(stderr, "cannot clean the data folder\n");
        return false;
    }
    if (!harness.Start() || harness.Simulator().Command("latency 0") != "ok") {
        std::fprintf(stderr, "the service did not start\n");
        return false;
    }
    return true;
}

inline bool IsBracket(const SimulatorClient::Entry& entry, std::uint8_t value) {
    return entry.Call == "hid_send_feature_report" && entry.Bytes.size() > 2 &&
           entry.Bytes[1] == MouseMemoryMap::kCommandBracket && entry.Bytes[2] == value;
}
