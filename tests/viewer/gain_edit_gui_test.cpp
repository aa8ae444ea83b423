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
    PictDocData content;
    content.m_nTraceCount = 2;
    content.m_nSamples = 100;
    content.m_nWindowStart = 0;
    content.m_nWindowEnd = 99;
    content.m_bUseVaru = 1;
    content.m_pVaru.assign(100, 1.0);
    for (std::size_t t = 0; t < 2; ++t) {
        content.m_pRaw[t].assign(100, 1.0 + double(t));
        content.m_pFiltered[t].assign(100, 0.5);
        content.m_pGained[t].assign(100, 0.0);
        content.m_pGainedFiltered[t].assign(100, 0.0);
    }
    doc.TakeRecording(std::move(content));
    AnswerYesThenSetEndGain(20);
    const GainEditOutcome outcome = EditGain(doc, nullptr);
    EXPECT_TRUE(outcome.edited);
    EXPECT_TRUE(outcome.redraw);
    EXPECT_EQ(doc.Data().m_bUseVaru, 1);
    EXPECT_EQ(doc.Data().m_nVaruFirst, 20);
    EXPECT_EQ(doc.Data().m_nVaruPoints, 100);
    std::vector<double> curve(100);
    TovelUtils1(20, doc.Data().m_nVaruSecond, 100, 0, 0, curve.data());
    EXPECT_EQ(doc.Data().m_pVaru, curve);
    EXPECT_DOUBLE_EQ(doc.Data().m_pGained[1][99], 2.0 * 10.0);
    EXPECT_DOUBLE_EQ(doc.Data().m_pGainedFiltered[0][99], 0.5 * 10.0);
}

} // namespace
