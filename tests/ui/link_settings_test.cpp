// The COM and network settings sheets: titles, ranges, a typed speed, ports as they go on the wire,
// and what OK takes over.

#include "app/remotedisk/remote_device.h"
#include "app/ui/link_settings_sheets.h"

#include "tests/support/recording_prompts.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <gtest/gtest.h>

using namespace zarno;
using namespace zarno::testing;

namespace {

TEST(LinkSettingsSheets, ComPageTakesATypedOrChosenSpeedAndTheDeviceNumber) {
    // The device starts from values of its own, so that the page is seen to show them.
    const struct {
        const char* typed;
        uint32_t expected;
    } speeds[] = {{"76800", 76800}, {"9600", 9600}, {"", 57600}, {"0", 57600}};
    for (const auto& c : speeds) {
        SCOPED_TRACE(c.typed);
        RecordingPrompts prompts;
        CRemoteDevice device(CTransportLink::Instance(), prompts);
        LinkSettings start;
        start.comSpeed = 57600;
        start.remoteLineAddr = 5;
        device.SetSettings(start);
        CPropertySheetCOM sheet(device, prompts);
        EXPECT_EQ(sheet.windowTitle(), QStringLiteral("Настройка параметров COM порта"));
        EXPECT_EQ(sheet.findChild<QTabWidget*>()->tabText(0), QStringLiteral("Настройка COM-порта"));
        CComPage1* page = sheet.page();
        EXPECT_EQ(page->speedBox()->currentText(), QStringLiteral("57600"));
        EXPECT_EQ(page->speedBox()->count(), 15);
        EXPECT_EQ(page->remoteNumber()->minimum(), 0);
        EXPECT_EQ(page->remoteNumber()->maximum(), 32767);
        EXPECT_EQ(page->remoteNumber()->value(), 5);
        EXPECT_FALSE(sheet.isModified());

        page->speedBox()->setEditText(QString::fromLatin1(c.typed));
        page->remoteNumber()->setValue(7);
        EXPECT_TRUE(sheet.isModified());
        page->apply();
        EXPECT_EQ(device.Settings().comSpeed, c.expected);
        EXPECT_EQ(device.Settings().remoteLineAddr, 7u);
    }
}

// The page shows the port a datagram really carries (the settings keep the library's byte-swapped
// value: 6767 and 6768 are 28442 and 28698 on the wire) and takes a typed port the same way.
TEST(LinkSettingsSheets, NetworkPageShowsAndTakesTheWiresPortsAndTheAddress) {
    RecordingPrompts prompts;
    CRemoteDevice device(CTransportLink::Instance(), prompts);
    LinkSettings start;
    start.remoteIP = 0x7F000001;
    device.SetSettings(start); // the default ports
    CPropertySheetEthernet sheet(device);
    EXPECT_EQ(sheet.windowTitle(), QStringLiteral("Настройка параметров сети"));
    CEthernetPage1* page = sheet.page();
    EXPECT_EQ(page->address()->text(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(page->localPort()->value(), 28442);
    EXPECT_EQ(page->remotePort()->value(), 28698);
    EXPECT_EQ(page->localPort()->text(), QStringLiteral("28442"));
    for (QSpinBox* box : {page->localPort(), page->remotePort()}) {
        EXPECT_EQ(box->minimum(), 1);
        EXPECT_EQ(box->maximum(), 65535) << "every wire port can be typed";
    }

    page->localPort()->setValue(55389);
    page->remotePort()->setValue(7001);
    page->address()->setText(QStringLiteral("127.1.2.3"));
    page->apply();
    EXPECT_EQ(device.Settings().localPort, 24024u) << "kept as the library takes it";
    EXPECT_EQ(device.Settings().remotePort, 22811u);
    EXPECT_EQ(device.Settings().remoteIP, 0x7F010203u);
    // Opened again, the page shows what was typed.
    CPropertySheetEthernet again(device);
    EXPECT_EQ(again.page()->localPort()->value(), 55389);
    EXPECT_EQ(again.page()->remotePort()->value(), 7001);

    // An address that is not four numbers 0 to 255 keeps the one the link had.
    for (const char* bad : {"", "127.0.0", "300.1.1.1", "a.b.c.d", "127.0.0.01"}) {
        SCOPED_TRACE(bad);
        page->address()->setText(QString::fromLatin1(bad));
        page->apply();
        EXPECT_EQ(device.Settings().remoteIP, 0x7F010203u);
    }
}

} // namespace
