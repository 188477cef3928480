// Times the prime search's divisor loop over the whole divisor range of the prime 9,999,999,967
// (4,999,999,982 divisors): the plain 64-bit remainder loop first, as the baseline, then every division
// kernel this processor supports, each as the ratio to that baseline. The plain run alone takes ~15 s.
// Exits with 1 when a kernel's answer or hook-call count differs from the plain loop's.

#include "search/OddDivisorScan.h"

#include "framework/BackgroundTask.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>

namespace {

constexpr std::int64_t kCandidate = 9'999'999'967;

struct Run {
    std::int64_t divisor;
    std::uint64_t hookCalls;
    double seconds;
};

Run Time(const std::function<std::int64_t(std::int64_t)>& scan) {
    const std::uint64_t callsBefore = Ovelund::RuntimeBackgroundTaskCount();
    const auto start = std::chrono::steady_clock::now();
    const std::int64_t divisor = scan(kCandidate);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return {divisor, Ovelund::RuntimeBackgroundTaskCount() - callsBefore, elapsed.count()};
}

const char* Name(search::DivisionKernel kernel) {
    switch (kernel) {
    case search::DivisionKernel::Scalar:
        return "scalar kernel";
    case search::DivisionKernel::Avx2:
        return "AVX2 kernel";
    case search::DivisionKernel::Avx512:
        return "AVX-512 kernel";
    }
    return "?";
}

} // namespace

int main() {
    const double divisors = static_cast<double>((kCandidate - 3) / 2);
    std::printf("candidate %lld: %.0f divisors each run\n", static_cast<long long>(kCandidate), divisors);

    const Run plain = Time(search::FirstOddDivisorPlain);
    const double plainRate = divisors / plain.seconds;
    std::printf("%-16s %8.3f s  %6.3f billion divisors/s  1.00x\n", "plain loop", plain.seconds,
                plainRate / 1e9);

    bool agree = true;
    for (const auto kernel :
         {search::DivisionKernel::Scalar, search::DivisionKernel::Avx2, search::DivisionKernel::Avx512}) {
        if (!search::DivisionKernelSupported(kernel)) {
            std::printf("%-16s not supported by this processor\n", Name(kernel));
            continue;
        }
        const Run run =
            Time([kernel](std::int64_t candidate) { return search::FirstOddDivisorWith(kernel, candidate); });
        const double rate = divisors / run.seconds;
        const bool same = run.divisor == plain.divisor && run.hookCalls == plain.hookCalls;
        agree = agree && same;
        std::printf("%-16s %8.3f s  %6.3f billion divisors/s  %5.2fx%s\n", Name(kernel), run.seconds,
                    rate / 1e9, rate / plainRate, same ? "" : "  DIFFERS from the plain loop");
    }
    std::printf("active kernel: %s\n", Name(search::ActiveDivisionKernel()));
    return agree ? 0 : 1;
}
