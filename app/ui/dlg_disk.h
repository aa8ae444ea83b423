#pragma once
// "Информация о накопителях": one row per drive of the drive table, the instrument's last.

#include "app/filemanager/drive_table.h"

#include <QDialog>

#include <vector>

class QTreeWidget;

namespace zarno {

class CDlgDisk : public QDialog {
    Q_OBJECT
public:
    CDlgDisk(const std::vector<DriveInfo>& drives, QWidget* parent = nullptr);
    QTreeWidget* list() const { return m_list; }

private:
    QTreeWidget* m_list;
};

} // namespace zarno
