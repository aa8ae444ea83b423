// The toe finder against the automatic reflection search on the grid of modelled records (lengths
// 2.5-30 m, 10/20/50 kHz, free and socketed toes, necks, noise, drift, pre-triggers, pulse widths):
// how often each gives the right length (within 3% or 1.5 samples), a wrong one, or (the toe finder
// only) no toe. Goal: the toe finder right on at least 85% and wrong on at most 2%.
//
// toe_grid_bench [--all]   the records it got wrong or left without a toe, and with --all every record

#include "app/analysis/pile_grid.h"
#include "app/analysis/toe_finder.h"
#include "app/dsp/autocorrelation.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using namespace zarno;

namespace {

struct Tally {
    int right = 0, wrong = 0, none = 0;
};

// Anomalies: on a pile with a neck the first one must lie within 5% of the neck's top; a pile
// without one must show none.
struct AnomalyTally {
    int necks = 0, neckFound = 0, neckMissedOrOff = 0;
    int clean = 0, cleanQuiet = 0;
};

void Count(AnomalyTally& t, const analysis::GridRecord& g, const analysis::ToeResult& toe) {
    if (!toe.found)
        return;
    if (!g.neck) {
        ++t.clean;
        t.cleanQuiet += toe.anomalies.empty();
        return;
    }
    ++t.necks;
    const double top = g.pile.sections.front().topM;
    const bool found = !toe.anomalies.empty() && toe.anomalies.front().kind == analysis::Anomaly::Kind::Reduction &&
                       std::abs(toe.anomalies.front().depthM - top) <= 0.05 * top;
    (found ? t.neckFound : t.neckMissedOrOff)++;
}

void Print(const char* who, const Tally& t, size_t total) {
    const auto share = [&](int n) { return 100.0 * n / static_cast<double>(total); };
    std::printf("%-22s right %3d (%5.1f%%)  wrong %3d (%5.1f%%)  no toe %3d (%5.1f%%)\n", who, t.right,
                share(t.right), t.wrong, share(t.wrong), t.none, share(t.none));
}

} // namespace

int main(int argc, char** argv) {
    const bool all = argc > 1 && std::strcmp(argv[1], "--all") == 0;
    const auto grid = analysis::ToeGrid();
    Tally finder, reflection;
    AnomalyTally anomalies;
    struct Found {
        double errorShare;
        const analysis::GridRecord* record;
        analysis::ToeResult toe;
    };
    std::vector<Found> found;
    double modelS = 0, finderS = 0, reflectionS = 0;
    std::printf("%-78s %8s %8s %5s %8s\n", "record", "length", "toe", "conf", "search");
    for (const auto& g : grid) {
        auto start = std::chrono::steady_clock::now();
        const std::vector<double> trace = analysis::SimulateBlow(g.pile, g.recording);
        auto mid = std::chrono::steady_clock::now();
        modelS += std::chrono::duration<double>(mid - start).count();
        const double dtS = 1 / g.recording.sampleRateHz;
        const analysis::ToeResult toe = analysis::FindToe(trace, dtS, g.pile.velocityMps);
        auto end = std::chrono::steady_clock::now();
        finderS += std::chrono::duration<double>(end - mid).count();
        std::vector<double> r(trace.size());
        dsp::Autocorrelate(trace, r);
        const double searched = dsp::EstimateReflection(trace, r, g.pile.velocityMps, dtS).length;
        reflectionS += std::chrono::duration<double>(std::chrono::steady_clock::now() - end).count();

        const bool toeRight = toe.found && analysis::LengthIsRight(g, toe.lengthM);
        (toe.found ? (toeRight ? finder.right : finder.wrong) : finder.none)++;
        (analysis::LengthIsRight(g, searched) ? reflection.right : reflection.wrong)++;
        Count(anomalies, g, toe);
        if (toe.found)
            found.push_back({std::abs(toe.lengthM - g.pile.lengthM) / g.pile.lengthM, &g, toe});
        if (all || !toeRight) {
            char given[16] = "no toe";
            if (toe.found)
                std::snprintf(given, sizeof given, "%.2f", toe.lengthM);
            std::printf("%-78s %8.2f %8s %5.2f %8.2f%s\n", g.name.c_str(), g.pile.lengthM, given, toe.confidence,
                        searched, toe.found && !toeRight ? "  WRONG" : "");
        }
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.errorShare > b.errorShare; });
    std::printf("\nthe toe finder's largest errors among the lengths it gave:\n");
    for (size_t i = 0; i < std::min<size_t>(10, found.size()); ++i)
        std::printf("%-78s %8.2f %8.2f %5.2f %5.1f%%\n", found[i].record->name.c_str(), found[i].record->pile.lengthM,
                    found[i].toe.lengthM, found[i].toe.confidence, 100 * found[i].errorShare);
    std::printf("\n%zu modelled records\n", grid.size());
    Print("toe finder", finder, grid.size());
    Print("reflection search", reflection, grid.size());
    std::printf("anomalies (records with a toe): neck within 5%% on %d of %d necked piles, none on %d of %d "
                "clean piles\n",
                anomalies.neckFound, anomalies.necks, anomalies.cleanQuiet, anomalies.clean);
    std::printf("time: model %.2f s, toe finder %.3f s, reflection search %.3f s (ratio %.2f)\n", modelS, finderS,
                reflectionS, finderS / std::max(reflectionS, 1e-9));
    return 0;
}
