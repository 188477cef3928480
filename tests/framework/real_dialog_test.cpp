// The default presenter's real Qt dialogs: plain text only, bounded in size, answers by button.

#include "framework/DialogPresenter.h"
#include "framework/MessageDialog.h"
#include "framework/MsgBox.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

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
    Qt::TextFormat format = Qt::AutoText;
    int width = 0;
    WhenModal([&](QWidget* modal) {
        title = modal->windowTitle();
        auto* label = modal->findChild<QLabel*>(QStringLiteral("message"));
        message = label ? label->text() : QString();
        format = label ? label->textFormat() : Qt::AutoText;
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
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_LT(width, 1000) << "an unbroken megabyte must not widen the dialog past the screen";
}

TEST_F(RealDialogs, TheMessageBoxShowsItsTextAndReturnsWhenDismissed) {
    QString shown;
    WhenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_TRUE(box);
        shown = box->text();
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        box->accept();
    });
    MsgBox("# Primes must be greater than 0!");
    EXPECT_EQ(shown, QStringLiteral("# Primes must be greater than 0!"));
}
