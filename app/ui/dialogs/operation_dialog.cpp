#include "app/ui/dialogs/operation_dialog.h"

#include "app/remotedisk/transfer_cancel.h"
#include "app/ui/dialogs/title_width.h"

#include <QDialogButtonBox>
#include <QPushButton>

namespace zarno {

OperationDialog::OperationDialog(const QString& caption, QWidget* parent)
    : QDialog(parent),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)) {
    setWindowTitle(caption);
    KeepTitleVisible(*this);
    connect(m_buttons, &QDialogButtonBox::accepted, this, [this] {
        if (!m_running)
            onOk();
    });
    connect(m_buttons, &QDialogButtonBox::rejected, this, &OperationDialog::reject);
}

QPushButton* OperationDialog::okButton() const {
    return m_buttons->button(QDialogButtonBox::Ok);
}

QPushButton* OperationDialog::cancelButton() const {
    return m_buttons->button(QDialogButtonBox::Cancel);
}

void OperationDialog::reject() {
    RequestTransferCancel();
    m_cancelled = true;
    QDialog::reject();
}

void OperationDialog::runOperation(const std::function<DialogOutcome()>& operation) {
    m_running = true;
    m_cancelled = false;
    okButton()->setEnabled(false);
    const DialogOutcome outcome = operation();
    okButton()->setEnabled(true);
    m_running = false;
    if (outcome == DialogOutcome::Close && !m_cancelled)
        accept();
}

} // namespace zarno
