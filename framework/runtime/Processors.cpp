#include "framework/runtime/Processors.h"

#include <sched.h>

#include <algorithm>
#include <charconv>
#include <fstream>

namespace Ovelund {
namespace {

unsigned AffinityProcessors() {
    cpu_set_t mask;
    CPU_ZERO(&mask);
    if (sched_getaffinity(0, sizeof mask, &mask) != 0)
        return 1;
    return static_cast<unsigned>(std::max(1, CPU_COUNT(&mask)));
}

std::optional<std::string> FirstLine(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    if (!file || !std::getline(file, line))
        return std::nullopt;
    return line;
}

// The group of this process in the unified (v2) hierarchy: the "0::/path" line of /proc/self/cgroup.
std::optional<std::string> OwnGroup() {
    std::ifstream file("/proc/self/cgroup");
    for (std::string line; std::getline(file, line);)
        if (line.starts_with("0::"))
            return line.substr(3);
    return std::nullopt;
}

std::optional<long long> Number(std::string_view text) {
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value <= 0)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<unsigned> ProcessorsInQuota(std::string_view cpuMax) {
    const std::size_t blank = cpuMax.find(' ');
    if (blank == std::string_view::npos)
        return std::nullopt;
    const std::optional<long long> quota = Number(cpuMax.substr(0, blank));
    std::string_view periodText = cpuMax.substr(blank + 1);
    while (!periodText.empty() && (periodText.back() == '\n' || periodText.back() == ' '))
        periodText.remove_suffix(1);
    const std::optional<long long> period = Number(periodText);
    if (!quota || !period)
        return std::nullopt; // "max": no limit
    return static_cast<unsigned>(std::max<long long>(1, *quota / *period));
}

std::optional<unsigned> GroupQuotaProcessors(const std::string& hierarchyRoot, std::string groupPath) {
    std::optional<unsigned> tightest;
    for (;;) {
        if (const std::optional<std::string> line = FirstLine(hierarchyRoot + groupPath + "/cpu.max"))
            if (const std::optional<unsigned> processors = ProcessorsInQuota(*line))
                tightest = std::min(tightest.value_or(*processors), *processors);
        const std::size_t slash = groupPath.rfind('/');
        if (slash == std::string::npos || groupPath.empty())
            return tightest;
        groupPath.resize(slash);
    }
}

unsigned AvailableProcessors() {
    unsigned processors = AffinityProcessors();
    if (const std::optional<std::string> group = OwnGroup())
        if (const std::optional<unsigned> quota = GroupQuotaProcessors("/sys/fs/cgroup", *group))
            processors = std::min(processors, *quota);
    return processors;
}

} // namespace Ovelund
