#pragma once
// "Стирание файлов": the files of a panel's selection.

#include "app/filemanager/panel_host.h"
#include "app/ui/dialogs/operation_dialog.h"

namespace zarno {

class CDlgDeleteMany : public OperationDialog {
    Q_OBJECT
public:
    CDlgDeleteMany(PanelHost& host, Prompts& prompts, int panel, int count, QWidget* parent = nullptr);

protected:
    void onOk() override;

private:
    PanelHost& m_host;
    Prompts& m_prompts;
    int m_panel;
};

} // namespace zarno
