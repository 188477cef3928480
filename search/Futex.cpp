#include "search/Futex.h"

#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace search {
namespace {

static_assert(sizeof(std::atomic<std::uint32_t>) == sizeof(std::uint32_t) &&
              std::atomic<std::uint32_t>::is_always_lock_free);

std::uint32_t* Address(const std::atomic<std::uint32_t>& word) {
    return reinterpret_cast<std::uint32_t*>(const_cast<std::atomic<std::uint32_t>*>(&word));
}

} // namespace

void FutexWait(const std::atomic<std::uint32_t>& word, std::uint32_t expected) {
    syscall(SYS_futex, Address(word), FUTEX_WAIT_PRIVATE, expected, nullptr, nullptr, 0);
}

void FutexWake(const std::atomic<std::uint32_t>& word, int sleepers) {
    syscall(SYS_futex, Address(word), FUTEX_WAKE_PRIVATE, sleepers, nullptr, nullptr, 0);
}

} // namespace search
