#include "app/fileops/copy_operations.h"

#include "app/fileops/copy_local_file.h"
#include "app/fileops/file_names.h"
#include "app/fileops/panel_refresh.h"
#include "app/formats/convert_ddb_file.h"
#include "app/i18n/texts.h"
#include "app/remotedisk/remote_device.h"
#include "app/remotedisk/transfer_cancel.h"

namespace zarno {

namespace {
// A transfer that ended as the user wanted: whole, or cancelled by the user (told by no message).
bool Done(UploadResult result) {
    return result == kUploadDone || result == kUploadCancelled;
}
bool Done(DownloadResult result) {
    return result == kDownloadDone || result == kDownloadCancelled;
}

// A copy or conversion from one computer folder to another.
bool CopiedLocally(bool convert, const QString& source, const QString& target, Prompts& prompts,
                   Progress* progress, qint64* blocks = nullptr) {
    return convert ? ConvertDDBFile(source, target, prompts, progress, blocks) == kConvertDone
                   : CopyLocalFile(source, target, prompts, progress, blocks) == kCopyLocalDone;
}

// A name typed for the target: one that carries a path of its own is refused before anything opens.
bool NamesADirectory(const QString& name) {
    return name.isEmpty() || name.contains(QLatin1Char('\\')) || name.contains(QLatin1Char(':'));
}
} // namespace

CopyDirection CopyDirectionOf(const QString& sourcePath, const QString& targetPath) {
    const bool fromDevice = IsDevicePath(sourcePath);
    const bool toDevice = IsDevicePath(targetPath);
    if (fromDevice && toDevice)
        return CopyDirection::DeviceToDevice;
    if (toDevice)
        return CopyDirection::Upload;
    return fromDevice ? CopyDirection::Download : CopyDirection::Local;
}

// ---- one file ----

DialogOutcome SingleCopy::Run(int sourcePanel, const CFileEntry& entry, const QString& targetName,
                              Progress* progress) {
    m_convert = false;
    const int targetPanel = OtherPanel(sourcePanel);
    const QString targetDirectory = m_host.panel(targetPanel).path;
    const CopyDirection direction = CopyDirectionOf(m_host.panel(sourcePanel).path, targetDirectory);
    if (direction == CopyDirection::DeviceToDevice) {
        Tell(m_prompts, kTextCannotCopy, PromptIcon::Stop);
        return DialogOutcome::Close;
    }
    // A computer target is made only from a plain name, whichever listing proposed it.
    const QString targetPath = direction == CopyDirection::Upload
                                   ? JoinPanelPath(targetDirectory, targetName)
                                   : LocalTargetPath(targetDirectory, targetName);
    if (NamesADirectory(targetName) || targetPath.isEmpty()) {
        Tell(m_prompts, kTextIncorrectFileName, PromptIcon::Stop);
        return DialogOutcome::StayOpen;
    }
    if (!TakeConversion(entry, targetName))
        return DialogOutcome::StayOpen;
    if (!MayOverwrite(targetPanel, targetName, targetPath))
        return DialogOutcome::Close;
    switch (direction) {
    case CopyDirection::Upload:
        return Upload(targetPanel, entry, targetName, progress);
    case CopyDirection::Download:
        return Download(targetPanel, entry, targetPath, progress);
    default:
        return CopyLocal(sourcePanel, entry, targetPath, progress);
    }
}

bool SingleCopy::TakeConversion(const CFileEntry& entry, const QString& targetName) {
    if (!IsSgyTargetName(targetName) || HasType(entry, "sgy"))
        return true;
    if (HasType(entry, "ddb")) {
        m_convert = true;
        return true;
    }
    Tell(m_prompts, kTextNotDdbToSgy, PromptIcon::Stop);
    return false;
}

bool SingleCopy::MayOverwrite(int targetPanel, const QString& targetName, const QString& targetPath) {
    for (int row = 0; row < m_host.rowCount(targetPanel); ++row)
        if (m_host.row(targetPanel, row).fileName.compare(targetName, Qt::CaseInsensitive) == 0)
            return m_prompts.askYesNo(OverwriteQuestion(targetPath), QString());
    return true;
}

DialogOutcome SingleCopy::Upload(int targetPanel, const CFileEntry& entry, const QString& targetName,
                                 Progress* progress) {
    if (!FitsDeviceName(targetName)) {
        Tell(m_prompts, kTextBadFileName, PromptIcon::Stop);
        return DialogOutcome::StayOpen;
    }
    if (Done(m_host.device().CopyToDevice(entry.fullPath, NewFileDeviceName(targetName), progress)))
        RereadDevicePanel(m_host, m_prompts, targetPanel);
    else
        Tell(m_prompts, kTextCannotUpload, PromptIcon::Stop);
    return DialogOutcome::Close;
}

DialogOutcome SingleCopy::Download(int targetPanel, const CFileEntry& entry, const QString& targetPath,
                                   Progress* progress) {
    CRemoteDevice& device = m_host.device();
    const DownloadResult result = m_convert ? device.CopyFromDeviceAsSgy(entry.deviceName, targetPath, progress)
                                            : device.CopyFromDevice(entry.deviceName, targetPath, progress);
    if (Done(result))
        m_host.RefillComputerPanel(targetPanel);
    else
        Tell(m_prompts, kTextCannotCopy, PromptIcon::Stop);
    return DialogOutcome::Close;
}

DialogOutcome SingleCopy::CopyLocal(int sourcePanel, const CFileEntry& entry, const QString& targetPath,
                                    Progress* progress) {
    if (CopiedLocally(m_convert, entry.fullPath, targetPath, m_prompts, progress))
        RefillComputerPanels(m_host, sourcePanel, false);
    else
        Tell(m_prompts, kTextCannotCopy, PromptIcon::Stop);
    return DialogOutcome::Close;
}

// ---- several files ----

DialogOutcome CopyMany::Run(int sourcePanel, bool convertDdb, CopyManyView* view, Progress* fileProgress,
                            Progress* overall) {
    m_forAll = false;
    m_totalBlocks = 0;
    // A Cancel left over from an earlier dialog must not stop this run before it starts.
    g_transferCancel.store(false);
    const CopyDirection direction =
        CopyDirectionOf(m_host.panel(sourcePanel).path, m_host.panel(OtherPanel(sourcePanel)).path);
    if (direction == CopyDirection::DeviceToDevice) {
        Tell(m_prompts, kTextCannotCopy, PromptIcon::Stop);
        return DialogOutcome::Close;
    }
    std::vector<int>& selection = m_host.panel(sourcePanel).selection;
    if (overall) {
        overall->setRange(qint64(selection.size()));
        overall->setValue(0);
    }
    qint64 filesDone = 0;
    while (!selection.empty()) {
        const int row = selection.front();
        selection.erase(selection.begin());
        // A Cancel between two files (the transfers clear the flag as they start) ends the run too.
        if (g_transferCancel.load()) {
            if (direction == CopyDirection::Upload)
                RereadDevicePanel(m_host, m_prompts, OtherPanel(sourcePanel));
            return DialogOutcome::Close;
        }
        if (row < 0 || row >= m_host.rowCount(sourcePanel))
            continue;
        const CFileEntry entry = m_host.row(sourcePanel, row);
        const Step step = CopyOne(direction, sourcePanel, entry, convertDdb, view, fileProgress);
        if (step != Step::Next)
            return step == Step::StopOpen ? DialogOutcome::StayOpen : DialogOutcome::Close;
        if (overall)
            overall->setValue(++filesDone);
    }
    RefreshAfterRun(direction, sourcePanel);
    return DialogOutcome::Close;
}

CopyMany::Step CopyMany::CopyOne(CopyDirection direction, int sourcePanel, const CFileEntry& entry,
                                 bool convertDdb, CopyManyView* view, Progress* fileProgress) {
    if (entry.isDirectory) {
        Tell(m_prompts, kTextNoDirectoryCopy);
        return Step::Stop;
    }
    const int targetPanel = OtherPanel(sourcePanel);
    const QString targetDirectory = m_host.panel(targetPanel).path;
    // An upload has no conversion: the instrument keeps the recording under its own name.
    const bool convert = convertDdb && direction != CopyDirection::Upload && IsDdbFileName(entry.fileName);
    const QString targetName = convert ? entry.title + QLatin1String(".sgy") : entry.fileName;
    const QString targetPath = direction == CopyDirection::Upload
                                   ? JoinPanelPath(targetDirectory, targetName)
                                   : LocalTargetPath(targetDirectory, targetName);
    if (targetPath.isEmpty()) {
        Tell(m_prompts, kTextIncorrectFileName, PromptIcon::Stop);
        return Step::StopOpen;
    }
    if (view)
        view->showPaths(entry.fullPath, targetPath);
    if (!MayOverwrite(targetPanel, entry, convert, targetName, targetPath))
        return Step::Next;
    const Step step = Transfer(direction, sourcePanel, entry, convert, targetName, targetPath, fileProgress);
    // Only copies between computer directories count their blocks: the transfers report none.
    if (step == Step::Next && direction == CopyDirection::Local && view)
        view->showTotalBlocks(m_totalBlocks);
    return step;
}

bool CopyMany::MayOverwrite(int targetPanel, const CFileEntry& entry, bool convert, const QString& targetName,
                            const QString& targetPath) {
    if (m_forAll)
        return true;
    for (int i = 0; i < m_host.rowCount(targetPanel); ++i) {
        const CFileEntry& row = m_host.row(targetPanel, i);
        const bool same =
            convert ? HasType(row, "sgy") && row.title.compare(entry.title, Qt::CaseInsensitive) == 0
                    : row.fileName.compare(targetName, Qt::CaseInsensitive) == 0;
        if (!same)
            continue;
        switch (m_prompts.askOverwrite(OverwriteQuestion(targetPath), Translated(kCaptionAttention))) {
        case OverwriteAnswer::YesToAll:
            m_forAll = true;
            return true;
        case OverwriteAnswer::Yes:
            return true;
        case OverwriteAnswer::No:
            return false;
        }
    }
    return true;
}

CopyMany::Step CopyMany::Transfer(CopyDirection direction, int sourcePanel, const CFileEntry& entry,
                                  bool convert, const QString& targetName, const QString& targetPath,
                                  Progress* fileProgress) {
    const int targetPanel = OtherPanel(sourcePanel);
    switch (direction) {
    case CopyDirection::Upload: {
        if (!FitsDeviceName(targetName)) {
            Tell(m_prompts, kTextBadFileName, PromptIcon::Stop);
            return Step::StopOpen;
        }
        const UploadResult result =
            m_host.device().CopyToDevice(entry.fullPath, NewFileDeviceName(targetName), fileProgress);
        if (result == kUploadCancelled)
            RereadDevicePanel(m_host, m_prompts, targetPanel);
        else if (result != kUploadDone)
            Tell(m_prompts, kTextCannotUpload, PromptIcon::Stop);
        return result == kUploadDone ? Step::Next : Step::Stop;
    }
    case CopyDirection::Download: {
        const DownloadResult result =
            convert ? m_host.device().CopyFromDeviceAsSgy(entry.deviceName, targetPath, fileProgress)
                    : m_host.device().CopyFromDevice(entry.deviceName, targetPath, fileProgress);
        if (!Done(result))
            Tell(m_prompts, kTextCannotCopy, PromptIcon::Stop);
        return result == kDownloadDone ? Step::Next : Step::Stop;
    }
    default: {
        qint64 blocks = 0;
        const bool copied = CopiedLocally(convert, entry.fullPath, targetPath, m_prompts, fileProgress, &blocks);
        if (copied)
            m_totalBlocks += blocks;
        else
            Tell(m_prompts, kTextCannotCopy, PromptIcon::Stop);
        return copied ? Step::Next : Step::Stop;
    }
    }
}

void CopyMany::RefreshAfterRun(CopyDirection direction, int sourcePanel) {
    const int targetPanel = OtherPanel(sourcePanel);
    if (direction == CopyDirection::Upload)
        RereadDevicePanel(m_host, m_prompts, targetPanel);
    else if (direction == CopyDirection::Download)
        m_host.RefillComputerPanel(targetPanel);
    else
        RefillComputerPanels(m_host, sourcePanel, false);
}

} // namespace zarno
