#pragma once

#include "service/CActionSystem.h"
#include "service/CInputReader.h"
#include "service/CSettingsGuard.h"
#include "service/CSettingsSender.h"

#include <cstdint>
#include <string>

// What the service does with each 8-byte input report of the mouse: device events (profile,
// DPI stage and lighting changed on the mouse) are passed on to the configuration program, and
// button reports launch the button's program, folder or web address or run a PC-side action.
// Runs on the reader thread that read the report; both readers may dispatch at the same time.
class CReportDispatcher {
public:
    static constexpr std::uint8_t kEventReport = 8;
    static constexpr std::uint8_t kEventProfile = 1;
    static constexpr std::uint8_t kEventDpiStage = 2;
    static constexpr std::uint8_t kEventLighting = 9;
    static constexpr std::uint8_t kFirstProgramSelector = 250;
    static constexpr std::uint8_t kFirstFolderSelector = 245;
    static constexpr std::uint8_t kFirstWebSelector = 240;
    static constexpr std::uint8_t kActionSelector = 255;
    static constexpr std::uint8_t kNextProfile = 23;
    static constexpr std::uint8_t kPreviousProfile = 24;

    CReportDispatcher(CActionSystem& system, CSettingsGuard& settings, CSettingsSender& sender)
        : system_(system), settings_(settings), sender_(sender) {}
    CReportDispatcher(const CReportDispatcher&) = delete;
    CReportDispatcher& operator=(const CReportDispatcher&) = delete;

    // "Mouse.ini", where a profile change is stored while the configuration program is closed.
    // Set before the readers start.
    void SetSettingsPath(std::wstring path) { settingsPath_ = std::move(path); }

    // The report handler of the readers; `channel` (0 or 1) only goes to the debug output.
    void DispatchInputReport(int channel, InputReport report);

    // The report's bytes as the debug output shows them: eight "%02x", then a line end.
    static std::wstring ReportBytesText(InputReport report);

private:
    enum class Target { Program, Folder, WebAddress };

    // True for the three device events, whether or not their value was taken.
    bool HandleDeviceEvent(std::uint8_t event, std::uint8_t value);
    void Launch(Target target, int profile, int button);
    void RunAction(std::uint8_t code);
    void StepProfile(int step);

    CActionSystem& system_;
    CSettingsGuard& settings_;
    CSettingsSender& sender_;
    std::wstring settingsPath_;
};
