// How long a click waits for its handler while search steps run near the largest number considered, with the
// scan's worker pool on and, as the baseline in the same run, off (the one-thread design), in three settings:
// - idle: nothing else runs;
// - every core busy: the bench keeps one busy loop per processor running in child processes of its own,
//   each ending by itself after a deadline, and stops them when the setting is measured;
// - one core: the measuring process is pinned to one processor before it starts, so its pool has no
//   workers.
// Each measurement runs in a fresh process (the bench itself again, with "measure"), so that the pool is
// sized for the affinity that process was started with.
//
// A measurement: a second thread posts events to the user-interface thread every millisecond and stamps each
// with the time it was posted; the receiver notes how long each waited. The steps are those of Mode A
// searches of 40 primes from 9,999,999,000, each a scan of about five billion divisors, started again while
// time is left; only events posted while a step runs count.
//
// Usage: click_latency_bench [seconds per measurement, default 3] [idle] [busy] [pinned]: the settings named,
// all three when none is. Exits with 1 when the pool misses a target: p99 at most 5 ms idle and on one core,
// at most 10 ms with every core busy, at most 1.2 times the pool-off p99 of the same setting, and the worst
// wait under 20 ms.

#include "bench/ChildMeasurement.h"
#include "framework/startup/Startup.h"
#include "search/Module1.h"
#include "search/OddDivisorScan.h"
#include "search/Window1.h"

#include <QApplication>
#include <QEvent>

#include <sched.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

using Clock = std::chrono::steady_clock;

namespace {

const QEvent::Type stampedType = static_cast<QEvent::Type>(QEvent::User + 17);

struct StampedEvent : QEvent {
    explicit StampedEvent(Clock::time_point posted) : QEvent(stampedType), posted(posted) {}
    Clock::time_point posted;
};

class Receiver : public QObject {
public:
    struct Wait {
        Clock::time_point posted;
        double ms;
    };
    std::vector<Wait> waits;
    bool event(QEvent* e) override {
        if (e->type() != stampedType)
            return QObject::event(e);
        const auto posted = static_cast<StampedEvent*>(e)->posted;
        waits.push_back({posted, std::chrono::duration<double, std::milli>(Clock::now() - posted).count()});
        return true;
    }
    // The waits of the events posted inside one of the spans.
    std::vector<double>
    WaitsWithin(const std::vector<std::pair<Clock::time_point, Clock::time_point>>& spans) const {
        std::vector<double> within;
        for (const Wait& wait : waits)
            for (const auto& [from, until] : spans)
                if (wait.posted >= from && wait.posted <= until) {
                    within.push_back(wait.ms);
                    break;
                }
        return within;
    }
};

struct Summary {
    double median = 0, p99 = 0, worst = 0;
    std::size_t count = 0;
    std::size_t steps = 0;
    unsigned workers = 0;
};

Summary Summarize(std::vector<double> waits) {
    Summary summary;
    if (waits.empty())
        return summary;
    std::sort(waits.begin(), waits.end());
    auto at = [&](double q) {
        return waits[std::min(waits.size() - 1, static_cast<std::size_t>(q * waits.size()))];
    };
    summary.median = at(0.5);
    summary.p99 = at(0.99);
    summary.worst = waits.back();
    summary.count = waits.size();
    return summary;
}

// One measurement in this process: prints "result <median> <p99> <worst> <events> <steps> <workers>".
int Measure(bool pool, std::chrono::milliseconds duration) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "click_latency_bench";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    Ovelund::RuntimeInit();
    search::SetParallelScan(pool);
    const unsigned workers = search::ParallelScanWorkers();
    auto window = Window1::instance();

    Receiver receiver;
    std::vector<std::pair<Clock::time_point, Clock::time_point>> steps;
    std::atomic<bool> done{false};
    std::thread poster([&receiver, duration, &done] {
        const auto until = Clock::now() + duration;
        while (Clock::now() < until) {
            QCoreApplication::postEvent(&receiver, new StampedEvent(Clock::now()));
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        done = true;
    });
    while (!done) {
        window->ListBox1()->DeleteAllRows();
        window->EditField2()->SetText("9999999000");
        window->EditField1()->SetText("40");
        window->Start_Action(window->Start());
        while (window->ModeATimer()->Mode() != Ovelund::Timer::ModeOff && !done) {
            const auto from = Clock::now();
            window->goModeA(); // the step runs here; the hook delivers the posted events
            steps.emplace_back(from, Clock::now());
            QCoreApplication::processEvents();
        }
    }
    poster.join();
    QCoreApplication::processEvents();
    window->Close();
    Summary s = Summarize(receiver.WaitsWithin(steps));
    std::printf("result %.3f %.3f %.3f %zu %zu %u\n", s.median, s.p99, s.worst, s.count, steps.size(),
                workers);
    std::fflush(stdout);
    return 0;
}

// Runs this program again with "measure", pinned to `processor` unless it is negative, and reads its result.
std::optional<Summary> MeasureInChild(bool pool, double seconds, int processor) {
    const std::string text =
        bench::RunSelf({"measure", pool ? "on" : "off", std::to_string(seconds)}, processor);
    const std::size_t at = text.rfind("result ");
    Summary s;
    if (at == std::string::npos || std::sscanf(text.c_str() + at, "result %lf %lf %lf %zu %zu %u", &s.median,
                                               &s.p99, &s.worst, &s.count, &s.steps, &s.workers) != 6)
        return std::nullopt;
    return s;
}

// One busy loop per processor, in child processes that end by themselves after `limit`.
class BusyLoops {
public:
    BusyLoops(unsigned count, std::chrono::seconds limit) {
        for (unsigned n = 0; n < count; ++n) {
            const pid_t child = fork();
            if (child == 0) {
                const auto until = Clock::now() + limit;
                volatile unsigned long spins = 0;
                while (Clock::now() < until)
                    spins = spins + 1;
                _exit(0);
            }
            if (child > 0)
                children_.push_back(child);
        }
    }
    BusyLoops(const BusyLoops&) = delete;
    BusyLoops& operator=(const BusyLoops&) = delete;
    ~BusyLoops() {
        for (const pid_t child : children_)
            kill(child, SIGKILL);
        for (const pid_t child : children_)
            waitpid(child, nullptr, 0);
    }

private:
    std::vector<pid_t> children_;
};

void PrintSide(const Summary& s) {
    std::printf("  %6.2f %7.2f %7.2f %6zu %4zu %2u", s.median, s.p99, s.worst, s.count, s.steps, s.workers);
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "measure") == 0)
        return Measure(std::strcmp(argv[2], "on") == 0,
                       std::chrono::milliseconds(static_cast<long>(std::atof(argv[3]) * 1000)));
    const double seconds = argc > 1 ? std::max(0.2, std::atof(argv[1])) : 3.0;

    struct Setting {
        const char* key;
        const char* name;
        double p99Target;
        bool busy;
        bool pinned;
    };
    const Setting settings[] = {
        {"idle", "idle", 5.0, false, false},
        {"busy", "every core busy", 10.0, true, false},
        {"pinned", "pinned to one core", 5.0, false, true},
    };
    auto chosen = [&](const Setting& setting) {
        if (argc <= 2)
            return true;
        for (int n = 2; n < argc; ++n)
            if (std::strcmp(argv[n], setting.key) == 0)
                return true;
        return false;
    };
    std::printf("%.1f s per measurement; %u processors; click waits in ms while steps run\n", seconds,
                bench::Processors());
    std::printf("%-20s %-40s %-40s %s\n", "", "pool off (one thread)", "pool on", "");
    std::printf(
        "%-20s    p50     p99   worst clicks steps wk    p50     p99   worst clicks steps wk  on/off\n",
        "setting");
    bool met = true;
    for (const Setting& setting : settings) {
        if (!chosen(setting))
            continue;
        std::optional<Summary> off, on;
        {
            std::optional<BusyLoops> loops;
            if (setting.busy)
                loops.emplace(bench::Processors(), std::chrono::seconds(static_cast<long>(4 * seconds + 30)));
            const int processor = setting.pinned ? bench::FirstProcessor() : -1;
            off = MeasureInChild(false, seconds, processor);
            on = MeasureInChild(true, seconds, processor);
        }
        if (!off || !on) {
            std::printf("%-20s measurement failed\n", setting.name);
            met = false;
            continue;
        }
        const double ratio = off->p99 > 0 ? on->p99 / off->p99 : 0.0;
        std::printf("%-20s", setting.name);
        PrintSide(*off);
        PrintSide(*on);
        std::printf("  %5.2f\n", ratio);
        const bool ok = on->p99 <= setting.p99Target && on->p99 <= 1.2 * off->p99 && on->worst < 20.0;
        if (!ok)
            std::printf("  %s: pool on misses a target (p99 <= %.0f ms, <= 1.2x pool off, worst < 20 ms)\n",
                        setting.name, setting.p99Target);
        met = met && ok;
    }
    return met ? 0 : 1;
}
