// The scan over all cores. The divisors are cut into ranges, numbered in order; each thread takes the next
// range, scans it with the kernel and stores its answer (the offset of its first divisor, or none) in the
// range's slot. Only the calling thread calls the hook: it accounts the ranges in order as long as their
// answers are in and free of divisors, and it works between accountings, taking a new range or, when all are
// handed out, the first one still missing (a worker held up by the scheduler then delays nothing; both store
// the same answer). The first range with a divisor settles the result and the exact hook count: every range
// before it is free. Ranges after the first one known to hold a divisor are not handed out any more.

#include "framework/runtime/BackgroundTask.h"
#include "search/OddDivisorScanDetail.h"
#include "search/ScanPool.h"

#include <algorithm>
#include <atomic>
#include <memory>

namespace search::detail {
namespace {

constexpr std::int64_t kMostRanges = std::int64_t{1} << 20;

class DivisorRanges final : public ScanPool::Job {
public:
    DivisorRanges(std::int64_t candidate, std::int64_t firstDivisor, std::int64_t count,
                  std::int64_t rangeDivisors, BlockScan scan)
        : candidate_(candidate), firstDivisor_(firstDivisor), count_(count), rangeDivisors_(rangeDivisors),
          ranges_((count + rangeDivisors - 1) / rangeDivisors), scan_(scan),
          answers_(std::make_unique<std::atomic<std::int64_t>[]>(static_cast<std::size_t>(ranges_))),
          firstWithDivisor_(ranges_) {}

    void Work() override {
        while (!Stopping()) {
            const std::int64_t range = next_.fetch_add(1, std::memory_order_relaxed);
            if (range >= ranges_ || range > firstWithDivisor_.load(std::memory_order_relaxed))
                return;
            Scan(range);
        }
    }

    // The calling thread's part: returns the offset of the first divisor, or count.
    std::int64_t Drive() {
        std::int64_t accounted = 0; // ranges known free and accounted
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
            if (freeDivisors > 0)
                Ovelund::RuntimeBackgroundTasks(static_cast<std::uint64_t>(freeDivisors));
            if (accounted == ranges_)
                return count_;
            const std::int64_t range = next_.fetch_add(1, std::memory_order_relaxed);
            const bool wanted = range < ranges_ && range <= firstWithDivisor_.load(std::memory_order_relaxed);
            Scan(wanted ? range : accounted);
        }
    }

private:
    // An answer slot holds 0 until the range is scanned, then its offset + 1.
    static constexpr std::int64_t kPending = 0;

    std::int64_t Length(std::int64_t range) const {
        return std::min(rangeDivisors_, count_ - range * rangeDivisors_);
    }

    void Scan(std::int64_t range) {
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

    const std::int64_t candidate_;
    const std::int64_t firstDivisor_;
    const std::int64_t count_;
    const std::int64_t rangeDivisors_;
    const std::int64_t ranges_;
    const BlockScan scan_;
    const std::unique_ptr<std::atomic<std::int64_t>[]> answers_;
    std::atomic<std::int64_t> next_{0};
    std::atomic<std::int64_t> firstWithDivisor_;
};

} // namespace

bool ScanOnAllCores(std::int64_t candidate, std::int64_t firstDivisor, std::int64_t count,
                    std::int64_t rangeDivisors, BlockScan scan, std::int64_t& offset) {
    ScanPool& pool = ScanPool::Shared();
    // Bounds the answer slots (8 bytes a range) whatever the settings.
    const std::int64_t length = std::max(rangeDivisors, (count + kMostRanges - 1) / kMostRanges);
    // On the heap, so that the address sanitizer would catch a worker that touched it after the session.
    const auto ranges = std::make_unique<DivisorRanges>(candidate, firstDivisor, count, length, scan);
    if (!pool.TryStart(*ranges))
        return false;
    // Ends the job on every way out, also when the hook throws: no worker is inside it afterwards.
    const StartedSession session(pool, *ranges);
    offset = ranges->Drive();
    return true;
}

} // namespace search::detail
