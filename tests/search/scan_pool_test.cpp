// The worker pool of the divisor scan: every worker takes a job and lets go of it after its session has
// ended, also when an exception ends it; ending a session never waits for a worker still inside; workers run
// in the idle scheduling class. Waits are for conditions, never for time.

#include "framework/runtime/ThreadPriority.h"
#include "search/ScanPool.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

namespace {

using search::ScanPool;
using search::StartedSession;
using testing_support::WaitUntil;

// Each worker that joins counts itself and stays inside until the job is told to stop and, while gateOpen is
// false, until it turns true: a worker the scheduler holds back.
class CountingJob final : public ScanPool::Job {
public:
    void Work() override {
        inside.fetch_add(1);
        joined.fetch_add(1);
        while (!Stopping() || !gateOpen.load()) {
        }
        inside.fetch_sub(1);
    }
    void WaitUntilJoined(unsigned workers) const {
        WaitUntil([&] { return joined.load() >= workers; });
    }
    void WaitUntilLetGo() const {
        WaitUntil([&] { return !Held(); });
    }
    std::atomic<bool> gateOpen{true};
    std::atomic<unsigned> inside{0};
    std::atomic<unsigned> joined{0};
};

TEST(ScanPool, EveryWorkerTakesTheJobAndLetsGoOfItAfterTheSession) {
    ScanPool pool(3);
    ASSERT_EQ(pool.Workers(), 3u);
    for (int round = 0; round < 20; ++round) {
        CountingJob job;
        {
            ASSERT_TRUE(pool.TryStart(job));
            const StartedSession session(pool, job);
            job.WaitUntilJoined(pool.Workers());
        }
        job.WaitUntilLetGo();
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
    first.WaitUntilLetGo();
    second.WaitUntilLetGo();
    EXPECT_EQ(second.inside.load(), 0u);
}

TEST(ScanPool, AnExceptionLeavingTheSessionEndsTheJob) {
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
    EXPECT_TRUE(job.Stopping());
    job.WaitUntilLetGo();
    EXPECT_EQ(job.inside.load(), 0u);
    CountingJob next;
    EXPECT_TRUE(pool.TryStart(next));
    pool.Finish(next);
    next.WaitUntilLetGo();
}

// The workers stay inside the first job after its session, as when the scheduler holds them back: the
// session ends at once, the next job starts, and the late workers take it once they are out of the first.
TEST(ScanPool, EndingASessionDoesNotWaitForAWorkerStillInside) {
    ScanPool pool(2);
    CountingJob late;
    late.gateOpen = false;
    ASSERT_TRUE(pool.TryStart(late));
    late.WaitUntilJoined(pool.Workers());
    pool.Finish(late);
    EXPECT_EQ(late.inside.load(), 2u);
    EXPECT_TRUE(late.Held());

    CountingJob next;
    ASSERT_TRUE(pool.TryStart(next)) << "the pool is free although its workers are still busy";
    EXPECT_EQ(next.joined.load(), 0u);
    late.gateOpen = true;
    late.WaitUntilLetGo();
    EXPECT_EQ(late.inside.load(), 0u);
    next.WaitUntilJoined(pool.Workers());
    pool.Finish(next);
    next.WaitUntilLetGo();
}

// An offer no worker has taken yet is withdrawn when the session ends; the job is then free at once.
TEST(ScanPool, OffersNotTakenAreWithdrawnAtTheEnd) {
    ScanPool pool(2);
    CountingJob late;
    late.gateOpen = false;
    ASSERT_TRUE(pool.TryStart(late));
    late.WaitUntilJoined(pool.Workers());
    pool.Finish(late);
    CountingJob untaken;
    ASSERT_TRUE(pool.TryStart(untaken));
    pool.Finish(untaken);
    EXPECT_FALSE(untaken.Held()) << "both workers are still inside the first job";
    late.gateOpen = true;
    late.WaitUntilLetGo();
    EXPECT_EQ(untaken.joined.load(), 0u);
}

TEST(ScanPool, WorkersRunInTheIdleClassOrAtTheWeakestNiceLevel) {
    class PriorityJob final : public ScanPool::Job {
    public:
        void Work() override {
            const Ovelund::ThreadPriority priority = Ovelund::CurrentThreadPriority();
            seen.fetch_add(1);
            if (priority == Ovelund::ThreadPriority::Unchanged)
                unchanged.fetch_add(1);
            while (!Stopping()) {
            }
        }
        std::atomic<unsigned> seen{0};
        std::atomic<unsigned> unchanged{0};
    } job;
    const Ovelund::ThreadPriority own = Ovelund::CurrentThreadPriority();
    ScanPool pool(3);
    ASSERT_TRUE(pool.TryStart(job));
    WaitUntil([&] { return job.seen.load() >= pool.Workers(); });
    pool.Finish(job);
    WaitUntil([&] { return !job.Held(); });
    EXPECT_EQ(job.unchanged.load(), 0u);
    EXPECT_EQ(Ovelund::CurrentThreadPriority(), own) << "the calling thread keeps its own";
}

// For the exit: workers moved back to the normal class run there, where the system lets the process move
// them (as root); where it refuses, they stay in the idle class.
TEST(ScanPool, WorkersReturnToTheNormalClassWherePermitted) {
    class PriorityJob final : public ScanPool::Job {
    public:
        void Work() override {
            if (Ovelund::CurrentThreadPriority() == Ovelund::ThreadPriority::Unchanged)
                normal.fetch_add(1);
            seen.fetch_add(1);
            while (!Stopping()) {
            }
        }
        std::atomic<unsigned> seen{0};
        std::atomic<unsigned> normal{0};
    } job;
    ScanPool pool(3);
    CountingJob first; // the workers lower themselves as they start: wait until they all have
    ASSERT_TRUE(pool.TryStart(first));
    first.WaitUntilJoined(pool.Workers());
    pool.Finish(first);
    first.WaitUntilLetGo();
    const unsigned returned = pool.ReturnWorkersToNormalClass();
    ASSERT_TRUE(pool.TryStart(job));
    WaitUntil([&] { return job.seen.load() >= pool.Workers(); });
    pool.Finish(job);
    WaitUntil([&] { return !job.Held(); });
    EXPECT_EQ(job.normal.load(), returned);
    if (returned == 0)
        GTEST_SKIP() << "this process may not leave the idle class";
}

// A job offered to fewer workers than the pool has is taken by those alone, whichever worker the wake-up
// reaches first; offered to none, it is refused.
TEST(ScanPool, AJobOfferedToSomeWorkersIsTakenByThoseAlone) {
    ScanPool pool(4);
    for (const unsigned most : {1u, 2u, 3u}) {
        for (int round = 0; round < 20; ++round) {
            CountingJob job;
            ASSERT_TRUE(pool.TryStart(job, most));
            job.WaitUntilJoined(most);
            pool.Finish(job);
            job.WaitUntilLetGo();
            EXPECT_EQ(job.joined.load(), most) << "offered to " << most << ", round " << round;
        }
    }
    CountingJob none;
    EXPECT_FALSE(pool.TryStart(none, 0));
    EXPECT_FALSE(none.Held());
}

TEST(ScanPool, APoolWithoutWorkersTakesNoJob) {
    ScanPool pool(0);
    CountingJob job;
    EXPECT_FALSE(pool.TryStart(job));
    EXPECT_FALSE(job.Held());
}

} // namespace
