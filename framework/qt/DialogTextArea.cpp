#include "framework/qt/DialogTextArea.h"

#include "framework/qt/LineBreaks.h"
#include "framework/qt/QtText.h"

#include <QFontMetrics>
#include <QPalette>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace Ovelund {

namespace {

// Room for the caret that a selectable text keeps at the end of its longest line, so that a line measured as
// fitting is not wrapped.
constexpr int kWrapSlack = 8;

int WidestLine(const QString& text, const QFont& font) {
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

// The UTF-16 units that the first `count` characters (code points) of `text` take, all of them when it has
// fewer: a character beyond the Basic Multilingual Plane takes two.
qsizetype UnitsOfCharacters(const QString& text, qsizetype count) {
    qsizetype at = 0;
    for (; count > 0 && at < text.size(); --count) {
        const bool pair = text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate();
        at += pair ? 2 : 1;
    }
    return at;
}

} // namespace

QString ShownDialogText(const String& text) {
    // Four bytes at most per character: converting a little more than is shown is enough.
    const std::size_t bytes =
        std::min<std::size_t>(text.size(), 4 * static_cast<std::size_t>(kDialogShownCharacters) + 4);
    QString shown = WithUniformLineBreaks(ToQt(std::string_view(text).substr(0, bytes)));
    const qsizetype cut = UnitsOfCharacters(shown, kDialogShownCharacters);
    if (cut < shown.size() || bytes < text.size())
        shown = shown.left(cut) + QChar(0x2026);
    return shown;
}

QPlainTextEdit* MakeDialogTextArea(const DialogText& text, int maxWidth, int maxHeight, QWidget* parent) {
    auto* area = new QPlainTextEdit(parent);
    area->setObjectName(QStringLiteral("text"));
    area->setReadOnly(true);
    area->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    area->setFrameShape(QFrame::NoFrame);
    area->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    area->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Lines start at the top edge, so that a whole number of lines fills the area at every scroll position.
    area->document()->setDocumentMargin(0);
    // The dialog's own background behind the text, as behind a label.
    QPalette palette = area->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    area->setPalette(palette);

    QFont bold = area->font();
    bold.setBold(true);
    const QString message = ShownDialogText(text.message);
    const QString explanation = ShownDialogText(text.explanation);
    QTextCursor cursor(area->document());
    QTextCharFormat messageFormat;
    if (text.boldMessage)
        messageFormat.setFontWeight(QFont::Bold);
    cursor.insertText(message, messageFormat);
    if (!explanation.isEmpty())
        cursor.insertText(QStringLiteral("\n\n") + explanation, QTextCharFormat());
    area->moveCursor(QTextCursor::Start);

    const int scrollBar = area->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, area);
    const int natural = std::max(WidestLine(message, text.boldMessage ? bold : area->font()),
                                 WidestLine(explanation, area->font())) +
                        kWrapSlack;
    const int textWidth = std::clamp(natural, 1, std::max(1, maxWidth - scrollBar));

    // The lines as the area lays them out at that width: each paragraph in its font, wrapped alike.
    qreal total = 0;
    qreal tallest = 0;
    int lines = 0;
    for (QTextBlock block = area->document()->begin(); block.isValid(); block = block.next()) {
        const bool inMessage = block.blockNumber() < message.count(QLatin1Char('\n')) + 1;
        QTextLayout layout(block.text(), inMessage && text.boldMessage ? bold : area->font());
        layout.setTextOption(area->document()->defaultTextOption());
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLeadingIncluded(true);
            line.setLineWidth(textWidth);
            total += line.height();
            tallest = std::max(tallest, line.height());
            ++lines;
        }
        layout.endLayout();
    }
    // The area counts a line as shown only when one pixel is left below it.
    if (std::ceil(total) + 1 <= maxHeight) {
        area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        area->setFixedSize(textWidth, static_cast<int>(std::ceil(total)) + 1);
        return area;
    }
    // Taller than allowed: as many whole lines as fit, at least one, and the scroll bar beside them.
    const int shownLines = std::clamp(static_cast<int>((maxHeight - 1) / tallest), 1, std::max(1, lines));
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    area->setFixedSize(textWidth + scrollBar, static_cast<int>(std::floor(shownLines * tallest)) + 1);
    return area;
}

} // namespace Ovelund
