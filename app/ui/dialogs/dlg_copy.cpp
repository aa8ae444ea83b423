#include "app/ui/dialogs/dlg_copy.h"

#include "app/fileops/copy_operations.h"
#include "app/ui/dialogs/bar_progress.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QVBoxLayout>
#include <QCoreApplication>

namespace zarno {

constexpr int kMaxTargetName = 255;

CDlgCopy::CDlgCopy(PanelHost& host, Prompts& prompts, int sourcePanel, const CFileEntry& entry,
                   const QString& proposedName, QWidget* parent)
    : OperationDialog(QCoreApplication::translate("zarno", "Копирование файлов"), parent), m_host(host), m_prompts(prompts),
      m_sourcePanel(sourcePanel), m_entry(entry), m_targetName(new QLineEdit(proposedName, this)),
      m_progress(new QProgressBar(this)), m_counter(new QLabel(this)) {
    auto* form = new QFormLayout;
    form->addRow(QCoreApplication::translate("zarno", "Каталог/файл (откуда)"), new QLabel(entry.fullPath, this));
    form->addRow(QCoreApplication::translate("zarno", "Каталог (куда)"),
                 new QLabel(host.panel(OtherPanel(sourcePanel)).path, this));
    m_targetName->setObjectName(QStringLiteral("targetName"));
    m_targetName->setMaxLength(kMaxTargetName);
    form->addRow(QCoreApplication::translate("zarno", "Файл (куда)"), m_targetName);

    auto* group = new QGroupBox(QCoreApplication::translate("zarno", "Скопировано блоков"), this);
    auto* row = new QHBoxLayout(group);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setTextVisible(false);
    m_progress->hide();
    m_counter->setObjectName(QStringLiteral("counter"));
    row->addWidget(m_progress, 1);
    row->addWidget(m_counter);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(group);
    layout->addWidget(buttons());
    // The proposed name is ready to be changed by typing; Enter takes it as it is.
    setFocusProxy(m_targetName);
    m_targetName->setFocus(Qt::OtherFocusReason);
}

void CDlgCopy::onOk() {
    m_progress->show();
    BarProgress progress(m_progress, m_counter);
    runOperation([&] {
        return SingleCopy(m_host, m_prompts).Run(m_sourcePanel, m_entry, m_targetName->text(), &progress);
    });
}

} // namespace zarno
