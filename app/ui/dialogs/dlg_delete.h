#pragma once
// "Стирание файла/каталога": one entry of a panel.

#include "app/filemanager/panel_host.h"
#include "app/ui/dialogs/operation_dialog.h"

namespace zarno {

class CDlgDelete : public OperationDialog {
    Q_OBJECT
public:
    CDlgDelete(PanelHost& host, Prompts& prompts, int panel, const CFileEntry& entry,
               QWidget* parent = nullptr);

protected:
    void onOk() override;

private:
    PanelHost& m_host;
    Prompts& m_prompts;
    int m_panel;
    CFileEntry m_entry;
};

} // namespace zarno
