#include "service/CFeatureReports.h"

#include "service/MouseMemoryMap.h"

#include <algorithm>
#include <vector>

using namespace MouseMemoryMap;

namespace {

std::uint8_t Low(std::uint16_t address) {
    return static_cast<std::uint8_t>(address & 0xFF);
}
std::uint8_t High(std::uint16_t address) {
    return static_cast<std::uint8_t>(address >> 8);
}

} // namespace

bool CFeatureReports::Counted(bool sent) {
    if (!sent) {
        ++refusals_;
    }
    return sent;
}

bool CFeatureReports::SendRegister(std::uint8_t command, std::uint8_t byte2, std::uint8_t byte3,
                                   std::span<const std::uint8_t> data, std::uint8_t count) {
    const auto lock = Lock();
    hid_device* device = connection_.ControlDevice();
    if (device == nullptr) {
        return false;
    }
    std::array<std::uint8_t, kRegisterReportLength> report{};
    report[0] = kRegisterReport;
    report[1] = command;
    report[2] = byte2;
    report[3] = byte3;
    report[4] = count;
    std::copy(data.begin(), data.end(), report.begin() + kReportHeaderLength);
    return Counted(hid_send_feature_report(device, report.data(), report.size()) >= 0);
}

bool CFeatureReports::WriteRegister(std::uint16_t address, std::span<const std::uint8_t> data) {
    if (data.empty() || data.size() > kRegisterDataMax) {
        return false;
    }
    return SendRegister(kCommandWrite, Low(address), High(address), data,
                        static_cast<std::uint8_t>(data.size()));
}

bool CFeatureReports::Commit(std::uint8_t groupMask) {
    return SendRegister(kCommandCommit, 2, groupMask, {}, 0);
}

bool CFeatureReports::Bracket(std::uint8_t value) {
    return SendRegister(kCommandBracket, value, 0, {}, 0);
}

bool CFeatureReports::Request(std::uint8_t reportId, std::size_t length, std::uint16_t address,
                              std::span<std::uint8_t> data) {
    std::fill(data.begin(), data.end(), 0);
    const auto lock = Lock();
    hid_device* device = connection_.ControlDevice();
    if (device == nullptr) {
        return false;
    }
    std::vector<std::uint8_t> report(length, 0);
    report[0] = reportId;
    report[1] = kCommandRead;
    report[2] = Low(address);
    report[3] = High(address);
    report[4] = static_cast<std::uint8_t>(data.size());
    if (!Counted(hid_send_feature_report(device, report.data(), report.size()) >= 0)) {
        return false;
    }
    std::fill(report.begin(), report.end(), 0);
    report[0] = reportId;
    report[1] = kCommandRead;
    const int got = hid_get_feature_report(device, report.data(), report.size());
    if (!Counted(got >= static_cast<int>(kReportHeaderLength + data.size()) &&
                 report[0] == reportId)) {
        return false;
    }
    std::copy_n(report.begin() + kReportHeaderLength, data.size(), data.begin());
    return true;
}

bool CFeatureReports::ReadRegister(std::uint16_t address, std::span<std::uint8_t> data) {
    if (data.empty() || data.size() > kRegisterDataMax) {
        return false;
    }
    return Request(kRegisterReport, kRegisterReportLength, address, data);
}

bool CFeatureReports::BlockRead(std::uint16_t address, std::span<std::uint8_t, 50> data) {
    return Request(kBlockReadReport, kBlockReadReportLength, address, data);
}

bool CFeatureReports::BlockWrite(std::uint16_t address, std::span<const std::uint8_t, 200> data) {
    const auto lock = Lock();
    hid_device* device = connection_.ControlDevice();
    if (device == nullptr) {
        return false;
    }
    std::vector<std::uint8_t> report(kBlockWriteReportLength, 0);
    report[0] = kBlockWriteReport;
    report[1] = kCommandWrite;
    report[2] = Low(address);
    report[3] = High(address);
    report[4] = static_cast<std::uint8_t>(kBlockWriteLength);
    std::copy(data.begin(), data.end(), report.begin() + kReportHeaderLength);
    return Counted(hid_send_feature_report(device, report.data(), report.size()) >= 0);
}
