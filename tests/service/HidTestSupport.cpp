#include "tests/service/HidTestSupport.h"

#include <windows.h>

#include <cstdio>
#include <filesystem>

ScratchFolder::ScratchFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"V212 HID Test " + std::to_wstring(GetCurrentProcessId()) + L"\\";
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(MacroFolder());
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

HeldFile::HeldFile(const std::wstring& path, DWORD share)
    : file_(CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr)) {}

namespace {

Bytes RegisterReport(std::uint8_t command, std::uint8_t byte2, std::uint8_t byte3,
                     std::uint8_t count, std::initializer_list<std::uint8_t> data) {
    Bytes report(16, 0);
    report[0] = 2;
    report[1] = command;
    report[2] = byte2;
    report[3] = byte3;
    report[4] = count;
    std::copy(data.begin(), data.end(), report.begin() + 8);
    return report;
}

std::uint8_t Low(std::uint16_t address) {
    return static_cast<std::uint8_t>(address & 0xFF);
}
std::uint8_t High(std::uint16_t address) {
    return static_cast<std::uint8_t>(address >> 8);
}

} // namespace

Bytes WriteReport(std::uint16_t address, std::initializer_list<std::uint8_t> data) {
    return RegisterReport(0xF3, Low(address), High(address), static_cast<std::uint8_t>(data.size()),
                          data);
}

Bytes ReadRequest(std::uint16_t address, std::uint8_t count) {
    return RegisterReport(0xF2, Low(address), High(address), count, {});
}

Bytes CommitReport(std::uint8_t mask) {
    return RegisterReport(0xF1, 2, mask, 0, {});
}

Bytes BracketReport(std::uint8_t value) {
    return RegisterReport(0xF5, value, 0, 0, {});
}

Bytes BlockWriteReport(std::uint16_t address, const Bytes& data) {
    Bytes report(1024, 0);
    report[0] = 4;
    report[1] = 0xF3;
    report[2] = Low(address);
    report[3] = High(address);
    report[4] = 200;
    std::copy(data.begin(), data.end(), report.begin() + 8);
    return report;
}

std::string HexOf(const Bytes& bytes) {
    std::string text;
    char digits[4];
    for (std::uint8_t byte : bytes) {
        std::snprintf(digits, sizeof digits, "%02x ", byte);
        text += digits;
    }
    return text;
}
