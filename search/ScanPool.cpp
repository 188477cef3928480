#include "search/ScanPool.h"

#include <algorithm>
#include <system_error>

namespace search {
namespace {
// About a hundred microseconds of reading one atomic.
constexpr int kFinishSpins = 1 << 16;
} // namespace

ScanPool& ScanPool::Shared() {
    // Started on first use; joined by its destructor after main returns, when no job can be running.
    static ScanPool pool(std::max(1u, std::thread::hardware_concurrency()) - 1);
    return pool;
}

ScanPool::ScanPool(unsigned workers) {
    threads_.reserve(workers);
    for (unsigned n = 0; n < workers; ++n) {
        try {
            threads_.emplace_back([this] { Run(); });
        } catch (const std::system_error&) {
            break; // the process may not start more threads: work with those started
        }
    }
}

ScanPool::~ScanPool() {
    {
        const std::lock_guard lock(mutex_);
        shuttingDown_ = true;
    }
    wake_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
}

bool ScanPool::TryStart(Job& job) {
    if (threads_.empty() || busy_.exchange(true, std::memory_order_acquire))
        return false;
    job.stopping_.store(false, std::memory_order_relaxed);
    job_.store(&job);
    // Waking a sleeping thread costs the waker tens of microseconds a thread: the calling thread wakes one
    // worker, and that one wakes the others.
    wakeOthers_.store(true);
    {
        const std::lock_guard lock(mutex_);
        ++generation_;
    }
    wake_.notify_one();
    return true;
}

void ScanPool::Finish(Job& job) {
    job.stopping_.store(true, std::memory_order_release);
    job_.store(nullptr); // a worker that looks from now on finds nothing to join
    // Workers inside stop after the range they are scanning, within microseconds: spin for them first, since
    // a sleep and a wake-up cost far more than that.
    for (int spins = 0; spins < kFinishSpins && inside_.load() != 0; ++spins) {
    }
    if (inside_.load() != 0) {
        std::unique_lock lock(mutex_);
        left_.wait(lock, [this] { return inside_.load() == 0; });
    }
    busy_.store(false, std::memory_order_release);
}

void ScanPool::Run() {
    std::uint64_t seen = 0;
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [&] { return shuttingDown_ || generation_ != seen; });
            if (shuttingDown_)
                return;
            seen = generation_;
        }
        if (wakeOthers_.exchange(false))
            wake_.notify_all();
        inside_.fetch_add(1);
        if (Job* job = job_.load())
            job->Work();
        if (inside_.fetch_sub(1) == 1) {
            const std::lock_guard lock(mutex_); // Finish checks inside_ under the lock: no lost wake-up
            left_.notify_all();
        }
    }
}

} // namespace search
