#pragma once

#include <windows.h>

#include <optional>
#include <string>

// What the outside flash tool and the firmware update dialog agree on: the tool finds the dialog
// by its title and posts it the progress message with a stage code in wParam (lParam unused).
namespace FlashStages {
constexpr UINT kProgressMessage = 0x1400;
constexpr wchar_t kDialogTitle[] = L"QJ FW UPDATE";
constexpr wchar_t kToolTitle[] = L"QJ FWUpdate";

enum Stage : int {
    kEnterBootloader = 0,
    kPrepareData = 1,
    kEraseFailed = 2,
    kErased = 3,
    kWriteStarted = 6,
    kWritten = 7,
    kWriteFailed = 8,
    kVerifyFailed = 11,
    kVerified = 12,
    kUpdated = 16,
    kPrepareFailed = 17,
    kUpToDate = 19,
    kUpToDateAlso = 20,
    kNoMouse = 22,
};

// Bar position of a stage that leaves the bar where it is.
constexpr int kKeepPosition = -1;

struct StageView {
    const wchar_t* text;
    int position;
};

// Text and bar position of a stage; none for a code the dialog does not know.
std::optional<StageView> Look(WPARAM stage);

// "硬件版本 : V%x" of the version; dotted puts a point after its first hexadecimal digit when
// more digits follow, as the label reads once an update has succeeded.
std::wstring HardwareVersionText(int version, bool dotted);
} // namespace FlashStages
