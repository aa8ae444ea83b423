// The transport's diagnostics window as the operator sees it, against the instrument simulator over
// UDP and over a pseudo-terminal: captions in the chosen language, the frame lists, the array test,
// the serial port's controls and settings dialog, and a full-speed download logged without loss.

#include "app/link/transport_link.h"
#include "app/remotedisk/remote_device.h"

#include "tests/support/loopback_link.h"
#include "tests/support/device_process.h"
#include "tests/support/gui_app.h"
#include "tests/support/recording_prompts.h"
#include "tests/support/temp_config.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>

using namespace zarno;
using namespace zarno::testing;

namespace {

[[maybe_unused]] ::testing::Environment* const g_gui =
    ::testing::AddGlobalTestEnvironment(new GuiApplication);

// More blocks than a frame list holds lines.
constexpr size_t kFileBytes = 700 * 512 + 17;

bool WaitUntil(const std::function<bool()>& done, std::chrono::seconds limit = std::chrono::seconds(20)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

QStringList Lines(QWidget* window, int list) {
    const QString text =
        window->findChild<QPlainTextEdit*>(QStringLiteral("frameList") + QString::number(list))->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

template <class T> T* Child(QWidget* window, const char* name) {
    T* child = window->findChild<T*>(QString::fromLatin1(name));
    if (!child)
        ADD_FAILURE() << "no control " << name;
    return child;
}

// A connected CRemoteDevice over the simulator, and its transport's window once shown.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::ofstream(QDir(root.path()).filePath("BIG.BIN").toStdString(), std::ios::binary)
            << std::string(kFileBytes, 'x');
    }
    void TearDown() override { device.reset(); }

    // The library reads it when it is loaded, which each connect does.
    void UseLanguage(const char* localLang) { SetLocalLang(QString::fromLatin1(localLang)); }

    void ConnectNetwork() {
        instrument = std::make_unique<DeviceProcess>(root.path().toStdString());
        device = std::make_unique<CRemoteDevice>(CTransportLink::Instance(), prompts);
        ASSERT_EQ(ConnectOverLoopback(*device, instrument->port), 1);
    }

    QWidget* Show() {
        CTransportLink& link = CTransportLink::Instance();
        EXPECT_EQ(link.Api().ShowTransport(link.Handle(), 1), 1u);
        QWidget* found = nullptr;
        WaitUntil([&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == QStringLiteral("velnetDebugWindow") && w->isVisible())
                    found = w;
            return found != nullptr;
        });
        return found;
    }

    TempConfigHome home;
    QTemporaryDir root;
    RecordingPrompts prompts;
    std::unique_ptr<DeviceProcess> instrument;
    std::unique_ptr<CRemoteDevice> device;
};

TEST_F(WindowTest, EnglishWindowOverUdpLogsFramesAndRunsTheArrayTest) {
    UseLanguage("2");
    ConnectNetwork();
    QWidget* window = Show();
    ASSERT_NE(window, nullptr);

    EXPECT_EQ(window->windowTitle(), "Debug");
    auto* pages = Child<QTabWidget>(window, "pages");
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_EQ((QStringList{pages->tabText(0), pages->tabText(1), pages->tabText(2)}),
              (QStringList{"Clients", "Messages", "UDP"}));
    EXPECT_EQ(Child<QCheckBox>(window, "fieldBox2")->text(), "Transport");
    EXPECT_EQ(Child<QPushButton>(window, "clearList1")->text(), "In");
    EXPECT_EQ(Child<QPushButton>(window, "clearList1")->toolTip(), "Clear in list");
    EXPECT_EQ(Child<QAction>(window, "testSend3")->text(), "Send max. without answer");
    EXPECT_EQ(Child<QSpinBox>(window, "remotePort")->toolTip(), "Destination port");
    EXPECT_EQ(Child<QLineEdit>(window, "remoteAddress")->toolTip(), "Destination address");

    // A UDP transport: address shown, no settings button, the label says "UDP".
    pages->setCurrentIndex(2);
    EXPECT_TRUE(Child<QLineEdit>(window, "remoteAddress")->isVisible());
    EXPECT_EQ(Child<QLineEdit>(window, "remoteAddress")->text(), "127.0.0.1");
    EXPECT_EQ(uint32_t(Child<QSpinBox>(window, "remotePort")->value()), instrument->port);
    EXPECT_FALSE(Child<QPushButton>(window, "portSetup")->isVisible());
    auto* portName = Child<QLabel>(window, "portName");
    EXPECT_EQ(portName->text(), "UDP");

    // Nothing is listed until "Debug" is checked; then all six filters come on with it.
    ASSERT_EQ(device->ReadDirectory("z:\\"), 1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(Lines(window, 0).isEmpty());
    Child<QCheckBox>(window, "udpDebug")->click();
    for (const char* filter : {"filterOut0", "filterOut1", "filterOut2", "filterIn0", "filterIn1", "filterIn2"})
        EXPECT_TRUE(Child<QCheckBox>(window, filter)->isChecked()) << filter;

    // The array test: 1054-byte payloads after code 0 (data length 0x210 words) until a double click.
    const auto arrayLines = [&] { return Lines(window, 0).filter(QStringLiteral(" 0210 0000 0000")).size(); };
    QTimer stopper;
    int ticks = 0;
    QObject::connect(&stopper, &QTimer::timeout, [&] {
        if (arrayLines() >= 5 || ++ticks > 1000) {
            stopper.stop();
            QTest::mouseDClick(portName, Qt::LeftButton);
        }
    });
    stopper.start(20);
    auto* arrayTest = Child<QAction>(window, "testSend2");
    arrayTest->trigger(); // returns when the test has stopped
    EXPECT_TRUE(arrayTest->isEnabled());
    QTest::qWait(300); // the last message queued may still be on its way out
    const qsizetype stoppedAt = arrayLines();
    EXPECT_GE(stoppedAt, 5);
    QTest::qWait(500);
    EXPECT_EQ(arrayLines(), stoppedAt) << "nothing more after the double click";
    const QString first = Lines(window, 0).filter(QStringLiteral(" 0210 ")).first();
    EXPECT_TRUE(first.startsWith(QStringLiteral("0100007f %1 00 ").arg(instrument->port, 4, 16, QLatin1Char('0'))))
        << first.toStdString();
    // Each was answered with an empty answer from the instrument.
    EXPECT_GE(Lines(window, 1).filter(QRegularExpression(QStringLiteral(" 02 .. 0000 $"))).size(), 5);
}

TEST_F(WindowTest, RussianTextsAndTheMessageFields) {
    UseLanguage("1");
    ConnectNetwork();
    QWidget* window = Show();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "Диагностика");
    EXPECT_EQ(Child<QCheckBox>(window, "fieldBox0")->text(), "Отправка сообщений");
    EXPECT_EQ(Child<QLabel>(window, "portName")->toolTip(),
              "Если выполняется отправка массива,\r\nдвойное нажатие останавливает отправку.\r\n"
              "Доступно всплывающее меню");
    EXPECT_EQ(Child<QAction>(window, "testSend0")->text(), "Отправить 0 без требования данных в квитанции");
    EXPECT_EQ(Child<QSpinBox>(window, "remotePort")->toolTip(), "Порт назначения");

    // The client list shows the program's client, selected.
    auto* clients = Child<QListWidget>(window, "clientList");
    ASSERT_EQ(clients->count(), 1);
    EXPECT_EQ(Child<QLabel>(window, "selectedClient")->text(), clients->item(0)->text());

    Child<QTabWidget>(window, "pages")->setCurrentIndex(1);
    Child<QCheckBox>(window, "messagesDebug")->click();
    ASSERT_EQ(device->ReadDirectory("z:\\"), 1);
    ASSERT_TRUE(WaitUntil([&] { return !Child<QLineEdit>(window, "field2")->text().isEmpty(); }));
    EXPECT_EQ(Child<QLineEdit>(window, "field2")->text(), "Доставка успешна");
    EXPECT_TRUE(Child<QLineEdit>(window, "field0")->text().startsWith("Сообщение в 127.0.0.1 "));
    EXPECT_TRUE(Child<QLineEdit>(window, "field3")->text().startsWith("Квитанция от 127.0.0.1 "));
    Child<QPushButton>(window, "clearFields")->click();
    EXPECT_TRUE(WaitUntil([&] { return Child<QLineEdit>(window, "field2")->text().isEmpty(); }));

    // The operator aims the transport elsewhere from the window.
    CTransportLink& link = CTransportLink::Instance();
    Child<QTabWidget>(window, "pages")->setCurrentIndex(2);
    auto* address = Child<QLineEdit>(window, "remoteAddress");
    address->selectAll();
    QTest::keyClicks(address, "10.0.0.50");
    uint32_t addr = 0, port = 0;
    link.Api().GetTransportRemoteAddr(link.Handle(), &addr);
    const auto* bytes = reinterpret_cast<const uint8_t*>(&addr);
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 4), (std::vector<uint8_t>{10, 0, 0, 50}));
    Child<QSpinBox>(window, "remotePort")->setValue(4321);
    link.Api().GetTransportRemotePort(link.Handle(), &port);
    EXPECT_EQ(port, 4321u);
}

// Parented, the window is a borderless child of the host's window, placed where the host says; when
// the host deletes it with its own window, the next show makes a new one.
TEST_F(WindowTest, ParentedWindowIsABorderlessChildAndMayGoWithItsParent) {
    UseLanguage("2");
    ConnectNetwork();
    CTransportLink& link = CTransportLink::Instance();
    auto host = std::make_unique<QWidget>();
    host->resize(640, 480);
    host->show();
    ASSERT_EQ(link.Api().SetTransportParent(link.Handle(), host.get()), 1u);
    ASSERT_EQ(link.Api().SetTransportBounds(link.Handle(), 5, 6, 500, 360), 1u);
    QCoreApplication::processEvents();
    auto* child = host->findChild<QWidget*>(QStringLiteral("velnetDebugWindow"));
    ASSERT_NE(child, nullptr);
    EXPECT_FALSE(child->isWindow());
    EXPECT_TRUE(child->isVisible());
    EXPECT_EQ(child->geometry(), QRect(5, 6, 500, 360));

    host.reset(); // the window goes with it
    // A change the window would show: the log has nobody to tell now.
    ASSERT_EQ(link.Api().SetTransportRemotePort(link.Handle(), instrument->port), 1u);
    QWidget* again = Show();
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->isWindow());
}

// With every box checked, a download at full speed: the lists go on without a gap or a step back,
// answer for answer as the messages went out, and the download itself is intact.
TEST_F(WindowTest, FullSpeedDownloadWithEveryBoxCheckedLosesNoLine) {
    UseLanguage("2");
    ConnectNetwork();
    QWidget* window = Show();
    ASSERT_NE(window, nullptr);
    auto* pages = Child<QTabWidget>(window, "pages");
    pages->setCurrentIndex(1);
    Child<QCheckBox>(window, "messagesDebug")->click();
    pages->setCurrentIndex(2);
    Child<QCheckBox>(window, "udpDebug")->click();
    Child<QCheckBox>(window, "timeStamps")->click();

    QTemporaryDir local;
    ASSERT_EQ(device->ReadDirectory("z:\\"), 1);
    ASSERT_EQ(device->Listing().size(), 1u);
    ASSERT_EQ(device->CopyFromDevice(device->Listing().front()->deviceName, local.filePath("BIG.BIN")), 1);
    EXPECT_EQ(QFileInfo(local.filePath("BIG.BIN")).size(), qint64(kFileBytes));
    QTest::qWait(200); // the window shows a burst of lines a little later

    // "hh:mm:ss.mmm: addr port flags id length codes": each new message or answer takes the next id;
    // a repeat keeps it.
    const auto checkIds = [](const QStringList& lines, const char* kind) {
        SCOPED_TRACE(kind);
        int previous = -1;
        for (const QString& line : lines) {
            const QStringList f = line.split(QLatin1Char(' '));
            ASSERT_GE(f.size(), 6) << line.toStdString();
            const int id = f[4].toInt(nullptr, 16);
            if (previous >= 0) {
                ASSERT_TRUE(id == previous || id == (previous + 1) % 256) << line.toStdString();
            }
            previous = id;
        }
    };
    const QStringList out = Lines(window, 0), in = Lines(window, 1);
    ASSERT_EQ(out.size(), 513);
    ASSERT_EQ(in.size(), 513);
    checkIds(out, "sent");
    checkIds(in, "received");
    EXPECT_EQ(out.last().split(' ')[4], in.last().split(' ')[4]) << "the last answer is to the last message";
    EXPECT_EQ(Child<QLineEdit>(window, "field2")->text(), "Transport success");
}

// Over a serial line: no address, the settings button and the port's name; the dialog's choice is
// applied to the port and shown again the next time.
TEST_F(WindowTest, SerialTransportShowsItsPortAndSetsItUp) {
    UseLanguage("2");
    instrument = std::make_unique<DeviceProcess>(root.path().toStdString(), DeviceProcess::SerialPty{7});
    setenv("VELNET_COM1", instrument->peerDevice.c_str(), 1);
    device = std::make_unique<CRemoteDevice>(CTransportLink::Instance(), prompts);
    LinkSettings link;
    link.remoteLineAddr = 7;
    device->SetSettings(link);
    ASSERT_EQ(device->ConnectCom(kLinkCom1), 1);
    QWidget* window = Show();
    ASSERT_NE(window, nullptr);
    Child<QTabWidget>(window, "pages")->setCurrentIndex(2);
    EXPECT_FALSE(Child<QLineEdit>(window, "remoteAddress")->isVisible());
    EXPECT_FALSE(Child<QLabel>(window, "addressLabel")->isVisible());
    EXPECT_TRUE(Child<QPushButton>(window, "portSetup")->isVisible());
    EXPECT_EQ(Child<QLabel>(window, "portName")->text(), "COM1");

    Child<QCheckBox>(window, "udpDebug")->click();
    ASSERT_EQ(device->ReadDirectory("z:\\"), 1);
    ASSERT_TRUE(WaitUntil([&] { return !Lines(window, 1).isEmpty(); }));
    EXPECT_TRUE(Lines(window, 1).first().startsWith(QStringLiteral("0007 06 "))) << Lines(window, 1).first().toStdString();

    QString shown;
    WhenModal<QDialog>([](QDialog* d) {
        d->findChild<QComboBox*>("baudRate")->setCurrentText("57600");
        d->findChild<QComboBox*>("parity")->setCurrentIndex(2);
        d->accept();
    });
    Child<QPushButton>(window, "portSetup")->click();
    WhenModal<QDialog>([&](QDialog* d) {
        shown = d->windowTitle() + "|" + d->findChild<QComboBox*>("baudRate")->currentText() + "|" +
                d->findChild<QComboBox*>("parity")->currentText();
        d->reject();
    });
    Child<QPushButton>(window, "portSetup")->click();
    EXPECT_EQ(shown, "Port setup COM1|57600|Even");
    EXPECT_TRUE(prompts.texts().empty());
}

} // namespace
