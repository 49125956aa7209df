// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// Dice at rest: the cream die showing one to six pips, front face dominant
// with a little of the top and the right side, rasterised at the picture's
// own resolution.

#include "ui/artwork/bilder.h"
#include "ui/artwork/gemeinsam.h"
#include "ui/artwork/koerpermaler.h"
#include "ui/artwork/wuerfelraster.h"

#include <algorithm>

namespace wk::artwork::intern {

namespace {

// The resting die's attitude.
const Lage& ruheLage()
{
    static const Lage lage = neigung(-9, -7);
    return lage;
}


// The resting die showing `augen` in `ziel` (logical), in physical pixels at `dpr`.
WuerfelAnsicht ruhenderWuerfel(int augen, const QRectF& ziel, qreal dpr)
{
    const Koerper k = eingepasst(ruheLage(), ziel);
    WuerfelAnsicht w;
    w.lage = k.lage;
    w.mitte = k.mitte * dpr;
    w.halb = k.halb * dpr;
    w.rundung = w.halb * 0.34;
    w.kantenBreite = std::clamp(k.halb * 0.05, 0.6, 1.2) * dpr;
    w.augenRadius = 0.215;
    w.mindestSicht = 0.6;
    w.augen = augenVerteilung(augen);
    return w;
}

} // namespace

QImage seitenBild(int augen, qreal dpr)
{
    augen = std::clamp(augen, 1, 6);
    dpr = klemmeDpr(dpr);
    WuerfelRaster raster(qRound(kSeite.width() * dpr), qRound(kSeite.height() * dpr));
    raster.wuerfel(ruhenderWuerfel(augen, QRectF(1, 1, 48, 48), dpr));
    QImage bild = raster.bild();
    bild.setDevicePixelRatio(dpr);
    return bild;
}

} // namespace wk::artwork::intern
