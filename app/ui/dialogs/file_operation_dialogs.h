#pragma once
// The main frame's way to its file dialogs: each opens modally over parent and runs its operation
// against the panels.

#include "app/filemanager/file_dialogs.h"
#include "app/filemanager/panel_host.h"

class QWidget;

namespace zarno {

class Prompts;

class FileOperationDialogs final : public FileDialogs {
public:
    FileOperationDialogs(PanelHost& host, Prompts& prompts, QWidget* parent)
        : m_host(host), m_prompts(prompts), m_parent(parent) {}

    void OpenCopy(int sourcePanel, const CFileEntry& entry, const QString& proposedName) override;
    void OpenCopyMany(int sourcePanel, int count) override;
    void OpenDelete(int panel, const CFileEntry& entry) override;
    void OpenDeleteMany(int panel, int count) override;
    void OpenCreateDirectory(int panel) override;
    // Afterwards, whatever the dialog did, a computer target panel is read again.
    void OpenTransform(int sourcePanel, int ddbCount) override;

private:
    PanelHost& m_host;
    Prompts& m_prompts;
    QWidget* m_parent;
};

} // namespace zarno
