#include "app/ui/dialogs/my_message_box.h"

#include "app/fileops/fileops_texts.h"
#include "app/i18n/texts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QCoreApplication>

namespace zarno {

CMyMessageBox::CMyMessageBox(const QString& targetPath, QWidget* parent) : QDialog(parent) {
    setWindowTitle(Translated(kCaptionAttention));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QCoreApplication::translate("zarno", "Файл"), this));
    auto* path = new QLabel(targetPath, this);
    path->setObjectName(QStringLiteral("targetPath"));
    layout->addWidget(path);
    layout->addWidget(new QLabel(QCoreApplication::translate("zarno", "уже существует! Переписать?"), this));
    auto* row = new QHBoxLayout;
    auto* yes = new QPushButton(QCoreApplication::translate("zarno", "Да"), this);
    auto* no = new QPushButton(QCoreApplication::translate("zarno", "Нет"), this);
    auto* all = new QPushButton(QCoreApplication::translate("zarno", "Да для всех"), this);
    yes->setDefault(true);
    for (QPushButton* b : {yes, no, all})
        row->addWidget(b);
    layout->addLayout(row);
    connect(yes, &QPushButton::clicked, this, &QDialog::accept);
    connect(no, &QPushButton::clicked, this, &QDialog::reject);
    connect(all, &QPushButton::clicked, this, [this] {
        m_forAll = true;
        accept();
    });
}

} // namespace zarno
