// The AVX2 kernel: four divisors per vector, 64 per group. Only the functions marked with the target
// attribute use AVX2 and FMA; the rest of the program stays baseline x86-64.

#include "search/OddDivisorScanDetail.h"

#include <immintrin.h>

#include <algorithm>
#include <array>
#include <cstdint>

namespace search::detail {
namespace {

constexpr std::int64_t kLanes = 4;
constexpr std::int64_t kGroupVectors = kGroupDivisors / kLanes;
constexpr int kNearest = _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC;

// Everything a group's remainders depend on. The line is used by the linear method only.
struct Group {
    __m256d candidate;
    __m256d firstDivisor;
    __m256d slope;
    __m256d interceptPlusMagic;
};

enum class Method { Division, Line };

__attribute__((target("avx2,fma"), always_inline)) inline __m256d Divisors(const Group& group, int vector) {
    return _mm256_add_pd(group.firstDivisor, _mm256_load_pd(kGroupOffsets.data() + kLanes * vector));
}

// Division is exact whenever j divides i (the quotient is representable), whatever the rounding mode.
// The line's multiply-add rounds to the nearest integer itself (see kLinearFrom); it relies on the rounding
// mode being round-to-nearest, which the caller checks.
template <Method method>
__attribute__((target("avx2,fma"), always_inline)) inline __m256d Remainders(const Group& group, int vector) {
    const __m256d divisors = Divisors(group, vector);
    const __m256d quotients =
        method == Method::Line
            ? _mm256_sub_pd(_mm256_fmadd_pd(group.slope, divisors, group.interceptPlusMagic),
                            _mm256_set1_pd(kRoundingMagic))
            : _mm256_round_pd(_mm256_div_pd(group.candidate, divisors), kNearest);
    return _mm256_fnmadd_pd(quotients, divisors, group.candidate);
}

// The lines of a chunk's groups (see kLinearFrom in OddDivisorScanDetail.h).
__attribute__((target("avx2,fma"), always_inline)) inline void
PlanLines(PlannedLines& lines, __m256d candidate, double inverseCandidate, std::int64_t firstDivisor,
          int groups) {
    constexpr double kGroupSpan = 2.0 * kGroupDivisors;
    const __m256d laneSpans = _mm256_setr_pd(0, kGroupSpan, 2 * kGroupSpan, 3 * kGroupSpan);
    const __m256d toCentre = _mm256_set1_pd(static_cast<double>(kGroupDivisors - 1));
    const __m256d inverse = _mm256_set1_pd(inverseCandidate);
    const __m256d negativeInverse = _mm256_set1_pd(-inverseCandidate);
    const __m256d magic = _mm256_set1_pd(kRoundingMagic);
    for (int group = 0; group < groups; group += kLanes) {
        const double first = static_cast<double>(firstDivisor) + kGroupSpan * group;
        const __m256d firsts = _mm256_add_pd(_mm256_set1_pd(first), laneSpans);
        const __m256d centres = _mm256_add_pd(firsts, toCentre);
        const __m256d quotients = _mm256_div_pd(candidate, centres);
        const __m256d tangentSlopes = _mm256_mul_pd(_mm256_mul_pd(quotients, quotients), negativeInverse);
        const __m256d tangentIntercepts = _mm256_fnmadd_pd(tangentSlopes, centres, quotients);
        const __m256d intercepts = _mm256_round_pd(tangentIntercepts, kNearest);
        // 1 / c = (i / c) / i.
        const __m256d inverseCentres = _mm256_mul_pd(quotients, inverse);
        const __m256d slopes =
            _mm256_fmadd_pd(_mm256_sub_pd(tangentIntercepts, intercepts), inverseCentres, tangentSlopes);
        _mm256_store_pd(lines.firstDivisor + group, firsts);
        _mm256_store_pd(lines.slope + group, slopes);
        _mm256_store_pd(lines.interceptPlusMagic + group, _mm256_add_pd(intercepts, magic));
    }
}

template <Method method>
__attribute__((target("avx2,fma"), always_inline)) inline bool GroupHasDivisor(const Group& group) {
    __m256d hits = _mm256_setzero_pd();
#pragma GCC unroll 16
    for (int vector = 0; vector < kGroupVectors; ++vector)
        hits = _mm256_or_pd(
            hits, _mm256_cmp_pd(Remainders<method>(group, vector), _mm256_setzero_pd(), _CMP_EQ_OQ));
    return _mm256_testz_pd(hits, hits) == 0;
}

// The first dividing offset among the group's `count` divisors, or count.
template <Method method>
__attribute__((target("avx2,fma"), always_inline)) inline std::int64_t FirstHit(const Group& group,
                                                                                std::int64_t count) {
    for (int vector = 0; kLanes * vector < count; ++vector) {
        const std::int64_t lanes = count - kLanes * vector;
        const int valid = lanes >= kLanes ? 0xF : static_cast<int>((1u << lanes) - 1);
        const int hits = valid & _mm256_movemask_pd(_mm256_cmp_pd(Remainders<method>(group, vector),
                                                                  _mm256_setzero_pd(), _CMP_EQ_OQ));
        if (hits != 0)
            return kLanes * vector + __builtin_ctz(static_cast<unsigned>(hits));
    }
    return count;
}

} // namespace

__attribute__((target("avx2,fma"))) std::int64_t
FirstDividingOffsetAvx2(std::int64_t candidate, std::int64_t firstDivisor, std::int64_t count) {
    const double exactCandidate = static_cast<double>(candidate);
    Group group{_mm256_set1_pd(exactCandidate), _mm256_setzero_pd(), _mm256_setzero_pd(),
                _mm256_setzero_pd()};
    std::int64_t done = 0;
    // AVX2 has no per-instruction rounding; the line needs MXCSR's rounding control at round-to-nearest
    // (the default, which this program never changes), else the block is divided exactly.
    const bool roundsToNearest = (_mm_getcsr() & _MM_ROUND_MASK) == _MM_ROUND_NEAREST;
    if (firstDivisor >= kLinearFrom && roundsToNearest) {
        const double inverseCandidate = 1.0 / exactCandidate;
        PlannedLines lines;
        while (count - done >= kGroupDivisors) {
            const int groups =
                static_cast<int>(std::min<std::int64_t>(kChunkGroups, (count - done) / kGroupDivisors));
            PlanLines(lines, group.candidate, inverseCandidate, firstDivisor + 2 * done, groups);
            for (int g = 0; g < groups; ++g, done += kGroupDivisors) {
                group.firstDivisor = _mm256_set1_pd(lines.firstDivisor[g]);
                group.slope = _mm256_set1_pd(lines.slope[g]);
                group.interceptPlusMagic = _mm256_set1_pd(lines.interceptPlusMagic[g]);
                if (GroupHasDivisor<Method::Line>(group))
                    return done + FirstHit<Method::Line>(group, kGroupDivisors);
            }
        }
    } else {
        for (; count - done >= kGroupDivisors; done += kGroupDivisors) {
            group.firstDivisor = _mm256_set1_pd(static_cast<double>(firstDivisor + 2 * done));
            if (GroupHasDivisor<Method::Division>(group))
                return done + FirstHit<Method::Division>(group, kGroupDivisors);
        }
    }
    // The last, partial group: vector by vector, with the lanes beyond the block left out.
    group.firstDivisor = _mm256_set1_pd(static_cast<double>(firstDivisor + 2 * done));
    return done + FirstHit<Method::Division>(group, count - done);
}

} // namespace search::detail
