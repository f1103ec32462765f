#include "files/Metafile.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QRegion>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <array>
#include <cstring>
#include <utility>
#include <unordered_map>
#include <vector>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "canvas/Geometry.h"
#include "files/Dib.h"

namespace pixoral {

namespace {

// ---- little-endian reads that never leave the record --------------------------------------

class Record {
public:
    Record(const std::uint8_t* data, std::int64_t size) : d_(data), n_(size) {}
    std::int64_t size() const { return n_; }
    const std::uint8_t* data() const { return d_; }
    bool has(std::int64_t offset, std::int64_t bytes) const { return offset >= 0 && bytes >= 0 && offset + bytes <= n_; }
    std::uint32_t u32(std::int64_t at) const { return has(at, 4) ? std::uint32_t(d_[at] | (d_[at + 1] << 8) | (d_[at + 2] << 16)) | (std::uint32_t(d_[at + 3]) << 24) : 0; }
    std::int32_t i32(std::int64_t at) const { return std::int32_t(u32(at)); }
    std::uint16_t u16(std::int64_t at) const { return has(at, 2) ? std::uint16_t(d_[at] | (d_[at + 1] << 8)) : 0; }
    std::int16_t i16(std::int64_t at) const { return std::int16_t(u16(at)); }
    std::uint8_t u8(std::int64_t at) const { return has(at, 1) ? d_[at] : 0; }
    float f32(std::int64_t at) const {
        std::uint32_t v = u32(at);
        float f;
        std::memcpy(&f, &v, 4);
        return std::isfinite(f) ? f : 0.0f;
    }

private:
    const std::uint8_t* d_;
    std::int64_t n_;
};

// ---- graphics state -----------------------------------------------------------------------

enum MapMode { MM_TEXT = 1, MM_LOMETRIC, MM_HIMETRIC, MM_LOENGLISH, MM_HIENGLISH, MM_TWIPS, MM_ISOTROPIC, MM_ANISOTROPIC };
enum { PS_SOLID = 0, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME, PS_USERSTYLE, PS_ALTERNATE };
enum { BS_SOLID = 0, BS_NULL = 1, BS_HATCHED = 2, BS_PATTERN = 3, BS_DIBPATTERN = 5, BS_DIBPATTERNPT = 6 };
enum { TRANSPARENT = 1, OPAQUE = 2 };
enum { ALTERNATE = 1, WINDING = 2 };
enum { TA_UPDATECP = 1, TA_RIGHT = 2, TA_CENTER = 6, TA_BOTTOM = 8, TA_BASELINE = 24 };
enum { ETO_OPAQUE = 2, ETO_CLIPPED = 4, ETO_PDY = 0x2000 };

struct LogPen {
    int style = PS_SOLID;
    double width = 0;  // logical units; 0 is one pixel
    bool cosmetic = false;
    TColor color = clBlack;
};

struct LogBrush {
    int style = BS_SOLID;
    TColor color = clWhite;
    int hatch = 0;
    std::shared_ptr<const Bitmap> pattern;
    // A monochrome pattern takes its colours when it is drawn: a 0 bit the text colour, a 1
    // bit the background colour. Rows from the top, the leftmost pixel in the high bit.
    bool mono = false;
    std::uint8_t monoRows[8] = {};
};

struct LogFont {
    double height = 0;  // logical units, negative: character height
    int escapement = 0;
    int weight = 400;
    bool italic = false, underline = false, strikeOut = false;
    QString face;
};

struct GdiObject {
    enum Kind { Empty, Pen, Brush, Font, Region, Other } kind = Empty;
    LogPen pen;
    LogBrush brush;
    LogFont font;
    QRegion region;  // in the file's units: logical when painted, device when it clips
};

// A rectangle of a region as the file gives it, right and bottom outside.
QRect rawRect(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b) {
    const auto c = [](std::int64_t v) { return int(std::clamp<std::int64_t>(v, -kCoordLimit, kCoordLimit)); };
    return QRect(QPoint(c(std::min(l, r)), c(std::min(t, b))), QPoint(c(std::max(l, r)) - 1, c(std::max(t, b)) - 1));
}

// Row-vector affine transform, as world transforms are written: [x y 1] * M.
struct Xform {
    double m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
    Xform then(const Xform& b) const {
        return Xform{m11 * b.m11 + m12 * b.m21, m11 * b.m12 + m12 * b.m22, m21 * b.m11 + m22 * b.m21,
                     m21 * b.m12 + m22 * b.m22, dx * b.m11 + dy * b.m21 + b.dx, dx * b.m12 + dy * b.m22 + b.dy};
    }
};

struct DcState {
    int mapMode = MM_TEXT;
    double wox = 0, woy = 0, wex = 1, wey = 1;
    double vox = 0, voy = 0, vex = 1, vey = 1;
    Xform world;
    LogPen pen;
    LogBrush brush;
    LogFont font;
    TColor textColor = clBlack;
    TColor bkColor = clWhite;
    int bkMode = OPAQUE;
    int rop2 = 13;  // R2_COPYPEN
    unsigned textAlign = 0;
    int polyFillMode = ALTERNATE;
    bool clockwise = false;
    double curX = 0, curY = 0;  // logical
    // The clip region in output pixels; without one everything may be drawn.
    bool clipped = false;
    QRegion clip;
};

constexpr int kMaxPenWidth = 100;
constexpr int kMaxFontPixels = 2000;
constexpr std::size_t kMaxSavedStates = 4096;
constexpr std::size_t kMaxObjects = 65536;

TColor colorRef(std::uint32_t v) { return TColor(v & 0x00FFFFFF); }

// A mapped coordinate or length as a canvas int: rounded, kept within the canvas's range
// (NaN, from a degenerate mapping, counts as 0).
int toCanvas(double v) {
    if (std::isnan(v)) return 0;
    return int(std::lround(std::clamp(v, double(-kCoordLimit), double(kCoordLimit))));
}

PenMode rop2ToPenMode(int r2) {
    static const PenMode kModes[16] = {
        PenMode::pmBlack,      PenMode::pmNotMerge, PenMode::pmMaskNotPen,  PenMode::pmNotCopy,
        PenMode::pmMaskPenNot, PenMode::pmNot,      PenMode::pmXor,         PenMode::pmNotMask,
        PenMode::pmMask,       PenMode::pmNotXor,   PenMode::pmNop,         PenMode::pmMergeNotPen,
        PenMode::pmCopy,       PenMode::pmMergePenNot, PenMode::pmMerge,    PenMode::pmWhite};
    return r2 >= 1 && r2 <= 16 ? kModes[r2 - 1] : PenMode::pmCopy;
}

QString latin1Text(const std::uint8_t* p, std::int64_t n) {
    return QString::fromLatin1(reinterpret_cast<const char*>(p), qsizetype(n));
}

std::shared_ptr<const Bitmap> patternFromDib(const DecodedDib& dib) {
    // The canvas's pattern brushes are 8 by 8; a smaller DIB repeats, a larger one is cut.
    auto pattern = std::make_shared<Bitmap>(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const QRgb c = dib.image.pixel(x % dib.image.width(), y % dib.image.height());
            pattern->setPixel(x, y, rgb(qRed(c), qGreen(c), qBlue(c)));
        }
    return pattern;
}

// ---- the player: state, coordinate mapping and the drawing calls shared by WMF and EMF ----

class Player {
public:
    Player(Canvas& canvas, double pxPerMmX, double pxPerMmY) : cv_(canvas), pxmmX_(pxPerMmX), pxmmY_(pxPerMmY) {}

    DcState s;
    // Device to output: scale then offset.
    double osx = 1, osy = 1, odx = 0, ody = 0;

    // ---- mapping ----
    void windowScale(double& sx, double& sy) const {
        switch (s.mapMode) {
        case MM_LOMETRIC: sx = pxmmX_ * 0.1; sy = -pxmmY_ * 0.1; return;
        case MM_HIMETRIC: sx = pxmmX_ * 0.01; sy = -pxmmY_ * 0.01; return;
        case MM_LOENGLISH: sx = pxmmX_ * 0.254; sy = -pxmmY_ * 0.254; return;
        case MM_HIENGLISH: sx = pxmmX_ * 0.0254; sy = -pxmmY_ * 0.0254; return;
        case MM_TWIPS: sx = pxmmX_ * 25.4 / 1440; sy = -pxmmY_ * 25.4 / 1440; return;
        case MM_ISOTROPIC: {
            sx = s.vex / s.wex;
            sy = s.vey / s.wey;
            const double m = std::min(std::fabs(sx), std::fabs(sy));
            sx = std::copysign(m, sx);
            sy = std::copysign(m, sy);
            return;
        }
        case MM_ANISOTROPIC: sx = s.vex / s.wex; sy = s.vey / s.wey; return;
        default: sx = sy = 1; return;
        }
    }
    void toOutput(double x, double y, double& ox, double& oy) const {
        const double wx = x * s.world.m11 + y * s.world.m21 + s.world.dx;
        const double wy = x * s.world.m12 + y * s.world.m22 + s.world.dy;
        double sx, sy;
        windowScale(sx, sy);
        ox = ((wx - s.wox) * sx + s.vox) * osx + odx;
        oy = ((wy - s.woy) * sy + s.voy) * osy + ody;
    }
    Point dev(double x, double y) const {
        double ox, oy;
        toOutput(x, y, ox, oy);
        if (!std::isfinite(ox) || !std::isfinite(oy)) return Point{};
        return Point{toCanvas(ox), toCanvas(oy)};
    }
    // Logical to output scale along each axis (for pen widths and font heights).
    double scaleX() const {
        double sx, sy;
        windowScale(sx, sy);
        return std::hypot(s.world.m11, s.world.m12) * std::fabs(sx * osx);
    }
    double scaleY() const {
        double sx, sy;
        windowScale(sx, sy);
        return std::hypot(s.world.m21, s.world.m22) * std::fabs(sy * osy);
    }
    void setWindowExt(double x, double y) {
        if (x == 0 || y == 0) return;
        s.wex = x;
        s.wey = y;
    }
    void setViewportExt(double x, double y) {
        if (x == 0 || y == 0) return;
        s.vex = x;
        s.vey = y;
    }
    void setMapMode(int m) {
        if (m >= MM_TEXT && m <= MM_ANISOTROPIC) s.mapMode = m;
    }

    // ---- state stack ----
    void saveDC() {
        if (saved_.size() < kMaxSavedStates) saved_.push_back(s);
    }
    void restoreDC(int n) {
        // Negative: relative to the top; positive: the n-th saved state.
        const std::int64_t target = n < 0 ? std::int64_t(saved_.size()) + n : std::int64_t(n) - 1;
        if (n == 0 || target < 0 || target >= std::int64_t(saved_.size())) return;
        s = saved_[std::size_t(target)];
        saved_.resize(std::size_t(target));
    }

    // ---- clipping ----
    // The clip is kept by ClipGuard, below.
    QRegion currentClip() const {
        return s.clipped ? s.clip : QRegion(0, 0, cv_.bitmap().width(), cv_.bitmap().height());
    }
    QRect logicalBox(double l, double t, double r, double b) const {
        const Rect k = box(l, t, r, b);
        return QRect(k.left, k.top, std::max(0, k.right - k.left), std::max(0, k.bottom - k.top));
    }
    void intersectClip(double l, double t, double r, double b) {
        s.clip = currentClip().intersected(logicalBox(l, t, r, b));
        s.clipped = true;
    }
    void excludeClip(double l, double t, double r, double b) {
        s.clip = currentClip().subtracted(logicalBox(l, t, r, b));
        s.clipped = true;
    }
    void offsetClip(double dx, double dy) {
        if (!s.clipped) return;
        double sx, sy;
        windowScale(sx, sy);
        s.clip.translate(toCanvas(dx * sx * osx), toCanvas(dy * sy * osy));
    }
    // Combines a region in output pixels with the clip: RGN_AND, OR, XOR, DIFF, COPY.
    void selectClip(const QRegion& r, int mode, bool reset) {
        if (reset) {  // no region: the whole picture again
            if (mode == 5) s.clipped = false, s.clip = QRegion();
            return;
        }
        const QRegion cur = currentClip();
        switch (mode) {
        case 1: s.clip = cur.intersected(r); break;
        case 2: s.clip = cur.united(r); break;
        case 3: s.clip = cur.xored(r); break;
        case 4: s.clip = cur.subtracted(r); break;
        case 5: s.clip = r; break;
        default: return;
        }
        s.clipped = true;
    }
    // Output pixels of a rectangle given in reference-device pixels (EMF regions).
    QRect deviceRect(double l, double t, double r, double b) const {
        const int x0 = toCanvas(l * osx + odx), y0 = toCanvas(t * osy + ody);
        const int x1 = toCanvas(r * osx + odx), y1 = toCanvas(b * osy + ody);
        return QRect(std::min(x0, x1), std::min(y0, y1), std::abs(x1 - x0), std::abs(y1 - y0));
    }
    // A region in the file's units taken to output pixels, as device or as logical units.
    QRegion deviceRegion(const QRegion& raw) const {
        QRegion out;
        for (const QRect& q : raw) out += deviceRect(q.left(), q.top(), double(q.right()) + 1, double(q.bottom()) + 1);
        return out;
    }
    QRegion logicalRegion(const QRegion& raw) const {
        QRegion out;
        for (const QRect& q : raw) out += logicalBox(q.left(), q.top(), double(q.right()) + 1, double(q.bottom()) + 1);
        return out;
    }
    // The band of a region within w by h logical units of its edge.
    QRegion frameOf(const QRegion& region, double w, double h) const {
        const int dx = std::max(1, toCanvas(std::fabs(w) * scaleX())), dy = std::max(1, toCanvas(std::fabs(h) * scaleY()));
        const QRegion inner = region.intersected(region.translated(dx, 0)).intersected(region.translated(-dx, 0))
                                  .intersected(region.translated(0, dy)).intersected(region.translated(0, -dy));
        return region.subtracted(inner);
    }
    // Fills a region of output pixels with a brush through the pen mix, as a figure without
    // an outline (a penless rectangle leaves out its last column and row, hence the 2).
    void paintRegion(const QRegion& region, const LogBrush& brush) {
        const LogBrush savedBrush = s.brush;
        const LogPen savedPen = s.pen;
        s.brush = brush;
        s.pen.style = PS_NULL;
        const QRect b = region.boundingRect();
        ClipGuard guard(*this, Rect{b.left(), b.top(), b.right() + 1, b.bottom() + 1});
        figure([&] {
            for (const QRect& q : region) cv_.rectangle(q.left(), q.top(), q.right() + 2, q.bottom() + 2);
        });
        s.brush = savedBrush;
        s.pen = savedPen;
    }
    void invertRegion(const QRegion& region) {
        const int savedMix = s.rop2;
        s.rop2 = 6;  // R2_NOT
        LogBrush any;
        paintRegion(region, any);
        s.rop2 = savedMix;
    }

    // While a clip is set, a drawing call keeps the pixels of the box it may touch, draws
    // in full, and puts back those outside the clip (the canvas itself draws everywhere).
    // The box is the figure's bounds widened by the pen, so the cost follows the figure.
    class ClipGuard {
    public:
        ClipGuard(Player& p, Rect box) : p_(p) {
            if (!p_.s.clipped || p_.guarding_) return;
            p_.guarding_ = active_ = true;
            const Bitmap& bmp = p_.cv_.bitmap();
            box_ = Rect{std::max(box.left, 0), std::max(box.top, 0), std::min(box.right, bmp.width()),
                        std::min(box.bottom, bmp.height())};
            if (box_.right <= box_.left || box_.bottom <= box_.top) return;
            const int bpp = bitsPerPixel(bmp.pixelFormat());
            bytes_ = bpp >= 8 ? bpp / 8 : 0;  // 0: packed pixels, kept one by one
            const std::size_t w = std::size_t(box_.right - box_.left), h = std::size_t(box_.bottom - box_.top);
            if (bytes_) {
                // The player's one scratch buffer, grown as needed and kept: guards do not nest.
                std::vector<std::uint8_t>& saved = p_.clipScratch_;
                if (saved.size() < w * h * std::size_t(bytes_)) saved.resize(w * h * std::size_t(bytes_));
                for (int y = box_.top; y < box_.bottom; ++y)
                    std::memcpy(saved.data() + std::size_t(y - box_.top) * w * bytes_,
                                bmp.scanLine(y) + std::size_t(box_.left) * bytes_, w * bytes_);
            } else {
                for (int y = box_.top; y < box_.bottom; ++y)
                    for (int x = box_.left; x < box_.right; ++x) savedPixels_.push_back(bmp.pixel(x, y));
            }
        }
        ~ClipGuard() {
            if (!active_) return;
            p_.guarding_ = false;
            if (box_.right <= box_.left || box_.bottom <= box_.top) return;
            const std::vector<std::uint8_t>& saved = p_.clipScratch_;
            Bitmap& bmp = p_.cv_.bitmap();
            const std::size_t w = std::size_t(box_.right - box_.left);
            // The clip's rectangles come in bands of equal top and bottom, top to bottom and
            // left to right within a band: one pass over them serves every row of the box.
            auto band = p_.s.clip.begin();
            const auto end = p_.s.clip.end();
            for (int y = box_.top; y < box_.bottom; ++y) {
                while (band != end && band->bottom() < y) ++band;
                const std::size_t row = std::size_t(y - box_.top) * w;
                std::uint8_t* line = nullptr;
                int x = box_.left;
                auto restore = [&](int to) {
                    to = std::min(to, box_.right);
                    if (x >= to) return;
                    if (bytes_) {
                        if (!line) line = bmp.scanLine(y);
                        std::memcpy(line + std::size_t(x) * bytes_, saved.data() + (row + std::size_t(x - box_.left)) * bytes_,
                                    std::size_t(to - x) * bytes_);
                    } else {
                        for (int i = x; i < to; ++i) bmp.setPixel(i, y, savedPixels_[row + std::size_t(i - box_.left)]);
                    }
                    x = to;
                };
                for (auto r = band; r != end && r->top() <= y; ++r) {
                    if (r->bottom() < y) continue;
                    restore(r->left());
                    x = std::max(x, std::min(r->right() + 1, box_.right));
                }
                restore(box_.right);
            }
        }
        ClipGuard(const ClipGuard&) = delete;
        ClipGuard& operator=(const ClipGuard&) = delete;

    private:
        Player& p_;
        bool active_ = false;
        Rect box_{};
        int bytes_ = 0;
        std::vector<TColor> savedPixels_;
    };
    // The pen's width in output pixels, as the canvas will draw it, plus a pixel each side.
    int penMargin() const {
        int w = 1;
        if (!s.pen.cosmetic && s.pen.width > 0) {
            const double dw = s.pen.width * (scaleX() + scaleY()) / 2;
            w = std::isfinite(dw) ? int(std::clamp(std::lround(dw), 1L, long(kMaxPenWidth))) : 1;
        }
        return w + 2;
    }
    static Rect grown(Rect r, int m) {
        return Rect{clampCoord(std::int64_t(r.left) - m), clampCoord(std::int64_t(r.top) - m),
                    clampCoord(std::int64_t(r.right) + m), clampCoord(std::int64_t(r.bottom) + m)};
    }
    Rect around(const std::vector<Point>& pts) const {
        Rect r{kCoordLimit, kCoordLimit, -kCoordLimit, -kCoordLimit};
        for (const Point& p : pts)
            r = Rect{std::min(r.left, p.x), std::min(r.top, p.y), std::max(r.right, p.x + 1), std::max(r.bottom, p.y + 1)};
        return grown(r, penMargin());
    }

    // ---- canvas set-up ----
    void applyPen() {
        Pen& p = cv_.pen();
        p.color = s.pen.color;
        p.mode = rop2ToPenMode(s.rop2);
        switch (s.pen.style & 0xF) {
        case PS_DASH: p.style = PenStyle::psDash; break;
        case PS_DOT: case PS_ALTERNATE: p.style = PenStyle::psDot; break;
        case PS_DASHDOT: p.style = PenStyle::psDashDot; break;
        case PS_DASHDOTDOT: p.style = PenStyle::psDashDotDot; break;
        case PS_NULL: p.style = PenStyle::psClear; break;
        case PS_INSIDEFRAME: p.style = PenStyle::psInsideFrame; break;
        default: p.style = PenStyle::psSolid; break;
        }
        int w = 1;
        if (!s.pen.cosmetic && s.pen.width > 0) {
            const double dw = s.pen.width * (scaleX() + scaleY()) / 2;
            w = std::isfinite(dw) ? int(std::clamp(std::lround(dw), 1L, long(kMaxPenWidth))) : 1;
        }
        p.width = w;
    }
    void applyBrush() {
        Brush& b = cv_.brush();
        b.setBitmap(nullptr);
        switch (s.brush.style) {
        case BS_NULL: b.setStyle(BrushStyle::bsClear); break;
        case BS_HATCHED:
            b.setColor(s.brush.color);
            b.setStyle(BrushStyle(int(BrushStyle::bsHorizontal) + std::clamp(s.brush.hatch, 0, 5)));
            break;
        case BS_PATTERN: case BS_DIBPATTERN: case BS_DIBPATTERNPT:
            b.setColor(s.brush.color);
            b.setStyle(BrushStyle::bsSolid);
            if (s.brush.mono) {
                auto pattern = std::make_shared<Bitmap>(8, 8);
                for (int y = 0; y < 8; ++y)
                    for (int x = 0; x < 8; ++x)
                        pattern->setPixel(x, y, (s.brush.monoRows[y] >> (7 - x)) & 1 ? s.bkColor : s.textColor);
                b.setBitmap(pattern);
            } else if (s.brush.pattern) {
                b.setBitmap(s.brush.pattern);
            }
            break;
        default:
            b.setColor(s.brush.color);
            b.setStyle(BrushStyle::bsSolid);
            break;
        }
    }
    void solidBrush(TColor c) {
        Brush& b = cv_.brush();
        b.setBitmap(nullptr);
        b.setColor(c);
        b.setStyle(BrushStyle::bsSolid);
    }
    // The gaps of styled lines show the background colour in opaque mode.
    void applyLineBackground() {
        if (s.bkMode == OPAQUE)
            solidBrush(s.bkColor);
        else
            cv_.brush().setStyle(BrushStyle::bsClear), cv_.brush().setBitmap(nullptr);
    }
    // A filled figure; in opaque mode a hatch is laid over the background colour first.
    template <class Draw>
    void figure(Draw draw) {
        applyPen();
        if (s.brush.style == BS_HATCHED && s.bkMode == OPAQUE) {
            const Pen pen = cv_.pen();
            cv_.pen().style = PenStyle::psClear;
            solidBrush(s.bkColor);
            draw();
            cv_.pen() = pen;
        }
        applyBrush();
        const Pen pen = cv_.pen();
        const bool styled = pen.style == PenStyle::psDash || pen.style == PenStyle::psDot ||
                            pen.style == PenStyle::psDashDot || pen.style == PenStyle::psDashDotDot;
        if (styled && pen.width == 1 && s.bkMode == OPAQUE && (s.rop2 == 13 || s.rop2 == 4)) {
            // The system paints a styled outline's gaps in the background colour, where the
            // canvas gives them the brush's: the outline goes down solid in the background
            // colour with the fill, then its dashes over it.
            cv_.pen().style = PenStyle::psSolid;
            cv_.pen().color = s.bkColor;
            draw();
            cv_.pen() = pen;
            cv_.brush().setBitmap(nullptr);
            cv_.brush().setStyle(BrushStyle::bsClear);
        }
        draw();
    }
    template <class Draw>
    void line(Draw draw) {
        applyPen();
        applyLineBackground();
        draw();
    }

    // ---- drawing (logical coordinates) ----
    void moveTo(double x, double y) {
        if (inPath) pathMoved();
        s.curX = x;
        s.curY = y;
    }
    void lineTo(double x, double y) {
        const Point a = dev(s.curX, s.curY), b = dev(x, y);
        if (inPath) {
            pathAdd(a, {b});
            s.curX = x, s.curY = y;
            return;
        }
        {
            ClipGuard guard(*this, around({a, b}));
            line([&] {
                cv_.moveTo(a.x, a.y);
                cv_.lineTo(b.x, b.y);
            });
        }
        moveTo(x, y);
    }
    std::vector<Point> devPoints(const std::vector<QPointF>& pts) const {
        std::vector<Point> out;
        out.reserve(pts.size());
        for (const QPointF& p : pts) out.push_back(dev(p.x(), p.y()));
        return out;
    }
    void polyline(const std::vector<QPointF>& pts) {
        if (pts.size() < 2) return;
        const auto d = devPoints(pts);
        if (inPath) {
            pathMoved();
            pathAdd(d.front(), std::vector<Point>(d.begin() + 1, d.end()));
            return;
        }
        ClipGuard guard(*this, around(d));
        line([&] { cv_.polyline(d); });
    }
    void polylineTo(const std::vector<QPointF>& pts) {
        if (pts.empty()) return;
        std::vector<QPointF> all{QPointF(s.curX, s.curY)};
        all.insert(all.end(), pts.begin(), pts.end());
        if (inPath) {
            const auto d = devPoints(all);
            pathAdd(d.front(), std::vector<Point>(d.begin() + 1, d.end()));
        } else {
            polyline(all);
        }
        s.curX = pts.back().x(), s.curY = pts.back().y();
    }
    void polygon(const std::vector<QPointF>& pts) {
        if (pts.size() < 2) return;
        polyPolygon({pts});
    }
    // The system fills a polygon first and draws its outline over the fill, so a pen mix
    // that is not idempotent meets the outline's pixels twice: the fill goes through the
    // canvas with no pen, then the outline with no brush. Several rings make one region.
    void polyPolygon(const std::vector<std::vector<QPointF>>& polys) {
        std::vector<std::vector<Point>> rings;
        for (const auto& p : polys)
            if (p.size() >= 2) rings.push_back(devPoints(p));
        if (inPath) {
            for (const auto& r : rings) path_.push_back(PathFigure{r, true});
            return;
        }
        drawRings(rings, true, true);
    }
    // Rings in output pixels: filled as one region, then outlined (closed or open).
    void drawRings(const std::vector<std::vector<Point>>& rings, bool fill, bool stroke,
                   const std::vector<bool>* closed = nullptr) {
        if (rings.empty()) return;
        std::vector<Point> all;
        for (const auto& r : rings) all.insert(all.end(), r.begin(), r.end());
        ClipGuard guard(*this, around(all));
        // One even-odd region: the rings joined through their first points (each bridge is
        // crossed twice, so it adds nothing to the fill).
        std::vector<Point> joined;
        for (const auto& r : rings) {
            joined.insert(joined.end(), r.begin(), r.end());
            if (rings.size() > 1) joined.push_back(r.front());
        }
        if (rings.size() > 1)
            for (auto it = rings.rbegin() + 1; it != rings.rend(); ++it) joined.push_back(it->front());
        if (fill)
            figure([&] {
                const Pen pen = cv_.pen();
                cv_.pen().style = PenStyle::psClear;
                cv_.polygon(joined);
                if (s.polyFillMode == WINDING) fillWindingHoles(rings);
                cv_.pen() = pen;
            });
        if (!stroke) return;
        applyPen();
        if (cv_.pen().style == PenStyle::psClear) return;
        applyLineBackground();
        for (std::size_t i = 0; i < rings.size(); ++i) {
            auto r = rings[i];
            if (!closed || (*closed)[i]) r.push_back(r.front());
            if (r.size() >= 2) cv_.polyline(r);
        }
    }

    // ---- paths ----
    // Between BeginPath and EndPath the lines, curves and figures are collected as figures of
    // output pixels instead of drawn; FillPath, StrokePath and StrokeAndFillPath draw them
    // (every figure counts as closed for the fill), SelectClipPath makes them the clip.
    struct PathFigure {
        std::vector<Point> pts;
        bool closed = false;
    };
    bool inPath = false;
    void abortPath() {
        path_.clear();
        inPath = false;
    }
    void beginPath() {
        path_.clear();
        inPath = true;
    }
    void closeFigure() {
        if (!path_.empty() && !path_.back().closed) path_.back().closed = true;
    }
    // Adds points to the open figure, starting one at `from` when there is none.
    void pathAdd(Point from, const std::vector<Point>& pts) {
        if (path_.empty() || path_.back().closed || path_.back().pts.empty()) path_.push_back(PathFigure{{from}, false});
        else if (path_.back().pts.back() != from) path_.push_back(PathFigure{{from}, false});
        auto& f = path_.back().pts;
        f.insert(f.end(), pts.begin(), pts.end());
    }
    void pathMoved() {
        if (!path_.empty() && !path_.back().closed && path_.back().pts.size() < 2) path_.pop_back();
    }
    void drawPath(bool fill, bool stroke) {
        inPath = false;
        std::vector<std::vector<Point>> rings;
        std::vector<bool> closed;
        for (const auto& f : path_)
            if (f.pts.size() >= 2) rings.push_back(f.pts), closed.push_back(f.closed);
        path_.clear();
        drawRings(rings, fill, stroke, &closed);
    }
    void clipToPath(int mode) {
        inPath = false;
        QRegion region;
        for (const auto& f : path_) {
            QPolygon poly;
            for (const Point& p : f.pts) poly << QPoint(p.x, p.y);
            region = region.xored(QRegion(poly, Qt::OddEvenFill));
        }
        path_.clear();
        selectClip(region, mode, false);
    }
    // A cubic Bezier's points after its start, flattened as the system flattens a path's
    // curves (the canvas's own flattening).
    static void flattenBezier(const Point (&c)[4], std::vector<Point>& out) {
        const std::vector<Point> line = pixoral::flattenBeziers({c[0], c[1], c[2], c[3]});
        out.insert(out.end(), line.begin() + 1, line.end());
    }
    static std::vector<Point> flattenBeziers(Point from, const std::vector<Point>& pts) {
        std::vector<Point> out;
        for (std::size_t i = 0; i + 2 < pts.size(); i += 3) {
            const Point c[4] = {from, pts[i], pts[i + 1], pts[i + 2]};
            flattenBezier(c, out);
            from = pts[i + 2];
        }
        return out;
    }
    // The winding rule fills, beyond the even-odd region, the places that the outline goes
    // round an even number of times (twice, or once each way): found per row at the pixel
    // centres and filled run by run with the brush (the pen is off; a penless rectangle
    // leaves out its last column and row, hence the 2).
    void fillWindingHoles(const std::vector<std::vector<Point>>& rings) {
        int top = kCoordLimit, bottom = -kCoordLimit;
        for (const auto& r : rings)
            for (const Point& p : r) top = std::min(top, p.y), bottom = std::max(bottom, p.y);
        top = std::max(top, 0);
        bottom = std::min(bottom, cv_.bitmap().height());
        std::vector<std::pair<double, int>> cross;
        for (int y = top; y < bottom; ++y) {
            const double cy = y + 0.5;
            cross.clear();
            for (const auto& r : rings)
                for (std::size_t i = 0; i < r.size(); ++i) {
                    const Point a = r[i], b = r[(i + 1) % r.size()];
                    if ((a.y <= cy) == (b.y <= cy)) continue;
                    const double x = a.x + (cy - a.y) * double(b.x - a.x) / double(b.y - a.y);
                    cross.emplace_back(x, b.y > a.y ? 1 : -1);
                }
            std::sort(cross.begin(), cross.end());
            int winding = 0;
            for (std::size_t i = 0; i + 1 < cross.size(); ++i) {
                winding += cross[i].second;
                if (winding == 0 || (i + 1) % 2 == 1) continue;  // outside, or already filled
                const int x0 = int(std::ceil(cross[i].first - 0.5)), x1 = int(std::ceil(cross[i + 1].first - 0.5));
                if (x1 >= x0) cv_.rectangle(x0, y, x1 + 2, y + 2);
            }
        }
    }
    void polyBezier(const std::vector<QPointF>& pts) {
        if (pts.size() < 4) return;
        auto d = devPoints(pts);
        d.resize((d.size() - 1) / 3 * 3 + 1);
        if (inPath) {
            pathMoved();
            pathAdd(d.front(), flattenBeziers(d.front(), std::vector<Point>(d.begin() + 1, d.end())));
            return;
        }
        ClipGuard guard(*this, around(d));  // a Bezier stays within its control points
        // Flattened here as the system flattens curves, then drawn as a polyline, as it is.
        std::vector<Point> flat{d.front()};
        const auto rest = flattenBeziers(d.front(), std::vector<Point>(d.begin() + 1, d.end()));
        flat.insert(flat.end(), rest.begin(), rest.end());
        line([&] { cv_.polyline(flat); });
    }
    void polyBezierTo(const std::vector<QPointF>& pts) {
        if (pts.size() < 3) return;
        auto d = devPoints(pts);
        d.resize(d.size() / 3 * 3);
        const Point from = dev(s.curX, s.curY);
        if (inPath) {
            pathAdd(from, flattenBeziers(from, d));
            const QPointF& last = pts[d.size() - 1];
            s.curX = last.x(), s.curY = last.y();
            return;
        }
        {
            std::vector<Point> all{from};
            all.insert(all.end(), d.begin(), d.end());
            ClipGuard guard(*this, around(all));
            std::vector<Point> flat{from};
            const auto rest = flattenBeziers(from, d);
            flat.insert(flat.end(), rest.begin(), rest.end());
            line([&] { cv_.polyline(flat); });
        }
        const QPointF& last = pts[d.size() - 1];
        moveTo(last.x(), last.y());
    }
    // A box in output coordinates, normalised so that left <= right and top <= bottom.
    Rect box(double l, double t, double r, double b) const {
        const Point a = dev(l, t), c = dev(r, b);
        return Rect{std::min(a.x, c.x), std::min(a.y, c.y), std::max(a.x, c.x), std::max(a.y, c.y)};
    }
    // An EMF stores the boxes of its figures with the right and bottom edge inside, a WMF
    // with them outside, as the canvas takes them.
    bool inclusiveBoxes = false;
    Rect figureBox(double l, double t, double r, double b) const {
        Rect k = box(l, t, r, b);
        if (inclusiveBoxes) k.right = clampCoord(std::int64_t(k.right) + 1), k.bottom = clampCoord(std::int64_t(k.bottom) + 1);
        return k;
    }
    void rectangle(double l, double t, double r, double b) {
        const Rect k = figureBox(l, t, r, b);
        if (inPath) {  // a closed figure round the box, counter-clockwise from the top left
            path_.push_back(PathFigure{{{k.left, k.top}, {k.left, k.bottom - 1}, {k.right - 1, k.bottom - 1}, {k.right - 1, k.top}}, true});
            return;
        }
        ClipGuard guard(*this, grown(k, penMargin()));
        figure([&] { cv_.rectangle(k.left, k.top, k.right, k.bottom); });
    }
    void ellipse(double l, double t, double r, double b) {
        const Rect k = figureBox(l, t, r, b);
        if (inPath) {
            // Four quarter Beziers counter-clockwise from the middle of the right side, each
            // point set off from a corner by a rounded share of the half axes.
            const int x0 = k.left, y0 = k.top, x1 = k.right - 1, y1 = k.bottom - 1;
            const double w = (x1 - x0) / 2.0, h = (y1 - y0) / 2.0, f = 1 - 0.55428475;
            auto rd = [](double v) { return int(std::floor(v + 0.5)); };
            const int cw = rd(w * f), ch = rd(h * f), hw = rd(w), hh = rd(h);
            const Point start{x1, y0 + hh};
            const std::vector<Point> ctrl{{x1, y0 + ch}, {x1 - cw, y0}, {x0 + hw, y0}, {x0 + cw, y0}, {x0, y0 + ch},
                                          {x0, y0 + hh}, {x0, y1 - ch}, {x0 + cw, y1}, {x0 + hw, y1}, {x1 - cw, y1},
                                          {x1, y1 - ch}, {x1, y1 - hh}};
            std::vector<Point> fig{start};
            const auto flat = flattenBeziers(start, ctrl);
            fig.insert(fig.end(), flat.begin(), flat.end());
            path_.push_back(PathFigure{fig, true});
            return;
        }
        ClipGuard guard(*this, grown(k, penMargin()));
        figure([&] { cv_.ellipse(k.left, k.top, k.right, k.bottom); });
    }
    void roundRect(double l, double t, double r, double b, double w, double h) {
        const Rect k = figureBox(l, t, r, b);
        const int ew = toCanvas(std::fabs(w) * scaleX());
        const int eh = toCanvas(std::fabs(h) * scaleY());
        if (inPath) {
            // As the ellipse's figure, with straight sides between the quarter corners.
            const int x0 = k.left, y0 = k.top, x1 = k.right - 1, y1 = k.bottom - 1;
            if (ew == 0 || eh == 0) {
                path_.push_back(PathFigure{{{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}}, true});
                return;
            }
            const double rw = std::min(ew, x1 - x0) / 2.0, rh = std::min(eh, y1 - y0) / 2.0, f = 1 - 0.55428475;
            auto rd = [](double v) { return int(std::floor(v + 0.5)); };
            const int cw = rd(rw * f), ch = rd(rh * f), hw = rd(rw), hh = rd(rh);
            const Point start{x1, y0 + hh};
            const Point corners[4][4] = {{start, {x1, y0 + ch}, {x1 - cw, y0}, {x1 - hw, y0}},
                                         {{x0 + hw, y0}, {x0 + cw, y0}, {x0, y0 + ch}, {x0, y0 + hh}},
                                         {{x0, y1 - hh}, {x0, y1 - ch}, {x0 + cw, y1}, {x0 + hw, y1}},
                                         {{x1 - hw, y1}, {x1 - cw, y1}, {x1, y1 - ch}, {x1, y1 - hh}}};
            std::vector<Point> fig{start};
            for (const auto& c : corners) {
                if (fig.back() != c[0]) fig.push_back(c[0]);  // the straight side
                flattenBezier(c, fig);
            }
            path_.push_back(PathFigure{fig, true});
            return;
        }
        ClipGuard guard(*this, grown(k, penMargin()));
        figure([&] { cv_.roundRect(k.left, k.top, k.right, k.bottom, ew, eh); });
    }
    enum class ArcKind { Arc, Chord, Pie };
    void arc(ArcKind kind, double l, double t, double r, double b, double x3, double y3, double x4, double y4) {
        const Rect k = figureBox(l, t, r, b);
        Point p3 = dev(x3, y3), p4 = dev(x4, y4);
        // Arcs run counter-clockwise on the output whatever the mapping, as the system draws
        // them; a clockwise arc direction covers the same points with the ends exchanged.
        if (s.clockwise) std::swap(p3, p4);
        if (inPath) {
            double bx0, by0, bx1, by1, sx, sy, ex, ey;
            toOutput(l, t, bx0, by0);
            toOutput(r, b, bx1, by1);
            toOutput(x3, y3, sx, sy);
            toOutput(x4, y4, ex, ey);
            if (s.clockwise) std::swap(sx, ex), std::swap(sy, ey);
            pathArc(kind, QRectF(QPointF(std::min(bx0, bx1), std::min(by0, by1)), QPointF(std::max(bx0, bx1), std::max(by0, by1))),
                    QPointF(sx, sy), QPointF(ex, ey));
            return;
        }
        ClipGuard guard(*this, grown(k, penMargin()));
        if (kind == ArcKind::Arc)
            line([&] { cv_.arc(k.left, k.top, k.right, k.bottom, p3.x, p3.y, p4.x, p4.y); });
        else if (kind == ArcKind::Chord)
            figure([&] { cv_.chord(k.left, k.top, k.right, k.bottom, p3.x, p3.y, p4.x, p4.y); });
        else
            figure([&] { cv_.pie(k.left, k.top, k.right, k.bottom, p3.x, p3.y, p4.x, p4.y); });
    }
    // An arc in a path: one Bezier per quarter it spans, counter-clockwise on the output from
    // the angle of its start point to that of its end point on the box's ellipse; a chord
    // closes it, a pie runs to the centre first.
    void pathArc(ArcKind kind, const QRectF& box, QPointF from, QPointF to) {
        // The box in unrounded output pixels; a WMF's box loses its last column and row once
        // the angles are taken, an EMF's already holds them.
        const double ax0 = box.left(), ay0 = box.top(), ax1 = box.right(), ay1 = box.bottom();
        const double x0 = ax0, y0 = ay0, x1 = inclusiveBoxes ? ax1 : ax1 - 1, y1 = inclusiveBoxes ? ay1 : ay1 - 1;
        if (!(ax1 > ax0) || !(ay1 > ay0) || !std::isfinite(ax1 - ax0) || !std::isfinite(ay1 - ay0)) return;
        auto angle = [&](QPointF p) {
            return std::atan2((p.y() - ay0) / (ay1 - ay0) * 2 - 1, (p.x() - ax0) / (ax1 - ax0) * 2 - 1);
        };
        const double quarter = std::numbers::pi / 2;
        const double start = angle(from);
        double end = angle(to);
        if (!std::isfinite(start) || !std::isfinite(end)) return;
        if (end >= start) end -= 2 * std::numbers::pi;
        auto at = [&](double xn, double yn) {
            return Point{toCanvas(std::floor(x0 + (x1 - x0) * 0.5 * (xn + 1) + 0.5)),
                         toCanvas(std::floor(y0 + (y1 - y0) * 0.5 * (yn + 1) + 0.5))};
        };
        std::vector<Point> fig{at(std::cos(start), std::sin(start))};
        double a = start, b = (std::ceil(start / quarter) - 1) * quarter;
        for (int part = 0; part < 5; ++part, a = b, b -= quarter) {  // a whole turn spans five at most
            const bool last = end > b || part == 4;
            if (last) b = end;
            const double half = (b - a) / 2;
            Point c[4];
            c[0] = fig.back();
            if (std::fabs(half) > 1e-8) {
                const double f = 4.0 / 3.0 * (1 - std::cos(half)) / std::sin(half);
                const double xa = std::cos(a), ya = std::sin(a), xb = std::cos(b), yb = std::sin(b);
                c[1] = at(xa - f * ya, ya + f * xa);
                c[2] = at(xb + f * yb, yb - f * xb);
                c[3] = at(xb, yb);
            } else {
                c[1] = c[2] = c[3] = c[0];
            }
            flattenBezier(c, fig);
            if (last) break;
        }
        if (kind == ArcKind::Pie) fig.push_back(Point{toCanvas(std::trunc((x0 + x1) / 2)), toCanvas(std::trunc((y0 + y1) / 2))});
        pathMoved();
        path_.push_back(PathFigure{fig, kind != ArcKind::Arc});
    }
    // ArcTo: a line from the current position to the arc's start, the arc, and the current
    // position at its end.
    void arcTo(double l, double t, double r, double b, double x3, double y3, double x4, double y4) {
        const double cx = (l + r) / 2, cy = (t + b) / 2, rx = std::fabs(r - l) / 2, ry = std::fabs(b - t) / 2;
        auto onEllipse = [&](double x, double y, double& ex, double& ey) {
            const double dx = x - cx, dy = y - cy;
            const double q = (rx > 0 && ry > 0) ? std::sqrt((dx / rx) * (dx / rx) + (dy / ry) * (dy / ry)) : 0;
            ex = q > 0 ? cx + dx / q : cx;
            ey = q > 0 ? cy + dy / q : cy;
        };
        double sx, sy, ex, ey;
        onEllipse(x3, y3, sx, sy);
        onEllipse(x4, y4, ex, ey);
        lineTo(sx, sy);
        arc(ArcKind::Arc, l, t, r, b, x3, y3, x4, y4);
        moveTo(ex, ey);
    }
    void setPixel(double x, double y, TColor c) {
        const Point p = dev(x, y);
        ClipGuard guard(*this, Rect{p.x, p.y, clampCoord(std::int64_t(p.x) + 1), clampCoord(std::int64_t(p.y) + 1)});
        cv_.setPixel(p.x, p.y, c);
    }

    // ---- text ----
    // `advances`: the recorded distance from each character to the next, in logical units;
    // when they are given every character is placed by them, as the system places them.
    void text(double x, double y, const QString& str, unsigned options, const Rect* logicalRect,
              const std::vector<double>* advances = nullptr) {
        Font& f = cv_.font();
        f.name = s.font.face.trimmed().isEmpty() ? QStringLiteral("Arial") : s.font.face;
        double px = s.font.height * scaleY();
        if (!std::isfinite(px)) px = 0;
        int h = int(std::lround(std::clamp(px, double(-kMaxFontPixels), double(kMaxFontPixels))));
        if (h == 0) h = -16;  // the default font: 12 points
        f.setHeight(h);
        f.style = (s.font.weight >= 600 ? fsBold : 0u) | (s.font.italic ? fsItalic : 0u) |
                  (s.font.underline ? fsUnderline : 0u) | (s.font.strikeOut ? fsStrikeOut : 0u);
        f.color = s.textColor;
        f.escapement = s.font.escapement % 3600;  // any int from the file; the canvas negates it
        cv_.pen().mode = PenMode::pmCopy;

        const bool updateCp = s.textAlign & TA_UPDATECP;
        const Point at = updateCp ? dev(s.curX, s.curY) : dev(x, y);
        Rect clip{};
        if (logicalRect) clip = box(logicalRect->left, logicalRect->top, logicalRect->right, logicalRect->bottom);
        if (logicalRect && (options & ETO_OPAQUE)) {
            ClipGuard guard(*this, clip);
            solidBrush(s.bkColor);
            cv_.fillRect(clip);
        }
        if (str.isEmpty()) return;

        // Where each character starts along the line, in output pixels from the first.
        const bool placed = advances && advances->size() == std::size_t(str.size());
        std::vector<int> starts;
        int width = 0;
        double logicalWidth = 0;
        if (placed) {
            const double sx = scaleX();
            for (double adv : *advances) {
                starts.push_back(toCanvas(logicalWidth * sx));
                logicalWidth += adv;
            }
            width = toCanvas(logicalWidth * sx);
        } else {
            width = cv_.textWidth(str);
        }
        // Offsets from the reference point to the top-left of the first cell, turned with the
        // escapement. The cell is placed by the system's metrics of the font asked for (the
        // canvas may draw a size near it: it keeps sizes in whole points); the glyphs then sit
        // on the cell's baseline by the canvas's own ascent.
        int cellAscent = 0, cellHeight = 0;
        systemCell(f, h, cellAscent, cellHeight);
        double ox = 0, oy = 0;
        const unsigned horizontal = s.textAlign & TA_CENTER, vertical = s.textAlign & TA_BASELINE;
        if (horizontal == TA_CENTER)
            ox = -width / 2.0;
        else if (horizontal == TA_RIGHT)
            ox = -width;
        if (vertical == TA_BASELINE)
            oy = -cellAscent;
        else if (vertical == TA_BOTTOM)
            oy = -cellHeight;
        const double glyphDrop = cellAscent - ascent(f);
        const double a = s.font.escapement * std::numbers::pi / 1800.0;
        const double ca = std::cos(a), sa = std::sin(a);
        auto point = [&](double along, double down, int& cx, int& cy) {
            cx = clampCoord(at.x + std::int64_t(toCanvas((ox + along) * ca + (oy + down) * sa)));
            cy = clampCoord(at.y + std::int64_t(toCanvas(-(ox + along) * sa + (oy + down) * ca)));
        };
        auto cell = [&](double along, int& cx, int& cy) { point(along, glyphDrop, cx, cy); };
        int bx, by;  // the cell's top left
        point(0, 0, bx, by);
        int tx, ty;
        cell(0, tx, ty);
        // The run's box whichever way it is turned: a square round its first cell.
        const int reach = clampCoord(std::int64_t(width) + std::abs(cv_.textHeight(str)) + 4);
        ClipGuard guard(*this, grown(Rect{tx, ty, tx, ty}, reach));

        const bool clipped = logicalRect && (options & ETO_CLIPPED);
        auto draw = [&](int cx, int cy, const QString& part) {
            if (clipped)
                cv_.textRect(clip, cx, cy, part);
            else
                cv_.textOut(cx, cy, part);
        };
        // The background goes under the whole run (for level text in one piece, else cell
        // by cell), in the system's cell height, then the characters: one by one where their
        // advances are given.
        const bool level = s.font.escapement % 3600 == 0;
        if (s.bkMode == OPAQUE && level) {
            solidBrush(s.bkColor);
            Rect back{bx, by, clampCoord(std::int64_t(bx) + width), clampCoord(std::int64_t(by) + cellHeight)};
            if (clipped) back = Rect{std::max(back.left, clip.left), std::max(back.top, clip.top),
                                     std::min(back.right, clip.right), std::min(back.bottom, clip.bottom)};
            if (back.right > back.left && back.bottom > back.top) cv_.fillRect(back);
        }
        if (s.bkMode == OPAQUE && !level)
            solidBrush(s.bkColor);
        else
            cv_.brush().setBitmap(nullptr), cv_.brush().setStyle(BrushStyle::bsClear);
        if (!placed) {
            draw(tx, ty, str);
        } else {
            for (qsizetype i = 0; i < str.size(); ++i) {
                int cx, cy;
                cell(starts[std::size_t(i)], cx, cy);
                draw(cx, cy, str.mid(i, 1));
            }
        }
        if (updateCp) {
            const double sx = scaleX();
            const double advance = placed ? logicalWidth : sx > 0 ? width / sx : 0;
            s.curX += (horizontal == TA_RIGHT ? -advance : horizontal == TA_CENTER ? 0 : advance);
        }
    }
    // The system's ascent and cell height of a font asked for by height: for a character
    // height (negative) the ascent and the descent of that em size, each rounded; for a cell
    // height, that height shared in the font's proportion.
    static void systemCell(const Font& f, int height, int& ascent, int& cell) {
        QFont q(f.name);
        q.setPixelSize(std::max(1, std::abs(height)));
        q.setBold(f.style & fsBold);
        q.setItalic(f.style & fsItalic);
        const QFontMetricsF m(q);
        if (height > 0 && m.ascent() + m.descent() > 0) {
            const double k = height / (m.ascent() + m.descent());
            ascent = int(std::lround(m.ascent() * k));
            cell = height;
        } else {
            ascent = int(std::lround(m.ascent()));
            cell = ascent + int(std::lround(m.descent()));
        }
    }
    static int ascent(const Font& f) {
        QFont q(f.name);
        const int h = std::max(1, std::abs(f.height()));
        q.setPixelSize(h);
        q.setBold(f.style & fsBold);
        q.setItalic(f.style & fsItalic);
        QFontMetrics m(q);
        if (f.height() < 0 || m.height() <= 0) return m.ascent();
        return int(std::lround(double(h) * m.ascent() / m.height()));
    }

    // ---- blits ----
    // Source rectangle in the image's own top-down rows; destination in logical units. The
    // source is taken in 64 bits: files give any 32-bit corner and extent.
    void blit(const QImage& src, std::int64_t sx, std::int64_t sy, std::int64_t sw, std::int64_t sh, double dx,
              double dy, double dw, double dh, std::uint32_t rop) {
        const Point a = dev(dx, dy), b = dev(dx + dw, dy + dh);
        if (a.x == b.x || a.y == b.y) return;
        Bitmap source;
        if (!src.isNull()) {
            bool flipX = sw < 0, flipY = sh < 0;
            if (flipX) { sx += sw; sw = -sw; }
            if (flipY) { sy += sh; sh = -sh; }
            const std::int64_t l = std::max<std::int64_t>(sx, 0), t = std::max<std::int64_t>(sy, 0);
            const std::int64_t r = std::min<std::int64_t>(sx + sw, src.width()), b2 = std::min<std::int64_t>(sy + sh, src.height());
            if (l >= r || t >= b2) return;
            const QRect part(int(l), int(t), int(r - l), int(b2 - t));
            flipX = flipX != (b.x < a.x);
            flipY = flipY != (b.y < a.y);
            QImage piece = src.copy(part);
            if (flipX || flipY) piece = piece.mirrored(flipX, flipY);
            source.fromImage(piece);
        } else {
            source = Bitmap(1, 1);
        }
        if (source.isEmpty()) return;
        applyBrush();
        const CopyMode saved = cv_.copyMode();
        cv_.setCopyMode(rop);
        // A destination running right to left (or upwards) covers the pixels after its end
        // point up to and including its start point.
        const int mx = b.x < a.x ? 1 : 0, my = b.y < a.y ? 1 : 0;
        ClipGuard guard(*this, Rect{std::min(a.x, b.x) + mx, std::min(a.y, b.y) + my, std::max(a.x, b.x) + mx,
                                    std::max(a.y, b.y) + my});
        cv_.copyRect(Rect{std::min(a.x, b.x) + mx, std::min(a.y, b.y) + my, std::max(a.x, b.x) + mx, std::max(a.y, b.y) + my},
                     source.canvas(), Rect{0, 0, source.width(), source.height()});
        cv_.setCopyMode(saved);
    }

    // ---- objects ----
    void select(const GdiObject& o) {
        switch (o.kind) {
        case GdiObject::Pen: s.pen = o.pen; break;
        case GdiObject::Brush: s.brush = o.brush; break;
        case GdiObject::Font: s.font = o.font; break;
        case GdiObject::Region: selectClip(deviceRegion(o.region), 5, false); break;
        default: break;
        }
    }

private:
    Canvas& cv_;
    double pxmmX_, pxmmY_;
    std::vector<DcState> saved_;
    std::vector<PathFigure> path_;
    bool guarding_ = false;
    std::vector<std::uint8_t> clipScratch_;
};

// Restores the caller's canvas state however the playing ends.
class CanvasStateGuard {
public:
    explicit CanvasStateGuard(Canvas& c)
        : c_(c), pen_(c.pen()), brush_(c.brush()), font_(c.font()), mode_(c.copyMode()), pos_(c.penPos()) {}
    ~CanvasStateGuard() {
        c_.pen() = pen_;
        c_.brush() = brush_;
        c_.font() = font_;
        c_.setCopyMode(mode_);
        c_.setPenPos(pos_);
    }

private:
    Canvas& c_;
    Pen pen_;
    Brush brush_;
    Font font_;
    CopyMode mode_;
    Point pos_;
};

// ---- WMF ----------------------------------------------------------------------------------

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;

class WmfPlayer {
public:
    WmfPlayer(Player& p, std::size_t objects) : p_(p) { slots_.resize(std::min(objects, kMaxObjects)); }

    void create(const GdiObject& o) {
        for (auto& slot : slots_)
            if (slot.kind == GdiObject::Empty) {
                slot = o;
                return;
            }
        if (slots_.size() < kMaxObjects) slots_.push_back(o);
    }

    void play(int func, const Record& r) {
        // Parameters start after the 6-byte record header and are written last-first.
        const std::int64_t P = 6;
        auto x16 = [&](int i) { return double(r.i16(P + 2 * i)); };
        switch (func) {
        case 0x001E: p_.saveDC(); break;
        case 0x0127: p_.restoreDC(r.i16(P)); break;
        case 0x0201: p_.s.bkColor = colorRef(r.u32(P)); break;
        case 0x0102: p_.s.bkMode = r.u16(P); break;
        case 0x0103: p_.setMapMode(r.u16(P)); break;
        case 0x0104: p_.s.rop2 = r.u16(P); break;
        case 0x0106: p_.s.polyFillMode = r.u16(P); break;
        case 0x0209: p_.s.textColor = colorRef(r.u32(P)); break;
        case 0x012E: p_.s.textAlign = r.u16(P); break;
        case 0x020B: p_.s.woy = x16(0); p_.s.wox = x16(1); break;
        case 0x020C: p_.setWindowExt(x16(1), x16(0)); break;
        case 0x020D: p_.s.voy = x16(0); p_.s.vox = x16(1); break;
        case 0x020E: p_.setViewportExt(x16(1), x16(0)); break;
        case 0x020F: p_.s.woy += x16(0); p_.s.wox += x16(1); break;
        case 0x0211: p_.s.voy += x16(0); p_.s.vox += x16(1); break;
        case 0x0410:  // ScaleWindowExt: yDenom, yNum, xDenom, xNum
            if (r.i16(P) && r.i16(P + 4)) p_.setWindowExt(p_.s.wex * x16(3) / x16(2), p_.s.wey * x16(1) / x16(0));
            break;
        case 0x0412:
            if (r.i16(P) && r.i16(P + 4)) p_.setViewportExt(p_.s.vex * x16(3) / x16(2), p_.s.vey * x16(1) / x16(0));
            break;
        case 0x0416: p_.intersectClip(x16(3), x16(2), x16(1), x16(0)); break;
        case 0x0415: p_.excludeClip(x16(3), x16(2), x16(1), x16(0)); break;
        case 0x0220: p_.offsetClip(x16(1), x16(0)); break;
        case 0x012C: {  // SelectClipRegion: a region object, or none for the whole picture
            const int i = r.u16(P);
            if (i < int(slots_.size()) && slots_[i].kind == GdiObject::Region)
                p_.selectClip(p_.deviceRegion(slots_[i].region), 5, false);
            else
                p_.selectClip(QRegion(), 5, true);
            break;
        }
        case 0x012B:  // PaintRegion: with the current brush
            if (const GdiObject* g = slot(r.u16(P), GdiObject::Region)) p_.paintRegion(p_.logicalRegion(g->region), p_.s.brush);
            break;
        case 0x012A:  // InvertRegion
            if (const GdiObject* g = slot(r.u16(P), GdiObject::Region)) p_.invertRegion(p_.logicalRegion(g->region));
            break;
        case 0x0228: case 0x0429: {  // FillRegion: two objects; FrameRegion: height, width, two objects
            const std::int64_t at = func == 0x0228 ? P : P + 4;
            // A region and a brush, in whichever order the writer put them.
            const GdiObject* a = slot(r.u16(at), GdiObject::Region);
            const GdiObject* b = slot(r.u16(at + 2), GdiObject::Brush);
            if (!a || !b) a = slot(r.u16(at + 2), GdiObject::Region), b = slot(r.u16(at), GdiObject::Brush);
            if (!a || !b) break;
            const QRegion region = p_.logicalRegion(a->region);
            p_.paintRegion(func == 0x0228 ? region : p_.frameOf(region, r.i16(P + 2), r.i16(P)), b->brush);
            break;
        }
        case 0x0214: p_.moveTo(x16(1), x16(0)); break;
        case 0x0213: p_.lineTo(x16(1), x16(0)); break;
        case 0x041B: p_.rectangle(x16(3), x16(2), x16(1), x16(0)); break;
        case 0x0418: p_.ellipse(x16(3), x16(2), x16(1), x16(0)); break;
        case 0x061C: p_.roundRect(x16(5), x16(4), x16(3), x16(2), x16(1), x16(0)); break;
        case 0x0817: case 0x0830: case 0x081A: {
            if (!r.has(P, 16)) break;
            const auto kind = func == 0x0817 ? Player::ArcKind::Arc : func == 0x0830 ? Player::ArcKind::Chord
                                                                                     : Player::ArcKind::Pie;
            p_.arc(kind, x16(7), x16(6), x16(5), x16(4), x16(3), x16(2), x16(1), x16(0));
            break;
        }
        case 0x0324: case 0x0325: {
            const int n = r.u16(P);
            if (!r.has(P + 2, std::int64_t(n) * 4)) break;
            const auto pts = points16(r, P + 2, n);
            func == 0x0324 ? p_.polygon(pts) : p_.polyline(pts);
            break;
        }
        case 0x0538: {
            const int polys = r.u16(P);
            if (!r.has(P + 2, std::int64_t(polys) * 2)) break;
            std::int64_t at = P + 2 + std::int64_t(polys) * 2;
            std::vector<std::vector<QPointF>> rings;
            bool ok = true;
            for (int i = 0; i < polys && ok; ++i) {
                const int n = r.u16(P + 2 + 2 * i);
                ok = r.has(at, std::int64_t(n) * 4);
                if (ok) rings.push_back(points16(r, at, n));
                at += std::int64_t(n) * 4;
            }
            if (ok) p_.polyPolygon(rings);
            break;
        }
        case 0x041F:
            if (r.has(P, 8)) p_.setPixel(x16(3), x16(2), colorRef(r.u32(P)));
            break;
        case 0x0521: {  // TextOut: length, string (padded to a word), y, x
            const int n = r.u16(P);
            const std::int64_t padded = (n + 1) & ~1;
            if (!r.has(P + 2, padded + 4)) break;
            const QString text = latin1Text(r.data() + P + 2, n);
            p_.text(r.i16(P + 2 + padded + 2), r.i16(P + 2 + padded), text, 0, nullptr);
            break;
        }
        case 0x0A32: {  // ExtTextOut: y, x, count, options, [rect], string, [dx]
            if (!r.has(P, 8)) break;
            const double y = x16(0), x = x16(1);
            const int n = r.u16(P + 4);
            const unsigned options = r.u16(P + 6);
            std::int64_t at = P + 8;
            Rect rect{};
            const bool hasRect = options & (ETO_OPAQUE | ETO_CLIPPED);
            if (hasRect) {
                if (!r.has(at, 8)) break;
                rect = Rect{r.i16(at), r.i16(at + 2), r.i16(at + 4), r.i16(at + 6)};
                at += 8;
            }
            if (!r.has(at, n)) break;
            // The advances follow the string (padded to a whole word) when the record has them.
            std::vector<double> dx;
            const std::int64_t dxAt = at + ((n + 1) & ~1);
            if (n > 0 && r.has(dxAt, std::int64_t(n) * 2))
                for (int i = 0; i < n; ++i) dx.push_back(r.i16(dxAt + 2 * i));
            p_.text(x, y, latin1Text(r.data() + at, n), options, hasRect ? &rect : nullptr, dx.empty() ? nullptr : &dx);
            break;
        }
        case 0x012D: {
            const int i = r.u16(P);
            if (i < int(slots_.size())) p_.select(slots_[i]);
            break;
        }
        case 0x01F0: {
            const int i = r.u16(P);
            if (i < int(slots_.size())) slots_[i] = GdiObject{};
            break;
        }
        case 0x02FA: {
            GdiObject o;
            o.kind = GdiObject::Pen;
            o.pen.style = r.u16(P);
            o.pen.width = std::abs(r.i16(P + 2));
            o.pen.color = colorRef(r.u32(P + 6));
            create(o);
            break;
        }
        case 0x02FC: {
            GdiObject o;
            o.kind = GdiObject::Brush;
            o.brush.style = r.u16(P);
            o.brush.color = colorRef(r.u32(P + 2));
            o.brush.hatch = r.u16(P + 6);
            create(o);
            break;
        }
        case 0x02FB: {
            GdiObject o;
            o.kind = GdiObject::Font;
            o.font.height = r.i16(P);
            o.font.escapement = r.i16(P + 4);
            o.font.weight = r.i16(P + 8);
            o.font.italic = r.u8(P + 10);
            o.font.underline = r.u8(P + 11);
            o.font.strikeOut = r.u8(P + 12);
            std::int64_t n = 0;
            while (n < 32 && r.has(P + 18 + n, 1) && r.u8(P + 18 + n)) ++n;
            o.font.face = latin1Text(r.data() + P + 18, n);
            create(o);
            break;
        }
        case 0x0142: {  // DIBCreatePatternBrush: style, colour usage, packed DIB
            GdiObject o;
            o.kind = GdiObject::Brush;
            o.brush.style = BS_DIBPATTERNPT;
            o.brush.color = clBlack;
            DecodedDib dib;
            if (r.has(P, 4) && decodePackedDib(r.data() + P + 4, r.size() - P - 4, r.u16(P + 2) == 1, &dib))
                o.brush.pattern = patternFromDib(dib);
            create(o);
            break;
        }
        case 0x06FF: {
            GdiObject o;
            o.kind = GdiObject::Region;
            o.region = wmfRegion(r);
            create(o);
            break;
        }
        case 0x00F7: case 0x01F9: {  // palette, old pattern brush: hold a slot
            GdiObject o;
            o.kind = GdiObject::Other;
            create(o);
            break;
        }
        case 0x061D:  // PatBlt: rop, h, w, y, x
            if (r.has(P, 12)) p_.blit(QImage(), 0, 0, 1, 1, x16(5), x16(4), x16(3), x16(2), r.u32(P));
            break;
        case 0x0940: case 0x0B41: {  // DIBBitBlt, DIBStretchBlt
            const bool stretch = func == 0x0B41;
            const std::int64_t words = r.size() / 2;
            if (words == (func >> 8) + 3) {  // no bitmap: a pattern fill of the destination
                const std::int64_t e = r.size();
                if (r.has(P, 4) && e >= P + 12)
                    p_.blit(QImage(), 0, 0, 1, 1, r.i16(e - 2), r.i16(e - 4), r.i16(e - 6), r.i16(e - 8), r.u32(P));
                break;
            }
            const std::int64_t dibAt = P + (stretch ? 20 : 16);
            DecodedDib dib;
            if (!r.has(P, dibAt - P) || !decodePackedDib(r.data() + dibAt, r.size() - dibAt, false, &dib)) break;
            if (stretch)
                p_.blit(dib.image, r.i16(P + 10), r.i16(P + 8), r.i16(P + 6), r.i16(P + 4), x16(9), x16(8), x16(7),
                        x16(6), r.u32(P));
            else
                p_.blit(dib.image, r.i16(P + 6), r.i16(P + 4), r.i16(P + 10), r.i16(P + 8), x16(7), x16(6), x16(5),
                        x16(4), r.u32(P));
            break;
        }
        case 0x0D33: {  // SetDIBitsToDevice: usage, scans, first scan, ySrc, xSrc, h, w, yDst, xDst, DIB
            const std::int64_t dibAt = P + 18;
            DecodedDib dib;
            if (!r.has(P, 18) || !decodePackedDib(r.data() + dibAt, r.size() - dibAt, r.u16(P) == 1, &dib)) break;
            const int h = r.i16(P + 10), w = r.i16(P + 12), ys = r.i16(P + 6), xs = r.i16(P + 8);
            const std::int64_t top = dib.bottomUp ? std::int64_t(dib.image.height()) - ys - h : ys;
            p_.blit(dib.image, xs, top, w, h, r.i16(P + 16), r.i16(P + 14), w, h, 0x00CC0020);
            break;
        }
        case 0x0F43: {  // StretchDIBits: rop, usage, srcH, srcW, ySrc, xSrc, destH, destW, yDst, xDst, DIB
            const std::int64_t dibAt = P + 22;
            DecodedDib dib;
            if (!r.has(P, 22) || !decodePackedDib(r.data() + dibAt, r.size() - dibAt, r.u16(P + 4) == 1, &dib)) break;
            const int sh = r.i16(P + 6), sw = r.i16(P + 8), ys = r.i16(P + 10), xs = r.i16(P + 12);
            // Source rows count from the bottom for a bottom-up DIB.
            const std::int64_t top = dib.bottomUp ? std::int64_t(dib.image.height()) - ys - sh : ys;
            p_.blit(dib.image, xs, top, sw, sh, r.i16(P + 20), r.i16(P + 18), r.i16(P + 16), r.i16(P + 14), r.u32(P));
            break;
        }
        default: break;  // unknown or unsupported: skipped
        }
    }

private:
    const GdiObject* slot(int i, GdiObject::Kind kind) const {
        return i >= 0 && i < int(slots_.size()) && slots_[i].kind == kind ? &slots_[i] : nullptr;
    }

    // A region object: a header with the bounds, then scans of a top, a bottom and pairs of
    // left and right edges, kept in the file's units.
    QRegion wmfRegion(const Record& r) const {
        const std::int64_t P = 6;
        const int scans = r.u16(P + 10);
        QRegion region;
        std::int64_t at = P + 22;
        for (int i = 0; i < scans && r.has(at, 6); ++i) {
            const int count = r.u16(at), top = r.i16(at + 2), bottom = r.i16(at + 4);
            if (!r.has(at + 6, std::int64_t(count) * 2 + 2)) break;
            for (int k = 0; k + 1 < count; k += 2)
                region += rawRect(r.i16(at + 6 + 2 * k), top, r.i16(at + 8 + 2 * k), bottom);
            at += 8 + std::int64_t(count) * 2;
        }
        if (scans == 0 && r.has(P + 14, 8))  // an empty scan list: the bounds alone
            region = rawRect(r.i16(P + 14), r.i16(P + 16), r.i16(P + 18), r.i16(P + 20));
        return region;
    }

    static std::vector<QPointF> points16(const Record& r, std::int64_t at, int n) {
        std::vector<QPointF> pts;
        pts.reserve(std::size_t(n));
        for (int i = 0; i < n; ++i) pts.emplace_back(r.i16(at + 4 * i), r.i16(at + 4 * i + 2));
        return pts;
    }

    Player& p_;
    std::vector<GdiObject> slots_;
};

// ---- EMF ----------------------------------------------------------------------------------

class EmfPlayer {
public:
    explicit EmfPlayer(Player& p) : p_(p) {}

    void play(std::uint32_t type, const Record& r) {
        auto X = [&](std::int64_t at) { return double(r.i32(at)); };
        switch (type) {
        case 2: case 3: case 4: case 5: case 6: polyRecord(type, r, false); break;
        case 85: case 86: case 87: case 88: case 89: polyRecord(type - 83, r, true); break;
        case 7: case 8: polyPolyRecord(type == 8, r, false); break;
        case 90: case 91: polyPolyRecord(type == 91, r, true); break;
        case 9: p_.setWindowExt(X(8), X(12)); break;
        case 10: p_.s.wox = X(8); p_.s.woy = X(12); break;
        case 11: p_.setViewportExt(X(8), X(12)); break;
        case 12: p_.s.vox = X(8); p_.s.voy = X(12); break;
        case 15: p_.setPixel(X(8), X(12), colorRef(r.u32(16))); break;
        case 17: p_.setMapMode(int(r.u32(8))); break;
        case 18: p_.s.bkMode = int(r.u32(8)); break;
        case 19: p_.s.polyFillMode = int(r.u32(8)); break;
        case 20: p_.s.rop2 = int(r.u32(8)); break;
        case 22: p_.s.textAlign = r.u32(8); break;
        case 24: p_.s.textColor = colorRef(r.u32(8)); break;
        case 25: p_.s.bkColor = colorRef(r.u32(8)); break;
        case 27: p_.moveTo(X(8), X(12)); break;
        case 31: case 32: {  // Scale viewport / window extent: xNum, xDenom, yNum, yDenom
            if (!r.i32(12) || !r.i32(20)) break;
            const double fx = X(8) / X(12), fy = X(16) / X(20);
            if (type == 31) p_.setViewportExt(p_.s.vex * fx, p_.s.vey * fy);
            else p_.setWindowExt(p_.s.wex * fx, p_.s.wey * fy);
            break;
        }
        case 30: p_.intersectClip(X(8), X(12), X(16), X(20)); break;
        case 29: p_.excludeClip(X(8), X(12), X(16), X(20)); break;
        case 26: p_.offsetClip(X(8), X(12)); break;
        case 75: {  // ExtSelectClipRgn: data size, mode, then the region in device units
            const std::uint32_t bytes = r.u32(8);
            const int mode = int(r.u32(12));
            if (bytes < 32 || !r.has(16, bytes)) {
                p_.selectClip(QRegion(), mode, true);
                break;
            }
            p_.selectClip(p_.deviceRegion(regionData(r, 16)), mode, false);
            break;
        }
        // Regions painted with the current brush, a given brush, framed, or inverted; their
        // rectangles are in logical units.
        case 74: p_.paintRegion(p_.logicalRegion(regionData(r, 28)), p_.s.brush); break;
        case 71: p_.paintRegion(p_.logicalRegion(regionData(r, 32)), brushAt(r.u32(28))); break;
        case 72:
            p_.paintRegion(p_.frameOf(p_.logicalRegion(regionData(r, 40)), r.i32(32), r.i32(36)), brushAt(r.u32(28)));
            break;
        case 73: p_.invertRegion(p_.logicalRegion(regionData(r, 28))); break;
        case 59: p_.beginPath(); break;
        case 60: p_.inPath = false; break;
        case 61: p_.closeFigure(); break;
        case 62: p_.drawPath(true, false); break;
        case 63: p_.drawPath(true, true); break;
        case 64: p_.drawPath(false, true); break;
        case 67: p_.clipToPath(int(r.u32(8))); break;
        case 68: p_.abortPath(); break;
        case 33: p_.saveDC(); break;
        case 34: p_.restoreDC(r.i32(8)); break;
        case 35: p_.s.world = xform(r, 8); break;
        case 36: {
            const Xform x = xform(r, 8);
            switch (r.u32(32)) {
            case 1: p_.s.world = Xform{}; break;
            case 2: p_.s.world = x.then(p_.s.world); break;
            case 3: p_.s.world = p_.s.world.then(x); break;
            case 4: p_.s.world = x; break;
            default: break;
            }
            break;
        }
        case 37: select(r.u32(8)); break;
        case 38: {
            GdiObject o;
            o.kind = GdiObject::Pen;
            o.pen.style = int(r.u32(12));
            o.pen.width = std::fabs(double(r.i32(16)));
            o.pen.color = colorRef(r.u32(24));
            store(r.u32(8), o);
            break;
        }
        case 95: {  // ExtCreatePen: the LOGPENEX after the bitmap offsets
            GdiObject o;
            o.kind = GdiObject::Pen;
            const std::uint32_t style = r.u32(28);
            o.pen.style = int(style & 0xF);
            o.pen.cosmetic = (style & 0x000F0000) == 0;
            o.pen.width = r.u32(32) > 0x7FFFFFFF ? 0 : double(r.u32(32));
            o.pen.color = colorRef(r.u32(40));
            if (r.u32(36) == BS_NULL) o.pen.style = PS_NULL;
            store(r.u32(8), o);
            break;
        }
        case 39: {
            GdiObject o;
            o.kind = GdiObject::Brush;
            o.brush.style = int(r.u32(12));
            o.brush.color = colorRef(r.u32(16));
            o.brush.hatch = int(r.u32(20));
            store(r.u32(8), o);
            break;
        }
        case 93: case 94: {  // mono and DIB pattern brushes: usage, bmi offset/size, bits offset/size
            GdiObject o;
            o.kind = GdiObject::Brush;
            o.brush.style = BS_DIBPATTERNPT;
            DecodedDib dib;
            if (type == 93 && monoRows(r, o.brush.monoRows))
                o.brush.mono = true;
            else if (dibAt(r, 16, 20, 24, 28, r.u32(12) == 1, &dib))
                o.brush.pattern = patternFromDib(dib);
            store(r.u32(8), o);
            break;
        }
        case 82: {
            GdiObject o;
            o.kind = GdiObject::Font;
            o.font.height = r.i32(12);
            o.font.escapement = r.i32(20);
            o.font.weight = r.i32(28);
            o.font.italic = r.u8(32);
            o.font.underline = r.u8(33);
            o.font.strikeOut = r.u8(34);
            QString face;
            for (int i = 0; i < 32 && r.has(40 + 2 * i, 2) && r.u16(40 + 2 * i); ++i) face += QChar(r.u16(40 + 2 * i));
            o.font.face = face;
            store(r.u32(8), o);
            break;
        }
        case 40: objects_.erase(r.u32(8)); break;
        case 42: p_.ellipse(X(8), X(12), X(16), X(20)); break;
        case 43: p_.rectangle(X(8), X(12), X(16), X(20)); break;
        case 44: p_.roundRect(X(8), X(12), X(16), X(20), X(24), X(28)); break;
        case 45: case 46: case 47: {
            const auto kind = type == 45 ? Player::ArcKind::Arc : type == 46 ? Player::ArcKind::Chord
                                                                             : Player::ArcKind::Pie;
            p_.arc(kind, X(8), X(12), X(16), X(20), X(24), X(28), X(32), X(36));
            break;
        }
        case 54: p_.lineTo(X(8), X(12)); break;
        case 55: p_.arcTo(X(8), X(12), X(16), X(20), X(24), X(28), X(32), X(36)); break;
        case 57: p_.s.clockwise = r.u32(8) == 2; break;
        case 83: case 84: textRecord(type == 84, r); break;
        case 76: case 77: {  // BitBlt, StretchBlt
            const std::uint32_t rop = r.u32(40);
            if (r.u32(88) == 0) {  // no source bitmap: a pattern fill
                p_.blit(QImage(), 0, 0, 1, 1, X(24), X(28), X(32), X(36), rop);
                break;
            }
            DecodedDib dib;
            if (!dibAt(r, 84, 88, 92, 96, r.u32(80) == 1, &dib)) break;
            const int sw = type == 77 ? r.i32(100) : r.i32(32), sh = type == 77 ? r.i32(104) : r.i32(36);
            p_.blit(dib.image, r.i32(44), r.i32(48), sw, sh, X(24), X(28), X(32), X(36), rop);
            break;
        }
        case 80: {  // SetDIBitsToDevice: the DIB's own pixels, unstretched, copied
            DecodedDib dib;
            if (!dibAt(r, 48, 52, 56, 60, r.u32(64) == 1, &dib)) break;
            const std::int64_t xs = r.i32(32), ys = r.i32(36), w = r.i32(40), h = r.i32(44);
            const std::int64_t top = dib.bottomUp ? dib.image.height() - ys - h : ys;
            p_.blit(dib.image, xs, top, w, h, X(24), X(28), double(w), double(h), 0x00CC0020);
            break;
        }
        case 81: {  // StretchDIBits
            DecodedDib dib;
            if (!dibAt(r, 48, 52, 56, 60, r.u32(64) == 1, &dib)) break;
            const std::int64_t xs = r.i32(32), ys = r.i32(36), sw = r.i32(40), sh = r.i32(44);
            const std::int64_t top = dib.bottomUp ? dib.image.height() - ys - sh : ys;
            p_.blit(dib.image, xs, top, sw, sh, X(24), X(28), X(72), X(76), r.u32(68));
            break;
        }
        default: break;  // unknown or unsupported: skipped
        }
    }

private:
    static Xform xform(const Record& r, std::int64_t at) {
        return Xform{r.f32(at), r.f32(at + 4), r.f32(at + 8), r.f32(at + 12), r.f32(at + 16), r.f32(at + 20)};
    }

    static bool dibAt(const Record& r, std::int64_t offBmi, std::int64_t cbBmi, std::int64_t offBits,
                      std::int64_t cbBits, bool paletteIndexes, DecodedDib* out) {
        const std::int64_t ob = r.u32(offBmi), nb = r.u32(cbBmi), os = r.u32(offBits), ns = r.u32(cbBits);
        if (!r.has(ob, nb) || !r.has(os, ns) || nb == 0) return false;
        return decodeDib(r.data() + ob, nb, r.data() + os, ns, paletteIndexes, out);
    }

    // An RGNDATA block at `at`: a header (its size, type, count, ...) and the rectangles.
    static QRegion regionData(const Record& r, std::int64_t at) {
        const std::uint32_t head = r.u32(at), count = r.u32(at + 8);
        QRegion region;
        if (head < 32 || !r.has(at + std::int64_t(head), std::int64_t(count) * 16)) return region;
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::int64_t q = at + std::int64_t(head) + 16 * std::int64_t(i);
            region += rawRect(r.i32(q), r.i32(q + 4), r.i32(q + 8), r.i32(q + 12));
        }
        return region;
    }
    // The brush of an object index, stock brushes included; white when there is none.
    LogBrush brushAt(std::uint32_t index) {
        const DcState saved = p_.s;
        select(index);
        const LogBrush b = p_.s.brush;
        p_.s = saved;
        return b;
    }

    // The 8 by 8 corner of a one-bit DIB (a smaller one repeats), rows from the top.
    static bool monoRows(const Record& r, std::uint8_t rows[8]) {
        const std::int64_t ob = r.u32(16), os = r.u32(24), ns = r.u32(28);
        if (!r.has(ob, 16) || r.u16(ob + 14) != 1 || !r.has(os, ns)) return false;
        const std::int64_t w = r.i32(ob + 4), h = r.i32(ob + 8);
        const std::int64_t height = h < 0 ? -h : h, stride = (w + 31) / 32 * 4;
        if (w <= 0 || height <= 0 || height > 65536 || !r.has(os, stride * height)) return false;
        for (int y = 0; y < 8; ++y) {
            const std::int64_t row = y % height, stored = h < 0 ? row : height - 1 - row;
            std::uint8_t v = 0;
            for (int x = 0; x < 8; ++x) {
                const std::int64_t px = x % w;
                v = std::uint8_t(v << 1 | ((r.u8(os + stored * stride + px / 8) >> (7 - px % 8)) & 1));
            }
            rows[y] = v;
        }
        return true;
    }

    void store(std::uint32_t index, const GdiObject& o) {
        if (index & 0x80000000u) return;
        if (objects_.size() >= kMaxObjects && !objects_.count(index)) return;
        objects_[index] = o;
    }

    void select(std::uint32_t index) {
        if (!(index & 0x80000000u)) {
            auto it = objects_.find(index);
            if (it != objects_.end()) p_.select(it->second);
            return;
        }
        GdiObject o;
        const std::uint32_t stock = index & 0x7FFFFFFF;
        static const TColor kStockBrushes[5] = {clWhite, 0xC0C0C0, 0x808080, 0x404040, clBlack};
        if (stock <= 4 || stock == 18) {
            o.kind = GdiObject::Brush;
            o.brush.color = stock == 18 ? clWhite : kStockBrushes[stock];
        } else if (stock == 5) {
            o.kind = GdiObject::Brush;
            o.brush.style = BS_NULL;
        } else if (stock == 6 || stock == 7 || stock == 19) {
            o.kind = GdiObject::Pen;
            o.pen.color = stock == 6 ? clWhite : clBlack;
        } else if (stock == 8) {
            o.kind = GdiObject::Pen;
            o.pen.style = PS_NULL;
        } else if (stock >= 10 && stock <= 17) {
            o.kind = GdiObject::Font;
        }
        p_.select(o);
    }

    void polyRecord(std::uint32_t type, const Record& r, bool small) {
        // bounds, count, points
        const std::uint32_t n = r.u32(24);
        const std::int64_t size = small ? 4 : 8;
        if (!r.has(28, std::int64_t(n) * size)) return;
        std::vector<QPointF> pts = points(r, 28, n, small);
        switch (type) {
        case 2: p_.polyBezier(pts); break;
        case 3: p_.polygon(pts); break;
        case 4: p_.polyline(pts); break;
        case 5: p_.polyBezierTo(pts); break;
        case 6: p_.polylineTo(pts); break;
        default: break;
        }
    }

    void polyPolyRecord(bool polygon, const Record& r, bool small) {
        // bounds, number of polys, total points, counts, points
        const std::uint32_t polys = r.u32(24), total = r.u32(28);
        const std::int64_t size = small ? 4 : 8;
        if (!r.has(32, std::int64_t(polys) * 4)) return;
        const std::int64_t at0 = 32 + std::int64_t(polys) * 4;
        if (!r.has(at0, std::int64_t(total) * size)) return;
        std::vector<std::vector<QPointF>> rings;
        std::int64_t used = 0;
        for (std::uint32_t i = 0; i < polys; ++i) {
            const std::uint32_t n = r.u32(32 + 4 * i);
            if (used + n > total) return;
            rings.push_back(points(r, at0 + used * size, n, small));
            used += n;
        }
        if (polygon) {
            p_.polyPolygon(rings);
        } else {
            for (const auto& ring : rings) p_.polyline(ring);
        }
    }

    static std::vector<QPointF> points(const Record& r, std::int64_t at, std::uint32_t n, bool small) {
        std::vector<QPointF> pts;
        pts.reserve(n);
        for (std::uint32_t i = 0; i < n; ++i) {
            if (small)
                pts.emplace_back(r.i16(at + 4 * i), r.i16(at + 4 * i + 2));
            else
                pts.emplace_back(r.i32(at + 8 * i), r.i32(at + 8 * i + 4));
        }
        return pts;
    }

    void textRecord(bool wide, const Record& r) {
        // bounds, graphics mode, x/y scale, then EMRTEXT: reference, count, string offset,
        // options, rectangle, dx offset.
        const double x = r.i32(36), y = r.i32(40);
        const std::uint32_t n = r.u32(44), off = r.u32(48), options = r.u32(52);
        const Rect rect{r.i32(56), r.i32(60), r.i32(64), r.i32(68)};
        const std::int64_t bytes = std::int64_t(n) * (wide ? 2 : 1);
        if (!r.has(off, bytes) || !r.has(72, 4)) return;
        QString text;
        if (wide) {
            text.reserve(qsizetype(n));
            for (std::uint32_t i = 0; i < n; ++i) text += QChar(r.u16(off + 2 * std::int64_t(i)));
        } else {
            text = latin1Text(r.data() + off, bytes);
        }
        const bool hasRect = (options & (ETO_OPAQUE | ETO_CLIPPED)) && rect.right > rect.left && rect.bottom > rect.top;
        // The advances: one per character, or an x and a y each with ETO_PDY.
        std::vector<double> dx;
        const std::int64_t dxAt = r.u32(72), step = (options & ETO_PDY) ? 8 : 4;
        if (dxAt > 0 && n > 0 && r.has(dxAt, std::int64_t(n) * step))
            for (std::uint32_t i = 0; i < n; ++i) dx.push_back(r.i32(dxAt + step * std::int64_t(i)));
        p_.text(x, y, text, options, hasRect ? &rect : nullptr, dx.empty() ? nullptr : &dx);
    }

    Player& p_;
    std::unordered_map<std::uint32_t, GdiObject> objects_;
};

bool fail(QString* error, const QString& why) {
    if (error) *error = why;
    return false;
}

QString truncated(std::int64_t at) {
    return QStringLiteral("the metafile is truncated: it ends before its end record (no whole record at byte %1)").arg(at);
}
QString badRecordSize(std::int64_t at, std::int64_t size) {
    return QStringLiteral("the metafile is damaged: the record at byte %1 has an impossible size (%2 bytes)").arg(at).arg(size);
}
QString runsPastEnd(std::int64_t at, std::int64_t size) {
    return QStringLiteral("the metafile is truncated: the record at byte %1 claims %2 bytes, past the end of the file")
        .arg(at)
        .arg(size);
}

}  // namespace

Metafile::Metafile() = default;
Metafile::~Metafile() = default;

bool Metafile::load(const QByteArray& bytes, QString* error) {
    data_.clear();
    width_ = height_ = 0;
    const Record all(reinterpret_cast<const std::uint8_t*>(bytes.constData()), bytes.size());
    if (bytes.isEmpty()) return fail(error, QStringLiteral("the file is empty"));

    // Enhanced: an EMR_HEADER record with the " EMF" signature.
    if (all.u32(0) == 1 && all.u32(40) == 0x464D4520) {
        const std::uint32_t headerSize = all.u32(4);
        if (headerSize < 88 || headerSize > bytes.size()) return fail(error, QStringLiteral("the metafile header is damaged"));
        // Every record must fit, and the end-of-file record must come: a file cut short would
        // otherwise play half its picture without a word.
        std::int64_t p = 0;
        bool ended = false;
        while (!ended) {
            if (p + 8 > bytes.size()) return fail(error, truncated(p));
            const std::uint32_t type = all.u32(p), size = all.u32(p + 4);
            if (size < 8 || size % 4) return fail(error, badRecordSize(p, size));
            if (size > bytes.size() - p) return fail(error, runsPastEnd(p, size));
            p += size;
            ended = type == 14;
        }
        const std::int32_t devX = all.i32(72), devY = all.i32(76), mmX = all.i32(80), mmY = all.i32(84);
        double pxX = 96 / 25.4, pxY = 96 / 25.4;
        if (devX > 0 && devY > 0 && mmX > 0 && mmY > 0) {
            pxX = double(devX) / mmX;
            pxY = double(devY) / mmY;
        }
        const std::int64_t fl = all.i32(24), ft = all.i32(28), fr = all.i32(32), fb = all.i32(36);
        const std::int64_t bl = all.i32(8), bt = all.i32(12), br = all.i32(16), bb = all.i32(20);
        double w = 0, h = 0;
        if (fr > fl && fb > ft) {
            // The frame, in hundredths of a millimetre, turned into reference pixels and
            // rounded, as the system sizes a picture it plays into its own frame.
            w = std::round(double(fr - fl) * pxX / 100);
            h = std::round(double(fb - ft) * pxY / 100);
            frame_[0] = double(fl), frame_[1] = double(ft), frame_[2] = double(fr - fl), frame_[3] = double(fb - ft);
        } else if (br >= bl && bb >= bt) {
            // No usable frame: the inclusive bounds, drawn without any mapping.
            w = double(br - bl + 1);
            h = double(bb - bt + 1);
            frame_[2] = frame_[3] = 0;
        }
        if (w <= 0 || h <= 0) return fail(error, QStringLiteral("the metafile has no size"));
        if (!imageSizeAllowed(w, h))
            return fail(error, QStringLiteral("the picture is too large (%1 by %2)").arg(w).arg(h));
        enhanced_ = true;
        width_ = int(w);
        height_ = int(h);
        pxPerMmX_ = pxX;
        pxPerMmY_ = pxY;
        data_ = bytes;
        return true;
    }

    // Windows metafile, with or without the placeable header.
    std::int64_t pos = 0;
    placeable_ = all.u32(0) == kPlaceableKey;
    if (placeable_) {
        if (!all.has(0, 22)) return fail(error, QStringLiteral("the file is truncated"));
        for (int i = 0; i < 4; ++i) box_[i] = all.i16(6 + 2 * i);
        pos = 22;
    }
    const int type = all.u16(pos), headerWords = all.u16(pos + 2);
    if (!all.has(pos, 18) || (type != 1 && type != 2) || headerWords != 9)
        return fail(error, QStringLiteral("it is not a metafile"));
    objects_ = all.u16(pos + 10);
    recordsStart_ = int(pos + 18);
    bool haveExt = false, haveOrg = false;
    std::int64_t p = recordsStart_;
    // As for EMF: every record fits and the end record (function 0) comes.
    for (;;) {
        if (p + 6 > bytes.size()) return fail(error, truncated(p));
        const std::int64_t size = std::int64_t(all.u32(p)) * 2;
        const int func = all.u16(p + 4);
        if (size < 6) return fail(error, badRecordSize(p, size));
        if (size > bytes.size() - p) return fail(error, runsPastEnd(p, size));
        if (func == 0) break;
        if (func == 0x020C && !haveExt && size >= 10) {
            windowExt_[1] = all.i16(p + 6);
            windowExt_[0] = all.i16(p + 8);
            haveExt = windowExt_[0] != 0 && windowExt_[1] != 0;
        }
        if (func == 0x020B && !haveOrg && size >= 10) {
            windowOrg_[1] = all.i16(p + 6);
            windowOrg_[0] = all.i16(p + 8);
            haveOrg = true;
        }
        p += size;
    }
    std::int64_t w = 0, h = 0;
    if (placeable_) {
        const int inch = all.u16(14) ? all.u16(14) : 1440;
        w = std::llround(std::abs(double(box_[2] - box_[0])) * 96 / inch);
        h = std::llround(std::abs(double(box_[3] - box_[1])) * 96 / inch);
        if (w <= 0 || h <= 0) return fail(error, QStringLiteral("the metafile has no size"));
    } else if (haveExt) {
        w = std::abs(windowExt_[0]);
        h = std::abs(windowExt_[1]);
    }
    if ((w || h) && !imageSizeAllowed(w, h))
        return fail(error, QStringLiteral("the picture is too large (%1 by %2)").arg(w).arg(h));
    enhanced_ = false;
    width_ = int(w);
    height_ = int(h);
    data_ = bytes;
    return true;
}

void Metafile::play(Canvas& canvas, int width, int height) const {
    if (data_.isEmpty() || width <= 0 || height <= 0) return;
    CanvasStateGuard guard(canvas);
    const auto* d = reinterpret_cast<const std::uint8_t*>(data_.constData());
    const std::int64_t n = data_.size();
    const Record all(d, n);

    if (enhanced_) {
        Player player(canvas, pxPerMmX_, pxPerMmY_);
        player.inclusiveBoxes = true;
        if (frame_[2] > 0 && frame_[3] > 0) {
            // The frame is stretched over the output exactly; the picture's rounded size
            // leaves the reference pixel a hair off one output pixel.
            player.osx = width * 100.0 / (frame_[2] * pxPerMmX_);
            player.osy = height * 100.0 / (frame_[3] * pxPerMmY_);
            player.odx = -frame_[0] * width / frame_[2];
            player.ody = -frame_[1] * height / frame_[3];
        } else {
            player.osx = double(width) / width_;
            player.osy = double(height) / height_;
        }
        EmfPlayer emf(player);
        std::int64_t p = 0;
        while (p + 8 <= n) {
            const std::uint32_t type = all.u32(p), size = all.u32(p + 4);
            if (size < 8 || size > n - p) break;
            if (type == 14) break;
            emf.play(type, Record(d + p, size));
            p += size;
        }
        return;
    }

    Player player(canvas, 96 / 25.4, 96 / 25.4);
    if (placeable_ || (width_ > 0 && height_ > 0)) {
        // The player maps the picture's window onto the output, as a placed metafile is drawn.
        player.s.mapMode = MM_ANISOTROPIC;
        if (placeable_) {
            player.s.wox = box_[0];
            player.s.woy = box_[1];
            player.setWindowExt(box_[2] - box_[0], box_[3] - box_[1]);
        } else {
            player.s.wox = windowOrg_[0];
            player.s.woy = windowOrg_[1];
            player.setWindowExt(windowExt_[0], windowExt_[1]);
        }
        player.setViewportExt(width, height);
    }
    WmfPlayer wmf(player, std::size_t(objects_));
    std::int64_t p = recordsStart_;
    while (p + 6 <= n) {
        const std::int64_t size = std::int64_t(all.u32(p)) * 2;
        const int func = all.u16(p + 4);
        if (size < 6 || size > n - p || func == 0) break;
        wmf.play(func, Record(d + p, size));
        p += size;
    }
}

}  // namespace pixoral
