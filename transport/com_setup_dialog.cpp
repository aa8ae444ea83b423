// The serial port's settings dialog: speed, data bits, parity, stop bits and flow control of one
// port, edited on a copy of its DCB.

#include "transport/com_settings.h"
#include "transport/localisation.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QThread>

#include <iterator>

namespace velnet {

namespace {

constexpr uint32_t kStandardSpeeds[] = {110,   300,   600,   1200,  2400,   4800,   9600,
                                        14400, 19200, 38400, 57600, 115200, 128000, 256000};

QString Qs(const char* text) {
    return QString::fromUtf8(text);
}

QComboBox* AddChoice(QFormLayout* form, const char* name, const Text& label, const std::vector<QString>& items,
                     int current) {
    auto* box = new QComboBox;
    box->setObjectName(QString::fromLatin1(name));
    for (size_t i = 0; i < items.size(); ++i)
        box->addItem(items[i], int(i));
    box->setCurrentIndex(current);
    form->addRow(Qs(Tr(label)), box);
    return box;
}

} // namespace

bool EditComSettingsInDialog(void* parentWindow, const std::string& portName, DCB& dcb) {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app || QThread::currentThread() != app->thread())
        return false;
    QDialog dialog(static_cast<QWidget*>(parentWindow));
    dialog.setObjectName(QStringLiteral("velnetPortSetup"));
    dialog.setWindowTitle(Qs(Tr({"Настройка порта", "Port setup"})) + QLatin1Char(' ') + QString::fromStdString(portName));
    auto* form = new QFormLayout(&dialog);

    auto* speed = new QComboBox;
    speed->setObjectName(QStringLiteral("baudRate"));
    for (uint32_t s : kStandardSpeeds)
        speed->addItem(QString::number(s), s);
    if (speed->findData(dcb.BaudRate) < 0)
        speed->addItem(QString::number(dcb.BaudRate), dcb.BaudRate); // a speed set elsewhere stays choosable
    speed->setCurrentIndex(speed->findData(dcb.BaudRate));
    form->addRow(Qs(Tr({"Скорость (бит/с):", "Bits per second:"})), speed);

    const int dataIndex = dcb.ByteSize >= 5 && dcb.ByteSize <= 8 ? dcb.ByteSize - 5 : 3;
    QComboBox* data = AddChoice(form, "dataBits", {"Биты данных:", "Data bits:"},
                                {QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8")},
                                dataIndex);
    QComboBox* parity = AddChoice(form, "parity", {"Четность:", "Parity:"},
                                  {Qs(Tr({"Нет", "None"})), Qs(Tr({"Нечет", "Odd"})), Qs(Tr({"Чет", "Even"})),
                                   Qs(Tr({"Маркер", "Mark"})), Qs(Tr({"Пробел", "Space"}))},
                                  dcb.Parity <= kSpaceParity ? int(dcb.Parity) : int(kNoParity));
    QComboBox* stop = AddChoice(form, "stopBits", {"Стоповые биты:", "Stop bits:"},
                                {QStringLiteral("1"), QStringLiteral("1.5"), QStringLiteral("2")},
                                dcb.StopBits <= kTwoStopBits ? int(dcb.StopBits) : int(kOneStopBit));
    QComboBox* flow = AddChoice(form, "flowControl", {"Управление потоком:", "Flow control:"},
                                {QStringLiteral("Xon / Xoff"), Qs(Tr({"Аппаратное", "Hardware"})),
                                 Qs(Tr({"Нет", "None"}))},
                                int(FlowControlOf(dcb)));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);

    if (dialog.exec() != QDialog::Accepted)
        return false;
    dcb.BaudRate = speed->currentData().toUInt();
    dcb.ByteSize = static_cast<uint8_t>(5 + data->currentIndex());
    dcb.Parity = static_cast<uint8_t>(parity->currentIndex());
    // Parity is checked on input exactly when the line carries one.
    dcb.Flags = dcb.Parity == kNoParity ? (dcb.Flags & ~kDcbParity) : (dcb.Flags | kDcbParity);
    dcb.StopBits = static_cast<uint8_t>(stop->currentIndex());
    SetFlowControl(dcb, ComFlowControl(flow->currentIndex()));
    return true;
}

} // namespace velnet
