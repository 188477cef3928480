// The worker pool of the divisor scan: every worker joins a job, and once a session has ended no worker is
// inside the job any more, also when an exception ends it. Waits are for conditions, never for time.

#include "search/ScanPool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

namespace {

using search::ScanPool;
using search::StartedSession;

// Each worker that joins counts itself and stays inside until the job is told to stop.
class CountingJob final : public ScanPool::Job {
public:
    void Work() override {
        inside.fetch_add(1);
        joined.fetch_add(1);
        while (!Stopping()) {
        }
        inside.fetch_sub(1);
    }
    void WaitUntilJoined(unsigned workers) const {
        while (joined.load() < workers) {
        }
    }
    std::atomic<unsigned> inside{0};
    std::atomic<unsigned> joined{0};
};

TEST(ScanPool, EveryWorkerJoinsAndNoneIsInsideOnceTheSessionHasEnded) {
    ScanPool pool(3);
    ASSERT_EQ(pool.Workers(), 3u);
    for (int round = 0; round < 20; ++round) {
        CountingJob job;
        {
            ASSERT_TRUE(pool.TryStart(job));
            const StartedSession session(pool, job);
            job.WaitUntilJoined(pool.Workers());
        }
        EXPECT_EQ(job.inside.load(), 0u) << "round " << round;
        EXPECT_EQ(job.joined.load(), 3u);
    }
}

TEST(ScanPool, AJobWhileAnotherRunsIsRefusedAndThePoolIsFreeAfterwards) {
    ScanPool pool(2);
    CountingJob first;
    CountingJob second;
    ASSERT_TRUE(pool.TryStart(first));
    {
        const StartedSession session(pool, first);
        EXPECT_FALSE(pool.TryStart(second)) << "a scan inside a scan runs on its calling thread";
    }
    EXPECT_EQ(second.joined.load(), 0u);
    ASSERT_TRUE(pool.TryStart(second));
    pool.Finish(second);
    EXPECT_EQ(second.inside.load(), 0u);
}

TEST(ScanPool, AnExceptionLeavingTheSessionStillWaitsForTheWorkers) {
    ScanPool pool(3);
    CountingJob job;
    ASSERT_TRUE(pool.TryStart(job));
    EXPECT_THROW(
        {
            const StartedSession session(pool, job);
            job.WaitUntilJoined(pool.Workers());
            throw std::runtime_error("unwinding");
        },
        std::runtime_error);
    EXPECT_EQ(job.inside.load(), 0u);
    CountingJob next;
    EXPECT_TRUE(pool.TryStart(next));
    pool.Finish(next);
}

TEST(ScanPool, APoolWithoutWorkersTakesNoJob) {
    ScanPool pool(0);
    CountingJob job;
    EXPECT_FALSE(pool.TryStart(job));
}

} // namespace
