#pragma once

#include <windows.h>

#include <functional>

// Dispatches the messages queued for the calling thread, such as those it posted itself.
void DispatchPending();
// Dispatches the calling thread's messages until done() holds or timeoutMs have passed;
// returns done() at the end. Posted replies wake the wait at once; conditions outside the
// message queue (files, the simulator's log) are looked at again every few milliseconds.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
