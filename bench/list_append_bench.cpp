// Appending to the Listbox view as a long search does: add a row, fill in two more cells, scroll to the end.
// Prints the cost of one append near rows 10, 1,000, 100,000 and 1,000,000, the cost of one repaint of the
// viewport at the same points, both as ratios to the cost at row 10, and the row store's bytes per row.
//
// Every cost is the median over batches timed as a whole; the event loop runs between batches (untimed), so
// each batch starts with nothing pending, as after a repaint. Near row 10 and row 1,000 each batch needs a
// fresh list (clear() and refill), so many short batches are timed there. Memory is counted two ways: the
// store's own count of allocated bytes, and the growth of the resident set while the list grows.

#include "framework/qt/CompactListView.h"

#include <QApplication>
#include <QByteArray>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

using Ovelund::CompactListView;

namespace {

using Clock = std::chrono::steady_clock;

std::string Grouped(std::uint64_t value) {
    const std::string digits = std::to_string(value);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            grouped.push_back(',');
        }
        grouped.push_back(digits[i]);
    }
    return grouped;
}

// Rows shaped like a search's: ("664,579", "9,999,999,967", "24").
struct RowTexts {
    std::string index;
    std::string value;
    std::string gap;
};

RowTexts TextsFor(int row) {
    const auto r = static_cast<std::uint64_t>(row);
    return {Grouped(r + 1), Grouped(9'000'000'000ULL + (r * 7'919ULL) % 999'999'999ULL),
            std::to_string(2 + r % 97)};
}

void Append(CompactListView& view, const RowTexts& texts) {
    const int row = view.addRow(texts.index);
    view.setCell(row, 1, texts.value);
    view.setCell(row, 2, texts.gap);
    view.setScrollPosition(view.rowCount());
}

double Microseconds(Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Grows the list to `rows`, letting the event loop run now and then as a search's progress updates do.
void FillTo(CompactListView& view, int rows) {
    while (view.rowCount() < rows) {
        Append(view, TextsFor(view.rowCount()));
        if (view.rowCount() % 4096 == 0) {
            QCoreApplication::processEvents();
        }
    }
    QCoreApplication::processEvents();
}

// Mean cost of one append over a batch of `count`, texts made beforehand.
double TimedBatch(CompactListView& view, int count) {
    std::vector<RowTexts> texts;
    texts.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        texts.push_back(TextsFor(view.rowCount() + i));
    }
    QCoreApplication::processEvents();
    const Clock::time_point start = Clock::now();
    for (const RowTexts& row : texts) {
        Append(view, row);
    }
    return Microseconds(Clock::now() - start) / count;
}

double RepaintCost(CompactListView& view) {
    std::vector<double> samples;
    for (int i = 0; i < 41; ++i) {
        const Clock::time_point start = Clock::now();
        view.refreshNow();
        samples.push_back(Microseconds(Clock::now() - start));
    }
    return Median(samples);
}

struct Point {
    int row;
    double append;
    double repaint;
};

// Near a small row count: many fresh lists, each filled to just below `row` and timed across it.
Point MeasureSmall(CompactListView& view, int row, int batch, int trials) {
    std::vector<double> appends;
    for (int trial = 0; trial < trials; ++trial) {
        view.clear();
        FillTo(view, row - batch / 2);
        appends.push_back(TimedBatch(view, batch));
    }
    view.clear();
    FillTo(view, row);
    return {row, Median(appends), RepaintCost(view)};
}

// Near a large row count, in the one list that keeps growing.
Point MeasureLarge(CompactListView& view, int row, int batch, int batches) {
    FillTo(view, row - batch * batches / 2);
    std::vector<double> appends;
    for (int i = 0; i < batches; ++i) {
        appends.push_back(TimedBatch(view, batch));
    }
    return {row, Median(appends), RepaintCost(view)};
}

long ResidentBytes() {
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) {
            resident = 0;
        }
        std::fclose(statm);
    }
    return resident * sysconf(_SC_PAGESIZE);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    CompactListView view;
    view.setColumnCount(3);
    view.setColumnWidths(QStringLiteral("30%,40%,30%"));
    view.setColumnAlignment(0, static_cast<int>(Ovelund::ColumnAlignment::Right));
    view.setColumnAlignment(1, static_cast<int>(Ovelund::ColumnAlignment::Right));
    view.setColumnAlignment(2, static_cast<int>(Ovelund::ColumnAlignment::Right));
    view.setGridLines(true, true);
    // Short enough that ten rows already fill it, so every repaint below paints a full viewport.
    view.resize(475, 150);
    view.show();
    QCoreApplication::processEvents();

    std::vector<Point> points;
    points.push_back(MeasureSmall(view, 10, 10, 2'000));
    points.push_back(MeasureSmall(view, 1'000, 100, 200));

    // The growing run: every append on the way to 1,005,000 rows is timed on its own to find the worst one.
    view.clear();
    QCoreApplication::processEvents();
    const long residentBefore = ResidentBytes();
    double slowest = 0;
    int slowestRow = 0;
    std::vector<double> singles;
    singles.reserve(1'010'000);
    auto growTo = [&](int rows) {
        while (view.rowCount() < rows) {
            const RowTexts texts = TextsFor(view.rowCount());
            const Clock::time_point start = Clock::now();
            Append(view, texts);
            const double cost = Microseconds(Clock::now() - start);
            singles.push_back(cost);
            if (cost > slowest) {
                slowest = cost;
                slowestRow = view.rowCount() - 1;
            }
            if (view.rowCount() % 4096 == 0) {
                QCoreApplication::processEvents();
            }
        }
    };
    growTo(100'000 - 5'000);
    points.push_back(MeasureLarge(view, 100'000, 1'000, 10));
    growTo(1'000'000 - 5'000);
    points.push_back(MeasureLarge(view, 1'000'000, 1'000, 10));
    const long residentGrowth = ResidentBytes() - residentBefore;
    const int rows = view.rowCount();

    std::printf("CompactListView %dx%d, %d columns, %d rows visible; append = addRow + setCell x2 + "
                "setScrollPosition(rowCount)\n",
                view.width(), view.height(), view.columnCount(), view.visibleRange().count);
    std::printf("%12s %14s %14s\n", "near row", "append (us)", "repaint (us)");
    for (const Point& p : points) {
        std::printf("%12s %14.3f %14.1f\n", Grouped(static_cast<std::uint64_t>(p.row)).c_str(), p.append,
                    p.repaint);
    }
    std::printf("ratio cost at 1,000,000 / cost at 10: append %.2f, repaint %.2f\n",
                points.back().append / points.front().append, points.back().repaint / points.front().repaint);
    std::sort(singles.begin(), singles.end());
    std::printf("single appends while growing to %s rows: median %.3f us, 99.9th percentile %.3f us, "
                "slowest %.1f us (row %s)\n",
                Grouped(static_cast<std::uint64_t>(rows)).c_str(), singles[singles.size() / 2],
                singles[singles.size() * 999 / 1000], slowest,
                Grouped(static_cast<std::uint64_t>(slowestRow)).c_str());
    std::printf(
        "store: %.1f bytes/row allocated (bytesAllocated, %d rows); resident set grew %.1f bytes/row\n",
        static_cast<double>(view.store().BytesAllocated()) / rows, rows,
        static_cast<double>(residentGrowth) / rows);
    return 0;
}
