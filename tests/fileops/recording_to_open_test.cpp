// What `zarno FILE` opens: SEG-Y as it is, a DDB recording only after an agreed conversion.

#include "app/fileops/recording_to_open.h"
#include "app/formats/convert_ddb_file.h"

#include "tests/formats/ddb_fixture.h"
#include "tests/support/recording_prompts.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zarno {
namespace {

using testing::PromptRecord;
using testing::RecordingPrompts;

class RecordingToOpenTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    RecordingPrompts prompts;
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    void writeDDB(const char* name) {
        ASSERT_TRUE(testing::WriteFile(path(name), testing::MakeDDB(testing::MakeDDBHeader(1, 100), 100)));
    }
};

TEST_F(RecordingToOpenTest, SegyFilesOpenAsTheyAreWithoutAQuestion) {
    for (const char* name : {"PILE.sgy", "pile.SEGY"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(RecordingToOpen(path(name), prompts), QFileInfo(path(name)).absoluteFilePath());
    }
    EXPECT_TRUE(prompts.records.empty());
}

TEST_F(RecordingToOpenTest, AgreedConversionWritesTheSegyBesideTheRecordingAndOpensIt) {
    writeDDB("PILE12.DDB");
    prompts.yesNoAnswers = {true};
    const QString opened = RecordingToOpen(path("PILE12.DDB"), prompts);
    EXPECT_EQ(opened, path("PILE12.sgy"));
    EXPECT_GT(QFileInfo(opened).size(), 3600);
    ASSERT_EQ(prompts.records.size(), 1u);
    EXPECT_EQ(prompts.records[0].kind, PromptRecord::YesNo);
    EXPECT_EQ(prompts.records[0].text,
              QStringLiteral("Преобразовать запись PILE12.DDB в файл SEG-Y PILE12.sgy и открыть его?"));
}

TEST_F(RecordingToOpenTest, DeclinedConversionWritesNothingAndTheQuestionNamesAFileItWouldReplace) {
    writeDDB("PILE12.DDB");
    ASSERT_TRUE(testing::WriteFile(path("PILE12.sgy"), "older"));
    prompts.yesNoAnswers = {false};
    EXPECT_TRUE(RecordingToOpen(path("PILE12.DDB"), prompts).isEmpty());
    EXPECT_EQ(testing::ReadFile(path("PILE12.sgy")), QByteArray("older"));
    ASSERT_EQ(prompts.records.size(), 1u);
    EXPECT_TRUE(prompts.records[0].text.contains(QStringLiteral("Существующий файл PILE12.sgy будет заменён.")));
}

TEST_F(RecordingToOpenTest, FailedConversionOrOtherFilesOpenNothingAndSayWhy) {
    prompts.yesNoAnswers = {true};
    EXPECT_TRUE(RecordingToOpen(path("MISSING.DDB"), prompts).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(path("MISSING.sgy")));
    ASSERT_EQ(prompts.records.size(), 2u);
    EXPECT_EQ(prompts.records[1].text, QString::fromUtf8(kTextBadFileName));

    prompts.records.clear();
    EXPECT_TRUE(RecordingToOpen(path("NOTES.TXT"), prompts).isEmpty());
    ASSERT_EQ(prompts.records.size(), 1u);
    EXPECT_EQ(prompts.records[0].text,
              QStringLiteral("Файл NOTES.TXT не является записью SEG-Y или DDB и не может быть открыт."));
}

} // namespace
} // namespace zarno
