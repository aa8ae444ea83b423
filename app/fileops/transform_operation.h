#pragma once
// The conversion of the DDB recordings selected in a computer panel into SEG-Y files beside them.

#include "app/filemanager/panel_host.h"
#include "app/fileops/fileops_texts.h"

#include <QtGlobal>

namespace zarno {

class Progress;

// What the conversion shows as it goes, beside its two progress bars.
class TransformView {
public:
    virtual ~TransformView() = default;
    virtual void showFileName(const QString& fileName) = 0;
    // The blocks of the files converted so far.
    virtual void showTotalBlocks(qint64 total) = 0;
};

class TransformOperation {
public:
    TransformOperation(PanelHost& host, Prompts& prompts) : m_host(host), m_prompts(prompts) {}

    // files gets the range 0..selected items and steps once per converted file; blocks gets each
    // file's blocks. A recording is left alone when the other panel lists an SGY file of its title.
    DialogOutcome Run(int sourcePanel, TransformView* view = nullptr, Progress* files = nullptr,
                      Progress* blocks = nullptr);
    qint64 totalBlocks() const { return m_totalBlocks; }
    int converted() const { return m_converted; }

private:
    bool OtherPanelListsSgy(int sourcePanel, const CFileEntry& entry);

    PanelHost& m_host;
    Prompts& m_prompts;
    qint64 m_totalBlocks = 0;
    int m_converted = 0;
};

} // namespace zarno
