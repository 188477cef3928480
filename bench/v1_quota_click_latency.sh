#!/usr/bin/env bash
# click_latency_bench inside a control group of the cgroup v1 cpu controller limited to a CPU quota of two
# processors (cpu.cfs_quota_us 200000 over cpu.cfs_period_us 100000): makes the group below this shell's own,
# runs the bench in it (its measuring children stay there), and removes the group. Needs root and the v1 cpu
# controller mounted; exits 77 without them, else with the bench's status. It measures the idle setting and
# the one pinned to one core: the busy loops of "every core busy" stand for other programs, and run in the
# group they would share its quota with the measured process.
# Usage: bench/v1_quota_click_latency.sh [path/to/click_latency_bench] [seconds per measurement] [processors]
set -euo pipefail
cd "$(dirname "$0")/.."
bench=${1:-build/test/bench/click_latency_bench}
seconds=${2:-3}
processors=${3:-2}

# The mount of the v1 hierarchy that holds the cpu controller, showing the whole hierarchy from its root.
mount=$(awk '{ for (i = 7; i <= NF; i++) if ($i == "-") break;
               if ($(i + 1) != "cgroup" || $4 != "/") next;
               n = split($(i + 3), option, ",");
               for (j = 1; j <= n; j++) if (option[j] == "cpu") { print $5; exit } }' /proc/self/mountinfo)
own=$(awk -F: '{ n = split($2, controller, ","); for (j = 1; j <= n; j++) if (controller[j] == "cpu") print $3 }' \
    /proc/self/cgroup)
if [ -z "$mount" ] || [ -z "$own" ]; then
    echo "no cgroup v1 cpu controller here"
    exit 77
fi
group="${mount}${own%/}/tarnwick_quota_bench_$$"
mkdir "$group" || exit 77
trap 'rmdir "$group"' EXIT
echo 100000 >"$group/cpu.cfs_period_us"
echo $((processors * 100000)) >"$group/cpu.cfs_quota_us"
echo "cgroup v1 group $group: cpu.cfs_quota_us $(cat "$group/cpu.cfs_quota_us"), cpu.cfs_period_us $(cat "$group/cpu.cfs_period_us")"

status=0
bash -c 'echo $$ >"$1/cgroup.procs" && exec "$2" "$3" idle pinned' quota "$group" "$bench" "$seconds" || status=$?
echo "throttled: $(grep -E '^(nr_periods|nr_throttled|throttled_time)' "$group/cpu.stat" | tr '\n' ' ')"
exit $status
