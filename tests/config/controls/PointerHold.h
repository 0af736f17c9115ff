#pragma once

#include "winlayer/UniqueHandle.h"

#include <windows.h>

// The screen's pointer is one for every test program on the display, and the controls read
// where it is. A test that moves it, or relies on where it is, holds it meanwhile: the programs
// take turns, and outside a hold the pointer waits in the screen's far corner, away from every
// test window.
class PointerHold {
public:
    PointerHold() : m_lock(CreateMutexW(nullptr, FALSE, L"V212 test pointer")) {
        // A holder that hangs fails its own program; the others go on after a while.
        const DWORD waited = m_lock ? WaitForSingleObject(m_lock.Get(), kWaitMs) : WAIT_FAILED;
        m_owned = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
        ToCorner();
    }
    ~PointerHold() {
        ToCorner();
        if (m_owned) {
            ReleaseMutex(m_lock.Get());
        }
    }
    PointerHold(const PointerHold&) = delete;
    PointerHold& operator=(const PointerHold&) = delete;

private:
    static constexpr DWORD kWaitMs = 60000;

    static void ToCorner() {
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    }

    winlayer::UniqueHandle m_lock;
    bool m_owned = false;
};
