#include "effects/SliderEffects.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "core/Parallel.h"
#include "core/Random.h"
#include "effects/EffectParams.h"

namespace pixoral::effects {

const std::array<SliderInfo, 8> kSliders = {{
    {SliderEffect::Contrast, "contrastbar", "Contrast", {0, 100, 0}},
    {SliderEffect::Saturation, "saturationbar", "Saturation", {0, 100, 0}},
    {SliderEffect::Brightness, "lightnessbar", "Brightness", {0, 100, 0}},
    {SliderEffect::GaussianBlur, "blurbar", "Gaussian Blur", {0, 20, 0}},
    {SliderEffect::ColorNoise, "colornoisebar", "Color Noise", {0, 200, 0}},
    {SliderEffect::MonoNoise, "mononoisebar", "Mono Noise", {0, 200, 0}},
    {SliderEffect::SplitBlur, "splitblurbar", "Split Blur", {0, 30, 0}},
    {SliderEffect::Smooth, "smoothbar", "Smooth", {0, 20, 0}},
}};

const SliderInfo& sliderInfo(SliderEffect e) {
    for (const auto& s : kSliders)
        if (s.effect == e) return s;
    return kSliders[0];
}

namespace {

constexpr std::uint8_t clampByte(int v) { return static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v)); }

bool ensure24(Bitmap& bmp) {
    if (bmp.pixelFormat() != PixelFormat::pf24bit) bmp.setPixelFormat(PixelFormat::pf24bit);
    return bmp.pixelFormat() == PixelFormat::pf24bit;
}

int clampTo(SliderEffect e, int a) { return sliderInfo(e).range.clamp(a); }

using Lut = std::array<std::uint8_t, 256>;

// A tone curve applied to every byte of the 24-bit rows.
void applyLut(Bitmap& bmp, const Lut& lut) {
    const std::size_t n = static_cast<std::size_t>(bmp.width()) * 3;
    const auto rows = rowTable(bmp);
    parallel::forRows(bmp.height(), [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            std::uint8_t* p = rows[y];
            for (std::size_t i = 0; i < n; ++i) p[i] = lut[p[i]];
        }
    });
}

// Sample index for an offset a, as the blur defines it: the position itself when the lower
// side falls before 0, n - i when the upper side reaches n. The last clamp only matters
// when a is at least the whole extent (n - 0 would be one past the end).
inline int lowerSample(int i, int a) { return i - a < 0 ? i : i - a; }
inline int upperSample(int i, int a, int n) {
    const int j = i + a >= n ? n - i : i + a;
    return j > n - 1 ? n - 1 : j;
}

// The four-sample mean of one pixel's bytes.
inline void blurPixel(std::uint8_t* p, const std::uint8_t* up, const std::uint8_t* dn, int l, int r) {
    for (int k = 0; k < 3; ++k)
        p[k] = static_cast<std::uint8_t>((up[l + k] + dn[l + k] + up[r + k] + dn[r + k]) >> 2);
}

// Interior bytes [begin, end) when the sample rows are other rows than the one written, so
// nothing read is written in this loop and it can run as straight vector code.
void blurInterior(std::uint8_t* __restrict m, const std::uint8_t* __restrict up, const std::uint8_t* __restrict dn,
                  int begin, int end, int off) {
    for (int i = begin; i < end; ++i)
        m[i] = static_cast<std::uint8_t>((up[i - off] + dn[i - off] + up[i + off] + dn[i + off]) >> 2);
}

void splitBlurPass(Bitmap& bmp, int a) {
    const int w = bmp.width();
    const int h = bmp.height();
    for (int y = 0; y < h; ++y) {
        // Rows written earlier in this pass are read back already blurred; within a row the
        // same holds for bytes to the left when a sample row is the row itself.
        const std::uint8_t* up = bmp.scanLine(lowerSample(y, a));
        const std::uint8_t* dn = bmp.scanLine(upperSample(y, a, h));
        std::uint8_t* m = bmp.scanLine(y);
        const bool ownRowSampled = up == m || dn == m;
        // Columns a .. w - a - 1 have both samples at distance a; the rest follow the edge rules.
        const int x0 = std::min(a, w);
        const int x1 = std::max(x0, w - a);
        if (ownRowSampled) {
            for (int x = 0; x < w; ++x) blurPixel(m + 3 * x, up, dn, 3 * lowerSample(x, a), 3 * upperSample(x, a, w));
            continue;
        }
        for (int x = 0; x < x0; ++x) blurPixel(m + 3 * x, up, dn, 3 * lowerSample(x, a), 3 * upperSample(x, a, w));
        blurInterior(m, up, dn, 3 * x0, 3 * x1, 3 * a);
        for (int x = x1; x < w; ++x) blurPixel(m + 3 * x, up, dn, 3 * lowerSample(x, a), 3 * upperSample(x, a, w));
    }
}

}  // namespace

bool contrast(Bitmap& bmp, int a) {
    if (!ensure24(bmp)) return false;
    a = clampTo(SliderEffect::Contrast, a);
    Lut lut;
    for (int v = 0; v < 256; ++v) {
        const int d = std::abs(127 - v) * a / 255;
        lut[v] = clampByte(v > 127 ? v + d : v - d);
    }
    applyLut(bmp, lut);
    return true;
}

bool brightness(Bitmap& bmp, int a) {
    if (!ensure24(bmp)) return false;
    a = clampTo(SliderEffect::Brightness, a);
    Lut lut;
    for (int v = 0; v < 256; ++v) lut[v] = clampByte(v + a * (255 - v) / 255);
    applyLut(bmp, lut);
    return true;
}

bool saturation(Bitmap& bmp, int a) {
    if (!ensure24(bmp)) return false;
    a = clampTo(SliderEffect::Saturation, a);
    // Tables for the pixel mean and for a * d div 255 over every distance d = v - m, so the
    // loop does no division (integer division truncates toward zero, also for d < 0).
    std::array<std::uint8_t, 766> mean;
    for (int sum = 0; sum < 766; ++sum) mean[sum] = static_cast<std::uint8_t>(sum / 3);
    std::array<std::int16_t, 511> scaled;
    for (int d = -255; d <= 255; ++d) scaled[d + 255] = static_cast<std::int16_t>(a * d / 255);
    const std::int16_t* t = scaled.data() + 255;
    const int w = bmp.width();
    const auto rows = rowTable(bmp);
    parallel::forRows(bmp.height(), [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            std::uint8_t* p = rows[y];
            for (int x = 0; x < w; ++x, p += 3) {
                const int m = mean[p[0] + p[1] + p[2]];
                p[0] = clampByte(m + t[p[0] - m]);
                p[1] = clampByte(m + t[p[1] - m]);
                p[2] = clampByte(m + t[p[2] - m]);
            }
        }
    });
    return true;
}

namespace {

void addClamped(std::uint8_t* __restrict p, const std::uint8_t* __restrict n, int count, int half) {
    for (int i = 0; i < count; ++i) p[i] = clampByte(p[i] + n[i] - half);
}

// Adds to every byte of each row (mono: to the three bytes of each pixel alike) a number
// from its row's stream in -a div 2 .. a - 1 - a div 2, clamped. The numbers are drawn into a
// row buffer first, so the adding loop runs as straight vector code.
bool addNoise(Bitmap& bmp, int a, bool mono) {
    if (a == 0) return true;  // every random number would be 0: nothing changes
    const int half = a / 2;
    const int w = bmp.width();
    const auto rows = rowTable(bmp);
    const std::uint64_t key = random::streamKey();
    parallel::forRows(bmp.height(), [&](int y0, int y1) {
        // Three bytes of each pixel's numbers, then (mono) one number a pixel.
        std::vector<std::uint8_t> noise(static_cast<std::size_t>(4) * w + 4);
        for (int y = y0; y < y1; ++y) {
            random::Stream rnd(key, static_cast<std::uint64_t>(y));
            if (mono) {
                rnd.smallBelow(noise.data() + 3 * w, w, static_cast<std::uint32_t>(a));
                for (int x = 0; x < w; ++x) noise[3 * x] = noise[3 * x + 1] = noise[3 * x + 2] = noise[3 * w + x];
            } else {
                rnd.smallBelow(noise.data(), 3 * w, static_cast<std::uint32_t>(a));
            }
            addClamped(rows[y], noise.data(), 3 * w, half);
        }
    });
    return true;
}

}  // namespace

bool colorNoise(Bitmap& bmp, int a) {
    return ensure24(bmp) && addNoise(bmp, clampTo(SliderEffect::ColorNoise, a), false);
}

bool monoNoise(Bitmap& bmp, int a) {
    return ensure24(bmp) && addNoise(bmp, clampTo(SliderEffect::MonoNoise, a), true);
}

bool splitBlur(Bitmap& bmp, int a) {
    if (!ensure24(bmp)) return false;
    a = clampTo(SliderEffect::SplitBlur, a);
    if (a == 0 || bmp.isEmpty()) return true;
    splitBlurPass(bmp, a);
    return true;
}

bool gaussianBlur(Bitmap& bmp, int a) {
    if (!ensure24(bmp)) return false;
    a = clampTo(SliderEffect::GaussianBlur, a);
    if (bmp.isEmpty()) return true;
    for (int i = 0; i <= a; ++i) splitBlurPass(bmp, 3);
    return true;
}

bool smooth(Bitmap& bmp, int a) {
    if (!ensure24(bmp)) return false;
    a = clampTo(SliderEffect::Smooth, a);
    const int w = bmp.width();
    const int h = bmp.height();
    if (w <= 0 || h <= 0) return true;
    // (sum of four neighbours + a * v) is at most (a + 4) * 255: one table replaces the division.
    std::vector<std::uint8_t> quotient(static_cast<std::size_t>(a + 4) * 255 + 1);
    for (std::size_t s = 0; s < quotient.size(); ++s) quotient[s] = static_cast<std::uint8_t>(s / static_cast<std::size_t>(a + 4));
    // A missing neighbour is taken from the other side; on a single row or column there is
    // no other side, and the pixel's own row or column stands in.
    auto within = [](int i, int n, int self) { return i >= 0 && i < n ? i : self; };
    const auto q = [&](int sum) { return quotient[static_cast<std::size_t>(sum)]; };
    for (int y = 0; y < h; ++y) {
        const int ya = within(y == 0 ? 1 : y - 1, h, y);
        const int yb = within(y == h - 1 ? y - 1 : y + 1, h, y);
        const std::uint8_t* above = bmp.scanLine(ya);
        const std::uint8_t* below = bmp.scanLine(yb);
        std::uint8_t* m = bmp.scanLine(y);
        // Pixels are smoothed in place from left to right: the left neighbour is already
        // smoothed, the right one not yet. The first pixel takes its right neighbour twice,
        // the last its (smoothed) left one twice; a single pixel takes itself. The new left
        // values are carried along rather than read back.
        int left[3];
        for (int k = 0; k < 3; ++k) {
            const int side = w > 1 ? m[3 + k] : m[k];
            left[k] = m[k] = q(2 * side + above[k] + below[k] + a * m[k]);
        }
        for (int x = 1; x < w - 1; ++x) {
            const int c = 3 * x;
            for (int k = 0; k < 3; ++k) left[k] = m[c + k] = q(left[k] + m[c + 3 + k] + above[c + k] + below[c + k] + a * m[c + k]);
        }
        if (w > 1) {
            const int c = 3 * (w - 1);
            for (int k = 0; k < 3; ++k) m[c + k] = q(2 * left[k] + above[c + k] + below[c + k] + a * m[c + k]);
        }
    }
    return true;
}

bool applySlider(SliderEffect e, Bitmap& bmp, int a) {
    switch (e) {
    case SliderEffect::Contrast: return contrast(bmp, a);
    case SliderEffect::Saturation: return saturation(bmp, a);
    case SliderEffect::Brightness: return brightness(bmp, a);
    case SliderEffect::GaussianBlur: return gaussianBlur(bmp, a);
    case SliderEffect::ColorNoise: return colorNoise(bmp, a);
    case SliderEffect::MonoNoise: return monoNoise(bmp, a);
    case SliderEffect::SplitBlur: return splitBlur(bmp, a);
    case SliderEffect::Smooth: return smooth(bmp, a);
    }
    return false;
}

Bitmap sliderPreview(const Bitmap& image, SliderEffect e, int a) {
    Bitmap buffer(image);
    if (!applySlider(e, buffer, a)) return Bitmap();
    return buffer;
}

}  // namespace pixoral::effects
