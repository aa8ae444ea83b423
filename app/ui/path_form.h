#pragma once
// The path line under a panel's header: the panel's current path on a light blue ground.

#include <QLabel>

namespace zarno {

class CMainFrame;

class CPathForm : public QLabel {
    Q_OBJECT
public:
    CPathForm(CMainFrame& mainFrame, int panel, QWidget* parent = nullptr);
    int panelIndex() const { return m_panel; }
    // The active panel's path line has the light blue ground; the other one is dimmed, so the panel
    // that the keys and commands act on shows at a glance.
    void setActive(bool active);
    bool isActive() const { return m_active; }

private:
    int m_panel;
    bool m_active = true;
};

} // namespace zarno
