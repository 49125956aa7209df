// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A rasteriser of its own for the dice at rest and the tumbling frames: a
// frame is the turning die smeared analytically over its turn, which QPainter
// could only approximate by averaging many sharp pictures, at many times the
// cost.

#include "ui/artwork/wuerfelkoerper.h"

#include <QImage>
#include <QPointF>
#include <QRgb>

#include <array>
#include <vector>

namespace wk {

// One die to rasterise. Lengths are in physical pixels of the target.
struct WuerfelAnsicht {
    koerper::Lage lage{};
    QPointF mitte{};
    double halb = 10;            // half the edge length
    double rundung = 3;          // how far each corner of the outline is cut back along its edges
    double kantenBreite = 1;     // the dark outline, centred on the outline
    double augenRadius = 0.21;   // pip radius in face units (the single pip is 1.18 times as large)
    double mindestSicht = 0.5;   // faces turned further away (normal z below this) show no pips
    std::array<int, 6> augen{1, 6, 3, 4, 2, 5};  // pips per face 0..5, 0 for none
    // The turn during the exposure: the die turns about this axis (screen
    // coordinates) by its length in degrees, evenly, `lage` half way; the
    // picture is smeared accordingly. Zero for a die at rest.
    koerper::Vek schwenk{};
    QRgb koerperFarbe = qRgb(250, 242, 220);
    QRgb augenFarbe = qRgb(34, 26, 22);
    QRgb augenRand = qRgb(82, 70, 58);
    QRgb kantenFarbe = qRgb(128, 108, 80);
};

// Premultiplied RGBA in floats, to which dice are added with a weight: the sum
// of a die's moments, each weighted, divided by the sum of the weights, is
// its motion-blurred picture. Each die is antialiased on its own, with the
// same look as the painted one: shaded faces, hollow pips, a light line where
// two faces meet, a dark outline with rounded corners.
class WuerfelRaster {
public:
    WuerfelRaster(int breite, int hoehe);

    // Adds the die, every colour value and its coverage times `gewicht` (> 0).
    // Nothing is added for a weight that is not positive, or for a die whose
    // half edge is not positive or whose size or place lies beyond 100000 px.
    void wuerfel(const WuerfelAnsicht& w, float gewicht = 1);

    // The sum times `faktor`, as a premultiplied image of the raster's size.
    QImage bild(float faktor = 1) const;

private:
    int m_breite = 0;
    int m_hoehe = 0;
    std::vector<float> m_summe{};  // r, g, b, a per pixel, row after row
    std::vector<float> m_zeile{};  // six rows of values for the face being drawn
};

} // namespace wk
