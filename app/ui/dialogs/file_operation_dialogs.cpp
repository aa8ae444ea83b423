#include "app/ui/dialogs/file_operation_dialogs.h"

#include "app/ui/dialogs/dlg_copy.h"
#include "app/ui/dialogs/dlg_copy_many.h"
#include "app/ui/dialogs/dlg_create_directory.h"
#include "app/ui/dialogs/dlg_delete.h"
#include "app/ui/dialogs/dlg_delete_many.h"
#include "app/ui/dialogs/dlg_transform.h"

namespace zarno {

void FileOperationDialogs::OpenCopy(int sourcePanel, const CFileEntry& entry, const QString& proposedName) {
    CDlgCopy(m_host, m_prompts, sourcePanel, entry, proposedName, m_parent).exec();
}

void FileOperationDialogs::OpenCopyMany(int sourcePanel, int count) {
    CDlgCopyMany(m_host, m_prompts, sourcePanel, count, m_parent).exec();
}

void FileOperationDialogs::OpenDelete(int panel, const CFileEntry& entry) {
    CDlgDelete(m_host, m_prompts, panel, entry, m_parent).exec();
}

void FileOperationDialogs::OpenDeleteMany(int panel, int count) {
    CDlgDeleteMany(m_host, m_prompts, panel, count, m_parent).exec();
}

void FileOperationDialogs::OpenCreateDirectory(int panel) {
    CDlgCreateDirectory(m_host, m_prompts, panel, m_parent).exec();
}

void FileOperationDialogs::OpenTransform(int sourcePanel, int ddbCount) {
    CDlgTransform(m_host, m_prompts, sourcePanel, ddbCount, m_parent).exec();
}

} // namespace zarno
