#include "app/filemanager/panel_set.h"

#include "app/shell/persistent_settings.h"

#include <QDir>

#include <algorithm>

namespace zarno {

namespace {

int32_t ValidSortMode(int32_t mode) {
    return mode >= kSortByType && mode <= kSortByDate ? mode : kSortByType;
}

} // namespace

PanelSet::PanelSet(PanelViews& views, const std::vector<DriveInfo>& drives)
    : m_views(views), m_drives(drives) {
    for (auto& model : m_models)
        model = std::make_unique<PanelModel>();
    for (auto& state : m_states)
        state.path = kFirstDrive;
}

const CFileEntry& PanelSet::row(int panel, int row) const {
    static const CFileEntry kNoRow;
    const CFileEntry* e = m_models.at(size_t(panel))->entry(row);
    return e ? *e : kNoRow;
}

void PanelSet::SetIconProvider(const PanelIconProvider& provider) {
    for (auto& model : m_models)
        model->setIconProvider(provider);
}

void PanelSet::Load(const PersistentSettings& settings) {
    for (int p = 0; p < kPanelCount; ++p) {
        PanelState& s = state(p);
        s.path = settings.m_strCurrentDirectory[size_t(p)];
        s.onDevice = false;
        s.sortMode = ValidSortMode(settings.m_nSortDirectory[size_t(p)]);
        for (int c = 0; c < kPanelColumns; ++c)
            s.columnWidths[size_t(c)] = settings.m_nColumn[size_t(c)][size_t(p)];
    }
}

void PanelSet::Store(PersistentSettings& settings) const {
    for (int p = 0; p < kPanelCount; ++p) {
        const PanelState& s = state(p);
        settings.m_strCurrentDirectory[size_t(p)] = s.path;
        settings.m_nSortDirectory[size_t(p)] = s.sortMode;
        for (int c = 0; c < kPanelColumns; ++c)
            settings.m_nColumn[size_t(c)][size_t(p)] = s.columnWidths[size_t(c)];
    }
}

void PanelSet::FillFromDirectory(int p) {
    PanelState& s = state(p);
    model(p).FillFromDirectory(s.path, s.sortMode);
    m_views.setFileCount(p, model(p).shownCount());
    m_views.setPathText(p, s.path);
}

void PanelSet::FillFromDevice(int p, std::list<std::unique_ptr<CFileEntry>>& listing) {
    PanelState& s = state(p);
    model(p).FillFromDevice(listing, s.path, s.sortMode);
    m_views.setFileCount(p, model(p).shownCount());
    m_views.setPathText(p, s.path);
}

void PanelSet::SetSortMode(int p, int32_t sortMode) {
    state(p).sortMode = ValidSortMode(sortMode);
    model(p).SortRows(state(p).sortMode);
}

void PanelSet::MakeCurrentAndRefill(int p, const QString& path) {
    PanelState& s = state(p);
    // Never on whatever directory happened to be current: the panel's own, else "/".
    if (!QDir::setCurrent(path) && !QDir::setCurrent(s.path))
        QDir::setCurrent(kFirstDrive);
    s.path = QDir::currentPath();
    FillFromDirectory(p);
    m_views.showDriveInList(p, DriveRootOf(m_drives, s.path));
}

void PanelSet::Initialise(int p) {
    PanelState& s = state(p);
    // A saved path that is no computer directory (an instrument path such as "Z:\REC", a directory
    // that has gone) would show some other directory under that name: start on "/" instead.
    QString path = s.path;
    if (path.isEmpty() || IsDevicePath(path) || !QDir(path).exists() || !QDir::setCurrent(path)) {
        path = kFirstDrive;
        QDir::setCurrent(path);
    }
    s.path = QDir::currentPath();
    s.onDevice = false;
    m_views.showDriveInList(p, DriveRootOf(m_drives, s.path));
    FillFromDirectory(p);
}

void PanelSet::ResetToFirstDrive(int p) {
    PanelState& s = state(p);
    s.path = kFirstDrive;
    s.onDevice = false;
    QDir::setCurrent(kFirstDrive);
    m_views.showDriveInList(p, kFirstDrive);
    m_views.selectDriveItem(p, kFirstDriveItem);
    m_views.setPathText(p, kFirstDrive);
    FillFromDirectory(p);
}

const std::vector<int>& PanelSet::RebuildSelection(int p) {
    std::vector<int> rows = m_views.selectedRows(p);
    const int count = rowCount(p);
    rows.erase(std::remove_if(rows.begin(), rows.end(), [count](int r) { return r < 0 || r >= count; }),
               rows.end());
    state(p).selection = std::move(rows);
    return state(p).selection;
}

} // namespace zarno
