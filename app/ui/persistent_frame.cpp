#include "app/ui/persistent_frame.h"

#include "app/shell/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QTimer>

namespace zarno {

namespace {

// The available area of the screen a rectangle is mostly on; the primary screen's when it is on none.
QRect AvailableAreaFor(const QRect& rect) {
    QScreen* screen = QGuiApplication::screenAt(rect.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

} // namespace

CPersistentFrame::CPersistentFrame(QWidget* parent) : QMainWindow(parent) {}

void CPersistentFrame::LoadSettings() {
    QSettings store(kSettingsOrganisation, kSettingsApplication);
    m_settings.load(store);
    // The kept rectangle is the window's outer one, title bar included: the window opens wholly on
    // the screen, whatever screen the rectangle was kept on.
    const QRect placed = PlaceWithin(m_settings.normalRect, AvailableAreaFor(m_settings.normalRect));
    resize(placed.size());
    move(placed.topLeft());
}

void CPersistentFrame::showAsPlaced() {
    if (m_settings.icon != 0)
        showMinimized();
    else if (m_settings.max != 0)
        showMaximized();
    else {
        showNormal();
        // The window system's frame is known only once the window is up: the title bar and the
        // borders come onto the screen too.
        QTimer::singleShot(0, this, [this] { keepFrameOnScreen(); });
    }
}

void CPersistentFrame::keepFrameOnScreen() {
    if (isMaximized() || isMinimized() || !isVisible())
        return;
    const QRect outer = frameGeometry();
    const QRect placed = PlaceWithin(outer, AvailableAreaFor(outer));
    if (placed == outer)
        return;
    resize(size() - (outer.size() - placed.size()));
    move(placed.topLeft());
}

bool CPersistentFrame::SaveSettings() {
    const QRect client = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    if (client.isValid()) {
        // Kept as the outer rectangle, as it is placed again; never a place off the screen.
        const QPoint frameOffset = geometry().topLeft() - frameGeometry().topLeft();
        const QRect normal(client.topLeft() - frameOffset, client.size());
        m_settings.normalRect = PlaceWithin(normal, AvailableAreaFor(normal));
    }
    QSettings store(kSettingsOrganisation, kSettingsApplication);
    return m_settings.save(store);
}

QString CPersistentFrame::SettingsFileName() {
    return QSettings(kSettingsOrganisation, kSettingsApplication).fileName();
}

} // namespace zarno
