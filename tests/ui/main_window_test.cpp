// The main window and the file-manager window on screen (offscreen platform): first start and the
// settings round trip, the left column's width rules, the bars, the window commands, the toolbar,
// a panel on a fixture directory, and a panel on the instrument simulator over loopback UDP.

#include "app/ui/control_form.h"
#include "app/ui/dlg_disk.h"
#include "app/ui/dlg_wait.h"
#include "app/ui/list_file_view.h"
#include "app/ui/main_frame.h"
#include "app/ui/path_form.h"
#include "app/ui/splitter_frame.h"
#include "app/ui/zarno_app.h"

#include "tests/support/device_process.h"
#include "tests/support/recording_prompts.h"
#include "tests/ui/gui_test_support.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitterHandle>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>

using namespace zarno;
using namespace zarno::testing;

namespace {

[[maybe_unused]] ::testing::Environment* const g_gui =
    ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

// A main window made as the program makes it, shown and laid out.
struct Window {
    RecordingPrompts prompts;
    RecordingDialogs dialogs;
    std::unique_ptr<CMainFrame> frame;
    CSplitterFrame* manager = nullptr;

    Window() {
        frame = std::make_unique<CMainFrame>(prompts, &dialogs);
        frame->setDesktopOpener([this](const QString& path) { opened.push_back(path); });
        EXPECT_TRUE(frame->Create());
        manager = frame->CreateFileManagerWindow();
        frame->showAsPlaced();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        QApplication::processEvents();
    }
    ~Window() {
        if (frame)
            frame->close();
    }
    // Closes it as the user does: the settings are written.
    void close() {
        frame->close();
        frame.reset();
    }
    // Resizes the main window so that the file-manager window's client area is this wide.
    void setClientWidth(int width) {
        for (int i = 0; i < 3 && manager->outerSplitter()->width() != width; ++i) {
            const int chrome = frame->width() - manager->outerSplitter()->width();
            frame->resize(width + chrome, frame->height());
            QApplication::processEvents();
        }
        ASSERT_EQ(manager->outerSplitter()->width(), width);
    }
    std::vector<QString> opened;
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { WriteLoopbackLink(); }
};

TEST_F(MainWindowTest, FirstStartThenSettingsRoundTrip) {
    {
        Window w;
        // The kept rectangle is the outer one, title bar and borders included.
        EXPECT_EQ(w.frame->frameGeometry().topLeft(), QPoint(10, 10));
        EXPECT_EQ(w.frame->size(), QSize(760, 390));
        // 150 asked for, laid out no narrower than the column's controls need.
        EXPECT_EQ(w.manager->requestedLeftColumnWidth(), 150);
        EXPECT_EQ(w.manager->leftColumnWidth(), std::max(150, w.manager->columnMinimum(0)));
        EXPECT_TRUE(w.manager->isMaximized());
        // No serial port on this machine: said once at start.
        const std::vector<QString> said = w.prompts.texts();
        EXPECT_EQ(std::count(said.begin(), said.end(), QStringLiteral("Нет доступных COM - портов!")), 1);

        w.frame->move(40, 50);
        w.frame->resize(700, 500);
        QApplication::processEvents();
        // The user drags the outer bar to 320 and lets it go.
        QSplitterHandle* bar = w.manager->outerSplitter()->handle(1);
        const QPoint grip = bar->rect().center();
        QTest::mousePress(bar, Qt::LeftButton, {}, grip);
        QTest::mouseMove(bar, grip + QPoint(320 - w.manager->leftColumnWidth(), 0));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, grip + QPoint(320 - w.manager->leftColumnWidth(), 0));
        QApplication::processEvents();
        EXPECT_EQ(w.manager->leftColumnWidth(), 320);
        w.frame->showMaximized();
        QApplication::processEvents();
        w.close();
    }
    // Closed maximised: written as the normal rectangle, and "max" as 0.
    EXPECT_EQ(ReadWindowValue("Rect").toString(), QStringLiteral("0040 0050 0740 0550"));
    EXPECT_EQ(ReadWindowValue("max").toInt(), 0);
    EXPECT_EQ(ReadWindowValue("Splitter X Pos").toInt(), 320);

    Window again;
    EXPECT_EQ(again.frame->frameGeometry().topLeft(), QPoint(40, 50));
    EXPECT_EQ(again.frame->size(), QSize(700, 500));
    EXPECT_EQ(again.manager->leftColumnWidth(), 320);
}

// A settings file broken by a crash is repaired when the program closes; one that cannot be written
// is named in the message. Both in a settings folder of this test's own, since a folder in the file's
// place would fail every other window test running beside it.
TEST_F(MainWindowTest, ABrokenSettingsFileIsRepairedAndAnUnwritableOneNamed) {
    QTemporaryDir config;
    const QString shared = QSettings(QStringLiteral("Mervo"), QStringLiteral("Zarno")).fileName();
    const QString sharedFolder = shared.left(shared.size() - QStringLiteral("/Mervo/Zarno.conf").size());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    const QString path = CPersistentFrame::SettingsFileName();
    ASSERT_TRUE(path.startsWith(config.path()));
    WriteLoopbackLink();
    QFile conf(path);
    ASSERT_TRUE(conf.open(QIODevice::Append));
    conf.write(QByteArray(300, '\0'));
    conf.close();
    const QString failed = QStringLiteral("Ошибка при записи файла на PC!");
    {
        Window w;
        w.close();
        for (const QString& text : w.prompts.texts())
            EXPECT_FALSE(text.startsWith(failed)) << text.toStdString();
    }
    ASSERT_TRUE(conf.open(QIODevice::ReadOnly));
    EXPECT_FALSE(conf.readAll().contains('\0'));
    conf.close();
    EXPECT_EQ(ReadWindowValue("Rect").toString(), QStringLiteral("0010 0010 0770 0400"));

    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkpath(path)); // a folder where the file belongs
    {
        Window w;
        w.close();
        const std::vector<QString> said = w.prompts.texts();
        EXPECT_NE(std::find(said.begin(), said.end(), failed + "\n" + path), said.end());
    }
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, sharedFolder);
}

TEST_F(MainWindowTest, ARectangleKeptOffTheScreenOpensOnItAndIsNotKeptOffIt) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (const char* kept : {"5000 3000 5760 3390", "-3000 -2000 -2240 -1610", "-100 -100 9000 9000"}) {
        SCOPED_TRACE(kept);
        WriteWindowValue("Rect", QString::fromLatin1(kept));
        WriteWindowValue("max", 0);
        {
            Window w;
            EXPECT_TRUE(screen.contains(w.frame->frameGeometry()))
                << w.frame->frameGeometry().x() << "," << w.frame->frameGeometry().y();
            w.close();
        }
        const QStringList edges = ReadWindowValue("Rect").toString().split(QLatin1Char(' '));
        ASSERT_EQ(edges.size(), 4);
        EXPECT_TRUE(screen.contains(QRect(QPoint(edges[0].toInt(), edges[1].toInt()),
                                          QPoint(edges[2].toInt() - 1, edges[3].toInt() - 1))))
            << ReadWindowValue("Rect").toString().toStdString();
    }
}

TEST_F(MainWindowTest, LeftColumnStartsAtTheSavedPositionOrAt150) {
    const struct { int saved, expected; } cases[] = {{0, 150}, {90, 150}, {149, 150}, {400, 400}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.saved);
        WriteLoopbackLink();
        WriteWindowValue("Rect", "0010 0010 0790 0510");
        WriteWindowValue("Splitter X Pos", c.saved);
        Window w;
        EXPECT_EQ(w.manager->requestedLeftColumnWidth(), c.expected);
        EXPECT_EQ(w.manager->leftColumnWidth(), std::max(c.expected, w.manager->columnMinimum(0)));
    }
}

TEST_F(MainWindowTest, LeftColumnKeepsItsShareWhenTheWindowWidens) {
    Window w;
    w.setClientWidth(800);
    w.manager->setLeftColumnWidth(300);
    w.setClientWidth(1200);
    EXPECT_EQ(w.manager->leftColumnWidth(), 450);
    w.setClientWidth(1000);
    EXPECT_EQ(w.manager->leftColumnWidth(), 375);
}

// A position saved in a wider window: both columns keep what their controls need, and the saved
// value stays as the user set it.
TEST_F(MainWindowTest, RestartWithASavedBarBeyondTheWindowKeepsBothColumnsUsable) {
    WriteWindowValue("Rect", "0010 0010 0610 0410");
    WriteWindowValue("Splitter X Pos", 700);
    {
        Window w;
        EXPECT_EQ(w.manager->requestedLeftColumnWidth(), 700);
        const QList<int> sizes = w.manager->outerSplitter()->sizes();
        for (int column = 0; column < 2; ++column) {
            SCOPED_TRACE(column);
            EXPECT_GE(sizes[column], w.manager->columnMinimum(column));
            // Every control of the header whole: none is squeezed below what its text needs.
            CControlForm* header = w.frame->panelHeader(column);
            EXPECT_GE(header->width(), header->minimumSizeHint().width());
            for (QPushButton* button : {header->diskInfoButton(), header->rootButton(), header->upButton(),
                                        header->viewButton()})
                EXPECT_GE(button->width(), button->fontMetrics().horizontalAdvance(button->text()))
                    << button->text().toStdString();
        }
        w.close();
    }
    EXPECT_EQ(ReadWindowValue("Splitter X Pos").toInt(), 700);
}

TEST_F(MainWindowTest, InnerBarsDoNotMove) {
    Window w;
    for (int column = 0; column < 2; ++column) {
        SCOPED_TRACE(column);
        QSplitter* inner = w.manager->innerSplitter(column);
        const QList<int> before = inner->sizes();
        QSplitterHandle* bar = inner->handle(2);
        const QPoint grip = bar->rect().center();
        QTest::mousePress(bar, Qt::LeftButton, {}, grip);
        QTest::mouseMove(bar, grip + QPoint(0, 60));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, grip + QPoint(0, 60));
        QApplication::processEvents();
        EXPECT_EQ(inner->sizes(), before);
    }
}

TEST_F(MainWindowTest, WindowCommands) {
    Window w;
    // The user cannot close the file manager.
    EXPECT_FALSE(w.manager->close());
    EXPECT_TRUE(w.manager->isVisible());

    // 32808 hides the file manager with the toolbar; pressed again it shows both.
    w.frame->runCommand(kCmdToggleManager);
    EXPECT_FALSE(w.manager->isVisible());
    EXPECT_FALSE(w.frame->commandsBar()->isVisible());
    w.frame->runCommand(kCmdToggleManager);
    EXPECT_TRUE(w.manager->isVisible());
    EXPECT_TRUE(w.frame->commandsBar()->isVisible());

    // Alt+F1 and Alt+F2 open the left and the right drive list.
    for (const auto& [id, panel] : {std::pair{kCmdLeftDriveList, 0}, std::pair{kCmdRightDriveList, 1}}) {
        SCOPED_TRACE(panel);
        QComboBox* drives = w.frame->panelHeader(panel)->driveList();
        w.frame->runCommand(id);
        QApplication::processEvents();
        EXPECT_TRUE(drives->view()->isVisible());
        drives->hidePopup();
        EXPECT_FALSE(w.frame->panelHeader(1 - panel)->driveList()->view()->isVisible());
    }

    // 32783 moves the focus back and forth between the two lists.
    w.frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.frame.get()));
    w.frame->panelList(0)->setFocus();
    for (int expected : {1, 0, 1}) {
        w.frame->runCommand(kCmdSwitchPanel);
        QApplication::processEvents();
        EXPECT_TRUE(w.frame->panelList(expected)->isAncestorOf(QApplication::focusWidget()) ||
                    w.frame->panelList(expected) == QApplication::focusWidget())
            << "expected the focus in list " << expected;
        EXPECT_EQ(w.frame->activePanel(), expected);
    }
}

// "Показать транспорт" shows the current link's diagnostics window; closing the program closes the
// link, and the window goes with it.
TEST_F(MainWindowTest, ShowTransportShowsTheLinksDiagnosticsWindow) {
    const auto debugWindow = []() -> QWidget* {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->objectName() == QStringLiteral("velnetDebugWindow"))
                return widget;
        return nullptr;
    };
    Window w;
    // The main window in the screen's bottom right-hand corner: the diagnostics window opens over
    // it as far as the screen lets it, wholly on the screen.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    w.frame->resize(300, 200);
    w.frame->move(screen.right() - w.frame->frameGeometry().width(), screen.bottom() - w.frame->frameGeometry().height());
    w.frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.frame.get()));
    w.frame->runCommand(kCmdShowTransport);
    QApplication::processEvents();
    QWidget* shown = debugWindow();
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(screen.contains(shown->frameGeometry()));
    EXPECT_EQ(shown->frameGeometry().bottomRight(), screen.bottomRight())
        << shown->frameGeometry().x() << "," << shown->frameGeometry().y();
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->isVisible());
    EXPECT_EQ(shown->windowTitle(), "Debug"); // no "LocalLang" here: English
    EXPECT_EQ(shown->findChild<QLineEdit*>(QStringLiteral("remoteAddress"))->text(), "127.0.0.1");
    EXPECT_EQ(shown->findChild<QLabel*>(QStringLiteral("portName"))->text(), "UDP");
    w.close();
    QApplication::processEvents();
    EXPECT_EQ(debugWindow(), nullptr);
}

TEST_F(MainWindowTest, ToolbarButtonsKeysAndToggle) {
    Window w;
    QToolBar* bar = w.frame->commandsBar();
    EXPECT_EQ(bar->windowTitle(), QStringLiteral("Commands Bar"));
    const struct {
        CommandId id;
        const char* label;
        QKeySequence key;
    } buttons[] = {{kCmdCopy, "Копирование (F5)", QKeySequence(Qt::Key_F5)},
                   {kCmdMakeDirectory, "Создание каталога (F7)", QKeySequence(Qt::Key_F7)},
                   {kCmdDelete, "Стирание (F8)", QKeySequence(Qt::Key_F8)}};
    ASSERT_EQ(bar->actions().size(), 3);
    for (size_t i = 0; i < std::size(buttons); ++i) {
        SCOPED_TRACE(buttons[i].label);
        QAction* a = bar->actions()[qsizetype(i)];
        EXPECT_EQ(a, w.frame->action(buttons[i].id));
        EXPECT_EQ(a->text(), QString::fromUtf8(buttons[i].label));
        EXPECT_EQ(a->shortcut(), buttons[i].key);
        auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(a));
        ASSERT_NE(button, nullptr);
        EXPECT_NE(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
    }
    EXPECT_EQ(w.frame->action(kCmdLeftDriveList)->shortcut(), QKeySequence(Qt::ALT | Qt::Key_F1));
    EXPECT_EQ(w.frame->action(kCmdRightDriveList)->shortcut(), QKeySequence(Qt::ALT | Qt::Key_F2));

    QAction* toggle = w.frame->action(kCmdToolbar);
    EXPECT_TRUE(toggle->isChecked());
    w.frame->runCommand(kCmdToolbar);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_FALSE(toggle->isChecked());
    w.frame->runCommand(kCmdToolbar);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(toggle->isChecked());
}

TEST_F(MainWindowTest, PanelShowsAFixtureDirectory) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("SUB"));
    for (const char* name : {"WAVE.DDB", "notes.txt", "README"}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("1234");
    }
    WriteWindowValue("Current Left Directory", dir.path());
    Window w;
    CListFileView* list = w.frame->panelList(0);
    QAbstractItemModel* model = list->table()->model();
    ASSERT_EQ(model->rowCount(), 5); // "..", SUB and three files
    EXPECT_EQ(w.frame->panelHeader(0)->fileCount()->text(), QStringLiteral("4"));
    EXPECT_EQ(w.frame->panelPath(0)->text(), dir.path());
    QStringList headers;
    for (int c = 0; c < model->columnCount(); ++c)
        headers << model->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headers, QStringList({"Имя файла", "Тип", "Размер", "Изменен"}));
    EXPECT_FALSE(model->data(model->index(0, 0), Qt::DecorationRole).isNull());

    // The context menu: its submenu with the check mark on the current order, then the commands.
    std::unique_ptr<QMenu> menu(list->buildContextMenu(nullptr));
    QStringList texts;
    for (QAction* a : menu->actions())
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(texts, QStringList({"Сортировка", "-", "Копирование", "Создание каталога", "Стирание",
                                  "Преобразование DDB в SGY", "-", "Выделить все"}));
    QMenu* sort = menu->actions()[0]->menu();
    ASSERT_NE(sort, nullptr);
    QStringList checked;
    for (QAction* a : sort->actions())
        if (a->isChecked())
            checked << a->text();
    EXPECT_EQ(checked, QStringList({"По типу"}));
    sort->actions()[2]->trigger(); // "По размеру"
    EXPECT_EQ(w.frame->files().panelState(0).sortMode, kSortBySize);
    EXPECT_EQ(w.frame->files().panelState(1).sortMode, kSortByType);

    // "Выделить все" selects the three files; F5 on several files opens the copy of many.
    menu->actions().last()->trigger();
    EXPECT_EQ(list->selectedRows().size(), 3u);
    list->setFocus();
    w.frame->runCommand(kCmdCopy);
    ASSERT_EQ(w.dialogs.calls.size(), 1u);
    EXPECT_EQ(w.dialogs.calls[0].what, QStringLiteral("copy many"));
    EXPECT_EQ(w.dialogs.calls[0].detail, QStringLiteral("3"));

    // One DDB file: the copy proposes its SEG-Y name. Enter on a file opens it on the desktop.
    list->table()->clearSelection();
    int wave = -1;
    for (int r = 0; r < model->rowCount(); ++r)
        if (model->index(r, 0).data().toString() == QStringLiteral("WAVE"))
            wave = r;
    ASSERT_GE(wave, 0);
    list->table()->selectRow(wave);
    w.frame->runCommand(kCmdCopy);
    ASSERT_EQ(w.dialogs.calls.size(), 2u);
    EXPECT_EQ(w.dialogs.calls[1].detail, QStringLiteral("WAVE.sgy"));
    QTest::keyClick(list->table(), Qt::Key_Return);
    EXPECT_EQ(w.opened, std::vector<QString>({dir.filePath("WAVE.DDB")}));

    // A double click on SUB enters it; ".." of the header goes back.
    int sub = -1;
    for (int r = 0; r < model->rowCount(); ++r)
        if (model->index(r, 0).data().toString() == QStringLiteral("SUB"))
            sub = r;
    ASSERT_GE(sub, 0);
    list->openRow(sub);
    EXPECT_EQ(w.frame->panelPath(0)->text(), dir.filePath("SUB"));
    EXPECT_EQ(w.frame->panelHeader(0)->fileCount()->text(), QStringLiteral("0"));
    w.frame->panelHeader(0)->upButton()->click();
    EXPECT_EQ(w.frame->panelPath(0)->text(), dir.path());
}

// The instrument's drive through `zarno-device serve` on 127.0.0.1.
TEST(InstrumentPanel, EnterTheInstrumentBrowseAndDisconnect) {
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkdir("SITE1"));
    for (const char* name : {"PILE12.DDB", "SITE1/P01.DDB", "SITE1/P02.DDB"}) {
        QFile f(root.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(700, 'x'));
    }
    DeviceProcess device(root.path().toStdString(), {"--label", "SAMPLES", "--disk-size", "64000000"});
    WriteLoopbackLink(device.port);
    Window w;
    ASSERT_TRUE(w.frame->files().IsConnected());
    CControlForm* header = w.frame->panelHeader(0);
    const int z = header->driveList()->findText(QStringLiteral("z:\\"));
    ASSERT_EQ(z, header->driveList()->count() - 1);

    header->chooseDrive(z);
    PanelModel& model = w.frame->files().model(0);
    ASSERT_TRUE(w.frame->files().panelState(0).onDevice);
    EXPECT_EQ(w.frame->panelPath(0)->text(), QStringLiteral("z:\\"));
    EXPECT_EQ(header->fileCount()->text(), QStringLiteral("2"));
    EXPECT_EQ(header->driveList()->currentText(), QStringLiteral("z:\\"));
    EXPECT_TRUE(header->driveList()->isEnabled()); // unlocked again
    EXPECT_TRUE(w.frame->menuBar()->isEnabled());

    int site = -1;
    for (int r = 0; r < model.rowCount(); ++r)
        if (model.entry(r)->isDirectory && model.entry(r)->fileName == QStringLiteral("SITE1"))
            site = r;
    ASSERT_GE(site, 0);
    w.frame->panelList(0)->openRow(site);
    EXPECT_EQ(w.frame->panelPath(0)->text(), QStringLiteral("z:\\SITE1"));
    EXPECT_EQ(header->fileCount()->text(), QStringLiteral("2"));
    header->upButton()->click();
    EXPECT_EQ(w.frame->panelPath(0)->text(), QStringLiteral("z:\\"));

    // The drive dialog's instrument row, once its disk is open.
    {
        CDlgDisk dialog(w.frame->files().Drives());
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Информация о накопителях"));
        QTreeWidgetItem* row = dialog.list()->topLevelItem(dialog.list()->topLevelItemCount() - 1);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->text(0), QStringLiteral("z:\\"));
        EXPECT_EQ(row->text(1), QStringLiteral("SAMPLES"));
        EXPECT_EQ(row->text(2), QStringLiteral("FAT special"));
        EXPECT_EQ(row->text(3), QStringLiteral("8"));
        EXPECT_EQ(row->text(4), QStringLiteral("65536000")); // 64000 units of 1000 bytes, times 1024
        EXPECT_EQ(row->text(5), QStringLiteral("<Unknown>"));
        // At least the given width, and wide enough for its heading.
        EXPECT_GE(dialog.list()->columnWidth(4), 120);
        EXPECT_GE(dialog.list()->columnWidth(4), dialog.list()->header()->sectionSizeHint(4));
        EXPECT_EQ(dialog.list()->headerItem()->text(4), QStringLiteral("Размер накопителя(kB)"));
    }

    // The second panel enters the instrument too (the disk is open already).
    w.frame->panelHeader(1)->chooseDrive(z);
    EXPECT_EQ(w.frame->panelPath(1)->text(), QStringLiteral("z:\\"));
    EXPECT_TRUE(w.frame->files().panelState(1).onDevice);

    // "Отключить транспорт" puts both panels back on "/".
    w.frame->runCommand(kCmdDisconnect);
    EXPECT_FALSE(w.frame->files().IsConnected());
    for (int panel = 0; panel < 2; ++panel) {
        SCOPED_TRACE(panel);
        EXPECT_FALSE(w.frame->files().panelState(panel).onDevice);
        EXPECT_EQ(w.frame->panelPath(panel)->text(), QStringLiteral("/"));
        EXPECT_EQ(w.frame->panelHeader(panel)->driveList()->currentText(), QStringLiteral("/"));
    }
    for (const QString& text : w.prompts.texts())
        EXPECT_EQ(text, QStringLiteral("Нет доступных COM - портов!")) << "an unexpected message";
}

// A listing that fails, answered No: the panel is back on "/", and nothing stays locked.
TEST(InstrumentPanel, FailedListingAnsweredNoUnlocksEverything) {
    QTemporaryDir root;
    DeviceProcess device(root.path().toStdString(), {"--no-answer", "66"});
    WriteLoopbackLink(device.port);
    Window w;
    CControlForm* header = w.frame->panelHeader(0);
    header->chooseDrive(header->driveList()->findText(QStringLiteral("z:\\")));

    const std::vector<QString> said = w.prompts.texts();
    EXPECT_NE(
        std::find(said.begin(), said.end(), QStringLiteral("Ошибка при установке каталога! Повторить?")),
        said.end());
    EXPECT_FALSE(w.frame->files().panelState(0).onDevice);
    EXPECT_EQ(w.frame->panelPath(0)->text(), QStringLiteral("/"));
    EXPECT_EQ(header->driveList()->currentText(), QStringLiteral("/"));
    EXPECT_FALSE(w.frame->panelsLocked());
    EXPECT_TRUE(w.frame->menuBar()->isEnabled());
    EXPECT_TRUE(w.frame->commandsBar()->isEnabled());
    for (int panel = 0; panel < 2; ++panel) {
        SCOPED_TRACE(panel);
        CControlForm* h = w.frame->panelHeader(panel);
        for (QWidget* control : std::initializer_list<QWidget*>{h->driveList(), h->diskInfoButton(),
                                                                h->rootButton(), h->upButton()})
            EXPECT_TRUE(control->isEnabled());
        EXPECT_TRUE(w.frame->panelList(panel)->isEnabled());
    }
}

// Prompts that note whether the link's wait window was on screen when each box appeared.
class WaitWatchingPrompts final : public Prompts {
public:
    std::function<bool()> waitShown;
    std::vector<std::pair<QString, bool>> shown; // text, wait window visible then

    void message(const QString& text, const QString&, PromptIcon) override { note(text); }
    bool askYesNo(const QString& text, const QString&) override {
        note(text);
        return false;
    }
    OverwriteAnswer askOverwrite(const QString& text, const QString&) override {
        note(text);
        return OverwriteAnswer::No;
    }
    void trace(const QString&) override {}

private:
    void note(const QString& text) { shown.emplace_back(text, waitShown && waitShown()); }
};

// The instrument does not answer the disk information request: the error box comes, and the wait
// window is gone before it.
TEST(InstrumentPanel, TheWaitWindowClosesBeforeTheErrorBox) {
    QTemporaryDir root;
    DeviceProcess device(root.path().toStdString(), {"--no-answer", "65"});
    WriteLoopbackLink(device.port);
    WaitWatchingPrompts prompts;
    CMainFrame frame(prompts, nullptr);
    prompts.waitShown = [&frame] {
        auto* wait = frame.findChild<CDlgWait*>();
        return wait && wait->isVisible();
    };
    ASSERT_TRUE(frame.Create());
    frame.CreateFileManagerWindow();
    frame.showAsPlaced();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    CControlForm* header = frame.panelHeader(0);
    header->chooseDrive(header->driveList()->findText(QStringLiteral("z:\\")));

    EXPECT_FALSE(frame.files().panelState(0).onDevice);
    ASSERT_NE(frame.findChild<CDlgWait*>(), nullptr) << "the wait window never came";
    size_t boxes = 0;
    for (const auto& [text, waitVisible] : prompts.shown) {
        if (text == QStringLiteral("Нет доступных COM - портов!"))
            continue;
        ++boxes;
        EXPECT_FALSE(waitVisible) << text.toStdString() << " shown under the wait window";
    }
    EXPECT_GT(boxes, 0u) << "the failure was not told";
    frame.close();
}

// A computer file of a type that no program opens: the user is told, with the file's path. The
// desktop's opener is a stand-in on PATH that answers as the real one does when it finds nothing.
TEST_F(MainWindowTest, AFileNoProgramOpensIsReported) {
    QTemporaryDir dir, tools;
    QFile opener(tools.filePath("xdg-open"));
    ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
    opener.write("#!/bin/sh\nexit 3\n");
    opener.close();
    ASSERT_TRUE(opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QFile file(dir.filePath("DATA.ZQX"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", tools.path().toLocal8Bit() + ":" + path);
    WriteWindowValue("Current Left Directory", dir.path());

    RecordingPrompts prompts;
    CMainFrame frame(prompts, nullptr);
    ASSERT_TRUE(frame.Create());
    frame.CreateFileManagerWindow();
    frame.showAsPlaced();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    PanelModel& model = frame.files().model(0);
    int row = -1;
    for (int r = 0; r < model.rowCount(); ++r)
        if (model.entry(r)->fileName == QStringLiteral("DATA.ZQX"))
            row = r;
    ASSERT_GE(row, 0);
    frame.panelList(0)->openRow(row);
    const QString expected =
        QString::fromUtf8(kTextNoProgramForFile).arg(dir.filePath(QStringLiteral("DATA.ZQX")));
    const auto told = [&prompts, &expected] {
        const std::vector<QString> said = prompts.texts();
        return std::find(said.begin(), said.end(), expected) != said.end();
    };
    EXPECT_TRUE(QTest::qWaitFor(told, 20000));
    qputenv("PATH", path);
    frame.close();
}

} // namespace

namespace {

TEST(Application, RecentFileListKeepsTheLastFour) {
    WriteLoopbackLink();
    CZarnoApp app;
    for (const char* path : {"/a", "/b", "/c", "/d", "/e", "/c"})
        app.addRecentFile(QString::fromLatin1(path));
    EXPECT_EQ(app.recentFiles(), QStringList({"/c", "/e", "/d", "/b"}));
    QSettings store(QStringLiteral("Mervo"), QStringLiteral("Zarno"));
    EXPECT_EQ(store.value("Recent File List/File1").toString(), QStringLiteral("/c"));
    EXPECT_EQ(store.value("Recent File List/File4").toString(), QStringLiteral("/b"));
    EXPECT_FALSE(store.contains("Recent File List/File5"));
    EXPECT_STREQ(kDocumentTypes[0].name, "Zarno");
    EXPECT_STREQ(kDocumentTypes[1].name, "PictText");
}

} // namespace
