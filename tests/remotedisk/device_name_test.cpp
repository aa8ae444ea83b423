// What a name on the instrument may be: the program's check, the bytes it sends for a name that
// passes, and the simulated instrument's reading of those bytes agree.
#include "app/remotedisk/device_name.h"
#include "device/fat_name.h"

#include <gtest/gtest.h>

#include <span>

namespace zarno {
namespace {

std::optional<device::ShortName> InstrumentReads(const DeviceName& sent) {
    return device::ParseShortName(std::span<const uint8_t, 11>(sent.data(), 11));
}

TEST(DeviceNames, OneRuleForTheProgramAndTheInstrument) {
    const struct {
        const char* name;
        bool file;
        bool directory;
    } cases[] = {
        {"DATA.DDB", true, false},
        {"data", true, true},
        {"ABCDEFGH.TXT", true, false},
        {"NAME.", true, false}, // sent as "NAME" with a blank extension
        {"$%'-_@~`", true, true},
        {"(){}^#&!.X", true, false},
        {"ABCDEFGHI", false, false},
        {"LONGFILENAME.DDB", false, false},
        {"A.TEXT", false, false},
        {"READ.ME.TXT", false, false},
        {".PROFILE", false, false},
        {"", false, false},
        {".", false, false},
        {"..", false, false},
        {"A B", false, false},
        {"A*B", false, false},
        {"A+B", false, false},
        {"a/b.txt", false, false},
        {"/etc/x", false, false},
        {"A\\B", false, false},
        {"C:", false, false},
        {"A\tB", false, false},
    };
    for (const auto& c : cases) {
        const QString name = QString::fromLatin1(c.name);
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FitsDeviceName(name), c.file);
        EXPECT_EQ(FitsDeviceDirectoryName(name), c.directory);
        if (c.file) {
            EXPECT_TRUE(InstrumentReads(NewFileDeviceName(name)));
        } else {
            EXPECT_FALSE(device::ShortNameOf(c.name)) << "the instrument serves no entry of this name";
        }
        if (c.directory) {
            EXPECT_TRUE(InstrumentReads(DirectoryDeviceName(name)));
        }
    }
    EXPECT_FALSE(FitsDeviceName(QStringLiteral("ДАННЫЕ")));
    EXPECT_FALSE(FitsDeviceName(QString("AB") + QChar(u'\0') + "C"));
}

TEST(DeviceNames, FormsSentToTheInstrument) {
    const DeviceName file = NewFileDeviceName("Data.dd");
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(file.data()), 11), "Data    dd ") << "taken as typed";
    EXPECT_EQ(file[11], kNewFileAttribute);
    const DeviceName dir = DirectoryDeviceName("RECORDINGS");
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(dir.data()), 11), "RECORDIN   ");
    EXPECT_EQ(dir[11], kDirectoryAttribute);
    const auto read = InstrumentReads(NewFileDeviceName("Data.dd"));
    ASSERT_TRUE(read);
    EXPECT_EQ(device::DiskNameOf(*read), "DATA.DD") << "the instrument keeps names upper case";
}

} // namespace
} // namespace zarno
