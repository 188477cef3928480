// How many processors the pool sizes itself for: the affinity mask of the process, capped by the CPU quotas
// of its control groups (cgroup v1 and v2) and of every group above them.

#include "framework/runtime/Processors.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

// AvailableProcessorsNow reads the affinity at every call, so it follows at once as well.
TEST(Processors, AThreadPinnedToOneProcessorHasOne) {
    cpu_set_t before;
    ASSERT_EQ(sched_getaffinity(0, sizeof before, &before), 0);
    const unsigned now = Ovelund::AvailableProcessorsNow();
    EXPECT_GE(Ovelund::AvailableProcessors(), 1u);
    EXPECT_LE(Ovelund::AvailableProcessors(), static_cast<unsigned>(CPU_COUNT(&before)));
    int first = 0;
    while (!CPU_ISSET(first, &before))
        ++first;
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(first, &one);
    ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
    EXPECT_EQ(Ovelund::AvailableProcessors(), 1u);
    EXPECT_EQ(Ovelund::AvailableProcessorsNow(), 1u);
    ASSERT_EQ(sched_setaffinity(0, sizeof before, &before), 0);
    EXPECT_EQ(Ovelund::AvailableProcessorsNow(), now);
}

TEST(Processors, QuotaTexts) {
    const struct {
        const char* text;
        std::optional<unsigned> processors;
    } cases[] = {
        {"max 100000", std::nullopt}, {"max 100000\n", std::nullopt}, {"200000 100000", 2u},
        {"250000 100000\n", 2u},      {"50000 100000", 1u},           {"800000 50000", 16u},
        {"", std::nullopt},           {"200000", std::nullopt},       {"abc 100000", std::nullopt},
        {"200000 0", std::nullopt},   {"-1 100000", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Ovelund::ProcessorsInQuota(c.text), c.processors) << '"' << c.text << '"';
}

TEST(Processors, TheTightestQuotaOnTheWayToTheRootCounts) {
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() / ("quota_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(root / "outer/inner/leaf");
    auto write = [&](const std::string& group, const char* text) {
        std::ofstream(root / group / "cpu.max") << text;
    };
    write("outer", "300000 100000\n");
    write("outer/inner", "max 100000\n");
    write("outer/inner/leaf", "500000 100000\n");
    EXPECT_EQ(Ovelund::GroupQuotaProcessors(root.string(), "/outer/inner/leaf"), 3u);
    EXPECT_EQ(Ovelund::GroupQuotaProcessors(root.string(), "/outer/inner"), 3u);
    write("outer", "max 100000\n");
    EXPECT_EQ(Ovelund::GroupQuotaProcessors(root.string(), "/outer/inner/leaf"), 5u);
    EXPECT_EQ(Ovelund::GroupQuotaProcessors(root.string(), "/outer/inner"), std::nullopt);
    EXPECT_EQ(Ovelund::GroupQuotaProcessors(root.string(), "/"), std::nullopt);
    EXPECT_EQ(Ovelund::GroupQuotaProcessors(root.string(), "/missing"), std::nullopt);
    std::filesystem::remove_all(root);
}

TEST(Processors, V1QuotaTexts) {
    const struct {
        const char* quota;
        const char* period;
        std::optional<unsigned> processors;
    } cases[] = {
        {"-1", "100000", std::nullopt}, {"-1\n", "100000\n", std::nullopt},
        {"200000\n", "100000\n", 2u},   {"250000", "100000", 2u},
        {"50000", "100000", 1u},        {"800000", "50000", 16u},
        {"0", "100000", std::nullopt},  {"200000", "0", std::nullopt},
        {"", "100000", std::nullopt},   {"abc", "100000", std::nullopt},
        {"200000", "-1", std::nullopt}, {"200000 ", "100000 x", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Ovelund::ProcessorsInV1Quota(c.quota, c.period), c.processors)
            << '"' << c.quota << "\" over \"" << c.period << '"';
}

// A temporary folder that goes with the test.
class TemporaryTree {
public:
    explicit TemporaryTree(const char* name)
        : root_(std::filesystem::temp_directory_path() / (std::string(name) + std::to_string(::getpid()))) {
        std::filesystem::create_directories(root_);
    }
    TemporaryTree(const TemporaryTree&) = delete;
    TemporaryTree& operator=(const TemporaryTree&) = delete;
    ~TemporaryTree() { std::filesystem::remove_all(root_); }
    void Write(const std::string& file, const std::string& text) const {
        std::filesystem::create_directories((root_ / file).parent_path());
        std::ofstream(root_ / file) << text;
    }
    std::string Root() const { return root_.string(); }

private:
    std::filesystem::path root_;
};

TEST(Processors, TheTightestV1QuotaOnTheWayToTheMountCounts) {
    const TemporaryTree tree("v1_quota_test_");
    auto set = [&](const std::string& group, const char* quota) {
        tree.Write(group + "/cpu.cfs_quota_us", quota);
        tree.Write(group + "/cpu.cfs_period_us", "100000\n");
    };
    set(".", "-1\n");
    set("outer", "300000\n");
    set("outer/inner", "-1\n");
    set("outer/inner/leaf", "500000\n");
    EXPECT_EQ(Ovelund::V1GroupQuotaProcessors(tree.Root(), "/outer/inner/leaf"), 3u);
    EXPECT_EQ(Ovelund::V1GroupQuotaProcessors(tree.Root(), "/outer/inner"), 3u);
    set("outer", "-1\n");
    EXPECT_EQ(Ovelund::V1GroupQuotaProcessors(tree.Root(), "/outer/inner/leaf"), 5u);
    EXPECT_EQ(Ovelund::V1GroupQuotaProcessors(tree.Root(), "/outer/inner"), std::nullopt);
    set(".", "100000\n");
    EXPECT_EQ(Ovelund::V1GroupQuotaProcessors(tree.Root(), "/outer/inner/leaf"), 1u)
        << "the mount's own folder";
    EXPECT_EQ(Ovelund::V1GroupQuotaProcessors(tree.Root(), ""), 1u);
    EXPECT_EQ(Ovelund::V1GroupQuotaProcessors(tree.Root() + "/missing", "/a"), std::nullopt);
}

TEST(Processors, HierarchiesThatCanHoldAQuota) {
    using Ovelund::QuotaHierarchy;
    const std::string hybridMounts =
        "32 23 0:29 / /sys/fs/cgroup rw,relatime - tmpfs tmpfs rw,mode=755\n"
        "33 32 0:30 / /sys/fs/cgroup/cpu,cpuacct rw,relatime shared:9 - cgroup cgroup rw,cpu,cpuacct\n"
        "35 32 0:32 / /sys/fs/cgroup/cpuset rw,relatime - cgroup cgroup rw,cpuset\n"
        "42 32 0:39 / /sys/fs/cgroup/unified rw,relatime - cgroup2 cgroup2 rw\n";
    const struct {
        const char* what;
        std::string cgroups;
        std::string mounts;
        std::vector<QuotaHierarchy> hierarchies;
    } cases[] = {
        {"hybrid: the v1 cpu controller and the unified hierarchy",
         "3:cpuset:/\n2:cpu,cpuacct:/build/job\n0::/build/job\n",
         hybridMounts,
         {{true, "/sys/fs/cgroup/cpu,cpuacct", "/build/job"},
          {false, "/sys/fs/cgroup/unified", "/build/job"}}},
        {"the root group",
         "2:cpu,cpuacct:/\n0::/\n",
         hybridMounts,
         {{true, "/sys/fs/cgroup/cpu,cpuacct", ""}, {false, "/sys/fs/cgroup/unified", ""}}},
        {"cpuset and cpuacct alone are not the cpu controller",
         "3:cpuset:/a\n4:cpuacct:/a\n",
         "33 32 0:30 / /c rw - cgroup cgroup rw,cpuacct\n35 32 0:32 / /s rw - cgroup cgroup rw,cpuset\n",
         {}},
        {"v2 alone",
         "0::/user.slice/app.scope\n",
         "30 23 0:26 / /sys/fs/cgroup rw,nosuid,nodev,noexec,relatime shared:4 - cgroup2 cgroup2 "
         "rw,nsdelegate\n",
         {{false, "/sys/fs/cgroup", "/user.slice/app.scope"}}},
        {"a container's mount of its own group's folder",
         "5:cpu:/docker/abc/sub\n",
         "40 32 0:40 /docker/abc /sys/fs/cgroup/cpu ro - cgroup cgroup rw,cpu\n",
         {{true, "/sys/fs/cgroup/cpu", "/sub"}}},
        {"a group outside what its mount shows",
         "5:cpu:/docker/abcd\n",
         "40 32 0:40 /docker/abc /sys/fs/cgroup/cpu ro - cgroup cgroup rw,cpu\n",
         {}},
        {"the first mount that shows the group",
         "5:cpu:/b/x\n",
         "40 32 0:40 /a /m1 rw - cgroup cgroup rw,cpu\n41 32 0:40 /b /m2 rw - cgroup cgroup rw,cpu\n",
         {{true, "/m2", "/x"}}},
        {"a group outside the namespace climbs",
         "0::/../../other\n",
         "30 23 0:26 / /sys/fs/cgroup rw - cgroup2 cgroup2 rw\n",
         {}},
        {"escaped blanks in the mount point",
         "0::/g\n",
         "30 23 0:26 / /mnt/with\\040blank rw - cgroup2 cgroup2 rw\n",
         {{false, "/mnt/with blank", "/g"}}},
        {"no mount", "2:cpu:/a\n0::/a\n", "32 23 0:29 / /sys/fs/cgroup rw - tmpfs tmpfs rw\n", {}},
        {"texts cut short", "2:cpu\n0:\n", "33 32 0:30 / /c rw - cgroup\n33 32 0:30\n", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Ovelund::QuotaHierarchies(c.cgroups, c.mounts), c.hierarchies) << c.what;
}

// A kernel with more processors than a fixed set holds (1024): the set grows until the kernel takes it.
TEST(Processors, AnAffinityMaskLargerThanAFixedSetIsCounted) {
    static constexpr std::size_t kKernelProcessors = 4096;
    const Ovelund::AffinityQuery large = [](std::size_t bytes, void* set) {
        if (bytes * 8 < kKernelProcessors)
            return EINVAL;
        for (std::size_t n = 0; n < kKernelProcessors; n += 3)
            CPU_SET_S(n, bytes, static_cast<cpu_set_t*>(set));
        return 0;
    };
    EXPECT_EQ(Ovelund::AffinityProcessorsFrom(large), (kKernelProcessors + 2) / 3);
    const Ovelund::AffinityQuery refused = [](std::size_t, void*) {
        return EPERM;
    };
    EXPECT_EQ(Ovelund::AffinityProcessorsFrom(refused), 1u);
    const Ovelund::AffinityQuery neverLargeEnough = [](std::size_t, void*) {
        return EINVAL;
    };
    EXPECT_EQ(Ovelund::AffinityProcessorsFrom(neverLargeEnough), 1u);
}

// The real v1 cpu controller, where this machine has one and the test may make groups in it (root): a
// thread moved into a group below one limited to two processors reads that quota.
std::optional<std::string> V1CpuMountPoint() {
    std::ifstream mounts("/proc/self/mountinfo");
    for (std::string line; std::getline(mounts, line);) {
        std::istringstream fields(line);
        std::vector<std::string> field;
        for (std::string word; fields >> word;)
            field.push_back(word);
        for (std::size_t n = 0; n + 3 < field.size(); ++n)
            if (field[n] == "-" && field[n + 1] == "cgroup" &&
                ("," + field[n + 3] + ",").find(",cpu,") != std::string::npos && field[3] == "/")
                return field[4];
    }
    return std::nullopt;
}

std::optional<std::string> OwnV1CpuGroup() {
    std::ifstream groups("/proc/thread-self/cgroup");
    for (std::string line; std::getline(groups, line);) {
        const std::size_t first = line.find(':');
        const std::size_t second = line.find(':', first + 1);
        if (("," + line.substr(first + 1, second - first - 1) + ",").find(",cpu,") != std::string::npos)
            return line.substr(second + 1);
    }
    return std::nullopt;
}

bool MoveThisThread(const std::string& groupFolder) {
    std::ofstream tasks(groupFolder + "/tasks");
    tasks << ::gettid() << std::flush;
    return static_cast<bool>(tasks);
}

TEST(Processors, TheRealV1ControllersQuotaIsRead) {
    const std::optional<std::string> mount = V1CpuMountPoint();
    const std::optional<std::string> own = OwnV1CpuGroup();
    if (!mount || !own)
        GTEST_SKIP() << "no cgroup v1 cpu controller here";
    const std::string outer = *mount + *own + "/quota_test_" + std::to_string(::getpid());
    std::error_code error;
    if (!std::filesystem::create_directory(outer, error))
        GTEST_SKIP() << "may not make a group in the v1 cpu controller: " << error.message();
    std::filesystem::create_directory(outer + "/inner");
    std::ofstream(outer + "/cpu.cfs_period_us") << "100000" << std::flush;
    std::ofstream(outer + "/cpu.cfs_quota_us") << "200000" << std::flush;

    std::optional<unsigned> quota;
    unsigned available = 0;
    unsigned affinity = 0;
    bool moved = false;
    std::thread inside([&] {
        moved = MoveThisThread(outer + "/inner");
        if (moved) {
            quota = Ovelund::QuotaProcessors();
            available = Ovelund::AvailableProcessors();
            affinity = Ovelund::AffinityProcessors();
            MoveThisThread(*mount + *own);
        }
    });
    inside.join();
    std::filesystem::remove(outer + "/inner", error);
    std::filesystem::remove(outer, error);
    ASSERT_TRUE(moved);
    EXPECT_EQ(quota, 2u);
    EXPECT_EQ(available, std::min(2u, affinity));
}

} // namespace
