#include "service/CMouseReadBack.h"

#include "service/MouseDecoding.h"
#include "service/MouseMemoryMap.h"
#include "service/PeerWindows.h"
#include "service/ServiceMessages.h"
#include "shared/codes/MacroFile.h"
#include "shared/lang/ReadXmlValue.h"
#include "shared/store/CIniFile.h"
#include "shared/store/IniTextRules.h"
#include "shared/store/SettingsIni.h"

#include <algorithm>
#include <cstring>

using namespace MouseMemoryMap;

namespace {

constexpr wchar_t kMacroListSection[] = L"MACRO_LIST";
constexpr std::size_t kMacroImageLength = 200;
constexpr std::size_t kMacroEventBytes = sizeof(MacroEventBuffer);
// The part of a macro compared with the built-in macros.
constexpr std::size_t kDefaultCompareLength = 120;
constexpr int kMaxNewMacroNumber = 1000;

// The macros the mouse comes with, by position: a macro read back that begins with one of them
// is marked as the default one.
constexpr std::array<std::uint8_t, 17> kBuiltInMacro0{0x84, 0x2C, 0x00, 0x84, 0x06, 0x00,
                                                      0x06, 0x06, 0x00, 0x04, 0x2C, 0x00,
                                                      0x06, 0x16, 0x00, 0x04, 0x06};
constexpr std::array<std::uint8_t, 12> kBuiltInMacro1{0x84, 0x1A, 0x00, 0x06, 0x0F, 0x00,
                                                      0x84, 0xE1, 0x00, 0x06, 0xFF, 0xFF};
constexpr std::array<std::uint8_t, 119> kBuiltInMacro2{
    0x81, 0x01, 0x00, 0x06, 0x02, 0x00, 0x01, 0x01, 0x00, 0x81, 0x01, 0x00, 0x06, 0x01, 0x00,
    0x81, 0x01, 0x00, 0x02, 0x00, 0x15, 0x06, 0x07, 0x00, 0x01, 0x01, 0x00, 0x06, 0x03, 0x00,
    0x81, 0x01, 0x00, 0x06, 0x03, 0x00, 0x01, 0x01, 0x00, 0x81, 0x01, 0x00, 0x06, 0x02, 0x00,
    0x81, 0x01, 0x00, 0x02, 0x00, 0x14, 0x06, 0x06, 0x00, 0x01, 0x01, 0x00, 0x06, 0x05, 0x00,
    0x81, 0x01, 0x00, 0x06, 0x01, 0x00, 0x01, 0x01, 0x00, 0x81, 0x01, 0x00, 0x06, 0x01, 0x00,
    0x81, 0x01, 0x00, 0x02, 0x00, 0x14, 0x06, 0x06, 0x00, 0x01, 0x01, 0x00, 0x06, 0x02, 0x00,
    0x81, 0x01, 0x00, 0x06, 0x02, 0x00, 0x01, 0x01, 0x00, 0x81, 0x01, 0x00, 0x06, 0x03, 0x00,
    0x81, 0x01, 0x00, 0x02, 0x00, 0x16, 0x06, 0x07, 0x00, 0x01, 0x01, 0x00, 0x06, 0x01};
constexpr std::array<std::uint8_t, 14> kBuiltInMacro3{0x81, 0x01, 0x00, 0x06, 0x01, 0x00, 0x02,
                                                      0x00, 0x16, 0x06, 0x0C, 0x00, 0x01, 0x01};
static_assert(kBuiltInMacro2.size() <= kDefaultCompareLength);

// The built-in macro of a position, 180 bytes with zeros after the listed ones.
std::optional<std::array<std::uint8_t, kMacroEventBytes>> BuiltInMacro(int position) {
    std::span<const std::uint8_t> bytes;
    switch (position) {
    case 0:
        bytes = kBuiltInMacro0;
        break;
    case 1:
        bytes = kBuiltInMacro1;
        break;
    case 2:
        bytes = kBuiltInMacro2;
        break;
    case 3:
        bytes = kBuiltInMacro3;
        break;
    default:
        return std::nullopt;
    }
    std::array<std::uint8_t, kMacroEventBytes> image{};
    std::ranges::copy(bytes, image.begin());
    return image;
}

bool InRange(int value, int low, int high) {
    return value >= low && value <= high;
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

CMouseReadBack::CMouseReadBack(CFeatureReports& reports, CSettingsSender& sender,
                               SettingsRecord& settings, const CSettingsGuard& guard)
    : reports_(reports), sender_(sender), settings_(settings), guard_(guard),
      postToConfig_([](UINT message, WPARAM wParam, LPARAM lParam) {
          return PostToWindow(kConfigWindowTitle, message, wParam, lParam);
      }) {}

void CMouseReadBack::SetPaths(std::wstring settingsPath, std::wstring macroFolder,
                              std::wstring stringsPath) {
    settingsPath_ = std::move(settingsPath);
    macroFolder_ = std::move(macroFolder);
    stringsPath_ = std::move(stringsPath);
}

bool CMouseReadBack::ReadProfileRegister(SettingsRecord& record) {
    std::array<std::uint8_t, 1> value{};
    if (!reports_.ReadRegister(kProfileRegister, value)) {
        return false;
    }
    // Only profile 0 is ever written to the mouse: a register that could not be reset fails
    // the read like any other transfer.
    if (value[0] != 0 && sender_.ResetProfileRegister(true) == 0) {
        return false;
    }
    record.Profile = 0;
    return true;
}

bool CMouseReadBack::ReadPollingRate(SettingsRecord& record) {
    std::array<std::uint8_t, 1> value{};
    if (!reports_.ReadRegister(kPollingRate, value)) {
        return false;
    }
    record.PollingRate = value[0];
    return true;
}

bool CMouseReadBack::ReadDpiStages(SettingsRecord& record) {
    std::array<std::uint8_t, 1> current{};
    if (!reports_.ReadRegister(CurrentDpiStageAddress(0), current)) {
        return false;
    }
    std::array<std::array<std::uint8_t, 5>, kDpiStageCount> stages{};
    for (int stage = 0; stage < kDpiStageCount; ++stage) {
        if (!reports_.ReadRegister(DpiStageAddress(stage),
                                   stages[static_cast<std::size_t>(stage)])) {
            return false;
        }
    }
    record.DPI = current[0];
    for (std::size_t stage = 0; stage < stages.size(); ++stage) {
        // [1, code, range, code, range]: X and Y are the same.
        const std::optional<int> value = DecodeDpiStage(stages[stage][1], stages[stage][2]);
        if (value) {
            record.DPI_INFO[stage] = {0, *value, *value, *value};
        }
    }
    return true;
}

bool CMouseReadBack::ReadDoubleClickSpeedRegister(SettingsRecord& record) {
    std::array<std::uint8_t, 1> value{};
    if (!reports_.ReadRegister(kDoubleClickSpeed, value)) {
        return false;
    }
    record.DoubleClickSpeed = value[0];
    return true;
}

bool CMouseReadBack::ReadButtonAssignment(SettingsRecord& record, int profile, int button,
                                          const MacroNames& macroNames) {
    if (!InRange(profile, 0, static_cast<int>(kProfileBases.size()) - 1) ||
        !InRange(button, 0, kButtonCount - 1)) {
        return false;
    }
    // The slots the sender writes the buttons to.
    const auto address =
        static_cast<std::uint16_t>(kProfileBases[static_cast<std::size_t>(profile)] + 0x42 +
                                   4 * kButtonSlots[static_cast<std::size_t>(button)]);
    std::array<std::uint8_t, 4> data{};
    if (!reports_.ReadRegister(address, data)) {
        return false;
    }
    DecodeButtonAssignment(data, macroNames,
                           record.ButtonAssigned[static_cast<std::size_t>(button)]);
    return true;
}

int CMouseReadBack::InitDeviceIfBlank() {
    std::array<std::uint8_t, 1> prepared{};
    if (!reports_.ReadRegister(kInitialisedFlag, prepared)) {
        return 0;
    }
    if (prepared[0] != 0) {
        return 1;
    }
    sender_.SendMacro(0, true);
    Sleep(kClearPauseMilliseconds);
    sender_.SendMacro(1, true);
    Sleep(kClearPauseMilliseconds);
    sender_.SendMacro(2, true);
    const std::array<std::uint8_t, 1> one{1};
    reports_.WriteRegister(kInitialisedFlag, one);
    return 1;
}

std::optional<CMouseReadBack::MacroImage> CMouseReadBack::ReadMacroImage(int position) {
    if (!InRange(position, 0, kMacroPositions - 1)) {
        return std::nullopt;
    }
    std::array<std::uint8_t, kMacroImageLength> bytes{};
    const std::uint16_t base = MacroAddress(position);
    for (std::size_t part = 0; part < kMacroImageLength; part += kBlockReadLength) {
        if (!reports_.BlockRead(
                static_cast<std::uint16_t>(base + part),
                std::span<std::uint8_t, kBlockReadLength>(bytes.data() + part, kBlockReadLength))) {
            return std::nullopt;
        }
    }
    MacroImage image;
    MacroEventBuffer all{};
    std::memcpy(all.data(), bytes.data(), kMacroEventBytes);
    image.Count = CountEventsUntilEnd(all);
    std::copy_n(all.begin(), image.Count, image.Events.begin());
    if (const auto builtIn = BuiltInMacro(position)) {
        image.IsDefault =
            std::equal(bytes.begin(), bytes.begin() + kDefaultCompareLength, builtIn->begin());
    }
    return image;
}

std::wstring CMouseReadBack::NewMacroBaseName() const {
    std::wstring base = ReadXmlValue(stringsPath_, L"BUTTONPAGE", L"NEWMACRO");
    // A name that cannot become a file name is as good as none.
    if (base.empty() || !MacroFile::ForName(macroFolder_, base + L"1")) {
        base = kFallbackMacroName;
    }
    return base;
}

std::wstring CMouseReadBack::NameForMacro(int position, const MacroNames& names) const {
    const std::wstring& listed = names[static_cast<std::size_t>(position)];
    if (!listed.empty()) {
        return listed;
    }
    const std::wstring base = NewMacroBaseName();
    for (int number = 1; number <= kMaxNewMacroNumber; ++number) {
        std::wstring name = base + std::to_wstring(number);
        const auto file = MacroFile::ForName(macroFolder_, name);
        if (!file || FileExists(file->Path()) ||
            std::ranges::any_of(
                names, [&](const std::wstring& other) { return EqualNoCase(other, name); })) {
            continue;
        }
        return name;
    }
    return {};
}

bool CMouseReadBack::WriteMacro(int position, const std::wstring& name, bool listed,
                                const MacroImage& image) const {
    const auto file = MacroFile::ForName(macroFolder_, name);
    if (!file) {
        return false;
    }
    // The loop setting is the user's; the mouse does not hold it.
    file->Write(image.Events, image.Count, file->ReadLoopTime(), image.IsDefault);
    if (!listed) {
        CIniFile(settingsPath_).WriteString(kMacroListSection, std::to_wstring(position), name);
    }
    return true;
}

bool CMouseReadBack::ReadMacro(int position) {
    const std::optional<MacroImage> image = ReadMacroImage(position);
    if (!image) {
        return false;
    }
    // A list that could not be read would give every macro a new name.
    const std::optional<MacroNames> names = CSettingsSender::ListedMacros(settingsPath_);
    if (!names) {
        return false;
    }
    return WriteMacro(position, NameForMacro(position, *names),
                      !(*names)[static_cast<std::size_t>(position)].empty(), *image);
}

int CMouseReadBack::QueryAllFrMouse() {
    OutputDebugStringW(L"QueryAllFrMouse\n");
    if (settingsPath_.empty()) {
        return 0;
    }
    SettingsRecord read{};
    {
        const auto lock = guard_.Lock();
        read = settings_;
    }
    if (!ReadProfileRegister(read) || !ReadPollingRate(read) || !ReadDpiStages(read) ||
        !ReadDoubleClickSpeedRegister(read) || !InitDeviceIfBlank()) {
        return 0;
    }
    std::array<MacroImage, kMacroPositions> macros;
    for (int position = 0; position < kMacroPositions; ++position) {
        std::optional<MacroImage> image = ReadMacroImage(position);
        if (!image) {
            return 0;
        }
        macros[static_cast<std::size_t>(position)] = *image;
    }
    const std::optional<MacroNames> listed = CSettingsSender::ListedMacros(settingsPath_);
    if (!listed) {
        return 0;
    }
    MacroNames names = *listed;
    for (int position = 0; position < kMacroPositions; ++position) {
        names[static_cast<std::size_t>(position)] = NameForMacro(position, names);
    }
    for (int button = 0; button < kButtonCount; ++button) {
        if (!ReadButtonAssignment(read, 0, button, names)) {
            return 0;
        }
    }

    for (int position = 0; position < kMacroPositions; ++position) {
        const auto index = static_cast<std::size_t>(position);
        WriteMacro(position, names[index], !(*listed)[index].empty(), macros[index]);
    }
    // The firmware version is not read back.
    read.FWVersion = 0;
    {
        const auto lock = guard_.Lock();
        settings_ = read;
        SettingsIni_Write(settings_, settingsPath_);
    }
    OutputDebugStringW((settingsPath_ + L"\n").c_str());
    if (postToConfig_) {
        postToConfig_(kMsgServiceEvent, kEventReadBackDone, 0);
    }
    return 1;
}
