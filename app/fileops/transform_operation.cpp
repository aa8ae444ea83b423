#include "app/fileops/transform_operation.h"

#include "app/fileops/panel_refresh.h"
#include "app/formats/convert_ddb_file.h"
#include "app/seams/progress.h"

namespace zarno {

DialogOutcome TransformOperation::Run(int sourcePanel, TransformView* view, Progress* files,
                                      Progress* blocks) {
    m_totalBlocks = 0;
    m_converted = 0;
    const std::vector<int> selection = m_host.panel(sourcePanel).selection;
    if (files) {
        files->setRange(qint64(selection.size()));
        files->setValue(0);
    }
    for (const int row : selection) {
        if (row < 0 || row >= m_host.rowCount(sourcePanel))
            continue;
        const CFileEntry entry = m_host.row(sourcePanel, row);
        if (entry.isDirectory || !HasType(entry, "ddb"))
            continue;
        if (view)
            view->showFileName(entry.fileName);
        if (OtherPanelListsSgy(sourcePanel, entry))
            continue;
        const QString target = entry.fullPath.left(entry.fullPath.size() - 3) + QLatin1String("sgy");
        qint64 fileBlocks = 0;
        if (ConvertDDBFile(entry.fullPath, target, m_prompts, blocks, &fileBlocks) != kConvertDone) {
            Tell(m_prompts, kTextCannotCopy, PromptIcon::Stop);
            return DialogOutcome::Close;
        }
        ++m_converted;
        m_totalBlocks += fileBlocks;
        if (files)
            files->setValue(m_converted);
        if (view)
            view->showTotalBlocks(m_totalBlocks);
    }
    m_host.RefillComputerPanel(sourcePanel);
    return DialogOutcome::Close;
}

bool TransformOperation::OtherPanelListsSgy(int sourcePanel, const CFileEntry& entry) {
    const int other = OtherPanel(sourcePanel);
    const QString sgyName = entry.title + QLatin1String(".sgy");
    for (int row = 0; row < m_host.rowCount(other); ++row)
        if (m_host.row(other, row).fileName.compare(sgyName, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace zarno
