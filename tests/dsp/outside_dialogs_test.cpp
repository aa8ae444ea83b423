// The outside libraries' dialogs in a GUI application (offscreen): each is driven as a user would,
// through its widgets, and must hand back what was chosen.

#include "app/dsp/dravik_binding.h"
#include "outside/tovelutils/tovel_utils.h"
#include "tests/support/gui_app.h"
#include "tests/support/recording_prompts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QMessageBox>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <vector>

using namespace zarno::dsp;

namespace {

[[maybe_unused]] ::testing::Environment* const g_gui =
    ::testing::AddGlobalTestEnvironment(new zarno::testing::GuiApplication);

// Runs `act` on the modal dialog once it is up, then presses the button with the given role.
void WhenModal(std::function<void(QWidget*)> act, QDialogButtonBox::ButtonRole role) {
    zarno::testing::WhenModal<QWidget>([act, role](QWidget* modal) {
        act(modal);
        for (QAbstractButton* b : modal->findChildren<QAbstractButton*>()) {
            auto* box = qobject_cast<QDialogButtonBox*>(b->parentWidget());
            if (box && box->buttonRole(b) == role) {
                b->click();
                return;
            }
        }
    });
}

template <typename T> T Field(T v) {
    return v;
}

TEST(OutsideDialogs, FilterDialogEditsTheRecord) {
    FilterSettings s{};
    SetFilterDefaults(s);
    s.bands[1] = FilterBand{30.0, 20.0, 0.5};
    WhenModal(
        [](QWidget* dialog) {
            const auto spins = dialog->findChildren<QSpinBox*>();
            ASSERT_EQ(spins.size(), 2); // N, band count
            spins[0]->setValue(64);
            spins[1]->setValue(2);
            auto* table = dialog->findChild<QTableWidget*>();
            ASSERT_NE(table, nullptr);
            ASSERT_EQ(table->rowCount(), 2);
            EXPECT_EQ(table->item(1, 0)->text(), "30"); // the stored band shows up
            table->item(0, 0)->setText("1000");
        },
        QDialogButtonBox::AcceptRole);
    zarno::testing::RecordingPrompts prompts;
    ASSERT_TRUE(ChooseFilterSettings(s, prompts));
    EXPECT_EQ(Field(s.halfLength), 64);
    EXPECT_EQ(Field(s.bandCount), 2);
    EXPECT_EQ(Field(s.bands[0].f1), 1000.0);
    EXPECT_EQ(Field(s.bands[1].gain), 0.5);
    EXPECT_EQ(Field(s.fs), 100000.0);
    EXPECT_EQ(Field(s.dialogParams[0]), 0.46);
    EXPECT_EQ(Field(s.beta), 0.54); // untouched fields keep their values
}

TEST(OutsideDialogs, CancelledFilterDialogChangesNothing) {
    FilterSettings s{};
    SetFilterDefaults(s);
    const FilterSettings before = s;
    WhenModal([](QWidget* dialog) { dialog->findChildren<QSpinBox*>()[0]->setValue(64); },
              QDialogButtonBox::RejectRole);
    zarno::testing::RecordingPrompts prompts;
    ASSERT_TRUE(ChooseFilterSettings(s, prompts));
    EXPECT_EQ(std::memcmp(&s, &before, sizeof s), 0);
}

TEST(OutsideDialogs, GainEditorHandsBackParametersAndCurve) {
    int32_t first = 1, second = 10;
    std::vector<double> curve(100, 1.0);
    WhenModal(
        [](QWidget* dialog) {
            const auto spins = dialog->findChildren<QSpinBox*>();
            ASSERT_EQ(spins.size(), 2);
            spins[0]->setValue(20);
            spins[1]->setValue(0);
        },
        QDialogButtonBox::AcceptRole);
    EXPECT_EQ(TovelUtils2(&first, &second, 100, curve.data()), 1);
    EXPECT_EQ(first, 20);
    EXPECT_EQ(second, 0);
    EXPECT_DOUBLE_EQ(curve.front(), 1.0);
    EXPECT_DOUBLE_EQ(curve.back(), 10.0);
}

TEST(OutsideDialogs, GoOnQuestion) {
    for (bool yes : {true, false}) {
        SCOPED_TRACE(yes);
        QTimer::singleShot(50, [yes] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        EXPECT_EQ(TovelUtils3(nullptr), yes ? 1 : 0);
    }
}

} // namespace
