#include "service/CMirelhidDlg.h"

#include "service/ForegroundProgram.h"
#include "service/PeerWindows.h"
#include "service/ServiceMessages.h"
#include "shared/store/CDataFolderLock.h"
#include "shared/store/DataPaths.h"
#include "shared/store/ServiceIni.h"
#include "shared/store/SettingsFileRepair.h"
#include "shared/store/SettingsIni.h"
#include "shared/store/WholeFile.h"

#include <dbt.h>
#include <objbase.h>
#include <shellapi.h>

#include <algorithm>
#include <atomic>

namespace {

std::atomic<CMirelhidDlg*> g_instance{nullptr};

// The mouse shows up as a USB device and as HID collections; both interface classes are
// watched.
constexpr GUID kUsbDeviceInterface = {
    0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};
constexpr GUID kHidInterface = {
    0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

constexpr REGSAM kMouseKeyAccess = 0xF003F;
constexpr int kLastProfile = 4;
constexpr int kLastButton = 7;
constexpr int kLastMacroPosition = 5;
constexpr int kLastDpiStage = 3;
constexpr WPARAM kPointerSpeedOnly = 255;
// The messages that reload the settings and send them to the mouse.
constexpr std::array<UINT, 12> kMouseUpdates = {kMsgLighting,
                                                kMsgCurrentDpiStage,
                                                kMsgBracketOnly,
                                                kMsgPollingRate,
                                                kMsgSendAll,
                                                kMsgApplyAll,
                                                kMsgDoubleClickSpeed,
                                                kMsgPointerSpeedOrDpi,
                                                kMsgResetProfile,
                                                kMsgButtonAssignment,
                                                kMsgMacro,
                                                kMsgDpiStage};
// Waits, in place of a message, for the start's reload of a file that could not be read then.
constexpr UINT kReloadOnly = 0;
// The messages whose handling reads the data folder's files; they keep their order when one of
// them has to wait for a file.
constexpr std::array<UINT, 16> kFileMessages = {kMsgLighting,          kMsgCurrentDpiStage,
                                                kMsgBracketOnly,       kMsgShowTray,
                                                kMsgPollingRate,       kMsgSendAll,
                                                kMsgApplyAll,          kMsgTrayFlags,
                                                kMsgWheelLines,        kMsgDoubleClickSpeed,
                                                kMsgPointerSpeedOrDpi, kMsgResetProfile,
                                                kMsgButtonAssignment,  kMsgMacro,
                                                kMsgDpiStage,          kMsgProfilePrograms};

std::wstring ModuleFolder() {
    const std::wstring path = ProgramFilePath();
    return path.substr(0, path.find_last_of(L'\\'));
}

bool PostToConfig(UINT message, WPARAM wParam, LPARAM lParam) {
    return PostToWindow(kConfigWindowTitle, message, wParam, lParam);
}

bool InRange(WPARAM value, int last) {
    return value <= static_cast<WPARAM>(last);
}

} // namespace

CMirelhidDlg::CMirelhidDlg() : sender_(reports_, settings_, {}, {}) {
    sender_.SetGuard(&guard_);
}

CMirelhidDlg::~CMirelhidDlg() {
    // A window destroyed with its object skips OnDestroy: the readers still end first.
    connection_.CloseMouse();
    CMirelhidDlg* self = this;
    g_instance.compare_exchange_strong(self, nullptr);
}

bool CMirelhidDlg::Create() {
    return CreateEx(0, nullptr, kServiceWindowTitle, WS_POPUP, 100, 100, 100, 100, nullptr,
                    nullptr);
}

CMirelhidDlg* CMirelhidDlg::Instance() {
    return g_instance.load();
}

SettingsIniRead CMirelhidDlg::ReloadSettings() {
    // Held over the read too: a reader that stores a profile change meanwhile must not have it
    // overwritten by the older file contents.
    const auto lock = guard_.Lock();
    SettingsRecord loaded = settings_;
    SettingsRecord_Reset(loaded);
    // A file without settings would send defaults in place of the user's settings.
    const SettingsIniRead read =
        SettingsIni_Load(loaded, settingsPath_, -1, SettingsIniNeed::SettingSection);
    if (read == SettingsIniRead::Read) {
        SettingsRecord_Assign(settings_, loaded);
    }
    return read;
}

SettingsIniRead CMirelhidDlg::ReloadWithMacroList() {
    // One look at both: the macro buttons name the macros of the same version of the file.
    const auto lock = guard_.Lock();
    const CDataFolderLock files;
    if (!files) {
        return SettingsIniRead::Unreadable;
    }
    const SettingsIniRead read = ReloadSettings();
    if (read == SettingsIniRead::Read && !sender_.ReadMacroList()) {
        return SettingsIniRead::Unreadable;
    }
    return read;
}

void CMirelhidDlg::LaunchTrayProgram() {
    if (FindWindowW(nullptr, kTrayWindowTitle) != nullptr) {
        return;
    }
    const std::wstring tray = programFolder_ + L"\\pennrack.exe";
    ShellExecuteW(nullptr, L"open", tray.c_str(), nullptr, nullptr, SW_SHOW);
}

int CMirelhidDlg::OnCreate(CREATESTRUCTW&) {
    if (Default() == -1) {
        return -1;
    }
    comInitialized_ =
        SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    countingEnabled_ = false;
    // The window answers while another program holds the data folder's lock; what waits for a
    // file is tried again from the retry timer.
    CDataFolderLock::SetThreadWait(CDataFolderLock::kWindowThreadWaitMs);
    programFolder_ = ModuleFolder();
    stringsPath_ = programFolder_ + L"\\Strings.xml";
    PrepareSettingsFile();
    g_instance.store(this);
    mouseKey_.Open(L"HKEY_CURRENT_USER\\Control Panel\\Mouse", kMouseKeyAccess, true);
    const bool reloaded = ReloadSettings() != SettingsIniRead::Unreadable;
    SetWindowLongPtrW(Hwnd(), GWL_EXSTYLE, WS_EX_TOOLWINDOW);
    RegisterDeviceNotifications();

    sender_.SetPaths(settingsPath_, MacroFolder());
    sender_.SetOwnerWindow(Hwnd());
    connection_.SetSettingsPath(settingsPath_);
    dispatcher_.SetSettingsPath(settingsPath_);
    connection_.SetReportHandler([this](int channel, InputReport report) {
        dispatcher_.DispatchInputReport(channel, report);
    });
    readBack_.SetPaths(settingsPath_, MacroFolder(), stringsPath_);
    readBack_.SetConfigPoster(PostToConfig);
    switcher_.SetPaths(settingsPath_, ProfileFolder());
    switcher_.SetForegroundLookup(ForegroundProgramName);
    switcher_.SetConfigPoster(PostToConfig);
    connection_.SetArrivalActions([this] { LaunchTrayProgram(); },
                                  [this] { readBack_.QueryAllFrMouse(); });
    connection_.SetupDeviceTable();
    connection_.EnumerateMouse();
    connection_.OpenMouse(CMouseConnection::kVendorId, CMouseConnection::kProductId);
    connection_.StartReaders();

    LaunchTrayProgram();
    connection_.WriteDeviceState();
    SetWindowTextW(Hwnd(), kServiceWindowTitle);
    SetTimer(kStartupTimer, kStartupDelayMs);
    SetTimer(kProfileCheckTimer, kProfileCheckPeriodMs);
    // A file that another program holds at the start is read again from the retry timer.
    if (!reloaded) {
        Wait({kReloadOnly, 0, 0});
    }
    if (!switcher_.LoadProfileProgramList()) {
        Wait({kMsgProfilePrograms, 0, 0});
    }
    return 0;
}

void CMirelhidDlg::PrepareSettingsFile() {
    // Forming the data folder creates it with its sub-folders.
    const std::wstring path = SettingsFilePath();
    if (path.empty()) {
        return;
    }
    RepairSettingsFile(DataFolder());
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        OutputDebugStringW(L"file exists");
    } else if (const CDataFolderLock lock; lock) {
        // A first start for this user begins with the program folder's template.
        CopyWholeFile(programFolder_ + L"\\Mouse.ini", path, false);
    }
    settingsPath_ = path;
}

void CMirelhidDlg::RegisterDeviceNotifications() {
    const std::array<GUID, 2> classes = {kUsbDeviceInterface, kHidInterface};
    for (std::size_t i = 0; i < classes.size(); ++i) {
        DEV_BROADCAST_DEVICEINTERFACE_W filter{};
        filter.dbcc_size = sizeof(filter);
        filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        filter.dbcc_classguid = classes[i];
        notifications_[i] =
            RegisterDeviceNotificationW(Hwnd(), &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    }
}

void CMirelhidDlg::UnregisterDeviceNotifications() {
    for (HDEVNOTIFY& notification : notifications_) {
        if (notification != nullptr) {
            UnregisterDeviceNotification(notification);
            notification = nullptr;
        }
    }
}

void CMirelhidDlg::OnTimer(UINT_PTR id) {
    if (id == kStartupTimer) {
        KillTimer(kStartupTimer);
        sender_.SendRegisterEA(CSettingsSender::kRegisterEAKey);
    } else if (id == kProfileCheckTimer) {
        switcher_.CheckForegroundProfile();
    } else if (id == kFileRetryTimer) {
        HandleWaiting();
    }
    Default();
}

void CMirelhidDlg::OnDestroy() {
    PostToWindow(kConfigWindowTitle, WM_CLOSE, 0, 0);
    PostToWindow(kTrayWindowTitle, WM_CLOSE, 0, 0);
    // The peers get a moment to close before the mouse goes.
    Sleep(1000);
    UnregisterDeviceNotifications();
    // The readers reach this object: they end before it goes.
    connection_.CloseMouse();
    g_instance.store(nullptr);
    mouseKey_.Close();
    if (comInitialized_) {
        CoUninitialize();
        comInitialized_ = false;
    }
    Default();
}

LRESULT CMirelhidDlg::OnDeviceChange(UINT event, DWORD_PTR data) {
    return connection_.OnDeviceChange(event, reinterpret_cast<const DEV_BROADCAST_HDR*>(data));
}

LRESULT CMirelhidDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_WTSSESSION_CHANGE || SupersededByQueuedPost(message, wParam, lParam) ||
        HandleServiceMessage(message, wParam, lParam)) {
        return 0;
    }
    return Window::WindowProc(message, wParam, lParam);
}

LRESULT CMirelhidDlg::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INPUT) {
        OutputDebugStringW(L"WM_INPUT\n");
    }
    return Window::DefWindowProc(message, wParam, lParam);
}

bool CMirelhidDlg::SupersededByQueuedPost(UINT message, WPARAM wParam, LPARAM lParam) const {
    // A slider dragged across its range posts one message per step, each costing the mouse a
    // bracket of 200 ms. The values travel through the files, so a later post of the same
    // message with the same parameters sends all that this one would: only the last is handled.
    if (std::ranges::find(kMouseUpdates, message) == kMouseUpdates.end()) {
        return false;
    }
    MSG next{};
    return PeekMessageW(&next, Hwnd(), message, message, PM_NOREMOVE | PM_QS_POSTMESSAGE) &&
           next.wParam == wParam && next.lParam == lParam;
}

void CMirelhidDlg::Bracketed(const std::function<void()>& sends) {
    if (!reports_.IsOpen()) {
        return;
    }
    sender_.SendUpdateBracket(0);
    sends();
    sender_.SendUpdateBracket(1);
}

bool CMirelhidDlg::HandleServiceMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const PostedMessage posted{message, wParam, lParam};
    if (message == kMsgClickCount || message == kMsgNothing) {
        Handle(posted);
        return true;
    }
    if (std::ranges::find(kFileMessages, message) == kFileMessages.end()) {
        return false;
    }
    // The messages after one that waits for a file wait behind it, in the order they came; the
    // tray program needs no file and comes at once.
    if (message == kMsgShowTray) {
        LaunchTrayProgram();
    }
    if (!waiting_.empty() || Handle(posted) == Handled::Later) {
        Wait(posted);
    }
    return true;
}

void CMirelhidDlg::Wait(const PostedMessage& posted) {
    // A later post of the same message sends all that an earlier one would.
    std::erase(waiting_, posted);
    if (waiting_.size() == kMostWaiting) {
        waiting_.pop_front();
    }
    waiting_.push_back(posted);
    SetTimer(kFileRetryTimer, kFileRetryMs);
}

void CMirelhidDlg::HandleWaiting() {
    KillTimer(kFileRetryTimer);
    if (waiting_.empty()) {
        return;
    }
    if (Handle(waiting_.front()) == Handled::Later) {
        SetTimer(kFileRetryTimer, kFileRetryMs);
        return;
    }
    waiting_.pop_front();
    // One message a tick: each bracket holds the window for 200 ms, and the other programs'
    // messages are answered between them.
    if (!waiting_.empty()) {
        SetTimer(kFileRetryTimer, kNextWaitingMs);
    }
}

CMirelhidDlg::Handled CMirelhidDlg::Usable(SettingsIniRead read, bool& usable) const {
    usable = read == SettingsIniRead::Read;
    if (read == SettingsIniRead::Refused) {
        // Sending defaults in place of the user's settings would overwrite the mouse's own.
        OutputDebugStringW((L"no settings in " + settingsPath_ + L"\n").c_str());
    }
    return read == SettingsIniRead::Unreadable ? Handled::Later : Handled::Done;
}

CMirelhidDlg::Handled CMirelhidDlg::Handle(const PostedMessage& posted) {
    const UINT message = posted.Message;
    const WPARAM wParam = posted.WParam;
    const LPARAM lParam = posted.LParam;
    // The handlers that send settings first reload them: a file that another program holds is
    // tried again from the timer, one without settings sends nothing, so the mouse keeps what it
    // has.
    bool usable = false;
    switch (message) {
    case kReloadOnly:
        return Usable(ReloadSettings(), usable);
    case kMsgClickCount:
        CountClick(wParam);
        return Handled::Done;
    case kMsgNothing:
        return Handled::Done;
    case kMsgLighting: {
        const Handled handled = Usable(ReloadSettings(), usable);
        if (usable) {
            Bracketed(
                [&] { sender_.SendLighting(static_cast<int>(wParam), static_cast<int>(lParam)); });
        }
        return handled;
    }
    case kMsgCurrentDpiStage:
    case kMsgPollingRate:
    case kMsgDoubleClickSpeed:
    case kMsgBracketOnly: {
        const Handled handled = Usable(ReloadSettings(), usable);
        if (usable) {
            Bracketed([&] {
                if (message == kMsgCurrentDpiStage) {
                    sender_.SendCurrentDpiStage(true);
                } else if (message == kMsgPollingRate) {
                    sender_.SendPollingRate(true);
                } else if (message == kMsgDoubleClickSpeed) {
                    sender_.SendDoubleClickSpeedRegister(true);
                }
            });
        }
        return handled;
    }
    case kMsgShowTray:
        return Usable(ReloadSettings(), usable);
    case kMsgSendAll: {
        const Handled handled = Usable(ReloadWithMacroList(), usable);
        if (usable) {
            Bracketed([&] { sender_.SendAll2Mouse(); });
        }
        return handled;
    }
    case kMsgApplyAll:
        return ApplyAll();
    case kMsgTrayFlags: {
        const auto lock = guard_.Lock();
        return ServiceIni_ReadTrayFlags(settings_, settingsPath_) != 0 ? Handled::Done
                                                                       : Handled::Later;
    }
    case kMsgWheelLines: {
        const Handled handled = Usable(ReloadSettings(), usable);
        if (usable) {
            sender_.ApplyWheelScrollLines();
        }
        return handled;
    }
    case kMsgPointerSpeedOrDpi: {
        const Handled handled = Usable(ReloadSettings(), usable);
        if (!usable) {
            return handled;
        }
        if (wParam == kPointerSpeedOnly && static_cast<WPARAM>(lParam) == kPointerSpeedOnly) {
            sender_.ApplyPointerSpeed();
        } else {
            Bracketed([&] { sender_.SendCurrentDpiStage(true); });
        }
        return handled;
    }
    case kMsgResetProfile: {
        const Handled handled = Usable(ReloadSettings(), usable);
        if (usable) {
            Bracketed([&] { sender_.ResetProfileRegister(true); });
            sender_.SendRegisterEA(guard_.Profile());
        }
        return handled;
    }
    case kMsgButtonAssignment: {
        // A profile or button out of range names no entry: nothing goes to the mouse.
        if (!InRange(wParam, kLastProfile) || !InRange(static_cast<WPARAM>(lParam), kLastButton)) {
            return Handled::Done;
        }
        const Handled handled = Usable(ReloadWithMacroList(), usable);
        if (usable) {
            Bracketed([&] {
                sender_.SendButtonAssignment(static_cast<int>(wParam), static_cast<int>(lParam));
                sender_.SendRegisterEA(CSettingsSender::kRegisterEAKey);
            });
        }
        return handled;
    }
    case kMsgMacro:
        if (!InRange(wParam, kLastMacroPosition)) {
            return Handled::Done;
        }
        // A clear needs no name from the list.
        if (lParam == 0 && !sender_.ReadMacro(static_cast<int>(wParam))) {
            return Handled::Later;
        }
        Bracketed([&] { sender_.SendMacro(static_cast<int>(wParam), lParam != 0); });
        return Handled::Done;
    case kMsgDpiStage: {
        // wParam may be -1 (no stage chosen): only stages 0 to 3 exist.
        if (!InRange(wParam, kLastDpiStage)) {
            return Handled::Done;
        }
        const Handled handled = Usable(ReloadSettings(), usable);
        if (usable) {
            Bracketed([&] { sender_.SendDpiStage(static_cast<int>(wParam), true); });
        }
        return handled;
    }
    case kMsgProfilePrograms:
        return switcher_.LoadProfileProgramList() ? Handled::Done : Handled::Later;
    default:
        return Handled::Done;
    }
}

CMirelhidDlg::Handled CMirelhidDlg::ApplyAll() {
    bool usable = false;
    const Handled handled = Usable(ReloadWithMacroList(), usable);
    if (!usable) {
        return handled;
    }
    sender_.ApplyPointerSpeed();
    if (!reports_.IsOpen()) {
        return Handled::Done;
    }
    // A mouse that refused part of it has not taken the profile over.
    if (sender_.UploadAll() == 0) {
        return Handled::Done;
    }
    {
        const auto lock = guard_.Lock();
        settings_.FWVersion = 0;
    }
    ServiceIni_WriteFWVersion(settingsPath_, 0);
    PostToWindow(kConfigWindowTitle, kMsgServiceEvent, kEventApplied, 0);
    return Handled::Done;
}

void CMirelhidDlg::CountClick(WPARAM button) {
    if (!countingEnabled_) {
        return;
    }
    int left = 0;
    int right = 0;
    {
        const auto lock = guard_.Lock();
        if (button == WM_RBUTTONUP) {
            ++settings_.RightCount;
        } else if (button == WM_LBUTTONUP) {
            ++settings_.LeftCount;
        } else {
            return;
        }
        left = settings_.LeftCount;
        right = settings_.RightCount;
    }
    ServiceIni_WriteButtonCounts(settingsPath_, left, right);
    PostToWindow(kConfigWindowTitle, kMsgButtonCounts, static_cast<WPARAM>(left),
                 static_cast<LPARAM>(right));
}
