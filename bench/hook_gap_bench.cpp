// How long the user-interface thread goes without a background-task hook call inside a scan once the running
// process has been moved onto one processor after its pool started (as `taskset -a -p -c 0 PID` does), with
// the scan's worker pool on and, as the baseline in the same run, off (the one-thread design).
//
// Each side runs in a fresh process (the bench itself again, with "measure"): it starts the pool and runs a
// few scans on every processor, so that the workers have taken part, then moves every thread of the process
// onto its first processor and scans the prime again and again. The hook delivers events at every clock check
// (delivery interval 0), and an event that posts itself again notes the time of each delivery, so the gaps
// between deliveries are the gaps between the hook's clock checks. Only scans begun after the move count.
//
// Usage: hook_gap_bench [seconds per side, default 5] [--prime P] (default 999,999,937, about 0.5 billion
// divisors). Exits with 1 when the pool-on side's longest gap is more than 1.2 times the pool-off side's.

#include "bench/ChildMeasurement.h"
#include "framework/runtime/EventLoop.h"
#include "framework/startup/Startup.h"
#include "search/OddDivisorScan.h"

#include <QApplication>
#include <QEvent>

#include <dirent.h>
#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

using Clock = std::chrono::steady_clock;

namespace {

const QEvent::Type noteType = static_cast<QEvent::Type>(QEvent::User + 18);

// Notes the longest gap between two of its deliveries since Begin, and posts itself again at each.
class GapNoter : public QObject {
public:
    void Begin() {
        last_ = Clock::now();
        longest_ = Clock::duration::zero();
        if (!posted_) {
            posted_ = true;
            QCoreApplication::postEvent(this, new QEvent(noteType));
        }
    }
    double EndMs() {
        Note();
        return std::chrono::duration<double, std::milli>(longest_).count();
    }
    bool event(QEvent* e) override {
        if (e->type() != noteType)
            return QObject::event(e);
        Note();
        QCoreApplication::postEvent(this, new QEvent(noteType));
        return true;
    }

private:
    void Note() {
        const Clock::time_point now = Clock::now();
        longest_ = std::max(longest_, now - last_);
        last_ = now;
    }
    Clock::time_point last_;
    Clock::duration longest_{};
    bool posted_ = false;
};

// Moves every thread of this process onto `processor`, as taskset -a -p does.
bool MoveEveryThreadOnto(int processor) {
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(processor, &one);
    DIR* tasks = opendir("/proc/self/task");
    if (!tasks)
        return false;
    bool moved = true;
    while (const dirent* entry = readdir(tasks))
        if (entry->d_name[0] != '.')
            moved = sched_setaffinity(std::atoi(entry->d_name), sizeof one, &one) == 0 && moved;
    closedir(tasks);
    return moved;
}

struct Summary {
    double worst = 0, p99 = 0, median = 0;
    std::size_t scans = 0, over4ms = 0;
    unsigned workers = 0;
};

// One side in this process: prints "result <worst> <p99> <median> <scans> <over4ms> <workers>".
int Measure(bool pool, double seconds, std::int64_t prime) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "hook_gap_bench";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    Ovelund::RuntimeInit();
    Ovelund::RuntimeSetEventDeliveryInterval(std::chrono::milliseconds(0));
    search::SetParallelScan(pool);
    const unsigned workers = search::ParallelScanWorkers();
    for (int n = 0; n < 3; ++n)
        if (search::FirstOddDivisor(prime) != 0)
            return 2;
    if (!MoveEveryThreadOnto(bench::FirstProcessor()))
        return 3;
    GapNoter noter;
    std::vector<double> longest;
    const Clock::time_point until =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    while (Clock::now() < until) {
        noter.Begin();
        if (search::FirstOddDivisor(prime) != 0)
            return 2;
        longest.push_back(noter.EndMs());
    }
    std::sort(longest.begin(), longest.end());
    Summary s;
    s.scans = longest.size();
    s.worst = longest.back();
    s.p99 = longest[std::min(longest.size() - 1, longest.size() * 99 / 100)];
    s.median = longest[longest.size() / 2];
    s.over4ms = static_cast<std::size_t>(
        std::count_if(longest.begin(), longest.end(), [](double ms) { return ms >= 4; }));
    std::printf("result %.3f %.3f %.3f %zu %zu %u\n", s.worst, s.p99, s.median, s.scans, s.over4ms, workers);
    std::fflush(stdout);
    return 0;
}

std::optional<Summary> MeasureInChild(bool pool, double seconds, std::int64_t prime) {
    const std::string text =
        bench::RunSelf({"measure", pool ? "on" : "off", std::to_string(seconds), std::to_string(prime)});
    const std::size_t at = text.rfind("result ");
    Summary s;
    if (at == std::string::npos || std::sscanf(text.c_str() + at, "result %lf %lf %lf %zu %zu %u", &s.worst,
                                               &s.p99, &s.median, &s.scans, &s.over4ms, &s.workers) != 6)
        return std::nullopt;
    return s;
}

void PrintSide(const char* name, const Summary& s) {
    std::printf("%-22s %8.2f %8.2f %8.2f %6zu %10zu %3u\n", name, s.worst, s.p99, s.median, s.scans,
                s.over4ms, s.workers);
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "measure") == 0)
        return Measure(std::strcmp(argv[2], "on") == 0, std::atof(argv[3]), std::atoll(argv[4]));
    double seconds = 5;
    std::int64_t prime = 999'999'937;
    for (int n = 1; n < argc; ++n) {
        if (std::strcmp(argv[n], "--prime") == 0 && n + 1 < argc)
            prime = std::atoll(argv[++n]);
        else
            seconds = std::max(0.2, std::atof(argv[n]));
    }
    std::printf("%.1f s per side; scans of %lld after every thread was moved onto one processor\n", seconds,
                static_cast<long long>(prime));
    std::printf("longest gap between hook clock checks in a scan, ms\n");
    std::printf("%-22s %8s %8s %8s %6s %10s %3s\n", "", "worst", "p99", "median", "scans", "gaps>=4ms", "wk");
    const std::optional<Summary> off = MeasureInChild(false, seconds, prime);
    const std::optional<Summary> on = MeasureInChild(true, seconds, prime);
    if (!off || !on) {
        std::printf("measurement failed\n");
        return 1;
    }
    PrintSide("pool off (one thread)", *off);
    PrintSide("pool on", *on);
    const double ratio = off->worst > 0 ? on->worst / off->worst : 0.0;
    std::printf("worst on/off %.2f, p99 on/off %.2f\n", ratio, off->p99 > 0 ? on->p99 / off->p99 : 0.0);
    if (ratio > 1.2) {
        std::printf("the pool's longest gap is more than 1.2 times the one-thread design's\n");
        return 1;
    }
    return 0;
}
