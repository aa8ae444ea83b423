#pragma once
// "Создание каталога": a new directory in the directory a panel shows.

#include "app/filemanager/panel_host.h"
#include "app/ui/dialogs/operation_dialog.h"

class QLineEdit;

namespace zarno {

class CDlgCreateDirectory : public OperationDialog {
    Q_OBJECT
public:
    CDlgCreateDirectory(PanelHost& host, Prompts& prompts, int panel, QWidget* parent = nullptr);

protected:
    void onOk() override;

private:
    PanelHost& m_host;
    Prompts& m_prompts;
    int m_panel;
    QLineEdit* m_name;
};

} // namespace zarno
