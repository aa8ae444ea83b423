// The simulator's command lines and its misbehaviour rules.

#include "device/command_line.h"
#include "device/misbehaviour.h"

#include "app/remotedisk/disk_protocol.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace zarno::device {
namespace {

TEST(CommandLineTest, ServeOptionsAreParsedOrRefusedWithAReason) {
    const std::string root = std::filesystem::temp_directory_path().string();
    std::string error;
    const auto udp = ParseServeArgs({"--root", root, "--udp", "6768", "--kind", "1", "--disk-size", "0x1000",
                                     "--label", "SITE", "--delay-ms", "300", "--verbose"},
                                    &error);
    ASSERT_TRUE(udp) << error;
    EXPECT_EQ(udp->udpPort, 6768u);
    EXPECT_FALSE(udp->serial);
    EXPECT_EQ(udp->disk.kind, 1);
    EXPECT_EQ(udp->disk.diskSize, 4096u);
    EXPECT_EQ(udp->disk.label, "SITE");
    EXPECT_EQ(udp->delayMs, 300u);
    EXPECT_TRUE(udp->verbose);

    const auto serial =
        ParseServeArgs({"--root", root, "--serial", "pty", "--line-addr", "7", "--speed", "57600"}, &error);
    ASSERT_TRUE(serial) << error;
    EXPECT_EQ(serial->serial->port, "pty");
    EXPECT_EQ(serial->serial->lineAddr, 7u);
    EXPECT_EQ(serial->serial->speed, 57600u);
    EXPECT_EQ(ParseServeArgs({"--root", root, "--serial", "COM2"}, &error)->serial->lineAddr, 2u);
    // The disk is a memory card of realistic size unless the host's file system is asked for.
    EXPECT_EQ(serial->disk.diskSize, kDefaultCardBytes);
    EXPECT_FALSE(ParseServeArgs({"--root", root, "--udp", "6768", "--disk-size", "host"}, &error)->disk.diskSize);

    const std::vector<std::vector<std::string>> bad = {
        {"--udp", "6768"},                                     // no root
        {"--root", "/nonexistent/dir", "--udp", "6768"},       // root missing
        {"--root", root},                                      // no link
        {"--root", root, "--udp", "1", "--serial", "COM1"},    // two links
        {"--root", root, "--udp", "0"},                        // port out of range
        {"--root", root, "--udp", "70000"},                    //
        {"--root", root, "--udp", "12ab"},                     // not a number
        {"--root", root, "--udp"},                             // value missing
        {"--root", root, "--udp", "1", "--fail", "73"},        // rule without status
        {"--root", root, "--udp", "1", "--no-answer", "65:0"}, // count of 0
        {"--root", root, "--udp", "1", "--label", std::string(33, 'L')},
        {"--root", root, "--udp", "1", "--bogus"},
    };
    for (const auto& args : bad) {
        SCOPED_TRACE(testing::PrintToString(args));
        error.clear();
        EXPECT_FALSE(ParseServeArgs(args, &error));
        EXPECT_FALSE(error.empty());
    }
}

TEST(CommandLineTest, ProxyOptions) {
    std::string error;
    const auto p = ParseProxyArgs({"--listen", "6767", "--to", "127.0.0.1:6768", "--drop", "0.1", "--dup",
                                   "0.05", "--delay-ms", "20", "--seed", "9"},
                                  &error);
    ASSERT_TRUE(p) << error;
    EXPECT_EQ(p->listenWirePort, 28442);
    EXPECT_EQ(p->targetWirePort, 28698);
    EXPECT_DOUBLE_EQ(p->drop, 0.1);
    EXPECT_DOUBLE_EQ(p->dup, 0.05);
    EXPECT_EQ(p->delayMs, 20u);
    EXPECT_EQ(p->seed, 9u);
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--to", "127.0.0.1:6768"},
             {"--listen", "6767"},
             {"--listen", "6767", "--to", "127.0.0.1:6768", "--drop", "1.5"},
             {"--listen", "6767", "--to", "127.0.0.1:6768", "--dup", "-0.1"},
             {"--listen", "6767", "--to", "127.0.0.1:6768", "--drop", "0.1x"},
         }) {
        SCOPED_TRACE(testing::PrintToString(args));
        EXPECT_FALSE(ParseProxyArgs(args, &error));
    }
}

TEST(MisbehaviourTest, RulesFireForTheirCountOrForEver) {
    Misbehaviour m;
    ASSERT_TRUE(m.AddFailure("75=2:2"));
    ASSERT_TRUE(m.AddFailure("72=0xFFFF"));
    ASSERT_TRUE(m.AddSilence("65:1"));
    EXPECT_EQ(m.TakeFailure(75), 2);
    EXPECT_EQ(m.TakeFailure(75), 2);
    EXPECT_EQ(m.TakeFailure(75), std::nullopt);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(m.TakeFailure(72), 0xFFFF);
    EXPECT_EQ(m.TakeFailure(73), std::nullopt);
    EXPECT_TRUE(m.TakeSilence(65));
    EXPECT_FALSE(m.TakeSilence(65));
    for (const char* bad : {"", "=1", "75=", "75=x", "75=70000", "75=1:", "75=1:0", "75=1:x", "x=1"})
        EXPECT_FALSE(m.AddFailure(bad)) << bad;
    for (const char* bad : {"", "x", "65:", "65:0", "70000"})
        EXPECT_FALSE(m.AddSilence(bad)) << bad;
}

TEST(MisbehaviourTest, DeathComesWithTheLastCountedAnswer) {
    Misbehaviour m;
    ASSERT_TRUE(m.AddDeath("73:3"));
    EXPECT_FALSE(m.TakeDeath(73));
    EXPECT_FALSE(m.TakeDeath(76));
    EXPECT_FALSE(m.TakeDeath(73));
    EXPECT_TRUE(m.TakeDeath(73));
    for (const char* bad : {"73", "73:0", "x:1", ":1"})
        EXPECT_FALSE(m.AddDeath(bad)) << bad;
}

TEST(MisbehaviourTest, LiesTouchOnlyTheAnswersTheyAreAbout) {
    Misbehaviour m;
    m.openLength = 100;
    m.garbleNames = true;
    std::vector<uint8_t> open = {0, 0, 7, 0, 0, 0, 0x88, 0x13, 0, 0}; // handle 7, 5000 bytes
    m.Distort(kCodeOpen, open);
    EXPECT_EQ(open, (std::vector<uint8_t>{0, 0, 7, 0, 0, 0, 100, 0, 0, 0}));
    std::vector<uint8_t> refused = {2, 0};
    m.Distort(kCodeOpen, refused);
    EXPECT_EQ(refused, (std::vector<uint8_t>{2, 0}));

    std::vector<uint8_t> listing = {0xFF, 0xFF};
    for (const char* name : {"..         ", "P01     DDB"}) {
        listing.insert(listing.end(), name, name + 11);
        listing.resize(listing.size() + 21, 0);
    }
    m.Distort(kCodeReadDirectory, listing);
    EXPECT_EQ(std::string(listing.begin() + 2, listing.begin() + 13), "..         ");
    EXPECT_EQ(std::string(listing.begin() + 34, listing.begin() + 45), "P\x1B" "1     DDB");
}

} // namespace
} // namespace zarno::device
