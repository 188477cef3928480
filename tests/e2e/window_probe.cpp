// A helper of the end-to-end runs: grabs a window of the real executable from the X server, as it stands on
// the screen, and tells what it shows.
//
//   window_probe icon WINDOW SHOT            prints the message picture the window shows: information,
//                                            warning, critical, question or none
//   window_probe message WINDOW SHOT TEXT    exits 0 when the window shows the lines of TEXT (split at LF),
//                                            each whole, one under the other and starting at the same place
//   window_probe button WINDOW SHOT CAPTION  exits 0 when the window shows a push button reading CAPTION
//   window_probe separator WINDOW SHOT       exits 0 when the window, an open menu, shows a separator line
//                                            with nothing drawn beside it
//   window_probe lines WINDOW SHOT X,Y,W,H   prints the x of each vertical line drawn across the rectangle:
//                                            each pixel column of it in one colour from top to bottom, a
//                                            colour other than the rectangle's most common one
//   window_probe grab WINDOW SHOT            only saves the grab
//
// WINDOW is an X window id; the grab is saved as the PNG file SHOT. The checks look for a reference rendering
// in the grab: the toolkit's pictures, lines of text and buttons laid out by the same toolkit, style and
// fonts as the application's.

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QStringList>
#include <QStyle>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// Channels may differ by this much: the same drawing, blended the same way, differs by rounding at most.
constexpr int kTolerance = 8;

bool Near(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) <= kTolerance && std::abs(qGreen(a) - qGreen(b)) <= kTolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= kTolerance;
}

// Where `part` stands in `whole`, pixel for pixel within the tolerance.
std::optional<QPoint> Find(const QImage& whole, const QImage& part) {
    for (int y = 0; y + part.height() <= whole.height(); ++y) {
        for (int x = 0; x + part.width() <= whole.width(); ++x) {
            bool same = true;
            for (int py = 0; same && py < part.height(); ++py) {
                const auto* row = reinterpret_cast<const QRgb*>(whole.constScanLine(y + py)) + x;
                const auto* partRow = reinterpret_cast<const QRgb*>(part.constScanLine(py));
                for (int px = 0; same && px < part.width(); ++px)
                    same = Near(row[px], partRow[px]);
            }
            if (same)
                return QPoint(x, y);
        }
    }
    return std::nullopt;
}

// A message picture as a dialog asks for it, at up to 48 pixels, over the dialog's background.
QImage Picture(QStyle::StandardPixmap which, QRgb background) {
    const QPixmap pixmap = QApplication::style()->standardIcon(which).pixmap(48, 48);
    QImage image(pixmap.size(), QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    painter.drawPixmap(0, 0, pixmap);
    return image;
}

// The one message picture that `shot` shows; "none" or "several" otherwise.
const char* ShownIcon(const QImage& shot) {
    const std::vector<std::pair<const char*, QStyle::StandardPixmap>> pictures = {
        {"information", QStyle::SP_MessageBoxInformation},
        {"warning", QStyle::SP_MessageBoxWarning},
        {"critical", QStyle::SP_MessageBoxCritical},
        {"question", QStyle::SP_MessageBoxQuestion},
    };
    // The corner of the window is its background.
    const QRgb background = shot.pixel(1, 1);
    const char* shown = "none";
    for (const auto& [name, which] : pictures) {
        if (Find(shot, Picture(which, background)))
            shown = std::string_view(shown) == "none" ? name : "several";
    }
    return shown;
}

// Each line of `text` as the toolkit draws a line of plain text, over the window's background.
std::vector<QImage> LineImages(const QString& text) {
    std::vector<QImage> images;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        QLabel label(line);
        label.setTextFormat(Qt::PlainText);
        label.setAttribute(Qt::WA_DontShowOnScreen);
        label.show();
        QApplication::processEvents();
        images.push_back(label.grab().toImage().convertToFormat(QImage::Format_RGB32));
    }
    return images;
}

// Whether `shot` shows the lines one under the other, each starting where the first does.
bool ShowsLines(const QImage& shot, const std::vector<QImage>& lines) {
    std::optional<QPoint> first;
    int below = 0;
    for (const QImage& line : lines) {
        const QImage rest = shot.copy(0, below, shot.width(), shot.height() - below);
        const std::optional<QPoint> found = Find(rest, line);
        if (!found || (first && found->x() != first->x()))
            return false;
        if (!first)
            first = *found;
        below += found->y() + line.height() / 2;
    }
    return true;
}

// The middle of a push button reading `caption`, neither default nor focused: the caption on the button's
// face, without the edges that focus and the default mark change.
QImage ButtonFace(const QString& caption) {
    QPushButton button(caption);
    button.setAutoDefault(false);
    button.setAttribute(Qt::WA_DontShowOnScreen);
    button.resize(button.sizeHint());
    button.show();
    QApplication::processEvents();
    const QImage image = button.grab().toImage().convertToFormat(QImage::Format_RGB32);
    return image.copy(image.rect().adjusted(5, 5, -5, -5));
}

// The most common colour of `area` in `shot`.
QRgb MostCommonColour(const QImage& shot, const QRect& area) {
    std::map<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[shot.pixel(x, y)];
    return std::max_element(counts.begin(), counts.end(),
                            [](auto& a, auto& b) { return a.second < b.second; })
        ->first;
}

// Whether `shot`, an open menu, shows a separator: a row drawn in one colour other than the background across
// at least half the menu, and nothing at all left of it, in its own row and the three rows above and below
// (where the style would draw a separator's text).
bool ShowsBareSeparator(const QImage& shot) {
    const QRgb background = MostCommonColour(shot, shot.rect());
    constexpr int kBorder = 3; // the menu's frame
    bool found = false;
    for (int y = kBorder + 3; y < shot.height() - kBorder - 3; ++y) {
        int start = -1;
        int run = 0;
        for (int x = kBorder; x < shot.width() - kBorder && run < shot.width() / 2; ++x) {
            const QRgb pixel = shot.pixel(x, y);
            if (pixel != background && start >= 0 && pixel == shot.pixel(start, y)) {
                ++run;
            } else if (pixel != background) {
                start = x;
                run = 1;
            } else {
                start = -1;
                run = 0;
            }
        }
        if (run < shot.width() / 2)
            continue;
        found = true;
        for (int row = y - 3; row <= y + 3; ++row)
            for (int x = kBorder; x < start; ++x)
                if (shot.pixel(x, row) != background)
                    return false;
    }
    return found;
}

// The x of each pixel column of `area` drawn in one colour, not the area's most common one, from top to
// bottom: a vertical line. Text and the lines across the area break every other column.
std::vector<int> VerticalLines(const QImage& shot, QRect area) {
    area = area.intersected(shot.rect());
    std::vector<int> lines;
    if (area.isEmpty())
        return lines;
    const QRgb background = MostCommonColour(shot, area);
    for (int x = area.left(); x <= area.right(); ++x) {
        const QRgb colour = shot.pixel(x, area.top());
        bool line = colour != background;
        for (int y = area.top() + 1; line && y <= area.bottom(); ++y)
            line = shot.pixel(x, y) == colour;
        if (line)
            lines.push_back(x);
    }
    return lines;
}

// "X,Y,W,H" as a rectangle; an empty one for anything else.
QRect ParseRect(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return {};
    int values[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = parts[i].toInt(&ok);
        if (!ok)
            return {};
    }
    return QRect(values[0], values[1], values[2], values[3]);
}

QImage Grab(WId window) {
    return QGuiApplication::primaryScreen()->grabWindow(window).toImage().convertToFormat(
        QImage::Format_RGB32);
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    const QString mode = args.size() > 1 ? args[1] : QString();
    const bool icon = args.size() == 4 && mode == QLatin1String("icon");
    const bool grabOnly = args.size() == 4 && mode == QLatin1String("grab");
    const bool separator = args.size() == 4 && mode == QLatin1String("separator");
    const bool message = args.size() == 5 && mode == QLatin1String("message");
    const bool button = args.size() == 5 && mode == QLatin1String("button");
    const bool verticalLines = args.size() == 5 && mode == QLatin1String("lines");
    bool validId = false;
    const WId window = args.size() > 2 ? args[2].toULongLong(&validId) : 0;
    const QRect area = verticalLines ? ParseRect(args[4]) : QRect();
    if ((!icon && !grabOnly && !separator && !message && !button && !verticalLines) || !validId ||
        (verticalLines && area.isEmpty())) {
        std::fputs("usage: window_probe icon|separator|grab WINDOW SHOT | message|button WINDOW SHOT TEXT | "
                   "lines WINDOW SHOT X,Y,W,H\n",
                   stderr);
        return 2;
    }
    std::vector<QImage> lines;
    if (message)
        lines = LineImages(args[4]);
    if (button)
        lines = {ButtonFace(args[4])};
    // A window just shown may not be drawn yet: grab again until it shows what is looked for. The bound only
    // ends a run that has failed.
    const int maxGrabs = grabOnly ? 1 : 400;
    QImage shot;
    const char* shown = "none";
    std::vector<int> xs;
    bool found = false;
    for (int grab = 0; grab < maxGrabs && !found; ++grab) {
        if (grab > 0)
            QThread::msleep(25);
        shot = Grab(window);
        if (shot.isNull())
            continue;
        if (icon) {
            shown = ShownIcon(shot);
            found = std::string_view(shown) != "none";
        } else if (message) {
            found = ShowsLines(shot, lines);
        } else if (button) {
            found = Find(shot, lines[0]).has_value();
        } else if (separator) {
            found = ShowsBareSeparator(shot);
        } else if (verticalLines) {
            xs = VerticalLines(shot, area);
            found = !xs.empty();
        }
    }
    if (shot.isNull() || !shot.save(args[3], "PNG")) {
        std::fputs("cannot grab or save the window\n", stderr);
        return 2;
    }
    if (icon) {
        std::puts(shown);
        return 0;
    }
    if (grabOnly)
        return 0;
    if (verticalLines) {
        for (std::size_t i = 0; i < xs.size(); ++i)
            std::printf(i + 1 < xs.size() ? "%d " : "%d\n", xs[i]);
        if (!found)
            std::fputs("no vertical line crosses the rectangle\n", stderr);
        return found ? 0 : 1;
    }
    if (!found)
        std::fputs(button ? "the window shows no such button\n" : "the window does not show the text\n",
                   stderr);
    return found ? 0 : 1;
}
