#include "service/CSettingsSender.h"

#include "service/MouseEncoding.h"
#include "service/MouseMemoryMap.h"
#include "shared/codes/MacroFile.h"
#include "shared/store/CDataFolderLock.h"
#include "shared/store/CIniFile.h"
#include "shared/store/CIniSection.h"

#include <array>
#include <chrono>
#include <cwchar>
#include <functional>
#include <vector>

using namespace MouseMemoryMap;

namespace {

constexpr wchar_t kMacroListSection[] = L"MACRO_LIST";
constexpr int kWheelLinesMax = 100;
// System pointer speed of each "Acceleration" step 1 to 11.
constexpr std::array<UINT, 11> kPointerSpeeds{1, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20};

std::uint8_t Low(int value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

bool InRange(int value, int low, int high) {
    return value >= low && value <= high;
}

void PauseAtLeast(DWORD milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (auto now = std::chrono::steady_clock::now(); now < end;
         now = std::chrono::steady_clock::now()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - now);
        Sleep(static_cast<DWORD>(left.count()));
    }
}

} // namespace

CSettingsSender::CSettingsSender(CFeatureReports& reports, const SettingsRecord& settings,
                                 std::wstring settingsPath, std::wstring macroFolder)
    : reports_(reports), settings_(settings), settingsPath_(std::move(settingsPath)),
      macroFolder_(std::move(macroFolder)),
      systemParameters_([](UINT action, UINT param, PVOID value, UINT flags) {
          return SystemParametersInfoW(action, param, value, flags);
      }) {}

void CSettingsSender::SetPaths(std::wstring settingsPath, std::wstring macroFolder) {
    settingsPath_ = std::move(settingsPath);
    macroFolder_ = std::move(macroFolder);
}

int CSettingsSender::WriteThenCommit(std::uint16_t address, std::span<const std::uint8_t> data,
                                     bool valid, bool commit, std::uint8_t group) {
    const auto lock = reports_.Lock();
    if (!reports_.IsOpen()) {
        return 0;
    }
    bool sent = true;
    if (valid) {
        sent = reports_.WriteRegister(address, data);
    }
    if (commit) {
        sent = reports_.Commit(group) && sent;
    }
    return sent ? 1 : 0;
}

std::optional<CSettingsSender::MacroNames>
CSettingsSender::ListedMacros(const std::wstring& settingsPath) {
    MacroNames names;
    if (settingsPath.empty()) {
        return names;
    }
    const CIniSection list(CIniFile(settingsPath), kMacroListSection);
    if (!list.Readable()) {
        return std::nullopt;
    }
    for (int position = 0; position < kMacroPositions; ++position) {
        names[static_cast<std::size_t>(position)] = list.ReadString(std::to_wstring(position), L"");
    }
    return names;
}

bool CSettingsSender::ReadMacroList() {
    macroList_ = ListedMacros(settingsPath_);
    return macroList_.has_value();
}

int CSettingsSender::SendUpdateBracket(int value) {
    if (value == 1) {
        macroList_.reset();
        macro_.reset();
    }
    if (!reports_.IsOpen() || !InRange(value, 0, 1)) {
        return 0;
    }
    reports_.Bracket(static_cast<std::uint8_t>(value));
    PauseAtLeast(kBracketPauseMilliseconds);
    return 1;
}

int CSettingsSender::ClearRegister3E() {
    const std::array<std::uint8_t, 2> zero{};
    return WriteThenCommit(kRegister3E, zero, true, false, 0);
}

int CSettingsSender::SendPollingRate(bool commit) {
    const auto lock = reports_.Lock();
    if (!reports_.IsOpen()) {
        return 0;
    }
    const int rate = settings_.PollingRate;
    bool sent = true;
    if (InRange(rate, 1, 8)) {
        const std::uint8_t code = Low(rate);
        const std::array<std::uint8_t, 6> three{code, 0, code, 0, code, 0};
        const std::array<std::uint8_t, 4> two{code, 0, code, 0};
        sent = reports_.WriteRegister(kPollingRate, three);
        sent = reports_.WriteRegister(kPollingRateSecond, two) && sent;
    }
    if (commit) {
        sent = reports_.Commit(kCommitPolling) && sent;
    }
    return sent ? 1 : 0;
}

void CSettingsSender::NotifySettingChange(UINT action) const {
    if (owner_ != nullptr) {
        SendMessageW(owner_, WM_SETTINGCHANGE, action, 0);
    }
}

int CSettingsSender::ApplyWheelScrollLines() {
    UINT lines = 0;
    if (settings_.UniversalScrollEnabled == 1) {
        lines = WHEEL_PAGESCROLL;
    } else if (InRange(settings_.WheelScrollLines, 1, kWheelLinesMax)) {
        lines = static_cast<UINT>(settings_.WheelScrollLines);
    } else {
        return 0;
    }
    // Setting the value the system already holds would only cost a broadcast to every window.
    UINT current = 0;
    if (systemParameters_(SPI_GETWHEELSCROLLLINES, 0, &current, 0) && current == lines) {
        return 1;
    }
    systemParameters_(SPI_SETWHEELSCROLLLINES, lines, nullptr,
                      SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    NotifySettingChange(SPI_SETWHEELSCROLLLINES);
    return 1;
}

int CSettingsSender::ApplyPointerSpeed() {
    const int step = settings_.Acceleration;
    if (!InRange(step, 1, static_cast<int>(kPointerSpeeds.size()))) {
        return 0;
    }
    const UINT speed = kPointerSpeeds[static_cast<std::size_t>(step - 1)];
    // A refused speed leaves the system's own; there is nothing to tell anybody.
    systemParameters_(SPI_SETMOUSESPEED, 0, reinterpret_cast<PVOID>(static_cast<UINT_PTR>(speed)),
                      SPIF_SENDCHANGE);
    NotifySettingChange(SPI_SETMOUSESPEED);
    return 1;
}

int CSettingsSender::CurrentProfile() const {
    return guard_ != nullptr ? guard_->Profile() : settings_.Profile;
}

int CSettingsSender::SendCurrentDpiStage(bool commit) {
    const int profile = CurrentProfile();
    const int stage = settings_.DPI;
    const bool valid = InRange(profile, 0, static_cast<int>(kProfileBases.size()) - 1) &&
                       InRange(stage, 0, kDpiStageCount - 1);
    const std::array<std::uint8_t, 1> data{Low(stage)};
    return WriteThenCommit(valid ? CurrentDpiStageAddress(profile) : 0, data, valid, commit,
                           kCommitDpi);
}

int CSettingsSender::SendDpiStage(int stage, bool commit) {
    if (!InRange(stage, 0, kDpiStageCount - 1)) {
        return 0;
    }
    const auto encoded = EncodeDpiStage(settings_.DPI_INFO[static_cast<std::size_t>(stage)][1]);
    const std::array<std::uint8_t, 5> data = encoded.value_or(std::array<std::uint8_t, 5>{});
    return WriteThenCommit(DpiStageAddress(stage), data, encoded.has_value(), commit, kCommitDpi);
}

int CSettingsSender::SendDoubleClickSpeedRegister(bool commit) {
    const int speed = settings_.DoubleClickSpeed;
    const std::array<std::uint8_t, 1> data{Low(speed)};
    return WriteThenCommit(kDoubleClickSpeed, data, InRange(speed, 0, 255), commit, kCommitPolling);
}

int CSettingsSender::ResetProfileRegister(bool commit) {
    const std::array<std::uint8_t, 2> zero{};
    return WriteThenCommit(kProfileRegister, zero, true, commit, kCommitButtons);
}

std::wstring CSettingsSender::MacroName(int position) const {
    if (macroList_) {
        return (*macroList_)[static_cast<std::size_t>(position)];
    }
    if (settingsPath_.empty()) {
        return {};
    }
    return CIniFile(settingsPath_).ReadString(kMacroListSection, std::to_wstring(position), L"");
}

std::optional<int> CSettingsSender::MacroDeviceSlotOf(const std::wstring& name) const {
    if (name.empty()) {
        return std::nullopt;
    }
    const MacroNames names =
        macroList_ ? *macroList_ : ListedMacros(settingsPath_).value_or(MacroNames{});
    for (int position = 0; position < kMacroPositions; ++position) {
        const std::wstring& listed = names[static_cast<std::size_t>(position)];
        if (CompareStringOrdinal(listed.c_str(), static_cast<int>(listed.size()), name.c_str(),
                                 static_cast<int>(name.size()), TRUE) == CSTR_EQUAL) {
            return MacroDeviceSlot(position);
        }
    }
    return std::nullopt;
}

int CSettingsSender::SendButtonAssignment(int profile, int button) {
    if (!InRange(profile, 0, static_cast<int>(kProfileBases.size()) - 1) ||
        !InRange(button, 0, kButtonCount - 1) || !reports_.IsOpen()) {
        return 0;
    }
    const ButtonAssignment& entry = settings_.ButtonAssigned[static_cast<std::size_t>(button)];
    std::optional<int> macroSlot;
    if (entry.FunctionCode == 6) {
        macroSlot = MacroDeviceSlotOf(
            std::wstring(entry.Text.data(), wcsnlen(entry.Text.data(), entry.Text.size())));
    }
    const auto encoded = EncodeButtonAssignment(entry, profile, button, macroSlot);
    if (!encoded) {
        return 0;
    }
    return reports_.WriteRegister(ButtonAddress(button), *encoded) ? 1 : 0;
}

int CSettingsSender::SendLighting(int, int variant) {
    const auto lock = reports_.Lock();
    if (!reports_.IsOpen()) {
        return 0;
    }
    const std::array<std::uint8_t, 2> zero{};
    const std::array<std::uint8_t, 4> fixed{0x02, 0x80, 0x03, 0x80};
    bool sent = reports_.WriteRegister(kLightingClear, zero);
    // A file without a usable colour or mode entry leaves the mouse's lighting as it is.
    if (const auto lighting = EncodeLighting(settings_, variant)) {
        sent = reports_.WriteRegister(kLighting, *lighting) && sent;
    }
    sent = reports_.WriteRegister(kLightingFixed, fixed) && sent;
    sent = reports_.Commit(kCommitLighting) && sent;
    return sent ? 1 : 0;
}

int CSettingsSender::SendRegisterEA(int key) {
    if (key != kRegisterEAKey && key != 0) {
        return 0;
    }
    const std::array<std::uint8_t, 2> ones{0xFF, 0xFF};
    return WriteThenCommit(kRegisterEA, ones, true, false, 0);
}

int CSettingsSender::CommitAll() {
    return reports_.Commit(kCommitAll) ? 1 : 0;
}

int CSettingsSender::SendAll2Mouse() {
    // A report the mouse refuses ends the upload: the rest would leave the mouse half configured
    // and be answered as applied. Without the mouse nothing is refused.
    const unsigned refusedBefore = reports_.Refusals();
    std::vector<std::function<void()>> steps = {
        [this] { ClearRegister3E(); },
        [this] { SendPollingRate(false); },
        [this] { ApplyWheelScrollLines(); },
        [this] { SendCurrentDpiStage(false); },
    };
    for (int stage = 0; stage < kDpiStageCount; ++stage) {
        steps.push_back([this, stage] { SendDpiStage(stage, false); });
    }
    steps.push_back([this] { SendDoubleClickSpeedRegister(true); });
    steps.push_back([this] { ResetProfileRegister(true); });
    for (int button = 0; button < kButtonCount; ++button) {
        steps.push_back([this, button] { SendButtonAssignment(0, button); });
    }
    steps.push_back([this] { SendRegisterEA(kRegisterEAKey); });
    for (const std::uint8_t group : {kCommitButtons, kCommitDpi, kCommitButtons}) {
        steps.push_back([this, group] { reports_.Commit(group); });
    }
    for (const std::function<void()>& step : steps) {
        step();
        if (reports_.Refusals() != refusedBefore) {
            OutputDebugStringW(L"SendAll2Mouse refused by the mouse\n");
            return 0;
        }
    }
    OutputDebugStringW(L"SendAll2Mouse\n");
    return 1;
}

bool CSettingsSender::ReadMacroEvents(int position, MacroEvents& read) const {
    read = MacroEvents{};
    const auto file = MacroFile::ForName(macroFolder_, MacroName(position));
    // A missing file or name leaves the slot empty; one that cannot be read now sends nothing.
    return !file || file->ReadEvents(read.Events, read.Count) != MacroFile::ReadResult::Unreadable;
}

bool CSettingsSender::ReadMacro(int position) {
    if (!InRange(position, 0, kMacroPositions - 1)) {
        return false;
    }
    // The list and the file as one version: a rename in between would send another's events.
    const CDataFolderLock lock;
    MacroEvents read;
    if (!lock || !ReadMacroList() || !ReadMacroEvents(position, read)) {
        return false;
    }
    macro_.emplace(position, read);
    return true;
}

int CSettingsSender::UploadAll() {
    const unsigned refusedBefore = reports_.Refusals();
    SendUpdateBracket(0);
    const bool sent =
        reports_.Refusals() == refusedBefore && SendAll2Mouse() != 0 && CommitAll() != 0;
    SendUpdateBracket(1);
    // The closing bracket ends the update on the mouse: refused, the mouse has not taken it.
    return sent && reports_.Refusals() == refusedBefore ? 1 : 0;
}

int CSettingsSender::SendMacro(int position, bool clear) {
    if (!InRange(position, 0, kMacroPositions - 1) || !reports_.IsOpen()) {
        return 0;
    }
    std::array<std::uint8_t, kBlockWriteLength> data{};
    if (!clear) {
        MacroEvents read;
        if (macro_ && macro_->first == position) {
            read = macro_->second;
        } else if (!ReadMacroEvents(position, read)) {
            return 0;
        }
        data = EncodeMacroSlot(read.Events, read.Count);
    }
    return reports_.BlockWrite(MacroAddress(position), data) ? 1 : 0;
}
