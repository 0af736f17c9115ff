#include "tests/tolvane/ServiceFixture.h"

#include "service/MouseMemoryMap.h"
#include "tests/tolvane/MessagePump.h"

#include <cstdio>

namespace map = MouseMemoryMap;

std::string Summary(const std::vector<std::uint8_t>& report) {
    char line[64] = "?";
    if (report.size() < 8) {
        return line;
    }
    const unsigned address = report[2] | (report[3] << 8);
    if (report[0] == map::kBlockWriteReport) {
        std::snprintf(line, sizeof line, "block %04x", address);
    } else if (report[1] == map::kCommandBracket) {
        std::snprintf(line, sizeof line, "bracket %u", report[2]);
    } else if (report[1] == map::kCommandCommit) {
        std::snprintf(line, sizeof line, "commit %02x", report[3]);
    } else if (report[1] == map::kCommandWrite) {
        std::snprintf(line, sizeof line, "write %04x", address);
    }
    return line;
}

std::vector<std::string> Summaries(const Reports& reports) {
    std::vector<std::string> lines;
    for (const auto& report : reports) {
        lines.push_back(Summary(report));
    }
    return lines;
}

void ServiceEndToEnd::SetUp() {
    ASSERT_TRUE(ServiceHarness::CleanDataFolder());
}

void ServiceEndToEnd::TearDown() {
    if (harness_.Started() && harness_.Process().Running()) {
        EXPECT_TRUE(harness_.Close());
    }
}

void ServiceEndToEnd::StartService() {
    ASSERT_TRUE(harness_.Start()) << harness_.StartFailure();
    settings_ = std::make_unique<CIniFile>(ServiceHarness::SettingsPath());
}

void ServiceEndToEnd::ExpectIgnored(UINT message, WPARAM wParam, LPARAM lParam) {
    const auto first = harness_.Simulator().NextSequence();
    harness_.Config().Clear();
    ASSERT_TRUE(harness_.SendAndWait(message, wParam, lParam));
    PumpUntil([] { return false; }, 0);
    EXPECT_TRUE(harness_.Simulator().SentFeatureReports(first).empty())
        << std::hex << message << " " << wParam << " " << lParam;
    EXPECT_TRUE(harness_.Config().Messages().empty());
}
