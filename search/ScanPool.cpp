#include "search/ScanPool.h"

#include "framework/runtime/Processors.h"
#include "framework/runtime/ThreadPriority.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>

namespace search {

ScanPool& ScanPool::Shared() {
    // Never destroyed: a worker held back by the scheduler may still be finishing a range as the process
    // exits, and exit kills it there rather than waiting for it.
    static ScanPool* const pool = [] {
        auto* const shared = new ScanPool(Ovelund::AvailableProcessors() - 1);
        std::atexit([] { Shared().ReturnWorkersToNormalClass(); });
        return shared;
    }();
    return *pool;
}

ScanPool::ScanPool(unsigned workers) : workers_(std::make_unique<Worker[]>(workers)) {
    for (; workerCount_ < workers; ++workerCount_) {
        Worker& worker = workers_[workerCount_];
        try {
            worker.thread = std::thread([this, &worker] { Run(worker); });
        } catch (const std::system_error&) {
            break; // the process may not start more threads: work with those started
        }
    }
}

ScanPool::~ScanPool() {
    shuttingDown_.store(true);
    generation_.fetch_add(1);
    generation_.notify_all();
    for (unsigned n = 0; n < workerCount_; ++n) {
        workers_[n].thread.join();
        if (Job* offered = workers_[n].offer.exchange(nullptr))
            LetGo(*offered);
    }
}

unsigned ScanPool::ReturnWorkersToNormalClass() {
    unsigned returned = 0;
    for (unsigned n = 0; n < workerCount_; ++n)
        returned += Ovelund::ReturnToNormalClass(workers_[n].thread) ? 1 : 0;
    return returned;
}

bool ScanPool::TryStart(Job& job, unsigned most) {
    const unsigned offers = std::min(most, workerCount_);
    if (offers == 0 || busy_.exchange(true, std::memory_order_acquire))
        return false;
    job.stopping_.store(false, std::memory_order_relaxed);
    for (unsigned n = 0; n < offers; ++n) {
        job.holders_.fetch_add(1, std::memory_order_relaxed);
        // Publishes the job's state to the worker that takes the offer.
        if (Job* stale = workers_[n].offer.exchange(&job, std::memory_order_acq_rel))
            LetGo(*stale);
    }
    wakeOthers_.store(true);
    generation_.fetch_add(1);
    generation_.notify_one();
    return true;
}

void ScanPool::Finish(Job& job) {
    job.stopping_.store(true, std::memory_order_release);
    for (unsigned n = 0; n < workerCount_; ++n) {
        Job* expected = &job;
        if (workers_[n].offer.compare_exchange_strong(expected, nullptr, std::memory_order_acq_rel))
            LetGo(job);
    }
    busy_.store(false, std::memory_order_release);
}

void ScanPool::Run(Worker& self) {
    Ovelund::LowerThreadToIdlePriority();
    for (;;) {
        // Read before the offer: an offer made after this read also changes the generation, and the wait
        // then does not sleep.
        const std::uint32_t seen = generation_.load();
        // The worker woken may be one the job was not offered to.
        if (wakeOthers_.exchange(false))
            generation_.notify_all();
        if (Job* job = self.offer.exchange(nullptr, std::memory_order_acq_rel)) {
            if (!job->Stopping())
                job->Work();
            LetGo(*job);
            continue;
        }
        if (shuttingDown_.load())
            return;
        generation_.wait(seen);
    }
}

} // namespace search
