// The AVX2 kernel: four divisors per vector, 64 per group. Only the functions marked with the target
// attribute use AVX2 and FMA; the rest of the program stays baseline x86-64.

#include <immintrin.h>

#include <array>
#include <cstdint>

namespace search::detail {
namespace {

constexpr int kLanes = 4;
constexpr int kGroupVectors = 16;
constexpr std::int64_t kGroupDivisors = kLanes * kGroupVectors;

// From this divisor on a group's quotients follow a straight line closely enough (see LineThroughGroup).
constexpr std::int64_t kLinearFrom = std::int64_t{1} << 17;

constexpr int kNearest = _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC;

// The distance of each divisor of a group from the group's first one.
alignas(32) constexpr std::array<double, kGroupDivisors> kOffsets = [] {
    std::array<double, kGroupDivisors> offsets{};
    for (std::size_t k = 0; k < offsets.size(); ++k)
        offsets[k] = 2.0 * static_cast<double>(k);
    return offsets;
}();

// Everything a group's remainders depend on. The line is used by the linear method only.
struct Group {
    __m256d candidate;
    __m256d firstDivisor;
    __m256d slope;
    __m256d intercept;
};

enum class Method { Division, Line };

__attribute__((target("avx2,fma"), always_inline)) inline __m256d Divisors(const Group& group, int vector) {
    return _mm256_add_pd(group.firstDivisor, _mm256_load_pd(kOffsets.data() + kLanes * vector));
}

// Division is exact whenever j divides i (the quotient is representable), whatever the rounding mode.
template <Method method>
__attribute__((target("avx2,fma"), always_inline)) inline __m256d Remainders(const Group& group, int vector) {
    const __m256d divisors = Divisors(group, vector);
    const __m256d quotients = method == Method::Line ? _mm256_fmadd_pd(group.slope, divisors, group.intercept)
                                                     : _mm256_div_pd(group.candidate, divisors);
    return _mm256_fnmadd_pd(_mm256_round_pd(quotients, kNearest), divisors, group.candidate);
}

// The tangent of i / j at the group's centre c, as slope * j + intercept. For j = c + d with |d| <= 63 it
// is off by (i / c) u^2 / (1 + u), u = d / c; with c >= 2^17 and i < 2^34 that is below 0.031. Every term
// stays below 2^18, so the dozen roundings add less than 2^-30: |line - i / j| < 1/2.
__attribute__((target("avx2,fma"), always_inline)) inline void
LineThroughGroup(Group& group, double candidate, double inverseCandidate, std::int64_t firstDivisor) {
    const double centre = static_cast<double>(firstDivisor + (kGroupDivisors - 1));
    const double quotient = candidate / centre;
    const double slope = -(quotient * quotient) * inverseCandidate;
    group.slope = _mm256_set1_pd(slope);
    group.intercept = _mm256_set1_pd(quotient - slope * centre);
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
    const double inverseCandidate = 1.0 / exactCandidate;
    Group group{_mm256_set1_pd(exactCandidate), _mm256_setzero_pd(), _mm256_setzero_pd(),
                _mm256_setzero_pd()};
    std::int64_t done = 0;
    for (; done + kGroupDivisors <= count; done += kGroupDivisors) {
        const std::int64_t first = firstDivisor + 2 * done;
        group.firstDivisor = _mm256_set1_pd(static_cast<double>(first));
        if (first >= kLinearFrom) {
            LineThroughGroup(group, exactCandidate, inverseCandidate, first);
            if (GroupHasDivisor<Method::Line>(group))
                return done + FirstHit<Method::Line>(group, kGroupDivisors);
        } else if (GroupHasDivisor<Method::Division>(group)) {
            return done + FirstHit<Method::Division>(group, kGroupDivisors);
        }
    }
    // The last, partial group: vector by vector, with the lanes beyond the block left out.
    group.firstDivisor = _mm256_set1_pd(static_cast<double>(firstDivisor + 2 * done));
    return done + FirstHit<Method::Division>(group, count - done);
}

} // namespace search::detail
