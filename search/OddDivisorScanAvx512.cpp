// The AVX-512 kernel: eight divisors per vector, 64 per group. Only the functions marked with the target
// attribute use AVX-512; the rest of the program stays baseline x86-64.

#include "search/OddDivisorScanDetail.h"

#include <immintrin.h>

#include <algorithm>
#include <array>
#include <cstdint>

namespace search::detail {
namespace {

constexpr std::int64_t kLanes = 8;
constexpr std::int64_t kGroupVectors = kGroupDivisors / kLanes;
constexpr int kNearest = _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC;

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
    return _mm512_add_pd(group.firstDivisor, _mm512_load_pd(kGroupOffsets.data() + kLanes * vector));
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

// The lines of a chunk's groups (see kLinearFrom in OddDivisorScanDetail.h).
__attribute__((target("avx512f,fma"), always_inline)) inline void
PlanLines(PlannedLines& lines, __m512d candidate, double inverseCandidate, std::int64_t firstDivisor,
          int groups) {
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

// Any zero among the group's 64 remainders, with one compare: every remainder is an integer below 2^34 in
// magnitude, so the product of eight of them is below 2^272 (no overflow), a nonzero one is at least 1 in
// magnitude (no underflow), and the product is zero exactly when a factor is.
__attribute__((target("avx512f,fma"), always_inline)) inline bool
AnyZero(__m512d r0, __m512d r1, __m512d r2, __m512d r3, __m512d r4, __m512d r5, __m512d r6, __m512d r7) {
    const __m512d product = _mm512_mul_pd(_mm512_mul_pd(_mm512_mul_pd(r0, r1), _mm512_mul_pd(r2, r3)),
                                          _mm512_mul_pd(_mm512_mul_pd(r4, r5), _mm512_mul_pd(r6, r7)));
    return _mm512_cmp_pd_mask(product, _mm512_setzero_pd(), _CMP_EQ_OQ) != 0;
}

template <Method method>
__attribute__((target("avx512f,fma"), always_inline)) inline bool GroupHasDivisor(const Group& group) {
    return AnyZero(Remainders<method>(group, 0), Remainders<method>(group, 1), Remainders<method>(group, 2),
                   Remainders<method>(group, 3), Remainders<method>(group, 4), Remainders<method>(group, 5),
                   Remainders<method>(group, 6), Remainders<method>(group, 7));
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

// The divisors in order, group by group: lines or reciprocals give each divisor its own quotient.
__attribute__((target("avx512f,fma"))) std::int64_t
FirstHitInOrder(std::int64_t candidate, std::int64_t firstDivisor, std::int64_t count) {
    const double exactCandidate = static_cast<double>(candidate);
    Group group{_mm512_set1_pd(exactCandidate), _mm512_setzero_pd(), _mm512_setzero_pd(),
                _mm512_setzero_pd()};
    std::int64_t done = 0;
    if (firstDivisor >= kLinearFrom) {
        const double inverseCandidate = 1.0 / exactCandidate;
        PlannedLines lines;
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

// Stretches. From large divisors on, i / j changes so slowly that one integer quotient q serves a stretch of
// consecutive divisors: when |q - i / j| < 1 for every j of the stretch, j divides i exactly when i - q j = 0
// (a dividing j has the integer quotient i / j, and the only integer closer than 1 to it is itself). From one
// divisor to the next the remainder i - q j then changes by -2q: one exact addition per divisor.
//
// A block is 64 stretches of S consecutive divisors side by side, one per lane of eight vectors: lane m
// starts at j0 = J + 2 S m. Its q is i / j0, divided to within an ulp and rounded to nearest: off by at most
// 1/2 + 2^-18; over the stretch i / j falls by less than 2 S i / J^2, which S <= J^2 / (8 i) keeps below 1/4.
// So |q - i / j| < 1 everywhere. Each remainder is an integer with |i - q j| < j < 2^34 and q j < 2^35: the
// first comes exact from one fused multiply-add, the others from exact additions. A zero anywhere in the
// block means a divisor somewhere in it; the block is then scanned again in order to find the first.
constexpr std::int64_t kStretchLanes = kLanes * kGroupVectors;
constexpr std::int64_t kMinStretch = 16;
constexpr std::int64_t kMaxStretch = 4096;

// S for a block of stretches from `first` within `remaining` divisors, or 0 when stretches do not pay.
std::int64_t StretchLength(std::int64_t candidate, std::int64_t first, std::int64_t remaining) {
    const double j = static_cast<double>(first);
    // A little under J^2 / (8 i), whatever the roundings of the estimate.
    const double bound = j / static_cast<double>(candidate) * j * (0.125 * 0.999);
    const std::int64_t length =
        std::min({bound < static_cast<double>(kMaxStretch) ? static_cast<std::int64_t>(bound) : kMaxStretch,
                  remaining / kStretchLanes});
    return length >= kMinStretch ? length : 0;
}

// The remainders and steps of one vector of eight stretches.
struct StretchVector {
    __m512d remainders;
    __m512d step;
};

__attribute__((target("avx512f,fma"), always_inline)) inline StretchVector
StartStretches(__m512d candidate, __m512d laneFirsts, double vectorSpan, int vector) {
    const __m512d firsts = _mm512_add_pd(laneFirsts, _mm512_set1_pd(vectorSpan * vector));
    const __m512d q = _mm512_maskz_roundscale_pd(0xFF, _mm512_div_pd(candidate, firsts), kNearest);
    return {_mm512_fnmadd_pd(q, firsts, candidate), _mm512_mul_pd(q, _mm512_set1_pd(-2.0))};
}

// Named vectors, not an array: the compiler keeps all sixteen in registers.
__attribute__((target("avx512f,fma"))) bool StretchesHaveDivisor(std::int64_t candidate, std::int64_t first,
                                                                 std::int64_t length) {
    const __m512d i = _mm512_set1_pd(static_cast<double>(candidate));
    const double laneSpan = 2.0 * static_cast<double>(length);
    const __m512d laneFirsts =
        _mm512_fmadd_pd(_mm512_setr_pd(0, 1, 2, 3, 4, 5, 6, 7), _mm512_set1_pd(laneSpan),
                        _mm512_set1_pd(static_cast<double>(first)));
    const double vectorSpan = kLanes * laneSpan;
    auto [r0, s0] = StartStretches(i, laneFirsts, vectorSpan, 0);
    auto [r1, s1] = StartStretches(i, laneFirsts, vectorSpan, 1);
    auto [r2, s2] = StartStretches(i, laneFirsts, vectorSpan, 2);
    auto [r3, s3] = StartStretches(i, laneFirsts, vectorSpan, 3);
    auto [r4, s4] = StartStretches(i, laneFirsts, vectorSpan, 4);
    auto [r5, s5] = StartStretches(i, laneFirsts, vectorSpan, 5);
    auto [r6, s6] = StartStretches(i, laneFirsts, vectorSpan, 6);
    auto [r7, s7] = StartStretches(i, laneFirsts, vectorSpan, 7);
    for (std::int64_t k = 0;;) {
        if (AnyZero(r0, r1, r2, r3, r4, r5, r6, r7))
            return true;
        if (++k == length)
            return false;
        r0 = _mm512_add_pd(r0, s0);
        r1 = _mm512_add_pd(r1, s1);
        r2 = _mm512_add_pd(r2, s2);
        r3 = _mm512_add_pd(r3, s3);
        r4 = _mm512_add_pd(r4, s4);
        r5 = _mm512_add_pd(r5, s5);
        r6 = _mm512_add_pd(r6, s6);
        r7 = _mm512_add_pd(r7, s7);
    }
}

} // namespace

__attribute__((target("avx512f,fma"))) std::int64_t
FirstDividingOffsetAvx512(std::int64_t candidate, std::int64_t firstDivisor, std::int64_t count) {
    std::int64_t done = 0;
    if (firstDivisor >= kLinearFrom) {
        while (const std::int64_t length = StretchLength(candidate, firstDivisor + 2 * done, count - done)) {
            const std::int64_t first = firstDivisor + 2 * done;
            const std::int64_t blockCount = kStretchLanes * length;
            if (StretchesHaveDivisor(candidate, first, length))
                return done + FirstHitInOrder(candidate, first, blockCount);
            done += blockCount;
        }
    }
    return done + FirstHitInOrder(candidate, firstDivisor + 2 * done, count - done);
}

} // namespace search::detail
