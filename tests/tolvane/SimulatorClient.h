#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Drives the simulated mouse inside a started test build of the service through its control
// pipe, and reads its call log.
class SimulatorClient {
public:
    struct Entry {
        std::uint64_t Sequence = 0;
        long long Micros = 0;
        std::string Call;
        int Collection = -1;
        int Result = 0;
        std::vector<std::uint8_t> Bytes;
    };

    explicit SimulatorClient(DWORD processId);

    // The reply, or nothing when the pipe cannot be reached (the service has not initialised
    // hidapi yet, or has ended).
    std::optional<std::string> Command(const std::string& command) const;
    // Entries from the given sequence number on.
    std::vector<Entry> Log(std::uint64_t firstSequence = 0) const;
    // The sequence number the next entry will get.
    std::uint64_t NextSequence() const;
    std::vector<std::vector<std::uint8_t>> SentFeatureReports(std::uint64_t firstSequence) const;

private:
    std::wstring pipe_;
};
