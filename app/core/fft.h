// A radix-2 fast Fourier transform and the correlation of two real
// sequences built on it. Platform-free.
#pragma once

#include <complex>
#include <vector>

namespace srt {

// In place; the size must be a power of two. The inverse transform is not
// scaled: dividing by the size is the caller's.
void Fft(std::vector<std::complex<double>>& data, bool inverse);

// c[D + b.size() - 1] = sum over k of a[k] * b[k - D], for every D in
// [-(b.size() - 1), a.size() - 1]; terms outside either sequence are zero.
// Rounded as floating point: each value may be off by a small multiple of
// 1e-16 * log2(size) * sqrt(size) * sum|a| * max|b|.
std::vector<double> Correlate(const std::vector<double>& a, const std::vector<double>& b);

}  // namespace srt
