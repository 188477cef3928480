// How many processors the pool sizes itself for: the affinity mask of the process, capped by the CPU quota
// of its control group and of every group above it.

#include "framework/runtime/Processors.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace {

TEST(Processors, AThreadPinnedToOneProcessorHasOne) {
    cpu_set_t before;
    ASSERT_EQ(sched_getaffinity(0, sizeof before, &before), 0);
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
    ASSERT_EQ(sched_setaffinity(0, sizeof before, &before), 0);
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

} // namespace
