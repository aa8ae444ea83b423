#include "app/ui/dlg_disk.h"

#include "app/i18n/texts.h"
#include "app/ui/dialogs/title_width.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <QCoreApplication>

namespace zarno {

namespace {

struct DiskColumn {
    const char* header;
    int width;
    Qt::Alignment alignment;
};

const DiskColumn kColumns[] = {
    {QT_TRANSLATE_NOOP("zarno", "Дисковод"), 50, Qt::AlignLeft},
    {QT_TRANSLATE_NOOP("zarno", "Имя тома"), 80, Qt::AlignRight},
    {QT_TRANSLATE_NOOP("zarno", "Файловая система"), 80, Qt::AlignRight},
    {QT_TRANSLATE_NOOP("zarno", "Длина имени файла"), 100, Qt::AlignRight},
    {QT_TRANSLATE_NOOP("zarno", "Размер накопителя(kB)"), 120, Qt::AlignRight},
    {QT_TRANSLATE_NOOP("zarno", "Свободно (kB)"), 120, Qt::AlignRight},
};

// The drive kinds' icons: removable, fixed, unreadable CD-ROM, (unused), the instrument.
QIcon KindIcon(const QStyle& style, int32_t kind) {
    switch (kind) {
    case kKindRemovable:
        return style.standardIcon(QStyle::SP_DriveFDIcon);
    case kKindUnreadableCdRom:
        return style.standardIcon(QStyle::SP_DriveCDIcon);
    case kKindDevice:
        return style.standardIcon(QStyle::SP_ComputerIcon);
    default:
        return style.standardIcon(QStyle::SP_DriveHDIcon);
    }
}

} // namespace

CDlgDisk::CDlgDisk(const std::vector<DriveInfo>& drives, QWidget* parent)
    : QDialog(parent), m_list(new QTreeWidget(this)) {
    setWindowTitle(QCoreApplication::translate("zarno", "Информация о накопителях"));
    KeepTitleVisible(*this);
    m_list->setRootIsDecorated(false);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setColumnCount(int(std::size(kColumns)));
    QStringList headers;
    for (const DiskColumn& column : kColumns)
        headers << Translated(column.header);
    m_list->setHeaderLabels(headers);
    for (int c = 0; c < int(std::size(kColumns)); ++c) {
        m_list->headerItem()->setTextAlignment(c, kColumns[c].alignment | Qt::AlignVCenter);
        // The given widths, or wider where a heading would be cut in this platform's fonts.
        m_list->setColumnWidth(c, std::max(kColumns[c].width, m_list->header()->sectionSizeHint(c)));
    }

    for (const DriveInfo& drive : drives) {
        const bool device = drive.driveType == kDriveDevice;
        auto* item = new QTreeWidgetItem(m_list);
        item->setIcon(0, KindIcon(*style(), drive.kind));
        item->setText(0, drive.root);
        item->setText(1, drive.volumeName);
        item->setText(2, drive.fileSystemName);
        item->setText(3, QString::number(drive.maxNameLength));
        item->setText(4, QString::number(drive.total));
        item->setText(5, device ? kUnknownVolume : QString::number(drive.free));
        for (int c = 0; c < int(std::size(kColumns)); ++c)
            item->setTextAlignment(c, kColumns[c].alignment | Qt::AlignVCenter);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(600, 260);
}

} // namespace zarno
