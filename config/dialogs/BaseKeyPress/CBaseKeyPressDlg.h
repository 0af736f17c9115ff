#pragma once

#include "config/dialogs/BaseKeyPress/KeyEventRecorder.h"
#include "config/dialogs/CSkinnedDialog.h"

#include <optional>
#include <span>

// Base of the dialogs in which pressed keys are recorded instead of operating the dialog. Key
// messages (system keys such as Alt and F10 too) become key events, also while a child control
// has the focus; every command is swallowed, so Enter and Escape close nothing by themselves.
class CBaseKeyPressDlg : public CSkinnedDialog {
public:
    CBaseKeyPressDlg(UINT templateId, winlayer::Window* parent);

    void SetKeys(std::span<const KeyEvent> events) { m_recorder.SetKeys(events); }
    std::span<const KeyEvent> GetKeys() const { return m_recorder.Events(); }

    bool PreTranslateMessage(MSG& msg) override;

protected:
    // 0 when recorded, -1 when refused; calls RefreshDisplay after each recorded event.
    virtual int RecordKeyEvent(std::uint32_t action, UINT key, UINT flags);
    virtual void RefreshDisplay() {}

    KeyEventRecorder& Recorder() { return m_recorder; }
    const KeyEventRecorder& Recorder() const { return m_recorder; }

    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Keys that reach the dialog without passing its pre-translation (sent to it directly).
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override;
    void OnKeyUp(UINT key, UINT repeat, UINT flags) override;
    void OnSysKeyDown(UINT key, UINT repeat, UINT flags) override;
    void OnSysKeyUp(UINT key, UINT repeat, UINT flags) override;

private:
    struct KeyMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool operator==(const KeyMessage&) const = default;
    };
    // True when the message was pre-translated (and so already recorded) on its way here.
    bool TakePreTranslated(UINT message, UINT key, UINT repeat, UINT flags);

    KeyEventRecorder m_recorder;
    std::optional<KeyMessage> m_preTranslated;
};
