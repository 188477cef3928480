#pragma once
// The pieces of the divisor scan shared by its source files: the kernels and the scan over all cores.

#include <cstdint>

namespace search::detail {

// Each kernel returns the offset k of the first divisor firstDivisor + 2k (0 <= k < count) that divides
// candidate, or count when none does. Callers guarantee 3 <= firstDivisor, count >= 0,
// firstDivisor + 2 (count - 1) <= candidate - 2 and candidate < 2^34. Kernels are pure: they call no hook and
// touch no shared state, so any thread may run them. Defined per instruction set in
// OddDivisorScan<Kernel>.cpp.
using BlockScan = std::int64_t (*)(std::int64_t candidate, std::int64_t firstDivisor, std::int64_t count);
std::int64_t FirstDividingOffsetScalar(std::int64_t candidate, std::int64_t firstDivisor, std::int64_t count);
std::int64_t FirstDividingOffsetAvx2(std::int64_t candidate, std::int64_t firstDivisor, std::int64_t count);
std::int64_t FirstDividingOffsetAvx512(std::int64_t candidate, std::int64_t firstDivisor, std::int64_t count);

// The pool's workers a scan may be offered to now: one fewer than the processors the process may use
// (Ovelund::AvailableProcessorsNow: the affinity mask at every call, the CPU quotas at most once a second),
// and no more than the pool has. Starts the pool.
unsigned HelpingWorkers();

// Scans the divisors firstDivisor + 2k, 0 <= k < count, in ranges of rangeDivisors that the pool's workers
// and the calling thread share, and accounts on the calling thread one hook call per divisor that does not
// divide, up to the first that does, as the free prefix of ranges grows. Returns that divisor's offset k, or
// count when none divides; false when the pool cannot take the job (no helping workers, a scan already
// running, or no memory for the ranges' answers), with nothing scanned and nothing accounted.
bool ScanOnAllCores(std::int64_t candidate, std::int64_t firstDivisor, std::int64_t count,
                    std::int64_t rangeDivisors, BlockScan scan, std::int64_t& offset);

} // namespace search::detail
