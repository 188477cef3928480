// The scan over all cores: a job of ranges (search/DivisorRanges) that the calling thread drives and the
// pool's workers help with. The job ends without waiting, so a late worker may still be inside it
// afterwards: jobs are kept and reused only once no worker holds it.

#include "framework/core/FlagScope.h"
#include "framework/runtime/Processors.h"
#include "search/DivisorRanges.h"
#include "search/OddDivisorScanDetail.h"
#include "search/ScanPool.h"

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

namespace search::detail {
namespace {

constexpr std::int64_t kMostRanges = std::int64_t{1} << 20;

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

} // namespace

unsigned HelpingWorkers() {
    const unsigned processors = Ovelund::AvailableProcessorsNow();
    return std::min(ScanPool::Shared().Workers(), processors - 1);
}

bool ScanOnAllCores(std::int64_t candidate, std::int64_t firstDivisor, std::int64_t count,
                    std::int64_t rangeDivisors, BlockScan scan, std::int64_t& offset) {
    ScanPool& pool = ScanPool::Shared();
    const unsigned helpers = HelpingWorkers();
    if (helpers == 0)
        return false;
    // Bounds the answer slots (8 bytes a range) whatever the settings.
    const std::int64_t length = std::max(rangeDivisors, RangesCovering(count, kMostRanges));
    DivisorRanges& job = FreeJob();
    try {
        job.Reset(candidate, firstDivisor, count, length, scan);
    } catch (const std::bad_alloc&) {
        return false; // no memory for the answer slots: the calling thread scans alone
    }
    if (!pool.TryStart(job, helpers))
        return false;
    // Marks the job driven for the scan's lifetime, on every way out.
    const Ovelund::FlagScope driving(job.driven);
    // Ends the job on every way out, also when the hook throws, without waiting for its workers.
    const StartedSession session(pool, job);
    offset = job.Drive();
    return true;
}

} // namespace search::detail
