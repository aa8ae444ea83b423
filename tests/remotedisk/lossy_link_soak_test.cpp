// Soak: the whole client stack through a relay that loses 10% and duplicates 5% of the datagrams in
// both directions. 200 files of mixed sizes (0 to 200 KB, DDB recordings among them) are downloaded,
// the recordings also as SEG-Y, and all are uploaded again; every copy must be byte-identical and no
// partial file may be left on either side. The work is split into four shards (separate test
// processes) so that the relay's waits overlap.

#include "app/formats/ddb_to_sgy.h"
#include "app/remotedisk/remote_device.h"
#include "device/sample_set.h"
#include "device/udp_proxy.h"

#include "tests/support/loopback_link.h"
#include "tests/support/device_process.h"
#include "tests/support/qt_app.h"
#include "tests/support/recording_prompts.h"
#include "tests/support/temp_config.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <thread>

using namespace zarno;
using namespace zarno::testing;

namespace {

constexpr int kFiles = 200;
constexpr int kShards = 4;
constexpr int kAttempts = 4; // a user tries a failed copy again; the link may lose a whole exchange

struct SoakFile {
    QString name;
    QByteArray content;
    bool recording = false;
};

// The file set, the same on every run: one of 200 KB, every 25th one of 20 to 40 KB, every 7th
// empty, every 5th a short DDB recording, the rest up to 3000 bytes (block boundaries among them).
std::vector<SoakFile> FileSet() {
    std::mt19937 random(20261209);
    std::vector<SoakFile> files;
    for (int i = 0; i < kFiles; ++i) {
        SoakFile f;
        if (i % 5 == 4) {
            device::SampleRecording r;
            r.spec.samples = 128 + 64 * uint32_t(i % 3);
            r.spec.lengthM = 6 + i % 7;
            r.channels = uint16_t(1 + i % 2);
            r.format = i % 2 ? 5 : 2;
            const auto bytes = device::EncodeRecording(r, size_t(i));
            f.content = QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
            f.name = QString("R%1.DDB").arg(i, 3, 10, QChar('0'));
            f.recording = true;
        } else {
            size_t size = random() % 3000;
            if (i == 0)
                size = 200 * 1024;
            else if (i % 25 == 0)
                size = 20 * 1024 + random() % (20 * 1024);
            else if (i % 7 == 0)
                size = 0;
            f.content.resize(qsizetype(size));
            for (auto& c : f.content)
                c = char(random());
            f.name = QString("F%1.BIN").arg(i, 3, 10, QChar('0'));
        }
        files.push_back(f);
    }
    return files;
}

QByteArray Sha256(const QByteArray& data) { return QCryptographicHash::hash(data, QCryptographicHash::Sha256); }

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray ConvertedAsDownloaded(const QByteArray& ddb) {
    DDBToSGYConverter converter(SGYTextVariant::Device);
    QBuffer out;
    out.open(QIODevice::ReadWrite);
    if (converter.pushHeaderBlock(QByteArrayView(ddb).first(512)) != DDBHeaderCheck::Ok || !converter.begin(out))
        return {};
    for (qsizetype at = 512; at < ddb.size(); at += 512)
        converter.pushDataBlock(QByteArrayView(ddb).sliced(at, std::min<qsizetype>(512, ddb.size() - at)));
    return converter.finish() ? out.data() : QByteArray();
}

class LossyLinkSoak : public ::testing::TestWithParam<int> {};

TEST_P(LossyLinkSoak, EveryCopyIsWholeAndNothingIsLeftHalfWritten) {
    EnsureCoreApp();
    TempConfigHome home;
    HideComPorts();
    QTemporaryDir root, local;
    QDir(root.path()).mkdir("UP");
    std::vector<SoakFile> mine;
    for (const SoakFile& f : FileSet())
        if (f.name.mid(1, 3).toInt() % kShards == GetParam())
            mine.push_back(f);
    for (const SoakFile& f : mine) {
        QFile out(root.filePath(f.name));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(f.content);
    }

    DeviceProcess instrument(root.path().toStdString());
    device::ProxyOptions o;
    o.targetAddr = htonl(INADDR_LOOPBACK);
    o.targetWirePort = velnet::WirePortFromValue(instrument.port);
    o.drop = 0.10;
    o.dup = 0.05;
    o.seed = uint64_t(GetParam()) + 1;
    device::UdpProxy proxy(o);
    std::thread relay([&] { proxy.Run(); });

    RecordingPrompts prompts;
    prompts.yesNoAnswers.assign(100000, true); // every retry question: Yes
    CRemoteDevice device(CTransportLink::Instance(), prompts);
    ASSERT_EQ(ConnectOverLoopback(device, velnet::ValueFromWirePort(proxy.ListenWirePort())), 1);

    // A copy tried again until it works, as a user would; how often that was needed is reported.
    int retries = 0;
    const auto withRetries = [&](const std::function<int()>& copy) {
        for (int attempt = 0; attempt < kAttempts; ++attempt) {
            if (copy() == 1)
                return true;
            ++retries;
        }
        return false;
    };
    const auto entryOf = [&](const QString& name) -> std::optional<DeviceName> {
        for (int attempt = 0; attempt < kAttempts; ++attempt) {
            device.Listing().clear();
            if (device.ChangeDirectory("z:\\") == 1 && device.ReadDirectory("z:\\") == 1)
                for (const auto& e : device.Listing())
                    if (e->fileName == name)
                        return e->deviceName;
            ++retries;
        }
        return std::nullopt;
    };

    for (const SoakFile& f : mine) {
        SCOPED_TRACE(f.name.toStdString());
        if (f.content.isEmpty())
            continue; // an empty file on the instrument is not copied (it says so)
        const auto name = entryOf(f.name);
        ASSERT_TRUE(name) << "listing failed; last message: "
                          << (prompts.texts().empty() ? "" : prompts.texts().back().toStdString());
        ASSERT_TRUE(withRetries([&] { return device.CopyFromDevice(*name, local.filePath(f.name)); }));
        EXPECT_EQ(Sha256(ReadFile(local.filePath(f.name))), Sha256(f.content));
        if (f.recording) {
            const QString sgy = local.filePath(f.name.left(4) + ".sgy");
            ASSERT_TRUE(withRetries([&] { return device.CopyFromDeviceAsSgy(*name, sgy); }));
            EXPECT_EQ(Sha256(ReadFile(sgy)), Sha256(ConvertedAsDownloaded(f.content)));
        }
    }
    for (const SoakFile& f : mine) {
        SCOPED_TRACE(f.name.toStdString());
        QFile source(local.filePath("up-" + f.name));
        ASSERT_TRUE(source.open(QIODevice::WriteOnly));
        source.write(f.content);
        source.close();
        ASSERT_TRUE(withRetries([&] {
            return device.ChangeDirectory("UP") == 1 ? device.CopyToDevice(source.fileName(), NewFileDeviceName(f.name)) : 0;
        }));
        device.ChangeDirectory("z:\\");
        EXPECT_EQ(Sha256(ReadFile(root.filePath("UP/" + f.name))), Sha256(f.content));
    }
    device.Disconnect();
    proxy.Stop();
    relay.join();

    // Exactly the expected files on both sides: nothing partial, no temporary left behind.
    size_t expectedLocal = 0;
    for (const SoakFile& f : mine)
        expectedLocal += 1u + (f.content.isEmpty() ? 0u : 1u) + (f.recording ? 1u : 0u);
    EXPECT_EQ(size_t(QDir(local.path()).entryList(QDir::Files | QDir::Hidden).size()), expectedLocal);
    EXPECT_EQ(size_t(QDir(root.filePath("UP")).entryList(QDir::Files | QDir::Hidden).size()), mine.size());
    EXPECT_GT(proxy.Counts().dropped, 0u);
    EXPECT_GT(proxy.Counts().duplicated, 0u);
    std::printf("shard %d: %zu files, %d copies tried again, relay %llu dropped / %llu duplicated\n", GetParam(),
                mine.size(), retries, static_cast<unsigned long long>(proxy.Counts().dropped),
                static_cast<unsigned long long>(proxy.Counts().duplicated));
}

INSTANTIATE_TEST_SUITE_P(Shards, LossyLinkSoak, ::testing::Range(0, kShards));

} // namespace
