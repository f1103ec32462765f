#include "effects/Shifts.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <vector>

#include "core/Parallel.h"

namespace pixoral::effects {

namespace {

// Copies one 24-bit pixel between rows taken once (see rowTable).
void copyPixel(const RowTable<std::uint8_t>& rows, int fromX, int fromY, int toX, int toY) {
    std::memcpy(rows[toY] + 3 * toX, rows[fromY] + 3 * fromX, 3);
}

bool is24(const Bitmap& b) { return b.pixelFormat() == PixelFormat::pf24bit && !b.isEmpty(); }

}  // namespace

void moveBytes(Bitmap& bmp, Direction d) {
    const int H = bmp.height();
    if (bmp.isEmpty()) return;
    if (d == Direction::Left || d == Direction::Right) {
        const auto rows = rowTable(bmp);
        const std::size_t n = static_cast<std::size_t>(bmp.rowDataBytes());
        parallel::forRows(H, [&](int y0, int y1) {
            for (int y = y0; y < y1; ++y) {
                const std::span<std::uint8_t> s(rows[y], n);
                if (d == Direction::Left) std::rotate(s.begin(), s.begin() + 1, s.end());
                else std::rotate(s.rbegin(), s.rbegin() + 1, s.rend());
            }
        });
        return;
    }
    if (H < 2) return;
    // Whole rows, padding included: the rows are one block of memory, rotated by one row.
    const std::size_t row = static_cast<std::size_t>(bmp.bytesPerLine());
    std::uint8_t* first = bmp.scanLine(0);
    std::uint8_t* end = first + row * static_cast<std::size_t>(H);
    if (bmp.scanLine(1) != first + row) {  // not one block (never for our bitmaps): row by row
        std::vector<std::vector<std::uint8_t>> rows;
        for (int y = 0; y < H; ++y) rows.emplace_back(bmp.scanLine(y), bmp.scanLine(y) + row);
        for (int y = 0; y < H; ++y) {
            const int from = d == Direction::Up ? (y + 1) % H : (y + H - 1) % H;
            std::memcpy(bmp.scanLine(y), rows[from].data(), row);
        }
        return;
    }
    if (d == Direction::Up) std::rotate(first, first + row, end);
    else std::rotate(first, end - row, end);
}

void flip(Bitmap& bmp, Direction d) {
    if (!is24(bmp)) return;
    const int W = bmp.width(), H = bmp.height();
    // Rows (or pairs of rows) are independent, so they are shared out over the cores.
    const auto rows = rowTable(bmp);
    if (d == Direction::Left || d == Direction::Right) {
        parallel::forRows(H, [&](int y0, int y1) {
            for (int y = y0; y < y1; ++y) {
                std::uint8_t* r = rows[y];
                for (int a = 0, b = W - 1; a < b; ++a, --b)
                    for (int k = 0; k < 3; ++k) std::swap(r[3 * a + k], r[3 * b + k]);
            }
        });
        return;
    }
    const std::size_t n = static_cast<std::size_t>(bmp.rowDataBytes());
    parallel::forRows(H / 2, [&](int a0, int a1) {
        for (int a = a0; a < a1; ++a) {
            std::swap_ranges(rows[a], rows[a] + n, rows[H - 1 - a]);
        }
    });
}

// Every mirror writes a row only from itself or from one row no other row writes into, so
// the rows are shared out over the cores.
void mirrorHalf(Bitmap& bmp, Direction d) {
    if (!is24(bmp)) return;
    const int W = bmp.width(), H = bmp.height();
    const std::size_t n = static_cast<std::size_t>(bmp.rowDataBytes());
    const auto rows = rowTable(bmp);
    switch (d) {
        case Direction::Down:
        case Direction::Up:
            parallel::forRows((H - 1) / 2 + 1, [&](int y0, int y1) {
                for (int y = y0; y < y1; ++y) {
                    const int from = d == Direction::Down ? y : H - 1 - y;
                    const int to = d == Direction::Down ? H - 1 - y : y;
                    if (from != to) std::memcpy(rows[to], rows[from], n);
                }
            });
            break;
        case Direction::Left:
        case Direction::Right:
            parallel::forRows(H, [&](int y0, int y1) {
                for (int y = y0; y < y1; ++y)
                    for (int x = 0; x <= (W - 1) / 2; ++x) {
                        if (d == Direction::Right) copyPixel(rows, x, y, W - 1 - x, y);
                        else copyPixel(rows, W - 1 - x, y, x, y);
                    }
            });
            break;
    }
}

void mirrorQuad(Bitmap& bmp) {
    if (!is24(bmp)) return;
    const int W = bmp.width(), H = bmp.height();
    const auto rows = rowTable(bmp);
    parallel::forRows((H - 1) / 2 + 1, [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y)
            for (int x = 0; x <= (W - 1) / 2; ++x) {
                copyPixel(rows, x, y, x, H - 1 - y);
                copyPixel(rows, x, y, W - 1 - x, y);
                copyPixel(rows, x, y, W - 1 - x, H - 1 - y);
            }
    });
}

QString wedgeRefusal(const Bitmap& bmp) {
    return bmp.width() == bmp.height() ? QString() : QStringLiteral("image must be square");
}

void mirrorWedge(Bitmap& bmp) {
    if (!is24(bmp) || !wedgeRefusal(bmp).isEmpty()) return;
    const int W = bmp.width(), H = bmp.height();
    const auto rows = rowTable(bmp);
    parallel::forRows(H, [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            const int last = y <= (H - 1) / 2 ? y : W - 1 - y;
            for (int x = 0; x <= last; ++x) copyPixel(rows, x, y, W - 1 - x, y);
        }
    });
}

void shadow(Bitmap& bmp, Corner c) {
    const int H = bmp.height();
    const int n = bmp.rowDataBytes();
    if (H < 5 || n < 5) return;
    const bool up = c == Corner::UpLeft || c == Corner::UpRight;
    const bool left = c == Corner::UpLeft || c == Corner::DownLeft;
    const int dy = up ? 4 : -4, di = left ? 4 : -4;
    // In order: a row reads its partner before the partner's own turn changes it.
    const auto rows = rowTable(bmp);
    for (int k = 0; k < H - 4; ++k) {
        const int y = up ? k : H - 1 - k;
        std::uint8_t* row = rows[y];
        const std::uint8_t* partner = rows[y + dy];
        for (int j = 0; j < n - 4; ++j) {
            const int i = left ? j : n - 1 - j;
            const std::uint8_t p = partner[i + di];
            if (p < row[i]) row[i] = static_cast<std::uint8_t>(p + 1);
        }
    }
}

}  // namespace pixoral::effects
