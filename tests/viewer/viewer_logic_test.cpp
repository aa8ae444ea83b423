// The view's input and the measurement panel's rules on a document built in memory.

#include "app/analysis/pile_model.h"
#include "app/viewer/pict_panel_model.h"
#include "app/viewer/view_input.h"
#include "app/viewer/viewer_paint.h"

#include "tests/support/recording_prompts.h"
#include "tests/viewer/fake_scene.h"

#include <gtest/gtest.h>

#include <functional>

using namespace zarno;
using zarno::testing::FakeScene;
using zarno::testing::RecordingPrompts;

namespace {

// Two traces of ns samples at dt = 0.0001 s, V = 3600 m/s, the whole trace shown.
class ViewerLogic : public ::testing::Test {
protected:
    explicit ViewerLogic(int ns = 1001) : m_doc(m_settings) {
        PictDocData c;
        c.m_nSamples = ns;
        c.m_nSampleIntervalUs = 100;
        c.m_nTraceCount = c.m_nFileTraceCount = 2;
        for (std::size_t i = 0; i < 2; ++i)
            for (TraceArray* a : {&c.m_pRaw[i], &c.m_pGained[i], &c.m_pFiltered[i], &c.m_pGainedFiltered[i],
                                  &c.m_pAutoCorr[i]})
                a->assign(std::size_t(ns), 0.0);
        c.m_pVaru.assign(std::size_t(ns), 1.0);
        c.m_nWindowEnd = ns - 1;
        c.m_bLoaded = true;
        m_doc.TakeRecording(std::move(c));
        m_panel.InitialUpdate();
        m_scene.signalAxis = {0, ns - 1, 1000};
    }

    // The document's content changed as a test needs it, everything else kept.
    template <typename Change> void Edit(Change change) {
        PictDocData c = m_doc.Data();
        change(c);
        m_doc.TakeRecording(std::move(c));
    }

    PointerHit Over(int trace) const {
        PointerHit hit;
        hit.overSignal[std::size_t(trace)] = true;
        return hit;
    }

    ViewerDisplaySettings m_settings;
    CPictDoc m_doc;
    ViewState m_view;
    FakeScene m_scene;
    dsp::FilterSettings m_filter{};
    RecordingPrompts m_prompts;
    PictPanelModel m_panel{m_doc, m_view, m_scene, m_filter, m_prompts};
    ViewInput m_input{m_doc, m_view, m_scene, m_panel};
};

TEST_F(ViewerLogic, InitialUpdateShowsTheWholeTraceInMilliseconds) {
    EXPECT_EQ(m_panel.LowerText(), "0.0");
    EXPECT_EQ(m_panel.UpperText(), "100.000");
    EXPECT_EQ(m_doc.Data().m_nWindowStart, 0);
    EXPECT_EQ(m_doc.Data().m_nWindowEnd, 1000);
    EXPECT_EQ(m_doc.Data().m_dVelocity, 3600.0);
    EXPECT_EQ(m_view.vicinity, 0.5);
    ASSERT_EQ(m_panel.Rows().size(), 2u);
    EXPECT_EQ(m_panel.Rows()[1].ky, "1.0");
    EXPECT_EQ(m_panel.Rows()[1].value, "0");
    EXPECT_TRUE(m_panel.TracesNote().isEmpty());
    Edit([](PictDocData& c) { c.m_nFileTraceCount = 5; });
    EXPECT_EQ(m_panel.TracesNote(), "Показаны трассы 1 и 2 из 5");
}

TEST_F(ViewerLogic, ArrowKeysMoveTenSamplesPerRepeatAndStopAtTheAxis) {
    struct Case {
        ViewKey key;
        int repeat, from, axisFirst, axisLast, to;
    };
    const Case cases[] = {
        {ViewKey::Left, 3, 500, 0, 1000, 470},  {ViewKey::Left, 3, 25, 10, 1000, 10},
        {ViewKey::Right, 2, 500, 0, 1000, 520}, {ViewKey::Right, 5, 980, 0, 990, 990},
        {ViewKey::Left, 1, 5, 0, 1000, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from);
        m_view.markers.Current() = c.from;
        m_scene.signalAxis = {c.axisFirst, c.axisLast, 1000};
        EXPECT_EQ(m_input.Key(c.key, c.repeat), KeyOutcome::Repaint);
        EXPECT_EQ(m_view.markers.Current(), c.to);
    }
    // The readout follows: 470 samples at 0.1 ms are 47 ms and 84.6 m.
    m_view.markers.Current() = 500;
    m_input.Key(ViewKey::Left, 3);
    EXPECT_EQ(m_panel.TimeReadout(), "Время (ms) :  47.000");
    EXPECT_EQ(m_panel.LengthReadout(), "Длина (m) :  84.600");
    m_input.Key(ViewKey::End, 1);
    EXPECT_EQ(m_view.markers.Current(), 1000);
    m_input.Key(ViewKey::Home, 1);
    EXPECT_EQ(m_view.markers.Current(), 0);
    EXPECT_EQ(m_input.Key(ViewKey::P, 1), KeyOutcome::PrintReport);
}

TEST_F(ViewerLogic, UpAndDownWalkTheSelectionAndKeepItInRange) {
    m_input.Key(ViewKey::Up, 1); // at the top with the first trace selected
    EXPECT_EQ(m_doc.Data().m_nSelIndex, 0);
    EXPECT_EQ(m_doc.Data().m_nSelRow, 0);
    EXPECT_EQ(m_doc.Data().m_nFirstRow, 0);
    EXPECT_EQ(m_view.searchTrace, 0);

    m_input.Key(ViewKey::Down, 1);
    EXPECT_EQ(m_doc.Data().m_nSelIndex, 1);
    EXPECT_EQ(m_doc.Data().m_nSelRow, 1);
    EXPECT_EQ(m_view.searchTrace, 1); // the graph number follows the spin's 2
    m_input.Key(ViewKey::Down, 1);    // past the last shown trace
    EXPECT_EQ(m_doc.Data().m_nSelIndex, 1);
    EXPECT_EQ(m_doc.Data().m_nSelRow, 1);
    EXPECT_EQ(m_doc.Data().m_nFirstRow, 0);

    // One graph per screen: Down scrolls instead of moving the row.
    m_doc.SetSelection(0, 0, m_doc.Data().m_nFirstRow);
    m_doc.SetGraphsOnScreen(1);
    m_input.Key(ViewKey::Down, 1);
    EXPECT_EQ(m_doc.Data().m_nSelRow, 0);
    EXPECT_EQ(m_doc.Data().m_nFirstRow, 1);
    m_input.Key(ViewKey::Up, 1);
    EXPECT_EQ(m_doc.Data().m_nFirstRow, 0);
}

TEST_F(ViewerLogic, EnterShowsTheSelectedTraceAloneAndArrowsThenMoveItsWindow) {
    m_doc.SetSelection(m_doc.Data().m_nSelIndex, 1, 0); // rows show traces 1 and 2
    m_input.Key(ViewKey::Enter, 1);
    EXPECT_TRUE(m_view.singleMode);
    EXPECT_EQ(m_doc.Data().m_nSingleTrace, 1);
    EXPECT_EQ(m_scene.resets, std::vector<int>{1});
    m_scene.minSpan = 2.5;
    m_input.Key(ViewKey::Up, 1);
    m_input.Key(ViewKey::Down, 1);
    EXPECT_EQ(m_scene.shifts, (std::vector<double>{-2.5, 2.5}));
    EXPECT_EQ(m_doc.Data().m_nSelIndex, 0); // the selection is left alone in single mode
    m_input.Key(ViewKey::Escape, 1);
    EXPECT_FALSE(m_view.singleMode);
}

TEST_F(ViewerLogic, KeyMFindsTheExtremumAroundTheCurrentMarker) {
    // 0.5 m at 3600 m/s and 0.1 ms is 2 samples either side.
    Edit([](PictDocData& c) {
        c.m_pRaw[1][98] = 7;
        c.m_pRaw[1][101] = 5;
        c.m_pRaw[1][103] = -9;
    });
    m_panel.SetGraphNumber(2);
    m_view.markers.Current() = 100;
    m_input.Key(ViewKey::M, 1);
    EXPECT_EQ(m_view.markers.Current(), 98);
    m_panel.SetSearchMode(dsp::ExtremumMode::Min);
    m_view.markers.Current() = 101;
    m_input.Key(ViewKey::M, 1);
    EXPECT_EQ(m_view.markers.Current(), 103);
    // With the filter on, M goes to the filtered peak the user sees.
    Edit([](PictDocData& c) { c.m_pFiltered[1][102] = -4; });
    m_panel.SetUseFilter(true);
    m_view.markers.Current() = 100;
    m_input.Key(ViewKey::M, 1);
    EXPECT_EQ(m_view.markers.Current(), 102);
}

TEST_F(ViewerLogic, RightDoubleClickTakesTheNearestMarkerAway) {
    m_view.markers.position = {0, 100, 200, 300, 400};
    m_view.markers.current = 4;
    m_doc.SetWindow(0, m_doc.Data().m_nWindowEnd);
    m_input.RightDoubleClick(190, Over(0)); // sample 190 on a 1000-pixel axis of 0 … 1000
    EXPECT_EQ(m_view.markers.current, 2);
    EXPECT_EQ(m_view.markers.previous, 4);
    EXPECT_EQ(m_view.markers.position, (std::array<int, 5>{0, 100, 0, 300, 400}));
    // Outside every graph nothing changes.
    m_input.RightDoubleClick(300, PointerHit{});
    EXPECT_EQ(m_view.markers.position[3], 300);
}

TEST_F(ViewerLogic, LeftDownSelectsTheNearestMarkerAndDragMovesIt) {
    m_view.markers.position = {0, 100, 200, 300, 400};
    m_input.LeftDown(310, Over(1));
    EXPECT_EQ(m_view.markers.current, 3);
    EXPECT_EQ(m_view.markers.previous, 0);
    m_input.Drag(true, 250, 0, Over(1));
    EXPECT_EQ(m_view.markers.position[3], 250);
    PointerHit onScale = Over(1);
    onScale.overSingleScale = true;
    m_input.Drag(true, 600, 0, onScale); // on the single trace's scale the marker stays
    EXPECT_EQ(m_view.markers.position[3], 250);
}

TEST_F(ViewerLogic, LeftDoubleClickSnapsToTheLargerSwingOfTheShownCurve) {
    // 0.36 m per sample: 0.5 m reaches 1 sample, 5 m 13; eight pixels are 8 samples on a
    // 1000-pixel axis of 0 … 1000 and 32 on a 250-pixel one. The window's last sample is left out.
    struct Case {
        const char* what;
        double vicinity;
        int width;
        int peakAt;
        double peak;
        int found;
    };
    const Case cases[] = {
        {"eight pixels beyond a narrow setting", 0.5, 1000, 507, -9.0, 507},
        {"the ninth pixel is out of reach", 0.5, 1000, 509, -9.0, 499},
        {"a setting wider than eight pixels", 5.0, 1000, 512, 9.0, 512},
        {"eight pixels of a zoomed-out axis", 0.5, 250, 530, 9.0, 530},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_view.vicinity = c.vicinity;
        m_scene.signalAxis = {0, 1000, c.width};
        Edit([&c](PictDocData& d) {
            d.m_pRaw[0].assign(d.m_pRaw[0].size(), 0.0);
            d.m_pRaw[0][499] = 6; // a smaller swing next to the click
            d.m_pRaw[0][std::size_t(c.peakAt)] = c.peak;
        });
        m_view.markers.position = {0, 100, 200, 300, 400};
        m_input.LeftDoubleClick(500 * c.width / 1000, Over(0));
        EXPECT_EQ(m_view.markers.current, 4);
        EXPECT_EQ(m_view.markers.Current(), c.found);
    }
    // The filtered curve on screen is searched, not the raw samples under it.
    m_scene.signalAxis = {0, 1000, 1000};
    Edit([](PictDocData& d) { d.m_pFiltered[0][503] = 20; });
    m_panel.SetUseFilter(true);
    m_input.LeftDoubleClick(500, Over(0));
    EXPECT_EQ(m_view.markers.Current(), 503);
    // The search trace's graph is not under the pointer: the marker goes to the window's start.
    m_input.LeftDoubleClick(500, Over(1));
    EXPECT_EQ(m_view.markers.Current(), 492);
}

TEST_F(ViewerLogic, CtrlDoubleClickPlacesTheNextFreeMarkerAndTheDifferenceIsShown) {
    Edit([](PictDocData& c) {
        for (const int at : {300, 500, 600, 650, 700, 800})
            c.m_pRaw[0][std::size_t(at)] = at % 200 == 0 ? -7 : 5;
    });
    m_input.AddMarker(302, Over(0)); // snapped to the pulse at 300
    EXPECT_EQ(m_panel.DeltaReadout(), "Δ : ");
    m_input.AddMarker(497, Over(0));
    EXPECT_EQ(m_view.markers.position, (std::array<int, 5>{300, 500, 0, 0, 0}));
    EXPECT_EQ(m_view.markers.current, 1);
    EXPECT_EQ(m_view.markers.previous, 0);
    // 200 samples: 20 ms, 36 m at 3600 m/s.
    EXPECT_EQ(m_panel.DeltaReadout(), "Δ : 20.000 ms, 36.000 m");
    EXPECT_EQ(m_panel.Lengths().count, 2);
    for (const int x : {600, 650, 700})
        m_input.AddMarker(x, Over(0));
    // No marker is free: the nearest one moves, as with a plain double click.
    m_input.AddMarker(795, Over(0));
    EXPECT_EQ(m_view.markers.position, (std::array<int, 5>{300, 500, 600, 650, 800}));
    EXPECT_EQ(m_view.markers.current, 4);
    EXPECT_EQ(m_panel.DeltaReadout(), "Δ : 15.000 ms, 27.000 m");
}

TEST_F(ViewerLogic, DraggingOnTheScaleMovesTheTopByTheSmallestSpan) {
    PointerHit onScale;
    onScale.overSingleScale = true;
    m_scene.minSpan = 2.0;
    m_input.Drag(false, 0, 5, onScale); // down: the top rises
    m_input.Drag(false, 0, 3, onScale); // up: the top falls
    m_input.Drag(false, 0, 3, onScale); // no vertical move
    EXPECT_EQ(m_scene.zooms, (std::vector<double>{2.0, -2.0}));
}

TEST_F(ViewerLogic, DraggingTheAxisStripMovesTheBounds) {
    PointerHit strip;
    strip.overAxisStrip = true;
    // Right button to the left: the upper bound grows unless that passes the end of the data.
    m_panel.SetUpperText("99.950");
    m_input.Drag(false, -5, 0, strip);
    EXPECT_EQ(m_panel.UpperText(), "99.950");
    m_panel.SetUpperText("50.000");
    m_input.Drag(false, -10, 0, strip);
    EXPECT_EQ(m_panel.UpperText(), "50.100");
    // Left button to the right: both bounds go down by 0.1 while the lower one stays at 0 or above.
    m_panel.SetLowerText("10.000");
    m_input.Drag(true, 0, 0, strip);
    EXPECT_EQ(m_panel.LowerText(), "9.900");
    EXPECT_EQ(m_panel.UpperText(), "50.000");
    EXPECT_EQ(m_doc.Data().m_nWindowStart, 99);
    // In spectrum mode the strip zooms and pans the spectra by the spectrum step.
    m_panel.EnterSpectrum();
    m_input.Drag(false, 20, 0, strip);
    m_input.Drag(true, 10, 0, strip);
    EXPECT_EQ(m_scene.spectrumZooms, std::vector<int>{-5});
    EXPECT_EQ(m_scene.spectrumPans, std::vector<int>{5});
}

TEST_F(ViewerLogic, BoundsKeepTenSamplesBetweenThemAndPushMarkersOut) {
    m_view.markers.position = {50, 200, 900, 0, 0};
    m_panel.SetUpperText("80.000"); // index 800, + 1
    EXPECT_EQ(m_doc.Data().m_nWindowEnd, 801);
    EXPECT_EQ(m_view.markers.position[2], 800);
    m_panel.SetLowerText("95.000"); // beyond "До:": ten samples before the last
    EXPECT_EQ(m_doc.Data().m_nWindowStart, 791);
    EXPECT_EQ(m_view.markers.position, (std::array<int, 5>{0, 0, 800, 0, 0}));
    m_panel.SetUpperText("1.000"); // below "От:": ten samples after the first
    EXPECT_EQ(m_doc.Data().m_nWindowEnd, 801);
    m_panel.SetUpperText("5000"); // past the data
    EXPECT_EQ(m_doc.Data().m_nWindowEnd, 1000);
    ASSERT_FALSE(m_scene.signalSetups.empty());
    EXPECT_EQ(m_scene.signalSetups.back(), 1.0);
}

TEST_F(ViewerLogic, LengthUnitsAndRestoringTheBounds) {
    m_panel.SetTimeUnits(false);
    EXPECT_EQ(m_panel.UpperText(), "180.000");
    EXPECT_EQ(m_panel.LowerText(), "0.000");
    EXPECT_DOUBLE_EQ(m_doc.Data().m_dUnitsPerSample, 0.18);
    EXPECT_EQ(m_doc.Data().m_nWindowEnd, 1000);
    m_panel.SetUpperText("90");
    EXPECT_EQ(m_doc.Data().m_nWindowEnd, 501);
    m_panel.RestoreBounds();
    EXPECT_EQ(m_doc.Data().m_nWindowStart, 0);
    EXPECT_EQ(m_doc.Data().m_nWindowEnd, 1000);
    EXPECT_EQ(m_panel.UpperText(), "180.000"); // metres, as the field is labelled
    m_panel.SetTimeUnits(true);
    EXPECT_EQ(m_panel.UpperText(), "100.000");
}

TEST_F(ViewerLogic, ZeroGoesToTheLargestSampleOfTheChosenGraph) {
    Edit([](PictDocData& c) {
        c.m_pRaw[0][300] = -8;
        c.m_pRaw[0][400] = 8;
    });
    m_panel.SetZero();
    EXPECT_EQ(m_doc.Data().m_nWindowStart, 300);
    EXPECT_EQ(m_view.markers.position, (std::array<int, 5>{299, 299, 299, 299, 299}));
    EXPECT_EQ(m_panel.LowerText(), "30.000");
    EXPECT_EQ(m_doc.Data().m_nZeroSample, 300);
    // A zero at the very first sample keeps the markers on the trace.
    Edit([](PictDocData& c) { c.m_pRaw[0][0] = 100; });
    m_panel.SetZero();
    EXPECT_EQ(m_view.markers.position[0], 0);
}

TEST_F(ViewerLogic, MeasurementsCountFromTheZeroWhereverTheWindowLies) {
    Edit([](PictDocData& c) { c.m_pRaw[0][300] = 9; });
    m_panel.SetZero();
    m_view.markers.position = {420, 360, 299, 299, 299};
    m_panel.ShowMarkerReadout(420); // 120 samples past the zero: 12 ms, 21.6 m
    const LengthsList before = m_panel.Lengths();
    ASSERT_EQ(before.count, 2);
    EXPECT_EQ(before.texts[1], "21.600");

    // Panned by 2 ms, zoomed in, restored: the marker on the same sample reads the same.
    const std::function<void()> views[] = {
        [&] {
            m_panel.SetUpperText("60.000");
            m_panel.SetLowerText("32.000");
        },
        [&] { m_panel.SetLowerText("35.000"); },
        [&] { m_panel.RestoreBounds(); },
    };
    for (const auto& change : views) {
        change();
        m_panel.ShowMarkerReadout(m_view.markers.Current());
        EXPECT_EQ(m_panel.TimeReadout(), "Время (ms) :  12.000");
        EXPECT_EQ(m_panel.LengthReadout(), "Длина (m) :  21.600");
        EXPECT_EQ(m_panel.Lengths().texts, before.texts);
        EXPECT_EQ(m_doc.Data().m_nZeroSample, 300);
        EXPECT_EQ(SignalGraphsOf(m_doc).zero, 300); // the axis reads 0 there too
    }
    // Restored to the whole trace, the window starts before the zero: a removed marker goes out of
    // sight and gives no length.
    m_input.RightDoubleClick(420, Over(0));
    EXPECT_EQ(m_view.markers.Current(), 0);
    EXPECT_EQ(m_panel.Lengths().count, 1);
}

TEST_F(ViewerLogic, FitToThePileShowsFromTheZeroToOneAndAHalfToes) {
    Edit([](PictDocData& c) {
        c.m_pRaw[0][100] = 9;
        c.m_nImpactIndex = {100, 100};
        c.m_nEchoIndex = {200, 0}; // the toe of graph 1 at 300; none in graph 2
    });
    m_panel.SetZero();
    m_panel.SetUpperText("20.000");
    m_panel.FitToPile();
    EXPECT_EQ(m_doc.Data().m_nWindowStart, 100);
    EXPECT_EQ(m_doc.Data().m_nWindowEnd, 400);
    EXPECT_EQ(m_panel.LowerText(), "10.000");
    EXPECT_EQ(m_panel.UpperText(), "40.000");
    // No toe, or a toe before the zero: the whole trace.
    for (const auto& change : {std::function<void()>([&] { m_panel.SetGraphNumber(2); }),
                               std::function<void()>([&] {
                                   m_panel.SetGraphNumber(1);
                                   Edit([](PictDocData& c) { c.m_nZeroSample = 350; });
                               })}) {
        m_doc.SetWindow(100, 400);
        change();
        m_panel.FitToPile();
        EXPECT_EQ(m_doc.Data().m_nWindowStart, 0);
        EXPECT_EQ(m_doc.Data().m_nWindowEnd, 1000);
    }
}

TEST(KyText, CutAndRefusalRules) {
    struct Case {
        const char* typed;
        bool accepted;
        const char* kept;
        double value;
    };
    const Case cases[] = {
        {"2.55", true, "2.5", 2.5}, {"12", true, "1", 1.0},   {"0", false, "", 0},
        {"1a", false, "", 0},       {"0.04", false, "", 0},   {"-1.75", true, "-1.7", -1.7},
        {"", false, "", 0},         {"3.", true, "3.", 3.0},  {"5%", false, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const auto entry = ParseKy(QString::fromUtf8(c.typed));
        ASSERT_EQ(entry.has_value(), c.accepted);
        if (entry) {
            EXPECT_EQ(entry->text, c.kept);
            EXPECT_DOUBLE_EQ(entry->value, c.value);
        }
    }
}

TEST_F(ViewerLogic, KyEditStoresTheFactorOrKeepsTheEditorOpen) {
    EXPECT_TRUE(m_panel.EditKy(1, "2.55"));
    EXPECT_EQ(m_doc.Data().m_dGain[1], 2.5);
    EXPECT_EQ(m_panel.Rows()[1].ky, "2.5");
    EXPECT_FALSE(m_panel.EditKy(1, "1a"));
    EXPECT_EQ(m_doc.Data().m_dGain[1], 2.5);
    m_panel.HeaderClicked(GraphColumn::Ky);
    EXPECT_EQ(m_doc.Data().m_dGain[1], 1.0);
    EXPECT_EQ(m_panel.Rows()[1].ky, "1.0");
}

TEST_F(ViewerLogic, SwitchesExcludeEachOther) {
    m_panel.SetUseVaru(true);
    EXPECT_FALSE(m_panel.Processing().enabled);
    m_panel.SetUseFilter(true);
    m_panel.SetUseVaru(false);
    EXPECT_FALSE(m_panel.Processing().enabled); // the filter is still in use
    m_panel.SetUseFilter(false);
    EXPECT_TRUE(m_panel.Processing().enabled);

    Edit([](PictDocData& c) { c.m_nEchoIndex = {120, 340}; });
    m_panel.SetProcessing(true);
    EXPECT_EQ(m_doc.Data().m_bProcessing, 1);
    EXPECT_FALSE(m_panel.Varu().enabled);
    EXPECT_FALSE(m_panel.Filter().enabled);
    EXPECT_EQ(m_doc.Data().m_nWindowStart, 0);
    EXPECT_EQ(m_scene.signalSetups.back(), 0.0); // the autocorrelations' own range
    EXPECT_EQ(m_view.markers.Current(), 120); // the automatic reflection of graph 1
    EXPECT_EQ(m_panel.TimeReadout(), "Время (ms) :  12.000");
    m_panel.SetGraphNumber(2);
    EXPECT_EQ(m_view.markers.Current(), 340);
    m_panel.SetProcessing(false);
    EXPECT_TRUE(m_panel.Varu().enabled);
    EXPECT_EQ(m_doc.Data().m_bProcessing, 0);

    // Spectrum mode takes the gain and processing away and gives them back unchecked.
    m_panel.SetUseVaru(true);
    m_panel.EnterSpectrum();
    EXPECT_EQ(m_doc.Data().m_bUseVaru, 0);
    EXPECT_FALSE(m_panel.Varu().enabled);
    EXPECT_FALSE(m_panel.Varu().checked);
    m_panel.LeaveSpectrum();
    EXPECT_TRUE(m_panel.Varu().enabled);
    EXPECT_TRUE(m_panel.Processing().enabled);
}

TEST_F(ViewerLogic, ProcessingPutsTheMarkerOnTheToeFinderAnswer) {
    // A blow on a modelled 6.25 m pile at 4000 m/s, 50 µs a sample: the toe 62.5 samples after it.
    Edit([](PictDocData& c) {
        c.m_nSamples = 1024;
        c.m_nSampleIntervalUs = 50;
        for (std::size_t i = 0; i < 2; ++i)
            for (TraceArray* a : {&c.m_pRaw[i], &c.m_pGained[i], &c.m_pFiltered[i], &c.m_pGainedFiltered[i],
                                  &c.m_pAutoCorr[i]})
                a->assign(1024, 0.0);
        analysis::PileModel pile;
        pile.lengthM = 6.25;
        pile.velocityMps = 4000.0;
        analysis::BlowRecording blow;
        blow.sampleRateHz = 20000;
        blow.samples = 1024;
        c.m_pRaw[0] = analysis::SimulateBlow(pile, blow);
        c.m_nEchoIndex = {7, 9}; // the autocorrelation's estimates, wrong here on purpose
        c.m_nWindowEnd = 1023;
    });
    m_panel.SetVelocity(4000.0);
    m_panel.SetProcessing(true);
    EXPECT_NEAR(m_view.markers.Current(), 62.5, 2.0);
    // Graph 2 holds no blow: the finder has no answer and the estimate stands.
    m_panel.SetGraphNumber(2);
    EXPECT_EQ(m_view.markers.Current(), 9);
}

TEST_F(ViewerLogic, SpectrumCommandsOutsideSpectrumModeOnlyTellTheUser) {
    m_panel.SetFftWindow(0);
    m_panel.SetSpectrumScale(1);
    EXPECT_EQ(m_doc.Data().m_nFftWindow, 2);
    EXPECT_EQ(m_doc.Data().m_nSpectrumScale, 0);
    EXPECT_EQ(m_prompts.texts(), (std::vector<QString>(2, "Перейдите в режим оотображения спектра сигналов!")));
    m_panel.EnterSpectrum();
    EXPECT_EQ(m_scene.spectrumSetups, 1);
    m_panel.SetFftWindow(0);
    EXPECT_EQ(m_scene.spectrumSetups, 2);
    EXPECT_EQ(m_doc.Data().m_nFftWindow, 0);
    EXPECT_EQ(m_doc.Data().m_pSpectrum[0].size(), 1001u);
}

TEST_F(ViewerLogic, SpectrumReadoutsInHertzAndTheSignalsBackAfterwards) {
    m_view.markers.position = {420, 300, 0, 0, 0};
    m_panel.ShowMarkerReadout(420);
    m_panel.SetTimeUnits(false); // a length axis must not change the frequencies
    m_panel.EnterSpectrum();
    // 1001 samples of 0.1 ms: 9.99 Hz per bin. Bins 50 and 100 are 499.5 Hz apart: 3600 / 999 m.
    m_view.markers.position = {50, 100, 0, 0, 0};
    m_view.markers.current = 1;
    m_view.markers.previous = 0;
    m_panel.ShowMarkerReadout(100);
    EXPECT_EQ(m_panel.TimeReadout(), "Частота (Гц):     999");
    EXPECT_EQ(m_panel.DeltaReadout(), "Δ : 500 Гц");
    EXPECT_EQ(m_panel.LengthReadout(), "Длина (m) :   3.604");
    EXPECT_DOUBLE_EQ(SpectrumGraphsOf(m_doc).frequencyStep, 1.0 / 0.1001);

    m_panel.LeaveSpectrum();
    EXPECT_EQ(m_view.markers.position, (std::array<int, 5>{420, 300, 0, 0, 0}));
    EXPECT_EQ(m_panel.TimeReadout(), "Время (ms) :  42.000");
    EXPECT_EQ(m_panel.LengthReadout(), "Длина (m) :  75.600");
    EXPECT_EQ(m_panel.DeltaReadout(), "Δ : ");
}

TEST_F(ViewerLogic, ClearingAGraphMovesTheLengthsToTheOtherOne) {
    m_doc.SetSelection(1, 1, m_doc.Data().m_nFirstRow);
    m_panel.SetShown(0, false);
    EXPECT_EQ(m_panel.GraphNumber(), 2);
    EXPECT_EQ(m_doc.Data().m_nEnabledCount, 1);
    EXPECT_EQ(m_doc.Data().m_nEnabled[0], 1);
    EXPECT_EQ(m_doc.Data().m_nGraphsOnScreen, 1);
    EXPECT_EQ(m_doc.Data().m_nSelIndex, 0);
    m_panel.SetShown(0, true);
    EXPECT_EQ(m_doc.Data().m_nGraphsOnScreen, 2);
    EXPECT_EQ(m_doc.Data().m_nEnabled, (std::array<int, 2>{0, 1}));
    m_panel.SetShown(1, false);
    m_panel.HeaderClicked(GraphColumn::Number);
    EXPECT_EQ(m_doc.Data().m_nGraphsOnScreen, 2);
    EXPECT_TRUE(m_panel.Rows()[1].checked);
}

// One trace: the spin still allows 2, which must not reach past the arrays.
class OneTraceLogic : public ViewerLogic {};

TEST_F(OneTraceLogic, GraphTwoOfAOneTraceFileReadsTraceOne) {
    Edit([](PictDocData& c) {
        c.m_nTraceCount = 1;
        c.m_pRaw[1].clear();
        c.m_pRaw[0][5] = 3;
    });
    m_panel.SetGraphNumber(2);
    EXPECT_EQ(m_panel.SearchTrace(), 0);
    m_view.markers.Current() = 4;
    m_input.Key(ViewKey::M, 1);
    EXPECT_EQ(m_view.markers.Current(), 5);
}

} // namespace
