#include "app/dsp/dravik_binding.h"

#include "tests/support/recording_prompts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

using namespace zarno::dsp;
using zarno::testing::RecordingPrompts;

namespace {

TEST(DravikBinding, NamesAreResolvedInOrderWithTheDialogLast) {
    const auto& names = DravikNames();
    EXPECT_STREQ(names.front(), "MemCompare");
    EXPECT_STREQ(names[24], "CompAbsSqr");
    EXPECT_STREQ(names[148], "Gistogramma_c");
    EXPECT_STREQ(names.back(), "SelectFiltA");
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), 150u);
}

TEST(DravikBinding, BindsTheLibraryBesideTheProgram) {
    DravikBinding dravik;
    ASSERT_TRUE(dravik.Bind()) << dravik.MissingName();
    EXPECT_TRUE(dravik.IsBound());
    dravik.Unbind();
    EXPECT_FALSE(dravik.IsBound());
}

TEST(DravikBinding, RefusesALibraryMissingOneName) {
    DravikBinding dravik;
    EXPECT_FALSE(dravik.Bind("libDravikIncomplete.so"));
    EXPECT_FALSE(dravik.IsBound());
    EXPECT_STREQ(dravik.MissingName(), "winEff_d");
    FilterSettings s{};
    EXPECT_FALSE(dravik.SelectFiltA(s));
}

TEST(DravikBinding, FailedBindingIsReportedAndChangesNothing) {
    for (const char* library : {"libDravikIncomplete.so", "libNoSuchDravik.so"}) {
        SCOPED_TRACE(library);
        FilterSettings s{};
        SetFilterDefaults(s);
        const FilterSettings before = s;
        RecordingPrompts prompts;
        EXPECT_FALSE(ChooseFilterSettings(s, prompts, library));
        ASSERT_EQ(prompts.records.size(), 1u);
        EXPECT_EQ(prompts.records[0].text, QString("Невозможно загрузить библиотеку фильтрации!"));
        EXPECT_EQ(prompts.records[0].icon, zarno::PromptIcon::Stop);
        EXPECT_EQ(std::memcmp(&s, &before, sizeof s), 0);
    }
}

TEST(DravikBinding, DialogWithoutAGuiLeavesTheRecord) {
    FilterSettings s{};
    SetFilterDefaults(s);
    const FilterSettings before = s;
    RecordingPrompts prompts;
    EXPECT_TRUE(ChooseFilterSettings(s, prompts));
    EXPECT_TRUE(prompts.records.empty());
    EXPECT_EQ(std::memcmp(&s, &before, sizeof s), 0);
}

} // namespace
