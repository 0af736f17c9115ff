#pragma once
#include <functional>

// Runs the layer's message processing until done() holds or timeoutMs passed; returns done().
bool PumpMessagesUntil(const std::function<bool()>& done, unsigned timeoutMs = 3000);
