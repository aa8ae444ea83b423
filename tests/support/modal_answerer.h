#pragma once
// Answers whatever modal dialog comes up while it lives, as a user would: "OK" (the dialog's accept
// or yes button, else Enter) or Escape. A dialog that will not take the answer (OK on a file
// dialog with no file chosen, a field the dialog refuses) is given Escape after a few tries, so
// that nothing is left waiting for a user who is not there.

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace zarno::testing {

class ModalAnswerer {
public:
    enum class Answer { Ok, Escape };

    explicit ModalAnswerer(Answer answer) : m_answer(answer) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { answerOne(); });
        m_timer.start(25);
    }

    // Dialogs answered, and the titles of those seen (the message boxes' texts too).
    int answered() const { return m_answered; }
    const QStringList& seen() const { return m_seen; }

private:
    void answerOne() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (modal != m_last) {
            m_last = modal;
            m_tries = 0;
            ++m_answered;
            auto* box = qobject_cast<QMessageBox*>(modal);
            // A copy of its own: a dialog's literal title lives in its library, which may be
            // unloaded once the dialog is gone.
            const QString title = box ? box->text() : modal->windowTitle();
            m_seen << QString(title.constData(), title.size());
        }
        // The answer runs from the event loop rather than inside this timer's slot: a dialog it
        // opens in turn has to be answered by this timer too.
        QPointer<QWidget> target(modal);
        const bool escapeIt = m_answer == Answer::Escape || ++m_tries > 3;
        QTimer::singleShot(0, modal, [target, escapeIt] {
            if (!target || QApplication::activeModalWidget() != target)
                return;
            if (escapeIt)
                escape(target);
            else if (QAbstractButton* ok = acceptButton(target))
                ok->click();
            else
                QTest::keyClick(focusIn(target), Qt::Key_Return);
        });
    }

    static void escape(QWidget* modal) {
        QTest::keyClick(focusIn(modal), Qt::Key_Escape);
        // A dialog that keeps Escape for itself is closed as its window's close button closes it.
        if (auto* dialog = qobject_cast<QDialog*>(modal); dialog && dialog->isVisible())
            dialog->reject();
    }

    static QWidget* focusIn(QWidget* modal) {
        QWidget* focus = QApplication::focusWidget();
        return focus && (focus == modal || modal->isAncestorOf(focus)) ? focus : modal;
    }

    static bool accepts(QDialogButtonBox::ButtonRole role) {
        return role == QDialogButtonBox::AcceptRole || role == QDialogButtonBox::YesRole;
    }

    static QAbstractButton* acceptButton(QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            for (QAbstractButton* b : box->buttons())
                if (accepts(QDialogButtonBox::ButtonRole(box->buttonRole(b))))
                    return b;
            return nullptr;
        }
        for (QDialogButtonBox* buttons : modal->findChildren<QDialogButtonBox*>())
            for (QAbstractButton* b : buttons->buttons())
                if (b->isVisible() && b->isEnabled() && accepts(buttons->buttonRole(b)))
                    return b;
        return nullptr;
    }

    Answer m_answer;
    QTimer m_timer;
    QPointer<QWidget> m_last;
    int m_tries = 0;
    int m_answered = 0;
    QStringList m_seen;
};

} // namespace zarno::testing
