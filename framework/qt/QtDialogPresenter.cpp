#include "framework/qt/QtDialogPresenter.h"

#include "framework/MessageDialog.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace Ovelund {

namespace {
QString ToQt(const String& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QLabel* PlainLabel(const String& text, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setText(ToQt(text));
    return label;
}

QStyle::StandardPixmap PixmapForIcon(std::int32_t icon) {
    switch (icon) {
    case 1:
        return QStyle::SP_MessageBoxInformation;
    case 2:
        return QStyle::SP_MessageBoxWarning;
    case 3:
        return QStyle::SP_MessageBoxCritical;
    default:
        return QStyle::SP_MessageBoxQuestion;
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
    if (dialog.Icon() != 0 && dialog.Icon() != -1) {
        auto* icon = new QLabel(&window);
        icon->setPixmap(window.style()->standardIcon(PixmapForIcon(dialog.Icon())).pixmap(48, 48));
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
