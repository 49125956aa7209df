// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// Tumbling dice: nine frames of a die turning about a tilted axis, each
// motion-blurred over the last part of its turn, with whoosh arcs trailing
// the spin. Frames 1..8 make one full turn; frame 0 lies between two of them.

#include "ui/artwork/bilder.h"
#include "ui/artwork/gemeinsam.h"
#include "ui/artwork/koerpermaler.h"
#include "ui/artwork/wuerfelraster.h"

#include <QConicalGradient>

#include <algorithm>
#include <cmath>

namespace wk::artwork::intern {

namespace {

constexpr double kDrehschritt = 45;    // degrees per frame; 8 frames make one turn
// Motion blur: every frame shows the turn over the kUnschaerfe degrees before
// its angle, in kUnschaerfeTeile parts, each part smeared evenly over its
// share of the turn; the later parts weigh more.
constexpr double kUnschaerfe = 53.4375;
constexpr int kUnschaerfeTeile = 3;
constexpr Vek kKippAchse{0.8, 0.55, 0.35};
constexpr double kWurfRundung = 0.36;  // corner radius per half edge

// The angle the die has reached in frame k. Frame 0 lies between two frames
// of the loop, so it differs from all of them.
double wurfEnde(int k)
{
    return k == 0 ? kDrehschritt / 2 : k * kDrehschritt;
}

// The weight of the part of a frame's turn around t (0 earliest, 1 latest).
double wurfGewicht(double t)
{
    return 0.3 + t * t * t * 1.2;
}

Lage wurfLage(double grad)
{
    return drehung(kKippAchse, grad) * neigung(-20, 25, 10);
}

// Half the edge length that keeps every corner of the turning die, at every
// moment, inside the 50 x 50 picture.
double wurfHalbeKante()
{
    static const double halb = [] {
        double weiteste = 0;
        for (int m = 0; m < 360; ++m) {
            Koerper einheit;
            einheit.lage = wurfLage(m);
            einheit.halb = 1;
            einheit.rundung = kWurfRundung;
            const QRectF r = koerperPfad(einheit).boundingRect();
            weiteste = std::max({weiteste, -r.left(), r.right(), -r.top(), r.bottom()});
        }
        return (kSeite.width() / 2.0 - 1.0) / weiteste;
    }();
    return halb;
}

// The die turning through `schwenk` degrees up to `grad` + schwenk / 2, in
// physical pixels of a picture at `dpr`.
WuerfelAnsicht wuerfelImFlug(double grad, double schwenk, qreal dpr)
{
    WuerfelAnsicht w;
    w.lage = wurfLage(grad);
    const double laenge = std::sqrt(skalar(kKippAchse, kKippAchse));
    w.schwenk = {kKippAchse.x / laenge * schwenk, kKippAchse.y / laenge * schwenk, kKippAchse.z / laenge * schwenk};
    w.halb = wurfHalbeKante() * dpr;
    w.mitte = QPointF(kSeite.width() / 2.0, kSeite.height() / 2.0) * dpr;
    w.rundung = w.halb * kWurfRundung;
    w.kantenBreite = 0.8 * dpr;
    w.augenRadius = 0.21;
    w.mindestSicht = 0.3;
    w.augen = augenVerteilung(1);
    return w;
}

} // namespace

QImage wurfBild(int k, qreal dpr)
{
    // Motion blur: the weighted average of the frame's moments.
    WuerfelRaster raster(qRound(kSeite.width() * dpr), qRound(kSeite.height() * dpr));
    constexpr double teil = kUnschaerfe / kUnschaerfeTeile;
    double gewichte = 0;
    for (int t = 0; t < kUnschaerfeTeile; ++t) {
        const double gewicht = wurfGewicht((t + 0.5) / kUnschaerfeTeile);
        const double mitte = wurfEnde(k) - kUnschaerfe + (t + 0.5) * teil;
        raster.wuerfel(wuerfelImFlug(mitte, teil, dpr), static_cast<float>(gewicht));
        gewichte += gewicht;
    }
    QImage bild = raster.bild(static_cast<float>(1 / gewichte));
    bild.setDevicePixelRatio(dpr);

    // Whoosh arcs trailing the spin.
    QPainter p(&bild);
    glatt(p);
    p.setBrush(Qt::NoBrush);
    const double start = 200 - k * 37.0;
    for (int i = 0; i < 3; ++i) {
        const double r = 21.5 + i * 1.6;
        QConicalGradient g(QPointF(25, 25), start);
        g.setColorAt(0, QColor(255, 250, 235, 0));
        g.setColorAt(0.02, QColor(255, 250, 235, 170 - i * 45));
        g.setColorAt(0.2, QColor(255, 250, 235, 0));
        g.setColorAt(1, QColor(255, 250, 235, 0));
        p.setPen(QPen(QBrush(g), 1.1 - i * 0.2, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(25 - r, 25 - r, 2 * r, 2 * r), int((start + i * 8) * 16), int(64 * 16));
    }
    p.end();
    return bild;
}

} // namespace wk::artwork::intern
