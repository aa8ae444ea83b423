#include "app/ui/dialogs/gui_prompts.h"

#include "app/fileops/fileops_texts.h"
#include "app/i18n/texts.h"
#include "app/ui/dialogs/my_message_box.h"

#include <QDebug>
#include <QMessageBox>
#include <QPushButton>
#include <QCoreApplication>

namespace zarno {

namespace {
// Boxes without a caption of their own are the application's.
QString CaptionOr(const QString& caption) {
    return caption.isEmpty() ? QString::fromUtf8(kAppCaption) : caption;
}

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

void GuiPrompts::message(const QString& text, const QString& caption, PromptIcon icon) {
    QMessageBox box(BoxIcon(icon), CaptionOr(caption), text, QMessageBox::Ok, m_parent);
    box.exec();
}

bool GuiPrompts::askYesNo(const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::Question, CaptionOr(caption), text, QMessageBox::Yes | QMessageBox::No,
                    m_parent);
    box.button(QMessageBox::Yes)->setText(QCoreApplication::translate("zarno", "Да"));
    box.button(QMessageBox::No)->setText(QCoreApplication::translate("zarno", "Нет"));
    return box.exec() == QMessageBox::Yes;
}

OverwriteAnswer GuiPrompts::askOverwrite(const QString& text, const QString&) {
    // The box shows the path between its own two texts.
    QString path = text;
    const QString before = Translated(kTextFileBefore);
    const QString after = Translated(kTextExistsOverwrite);
    if (path.startsWith(before) && path.endsWith(after))
        path = path.mid(before.size(), path.size() - before.size() - after.size());
    CMyMessageBox box(path, m_parent);
    if (box.exec() != QDialog::Accepted)
        return OverwriteAnswer::No;
    return box.forAll() ? OverwriteAnswer::YesToAll : OverwriteAnswer::Yes;
}

void GuiPrompts::trace(const QString& line) {
    qDebug().noquote() << line;
}

} // namespace zarno
