// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// The sheet panel on the left of the background: the dark panel and the plate
// of the grand total, the row stripes and rules, the brass edge, and the label
// of every row, the counting rows with a small flat die before the text.

#include "ui/artwork/hintergrund.h"

#include <QPainterPath>
#include <QString>

namespace wk::artwork::intern {

namespace {

// A flat die face for small labels: rounded square, pips, thin rim.
void zeichneFlachenWuerfel(QPainter& p, int augen, const QRectF& r)
{
    p.save();
    p.setPen(QPen(rgb(farbe::wuerfelKante), 0.8));
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, getoent(farbe::elfenbein, 1.04));
    g.setColorAt(1, getoent(farbe::elfenbein, 0.86));
    p.setBrush(g);
    p.drawRoundedRect(r.adjusted(0.4, 0.4, -0.4, -0.4), r.width() * 0.22, r.height() * 0.22);
    p.setPen(Qt::NoPen);
    p.setBrush(rgb(farbe::auge));
    const double radius = r.width() * (augen == 1 ? 0.13 : 0.1);
    for (int i = 0; i < augen; ++i) {
        const Punkt a = kAugenBild[augen][i];
        p.drawEllipse(r.center() + QPointF(a.x, a.y) * r.width() * 0.47, radius, radius);
    }
    p.restore();
}

} // namespace

void zeichneTafel(QPainter& p)
{
    // The panel and the plate it reaches onto, one shape under the winding rule.
    QPainterPath tafel;
    tafel.addRect(QRectF(0, 0, kTafelBreite, kHintergrund.height()));
    tafel.addRoundedRect(kGesamtSchild, 6, 6);
    tafel.setFillRule(Qt::WindingFill);

    p.save();
    schatten(p, kGesamtSchild.adjusted(kTafelBreite - 4, 0, 0, 0), 6, 6, 90);
    QLinearGradient g(0, 0, 0, kHintergrund.height());
    g.setColorAt(0, rgb(farbe::tafelOben));
    g.setColorAt(1, rgb(farbe::tafelUnten));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(tafel);

    // Quiet stripes behind each row and a warm tint behind the totals.
    for (const Zeile& z : kZeilen) {
        p.setBrush(z.summe ? QColor(236, 200, 118, 22) : QColor(255, 255, 255, 9));
        p.drawRect(QRectF(4, z.y, kZelleRechts + 1 - 4, z.hoehe));
    }
    p.setBrush(QColor(236, 200, 118, 22));
    p.drawRect(QRectF(4, kUntenGesamt.y, kZelleRechts + 1 - 4, kUntenGesamt.hoehe));
    p.setBrush(QColor(236, 200, 118, 30));
    p.drawRect(QRectF(4, kGesamt.y, kGesamtSchild.right() - 6 - 4, kGesamt.hoehe));

    for (double y : kTrennlinien) {
        QLinearGradient l(6, 0, kZelleRechts, 0);
        l.setColorAt(0, QColor(236, 200, 118, 0));
        l.setColorAt(0.15, QColor(236, 200, 118, 150));
        l.setColorAt(0.85, QColor(236, 200, 118, 150));
        l.setColorAt(1, QColor(236, 200, 118, 0));
        p.setPen(QPen(QBrush(l), 1));
        p.drawLine(QPointF(6, y), QPointF(kZelleRechts, y));
    }

    // Brass edge along the right side and around the total plate.
    p.setBrush(Qt::NoBrush);
    QPainterPath rand;
    rand.moveTo(kTafelBreite - 0.75, -1);
    rand.lineTo(kTafelBreite - 0.75, kGesamtSchild.top() + 0.75);
    rand.lineTo(kGesamtSchild.right() - 6, kGesamtSchild.top() + 0.75);
    rand.quadTo(kGesamtSchild.right() - 0.75, kGesamtSchild.top() + 0.75, kGesamtSchild.right() - 0.75,
                kGesamtSchild.top() + 6);
    rand.lineTo(kGesamtSchild.right() - 0.75, kGesamtSchild.bottom() - 6);
    rand.quadTo(kGesamtSchild.right() - 0.75, kGesamtSchild.bottom() - 0.75, kGesamtSchild.right() - 6,
                kGesamtSchild.bottom() - 0.75);
    rand.lineTo(kTafelBreite - 0.75, kGesamtSchild.bottom() - 0.75);
    rand.lineTo(kTafelBreite - 0.75, kHintergrund.height() + 1);
    p.setPen(QPen(messingVerlauf({0, 0}, {0, double(kHintergrund.height())}), 1.5));
    p.drawPath(rand);
    p.restore();
}

void zeichneZeilentext(QPainter& p, const Zeile& z)
{
    const int rechts = z.knopfX > 0 ? z.knopfX - 4 : (z.y == kGesamt.y ? kZelleLinks - 6 : kTextRechtsOhneKnopf);
    int links = kTextLinks;
    if (z.augen > 0) {
        const double seite = 14;
        zeichneFlachenWuerfel(p, z.augen, QRectF(links, z.y + (z.hoehe - seite) / 2, seite, seite));
        links += 19;
    }
    const bool fett = z.y == kGesamt.y;
    p.setFont(schrift(fett ? 11 : 10, fett ? QFont::Bold : (z.summe ? QFont::DemiBold : QFont::Normal)));
    p.setPen(rgb(z.summe ? farbe::tafelSumme : farbe::tafelSchrift));
    p.drawText(QRectF(links, z.y, rechts - links, z.hoehe), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromUtf8(z.text));
}

} // namespace wk::artwork::intern
