// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// The game window's background put together: the felt, the darker band
// behind the status line, the plate behind the keep-on-top box, the tray, the
// table, the crest and the sheet panel; and the frame, ring and shadow
// helpers its parts share.

#include "ui/artwork/bilder.h"
#include "ui/artwork/hintergrund.h"

#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace wk::artwork::intern {

Strecke zeileIn(const QRectF& r, double radius, double y)
{
    if (y < r.top() || y > r.bottom())
        return {r.center().x(), r.center().x()};
    const double rand = std::min(y - r.top(), r.bottom() - y);
    const double ein = rand < radius ? radius - std::sqrt(radius * radius - (radius - rand) * (radius - rand)) : 0;
    return {r.left() + ein, r.right() - ein};
}

void rahmen(QPainter& p, const QRectF& r, double radius, double breite, const QBrush& pinsel)
{
    const double h = breite / 2;
    QPainterPath ring;
    ring.addRoundedRect(r.adjusted(-h, -h, h, h), radius + h, radius + h);
    if (r.width() > breite && r.height() > breite)
        ring.addRoundedRect(r.adjusted(h, h, -h, -h), std::max(0.0, radius - h), std::max(0.0, radius - h));
    ring.setFillRule(Qt::OddEvenFill);
    p.fillPath(ring, pinsel);
}

void striche(QPainter& p, const QList<QLineF>& linien, double breite, const QColor& farbe)
{
    for (const QLineF& l : linien) {
        const QRectF r = QRectF(l.p1(), l.p2()).normalized();
        p.fillRect(l.dy() == 0 ? r.adjusted(0, -breite / 2, 0, breite / 2) : r.adjusted(-breite / 2, 0, breite / 2, 0),
                   farbe);
    }
}

void schatten(QPainter& p, const QRectF& r, double radius, double breite, int staerke)
{
    p.save();
    p.setBrush(Qt::NoBrush);
    const int schritte = 6;
    for (int i = schritte; i >= 1; --i) {
        const double w = breite * i / schritte;
        rahmen(p, r.adjusted(-w / 2 + 1, -w / 2 + 2, w / 2 + 1, w / 2 + 2), radius + w / 2, w,
               QColor(0, 0, 0, staerke / schritte));
    }
    p.restore();
}

QLinearGradient messingVerlauf(QPointF von, QPointF bis)
{
    QLinearGradient g(von, bis);
    g.setColorAt(0.0, rgb(farbe::messingHell));
    g.setColorAt(0.45, rgb(farbe::messing));
    g.setColorAt(1.0, rgb(farbe::messingDunkel));
    return g;
}

void zeichneCheckSchild(QPainter& p)
{
    p.save();
    schatten(p, kCheckSchild, 5, 5, 110);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawRoundedRect(kCheckSchild.adjusted(0.6, 0.6, -0.6, -0.6), 5, 5);
    rahmen(p, kCheckSchild.adjusted(0.6, 0.6, -0.6, -0.6), 5, 1.2,
           messingVerlauf(kCheckSchild.topLeft(), kCheckSchild.bottomLeft()));
    p.restore();
}

QImage hintergrundBild(qreal dpr)
{
    QImage bild = leinwand(kHintergrund, klemmeDpr(dpr));
    filzFlaeche(bild, QRectF(kTafelBreite, 0, kHintergrund.width() - kTafelBreite, kHintergrund.height()),
                farbe::filz, 0.55, 11, kTischInnen);
    filzFlaeche(bild, kTischInnen, farbe::filzTief, 0.25, 23);

    QPainter p(&bild);
    glatt(p);
    // A darker band keeps the status line readable.
    const QRectF status(kTafelBreite, kStatusBand.top() - 6, kHintergrund.width() - kTafelBreite,
                        kStatusBand.height() + 8);
    QLinearGradient verlauf(0, status.top(), 0, status.bottom());
    verlauf.setColorAt(0, QColor(0, 0, 0, 0));
    verlauf.setColorAt(0.25, QColor(0, 0, 0, 70));
    verlauf.setColorAt(0.75, QColor(0, 0, 0, 70));
    verlauf.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(status, verlauf);

    zeichneCheckSchild(p);
    zeichneAblage(p);
    zeichneTisch(p);
    zeichneLeistenWuerfel(p);
    zeichneLogo(p);
    zeichneTafel(p);
    for (const Zeile& z : kZeilen)
        zeichneZeilentext(p, z);
    zeichneZeilentext(p, kUntenGesamt);
    zeichneZeilentext(p, kGesamt);
    p.end();
    return bild;
}

} // namespace wk::artwork::intern
