#pragma once

// The end-to-end tests' common ground: the service started on a fresh data folder beside the
// stand-ins of its peers, and one-line summaries of the reports it sent.

#include "shared/store/CIniFile.h"
#include "tests/tolvane/ServiceHarness.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

using Reports = std::vector<std::vector<std::uint8_t>>;

// One line per report: "bracket 0", "write 0042", "commit 08", "block 0540".
std::string Summary(const std::vector<std::uint8_t>& report);
std::vector<std::string> Summaries(const Reports& reports);

class ServiceEndToEnd : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void StartService();
    // Sends and checks that nothing went to the mouse and nothing was posted back.
    void ExpectIgnored(UINT message, WPARAM wParam, LPARAM lParam);
    int Setting(const wchar_t* key) const { return settings_->ReadInt(L"Setting", key, -99); }

    ServiceHarness harness_;
    std::unique_ptr<CIniFile> settings_;
};
