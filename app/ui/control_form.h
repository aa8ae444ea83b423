#pragma once
// A panel's header: the drive list (the computer's drives, then the instrument's "z:\"), the buttons
// "Диск инфо", "\" and "..", the red file count and "View".

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;

namespace zarno {

class CMainFrame;

class CControlForm : public QWidget {
    Q_OBJECT
public:
    CControlForm(CMainFrame& mainFrame, int panel, QWidget* parent = nullptr);
    int panelIndex() const { return m_panel; }

    // The drive table's roots, in the table's order.
    void fillDriveList();
    // Shows this root as the list's text / selects this item, without acting on it.
    void showDrive(const QString& root);
    void selectDriveItem(int index);
    void setFileCount(int count);
    // Locking during an instrument exchange: the drive list and the three buttons.
    void setControlsEnabled(bool enabled);

    QComboBox* driveList() const { return m_drives; }
    QPushButton* diskInfoButton() const { return m_diskInfo; }
    QPushButton* rootButton() const { return m_root; }
    QPushButton* upButton() const { return m_up; }
    QPushButton* viewButton() const { return m_view; }
    QLabel* fileCount() const { return m_count; }

    // The drive list's choice, as a user's choice in the list does.
    void chooseDrive(int index);
    // "Диск инфо": every computer drive read again, then the drive dialog.
    void showDiskInfo();

private:
    void focusList();

    CMainFrame& m_main;
    int m_panel;
    QComboBox* m_drives;
    QPushButton* m_diskInfo;
    QPushButton* m_root;
    QPushButton* m_up;
    QLabel* m_count;
    QPushButton* m_view;
};

} // namespace zarno
