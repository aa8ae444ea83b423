// Which paths name one file, and which inputs are regular files.

#include "app/io/file_identity.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace zarno;

namespace {

class FileIdentity : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir(m_dir.path()).mkpath("sub"));
        QFile rec(Path("rec.ddb"));
        ASSERT_TRUE(rec.open(QIODevice::WriteOnly));
        rec.write("recording");
        rec.close();
        QFile other(Path("other.ddb"));
        ASSERT_TRUE(other.open(QIODevice::WriteOnly));
        other.write("recording"); // the same bytes, another file
        other.close();
        ASSERT_TRUE(QFile::link(Path("rec.ddb"), Path("rec.sgy")));
        ASSERT_EQ(::link(QFile::encodeName(Path("rec.ddb")).constData(),
                         QFile::encodeName(Path("sub/hard.sgy")).constData()),
                  0);
        ASSERT_TRUE(QFile::link(Path("sub"), Path("linked")));
        ASSERT_EQ(::mkfifo(QFile::encodeName(Path("pipe.ddb")).constData(), 0600), 0);
    }
    QString Path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

TEST_F(FileIdentity, SameFileByInodeOrByPlace) {
    struct Case {
        const char* a;
        const char* b;
        bool same;
    };
    const Case cases[] = {
        {"rec.ddb", "rec.ddb", true},
        {"rec.ddb", "sub/../rec.ddb", true},
        {"rec.ddb", "rec.sgy", true},      // a symbolic link to it
        {"rec.ddb", "sub/hard.sgy", true}, // a hard link
        {"rec.ddb", "other.ddb", false},   // equal bytes are not the same file
        {"rec.ddb", "new.sgy", false},     // not made yet
        {"sub/new.sgy", "linked/new.sgy", true},
        {"sub/new.sgy", "./sub//new.sgy", true},
        {"sub/new.sgy", "sub/NEW.sgy", false},
        {"no/such/a.sgy", "no/such/./a.sgy", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " / " + c.b);
        EXPECT_EQ(io::SameFile(Path(c.a), Path(c.b)), c.same);
        EXPECT_EQ(io::SameFile(Path(c.b), Path(c.a)), c.same);
    }
    // Relative and absolute spellings meet.
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
    EXPECT_TRUE(io::SameFile("rec.sgy", Path("rec.ddb")));
    EXPECT_TRUE(io::SameFile("sub/x.sgy", Path("linked/x.sgy")));
    QDir::setCurrent(before);

    EXPECT_EQ(io::InputAt(Path("rec.sgy"), {Path("other.ddb"), Path("rec.ddb")}), Path("rec.ddb"));
    EXPECT_EQ(io::InputAt(Path("new.sgy"), {Path("other.ddb"), Path("rec.ddb")}), std::nullopt);
}

TEST_F(FileIdentity, KindOfInput) {
    ASSERT_TRUE(QFile::link(Path("gone"), Path("dangling")));
    ASSERT_TRUE(QFile::link(Path("pipe.ddb"), Path("to-pipe")));
    struct Case {
        const char* name;
        io::InputKind kind;
    };
    const Case cases[] = {
        {"rec.ddb", io::InputKind::Regular},     {"rec.sgy", io::InputKind::Regular},
        {"pipe.ddb", io::InputKind::NotRegular}, {"to-pipe", io::InputKind::NotRegular},
        {"sub", io::InputKind::NotRegular},      {"missing.ddb", io::InputKind::Missing},
        {"dangling", io::InputKind::Missing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(io::KindOfInput(Path(c.name)), c.kind);
    }
    EXPECT_EQ(io::KindOfInput("/dev/null"), io::InputKind::NotRegular);
}

} // namespace
