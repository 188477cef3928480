#include "framework/dialogs/QtDialogPresenter.h"

#include "framework/dialogs/MessageDialog.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace Ovelund {

namespace {

// Dialog texts may come from a server: a dialog shows at most this many characters of one, and no text is
// wider than this, so that a huge or unbroken text cannot push the buttons off the screen.
constexpr qsizetype kMaxShownCharacters = 4000;
constexpr int kMaxTextWidth = 640;
constexpr int kIconSize = 48;

QString ToQt(const String& text) {
    // Four bytes at most per character: converting a little more than is shown is enough.
    const std::size_t bytes =
        std::min<std::size_t>(text.size(), 4 * static_cast<std::size_t>(kMaxShownCharacters) + 4);
    QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(bytes));
    if (shown.size() > kMaxShownCharacters || bytes < text.size())
        shown = shown.left(kMaxShownCharacters) + QChar(0x2026);
    return shown;
}

QLabel* PlainLabel(const String& text, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setMaximumWidth(kMaxTextWidth);
    label->setText(ToQt(text));
    return label;
}

// The toolkit's picture for an icon number of MessageDialog.h; nothing for a number without one.
std::optional<QStyle::StandardPixmap> PixmapForIcon(std::int32_t icon) {
    switch (icon) {
    case 0:
        return QStyle::SP_MessageBoxInformation;
    case 1:
        return QStyle::SP_MessageBoxWarning;
    case 2:
        return QStyle::SP_MessageBoxCritical;
    case 3:
        return QStyle::SP_MessageBoxQuestion;
    default:
        return std::nullopt;
    }
}

} // namespace

void QtDialogPresenter::ShowMessage(const String& text) {
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), ToQt(text), QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

DialogPresenter::Answer QtDialogPresenter::ShowMessageDialog(const MessageDialog& dialog) {
    QDialog window;
    window.setObjectName(QStringLiteral("MessageDialog"));
    window.setWindowTitle(ToQt(dialog.Title()));
    window.setModal(true);
    auto* outer = new QHBoxLayout(&window);
    if (const auto pixmap = PixmapForIcon(dialog.Icon())) {
        auto* icon = new QLabel(&window);
        icon->setObjectName(QStringLiteral("icon"));
        icon->setPixmap(window.style()->standardIcon(*pixmap).pixmap(kIconSize, kIconSize));
        icon->setAlignment(Qt::AlignTop);
        outer->addWidget(icon);
    }
    auto* column = new QVBoxLayout;
    outer->addLayout(column);
    QLabel* message = PlainLabel(dialog.Message(), &window);
    QFont bold = message->font();
    bold.setBold(true);
    message->setFont(bold);
    message->setObjectName(QStringLiteral("message"));
    column->addWidget(message);
    QLabel* explanation = PlainLabel(dialog.Explanation(), &window);
    explanation->setObjectName(QStringLiteral("explanation"));
    column->addWidget(explanation);

    auto* buttons = new QDialogButtonBox(&window);
    column->addWidget(buttons);
    Answer answer = Answer::Cancel;
    auto addButton = [&](const Ref<MessageDialogButton>& button, QDialogButtonBox::ButtonRole role,
                         Answer result, const char* name) {
        if (!button || !button->Visible())
            return;
        QPushButton* push = buttons->addButton(ToQt(button->Caption()), role);
        push->setObjectName(QString::fromLatin1(name));
        push->setDefault(button->Default());
        QObject::connect(push, &QPushButton::clicked, &window, [&window, &answer, result] {
            answer = result;
            window.done(0);
        });
    };
    addButton(dialog.AlternateActionButton(), QDialogButtonBox::ResetRole, Answer::Alternate, "alternate");
    addButton(dialog.CancelButton(), QDialogButtonBox::RejectRole, Answer::Cancel, "cancel");
    addButton(dialog.ActionButton(), QDialogButtonBox::AcceptRole, Answer::Action, "action");
    window.exec();
    return answer;
}

} // namespace Ovelund
