#pragma once
// What the file operation dialogs share: OK runs the operation with the OK button disabled (the
// instrument's exchanges keep the event loop running, so Cancel stays clickable meanwhile), and
// Cancel, Escape or closing the window sets the transfer-cancel flag.

#include "app/fileops/fileops_texts.h"

#include <QDialog>

#include <functional>

class QDialogButtonBox;
class QPushButton;

namespace zarno {

class OperationDialog : public QDialog {
    Q_OBJECT
public:
    explicit OperationDialog(const QString& caption, QWidget* parent);
    QPushButton* okButton() const;
    QPushButton* cancelButton() const;
    void reject() override;

protected:
    // The OK and Cancel row; OK calls onOk.
    QDialogButtonBox* buttons() const { return m_buttons; }
    virtual void onOk() = 0;
    // Runs one operation and stays open or closes as it says; a dialog cancelled while it ran stays
    // closed as cancelled.
    void runOperation(const std::function<DialogOutcome()>& operation);

private:
    QDialogButtonBox* m_buttons;
    bool m_running = false;
    bool m_cancelled = false;
};

} // namespace zarno
