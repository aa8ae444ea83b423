#pragma once
// Copying the selection of one panel into the directory of the other: one file under a name the user
// may edit, or several under their own names; an upload to the instrument, a download from it, or a
// copy between computer directories, with a DDB recording converted to SEG-Y on the way when asked.

#include "app/filemanager/panel_host.h"
#include "app/fileops/fileops_texts.h"

#include <QString>
#include <QtGlobal>

namespace zarno {

class Progress;

enum class CopyDirection { Upload, Download, Local, DeviceToDevice };

// By the first two characters of the two panel paths.
CopyDirection CopyDirectionOf(const QString& sourcePath, const QString& targetPath);

// The copy of one file into the other panel's directory under a typed name.
class SingleCopy {
public:
    SingleCopy(PanelHost& host, Prompts& prompts) : m_host(host), m_prompts(prompts) {}

    // Copies entry (a row of sourcePanel) as targetName; progress gets the transfer's blocks.
    DialogOutcome Run(int sourcePanel, const CFileEntry& entry, const QString& targetName,
                      Progress* progress = nullptr);
    // Whether the last run converted the file (a DDB recording copied under a ".sgy" name).
    bool converted() const { return m_convert; }

private:
    // The convert flag from the target name; false, after telling, when the name asks for a
    // conversion of a file that is no DDB recording.
    bool TakeConversion(const CFileEntry& entry, const QString& targetName);
    bool MayOverwrite(int targetPanel, const QString& targetName, const QString& targetPath);
    DialogOutcome Upload(int targetPanel, const CFileEntry& entry, const QString& targetName,
                         Progress* progress);
    DialogOutcome Download(int targetPanel, const CFileEntry& entry, const QString& targetPath,
                           Progress* progress);
    DialogOutcome CopyLocal(int sourcePanel, const CFileEntry& entry, const QString& targetPath,
                            Progress* progress);

    PanelHost& m_host;
    Prompts& m_prompts;
    bool m_convert = false;
};

// What the several-file copy shows as it goes, beside its two progress bars.
class CopyManyView {
public:
    virtual ~CopyManyView() = default;
    // The current file's source and target full paths ("Откуда", "Куда").
    virtual void showPaths(const QString& source, const QString& target) = 0;
    // The blocks of computer-to-computer copies so far ("Блоков всего").
    virtual void showTotalBlocks(qint64 total) = 0;
};

// The copy of the source panel's selection, file by file under their own names. The selection list
// is consumed as the files are taken.
class CopyMany {
public:
    CopyMany(PanelHost& host, Prompts& prompts) : m_host(host), m_prompts(prompts) {}

    // fileProgress gets each file's blocks; overall the range 0..files and the files done.
    DialogOutcome Run(int sourcePanel, bool convertDdb, CopyManyView* view = nullptr,
                      Progress* fileProgress = nullptr, Progress* overall = nullptr);
    qint64 totalBlocks() const { return m_totalBlocks; }

private:
    enum class Step { Next, Stop, StopOpen };
    Step CopyOne(CopyDirection direction, int sourcePanel, const CFileEntry& entry, bool convertDdb,
                 CopyManyView* view, Progress* fileProgress);
    // Whether the target may be written: no row of that name, or the user said so.
    bool MayOverwrite(int targetPanel, const CFileEntry& entry, bool convert, const QString& targetName,
                      const QString& targetPath);
    Step Transfer(CopyDirection direction, int sourcePanel, const CFileEntry& entry, bool convert,
                  const QString& targetName, const QString& targetPath, Progress* fileProgress);
    void RefreshAfterRun(CopyDirection direction, int sourcePanel);

    PanelHost& m_host;
    Prompts& m_prompts;
    bool m_forAll = false;
    qint64 m_totalBlocks = 0;
};

} // namespace zarno
