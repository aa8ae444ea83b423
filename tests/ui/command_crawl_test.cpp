// Every command of the program, as a user going through the menus would try them: the whole
// program (the application object, its message boxes and file dialogs real) with a recording open,
// each action of each menu, toolbar and panel context menu triggered twice, its dialogs answered
// once with OK and once with Escape. The program has to live through all of it, and what Escape
// answered must have changed nothing: neither the recording's document nor the files on disk.

#include "app/ui/dialogs/file_operation_dialogs.h"
#include "app/ui/list_file_view.h"
#include "app/ui/main_frame.h"
#include "app/sitemodels/pile_table_model.h"
#include "app/ui/site/site_frame.h"
#include "app/ui/splitter_frame.h"
#include "app/ui/viewer/splitter_pict_frame.h"
#include "app/ui/zarno_app.h"

#include "device/sample_site.h"
#include "tests/support/modal_answerer.h"
#include "tests/ui/gui_test_support.h"
#include "tests/support/sgy_fixture.h"

#include <QDir>
#include <QDirIterator>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
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

// The actions a user reaches from a menu bar or a menu: the submenus' entries, not the submenus.
void CollectActions(const QList<QAction*>& actions, std::vector<QPointer<QAction>>& out) {
    for (QAction* a : actions) {
        if (a->isSeparator())
            continue;
        if (QMenu* sub = a->menu())
            CollectActions(sub->actions(), out);
        else
            out.emplace_back(a);
    }
}

// What Escape must leave as it was: the recording's samples as shown, and every setting of the
// document that a dialog edits.
QByteArray DocumentState(const CPictDoc& document) {
    const PictDocData& doc = document.Data();
    QByteArray state;
    QDataStream out(&state, QIODevice::WriteOnly);
    out << doc.m_nVaruFirst << doc.m_nVaruSecond << doc.m_bUseVaru << doc.m_display.m_nMaxGraphs
        << doc.m_display.m_nBiasXGr << doc.m_display.m_nBiasXFur << doc.m_display.m_nFillMode << doc.m_nFftWindow
        << doc.m_nSpectrumScale;
    for (double v : doc.m_pVaru)
        out << v;
    for (std::size_t t = 0; t < doc.m_pGained.size(); ++t)
        for (double v : doc.m_pGained[t])
            out << v;
    for (std::size_t t = 0; t < doc.m_pGainedFiltered.size(); ++t)
        for (double v : doc.m_pGainedFiltered[t])
            out << v;
    return state;
}

// The files under a folder with their sizes, settings files beside the recording aside (closing a
// viewer keeps them there by design).
QStringList FilesUnder(const QString& root) {
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        if (it.fileName().endsWith(QLatin1String(".ini")))
            continue;
        files << QDir(root).relativeFilePath(it.filePath()) + QLatin1Char(' ') + QString::number(it.fileInfo().size());
    }
    files.sort();
    return files;
}

class CommandCrawl : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("left")));
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("right")));
        // Whatever a command writes into the current or the home folder (the PDF printer's file)
        // stays in here.
        m_savedCwd = QDir::currentPath();
        m_savedHome = qgetenv("HOME");
        ASSERT_TRUE(m_home.isValid());
        qputenv("HOME", m_home.path().toLocal8Bit());
        ASSERT_TRUE(QDir::setCurrent(m_dir.filePath(QStringLiteral("right"))));
        ASSERT_TRUE(SgyFixture::OfSamples({HalfSinePile(1024, 300, 1000), HalfSinePile(1024, 300, 800)})
                        .write(recording()));
        WriteLoopbackLink();
        WriteWindowValue("Current Left Directory", m_dir.filePath(QStringLiteral("left")));
        WriteWindowValue("Current Right Directory", m_dir.filePath(QStringLiteral("right")));
        ModalAnswerer answerer(ModalAnswerer::Answer::Ok); // the start's "no serial ports"
        m_app = std::make_unique<CZarnoApp>([](CMainFrame& frame) -> std::unique_ptr<FileDialogs> {
            return std::make_unique<FileOperationDialogs>(frame.files(), frame.prompts(), &frame);
        });
        ASSERT_TRUE(m_app->InitInstance());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame()));
    }
    void TearDown() override {
        {
            ModalAnswerer answerer(ModalAnswerer::Answer::Ok);
            m_app.reset();
        }
        QDir::setCurrent(m_savedCwd);
        qputenv("HOME", m_savedHome);
    }

    CMainFrame* frame() const { return m_app->mainFrame(); }
    QString recording() const { return m_dir.filePath(QStringLiteral("left/PILE.sgy")); }
    CSplitterPictFrame* viewer() const { return qobject_cast<CSplitterPictFrame*>(frame()->viewerFrame()); }

    // What one command with one answer did.
    struct Outcome {
        int dialogs = 0;
        bool documentKept = true;
        bool filesKept = true;
        std::string files; // before and after, when they differ
    };
    Outcome trigger(QAction* a, ModalAnswerer::Answer answer) {
        Outcome outcome;
        const QByteArray before = viewer() ? DocumentState(viewer()->doc()) : QByteArray();
        const QPointer<CSplitterPictFrame> shown = viewer();
        const QStringList files = FilesUnder(m_dir.path());
        {
            ModalAnswerer answerer(answer);
            a->trigger();
            QTest::qWait(30);
            QApplication::processEvents();
            outcome.dialogs = answerer.answered();
        }
        if (shown && shown == viewer())
            outcome.documentKept = DocumentState(viewer()->doc()) == before;
        const QStringList after = FilesUnder(m_dir.path());
        outcome.filesKept = after == files;
        if (!outcome.filesKept)
            outcome.files =
                (files.join(QLatin1Char(',')) + QStringLiteral(" -> ") + after.join(QLatin1Char(','))).toStdString();
        return outcome;
    }

    void crawl(const std::vector<QPointer<QAction>>& actions, const std::function<void()>& before) {
        for (const QPointer<QAction>& a : actions) {
            for (auto answer : {ModalAnswerer::Answer::Escape, ModalAnswerer::Answer::Ok}) {
                if (!a)
                    break;
                const QString name = a->text();
                SCOPED_TRACE(name.toStdString() + (answer == ModalAnswerer::Answer::Ok ? " / OK" : " / Esc"));
                before();
                const Outcome outcome = trigger(a, answer);
                ASSERT_NE(frame(), nullptr);
                EXPECT_TRUE(frame()->isVisible());
                if (answer == ModalAnswerer::Answer::Escape && outcome.dialogs > 0) {
                    EXPECT_TRUE(outcome.documentKept) << "Escape changed the recording's document";
                    EXPECT_TRUE(outcome.filesKept) << "Escape changed the files: " << outcome.files;
                }
            }
        }
    }

    QTemporaryDir m_dir;
    QTemporaryDir m_home; // a home of its own: Qt's caches go there
    QString m_savedCwd;
    QByteArray m_savedHome;
    std::unique_ptr<CZarnoApp> m_app;
};

TEST_F(CommandCrawl, EveryCommandOfTheViewerAndTheMainWindow) {
    // The viewer's menu, its own "Закрыть" last.
    frame()->OpenViewer(recording());
    ASSERT_NE(viewer(), nullptr);
    ASSERT_TRUE(viewer()->doc().Data().m_bLoaded);
    std::vector<QPointer<QAction>> viewerActions;
    CollectActions(viewer()->menuBar()->actions(), viewerActions);
    QPointer<QAction> closeViewer = viewer()->action(kCmdViewerClose);
    std::erase(viewerActions, closeViewer);
    ASSERT_GE(viewerActions.size(), 20u);
    const QPointer<CSplitterPictFrame> opened = viewer();
    // Once over the signals, once over the spectra, where the spectrum commands do their work.
    for (ViewerCommandId mode : {kCmdSignals, kCmdSpectrum}) {
        SCOPED_TRACE(mode == kCmdSpectrum ? "spectra" : "signals");
        crawl(viewerActions, [this, &opened, mode] {
            frame()->mdiArea()->setActiveSubWindow(opened);
            if (opened)
                opened->runCommand(mode);
        });
        ASSERT_TRUE(opened) << "a command closed the viewer";
    }
    trigger(closeViewer, ModalAnswerer::Answer::Ok);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(opened);

    // The main window's menus and toolbar, and each panel's context menu, on a spare file (the
    // copy and the delete may take it), the recording still open beside them; "Выход" last.
    frame()->OpenViewer(recording());
    std::vector<QPointer<QAction>> mainActions;
    CollectActions(frame()->menuBar()->actions(), mainActions);
    CollectActions(frame()->commandsBar()->actions(), mainActions);
    std::vector<std::unique_ptr<QMenu>> contextMenus;
    for (int panel = 0; panel < 2; ++panel) {
        contextMenus.emplace_back(frame()->panelList(panel)->buildContextMenu(nullptr));
        CollectActions(contextMenus.back()->actions(), mainActions);
    }
    QPointer<QAction> exit = frame()->action(kCmdAppExit);
    std::erase(mainActions, exit);
    ASSERT_GE(mainActions.size(), 30u);
    const auto selectSpare = [this] {
        QFile spare(m_dir.filePath(QStringLiteral("left/SPARE.TXT")));
        if (!spare.exists() && spare.open(QIODevice::WriteOnly))
            spare.write("spare");
        spare.close();
        if (CSplitterFrame* manager = frame()->splitterFrame()) {
            if (!manager->isShown())
                manager->ToggleManager();
            frame()->mdiArea()->setActiveSubWindow(manager);
        }
        CListFileView* list = frame()->panelList(0);
        frame()->files().RefillComputerPanel(0);
        QAbstractItemModel* model = list->table()->model();
        list->table()->clearSelection();
        for (int r = 0; r < model->rowCount(); ++r)
            if (model->index(r, 0).data().toString() == QStringLiteral("SPARE"))
                list->table()->selectRow(r);
        list->setFocus();
    };
    crawl(mainActions, selectSpare);

    trigger(exit, ModalAnswerer::Answer::Ok);
    EXPECT_FALSE(frame()->isVisible());
}

// A site's window and the viewer of a pile opened from it, whose menu holds the command that hands
// the length at the marker to the site: every menu command and every button, Escape and OK.
TEST_F(CommandCrawl, EveryCommandOfTheSiteWindowAndItsPilesViewer) {
    const QString folder = m_dir.filePath(QStringLiteral("left/SURVEY"));
    std::string error;
    ASSERT_TRUE(device::WriteSampleSite(folder.toStdString(), &error)) << error;
    const QPointer<CSiteFrame> site = frame()->OpenSite(folder);
    ASSERT_TRUE(site);
    // A survey of the sample site takes a few seconds; a sanitizer build several times that.
    QTRY_VERIFY_WITH_TIMEOUT(!site->surveying() && site->model().rowCount() > 0, 180000);
    site->table()->setCurrentIndex(site->table()->model()->index(0, 0));
    site->OpenCurrentPile();
    ASSERT_NE(viewer(), nullptr);
    const QPointer<CSplitterPictFrame> pile = viewer();
    ASSERT_TRUE(pile->action(kCmdLengthToSite));
    std::vector<QPointer<QAction>> actions;
    CollectActions(pile->menuBar()->actions(), actions);
    std::erase(actions, QPointer<QAction>(pile->action(kCmdViewerClose)));
    ASSERT_NE(std::find(actions.begin(), actions.end(), QPointer<QAction>(pile->action(kCmdLengthToSite))),
              actions.end());
    crawl(actions, [this, &pile] {
        if (pile)
            frame()->mdiArea()->setActiveSubWindow(pile);
    });
    ASSERT_TRUE(pile) << "a command closed the pile's viewer";

    std::vector<QPointer<QAction>> buttons;
    for (QPushButton* button : site->findChildren<QPushButton*>()) {
        auto* click = new QAction(button->text(), site);
        QObject::connect(click, &QAction::triggered, button, &QPushButton::click);
        buttons.emplace_back(click);
    }
    ASSERT_FALSE(buttons.empty());
    crawl(buttons, [this, &site] {
        if (site)
            frame()->mdiArea()->setActiveSubWindow(site);
    });
    ASSERT_TRUE(site) << "a button closed the site's window";
}

} // namespace
