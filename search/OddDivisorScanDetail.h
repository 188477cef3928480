#pragma once
// The pieces of the divisor scan shared by its source files: the kernels and the scan over all cores.

#include <array>
#include <cstddef>
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

// What the vector kernels share. A group is 64 consecutive divisors, tested at once.
constexpr std::int64_t kGroupDivisors = 64;

// From this divisor on, a group's quotients follow a straight line closely enough to take them from it:
// lines slope * j + intercept that follow i / j over consecutive groups, computed ahead for a chunk of
// groups so that no group waits for its division. Each starts as the tangent at the group's centre c: for
// j = c + d with |d| <= 63 that is off by (i / c) u^2 / (1 + u), u = d / c, below 0.031 for c >= 2^17 and
// i < 2^34. Its intercept is then rounded to an integer b and the line turned about the centre to make up
// for it, which moves it by at most (1/2) 63 / c < 0.0003 within the group. Every term stays below 2^19, so
// the roundings add less than 2^-30: |line - i / j| < 1/2. As b is an integer, b + 1.5 * 2^52 is exact, and
// a single fused multiply-add rounds the line to the nearest integer.
constexpr std::int64_t kLinearFrom = std::int64_t{1} << 17;
constexpr int kChunkGroups = 32;

// Adding 1.5 * 2^52 under round-to-nearest leaves the nearest integer in the low bits.
constexpr double kRoundingMagic = 6755399441055744.0;

// The distance of each divisor of a group from the group's first one.
alignas(64) inline constexpr std::array<double, kGroupDivisors> kGroupOffsets = [] {
    std::array<double, kGroupDivisors> offsets{};
    for (std::size_t k = 0; k < offsets.size(); ++k)
        offsets[k] = 2.0 * static_cast<double>(k);
    return offsets;
}();

// A chunk's lines, planned ahead of its groups (see kLinearFrom).
struct PlannedLines {
    alignas(64) double firstDivisor[kChunkGroups];
    alignas(64) double slope[kChunkGroups];
    alignas(64) double interceptPlusMagic[kChunkGroups];
};

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
