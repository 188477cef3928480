// One step of a search: it judges the two numbers, then finds and lists at most one prime by trial division
// of odd candidates, and every way out but a listed prime switches the mode's timer off and finishes the
// search. Mode A counts the primes listed; Mode B compares each prime with its bound.
//
// Choices made here:
// - Numbers are read with CDbl and converted to 64 bits with ToInt64 (fractions cut toward zero; NaN 0; text
//   beyond 64 bits or infinity saturates, so it meets the limit test and its message).
// - A start far below 0 does not walk every odd number up to 3 one hook call at a time: the candidates
//   below 3 are passed over at once, with their hook calls accounted in one block, and 3 is listed first.
// - If the list is emptied while a step waits inside the hook (a field edited or "Start" pressed after
//   "Stop"), the row is numbered and its gap taken from the rows actually in the list: no row that is not
//   there is read, and a first row has no gap.
// - Mode A ends when the list holds the count or more rows.

#include "framework/core/Text.h"
#include "framework/dialogs/MsgBox.h"
#include "framework/runtime/BackgroundTask.h"
#include "search/Module1.h"
#include "search/OddDivisorScan.h"
#include "search/Window1.h"

#include <algorithm>
#include <cstdint>
#include <optional>

using namespace Ovelund;

namespace {

constexpr std::int64_t largestNumberConsidered = 9'999'999'999;
constexpr std::int64_t lastCandidate = 10'000'000'000;
constexpr std::int64_t patienceThreshold = 9'999'999;
const char* const groupedPattern = "###,###,###,###";

std::int64_t WholeNumber(const String& text) {
    return ToInt64(CDbl(text));
}

// The numbers a step works with: where it starts, and the count of primes (Mode A) or the bound (Mode B).
struct StepNumbers {
    std::int64_t start;
    std::int64_t stopAt;
};

// Reads both numbers and writes them back as read (the start in Mode B only), and shows the notice when
// either is large. None, after the message that says why, when they cannot be searched.
std::optional<StepNumbers> JudgeNumbers(Window1& window, bool modeA) {
    const std::int64_t start = WholeNumber(Module1::StartAt);
    if (!modeA)
        Module1::StartAt = Str(start);
    const std::int64_t stopAt = WholeNumber(Module1::StopAt);
    Module1::StopAt = Str(stopAt);

    if (modeA ? stopAt <= 0 : stopAt == 0) {
        MsgBox("# Primes must be greater than 0!");
        return std::nullopt;
    }
    Ref<Label> warning = window.Warning();
    CheckNil(warning).SetVisible(start > patienceThreshold || stopAt > patienceThreshold);
    warning->Refresh(true);
    if (start > largestNumberConsidered || stopAt > largestNumberConsidered) {
        MsgBox("9,999,999,999 is the largest number considered!  Sorry.");
        return std::nullopt;
    }
    return StepNumbers{start, stopAt};
}

// A prime, and where the step after the one that lists it starts.
struct FoundPrime {
    std::int64_t prime;
    std::int64_t next;
};

// The first prime from `start` on, with one hook call for each odd candidate passed over (those below 3 in
// one block); none when no candidate up to the last is prime. A start of 2 or 3 is that prime at once.
std::optional<FoundPrime> FirstPrimeFrom(std::int64_t start) {
    if (start == 0 || start == 1)
        start = 2;
    if (start == 2 || start == 3)
        return FoundPrime{start, start + (start == 2 ? 1 : 2)};
    if (start % 2 == 0)
        ++start;
    if (start < 3) {
        // Every candidate below 3 ends its divisor loop at once and is followed by one hook call.
        // Unsigned arithmetic: a start near the smallest 64-bit number must not overflow.
        RuntimeBackgroundTasks((std::uint64_t{1} - static_cast<std::uint64_t>(start)) / 2 + 1);
        start = 3;
    }
    for (std::int64_t i = start; i <= lastCandidate; i += 2) {
        if (search::FirstOddDivisor(i) == 0)
            return FoundPrime{i, i + 2};
        RuntimeBackgroundTask();
    }
    return std::nullopt;
}

// What a step lists: a prime, and the rows the list held before it.
struct StepPrime {
    FoundPrime found;
    std::int64_t rowsBefore;
};

// The prime this step lists, or none when the search ends with this step.
std::optional<StepPrime> PrimeToList(Window1& window, bool modeA) {
    if (Module1::StopFlag)
        return std::nullopt;
    const std::optional<StepNumbers> numbers = JudgeNumbers(window, modeA);
    if (!numbers)
        return std::nullopt;
    const std::int64_t rows = CheckNil(window.ListBox1()).ListCount();
    if (modeA && rows >= numbers->stopAt)
        return std::nullopt;
    const std::optional<FoundPrime> found = FirstPrimeFrom(numbers->start);
    // In Mode B the first prime beyond the bound ends the search.
    if (!found || (!modeA && found->prime > numbers->stopAt))
        return std::nullopt;
    return StepPrime{*found, rows};
}

} // namespace

void Window1::goModeA() {
    runStep(SearchMode::CountOfPrimes);
}

void Window1::goModeB() {
    runStep(SearchMode::UpToBound);
}

void Window1::runStep(SearchMode mode) {
    const bool modeA = mode == SearchMode::CountOfPrimes;
    Module1::Busy = true;
    const std::optional<StepPrime> listed = PrimeToList(*this, modeA);
    if (!listed) {
        CheckNil(modeA ? ModeATimer() : ModeBTimer()).SetMode(Timer::ModeOff);
        finishSearch();
        return;
    }
    addPrimeRow(listed->found.prime, listed->rowsBefore);
    Module1::StartAt = Str(listed->found.next);
    showLastRow();
    Module1::Busy = false;
}

void Window1::addPrimeRow(std::int64_t p, std::int64_t n) {
    Ref<Listbox> list = ListBox1();
    // The list may have been emptied while the step waited inside the hook; number the row by the rows that
    // are really there.
    const std::int64_t rowsBefore = std::min<std::int64_t>(n, CheckNil(list).ListCount());
    list->AddRow(Format(static_cast<double>(rowsBefore + 1), groupedPattern));
    const std::int32_t last = list->LastIndex();
    list->SetCell(last, 1, Format(static_cast<double>(p), groupedPattern));
    if (rowsBefore > 0 && last > 0) {
        const std::int64_t cur = WholeNumber(list->Cell(last, 1));
        const std::int64_t prev = WholeNumber(list->Cell(last - 1, 1));
        list->SetCell(last, 2, Format(static_cast<double>(cur - prev), groupedPattern));
    }
}

void Window1::showLastRow() {
    Ref<Listbox> list = ListBox1();
    CheckNil(list).Refresh(true);
    list->SetScrollPosition(list->ListCount());
}

void Window1::finishSearch() {
    CheckNil(GroupBox1()).SetEnabled(true);
    CheckNil(StaticText5()).SetEnabled(true);
    CheckNil(StaticText6()).SetEnabled(true);
    CheckNil(Stop()).SetEnabled(false);
    CheckNil(Stop()).SetDefault(false);
    CheckNil(Start()).SetEnabled(true);
    CheckNil(Start()).SetDefault(true);
    Module1::StopFlag = false;
    CheckNil(Warning()).SetVisible(false);
    CheckNil(EditField1()).SetEnabled(true);
    CheckNil(EditField2()).SetEnabled(true);
    Module1::Busy = false;
    Ref<Listbox> list = ListBox1();
    CheckNil(list).SetScrollPosition(list->ListCount());
    list->Refresh(true);
}
