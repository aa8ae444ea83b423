#include "app/ui/dlg_wait.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QCoreApplication>

namespace zarno {

CDlgWait::CDlgWait(QWidget* parent)
    : QFrame(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                         Qt::WindowDoesNotAcceptFocus) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setAttribute(Qt::WA_ShowWithoutActivating);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 12, 24, 12);
    layout->addWidget(new QLabel(QCoreApplication::translate("zarno", "Настройка связи ..."), this));
}

void CDlgWait::popUp() {
    adjustSize();
    if (QWidget* over = parentWidget()) {
        const QPoint centre = over->mapToGlobal(over->rect().center());
        move(centre - rect().center());
    }
    show();
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void PromptsAboveWait::message(const QString& text, const QString& caption, PromptIcon icon) {
    m_closeWait();
    m_inner.message(text, caption, icon);
}

bool PromptsAboveWait::askYesNo(const QString& text, const QString& caption) {
    m_closeWait();
    return m_inner.askYesNo(text, caption);
}

OverwriteAnswer PromptsAboveWait::askOverwrite(const QString& text, const QString& caption) {
    m_closeWait();
    return m_inner.askOverwrite(text, caption);
}

} // namespace zarno
