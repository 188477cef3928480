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

using namespace Ovelund;

namespace {

constexpr std::int64_t largestNumberConsidered = 9'999'999'999;
constexpr std::int64_t lastCandidate = 10'000'000'000;
constexpr std::int64_t patienceThreshold = 9'999'999;
const char* const groupedPattern = "###,###,###,###";

std::int64_t WholeNumber(const String& text) {
    return ToInt64(CDbl(text));
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
    auto timerOff = [&] {
        CheckNil(modeA ? ModeATimer() : ModeBTimer()).SetMode(Timer::ModeOff);
    };
    auto endSearch = [&] {
        timerOff();
        finishSearch();
    };
    auto listPrime = [&](std::int64_t prime, std::int64_t rowsBefore, std::int64_t next) {
        addPrimeRow(prime, rowsBefore);
        Module1::StartAt = Str(next);
        showLastRow();
        Module1::Busy = false;
    };

    Module1::Busy = true;
    if (Module1::StopFlag) {
        endSearch();
        return;
    }
    std::int64_t start = WholeNumber(Module1::StartAt);
    if (!modeA)
        Module1::StartAt = Str(start);
    // The count in Mode A, the bound in Mode B.
    const std::int64_t stopAt = WholeNumber(Module1::StopAt);
    Module1::StopAt = Str(stopAt);

    if (modeA ? stopAt <= 0 : stopAt == 0) {
        MsgBox("# Primes must be greater than 0!");
        endSearch();
        return;
    }
    Ref<Label> warning = Warning();
    CheckNil(warning).SetVisible(start > patienceThreshold || stopAt > patienceThreshold);
    warning->Refresh(true);
    if (start > largestNumberConsidered || stopAt > largestNumberConsidered) {
        MsgBox("9,999,999,999 is the largest number considered!  Sorry.");
        endSearch();
        return;
    }
    const std::int64_t n = CheckNil(ListBox1()).ListCount();
    if (modeA && n >= stopAt) {
        endSearch();
        return;
    }
    auto beyondBound = [&](std::int64_t prime) {
        return !modeA && prime > stopAt;
    };

    if (start <= 4) {
        if (start == 0 || start == 1)
            start = 2;
        if (start == 3 || start == 2) {
            if (beyondBound(start)) {
                endSearch();
                return;
            }
            listPrime(start, n, start + (start == 2 ? 1 : 2));
            return;
        }
    }
    if (start % 2 == 0)
        ++start;
    if (start < 3) {
        // Every candidate below 3 ends its divisor loop at once and is followed by one hook call.
        // Unsigned arithmetic: a start near the smallest 64-bit number must not overflow.
        RuntimeBackgroundTasks((std::uint64_t{1} - static_cast<std::uint64_t>(start)) / 2 + 1);
        start = 3;
    }
    for (std::int64_t i = start; i <= lastCandidate; i += 2) {
        if (search::FirstOddDivisor(i) == 0) {
            if (beyondBound(i)) {
                endSearch();
                return;
            }
            listPrime(i, n, i + 2);
            return;
        }
        RuntimeBackgroundTask();
    }
    endSearch();
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
