#pragma once
// Two panels over real directories for the file operation tests: computer panels list a temporary
// directory, instrument panels the listing of a connected CRemoteDevice. Every refresh is recorded.

#include "app/filemanager/panel_host.h"
#include "app/remotedisk/remote_device.h"

#include <QDir>
#include <QFileInfo>

#include <stdexcept>
#include <string>
#include <vector>

namespace zarno::testing {

inline CFileEntry ComputerEntry(const QString& directory, const QFileInfo& info) {
    CFileEntry e;
    e.isDirectory = info.isDir();
    e.fileName = info.fileName();
    e.fullPath = JoinPanelPath(directory, e.fileName);
    e.size = static_cast<uint32_t>(info.size());
    const qsizetype dot = e.fileName.lastIndexOf(QLatin1Char('.'));
    e.title = e.isDirectory || dot <= 0 ? e.fileName : e.fileName.left(dot);
    e.typeText = e.isDirectory ? QStringLiteral("<Dir>") : dot <= 0 ? QString() : e.fileName.mid(dot + 1);
    return e;
}

class FakePanelHost final : public PanelHost {
public:
    explicit FakePanelHost(CRemoteDevice* device = nullptr) : m_device(device) {}

    std::array<PanelState, kPanelCount> panels;
    std::array<std::vector<CFileEntry>, kPanelCount> rows;
    std::vector<std::string> calls; // "refill 0", "reread 1", in order

    void ShowComputer(int p, const QString& directory) {
        panels[size_t(p)].path = directory;
        panels[size_t(p)].onDevice = false;
        rows[size_t(p)] = List(directory);
    }
    void ShowDevice(int p, const QString& path = QStringLiteral("z:\\")) {
        panels[size_t(p)].path = path;
        panels[size_t(p)].onDevice = true;
        ReadDevice(p);
    }
    // Selects the rows of these file names, in this order.
    void Select(int p, const std::vector<QString>& names) {
        auto& selection = panels[size_t(p)].selection;
        selection.clear();
        for (const QString& name : names)
            for (size_t r = 0; r < rows[size_t(p)].size(); ++r)
                if (rows[size_t(p)][r].fileName == name)
                    selection.push_back(int(r));
    }
    const CFileEntry* Find(int p, const QString& name) const {
        for (const auto& e : rows[size_t(p)])
            if (e.fileName == name)
                return &e;
        return nullptr;
    }

    // The row of this file name; a test that names a row its panel lacks is wrong.
    const CFileEntry& At(int p, const QString& name) const {
        if (const CFileEntry* e = Find(p, name))
            return *e;
        throw std::logic_error("no row " + name.toStdString());
    }

    PanelState& panel(int index) override { return panels[size_t(index)]; }
    int rowCount(int p) const override { return int(rows[size_t(p)].size()); }
    const CFileEntry& row(int p, int r) const override { return rows[size_t(p)][size_t(r)]; }
    CRemoteDevice& device() override {
        if (!m_device)
            throw std::logic_error("no instrument in this test");
        return *m_device;
    }
    int EnterDeviceDirectory(int p, const QString& name) override {
        calls.push_back("reread " + std::to_string(p));
        if (!name.isEmpty())
            throw std::logic_error("the file operations only read a directory again");
        return ReadDevice(p);
    }
    void RefillComputerPanel(int p) override {
        calls.push_back("refill " + std::to_string(p));
        rows[size_t(p)] = List(panels[size_t(p)].path);
    }

private:
    static std::vector<CFileEntry> List(const QString& directory) {
        std::vector<CFileEntry> out;
        const auto infos =
            QDir(directory).entryInfoList(QDir::AllEntries | QDir::NoDot | QDir::Hidden, QDir::Name);
        for (const QFileInfo& info : infos)
            out.push_back(ComputerEntry(directory, info));
        return out;
    }
    int ReadDevice(int p) {
        rows[size_t(p)].clear();
        if (!m_device)
            return 1;
        if (m_device->Walk().Enter(panels[size_t(p)].path) != 1)
            return 0;
        for (const auto& e : m_device->Listing())
            rows[size_t(p)].push_back(*e);
        return 1;
    }

    CRemoteDevice* m_device;
};

// Records what a progress bar and its counter would show.
class RecordingProgress final : public Progress {
public:
    void setRange(qint64 total) override { range = total; }
    void setValue(qint64 done) override { values.push_back(done); }
    qint64 range = -1;
    std::vector<qint64> values;
};

} // namespace zarno::testing
