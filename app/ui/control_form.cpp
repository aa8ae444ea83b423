#include "app/ui/control_form.h"

#include "app/ui/dlg_disk.h"
#include "app/ui/list_file_view.h"
#include "app/ui/main_frame.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>
#include <QCoreApplication>

namespace zarno {

namespace {

QPushButton* SmallButton(const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setFocusPolicy(Qt::NoFocus);
    const int textWidth = button->fontMetrics().horizontalAdvance(text);
    // As wide as the text needs and no wider: the drive list takes the rest of the row.
    button->setFixedWidth(textWidth + 2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin) + 4);
    return button;
}

} // namespace

CControlForm::CControlForm(CMainFrame& mainFrame, int panel, QWidget* parent)
    : QWidget(parent), m_main(mainFrame), m_panel(panel), m_drives(new QComboBox(this)),
      m_diskInfo(SmallButton(QCoreApplication::translate("zarno", "Диск инфо"), this)),
      m_root(SmallButton(QStringLiteral("\\"), this)), m_up(SmallButton(QStringLiteral(".."), this)),
      m_count(new QLabel(QStringLiteral("0"), this)), m_view(SmallButton(QStringLiteral("View"), this)) {
    setObjectName(QStringLiteral("CControlForm"));
    m_drives->setMinimumContentsLength(6);
    m_drives->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    QPalette red = m_count->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    m_count->setPalette(red);
    m_count->setMinimumWidth(m_count->fontMetrics().horizontalAdvance(QStringLiteral("00000")));

    // Two rows, so that a column of a few hundred pixels shows every control whole: the drive and
    // its buttons, then the count and "View".
    auto* drives = new QHBoxLayout;
    drives->setSpacing(3);
    drives->addWidget(m_drives, 1);
    drives->addWidget(m_diskInfo);
    drives->addWidget(m_root);
    drives->addWidget(m_up);
    auto* count = new QHBoxLayout;
    count->setSpacing(3);
    count->addWidget(new QLabel(QCoreApplication::translate("zarno", "Количество файлов:"), this));
    count->addWidget(m_count);
    count->addStretch(1);
    count->addWidget(m_view);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->setSpacing(1);
    layout->addLayout(drives);
    layout->addLayout(count);

    connect(m_drives, &QComboBox::activated, this, &CControlForm::chooseDrive);
    connect(m_diskInfo, &QPushButton::clicked, this, &CControlForm::showDiskInfo);
    connect(m_root, &QPushButton::clicked, this, [this] {
        m_main.files().GoToRoot(m_panel);
        focusList();
    });
    connect(m_up, &QPushButton::clicked, this, [this] {
        m_main.files().GoUp(m_panel);
        focusList();
    });
    connect(m_view, &QPushButton::clicked, this, [this] {
        if (CListFileView* list = m_main.panelList(m_panel))
            list->toggleDisplay();
    });
}

void CControlForm::fillDriveList() {
    const QSignalBlocker quiet(m_drives);
    m_drives->clear();
    for (const DriveInfo& drive : m_main.files().Drives())
        m_drives->addItem(drive.root);
}

void CControlForm::showDrive(const QString& root) {
    const QSignalBlocker quiet(m_drives);
    const int index = m_drives->findText(root);
    if (index >= 0)
        m_drives->setCurrentIndex(index);
}

void CControlForm::selectDriveItem(int index) {
    const QSignalBlocker quiet(m_drives);
    if (index >= 0 && index < m_drives->count())
        m_drives->setCurrentIndex(index);
}

void CControlForm::setFileCount(int count) {
    m_count->setText(QString::asprintf("%d", count));
}

void CControlForm::setControlsEnabled(bool enabled) {
    for (QWidget* w : std::initializer_list<QWidget*>{m_drives, m_diskInfo, m_root, m_up})
        w->setEnabled(enabled);
}

void CControlForm::chooseDrive(int index) {
    selectDriveItem(index); // already so when the user chose it in the list
    m_main.files().OnDriveChosen(m_panel, index);
    focusList();
}

void CControlForm::focusList() {
    // The directory changed from the header: the keys go on in this panel's list, which becomes the
    // active one, as on a click into it.
    if (CListFileView* list = m_main.panelList(m_panel))
        list->setFocus(Qt::OtherFocusReason);
}

void CControlForm::showDiskInfo() {
    m_main.files().RefreshDriveInfo(kAllComputerDrives);
    CDlgDisk dialog(m_main.files().Drives(), this);
    dialog.exec();
}

} // namespace zarno
