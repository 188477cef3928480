#include "framework/runtime/Processors.h"

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <functional>

namespace Ovelund {
namespace {

// The largest affinity set tried: far beyond any kernel's processor limit, so that the doubling ends.
constexpr std::size_t kMostProcessors = std::size_t{1} << 20;

// A small file of the kernel's, with plain system calls: the quotas are read while a scan waits, so the
// stream library's set-up per file would be most of the cost.
std::optional<std::string> WholeFile(const std::string& path) {
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return std::nullopt;
    std::string text;
    char buffer[4096];
    ssize_t got = 0;
    while ((got = ::read(file, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<std::size_t>(got));
    ::close(file);
    if (got < 0)
        return std::nullopt;
    return text;
}

std::optional<std::string> FirstLine(const std::string& path) {
    std::optional<std::string> text = WholeFile(path);
    if (!text)
        return std::nullopt;
    text->resize(std::min(text->size(), text->find('\n')));
    return text;
}

std::string_view WithoutTrailingBlanks(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.remove_suffix(1);
    return text;
}

// The whole text as a number above 0; nothing for anything else ("max", -1, a stray character).
std::optional<long long> PositiveNumber(std::string_view text) {
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value <= 0)
        return std::nullopt;
    return value;
}

unsigned ProcessorsIn(long long quota, long long period) {
    return static_cast<unsigned>(std::clamp<long long>(quota / period, 1, 1 << 30));
}

// The tightest quota that `quotaAt` finds in the folder of `groupPath` and of each group above it, up to the
// mount's root.
std::optional<unsigned>
TightestUpward(const std::string& hierarchyRoot, std::string groupPath,
               const std::function<std::optional<unsigned>(const std::string& folder)>& quotaAt) {
    std::optional<unsigned> tightest;
    for (;;) {
        if (const std::optional<unsigned> processors = quotaAt(hierarchyRoot + groupPath))
            tightest = std::min(tightest.value_or(*processors), *processors);
        const std::size_t slash = groupPath.rfind('/');
        if (slash == std::string::npos || groupPath.empty())
            return tightest;
        groupPath.resize(slash);
    }
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos)
            return parts;
        text.remove_prefix(at + 1);
    }
}

bool HasItem(std::string_view commaList, std::string_view item) {
    const std::vector<std::string_view> items = Split(commaList, ',');
    return std::find(items.begin(), items.end(), item) != items.end();
}

// A mountinfo path with its blanks, tabs, newlines and backslashes written as octal escapes ("\040").
std::string Unescaped(std::string_view field) {
    std::string path;
    for (std::size_t n = 0; n < field.size(); ++n) {
        if (field[n] == '\\' && n + 3 < field.size()) {
            const auto octal = [&](std::size_t at) {
                return field[at] >= '0' && field[at] <= '7';
            };
            if (octal(n + 1) && octal(n + 2) && octal(n + 3)) {
                path += static_cast<char>((field[n + 1] - '0') * 64 + (field[n + 2] - '0') * 8 +
                                          (field[n + 3] - '0'));
                n += 3;
                continue;
            }
        }
        path += field[n];
    }
    return path;
}

// The group below a mount whose folder is the hierarchy's `mountRoot`; nothing when the mount does not show
// it. A path that climbs ("/.."), as a group outside the cgroup namespace reads, is never followed.
std::optional<std::string> GroupBelow(std::string_view mountRoot, std::string_view group) {
    if (group.empty() || group.front() != '/')
        return std::nullopt;
    for (const std::string_view part : Split(group, '/'))
        if (part == "..")
            return std::nullopt;
    if (mountRoot != "/") {
        if (!group.starts_with(mountRoot) ||
            (group.size() > mountRoot.size() && group[mountRoot.size()] != '/'))
            return std::nullopt;
        group.remove_prefix(mountRoot.size());
    }
    while (!group.empty() && group.back() == '/')
        group.remove_suffix(1);
    return std::string(group);
}

struct Mount {
    std::string root;
    std::string point;
    std::string_view type;
    std::string_view superOptions;
};

std::vector<Mount> CgroupMounts(std::string_view mountInfo) {
    std::vector<Mount> mounts;
    for (const std::string_view line : Split(mountInfo, '\n')) {
        const std::vector<std::string_view> fields = Split(line, ' ');
        const auto dash = std::find(fields.begin(), fields.end(), "-");
        if (fields.size() < 5 || dash == fields.end() || fields.end() - dash < 4 || dash - fields.begin() < 6)
            continue;
        const std::string_view type = dash[1];
        if (type == "cgroup" || type == "cgroup2")
            mounts.push_back({Unescaped(fields[3]), Unescaped(fields[4]), type, dash[3]});
    }
    return mounts;
}

int RealAffinity(std::size_t setBytes, void* set) {
    return sched_getaffinity(0, setBytes, static_cast<cpu_set_t*>(set)) == 0 ? 0 : errno;
}

} // namespace

unsigned AffinityProcessorsFrom(AffinityQuery query) {
    for (std::size_t processors = CPU_SETSIZE; processors <= kMostProcessors; processors *= 2) {
        std::vector<unsigned long> words(CPU_ALLOC_SIZE(processors) / sizeof(unsigned long));
        const std::size_t bytes = words.size() * sizeof(unsigned long);
        const int error = query(bytes, words.data());
        if (error == 0)
            return static_cast<unsigned>(
                std::max(1, CPU_COUNT_S(bytes, reinterpret_cast<cpu_set_t*>(words.data()))));
        if (error != EINVAL)
            return 1;
    }
    return 1;
}

unsigned AffinityProcessors() {
    return AffinityProcessorsFrom(RealAffinity);
}

std::optional<unsigned> ProcessorsInQuota(std::string_view cpuMax) {
    const std::size_t blank = cpuMax.find(' ');
    if (blank == std::string_view::npos)
        return std::nullopt;
    const std::optional<long long> quota = PositiveNumber(cpuMax.substr(0, blank));
    const std::optional<long long> period = PositiveNumber(WithoutTrailingBlanks(cpuMax.substr(blank + 1)));
    if (!quota || !period)
        return std::nullopt; // "max": no limit
    return ProcessorsIn(*quota, *period);
}

std::optional<unsigned> ProcessorsInV1Quota(std::string_view quotaUs, std::string_view periodUs) {
    const std::optional<long long> quota = PositiveNumber(WithoutTrailingBlanks(quotaUs));
    const std::optional<long long> period = PositiveNumber(WithoutTrailingBlanks(periodUs));
    if (!quota || !period)
        return std::nullopt; // -1: no limit
    return ProcessorsIn(*quota, *period);
}

std::optional<unsigned> GroupQuotaProcessors(const std::string& hierarchyRoot, std::string groupPath) {
    return TightestUpward(hierarchyRoot, std::move(groupPath), [](const std::string& folder) {
        const std::optional<std::string> line = FirstLine(folder + "/cpu.max");
        return line ? ProcessorsInQuota(*line) : std::nullopt;
    });
}

std::optional<unsigned> V1GroupQuotaProcessors(const std::string& hierarchyRoot, std::string groupPath) {
    return TightestUpward(
        hierarchyRoot, std::move(groupPath), [](const std::string& folder) -> std::optional<unsigned> {
            const std::optional<std::string> quota = FirstLine(folder + "/cpu.cfs_quota_us");
            const std::optional<std::string> period = FirstLine(folder + "/cpu.cfs_period_us");
            if (!quota || !period)
                return std::nullopt;
            return ProcessorsInV1Quota(*quota, *period);
        });
}

std::vector<QuotaHierarchy> QuotaHierarchies(std::string_view cgroups, std::string_view mountInfo) {
    const std::vector<Mount> mounts = CgroupMounts(mountInfo);
    std::vector<QuotaHierarchy> hierarchies;
    for (const std::string_view line : Split(cgroups, '\n')) {
        // "hierarchy-id:controller,list:/path"; the unified hierarchy is "0::/path".
        const std::size_t first = line.find(':');
        const std::size_t second = first == std::string_view::npos ? first : line.find(':', first + 1);
        if (second == std::string_view::npos)
            continue;
        const std::string_view controllers = line.substr(first + 1, second - first - 1);
        const std::string_view group = line.substr(second + 1);
        const bool unified = line.substr(0, first) == "0" && controllers.empty();
        if (!unified && !HasItem(controllers, "cpu"))
            continue;
        for (const Mount& mount : mounts) {
            const bool fits = unified ? mount.type == "cgroup2"
                                      : mount.type == "cgroup" && HasItem(mount.superOptions, "cpu");
            if (!fits)
                continue;
            if (const std::optional<std::string> below = GroupBelow(mount.root, group)) {
                hierarchies.push_back({!unified, mount.point, *below});
                break;
            }
        }
    }
    return hierarchies;
}

std::optional<unsigned> QuotaProcessors() {
    // The calling thread's own groups: in v1 a thread may sit in a group other than its process's.
    std::optional<std::string> cgroups = WholeFile("/proc/thread-self/cgroup");
    if (!cgroups)
        cgroups = WholeFile("/proc/self/cgroup");
    if (!cgroups)
        return std::nullopt;
    // The mounts are read again only when the groups change: control-group hierarchies are mounted once, at
    // boot or when a container starts.
    struct Known {
        std::string cgroups;
        std::vector<QuotaHierarchy> hierarchies;
    };
    static thread_local std::optional<Known> known;
    if (!known || known->cgroups != *cgroups) {
        const std::optional<std::string> mountInfo = WholeFile("/proc/self/mountinfo");
        if (!mountInfo)
            return std::nullopt;
        known = Known{*cgroups, QuotaHierarchies(*cgroups, *mountInfo)};
    }
    std::optional<unsigned> tightest;
    for (const QuotaHierarchy& hierarchy : known->hierarchies) {
        const std::optional<unsigned> processors =
            hierarchy.v1 ? V1GroupQuotaProcessors(hierarchy.mountPoint, hierarchy.group)
                         : GroupQuotaProcessors(hierarchy.mountPoint, hierarchy.group);
        if (processors)
            tightest = std::min(tightest.value_or(*processors), *processors);
    }
    return tightest;
}

unsigned AvailableProcessors() {
    const unsigned processors = AffinityProcessors();
    const std::optional<unsigned> quota = QuotaProcessors();
    return quota ? std::min(processors, *quota) : processors;
}

unsigned AvailableProcessorsNow() {
    using Clock = std::chrono::steady_clock;
    constexpr Clock::rep kQuotaInterval =
        std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(1)).count();
    struct Quota {
        std::atomic<unsigned> processors{QuotaProcessors().value_or(0)}; // 0: no quota
        std::atomic<Clock::rep> readAt{Clock::now().time_since_epoch().count()};
    };
    static Quota quota; // the first reading happens here, once, whichever thread asks first
    const Clock::rep now = Clock::now().time_since_epoch().count();
    Clock::rep readAt = quota.readAt.load(std::memory_order_relaxed);
    // One caller reads again when the reading is old; the others use the one they have.
    if (now - readAt >= kQuotaInterval &&
        quota.readAt.compare_exchange_strong(readAt, now, std::memory_order_relaxed))
        quota.processors.store(QuotaProcessors().value_or(0), std::memory_order_relaxed);
    const unsigned processors = AffinityProcessors();
    const unsigned limit = quota.processors.load(std::memory_order_relaxed);
    return limit == 0 ? processors : std::min(processors, limit);
}

} // namespace Ovelund
