#include "app/viewer/site_pile_trace.h"

namespace zarno {

PictTrace PictTraceOfPile(const site::PileResult& pile, std::optional<double> velocity) {
    PictTrace trace;
    trace.name = pile.pile;
    trace.samples = pile.stack.average;
    trace.intervalS = pile.intervalS;
    trace.velocity = velocity;
    trace.zeroSample = pile.stack.blowIndex;
    return trace;
}

} // namespace zarno
