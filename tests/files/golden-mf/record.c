/*
 * record.c -- writes the golden metafiles of this folder with a real GDI.
 *
 * Built with mingw-w64 and run under Wine (see README.md); it records each picture with
 * CreateMetaFile or CreateEnhMetaFile into the current folder. The same drawing function
 * often serves a WMF and an EMF case, so the two players are held to the same picture.
 * Records a WMF cannot hold (Beziers, paths, arc direction) are only drawn into EMFs.
 */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

typedef void (*DrawFn)(HDC dc);

/* ---- objects: each helper selects a new object and deletes the one it replaces ---- */

static HGDIOBJ ownPen, ownBrush, ownFont;

static void swapIn(HDC dc, HGDIOBJ obj, HGDIOBJ *own)
{
    SelectObject(dc, obj);
    if (*own) DeleteObject(*own);
    *own = obj;
}
static void pen(HDC dc, int style, int width, COLORREF c) { swapIn(dc, CreatePen(style, width, c), &ownPen); }
static void brush(HDC dc, COLORREF c) { swapIn(dc, CreateSolidBrush(c), &ownBrush); }
static void hatch(HDC dc, int style, COLORREF c) { swapIn(dc, CreateHatchBrush(style, c), &ownBrush); }
static void nullBrush(HDC dc) { swapIn(dc, GetStockObject(NULL_BRUSH), &ownBrush); ownBrush = 0; }
static void font(HDC dc, int height, int weight, BOOL italic, const char *face)
{
    swapIn(dc, CreateFontA(height, 0, 0, 0, weight, italic, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, face), &ownFont);
}
static void release(HDC dc)
{
    SelectObject(dc, GetStockObject(BLACK_PEN));
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    if (ownPen) DeleteObject(ownPen);
    if (ownBrush) DeleteObject(ownBrush);
    if (ownFont) DeleteObject(ownFont);
    ownPen = ownBrush = ownFont = 0;
}
static void line(HDC dc, int x0, int y0, int x1, int y1)
{
    MoveToEx(dc, x0, y0, NULL);
    LineTo(dc, x1, y1);
}

/* A 16 by 12 24-bit DIB: colour bands with a black diagonal, so any flip or offset shows. */
static BITMAPINFOHEADER dibHeader = {sizeof(BITMAPINFOHEADER), 16, 12, 1, 24, BI_RGB, 16 * 3 * 12, 0, 0, 0, 0};
static BYTE dibBits[16 * 3 * 12];
static void makeDib(void)
{
    for (int y = 0; y < 12; y++)     /* bottom-up rows */
        for (int x = 0; x < 16; x++) {
            BYTE *p = dibBits + (y * 16 + x) * 3;
            int top = 11 - y;
            p[0] = (BYTE)(x * 16);               /* blue grows to the right */
            p[1] = (BYTE)(top * 20);             /* green grows downwards */
            p[2] = (BYTE)(top < 4 ? 255 : 60);   /* a red band at the top */
            if (x == top) p[0] = p[1] = p[2] = 0;
        }
}

/* ---- drawings ---- */

static void shapesThin(HDC dc)
{
    pen(dc, PS_SOLID, 1, RGB(0, 0, 0));
    brush(dc, RGB(255, 192, 0));
    Rectangle(dc, 8, 8, 40, 32);
    Ellipse(dc, 48, 8, 88, 40);
    RoundRect(dc, 96, 8, 124, 40, 12, 10);
    pen(dc, PS_SOLID, 1, RGB(200, 0, 0));
    nullBrush(dc);
    Rectangle(dc, 8, 48, 40, 72);
    Ellipse(dc, 48, 48, 81, 90);
    Rectangle(dc, 44, 80, 42, 78); /* swapped corners */
    pen(dc, PS_SOLID, 0, RGB(0, 0, 160));
    line(dc, 90, 50, 124, 60);
    line(dc, 124, 70, 90, 62);
    line(dc, 100, 90, 110, 74);
    line(dc, 120, 74, 120, 92);
    for (int i = 0; i < 8; i++) SetPixel(dc, 8 + 3 * i, 84, RGB(0, 128 + 16 * i, 0));
}

static void shapesWide(HDC dc)
{
    brush(dc, RGB(160, 220, 255));
    pen(dc, PS_SOLID, 2, RGB(0, 0, 0));
    line(dc, 6, 6, 40, 6);
    line(dc, 6, 12, 40, 22);
    Rectangle(dc, 48, 4, 80, 28);
    pen(dc, PS_SOLID, 3, RGB(180, 0, 0));
    line(dc, 6, 30, 40, 44);
    Rectangle(dc, 88, 4, 122, 28);
    Ellipse(dc, 6, 50, 46, 90);
    pen(dc, PS_SOLID, 5, RGB(0, 120, 0));
    line(dc, 56, 40, 90, 40);
    line(dc, 56, 50, 70, 90);
    RoundRect(dc, 80, 50, 122, 90, 16, 16);
}

static void styled(HDC dc)
{
    static const int styles[4] = {PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT};
    SetBkColor(dc, RGB(0, 200, 200));
    for (int i = 0; i < 4; i++) {
        pen(dc, styles[i], 1, RGB(0, 0, 0));
        SetBkMode(dc, OPAQUE);
        line(dc, 4, 4 + 6 * i, 124, 4 + 6 * i);
        SetBkMode(dc, TRANSPARENT);
        line(dc, 4, 30 + 6 * i, 124, 30 + 6 * i);
    }
    pen(dc, PS_DASH, 1, RGB(200, 0, 0));
    SetBkMode(dc, OPAQUE);
    brush(dc, RGB(255, 255, 128));
    Rectangle(dc, 4, 56, 60, 92);
    POINT zig[5] = {{70, 90}, {80, 58}, {92, 90}, {104, 58}, {124, 90}};
    pen(dc, PS_DASHDOT, 1, RGB(0, 0, 200));
    Polyline(dc, zig, 5);
}

static void insideNull(HDC dc)
{
    brush(dc, RGB(255, 220, 0));
    pen(dc, PS_INSIDEFRAME, 5, RGB(0, 0, 180));
    Rectangle(dc, 4, 4, 40, 40);
    Ellipse(dc, 46, 4, 82, 40);
    RoundRect(dc, 88, 4, 124, 40, 14, 14);
    pen(dc, PS_NULL, 1, 0);
    Rectangle(dc, 4, 48, 40, 90);
    Ellipse(dc, 46, 48, 82, 90);
    POINT tri[3] = {{88, 90}, {106, 48}, {124, 90}};
    Polygon(dc, tri, 3);
}

static void arcs(HDC dc)
{
    pen(dc, PS_SOLID, 1, RGB(0, 0, 0));
    brush(dc, RGB(120, 200, 120));
    Arc(dc, 4, 4, 40, 40, 40, 22, 22, 4);
    Arc(dc, 44, 4, 84, 36, 44, 4, 84, 36);
    Chord(dc, 88, 4, 124, 40, 124, 4, 88, 40);
    Pie(dc, 4, 46, 44, 90, 44, 68, 4, 46);
    Pie(dc, 48, 46, 84, 90, 66, 90, 84, 46);
    pen(dc, PS_SOLID, 3, RGB(200, 0, 0));
    Arc(dc, 88, 46, 124, 90, 88, 68, 124, 68);
}

static void arcsClockwise(HDC dc)
{
    SetArcDirection(dc, AD_CLOCKWISE);
    arcs(dc);
}

static void polys(HDC dc)
{
    POINT star[5] = {{30, 4}, {44, 44}, {6, 18}, {54, 18}, {16, 44}};
    POINT zig[6] = {{64, 4}, {80, 30}, {90, 8}, {104, 40}, {114, 10}, {124, 44}};
    POINT rings[8] = {{4, 52}, {60, 52}, {60, 92}, {4, 92}, {16, 62}, {48, 62}, {48, 82}, {16, 82}};
    int counts[2] = {4, 4};
    pen(dc, PS_SOLID, 1, RGB(0, 0, 0));
    brush(dc, RGB(255, 120, 120));
    SetPolyFillMode(dc, ALTERNATE);
    Polygon(dc, star, 5);
    pen(dc, PS_SOLID, 1, RGB(0, 0, 200));
    Polyline(dc, zig, 6);
    pen(dc, PS_SOLID, 1, RGB(0, 100, 0));
    brush(dc, RGB(200, 200, 255));
    PolyPolygon(dc, rings, counts, 2);
    SetPolyFillMode(dc, WINDING);
    for (int i = 0; i < 5; i++) star[i].x += 66, star[i].y += 48;
    Polygon(dc, star, 5);
}

static void beziers(HDC dc)
{
    POINT b1[7] = {{4, 40}, {20, 0}, {40, 80}, {60, 20}, {70, 0}, {90, 60}, {124, 8}};
    POINT b2[3] = {{40, 50}, {80, 96}, {124, 60}};
    POINT pl[3] = {{10, 90}, {30, 70}, {4, 70}};
    POINT pp[6] = {{70, 70}, {90, 90}, {124, 70}, {70, 92}, {90, 80}, {124, 92}};
    DWORD ppc[2] = {3, 3};
    pen(dc, PS_SOLID, 1, RGB(0, 0, 0));
    PolyBezier(dc, b1, 7);
    pen(dc, PS_SOLID, 1, RGB(200, 0, 0));
    MoveToEx(dc, 4, 50, NULL);
    PolyBezierTo(dc, b2, 3);
    pen(dc, PS_SOLID, 1, RGB(0, 150, 0));
    MoveToEx(dc, 30, 92, NULL);
    PolylineTo(dc, pl, 3);
    pen(dc, PS_SOLID, 1, RGB(0, 0, 200));
    PolyPolyline(dc, pp, ppc, 2);
}

static void paths(HDC dc)
{
    POINT c[3] = {{40, 0}, {60, 40}, {20, 44}};
    pen(dc, PS_SOLID, 1, RGB(0, 0, 0));
    brush(dc, RGB(255, 160, 60));
    BeginPath(dc);
    MoveToEx(dc, 4, 4, NULL);
    LineTo(dc, 30, 4);
    PolyBezierTo(dc, c, 3);
    CloseFigure(dc);
    EndPath(dc);
    StrokeAndFillPath(dc);
    BeginPath(dc);
    MoveToEx(dc, 70, 4, NULL);
    LineTo(dc, 124, 4);
    LineTo(dc, 124, 44);
    LineTo(dc, 70, 44);
    CloseFigure(dc);
    MoveToEx(dc, 80, 14, NULL);
    LineTo(dc, 114, 14);
    LineTo(dc, 114, 34);
    LineTo(dc, 80, 34);
    CloseFigure(dc);
    EndPath(dc);
    FillPath(dc);
    pen(dc, PS_SOLID, 1, RGB(0, 0, 200));
    BeginPath(dc);
    MoveToEx(dc, 4, 60, NULL);
    LineTo(dc, 60, 90);
    LineTo(dc, 60, 56);
    EndPath(dc);
    StrokePath(dc);
}

/* Curved figures inside paths, filled and stroked; a clip from a path. */
static void curvedPaths(HDC dc)
{
    pen(dc, PS_SOLID, 1, RGB(0, 0, 0));
    brush(dc, RGB(120, 220, 120));
    BeginPath(dc);
    Ellipse(dc, 4, 4, 60, 44);
    EndPath(dc);
    StrokeAndFillPath(dc);
    BeginPath(dc);
    Rectangle(dc, 68, 4, 124, 44);
    Ellipse(dc, 80, 10, 112, 38);
    EndPath(dc);
    FillPath(dc);
    BeginPath(dc);
    RoundRect(dc, 70, 50, 124, 92, 20, 14);
    EndPath(dc);
    StrokeAndFillPath(dc);
    BeginPath(dc);
    Pie(dc, 66, 4, 100, 40, 100, 22, 83, 4);
    Chord(dc, 98, 4, 126, 40, 98, 4, 126, 40);
    Arc(dc, 4, 4, 62, 44, 62, 24, 4, 24);
    EndPath(dc);
    StrokePath(dc);
    BeginPath(dc);
    Ellipse(dc, 4, 50, 60, 92);
    EndPath(dc);
    SelectClipPath(dc, RGN_COPY);
    brush(dc, RGB(220, 120, 220));
    Rectangle(dc, 0, 40, 64, 96);
    SelectClipRgn(dc, NULL);
}

static const BYTE mono8[16] = {0xF0, 0, 0xE0, 0, 0xC0, 0, 0x80, 0, 0x0F, 0, 0x07, 0, 0x03, 0, 0x01, 0};

static void brushes(HDC dc)
{
    pen(dc, PS_SOLID, 1, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 160));
    /* Each hatch is selected after the background mode is set: Wine's raster engine fixes a
     * hatch's background when the brush is first used, where GDI takes the mode of the moment. */
    for (int i = 0; i < 6; i++) {
        SetBkMode(dc, OPAQUE);
        hatch(dc, i, RGB(0, 0, 200));
        Rectangle(dc, 4 + 20 * i, 4, 22 + 20 * i, 26);
        SetBkMode(dc, TRANSPARENT);
        hatch(dc, i, RGB(0, 0, 200));
        Rectangle(dc, 4 + 20 * i, 30, 22 + 20 * i, 52);
    }
    SetBkMode(dc, OPAQUE);
    /* A colour bitmap pattern. */
    DWORD px[64];
    for (int i = 0; i < 64; i++) px[i] = ((i / 8 + i % 8) & 2) ? 0x00FF4040 : 0x0040C040;
    HBITMAP bm = CreateBitmap(8, 8, 1, 32, px);
    swapIn(dc, CreatePatternBrush(bm), &ownBrush);
    DeleteObject(bm);
    Rectangle(dc, 4, 58, 40, 92);
    /* A DIB pattern, packed: header then pixels (24 bits, bottom-up). */
    struct { BITMAPINFOHEADER h; BYTE bits[8 * 8 * 3]; } packed;
    memset(&packed, 0, sizeof packed);
    packed.h.biSize = sizeof packed.h;
    packed.h.biWidth = 8;
    packed.h.biHeight = 8;
    packed.h.biPlanes = 1;
    packed.h.biBitCount = 24;
    packed.h.biSizeImage = sizeof packed.bits;
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 8; x++) {
            BYTE *p = packed.bits + (y * 8 + x) * 3;
            p[0] = (BYTE)(x < 4 ? 255 : 0);
            p[1] = (BYTE)(y < 4 ? 0 : 200);
            p[2] = (BYTE)(x == y ? 255 : 0);
        }
    swapIn(dc, CreateDIBPatternBrushPt(&packed, DIB_RGB_COLORS), &ownBrush);
    POINT tri[3] = {{46, 92}, {64, 58}, {82, 92}};
    Polygon(dc, tri, 3);
    /* A monochrome pattern takes the text and background colours. */
    SetTextColor(dc, RGB(160, 0, 160));
    SetBkColor(dc, RGB(220, 255, 220));
    bm = CreateBitmap(8, 8, 1, 1, mono8);
    swapIn(dc, CreatePatternBrush(bm), &ownBrush);
    DeleteObject(bm);
    Rectangle(dc, 88, 58, 124, 92);
}

static void mixes(HDC dc)
{
    static const COLORREF stripes[4] = {RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 160, 255), RGB(255, 255, 255)};
    pen(dc, PS_NULL, 1, 0);
    for (int i = 0; i < 4; i++) {
        brush(dc, stripes[i]);
        Rectangle(dc, 32 * i, 0, 32 * i + 33, 97);
    }
    brush(dc, RGB(0, 200, 0));
    for (int m = 0; m < 16; m++) {
        int y = 6 * m;
        SetROP2(dc, m + 1);
        pen(dc, PS_SOLID, 1, RGB(200, 100, 255));
        POINT band[4] = {{2, y + 1}, {70, y + 1}, {74, y + 4}, {6, y + 4}};
        Polygon(dc, band, 4);
        line(dc, 80, y + 2, 126, y + 2);
        line(dc, 80, y + 4, 126, y + 5);
    }
    SetROP2(dc, R2_COPYPEN);
}

static void fills(HDC dc)
{
    HBRUSH b = CreateSolidBrush(RGB(0, 120, 200));
    HBRUSH h = CreateHatchBrush(HS_DIAGCROSS, RGB(200, 0, 0));
    RECT r = {4, 4, 60, 44};
    FillRect(dc, &r, b);
    SetRect(&r, 68, 4, 124, 44);
    FillRect(dc, &r, h);
    SetRect(&r, 10, 50, 118, 90);
    FrameRect(dc, &r, b);
    brush(dc, RGB(255, 200, 0));
    PatBlt(dc, 20, 56, 30, 28, PATCOPY);
    PatBlt(dc, 30, 10, 40, 20, PATINVERT);
    PatBlt(dc, 56, 56, 20, 28, DSTINVERT);
    PatBlt(dc, 82, 56, 12, 28, BLACKNESS);
    PatBlt(dc, 98, 56, 12, 28, WHITENESS);
    DeleteObject(b);
    DeleteObject(h);
}

static void dibs(HDC dc)
{
    BITMAPINFO *bi = (BITMAPINFO *)&dibHeader;
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, 4, 4, 16, 12, 0, 0, 16, 12, dibBits, bi, DIB_RGB_COLORS, SRCCOPY);
    StretchDIBits(dc, 24, 4, 32, 24, 0, 0, 16, 12, dibBits, bi, DIB_RGB_COLORS, SRCCOPY);
    StretchDIBits(dc, 92, 4, -32, 24, 0, 0, 16, 12, dibBits, bi, DIB_RGB_COLORS, SRCCOPY);
    StretchDIBits(dc, 96, 4, 16, 12, 4, 2, 8, 6, dibBits, bi, DIB_RGB_COLORS, SRCCOPY);
    SetDIBitsToDevice(dc, 96, 20, 16, 12, 0, 0, 0, 12, dibBits, bi, DIB_RGB_COLORS);
    /* Blits from a memory bitmap. */
    HDC mem = CreateCompatibleDC(NULL);
    void *bits = NULL;
    HBITMAP sec = CreateDIBSection(mem, bi, DIB_RGB_COLORS, &bits, NULL, 0);
    memcpy(bits, dibBits, sizeof dibBits);
    HGDIOBJ old = SelectObject(mem, sec);
    brush(dc, RGB(255, 0, 255));
    PatBlt(dc, 4, 40, 120, 52, PATCOPY);
    BitBlt(dc, 8, 44, 16, 12, mem, 0, 0, SRCCOPY);
    BitBlt(dc, 28, 44, 16, 12, mem, 0, 0, SRCINVERT);
    BitBlt(dc, 48, 44, 16, 12, mem, 0, 0, MERGECOPY);
    StretchBlt(dc, 68, 44, 48, 36, mem, 0, 0, 16, 12, SRCCOPY);
    StretchBlt(dc, 8, 60, 32, 24, mem, 0, 0, 16, 12, SRCAND);
    SelectObject(mem, old);
    DeleteObject(sec);
    DeleteDC(mem);
}

/* Shapes of a 128 by 96 picture, drawn in whatever mapping is current. */
static void scene(HDC dc, int dx, int dy, int k)
{
    pen(dc, PS_SOLID, 1, RGB(0, 0, 0));
    brush(dc, RGB(255, 150, 0));
    Rectangle(dc, dx + 4 * k, dy + 4 * k, dx + 60 * k, dy + 40 * k);
    brush(dc, RGB(0, 150, 255));
    Ellipse(dc, dx + 66 * k, dy + 4 * k, dx + 124 * k, dy + 40 * k);
    POINT tri[3] = {{dx + 4 * k, dy + 92 * k}, {dx + 30 * k, dy + 48 * k}, {dx + 60 * k, dy + 92 * k}};
    Polygon(dc, tri, 3);
    pen(dc, PS_SOLID, 2, RGB(200, 0, 0));
    line(dc, dx + 66 * k, dy + 50 * k, dx + 124 * k, dy + 60 * k);
    pen(dc, PS_SOLID, 1, RGB(0, 120, 0));
    Arc(dc, dx + 66 * k, dy + 50 * k, dx + 124 * k, dy + 92 * k, dx + 124 * k, dy + 92 * k, dx + 66 * k, dy + 50 * k);
}

static void wmfWindowChanges(HDC dc)
{
    scene(dc, 0, 0, 1);
    /* Mid-file: a window twice as large halves the picture; an offset moves it. */
    SetWindowExtEx(dc, 256, 192, NULL);
    SetWindowOrgEx(dc, -128, -96, NULL);
    scene(dc, 0, 0, 1);
    OffsetWindowOrgEx(dc, 128, 0, NULL);
    ScaleWindowExtEx(dc, 1, 2, 1, 2, NULL);
    pen(dc, PS_SOLID, 1, RGB(0, 0, 255));
    nullBrush(dc);
    Rectangle(dc, 0, 0, 60, 40);
}

static void emfAnisotropic(HDC dc)
{
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, 1000, 1000, NULL);
    SetViewportExtEx(dc, 64, 48, NULL);
    pen(dc, PS_SOLID, 1, RGB(0, 0, 0));
    brush(dc, RGB(255, 150, 0));
    Rectangle(dc, 50, 50, 950, 950);
    POINT tri[3] = {{100, 900}, {500, 100}, {900, 900}};
    brush(dc, RGB(0, 150, 255));
    Polygon(dc, tri, 3);
    SetViewportOrgEx(dc, 64, 0, NULL);
    ScaleViewportExtEx(dc, 1, 1, 2, 1, NULL);
    Rectangle(dc, 100, 100, 900, 1900);
    SetWindowOrgEx(dc, 0, 500, NULL);
    OffsetViewportOrgEx(dc, -64, 0, NULL);
    brush(dc, RGB(0, 200, 0));
    Rectangle(dc, 100, 1000, 900, 1400);
}

static void emfFlipped(HDC dc)
{
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, 128, -96, NULL);
    SetViewportExtEx(dc, 128, 96, NULL);
    SetViewportOrgEx(dc, 0, 96, NULL);
    scene(dc, 0, 0, 1);
}

static void wmfFlipped(HDC dc) { scene(dc, 0, 0, 1); }

static void emfTwips(HDC dc)
{
    /* y grows upwards from the bottom edge. */
    SetMapMode(dc, MM_TWIPS);
    SetViewportOrgEx(dc, 0, 96, NULL);
    pen(dc, PS_SOLID, 1, RGB(0, 0, 0));
    brush(dc, RGB(255, 200, 0));
    Rectangle(dc, 60, 1300, 900, 700);
    brush(dc, RGB(0, 200, 200));
    POINT tri[3] = {{1000, 100}, {1500, 1300}, {1850, 100}};
    Polygon(dc, tri, 3);
    line(dc, 60, 100, 900, 600);
}

static void emfLarge(HDC dc)
{
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowOrgEx(dc, -1000000, -750000, NULL);
    SetWindowExtEx(dc, 2000000, 1500000, NULL);
    SetViewportExtEx(dc, 128, 96, NULL);
    scene(dc, -1000000, -750000, 15625);
}

/* A picture whose own viewport extent shrinks its window: 256 by 192 units shown in a
 * quarter of the picture; then an isotropic mapping keeps the units square. */
static void viewportWmf(HDC dc)
{
    SetViewportExtEx(dc, 64, 48, NULL);
    scene(dc, 0, 0, 2);
    SetMapMode(dc, MM_ISOTROPIC);
    SetWindowExtEx(dc, 256, 128, NULL);
    SetViewportExtEx(dc, 128, 96, NULL);
    SetViewportOrgEx(dc, 0, 48, NULL);
    scene(dc, 0, 0, 1);
}

/* A metric mapping mode set inside the file: tenths of a millimetre, y upwards from the
 * top edge, whatever the window says. */
static void lometric(HDC dc)
{
    POINT tri[3] = {{20, -240}, {150, -120}, {300, -240}};
    SetMapMode(dc, MM_LOMETRIC);
    pen(dc, PS_SOLID, 1, RGB(0, 0, 0));
    brush(dc, RGB(255, 150, 0));
    Rectangle(dc, 10, -10, 160, -100);
    brush(dc, RGB(0, 150, 255));
    Ellipse(dc, 180, -10, 330, -110);
    Polygon(dc, tri, 3);
    line(dc, 10, -120, 330, -150);
}

static void largeWmf(HDC dc) { scene(dc, -30000, -20000, 468); }

static void twipsWmf(HDC dc) { scene(dc, 0, 0, 15); }

static void clips(HDC dc)
{
    pen(dc, PS_SOLID, 1, RGB(0, 0, 0));
    brush(dc, RGB(255, 100, 100));
    SaveDC(dc);
    IntersectClipRect(dc, 10, 10, 60, 50);
    Ellipse(dc, 0, 0, 80, 70);
    SaveDC(dc);
    IntersectClipRect(dc, 30, 0, 128, 30);
    brush(dc, RGB(0, 0, 255));
    Rectangle(dc, 20, 20, 70, 40);
    RestoreDC(dc, -1);
    line(dc, 0, 45, 128, 45);
    RestoreDC(dc, -1);
    brush(dc, RGB(100, 200, 100));
    ExcludeClipRect(dc, 80, 20, 100, 40);
    Rectangle(dc, 70, 8, 124, 56);
    SelectClipRgn(dc, NULL);
    HRGN rgn = CreateRectRgn(20, 60, 110, 88);
    SelectClipRgn(dc, rgn);
    DeleteObject(rgn);
    pen(dc, PS_SOLID, 3, RGB(0, 0, 200));
    for (int i = 0; i < 6; i++) line(dc, 0, 56 + 7 * i, 128, 50 + 9 * i);
    SelectClipRgn(dc, NULL);
    pen(dc, PS_SOLID, 1, RGB(200, 0, 200));
    line(dc, 0, 92, 128, 92);
}

/* World transforms (EMF only): a half-size shift, a quarter turn on top of it, none. */
static void world(HDC dc)
{
    XFORM half = {0.5f, 0, 0, 0.5f, 8, 4}, turn = {0, 1, -1, 0, 120, 0};
    POINT arrow[5] = {{10, 10}, {90, 10}, {90, 30}, {120, 20}, {10, 60}};
    SetGraphicsMode(dc, GM_ADVANCED);
    pen(dc, PS_SOLID, 1, RGB(0, 0, 0));
    brush(dc, RGB(255, 160, 0));
    SetWorldTransform(dc, &half);
    Polygon(dc, arrow, 5);
    line(dc, 0, 0, 120, 80);
    ModifyWorldTransform(dc, &turn, MWT_LEFTMULTIPLY);
    brush(dc, RGB(0, 160, 255));
    Polygon(dc, arrow, 5);
    ModifyWorldTransform(dc, NULL, MWT_IDENTITY);
    brush(dc, RGB(0, 200, 0));
    for (int i = 0; i < 5; i++) arrow[i].y += 30;
    Polygon(dc, arrow, 5);
    SetGraphicsMode(dc, GM_COMPATIBLE);
}

/* Regions painted, filled, framed and inverted. */
static void regions(HDC dc)
{
    HRGN a = CreateRectRgn(8, 8, 60, 40), b = CreateRectRgn(40, 24, 100, 70), c = CreateRectRgn(0, 0, 1, 1);
    HBRUSH hb = CreateHatchBrush(HS_CROSS, RGB(200, 0, 0)), sb = CreateSolidBrush(RGB(0, 0, 160));
    CombineRgn(c, a, b, RGN_OR);
    brush(dc, RGB(255, 220, 0));
    PaintRgn(dc, c);
    FillRgn(dc, a, hb);
    FrameRgn(dc, c, sb, 2, 3);
    InvertRgn(dc, b);
    OffsetRgn(b, 20, 16);
    FillRgn(dc, b, sb);
    DeleteObject(a);
    DeleteObject(b);
    DeleteObject(c);
    DeleteObject(hb);
    DeleteObject(sb);
}

/* Text in units of k logical units a pixel (k is 15 for a twips picture). */
static int k = 1;

static void text(HDC dc)
{
    static INT dx[6];
    RECT r = {60 * k, 62 * k, 124 * k, 90 * k};
    for (int i = 0; i < 6; i++) dx[i] = 14 * k;
    SetTextColor(dc, RGB(0, 0, 160));
    SetBkMode(dc, TRANSPARENT);
    font(dc, -16 * k, FW_NORMAL, FALSE, "Arial");
    TextOutA(dc, 4 * k, 4 * k, "Pixels 42", 9);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, RGB(255, 255, 0));
    font(dc, -20 * k, FW_BOLD, FALSE, "Times New Roman");
    ExtTextOutA(dc, 4 * k, 26 * k, 0, NULL, "spaced", 6, dx);
    SetTextAlign(dc, TA_BASELINE | TA_CENTER);
    font(dc, -14 * k, FW_NORMAL, TRUE, "Courier New");
    SetTextColor(dc, RGB(200, 0, 0));
    ExtTextOutA(dc, 32 * k, 80 * k, ETO_OPAQUE, &r, "Mono", 4, NULL);
    SetTextAlign(dc, TA_TOP | TA_LEFT);
}

/* Turned text, text clipped to its rectangle, and text that moves the current position. */
static void textMore(HDC dc)
{
    RECT r = {70, 8, 120, 22};
    SetTextColor(dc, RGB(0, 100, 0));
    SetBkMode(dc, TRANSPARENT);
    swapIn(dc, CreateFontA(-14, 0, 900, 900, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, "Arial"), &ownFont);
    TextOutA(dc, 10, 90, "Up", 2);
    swapIn(dc, CreateFontA(-14, 0, 450, 450, FW_BOLD, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, "Arial"), &ownFont);
    TextOutA(dc, 30, 80, "Slope", 5);
    font(dc, -16, FW_NORMAL, FALSE, "Arial");
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, RGB(200, 220, 255));
    ExtTextOutA(dc, 64, 6, ETO_CLIPPED, &r, "Clipped text", 12, NULL);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_UPDATECP);
    MoveToEx(dc, 70, 40, NULL);
    TextOutA(dc, 0, 0, "one", 3);
    TextOutA(dc, 0, 0, "two", 3);
    SetTextAlign(dc, TA_TOP | TA_LEFT);
}

static void twipsText(HDC dc)
{
    k = 15;
    text(dc);
    k = 1;
}

/* ---- writers ---- */

static int failures;

static void check(BOOL ok, const char *name, const char *what)
{
    if (!ok) {
        fprintf(stderr, "%s: %s failed\n", name, what);
        failures++;
    }
}

/* EMF whose frame is w by h reference pixels (or none, sized by GDI from its bounds). */
static void emf(const char *name, int w, int h, BOOL framed, DrawFn draw)
{
    HDC ref = GetDC(NULL);
    int mmx = GetDeviceCaps(ref, HORZSIZE), mmy = GetDeviceCaps(ref, VERTSIZE);
    int pxx = GetDeviceCaps(ref, HORZRES), pxy = GetDeviceCaps(ref, VERTRES);
    ReleaseDC(NULL, ref);
    RECT frame = {0, 0, MulDiv(w, mmx * 100, pxx), MulDiv(h, mmy * 100, pxy)};
    HDC dc = CreateEnhMetaFileA(NULL, name, framed ? &frame : NULL, "Pixoral golden\0\0");
    check(dc != NULL, name, "CreateEnhMetaFile");
    if (!dc) return;
    draw(dc);
    release(dc);
    HENHMETAFILE mf = CloseEnhMetaFile(dc);
    check(mf != NULL, name, "CloseEnhMetaFile");
    if (mf) DeleteEnhMetaFile(mf);
}

/* Plain WMF: the window origin and extent come first and give the picture's size. */
static void wmf(const char *name, int ox, int oy, int ex, int ey, DrawFn draw)
{
    HDC dc = CreateMetaFileA(name);
    check(dc != NULL, name, "CreateMetaFile");
    if (!dc) return;
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowOrgEx(dc, ox, oy, NULL);
    SetWindowExtEx(dc, ex, ey, NULL);
    draw(dc);
    release(dc);
    HMETAFILE mf = CloseMetaFile(dc);
    check(mf != NULL, name, "CloseMetaFile");
    if (mf) DeleteMetaFile(mf);
}

/* Placeable WMF: a plain one with the 22-byte header in front (box in logical units). */
static void placeable(const char *name, int l, int t, int r, int b, int inch, DrawFn draw)
{
    char tmp[MAX_PATH];
    snprintf(tmp, sizeof tmp, "%s.tmp", name);
    wmf(tmp, l, t, r - l, b - t, draw);
    FILE *in = fopen(tmp, "rb");
    check(in != NULL, name, "reading the plain WMF");
    if (!in) return;
    static BYTE body[1 << 20];
    size_t n = fread(body, 1, sizeof body, in);
    fclose(in);
    remove(tmp);
    WORD head[11] = {0xCDD7, 0x9AC6, 0, (WORD)l, (WORD)t, (WORD)r, (WORD)b, (WORD)inch, 0, 0, 0};
    for (int i = 0; i < 10; i++) head[10] ^= head[i];
    FILE *out = fopen(name, "wb");
    check(out && fwrite(head, 2, 11, out) == 11 && fwrite(body, 1, n, out) == n, name, "writing");
    if (out) fclose(out);
}

int main(void)
{
    makeDib();
    wmf("wmf_shapes_thin.wmf", 0, 0, 128, 96, shapesThin);
    wmf("wmf_shapes_wide.wmf", 0, 0, 128, 96, shapesWide);
    wmf("wmf_styled.wmf", 0, 0, 128, 96, styled);
    wmf("wmf_insideframe_null.wmf", 0, 0, 128, 96, insideNull);
    wmf("wmf_arcs.wmf", 0, 0, 128, 96, arcs);
    wmf("wmf_polygons.wmf", 0, 0, 128, 96, polys);
    wmf("wmf_brushes.wmf", 0, 0, 128, 96, brushes);
    wmf("wmf_mixes.wmf", 0, 0, 128, 96, mixes);
    wmf("wmf_fills.wmf", 0, 0, 128, 96, fills);
    wmf("wmf_dibs.wmf", 0, 0, 128, 96, dibs);
    wmf("wmf_window_changes.wmf", 0, 0, 128, 96, wmfWindowChanges);
    wmf("wmf_window_offset.wmf", -40, -30, 128, 96, wmfFlipped);
    wmf("wmf_flipped.wmf", 0, 96, 128, -96, wmfFlipped);
    wmf("wmf_viewport.wmf", 0, 0, 256, 192, viewportWmf);
    wmf("wmf_regions.wmf", 0, 0, 128, 96, regions);
    wmf("wmf_lometric.wmf", 0, 0, 128, 96, lometric);
    wmf("wmf_clips.wmf", 0, 0, 128, 96, clips);
    placeable("wmf_placeable_twips.wmf", 0, 0, 1920, 1440, 1440, twipsWmf);
    placeable("wmf_placeable_large.wmf", -30000, -20000, 30000, 20000, 30000, largeWmf);
    placeable("wmf_placeable_shapes.wmf", 0, 0, 128, 96, 96, shapesThin);

    emf("emf_shapes_thin.emf", 128, 96, TRUE, shapesThin);
    emf("emf_shapes_wide.emf", 128, 96, TRUE, shapesWide);
    emf("emf_styled.emf", 128, 96, TRUE, styled);
    emf("emf_insideframe_null.emf", 128, 96, TRUE, insideNull);
    emf("emf_arcs.emf", 128, 96, TRUE, arcs);
    emf("emf_arcs_clockwise.emf", 128, 96, TRUE, arcsClockwise);
    emf("emf_polygons.emf", 128, 96, TRUE, polys);
    emf("emf_beziers.emf", 128, 96, TRUE, beziers);
    emf("emf_paths.emf", 128, 96, TRUE, paths);
    emf("emf_paths_curved.emf", 128, 96, TRUE, curvedPaths);
    emf("emf_brushes.emf", 128, 96, TRUE, brushes);
    emf("emf_mixes.emf", 128, 96, TRUE, mixes);
    emf("emf_fills.emf", 128, 96, TRUE, fills);
    emf("emf_dibs.emf", 128, 96, TRUE, dibs);
    emf("emf_anisotropic.emf", 128, 96, TRUE, emfAnisotropic);
    emf("emf_flipped.emf", 128, 96, TRUE, emfFlipped);
    emf("emf_twips.emf", 128, 96, TRUE, emfTwips);
    emf("emf_large.emf", 128, 96, TRUE, emfLarge);
    emf("emf_clips.emf", 128, 96, TRUE, clips);
    emf("emf_regions.emf", 128, 96, TRUE, regions);
    emf("emf_world.emf", 128, 96, TRUE, world);
    emf("emf_lometric.emf", 128, 96, TRUE, lometric);
    emf("emf_noframe.emf", 0, 0, FALSE, polys);
    emf("emf_size_256.emf", 256, 192, TRUE, shapesWide);

    wmf("text_plain.wmf", 0, 0, 128, 96, text);
    placeable("text_placeable.wmf", 0, 0, 1920, 1440, 1440, twipsText);
    emf("text_framed.emf", 128, 96, TRUE, text);
    emf("text_noframe.emf", 0, 0, FALSE, text);
    wmf("text_turned.wmf", 0, 0, 128, 96, textMore);
    emf("text_turned.emf", 128, 96, TRUE, textMore);
    return failures ? 1 : 0;
}
