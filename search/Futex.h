#pragma once
// Sleeping on and waking through a 32-bit atomic with the kernel's futex: neither side takes a lock that the
// other could hold, so a waker is never held up by a sleeper that the scheduler keeps off the processor (a
// mutex and condition variable would let a waking worker of the idle class block the user-interface thread).

#include <atomic>
#include <cstdint>

namespace search {

// Sleeps while `word` holds `expected`; may return early (a spurious wake-up), so callers check again.
void FutexWait(const std::atomic<std::uint32_t>& word, std::uint32_t expected);
// Wakes up to `sleepers` threads sleeping on `word`.
void FutexWake(const std::atomic<std::uint32_t>& word, int sleepers);

} // namespace search
