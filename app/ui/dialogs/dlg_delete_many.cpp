#include "app/ui/dialogs/dlg_delete_many.h"

#include "app/fileops/delete_operations.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <QCoreApplication>

namespace zarno {

CDlgDeleteMany::CDlgDeleteMany(PanelHost& host, Prompts& prompts, int panel, int count, QWidget* parent)
    : OperationDialog(QCoreApplication::translate("zarno", "Стирание файлов"), parent), m_host(host), m_prompts(prompts),
      m_panel(panel) {
    auto* question = new QHBoxLayout;
    question->addWidget(new QLabel(QCoreApplication::translate("zarno", "Стереть"), this));
    auto* number = new QLabel(QString::number(count), this);
    number->setObjectName(QStringLiteral("count"));
    question->addWidget(number);
    question->addWidget(new QLabel(QCoreApplication::translate("zarno", "файлов?"), this));
    question->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(question);
    layout->addWidget(buttons());
}

void CDlgDeleteMany::onOk() {
    runOperation([this] { return DeleteMany(m_host, m_prompts).Run(m_panel); });
}

} // namespace zarno
