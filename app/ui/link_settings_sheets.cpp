#include "app/ui/link_settings_sheets.h"

#include "app/remotedisk/remote_device.h"
#include "app/seams/prompts.h"
#include "app/ui/dialogs/title_width.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QCoreApplication>

namespace zarno {

namespace {

// The ports as they go on the wire; port 0 reaches no one.
constexpr int kMinWirePort = 1;
constexpr int kMaxWirePort = 65535;

QSpinBox* NumberBox(int minimum, int maximum, int maxChars, uint32_t value, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setRange(minimum, maximum);
    box->setValue(int(std::min<uint32_t>(value, uint32_t(maximum))));
    // The box keeps its range; the edit field also keeps its length.
    if (auto* edit = box->findChild<QLineEdit*>())
        edit->setMaxLength(maxChars);
    return box;
}

} // namespace

CLinkSheet::CLinkSheet(const QString& title, const QString& pageTitle, QWidget* page, QWidget* parent)
    : QDialog(parent), m_tabs(new QTabWidget(this)),
      m_buttons(new QDialogButtonBox(
          QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this)) {
    setWindowTitle(title);
    KeepTitleVisible(*this);
    m_tabs->addTab(page, pageTitle);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(m_buttons);
    m_buttons->button(QDialogButtonBox::Apply)->setEnabled(false);
    connect(m_buttons, &QDialogButtonBox::accepted, this, [this] {
        emit applyRequested();
        accept();
    });
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this, [this] {
        emit applyRequested();
        setModified(false);
    });
}

void CLinkSheet::setModified(bool modified) {
    m_modified = modified;
    m_buttons->button(QDialogButtonBox::Apply)->setEnabled(modified);
}

CComPage1::CComPage1(CRemoteDevice& device, Prompts& prompts, QWidget* parent)
    : QWidget(parent), m_device(device), m_prompts(prompts), m_speed(new QComboBox(this)),
      m_remote(NumberBox(0, 32767, 10, device.Settings().remoteLineAddr, this)) {
    m_speed->setEditable(true);
    m_speed->setInsertPolicy(QComboBox::NoInsert);
    for (uint32_t speed : kComSpeeds)
        m_speed->addItem(QString::number(speed));
    m_speed->lineEdit()->setValidator(new QIntValidator(1, 2147483647, m_speed));
    const QString speed = QString::number(device.Settings().comSpeed);
    m_speed->setCurrentIndex(m_speed->findText(speed));
    m_speed->setEditText(speed);

    auto* form = new QFormLayout(this);
    form->addRow(QCoreApplication::translate("zarno", "Скорость (бит/с)"), m_speed);
    form->addRow(QCoreApplication::translate("zarno", "Номер удаленного устройства"), m_remote);

    connect(m_speed, &QComboBox::activated, this, [this](int chosen) {
        if (chosen < 0) {
            m_prompts.message(QStringLiteral("Select Error!"), QStringLiteral("Select Error!"),
                              PromptIcon::None);
            return;
        }
        emit changed();
    });
    connect(m_speed, &QComboBox::editTextChanged, this, &CComPage1::changed);
    connect(m_remote, &QSpinBox::valueChanged, this, &CComPage1::changed);
}

void CComPage1::apply() {
    LinkSettings link = m_device.Settings();
    if (const auto speed = ParseComSpeed(m_speed->currentText()))
        link.comSpeed = *speed;
    link.remoteLineAddr = uint32_t(m_remote->value());
    m_device.SetSettings(link);
}

CEthernetPage1::CEthernetPage1(CRemoteDevice& device, QWidget* parent)
    : QWidget(parent), m_device(device),
      m_local(NumberBox(kMinWirePort, kMaxWirePort, 7, LinkWirePort(device.Settings().localPort), this)),
      m_remote(NumberBox(kMinWirePort, kMaxWirePort, 7, LinkWirePort(device.Settings().remotePort), this)),
      m_address(new QLineEdit(this)) {
    const QString octet = QStringLiteral("(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])");
    m_address->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("^%1\\.%1\\.%1\\.%1$").arg(octet)), m_address));
    m_address->setText(FormatIpAddress(device.Settings().remoteIP));

    auto* ports = new QGroupBox(QCoreApplication::translate("zarno", "Номера портов"), this);
    auto* portForm = new QFormLayout(ports);
    portForm->addRow(QCoreApplication::translate("zarno", "Данный компьютер (порт)"), m_local);
    portForm->addRow(QCoreApplication::translate("zarno", "Удаленное устройство (порт)"), m_remote);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ports);
    auto* addressForm = new QFormLayout;
    addressForm->addRow(QCoreApplication::translate("zarno", "IP-адрес удаленного устройства"), m_address);
    layout->addLayout(addressForm);

    connect(m_local, &QSpinBox::valueChanged, this, &CEthernetPage1::changed);
    connect(m_remote, &QSpinBox::valueChanged, this, &CEthernetPage1::changed);
    connect(m_address, &QLineEdit::textEdited, this, &CEthernetPage1::changed);
}

void CEthernetPage1::apply() {
    LinkSettings link = m_device.Settings();
    if (const auto address = ParseIpAddress(m_address->text()))
        link.remoteIP = *address;
    link.localPort = LinkPortValue(uint16_t(m_local->value()));
    link.remotePort = LinkPortValue(uint16_t(m_remote->value()));
    m_device.SetSettings(link);
}

CPropertySheetCOM::CPropertySheetCOM(CRemoteDevice& device, Prompts& prompts, QWidget* parent)
    : CLinkSheet(QCoreApplication::translate("zarno", "Настройка параметров COM порта"), QCoreApplication::translate("zarno", "Настройка COM-порта"),
                 new CComPage1(device, prompts), parent) {
    m_page = findChild<CComPage1*>();
    connect(m_page, &CComPage1::changed, this, [this] { setModified(true); });
    connect(this, &CLinkSheet::applyRequested, m_page, &CComPage1::apply);
    setModified(false);
}

CPropertySheetEthernet::CPropertySheetEthernet(CRemoteDevice& device, QWidget* parent)
    : CLinkSheet(QCoreApplication::translate("zarno", "Настройка параметров сети"), QCoreApplication::translate("zarno", "Настройка сети"),
                 new CEthernetPage1(device), parent) {
    m_page = findChild<CEthernetPage1*>();
    connect(m_page, &CEthernetPage1::changed, this, [this] { setModified(true); });
    connect(this, &CLinkSheet::applyRequested, m_page, &CEthernetPage1::apply);
    setModified(false);
}

} // namespace zarno
