#include "transport/com_settings.h"

#include "tests/support/temp_config.h"

#include <QSettings>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

using namespace velnet;

namespace {

TEST(ComSettings, BlockGivesNameAndDcbWithItsLengthForced) {
    DCB dcb = MakeDcb(57600, 7, kEvenParity, kTwoStopBits);
    dcb.DCBlength = 0; // hosts may leave it unset
    uint8_t block[kComSettingsBlockBytes];
    BuildComSettingsBlock("COM2", dcb, block);
    // Windows DCB layout: rate at 4, flags at 8, byte size, parity, stop bits at 18, 19, 20.
    EXPECT_EQ(std::memcmp(block, "COM2", 4), 0);
    const uint8_t rate[] = {0x00, 0xE1, 0x00, 0x00};
    EXPECT_EQ(std::memcmp(block + 4 + 4, rate, 4), 0);
    EXPECT_EQ(block[4 + 18], 7);
    EXPECT_EQ(block[4 + 19], kEvenParity);
    EXPECT_EQ(block[4 + 20], kTwoStopBits);

    ComSettings settings;
    ASSERT_TRUE(ParseComSettingsBlock(block, sizeof block, settings));
    EXPECT_EQ(settings.portName, "COM2");
    EXPECT_EQ(settings.dcb.DCBlength, 28u);
    EXPECT_EQ(settings.dcb.BaudRate, 57600u);
    EXPECT_EQ(settings.dcb.ByteSize, 7);

    // A name fills all four characters: there is no terminating NUL in the block, and the name ends
    // at four characters.
    BuildComSettingsBlock("COM12345", dcb, block);
    ASSERT_TRUE(ParseComSettingsBlock(block, sizeof block, settings));
    EXPECT_EQ(settings.portName, "COM1");

    ComSettings untouched;
    untouched.portName = "keep";
    EXPECT_FALSE(ParseComSettingsBlock(block, sizeof block - 1, untouched));
    EXPECT_FALSE(ParseComSettingsBlock(nullptr, sizeof block, untouched));
    EXPECT_EQ(untouched.portName, "keep");
}

TEST(ComSettings, ConfigRecordHasTheWindowsLayout) {
    const COMMCONFIG config = MakeCommConfig(MakeDcb(115200));
    uint8_t bytes[sizeof config];
    std::memcpy(bytes, &config, sizeof config);
    EXPECT_EQ(sizeof config, 52u);
    EXPECT_EQ(bytes[0], 52);
    EXPECT_EQ(bytes[8], 28) << "the DCB follows size, version and reserved";
    const uint8_t rate[] = {0x00, 0xC2, 0x01, 0x00};
    EXPECT_EQ(std::memcmp(bytes + 12, rate, 4), 0);
    EXPECT_EQ(bytes[36], kProviderRs232);
}

TEST(ComSettings, AnswerTimeAndCharacterInterval) {
    struct Case {
        uint32_t baud;
        uint8_t byteSize;
        uint32_t answerMs, intervalMs;
    };
    const Case cases[] = {
        {115200, 8, 1076, 14},
        {57600, 8, 1152, 28},
        {9600, 8, 1913, 167},
        // 1096000 / 16000 = 68.5 and 200000 / 16000 = 12.5: ties go to the even neighbour.
        {128000, 8, 1068, 12},
        // 2.5 ms rounds down to 2, 0.46 to 0.
        {2192000, 5, 1002, 0},
        {256000, 8, 1034, 6},
        {76800, 8, 1114, 21},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.baud);
        ComTimings t{};
        ASSERT_TRUE(ComputeComTimings(MakeDcb(c.baud, c.byteSize), t));
        EXPECT_EQ(t.answerTimeMs, c.answerMs);
        EXPECT_EQ(t.charIntervalMs, c.intervalMs);
    }
    ComTimings t{};
    EXPECT_FALSE(ComputeComTimings(MakeDcb(0), t));
    EXPECT_FALSE(ComputeComTimings(MakeDcb(9600, 0), t));
}

TEST(ComSettings, RoundHalfEven) {
    const std::pair<double, double> cases[] = {{0.5, 0},    {1.5, 2},    {2.5, 2},
                                               {2.4999, 2}, {2.5001, 3}, {3.0, 3}};
    for (auto [in, out] : cases)
        EXPECT_EQ(RoundHalfEven(in), out) << in;
}

TEST(ComSettings, DevicePathFromEnvironmentSettingsOrDefault) {
    zarno::testing::TempConfigHome home;
    unsetenv("VELNET_COM1");
    unsetenv("VELNET_COM2");
    EXPECT_EQ(ComDevicePath("COM1"), "/dev/ttyS0");
    EXPECT_EQ(ComDevicePath("COM2"), "/dev/ttyS1");
    {
        QSettings settings("Mervo", "Common");
        settings.setValue("Ports/COM1", "/dev/ttyUSB0");
        settings.sync();
    }
    EXPECT_EQ(ComDevicePath("COM1"), "/dev/ttyUSB0");
    EXPECT_EQ(ComDevicePath("com1"), "/dev/ttyUSB0");
    EXPECT_EQ(ComDevicePath("COM1 and more"), "/dev/ttyUSB0") << "only four characters count";
    setenv("VELNET_COM1", "/dev/pts/77", 1);
    EXPECT_EQ(ComDevicePath("COM1"), "/dev/pts/77") << "the environment wins";
    EXPECT_EQ(ComDevicePath("COM2"), "/dev/ttyS1");
    unsetenv("VELNET_COM1");
    EXPECT_EQ(ComDevicePath("COM3"), "/dev/ttyS2");
    for (const char* name : {"", "COM", "COM0", "LPT1", "/dev/ttyS0"})
        EXPECT_EQ(ComDevicePath(name), "") << name;
}

} // namespace
