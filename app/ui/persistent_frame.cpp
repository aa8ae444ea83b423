#include "app/ui/persistent_frame.h"

#include <QSettings>

namespace zarno {

CPersistentFrame::CPersistentFrame(QWidget* parent) : QMainWindow(parent) {}

void CPersistentFrame::LoadSettings() {
    QSettings store(kSettingsOrganisation, kSettingsApplication);
    m_settings.load(store);
    setGeometry(m_settings.normalRect);
}

void CPersistentFrame::showAsPlaced() {
    if (m_settings.icon != 0)
        showMinimized();
    else if (m_settings.max != 0)
        showMaximized();
    else
        showNormal();
}

bool CPersistentFrame::SaveSettings() {
    const QRect normal = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    if (normal.isValid())
        m_settings.normalRect = normal;
    QSettings store(kSettingsOrganisation, kSettingsApplication);
    return m_settings.save(store);
}

QString CPersistentFrame::SettingsFileName() {
    return QSettings(kSettingsOrganisation, kSettingsApplication).fileName();
}

} // namespace zarno
