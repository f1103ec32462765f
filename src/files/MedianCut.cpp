#include "files/MedianCut.h"

#include <algorithm>
#include <array>
#include <unordered_map>

namespace pixoral {

namespace {

constexpr int kBins = 1 << 15;  // 5 bits per channel

struct Bin {
    std::uint64_t count = 0;
    std::uint64_t r = 0, g = 0, b = 0;
};

inline int binKey(QRgb c) { return ((qRed(c) >> 3) << 10) | ((qGreen(c) >> 3) << 5) | (qBlue(c) >> 3); }
inline int keyChannel(int key, int ch) { return (key >> (10 - 5 * ch)) & 31; }

struct Box {
    int begin = 0, end = 0;  // range of the sorted key list
    std::uint64_t count = 0;
    int longest = 0;         // channel with the widest spread
    int spread = 0;
};

void measure(Box& box, const std::vector<int>& keys, const std::vector<Bin>& bins) {
    int lo[3] = {31, 31, 31}, hi[3] = {0, 0, 0};
    box.count = 0;
    for (int i = box.begin; i < box.end; ++i) {
        box.count += bins[keys[i]].count;
        for (int ch = 0; ch < 3; ++ch) {
            int v = keyChannel(keys[i], ch);
            lo[ch] = std::min(lo[ch], v);
            hi[ch] = std::max(hi[ch], v);
        }
    }
    box.longest = 0;
    box.spread = hi[0] - lo[0];
    for (int ch = 1; ch < 3; ++ch)
        if (hi[ch] - lo[ch] > box.spread) {
            box.spread = hi[ch] - lo[ch];
            box.longest = ch;
        }
}

bool reduceExact(const QImage& img, int maxColors, IndexedImage& out) {
    std::unordered_map<QRgb, std::uint8_t> map;
    map.reserve(std::size_t(maxColors) * 2);
    QRgb last = 0;
    std::uint8_t lastIndex = 0;
    bool haveLast = false;
    for (int y = 0; y < out.height; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        std::uint8_t* dst = out.indices.data() + std::size_t(y) * out.width;
        for (int x = 0; x < out.width; ++x) {
            QRgb c = row[x] | 0xFF000000u;
            if (!haveLast || c != last) {
                auto it = map.find(c);
                if (it == map.end()) {
                    if (int(map.size()) >= maxColors) return false;
                    lastIndex = std::uint8_t(map.size());
                    map.emplace(c, lastIndex);
                    out.palette.push_back(c);
                } else {
                    lastIndex = it->second;
                }
                last = c;
                haveLast = true;
            }
            dst[x] = lastIndex;
        }
    }
    return true;
}

void reduceMedianCut(const QImage& img, int maxColors, IndexedImage& out) {
    std::vector<Bin> bins(kBins);
    for (int y = 0; y < out.height; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < out.width; ++x) {
            Bin& b = bins[binKey(row[x])];
            ++b.count;
            b.r += qRed(row[x]);
            b.g += qGreen(row[x]);
            b.b += qBlue(row[x]);
        }
    }
    std::vector<int> keys;
    for (int k = 0; k < kBins; ++k)
        if (bins[k].count) keys.push_back(k);

    std::vector<Box> boxes(1);
    boxes[0].end = int(keys.size());
    measure(boxes[0], keys, bins);
    while (int(boxes.size()) < maxColors) {
        // Split the box whose population times spread is largest; ties go to the first.
        int pick = -1;
        std::uint64_t best = 0;
        for (int i = 0; i < int(boxes.size()); ++i) {
            if (boxes[i].end - boxes[i].begin < 2) continue;
            std::uint64_t score = boxes[i].count * std::uint64_t(boxes[i].spread + 1);
            if (pick < 0 || score > best) {
                pick = i;
                best = score;
            }
        }
        if (pick < 0) break;
        Box& box = boxes[pick];
        const int ch = box.longest;
        std::sort(keys.begin() + box.begin, keys.begin() + box.end, [ch](int a, int b) {
            int va = keyChannel(a, ch), vb = keyChannel(b, ch);
            return va != vb ? va < vb : a < b;
        });
        std::uint64_t half = box.count / 2, run = 0;
        int split = box.begin + 1;
        for (int i = box.begin; i < box.end - 1; ++i) {
            run += bins[keys[i]].count;
            split = i + 1;
            if (run >= half) break;
        }
        Box upper;
        upper.begin = split;
        upper.end = box.end;
        box.end = split;
        measure(box, keys, bins);
        measure(upper, keys, bins);
        boxes.push_back(upper);
    }

    for (const Box& box : boxes) {
        std::uint64_t n = 0, r = 0, g = 0, b = 0;
        for (int i = box.begin; i < box.end; ++i) {
            const Bin& bin = bins[keys[i]];
            n += bin.count;
            r += bin.r;
            g += bin.g;
            b += bin.b;
        }
        if (n == 0) n = 1;
        out.palette.push_back(qRgb(int((r + n / 2) / n), int((g + n / 2) / n), int((b + n / 2) / n)));
    }

    // Each occupied bin maps to the palette colour nearest to its mean.
    std::vector<std::uint8_t> lut(kBins, 0);
    for (int k : keys) {
        const Bin& bin = bins[k];
        int r = int(bin.r / bin.count), g = int(bin.g / bin.count), b = int(bin.b / bin.count);
        int bestIndex = 0, bestDist = 1 << 30;
        for (int i = 0; i < int(out.palette.size()); ++i) {
            int dr = qRed(out.palette[i]) - r, dg = qGreen(out.palette[i]) - g, db = qBlue(out.palette[i]) - b;
            int d = dr * dr + dg * dg + db * db;
            if (d < bestDist) {
                bestDist = d;
                bestIndex = i;
            }
        }
        lut[k] = std::uint8_t(bestIndex);
    }
    for (int y = 0; y < out.height; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        std::uint8_t* dst = out.indices.data() + std::size_t(y) * out.width;
        for (int x = 0; x < out.width; ++x) dst[x] = lut[binKey(row[x])];
    }
}

}  // namespace

IndexedImage reduceColors(const QImage& image, int maxColors) {
    maxColors = std::clamp(maxColors, 1, 256);
    IndexedImage out;
    if (image.isNull()) return out;
    const QImage img = image.convertToFormat(QImage::Format_RGB32);
    out.width = img.width();
    out.height = img.height();
    out.indices.assign(std::size_t(out.width) * out.height, 0);
    if (reduceExact(img, maxColors, out)) return out;
    out.palette.clear();
    reduceMedianCut(img, maxColors, out);
    return out;
}

}  // namespace pixoral
