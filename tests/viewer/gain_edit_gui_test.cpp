// "Настроить параметры ВАРУ" with the real question and editor (offscreen), driven through their
// widgets.

#include "app/viewer/pict_processing.h"
#include "outside/tovelutils/tovel_utils.h"
#include "tests/support/gui_app.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

using namespace zarno;

namespace {

[[maybe_unused]] ::testing::Environment* const g_gui =
    ::testing::AddGlobalTestEnvironment(new zarno::testing::GuiApplication);

// Answers the question Yes, then sets the editor's end gain and accepts it.
void AnswerYesThenSetEndGain(int endDb) {
    QTimer::singleShot(50, [endDb] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            AnswerYesThenSetEndGain(endDb);
            return;
        }
        QTimer::singleShot(50, [endDb] {
            QWidget* editor = QApplication::activeModalWidget();
            ASSERT_NE(editor, nullptr);
            editor->findChildren<QSpinBox*>()[0]->setValue(endDb);
            auto* buttons = editor->findChild<QDialogButtonBox*>();
            buttons->button(QDialogButtonBox::Ok)->click();
        });
        box->button(QMessageBox::Yes)->click();
    });
}

TEST(GainEdit, NewCurveIsAppliedInTheWindowAndTheGainStaysOn) {
    ViewerDisplaySettings main;
    CPictDoc doc(main);
    doc.m_nTraceCount = 2;
    doc.m_nSamples = 100;
    doc.m_nWindowStart = 0;
    doc.m_nWindowEnd = 99;
    doc.m_bUseVaru = 1;
    doc.m_pVaru.assign(100, 1.0);
    for (std::size_t t = 0; t < 2; ++t) {
        doc.m_pRaw[t].assign(100, 1.0 + double(t));
        doc.m_pFiltered[t].assign(100, 0.5);
        doc.m_pGained[t].assign(100, 0.0);
        doc.m_pGainedFiltered[t].assign(100, 0.0);
    }
    AnswerYesThenSetEndGain(20);
    const GainEditOutcome outcome = EditGain(doc, nullptr);
    EXPECT_TRUE(outcome.edited);
    EXPECT_TRUE(outcome.redraw);
    EXPECT_EQ(doc.m_bUseVaru, 1);
    EXPECT_EQ(doc.m_nVaruFirst, 20);
    EXPECT_EQ(doc.m_nVaruPoints, 100);
    std::vector<double> curve(100);
    TovelUtils1(20, doc.m_nVaruSecond, 100, 0, 0, curve.data());
    EXPECT_EQ(doc.m_pVaru, curve);
    EXPECT_DOUBLE_EQ(doc.m_pGained[1][99], 2.0 * 10.0);
    EXPECT_DOUBLE_EQ(doc.m_pGainedFiltered[0][99], 0.5 * 10.0);
}

} // namespace
