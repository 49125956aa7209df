// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// The tray and the table on the felt of the background: the brushed-metal
// tray panel "Ablage" with its title tab and five recessed boxes, the wooden
// table with its brass inlay, five grey slots and the rack of small dice along
// its lower edge, and the crest under the table: a crown over the name.

#include "ui/artwork/hintergrund.h"
#include "ui/artwork/koerpermaler.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>

namespace wk::artwork::intern {

namespace {

// The tray panel with its title tab, shrunk by `innen` on every side: one
// outline, the tab rising from the panel's upper edge.
QPainterPath ablageForm(double innen)
{
    const QRectF platte = kAblage.adjusted(innen, innen, -innen, -innen);
    const QRectF reiter = kAblageReiter.adjusted(innen, innen, -innen, -innen);
    const double rp = 2 * (7 - innen), rr = 2 * (6 - innen);  // corner diameters
    QPainterPath pfad;
    pfad.moveTo(platte.left(), platte.top() + rp / 2);
    pfad.arcTo(QRectF(platte.left(), platte.top(), rp, rp), 180, -90);
    pfad.lineTo(reiter.left(), platte.top());
    pfad.lineTo(reiter.left(), reiter.top() + rr / 2);
    pfad.arcTo(QRectF(reiter.left(), reiter.top(), rr, rr), 180, -90);
    pfad.lineTo(reiter.right() - rr / 2, reiter.top());
    pfad.arcTo(QRectF(reiter.right() - rr, reiter.top(), rr, rr), 90, -90);
    pfad.lineTo(reiter.right(), platte.top());
    pfad.lineTo(platte.right() - rp / 2, platte.top());
    pfad.arcTo(QRectF(platte.right() - rp, platte.top(), rp, rp), 90, -90);
    pfad.lineTo(platte.right(), platte.bottom() - rp / 2);
    pfad.arcTo(QRectF(platte.right() - rp, platte.bottom() - rp, rp, rp), 0, -90);
    pfad.lineTo(platte.left() + rp / 2, platte.bottom());
    pfad.arcTo(QRectF(platte.left(), platte.bottom() - rp, rp, rp), 270, -90);
    pfad.closeSubpath();
    return pfad;
}

} // namespace

void zeichneAblage(QPainter& p)
{
    p.save();
    schatten(p, kAblage, 7, 8, 150);
    schatten(p, kAblageReiter.adjusted(0, 0, 0, -12), 6, 6, 110);

    const QPainterPath platte = ablageForm(0);
    QLinearGradient g(0, kAblageReiter.top(), 0, kAblage.bottom());
    g.setColorAt(0, getoent(farbe::blechHell, 1.08));
    g.setColorAt(1, rgb(farbe::blechDunkel));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(platte);

    // Brushed metal: faint horizontal strokes, cut to the panel and drawn
    // without a clip path, the light ones and the dark ones each in one go.
    QList<QLineF> helleStriche, dunkleStriche;
    for (int i = 0; i < 130; ++i) {
        const double y = kAblageReiter.top() + zufall(i, 1, 41) * (kAblage.bottom() - kAblageReiter.top());
        const double x = kAblage.left() + zufall(i, 2, 41) * kAblage.width() * 0.8 - 40;
        const double laenge = 60 + zufall(i, 3, 41) * 220;
        const Strecke platteZeile = zeileIn(kAblage, 7, y);
        const Strecke reiterZeile = zeileIn(kAblageReiter, 6, y);
        const Strecke zeile{std::min(platteZeile.von, reiterZeile.von), std::max(platteZeile.bis, reiterZeile.bis)};
        const double von = std::max(x, zeile.von), bis = std::min(x + laenge, zeile.bis);
        if (von < bis)
            (zufall(i, 4, 41) > 0.5 ? helleStriche : dunkleStriche).append(QLineF(von, y, bis, y));
    }
    striche(p, helleStriche, 0.6, QColor(255, 255, 255, 22));
    striche(p, dunkleStriche, 0.6, QColor(0, 0, 0, 18));

    // Bevel and brass frame.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    p.drawPath(ablageForm(3.5));
    p.setPen(QPen(messingVerlauf(kAblageReiter.topLeft(), kAblage.bottomLeft()), 2));
    p.drawPath(ablageForm(1));

    // Each box sits in a shallow recess.
    for (QPoint k : kAblageKaesten) {
        const QRectF r(k.x(), k.y(), kKasten, kKasten);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 70));
        p.drawRoundedRect(r.adjusted(-3, -3, 3, 3), 4, 4);
        rahmen(p, r.adjusted(-3.5, -3.5, 3.5, 3.5), 4, 1, QColor(255, 255, 255, 80));
        p.setBrush(rgb(0x404040));
        p.setPen(Qt::NoPen);
        p.drawRect(r);
    }

    // Engraved title on the tab.
    const QRectF titel = kAblageReiter.adjusted(0, 1, 0, -3);
    p.setFont(schrift(11, QFont::Bold));
    const QString text = QStringLiteral("Ablage");
    p.setPen(QColor(255, 255, 255, 130));
    p.drawText(titel.translated(0, 0.8), Qt::AlignCenter, text);
    p.setPen(rgb(farbe::blechSchrift));
    p.drawText(titel, Qt::AlignCenter, text);
    p.restore();
}

void zeichneTisch(QPainter& p)
{
    p.save();
    schatten(p, kTischRahmen, 9, 9, 170);

    // Polished wooden rim with a brass inlay.
    QPainterPath rim;  // the outer rounded rectangle less the inner one
    rim.addRoundedRect(kTischRahmen, 9, 9);
    rim.addRoundedRect(kTischInnen, 4, 4);
    rim.setFillRule(Qt::OddEvenFill);
    const QRectF innen = kTischInnen;
    QLinearGradient holz(0, kTischRahmen.top(), 0, kTischRahmen.bottom());
    holz.setColorAt(0, rgb(farbe::holzHell));
    holz.setColorAt(0.5, rgb(farbe::holz));
    holz.setColorAt(1, rgb(farbe::holzDunkel));
    p.setPen(Qt::NoPen);
    p.setBrush(holz);
    p.drawPath(rim);
    // The grain: strokes along the rim, cut to its rounded corners and drawn
    // without a clip path, the light ones and the dark ones each in one go.
    QList<QLineF> helleFasern, dunkleFasern;
    const QRectF quer(kTischRahmen.top(), kTischRahmen.left(), kTischRahmen.height(), kTischRahmen.width());
    for (int i = 0; i < 70; ++i) {
        const double t = zufall(i, 5, 77);
        const double laenge = 40 + zufall(i, 6, 77) * 160;
        const double x = kTischRahmen.left() + zufall(i, 7, 77) * kTischRahmen.width() - 20;
        QList<QLineF>& fasern = zufall(i, 8, 77) > 0.5 ? helleFasern : dunkleFasern;
        const double yo = kTischRahmen.top() + 0.8 + t * (kRahmenBreite - 1.6);
        const double yu = kTischRahmen.bottom() - 0.8 - t * (kRahmenBreite - 1.6);
        for (const double yy : {yo, yu}) {
            const Strecke zeile = zeileIn(kTischRahmen, 9, yy);
            const double von = std::max(x, zeile.von), bis = std::min(x + laenge, zeile.bis);
            if (von < bis)
                fasern.append(QLineF(von, yy, bis, yy));
        }
        const double y = kTischRahmen.top() + zufall(i, 9, 77) * kTischRahmen.height();
        const double xl = kTischRahmen.left() + 0.8 + t * (kRahmenBreite - 1.6);
        const double xr = kTischRahmen.right() - 0.8 - t * (kRahmenBreite - 1.6);
        for (const double xx : {xl, xr}) {
            const Strecke spalte = zeileIn(quer, 9, xx);  // the column xx of the rim
            const double von = std::max(y, spalte.von), bis = std::min(y + laenge * 0.4, spalte.bis);
            if (von < bis)
                fasern.append(QLineF(xx, von, xx, bis));
        }
    }
    striche(p, helleFasern, 0.7, QColor(255, 200, 150, 26));
    striche(p, dunkleFasern, 0.7, QColor(20, 5, 0, 40));
    rahmen(p, kTischRahmen.adjusted(0.5, 0.5, -0.5, -0.5), 9, 1, QColor(255, 220, 180, 70));

    // Shade cast by the rim onto the felt.
    for (int i = 0; i < 5; ++i)
        rahmen(p, innen.adjusted(i + 0.5, i + 0.5, -i - 0.5, -i - 0.5), 4, 1, QColor(0, 0, 0, 60 - i * 11));
    rahmen(p, innen.adjusted(-0.6, -0.6, 0.6, 0.6), 4, 1.2, messingVerlauf(innen.topLeft(), innen.bottomLeft()));

    // The five slots the dice land in.
    for (int i = 0; i < kMulden; ++i) {
        const QRectF r = kMulde.translated(kMuldeX0 + i * kMuldeAbstand, 0);
        QLinearGradient m(0, r.top(), 0, r.bottom());
        m.setColorAt(0, getoent(farbe::mulde, 0.8));
        m.setColorAt(0.15, rgb(farbe::mulde));
        m.setColorAt(1, getoent(farbe::mulde, 1.08));
        p.setPen(Qt::NoPen);
        p.setBrush(m);
        p.drawRoundedRect(r, 7, 7);
        for (int s = 0; s < 4; ++s)
            rahmen(p, r.adjusted(s + 0.5, s + 0.5, -s - 0.5, -s * 0.3 - 0.5), 7 - s, 1, QColor(0, 0, 0, 70 - s * 16));
        p.setPen(QPen(QColor(255, 255, 255, 40), 1));
        p.drawLine(QPointF(r.left() + 6, r.bottom() + 0.5), QPointF(r.right() - 6, r.bottom() + 0.5));
    }

    // A rack of small dice along the lower edge.
    QPainterPath leiste;
    leiste.addRoundedRect(kLeiste, 6, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawPath(leiste);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 90), 1));
    p.drawLine(QPointF(kLeiste.left() + 6, kLeiste.top() + 0.5), QPointF(kLeiste.right() - 6, kLeiste.top() + 0.5));
    p.setPen(QPen(QColor(255, 255, 255, 28), 1));
    p.drawLine(QPointF(kLeiste.left() + 6, kLeiste.bottom() - 0.5),
               QPointF(kLeiste.right() - 6, kLeiste.bottom() - 0.5));
    p.restore();
}

void zeichneLeistenWuerfel(QPainter& p)
{
    constexpr int anzahl = 13;
    const double abstand = kLeiste.width() / anzahl;
    std::array<Koerper, anzahl> wuerfel;
    for (int i = 0; i < anzahl; ++i) {
        Koerper& k = wuerfel[static_cast<std::size_t>(i)];
        const double drehungZ = (zufall(i, 11, 5) - 0.5) * 40;
        k.lage = neigung(-10 - 5 * zufall(i, 12, 5), -10 + 20 * zufall(i, 13, 5), drehungZ);
        k.halb = 10.2;
        k.mitte = QPointF(kLeiste.left() + abstand * (i + 0.5), kLeiste.center().y());
        k.rundung = 3.4;
        k.kante = rgb(farbe::wuerfelKante);
        k.kantenBreite = 0.8;
    }
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 80));
    for (const Koerper& k : wuerfel)
        p.drawPath(koerperPfad(k).translated(1.2, 1.8));
    for (int i = 0; i < anzahl; ++i)
        zeichneKoerper(p, wuerfel[static_cast<std::size_t>(i)], wuerfelMaler(augenVerteilung(i % 6 + 1), {}, 0.21, 0.8));
    p.restore();
}

void zeichneLogo(QPainter& p)
{
    p.save();
    const QPointF mitte(kLogo.center().x(), kLogo.top() + 22);

    // A crown of three points, each tipped with a pip, on a band with rounded
    // ends; one outline.
    const double b = 54, h = 26, y0 = mitte.y() + 10;
    const double links = mitte.x() - b / 2 - 1, rechts = mitte.x() + b / 2 + 1;  // the band
    const double schraeg = 3 / (h - 4);  // how far the outer points lean out per pixel of height
    QPainterPath krone;
    krone.moveTo(mitte.x() - b / 2 - schraeg, y0 - 1);
    krone.lineTo(mitte.x() - b / 2 - 3, y0 - h + 4);
    krone.lineTo(mitte.x() - b / 4, y0 - h / 2 + 1);
    krone.lineTo(mitte.x(), y0 - h);
    krone.lineTo(mitte.x() + b / 4, y0 - h / 2 + 1);
    krone.lineTo(mitte.x() + b / 2 + 3, y0 - h + 4);
    krone.lineTo(mitte.x() + b / 2 + schraeg, y0 - 1);
    krone.quadTo(rechts, y0 - 1, rechts, y0 + 1);
    krone.lineTo(rechts, y0 + 3);
    krone.quadTo(rechts, y0 + 5, rechts - 2, y0 + 5);
    krone.lineTo(links + 2, y0 + 5);
    krone.quadTo(links, y0 + 5, links, y0 + 3);
    krone.lineTo(links, y0 + 1);
    krone.quadTo(links, y0 - 1, mitte.x() - b / 2 - schraeg, y0 - 1);
    krone.closeSubpath();

    const QLinearGradient gold = messingVerlauf({0, y0 - h}, {0, y0 + 6});
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawPath(krone.translated(1, 1.5));
    p.setBrush(gold);
    p.setPen(QPen(rgb(farbe::messingDunkel), 0.8));
    p.drawPath(krone);
    p.drawLine(QPointF(mitte.x() - b / 2, y0 - 1), QPointF(mitte.x() + b / 2, y0 - 1));  // the band's upper edge
    for (const QPointF spitze : {QPointF(mitte.x() - b / 2 - 3, y0 - h + 4), QPointF(mitte.x(), y0 - h),
                                 QPointF(mitte.x() + b / 2 + 3, y0 - h + 4)}) {
        QRadialGradient k(spitze - QPointF(0.8, 0.8), 3.2);
        k.setColorAt(0, rgb(farbe::perle));
        k.setColorAt(1, QColor(200, 196, 186));
        p.setBrush(k);
        p.setPen(QPen(QColor(90, 80, 60), 0.6));
        p.drawEllipse(spitze, 2.6, 2.6);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(rgb(farbe::rubin));
    p.drawEllipse(QPointF(mitte.x(), y0 + 2), 1.6, 1.6);
    p.setBrush(QColor(40, 90, 190));
    p.drawEllipse(QPointF(mitte.x() - 12, y0 + 2), 1.3, 1.3);
    p.drawEllipse(QPointF(mitte.x() + 12, y0 + 2), 1.3, 1.3);

    // The name in gold letters with a shadow and a thin dark rim (the letters
    // a little off to every side), drawn from the glyph cache: far cheaper
    // than filling and stroking the letters' outlines.
    const QFont f = schrift(23, QFont::Bold, true);
    const QString text = QStringLiteral("Wurfkrone");
    const QRectF nr = QFontMetricsF(f).tightBoundingRect(text);
    const QPointF grundlinie(mitte.x() - nr.center().x(), y0 + 35 - nr.bottom());
    p.setFont(f);
    p.setPen(QColor(0, 0, 0, 110));
    p.drawText(grundlinie + QPointF(1, 1.5), text);
    p.setPen(QColor(90, 60, 20, 200));
    for (const QPointF weg : {QPointF(-0.3, 0), QPointF(0.3, 0), QPointF(0, -0.3), QPointF(0, 0.3)})
        p.drawText(grundlinie + weg, text);
    const QRectF gr = nr.translated(grundlinie);
    p.setPen(QPen(QBrush(messingVerlauf(gr.topLeft(), gr.bottomLeft())), 1));
    p.drawText(grundlinie, text);
    p.restore();
}

} // namespace wk::artwork::intern
