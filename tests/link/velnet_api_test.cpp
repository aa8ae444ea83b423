// libvelnet.so as another program sees it: loaded with dlopen, driven only through its exports,
// two transports talking over UDP on 127.0.0.1.

#include "tests/support/free_port.h"
#include "tests/support/velnet_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <thread>

using namespace zarno::testing;
using velnet::ValueFromWirePort;

namespace {

const std::set<std::string> kExports = {"InitWinSockets",
                                        "DoneWinSockets",
                                        "ExtractMessageID",
                                        "BuildMessageID",
                                        "IncMessageIDDWORD",
                                        "IncMessageID",
                                        "RealDataLength",
                                        "BuildDataLength",
                                        "ClientServerBufLength",
                                        "UDPBufLength",
                                        "IsValidTransport",
                                        "CreateTransport",
                                        "DestroyTransport",
                                        "SetTransportParent",
                                        "SetTransportBounds",
                                        "ShowTransport",
                                        "SetTransportRemoteAddr",
                                        "GetTransportRemoteAddr",
                                        "SetTransportRemoteAddrStr",
                                        "GetTransportRemoteAddrStr",
                                        "SetTransportRemotePort",
                                        "GetTransportRemotePort",
                                        "GetClientCount",
                                        "ConnectClient",
                                        "RemoveClient",
                                        "SelectClient",
                                        "DeselectClient",
                                        "WaitAndSendMessage",
                                        "SendAnswer",
                                        "CancelTransport",
                                        "Synchronize"};

TEST(VelnetLibrary, ExportsExactlyThe31Names) {
    ASSERT_EQ(kExports.size(), 31u);
    ASSERT_TRUE(Api().IsLoaded());
    const std::string command = "nm -D --defined-only " + zarno::ExecutableDirectory() + "/libvelnet.so";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> found;
    char line[512];
    while (fgets(line, sizeof line, pipe)) {
        std::string text(line);
        text.erase(text.find_last_not_of("\r\n") + 1);
        found.insert(text.substr(text.find_last_of(' ') + 1));
    }
    ASSERT_EQ(pclose(pipe), 0);
    EXPECT_EQ(found, kExports);
}

TEST(VelnetLibrary, MessageAnsweredEmptyAndInFull) {
    VelnetHost<0> a;
    VelnetHost<1> b;
    a.Aim(b);
    b.Aim(a);
    // b answers code 75 in full from its message callback, to the address the handle is aimed at.
    b.slot().SetOnMessage([&](const HostRecord& m) {
        if (m.code() != 75)
            return;
        const char reply[] = "0123456789";
        uint32_t ok = 0;
        Api().SendAnswer(b.handle, m.id(), 10, reply, &ok);
    });

    ASSERT_TRUE(a.Send(100, velnet::awEmpty, {1, 2, 3, 4}));
    // The answer callback runs in the receive thread and may come just after the delivery report.
    ASSERT_TRUE(a.WaitDelivered(1));
    EXPECT_FALSE(Failed(a.Delivered()[0]));
    ASSERT_TRUE(a.WaitAnswers(1));
    EXPECT_EQ(a.Answers()[0].dataLength(), 0u);
    ASSERT_TRUE(b.WaitMessages(1));
    const auto bMessages = b.Messages();
    EXPECT_EQ(bMessages[0].code(), 100);
    EXPECT_EQ(bMessages[0].record.port, a.localPort) << "peer port in the library's convention";
    EXPECT_EQ(bMessages[0].record.data[5], 4);

    ASSERT_TRUE(a.Send(75, velnet::awFull, std::vector<uint8_t>(12, 7)));
    ASSERT_TRUE(a.WaitDelivered(2));
    EXPECT_FALSE(Failed(a.Delivered()[1]));
    ASSERT_TRUE(a.WaitAnswers(2));
    const HostRecord full = a.Answers()[1];
    EXPECT_EQ(full.flags(), 0x06u);
    ASSERT_EQ(full.dataLength(), 10u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(full.record.data), 10), "0123456789");
}

TEST(VelnetLibrary, UnansweredMessageIsRepeatedEvery250ms) {
    PlainUdpSocket silent;
    VelnetHost<0> a;
    a.Aim(ValueFromWirePort(silent.wirePort()));
    ASSERT_TRUE(a.Send(66, velnet::awFull));
    std::vector<std::chrono::steady_clock::time_point> arrivals;
    std::vector<uint8_t> flags;
    uint8_t buffer[2048];
    for (int i = 0; i < 6; ++i) {
        ASSERT_EQ(silent.receive(buffer, sizeof buffer), 6) << "transmission " << i;
        arrivals.push_back(std::chrono::steady_clock::now());
        flags.push_back(buffer[0]);
    }
    ASSERT_TRUE(a.WaitDelivered(1));
    EXPECT_TRUE(Failed(a.Delivered()[0]));
    EXPECT_EQ(flags, (std::vector<uint8_t>{0x04, 0x05, 0x05, 0x05, 0x05, 0x05}));
    for (size_t i = 1; i < arrivals.size(); ++i)
        EXPECT_GE(arrivals[i] - arrivals[i - 1], std::chrono::milliseconds(230)) << i;
    EXPECT_EQ(silent.receive(buffer, sizeof buffer) < 0 ? 0 : 1, 0) << "no seventh transmission";
}

TEST(VelnetLibrary, DuplicateIsAnsweredTwiceAndDeliveredOnce) {
    VelnetHost<1> b;
    PlainUdpSocket peer;
    const uint8_t message[] = {0x00, 0x07, 0x01, 0x00, 0x10, 0x00};
    const uint8_t repeat[] = {0x01, 0x07, 0x01, 0x00, 0x10, 0x00};
    const uint16_t bWire = velnet::WirePortFromValue(b.localPort);
    peer.sendTo(bWire, message, sizeof message);
    peer.sendTo(bWire, repeat, sizeof repeat);
    uint8_t answer[16];
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(peer.receive(answer, sizeof answer), 4);
        EXPECT_EQ(answer[0], 0x02);
        EXPECT_EQ(answer[1], 0x07);
    }
    ASSERT_TRUE(b.WaitMessages(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(b.slot().Count(HostSlot::kMessages), 1u);
}

TEST(VelnetLibrary, MessagesReachTheClientsWhoseRangeHoldsTheCode) {
    VelnetHost<1> b(300, 20); // registers 20..300
    uint32_t count = 0;
    ASSERT_EQ(Api().ConnectClient(b.handle, 77, &SlotCallbacks<1>::Message, &SlotCallbacks<1>::Answer,
                                  &SlotCallbacks<1>::Delivered, &SlotCallbacks<1>::BeforeSend, 250, 400),
              1u);
    Api().GetClientCount(b.handle, &count);
    EXPECT_EQ(count, 2u);
    VelnetHost<0> a;
    a.Aim(b);
    struct Case {
        uint32_t code;
        size_t calls;
    };
    size_t expected = 0;
    for (const Case c : {Case{300, 2}, Case{20, 1}, Case{19, 0}, Case{500, 0}, Case{250, 2}}) {
        SCOPED_TRACE(c.code);
        const size_t delivered = a.slot().Count(HostSlot::kDelivered);
        ASSERT_TRUE(a.Send(c.code, velnet::awEmpty));
        ASSERT_TRUE(a.WaitDelivered(delivered + 1));
        EXPECT_FALSE(Failed(a.Delivered().back())) << "answered by the engine even without a client";
        expected += c.calls;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_EQ(b.slot().Count(HostSlot::kMessages), expected);
    }
}

TEST(VelnetLibrary, HandleFunctions) {
    VelnetHost<0> a;
    const uint32_t h = a.handle;
    EXPECT_EQ(Api().IsValidTransport(h), 1u);

    // Every ConnectClient replaces the handle's callbacks, so these pass the same ones again.
    const auto connect = [&](uint32_t id) {
        return Api().ConnectClient(h, id, &SlotCallbacks<0>::Message, &SlotCallbacks<0>::Answer,
                                   &SlotCallbacks<0>::Delivered, &SlotCallbacks<0>::BeforeSend, 1, 2);
    };
    uint32_t count = 99;
    EXPECT_EQ(connect(0), 1u);
    Api().GetClientCount(h, &count);
    EXPECT_EQ(count, 1u) << "id 0 registers nothing";

    uint32_t ok = 9;
    connect(2);
    EXPECT_EQ(Api().SelectClient(h, 2, &ok), 1u);
    EXPECT_EQ(ok, 0u) << "another client is selected";
    Api().DeselectClient(h, VelnetHost<0>::kClientId);
    Api().SelectClient(h, 2, &ok);
    EXPECT_EQ(ok, 1u);
    Api().RemoveClient(h, 2);
    Api().SelectClient(h, 12345, &ok);
    EXPECT_EQ(ok, 1u) << "an unknown id while nothing is selected";
    Api().SelectClient(h, VelnetHost<0>::kClientId, &ok);
    ASSERT_EQ(ok, 1u);

    for (auto [set, stored] : {std::pair{70000u, 65535u}, {0u, 1u}, {6768u, 6768u}}) {
        uint32_t port = 0;
        Api().SetTransportRemotePort(h, set);
        Api().GetTransportRemotePort(h, &port);
        EXPECT_EQ(port, stored) << set;
    }

    uint32_t addr = 0;
    Api().SetTransportRemoteAddrStr(h, "10.0.0.50"); // only stored: nothing is sent in this test
    Api().GetTransportRemoteAddr(h, &addr);
    const auto* bytes = reinterpret_cast<const uint8_t*>(&addr);
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 4), (std::vector<uint8_t>{10, 0, 0, 50}));
    char buffer[8] = {'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x'};
    Api().GetTransportRemoteAddrStr(h, buffer, 4);
    EXPECT_EQ(std::string(buffer, 8), "10.0xxxx");
    Api().SetTransportRemoteAddrStr(h, "not an address");
    Api().GetTransportRemoteAddr(h, &addr);
    EXPECT_EQ(addr, 0xFFFFFFFFu);
    Api().SetTransportRemoteAddr(h, htonl(INADDR_LOOPBACK));

    // No GUI application here: no window to show, hiding succeeds, placing is kept for later.
    EXPECT_EQ(Api().SetTransportBounds(h, 1, 2, 3, 4), 1u);
    EXPECT_EQ(Api().ShowTransport(h, 0x100), 1u);
    EXPECT_EQ(Api().ShowTransport(h, 1), 0u);
    EXPECT_EQ(Api().SetTransportParent(h, nullptr), 0u);

    // Busy beyond the wait count: the second send is refused.
    PlainUdpSocket silent;
    a.Aim(ValueFromWirePort(silent.wirePort()));
    ASSERT_TRUE(a.Send(1, velnet::awEmpty));
    EXPECT_FALSE(a.Send(1, velnet::awEmpty, {}, 2));
    Api().CancelTransport(h);
    ASSERT_TRUE(a.WaitDelivered(1));
}

TEST(VelnetLibrary, DestroyedAndForgedHandlesDoNothing) {
    uint32_t h;
    {
        VelnetHost<0> a;
        h = a.handle;
    }
    uint32_t out = 77;
    char text[4];
    for (uint32_t handle : {h, 0u, 0xDEADBEEFu}) {
        SCOPED_TRACE(handle);
        EXPECT_EQ(Api().IsValidTransport(handle), 0u);
        EXPECT_EQ(Api().DestroyTransport(handle), 0u);
        EXPECT_EQ(Api().SetTransportParent(handle, nullptr), 0u);
        EXPECT_EQ(Api().SetTransportBounds(handle, 0, 0, 1, 1), 0u);
        EXPECT_EQ(Api().ShowTransport(handle, 1), 0u);
        EXPECT_EQ(Api().SetTransportRemoteAddr(handle, 1), 0u);
        EXPECT_EQ(Api().GetTransportRemoteAddr(handle, &out), 0u);
        EXPECT_EQ(Api().SetTransportRemoteAddrStr(handle, "1.2.3.4"), 0u);
        EXPECT_EQ(Api().GetTransportRemoteAddrStr(handle, text, 4), 0u);
        EXPECT_EQ(Api().SetTransportRemotePort(handle, 5), 0u);
        EXPECT_EQ(Api().GetTransportRemotePort(handle, &out), 0u);
        EXPECT_EQ(Api().GetClientCount(handle, &out), 0u);
        EXPECT_EQ(Api().ConnectClient(handle, 1, nullptr, nullptr, nullptr, nullptr, 0, 1), 0u);
        EXPECT_EQ(Api().RemoveClient(handle, 1), 0u);
        EXPECT_EQ(Api().SelectClient(handle, 1, &out), 0u);
        EXPECT_EQ(Api().DeselectClient(handle, 1), 0u);
        EXPECT_EQ(Api().WaitAndSendMessage(handle, 1, 1, 0, 0, nullptr, &out), 0u);
        EXPECT_EQ(Api().SendAnswer(handle, 1, 0, nullptr, &out), 0u);
        EXPECT_EQ(Api().CancelTransport(handle), 0u);
        EXPECT_EQ(out, 77u) << "out arguments untouched";
    }
}

TEST(VelnetLibrary, PortThatCannotOpenLeavesAHandleThatCannotSend) {
    PlainUdpSocket taken;
    const uint32_t h =
        Api().CreateTransport(kVelnetKindUdp, ValueFromWirePort(taken.wirePort()), 0, 0, nullptr, 0);
    ASSERT_NE(h, 0u);
    EXPECT_EQ(Api().IsValidTransport(h), 1u);
    uint32_t ok = 1;
    EXPECT_EQ(Api().WaitAndSendMessage(h, 10, 1, 0, 0, nullptr, &ok), 1u);
    EXPECT_EQ(ok, 0u);
    EXPECT_EQ(Api().SendAnswer(h, 1, 0, nullptr, &ok), 1u);
    EXPECT_EQ(ok, 0u);
    EXPECT_EQ(Api().DestroyTransport(h), 1u);
}

TEST(VelnetLibrary, SynchronizeRunsTheProcedureAndChecksItsArguments) {
    static int runs = 0;
    runs = 0;
    VelnetHost<0> a;
    int dummyThread = 0;
    Api().Synchronize(a.handle, &dummyThread, [] { ++runs; });
    Api().Synchronize(a.handle, nullptr, [] { ++runs; });
    Api().Synchronize(0xDEAD, &dummyThread, [] { ++runs; });
    EXPECT_EQ(runs, 1);
}

} // namespace
