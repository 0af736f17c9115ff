#include "tests/service/hidsim/CSimulatedMouse.h"

#include "tests/service/hidsim/SettingValues.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr std::uint8_t CommandCommit = 0xF1;
constexpr std::uint8_t CommandRead = 0xF2;
constexpr std::uint8_t CommandWrite = 0xF3;
constexpr std::uint8_t CommandBracket = 0xF5;
constexpr std::size_t HeaderLength = 8;
constexpr std::size_t DoubleClickSpeedRegister = 0x002A;
constexpr std::array<std::size_t, 5> ProfileBases{0x0040, 0x0100, 0x01B0, 0x0260, 0x0310};

bool Within(std::size_t address, std::size_t first, std::size_t end) {
    return address >= first && address < end;
}

// Names of the commit groups, lowest bit first.
std::string GroupNames(unsigned groups) {
    constexpr std::array<const char*, 4> Names{"buttons", "DPI", "lighting", "polling rate"};
    std::string text;
    for (std::size_t bit = 0; bit < Names.size(); ++bit) {
        if ((groups & (1u << bit)) != 0) {
            text += text.empty() ? "" : ", ";
            text += Names[bit];
        }
    }
    return text;
}

// At most 16 bytes in hex; a block write would fill a screen.
std::string ShortHex(std::span<const std::uint8_t> bytes) {
    constexpr std::size_t Shown = 16;
    std::string text;
    char digits[4];
    for (std::size_t i = 0; i < bytes.size() && i < Shown; ++i) {
        std::snprintf(digits, sizeof digits, i == 0 ? "%02x" : " %02x", bytes[i]);
        text += digits;
    }
    if (bytes.size() > Shown) {
        text += " ... (" + std::to_string(bytes.size() - Shown) + " more)";
    }
    return text;
}

} // namespace

CSimulatedMouse::CSimulatedMouse() : memory_(MemorySize, 0) {}

std::size_t CSimulatedMouse::ReportLength(std::uint8_t reportId) {
    switch (reportId) {
    case 2:
        return 16;
    case 3:
        return 64;
    case 4:
        return 1024;
    default:
        return 0;
    }
}

unsigned CSimulatedMouse::GroupOf(std::size_t address) {
    if (address == DoubleClickSpeedRegister || Within(address, 0x0032, 0x003C)) {
        return 0x08;
    }
    if (Within(address, 0x002C, 0x002E)) {
        return 0x01;
    }
    if (Within(address, 0x002E, 0x0032) || Within(address, 0x0446, 0x0450)) {
        return 0x04;
    }
    for (std::size_t base : ProfileBases) {
        if (Within(address, base + 2, base + 0x1C)) {
            return 0x02;
        }
        if (Within(address, base + 0x42, base + 0x42 + 4 * 12)) {
            return 0x01;
        }
    }
    return 0;
}

bool CSimulatedMouse::Write(std::size_t address, std::span<const std::uint8_t> bytes) {
    if (address + bytes.size() > MemorySize) {
        return false;
    }
    std::copy(bytes.begin(), bytes.end(), memory_.begin() + static_cast<std::ptrdiff_t>(address));
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        pendingGroups_ |= GroupOf(address + i);
    }
    return true;
}

bool CSimulatedMouse::Receive(std::span<const std::uint8_t> report) {
    if (report.size() < HeaderLength || report.size() != ReportLength(report[0])) {
        return false;
    }
    const std::uint8_t id = report[0];
    const std::uint8_t command = report[1];
    const std::uint16_t address = static_cast<std::uint16_t>(report[2] | (report[3] << 8));
    const std::uint8_t count = report[4];
    switch (command) {
    case CommandWrite:
        if (id == 2 && count >= 1 && count <= 8) {
            return Write(address, report.subspan(HeaderLength, count));
        }
        if (id == 4 && count == 200) {
            return Write(address, report.subspan(HeaderLength, count));
        }
        return false;
    case CommandRead:
        if (id == 4 || count == 0 || count > report.size() - HeaderLength ||
            address + count > MemorySize) {
            return false;
        }
        requests_[id] = {true, address, count};
        return true;
    case CommandCommit:
        if (id != 2) {
            return false;
        }
        pendingGroups_ &= ~static_cast<unsigned>(report[3]);
        commits_.push_back(report[3]);
        return true;
    case CommandBracket:
        if (id != 2 || report[2] > 1) {
            return false;
        }
        inBracket_ = report[2] == 0;
        return true;
    default:
        return false;
    }
}

std::string CSimulatedMouse::Describe(std::span<const std::uint8_t> report, bool reply,
                                      const std::wstring& languageFile) {
    if (report.size() < HeaderLength || ReportLength(report[0]) == 0) {
        return "unknown report: " + ShortHex(report);
    }
    const std::uint16_t address = static_cast<std::uint16_t>(report[2] | (report[3] << 8));
    const std::size_t count = std::min<std::size_t>(report[4], report.size() - HeaderLength);
    const auto data = report.subspan(HeaderLength, count);
    char head[64];
    switch (report[1]) {
    case CommandWrite:
    case CommandRead: {
        const bool write = report[1] == CommandWrite;
        if (!write && !reply) {
            std::snprintf(head, sizeof head, "read request 0x%04X, %u bytes", address, report[4]);
            return head;
        }
        std::snprintf(head, sizeof head, "%s 0x%04X, %zu byte%s", write ? "write" : "reply",
                      address, count, count == 1 ? "" : "s");
        unsigned groups = 0;
        for (std::size_t i = 0; i < count; ++i) {
            groups |= GroupOf(address + i);
        }
        // The double-click speed shares the polling rate's commit group, not its name.
        const std::string names = address == DoubleClickSpeedRegister && count == 1
                                      ? std::string("double-click speed")
                                      : GroupNames(groups);
        const std::string values = SettingValues(address, data, languageFile);
        return std::string(head) + (names.empty() ? "" : " (" + names + ")") + ": " +
               ShortHex(data) + (values.empty() ? "" : " = " + values);
    }
    case CommandCommit:
        return "commit " + (GroupNames(report[3]).empty() ? "nothing" : GroupNames(report[3]));
    case CommandBracket:
        return report[2] == 0 ? "update begins" : "update ends";
    default:
        return reply ? "empty reply" : "unknown command: " + ShortHex(report.first(HeaderLength));
    }
}

std::vector<std::uint8_t> CSimulatedMouse::Reply(std::uint8_t reportId) const {
    std::vector<std::uint8_t> reply(ReportLength(reportId), 0);
    if (reply.empty()) {
        return reply;
    }
    reply[0] = reportId;
    const ReadRequest& request = requests_[reportId];
    if (!request.Made) {
        return reply;
    }
    reply[1] = CommandRead;
    reply[2] = static_cast<std::uint8_t>(request.Address & 0xFF);
    reply[3] = static_cast<std::uint8_t>(request.Address >> 8);
    reply[4] = request.Count;
    std::copy_n(memory_.begin() + request.Address, request.Count, reply.begin() + HeaderLength);
    return reply;
}

void CSimulatedMouse::Blank() {
    std::fill(memory_.begin(), memory_.end(), 0);
    requests_ = {};
    pendingGroups_ = 0;
    commits_.clear();
    inBracket_ = false;
}

void CSimulatedMouse::Load(std::size_t address, std::span<const std::uint8_t> bytes) {
    const std::size_t count = std::min(bytes.size(), MemorySize - std::min(address, MemorySize));
    std::copy_n(bytes.begin(), count, memory_.begin() + static_cast<std::ptrdiff_t>(address));
}

std::vector<std::uint8_t> CSimulatedMouse::Read(std::size_t address, std::size_t count) const {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = address; i < address + count && i < MemorySize; ++i) {
        bytes.push_back(memory_[i]);
    }
    return bytes;
}
