#include "app/ui/dialogs/dlg_copy_many.h"

#include "app/ui/dialogs/bar_progress.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <QCoreApplication>

namespace zarno {

CDlgCopyMany::CDlgCopyMany(PanelHost& host, Prompts& prompts, int sourcePanel, int count, QWidget* parent)
    : OperationDialog(QCoreApplication::translate("zarno", "Копирование файлов"), parent), m_host(host), m_prompts(prompts),
      m_sourcePanel(sourcePanel),
      m_convert(new QCheckBox(QCoreApplication::translate("zarno", "Преобразовывать формат DDB в формат SGY"), this)),
      m_from(NamedLabel(new QLabel(this), "from")), m_to(NamedLabel(new QLabel(this), "to")),
      m_fileBar(HiddenProgressBar(this, "fileProgress")),
      m_fileBlocks(NamedLabel(new QLabel(this), "fileBlocks")),
      m_overallBar(HiddenProgressBar(this, "overallProgress")),
      m_totalBlocks(NamedLabel(new QLabel(this), "totalBlocks")) {
    auto* question = new QHBoxLayout;
    question->addWidget(new QLabel(QCoreApplication::translate("zarno", "Скопировать"), this));
    question->addWidget(NamedLabel(new QLabel(QString::number(count).left(5), this), "count"));
    question->addWidget(new QLabel(QCoreApplication::translate("zarno", "файла(ов)?"), this));
    question->addStretch();
    m_convert->setObjectName(QStringLiteral("convert"));
    m_convert->setChecked(true);

    auto* form = new QFormLayout;
    form->addRow(QCoreApplication::translate("zarno", "Откуда"), m_from);
    form->addRow(QCoreApplication::translate("zarno", "Куда"), m_to);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_fileBlocks);
    fileRow->addWidget(m_fileBar, 1);
    form->addRow(QCoreApplication::translate("zarno", "Блоков в файле:"), fileRow);
    auto* totalRow = new QHBoxLayout;
    totalRow->addWidget(m_totalBlocks);
    totalRow->addWidget(m_overallBar, 1);
    form->addRow(QCoreApplication::translate("zarno", "Блоков всего:"), totalRow);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(question);
    layout->addWidget(m_convert);
    layout->addLayout(form);
    layout->addWidget(buttons());
}

void CDlgCopyMany::onOk() {
    m_fileBar->show();
    m_overallBar->show();
    BarProgress file(m_fileBar, m_fileBlocks);
    BarProgress overall(m_overallBar, nullptr);
    const bool convert = m_convert->isChecked();
    runOperation(
        [&] { return CopyMany(m_host, m_prompts).Run(m_sourcePanel, convert, this, &file, &overall); });
}

void CDlgCopyMany::showPaths(const QString& source, const QString& target) {
    m_from->setText(source);
    m_to->setText(target);
}

void CDlgCopyMany::showTotalBlocks(qint64 total) {
    m_totalBlocks->setText(QString::number(total));
}

} // namespace zarno
