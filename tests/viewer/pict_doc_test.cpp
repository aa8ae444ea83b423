#include "app/viewer/pict_doc.h"
#include "app/viewer/pict_processing.h"

#include "tests/support/recording_prompts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace zarno;

namespace {

PictDocData TwoTraces() {
    PictDocData content;
    content.m_nTraceCount = 2;
    return content;
}

TEST(PictDoc, ConstructionTakesTheMainWindowsSettings) {
    struct Case {
        ViewerDisplaySettings stored;
        int maxGraphs, biasXGr, biasXFur, biasKoeffY, fillMode;
        double fillLevel;
    };
    const Case cases[] = {
        {{0, 0, 0, 0, 0, {true, true}}, 24, 10, 5, 30, 0, 1.0},
        {{1, 12, 20, 7, 100, {true, false}}, 12, 20, 7, 100, 1, 0.5},
        {{2, 3, 1, 1, 2, {false, true}}, 3, 1, 1, 2, 2, -0.5},
        {{7, 128, 200, 100, 1000, {false, false}}, 128, 200, 100, 1000, 7, 1.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fillMode);
        ViewerDisplaySettings main = c.stored;
        CPictDoc doc(main);
        EXPECT_EQ(doc.Data().m_display.m_nMaxGraphs, c.maxGraphs);
        EXPECT_EQ(doc.Data().m_display.m_nBiasXGr, c.biasXGr);
        EXPECT_EQ(doc.Data().m_display.m_nBiasXFur, c.biasXFur);
        EXPECT_EQ(doc.Data().m_display.m_nBiasKoeffY, c.biasKoeffY);
        EXPECT_EQ(doc.Data().m_display.m_nFillMode, c.fillMode);
        EXPECT_EQ(doc.Data().m_dFillLevel, c.fillLevel);
        EXPECT_EQ(doc.Data().m_display.m_bShown, c.stored.m_bShown);
    }
}

TEST(PictDoc, InitialValues) {
    ViewerDisplaySettings main;
    const CPictDoc doc(main);
    EXPECT_EQ(doc.Data().m_nSelIndex, 0);
    EXPECT_EQ(doc.Data().m_nSelRow, 0);
    EXPECT_EQ(doc.Data().m_nFirstRow, 0);
    EXPECT_EQ(doc.Data().m_nSingleTrace, 0);
    EXPECT_EQ(doc.Data().m_nZeroSample, 0);
    EXPECT_EQ(doc.Data().m_dUnitsPerSample, 0.0);
    EXPECT_EQ(doc.Data().m_bUseVaru, 0);
    EXPECT_EQ(doc.Data().m_bProcessing, 0);
    EXPECT_EQ(doc.Data().m_bUseFilter, 0);
    EXPECT_EQ(doc.Data().m_nSpectrumScale, 0);
    EXPECT_FALSE(doc.Data().m_bLoaded);
    EXPECT_FALSE(doc.Data().m_bSpectrum);
    EXPECT_EQ(doc.Data().m_nFftWindow, 2);
    EXPECT_EQ(doc.Data().m_dGain, (std::array<double, 2>{1.0, 1.0}));
    EXPECT_EQ(doc.Data().m_nEnabled, (std::array<int, 2>{0, 1}));
    EXPECT_EQ(doc.Data().m_nVisible, (std::array<int, 2>{0, 1}));
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(doc.Data().m_pRaw[std::size_t(i)].empty());
        EXPECT_TRUE(doc.Data().m_pSpectrum[std::size_t(i)].empty());
    }
}

TEST(PictDoc, DestructionWritesTheSettingsBackForTheNextViewer) {
    ViewerDisplaySettings main{2, 0, 0, 0, 0, {true, true}};
    {
        CPictDoc doc(main);
        doc.TakeRecording(TwoTraces());
        doc.SetShown(0, false);
        doc.SetFillMode(1);
        doc.ApplyDisplaySettings(0, 0, 0, 0); // zeros in the dialog
        EXPECT_EQ(doc.Data().m_nGraphsOnScreen, 2);  // laid out with 24 meanwhile
    }
    EXPECT_EQ(main.m_nMaxGraphs, 0);
    EXPECT_EQ(main.m_nBiasXGr, 0);
    EXPECT_EQ(main.m_nFillMode, 1);
    EXPECT_EQ(main.m_bShown, (std::array<bool, 2>{false, true}));
    const CPictDoc next(main);
    EXPECT_EQ(next.Data().m_display.m_nMaxGraphs, 24);
    EXPECT_EQ(next.Data().m_display.m_nBiasXGr, 10);
    EXPECT_EQ(next.Data().m_display.m_nBiasXFur, 5);
    EXPECT_EQ(next.Data().m_display.m_nBiasKoeffY, 30);
    EXPECT_EQ(next.Data().m_dFillLevel, 0.5);
}

TEST(PictDoc, DisplaySettingsSetTheGraphsOnScreen) {
    ViewerDisplaySettings main;
    CPictDoc doc(main);
    doc.TakeRecording(TwoTraces());
    doc.ApplyDisplaySettings(1, 20, 7, 50);
    EXPECT_EQ(doc.Data().m_nGraphsOnScreen, 1);
    EXPECT_EQ(doc.Data().m_nEnabledCount, 2);
    EXPECT_EQ(doc.Data().m_display.m_nBiasXGr, 20);
    EXPECT_EQ(doc.Data().m_display.m_nBiasXFur, 7);
    EXPECT_EQ(doc.Data().m_display.m_nBiasKoeffY, 50);
}

TEST(PictDoc, DisplayedArrayRule) {
    ViewerDisplaySettings main;
    CPictDoc doc(main);
    PictDocData content = TwoTraces();
    for (std::size_t t = 0; t < 2; ++t) {
        const double base = 10.0 * double(t);
        content.m_pRaw[t] = {base + 1};
        content.m_pFiltered[t] = {base + 2};
        content.m_pGained[t] = {base + 3};
        content.m_pGainedFiltered[t] = {base + 4};
        content.m_pAutoCorr[t] = {base + 5};
    }
    doc.TakeRecording(content);
    struct Case {
        int processing, varu, filter;
        double shown;
    };
    const Case cases[] = {
        {0, 0, 0, 1}, {0, 0, 1, 2}, {0, 1, 0, 3}, {0, 1, 1, 4},
        {1, 0, 0, 5}, {1, 1, 1, 5}, {1, 0, 1, 5}, {1, 1, 0, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.processing << c.varu << c.filter);
        doc.SetProcessing(c.processing != 0);
        doc.SetUseVaru(c.varu != 0);
        doc.SetUseFilter(c.filter != 0);
        EXPECT_EQ(doc.DisplayedArray(0).front(), c.shown);
        EXPECT_EQ(doc.DisplayedArray(1).front(), 10 + c.shown);
    }
}

// A two-trace document of ns samples with raw traces already in place; a test changes the content
// and hands it to the document again.
struct DocFixture {
    ViewerDisplaySettings main;
    CPictDoc doc{main};
    PictDocData content = TwoTraces();
    explicit DocFixture(int ns) {
        content.m_nSamples = ns;
        content.m_nSampleIntervalUs = 100;
        content.m_dVelocity = 3600;
        content.m_nWindowEnd = ns - 1;
        content.m_pVaru.assign(std::size_t(ns), 1.0);
        for (auto& a : content.m_pRaw)
            a.assign(std::size_t(ns), 0.0);
        Take();
    }
    void Take() { doc.TakeRecording(content); }
};

TEST(PictProcessing, SpectraFollowTheFilterSwitchAndWriteAllBins) {
    DocFixture f(1024);
    for (std::size_t j = 0; j < 1024; ++j) {
        f.content.m_pRaw[0][j] = 2.5;
        f.content.m_pRaw[1][j] = std::cos(2 * std::numbers::pi * 8.0 * double(j) / 1024.0);
    }
    f.content.m_pFiltered[0].assign(1024, 0.0);
    f.content.m_pFiltered[1].assign(1024, 0.0);
    f.Take();

    f.doc.ComputeSpectra(dsp::FftWindow::Rectangular, dsp::SpectrumScale::Linear, true);
    ASSERT_EQ(f.doc.Data().m_pSpectrum[0].size(), 1024u);
    EXPECT_NEAR(f.doc.Data().m_pSpectrum[0][0], 1.0, 1e-12);
    EXPECT_NEAR(f.doc.Data().m_pSpectrum[0][1], 0.0, 1e-12);
    EXPECT_NEAR(f.doc.Data().m_pSpectrum[1][8], 1.0, 1e-12);

    f.doc.SetUseFilter(true); // the filtered traces are all zero
    f.doc.ComputeSpectra(dsp::FftWindow::Rectangular, dsp::SpectrumScale::Linear, false);
    EXPECT_EQ(f.doc.Data().m_pSpectrum[0], std::vector<double>(1024, 0.0));

    const QByteArray text = SpectrumFileText(f.doc);
    EXPECT_EQ(text.count('\n'), 1024);
    EXPECT_TRUE(text.startsWith("0.000000\t0.000000\t\r\n"));
}

TEST(PictProcessing, EditedGainIsAppliedInTheWindowOnly) {
    DocFixture f(10);
    for (std::size_t j = 0; j < 10; ++j) {
        f.content.m_pVaru[j] = double(j);
        f.content.m_pRaw[0][j] = 1.0;
        f.content.m_pRaw[1][j] = 2.0;
    }
    for (std::size_t t = 0; t < 2; ++t) {
        f.content.m_pFiltered[t].assign(10, 3.0);
        f.content.m_pGained[t].assign(10, -1.0);
        f.content.m_pGainedFiltered[t].assign(10, -1.0);
    }
    f.Take();
    f.doc.SetWindow(2, 6); // 5 points, r = 2: means of (0,1), (2,3), ...
    ASSERT_TRUE(f.doc.ApplyEditedGain());
    EXPECT_EQ(f.doc.Data().m_pGained[0], (std::vector<double>{-1, -1, 0.5, 2.5, 4.5, 6.5, 8.5, -1, -1, -1}));
    EXPECT_EQ(f.doc.Data().m_pGained[1][3], 5.0);
    EXPECT_EQ(f.doc.Data().m_pGainedFiltered[1][3], 7.5);

    f.doc.SetWindow(2, 20); // beyond the trace: nothing to apply
    EXPECT_FALSE(f.doc.ApplyEditedGain());
}

TEST(PictProcessing, GainEditorWithoutAGuiChangesNothing) {
    DocFixture f(8);
    f.content.m_bUseVaru = 1;
    f.content.m_pVaru.assign(8, 2.0);
    f.Take();
    const GainEditOutcome outcome = EditGain(f.doc, nullptr);
    EXPECT_FALSE(outcome.edited);
    EXPECT_EQ(f.doc.Data().m_bUseVaru, 1);
    EXPECT_EQ(f.doc.Data().m_pVaru, std::vector<double>(8, 2.0));
}

TEST(PictProcessing, FilterSettingsCommandRefusedWithoutTheLibrary) {
    DocFixture f(8);
    f.content.m_pFiltered[0].assign(8, 5.0);
    f.Take();
    dsp::FilterSettings filter{};
    dsp::SetFilterDefaults(filter);
    zarno::testing::RecordingPrompts prompts;
    EXPECT_FALSE(EditFilterSettings(f.doc, filter, prompts, "libNoSuchDravik.so"));
    ASSERT_EQ(prompts.texts(), std::vector<QString>{"Невозможно загрузить библиотеку фильтрации!"});
    EXPECT_EQ(f.doc.Data().m_pFiltered[0], std::vector<double>(8, 5.0));

    // With the library (and no GUI, so the record stays), every trace is filtered again.
    f.content.m_pRaw[1][4] = 1.0;
    f.content.m_pFiltered = f.doc.Data().m_pFiltered;
    f.Take();
    EXPECT_TRUE(EditFilterSettings(f.doc, filter, prompts));
    EXPECT_EQ(f.doc.Data().m_pFiltered[0], std::vector<double>(8, 0.0));
    EXPECT_NE(f.doc.Data().m_pFiltered[1], std::vector<double>(8, 0.0));
}

} // namespace
