// The AVX-512 kernel: eight divisors per vector, 64 per group. Only the functions marked with the target
// attribute use AVX-512; the rest of the program stays baseline x86-64.

#include <immintrin.h>

#include <algorithm>
#include <array>
#include <cstdint>

namespace search::detail {
namespace {

constexpr int kLanes = 8;
constexpr int kGroupVectors = 8;
constexpr std::int64_t kGroupDivisors = kLanes * kGroupVectors;

// From this divisor on a group's quotients follow a straight line closely enough (see PlanLines).
constexpr std::int64_t kLinearFrom = std::int64_t{1} << 17;

// Adding 1.5 * 2^52 under round-to-nearest leaves the nearest integer in the low bits.
constexpr double kRoundingMagic = 6755399441055744.0;
constexpr int kNearest = _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC;

// The distance of each divisor of a group from the group's first one.
alignas(64) constexpr std::array<double, kGroupDivisors> kOffsets = [] {
    std::array<double, kGroupDivisors> offsets{};
    for (std::size_t k = 0; k < offsets.size(); ++k)
        offsets[k] = 2.0 * static_cast<double>(k);
    return offsets;
}();

// Everything a group's remainders depend on. The line is used by the linear method only.
struct Group {
    __m512d candidate;
    __m512d firstDivisor;
    __m512d slope;
    __m512d interceptPlusMagic;
};

enum class Method { Reciprocal, Line };

__attribute__((target("avx512f,fma"), always_inline)) inline __m512d Divisors(const Group& group,
                                                                              int vector) {
    return _mm512_add_pd(group.firstDivisor, _mm512_load_pd(kOffsets.data() + kLanes * vector));
}

// q = round(i / j) from the hardware's reciprocal estimate (relative error e0 < 2^-14), refined by one
// third-order step r (1 + e + e^2) with e = 1 - j r: the relative error falls to e0^3 plus a few roundings,
// below 2^-41, so |i r - i / j| < 2^34 * 2^-41 < 1/2.
__attribute__((target("avx512f,fma"), always_inline)) inline __m512d QuotientsByReciprocal(__m512d candidate,
                                                                                           __m512d divisors) {
    const __m512d one = _mm512_set1_pd(1.0);
    const __m512d magic = _mm512_set1_pd(kRoundingMagic);
    // The zero-masking form only avoids the unmasked intrinsic's read of an undefined register.
    const __m512d estimate = _mm512_maskz_rcp14_pd(0xFF, divisors);
    const __m512d error = _mm512_fnmadd_pd(divisors, estimate, one);
    const __m512d reciprocal = _mm512_fmadd_pd(estimate, _mm512_fmadd_pd(error, error, error), estimate);
    return _mm512_sub_pd(_mm512_fmadd_round_pd(candidate, reciprocal, magic, kNearest), magic);
}

__attribute__((target("avx512f,fma"), always_inline)) inline __m512d QuotientsByLine(const Group& group,
                                                                                     __m512d divisors) {
    const __m512d shifted = _mm512_fmadd_round_pd(group.slope, divisors, group.interceptPlusMagic, kNearest);
    return _mm512_sub_pd(shifted, _mm512_set1_pd(kRoundingMagic));
}

template <Method method>
__attribute__((target("avx512f,fma"), always_inline)) inline __m512d Remainders(const Group& group,
                                                                                int vector) {
    const __m512d divisors = Divisors(group, vector);
    const __m512d quotients = method == Method::Line ? QuotientsByLine(group, divisors)
                                                     : QuotientsByReciprocal(group.candidate, divisors);
    return _mm512_fnmadd_pd(quotients, divisors, group.candidate);
}

// Lines slope * j + intercept that follow i / j over consecutive groups, computed ahead for a whole chunk
// of groups so that no group waits for its division. Each starts as the tangent at the group's centre c:
// for j = c + d with |d| <= 63 that is off by (i / c) u^2 / (1 + u), u = d / c, below 0.031 for c >= 2^17
// and i < 2^34. Its intercept is then rounded to an integer b and the line turned about the centre to make
// up for it, which moves it by at most (1/2) 63 / c < 0.0003 within the group. Every term stays below 2^19,
// so the roundings add less than 2^-30: |line - i / j| < 1/2. As b is an integer, b + 1.5 * 2^52 is exact,
// and a single fused multiply-add rounds the line to the nearest integer.
constexpr int kChunkGroups = 32;

struct Lines {
    alignas(64) double firstDivisor[kChunkGroups];
    alignas(64) double slope[kChunkGroups];
    alignas(64) double interceptPlusMagic[kChunkGroups];
};

__attribute__((target("avx512f,fma"), always_inline)) inline void
PlanLines(Lines& lines, __m512d candidate, double inverseCandidate, std::int64_t firstDivisor, int groups) {
    constexpr double kGroupSpan = 2.0 * kGroupDivisors;
    const __m512d laneSpans =
        _mm512_mul_pd(_mm512_setr_pd(0, 1, 2, 3, 4, 5, 6, 7), _mm512_set1_pd(kGroupSpan));
    const __m512d toCentre = _mm512_set1_pd(static_cast<double>(kGroupDivisors - 1));
    const __m512d inverse = _mm512_set1_pd(inverseCandidate);
    const __m512d negativeInverse = _mm512_set1_pd(-inverseCandidate);
    const __m512d magic = _mm512_set1_pd(kRoundingMagic);
    for (int group = 0; group < groups; group += kLanes) {
        const double first = static_cast<double>(firstDivisor) + kGroupSpan * group;
        const __m512d firsts = _mm512_add_pd(_mm512_set1_pd(first), laneSpans);
        const __m512d centres = _mm512_add_pd(firsts, toCentre);
        const __m512d quotients = _mm512_div_pd(candidate, centres);
        const __m512d tangentSlopes = _mm512_mul_pd(_mm512_mul_pd(quotients, quotients), negativeInverse);
        const __m512d tangentIntercepts = _mm512_fnmadd_pd(tangentSlopes, centres, quotients);
        const __m512d intercepts = _mm512_maskz_roundscale_pd(0xFF, tangentIntercepts, kNearest);
        // 1 / c = (i / c) / i.
        const __m512d inverseCentres = _mm512_mul_pd(quotients, inverse);
        const __m512d slopes =
            _mm512_fmadd_pd(_mm512_sub_pd(tangentIntercepts, intercepts), inverseCentres, tangentSlopes);
        _mm512_store_pd(lines.firstDivisor + group, firsts);
        _mm512_store_pd(lines.slope + group, slopes);
        _mm512_store_pd(lines.interceptPlusMagic + group, _mm512_add_pd(intercepts, magic));
    }
}

template <Method method>
__attribute__((target("avx512f,fma"), always_inline)) inline bool GroupHasDivisor(const Group& group) {
    // Each compare keeps only the lanes still clear, so one test at the end covers the group.
    __mmask8 clear = 0xFF;
#pragma GCC unroll 8
    for (int vector = 0; vector < kGroupVectors; ++vector)
        clear = _mm512_mask_cmp_pd_mask(clear, Remainders<method>(group, vector), _mm512_setzero_pd(),
                                        _CMP_NEQ_OQ);
    return clear != 0xFF;
}

// The first dividing offset among the group's `count` divisors, or count.
template <Method method>
__attribute__((target("avx512f,fma"), always_inline)) inline std::int64_t FirstHit(const Group& group,
                                                                                   std::int64_t count) {
    for (int vector = 0; kLanes * vector < count; ++vector) {
        const std::int64_t lanes = count - kLanes * vector;
        const __mmask8 valid = lanes >= kLanes ? 0xFF : static_cast<__mmask8>((1u << lanes) - 1);
        const __mmask8 hits = _mm512_mask_cmp_pd_mask(valid, Remainders<method>(group, vector),
                                                      _mm512_setzero_pd(), _CMP_EQ_OQ);
        if (hits != 0)
            return kLanes * vector + __builtin_ctz(hits);
    }
    return count;
}

} // namespace

__attribute__((target("avx512f,fma"))) std::int64_t
FirstDividingOffsetAvx512(std::int64_t candidate, std::int64_t firstDivisor, std::int64_t count) {
    const double exactCandidate = static_cast<double>(candidate);
    Group group{_mm512_set1_pd(exactCandidate), _mm512_setzero_pd(), _mm512_setzero_pd(),
                _mm512_setzero_pd()};
    std::int64_t done = 0;
    if (firstDivisor >= kLinearFrom) {
        const double inverseCandidate = 1.0 / exactCandidate;
        Lines lines;
        while (count - done >= kGroupDivisors) {
            const int groups =
                static_cast<int>(std::min<std::int64_t>(kChunkGroups, (count - done) / kGroupDivisors));
            PlanLines(lines, group.candidate, inverseCandidate, firstDivisor + 2 * done, groups);
            for (int g = 0; g < groups; ++g, done += kGroupDivisors) {
                group.firstDivisor = _mm512_set1_pd(lines.firstDivisor[g]);
                group.slope = _mm512_set1_pd(lines.slope[g]);
                group.interceptPlusMagic = _mm512_set1_pd(lines.interceptPlusMagic[g]);
                if (GroupHasDivisor<Method::Line>(group))
                    return done + FirstHit<Method::Line>(group, kGroupDivisors);
            }
        }
    } else {
        for (; count - done >= kGroupDivisors; done += kGroupDivisors) {
            group.firstDivisor = _mm512_set1_pd(static_cast<double>(firstDivisor + 2 * done));
            if (GroupHasDivisor<Method::Reciprocal>(group))
                return done + FirstHit<Method::Reciprocal>(group, kGroupDivisors);
        }
    }
    // The last, partial group: vector by vector, with the lanes beyond the block masked off.
    group.firstDivisor = _mm512_set1_pd(static_cast<double>(firstDivisor + 2 * done));
    return done + FirstHit<Method::Reciprocal>(group, count - done);
}

} // namespace search::detail
