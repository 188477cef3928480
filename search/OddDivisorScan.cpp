#include "search/OddDivisorScan.h"

#include "framework/runtime/BackgroundTask.h"
#include "search/OddDivisorScanDetail.h"
#include "search/ScanPool.h"

#include <algorithm>

// How the kernels decide "j divides i" exactly in double precision (i, j integers, 3 <= j < i < 2^34):
//
// 1. Every integer below 2^53 is a double, so i and j are exact.
// 2. A kernel finds an integer q for each divisor j with |q - i / j| < 1. If j divides i, the quotient is the
//    integer Q = i / j, and the only integer closer than 1 to Q is Q itself: q = Q. The quotient comes either
//    per divisor, from an approximation x with |x - i / j| < 1/2 rounded to the nearest integer (by an
//    instruction's own rounding control, or through MXCSR only after checking its mode), or shared by a
//    stretch of consecutive divisors over which i / j moves by less than 1/4 (the AVX-512 kernel's large
//    divisors). Each kernel documents its bound; the bounds allow for any rounding mode in the steps before.
// 3. The remainder i - q * j is an integer below 2^34 in magnitude; a fused multiply-add (or, without FMA, an
//    exact integer product) yields it rounded once, and a nonzero integer never rounds to zero. Along a
//    stretch the remainders follow from the first by exact additions of -2q. So it is zero exactly when
//    q * j == i, i.e. exactly when j divides i; for every other j the test fails whatever q is.
// 4. A group's remainders are tested at once through their product: eight integers below 2^34 in magnitude
//    multiply to less than 2^272 (no overflow to infinity), a product of nonzero integers is at least 1 in
//    magnitude (no underflow to zero) and rounding keeps it so, so the product is zero exactly when one of
//    them is. The group with a zero is then searched lane by lane, in order, for the first.
//
// So no approximation can report a false divisor, and the quotient's error bound rules out a missed one.
// From 2^34 on the bounds are not proven; such candidates (beyond anything the search reaches) take the
// plain loop.
//
// The hook calls stay exact on every path: a kernel reports the offset of the first divisor in its range,
// and the calling thread accounts the ranges in order, each whole when free, up to that offset in the first
// that is not. Which thread scanned a range, and ranges scanned past the first divisor, change nothing.
namespace search {
namespace {

constexpr std::int64_t kExactLimit = std::int64_t{1} << 34;
// More divisors than any candidate the kernels take has: a larger setting would change nothing.
constexpr std::int64_t kMostDivisors = kExactLimit / 2;

// Divisors tested on the calling thread between two accountings of hook calls: long enough that a block's
// set-up is paid once for tens of thousands of divisors, short enough (microseconds) that the hook's clock
// check still comes on time.
constexpr std::int64_t kBlockDivisors = std::int64_t{1} << 16;

using detail::BlockScan;

ParallelScan& Settings() {
    static ParallelScan settings;
    return settings;
}

// Scans the divisors with index in [from, to) (index k is the divisor 3 + 2k) on the calling thread, block by
// block; returns the first that divides, or 0.
std::int64_t ScanInBlocks(std::int64_t candidate, std::int64_t from, std::int64_t to, BlockScan scan) {
    for (std::int64_t done = from; done < to;) {
        const std::int64_t count = std::min(kBlockDivisors, to - done);
        const std::int64_t firstDivisor = 3 + 2 * done;
        const std::int64_t offset = scan(candidate, firstDivisor, count);
        if (offset < count) {
            Ovelund::RuntimeBackgroundTasks(static_cast<std::uint64_t>(offset));
            return firstDivisor + 2 * offset;
        }
        Ovelund::RuntimeBackgroundTasks(static_cast<std::uint64_t>(count));
        done += count;
    }
    return 0;
}

std::int64_t Scan(std::int64_t candidate, BlockScan scan) {
    if (candidate < 3)
        return 0;
    if (candidate >= kExactLimit)
        return FirstOddDivisorPlain(candidate);
    // The divisors 3, 5, ..., up to candidate - 2.
    const std::int64_t divisors = (candidate - 3) / 2;
    const ParallelScan settings = Settings();
    // Only a scan longer than the calling thread's own part asks for the pool (which starts it). Without
    // workers to help (a process that may run on one processor, now or since it started) the scan is exactly
    // the one-thread loop.
    const bool spread =
        settings.enabled && divisors > settings.serialDivisors && detail::HelpingWorkers() > 0;
    const std::int64_t alone = spread ? settings.serialDivisors : divisors;
    if (const std::int64_t found = ScanInBlocks(candidate, 0, alone, scan))
        return found;
    if (alone == divisors)
        return 0;
    const std::int64_t firstDivisor = 3 + 2 * alone;
    std::int64_t offset = 0;
    if (!detail::ScanOnAllCores(candidate, firstDivisor, divisors - alone, settings.rangeDivisors, scan,
                                offset))
        return ScanInBlocks(candidate, alone, divisors, scan);
    return offset < divisors - alone ? firstDivisor + 2 * offset : 0;
}

BlockScan BlockScanFor(DivisionKernel kernel) {
    if (!DivisionKernelSupported(kernel))
        return detail::FirstDividingOffsetScalar;
    switch (kernel) {
    case DivisionKernel::Avx512:
        return detail::FirstDividingOffsetAvx512;
    case DivisionKernel::Avx2:
        return detail::FirstDividingOffsetAvx2;
    case DivisionKernel::Scalar:
        break;
    }
    return detail::FirstDividingOffsetScalar;
}

} // namespace

bool DivisionKernelSupported(DivisionKernel kernel) {
    switch (kernel) {
    case DivisionKernel::Avx512:
        // The support bits include the operating system's saving of the vector state.
        return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("fma");
    case DivisionKernel::Avx2:
        return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    case DivisionKernel::Scalar:
        return true;
    }
    return false;
}

DivisionKernel ActiveDivisionKernel() {
    static const DivisionKernel active = [] {
        for (const DivisionKernel kernel : {DivisionKernel::Avx512, DivisionKernel::Avx2})
            if (DivisionKernelSupported(kernel))
                return kernel;
        return DivisionKernel::Scalar;
    }();
    return active;
}

std::int64_t FirstOddDivisor(std::int64_t candidate) {
    static const BlockScan active = BlockScanFor(ActiveDivisionKernel());
    return Scan(candidate, active);
}

std::int64_t FirstOddDivisorWith(DivisionKernel kernel, std::int64_t candidate) {
    return Scan(candidate, BlockScanFor(kernel));
}

void SetParallelScan(const ParallelScan& settings) {
    ParallelScan& current = Settings();
    current = settings;
    current.serialDivisors = std::clamp<std::int64_t>(settings.serialDivisors, 0, kMostDivisors);
    current.rangeDivisors = std::clamp<std::int64_t>(settings.rangeDivisors, 1, kMostDivisors);
}

void SetParallelScan(bool enabled) {
    Settings().enabled = enabled;
}

ParallelScan CurrentParallelScan() {
    return Settings();
}

unsigned ParallelScanWorkers() {
    return ScanPool::Shared().Workers();
}

std::int64_t FirstOddDivisorPlain(std::int64_t candidate) {
    if (candidate < 3)
        return 0;
    // j <= candidate - 2 keeps j + 2 <= candidate: no overflow even at the top of the range.
    for (std::int64_t j = 3; j <= candidate - 2; j += 2) {
        if (candidate % j == 0)
            return j;
        Ovelund::RuntimeBackgroundTask();
    }
    return 0;
}

} // namespace search
