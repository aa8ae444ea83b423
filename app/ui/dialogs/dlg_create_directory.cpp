#include "app/ui/dialogs/dlg_create_directory.h"

#include "app/fileops/make_directory.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QCoreApplication>

namespace zarno {

CDlgCreateDirectory::CDlgCreateDirectory(PanelHost& host, Prompts& prompts, int panel, QWidget* parent)
    : OperationDialog(QCoreApplication::translate("zarno", "Создание каталога"), parent), m_host(host), m_prompts(prompts),
      m_panel(panel), m_name(new QLineEdit(this)) {
    m_name->setObjectName(QStringLiteral("name"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QCoreApplication::translate("zarno", "Новый каталог"), this));
    layout->addWidget(m_name);
    layout->addWidget(buttons());
    // The user types the name at once: the dialog opens with the field taking it.
    setFocusProxy(m_name);
    m_name->setFocus(Qt::OtherFocusReason);
}

void CDlgCreateDirectory::onOk() {
    runOperation([this] { return MakeDirectoryOperation(m_host, m_prompts).Run(m_panel, m_name->text()); });
}

} // namespace zarno
