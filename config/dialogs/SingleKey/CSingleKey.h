#pragma once

#include "config/controls/CBitmapBtn.h"
#include "config/controls/CStaticTrans.h"
#include "config/core/HookLibrary.h"
#include "config/dialogs/CSkinnedDialog.h"
#include "config/dialogs/SingleKey/SingleKeyCombination.h"

#include <array>

// The dialog in which the user assigns a key or a key combination (up to four modifiers and one
// other key) to a mouse button. Keys come from the system-wide keyboard hook of the hook library
// (message 0x8D2), so that keys such as the Windows key reach it; the combination is shown as
// text, for example "LCtrl + a".
//
// Use: SetKeys(mainKeyUsage, events, keyCount) with what the button holds, DoModal, and on IDOK
// read MainKeyUsage / Events / KeyCount / Text, or StoredKeyData for the entry's key data.
// IDCANCEL (2) also after OK without any key pressed. Afterwards the owner installs its own
// keyboard hook again: this dialog removes the hook when it closes.
class CSingleKey : public CSkinnedDialog {
public:
    explicit CSingleKey(winlayer::Window* parent);

    void SetKeys(std::uint8_t mainKeyUsage, const SingleKeyCombination::EventBuffer& events,
                 int keyCount);
    std::uint8_t MainKeyUsage() const { return m_combination.MainKeyUsage(); }
    const SingleKeyCombination::EventBuffer& Events() const { return m_combination.Events(); }
    int KeyCount() const { return m_combination.KeyCount(); }
    const std::wstring& Text() const { return m_combination.Text(); }
    SingleKeyCombination::EventBuffer StoredKeyData() const {
        return m_combination.StoredKeyData();
    }

    bool PreTranslateMessage(MSG& msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // The key capture: loads the hook library of the program folder and has its keyboard hook
    // report to this window; undone when the window goes. Tests replace both.
    virtual void StartKeyCapture();
    virtual void StopKeyCapture();

    int OnCreate(CREATESTRUCTW& create) override;
    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnLButtonDown(UINT flags, POINT point) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void ShowText(const std::wstring& text);

    SingleKeyCombination m_combination;
    std::uint8_t m_startUsage = SingleKeyCombination::kNoKey;
    SingleKeyCombination::EventBuffer m_startEvents{};
    int m_startCount = 0;

    HookLibrary m_hooks;
    CBitmapBtn m_ok;
    CBitmapBtn m_close;
    CBitmapBtn m_hidden;
    CBitmapBtn m_caption;
    std::array<CStaticTrans, 3> m_labels;
};
