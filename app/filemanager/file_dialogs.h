#pragma once
// The dialogs that the main frame's selection commands open once their checks have passed. The GUI
// opens the real dialogs; tests record what would have been opened.

#include "app/remotedisk/file_entry.h"

#include <QString>

namespace zarno {

class FileDialogs {
public:
    virtual ~FileDialogs() = default;

    // One selected file, copied to the other panel under a name the user may edit.
    virtual void OpenCopy(int sourcePanel, const CFileEntry& entry, const QString& proposedName) = 0;
    // Several selected files (the source panel's selection list), copied under their own names.
    virtual void OpenCopyMany(int sourcePanel, int count) = 0;
    virtual void OpenDelete(int panel, const CFileEntry& entry) = 0;
    virtual void OpenDeleteMany(int panel, int count) = 0;
    virtual void OpenCreateDirectory(int panel) = 0;
    // Conversion of the selected DDB recordings of a computer panel into the other panel.
    virtual void OpenTransform(int sourcePanel, int ddbCount) = 0;
};

} // namespace zarno
