#pragma once
// A recording opened as a new viewer opens it, with nothing on screen: the document, the view's
// state and the panel's rules, for the commands that draw or report what the viewer would show.

#include "app/seams/prompts.h"
#include "app/viewer/detached_scene.h"
#include "app/viewer/pict_doc.h"
#include "app/viewer/pict_panel_model.h"
#include "app/viewer/view_state.h"

#include <QString>

#include <span>

namespace zarno::cli {

struct ViewerSession {
    explicit ViewerSession(Prompts& prompts) : model(doc, view, detached, filter, prompts) {}
    ViewerSession(const ViewerSession&) = delete;
    ViewerSession& operator=(const ViewerSession&) = delete;

    // The load (leaving the directory as it is), the panel's first state, then the velocity given.
    // False when the load stopped (the prompts were told why).
    bool Open(const QString& path, double velocity, Prompts& prompts);
    // The markers given, in marker order: the first is the current one, the second the previous one.
    void PlaceMarkers(std::span<const int> samples);

    ViewerDisplaySettings display;
    CPictDoc doc{display};
    ViewState view;
    DetachedScene detached{doc};
    dsp::FilterSettings filter{};
    PictPanelModel model;
};

} // namespace zarno::cli
