#include "app/ui/message_box_prompts.h"

#include <QMessageBox>
#include <QPushButton>
#include <QtDebug>

namespace zarno {

namespace {

QMessageBox::Icon BoxIcon(PromptIcon icon) {
    switch (icon) {
    case PromptIcon::Information:
        return QMessageBox::Information;
    case PromptIcon::Warning:
        return QMessageBox::Warning;
    case PromptIcon::Stop:
        return QMessageBox::Critical;
    case PromptIcon::Question:
        return QMessageBox::Question;
    case PromptIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void MessageBoxPrompts::message(const QString& text, const QString& caption, PromptIcon icon) {
    QMessageBox box(BoxIcon(icon), caption, text, QMessageBox::Ok, m_parent);
    box.exec();
}

bool MessageBoxPrompts::askYesNo(const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, m_parent);
    return box.exec() == QMessageBox::Yes;
}

OverwriteAnswer MessageBoxPrompts::askOverwrite(const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::NoButton, m_parent);
    QPushButton* yes = box.addButton(QStringLiteral("Да"), QMessageBox::AcceptRole);
    QPushButton* no = box.addButton(QStringLiteral("Нет"), QMessageBox::RejectRole);
    QPushButton* all = box.addButton(QStringLiteral("Да для всех"), QMessageBox::AcceptRole);
    box.setDefaultButton(no);
    box.exec();
    if (box.clickedButton() == yes)
        return OverwriteAnswer::Yes;
    if (box.clickedButton() == all)
        return OverwriteAnswer::YesToAll;
    return OverwriteAnswer::No;
}

void MessageBoxPrompts::trace(const QString& line) {
    qDebug().noquote() << line.trimmed();
}

} // namespace zarno
