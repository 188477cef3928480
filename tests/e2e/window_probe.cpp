// A helper of the end-to-end runs: grabs a window of the real executable from the X server, as it stands on
// the screen, and tells what it shows.
//
//   window_probe icon WINDOW SHOT        prints the message picture the window shows: information, warning,
//                                        critical, question or none
//   window_probe message WINDOW SHOT TEXT  exits 0 when the window shows a message box whose text reads TEXT
//
// WINDOW is an X window id; the grab is saved as the PNG file SHOT. Both checks look for a reference
// rendering in the grab: the toolkit's pictures, and a message box of the same text laid out by the same
// toolkit, style and fonts as the application's.

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QStringList>
#include <QStyle>
#include <QThread>

#include <cstdio>
#include <cstdlib>
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

// The lines of a message box reading `text`, as the toolkit lays them out and draws them.
std::optional<QImage> MessageLines(const QString& text) {
    QMessageBox reference(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok);
    reference.setTextFormat(Qt::PlainText);
    reference.setAttribute(Qt::WA_DontShowOnScreen);
    reference.show();
    QApplication::processEvents();
    auto* label = reference.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (!label)
        return std::nullopt;
    const QImage box = reference.grab().toImage().convertToFormat(QImage::Format_RGB32);
    return box.copy(QRect(label->mapTo(&reference, QPoint(0, 0)), label->size()));
}

QImage Grab(WId window) {
    return QGuiApplication::primaryScreen()->grabWindow(window).toImage().convertToFormat(
        QImage::Format_RGB32);
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    const bool icon = args.size() == 4 && args[1] == QLatin1String("icon");
    const bool message = args.size() == 5 && args[1] == QLatin1String("message");
    bool validId = false;
    const WId window = args.size() > 2 ? args[2].toULongLong(&validId) : 0;
    if ((!icon && !message) || !validId) {
        std::fputs("usage: window_probe icon WINDOW SHOT | message WINDOW SHOT TEXT\n", stderr);
        return 2;
    }
    std::optional<QImage> lines;
    if (message && !(lines = MessageLines(args[4]))) {
        std::fputs("the toolkit's message box has no text label\n", stderr);
        return 2;
    }
    // A window just shown may not be drawn yet: grab again until it shows what is looked for. The bound only
    // ends a run that has failed.
    constexpr int maxGrabs = 400;
    QImage shot;
    const char* shown = "none";
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
        } else {
            found = Find(shot, *lines).has_value();
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
    if (!found)
        std::fputs("the window does not show the text\n", stderr);
    return found ? 0 : 1;
}
