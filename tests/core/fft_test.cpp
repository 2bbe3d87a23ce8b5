#include "core/fft.h"

#include <gtest/gtest.h>

#include <random>

namespace srt {
namespace {

TEST(Correlate, MatchesTheDirectSumForAnySizes) {
    std::mt19937 random(3);
    for (const auto& [na, nb] : {std::pair{1, 1}, {1, 5}, {5, 1}, {7, 9}, {64, 65}, {300, 17}}) {
        std::vector<double> a, b;
        a.resize(std::size_t(na));
        b.resize(std::size_t(nb));
        for (double& v : a) v = double(random() % 1000);
        for (double& v : b) v = double(random() % 50);
        const std::vector<double> c = Correlate(a, b);
        ASSERT_EQ(c.size(), std::size_t(na + nb - 1));
        for (int d = -(nb - 1); d < na; ++d) {
            double expected = 0;
            for (int k = 0; k < na; ++k)
                if (k - d >= 0 && k - d < nb) expected += a[std::size_t(k)] * b[std::size_t(k - d)];
            EXPECT_NEAR(c[std::size_t(d + nb - 1)], expected, 1e-6) << na << "x" << nb << " at " << d;
        }
    }
}

TEST(Fft, InverseUndoesTheTransform) {
    std::vector<std::complex<double>> data(16);
    for (std::size_t k = 0; k < data.size(); ++k) data[k] = {double(k * k % 7), double(k % 3)};
    const auto original = data;
    Fft(data, false);
    EXPECT_NEAR(data[0].real(), [&] { double s = 0; for (auto& v : original) s += v.real(); return s; }(), 1e-9);
    Fft(data, true);
    for (std::size_t k = 0; k < data.size(); ++k) {
        EXPECT_NEAR(data[k].real() / 16, original[k].real(), 1e-12);
        EXPECT_NEAR(data[k].imag() / 16, original[k].imag(), 1e-12);
    }
}

}  // namespace
}  // namespace srt
