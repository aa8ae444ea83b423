#include "app/filemanager/panel_lock.h"

namespace zarno {

PanelLocks::Scope::Scope(PanelLocks& locks) : m_locks(locks) {
    if (m_locks.m_depth++ == 0)
        m_locks.m_views.setPanelsLocked(true);
}

PanelLocks::Scope::~Scope() {
    if (--m_locks.m_depth == 0)
        m_locks.m_views.setPanelsLocked(false);
}

} // namespace zarno
