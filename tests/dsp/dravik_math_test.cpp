// A few of the filter library's mathematics, reached as any host would: by name at run time.

#include "outside/dravik/dravik.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <dlfcn.h>
#include <numbers>
#include <vector>

namespace {

class DravikMath : public ::testing::Test {
protected:
    void SetUp() override {
        m_handle = dlopen("libDravik.so", RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(m_handle, nullptr) << dlerror();
    }
    void TearDown() override {
        if (m_handle)
            dlclose(m_handle);
    }
    template <typename Fn> Fn* Get(const char* name) {
        void* p = dlsym(m_handle, name);
        EXPECT_NE(p, nullptr) << name;
        return reinterpret_cast<Fn*>(p);
    }
    void* m_handle = nullptr;
};

TEST_F(DravikMath, TransformOfAnImpulseIsFlatAndTheInverseUndoesIt) {
    auto* fft = Get<int32_t(DravikComplex*, int32_t, int32_t)>("FFT_c");
    std::vector<DravikComplex> x(16, DravikComplex{0, 0});
    x[1] = {1, 0};
    ASSERT_EQ(fft(x.data(), 16, 0), 1);
    for (std::size_t k = 0; k < 16; ++k) {
        const double angle = -2 * std::numbers::pi * double(k) / 16;
        EXPECT_NEAR(x[k].re, std::cos(angle), 1e-12);
        EXPECT_NEAR(x[k].im, std::sin(angle), 1e-12);
    }
    ASSERT_EQ(fft(x.data(), 16, 1), 1);
    EXPECT_NEAR(x[1].re, 1.0, 1e-12);
    EXPECT_NEAR(x[0].re, 0.0, 1e-12);
    EXPECT_EQ(fft(x.data(), 12, 0), 0);
}

TEST_F(DravikMath, ButterworthLowPassHasUnitGainAtZeroAndFallsOff) {
    auto* butter = Get<int32_t(int32_t, double, double*, double*)>("Butter");
    auto* filter =
        Get<void(const double*, int32_t, const double*, int32_t, const double*, double*, int32_t)>("Filter");
    double b[5], a[5];
    ASSERT_EQ(butter(4, 0.05, b, a), 5);
    std::vector<double> step(400, 1.0), y(400);
    filter(b, 5, a, 5, step.data(), y.data(), 400);
    EXPECT_NEAR(y.back(), 1.0, 1e-6);
    std::vector<double> fast(400), yFast(400);
    for (std::size_t i = 0; i < fast.size(); ++i)
        fast[i] = (i % 2) ? 1.0 : -1.0; // the highest frequency
    filter(b, 5, a, 5, fast.data(), yFast.data(), 400);
    EXPECT_LT(std::fabs(yFast.back()), 1e-4);
}

TEST_F(DravikMath, MaximalLengthSequenceIsBalanced) {
    auto* length = Get<int32_t(int32_t)>("MSequenceLength");
    auto* sequence = Get<int32_t(int32_t, double*)>("MSequence");
    for (int32_t degree : {3, 7, 10}) {
        SCOPED_TRACE(degree);
        std::vector<double> s(std::size_t(length(degree)));
        ASSERT_EQ(sequence(degree, s.data()), (1 << degree) - 1);
        double sum = 0;
        for (double v : s)
            sum += v;
        EXPECT_EQ(sum, 1.0); // one more +1 than −1
    }
}

TEST_F(DravikMath, FilterCoefficientsOfTheDefaultRecord) {
    auto* coef = Get<int32_t(const DravikFilterRecord*, double*, int32_t)>("FilterACoef");
    DravikFilterRecord r;
    std::memset(&r, 0, sizeof r);
    r.fs = 100000.0;
    r.halfLength = 128;
    r.bandCount = 1;
    r.beta = 0.54;
    r.bands[0] = DravikBand{10.0, 0.0, 1.0};
    std::vector<double> h(257);
    ASSERT_EQ(coef(&r, h.data(), 257), 257);
    EXPECT_GT(h[128], 0.0);
    EXPECT_EQ(h[256], 0.0);
    EXPECT_EQ(coef(&r, h.data(), 100), 0); // does not fit
    r.halfLength = 1;
    EXPECT_EQ(coef(&r, h.data(), 257), 0);
}

TEST_F(DravikMath, StatisticsAndHistogram) {
    auto* sigma = Get<double(const double*, int32_t)>("Sigma_r");
    auto* histogram = Get<void(const double*, int32_t, int32_t*, int32_t, double, double)>("Gistogramma_r");
    const double x[] = {1, 2, 3, 4, 5};
    EXPECT_NEAR(sigma(x, 5), std::sqrt(2.5), 1e-12);
    int32_t counts[2] = {9, 9};
    histogram(x, 5, counts, 2, 1.0, 5.0);
    EXPECT_EQ(counts[0], 2);
    EXPECT_EQ(counts[1], 3);
}

} // namespace
