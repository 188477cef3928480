#pragma once
// The prime search's divisor loop: for a candidate i, the odd divisors j = 3, 5, 7, ... are tried in
// ascending order while j <= i - 2; the first that divides i is the answer, and none dividing means i is
// prime. After every divisor that does not divide i the loop owes one background-task hook call
// (Ovelund::RuntimeBackgroundTask); the turn that finds the divisor owes none. The fast kernels test a block
// of divisors at a time and account the block's calls at once, with the exact count, so the hook's call
// counter ends up exactly where the plain loop leaves it. The hook may throw Ovelund::QuitUnwind; it passes
// through these functions untouched (they hold no state that would need repair).
//
// Contract of every function below: a candidate below 3 (zero and negatives included) has no divisor in
// the range and gives 0 without any hook call. Even candidates are not special: the result is their first
// odd divisor in [3, candidate - 2] as well (the search passes only odd ones).
// The kernels' exactness is proven for candidates below 2^34 (the search stays below 10^10); from 2^34 on
// every kernel takes the plain loop.

#include <cstdint>

namespace search {

// The instruction sets the divisibility test has a kernel for. Scalar runs on every x86-64 processor.
enum class DivisionKernel { Scalar, Avx2, Avx512 };

// The fastest kernel this processor supports; FirstOddDivisor uses it.
DivisionKernel ActiveDivisionKernel();

bool DivisionKernelSupported(DivisionKernel kernel);

// The first odd j in [3, candidate - 2] that divides candidate, or 0 when there is none (a prime).
std::int64_t FirstOddDivisor(std::int64_t candidate);

// The same with a chosen kernel, for tests and benchmarks. A kernel this processor does not support is not
// executed: the Scalar kernel answers instead.
std::int64_t FirstOddDivisorWith(DivisionKernel kernel, std::int64_t candidate);

// The reference: one 64-bit remainder and one hook call per divisor.
std::int64_t FirstOddDivisorPlain(std::int64_t candidate);

} // namespace search
