// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the die rasteriser's setup (wuerfelraster.cpp) hands to its per-pixel
// loops (rasterlauf.cpp): a visible face as affine maps from the pixel centre
// to its coordinates, the rounded corners of the outline, and small helpers.

#include "ui/artwork/wuerfelkoerper.h"

#include <QPointF>
#include <QRgb>

#include <array>
#include <vector>

namespace wk::rasterlauf {

using namespace koerper;

constexpr float kFern = 1e6f;                // distance to an edge that has no line
constexpr float kLichtDeckung = 70.0f / 255;  // the light line where two faces meet
constexpr double kSichtbar = 1e-4;            // faces whose normal z is below this are not drawn

struct Farbe {
    float r = 0;
    float g = 0;
    float b = 0;
};

inline Farbe farbeVon(QRgb c)
{
    return {float(qRed(c)), float(qGreen(c)), float(qBlue(c))};
}

inline Farbe getoenteFarbe(QRgb grund, double licht)
{
    const auto kanal = [licht](int c) { return float(getoenterKanal(c, licht)); };
    return {kanal(qRed(grund)), kanal(qGreen(grund)), kanal(qBlue(grund))};
}

// Branch-free, so that the loops vectorise.
inline float kleiner(float a, float b)
{
    return a < b ? a : b;
}

inline float groesser(float a, float b)
{
    return a > b ? a : b;
}

inline float klemme(float x)
{
    x = x < 0.0f ? 0.0f : x;
    return x > 1.0f ? 1.0f : x;
}

struct Kasten {
    int x0 = 0;
    int x1 = -1;
    int y0 = 0;
    int y1 = -1;
};

// A visible face: u = au x + bu y + cu and v likewise at the pixel centre (x, y).
struct Flaeche {
    float au = 0, bu = 0, cu = 0;
    float av = 0, bv = 0, cv = 0;
    // How far u and v move in half the exposure, likewise; all zero at rest.
    float dau = 0, dbu = 0, dcu = 0;
    float dav = 0, dbv = 0, dcv = 0;
    bool bewegt = false;
    float gu = 1, gv = 1;  // pixels per face unit across the u and the v edges
    // Per edge u = +1, u = -1, v = +1, v = -1: how far the face reaches past it
    // (half the outline on the outline, else 0), the distance added to find the
    // outline (0 on the outline, else far) and the light line (the other way).
    std::array<float, 4> ueber{};
    std::array<float, 4> zurKante{};
    std::array<float, 4> zumLicht{};
    Farbe hell{}, dunkel{};  // the face's shading from corner (-1, -1) to (1, 1)
    int augen = 0;
    const std::array<Punkt, 6>* augenBild = nullptr;
    float augenRadius = 0;
    Farbe auge{}, augeRand{}, kante{};
    float kantenBreite = 0;
    float lichtBreite = 0;  // half the light line
    Kasten kasten{};
    std::array<Kasten, 6> augenKasten{};
    unsigned ecken = 0;  // bit i set when rounded corner i of the outline is one of the face's corners
    float wegU = 0, wegV = 0;  // the farthest u and v move in half the exposure
};

// A rounded corner of the outline: within the wedge beyond both tangent
// points A and B the outline is the circle (cx, cy, r).
struct Ecke {
    float cx = 0, cy = 0, r = 0;
    float ax = 0, ay = 0, tax = 0, tay = 0;
    float bx = 0, by = 0, tbx = 0, tby = 0;
    float weich = 1;  // width of the edge in pixels, wider where the corner moves
    float vx = 0, vy = 0;  // the corner of the outline it rounds
    Kasten kasten{};
};

// Adds face f, clipped to the rounded corners `ecken`, to `summen` (rasterBreite x rasterHoehe
// pixels); `zeile` holds six rows of scratch values.
void flaecheZeichnen(const Flaeche& f, const std::vector<Ecke>& ecken, float gewicht, std::vector<float>& summen,
                     int rasterBreite, int rasterHoehe, std::vector<float>& zeile);

} // namespace wk::rasterlauf
