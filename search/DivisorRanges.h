#pragma once
// The state of one scan spread over the pool. The divisors are cut into ranges, numbered in order; each
// thread takes the next range, scans it with the kernel and stores its answer (the offset of its first
// divisor, or none) in the range's slot. Only the calling thread calls the hook: it accounts the ranges in
// order as long as their answers are in and free of divisors, and it works between accountings, taking a new
// range or, when all are handed out, the first one still missing. The first range with a divisor settles the
// result and the exact hook count: every range before it is free. Ranges after the first one known to hold a
// divisor are not handed out any more.
//
// The calling thread never waits for a worker. A worker of the idle class may sit on a range for as long as
// other programs keep the processors busy; when the first missing range has kept the accounting from moving
// for longer than its patience, the calling thread scans it itself (both store the same answer), so the hook
// keeps being called on time.

#include "search/OddDivisorScanDetail.h"
#include "search/ScanPool.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace search::detail {

// How many ranges of `length` (at least 1) cover `count` (at least 0) divisors: rounded up without forming
// count + length, which overflows near the top of 64 bits.
constexpr std::int64_t RangesCovering(std::int64_t count, std::int64_t length) {
    return count / length + (count % length != 0 ? 1 : 0);
}

class DivisorRanges final : public ScanPool::Job {
public:
    // Prepares a scan of the divisors firstDivisor + 2k, 0 <= k < count, in ranges of rangeDivisors (a
    // negative count counts as 0, a range below 1 as 1); only while no worker holds the job. Throws
    // std::bad_alloc when the answer slots cannot be had, and the job is then as it was.
    void Reset(std::int64_t candidate, std::int64_t firstDivisor, std::int64_t count,
               std::int64_t rangeDivisors, BlockScan scan);

    // Called on each worker that takes the job.
    void Work() override;

    // The calling thread's part: returns the offset of the first divisor, or count.
    std::int64_t Drive();

    // Set while a calling thread drives the job: a scan started inside the hook must take another one.
    bool driven = false;

private:
    std::int64_t Length(std::int64_t range) const {
        return std::min(rangeDivisors_, count_ - range * rangeDivisors_);
    }
    void Scan(std::int64_t range);

    // Written by Reset alone, before the job is offered; read by every thread of the scan.
    std::int64_t candidate_ = 0;
    std::int64_t firstDivisor_ = 0;
    std::int64_t count_ = 0;
    std::int64_t rangeDivisors_ = 1;
    std::int64_t ranges_ = 0;
    BlockScan scan_ = nullptr;
    std::size_t capacity_ = 0; // answer slots allocated
    std::unique_ptr<std::atomic<std::int64_t>[]> answers_;
    std::atomic<std::int64_t> next_{0};
    std::atomic<std::int64_t> firstWithDivisor_{0};
};

} // namespace search::detail
