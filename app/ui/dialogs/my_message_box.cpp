#include "app/ui/dialogs/my_message_box.h"

#include "app/fileops/fileops_texts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zarno {

CMyMessageBox::CMyMessageBox(const QString& targetPath, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8(kCaptionAttention));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Файл"), this));
    auto* path = new QLabel(targetPath, this);
    path->setObjectName(QStringLiteral("targetPath"));
    layout->addWidget(path);
    layout->addWidget(new QLabel(QStringLiteral("уже существует! Переписать?"), this));
    auto* row = new QHBoxLayout;
    auto* yes = new QPushButton(QStringLiteral("Да"), this);
    auto* no = new QPushButton(QStringLiteral("Нет"), this);
    auto* all = new QPushButton(QStringLiteral("Да для всех"), this);
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
