#pragma once

#include "service/CAutoProfileSwitcher.h"
#include "service/CFeatureReports.h"
#include "service/CMouseConnection.h"
#include "service/CMouseReadBack.h"
#include "service/CReportDispatcher.h"
#include "service/CSettingsGuard.h"
#include "service/CSettingsSender.h"
#include "service/CWin32ActionSystem.h"
#include "shared/store/RegKey.h"
#include "shared/store/SettingsIni.h"
#include "shared/store/SettingsRecord.h"
#include "winlayer/Window.h"

#include <windows.h>

#include <array>
#include <deque>
#include <functional>
#include <string>

// The service's hidden top-level window "V212Hid": the rendezvous point that the configuration
// and tray programs find by its title and post their messages to. It owns the service's whole
// state: the settings record loaded from "Mouse.ini" (shared with the readers through its
// guard), the connection to the mouse with its reader threads, the senders of the mouse's
// settings, the dispatcher of the mouse's input reports, the read-back of the mouse and the
// automatic profile switching.
class CMirelhidDlg : public winlayer::Window {
public:
    static constexpr UINT_PTR kStartupTimer = 10001;
    static constexpr UINT kStartupDelayMs = 15000;
    static constexpr UINT_PTR kProfileCheckTimer = 10002;
    static constexpr UINT kProfileCheckPeriodMs = 2000;
    // A message whose file another program holds is handled again from this timer.
    static constexpr UINT_PTR kFileRetryTimer = 10004;
    static constexpr UINT kFileRetryMs = 250;
    // The next waiting message once one has been handled.
    static constexpr UINT kNextWaitingMs = USER_TIMER_MINIMUM;
    // The most messages that wait for a file; the oldest goes first.
    static constexpr std::size_t kMostWaiting = 256;

    CMirelhidDlg();
    ~CMirelhidDlg() override;

    // Creates the window: never shown, top-level so that FindWindowW finds it.
    bool Create();

    // The one service window of the process while it exists, else null. Reader threads reach
    // the window through it.
    static CMirelhidDlg* Instance();

    // Replaces the settings record from "Mouse.ini". It only reads: the file belongs to the
    // configuration program, whose writes between a read and a rewrite would be lost. A file
    // that could not be read, or holds no section "Setting", leaves the record as it was.
    SettingsIniRead ReloadSettings();
    // Starts "pennrack.exe" from the program folder when no tray window exists.
    void LaunchTrayProgram();

    // The record; the window thread changes it, and the readers touch it, only under Guard().
    SettingsRecord& Settings() { return settings_; }
    CSettingsGuard& Guard() { return guard_; }
    // "Mouse.ini" in the user's data folder; empty when there is no data folder.
    const std::wstring& SettingsPath() const { return settingsPath_; }
    // The folder of the running program, without a trailing backslash.
    const std::wstring& ProgramFolder() const { return programFolder_; }
    const std::wstring& StringsPath() const { return stringsPath_; }
    CMouseConnection& Connection() { return connection_; }
    CFeatureReports& Reports() { return reports_; }
    CSettingsSender& Sender() { return sender_; }
    CMouseReadBack& ReadBack() { return readBack_; }
    CAutoProfileSwitcher& ProfileSwitcher() { return switcher_; }

protected:
    int OnCreate(CREATESTRUCTW& create) override;
    void OnTimer(UINT_PTR id) override;
    void OnDestroy() override;
    LRESULT OnDeviceChange(UINT event, DWORD_PTR data) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct PostedMessage {
        UINT Message = 0;
        WPARAM WParam = 0;
        LPARAM LParam = 0;
        bool operator==(const PostedMessage&) const = default;
    };
    // Done, or Later: a file it reads is held by another program; the message waits.
    enum class Handled { Done, Later };

    // True for a message that sends settings to the mouse when the queue already holds a later
    // post of it with the same parameters.
    bool SupersededByQueuedPost(UINT message, WPARAM wParam, LPARAM lParam) const;
    // The private messages; false when the message is not one of them.
    bool HandleServiceMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // One handler per private message.
    Handled Handle(const PostedMessage& posted);
    // Puts a message aside for the retry timer, behind the others that wait.
    void Wait(const PostedMessage& posted);
    // The retry timer: the oldest waiting message; the timer comes again at once while more
    // wait, and after the retry time when the message must wait again.
    void HandleWaiting();
    // Whether a handler may send from the record just read (`usable`); a refused file is noted
    // in the debug output.
    Handled Usable(SettingsIniRead read, bool& usable) const;
    // ReloadSettings and the macro list for the macro buttons and macros about to be sent, in
    // one look at the file.
    SettingsIniRead ReloadWithMacroList();
    // The update bracket around `sends`, all skipped while the control handle is closed.
    void Bracketed(const std::function<void()>& sends);
    Handled ApplyAll();
    void CountClick(WPARAM button);
    void PrepareSettingsFile();
    void RegisterDeviceNotifications();
    void UnregisterDeviceNotifications();

    SettingsRecord settings_{};
    CSettingsGuard guard_{settings_};
    std::wstring settingsPath_;
    std::wstring programFolder_;
    std::wstring stringsPath_;
    RegKey mouseKey_;
    // Gates click counting (message 0x4AC); cleared at creation, and nothing sets it.
    bool countingEnabled_ = false;
    bool comInitialized_ = false;
    std::array<HDEVNOTIFY, 2> notifications_{};
    // Messages that wait for a file, oldest first.
    std::deque<PostedMessage> waiting_;
    CMouseConnection connection_;
    CFeatureReports reports_{connection_};
    CSettingsSender sender_;
    CWin32ActionSystem actions_;
    CReportDispatcher dispatcher_{actions_, guard_, sender_};
    CMouseReadBack readBack_{reports_, sender_, settings_, guard_};
    CAutoProfileSwitcher switcher_{settings_, guard_, sender_, reports_};
};
