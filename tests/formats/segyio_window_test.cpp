// Recordings written elsewhere (by segyio) on screen: the signal viewer opens and measures them in
// every sample format segyio writes, the header viewer shows their EBCDIC textual header and says
// that their interval fields disagree, and a cut recording is refused with the reason.

#include "app/ui/main_frame.h"
#include "app/ui/viewer/property_sheet_sgy.h"
#include "app/ui/viewer/splitter_pict_frame.h"

#include "tests/support/recording_prompts.h"
#include "tests/ui/gui_test_support.h"

#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace zarno;
using namespace zarno::testing;

namespace {

// The viewer's GL widget needs a platform with OpenGL: the X server the window tests run under.
[[maybe_unused]] const bool g_xcb = qEnvironmentVariableIsSet("DISPLAY") && qputenv("QT_QPA_PLATFORM", "xcb");

[[maybe_unused]] ::testing::Environment* const g_gui =
    ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

// segyio's pile: 1024 samples at 40 µs, the toe reflection 150 samples after the blow, the
// original recording's interval left at 1000 µs.
bool WriteSegyioPile(const QString& path, const char* endian, int format) {
    QProcess process;
    process.start(ZARNO_SEGYIO_PYTHON, {ZARNO_SEGYIO_SCRIPT, "pile", path, endian, QString::number(format)});
    return process.waitForFinished(120000) && process.exitCode() == 0;
}

class SegyioWindow : public ::testing::Test {
protected:
    void SetUp() override {
        WriteLoopbackLink();
        m_frame = std::make_unique<CMainFrame>(m_prompts, &m_dialogs);
        ASSERT_TRUE(m_frame->Create());
        m_frame->CreateFileManagerWindow();
        m_frame->showAsPlaced();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_frame.get()));
        QApplication::processEvents();
        m_prompts.records.clear(); // the start's own messages (no serial ports)
    }
    void TearDown() override {
        if (m_frame)
            m_frame->close();
    }

    QTemporaryDir m_dir;
    RecordingPrompts m_prompts;
    RecordingDialogs m_dialogs;
    std::unique_ptr<CMainFrame> m_frame;
};

TEST_F(SegyioWindow, PilesWrittenElsewhereOpenAndMeasure) {
    const std::pair<const char*, int> files[] = {{"big", 1}, {"big", 2},    {"big", 3},   {"big", 5},
                                                 {"big", 8}, {"little", 1}, {"little", 5}};
    for (const auto& [endian, format] : files) {
        SCOPED_TRACE(::testing::Message() << endian << " format " << format);
        const QString path = m_dir.filePath(QString("PILE%1%2.sgy").arg(endian).arg(format));
        ASSERT_TRUE(WriteSegyioPile(path, endian, format));
        auto* viewer = qobject_cast<CSplitterPictFrame*>(m_frame->OpenViewer(path));
        ASSERT_NE(viewer, nullptr);
        EXPECT_EQ(m_prompts.texts(), std::vector<QString>{});
        const PictDocData& doc = viewer->doc().Data();
        ASSERT_TRUE(doc.m_bLoaded);
        EXPECT_EQ(doc.m_nFormatCode, format);
        EXPECT_EQ(doc.m_nSampleIntervalUs, 40);
        EXPECT_EQ(doc.m_nSamples, 1024);
        for (int t = 0; t < 2; ++t) {
            EXPECT_EQ(doc.m_nEchoIndex[std::size_t(t)], 150);
            EXPECT_NEAR(doc.m_dLength[std::size_t(t)], 150 * 40e-6 * 3600 / 2, 1e-9); // 10.8 m at 3600 m/s
        }
        viewer->close();
    }
}

TEST_F(SegyioWindow, HeaderViewerShowsTheCardsAndTheDisagreement) {
    const QString path = m_dir.filePath("PILE.sgy");
    ASSERT_TRUE(WriteSegyioPile(path, "big", 1));
    CPropertySheetSGY sheet(path, m_prompts);
    EXPECT_TRUE(m_prompts.texts().empty());
    const QStringList lines = sheet.textHeader()->toPlainText().split('\n');
    ASSERT_EQ(lines.size(), 40);
    EXPECT_TRUE(lines[0].startsWith("C 1 DATE"));
    EXPECT_EQ(lines[39], "C40");
    EXPECT_FALSE(sheet.headerNotes()->isHidden());
    EXPECT_TRUE(sheet.headerNotes()->text().startsWith(
        "Шаг дискретизации в заголовках различается: на ленте 40 мкс, на полевой ленте 1000 мкс"))
        << sheet.headerNotes()->text().toStdString();
}

TEST_F(SegyioWindow, ACutRecordingIsRefusedWithTheReason) {
    const QString path = m_dir.filePath("PILE.sgy");
    ASSERT_TRUE(WriteSegyioPile(path, "big", 5));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.resize(4000));
    file.close();
    auto* viewer = qobject_cast<CSplitterPictFrame*>(m_frame->OpenViewer(path));
    ASSERT_NE(viewer, nullptr);
    EXPECT_FALSE(viewer->doc().Data().m_bLoaded);
    EXPECT_EQ(
        m_prompts.texts(),
        std::vector<QString>{"Ошибка в формате SGY файла!\nФайл короче, чем сказано в его заголовках: 4000 "
                             "байт вместо 12272 (2 трасс по 1024 отсчётов)"});
}

} // namespace
