// The instrument client against a scripted instrument over loopback UDP: answer parsing, the
// listing's pagination, statuses and their messages, block transfers, and the exchange's failures.

#include "app/remotedisk/listing_answer.h"
#include "app/remotedisk/remote_device.h"
#include "app/remotedisk/transfer_cancel.h"
#include "app/remotedisk/wire_fields.h"
#include "app/shell/persistent_settings.h"

#include "tests/support/loopback_link.h"
#include "tests/support/qt_app.h"
#include "tests/support/recording_prompts.h"
#include "tests/support/scripted_device.h"
#include "tests/support/temp_config.h"

#include <atomic>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstring>
#include <thread>

using namespace zarno;
using namespace zarno::testing;

namespace {

Bytes Entry(const char* name, const char* ext, uint8_t attr, uint32_t size, uint16_t date = 0x5A21,
            uint16_t time = 0x6000) {
    Bytes e(32, 0);
    std::memset(e.data(), ' ', 11);
    std::memcpy(e.data(), name, std::min<size_t>(strlen(name), 8));
    std::memcpy(e.data() + 8, ext, std::min<size_t>(strlen(ext), 3));
    e[11] = attr;
    e[22] = uint8_t(time);
    e[23] = uint8_t(time >> 8);
    e[24] = uint8_t(date);
    e[25] = uint8_t(date >> 8);
    const Bytes s = U32Bytes(size);
    std::copy(s.begin(), s.end(), e.begin() + 28);
    return e;
}

class RemoteDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureCoreApp();
        HideComPorts();
        AimAtLoopback(device, instrument.port());
        instrument.AimAt(device.Settings().localPort);
        ASSERT_EQ(device.ConnectNetwork(), 1)
            << (prompts.texts().empty() ? "" : prompts.texts()[0].toStdString());
    }

    // The file names of the listing, in list order.
    std::vector<QString> Names() {
        std::vector<QString> names;
        for (const auto& e : device.Listing())
            names.push_back(e->fileName);
        return names;
    }

    TempConfigHome home;
    ScriptedDevice instrument;
    RecordingPrompts prompts;
    CRemoteDevice device{CTransportLink::Instance(), prompts};
};

class Counter final : public Progress {
public:
    void setRange(qint64 total) override { range = total; }
    void setValue(qint64 done) override { values.push_back(done); }
    qint64 range = -1;
    std::vector<qint64> values;
};

TEST_F(RemoteDeviceTest, ListingFollowsContinuationsAndBuildsEntries) {
    int answers = 0;
    const auto page = [&](const Bytes&) -> std::optional<Bytes> {
        ++answers;
        if (answers == 1) {
            Bytes a = U16Bytes(0xFFFF);
            for (const Bytes& e :
                 {Entry(".", "", 0x10, 0), Entry("..", "", 0x10, 0), Entry("DATA", "DDB", 0x20, 1000),
                  Entry("REC", "", 0x10, 0), Entry("ODD", "XY", 0x30, 5)})
                a.insert(a.end(), e.begin(), e.end());
            return a;
        }
        return Concat({U16Bytes(0), Entry("README", "", 0x20, 7, 0, 0)});
    };
    instrument.On(kCodeReadDirectory, page);
    instrument.On(kCodeReadDirectoryMore, page);
    Counter counter;
    ASSERT_EQ(device.ReadDirectory("z:\\REC", &counter), 1);
    EXPECT_EQ(instrument.Codes(), (std::vector<uint16_t>{66, 67}));
    EXPECT_EQ(Names(), (std::vector<QString>{"README", "ODD.XY", "REC", "DATA.DDB", ".."}))
        << "newest first, '.' left out";
    EXPECT_EQ(counter.values, (std::vector<qint64>{1, 2, 3, 4, 5}));

    std::map<QString, const CFileEntry*> byName;
    for (const auto& e : device.Listing())
        byName[e->fileName] = e.get();
    EXPECT_TRUE(byName[".."]->isDirectory);
    EXPECT_EQ(byName[".."]->typeText, "<Dir>");
    EXPECT_EQ(byName["DATA.DDB"]->fullPath, "z:\\REC\\DATA.DDB");
    EXPECT_EQ(byName["DATA.DDB"]->size, 1000u);
    EXPECT_EQ(byName["DATA.DDB"]->lastChange, QDateTime(QDate(2025, 1, 1), QTime(12, 0, 0)));
    EXPECT_FALSE(byName["ODD.XY"]->isDirectory) << "attribute 0x30 is not exactly a directory";
    EXPECT_EQ(byName["ODD.XY"]->typeText, "XY");
    EXPECT_EQ(byName["README"]->typeText, "");
    EXPECT_FALSE(byName["README"]->lastChange.isValid()) << "a FAT date of 0 makes no time";
    EXPECT_EQ(byName["README"]->deviceName[11], 0x20);
}

TEST_F(RemoteDeviceTest, RootListingPathsAndFailedListing) {
    instrument.On(kCodeReadDirectory, [](const Bytes&) {
        return Concat({U16Bytes(0), Entry("DATA", "DDB", 0x20, 1)});
    });
    ASSERT_EQ(device.ReadDirectory("z:\\"), 1);
    EXPECT_EQ(device.Listing().front()->fullPath, "z:\\DATA.DDB");

    device.Listing().clear();
    instrument.On(kCodeReadDirectory, [](const Bytes&) { return std::nullopt; }); // silent: delivery fails
    EXPECT_EQ(device.ReadDirectory("z:\\"), 0);
    const auto texts = prompts.texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "Ошибка доставки сообщения");
    EXPECT_EQ(texts[1], "Ошибка при попытке получения списка файлов!");
}

TEST_F(RemoteDeviceTest, DirectoryCommandsSendTheDirectoryNameForm) {
    EXPECT_EQ(device.ChangeDirectory("REC"), 1);
    EXPECT_EQ(device.ChangeDirectory(".."), 1);
    EXPECT_EQ(device.ChangeDirectory("Z:\\"), 1);
    EXPECT_EQ(device.MakeDirectory("NEWDIR"), 1);
    ASSERT_TRUE(instrument.WaitForRequests(4));
    const auto requests = instrument.Requests();
    ASSERT_EQ(requests.size(), 4u);
    const Bytes rec = {'R', 'E', 'C', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', 0x10};
    const Bytes up = {'.', '.', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', 0x10};
    EXPECT_EQ(requests[0], std::make_pair(uint16_t(68), rec));
    EXPECT_EQ(requests[1], std::make_pair(uint16_t(68), up));
    EXPECT_EQ(requests[2], std::make_pair(uint16_t(69), Bytes{}));
    EXPECT_EQ(requests[3].first, 70);
}

TEST_F(RemoteDeviceTest, OpenStatusesAndTheirMessages) {
    struct Case {
        uint16_t status;
        uint32_t length;
        int result;
        const char* message;
    };
    const Case cases[] = {
        {0, 1000, 1, nullptr},
        {0, 0, -4, "Файл на удаленном диске имеет нулевую длину!"},
        {1, 0, -1, "Файл на удаленном диске не доступен!"},
        {2, 0, -2, "Файл на удаленном диске не найден!"},
        {3, 0, -3, "Ошибка открытия файла на удаленном диске!"},
        {9, 0, -5, "Ошибка при работе с файлом на удаленном диске!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        prompts.records.clear();
        instrument.On(kCodeOpen, [&](const Bytes&) {
            return Concat({U16Bytes(c.status), U32Bytes(77), U32Bytes(c.length)});
        });
        const size_t before = instrument.Requests().size();
        uint32_t handle = 0, length = 0;
        EXPECT_EQ(device.OpenRemoteFile(NewFileDeviceName("DATA.DDB"), &handle, &length), c.result);
        if (c.message) {
            ASSERT_EQ(prompts.texts().size(), 1u);
            EXPECT_EQ(prompts.texts()[0], QString::fromUtf8(c.message));
        } else {
            EXPECT_EQ(handle, 77u);
            EXPECT_EQ(length, 1000u);
        }
        if (c.result == -4) {
            ASSERT_TRUE(instrument.WaitForRequests(before + 2));
        }
        const auto requests = instrument.Requests();
        const bool closed = requests.size() == before + 2 && requests.back().first == kCodeClose;
        EXPECT_EQ(closed, c.result == -4) << "a zero-length file is closed again";
    }
}

TEST_F(RemoteDeviceTest, WriteStatusesGiveTheExpectedBlock) {
    std::atomic<uint16_t> status{2};
    instrument.On(kCodeWriteBlock, [&](const Bytes& p) {
        EXPECT_EQ(p.size(), 522u);
        return Concat({U16Bytes(status.load()), U32Bytes(41)});
    });
    const uint8_t data[3] = {1, 2, 3};
    uint32_t expected = 0;
    EXPECT_EQ(device.WriteRemoteBlock(5, data, 42, 3, &expected), -2);
    EXPECT_EQ(expected, 41u);
    status = 7;
    EXPECT_EQ(device.WriteRemoteBlock(5, data, 42, 3, &expected), -2);
    EXPECT_EQ(expected, kNoBlockNumber) << "an unknown status names no block";
    status = 5;
    EXPECT_EQ(device.WriteRemoteBlock(5, data, 42, 3, &expected), -5);
    EXPECT_EQ(prompts.texts().back(), "Недостаточно места на удаленном диске для копирования файла!");
    const Bytes last = instrument.Requests().back().second;
    EXPECT_EQ(Bytes(last.begin(), last.begin() + 13),
              Concat({U32Bytes(5), U32Bytes(42), U16Bytes(3), {1, 2, 3}}));
}

// A little file system behind the scripted instrument: one file to read, one being written.
struct FileScript {
    Bytes content;
    Bytes written;
    std::vector<uint32_t> blocksRead;
    int failReadsOfBlock1 = 0; // how many times block 1 answers with a failure status
    int slowBlock = -1;        // this block's answer takes a while, so the user can act meanwhile
    bool created = false;

    void Install(ScriptedDevice& d) {
        d.On(kCodeOpen, [this](const Bytes&) {
            return Concat({U16Bytes(0), U32Bytes(9), U32Bytes(uint32_t(content.size()))});
        });
        d.On(kCodeReadBlock, [this](const Bytes& p) -> std::optional<Bytes> {
            const uint32_t block = wire::GetU32(p, 4);
            blocksRead.push_back(block);
            if (int(block) == slowBlock)
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
            if (block == 1 && failReadsOfBlock1 > 0) {
                --failReadsOfBlock1;
                return U16Bytes(3);
            }
            const size_t start = size_t(block) * 512, end = std::min(content.size(), start + 512);
            Bytes a = Concat({U16Bytes(0), U16Bytes(0)});
            a.insert(a.end(), content.begin() + long(start), content.begin() + long(end));
            if (a.size() % 2)
                a.push_back(0); // data travel in 16-bit words: an odd last block is padded
            return a;
        });
        d.On(kCodeCreate, [this](const Bytes&) {
            created = true;
            return Concat({U16Bytes(0), U32Bytes(4)});
        });
        d.On(kCodeWriteBlock, [this](const Bytes& p) {
            const uint32_t block = wire::GetU32(p, 4);
            const uint16_t n = wire::GetU16(p, 8);
            if (written.size() != size_t(block) * 512)
                return Concat({U16Bytes(2), U32Bytes(uint32_t(written.size() / 512))});
            written.insert(written.end(), p.begin() + 10, p.begin() + 10 + n);
            return U16Bytes(0);
        });
    }
};

Bytes Pattern(size_t n) {
    Bytes b(n);
    for (size_t i = 0; i < n; ++i)
        b[i] = uint8_t(i * 31 + 7);
    return b;
}

Bytes ReadAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray a = f.readAll();
    return Bytes(a.begin(), a.end());
}

TEST_F(RemoteDeviceTest, DownloadsInBlocksOf512) {
    QTemporaryDir dir;
    const struct {
        size_t size;
        std::vector<uint32_t> blocks;
    } cases[] = {{1000, {0, 1}}, {1024, {0, 1}}, {1025, {0, 1, 2}}, {1, {0}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        FileScript fs;
        fs.content = Pattern(c.size);
        fs.Install(instrument);
        Counter counter;
        const QString path = dir.filePath(QString("out%1.bin").arg(c.size));
        ASSERT_EQ(device.CopyFromDevice(NewFileDeviceName("DATA.DDB"), path, &counter), 1);
        EXPECT_EQ(ReadAll(path), fs.content);
        EXPECT_EQ(fs.blocksRead, c.blocks);
        EXPECT_EQ(counter.range, qint64(c.blocks.size()));
        EXPECT_EQ(counter.values.back(), counter.range);
    }
}

TEST_F(RemoteDeviceTest, YesToAFailedBlockRepeatsThatBlockAndNoLeavesNoFile) {
    QTemporaryDir dir;
    FileScript fs;
    fs.content = Pattern(1500);
    fs.failReadsOfBlock1 = 1;
    fs.Install(instrument);
    prompts.yesNoAnswers = {true};
    ASSERT_EQ(device.CopyFromDevice(NewFileDeviceName("DATA.DDB"), dir.filePath("a.bin")), 1);
    EXPECT_EQ(fs.blocksRead, (std::vector<uint32_t>{0, 1, 1, 2}));
    EXPECT_EQ(ReadAll(dir.filePath("a.bin")), fs.content);
    EXPECT_EQ(prompts.texts().back(), "Ошибка при выдачи блока данных с удаленного диска! Повторить?");

    fs.failReadsOfBlock1 = 1;
    prompts.yesNoAnswers = {false};
    EXPECT_EQ(device.CopyFromDevice(NewFileDeviceName("DATA.DDB"), dir.filePath("b.bin")), -5);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.bin"})
        << "nothing half-written is left";
}

TEST_F(RemoteDeviceTest, CancelDuringADownloadLeavesNoFileAndDoesNotOutliveIt) {
    QTemporaryDir dir;
    FileScript fs;
    fs.content = Pattern(5000);
    fs.slowBlock = 2;
    fs.Install(instrument);
    // The Cancel button is pressed while block 2's exchange runs the nested loop.
    class CancelAtTwo final : public Progress {
    public:
        void setRange(qint64) override {}
        void setValue(qint64 done) override {
            if (done == 2)
                QTimer::singleShot(0, [] { RequestTransferCancel(); });
        }
    } cancelAtTwo;
    EXPECT_EQ(device.CopyFromDevice(NewFileDeviceName("DATA.DDB"), dir.filePath("c.bin"), &cancelAtTwo), 2);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    ASSERT_TRUE(instrument.WaitForRequests(1 + 3 + 1)); // open, blocks 0 to 2, close
    EXPECT_EQ(instrument.Codes().back(), kCodeClose);
    fs.slowBlock = -1;
    ASSERT_EQ(device.CopyFromDevice(NewFileDeviceName("DATA.DDB"), dir.filePath("d.bin")), 1);
    EXPECT_EQ(ReadAll(dir.filePath("d.bin")), fs.content);
}

TEST_F(RemoteDeviceTest, UploadsAndResumesFromTheBlockTheInstrumentNames) {
    QTemporaryDir dir;
    const QString local = dir.filePath("up.bin");
    const Bytes content = Pattern(1300);
    {
        QFile f(local);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(reinterpret_cast<const char*>(content.data()), qint64(content.size()));
    }
    FileScript fs;
    fs.Install(instrument);
    ASSERT_EQ(device.CopyToDevice(local, NewFileDeviceName("UP.BIN")), 1);
    ASSERT_TRUE(instrument.WaitForRequests(1 + 3 + 1)); // create, three blocks, close
    EXPECT_EQ(fs.written, content);
    const auto codes = instrument.Codes();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), kCodeDelete), 0);

    // An empty file makes an empty remote file and sends no block.
    QFile empty(dir.filePath("empty"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    FileScript fs2;
    fs2.Install(instrument);
    const size_t before = instrument.Requests().size();
    ASSERT_EQ(device.CopyToDevice(empty.fileName(), NewFileDeviceName("EMPTY")), 1);
    ASSERT_TRUE(instrument.WaitForRequests(before + 2));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(instrument.Requests().size() - before, 2u) << "create and close only";
    EXPECT_TRUE(fs2.created);
}

TEST_F(RemoteDeviceTest, AMissingComputerFileRemovesTheRemoteOne) {
    FileScript fs;
    fs.Install(instrument);
    EXPECT_EQ(device.CopyToDevice("/nonexistent/file", NewFileDeviceName("X.DDB")), 7);
    ASSERT_TRUE(instrument.WaitForRequests(3));
    const auto codes = instrument.Codes();
    EXPECT_EQ(std::vector<uint16_t>(codes.end() - 2, codes.end()),
              (std::vector<uint16_t>{kCodeClose, kCodeDelete}));
    EXPECT_EQ(prompts.texts().back(), "Невозможно открыть файл на компьютере!");
}

TEST_F(RemoteDeviceTest, EveryUploadThatEndsEarlyRemovesTheRemoteFile) {
    QTemporaryDir dir;
    const QString local = dir.filePath("up.bin");
    {
        QFile f(local);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(700, 'u'));
    }
    const DeviceName name = NewFileDeviceName("UP.BIN");
    const Bytes sentName(name.begin(), name.end());
    const struct {
        const char* why;
        Bytes writeAnswer;
        std::vector<bool> answers;
        int result;
    } cases[] = {
        {"bad handle", U16Bytes(1), {}, -1},
        {"disk full", U16Bytes(5), {}, -5},
        {"unknown status", U16Bytes(7), {}, -6},
        {"a block past what was sent", Concat({U16Bytes(2), U32Bytes(9)}), {}, -6},
        {"no to the wrong block number", Concat({U16Bytes(2), U32Bytes(0)}), {false}, -2},
    };
    FileScript fs;
    fs.Install(instrument);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        instrument.On(kCodeWriteBlock, [&](const Bytes&) { return c.writeAnswer; });
        prompts.yesNoAnswers.assign(c.answers.begin(), c.answers.end());
        const size_t before = instrument.Requests().size();
        EXPECT_EQ(device.CopyToDevice(local, name), c.result);
        ASSERT_TRUE(instrument.WaitForRequests(before + 4)); // create, one block, close, delete
        const auto requests = instrument.Requests();
        ASSERT_EQ(requests.size(), before + 4);
        EXPECT_EQ(requests[before + 2].first, kCodeClose);
        EXPECT_EQ(requests[before + 3], std::make_pair(uint16_t(kCodeDelete), sentName));
    }

    // Cancelled before the first block: the same clean-up.
    class CancelAtStart final : public Progress {
    public:
        void setRange(qint64) override { RequestTransferCancel(); }
        void setValue(qint64) override {}
    } cancelAtStart;
    const size_t before = instrument.Requests().size();
    EXPECT_EQ(device.CopyToDevice(local, name, &cancelAtStart), 2);
    ASSERT_TRUE(instrument.WaitForRequests(before + 3)); // create, close, delete
    EXPECT_EQ(instrument.Codes().back(), kCodeDelete);
}

TEST_F(RemoteDeviceTest, ShortAnswerIsAFailedBlockNotStaleData) {
    QTemporaryDir dir;
    instrument.On(kCodeOpen, [](const Bytes&) { return Concat({U16Bytes(0), U32Bytes(1), U32Bytes(100)}); });
    instrument.On(kCodeReadBlock, [](const Bytes&) {
        return Concat({U16Bytes(0), U16Bytes(0), Bytes(10, 1)});
    });
    prompts.yesNoAnswers = {false};
    EXPECT_EQ(device.CopyFromDevice(NewFileDeviceName("A"), dir.filePath("short.bin")), -5);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(RemoteDeviceTest, ASecondExchangeFromInsideTheNestedLoopIsRefused) {
    instrument.On(kCodeDiskInfo, [](const Bytes&) {
        std::this_thread::sleep_for(std::chrono::milliseconds(300)); // the user acts meanwhile
        return Concat({U16Bytes(0), Bytes(46, 0)});
    });
    int inner = -1;
    QTimer::singleShot(0, [&] {
        DiskInfo info;
        inner = device.GetDiskInfo(&info);
    });
    DiskInfo info;
    EXPECT_EQ(device.GetDiskInfo(&info), 1);
    EXPECT_EQ(inner, 0);
    EXPECT_EQ(prompts.texts().at(0), "Невозможно отправить очередное сообщение");
}

TEST_F(RemoteDeviceTest, DiskInformationFields) {
    instrument.On(kCodeDiskInfo, [](const Bytes&) {
        Bytes label(32, ' ');
        std::memcpy(label.data(), "SAMPLES DISK", 12);
        return Concat(
            {U16Bytes(0), U16Bytes(0), U16Bytes(0), U16Bytes(1), U32Bytes(64000000), U32Bytes(1000), label});
    });
    DiskInfo info;
    ASSERT_EQ(device.GetDiskInfo(&info), 1);
    EXPECT_EQ(info.status(), 0);
    EXPECT_EQ(info.kind(), 1);
    EXPECT_EQ(info.totalBytes(), 64000000u);
    EXPECT_EQ(info.freeBytes(), 1000u);
    EXPECT_EQ(info.label(), "SAMPLES");
}

// ---- listings that do not complete ----

Bytes Answer(uint16_t status, std::initializer_list<Bytes> entries) {
    Bytes a = U16Bytes(status);
    for (const Bytes& e : entries)
        a.insert(a.end(), e.begin(), e.end());
    return a;
}

TEST_F(RemoteDeviceTest, ListingsThatDoNotCompleteFail) {
    struct Case {
        const char* what;
        std::function<std::optional<Bytes>(int answer)> script;
    };
    const Case cases[] = {
        {"a failing status on the first answer", [](int) { return U16Bytes(1); }},
        {"a failing status on a follow-up",
         [](int n) { return n == 0 ? Answer(0xFFFF, {Entry("A", "DDB", 0x20, 1)}) : U16Bytes(1); }},
        {"no status word", [](int) { return Bytes{}; }},
        {"the same page for ever", [](int) { return Answer(0xFFFF, {Entry("SAME", "DDB", 0x20, 1)}); }},
        {"an empty page for ever", [](int) { return U16Bytes(0xFFFF); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::atomic<int> answers{0}; // counted on the instrument's thread
        const auto page = [&](const Bytes&) { return c.script(answers++); };
        instrument.On(kCodeReadDirectory, page);
        instrument.On(kCodeReadDirectoryMore, page);
        prompts.records.clear();
        EXPECT_EQ(device.ReadDirectory("z:\\"), 0);
        EXPECT_LE(answers, 2);
        EXPECT_EQ(prompts.texts(), std::vector<QString>{"Ошибка при попытке получения списка файлов!"});
        device.Listing().clear();
    }
}

// An instrument that sends a fresh name in every answer, for ever, is stopped where a FAT directory
// ends, with the listing's memory bounded by it.
TEST(ListingAnswersTest, StopsPastWhatADirectoryHolds) {
    std::list<std::unique_ptr<CFileEntry>> listing;
    ListingAnswers answers("z:\\", listing, nullptr);
    ListingStep step = ListingStep::More;
    uint32_t sent = 0;
    while (step == ListingStep::More && sent < 2 * ListingAnswers::kMaxEntries) {
        Bytes a = U16Bytes(0xFFFF);
        for (int i = 0; i < 16; ++i, ++sent) {
            const Bytes e = Entry(QByteArray::number(sent, 16).constData(), "DDB", 0x20, 1);
            a.insert(a.end(), e.begin(), e.end());
        }
        step = answers.Take(a.data(), uint32_t(a.size()));
    }
    EXPECT_EQ(step, ListingStep::TooMany);
    EXPECT_EQ(listing.size(), size_t(ListingAnswers::kMaxEntries));

    // A page that brings one new name among old ones is still taken; the final one may repeat.
    std::list<std::unique_ptr<CFileEntry>> small;
    ListingAnswers some("z:\\", small, nullptr);
    const Bytes first = Answer(0xFFFF, {Entry("A", "", 0x20, 1)});
    const Bytes mixed = Answer(0xFFFF, {Entry("A", "", 0x20, 1), Entry("B", "", 0x20, 1)});
    const Bytes last = Answer(0, {Entry("B", "", 0x20, 1)});
    EXPECT_EQ(some.Take(first.data(), uint32_t(first.size())), ListingStep::More);
    EXPECT_EQ(some.Take(mixed.data(), uint32_t(mixed.size())), ListingStep::More);
    EXPECT_EQ(some.Take(last.data(), uint32_t(last.size())), ListingStep::Done);
}

// ---- the verified walk ----

// A small instrument with directories. Its change of directory is answered without a status, as the
// real one's is; `ignoreChanges` makes it do nothing, as an instrument does that lacks the directory
// or fails to change.
class DirectoryInstrument {
public:
    explicit DirectoryInstrument(ScriptedDevice& device) : m_device(device) {
        const Bytes dot = Entry(".", "", 0x10, 0), dots = Entry("..", "", 0x10, 0);
        m_dirs[""] = {Entry("A", "", 0x10, 0), Entry("FILE", "DDB", 0x20, 10)};
        m_dirs["A"] = {dot, dots, Entry("B", "", 0x10, 0), Entry("FILE", "DDB", 0x20, 20)};
        m_dirs["A\\B"] = {dot, dots, Entry("FILE", "DDB", 0x20, 30)};
        device.On(kCodeReadDirectory, [this](const Bytes&) { return List(); });
    }
    // The script reads this object on the instrument's thread: take it away (waiting for a run to
    // end) before the object goes.
    ~DirectoryInstrument() { m_device.On(kCodeReadDirectory, nullptr); }
    DirectoryInstrument(const DirectoryInstrument&) = delete;
    DirectoryInstrument& operator=(const DirectoryInstrument&) = delete;
    std::atomic<bool> ignoreChanges{false};

private:
    // The directory commands want no answer, so the script learns of them only from the record of
    // requests, in order, before the listing that follows them.
    Bytes List() {
        const auto requests = m_device.Requests();
        for (; m_seen < requests.size(); ++m_seen) {
            const auto& [code, payload] = requests[m_seen];
            if (code == kCodeRootDirectory && !ignoreChanges) {
                m_cwd.clear();
            } else if (code == kCodeChangeDirectory && !ignoreChanges && payload.size() >= 8) {
                const std::string name = QByteArray(reinterpret_cast<const char*>(payload.data()), 8).trimmed().toStdString();
                if (name == "..")
                    m_cwd = m_cwd.substr(0, std::min(m_cwd.size(), m_cwd.rfind('\\')));
                else if (m_dirs.count(m_cwd.empty() ? name : m_cwd + "\\" + name))
                    m_cwd = m_cwd.empty() ? name : m_cwd + "\\" + name;
            }
        }
        Bytes a = U16Bytes(0);
        for (const Bytes& e : m_dirs[m_cwd])
            a.insert(a.end(), e.begin(), e.end());
        return a;
    }

    ScriptedDevice& m_device;
    std::map<std::string, std::vector<Bytes>> m_dirs;
    std::string m_cwd;
    size_t m_seen = 0;
};

class WalkTest : public RemoteDeviceTest {
protected:
    // The size of the FILE.DDB listed where the walk ended: 10 at the root, 20 in A, 30 in A\B.
    uint32_t FileSizeHere() {
        for (const auto& e : device.Listing())
            if (e->fileName == "FILE.DDB")
                return e->size;
        return 0;
    }
    size_t Sent(uint16_t code) {
        const auto codes = instrument.Codes();
        return size_t(std::count(codes.begin(), codes.end(), code));
    }
    DirectoryInstrument disk{instrument};
};

TEST_F(WalkTest, WalksDownUpAndAcross) {
    ASSERT_EQ(device.Walk().Enter("z:\\A\\B"), 1);
    EXPECT_EQ(FileSizeHere(), 30u);
    EXPECT_EQ(device.Listing().front()->fullPath, "z:\\A\\B\\FILE.DDB");
    ASSERT_EQ(device.Walk().Enter("z:/a"), 1) << "one step up, names in any case";
    EXPECT_EQ(FileSizeHere(), 20u);
    ASSERT_EQ(device.Walk().Enter("z:\\"), 1);
    EXPECT_EQ(FileSizeHere(), 10u);
    EXPECT_EQ(device.Walk().CurrentPath(), "z:\\");
    EXPECT_TRUE(prompts.texts().empty());
}

TEST_F(WalkTest, AStepThatCannotBeVerifiedStopsTheWalk) {
    struct Case {
        const char* what;
        QString from;
        QString to;
        bool ignore;
        const char* text;
    };
    const Case cases[] = {
        {"a directory the listing lacks", "z:\\", "z:\\NODIR", false, "Каталог на удаленном диске не найден!"},
        {"a file is no directory", "z:\\", "z:\\FILE.DDB", false, "Каталог на удаленном диске не найден!"},
        {"ignored at the root: no '..'", "z:\\", "z:\\A", true, "Ошибка при установке каталога!"},
        {"ignored below: the same listing again", "z:\\A", "z:\\A\\B", true, "Ошибка при установке каталога!"},
        {"ignored going up", "z:\\A\\B", "z:\\A", true, "Ошибка при установке каталога!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        disk.ignoreChanges = false;
        ASSERT_EQ(device.Walk().Enter(c.from), 1);
        const size_t changes = Sent(kCodeChangeDirectory);
        prompts.records.clear();
        disk.ignoreChanges = c.ignore;
        EXPECT_EQ(device.Walk().Enter(c.to), 0);
        EXPECT_EQ(prompts.texts(), std::vector<QString>{c.text});
        EXPECT_TRUE(device.Listing().empty());
        EXPECT_TRUE(device.Walk().CurrentPath().isEmpty());
        if (!c.ignore) {
            EXPECT_EQ(Sent(kCodeChangeDirectory), changes) << "no step into what was not listed";
        }
    }
}

TEST_F(WalkTest, DeletesOnlyWhatTheVerifiedListingHolds) {
    ASSERT_EQ(device.Walk().Enter("z:\\A"), 1);
    DeviceName inA{}, elsewhere{};
    for (const auto& e : device.Listing())
        if (e->fileName == "FILE.DDB")
            inA = e->deviceName;
    elsewhere = NewFileDeviceName("OTHER.DDB");

    EXPECT_EQ(device.Walk().DeleteListed("z:\\A", elsewhere), -1);
    EXPECT_EQ(prompts.texts(), std::vector<QString>{"Файл на удаленном диске не найден!"});
    EXPECT_EQ(Sent(kCodeDelete), 0u);

    // The instrument no longer goes where it is sent: the delete walks again, cannot verify, deletes nothing.
    device.Walk().Forget();
    disk.ignoreChanges = true;
    prompts.records.clear();
    EXPECT_EQ(device.Walk().DeleteListed("z:\\A", inA), -1);
    EXPECT_EQ(prompts.texts(), std::vector<QString>{"Ошибка при установке каталога!"});
    EXPECT_EQ(Sent(kCodeDelete), 0u);

    disk.ignoreChanges = false;
    EXPECT_EQ(device.Walk().DeleteListed("z:\\A", inA), 1);
    for (int i = 0; i < 2000 && Sent(kCodeDelete) == 0; ++i) // the delete wants no answer: see it arrive
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const auto requests = instrument.Requests();
    ASSERT_EQ(requests.back().first, kCodeDelete);
    EXPECT_EQ(requests.back().second, Bytes(inA.begin(), inA.end()));
}

} // namespace
