// The default presenter's real Qt dialogs: plain text only, bounded in size, answers by button.

#include "framework/dialogs/DialogPresenter.h"
#include "framework/dialogs/MessageDialog.h"
#include "framework/dialogs/MsgBox.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
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
    MsgBox("The count must be greater than 0!");
    EXPECT_EQ(shown, QStringLiteral("The count must be greater than 0!"));
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
