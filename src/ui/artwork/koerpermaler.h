// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The die and the toy block as painted bodies: a cube of the given attitude,
// its visible faces painted through QPainter in face coordinates, with a
// rounded dark outline. Used by the icon, the toy-block pointers, the rack's
// small dice and the tumbling frames' sizing.

#include "ui/artwork/gemeinsam.h"

#include <QPainterPath>
#include <QPolygonF>

namespace wk::artwork::intern {

// Paints face `flaeche` (0..5) in face coordinates; `licht` is its brightness
// (about 0.6..1.1) and `sichtbar` how squarely it faces the viewer (0..1).
using Flaechenmaler = std::function<void(QPainter&, int flaeche, double licht, double sichtbar)>;

struct Koerper {
    QPointF mitte{};
    double halb = 10;           // half the edge length, logical px
    Lage lage{};
    double rundung = 3;         // corner radius of the outline, logical px
    QColor kante{};
    double kantenBreite = 1;
};

// The outline with its corners rounded.
QPainterPath koerperPfad(const Koerper& k);
// The visible faces, the light lines where they meet and the outline.
void zeichneKoerper(QPainter& p, const Koerper& k, const Flaechenmaler& maler);
// Places a body of the given attitude centred in `ziel`, as large as fits.
Koerper eingepasst(const Lage& lage, const QRectF& ziel);

struct Wuerfelfarben {
    QRgb koerper = farbe::elfenbein;
    QRgb auge = farbe::auge;
    QRgb augeRand = farbe::augeRand;
    QRgb kante = farbe::wuerfelKante;
};

// Faces shaded from upper left to lower right; faces turned further away than
// `mindestSicht` show no pips. `augen` per face 0..5, as koerper::augenVerteilung.
Flaechenmaler wuerfelMaler(const std::array<int, 6>& augen, const Wuerfelfarben& f, double augenRadius,
                           double mindestSicht);

} // namespace wk::artwork::intern
