#pragma once

// Shared pieces of the HID tests: a scratch data folder, the simulated mouse reset around each
// test, and the report bytes the mouse expects.

#include "tests/service/hidsim/HidSim.h"
#include "winlayer/UniqueHandle.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// A fresh folder under the temporary folder (with "Macro\" inside), removed at the end.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& Path() const { return path_; }
    std::wstring SettingsFile() const { return path_ + L"Mouse.ini"; }
    std::wstring MacroFolder() const { return path_ + L"Macro\\"; }

private:
    std::wstring path_;
};

// A file held open as another program holds it, sharing only what `share` allows (0: nothing, so
// that not even a read gets in), until this goes.
class HeldFile {
public:
    HeldFile(const std::wstring& path, DWORD share);
    bool Held() const { return static_cast<bool>(file_); }

private:
    winlayer::UniqueHandle file_;
};

// Resets the simulated mouse before each test and checks afterwards that the service never
// misused hidapi.
class SimulatedMouseTest : public ::testing::Test {
protected:
    void SetUp() override { hidsim::Reset(); }
    void TearDown() override { EXPECT_EQ(hidsim::Violations(), std::vector<std::string>{}); }
};

// The 16-byte register reports.
Bytes WriteReport(std::uint16_t address, std::initializer_list<std::uint8_t> data);
Bytes ReadRequest(std::uint16_t address, std::uint8_t count);
Bytes CommitReport(std::uint8_t mask);
Bytes BracketReport(std::uint8_t value);
// The 1024-byte block write of 200 data bytes.
Bytes BlockWriteReport(std::uint16_t address, const Bytes& data);

// Human-readable report bytes for failure messages.
std::string HexOf(const Bytes& bytes);
