// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// The painted cube: a convex hull of its projected corners, rounded, and each
// visible face painted in its own coordinates, the square -1..1, through the
// affine map that carries it onto the screen. x right, y down, z towards the
// viewer, parallel projection.

#include "ui/artwork/koerpermaler.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace wk::artwork::intern {

namespace {

// Convex hull; collinear and repeated points are dropped.
QPolygonF huelle(const std::vector<QPointF>& punkte)
{
    QPolygonF h;
    for (const int i : huellenIndizes(punkte))
        h << punkte[static_cast<std::size_t>(i)];
    return h;
}

// A convex polygon with every corner rounded by up to `radius`.
QPainterPath abgerundet(const QPolygonF& vieleck, double radius)
{
    QPainterPath pfad;
    const qsizetype n = vieleck.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QPointF p = vieleck[i];
        const QPointF a = vieleck[(i + n - 1) % n];
        const QPointF b = vieleck[(i + 1) % n];
        const double la = std::hypot(a.x() - p.x(), a.y() - p.y());
        const double lb = std::hypot(b.x() - p.x(), b.y() - p.y());
        const double ra = std::min(radius, la * 0.5);
        const double rb = std::min(radius, lb * 0.5);
        const QPointF von = p + (a - p) * (ra / la);
        const QPointF bis = p + (b - p) * (rb / lb);
        if (i == 0)
            pfad.moveTo(von);
        else
            pfad.lineTo(von);
        pfad.quadTo(p, bis);
    }
    pfad.closeSubpath();
    return pfad;
}

// Pips as drilled hollows: shaded on the upper left, catching light lower right.
void zeichneAugen(QPainter& p, int augen, const Wuerfelfarben& f, double radius)
{
    p.setPen(Qt::NoPen);
    for (int i = 0; i < augen; ++i) {
        const Punkt a = kAugenBild[augen][i];
        const double r = augen == 1 ? radius * 1.18 : radius;
        QRadialGradient g(QPointF(a.x - r * 0.28, a.y - r * 0.28), r * 1.25);
        g.setColorAt(0.0, rgb(f.auge));
        g.setColorAt(0.72, rgb(f.auge));
        g.setColorAt(1.0, rgb(f.augeRand));
        p.setBrush(g);
        p.drawEllipse(QPointF(a.x, a.y), r, r);
    }
}

// The outline of the projected cube, corners not yet rounded.
QPolygonF umrissVon(const Koerper& k)
{
    std::vector<QPointF> ecken;
    for (int i = 0; i < 8; ++i) {
        const Vek v = k.lage({(i & 1) ? 1.0 : -1.0, (i & 2) ? 1.0 : -1.0, (i & 4) ? 1.0 : -1.0});
        ecken.push_back(k.mitte + QPointF(v.x, v.y) * k.halb);
    }
    return huelle(ecken);
}

} // namespace

QPainterPath koerperPfad(const Koerper& k)
{
    return abgerundet(umrissVon(k), k.rundung);
}

void zeichneKoerper(QPainter& p, const Koerper& k, const Flaechenmaler& maler)
{
    const QTransform basis = p.transform();
    const QPainterPath silhouette = koerperPfad(k);

    p.save();
    p.setClipPath(silhouette, Qt::IntersectClip);
    p.setPen(Qt::NoPen);
    p.setBrush(k.kante);
    p.drawPath(silhouette);

    std::vector<QPolygonF> kanten;
    for (int f = 0; f < 6; ++f) {
        const Lage& fl = flaechenLagen()[f];
        const Vek n = k.lage(fl({0, 0, 1}));
        if (n.z <= 1e-4)
            continue;
        const Vek u = k.lage(fl({1, 0, 0}));
        const Vek v = k.lage(fl({0, 1, 0}));
        const QTransform t(u.x * k.halb, u.y * k.halb, v.x * k.halb, v.y * k.halb,
                           k.mitte.x() + n.x * k.halb, k.mitte.y() + n.y * k.halb);
        p.setTransform(t * basis);
        maler(p, f, helligkeit(n), n.z);
        kanten.push_back(t.map(QPolygonF(QRectF(-1, -1, 2, 2))));
    }

    // A soft light line where two faces meet suggests the rounded edges.
    p.setTransform(basis);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 70), k.kantenBreite * 0.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const QPolygonF& q : kanten)
        p.drawPolygon(q);
    p.restore();

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(k.kante, k.kantenBreite, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(silhouette);
}

Flaechenmaler wuerfelMaler(const std::array<int, 6>& augen, const Wuerfelfarben& f, double augenRadius,
                           double mindestSicht)
{
    return [augen, f, augenRadius, mindestSicht](QPainter& p, int flaeche, double licht, double sichtbar) {
        QLinearGradient g(-1, -1, 1, 1);
        g.setColorAt(0, getoent(f.koerper, licht * 1.03));
        g.setColorAt(1, getoent(f.koerper, licht * 0.9));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRect(QRectF(-1.02, -1.02, 2.04, 2.04));
        if (sichtbar >= mindestSicht)
            zeichneAugen(p, augen[flaeche], f, augenRadius);
    };
}

// Places a body of the given attitude centred in `ziel`, as large as fits.
Koerper eingepasst(const Lage& lage, const QRectF& ziel)
{
    Koerper k;
    k.lage = lage;
    k.halb = 1;
    const QRectF r = umrissVon(k).boundingRect();
    const double s = std::min(ziel.width() / r.width(), ziel.height() / r.height());
    k.halb = s;
    k.mitte = ziel.center() - r.center() * s;
    return k;
}

} // namespace wk::artwork::intern
