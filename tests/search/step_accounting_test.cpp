// What one step owes besides its row: the background-task hook calls of its loops, counted per step against
// a literal run of the step's loops, the plain decimal text that Mode B stores back into StartAt, and the
// last row in view.

#include "search/SearchFixture.h"

#include "framework/core/Text.h"
#include "framework/runtime/BackgroundTask.h"

#include <cstdint>
#include <string>

using namespace Ovelund;
using testing_support::SearchFixture;

namespace {

constexpr std::int64_t kLastCandidate = 10'000'000'000;

// The hook calls a step from `start` makes before it lists its prime or ends the search, by the loops
// exactly as written: one call after each divisor that does not divide its candidate, one after each
// candidate that is not listed, and none once the step has found its prime. The candidates and divisors are
// walked one by one, so keep the numbers small.
std::uint64_t HookCallsOfOneStep(std::int64_t start) {
    if (start <= 4) {
        if (start == 0 || start == 1)
            start = 2;
        if (start == 2 || start == 3)
            return 0; // listed without entering the loops
    }
    if (start % 2 == 0)
        ++start;
    std::uint64_t calls = 0;
    for (std::int64_t i = start; i <= kLastCandidate; i += 2) {
        for (std::int64_t j = 3; j <= i; j += 2) {
            if (j == i)
                return calls; // i is prime
            if (i % j == 0)
                break;
            ++calls;
        }
        ++calls;
    }
    return calls;
}

class StepAccounting : public SearchFixture {
protected:
    // Runs `steps` ticks of a search from `start` (the count or bound `second`) and checks each tick's hook
    // calls against the step that tick should run, from the StartAt it resumes at.
    void ExpectHookCallsPerStep(const char* start, const char* second, int steps) {
        StartSearch(start, second);
        for (int step = 1; step <= steps && Running(); ++step) {
            const std::int64_t resumeAt = ToInt64(CDbl(Module1::StartAt));
            const std::uint64_t before = RuntimeBackgroundTaskCount();
            Tick();
            EXPECT_EQ(RuntimeBackgroundTaskCount() - before, HookCallsOfOneStep(resumeAt))
                << "step " << step << " from " << resumeAt;
        }
        Click("Stop");
        RunToEnd();
    }
};

// Negative starts, 0 to 4, even and odd starts, a prime and composites (a square among them).
const char* const kStarts[] = {"-7", "-2", "0", "1", "2", "3", "4", "10", "9", "13", "15", "25", "1,000"};

TEST_F(StepAccounting, ModeAOwesOneHookCallPerDivisorTriedAndPerCandidatePassedOver) {
    for (const char* start : kStarts) {
        SCOPED_TRACE(start);
        ExpectHookCallsPerStep(start, "3", 3);
    }
}

TEST_F(StepAccounting, ModeBOwesTheSameAlsoWhenThePrimeItFindsEndsTheSearch) {
    ChooseModeB();
    for (const char* start : kStarts) {
        SCOPED_TRACE(start);
        ExpectHookCallsPerStep(start, "1,000,000", 3);
    }
    // The first prime found lies beyond the bound: the step ends the search after the same loops.
    for (const char* start : {"-7", "14", "24", "90"}) {
        SCOPED_TRACE(std::string(start) + " with bound 1");
        ExpectHookCallsPerStep(start, "1", 1);
        EXPECT_TRUE(Rows().empty());
    }
}

// Mode B stores its start back as plain decimal text as it begins, also when it lists nothing; Mode A
// leaves the text as typed until it lists a prime.
TEST_F(StepAccounting, ModeBRewritesTheStartAsPlainDecimalText) {
    struct Case {
        const char* typed;
        const char* bound;
        const char* stored;
    };
    ChooseModeB();
    for (const Case& c : {Case{"1,009", "5", "1009"}, Case{"12.7", "1", "12"}, Case{"abc", "0", "0"},
                          Case{"-0", "-3", "0"}, Case{"2e3", "10000000000", "2000"}}) {
        SCOPED_TRACE(c.typed);
        StartSearch(c.typed, c.bound);
        Tick();
        EXPECT_FALSE(Running());
        EXPECT_TRUE(Rows().empty());
        EXPECT_EQ(Module1::StartAt, c.stored);
    }
    presenter->messages.clear();

    Click("RadioButton1");
    StartSearch("1,009", "0");
    Tick();
    EXPECT_EQ(Module1::StartAt, "1,009");
}

} // namespace

// Every step that lists a prime brings the new last row into view, so that the list follows the search as it
// runs; the end of a search scrolls once more on its own.
TEST_F(StepAccounting, EveryStepThatListsAPrimeBringsTheNewLastRowIntoView) {
    struct ModeCase {
        const char* what;
        bool modeB;
        const char* start;
        const char* second;
    };
    for (const ModeCase& c : {ModeCase{"Mode A", false, "2", "60"}, ModeCase{"Mode B", true, "2", "300"}}) {
        SCOPED_TRACE(c.what);
        if (c.modeB)
            ChooseModeB();
        StartSearch(c.start, c.second);
        Ref<Listbox> list = window->ListBox1();
        int pastTheFirstView = 0;
        while (Running()) {
            const std::int32_t before = list->ListCount();
            Tick();
            if (!Running() || list->ListCount() == before)
                continue;
            ASSERT_GE(list->ScrollPosition() + VisibleRows(), list->ListCount())
                << "row " << list->ListCount() << " is out of view";
            pastTheFirstView += list->ListCount() > VisibleRows();
        }
        EXPECT_GT(pastTheFirstView, 10) << "the list must outgrow its view";
    }
}
