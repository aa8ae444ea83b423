#pragma once
// The panels' lock while an instrument exchange runs: its exchanges turn the event loop, so nothing
// else may start meanwhile. The count lives here only; the windows are told when the outermost lock
// begins and ends, and ask here whether the panels are locked.

#include "app/filemanager/panel_views.h"

namespace zarno {

class PanelLocks {
public:
    explicit PanelLocks(PanelViews& views) : m_views(views) {}
    bool Locked() const { return m_depth > 0; }

    // Locks the panels (headers, lists, menu, toolbar) for as long as it lives; nested locks unlock
    // with the outermost.
    class Scope {
    public:
        explicit Scope(PanelLocks& locks);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        PanelLocks& m_locks;
    };

private:
    PanelViews& m_views;
    int m_depth = 0;
};

} // namespace zarno
