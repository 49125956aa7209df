// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// The die rasteriser's per-pixel work: for each row of a visible face, its
// coverage, shading, pips, light line, outline and rounded corners, each in a
// loop over plain arrays that the compiler vectorises, then added to the sum.

#include "ui/artwork/rasterlauf.h"

#include <algorithm>
#include <cmath>

namespace wk::rasterlauf {

namespace {

// vectorise; the face's numbers are copied into locals first.

// Coverage, shading, outline and light line of n pixels from the pixel centre
// px0. On a turning face (`bewegt`) every edge is smeared over the distance it
// travels during the exposure; dru and drv are the row's parts of that travel.
template <bool bewegt>
void flaechenLauf(const Flaeche& f, float ru, float rv, float dru, float drv, float px0, int n,
                  float* __restrict deckung, float* __restrict rot, float* __restrict gruen, float* __restrict blau,
                  float* __restrict kante, float* __restrict licht)
{
    const float au = f.au, av = f.av, dau = f.dau, dav = f.dav, gu = f.gu, gv = f.gv;
    const float breite = f.kantenBreite, lichtBreite = f.lichtBreite, kantenMasse = breite > 1 ? breite : 1;
    const float ue0 = f.ueber[0], ue1 = f.ueber[1], ue2 = f.ueber[2], ue3 = f.ueber[3];
    const float k0 = ue0 + f.zurKante[0], k1 = ue1 + f.zurKante[1], k2 = ue2 + f.zurKante[2], k3 = ue3 + f.zurKante[3];
    const float l0 = f.zumLicht[0], l1 = f.zumLicht[1], l2 = f.zumLicht[2], l3 = f.zumLicht[3];
    const float hr = f.hell.r, hg = f.hell.g, hb = f.hell.b;
    const float dr = f.dunkel.r - hr, dg = f.dunkel.g - hg, db = f.dunkel.b - hb;
    for (int i = 0; i < n; ++i) {
        const float px = px0 + float(i);
        const float u = au * px + ru, v = av * px + rv;
        // One over the width in pixels over which each edge is smeared, at least one.
        float iu = 1, iv = 1;
        if constexpr (bewegt) {
            iu = kleiner(1.0f, 0.5f / (std::abs(dau * px + dru) * gu + 1e-6f));
            iv = kleiner(1.0f, 0.5f / (std::abs(dav * px + drv) * gv + 1e-6f));
        }
        const float up = (1 - u) * gu, um = (1 + u) * gu, vp = (1 - v) * gv, vm = (1 + v) * gv;
        const float inU = klemme((up + ue0) * iu + 0.5f) + klemme((um + ue1) * iu + 0.5f) - 1;
        const float inV = klemme((vp + ue2) * iv + 0.5f) + klemme((vm + ue3) * iv + 0.5f) - 1;
        deckung[i] = groesser(inU, 0.0f) * groesser(inV, 0.0f);
        const float iw = kleiner(iu, iv);
        const float zurKante = kleiner(kleiner(up + k0, um + k1), kleiner(vp + k2, vm + k3));
        kante[i] = klemme((breite - zurKante) * iw + 0.5f) * kleiner(1.0f, kantenMasse * iw);
        const float zumLicht = kleiner(kleiner(up + l0, um + l1), kleiner(vp + l2, vm + l3));
        licht[i] = kLichtDeckung * klemme((lichtBreite - zumLicht) * iw + 0.5f) * iw;
        const float t = klemme((u + v + 2) * 0.25f);
        rot[i] = hr + dr * t;
        gruen[i] = hg + dg * t;
        blau[i] = hb + db * t;
    }
}

// One pip centred at (mu, mv) over n pixels: a hollow, darkest towards the
// upper left. On a turning face (`bewegt`) the disc is swept along the pixel's
// path across the face during the exposure, weighted by the time it covers
// the pixel; dru and drv are the row's parts of that path.
template <bool bewegt>
void augenLauf(const Flaeche& f, float mu, float mv, float ru, float rv, float dru, float drv, float px0, int n,
               float* __restrict rot, float* __restrict gruen, float* __restrict blau)
{
    const float au = f.au, av = f.av, bu = f.bu, bv = f.bv, dau = f.dau, dav = f.dav, r = f.augenRadius;
    const float kehrPixel = std::sqrt(f.gu * f.gv);  // pixels per face unit
    const float schief = 0.01f / kehrPixel;          // gives a still pixel a direction
    const float gx = -0.28f * r, gy = -0.28f * r, kehrGr = 1 / (1.25f * r);
    const float ar = f.auge.r, ag = f.auge.g, ab = f.auge.b;
    const float rr = f.augeRand.r - ar, rg = f.augeRand.g - ag, rb = f.augeRand.b - ab;
    for (int i = 0; i < n; ++i) {
        const float px = px0 + float(i);
        const float du = au * px + ru - mu, dv = av * px + rv - mv;
        float deck = 0;
        if constexpr (bewegt) {
            const float su = dau * px + dru + schief, sv = dav * px + drv;
            const float l = std::sqrt(su * su + sv * sv), kehrL = 1 / l;
            const float laengs = (du * su + dv * sv) * kehrL, quer = std::abs(du * sv - dv * su) * kehrL;
            const float sehne = std::sqrt(groesser(r * r - quer * quer, 0.0f));
            const float kehrWeg = kleiner(0.5f * kehrL, kehrPixel);
            const float zeit = klemme((sehne - laengs) * kehrWeg + 0.5f) - klemme((-sehne - laengs) * kehrWeg + 0.5f);
            deck = groesser(zeit, 0.0f) * klemme((r - quer) * kehrPixel + 0.5f);
        } else {
            // (r - d) in pixels: divided by the length of d's gradient on the screen.
            const float d = std::sqrt(du * du + dv * dv);
            const float sx = du * au + dv * av, sy = du * bu + dv * bv;
            const float steigung = std::sqrt(sx * sx + sy * sy) + 1e-6f;
            deck = klemme((r - d) * d / steigung + 0.5f);
        }
        const float eu = du - gx, ev = dv - gy;
        const float tg = klemme((std::sqrt(eu * eu + ev * ev) * kehrGr - 0.72f) * (1 / 0.28f));
        rot[i] += (ar + rr * tg - rot[i]) * deck;
        gruen[i] += (ag + rg * tg - gruen[i]) * deck;
        blau[i] += (ab + rb * tg - blau[i]) * deck;
    }
}

// Cuts the corner e out of n pixels of the row at py: within its wedge, what
// lies outside its circle is dropped and the circle takes the outline.
void eckenLauf(const Ecke& e, float kantenBreite, float py, float px0, int n, float* __restrict deckung,
               float* __restrict kante)
{
    const float cx = e.cx, cy = e.cy, r = e.r, kehrWeich = 1 / e.weich;
    const float ax = e.ax, tax = e.tax, bx = e.bx, tbx = e.tbx;
    const float zeileA = (py - e.ay) * e.tay, zeileB = (py - e.by) * e.tby, dy = py - cy;
    for (int i = 0; i < n; ++i) {
        const float px = px0 + float(i);
        const bool imKeil = (px - ax) * tax + zeileA > 0 && (px - bx) * tbx + zeileB > 0;
        const float dx = px - cx;
        const float s = std::sqrt(dx * dx + dy * dy) - r;
        deckung[i] *= imKeil ? klemme(0.5f - s * kehrWeich) : 1.0f;
        kante[i] = imKeil ? groesser(kante[i], klemme(kantenBreite + s + 0.5f)) : kante[i];
    }
}

// Adds n finished pixels, times `gewicht`, to the sum.
void sammeln(const Flaeche& f, float gewicht, int n, const float* __restrict deckung,
             const float* __restrict rot, const float* __restrict gruen, const float* __restrict blau,
             const float* __restrict kante, const float* __restrict licht, float* __restrict summe)
{
    const float kr = f.kante.r, kg = f.kante.g, kb = f.kante.b, mitKante = f.kantenBreite > 0 ? 1.0f : 0.0f;
    for (int i = 0; i < n; ++i) {
        const float l = licht[i], k = kante[i] * mitKante, a = deckung[i] * gewicht;
        const float cr = rot[i] + (255 - rot[i]) * l, cg = gruen[i] + (255 - gruen[i]) * l,
                    cb = blau[i] + (255 - blau[i]) * l;
        summe[4 * i] += (cr + (kr - cr) * k) * a;
        summe[4 * i + 1] += (cg + (kg - cg) * k) * a;
        summe[4 * i + 2] += (cb + (kb - cb) * k) * a;
        summe[4 * i + 3] += a;
    }
}

} // namespace

void flaecheZeichnen(const Flaeche& f, const std::vector<Ecke>& ecken, float gewicht, std::vector<float>& summen,
                     int rasterBreite, int rasterHoehe, std::vector<float>& zeile)
{
    const std::size_t breite = static_cast<std::size_t>(rasterBreite);
    zeile.resize(breite * 6);
    const int y0 = std::max(f.kasten.y0, 0), y1 = std::min(f.kasten.y1, rasterHoehe - 1);
    // How far past the square a pixel centre may lie and still be touched:
    // the outline, a pixel and the farthest the face travels in half the exposure.
    const float randU = (1.0f + f.kantenBreite) / f.gu + f.wegU, randV = (1.0f + f.kantenBreite) / f.gv + f.wegV;

    for (int y = y0; y <= y1; ++y) {
        const float py = float(y) + 0.5f;
        const float ru = f.bu * py + f.cu, rv = f.bv * py + f.cv;
        const float dru = f.dbu * py + f.dcu, drv = f.dbv * py + f.dcv;

        // The pixels of this row whose u and v lie within reach of the square.
        double lo = std::max(f.kasten.x0, 0), hi = std::min(f.kasten.x1, rasterBreite - 1);
        const auto schicht = [&lo, &hi](float a, float r, float rand) {
            if (std::abs(a) < 1e-9f) {
                if (std::abs(r) > 1 + rand)
                    hi = lo - 1;
                return;
            }
            const double xa = (-1 - rand - r) / a - 0.5, xb = (1 + rand - r) / a - 0.5;
            lo = std::max(lo, std::floor(std::min(xa, xb)));
            hi = std::min(hi, std::ceil(std::max(xa, xb)));
        };
        schicht(f.au, ru, randU);
        schicht(f.av, rv, randV);
        if (lo > hi)
            continue;
        const int x0 = int(lo), anzahl = int(hi) - x0 + 1;
        float* deckung = zeile.data() + x0;
        float* rot = deckung + breite;
        float* gruen = rot + breite;
        float* blau = gruen + breite;
        float* kante = blau + breite;
        float* licht = kante + breite;

        if (f.bewegt)
            flaechenLauf<true>(f, ru, rv, dru, drv, float(x0) + 0.5f, anzahl, deckung, rot, gruen, blau, kante, licht);
        else
            flaechenLauf<false>(f, ru, rv, dru, drv, float(x0) + 0.5f, anzahl, deckung, rot, gruen, blau, kante, licht);

        // Pips, each over the few pixels of this row its circle can reach.
        for (int a = 0; a < f.augen; ++a) {
            const Punkt& mitte = (*f.augenBild)[static_cast<std::size_t>(a)];
            const float mu = float(mitte.x), mv = float(mitte.y);
            const Kasten& k = f.augenKasten[static_cast<std::size_t>(a)];
            if (y < k.y0 || y > k.y1)
                continue;
            const int von = std::max(k.x0, x0) - x0, bis = std::min(k.x1, x0 + anzahl - 1) - x0;
            const float px = float(x0 + von) + 0.5f;
            if (f.bewegt)
                augenLauf<true>(f, mu, mv, ru, rv, dru, drv, px, bis - von + 1, rot + von, gruen + von, blau + von);
            else
                augenLauf<false>(f, mu, mv, ru, rv, dru, drv, px, bis - von + 1, rot + von, gruen + von, blau + von);
        }

        // The rounded corners of the outline.
        for (const Ecke& e : ecken) {
            if (!(f.ecken >> (&e - ecken.data()) & 1u) || y < e.kasten.y0 || y > e.kasten.y1)
                continue;
            const int von = std::max(e.kasten.x0, x0), bis = std::min(e.kasten.x1, x0 + anzahl - 1);
            if (von <= bis)
                eckenLauf(e, f.kantenBreite, py, float(von) + 0.5f, bis - von + 1, deckung + (von - x0),
                          kante + (von - x0));
        }

        float* summe = summen.data() + (static_cast<std::size_t>(y) * breite + x0) * 4;
        sammeln(f, gewicht, anzahl, deckung, rot, gruen, blau, kante, licht, summe);
    }
}


} // namespace wk::rasterlauf
