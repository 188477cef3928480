#pragma once
// Services of the platform: opening addresses and the alert sound.

#include "framework/core/String.h"

#include <cstdint>

namespace Ovelund {

// Asks the platform to open an http or mailto: address and returns at once. The outcome is not reported.
void ShowURL(const String& url);

// Sounds the alert. Every call is counted, so tests can tell that it happened.
void Beep();
std::uint64_t BeepCount();

} // namespace Ovelund
