#include "transport/localisation.h"
#include "transport/udp_socket.h"
#include "transport/winsock.h"

#include "tests/support/free_port.h"
#include "tests/support/temp_config.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <vector>

using namespace velnet;
using zarno::testing::FreeWirePort;
using zarno::testing::PlainUdpSocket;

namespace {

struct Received {
    uint32_t addr, port;
    std::vector<uint8_t> bytes;
};

// Collects what a port's receive thread hands up.
class Inbox {
public:
    static void OnReceive(void* context, TThread*, uint32_t addr, uint32_t port, const uint8_t* data,
                          uint32_t count) {
        auto* self = static_cast<Inbox*>(context);
        std::lock_guard lock(self->m_mutex);
        self->m_items.push_back({addr, port, std::vector<uint8_t>(data, data + count)});
        self->m_cv.notify_all();
    }
    bool WaitFor(size_t count, std::chrono::seconds limit = std::chrono::seconds(10)) {
        std::unique_lock lock(m_mutex);
        return m_cv.wait_for(lock, limit, [&] { return m_items.size() >= count; });
    }
    std::vector<Received> Items() {
        std::lock_guard lock(m_mutex);
        return m_items;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::vector<Received> m_items;
};

TEST(PortConvention, ConfiguredValuesAndWirePorts) {
    const std::pair<uint32_t, uint16_t> cases[] = {
        {6767, 28442}, {6768, 28698}, {1, 256}, {256, 1}, {0x1234, 0x3412}};
    for (auto [value, wire] : cases) {
        EXPECT_EQ(WirePortFromValue(value), wire) << value;
        EXPECT_EQ(ValueFromWirePort(wire), value) << wire;
    }
    EXPECT_EQ(WirePortFromValue(0x10000 + 6767), 28442) << "only the low two bytes count";
}

TEST(UdpSocket, DatagramsReachOnReceiveWithThePeerPortInTheConvention) {
    PlainUdpSocket peer(28698); // configured 6768
    const uint16_t ourWire = FreeWirePort();
    TUDPIPSocket port(ValueFromWirePort(ourWire));
    EXPECT_TRUE(port.IsIP);
    EXPECT_EQ(port.AnswerTimeout(), 250u);
    Inbox inbox;
    port.SetOnReceive(&Inbox::OnReceive, &inbox);

    const uint8_t datagram[] = {0x00, 0x11, 0x03, 0x00, 0x4C, 0x00, 1, 2, 3, 4};
    peer.sendTo(ourWire, datagram, sizeof datagram);
    ASSERT_TRUE(inbox.WaitFor(1));
    const Received got = inbox.Items().front();
    EXPECT_EQ(got.port, 6768u);
    EXPECT_EQ(got.addr, htonl(INADDR_LOOPBACK));
    EXPECT_EQ(got.bytes, std::vector<uint8_t>(std::begin(datagram), std::end(datagram)));
}

TEST(UdpSocket, SendToUsesTheConventionForTheDestination) {
    PlainUdpSocket peer;
    TUDPIPSocket port(ValueFromWirePort(FreeWirePort()));
    const uint8_t bytes[] = {0x02, 0x11, 0x00, 0x00};
    EXPECT_EQ(port.LockedSend(htonl(INADDR_LOOPBACK), ValueFromWirePort(peer.wirePort()), 4, bytes), 4);
    uint8_t got[16];
    uint16_t from = 0;
    ASSERT_EQ(peer.receive(got, sizeof got, &from), 4);
    EXPECT_EQ(ValueFromWirePort(from), port.LocalAddr);
}

TEST(UdpSocket, BindToAPortInUseFailsWithTheBindText) {
    zarno::testing::TempConfigHome home;
    PlainUdpSocket taken;
    for (auto [lang, text] :
         {std::pair{"1", "Ошибка при выполнении BIND сокета: Указанный адрес уже используется"},
          {"2", "Socket bind error: Address alredy in use"}}) {
        zarno::testing::SetLocalLang(QString(lang));
        ReloadLanguage();
        try {
            TUDPIPSocket port(ValueFromWirePort(taken.wirePort()));
            ADD_FAILURE() << "bind to a taken port succeeded";
        } catch (const EUDPSocketError& e) {
            EXPECT_STREQ(e.what(), text);
        }
    }
}

TEST(UdpSocket, DestroyingWithABlockedReceiveNeverHangsAndSendsNothing) {
    // A listener on the port number our socket will have had: if closing sent anything (the old
    // broadcast of four zero bytes), it would have to come here or nowhere.
    Inbox inbox;
    for (int round = 0; round < 20; ++round) {
        auto done = std::async(std::launch::async, [&] {
            TUDPIPSocket port(ValueFromWirePort(FreeWirePort()));
            port.SetOnReceive(&Inbox::OnReceive, &inbox);
        });
        ASSERT_EQ(done.wait_for(std::chrono::seconds(10)), std::future_status::ready) << "round " << round;
    }
    EXPECT_TRUE(inbox.Items().empty());
}

TEST(UdpSocket, ManyDatagramsArriveWhole) {
    PlainUdpSocket peer;
    const uint16_t ourWire = FreeWirePort();
    TUDPIPSocket port(ValueFromWirePort(ourWire));
    Inbox inbox;
    port.SetOnReceive(&Inbox::OnReceive, &inbox);
    std::vector<uint8_t> big(1060);
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = uint8_t(i * 7);
    for (int i = 0; i < 50; ++i)
        peer.sendTo(ourWire, big.data(), big.size());
    ASSERT_TRUE(inbox.WaitFor(50));
    for (const auto& item : inbox.Items())
        EXPECT_EQ(item.bytes, big);
}

TEST(WinSockets, StartCountIsKept) {
    EXPECT_EQ(InitWinSockets(), 0);
    EXPECT_EQ(InitWinSockets(), 0);
    EXPECT_EQ(DoneWinSockets(), 0);
    EXPECT_EQ(DoneWinSockets(), 0);
    EXPECT_EQ(DoneWinSockets(), -1) << "an end without a start";
}

} // namespace
