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

namespace zarno {

namespace {

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
      m_remote(NumberBox(0, 32767, 10, device.m_nRemoteLineAddr, this)) {
    m_speed->setEditable(true);
    m_speed->setInsertPolicy(QComboBox::NoInsert);
    for (uint32_t speed : kComSpeeds)
        m_speed->addItem(QString::number(speed));
    m_speed->lineEdit()->setValidator(new QIntValidator(1, 2147483647, m_speed));
    const int index = m_speed->findText(QString::number(device.m_nComSpeed));
    m_speed->setCurrentIndex(index);
    m_speed->setEditText(QString::number(device.m_nComSpeed));

    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Скорость (бит/с)"), m_speed);
    form->addRow(QStringLiteral("Номер удаленного устройства"), m_remote);

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
    bool ok = false;
    const uint32_t speed = m_speed->currentText().trimmed().toUInt(&ok);
    if (ok && speed > 0)
        m_device.m_nComSpeed = speed;
    m_device.m_nRemoteLineAddr = uint32_t(m_remote->value());
}

QString FormatIpAddress(uint32_t a) {
    return QStringLiteral("%1.%2.%3.%4")
        .arg(a >> 24)
        .arg((a >> 16) & 0xFF)
        .arg((a >> 8) & 0xFF)
        .arg(a & 0xFF);
}

bool ParseIpAddress(const QString& text, uint32_t* address) {
    const QStringList parts = text.trimmed().split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    uint32_t value = 0;
    for (const QString& part : parts) {
        bool ok = false;
        const uint32_t octet = part.toUInt(&ok);
        if (!ok || octet > 255)
            return false;
        value = (value << 8) | octet;
    }
    *address = value;
    return true;
}

CEthernetPage1::CEthernetPage1(CRemoteDevice& device, QWidget* parent)
    : QWidget(parent), m_device(device), m_local(NumberBox(1, 32767, 7, device.m_nLocalPort, this)),
      m_remote(NumberBox(0, 32767, 7, device.m_nRemotePort, this)), m_address(new QLineEdit(this)) {
    const QString octet = QStringLiteral("(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])");
    m_address->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("^%1\\.%1\\.%1\\.%1$").arg(octet)), m_address));
    m_address->setText(FormatIpAddress(device.m_nRemoteIP));

    auto* ports = new QGroupBox(QStringLiteral("Номера портов"), this);
    auto* portForm = new QFormLayout(ports);
    portForm->addRow(QStringLiteral("Данный компьютер (порт)"), m_local);
    portForm->addRow(QStringLiteral("Удаленное устройство (порт)"), m_remote);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ports);
    auto* addressForm = new QFormLayout;
    addressForm->addRow(QStringLiteral("IP-адрес удаленного устройства"), m_address);
    layout->addLayout(addressForm);

    connect(m_local, &QSpinBox::valueChanged, this, &CEthernetPage1::changed);
    connect(m_remote, &QSpinBox::valueChanged, this, &CEthernetPage1::changed);
    connect(m_address, &QLineEdit::textEdited, this, &CEthernetPage1::changed);
}

void CEthernetPage1::apply() {
    uint32_t address = 0;
    if (ParseIpAddress(m_address->text(), &address))
        m_device.m_nRemoteIP = address;
    m_device.m_nLocalPort = uint32_t(m_local->value());
    m_device.m_nRemotePort = uint32_t(m_remote->value());
}

CPropertySheetCOM::CPropertySheetCOM(CRemoteDevice& device, Prompts& prompts, QWidget* parent)
    : CLinkSheet(QStringLiteral("Настройка параметров COM порта"), QStringLiteral("Настройка COM-порта"),
                 new CComPage1(device, prompts), parent) {
    m_page = findChild<CComPage1*>();
    connect(m_page, &CComPage1::changed, this, [this] { setModified(true); });
    connect(this, &CLinkSheet::applyRequested, m_page, &CComPage1::apply);
    setModified(false);
}

CPropertySheetEthernet::CPropertySheetEthernet(CRemoteDevice& device, QWidget* parent)
    : CLinkSheet(QStringLiteral("Настройка параметров сети"), QStringLiteral("Настройка сети"),
                 new CEthernetPage1(device), parent) {
    m_page = findChild<CEthernetPage1*>();
    connect(m_page, &CEthernetPage1::changed, this, [this] { setModified(true); });
    connect(this, &CLinkSheet::applyRequested, m_page, &CEthernetPage1::apply);
    setModified(false);
}

} // namespace zarno
