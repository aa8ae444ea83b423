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

private:
    int m_panel;
};

} // namespace zarno
