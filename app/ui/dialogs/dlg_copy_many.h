#pragma once
// "Копирование файлов" for several files: their number, the conversion check box, the current
// file's source and target, and the blocks of the file and of the whole run.

#include "app/fileops/copy_operations.h"
#include "app/ui/dialogs/operation_dialog.h"

class QCheckBox;
class QLabel;
class QProgressBar;

namespace zarno {

class CDlgCopyMany : public OperationDialog, private CopyManyView {
    Q_OBJECT
public:
    CDlgCopyMany(PanelHost& host, Prompts& prompts, int sourcePanel, int count, QWidget* parent = nullptr);

protected:
    void onOk() override;

private:
    void showPaths(const QString& source, const QString& target) override;
    void showTotalBlocks(qint64 total) override;

    PanelHost& m_host;
    Prompts& m_prompts;
    int m_sourcePanel;
    QCheckBox* m_convert;
    QLabel* m_from;
    QLabel* m_to;
    QProgressBar* m_fileBar;
    QLabel* m_fileBlocks;
    QProgressBar* m_overallBar;
    QLabel* m_totalBlocks;
};

} // namespace zarno
