#include "app/shell/persistent_settings.h"

#include "tests/support/full_disk.h"
#include "tests/support/temp_config.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>

using namespace zarno;

namespace {

TEST(PersistentSettings, FirstRunDefaults) {
    zarno::testing::TempConfigHome home;
    QSettings s("Mervo", "Zarno");
    PersistentSettings p;
    p.load(s);
    const auto e = p.rectEdges();
    EXPECT_EQ(e.left, 10);
    EXPECT_EQ(e.top, 10);
    EXPECT_EQ(e.right, 770);
    EXPECT_EQ(e.bottom, 400);
    EXPECT_EQ(p.m_nWindowWidth, 760);
    EXPECT_EQ(p.m_nWindowHeight, 390);
    EXPECT_EQ(p.m_nCurrentLink, 0);
    EXPECT_TRUE(p.m_strCurrentDirectory[0].isEmpty());
}

TEST(PersistentSettings, RectText) {
    struct Case {
        PersistentSettings::Edges edges;
        const char* text;
    };
    const Case cases[] = {{{-8, -8, 1032, 776}, "-008 -008 1032 0776"},
                          {{10, 10, 770, 400}, "0010 0010 0770 0400"}};
    for (const auto& c : cases) {
        EXPECT_EQ(FormatRectText(c.edges), c.text);
        PersistentSettings::Edges back{};
        ASSERT_TRUE(ParseRectText(c.text, &back));
        EXPECT_EQ(back.left, c.edges.left);
        EXPECT_EQ(back.top, c.edges.top);
        EXPECT_EQ(back.right, c.edges.right);
        EXPECT_EQ(back.bottom, c.edges.bottom);
    }
    PersistentSettings::Edges ignored{};
    EXPECT_FALSE(ParseRectText("12 34", &ignored));
    EXPECT_TRUE(ParseRectText("  12    34   56   78", &ignored)) << "leading spaces skipped at each position";
    EXPECT_EQ(ignored.right, 56);
}

TEST(PersistentSettings, RoundTripKeepsEveryValueUnderItsName) {
    zarno::testing::TempConfigHome home;
    PersistentSettings out;
    out.setRectEdges({-8, -8, 1032, 776});
    out.max = 1;
    out.m_nSplitterXPos = 321;
    out.m_nCurrentLink = 3;
    out.m_nCurrentEthernetPort1 = 7001;
    out.m_nCurrentEthernetPort2 = 7002;
    out.m_nCurrentComPort1 = 65000;
    out.m_nCurrentComPort2 = 5;
    out.m_nCurrentIPAddress = 0x7F000001;
    out.m_nCurrentComSpeed = 76800;
    out.m_strCurrentDirectory = {"z:\\REC", "Z:\\REC"};
    out.m_nSortDirectory = {2, 3};
    for (int c = 0; c < 4; ++c)
        out.m_nColumn[size_t(c)] = {100 + c, 200 + c};
    out.m_nZakraskaGrafs = 1;
    out.m_nNScreenMaxGraf = 12;
    out.m_nBiasXGr = 7;
    out.m_nBiasXFur = 8;
    out.m_nBiasKoeffY = 9;
    {
        QSettings s("Mervo", "Zarno");
        EXPECT_TRUE(out.save(s));
    }
    QSettings s("Mervo", "Zarno");
    EXPECT_EQ(s.value("Window size/Rect").toString(), "-008 -008 1032 0776");
    EXPECT_EQ(s.value("Window size/max").toInt(), 0) << "always reopens in the normal state";
    EXPECT_EQ(s.value("Transport/Current Ethernrt Port2").toInt(), 7002);
    EXPECT_EQ(s.value("Window size/Left column 3").toInt(), 103);
    EXPECT_EQ(s.value("Window size/Right column 0").toInt(), 200);

    PersistentSettings in;
    in.load(s);
    EXPECT_EQ(in.rectEdges().right, 1032);
    EXPECT_EQ(in.m_nWindowWidth, 1040);
    EXPECT_EQ(in.m_nSplitterXPos, 321);
    EXPECT_EQ(in.m_nCurrentLink, 3);
    EXPECT_EQ(in.m_nCurrentEthernetPort1, 7001);
    EXPECT_EQ(in.m_nCurrentEthernetPort2, 7002);
    EXPECT_EQ(in.m_nCurrentComPort2, 5);
    EXPECT_EQ(in.m_nCurrentIPAddress, 0x7F000001u);
    EXPECT_EQ(in.m_nCurrentComSpeed, 76800);
    EXPECT_EQ(in.m_strCurrentDirectory[0], "/") << "the instrument's drive is saved as the first drive";
    EXPECT_EQ(in.m_strCurrentDirectory[1], "Z:\\REC") << "only the exact lower-case drive is replaced";
    EXPECT_EQ(in.m_nSortDirectory[1], 3);
    EXPECT_EQ(in.m_nColumn[2][1], 202);
    EXPECT_EQ(in.m_nNScreenMaxGraf, 12);
    EXPECT_EQ(in.m_nBiasKoeffY, 9);
}

// Settings that cannot be written are reported, and the older settings file stays whole. QSettings
// alone would report success here and leave a cut file.
void ExpectAFailedSaveKeepsTheOldFile(const QString& dir, std::optional<rlim_t> fileSizeLimit,
                                      qint64 leaveFree = -1, zarno::testing::SmallTmpfs* disk = nullptr) {
    const QString path = dir + "/Zarno.conf";
    {
        QSettings old(path, QSettings::IniFormat);
        old.setValue("Transport/Current Link", 2);
    }
    QFile conf(path);
    ASSERT_TRUE(conf.open(QIODevice::ReadOnly));
    const QByteArray before = conf.readAll();
    conf.close();
    if (disk) {
        ASSERT_TRUE(disk->fillLeaving(leaveFree));
    }
    PersistentSettings settings;
    settings.m_strCurrentDirectory = {QString(3000, 'a'), QString(3000, 'b')};
    {
        std::optional<zarno::testing::FileSizeLimit> limit;
        if (fileSizeLimit)
            limit.emplace(*fileSizeLimit);
        QSettings s(path, QSettings::IniFormat);
        EXPECT_FALSE(settings.save(s));
    }
    ASSERT_TRUE(conf.open(QIODevice::ReadOnly));
    EXPECT_EQ(conf.readAll(), before);
    QStringList names = QDir(dir).entryList(QDir::Files | QDir::Hidden);
    names.removeAll(".ballast");
    EXPECT_EQ(names, QStringList{"Zarno.conf"});
}

TEST(PersistentSettings, AFailedWriteIsReportedAndKeepsTheOldFile) {
    QTemporaryDir dir;
    ExpectAFailedSaveKeepsTheOldFile(dir.path(), 256);
}

TEST(PersistentSettings, AFullDiskIsReportedAndKeepsTheOldFile) {
    zarno::testing::SmallTmpfs disk;
    if (!disk.mounted())
        GTEST_SKIP() << disk.why().toStdString();
    ExpectAFailedSaveKeepsTheOldFile(disk.path(), std::nullopt, 4096, &disk);
}

// A settings file broken by a crash or by hand still gives what can be read of it, and the next save
// writes it anew, whole and clean, instead of failing on every exit from then on.
TEST(PersistentSettings, ABrokenFileIsReadAsFarAsItGoesAndWrittenWhole) {
    struct Case {
        const char* what;
        QByteArray tail;
    };
    const Case cases[] = {
        {"NUL bytes appended", QByteArray(300, '\0')},
        {"an unclosed [ line", "[Recent File List\nFile2=/b.sgy\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const QString path = dir.filePath("Zarno.conf");
        // Written as bytes: a QSettings of this process would keep the file's good state in Qt's cache.
        QFile conf(path);
        ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
        conf.write("[Recent%20File%20List]\nFile1=/a.sgy\n\n[Transport]\nCurrent%20Link=2\n" + c.tail);
        conf.close();

        PersistentSettings settings;
        {
            QSettings s(path, QSettings::IniFormat);
            settings.load(s);
            ASSERT_EQ(s.status(), QSettings::FormatError) << "the fixture must be broken";
            EXPECT_EQ(settings.m_nCurrentLink, 2);
            settings.m_nSplitterXPos = 321;
            EXPECT_TRUE(settings.save(s));
        }
        ASSERT_TRUE(conf.open(QIODevice::ReadOnly));
        const QByteArray written = conf.readAll();
        conf.close();
        EXPECT_FALSE(written.contains('\0'));
        // Read back under a fresh name, so that nothing comes from Qt's cache of this file.
        const QString copy = dir.filePath("copy.conf");
        ASSERT_TRUE(QFile::copy(path, copy));
        const QSettings back(copy, QSettings::IniFormat);
        EXPECT_EQ(back.status(), QSettings::NoError) << written.toStdString();
        EXPECT_EQ(back.value("Transport/Current Link").toInt(), 2);
        EXPECT_EQ(back.value("Window size/Splitter X Pos").toInt(), 321);
        EXPECT_EQ(back.value("Recent File List/File1").toString(), "/a.sgy") << "values not ours are kept";
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"copy.conf", "Zarno.conf"}));
    }
}

} // namespace
