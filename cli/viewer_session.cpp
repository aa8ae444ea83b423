#include "cli/viewer_session.h"

#include "app/viewer/pict_load.h"

#include <algorithm>

namespace zarno::cli {

bool ViewerSession::Open(const QString& path, double velocity, Prompts& prompts) {
    PictLoadOptions options;
    options.velocity = velocity;
    options.settingsFiles = dsp::MissingFile::Leave;
    if (!LoadPictDoc(doc, path, prompts, filter, options))
        return false;
    model.InitialUpdate();
    model.SetVelocity(velocity);
    return true;
}

void ViewerSession::PlaceMarkers(std::span<const int> samples) {
    MarkerSet markers;
    std::copy_n(samples.begin(), std::min<std::size_t>(samples.size(), markers.position.size()),
                markers.position.begin());
    markers.current = 0;
    markers.previous = 1;
    model.SetMarkers(markers);
}

} // namespace zarno::cli
