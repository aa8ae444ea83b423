// The COM and network settings sheets: titles, ranges, a typed speed, and what OK takes over.

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
        device.m_nComSpeed = 57600;
        device.m_nRemoteLineAddr = 5;
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
        EXPECT_EQ(device.m_nComSpeed, c.expected);
        EXPECT_EQ(device.m_nRemoteLineAddr, 7u);
    }
}

TEST(LinkSettingsSheets, NetworkPageShowsAndTakesPortsAndAddress) {
    RecordingPrompts prompts;
    CRemoteDevice device(CTransportLink::Instance(), prompts);
    device.m_nRemoteIP = 0x7F000001;
    device.m_nLocalPort = 6100;
    device.m_nRemotePort = 6200;
    CPropertySheetEthernet sheet(device);
    EXPECT_EQ(sheet.windowTitle(), QStringLiteral("Настройка параметров сети"));
    CEthernetPage1* page = sheet.page();
    EXPECT_EQ(page->address()->text(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(page->localPort()->value(), 6100);
    EXPECT_EQ(page->remotePort()->value(), 6200);
    EXPECT_EQ(page->localPort()->minimum(), 1);
    EXPECT_EQ(page->remotePort()->minimum(), 0);
    EXPECT_EQ(page->localPort()->maximum(), 32767);
    EXPECT_EQ(page->remotePort()->maximum(), 32767);

    page->localPort()->setValue(7000);
    page->remotePort()->setValue(7001);
    page->address()->setText(QStringLiteral("127.1.2.3"));
    page->apply();
    EXPECT_EQ(device.m_nLocalPort, 7000u);
    EXPECT_EQ(device.m_nRemotePort, 7001u);
    EXPECT_EQ(device.m_nRemoteIP, 0x7F010203u);

    // An address that is not four numbers 0 to 255 keeps the one the link had.
    for (const char* bad : {"", "127.0.0", "300.1.1.1", "a.b.c.d"}) {
        SCOPED_TRACE(bad);
        page->address()->setText(QString::fromLatin1(bad));
        page->apply();
        EXPECT_EQ(device.m_nRemoteIP, 0x7F010203u);
    }
}

} // namespace
