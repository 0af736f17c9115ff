#include "service/CReportDispatcher.h"

#include "service/CBasicFunction.h"
#include "service/PeerWindows.h"
#include "service/ServiceMessages.h"
#include "shared/store/SettingsRecord.h"

#include <cwchar>
#include <iterator>

namespace {

constexpr int kLastDpiStage = 3;
constexpr int kLastProfile = kProfileCount - 1;
constexpr int kLastButton = kButtonCount - 1;
// The service keeps the buttons of one profile: launch selectors of the others name nothing.
constexpr int kHeldProfile = 0;

bool InRange(int value, int low, int high) {
    return value >= low && value <= high;
}

} // namespace

std::wstring CReportDispatcher::ReportBytesText(InputReport report) {
    wchar_t text[32] = {};
    std::swprintf(text, std::size(text), L"%02x %02x %02x %02x %02x %02x %02x %02x\n", report[0],
                  report[1], report[2], report[3], report[4], report[5], report[6], report[7]);
    return text;
}

void CReportDispatcher::DispatchInputReport(int channel, InputReport report) {
    wchar_t header[64] = {};
    std::swprintf(header, std::size(header), L"ID:%x,pBuffer=%x , Length=%x\n",
                  static_cast<unsigned>(channel),
                  static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(report.data())),
                  static_cast<unsigned>(report.size()));
    OutputDebugStringW(header);
    OutputDebugStringW(ReportBytesText(report).c_str());

    const std::uint8_t selector = report[1];
    const std::uint8_t value = report[2];
    if (report[0] == kEventReport && HandleDeviceEvent(selector, value)) {
        return;
    }
    if (InRange(selector, kFirstProgramSelector, kFirstProgramSelector + kLastProfile)) {
        Launch(Target::Program, selector - kFirstProgramSelector, value);
    } else if (InRange(selector, kFirstFolderSelector, kFirstFolderSelector + kLastProfile)) {
        Launch(Target::Folder, selector - kFirstFolderSelector, value);
    } else if (InRange(selector, kFirstWebSelector, kFirstWebSelector + kLastProfile)) {
        Launch(Target::WebAddress, selector - kFirstWebSelector, value);
    } else if (selector == kActionSelector) {
        RunAction(value);
    }
}

bool CReportDispatcher::HandleDeviceEvent(std::uint8_t event, std::uint8_t value) {
    switch (event) {
    case kEventDpiStage:
        if (value <= kLastDpiStage) {
            system_.PostToWindow(kConfigWindowTitle, kMsgServiceEvent, kEventDpiStageChanged,
                                 value);
        }
        return true;
    case kEventProfile:
        // Without the configuration program to tell, the service keeps the mouse's profile.
        if (value <= kLastProfile && !system_.PostToWindow(kConfigWindowTitle, kMsgServiceEvent,
                                                           kEventProfileChanged, value)) {
            settings_.StoreProfile(value, settingsPath_);
        }
        return true;
    case kEventLighting:
        system_.PostToWindow(kConfigWindowTitle, kMsgServiceEvent, kEventLightingReported, value);
        return true;
    default:
        return false;
    }
}

void CReportDispatcher::Launch(Target target, int profile, int button) {
    if (profile != kHeldProfile || button > kLastButton) {
        return;
    }
    // Copied under the lock; the shell call that may take long runs outside it.
    const std::wstring text = settings_.ButtonText(button);
    if (text.empty()) {
        return;
    }
    if (target == Target::WebAddress) {
        system_.OpenInBrowser(text);
    } else {
        system_.ShellOpen(text, SW_SHOW);
    }
}

void CReportDispatcher::RunAction(std::uint8_t code) {
    if (code == kNextProfile) {
        StepProfile(1);
    } else if (code == kPreviousProfile) {
        StepProfile(-1);
    } else {
        CBasicFunction(system_).Perform(code);
    }
}

void CReportDispatcher::StepProfile(int step) {
    const int profile = settings_.StepProfile(step);
    // The configuration program, told below, stores and uploads the new profile.
    sender_.ResetProfileRegister(true);
    system_.PostToWindow(kConfigWindowTitle, kMsgServiceEvent, kEventProfileChanged, profile);
}
