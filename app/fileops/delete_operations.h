#pragma once
// Deleting entries of a panel, on the computer or on the instrument, and bringing the panels up to
// date afterwards.

#include "app/filemanager/panel_host.h"
#include "app/fileops/fileops_texts.h"

namespace zarno {

// Deletes an entry of an instrument panel, when the panel's directory is where the instrument is and
// lists it; true when deleted, else the user has been told why.
bool DeleteListedOnDevice(PanelHost& host, Prompts& prompts, int panel, const CFileEntry& entry);

// Deletes one entry (a file, or an empty directory) of a panel.
class DeleteOne {
public:
    DeleteOne(PanelHost& host, Prompts& prompts) : m_host(host), m_prompts(prompts) {}
    DialogOutcome Run(int panel, const CFileEntry& entry);

private:
    void DeleteOnComputer(int panel, const CFileEntry& entry);
    void DeleteOnDevice(int panel, const CFileEntry& entry);

    PanelHost& m_host;
    Prompts& m_prompts;
};

// Deletes the files of a panel's selection in order, consuming the list; the first failure ends the
// run, and what was deleted before it stays deleted.
class DeleteMany {
public:
    DeleteMany(PanelHost& host, Prompts& prompts) : m_host(host), m_prompts(prompts) {}
    DialogOutcome Run(int panel);
    int deleted() const { return m_deleted; }

private:
    bool DeleteEntry(int panel, const CFileEntry& entry);
    void Refresh(int panel, bool onDevice);

    PanelHost& m_host;
    Prompts& m_prompts;
    int m_deleted = 0;
};

} // namespace zarno
