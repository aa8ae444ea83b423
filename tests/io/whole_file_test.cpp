// All-or-nothing writes on disks that really fill up.

#include "app/io/whole_file.h"

#include "tests/support/full_disk.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace zarno;
using zarno::testing::FileSizeLimit;
using zarno::testing::SmallTmpfs;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList Files(const QString& dir) {
    QStringList names = QDir(dir).entryList(QDir::Files | QDir::Hidden);
    names.removeAll(QStringLiteral(".ballast"));
    return names;
}

TEST(WholeFile, WritesNewFilesAndReplacesOldOnes) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.txt");
    EXPECT_EQ(io::WriteWholeFile(path, "first"), io::WholeFileResult::Written);
    EXPECT_EQ(ReadAll(path), "first");
    EXPECT_EQ(io::WriteWholeFile(path, "second, longer"), io::WholeFileResult::Written);
    EXPECT_EQ(ReadAll(path), "second, longer");
    EXPECT_EQ(io::WriteWholeFile(path, ""), io::WholeFileResult::Written);
    EXPECT_EQ(QFile(path).size(), 0);
    EXPECT_EQ(io::WriteWholeFile(dir.filePath("no/such/dir.txt"), "x"), io::WholeFileResult::NotCreated);
    EXPECT_EQ(Files(dir.path()), QStringList{"a.txt"});
}

// The disk fills while the last buffered piece is written: every write() into the QSaveFile succeeds
// (it only buffers), and the failure comes when the buffer is flushed for the commit. The old file
// must survive and no temporary file may stay behind.

void ExpectOldFileSurvives(const QString& dir) {
    const QString path = dir + "/rec.bin";
    const QByteArray piece(1024, 'n');
    {
        QSaveFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        for (int i = 0; i < 12; ++i)
            ASSERT_EQ(out.write(piece), piece.size()) << "the pieces are buffered, not yet written";
        EXPECT_FALSE(io::CommitWholeFile(out));
    }
    EXPECT_EQ(ReadAll(path), "old");
    EXPECT_EQ(io::WriteWholeFile(path, piece.repeated(12)), io::WholeFileResult::WriteFailed);
    EXPECT_EQ(ReadAll(path), "old");
    EXPECT_EQ(Files(dir), QStringList{"rec.bin"});
}

TEST(WholeFile, FullTmpfsKeepsTheOldFile) {
    SmallTmpfs disk;
    if (!disk.mounted())
        GTEST_SKIP() << disk.why().toStdString();
    ASSERT_EQ(io::WriteWholeFile(disk.filePath("rec.bin"), "old"), io::WholeFileResult::Written);
    ASSERT_TRUE(disk.fillLeaving(8192));
    ExpectOldFileSurvives(disk.path());
}

TEST(WholeFile, FileSizeLimitKeepsTheOldFile) {
    QTemporaryDir dir;
    ASSERT_EQ(io::WriteWholeFile(dir.filePath("rec.bin"), "old"), io::WholeFileResult::Written);
    const FileSizeLimit limit(8192);
    ExpectOldFileSurvives(dir.path());
}

// A recording's image goes out in pieces of some megabytes, each started on its way to the disk: all
// of them land in order after what was written before (still buffered in the QSaveFile), whatever
// the device; a write that fails half way is reported, and the commit then keeps the old file.
TEST(WholeFile, WriteAheadPutsEveryPieceInItsPlace) {
    QByteArray bytes((qsizetype(20) << 20) + 3, Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = char(i * 7 % 251);
    QTemporaryDir dir;
    const QString path = dir.filePath("rec.bin");
    {
        QSaveFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("head");
        ASSERT_TRUE(io::WriteAhead(out, bytes));
        out.write("tail");
        ASSERT_TRUE(io::CommitWholeFile(out));
    }
    EXPECT_TRUE(ReadAll(path) == "head" + bytes + "tail");
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(io::WriteAhead(buffer, bytes));
    EXPECT_TRUE(buffer.data() == bytes);

    ASSERT_EQ(io::WriteWholeFile(path, "old"), io::WholeFileResult::Written);
    const FileSizeLimit limit(1 << 20);
    QSaveFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    EXPECT_FALSE(io::WriteAhead(out, bytes));
    EXPECT_FALSE(io::CommitWholeFile(out));
    EXPECT_EQ(ReadAll(path), "old");
    EXPECT_EQ(Files(dir.path()), QStringList{"rec.bin"});
}

} // namespace
