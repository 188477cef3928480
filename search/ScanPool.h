#pragma once
// Worker threads that help the calling thread with one job at a time. The shared pool starts on first use
// with one worker fewer than the processors this process may run on (AvailableProcessors in
// framework/runtime/Processors.h: affinity mask and CPU quotas, read then), none when it may run on one only.
// Processors taken away later are followed by the callers, which offer a job to fewer workers.
// Every worker runs in the idle scheduling class (nice 19 where that is refused), so it takes only processor
// time that nothing else wants.
//
// The calling thread never waits for a worker: a worker the scheduler holds back may still be inside a job
// after its session has ended. So the job's state is owned jointly: every worker that takes the job holds
// it, and the job's owner may reuse or destroy it only once Held() is false. Finish tells the job to stop,
// withdraws the offers no worker has taken yet, and returns at once; a late worker finishes the range it is
// in on its own and lets go. Handing out and letting go are atomic exchanges and counts, sleeping and waking
// the atomic wait on a generation count (a futex on Linux): there is no lock the calling thread could queue
// on behind a worker.
//
// The shared pool is never destroyed, so that leaving the program waits for no worker, and at exit its
// workers go back to the normal class where the system permits it, so that the process ends at once rather
// than when the scheduler next gives each an idle processor; a pool of one's own
// stops and joins its workers in its destructor. A thread that cannot be started leaves the pool with fewer
// workers (none at worst), and the callers then do all the work. The pool knows nothing of the toolkit or the
// hook; workers run nothing but Job::Work.

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

namespace search {

class ScanPool {
public:
    class Job {
    public:
        // Called on each worker that takes the job, concurrently; returns when the job has no work left for
        // it or Stopping() is true. Touches nothing but the job's own state.
        virtual void Work() = 0;
        bool Stopping() const { return stopping_.load(std::memory_order_acquire); }
        // True while a worker holds the job or an offer of it waits: then the job may be neither started
        // again nor destroyed. Once false, everything the workers wrote into the job is visible.
        bool Held() const { return holders_.load(std::memory_order_acquire) != 0; }

    protected:
        ~Job() = default;

    private:
        friend class ScanPool;
        std::atomic<bool> stopping_{false};
        std::atomic<unsigned> holders_{0}; // workers holding the job and offers of it not taken
    };

    // The one pool of the process, started on first use.
    static ScanPool& Shared();

    explicit ScanPool(unsigned workers);
    ScanPool(const ScanPool&) = delete;
    ScanPool& operator=(const ScanPool&) = delete;
    // Stops the workers and joins them; jobs they still hold must outlive the pool.
    ~ScanPool();

    unsigned Workers() const { return workerCount_; }

    // Moves the workers back to the normal scheduling class where the system permits it, and returns how
    // many it moved. For the process's exit: the kernel must run every thread once to end it, and a worker of
    // the idle class on busy processors may wait seconds for that.
    unsigned ReturnWorkersToNormalClass();

    // Offers `job`, which must not be Held(), to the first `most` workers (every worker by default). False
    // (and nothing offered) when that is none or the pool already runs a job: a scan started while another
    // one waits inside the hook runs on its calling thread alone.
    static constexpr unsigned kEveryWorker = ~0u;
    bool TryStart(Job& job, unsigned most = kEveryWorker);
    // Ends the job handed out by TryStart without waiting: tells it to stop and withdraws the offers not
    // taken. Workers inside it leave after their current piece of work. Called by StartedSession.
    void Finish(Job& job);

private:
    struct Worker {
        std::thread thread;
        std::atomic<Job*> offer{nullptr}; // a job offered and not taken yet; counts as one holder
    };
    void Run(Worker& self);
    static void LetGo(Job& job) { job.holders_.fetch_sub(1, std::memory_order_release); }

    std::unique_ptr<Worker[]> workers_;
    unsigned workerCount_ = 0;
    // Changes at every job and at shutdown; the workers sleep in its atomic wait.
    std::atomic<std::uint32_t> generation_{0};
    std::atomic<bool> shuttingDown_{false};
    // Waking costs the waker per thread: the first worker up, offered the job or not, wakes the rest.
    std::atomic<bool> wakeOthers_{false};
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
