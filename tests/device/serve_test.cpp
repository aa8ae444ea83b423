// zarno-device serve end to end: a client speaks the command set to the running simulator through
// libvelnet.so over loopback UDP, directly and through the lossy relay.

#include "device/udp_proxy.h"
#include "tests/support/device_process.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

namespace zarno::testing {
namespace {
namespace fs = std::filesystem;

class TempDir {
public:
    TempDir() {
        std::string templ = (fs::temp_directory_path() / "zarno-serve-XXXXXX").string();
        path = mkdtemp(templ.data());
    }
    ~TempDir() { fs::remove_all(path); }
    fs::path path;
};

void WriteFile(const fs::path& p, const std::string& content) {
    std::ofstream(p, std::ios::binary) << content;
}

Bytes Name12(const std::string& name, const std::string& ext, uint8_t attr) {
    Bytes b(12, ' ');
    std::copy(name.begin(), name.end(), b.begin());
    std::copy(ext.begin(), ext.end(), b.begin() + 8);
    b[11] = attr;
    return b;
}
Bytes U32s(std::initializer_list<uint32_t> values) {
    Bytes b;
    for (uint32_t v : values)
        for (int i = 0; i < 4; ++i)
            b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return b;
}
Bytes WritePayload(uint32_t handle, uint32_t block, const std::string& data) {
    Bytes b = U32s({handle, block});
    b.push_back(static_cast<uint8_t>(data.size()));
    b.push_back(static_cast<uint8_t>(data.size() >> 8));
    b.insert(b.end(), data.begin(), data.end());
    b.resize(522, 0);
    return b;
}
std::string Text(const Bytes& b, size_t from, size_t n) {
    return std::string(b.begin() + static_cast<long>(from), b.begin() + static_cast<long>(from + n));
}

TEST(ServeTest, AnswersEveryCommandWithTheFieldsTheClientReads) {
    TempDir root;
    for (int i = 0; i < 20; ++i)
        WriteFile(root.path / ("R" + std::to_string(10 + i) + ".DDB"), "recording");
    std::string content(1000, '\0');
    for (size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<char>(i * 13 + 1);
    WriteFile(root.path / "DATA.BIN", content);
    fs::create_directory(root.path / "SUB");
    DeviceProcess device(root.path.string(), {"--label", "PILES", "--kind", "1", "--disk-size", "1000000"});
    EXPECT_NE(device.startupLine.find("UDP port " + std::to_string(device.port)), std::string::npos)
        << device.startupLine;
    DeviceClient<> client(device.port);

    const auto info = client.Request(65);
    ASSERT_TRUE(info);
    ASSERT_EQ(info->size(), 48u);
    EXPECT_EQ(StatusOf(*info), 0);
    EXPECT_EQ(U32At(*info, 6) & 0xFFFF, 1u);
    EXPECT_EQ(U32At(*info, 8), 1000000u);
    EXPECT_EQ(U32At(*info, 12), 1000000u - 20 * 9 - 1000);
    EXPECT_EQ(Text(*info, 16, 32), "PILES" + std::string(27, ' '));

    // 22 entries: 16, then 6 on code 67.
    const auto first = client.Request(66);
    ASSERT_TRUE(first);
    EXPECT_EQ(StatusOf(*first), 0xFFFF);
    EXPECT_EQ(first->size(), 2 + 16 * 32u);
    EXPECT_EQ(Text(*first, 2, 11), "DATA    BIN");
    const auto next = client.Request(67);
    ASSERT_TRUE(next);
    EXPECT_EQ(StatusOf(*next), 0);
    EXPECT_EQ(next->size(), 2 + 6 * 32u);
    EXPECT_EQ(Text(*next, 2 + 5 * 32, 11), "SUB        ");
    EXPECT_EQ((*next)[2 + 5 * 32 + 11], 0x10);

    // The 1000-byte file as blocks of 512 and 488.
    const auto open = client.Request(75, Name12("DATA", "BIN", 0x20));
    ASSERT_TRUE(open);
    ASSERT_EQ(StatusOf(*open), 0);
    const uint32_t handle = U32At(*open, 2);
    EXPECT_EQ(U32At(*open, 6), 1000u);
    const auto b0 = client.Request(72, U32s({handle, 0}));
    const auto b1 = client.Request(72, U32s({handle, 1}));
    ASSERT_TRUE(b0 && b1);
    EXPECT_EQ(StatusOf(*b0), 0);
    EXPECT_EQ(b0->size(), 4 + 512u);
    EXPECT_EQ(b1->size(), 4 + 488u);
    EXPECT_EQ(Text(*b0, 4, 512) + Text(*b1, 4, 488), content);
    EXPECT_TRUE(client.Request(76, U32s({handle}), 0));

    // Change directory (answered by the library alone), then the listing shows the dot entries.
    EXPECT_TRUE(client.Request(68, Name12("SUB", "", 0x10), 0));
    const auto sub = client.Request(66);
    ASSERT_TRUE(sub);
    EXPECT_EQ(sub->size(), 2 + 2 * 32u);
    EXPECT_EQ(Text(*sub, 2, 11), ".          ");
    EXPECT_EQ(Text(*sub, 34, 11), "..         ");
    EXPECT_TRUE(client.Request(69, {}, 0));
    // A kind-1 device makes no directories; asked with a full answer, it says so.
    const auto mkdir = client.Request(70, Name12("NEW", "", 0x10));
    ASSERT_TRUE(mkdir);
    EXPECT_NE(StatusOf(*mkdir), 0);
    EXPECT_FALSE(fs::exists(root.path / "NEW"));

    EXPECT_EQ(device.Stop(), 0); // SIGTERM ends it cleanly
    EXPECT_NE(device.output().find("stopped"), std::string::npos);
}

TEST(ServeTest, WritesCheckBlockNumbersAndDiskSpaceAndNamesStayInside) {
    TempDir root;
    fs::create_directory(root.path / "DISK");
    DeviceProcess device((root.path / "DISK").string(), {"--disk-size", "1000"});
    DeviceClient<> client(device.port);

    const auto create = client.Request(74, Name12("UP", "BIN", 0x20));
    ASSERT_TRUE(create);
    ASSERT_EQ(StatusOf(*create), 0);
    const uint32_t h = U32At(*create, 2);
    const auto ok = client.Request(73, WritePayload(h, 0, std::string(512, 'u')));
    ASSERT_TRUE(ok);
    EXPECT_EQ(StatusOf(*ok), 0);
    const auto wrong = client.Request(73, WritePayload(h, 3, std::string(512, 'u')));
    ASSERT_TRUE(wrong);
    EXPECT_EQ(StatusOf(*wrong), 2);
    EXPECT_EQ(U32At(*wrong, 2), 1u);
    const auto full = client.Request(73, WritePayload(h, 1, std::string(512, 'u')));
    ASSERT_TRUE(full);
    EXPECT_EQ(StatusOf(*full), 5);
    EXPECT_TRUE(client.Request(76, U32s({h}), 0));
    EXPECT_EQ(fs::file_size(root.path / "DISK" / "UP.BIN"), 512u);

    for (const Bytes& name : {Name12("..", "", 0x10), Name12("../UP", "", 0x10), Name12("A/B", "", 0x10)}) {
        const auto cd = client.Request(68, name);
        ASSERT_TRUE(cd);
        EXPECT_NE(StatusOf(*cd), 0);
        const auto made = client.Request(74, name);
        ASSERT_TRUE(made);
        EXPECT_NE(StatusOf(*made), 0);
    }
    const auto unknown = client.Request(99, {1, 2});
    ASSERT_TRUE(unknown);
    EXPECT_NE(StatusOf(*unknown), 0);
    EXPECT_EQ(std::distance(fs::directory_iterator(root.path), fs::directory_iterator{}), 1);
}

TEST(ServeTest, MisbehavesOnPurposeAsManyTimesAsAsked) {
    TempDir root;
    WriteFile(root.path / "A.TXT", "a");
    DeviceProcess device(root.path.string(), {"--fail", "75=3:1", "--no-answer", "65:1", "--fail", "73=2"});
    DeviceClient<> client(device.port);

    const auto failed = client.Request(75, Name12("A", "TXT", 0x20));
    ASSERT_TRUE(failed);
    EXPECT_EQ(StatusOf(*failed), 3);
    const auto opened = client.Request(75, Name12("A", "TXT", 0x20));
    ASSERT_TRUE(opened);
    EXPECT_EQ(StatusOf(*opened), 0);

    EXPECT_FALSE(client.Request(65)); // six transmissions, no answer
    EXPECT_TRUE(client.Request(65));

    const auto create = client.Request(74, Name12("B", "BIN", 0x20));
    ASSERT_TRUE(create);
    const auto wrong = client.Request(73, WritePayload(U32At(*create, 2), 0, "x"));
    ASSERT_TRUE(wrong);
    EXPECT_EQ(StatusOf(*wrong), 2);
    EXPECT_EQ(U32At(*wrong, 2), 0u); // the block not taken is still the one expected
}

TEST(ServeTest, AnswersGoToEachSenderAlsoThroughTheRelay) {
    TempDir root;
    WriteFile(root.path / "A.TXT", std::string(700, 'a'));
    DeviceProcess device(root.path.string());
    device::ProxyOptions o;
    o.targetAddr = htonl(INADDR_LOOPBACK);
    o.targetWirePort = velnet::WirePortFromValue(device.port);
    o.drop = 0.2;
    o.dup = 0.2;
    o.seed = 11;
    device::UdpProxy proxy(o);
    struct Relay {
        device::UdpProxy& proxy;
        std::thread thread{[this] { proxy.Run(); }};
        ~Relay() {
            proxy.Stop();
            thread.join();
        }
    } relay{proxy};

    DeviceClient<> direct(device.port);
    DeviceClient<3> relayed(velnet::ValueFromWirePort(proxy.ListenWirePort()));
    // Through a lossy relay a lost answer fails an exchange now and then; the client's own retry is
    // to ask again, and a duplicated request must not change the outcome.
    int failures = 0;
    for (int i = 0; i < 20; ++i) {
        const auto viaRelay = relayed.Request(75, Name12("A", "TXT", 0x20));
        if (!viaRelay) {
            ++failures;
            continue;
        }
        ASSERT_EQ(viaRelay->size(), 10u);
        EXPECT_EQ(StatusOf(*viaRelay), 0);
        EXPECT_EQ(U32At(*viaRelay, 6), 700u);
        const uint32_t h = U32At(*viaRelay, 2);
        const auto fromDirect = direct.Request(72, U32s({h, 1}));
        ASSERT_TRUE(fromDirect);
        EXPECT_EQ(fromDirect->size(), 4 + 188u);
        for (int tries = 0; tries < 10 && !relayed.Request(76, U32s({h}), 0); ++tries)
            ++failures;
    }
    EXPECT_LT(failures, 20);
    EXPECT_GT(proxy.Counts().dropped, 0u);
}

} // namespace
} // namespace zarno::testing
