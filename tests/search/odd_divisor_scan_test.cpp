#include "search/DivisorRanges.h"
#include "search/OddDivisorScan.h"
#include "search/OddDivisorScanDetail.h"
#include "search/ScanPool.h"

#include "framework/runtime/BackgroundTask.h"
#include "framework/runtime/EventLoop.h"
#include "framework/startup/Startup.h"
#include "support/Wait.h"

#include <gtest/gtest.h>
#include <sched.h>

#include <atomic>
#include <cstdint>
#include <limits>
#include <new>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace {

using search::DivisionKernel;
using testing_support::WaitUntil;

// What a scan reports: the divisor found (0: none) and how many hook calls it accounted.
struct Scan {
    std::int64_t divisor;
    std::uint64_t hookCalls;
    bool operator==(const Scan&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Scan& scan) {
    return out << "divisor " << scan.divisor << " after " << scan.hookCalls << " hook calls";
}

template <class Function> Scan Measure(Function scan) {
    const std::uint64_t before = Ovelund::RuntimeBackgroundTaskCount();
    const std::int64_t divisor = scan();
    return {divisor, Ovelund::RuntimeBackgroundTaskCount() - before};
}

Scan ScanWith(DivisionKernel kernel, std::int64_t candidate) {
    return Measure([&] { return search::FirstOddDivisorWith(kernel, candidate); });
}

Scan ScanPlain(std::int64_t candidate) {
    return Measure([&] { return search::FirstOddDivisorPlain(candidate); });
}

// An independent answer for odd candidates: the smallest odd factor by trial division up to the square
// root, the candidate itself when it is prime.
std::int64_t SmallestOddFactor(std::int64_t odd) {
    for (std::int64_t j = 3; j * j <= odd; j += 2)
        if (odd % j == 0)
            return j;
    return odd;
}

bool IsOddPrime(std::int64_t n) {
    return n >= 3 && n % 2 != 0 && SmallestOddFactor(n) == n;
}

std::int64_t NextOddPrime(std::int64_t from) {
    std::int64_t n = from | 1;
    while (!IsOddPrime(n))
        n += 2;
    return n;
}

// The scan the plain loop would make when `divisor` is the first dividing one, or when none divides.
Scan ExpectedFind(std::int64_t divisor) {
    return {divisor, static_cast<std::uint64_t>((divisor - 3) / 2)};
}
Scan ExpectedNone(std::int64_t candidate) {
    return {0, static_cast<std::uint64_t>((candidate - 3) / 2)};
}
Scan ExpectedForOdd(std::int64_t odd) {
    const std::int64_t factor = SmallestOddFactor(odd);
    return factor == odd ? ExpectedNone(odd) : ExpectedFind(factor);
}

constexpr std::int64_t kExactLimit = std::int64_t{1} << 34;

// How a scan is spread over the threads: on the calling thread alone (as with one core), as set by default,
// or with every candidate handed to the pool in small ranges of an odd length, so that even the smallest
// candidates cross many ranges and end at every position in one.
enum class Spread { CallingThread, Default, EveryRange };

search::ParallelScan SettingsFor(Spread spread) {
    search::ParallelScan settings;
    settings.enabled = spread != Spread::CallingThread;
    if (spread == Spread::EveryRange) {
        settings.serialDivisors = 0;
        settings.rangeDivisors = 97;
    }
    return settings;
}

struct KernelAndSpread {
    DivisionKernel kernel;
    Spread spread;
};

class OddDivisorScanKernel : public ::testing::TestWithParam<KernelAndSpread> {
protected:
    void SetUp() override {
        if (!search::DivisionKernelSupported(Kernel()))
            GTEST_SKIP() << "this processor lacks the instructions";
        search::SetParallelScan(SettingsFor(GetParam().spread));
    }
    void TearDown() override { search::SetParallelScan(search::ParallelScan{}); }
    DivisionKernel Kernel() const { return GetParam().kernel; }
};

TEST_P(OddDivisorScanKernel, MatchesThePlainLoopOnEverySmallNumber) {
    // Up to 20001 the scans cross several blocks and end at every position of a vector and a group.
    for (std::int64_t candidate = -3; candidate <= 20001; ++candidate) {
        ASSERT_EQ(ScanWith(Kernel(), candidate), ScanPlain(candidate)) << "candidate " << candidate;
    }
}

TEST_P(OddDivisorScanKernel, MatchesThePlainLoopOnCompositesUpToTheLimit) {
    std::vector<std::int64_t> candidates = {
        9999999999,                               // 3 divides
        9999999969,                               // 3 divides
        9999999971,                               // 13 divides
        99991LL * 99991,                          // 9998200081, a square of a prime
        99991LL * 100003,                         // two large primes
        131071LL * 131071,                        // the largest smallest factor below 2^34
        131071LL * 131101,                        // beyond 2^34: the plain loop's turn
        kExactLimit + 1,                          // beyond 2^34: 5 divides
        std::numeric_limits<std::int64_t>::max(), // 7 divides
    };
    // Random odd composites in the top octave, where the quotients of small divisors are largest.
    std::mt19937_64 random(20240601);
    while (candidates.size() < 400) {
        const std::int64_t candidate =
            static_cast<std::int64_t>(random() % (kExactLimit / 2)) + kExactLimit / 2;
        if (candidate % 2 != 0 && !IsOddPrime(candidate))
            candidates.push_back(candidate);
    }
    for (const std::int64_t candidate : candidates) {
        ASSERT_EQ(ScanWith(Kernel(), candidate), ScanPlain(candidate)) << "candidate " << candidate;
    }
}

TEST_P(OddDivisorScanKernel, ScansPrimesToTheLastDivisor) {
    const std::int64_t primes[] = {3,      5,       7,        2003,       4099,      65537,
                                   131101, 1000003, 16777213, 2147483647, 9999999967};
    for (const std::int64_t prime : primes) {
        ASSERT_TRUE(IsOddPrime(prime)) << prime;
        if (prime < 20000000) {
            EXPECT_EQ(ScanPlain(prime), ExpectedNone(prime)) << "prime " << prime;
        }
        EXPECT_EQ(ScanWith(Kernel(), prime), ExpectedNone(prime)) << "prime " << prime;
    }
}

// Odd candidates below 2^34 have their first divisor below 2^17; only an even candidate 2^a p (p an odd
// prime) has a first odd divisor beyond, so these find divisors where large ones are tested.
TEST_P(OddDivisorScanKernel, FindsLargeOddDivisorsOfEvenCandidates) {
    std::vector<std::int64_t> primes;
    for (const std::int64_t from : {3001LL, 65537LL, 131000LL, 131071LL, 131075LL, 1000000LL, 16777216LL})
        primes.push_back(NextOddPrime(from));
    // Random positions in the blocks; the quotients are largest just above 2^17.
    std::mt19937_64 random(7);
    for (int n = 0; n < 100; ++n)
        primes.push_back(NextOddPrime(131075 + static_cast<std::int64_t>(random() % 4000000)));
    for (int n = 0; n < 1000; ++n)
        primes.push_back(NextOddPrime(131075 + static_cast<std::int64_t>(random() % 100000)));

    for (const std::int64_t prime : primes) {
        // The smallest and the largest power of two below 2^34: small and large quotients.
        std::int64_t largest = 2 * prime;
        while (2 * largest < kExactLimit)
            largest *= 2;
        for (const std::int64_t candidate : {2 * prime, largest}) {
            ASSERT_EQ(ScanWith(Kernel(), candidate), ExpectedFind(prime)) << "candidate " << candidate;
        }
    }
    // A power of two has no odd divisor at all.
    EXPECT_EQ(ScanWith(Kernel(), std::int64_t{1} << 24), ExpectedNone(std::int64_t{1} << 24));
}

// Near the limit: the last primes, every odd number between them, squares of primes and products of two
// large primes, whose first divisors lie deep in the range. Primes are judged by the independent test; the
// composites' first divisors come early enough for the plain loop.
TEST_P(OddDivisorScanKernel, MatchesThePlainLoopOnPrimesAndNearPrimesNearTheLimit) {
    std::vector<std::int64_t> odd;
    for (std::int64_t candidate = 9'999'999'901; candidate <= 9'999'999'999; candidate += 2)
        odd.push_back(candidate);
    for (const std::int64_t p : {46337LL, 65521LL, 92821LL, 99991LL, 131071LL}) {
        odd.push_back(p * p);
        odd.push_back(p * NextOddPrime(p + 2));
    }
    const bool slow = Kernel() == DivisionKernel::Scalar && GetParam().spread == Spread::CallingThread;
    for (const std::int64_t candidate : odd) {
        if (candidate >= kExactLimit)
            continue;
        if (IsOddPrime(candidate)) {
            // The scalar kernel alone takes seconds a prime here; ScansPrimesToTheLastDivisor has one.
            if (!slow) {
                EXPECT_EQ(ScanWith(Kernel(), candidate), ExpectedNone(candidate)) << "prime " << candidate;
            }
            continue;
        }
        ASSERT_EQ(ScanWith(Kernel(), candidate), ScanPlain(candidate)) << "candidate " << candidate;
        ASSERT_EQ(ScanWith(Kernel(), candidate), ExpectedFind(SmallestOddFactor(candidate)))
            << "candidate " << candidate;
    }
}

// A quit requested while the scan runs makes the hook throw at its next clock check; the exception leaves
// the scan, and the next scan works as before.
TEST_P(OddDivisorScanKernel, LetsTheQuitUnwindingPassAndStaysUsable) {
    Ovelund::RuntimeInit();
    Ovelund::Quit(0);
    EXPECT_THROW(search::FirstOddDivisorWith(Kernel(), 1000003), Ovelund::QuitUnwind);
    Ovelund::RuntimeInit();
    EXPECT_EQ(ScanWith(Kernel(), 1000003), ExpectedNone(1000003));
}

std::string KernelAndSpreadName(const ::testing::TestParamInfo<KernelAndSpread>& info) {
    std::string name;
    switch (info.param.kernel) {
    case DivisionKernel::Scalar:
        name = "Scalar";
        break;
    case DivisionKernel::Avx2:
        name = "Avx2";
        break;
    case DivisionKernel::Avx512:
        name = "Avx512";
        break;
    }
    switch (info.param.spread) {
    case Spread::CallingThread:
        return name + "_CallingThread";
    case Spread::Default:
        return name + "_Default";
    case Spread::EveryRange:
        return name + "_EveryRange";
    }
    return name;
}

void PrintTo(const KernelAndSpread& value, std::ostream* out) {
    *out << KernelAndSpreadName(::testing::TestParamInfo<KernelAndSpread>(value, 0));
}

std::vector<KernelAndSpread> EveryKernelAndSpread() {
    std::vector<KernelAndSpread> all;
    for (const DivisionKernel kernel : {DivisionKernel::Scalar, DivisionKernel::Avx2, DivisionKernel::Avx512})
        for (const Spread spread : {Spread::CallingThread, Spread::Default, Spread::EveryRange})
            all.push_back({kernel, spread});
    return all;
}

INSTANTIATE_TEST_SUITE_P(Kernels, OddDivisorScanKernel, ::testing::ValuesIn(EveryKernelAndSpread()),
                         KernelAndSpreadName);

TEST(OddDivisorScan, PlainLoopCallsTheHookAfterEveryDivisorThatFails) {
    const struct {
        std::int64_t candidate;
        Scan expected;
    } cases[] = {
        {3, {0, 0}}, {5, {0, 1}}, {9, {3, 0}},  {15, {3, 0}}, {25, {5, 1}}, {49, {7, 2}},
        {4, {0, 0}}, {6, {3, 0}}, {10, {5, 1}}, {16, {0, 6}}, {2, {0, 0}},  {-9, {0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ScanPlain(c.candidate), c.expected) << "candidate " << c.candidate;
    }
}

TEST(OddDivisorScan, PlainLoopLetsTheQuitUnwindingPass) {
    Ovelund::RuntimeInit();
    Ovelund::Quit(0);
    EXPECT_THROW(search::FirstOddDivisorPlain(1000003), Ovelund::QuitUnwind);
    Ovelund::RuntimeInit();
    EXPECT_EQ(ScanPlain(1000003), ExpectedNone(1000003));
}

// Nothing the pool runs; lets a test see whether the pool would take a job.
class NoWork final : public search::ScanPool::Job {
public:
    void Work() override {}
};

bool PoolTakesAJob() {
    search::ScanPool& pool = search::ScanPool::Shared();
    NoWork job;
    if (!pool.TryStart(job))
        return false;
    pool.Finish(job);
    WaitUntil([&] { return !job.Held(); });
    return true;
}

// Keeps every worker of the shared pool inside it until released, as a scheduler that gives the workers no
// time would: the scans in between run with the pool taken by nobody.
class HeldBackWorkers final : public search::ScanPool::Job {
public:
    HeldBackWorkers() {
        search::ScanPool& pool = search::ScanPool::Shared();
        EXPECT_TRUE(pool.TryStart(*this));
        WaitUntil([&] { return inside_.load() >= pool.Workers(); });
        pool.Finish(*this);
    }
    HeldBackWorkers(const HeldBackWorkers&) = delete;
    HeldBackWorkers& operator=(const HeldBackWorkers&) = delete;
    ~HeldBackWorkers() {
        released_ = true;
        WaitUntil([&] { return !Held(); });
    }
    void Work() override {
        inside_.fetch_add(1);
        while (!released_.load()) {
        }
    }

private:
    std::atomic<unsigned> inside_{0};
    std::atomic<bool> released_{false};
};

// Every scan below spreads over the pool from its first divisor, in small ranges.
class ScanWithHeldBackWorkers : public ::testing::Test {
protected:
    void SetUp() override {
        if (search::ParallelScanWorkers() == 0)
            GTEST_SKIP() << "one processor: no workers";
        search::ParallelScan everyRange;
        everyRange.serialDivisors = 0;
        everyRange.rangeDivisors = 4099;
        search::SetParallelScan(everyRange);
    }
    void TearDown() override { search::SetParallelScan(search::ParallelScan{}); }
};

const std::int64_t kHeldBackCandidates[] = {16777213, 1000003LL * 1009, 99991LL * 100003, 3 * 16777213LL};

// The workers are inside another job: the calling thread scans every range itself, without waiting, with the
// plain loop's answers.
TEST_F(ScanWithHeldBackWorkers, TheCallingThreadScansAloneWhenNoWorkerComes) {
    const HeldBackWorkers busy;
    for (const std::int64_t candidate : kHeldBackCandidates)
        EXPECT_EQ(Measure([&] { return search::FirstOddDivisor(candidate); }), ExpectedForOdd(candidate))
            << "candidate " << candidate;
}

// Each worker takes a range and stays inside it: the calling thread scans those ranges too once the
// accounting has waited for them, and returns with the plain loop's answers while the workers still sit
// there.
TEST_F(ScanWithHeldBackWorkers, TheCallingThreadScansRangesThatWorkersSitOn) {
    static std::atomic<bool> released{false};
    static std::atomic<unsigned> sitting{0};
    static thread_local bool onCallingThread = false;
    const search::detail::BlockScan sitOnRanges = [](std::int64_t candidate, std::int64_t firstDivisor,
                                                     std::int64_t count) {
        if (!onCallingThread) {
            sitting.fetch_add(1);
            while (!released.load()) {
            }
            sitting.fetch_sub(1);
        }
        return search::detail::FirstDividingOffsetScalar(candidate, firstDivisor, count);
    };
    onCallingThread = true;
    for (const std::int64_t candidate : kHeldBackCandidates) {
        released = false;
        const std::int64_t divisors = (candidate - 3) / 2;
        std::int64_t offset = -1;
        const Scan scan = Measure([&] {
            EXPECT_TRUE(search::detail::ScanOnAllCores(candidate, 3, divisors, 4099, sitOnRanges, offset));
            return offset < divisors ? 3 + 2 * offset : 0;
        });
        EXPECT_EQ(scan, ExpectedForOdd(candidate)) << "candidate " << candidate;
        released = true;
        WaitUntil([] { return sitting.load() == 0; });
    }
}

// The hook throws inside the scan on all cores; the scan stops its workers on the way out, so the pool is
// free for the next scan at once, which again is exact.
TEST(OddDivisorScan, AQuitInsideTheScanOnAllCoresLeavesThePoolFree) {
    if (search::ParallelScanWorkers() == 0)
        GTEST_SKIP() << "one core: no workers";
    search::ParallelScan everyRange;
    everyRange.serialDivisors = 0;
    search::SetParallelScan(everyRange);
    Ovelund::RuntimeInit();
    Ovelund::Quit(0);
    EXPECT_THROW(search::FirstOddDivisor(9'999'999'967), Ovelund::QuitUnwind);
    Ovelund::RuntimeInit();
    EXPECT_TRUE(PoolTakesAJob());
    EXPECT_EQ(Measure([] { return search::FirstOddDivisor(16777213); }), ExpectedNone(16777213));
    search::SetParallelScan(search::ParallelScan{});
}

TEST(OddDivisorScan, SettingsAreKeptWithinTheirBounds) {
    search::SetParallelScan(search::ParallelScan{true, -5, 0});
    EXPECT_EQ(search::CurrentParallelScan().serialDivisors, 0);
    EXPECT_EQ(search::CurrentParallelScan().rangeDivisors, 1);
    // Ranges of one divisor: the pool takes larger ones rather than millions of answer slots.
    EXPECT_EQ(Measure([] { return search::FirstOddDivisor(16777213); }), ExpectedNone(16777213));
    EXPECT_EQ(Measure([] { return search::FirstOddDivisor(2 * 1000003); }), ExpectedFind(1000003));
    search::SetParallelScan(false);
    EXPECT_FALSE(search::CurrentParallelScan().enabled);
    EXPECT_EQ(search::CurrentParallelScan().serialDivisors, 0) << "turning the pool off keeps the rest";
    search::SetParallelScan(search::ParallelScan{});
    EXPECT_TRUE(search::CurrentParallelScan().enabled);
}

TEST(OddDivisorScan, FirstOddDivisorUsesASupportedKernel) {
    EXPECT_TRUE(search::DivisionKernelSupported(search::ActiveDivisionKernel()));
    EXPECT_TRUE(search::DivisionKernelSupported(DivisionKernel::Scalar));
    for (const std::int64_t candidate : {3LL, 9LL, 1000003LL, 99991LL * 100003, 2LL * 1000003}) {
        EXPECT_EQ(Measure([&] { return search::FirstOddDivisor(candidate); }),
                  ScanWith(search::ActiveDivisionKernel(), candidate))
            << "candidate " << candidate;
    }
}

// Settings at the ends of 64 bits are kept within what a scan can use: counts of ranges and divisors never
// overflow, and every scan stays the plain loop's.
TEST(OddDivisorScan, SettingsAtTheExtremesKeepEveryScanExact) {
    constexpr std::int64_t kMost = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t kLeast = std::numeric_limits<std::int64_t>::min();
    const search::ParallelScan settings[] = {
        {true, 0, kMost},     {true, 0, kMost - 1},   {true, 0, std::int64_t{1} << 62},
        {true, kMost, kMost}, {true, kLeast, kLeast}, {true, kMost, 1},
        {true, 0, kLeast},    {true, kLeast, kMost},
    };
    for (const search::ParallelScan& setting : settings) {
        search::SetParallelScan(setting);
        EXPECT_LE(search::CurrentParallelScan().rangeDivisors, std::int64_t{1} << 33);
        EXPECT_LE(search::CurrentParallelScan().serialDivisors, std::int64_t{1} << 33);
        for (const std::int64_t candidate : {9LL, 15LL, 2'000'006LL, 1'000'003LL, 16'777'213LL})
            EXPECT_EQ(Measure([&] { return search::FirstOddDivisor(candidate); }), ScanPlain(candidate))
                << "candidate " << candidate << ", serial " << setting.serialDivisors << ", range "
                << setting.rangeDivisors;
    }
    search::SetParallelScan(search::ParallelScan{});
}

// The ranges' job on the calling thread alone (no worker takes it): what Reset computes is what Drive walks.
TEST(DivisorRanges, RangesAsLongAsTheLargestNumberMakeOne) {
    search::detail::DivisorRanges job;
    const std::int64_t ranges[] = {std::numeric_limits<std::int64_t>::max(), std::int64_t{1} << 62, 2, 1};
    for (const std::int64_t range : ranges) {
        job.Reset(9, 3, 3, range, search::detail::FirstDividingOffsetScalar);
        EXPECT_EQ(Measure([&] { return 3 + 2 * job.Drive(); }), ExpectedFind(3)) << "ranges of " << range;
        job.Reset(1'000'003, 3, (1'000'003 - 3) / 2, range, search::detail::FirstDividingOffsetScalar);
        const Scan none = Measure([&] { return job.Drive() == (1'000'003 - 3) / 2 ? 0 : -1; });
        EXPECT_EQ(none, ExpectedNone(1'000'003)) << "ranges of " << range;
    }
}

// Answer slots that cannot be had leave the job as it was: the next scan with more ranges than it held before
// gets slots of its own instead of writing past the old ones.
TEST(DivisorRanges, AFailedAllocationLeavesTheJobUsable) {
    search::detail::DivisorRanges job;
    job.Reset(9, 3, 3, 1, search::detail::FirstDividingOffsetScalar);
    EXPECT_EQ(Measure([&] { return 3 + 2 * job.Drive(); }), ExpectedFind(3));
    EXPECT_THROW(job.Reset(9, 3, std::numeric_limits<std::int64_t>::max(), 1,
                           search::detail::FirstDividingOffsetScalar),
                 std::bad_alloc);
    const std::int64_t candidate = 1'000'003LL * 1009;
    const std::int64_t divisors = (candidate - 3) / 2;
    job.Reset(candidate, 3, divisors, 4099, search::detail::FirstDividingOffsetScalar);
    EXPECT_EQ(Measure([&] {
                  const std::int64_t offset = job.Drive();
                  return offset < divisors ? 3 + 2 * offset : 0;
              }),
              ExpectedForOdd(candidate));
}

// Pins the calling thread to its first `count` processors for the object's life.
class PinnedTo {
public:
    explicit PinnedTo(int count) {
        sched_getaffinity(0, sizeof before_, &before_);
        cpu_set_t some;
        CPU_ZERO(&some);
        for (int n = 0, pinned = 0; n < CPU_SETSIZE && pinned < count; ++n)
            if (CPU_ISSET(n, &before_)) {
                CPU_SET(n, &some);
                ++pinned;
            }
        pinned_ = sched_setaffinity(0, sizeof some, &some) == 0;
    }
    PinnedTo(const PinnedTo&) = delete;
    PinnedTo& operator=(const PinnedTo&) = delete;
    ~PinnedTo() { sched_setaffinity(0, sizeof before_, &before_); }
    bool Pinned() const { return pinned_; }

private:
    cpu_set_t before_;
    bool pinned_ = false;
};

// Processors taken away after the pool started: a scan offers its ranges to one worker fewer than the
// processors left, and to none on one processor, where it is the one-thread loop.
TEST(OddDivisorScan, AScanOffersItsRangesToNoMoreWorkersThanProcessorsLeft) {
    if (search::ParallelScanWorkers() < 2)
        GTEST_SKIP() << "fewer than three processors: nothing to take away";
    static std::atomic<unsigned> workersSeen{0};
    static thread_local bool seen = false;
    static thread_local bool onCallingThread = false;
    const search::detail::BlockScan noteWorkers = [](std::int64_t candidate, std::int64_t firstDivisor,
                                                     std::int64_t count) {
        if (!onCallingThread && !seen) {
            seen = true;
            workersSeen.fetch_add(1);
        }
        return search::detail::FirstDividingOffsetScalar(candidate, firstDivisor, count);
    };
    onCallingThread = true;
    const std::int64_t candidate = 16'777'213;
    const std::int64_t divisors = (candidate - 3) / 2;
    for (const int processors : {1, 2}) {
        const PinnedTo pinned(processors);
        ASSERT_TRUE(pinned.Pinned());
        EXPECT_EQ(search::detail::HelpingWorkers(), static_cast<unsigned>(processors - 1));
        workersSeen = 0;
        std::int64_t offset = -1;
        const bool spread = search::detail::ScanOnAllCores(candidate, 3, divisors, 97, noteWorkers, offset);
        EXPECT_EQ(spread, processors > 1) << processors << " processors";
        if (spread) {
            EXPECT_EQ(offset, divisors);
        }
        // The late workers have let go once the pool takes a job again.
        WaitUntil([] { return PoolTakesAJob(); });
        EXPECT_LE(workersSeen.load(), static_cast<unsigned>(processors - 1)) << processors << " processors";
        search::SetParallelScan(search::ParallelScan{true, 0, 97});
        EXPECT_EQ(Measure([&] { return search::FirstOddDivisor(candidate); }), ExpectedNone(candidate));
        search::SetParallelScan(search::ParallelScan{});
    }
    EXPECT_GT(search::detail::HelpingWorkers(), 0u) << "all processors back";
}

} // namespace
