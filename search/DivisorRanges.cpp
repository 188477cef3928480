#include "search/DivisorRanges.h"

#include "framework/runtime/BackgroundTask.h"

#include <algorithm>
#include <chrono>

namespace search::detail {
namespace {

using Clock = std::chrono::steady_clock;

// An answer slot holds 0 until the range is scanned, then its offset + 1.
constexpr std::int64_t kPending = 0;

// How long the first missing range may hold the accounting up: well below the hook's delivery interval
// (4 ms), and long beside a range's scan (about ten microseconds with the vector kernels), so that a worker
// that is merely busy with it is almost never doubled. Where the calling thread's own ranges take longer (the
// scalar kernel, a slow processor), a few of its fastest one: a range during which the calling thread itself
// was preempted must not stretch it.
constexpr Clock::duration kFirstRangePatience = std::chrono::microseconds(250);
constexpr int kPatienceInOwnRanges = 4;

} // namespace

void DivisorRanges::Reset(std::int64_t candidate, std::int64_t firstDivisor, std::int64_t count,
                          std::int64_t rangeDivisors, BlockScan scan) {
    count = std::max<std::int64_t>(0, count);
    rangeDivisors = std::max<std::int64_t>(1, rangeDivisors);
    const std::int64_t ranges = RangesCovering(count, rangeDivisors);
    if (static_cast<std::size_t>(ranges) > capacity_) {
        // Sized only once the new slots are there, so a failed allocation leaves the old ones in force.
        answers_ = std::make_unique<std::atomic<std::int64_t>[]>(static_cast<std::size_t>(ranges));
        capacity_ = static_cast<std::size_t>(ranges);
    } else {
        for (std::int64_t range = 0; range < ranges; ++range)
            answers_[static_cast<std::size_t>(range)].store(kPending, std::memory_order_relaxed);
    }
    candidate_ = candidate;
    firstDivisor_ = firstDivisor;
    count_ = count;
    rangeDivisors_ = rangeDivisors;
    ranges_ = ranges;
    scan_ = scan;
    next_.store(0, std::memory_order_relaxed);
    firstWithDivisor_.store(ranges_, std::memory_order_relaxed);
}

void DivisorRanges::Work() {
    while (!Stopping()) {
        const std::int64_t range = next_.fetch_add(1, std::memory_order_relaxed);
        if (range >= ranges_ || range > firstWithDivisor_.load(std::memory_order_relaxed))
            return;
        Scan(range);
    }
}

std::int64_t DivisorRanges::Drive() {
    std::int64_t accounted = 0; // ranges known free and accounted
    Clock::time_point lastMove = Clock::now();
    Clock::duration patience = kFirstRangePatience;
    Clock::duration fastestOwnRange = Clock::duration::max();
    for (;;) {
        std::int64_t freeDivisors = 0;
        for (; accounted < ranges_; ++accounted) {
            const std::int64_t answer =
                answers_[static_cast<std::size_t>(accounted)].load(std::memory_order_acquire);
            if (answer == kPending)
                break;
            const std::int64_t offset = answer - 1;
            if (offset < Length(accounted)) {
                Ovelund::RuntimeBackgroundTasks(static_cast<std::uint64_t>(freeDivisors + offset));
                return accounted * rangeDivisors_ + offset;
            }
            freeDivisors += Length(accounted);
        }
        if (freeDivisors > 0) {
            Ovelund::RuntimeBackgroundTasks(static_cast<std::uint64_t>(freeDivisors));
            lastMove = Clock::now();
        }
        if (accounted == ranges_)
            return count_;
        const Clock::time_point before = Clock::now();
        if (before - lastMove >= patience) {
            Scan(accounted); // its worker is held back: the accounting moves on without it
            continue;
        }
        const std::int64_t range = next_.fetch_add(1, std::memory_order_relaxed);
        const bool wanted = range < ranges_ && range <= firstWithDivisor_.load(std::memory_order_relaxed);
        Scan(wanted ? range : accounted);
        fastestOwnRange = std::min(fastestOwnRange, Clock::now() - before);
        patience = std::max(kFirstRangePatience, kPatienceInOwnRanges * fastestOwnRange);
    }
}

void DivisorRanges::Scan(std::int64_t range) {
    const std::int64_t length = Length(range);
    const std::int64_t offset = scan_(candidate_, firstDivisor_ + 2 * range * rangeDivisors_, length);
    answers_[static_cast<std::size_t>(range)].store(offset + 1, std::memory_order_release);
    if (offset < length) {
        std::int64_t first = firstWithDivisor_.load(std::memory_order_relaxed);
        while (range < first &&
               !firstWithDivisor_.compare_exchange_weak(first, range, std::memory_order_relaxed)) {
        }
    }
}

} // namespace search::detail
