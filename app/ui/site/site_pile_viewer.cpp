#include "app/ui/site/site_pile_viewer.h"

#include "app/ui/main_frame.h"
#include "app/ui/site/site_frame.h"
#include "app/ui/viewer/splitter_pict_frame.h"
#include "app/viewer/pict_load.h"
#include "app/viewer/site_pile_trace.h"

#include <QPointer>

namespace zarno {

CSplitterPictFrame* OpenSitePileViewer(CMainFrame& main, CSiteFrame& site, const site::PileResult& pile,
                                       std::optional<double> velocity) {
    const PictTrace trace = PictTraceOfPile(pile, velocity);
    auto* frame = new CSplitterPictFrame(
        main, trace.name, [trace](CPictDoc& doc, Prompts& prompts, dsp::FilterSettings& filter) {
            return LoadPictTrace(doc, trace, prompts, filter);
        });
    // The site window may close before the viewer: the length then has nowhere to go.
    QPointer<CSiteFrame> owner(&site);
    frame->offerLengthToSite([owner, name = pile.pile](double lengthM) {
        return owner && owner->DecideLength(name, lengthM);
    });
    main.ShowViewer(frame);
    return frame;
}

} // namespace zarno
