// Mode B: every prime from a start up to a bound, one prime per tick.

#include "search/SearchFixture.h"

#include <QTimer>

using namespace Ovelund;
using testing_support::Row;
using testing_support::SearchFixture;

namespace {

class ModeB : public SearchFixture {
protected:
    void SetUp() override {
        SearchFixture::SetUp();
        ChooseModeB();
    }
};

struct Case {
    const char* start;
    const char* bound;
    std::vector<std::string> primes;
    int ticks; // including the one that ends the search
};

} // namespace

TEST_F(ModeB, StartTwoBoundTwentyListsEightPrimesAndTheNinthTickEndsTheSearch) {
    StartSearch("2", "20");
    EXPECT_EQ(RunToEnd(), 9);
    EXPECT_EQ(Rows(), (std::vector<Row>{{"1", "2", ""},
                                        {"2", "3", "1"},
                                        {"3", "5", "2"},
                                        {"4", "7", "2"},
                                        {"5", "11", "4"},
                                        {"6", "13", "2"},
                                        {"7", "17", "4"},
                                        {"8", "19", "2"}}));
    EXPECT_TRUE(presenter->messages.empty());
    EXPECT_EQ(TimerA()->Mode(), Timer::ModeOff) << "Mode B never starts the Mode A timer";
    ExpectIdle();
}

TEST_F(ModeB, EveryPrimeUpToTheBoundAndNoneBeyond) {
    const Case cases[] = {
        {"2", "7", {"2", "3", "5", "7"}, 5},
        {"2", "1", {}, 1},
        {"2", "-5", {}, 1},
        {"0", "2", {"2"}, 2},
        {"1", "2", {"2"}, 2},
        {"2", "2", {"2"}, 2},
        {"3", "2", {}, 1},
        {"2", "3", {"2", "3"}, 3},
        {"3", "3", {"3"}, 2},
        {"100", "50", {}, 1},
        {"-10", "10", {"3", "5", "7"}, 4},
        {"4", "10", {"5", "7"}, 3},
        {"-1e400", "4", {"3"}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.start) + " .. " + c.bound);
        StartSearch(c.start, c.bound);
        EXPECT_EQ(RunToEnd(), c.ticks);
        EXPECT_EQ(Primes(), c.primes);
        EXPECT_TRUE(presenter->messages.empty());
        ExpectIdle();
    }
}

TEST_F(ModeB, StartFiveListsOneRowPerTick) {
    StartSearch("5", "100");
    Tick();
    EXPECT_EQ(Rows(), (std::vector<Row>{{"1", "5", ""}}));
    Tick();
    EXPECT_EQ(Rows().size(), 2u);
    RunToEnd();
}

TEST_F(ModeB, BoundZeroIsRefusedWithTheCountMessage) {
    StartSearch("2", "0");
    Tick();
    EXPECT_EQ(presenter->messages, std::vector<String>{"# Primes must be greater than 0!"});
    EXPECT_TRUE(Rows().empty());
    ExpectIdle();
}

TEST_F(ModeB, ABoundOrStartBeyondTheLimitIsRefused) {
    for (const auto& [start, bound] : {std::pair{"10000000000", "20"}, std::pair{"2", "10000000000"}}) {
        presenter->messages.clear();
        StartSearch(start, bound);
        Tick();
        EXPECT_EQ(presenter->messages,
                  std::vector<String>{"9,999,999,999 is the largest number considered!  Sorry."});
        EXPECT_TRUE(Rows().empty());
        ExpectIdle();
    }
}

TEST_F(ModeB, ALargeBoundShowsTheNoticeFromTheFirstTick) {
    StartSearch("2", "10000000");
    Tick();
    EXPECT_TRUE(window->Warning()->Visible());
    EXPECT_EQ(Primes(), std::vector<std::string>{"2"});
    Click("Stop");
    EXPECT_FALSE(window->Warning()->Visible());
    RunToEnd();
    ExpectIdle();
}

TEST_F(ModeB, TheLastPrimesBelowTheLimit) {
    StartSearch("9999999900", "9999999999");
    EXPECT_EQ(RunToEnd(), 4);
    EXPECT_EQ(Rows(),
              (std::vector<Row>{
                  {"1", "9,999,999,929", ""}, {"2", "9,999,999,943", "14"}, {"3", "9,999,999,967", "24"}}));
    EXPECT_TRUE(presenter->messages.empty());
    ExpectIdle();
}

TEST_F(ModeB, StopDuringAStepThatEndsTheSearchItselfLeavesTheWindowIdle) {
    StartSearch("100000000", "100000006"); // the first prime, 100,000,007, is beyond the bound
    QTimer::singleShot(0, [this] { Click("Stop"); });
    Tick();
    EXPECT_TRUE(Rows().empty());
    ExpectIdle();
}
