// The engineer's decisions kept in the site's table: the two cells of a pile change and no other
// byte, the survey reads them back, a table that cannot be written stays as it was, and a folder
// without a table gets one only when it keeps the piles the survey finds.

#include "app/site/site_decisions.h"
#include "app/site/site_survey.h"
#include "app/site/site_table.h"
#include "tests/site/site_fixture.h"
#include "tests/site/stand_in_finders.h"
#include "tests/support/full_disk.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace zarno::site {
namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(SiteDecisions, OnlyThePilesCellsChange) {
    struct Case {
        const char* what;
        QByteArray table;
        QString pile;
        PileDecision decision;
        QByteArray expected;
    };
    const Case cases[] = {
        {"a spreadsheet's semicolons, BOM, CRLF and quotes; the columns added, other rows untouched",
         "\xEF\xBB\xBFpile;file;note\r\n"
         "\"\xD0\xA1-1\";a1.sgy;\"east; \"\"old\"\"\"\r\n"
         "\r\n"
         "P2;b.sgy;\r\n"
         "\xD0\xA1-1;a2.sgy\r\n"
         "\xD0\xA1-1;x;y;z;too many\r\n",
         QString::fromUtf8("С-1"),
         {12.345, PileClass::II},
         "\xEF\xBB\xBFpile;file;note;decided_length_m;decided_class\r\n"
         "\"\xD0\xA1-1\";a1.sgy;\"east; \"\"old\"\"\";12,345;II\r\n"
         "\r\n"
         "P2;b.sgy;\r\n"
         "\xD0\xA1-1;a2.sgy;;12,345;II\r\n"
         "\xD0\xA1-1;x;y;z;too many\r\n"},
        {"commas, LF, the columns already there in the middle, no line end at the end",
         "pile,decided_class,file,decided_length_m,note\n"
         "A,I,a.sgy,\"9,5\",\"x, y\"\n"
         "B,,b.sgy,,\n"
         "A,  I ,a2.sgy,,n",
         "A",
         {10.0, PileClass::I},
         "pile,decided_class,file,decided_length_m,note\n"
         "A,I,a.sgy,10,\"x, y\"\n"
         "B,,b.sgy,,\n"
         "A,  I ,a2.sgy,10,n"},
        {"an empty decision clears the cells and adds nothing",
         "pile;file;decided_length_m;decided_class\nA;a.sgy;9,5;III\nB;b.sgy;7;IV\n",
         "A",
         {},
         "pile;file;decided_length_m;decided_class\nA;a.sgy;;\nB;b.sgy;7;IV\n"},
        {"an empty decision on a table without the columns changes nothing",
         "pile;file\r\nA;a.sgy\r\n",
         "A",
         {},
         "pile;file\r\nA;a.sgy\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QString error;
        const std::optional<QByteArray> out = TableWithDecision(c.table, c.pile, c.decision, &error);
        ASSERT_TRUE(out) << error.toStdString();
        EXPECT_EQ(*out, c.expected) << out->toStdString();
    }
}

TEST(SiteDecisions, TheReaderTakesWhatWasStored) {
    QString error;
    const QByteArray table = "pile;file;design_length_m\r\nA;a.sgy;9\r\nB;b.sgy;7\r\n";
    const auto stored = TableWithDecision(table, "B", {6.8, PileClass::III}, &error);
    ASSERT_TRUE(stored) << error.toStdString();
    const SiteTable read = ParseSiteTable(QString::fromUtf8(*stored));
    EXPECT_TRUE(read.messages.isEmpty()) << read.messages.join('\n').toStdString();
    ASSERT_EQ(read.rows.size(), 2u);
    EXPECT_FALSE(read.rows[0].decidedLengthM);
    EXPECT_EQ(read.rows[0].decidedClass, PileClass::None);
    EXPECT_EQ(read.rows[1].decidedLengthM, 6.8);
    EXPECT_EQ(read.rows[1].decidedClass, PileClass::III);
    EXPECT_EQ(read.rows[1].designLengthM, 7.0);

    // Decisions the reader cannot take are named; the row's recording still counts.
    const SiteTable bad =
        ParseSiteTable("pile;file;decided_length_m;decided_class\nA;a.sgy;-3;II\nB;b.sgy;4;V\nC;c.sgy;;4\n");
    ASSERT_EQ(bad.rows.size(), 3u);
    ASSERT_EQ(bad.messages.size(), 2);
    EXPECT_TRUE(bad.messages[0].startsWith("site.csv line 2: decided_length_m"))
        << bad.messages[0].toStdString();
    EXPECT_TRUE(bad.messages[1].startsWith("site.csv line 3: decided_class"))
        << bad.messages[1].toStdString();
    EXPECT_FALSE(bad.rows[0].decidedLengthM);
    EXPECT_EQ(bad.rows[0].decidedClass, PileClass::II);
    EXPECT_EQ(bad.rows[1].decidedClass, PileClass::None);
    EXPECT_EQ(bad.rows[2].decidedClass, PileClass::IV);
}

TEST(SiteDecisions, RefusedWithTheReason) {
    struct Case {
        QByteArray table;
        QString pile;
        const char* reason;
    };
    const Case cases[] = {
        {"pile;file\nA;a.sgy\n", "Z", "no row of pile \"Z\""},
        {"name;path\nA;a.sgy\n", "A", "must name the columns pile and file"},
        {"\n  \n", "A", "empty"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        QString error;
        EXPECT_FALSE(TableWithDecision(c.table, c.pile, {1.0, PileClass::I}, &error));
        EXPECT_TRUE(error.contains(c.reason)) << error.toStdString();
    }
}

class DecisionFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        for (const char* name : {"p1.sgy", "p2.sgy"}) {
            testing::PileTrace t;
            t.seed = unsigned(name[1]);
            ASSERT_TRUE(testing::WriteBytes(path(name), testing::SgyOf({t.build()}, t.intervalS)));
        }
    }
    QString path(const QString& name) const { return QDir(m_dir.path()).filePath(name); }
    SiteResult Survey() const {
        return SurveySite(m_dir.path(), {}, testing::LargestMark, testing::LargestLater);
    }

    QTemporaryDir m_dir;
};

TEST_F(DecisionFolder, StoredInTheTableInWhateverCaseItIsNamedAndReadBackByTheSurvey) {
    const QByteArray table = "pile;file;known_length_m\r\nP1;p1.sgy;8\r\nP2;p2.sgy;\r\n";
    ASSERT_TRUE(testing::WriteBytes(path("SITE.CSV"), table));
    QString error;
    ASSERT_TRUE(StoreDecision(m_dir.path(), "P2", {7.25, PileClass::II}, &error)) << error.toStdString();
    EXPECT_FALSE(QFile::exists(path("site.csv"))); // the table that is there, not a second one
    EXPECT_EQ(
        ReadAll(path("SITE.CSV")),
        "pile;file;known_length_m;decided_length_m;decided_class\r\nP1;p1.sgy;8\r\nP2;p2.sgy;;7,25;II\r\n");

    const SiteResult s = Survey();
    ASSERT_EQ(s.piles.size(), 2u);
    EXPECT_FALSE(s.piles[0].decidedLengthM);
    EXPECT_EQ(s.piles[1].decidedLengthM, 7.25);
    EXPECT_EQ(s.piles[1].decidedClass, PileClass::II);
    EXPECT_EQ(s.piles[1].reportedLengthM(), 7.25);
    EXPECT_EQ(s.piles[1].reportedClass(), PileClass::II);
    ASSERT_TRUE(s.piles[1].lengthM); // the measurement stays beside the decision
    EXPECT_NEAR(*s.piles[1].lengthM, 8.0, 0.1);

    ASSERT_TRUE(StoreDecision(m_dir.path(), "P2", {}, &error)) << error.toStdString();
    const SiteResult cleared = Survey();
    EXPECT_FALSE(cleared.piles[1].decidedLengthM);
    EXPECT_EQ(cleared.piles[1].reportedClass(), cleared.piles[1].proposedClass);
}

TEST_F(DecisionFolder, ATableThatCannotBeWrittenStaysAsItWas) {
    const QByteArray table = "pile;file\nP1;p1.sgy\nP2;p2.sgy\n";
    ASSERT_TRUE(testing::WriteBytes(path("site.csv"), table));
    QString error;
    {
        const testing::FileSizeLimit limit(16); // far less than the table
        EXPECT_FALSE(StoreDecision(m_dir.path(), "P1", {9.0, PileClass::I}, &error));
    }
    EXPECT_TRUE(error.contains("cannot write")) << error.toStdString();
    EXPECT_EQ(ReadAll(path("site.csv")), table);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3); // no temporary file left

    EXPECT_FALSE(StoreDecision(m_dir.path(), "P1", {-1.0, PileClass::I}, &error));
    EXPECT_TRUE(error.contains("above zero")) << error.toStdString();
    EXPECT_EQ(ReadAll(path("site.csv")), table);
}

TEST_F(DecisionFolder, AFolderWithoutATableGetsOneThatFindsTheSamePiles) {
    ASSERT_TRUE(QFile::copy(path("p2.sgy"), path("p 3;x.sgy")));
    const SiteResult before = Survey();
    QString error;
    ASSERT_TRUE(StoreDecision(m_dir.path(), "p2", {6.5, PileClass::III}, &error)) << error.toStdString();
    ASSERT_TRUE(QFile::exists(path("site.csv")));
    const SiteResult after = Survey();
    EXPECT_TRUE(after.messages.isEmpty()) << after.messages.join('\n').toStdString();
    ASSERT_EQ(after.piles.size(), before.piles.size());
    for (std::size_t i = 0; i < before.piles.size(); ++i) {
        SCOPED_TRACE(before.piles[i].pile.toStdString());
        EXPECT_EQ(after.piles[i].pile, before.piles[i].pile);
        EXPECT_EQ(after.piles[i].files, before.piles[i].files);
        EXPECT_EQ(after.piles[i].stack.toe.timeMs, before.piles[i].stack.toe.timeMs);
    }
    const PileResult& p2 = after.piles[2];
    EXPECT_EQ(p2.pile, "p2");
    EXPECT_EQ(p2.decidedLengthM, 6.5);
    EXPECT_EQ(p2.decidedClass, PileClass::III);
}

TEST_F(DecisionFolder, AFolderWhoseTableWouldJoinPilesIsRefused) {
    ASSERT_TRUE(QFile::copy(path("p2.sgy"), path("p2.SGY")));
    QString error;
    EXPECT_FALSE(StoreDecision(m_dir.path(), "p2", {6.5, PileClass::III}, &error));
    EXPECT_TRUE(error.contains("\"p2\"")) << error.toStdString();
    EXPECT_FALSE(QFile::exists(path("site.csv")));
    // Nothing to clear, nothing to refuse.
    EXPECT_TRUE(StoreDecision(m_dir.path(), "p2", {}, &error));
    EXPECT_FALSE(QFile::exists(path("site.csv")));
}

TEST(PileClassName, ReadsRomanOrArabicInAnyCase) {
    struct Case {
        const char* text;
        std::optional<PileClass> cls;
    };
    const Case cases[] = {{"", PileClass::None},   {"  ", PileClass::None}, {"i", PileClass::I},
                          {" II ", PileClass::II}, {"3", PileClass::III},   {"iv", PileClass::IV},
                          {"V", std::nullopt},     {"0", std::nullopt},     {"IIII", std::nullopt}};
    for (const Case& c : cases)
        EXPECT_EQ(ParseClassName(c.text), c.cls) << c.text;
}

} // namespace
} // namespace zarno::site
