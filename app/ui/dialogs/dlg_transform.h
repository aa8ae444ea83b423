#pragma once
// "Преобразование DDB файлов в SGY файлы": the selected recordings of a computer panel, each into an
// SGY file beside it.

#include "app/fileops/transform_operation.h"
#include "app/ui/dialogs/operation_dialog.h"

class QLabel;
class QProgressBar;

namespace zarno {

class CDlgTransform : public OperationDialog, private TransformView {
    Q_OBJECT
public:
    CDlgTransform(PanelHost& host, Prompts& prompts, int sourcePanel, int ddbCount,
                  QWidget* parent = nullptr);

protected:
    void onOk() override;

private:
    void showFileName(const QString& fileName) override;
    void showTotalBlocks(qint64 total) override;

    PanelHost& m_host;
    Prompts& m_prompts;
    int m_sourcePanel;
    QLabel* m_fileName;
    // The first row counts the files and shows the running block total; the second follows the
    // blocks of the file being converted. The rows keep the labels the operators know.
    QProgressBar* m_filesBar;
    QLabel* m_filesNumber;
    QProgressBar* m_blocksBar;
    QLabel* m_blocksNumber;
};

} // namespace zarno
