#include "gui/app/ToolbarIcons.h"

#include "gui/support/CommandIds.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace dualvex {

namespace {

const QColor kInk(40, 40, 48);
const QColor kDiff(214, 48, 49);
const QColor kPaper(250, 250, 246);
const QColor kFolder(230, 180, 60);
const QColor kBlue(40, 110, 200);

void DrawOpen(QPainter& p)
{
    p.setPen(QPen(kInk, 0.8));
    p.setBrush(kFolder.darker(115));
    p.drawRect(QRectF(1.5, 3.5, 12, 9));
    p.setBrush(kFolder);
    p.drawPolygon(QPolygonF({{1.5, 12.5}, {4, 6.5}, {15, 6.5}, {12.5, 12.5}}));
}

void DrawPage(QPainter& p, QRectF r)
{
    p.setPen(QPen(kInk, 0.8));
    p.setBrush(kPaper);
    p.drawRect(r);
    p.setPen(QPen(kInk.lighter(200), 0.8));
    for (qreal y = r.top() + 2; y < r.bottom() - 1; y += 2)
        p.drawLine(QPointF(r.left() + 1.5, y), QPointF(r.right() - 1.5, y));
}

void DrawCopy(QPainter& p)
{
    DrawPage(p, QRectF(1.5, 1.5, 8, 10));
    DrawPage(p, QRectF(6.5, 4.5, 8, 10));
}

void DrawMagnifier(QPainter& p, QPointF centre)
{
    p.setPen(QPen(kInk, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre + QPointF(2.8, 2.8), centre + QPointF(6, 6));
    p.setPen(QPen(kInk, 1.1));
    p.setBrush(QColor(200, 225, 250));
    p.drawEllipse(centre, 3.6, 3.6);
}

void DrawFind(QPainter& p)
{
    DrawMagnifier(p, {6, 6});
}

void DrawFindNext(QPainter& p)
{
    DrawMagnifier(p, {5, 5});
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawPolygon(QPolygonF({{10, 9}, {16, 12}, {10, 15}}));
}

void DrawCalculator(QPainter& p)
{
    p.setPen(QPen(kInk, 0.8));
    p.setBrush(QColor(190, 195, 205));
    p.drawRoundedRect(QRectF(2.5, 0.5, 11, 14), 1.5, 1.5);
    p.setBrush(QColor(200, 235, 200));
    p.drawRect(QRectF(4, 2, 8, 3));
    p.setBrush(kInk);
    p.setPen(Qt::NoPen);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) p.drawRect(QRectF(4 + col * 3, 6.5 + row * 2.5, 2, 1.5));
}

// A differing block drawn as a red bar with an arrow pointing to it.
void DrawArrow(QPainter& p, bool up, qreal tipY)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    const qreal dir = up ? 1 : -1;
    p.drawPolygon(QPolygonF({{8, tipY}, {13, tipY + 5 * dir}, {3, tipY + 5 * dir}}));
    p.drawRect(QRectF(6.5, up ? tipY + 5 : tipY - 9, 3, 4));
}

void DrawBar(QPainter& p, qreal y)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kDiff);
    p.drawRect(QRectF(2, y, 12, 2));
}

void DrawFirst(QPainter& p)
{
    DrawBar(p, 0.5);
    DrawArrow(p, true, 3.5);
}
void DrawPrevious(QPainter& p)
{
    DrawArrow(p, true, 1.5);
}
void DrawNext(QPainter& p)
{
    DrawArrow(p, false, 13.5);
}
void DrawLast(QPainter& p)
{
    DrawBar(p, 12.5);
    DrawArrow(p, false, 11.5);
}

void DrawCurrent(QPainter& p)
{
    p.setPen(QPen(kBlue, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(8, 7.5), 5.5, 5.5);
    DrawBar(p, 6.5);
}

void DrawReload(QPainter& p)
{
    p.setPen(QPen(kBlue, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(2.5, 2.5, 11, 11), 60 * 16, 290 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawPolygon(QPolygonF({{9.5, 0.5}, {14, 3.5}, {9.5, 6.5}}));
}

void DrawPin(QPainter& p)
{
    p.setPen(QPen(kInk, 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 9), QPointF(8, 14.5));
    p.setPen(QPen(kInk, 0.8));
    p.setBrush(kDiff);
    p.drawRect(QRectF(5.5, 1.5, 5, 5));
    p.drawRect(QRectF(3.5, 6.5, 9, 2.5));
}

void DrawAbout(QPainter& p)
{
    p.setPen(QPen(kBlue.darker(120), 1));
    p.setBrush(kBlue);
    p.drawEllipse(QRectF(1.5, 1, 13, 13));
    p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawPoint(QPointF(8, 4.3));
    p.drawLine(QPointF(8, 7), QPointF(8, 11));
}

using Painter = void (*)(QPainter&);

Painter PainterFor(int id)
{
    switch (id) {
    case cmd::Open: return DrawOpen;
    case cmd::Copy: return DrawCopy;
    case cmd::Find: return DrawFind;
    case cmd::FindNext: return DrawFindNext;
    case cmd::Calculator: return DrawCalculator;
    case cmd::FirstDiff: return DrawFirst;
    case cmd::PreviousDiff: return DrawPrevious;
    case cmd::CurrentDiff: return DrawCurrent;
    case cmd::NextDiff: return DrawNext;
    case cmd::LastDiff: return DrawLast;
    case cmd::Reload: return DrawReload;
    case cmd::StayOnTop: return DrawPin;
    case cmd::About: return DrawAbout;
    default: return nullptr;
    }
}

QPixmap Render(Painter paint, int scale)
{
    QPixmap pixmap(16 * scale, 15 * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p);
    return pixmap;
}

} // namespace

QIcon ToolbarIcon(int commandId)
{
    const Painter paint = PainterFor(commandId);
    if (!paint) return {};
    QIcon icon;
    for (int scale : {1, 2, 3}) icon.addPixmap(Render(paint, scale));
    return icon;
}

} // namespace dualvex
