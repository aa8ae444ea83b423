// The signal viewer's window on screen (offscreen platform): opened from a panel with both panes,
// the spectrum commands, closing (the settings files beside the recording, the file manager back),
// the header viewer, the display settings dialog and a recording that does not load.

#include "app/ui/list_file_view.h"
#include "app/ui/main_frame.h"
#include "app/ui/splitter_frame.h"
#include "app/ui/print_report_dialog.h"
#include "app/ui/viewer/dlg_nscreen.h"
#include "app/ui/viewer/pict_form.h"
#include "app/ui/viewer/pict_view.h"
#include "app/ui/viewer/property_sheet_sgy.h"
#include "app/report/report_language.h"
#include "app/report/report_model.h"
#include "app/ui/viewer/splitter_pict_frame.h"
#include "app/viewer/pict_panel_model.h"

#include "tests/support/gui_app.h"
#include "tests/support/modal_answerer.h"
#include "tests/support/recording_prompts.h"
#include "tests/ui/gui_test_support.h"
#include "tests/support/sgy_fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMdiArea>
#include <QPrintDialog>
#include <QSpinBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

using namespace zarno;
using namespace zarno::testing;

namespace {

// The viewer's GL widget needs a platform with OpenGL: the X server the window tests run under.
[[maybe_unused]] const bool g_xcb = qEnvironmentVariableIsSet("DISPLAY") && qputenv("QT_QPA_PLATFORM", "xcb");

[[maybe_unused]] ::testing::Environment* const g_gui =
    ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

class ViewerWindow : public ::testing::Test {
protected:
    void SetUp() override {
        WriteLoopbackLink();
        ASSERT_TRUE(SgyFixture::OfSamples({HalfSinePile(1024, 300, 1000), HalfSinePile(1024, 300, 800)})
                        .write(path()));
        WriteWindowValue("Current Left Directory", m_dir.path());
        m_frame = std::make_unique<CMainFrame>(m_prompts, &m_dialogs);
        ASSERT_TRUE(m_frame->Create());
        m_manager = m_frame->CreateFileManagerWindow();
        m_frame->showAsPlaced();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_frame.get()));
        QApplication::processEvents();
        m_prompts.records.clear(); // the start's own messages (no serial ports)
    }
    void TearDown() override {
        if (m_frame)
            m_frame->close();
    }

    QString path() const { return m_dir.filePath(QStringLiteral("PILE.sgy")); }
    CSplitterPictFrame* viewer() const { return qobject_cast<CSplitterPictFrame*>(m_frame->viewerFrame()); }

    // Enter on the recording's row of the left panel, as the user opens it.
    CSplitterPictFrame* openFromPanel() {
        CListFileView* list = m_frame->panelList(0);
        QAbstractItemModel* model = list->table()->model();
        int row = -1;
        for (int r = 0; r < model->rowCount(); ++r)
            if (model->index(r, 0).data().toString() == QStringLiteral("PILE"))
                row = r;
        EXPECT_GE(row, 0);
        list->table()->selectRow(row);
        list->table()->setFocus();
        QTest::keyClick(list->table(), Qt::Key_Return);
        QApplication::processEvents();
        return viewer();
    }

    QTemporaryDir m_dir;
    RecordingPrompts m_prompts;
    RecordingDialogs m_dialogs;
    std::unique_ptr<CMainFrame> m_frame;
    CSplitterFrame* m_manager = nullptr;
};

TEST_F(ViewerWindow, ARecordingOpenedFromAPanelShowsBothPanes) {
    CSplitterPictFrame* v = openFromPanel();
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(m_prompts.texts(), std::vector<QString>{});
    EXPECT_EQ(v->windowTitle(), path());
    EXPECT_EQ(v->splitter()->count(), 2);
    EXPECT_TRUE(v->panel()->isVisible());
    EXPECT_TRUE(v->view()->isVisible());
    EXPECT_GE(v->panel()->width(), 230);
    EXPECT_TRUE(v->panel()->isEnabled());
    EXPECT_TRUE(v->doc().Data().m_bLoaded);
    EXPECT_EQ(v->doc().Data().m_nSamples, 1024);
    EXPECT_EQ(v->panel()->upperEdit()->text(), "102.300");
    EXPECT_EQ(v->panel()->graphList()->rowCount(), 2);
    // The first paint writes the five rows of the lengths list.
    QTRY_COMPARE(v->panel()->lengthsList()->rowCount(), 5);
    EXPECT_EQ(v->panel()->lengthsList()->item(0, 1)->text(), "- 0 -");

    // A second viewer of its own beside it.
    m_frame->OpenViewer(path());
    EXPECT_NE(viewer(), v);
    int viewers = 0;
    for (QMdiSubWindow* w : m_frame->mdiArea()->subWindowList())
        viewers += qobject_cast<CSplitterPictFrame*>(w) ? 1 : 0;
    EXPECT_EQ(viewers, 2);
}

TEST_F(ViewerWindow, SpectrumThenRectangularWindowRedraws) {
    CSplitterPictFrame* v = openFromPanel();
    ASSERT_NE(v, nullptr);
    v->runCommand(kCmdWindowRectangular); // outside spectrum mode: told, nothing changes
    ASSERT_EQ(m_prompts.texts().size(), 1u);
    EXPECT_EQ(m_prompts.texts()[0], "Перейдите в режим оотображения спектра сигналов!");
    EXPECT_EQ(v->doc().Data().m_nFftWindow, 2);

    v->runCommand(kCmdSpectrum);
    EXPECT_TRUE(v->doc().Data().m_bSpectrum);
    EXPECT_EQ(v->panel()->graphList()->columnCount(), 2);
    QApplication::processEvents();
    const int paints = v->view()->paints();
    v->runCommand(kCmdWindowRectangular);
    EXPECT_EQ(v->doc().Data().m_nFftWindow, 0);
    EXPECT_TRUE(v->action(kCmdWindowRectangular)->isChecked());
    EXPECT_FALSE(v->action(kCmdWindowHamming)->isChecked());
    QTRY_VERIFY(v->view()->paints() > paints);
    v->runCommand(kCmdSignals);
    EXPECT_FALSE(v->doc().Data().m_bSpectrum);
    EXPECT_EQ(v->panel()->graphList()->columnCount(), 3);
}

TEST_F(ViewerWindow, ClosingKeepsTheSettingsBesideTheFileAndBringsTheManagerBack) {
    CSplitterPictFrame* v = openFromPanel();
    ASSERT_NE(v, nullptr);
    QDir dir(m_dir.path());
    dir.remove(QStringLiteral("VARY.ini"));
    dir.remove(QStringLiteral("FILTER.ini"));
    v->runCommand(kCmdViewerToggleManager);
    EXPECT_FALSE(m_manager->isShown());
    EXPECT_FALSE(m_frame->commandsBar()->isVisible());
    v->runCommand(kCmdFillLower);
    EXPECT_TRUE(v->action(kCmdFillLower)->isChecked());

    v->runCommand(kCmdViewerClose);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(viewer(), nullptr);
    EXPECT_TRUE(m_manager->isShown());
    EXPECT_TRUE(m_manager->isVisible());
    EXPECT_TRUE(m_frame->commandsBar()->isVisible());
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("VARY.ini"))));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("FILTER.ini"))));
    // The next viewer starts with the display settings the last one left.
    EXPECT_EQ(m_frame->viewerDisplay().m_nFillMode, 2);
    // The report's settings, by contrast, belong to each viewer: a new one starts afresh and leaves
    // the choices of one already open alone.
    CSplitterPictFrame* next = qobject_cast<CSplitterPictFrame*>(m_frame->OpenViewer(path()));
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->doc().Data().m_dFillLevel, -0.5);
    next->view()->reportSettings().used = true;
    next->view()->reportSettings().printVelocity = true;
    auto* third = qobject_cast<CSplitterPictFrame*>(m_frame->OpenViewer(path()));
    ASSERT_NE(third, nullptr);
    EXPECT_FALSE(third->view()->reportSettings().used);
    EXPECT_FALSE(third->view()->reportSettings().printVelocity);
    EXPECT_TRUE(next->view()->reportSettings().used);
    EXPECT_TRUE(next->view()->reportSettings().printVelocity);
    // ... and the next start of the program.
    m_frame->close();
    m_frame.reset();
    QSettings store(QStringLiteral("Mervo"), QStringLiteral("Zarno"));
    EXPECT_EQ(store.value(QStringLiteral("Window size/Zakraska Grafs")).toInt(), 2);
}

TEST_F(ViewerWindow, TheReportPrintsTheModelsLengthsWithoutAPaint) {
    CSplitterPictFrame* v = openFromPanel();
    ASSERT_NE(v, nullptr);
    QTRY_VERIFY(v->view()->paints() > 0);
    // The view is hidden, so nothing can paint between the markers' move and the report.
    v->view()->hide();
    const int paints = v->view()->paints();
    MarkerSet markers;
    markers.position = {320, 160, 0, 0, 0}; // 32 and 16 ms at 3600 m/s
    v->model().SetMarkers(markers);
    ASSERT_EQ(v->model().Lengths().count, 2);
    EXPECT_EQ(v->model().Lengths().texts[0], "28.800");

    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
    WhenModal<CPrintReport>([](CPrintReport* d) {
        d->findChild<QCheckBox*>(QStringLiteral("1094"))->setChecked(true); // "Сохранить отчёт в файле"
        // A report for a reader of English from the Russian program.
        auto* language = d->findChild<QComboBox*>(QStringLiteral("reportLanguage"));
        language->setCurrentIndex(language->findData(int(Language::English)));
        WhenModal<QPrintDialog>([](QPrintDialog* p) { p->accept(); });
        d->accept();
    });
    v->OnPrintReport();
    QDir::setCurrent(before);
    EXPECT_EQ(v->view()->paints(), paints);
    const ReportSettings& printed = v->view()->reportSettings();
    ASSERT_TRUE(printed.used);
    EXPECT_EQ(printed.lengthCount, 2);
    EXPECT_EQ(printed.language, Language::English);
    EXPECT_TRUE(printed.velocityLine.startsWith("Longitudinal wave velocity")) << printed.velocityLine.toStdString();
    // The panel's lengths, written with the report's decimal mark.
    EXPECT_EQ(printed.lengthTexts[0], "28.800");
    EXPECT_EQ(printed.lengthTexts[1], ReportNumber(Language::English, v->model().Lengths().entries[1], 3));
}

TEST_F(ViewerWindow, GainSettingsAskOverThePanelThenEdit) {
    CSplitterPictFrame* v = openFromPanel();
    ASSERT_NE(v, nullptr);
    const std::vector<double> curve = v->doc().Data().m_pVaru;

    // "No": the question was the panel's, and nothing changes.
    QWidget* askedOver = nullptr;
    WhenModal<QMessageBox>([&askedOver](QMessageBox* box) {
        askedOver = box->parentWidget();
        box->button(QMessageBox::No)->click();
    });
    v->runCommand(kCmdEditGain);
    EXPECT_EQ(askedOver, v->panel());
    EXPECT_EQ(v->doc().Data().m_pVaru, curve);

    // "Yes", then the editor's OK: a curve over the recording's samples.
    bool edited = false;
    std::function<void(QDialog*)> acceptEditor = [&](QDialog* editor) {
        if (qobject_cast<QMessageBox*>(editor)) { // the question still closing
            WhenModal<QDialog>(acceptEditor);
            return;
        }
        edited = true;
        editor->accept();
    };
    WhenModal<QMessageBox>([&](QMessageBox* box) {
        WhenModal<QDialog>(acceptEditor);
        box->button(QMessageBox::Yes)->click();
    });
    v->runCommand(kCmdEditGain);
    EXPECT_TRUE(edited);
    EXPECT_EQ(v->doc().Data().m_nVaruPoints, v->doc().Data().m_nSamples);
    EXPECT_EQ(v->doc().Data().m_pVaru.size(), std::size_t(v->doc().Data().m_nSamples));
    EXPECT_TRUE(m_prompts.texts().empty());
}

TEST_F(ViewerWindow, TheMenuShowsTheReportKeyWhichStaysTheViews) {
    CSplitterPictFrame* v = openFromPanel();
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->action(kCmdPrintReport)->shortcut(), QKeySequence(Qt::Key_P));
    m_frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame.get()));
    // A P typed into a field of the panel is a letter, not the report.
    {
        ModalAnswerer answerer(ModalAnswerer::Answer::Escape);
        v->panel()->upperEdit()->setFocus();
        QTest::keyClick(v->panel()->upperEdit(), Qt::Key_P);
        QTest::qWait(100);
        EXPECT_EQ(answerer.answered(), 0);
    }
    // On the view it opens the report's dialog.
    ModalAnswerer answerer(ModalAnswerer::Answer::Escape);
    v->view()->setFocus();
    QTest::keyClick(v->view(), Qt::Key_P);
    QTRY_COMPARE(answerer.answered(), 1);
}

TEST_F(ViewerWindow, ThePanelShowsWholeOnA1280By800Screen) {
    m_frame->showNormal();
    m_frame->setGeometry(0, 0, 1280, 800);
    CSplitterPictFrame* v = openFromPanel();
    ASSERT_NE(v, nullptr);
    v->showMaximized();
    QTRY_COMPARE(v->panel()->lengthsList()->rowCount(), 5);
    QApplication::processEvents();
    auto* scroll = qobject_cast<QScrollArea*>(v->panel()->parentWidget()->parentWidget());
    ASSERT_NE(scroll, nullptr);
    // Nothing cut on the right, nothing below the fold.
    EXPECT_GE(v->panel()->width(), v->panel()->minimumSizeHint().width()) << v->panel()->width();
    EXPECT_EQ(scroll->verticalScrollBar()->maximum(), 0) << "the panel scrolls";
    // All five rows of the lengths list.
    QTableWidget* lengths = v->panel()->lengthsList();
    const QRect last = lengths->visualRect(lengths->model()->index(4, 1));
    EXPECT_TRUE(lengths->viewport()->rect().contains(last)) << last.bottom() << " > " << lengths->viewport()->height();
}

TEST_F(ViewerWindow, SwitchingPanesTwiceReturnsTheFocus) {
    CSplitterPictFrame* v = openFromPanel();
    ASSERT_NE(v, nullptr);
    m_frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame.get()));
    v->view()->setFocus();
    QTRY_VERIFY(v->view()->hasFocus());
    v->runCommand(kCmdSwitchPane);
    QTRY_VERIFY(v->panel()->hasFocus());
    EXPECT_FALSE(v->viewWasActive());
    v->runCommand(kCmdSwitchPane);
    QTRY_VERIFY(v->view()->hasFocus());
    EXPECT_TRUE(v->viewWasActive());
}

TEST_F(ViewerWindow, ARecordingThatDoesNotLoadGivesAnEmptyClosableViewer) {
    const QString broken = m_dir.filePath(QStringLiteral("BROKEN.sgy"));
    QFile f(broken);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(3600, '\0'));
    f.close();
    for (const QString& p : {broken, m_dir.filePath(QStringLiteral("MISSING.sgy"))}) {
        SCOPED_TRACE(p.toStdString());
        m_prompts.records.clear();
        auto* v = qobject_cast<CSplitterPictFrame*>(m_frame->OpenViewer(p));
        ASSERT_NE(v, nullptr);
        ASSERT_EQ(m_prompts.texts().size(), 1u);
        EXPECT_FALSE(v->doc().Data().m_bLoaded);
        EXPECT_FALSE(v->panel()->isEnabled());
        // Keys, clicks and commands on the empty viewer do nothing.
        QTest::keyClick(v->view(), Qt::Key_Right);
        QTest::mouseDClick(v->view(), Qt::LeftButton, {}, QPoint(50, 50));
        v->runCommand(kCmdSpectrum);
        v->view()->repaint();
        v->runCommand(kCmdViewerClose);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(viewer(), nullptr);
    }
    EXPECT_EQ(QDir(m_dir.path()).entryList({"VARY.ini", "FILTER.ini"}, QDir::Files | QDir::Hidden).size(), 0)
        << "nothing is written beside a recording that never loaded";
}

TEST_F(ViewerWindow, HeaderViewerShowsTheFilesValues) {
    // Three traces, little-endian: the header viewer reads every trace in the file's own order.
    const QString three = m_dir.filePath(QStringLiteral("THREE.sgy"));
    SgyFixture f = SgyFixture::OfSamples(
        {HalfSinePile(256, 100, 10), HalfSinePile(256, 100, 20), HalfSinePile(256, 100, 30)}, 5, 50);
    f.littleEndian = true;
    ASSERT_TRUE(f.write(three));
    CPropertySheetSGY sheet(three, m_prompts);
    EXPECT_EQ(sheet.windowTitle(), "SGY");
    ASSERT_EQ(sheet.pages()->count(), 2);
    ASSERT_EQ(sheet.binaryList()->rowCount(), 12);
    EXPECT_EQ(sheet.binaryList()->item(3, 1)->text(), "3");
    EXPECT_EQ(sheet.binaryList()->item(6, 1)->text(), "50");
    EXPECT_EQ(sheet.binaryList()->item(7, 1)->text(), "256");
    EXPECT_EQ(sheet.traceNumber()->maximum(), 3);
    EXPECT_FALSE(sheet.tracesNote()->text().isEmpty());
    sheet.traceNumber()->setValue(2);
    ASSERT_EQ(sheet.traceList()->rowCount(), 42);
    EXPECT_EQ(sheet.traceList()->item(0, 1)->text(), "2");
    EXPECT_EQ(sheet.traceList()->item(38, 1)->text(), "256");
    EXPECT_EQ(sheet.traceList()->item(39, 1)->text(), "50");
    // A typed number past the last trace shows no values rather than the previous trace's.
    sheet.ShowTrace(QStringLiteral("9"));
    EXPECT_EQ(sheet.traceList()->item(0, 1)->text(), "");
    EXPECT_TRUE(m_prompts.texts().empty());

    // A header the reader does not recognise: told, and the rows keep no values (none of the file
    // read before it).
    const QString broken = m_dir.filePath(QStringLiteral("BROKEN.sgy"));
    QFile brokenFile(broken);
    ASSERT_TRUE(brokenFile.open(QIODevice::WriteOnly));
    brokenFile.write(QByteArray(4000, '\x7f'));
    brokenFile.close();
    CPropertySheetSGY brokenSheet(broken, m_prompts);
    EXPECT_EQ(m_prompts.texts(),
              std::vector<QString>{"Ошибка в формате SGY файла!\nКод формата данных 32639 не поддерживается"});
    ASSERT_EQ(brokenSheet.binaryList()->rowCount(), 12);
    EXPECT_EQ(brokenSheet.binaryList()->item(3, 1)->text(), "");
    EXPECT_EQ(brokenSheet.traceList()->item(0, 1)->text(), "");
}

TEST_F(ViewerWindow, DisplaySettingsRefuseValuesOutsideTheirRanges) {
    CDlgNScreen dialog(m_prompts);
    EXPECT_TRUE(dialog.field(3)->isHidden());
    dialog.setValues({24, 10, 5, 30});
    struct Case {
        int field;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {0, "129", "Please enter an integer between 0 and 128."},
        {1, "0", "Please enter an integer between 1 and 200."},
        {2, "x", "Please enter an integer."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        m_prompts.records.clear();
        dialog.setValues({24, 10, 5, 30});
        dialog.field(c.field)->setText(c.text);
        EXPECT_FALSE(dialog.exchange());
        ASSERT_EQ(m_prompts.texts().size(), 1u);
        EXPECT_EQ(m_prompts.texts()[0], c.message);
        EXPECT_EQ(dialog.values(), (std::array<int, 4>{24, 10, 5, 30}));
    }
    dialog.setValues({24, 10, 5, 30});
    dialog.field(0)->setText("0");
    EXPECT_TRUE(dialog.exchange());
    EXPECT_EQ(dialog.values()[0], 0);
}

} // namespace
