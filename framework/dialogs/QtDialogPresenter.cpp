#include "framework/dialogs/QtDialogPresenter.h"

#include "framework/dialogs/MessageDialog.h"
#include "framework/qt/DialogTextArea.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace Ovelund {

namespace {

// No dialog text is wider than this, however long its lines, and the whole dialog stays within the screen's
// available area: a text that does not fit scrolls inside the dialog, so the buttons always show.
constexpr int kMaxTextWidth = 640;
constexpr int kIconSize = 48;
// Kept free of the available area for the frame that the window manager puts around the dialog.
constexpr int kFrameAllowance = 64;

// The toolkit's picture for an icon number of MessageDialog.h; nothing for a number without one.
std::optional<QStyle::StandardPixmap> PixmapForIcon(std::int32_t icon) {
    switch (icon) {
    case MessageDialog::IconNote:
        return QStyle::SP_MessageBoxInformation;
    case MessageDialog::IconCaution:
        return QStyle::SP_MessageBoxWarning;
    case MessageDialog::IconStop:
        return QStyle::SP_MessageBoxCritical;
    case MessageDialog::IconQuestion:
        return QStyle::SP_MessageBoxQuestion;
    default:
        return std::nullopt;
    }
}

// A modal dialog: the icon, if any, beside a column of the text and the buttons that `addButtons` adds.
// The text gets what the screen leaves once the buttons and margins are placed.
template <typename AddButtons>
void RunDialog(QDialog& window, const QString& title, std::optional<QStyle::StandardPixmap> pixmap,
               const DialogText& text, AddButtons addButtons) {
    window.setWindowTitle(title);
    window.setModal(true);
    auto* outer = new QHBoxLayout(&window);
    int iconWidth = 0;
    if (pixmap) {
        auto* icon = new QLabel(&window);
        icon->setObjectName(QStringLiteral("icon"));
        icon->setPixmap(window.style()->standardIcon(*pixmap).pixmap(kIconSize, kIconSize));
        icon->setAlignment(Qt::AlignTop);
        outer->addWidget(icon, 0, Qt::AlignTop);
        iconWidth = kIconSize + outer->spacing();
    }
    auto* column = new QVBoxLayout;
    outer->addLayout(column);
    auto* buttons = new QDialogButtonBox(&window);
    addButtons(*buttons);

    const QRect available = window.screen()->availableGeometry();
    const QMargins margins = outer->contentsMargins();
    const int chromeHeight =
        margins.top() + margins.bottom() + column->spacing() + buttons->sizeHint().height() + kFrameAllowance;
    const int chromeWidth = margins.left() + margins.right() + iconWidth + kFrameAllowance;
    QPlainTextEdit* area = MakeDialogTextArea(text, std::min(kMaxTextWidth, available.width() - chromeWidth),
                                              available.height() - chromeHeight, &window);
    column->addWidget(area);
    column->addWidget(buttons);
    window.exec();
}

} // namespace

void QtDialogPresenter::ShowMessage(const String& text) {
    QDialog window;
    window.setObjectName(QStringLiteral("MsgBox"));
    RunDialog(window, QCoreApplication::applicationName(), std::nullopt, DialogText{text, false, String()},
              [&window](QDialogButtonBox& buttons) {
                  QPushButton* ok = buttons.addButton(QDialogButtonBox::Ok);
                  ok->setObjectName(QStringLiteral("action"));
                  ok->setDefault(true);
                  ok->setFocus();
                  QObject::connect(ok, &QPushButton::clicked, &window, [&window] { window.done(0); });
              });
}

DialogPresenter::Answer QtDialogPresenter::ShowMessageDialog(const MessageDialog& dialog) {
    QDialog window;
    window.setObjectName(QStringLiteral("MessageDialog"));
    Answer answer = Answer::Cancel;
    RunDialog(window, ShownDialogText(dialog.Title()), PixmapForIcon(dialog.Icon()),
              DialogText{dialog.Message(), true, dialog.Explanation()}, [&](QDialogButtonBox& buttons) {
                  auto addButton = [&](const Ref<MessageDialogButton>& button,
                                       QDialogButtonBox::ButtonRole role, Answer result, const char* name) {
                      if (!button || !button->Visible())
                          return;
                      QPushButton* push = buttons.addButton(ShownDialogText(button->Caption()), role);
                      push->setObjectName(QString::fromLatin1(name));
                      push->setDefault(button->Default());
                      // The default button has the focus, so that Return presses it wherever the text is.
                      if (button->Default())
                          push->setFocus();
                      QObject::connect(push, &QPushButton::clicked, &window, [&window, &answer, result] {
                          answer = result;
                          window.done(0);
                      });
                  };
                  addButton(dialog.AlternateActionButton(), QDialogButtonBox::ResetRole, Answer::Alternate,
                            "alternate");
                  addButton(dialog.CancelButton(), QDialogButtonBox::RejectRole, Answer::Cancel, "cancel");
                  addButton(dialog.ActionButton(), QDialogButtonBox::AcceptRole, Answer::Action, "action");
              });
    return answer;
}

} // namespace Ovelund
