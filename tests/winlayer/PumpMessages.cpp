#include "tests/winlayer/PumpMessages.h"

#include "winlayer/MessageLoop.h"

#include <windows.h>

bool PumpMessagesUntil(const std::function<bool()>& done, unsigned timeoutMs) {
    ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!done() && GetTickCount64() < end) {
        MSG msg{};
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            winlayer::MessageLoop::Process(msg);
            if (done()) {
                return true;
            }
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return done();
}
