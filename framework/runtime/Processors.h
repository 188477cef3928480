#pragma once
// How many processors this process may keep busy: those of its affinity mask (taskset, a container's cpuset),
// and no more than its control group's CPU quota allows. Linux only; read afresh at every call.

#include "framework/core/ForTests.h"

#include <optional>
#include <string>
#include <string_view>

namespace Ovelund {

// The processors of the calling thread's affinity mask, capped by the quota of its control group; at least 1.
unsigned AvailableProcessors();

// The processors' worth of time a cgroup v2 "cpu.max" text ("quota period", or "max period") allows, rounded
// down; nothing for no limit or an unreadable text. A quota below one processor still allows 1.
OVELUND_FOR_TESTS std::optional<unsigned> ProcessorsInQuota(std::string_view cpuMax);

// The tightest quota from the group `groupPath` ("/a/b", from /proc/self/cgroup) up to the hierarchy's root
// mounted at `hierarchyRoot`; nothing when no group on the way sets one.
OVELUND_FOR_TESTS std::optional<unsigned> GroupQuotaProcessors(const std::string& hierarchyRoot,
                                                               std::string groupPath);

} // namespace Ovelund
