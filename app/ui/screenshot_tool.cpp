// zarno-screenshot OUT.png [VIEWER.png FILE.sgy]: the main window as the program builds it from the settings in
// $XDG_CONFIG_HOME, with the left panel on the instrument's drive "z:\" (the settings must aim the
// link at a running zarno-device), saved as a picture; with the second pair, also the signal
// viewer of FILE.sgy, its markers on the blow and on the automatic reflection.
// zarno-screenshot --site DIR SITE.png STACKED.png: the site window of DIR beside the file manager,
// a pile to look at selected, and the site window alone on its page of stacked piles.
// Messages go to standard error, so nothing waits for a click.

#include "app/i18n/language_option.h"
#include "app/i18n/translation.h"
#include "app/seams/stderr_prompts.h"
#include "app/shell/persistent_settings.h"
#include "app/ui/control_form.h"
#include "app/ui/list_file_view.h"
#include "app/ui/main_frame.h"
#include "app/ui/site/site_frame.h"
#include "app/ui/splitter_frame.h"
#include "app/ui/viewer/pict_form.h"
#include "app/ui/viewer/pict_view.h"
#include "app/ui/viewer/splitter_pict_frame.h"
#include "app/viewer/pict_panel_model.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QPixmap>
#include <QTabWidget>
#include <QTableView>
#include <QThread>

#include <cstdio>
#include <optional>

namespace {

void settle() {
    for (int i = 0; i < 10; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
}

bool grabViewer(zarno::CMainFrame& frame, const QString& sgy, const QString& out) {
    auto* viewer = qobject_cast<zarno::CSplitterPictFrame*>(frame.OpenViewer(sgy));
    if (!viewer || !viewer->doc().Data().m_bLoaded)
        return false;
    // The file manager steps aside while a signal is studied.
    viewer->runCommand(zarno::kCmdViewerToggleManager);
    // The whole of a 1280×800 screen, the smallest the panel is laid out for.
    frame.setGeometry(0, 0, 1280, 800);
    viewer->showMaximized();
    settle();
    // The first marker on the blow, the second on the reflection the program found.
    zarno::ViewState& state = viewer->viewState();
    const zarno::CPictDoc& doc = viewer->doc();
    state.markers.position = {doc.Data().m_nImpactIndex[0], doc.Data().m_nImpactIndex[0] + doc.Data().m_nEchoIndex[0], 0, 0, 0};
    state.markers.current = 1;
    viewer->model().ShowMarkerReadout(state.markers.position[1]);
    viewer->view()->update();
    settle();
    return frame.grab().save(out);
}

// The site window tiled beside the file manager as `zarno DIR` opens it, the necked pile selected;
// then the stacked page of the window alone.
bool grabSite(zarno::CMainFrame& frame, const QString& dir, const QString& out, const QString& stackedOut) {
    frame.setGeometry(0, 0, 1280, 800);
    settle(); // the tiling below divides the area the window system has given by now
    zarno::CSiteFrame* site = frame.OpenSite(dir);
    frame.mdiArea()->tileSubWindows();
    QElapsedTimer timer;
    timer.start();
    while ((site->surveying() || site->site().piles.empty()) && timer.elapsed() < 120000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    if (site->site().piles.empty())
        return false;
    QAbstractItemModel* table = site->table()->model();
    for (int r = 0; r < table->rowCount(); ++r)
        if (table->index(r, 0).data().toString() == QLatin1String("P06"))
            site->table()->setCurrentIndex(table->index(r, 0));
    settle();
    if (!frame.grab().save(out))
        return false;
    site->showMaximized();
    site->pages()->setCurrentIndex(1);
    settle();
    return frame.grab().save(stackedOut);
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<zarno::Language> language = zarno::StartLanguage("zarno-screenshot", argc, argv);
    if (!language)
        return 2;
    zarno::UseLanguage(*language);
    QApplication application(argc, argv);
    const bool siteMode = argc == 5 && QLatin1String(argv[1]) == QLatin1String("--site");
    if (argc != 2 && argc != 4 && !siteMode) {
        std::fprintf(stderr, "usage: zarno-screenshot OUT.png [VIEWER.png FILE.sgy]\n"
                             "       zarno-screenshot --site DIR SITE.png STACKED.png\n");
        return 2;
    }
    QCoreApplication::setOrganizationName(zarno::kSettingsOrganisation);
    QCoreApplication::setApplicationName(zarno::kSettingsApplication);

    zarno::StderrPrompts prompts;
    zarno::CMainFrame frame(prompts, nullptr);
    if (!frame.Create())
        return 1;
    frame.CreateFileManagerWindow();
    if (siteMode) {
        frame.show();
        const bool saved = grabSite(frame, QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                                    QString::fromLocal8Bit(argv[4]));
        frame.close();
        return saved ? 0 : 1;
    }
    frame.setGeometry(10, 10, 1000, 560);
    frame.show();
    QApplication::processEvents();

    zarno::CControlForm* left = frame.panelHeader(0);
    const int device = left->driveList()->findText(zarno::kDeviceDrive);
    left->chooseDrive(device);
    if (!frame.files().panelState(0).onDevice) {
        std::fprintf(stderr, "zarno-screenshot: the instrument's drive did not open\n");
        return 1;
    }
    frame.panelList(0)->table()->selectRow(1);
    settle();
    bool saved = frame.grab().save(QString::fromLocal8Bit(argv[1]));
    if (saved && argc == 4)
        saved = grabViewer(frame, QString::fromLocal8Bit(argv[3]), QString::fromLocal8Bit(argv[2]));
    frame.close();
    return saved ? 0 : 1;
}
