#pragma once

#include <array>
#include <cstdint>

// The mouse's configuration memory as the service addresses it, and the feature reports that
// reach it.
namespace MouseMemoryMap {

inline constexpr std::uint8_t kRegisterReport = 2;   // 16 bytes
inline constexpr std::uint8_t kBlockReadReport = 3;  // 64 bytes
inline constexpr std::uint8_t kBlockWriteReport = 4; // 1024 bytes
inline constexpr std::size_t kRegisterReportLength = 16;
inline constexpr std::size_t kBlockReadReportLength = 64;
inline constexpr std::size_t kBlockWriteReportLength = 1024;
inline constexpr std::size_t kReportHeaderLength = 8; // data start at byte 8
inline constexpr std::size_t kRegisterDataMax = 8;
inline constexpr std::size_t kBlockReadLength = 50;
inline constexpr std::size_t kBlockWriteLength = 200;

inline constexpr std::uint8_t kCommandCommit = 0xF1;
inline constexpr std::uint8_t kCommandRead = 0xF2;
inline constexpr std::uint8_t kCommandWrite = 0xF3;
inline constexpr std::uint8_t kCommandBracket = 0xF5;

// Commit groups.
inline constexpr std::uint8_t kCommitButtons = 0x01; // profile register, button assignments
inline constexpr std::uint8_t kCommitDpi = 0x02;
inline constexpr std::uint8_t kCommitLighting = 0x04;
inline constexpr std::uint8_t kCommitPolling = 0x08; // polling rate, register 0x002A
inline constexpr std::uint8_t kCommitAll = 0x0E;

inline constexpr std::uint16_t kInitialisedFlag = 0x0000;
inline constexpr std::uint16_t kDoubleClickSpeed = 0x002A;
inline constexpr std::uint16_t kProfileRegister = 0x002C;
inline constexpr std::uint16_t kLightingFixed = 0x002E;
inline constexpr std::uint16_t kPollingRate = 0x0032;
inline constexpr std::uint16_t kPollingRateSecond = 0x0038;
inline constexpr std::uint16_t kRegister3E = 0x003E;
inline constexpr std::uint16_t kDpiStages = 0x0044; // stage i at + 6 * i
inline constexpr std::uint16_t kRegisterEA = 0x00EA;
inline constexpr std::uint16_t kLightingClear = 0x0446;
inline constexpr std::uint16_t kLighting = 0x0449;
inline constexpr std::uint16_t kMacroSlots = 0x0478; // slot s at + 200 * s

inline constexpr int kDpiStageCount = 4;
inline constexpr int kMacroPositions = 6;
inline constexpr std::array<std::uint16_t, 5> kProfileBases{0x0040, 0x0100, 0x01B0, 0x0260, 0x0310};
// Device slot of each button 0..7 when sending.
inline constexpr std::array<int, 8> kButtonSlots{0, 1, 2, 3, 4, 5, 10, 11};

constexpr std::uint16_t CurrentDpiStageAddress(int profile) {
    return static_cast<std::uint16_t>(kProfileBases[static_cast<std::size_t>(profile)] + 2);
}
constexpr std::uint16_t DpiStageAddress(int stage) {
    return static_cast<std::uint16_t>(kDpiStages + 6 * stage);
}
// Buttons always go to profile 0's addresses.
constexpr std::uint16_t ButtonAddress(int button) {
    return static_cast<std::uint16_t>(kProfileBases[0] + 0x42 +
                                      4 * kButtonSlots[static_cast<std::size_t>(button)]);
}
// Macro device slot of a "MACRO_LIST" position: slot 2 is never used.
constexpr int MacroDeviceSlot(int position) {
    return position < 2 ? position : position + 1;
}
constexpr std::uint16_t MacroAddress(int position) {
    return static_cast<std::uint16_t>(kMacroSlots + 200 * MacroDeviceSlot(position));
}

} // namespace MouseMemoryMap
