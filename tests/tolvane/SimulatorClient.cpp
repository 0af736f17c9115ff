#include "tests/tolvane/SimulatorClient.h"

#include "tests/service/hidsim/HidSim.h"

#include <sstream>

SimulatorClient::SimulatorClient(DWORD processId) : pipe_(hidsim::ControlPipeNameFor(processId)) {}

std::optional<std::string> SimulatorClient::Command(const std::string& command) const {
    return hidsim::SendControlCommand(pipe_, command);
}

std::vector<SimulatorClient::Entry> SimulatorClient::Log(std::uint64_t firstSequence) const {
    std::vector<Entry> entries;
    const auto text = Command("log " + std::to_string(firstSequence));
    if (!text) {
        return entries;
    }
    std::istringstream lines(*text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream in(line);
        Entry entry;
        unsigned long thread = 0;
        int handle = 0;
        if (!(in >> entry.Sequence >> entry.Micros >> thread >> entry.Call >> entry.Collection >>
              handle >> entry.Result)) {
            continue;
        }
        unsigned value = 0;
        while (in >> std::hex >> value) {
            entry.Bytes.push_back(static_cast<std::uint8_t>(value));
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::uint64_t SimulatorClient::NextSequence() const {
    const auto entries = Log();
    return entries.empty() ? 0 : entries.back().Sequence + 1;
}

std::vector<std::vector<std::uint8_t>>
SimulatorClient::SentFeatureReports(std::uint64_t firstSequence) const {
    std::vector<std::vector<std::uint8_t>> reports;
    for (auto& entry : Log(firstSequence)) {
        if (entry.Call == "hid_send_feature_report") {
            reports.push_back(std::move(entry.Bytes));
        }
    }
    return reports;
}
