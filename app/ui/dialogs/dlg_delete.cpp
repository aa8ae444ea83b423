#include "app/ui/dialogs/dlg_delete.h"

#include "app/fileops/delete_operations.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>
#include <QCoreApplication>

namespace zarno {

CDlgDelete::CDlgDelete(PanelHost& host, Prompts& prompts, int panel, const CFileEntry& entry, QWidget* parent)
    : OperationDialog(QCoreApplication::translate("zarno", "Стирание файла/каталога"), parent), m_host(host), m_prompts(prompts),
      m_panel(panel), m_entry(entry) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QCoreApplication::translate("zarno", "Стереть файл/каталог"), this));
    auto* path = new QLabel(entry.fullPath, this);
    path->setObjectName(QStringLiteral("path"));
    layout->addWidget(path);
    layout->addWidget(buttons());
}

void CDlgDelete::onOk() {
    runOperation([this] { return DeleteOne(m_host, m_prompts).Run(m_panel, m_entry); });
}

} // namespace zarno
