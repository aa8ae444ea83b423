#pragma once
// CPrintReport, "Настройка отчёта": what the report prints and whether it goes to a file. A thin
// form over ReportDialogState: every click and keystroke is stored at once, and the two edits are
// enabled by their check boxes.

#include "app/report/report_model.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QBoxLayout;
class QLineEdit;
class QPlainTextEdit;

namespace zarno {

class CPrintReport : public QDialog {
    Q_OBJECT
public:
    explicit CPrintReport(QWidget* parent = nullptr);

    // Shows the start state for these settings (the kept ones once a report was confirmed).
    void Start(const ReportSettings& settings);
    const ReportDialogState& State() const { return m_state; }

private:
    QCheckBox* AddCheck(int id, const QString& text, bool ReportDialogState::*field);
    void Show();
    void UpdateEnabling();
    void AddLanguageChoice(QBoxLayout* layout);

    ReportDialogState m_state;
    QPlainTextEdit* m_comment;   // 1089
    QLineEdit* m_reportFileName; // 1096
    QComboBox* m_language;       // the report's own language
    std::vector<std::pair<QCheckBox*, bool ReportDialogState::*>> m_checks;
};

} // namespace zarno
