#pragma once
// How many processors this process may keep busy: those of its affinity mask (taskset, a container's cpuset),
// and no more than the CPU quotas of its control groups allow. A quota is shared by every thread of the
// group, so threads beyond it get all of them throttled, the user-interface thread too. Linux only.
//
// Quotas are read from both kinds of control group, wherever /proc/self/mountinfo shows their hierarchies
// mounted: cgroup v2's "cpu.max", and the v1 cpu controller's "cpu.cfs_quota_us" over "cpu.cfs_period_us"
// (-1: no limit). Each is read for the calling thread's group and every group above it within the mount, and
// the tightest of all counts.

#include "framework/core/ForTests.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Ovelund {

// The processors of the calling thread's affinity mask, capped by the quotas; at least 1. Read afresh.
unsigned AvailableProcessors();

// The same for a caller that asks at every scan: the affinity mask is read at every call (one system call),
// the quotas (a few file reads) at most once a second. Any thread may call it.
unsigned AvailableProcessorsNow();

// The processors of the calling thread's affinity mask, in a set sized for however many the machine has;
// at least 1.
unsigned AffinityProcessors();

// The processors' worth of time the quotas of the calling thread's groups allow, the tightest of all;
// nothing when no group sets one.
std::optional<unsigned> QuotaProcessors();

// Reads the affinity mask into `set` of `setBytes` bytes: 0, or the error number (EINVAL when the set is
// smaller than the kernel's). The real one is sched_getaffinity; tests stand in for a larger machine.
using AffinityQuery = int (*)(std::size_t setBytes, void* set);
OVELUND_FOR_TESTS unsigned AffinityProcessorsFrom(AffinityQuery query);

// The processors' worth of time a cgroup v2 "cpu.max" text ("quota period", or "max period") allows, rounded
// down; nothing for no limit or an unreadable text. A quota below one processor still allows 1.
OVELUND_FOR_TESTS std::optional<unsigned> ProcessorsInQuota(std::string_view cpuMax);

// The same for the v1 controller's two files, "cpu.cfs_quota_us" (-1: no limit) and "cpu.cfs_period_us".
OVELUND_FOR_TESTS std::optional<unsigned> ProcessorsInV1Quota(std::string_view quotaUs,
                                                              std::string_view periodUs);

// The tightest quota from the group `groupPath` ("/a/b", relative to the mount) up to the hierarchy's root
// mounted at `hierarchyRoot`; nothing when no group on the way sets one. The v2 form reads cpu.max, the v1
// form the cpu controller's two files.
OVELUND_FOR_TESTS std::optional<unsigned> GroupQuotaProcessors(const std::string& hierarchyRoot,
                                                               std::string groupPath);
OVELUND_FOR_TESTS std::optional<unsigned> V1GroupQuotaProcessors(const std::string& hierarchyRoot,
                                                                 std::string groupPath);

// A hierarchy that can hold a CPU quota for the calling thread: where it is mounted and the thread's group
// below that mount point.
struct QuotaHierarchy {
    bool v1 = false; // the v1 cpu controller; else the unified (v2) hierarchy
    std::string mountPoint;
    std::string group; // "" or "/a/b", relative to the mount point
    bool operator==(const QuotaHierarchy&) const = default;
};

// The hierarchies named by a /proc/<pid>/cgroup text and mounted in a /proc/<pid>/mountinfo text. A group
// outside what its mount shows (a mount of another group's folder) has none; the first mount of a hierarchy
// that shows the group counts.
OVELUND_FOR_TESTS std::vector<QuotaHierarchy> QuotaHierarchies(std::string_view cgroups,
                                                               std::string_view mountInfo);

} // namespace Ovelund
