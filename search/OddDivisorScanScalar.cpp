// The scalar kernel, for processors without AVX2: baseline x86-64 double arithmetic, one divisor at a time.

#include "search/OddDivisorScanDetail.h"

#include <cstdint>

namespace search::detail {
namespace {

// The quotient is exact whenever j divides i, so truncating it gives q = i / j; otherwise q * j != i for
// any q. q <= i / j keeps the product below 2^35.
std::int64_t FirstHitByDivision(std::int64_t candidate, std::int64_t firstDivisor, std::int64_t count) {
    const double exactCandidate = static_cast<double>(candidate);
    for (std::int64_t k = 0; k < count; ++k) {
        const std::int64_t divisor = firstDivisor + 2 * k;
        const auto quotient = static_cast<std::int64_t>(exactCandidate / static_cast<double>(divisor));
        if (quotient * divisor == candidate)
            return k;
    }
    return count;
}

// The tangent of i / j at the group's centre c, as slope * j + intercept: off by less than 0.031 from
// kLinearFrom on (OddDivisorScanDetail.h states the bound), with roundings of less than 2^-30, so
// |line - i / j| < 1/2, and truncating line + 1/2 (always positive) rounds it to i / j whenever j divides i.
std::int64_t FirstHitByLine(std::int64_t candidate, double inverseCandidate, std::int64_t firstDivisor) {
    const double centre = static_cast<double>(firstDivisor + (kGroupDivisors - 1));
    const double quotient = static_cast<double>(candidate) / centre;
    const double slope = -(quotient * quotient) * inverseCandidate;
    const double intercept = quotient - slope * centre + 0.5;
    double exactDivisor = static_cast<double>(firstDivisor);
    for (std::int64_t k = 0; k < kGroupDivisors; ++k, exactDivisor += 2.0) {
        const auto rounded = static_cast<std::int64_t>(slope * exactDivisor + intercept);
        if (rounded * (firstDivisor + 2 * k) == candidate)
            return k;
    }
    return kGroupDivisors;
}

} // namespace

std::int64_t FirstDividingOffsetScalar(std::int64_t candidate, std::int64_t firstDivisor,
                                       std::int64_t count) {
    const double inverseCandidate = 1.0 / static_cast<double>(candidate);
    std::int64_t done = 0;
    for (; done + kGroupDivisors <= count; done += kGroupDivisors) {
        const std::int64_t first = firstDivisor + 2 * done;
        const std::int64_t offset = first >= kLinearFrom
                                        ? FirstHitByLine(candidate, inverseCandidate, first)
                                        : FirstHitByDivision(candidate, first, kGroupDivisors);
        if (offset < kGroupDivisors)
            return done + offset;
    }
    return done + FirstHitByDivision(candidate, firstDivisor + 2 * done, count - done);
}

} // namespace search::detail
