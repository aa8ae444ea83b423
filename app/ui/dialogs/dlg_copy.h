#pragma once
// "Копирование файлов" for one file: the source, the target directory, the target name the user may
// edit, and the blocks copied.

#include "app/filemanager/panel_host.h"
#include "app/ui/dialogs/operation_dialog.h"

class QLabel;
class QLineEdit;
class QProgressBar;

namespace zarno {

class CDlgCopy : public OperationDialog {
    Q_OBJECT
public:
    CDlgCopy(PanelHost& host, Prompts& prompts, int sourcePanel, const CFileEntry& entry,
             const QString& proposedName, QWidget* parent = nullptr);

protected:
    void onOk() override;

private:
    PanelHost& m_host;
    Prompts& m_prompts;
    int m_sourcePanel;
    CFileEntry m_entry;
    QLineEdit* m_targetName;
    QProgressBar* m_progress;
    QLabel* m_counter;
};

} // namespace zarno
