#include "config/dialogs/XShoot/XShootEntry.h"

#include "config/core/KeyPositionNames.h"
#include "config/dialogs/NumberClamp.h"
#include "shared/codes/CodeTables.h"

#include <windows.h>

namespace XShootEntry {

namespace {
constexpr std::uint8_t kLeftCode = 0x81;
constexpr std::uint8_t kRightCode = 0x82;
constexpr std::uint8_t kMiddleCode = 0x84;
constexpr size_t kCodeByte = 1;
} // namespace

Values Read(const ButtonAssignment& entry) {
    Values values;
    if (entry.FunctionCode != kFunctionCode) {
        return values;
    }
    values.first = NumberClamp::Clamp(entry.Param1, kLowest, kHighest);
    values.second = NumberClamp::Clamp(entry.Param2, kLowest, kHighest);
    values.code = entry.Data[kCodeByte];
    switch (values.code) {
    case kLeftCode:
        values.choice = 1;
        break;
    case kRightCode:
        values.choice = 2;
        break;
    case kMiddleCode:
        values.choice = 3;
        break;
    default:
        values.choice = 4;
        break;
    }
    return values;
}

std::wstring KeyText(const Values& values) {
    switch (values.choice) {
    case 1:
        return L"Left";
    case 2:
        return L"Right";
    case 3:
        return L"Middle";
    default:
        break;
    }
    // A key's virtual-key code is no character for punctuation keys; its name is.
    return KeyPositionNames::SingleKeyNameOfUsage(values.code, KeyNameCase::Upper);
}

std::uint8_t CodeOfChoice(int choice) {
    switch (choice) {
    case 1:
        return kLeftCode;
    case 2:
        return kRightCode;
    case 3:
        return kMiddleCode;
    default:
        return 0;
    }
}

std::uint8_t CodeOfCharacter(wchar_t c) {
    const SHORT scan = VkKeyScanW(c);
    if (scan == -1) {
        return 0;
    }
    std::uint32_t usage = 0;
    KeyCodeMap_LookupForward(static_cast<std::uint32_t>(scan & 0xFF), usage);
    return static_cast<std::uint8_t>(usage);
}

void Write(int first, int second, std::uint8_t code, ButtonAssignment& entry) {
    entry.FunctionCode = kFunctionCode;
    entry.Param1 = static_cast<std::uint8_t>(NumberClamp::Clamp(first, kLowest, kHighest));
    entry.Param2 = static_cast<std::uint8_t>(NumberClamp::Clamp(second, kLowest, kHighest));
    entry.Data.fill(0);
    entry.Data[kCodeByte] = code;
}

} // namespace XShootEntry
