#include "core/fft.h"

#include <cmath>
#include <cstddef>
#include <utility>

namespace srt {
namespace {

// The plain product: std::complex's operator* also mends infinities and NaNs
// through a library call, which makes the transform several times slower.
std::complex<double> Times(std::complex<double> a, std::complex<double> b) {
    return {a.real() * b.real() - a.imag() * b.imag(), a.real() * b.imag() + a.imag() * b.real()};
}

}  // namespace

void Fft(std::vector<std::complex<double>>& data, bool inverse) {
    const std::size_t n = data.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {  // bit-reversed order
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(data[i], data[j]);
    }
    // Twiddles from sine and cosine directly, not by repeated products, so
    // that their error does not grow with the size.
    const double pi = std::acos(-1.0), sign = inverse ? 1.0 : -1.0;
    std::vector<std::complex<double>> twiddle(n / 2);
    for (std::size_t k = 0; k < n / 2; ++k) {
        const double angle = sign * 2 * pi * double(k) / double(n);
        twiddle[k] = {std::cos(angle), std::sin(angle)};
    }
    for (std::size_t half = 1; half < n; half <<= 1) {
        const std::size_t stride = n / (2 * half);
        for (std::size_t start = 0; start < n; start += 2 * half)
            for (std::size_t k = 0; k < half; ++k) {
                const std::complex<double> odd = Times(data[start + k + half], twiddle[k * stride]);
                data[start + k + half] = data[start + k] - odd;
                data[start + k] += odd;
            }
    }
}

std::vector<double> Correlate(const std::vector<double>& a, const std::vector<double>& b) {
    if (a.empty() || b.empty()) return {};
    const std::size_t count = a.size() + b.size() - 1;
    std::size_t n = 1;
    while (n < count) n <<= 1;
    // Both real sequences in one complex transform: a as the real part, b
    // reversed as the imaginary part, so that the correlation becomes a
    // convolution.
    std::vector<std::complex<double>> z(n);
    for (std::size_t k = 0; k < a.size(); ++k) z[k].real(a[k]);
    for (std::size_t k = 0; k < b.size(); ++k) z[k].imag(b[b.size() - 1 - k]);
    Fft(z, false);
    // Separate the two spectra and multiply them, pairing k with n - k.
    for (std::size_t k = 0; k <= n / 2; ++k) {
        const std::size_t m = (n - k) & (n - 1);
        const std::complex<double> zk = z[k], zm = z[m];
        const std::complex<double> ak = (zk + std::conj(zm)) * 0.5, bk = (zk - std::conj(zm)) * std::complex<double>(0, -0.5);
        const std::complex<double> am = (zm + std::conj(zk)) * 0.5, bm = (zm - std::conj(zk)) * std::complex<double>(0, -0.5);
        z[k] = Times(ak, bk);
        z[m] = Times(am, bm);
    }
    Fft(z, true);
    std::vector<double> c(count);
    for (std::size_t k = 0; k < count; ++k) c[k] = z[k].real() / double(n);
    return c;
}

}  // namespace srt
