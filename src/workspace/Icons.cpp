// The window's image list: small pictures drawn once, so no image files need to ship.
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <vector>

#include "workspace/Commands.h"

namespace pixoral {

namespace {

QImage drawIcon(int id) {
    QImage img(16, 16, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPen ink(QColor(20, 20, 20), 1.3);
    p.setPen(ink);
    auto brushBox = [&](Qt::BrushStyle s) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QBrush(Qt::black, s));
        p.drawRect(1, 1, 13, 13);
    };
    switch (id) {
        case icoLine: p.drawLine(QPointF(2, 13), QPointF(13, 2)); break;
        case icoSLine:
            p.drawLine(QPointF(2, 13), QPointF(2, 4));
            p.drawLine(QPointF(2, 4), QPointF(13, 4));
            break;
        case icoBezier: {
            QPainterPath path(QPointF(2, 13));
            path.cubicTo(QPointF(2, 0), QPointF(13, 16), QPointF(13, 2));
            p.drawPath(path);
            break;
        }
        case icoFreehand: {
            QPainterPath path(QPointF(2, 10));
            path.quadTo(QPointF(5, 2), QPointF(8, 8));
            path.quadTo(QPointF(11, 14), QPointF(14, 4));
            p.drawPath(path);
            break;
        }
        case icoArc: p.drawArc(QRectF(2, 2, 12, 12), 0, 200 * 16); break;
        case icoSpiral: {
            QPainterPath path(QPointF(8, 8));
            for (int i = 1; i < 60; ++i) {
                const double a = i * 0.3, r = i * 0.11;
                path.lineTo(8 + r * std::cos(a), 8 + r * std::sin(a));
            }
            p.drawPath(path);
            break;
        }
        case icoSpiro:
            for (int i = 0; i < 3; ++i) {
                p.save();
                p.translate(8, 8);
                p.rotate(i * 60);
                p.drawEllipse(QRectF(-7, -3, 14, 6));
                p.restore();
            }
            break;
        case icoRectangle: p.drawRect(QRectF(2, 3, 12, 10)); break;
        case icoSkewRect: p.drawPolygon(QPolygonF({QPointF(5, 3), QPointF(15, 3), QPointF(11, 13), QPointF(1, 13)})); break;
        case icoRoundRect: p.drawRoundedRect(QRectF(2, 3, 12, 10), 4, 4); break;
        case icoTriangle: p.drawPolygon(QPolygonF({QPointF(8, 2), QPointF(14, 13), QPointF(2, 13)})); break;
        case icoEllipse: p.drawEllipse(QRectF(1.5, 3.5, 13, 9)); break;
        case icoChord: p.drawChord(QRectF(2, 2, 12, 12), 30 * 16, 240 * 16); break;
        case icoPie: p.setBrush(QColor(250, 210, 90)); p.drawPie(QRectF(2, 2, 12, 12), 30 * 16, 280 * 16); break;
        case icoStar: {
            QPolygonF star;
            for (int i = 0; i < 10; ++i) {
                const double a = -M_PI / 2 + i * M_PI / 5, r = (i % 2) ? 3 : 7;
                star << QPointF(8 + r * std::cos(a), 8.5 + r * std::sin(a));
            }
            p.setBrush(QColor(250, 220, 60));
            p.drawPolygon(star);
            break;
        }
        case icoMaze:
            p.setRenderHint(QPainter::Antialiasing, false);
            p.drawRect(1, 1, 13, 13);
            p.drawLine(4, 1, 4, 10);
            p.drawLine(4, 10, 10, 10);
            p.drawLine(8, 4, 14, 4);
            p.drawLine(8, 4, 8, 7);
            break;
        case icoCube:
            p.drawRect(QRectF(2, 5, 8, 8));
            p.drawPolyline(QPolygonF({QPointF(2, 5), QPointF(6, 1), QPointF(14, 1), QPointF(14, 9), QPointF(10, 13)}));
            p.drawLine(QPointF(10, 5), QPointF(14, 1));
            break;
        case icoGlobe:
            p.drawEllipse(QRectF(2, 2, 12, 12));
            p.drawEllipse(QRectF(5, 2, 6, 12));
            p.drawLine(QPointF(2, 8), QPointF(14, 8));
            break;
        case icoCone:
            p.drawEllipse(QRectF(2, 10, 12, 4));
            p.drawLine(QPointF(8, 1), QPointF(2, 12));
            p.drawLine(QPointF(8, 1), QPointF(14, 12));
            break;
        case icoHMirror:
        case icoVMirror:
        case icoCMirror:
        case icoMirror4:
        case icoSym: {
            p.setPen(QPen(Qt::gray, 1, Qt::DotLine));
            if (id != icoVMirror) p.drawLine(8, 0, 8, 16);
            if (id == icoVMirror || id == icoMirror4 || id == icoCMirror) p.drawLine(0, 8, 16, 8);
            p.setPen(QPen(QColor(30, 60, 200), 1.5));
            p.drawLine(QPointF(3, 3), QPointF(6, 6));
            if (id != icoVMirror) p.drawLine(QPointF(13, 3), QPointF(10, 6));
            if (id != icoHMirror) p.drawLine(QPointF(3, 13), QPointF(6, 10));
            if (id == icoMirror4 || id == icoCMirror || id == icoSym) p.drawLine(QPointF(13, 13), QPointF(10, 10));
            break;
        }
        case icoSpray:
            p.setPen(QColor(200, 30, 30));
            for (const QPoint& d : {QPoint(3, 4), QPoint(6, 2), QPoint(9, 5), QPoint(12, 3), QPoint(4, 9), QPoint(8, 8),
                                    QPoint(11, 10), QPoint(6, 12), QPoint(13, 13), QPoint(2, 13)})
                p.drawPoint(d);
            break;
        case icoBlocks:
            p.setRenderHint(QPainter::Antialiasing, false);
            p.fillRect(1, 1, 6, 6, QColor(40, 90, 200));
            p.fillRect(9, 9, 6, 6, QColor(40, 90, 200));
            p.fillRect(9, 1, 6, 6, QColor(200, 200, 200));
            p.fillRect(1, 9, 6, 6, QColor(200, 200, 200));
            break;
        case icoClone:
            p.drawRect(QRectF(1.5, 1.5, 8, 8));
            p.drawRect(QRectF(6.5, 6.5, 8, 8));
            break;
        case icoText: {
            QFont f(QStringLiteral("Serif"));
            f.setPixelSize(15);
            f.setBold(true);
            p.setFont(f);
            p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("A"));
            break;
        }
        case icoButton:
            p.setRenderHint(QPainter::Antialiasing, false);
            p.fillRect(1, 4, 14, 8, QColor(192, 192, 192));
            p.setPen(Qt::white);
            p.drawLine(1, 4, 14, 4);
            p.drawLine(1, 4, 1, 11);
            p.setPen(Qt::black);
            p.drawLine(1, 12, 15, 12);
            p.drawLine(15, 4, 15, 12);
            break;
        case icoBrushSolid: p.setRenderHint(QPainter::Antialiasing, false); p.setPen(Qt::black); p.setBrush(QColor(60, 60, 60)); p.drawRect(1, 1, 13, 13); break;
        case icoBrushClear: brushBox(Qt::NoBrush); break;
        case icoBrushHorizontal: brushBox(Qt::HorPattern); break;
        case icoBrushVertical: brushBox(Qt::VerPattern); break;
        case icoBrushFDiagonal: brushBox(Qt::FDiagPattern); break;
        case icoBrushBDiagonal: brushBox(Qt::BDiagPattern); break;
        case icoBrushCross: brushBox(Qt::CrossPattern); break;
        case icoBrushDiagCross: brushBox(Qt::DiagCrossPattern); break;
        case icoWidth1:
        case icoWidth2:
        case icoWidth3:
        case icoWidth4:
        case icoWidth5: {
            p.setRenderHint(QPainter::Antialiasing, false);
            const int w = id - icoWidth1 + 1;
            p.fillRect(1, 8 - w / 2, 14, w, Qt::black);
            break;
        }
        case icoPenMode:
            p.setRenderHint(QPainter::Antialiasing, false);
            p.fillRect(1, 1, 14, 14, Qt::white);
            p.fillRect(1, 1, 7, 14, Qt::black);
            p.setPen(QPen(Qt::red, 2));
            p.drawLine(2, 13, 13, 2);
            break;
        case icoSelectRange:
            p.setRenderHint(QPainter::Antialiasing, false);
            p.setPen(QPen(Qt::black, 1, Qt::DotLine));
            p.drawRect(1, 2, 13, 11);
            break;
        case icoPaste:
        case icoPasteMask:
            p.setRenderHint(QPainter::Antialiasing, false);
            p.fillRect(2, 1, 9, 12, QColor(180, 140, 80));
            p.fillRect(5, 5, 10, 10, id == icoPaste ? QColor(255, 255, 255) : QColor(0, 0, 0));
            p.setPen(Qt::black);
            p.drawRect(5, 5, 9, 9);
            break;
        case icoFloodfill: {
            p.setBrush(QColor(60, 140, 230));
            p.drawPolygon(QPolygonF({QPointF(2, 7), QPointF(8, 1), QPointF(14, 7), QPointF(8, 13)}));
            p.drawEllipse(QRectF(12, 10, 3, 5));
            break;
        }
        case icoFillSelection:
            p.setRenderHint(QPainter::Antialiasing, false);
            p.fillRect(2, 3, 12, 10, QColor(60, 140, 230));
            p.setPen(QPen(Qt::black, 1, Qt::DotLine));
            p.drawRect(1, 2, 13, 11);
            break;
        case icoPickPaint:
            p.setPen(QPen(Qt::black, 2));
            p.drawLine(QPointF(3, 13), QPointF(10, 6));
            p.setBrush(Qt::black);
            p.drawEllipse(QRectF(9, 2, 5, 5));
            break;
        case icoPasteColor:
        case icoPasteColorX:
            p.setRenderHint(QPainter::Antialiasing, false);
            p.fillRect(1, 1, 9, 9, id == icoPasteColor ? QColor(220, 40, 40) : QColor(40, 220, 220));
            p.fillRect(6, 6, 9, 9, id == icoPasteColor ? QColor(220, 40, 40) : QColor(220, 40, 40));
            p.setPen(Qt::black);
            p.drawRect(6, 6, 8, 8);
            break;
        case icoResize:
            p.drawRect(QRectF(1.5, 5.5, 9, 9));
            p.drawLine(QPointF(7, 9), QPointF(14, 2));
            p.drawLine(QPointF(14, 2), QPointF(10, 2));
            p.drawLine(QPointF(14, 2), QPointF(14, 6));
            break;
        case icoClear:
            p.setRenderHint(QPainter::Antialiasing, false);
            p.setBrush(Qt::white);
            p.drawRect(2, 1, 11, 14);
            p.setPen(QPen(QColor(200, 30, 30), 2));
            p.drawLine(4, 4, 11, 12);
            p.drawLine(11, 4, 4, 12);
            break;
        case icoUndo: {
            p.setPen(QPen(QColor(30, 60, 200), 2));
            QPainterPath path(QPointF(4, 6));
            path.cubicTo(QPointF(10, 2), QPointF(16, 8), QPointF(10, 13));
            p.drawPath(path);
            p.setBrush(QColor(30, 60, 200));
            p.setPen(Qt::NoPen);
            p.drawPolygon(QPolygonF({QPointF(1, 6), QPointF(7, 2), QPointF(7, 10)}));
            break;
        }
        default: break;
    }
    return img;
}

}  // namespace

QImage commandIcon(int id) {
    static const std::vector<QImage> list = [] {
        std::vector<QImage> v;
        for (int i = 0; i < icoCount; ++i) v.push_back(drawIcon(i));
        return v;
    }();
    return id >= 0 && id < icoCount ? list[id] : QImage();
}

}  // namespace pixoral
