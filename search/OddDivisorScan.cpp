#include "search/OddDivisorScan.h"

#include "framework/BackgroundTask.h"

#include <algorithm>

// How the kernels decide "j divides i" exactly in double precision (i, j integers, 3 <= j < i < 2^34):
//
// 1. Every integer below 2^53 is a double, so i and j are exact.
// 2. A kernel computes an approximation x of the quotient i / j and rounds it to the nearest integer q
//    (by an instruction's own rounding control, or through MXCSR only after checking its mode). If j
//    divides i, the quotient is the integer Q = i / j, and |x - Q| < 1/2 makes q = Q. Each kernel
//    documents its bound; the bounds allow for any rounding mode in the steps before.
// 3. The remainder i - q * j is an integer; a fused multiply-add (or, without FMA, an exact integer
//    product) yields it rounded once, and a nonzero integer never rounds to zero. So it is zero exactly
//    when q * j == i, i.e. exactly when j divides i; for every other j the test fails whatever q is.
//
// So no approximation can report a false divisor, and the quotient's error bound rules out a missed one.
// From 2^34 on the bounds are not proven; such candidates (beyond anything the search reaches) take the
// plain loop.
namespace search::detail {
// Each returns the offset k of the first divisor firstDivisor + 2k (0 <= k < count) that divides
// candidate, or count when none does. Callers guarantee 3 <= firstDivisor, 1 <= count <= kBlockDivisors,
// firstDivisor + 2 (count - 1) <= candidate - 2 and candidate < kExactLimit. Defined per instruction set
// in OddDivisorScan<Kernel>.cpp.
std::int64_t FirstDividingOffsetScalar(std::int64_t candidate, std::int64_t firstDivisor, std::int64_t count);
std::int64_t FirstDividingOffsetAvx2(std::int64_t candidate, std::int64_t firstDivisor, std::int64_t count);
std::int64_t FirstDividingOffsetAvx512(std::int64_t candidate, std::int64_t firstDivisor, std::int64_t count);
} // namespace search::detail

namespace search {
namespace {

constexpr std::int64_t kExactLimit = std::int64_t{1} << 34;

// Divisors tested between two accountings of hook calls: long enough to amortise a kernel's set-up,
// short enough that the hook's every-4096-calls clock check still comes on time.
constexpr std::int64_t kBlockDivisors = 2048;

using BlockScan = std::int64_t (*)(std::int64_t, std::int64_t, std::int64_t);

std::int64_t ScanInBlocks(std::int64_t candidate, BlockScan firstDividingOffset) {
    if (candidate < 3)
        return 0;
    if (candidate >= kExactLimit)
        return FirstOddDivisorPlain(candidate);
    // The divisors 3, 5, ..., up to candidate - 2.
    const std::int64_t divisors = (candidate - 3) / 2;
    for (std::int64_t done = 0; done < divisors;) {
        const std::int64_t count = std::min(kBlockDivisors, divisors - done);
        const std::int64_t firstDivisor = 3 + 2 * done;
        const std::int64_t offset = firstDividingOffset(candidate, firstDivisor, count);
        if (offset < count) {
            Ovelund::RuntimeBackgroundTasks(static_cast<std::uint64_t>(offset));
            return firstDivisor + 2 * offset;
        }
        Ovelund::RuntimeBackgroundTasks(static_cast<std::uint64_t>(count));
        done += count;
    }
    return 0;
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
    return ScanInBlocks(candidate, active);
}

std::int64_t FirstOddDivisorWith(DivisionKernel kernel, std::int64_t candidate) {
    return ScanInBlocks(candidate, BlockScanFor(kernel));
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
