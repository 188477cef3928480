// The default presenter's real Qt dialogs: plain text only with every kind of line break, within the screen
// however long the text, answers by button.

#include "framework/dialogs/DialogPresenter.h"
#include "framework/dialogs/MessageDialog.h"
#include "framework/dialogs/MsgBox.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace Ovelund;

namespace {

// Puts the real presenter in place for one test.
class RealDialogs : public ::testing::Test {
protected:
    void SetUp() override { previous = SetDialogPresenter(nullptr); }
    void TearDown() override { SetDialogPresenter(std::move(previous)); }
    std::unique_ptr<DialogPresenter> previous;
};

// Runs `inspect` on the modal dialog once it is up.
void WhenModal(std::function<void(QWidget*)> inspect) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, inspect] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            inspect(modal);
        }
    });
    poll->start();
}

} // namespace

TEST_F(RealDialogs, TheQuestionShowsServerTextAsPlainTextWithinBoundsAndAnswersByButton) {
    auto dialog = std::make_shared<MessageDialog>();
    dialog->SetTitle("New version available!");
    dialog->SetMessage("Version <b>9</b> is now available.");
    dialog->SetExplanation(String(1 << 20, 'x')); // a megabyte with no place to break a line
    dialog->CancelButton()->SetVisible(true);
    dialog->AlternateActionButton()->SetCaption("Go to Website");
    dialog->AlternateActionButton()->SetVisible(true);
    dialog->SetIcon(3);

    QString title, message;
    bool bold = false;
    int width = 0;
    WhenModal([&](QWidget* modal) {
        title = modal->windowTitle();
        auto* text = modal->findChild<QPlainTextEdit*>(QStringLiteral("text"));
        ASSERT_TRUE(text);
        message = text->document()->firstBlock().text();
        bold = QTextCursor(text->document()->firstBlock()).charFormat().fontWeight() == QFont::Bold;
        width = modal->sizeHint().width();
        auto* alternate = modal->findChild<QPushButton*>(QStringLiteral("alternate"));
        ASSERT_TRUE(alternate);
        EXPECT_EQ(alternate->text(), QStringLiteral("Go to Website"));
        alternate->click();
    });
    Ref<MessageDialogButton> pressed = dialog->ShowModal();
    EXPECT_EQ(pressed, dialog->AlternateActionButton());
    EXPECT_EQ(title, QStringLiteral("New version available!"));
    EXPECT_EQ(message, QStringLiteral("Version <b>9</b> is now available."))
        << "markup is shown as it stands";
    EXPECT_TRUE(bold) << "the message stands out from the explanation";
    EXPECT_LT(width, 1000) << "an unbroken megabyte must not widen the dialog past the screen";
}

TEST_F(RealDialogs, TheMessageBoxShowsItsTextAndReturnsWhenDismissed) {
    QString shown, title;
    WhenModal([&](QWidget* modal) {
        title = modal->windowTitle();
        auto* text = modal->findChild<QPlainTextEdit*>(QStringLiteral("text"));
        ASSERT_TRUE(text);
        shown = text->toPlainText();
        modal->findChild<QPushButton*>(QStringLiteral("action"))->click();
    });
    MsgBox("The count must be greater than <b>0</b>!");
    EXPECT_EQ(shown, QStringLiteral("The count must be greater than <b>0</b>!"));
    EXPECT_EQ(title, QCoreApplication::applicationName());
}

// Each icon number shows the toolkit's picture of its kind beside the message; the question is number 3.
TEST_F(RealDialogs, EachIconNumberShowsItsPicture) {
    struct Case {
        std::int32_t icon;
        std::optional<QStyle::StandardPixmap> picture;
    };
    const std::vector<Case> cases = {
        {0, QStyle::SP_MessageBoxInformation},
        {1, QStyle::SP_MessageBoxWarning},
        {2, QStyle::SP_MessageBoxCritical},
        {3, QStyle::SP_MessageBoxQuestion},
        {-1, std::nullopt},
        {4, std::nullopt},
    };
    auto picture = [](QStyle::StandardPixmap which) {
        return QApplication::style()->standardIcon(which).pixmap(48, 48).toImage();
    };
    // The four pictures differ, so that showing the wrong one cannot pass.
    for (std::size_t i = 0; i < 4; ++i) {
        ASSERT_FALSE(picture(*cases[i].picture).isNull());
        for (std::size_t j = 0; j < i; ++j)
            ASSERT_NE(picture(*cases[i].picture), picture(*cases[j].picture)) << i << " " << j;
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.icon);
        auto dialog = std::make_shared<MessageDialog>();
        dialog->SetMessage("Message");
        dialog->SetIcon(c.icon);
        QImage shown;
        bool hasIcon = false;
        WhenModal([&](QWidget* modal) {
            if (auto* label = modal->findChild<QLabel*>(QStringLiteral("icon"))) {
                hasIcon = true;
                shown = label->pixmap().toImage();
            }
            modal->findChild<QPushButton*>(QStringLiteral("action"))->click();
        });
        dialog->ShowModal();
        ASSERT_EQ(hasIcon, c.picture.has_value());
        if (c.picture) {
            EXPECT_EQ(shown, picture(*c.picture));
        }
    }
}

namespace {

// What a user can see and reach of a dialog's text, read while the dialog is up.
struct SeenDialog {
    QRect frame;
    QRect available;
    QStringList buttonsOutside; // buttons not shown, or not wholly inside the dialog
    int scrollMaximum = 0;
    bool linesWhole = true; // at the top and at the end, no line is cut by the text area's edges
    QString lastLineAtEnd;  // the last line shown once scrolled to the end
    QString text;
    int blocks = 0;
};

// Whether the lines at the top and bottom edges of `area` show whole at the present scroll position.
bool EdgeLinesWhole(QPlainTextEdit* area) {
    // Half-way along a line a position is on that line alone: the end of a wrapped line is the start of the
    // next one too.
    const int height = area->viewport()->height();
    const int x = area->viewport()->width() / 2;
    const QRect top = area->cursorRect(area->cursorForPosition(QPoint(x, 1)));
    const QRect bottom = area->cursorRect(area->cursorForPosition(QPoint(x, height - 2)));
    return top.top() >= 0 && bottom.bottom() < height + 1;
}

SeenDialog Inspect(QWidget* modal) {
    SeenDialog seen;
    seen.frame = modal->frameGeometry();
    seen.available = modal->screen()->availableGeometry();
    for (auto* button : modal->findChildren<QPushButton*>()) {
        const QRect inDialog(button->mapTo(modal, QPoint(0, 0)), button->size());
        if (!button->isVisible() || !modal->rect().contains(inDialog))
            seen.buttonsOutside << button->text();
    }
    auto* area = modal->findChild<QPlainTextEdit*>(QStringLiteral("text"));
    if (!area)
        return seen;
    seen.text = area->toPlainText();
    seen.blocks = area->document()->blockCount();
    QScrollBar* bar = area->verticalScrollBar();
    seen.scrollMaximum = bar->maximum();
    seen.linesWhole = EdgeLinesWhole(area);
    bar->setValue(bar->maximum());
    QApplication::processEvents();
    seen.linesWhole = seen.linesWhole && EdgeLinesWhole(area);
    QTextCursor last = area->cursorForPosition(QPoint(0, area->viewport()->height() - 1));
    last.movePosition(QTextCursor::StartOfLine);
    last.movePosition(QTextCursor::EndOfLine, QTextCursor::KeepAnchor);
    seen.lastLineAtEnd = last.selectedText();
    return seen;
}

QString Lines(int count) {
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << QStringLiteral("Line %1 of the release notes").arg(i);
    return lines.join(QLatin1Char('\n'));
}

// At least `size` characters of words in one paragraph.
QString Paragraph(int size) {
    QString text;
    for (int i = 0; text.size() < size; ++i)
        text += QStringLiteral("word%1 ").arg(i);
    return text;
}

String Utf8(const QString& text) {
    return text.toStdString();
}

} // namespace

// However long the text, the dialog stays within the screen's available area with every button inside it;
// a text that does not fit scrolls, by whole lines, to its last line, and a cut text ends in its mark.
TEST_F(RealDialogs, ALongTextScrollsInsideADialogThatStaysOnTheScreen) {
    struct Case {
        const char* what;
        QString explanation;
        bool scrolls;
        QString lastLine;
    };
    const QString paragraph = Paragraph(10000).trimmed();
    const QString tooLong = Paragraph(100000);
    const Case cases[] = {
        {"one line", Lines(1), false, QStringLiteral("Line 1 of the release notes")},
        {"70 lines", Lines(70), true, QStringLiteral("Line 70 of the release notes")},
        {"300 lines", Lines(300), true, QStringLiteral("Line 300 of the release notes")},
        {"a 10 kB paragraph", paragraph, true, paragraph.mid(paragraph.lastIndexOf(QLatin1Char(' ')) + 1)},
        {"100 kB, more than is shown", tooLong, true, QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const bool question : {true, false}) {
            SCOPED_TRACE(question ? "the question" : "the message box");
            SeenDialog seen;
            WhenModal([&](QWidget* modal) {
                seen = Inspect(modal);
                modal->findChild<QPushButton*>(QStringLiteral("action"))->click();
            });
            if (question) {
                auto dialog = std::make_shared<MessageDialog>();
                dialog->SetTitle("New version available!");
                dialog->SetMessage("Version 9.0.0 is now available.");
                dialog->SetExplanation(Utf8(c.explanation));
                dialog->CancelButton()->SetVisible(true);
                dialog->AlternateActionButton()->SetCaption("Go to Website");
                dialog->AlternateActionButton()->SetVisible(true);
                dialog->SetIcon(3);
                dialog->ShowModal();
            } else {
                MsgBox(Utf8(c.explanation));
            }
            EXPECT_TRUE(seen.available.contains(seen.frame)) << seen.frame.height() << " px tall";
            EXPECT_TRUE(seen.buttonsOutside.isEmpty())
                << seen.buttonsOutside.join(QLatin1Char(',')).toStdString();
            EXPECT_EQ(seen.scrollMaximum > 0, c.scrolls);
            EXPECT_TRUE(seen.linesWhole);
            if (!c.lastLine.isEmpty()) {
                EXPECT_TRUE(seen.lastLineAtEnd.endsWith(c.lastLine)) << seen.lastLineAtEnd.toStdString();
            } else {
                // The cut is marked at the end of what is shown, on the last line.
                EXPECT_TRUE(seen.lastLineAtEnd.endsWith(QChar(0x2026))) << seen.lastLineAtEnd.toStdString();
                EXPECT_TRUE(seen.text.endsWith(tooLong.left(64000).right(20) + QChar(0x2026)));
            }
        }
    }
}

// CR, LF and CR LF each start a new line, in the message box and in both texts of the question.
TEST_F(RealDialogs, EveryKindOfLineBreakStartsANewLine) {
    for (const char* lineBreak : {"\r", "\n", "\r\n"}) {
        SCOPED_TRACE(testing::PrintToString(std::string(lineBreak)));
        const String text = String("First line") + lineBreak + "Second line" + lineBreak + "Third line";
        QString shown;
        WhenModal([&](QWidget* modal) {
            shown = Inspect(modal).text;
            modal->findChild<QPushButton*>(QStringLiteral("action"))->click();
        });
        MsgBox(text);
        EXPECT_EQ(shown, QStringLiteral("First line\nSecond line\nThird line"));

        auto dialog = std::make_shared<MessageDialog>();
        dialog->SetMessage(String("Message") + lineBreak + "two");
        dialog->SetExplanation(text);
        int blocks = 0;
        WhenModal([&](QWidget* modal) {
            const SeenDialog seen = Inspect(modal);
            shown = seen.text;
            blocks = seen.blocks;
            modal->findChild<QPushButton*>(QStringLiteral("action"))->click();
        });
        dialog->ShowModal();
        EXPECT_EQ(shown, QStringLiteral("Message\ntwo\n\nFirst line\nSecond line\nThird line"));
        EXPECT_EQ(blocks, 6);
    }
}
