// The link side of the instrument: its settings from the saved ones, the network connect's aim, the
// binding's refusal of an incomplete library, and what the link keeps of a device that has gone.

#include "app/remotedisk/remote_device.h"
#include "app/shell/persistent_settings.h"

#include "tests/support/device_process.h"
#include "tests/support/free_port.h"
#include "tests/support/loopback_link.h"
#include "tests/support/qt_app.h"
#include "tests/support/recording_prompts.h"
#include "tests/support/temp_config.h"
#include "transport/port_convention.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace zarno;
using namespace zarno::testing;

namespace {

TEST(RemoteDeviceLink, SettingsDefaultsAndAbsentComPorts) {
    EnsureCoreApp();
    TempConfigHome home;
    HideComPorts();
    struct Case {
        int32_t saved;
        int32_t after;
    };
    for (const Case c : {Case{1, 0}, Case{2, 0}, Case{3, 3}, Case{0, 0}}) {
        RecordingPrompts prompts;
        CRemoteDevice device(CTransportLink::Instance(), prompts);
        PersistentSettings settings;
        settings.m_nCurrentLink = c.saved;
        device.LoadLinkSettings(settings);
        EXPECT_EQ(device.LinkType(), c.after);
        EXPECT_EQ(prompts.texts(), std::vector<QString>{"Нет доступных COM - портов!"});
        EXPECT_EQ(device.Settings().localPort, 6767u);
        EXPECT_EQ(device.Settings().remotePort, 6768u);
        EXPECT_EQ(device.Settings().remoteIP, 0x0A000032u);
        EXPECT_EQ(device.Settings().remoteLineAddr, 2u);

        PersistentSettings saved;
        saved.m_nCurrentComPort1 = 1234;
        device.StoreLinkSettings(saved);
        EXPECT_EQ(saved.m_nCurrentComPort1, 65000) << "always the local line address";
    }
}

TEST(RemoteDeviceLink, NetworkConnectAimsAtTheConfiguredAddress) {
    EnsureCoreApp();
    RecordingPrompts prompts;
    CRemoteDevice device(CTransportLink::Instance(), prompts);
    LinkSettings link;
    link.localPort = velnet::ValueFromWirePort(FreeWirePort());
    device.SetSettings(link);
    ASSERT_EQ(device.ConnectNetwork(), 1); // nothing is sent: only the address is checked
    const VelnetApi& api = CTransportLink::Instance().Api();
    uint32_t addr = 0, port = 0;
    api.GetTransportRemoteAddr(CTransportLink::Instance().Handle(), &addr);
    api.GetTransportRemotePort(CTransportLink::Instance().Handle(), &port);
    const auto* bytes = reinterpret_cast<const uint8_t*>(&addr);
    EXPECT_EQ(Bytes(bytes, bytes + 4), (Bytes{10, 0, 0, 50}));
    EXPECT_EQ(port, 6768u);
    device.Disconnect();
    EXPECT_FALSE(device.IsLoaded());
    EXPECT_FALSE(device.IsConnected());
}

TEST(RemoteDeviceLink, LibraryWithoutOneExportIsRefused) {
    EnsureCoreApp();
    CTransportLink& link = CTransportLink::Instance();
    EXPECT_FALSE(link.LoadTransportFrom(ExecutableDirectory() + "/libvelnet_lacking_export.so"));
    EXPECT_FALSE(link.IsLoaded());
    EXPECT_TRUE(link.LoadTransport());
    link.UnloadTransport();
}

TEST(RemoteDeviceLink, TheLinkForgetsTheDevicesPromptsWhenTheDeviceGoes) {
    EnsureCoreApp();
    CTransportLink& link = CTransportLink::Instance();
    ASSERT_FALSE(link.IsLoaded()) << "with no library loaded every exchange is refused and told";
    const std::vector<QString> refused{"Невозможно отправить очередное сообщение"};
    auto first = std::make_unique<RecordingPrompts>();
    auto firstDevice = std::make_unique<CRemoteDevice>(link, *first);
    {
        auto second = std::make_unique<RecordingPrompts>();
        auto secondDevice = std::make_unique<CRemoteDevice>(link, *second);
        link.SendAndWait({});
        EXPECT_EQ(second->texts(), refused) << "the newest device is told";
        secondDevice.reset();
        second.reset(); // a link still holding these prompts would now point into freed memory
    }
    link.SendAndWait({});
    EXPECT_EQ(first->texts(), refused) << "the device still there is told";
    firstDevice.reset();
    first.reset();
    link.SendAndWait({}); // no device: no one to tell, and nothing touched
    EXPECT_FALSE(link.ReplySuccess());
}

TEST(RemoteDeviceLink, ComConnectRefusesLineAddressZero) {
    EnsureCoreApp();
    RecordingPrompts prompts;
    CRemoteDevice device(CTransportLink::Instance(), prompts);
    LinkSettings link;
    link.remoteLineAddr = 0;
    device.SetSettings(link);
    EXPECT_EQ(device.ConnectCom(1), 0);
    EXPECT_FALSE(device.IsLoaded());
    EXPECT_EQ(prompts.texts(), std::vector<QString>{"Номер удаленного устройства не может быть равен 0!"});
}

} // namespace
