// "VARY.ini" and "FILTER.ini" beside a recording: only regular files are read, and a write that
// fails leaves the file that was there.

#include "app/dsp/filter_settings.h"
#include "app/dsp/gain.h"

#include "tests/support/full_disk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <functional>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

using namespace zarno::dsp;
using zarno::testing::FileSizeLimit;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Runs load; when it has not returned after a generous while it is stuck on the FIFO: a writer that
// opens and closes the FIFO lets it go, and the test fails.
bool ReturnsWithoutWaiting(const std::function<void()>& load, const QString& fifo) {
    auto done = std::async(std::launch::async, load);
    if (done.wait_for(std::chrono::seconds(20)) == std::future_status::ready)
        return true;
    const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0)
        ::close(fd);
    done.wait();
    return false;
}

TEST(SettingsFiles, ANameThatIsNoRegularFileGivesTheDefaults) {
    QTemporaryDir tmp;
    const QString dir = tmp.path() + "/";
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir + "VARY.ini").constData(), 0600), 0);
    ASSERT_TRUE(QDir(dir).mkdir("FILTER.ini"));
    for (const MissingFile missing : {MissingFile::Leave, MissingFile::Create}) {
        SCOPED_TRACE(int(missing));
        GainSetting gain;
        EXPECT_TRUE(ReturnsWithoutWaiting([&] { gain = LoadVaryFile(dir, 4, missing); }, dir + "VARY.ini"));
        EXPECT_EQ(gain.points, 4);
        EXPECT_EQ(gain.curve, std::vector<double>(4, 1.0));

        FilterSettings filter{}, defaults{};
        SetFilterDefaults(defaults);
        LoadFilterFile(dir, filter, missing);
        EXPECT_EQ(FilterBytes(filter), FilterBytes(defaults));
    }
    EXPECT_FALSE(QFileInfo(dir + "VARY.ini").isFile()); // left as it was, never replaced
    EXPECT_TRUE(QFileInfo(dir + "FILTER.ini").isDir());
}

TEST(SettingsFiles, AFailedWriteKeepsTheOldFile) {
    QTemporaryDir tmp;
    const QString dir = tmp.path() + "/";
    for (const char* name : {"VARY.ini", "FILTER.ini"}) {
        QFile old(dir + name);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    }
    GainSetting gain;
    gain.points = 4096;
    gain.curve.assign(4096, 2.0);
    FilterSettings filter{};
    SetFilterDefaults(filter);
    {
        const FileSizeLimit limit(1024); // below both: 8 + 8 * 4096 and 2452 bytes
        EXPECT_FALSE(SaveVaryFile(dir, gain));
        EXPECT_FALSE(SaveFilterFile(dir, filter));
    }
    EXPECT_EQ(ReadAll(dir + "VARY.ini"), "old");
    EXPECT_EQ(ReadAll(dir + "FILTER.ini"), "old");
    EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden), (QStringList{"FILTER.ini", "VARY.ini"}));
}

} // namespace
