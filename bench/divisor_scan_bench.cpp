// Times the prime search's divisor loop over the whole divisor range of a prime, by default 9,999,999,967
// (4,999,999,982 divisors): the plain 64-bit remainder loop first, as the baseline, then every division
// kernel this processor supports on one core, then the active kernel on all cores, each as the ratio to that
// baseline. The plain run alone takes ~10 s; the others are the median of several runs.
//
// Then the crossing from one core to all: primes of growing size, each scanned on the calling thread alone
// and over the pool (with the whole range handed out), so that the threshold below which a scan stays on the
// calling thread can be read off where the pool starts to win.
//
// Usage: divisor_scan_bench [crossing] [--prime P] [--runs N]. "crossing" prints the crossing alone;
// --prime times another prime below 2^34 in place of 9,999,999,967 (a smaller one keeps a CI run short);
// --runs sets how many runs each median takes (default 15 on all cores, 5 per kernel). Exits with 1 when a
// run's answer or hook-call count differs from the plain loop's, or an argument is not understood.

#include "search/OddDivisorScan.h"

#include "framework/runtime/BackgroundTask.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr std::int64_t kDefaultCandidate = 9'999'999'967;

struct Run {
    std::int64_t divisor;
    std::uint64_t hookCalls;
    double seconds;
};

Run Time(const std::function<std::int64_t(std::int64_t)>& scan, std::int64_t candidate) {
    const std::uint64_t callsBefore = Ovelund::RuntimeBackgroundTaskCount();
    const auto start = std::chrono::steady_clock::now();
    const std::int64_t divisor = scan(candidate);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return {divisor, Ovelund::RuntimeBackgroundTaskCount() - callsBefore, elapsed.count()};
}

// The median of `runs` runs; false in `same` when any run's answer differs from `expected`.
Run Median(const std::function<std::int64_t(std::int64_t)>& scan, std::int64_t candidate, int runs,
           const Run& expected, bool& same) {
    std::vector<Run> all;
    for (int n = 0; n < runs; ++n) {
        all.push_back(Time(scan, candidate));
        same = same && all.back().divisor == expected.divisor && all.back().hookCalls == expected.hookCalls;
    }
    std::sort(all.begin(), all.end(), [](const Run& a, const Run& b) { return a.seconds < b.seconds; });
    return all[all.size() / 2];
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

bool IsOddPrime(std::int64_t n) {
    if (n < 3 || n % 2 == 0)
        return false;
    for (std::int64_t j = 3; j * j <= n; j += 2)
        if (n % j == 0)
            return false;
    return true;
}

void Print(const char* what, const Run& run, double divisors, double plainRate, bool same) {
    const double rate = divisors / run.seconds;
    std::printf("%-28s %8.4f s  %7.2f billion divisors/s  %7.2fx%s\n", what, run.seconds, rate / 1e9,
                rate / plainRate, same ? "" : "  DIFFERS from the plain loop");
}

} // namespace

int main(int argc, char** argv) {
    bool crossingOnly = false;
    std::int64_t candidate = kDefaultCandidate;
    int allCoreRuns = 15;
    int kernelRuns = 5;
    for (int n = 1; n < argc; ++n) {
        const std::string argument = argv[n];
        if (argument == "crossing") {
            crossingOnly = true;
        } else if (argument == "--prime" && n + 1 < argc) {
            candidate = std::stoll(argv[++n]);
        } else if (argument == "--runs" && n + 1 < argc) {
            allCoreRuns = kernelRuns = std::max(1, std::stoi(argv[++n]));
        } else {
            std::fprintf(stderr, "usage: divisor_scan_bench [crossing] [--prime P] [--runs N]\n");
            return 1;
        }
    }
    if (!IsOddPrime(candidate) || candidate >= (std::int64_t{1} << 34)) {
        std::fprintf(stderr, "%lld is no odd prime below 2^34\n", static_cast<long long>(candidate));
        return 1;
    }
    const double divisors = static_cast<double>((candidate - 3) / 2);
    const unsigned threads = search::ParallelScanWorkers() + 1;
    std::printf("candidate %lld: %.0f divisors each run; %u threads with the pool\n",
                static_cast<long long>(candidate), divisors, threads);
    const search::ParallelScan defaults = search::CurrentParallelScan();

    bool agree = true;
    if (!crossingOnly) {
        const Run plain = Time(search::FirstOddDivisorPlain, candidate);
        const double plainRate = divisors / plain.seconds;
        Print("plain loop", plain, divisors, plainRate, true);

        search::SetParallelScan(false);
        for (const auto kernel :
             {search::DivisionKernel::Scalar, search::DivisionKernel::Avx2, search::DivisionKernel::Avx512}) {
            if (!search::DivisionKernelSupported(kernel)) {
                std::printf("%-28s not supported by this processor\n", Name(kernel));
                continue;
            }
            bool same = true;
            const int runs = kernel == search::DivisionKernel::Scalar ? 1 : kernelRuns;
            const Run run =
                Median([kernel](std::int64_t c) { return search::FirstOddDivisorWith(kernel, c); }, candidate,
                       runs, plain, same);
            agree = agree && same;
            Print((std::string(Name(kernel)) + ", one core").c_str(), run, divisors, plainRate, same);
        }

        search::SetParallelScan(defaults);
        {
            bool same = true;
            const Run run = Median(search::FirstOddDivisor, candidate, allCoreRuns, plain, same);
            agree = agree && same;
            Print((std::string(Name(search::ActiveDivisionKernel())) + ", all cores").c_str(), run, divisors,
                  plainRate, same);
        }
        std::printf("active kernel: %s\n", Name(search::ActiveDivisionKernel()));
    }

    // The crossing: the same prime alone and with the pool from its first divisor on.
    std::printf("\nprime        divisors   one core      all cores     all/one\n");
    for (int power = 12; power <= 26; power += 2) {
        std::int64_t prime = (std::int64_t{2} << power) + 1;
        while (!IsOddPrime(prime))
            prime += 2;
        const Run expected{0, static_cast<std::uint64_t>((prime - 3) / 2), 0};
        const int runs = 41;
        bool same = true;
        search::SetParallelScan(false);
        const Run alone = Median(search::FirstOddDivisor, prime, runs, expected, same);
        search::ParallelScan everyCore = defaults;
        everyCore.serialDivisors = 0;
        search::SetParallelScan(everyCore);
        const Run shared = Median(search::FirstOddDivisor, prime, runs, expected, same);
        agree = agree && same;
        std::printf("%-12lld %-10lld %8.1f us   %8.1f us   %5.2f%s\n", static_cast<long long>(prime),
                    static_cast<long long>(expected.hookCalls), alone.seconds * 1e6, shared.seconds * 1e6,
                    shared.seconds / alone.seconds, same ? "" : "  DIFFERS");
    }
    search::SetParallelScan(defaults);
    std::printf("threshold in use: %lld divisors on the calling thread alone\n",
                static_cast<long long>(defaults.serialDivisors));
    return agree ? 0 : 1;
}
