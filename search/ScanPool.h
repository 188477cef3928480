#pragma once
// Worker threads that help the calling thread with one job at a time. The threads are started once, on first
// use, one fewer than the processor's cores (std::thread::hardware_concurrency), and wait for work in
// between; the pool's destructor, at static destruction after main returns, stops and joins them.
//
// A job is handed out for the lifetime of a StartedSession. The session's end (its destructor, also while an
// exception unwinds through the caller) tells the job to stop and waits until no worker is inside it any
// more, so nothing touches the job after the session is gone. Workers never run anything but Job::Work.
//
// Standard C++ threads only; the pool knows nothing of the toolkit or the hook. A thread that cannot be
// started leaves the pool with fewer workers (none at worst), and the callers then do all the work.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace search {

class ScanPool {
public:
    class Job {
    public:
        // Called on each worker that joins the job, concurrently; returns when the job has no work left for
        // it or Stopping() is true.
        virtual void Work() = 0;
        bool Stopping() const { return stopping_.load(std::memory_order_acquire); }

    protected:
        ~Job() = default;

    private:
        friend class ScanPool;
        std::atomic<bool> stopping_{false};
    };

    // The one pool of the process.
    static ScanPool& Shared();

    explicit ScanPool(unsigned workers);
    ScanPool(const ScanPool&) = delete;
    ScanPool& operator=(const ScanPool&) = delete;
    ~ScanPool();

    unsigned Workers() const { return static_cast<unsigned>(threads_.size()); }

    // Hands `job` to the workers. False (and nothing handed out) when the pool has no workers or already runs
    // a job: a scan started while another one waits inside the hook runs on its calling thread alone.
    bool TryStart(Job& job);
    // Ends the job handed out by TryStart: tells it to stop and waits until no worker is inside it. Called by
    // StartedSession.
    void Finish(Job& job);

private:
    void Run();

    std::vector<std::thread> threads_;
    // Sleeping and waking go through a lock and condition variables (the standard atomic wait of this
    // library loses wake-ups); handing a job out and counting workers are atomic, so that waking workers do
    // not queue on the lock. A worker counts itself inside before it reads job_, and Finish clears job_
    // before it reads inside_, both sequentially consistent: either Finish sees the worker and waits for
    // it, or the worker sees no job.
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable left_;
    std::uint64_t generation_ = 0; // guarded by mutex_; counts jobs handed out
    bool shuttingDown_ = false;    // guarded by mutex_
    std::atomic<Job*> job_{nullptr};
    std::atomic<unsigned> inside_{0};     // workers that may be inside job_->Work()
    std::atomic<bool> wakeOthers_{false}; // the first worker to wake wakes the others
    std::atomic<bool> busy_{false};
};

// Ends the job when it goes out of scope, on every way out.
class StartedSession {
public:
    StartedSession(ScanPool& pool, ScanPool::Job& job) : pool_(pool), job_(job) {}
    StartedSession(const StartedSession&) = delete;
    StartedSession& operator=(const StartedSession&) = delete;
    ~StartedSession() { pool_.Finish(job_); }

private:
    ScanPool& pool_;
    ScanPool::Job& job_;
};

} // namespace search
