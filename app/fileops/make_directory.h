#pragma once
// Making a directory in the directory a panel shows, on the computer or on the instrument.

#include "app/filemanager/panel_host.h"
#include "app/fileops/fileops_texts.h"

namespace zarno {

class MakeDirectoryOperation {
public:
    MakeDirectoryOperation(PanelHost& host, Prompts& prompts) : m_host(host), m_prompts(prompts) {}
    // The instrument makes it in its current directory (the one entered last by either panel),
    // under the first 8 characters of the name.
    DialogOutcome Run(int panel, const QString& name);

private:
    void MakeOnDevice(int panel, const QString& name);
    void MakeOnComputer(int panel, const QString& name);

    PanelHost& m_host;
    Prompts& m_prompts;
};

} // namespace zarno
