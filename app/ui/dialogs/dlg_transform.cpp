#include "app/ui/dialogs/dlg_transform.h"

#include "app/ui/dialogs/bar_progress.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <QCoreApplication>

namespace zarno {

CDlgTransform::CDlgTransform(PanelHost& host, Prompts& prompts, int sourcePanel, int ddbCount,
                             QWidget* parent)
    : OperationDialog(QCoreApplication::translate("zarno", "Преобразование DDB файлов в SGY файлы"), parent), m_host(host),
      m_prompts(prompts), m_sourcePanel(sourcePanel), m_fileName(NamedLabel(new QLabel(this), "fileName")),
      m_filesBar(HiddenProgressBar(this, "filesProgress")),
      m_filesNumber(NamedLabel(new QLabel(this), "filesNumber")),
      m_blocksBar(HiddenProgressBar(this, "blocksProgress")),
      m_blocksNumber(NamedLabel(new QLabel(this), "blocksNumber")) {
    auto* question = new QHBoxLayout;
    question->addWidget(new QLabel(QCoreApplication::translate("zarno", "Преобразовать"), this));
    question->addWidget(NamedLabel(new QLabel(QString::number(ddbCount).left(6), this), "count"));
    question->addWidget(new QLabel(QCoreApplication::translate("zarno", "файлов?"), this));
    question->addStretch();

    auto* form = new QFormLayout;
    form->addRow(QCoreApplication::translate("zarno", "Файл"), m_fileName);
    auto* filesRow = new QHBoxLayout;
    filesRow->addWidget(m_filesNumber);
    filesRow->addWidget(m_filesBar, 1);
    form->addRow(QCoreApplication::translate("zarno", "Блоков в файле"), filesRow);
    auto* blocksRow = new QHBoxLayout;
    blocksRow->addWidget(m_blocksNumber);
    blocksRow->addWidget(m_blocksBar, 1);
    form->addRow(QCoreApplication::translate("zarno", "Блоков всего"), blocksRow);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(question);
    layout->addLayout(form);
    layout->addWidget(buttons());
}

void CDlgTransform::onOk() {
    m_filesBar->show();
    m_blocksBar->show();
    BarProgress files(m_filesBar, nullptr);
    BarProgress blocks(m_blocksBar, m_blocksNumber);
    runOperation(
        [&] { return TransformOperation(m_host, m_prompts).Run(m_sourcePanel, this, &files, &blocks); });
}

void CDlgTransform::showFileName(const QString& fileName) {
    m_fileName->setText(fileName);
}

void CDlgTransform::showTotalBlocks(qint64 total) {
    m_filesNumber->setText(QString::number(total));
}

} // namespace zarno
