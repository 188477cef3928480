// The scan over all cores. The divisors are cut into ranges, numbered in order; each thread takes the next
// range, scans it with the kernel and stores its answer (the offset of its first divisor, or none) in the
// range's slot. Only the calling thread calls the hook: it accounts the ranges in order as long as their
// answers are in and free of divisors, and it works between accountings, taking a new range or, when all are
// handed out, the first one still missing. The first range with a divisor settles the result and the exact
// hook count: every range before it is free. Ranges after the first one known to hold a divisor are not
// handed out any more.
//
// The calling thread never waits for a worker. A worker of the idle class may sit on a range for as long as
// other programs keep the processors busy; when the first missing range has kept the accounting from moving
// for longer than its patience, the calling thread scans it itself (both store the same answer), so the hook
// keeps being called on time. The job ends without waiting, so a late worker may still be inside
// it afterwards: jobs are kept and reused only once no worker holds them.

#include "framework/runtime/BackgroundTask.h"
#include "search/OddDivisorScanDetail.h"
#include "search/ScanPool.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <vector>

namespace search::detail {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::int64_t kMostRanges = std::int64_t{1} << 20;
// How long the first missing range may hold the accounting up: well below the hook's delivery interval
// (4 ms), and long beside a range's scan (about ten microseconds with the vector kernels), so that a worker
// that is merely busy with it is almost never doubled. Where the calling thread's own ranges take longer (the
// scalar kernel, a slow processor), a few of its fastest one: a range during which the calling thread itself
// was preempted must not stretch it.
constexpr Clock::duration kFirstRangePatience = std::chrono::microseconds(250);
constexpr int kPatienceInOwnRanges = 4;

class DivisorRanges final : public ScanPool::Job {
public:
    // Prepares a new scan; only while no worker holds the job.
    void Reset(std::int64_t candidate, std::int64_t firstDivisor, std::int64_t count,
               std::int64_t rangeDivisors, BlockScan scan) {
        candidate_ = candidate;
        firstDivisor_ = firstDivisor;
        count_ = count;
        rangeDivisors_ = rangeDivisors;
        ranges_ = (count + rangeDivisors - 1) / rangeDivisors;
        scan_ = scan;
        if (static_cast<std::int64_t>(capacity_) < ranges_) {
            capacity_ = static_cast<std::size_t>(ranges_);
            answers_ = std::make_unique<std::atomic<std::int64_t>[]>(capacity_);
        } else {
            for (std::int64_t range = 0; range < ranges_; ++range)
                answers_[static_cast<std::size_t>(range)].store(kPending, std::memory_order_relaxed);
        }
        next_.store(0, std::memory_order_relaxed);
        firstWithDivisor_.store(ranges_, std::memory_order_relaxed);
    }

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

    // Set while a calling thread drives the job: a scan started inside the hook must take another one.
    bool driven = false;

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

    // Written by Reset alone, before the job is offered; read by every thread of the scan.
    std::int64_t candidate_ = 0;
    std::int64_t firstDivisor_ = 0;
    std::int64_t count_ = 0;
    std::int64_t rangeDivisors_ = 1;
    std::int64_t ranges_ = 0;
    BlockScan scan_ = nullptr;
    std::size_t capacity_ = 0;
    std::unique_ptr<std::atomic<std::int64_t>[]> answers_;
    std::atomic<std::int64_t> next_{0};
    std::atomic<std::int64_t> firstWithDivisor_{0};
};

// A job that no worker holds and no calling thread drives, made when none is free. Kept for the process's
// life: a late worker may still be inside one as the process exits, and freeing memory on a worker could
// hold the allocator's lock while the scheduler keeps that worker waiting. Used on the calling thread only.
DivisorRanges& FreeJob() {
    static auto* const jobs = new std::vector<std::unique_ptr<DivisorRanges>>;
    for (const std::unique_ptr<DivisorRanges>& job : *jobs)
        if (!job->driven && !job->Held())
            return *job;
    return *jobs->emplace_back(std::make_unique<DivisorRanges>());
}

// Marks the job driven for the scan's lifetime, on every way out.
class Driving {
public:
    explicit Driving(DivisorRanges& job) : job_(job) { job_.driven = true; }
    Driving(const Driving&) = delete;
    Driving& operator=(const Driving&) = delete;
    ~Driving() { job_.driven = false; }

private:
    DivisorRanges& job_;
};

} // namespace

bool ScanOnAllCores(std::int64_t candidate, std::int64_t firstDivisor, std::int64_t count,
                    std::int64_t rangeDivisors, BlockScan scan, std::int64_t& offset) {
    ScanPool& pool = ScanPool::Shared();
    if (pool.Workers() == 0)
        return false;
    // Bounds the answer slots (8 bytes a range) whatever the settings.
    const std::int64_t length = std::max(rangeDivisors, (count + kMostRanges - 1) / kMostRanges);
    DivisorRanges& job = FreeJob();
    job.Reset(candidate, firstDivisor, count, length, scan);
    if (!pool.TryStart(job))
        return false;
    const Driving driving(job);
    // Ends the job on every way out, also when the hook throws, without waiting for its workers.
    const StartedSession session(pool, job);
    offset = job.Drive();
    return true;
}

} // namespace search::detail
