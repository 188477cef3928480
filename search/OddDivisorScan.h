#pragma once
// The prime search's divisor loop: for a candidate i, the odd divisors j = 3, 5, 7, ... are tried in
// ascending order while j <= i - 2; the first that divides i is the answer, and none dividing means i is
// prime. After every divisor that does not divide i the loop owes one background-task hook call
// (Ovelund::RuntimeBackgroundTask); the turn that finds the divisor owes none. The fast kernels test a block
// of divisors at a time and account the block's calls at once, with the exact count, so the hook's call
// counter ends up exactly where the plain loop leaves it. The hook may throw Ovelund::QuitUnwind; it passes
// through these functions, and a scan spread over the worker threads tells them to stop as the exception
// leaves, without waiting for them.
//
// Large scans use every processor the process may run on: the calling thread scans the first divisors alone
// (small candidates and composites with a small factor end there), then the pool's worker threads
// (search/ScanPool, in the idle scheduling class) join in on ranges of divisors. Only the calling thread
// calls the hook, as the prefix of ranges known free grows, and it never waits for a worker, so events keep
// coming every few milliseconds; the result and the hook count are the plain loop's.
//
// Contract of every function below: a candidate below 3 (zero and negatives included) has no divisor in
// the range and gives 0 without any hook call. Even candidates are not special: the result is their first
// odd divisor in [3, candidate - 2] as well (the search passes only odd ones).
// The kernels' exactness is proven for candidates below 2^34 (the search stays below 10^10); from 2^34 on
// every kernel takes the plain loop.

#include <cstdint>

namespace search {

// How a scan is spread over the cores. Set and read on the calling thread (the user-interface thread);
// every scan reads the settings as it begins.
struct ParallelScan {
    // False: every scan runs on the calling thread alone, as with a pool of no workers.
    bool enabled = true;
    // Divisors the calling thread scans alone before the workers join in. A hand-over costs about 70
    // microseconds (waking a sleeping worker alone costs the waker 20), so below about four million
    // divisors one core is as fast (bench/divisor_scan_bench measures the crossing). Every composite below
    // 10^10 has a factor below 10^5 and ends here; only primes above about 8.4 million reach the workers.
    std::int64_t serialDivisors = std::int64_t{1} << 22;
    // Divisors per range handed out: about ten microseconds of one core's work, so that the calling thread
    // reaches the hook often and the workers stop soon after they are told to.
    std::int64_t rangeDivisors = std::int64_t{1} << 18;
};
// Both settings are kept within [0, 2^33] (serialDivisors) and [1, 2^33] (rangeDivisors): no candidate the
// kernels take has more divisors.
void SetParallelScan(const ParallelScan& settings);
// Turns the workers on or off, keeping the other settings.
void SetParallelScan(bool enabled);
ParallelScan CurrentParallelScan();
// The worker threads of the pool: one fewer than the processors the process may run on, read when the pool
// starts (this starts it). A scan offers its ranges to fewer when processors have been taken away since.
unsigned ParallelScanWorkers();

// The instruction sets the divisibility test has a kernel for. Scalar runs on every x86-64 processor.
enum class DivisionKernel { Scalar, Avx2, Avx512 };

// The fastest kernel this processor supports; FirstOddDivisor uses it.
DivisionKernel ActiveDivisionKernel();

bool DivisionKernelSupported(DivisionKernel kernel);

// The first odd j in [3, candidate - 2] that divides candidate, or 0 when there is none (a prime).
std::int64_t FirstOddDivisor(std::int64_t candidate);

// The same with a chosen kernel, for tests and benchmarks, spread over the cores as set. A kernel this
// processor does not support is not executed: the Scalar kernel answers instead.
std::int64_t FirstOddDivisorWith(DivisionKernel kernel, std::int64_t candidate);

// The reference: one 64-bit remainder and one hook call per divisor.
std::int64_t FirstOddDivisorPlain(std::int64_t candidate);

} // namespace search
