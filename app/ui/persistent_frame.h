#pragma once
// The main window's settings-keeping base: reads the program's settings when the main frame is
// created and puts the window where it was; writes them when the main window goes away.

#include "app/shell/persistent_settings.h"

#include <QMainWindow>

namespace zarno {

class CPersistentFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CPersistentFrame(QWidget* parent = nullptr);

    PersistentSettings& settings() { return m_settings; }
    const PersistentSettings& settings() const { return m_settings; }

    // Reads every value and applies the placement ("Rect", "icon", "max") to this window, brought
    // wholly onto the screen.
    void LoadSettings();
    // Shows the window in the state the placement asked for (normal, maximised or minimised).
    void showAsPlaced();
    // Writes every value; the rectangle is the window's current normal one, on the screen. False when the settings
    // could not be written (the older ones stay as they were).
    bool SaveSettings();
    // The file the settings are kept in, for the messages that concern it.
    static QString SettingsFileName();

private:
    void keepFrameOnScreen();

    PersistentSettings m_settings;
};

} // namespace zarno
