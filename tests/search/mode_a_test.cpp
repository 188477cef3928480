// Mode A: a count of primes from a start, one prime per tick.

#include "search/SearchFixture.h"

#include <QTimer>

using namespace Ovelund;
using testing_support::Row;
using testing_support::SearchFixture;

namespace {

class ModeA : public SearchFixture {};

struct Case {
    const char* start;
    const char* count;
    std::vector<std::string> primes;
};

} // namespace

TEST_F(ModeA, StartTwoCountFiveListsFiveRowsThenTheSixthTickEndsTheSearch) {
    StartSearch("2", "5");
    for (int tick = 1; tick <= 5; ++tick) {
        Tick();
        EXPECT_TRUE(Running()) << "tick " << tick;
    }
    EXPECT_EQ(Rows(),
              (std::vector<Row>{
                  {"1", "2", ""}, {"2", "3", "1"}, {"3", "5", "2"}, {"4", "7", "2"}, {"5", "11", "4"}}));
    Tick();
    EXPECT_FALSE(Running());
    EXPECT_EQ(Rows().size(), 5u);
    EXPECT_TRUE(presenter->messages.empty());
    ExpectIdle();
}

TEST_F(ModeA, WhereASearchBeginsAndHowFarItGoes) {
    const Case cases[] = {
        {"0", "3", {"2", "3", "5"}},
        {"1", "2", {"2", "3"}},
        {"4", "2", {"5", "7"}},
        {"3", "2", {"3", "5"}},
        {"2", "1", {"2"}},
        {"3", "1", {"3"}},
        {"-10", "3", {"3", "5", "7"}},
        {"-9999999999", "2", {"3", "5"}}, // a start far below 0 reaches 3 at once
        {"-1e400", "1", {"3"}},           // read as the smallest 64-bit number: no overflow
        {"abc", "2", {"2", "3"}},         // text that is no number reads as 0
        {"2.9", "2", {"2", "3"}},         // fractions are cut
        {"1,009", "1", {"1,009"}},        // grouped text reads as the number shown
        {"997", "2", {"997", "1,009"}},
        {"9999999", "1", {"10,000,019"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.start) + " / " + c.count);
        StartSearch(c.start, c.count);
        RunToEnd();
        EXPECT_EQ(Primes(), c.primes);
        EXPECT_TRUE(presenter->messages.empty());
        ExpectIdle();
    }
}

TEST_F(ModeA, GapsAreTakenFromTheTextsShown) {
    StartSearch("997", "2");
    RunToEnd();
    EXPECT_EQ(Rows(), (std::vector<Row>{{"1", "997", ""}, {"2", "1,009", "12"}}));
}

TEST_F(ModeA, TheThousandthRowIsNumberedWithItsGroup) {
    StartSearch("2", "1000");
    RunToEnd(2000);
    auto rows = Rows();
    ASSERT_EQ(rows.size(), 1000u);
    EXPECT_EQ(rows[999], (Row{"1,000", "7,919", "12"}));
    ExpectIdle();
}

TEST_F(ModeA, RefusedCountsAndNumbersBeyondTheLimitGetTheirMessages) {
    struct Refusal {
        const char* start;
        const char* count;
        const char* message;
        bool noticeWhileShown;
    };
    const char* const countMessage = "# Primes must be greater than 0!";
    const char* const limitMessage = "9,999,999,999 is the largest number considered!  Sorry.";
    const Refusal refusals[] = {
        {"2", "0", countMessage, false},
        {"2", "-3", countMessage, false},
        {"2", "", countMessage, false},
        {"2", "none", countMessage, false},
        {"10000000000", "0", countMessage, false}, // the count is judged first
        {"10000000000", "1", limitMessage, true},
        {"2", "10000000000", limitMessage, true},
        {"1e400", "1", limitMessage, true},
        {"99999999999999999999999", "1", limitMessage, true},
        {"2", "nan", countMessage, false},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(std::string(r.start) + " / " + r.count);
        presenter->messages.clear();
        std::vector<bool> noticeShown;
        std::vector<bool> busyWhileShown;
        presenter->onMessage = [&](const String&) {
            noticeShown.push_back(window->Warning()->Visible());
            busyWhileShown.push_back(Module1::Busy);
            EXPECT_TRUE(Running()) << "the timer goes off only after the message was dismissed";
        };
        StartSearch(r.start, r.count);
        Tick();
        EXPECT_EQ(presenter->messages, std::vector<String>{r.message});
        EXPECT_EQ(noticeShown, std::vector<bool>{r.noticeWhileShown});
        EXPECT_EQ(busyWhileShown, std::vector<bool>{true});
        EXPECT_TRUE(Rows().empty());
        ExpectIdle();
    }
    presenter->onMessage = nullptr;
}

TEST_F(ModeA, TheLargestNumberConsideredIsAcceptedAndNoPrimeLiesBeyondTheLast) {
    for (const char* start : {"9999999999", "9999999968", "9,999,999,999"}) {
        SCOPED_TRACE(start);
        StartSearch(start, "1");
        Tick();
        EXPECT_FALSE(Running());
        EXPECT_TRUE(presenter->messages.empty());
        EXPECT_TRUE(Rows().empty());
        ExpectIdle();
    }
}

TEST_F(ModeA, TheNoticeShowsWhileANumberIsAboveNineMillionNineHundredAndNinetyNineThousand) {
    struct NoticeCase {
        const char* start;
        const char* count;
        bool shown;
    };
    const NoticeCase cases[] = {{"9999999", "2", false}, {"10000000", "2", true}, {"2", "10000000", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.start) + " / " + c.count);
        StartSearch(c.start, c.count);
        Tick();
        EXPECT_EQ(window->Warning()->Visible(), c.shown);
        Click("Stop");
        EXPECT_FALSE(window->Warning()->Visible()) << "Stop hides it";
        RunToEnd();
        ExpectIdle();
    }
}

TEST_F(ModeA, ATickWhileAStepRunsDoesNothing) {
    StartSearch("2", "5");
    Module1::Busy = true;
    Tick();
    EXPECT_TRUE(Rows().empty());
    Module1::Busy = false;
    Tick();
    EXPECT_EQ(Primes(), std::vector<std::string>{"2"});
}

TEST_F(ModeA, StopDuringALongStepLetsThatStepListItsPrimeAndTheNextTickEndsTheSearch) {
    StartSearch("100000000", "5");
    // "Stop" arrives while the step waits inside the background-task hook.
    QTimer::singleShot(0, [this] { Click("Stop"); });
    Tick();
    EXPECT_EQ(Primes(), std::vector<std::string>{"100,000,007"});
    EXPECT_TRUE(Module1::StopFlag);
    EXPECT_TRUE(Running()) << "the timer runs on until the next step";
    EXPECT_TRUE(window->Start()->Enabled());
    EXPECT_TRUE(window->EditField1()->Enabled());
    EXPECT_FALSE(window->Stop()->Enabled());
    EXPECT_FALSE(window->GroupBox1()->Enabled()) << "the mode group stays disabled until the search ends";
    Tick();
    EXPECT_EQ(Primes(), std::vector<std::string>{"100,000,007"}) << "the rows stay";
    ExpectIdle();
}

TEST_F(ModeA, AListEmptiedWhileAStepWaitsGetsARowOfItsOwnWithoutAGap) {
    StartSearch("100000000", "5");
    Tick();
    ASSERT_EQ(Rows().size(), 1u);
    QTimer::singleShot(0, [this] { window->EditField1()->SetText("7"); }); // a text change empties the list
    Tick();
    EXPECT_EQ(Rows(), (std::vector<Row>{{"1", "100,000,037", ""}}));
    RunToEnd();
}
