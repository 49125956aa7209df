// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// The die rasteriser: sets up each visible face of a die (its maps from the
// pixel to face coordinates and, for a turning die, how they change during
// the exposure), the rounded corners of its outline and the boxes its pips
// reach, hands them to the per-pixel loops, and turns the sum into a picture.

#include "ui/artwork/wuerfelraster.h"
#include "ui/artwork/rasterlauf.h"

#include <algorithm>
#include <cmath>

namespace wk {

using namespace rasterlauf;

namespace {

QPointF projiziert(const WuerfelAnsicht& w, Vek v)
{
    const Vek g = w.lage(v);
    return w.mitte + QPointF(g.x, g.y) * w.halb;
}

Kasten kastenUm(std::initializer_list<QPointF> punkte, double rand)
{
    double x0 = 1e9, x1 = -1e9, y0 = 1e9, y1 = -1e9;
    for (const QPointF& p : punkte) {
        x0 = std::min(x0, p.x());
        x1 = std::max(x1, p.x());
        y0 = std::min(y0, p.y());
        y1 = std::max(y1, p.y());
    }
    return {int(std::floor(x0 - rand)), int(std::ceil(x1 + rand)), int(std::floor(y0 - rand)),
            int(std::ceil(y1 + rand))};
}


} // namespace

WuerfelRaster::WuerfelRaster(int breite, int hoehe)
    : m_breite(std::max(0, breite)), m_hoehe(std::max(0, hoehe)),
      m_summe(static_cast<std::size_t>(m_breite) * m_hoehe * 4, 0.0f)
{
}

namespace {

// u and v of face f as affine functions of the pixel centre, for one attitude.
struct Abbildung {
    double au = 0, bu = 0, cu = 0, av = 0, bv = 0, cv = 0;
};

Abbildung abbildung(const WuerfelAnsicht& w, const Lage& lage, int f)
{
    const Lage& fl = flaechenLagen()[static_cast<std::size_t>(f)];
    const Vek n = lage(fl({0, 0, 1})), u = lage(fl({1, 0, 0})), v = lage(fl({0, 1, 0}));
    const double cx = w.mitte.x() + n.x * w.halb, cy = w.mitte.y() + n.y * w.halb;
    const double det = (u.x * v.y - v.x * u.y) * w.halb;
    Abbildung a;
    a.au = v.y / det;
    a.bu = -v.x / det;
    a.cu = -(a.au * cx + a.bu * cy);
    a.av = -u.y / det;
    a.bv = u.x / det;
    a.cv = -(a.av * cx + a.bv * cy);
    return a;
}

// The share of the half turn over which rates of change are measured.
constexpr double kRateSchritt = 0.05;

} // namespace

void WuerfelRaster::wuerfel(const WuerfelAnsicht& w, float gewicht)
{
    if (!(gewicht > 0) || !(w.halb > 0) || w.halb > 1e5 || !std::isfinite(w.mitte.x()) || !std::isfinite(w.mitte.y())
        || std::abs(w.mitte.x()) > 1e5 || std::abs(w.mitte.y()) > 1e5)
        return;
    const float halbeKante = float(std::max(0.0, w.kantenBreite) / 2);

    // A turning die: its attitudes a little before and after `lage`, from which
    // every rate of change is taken, and how far its corners travel.
    const double winkel = std::sqrt(skalar(w.schwenk, w.schwenk));
    const bool bewegt = std::isfinite(winkel) && winkel > 1e-6;
    Lage vorher = w.lage, nachher = w.lage;
    if (bewegt) {
        vorher = drehung(w.schwenk, -winkel / 2 * kRateSchritt) * w.lage;
        nachher = drehung(w.schwenk, winkel / 2 * kRateSchritt) * w.lage;
    }
    const auto halberWeg = [&](Vek ecke) {
        const Vek a = vorher(ecke), b = nachher(ecke);
        return std::hypot(b.x - a.x, b.y - a.y) * w.halb / (2 * kRateSchritt);
    };

    // The outline: the hull of the eight corners, each corner rounded.
    std::vector<QPointF> punkte(8);
    double weg = 0;  // the farthest a corner travels in half the exposure, px
    for (int i = 0; i < 8; ++i) {
        const Vek ecke{(i & 1) ? 1.0 : -1.0, (i & 2) ? 1.0 : -1.0, (i & 4) ? 1.0 : -1.0};
        punkte[i] = projiziert(w, ecke);
        weg = std::max(weg, bewegt ? halberWeg(ecke) : 0.0);
    }
    const std::vector<int> huelle = huellenIndizes(punkte);
    std::vector<Ecke> ecken;
    const std::size_t n = huelle.size();
    for (std::size_t j = 0; j < n && n >= 3; ++j) {
        const QPointF v = punkte[huelle[j]];
        const QPointF a = punkte[huelle[(j + n - 1) % n]];
        const QPointF b = punkte[huelle[(j + 1) % n]];
        const double la = std::hypot(a.x() - v.x(), a.y() - v.y()), lb = std::hypot(b.x() - v.x(), b.y() - v.y());
        if (la < 1e-9 || lb < 1e-9)
            continue;
        const QPointF ea = (a - v) / la, eb = (b - v) / lb;
        const double rho = std::min({w.rundung, la / 2, lb / 2});
        const double halberWinkel = std::acos(std::clamp(ea.x() * eb.x() + ea.y() * eb.y(), -1.0, 1.0)) / 2;
        if (rho <= 0 || halberWinkel > 1.56)
            continue;
        const double bx = ea.x() + eb.x(), by = ea.y() + eb.y(), bl = std::hypot(bx, by);
        const double abstand = rho / std::cos(halberWinkel);
        Ecke e;
        e.cx = float(v.x() + bx / bl * abstand);
        e.cy = float(v.y() + by / bl * abstand);
        e.r = float(rho * std::tan(halberWinkel)) + halbeKante;
        e.ax = float(v.x() + ea.x() * rho);
        e.ay = float(v.y() + ea.y() * rho);
        e.tax = float(-ea.x());
        e.tay = float(-ea.y());
        e.bx = float(v.x() + eb.x() * rho);
        e.by = float(v.y() + eb.y() * rho);
        e.tbx = float(-eb.x());
        e.tby = float(-eb.y());
        const int punkt = huelle[j];
        e.vx = float(v.x());
        e.vy = float(v.y());
        const double eckWeg =
            bewegt ? halberWeg({(punkt & 1) ? 1.0 : -1.0, (punkt & 2) ? 1.0 : -1.0, (punkt & 4) ? 1.0 : -1.0}) : 0;
        e.weich = float(1 + 2 * eckWeg);
        e.kasten = kastenUm({v, {e.ax, e.ay}, {e.bx, e.by}}, halbeKante + 1.5 + eckWeg);
        ecken.push_back(e);
    }

    for (int f = 0; f < 6; ++f) {
        const Lage& fl = flaechenLagen()[f];
        const Vek nv = w.lage(fl({0, 0, 1}));
        if (nv.z <= kSichtbar)
            continue;
        const Vek uv = w.lage(fl({1, 0, 0}));
        const Vek vv = w.lage(fl({0, 1, 0}));
        const double cx = w.mitte.x() + nv.x * w.halb, cy = w.mitte.y() + nv.y * w.halb;
        const Abbildung m = abbildung(w, w.lage, f);
        Flaeche fa;
        fa.au = float(m.au);
        fa.bu = float(m.bu);
        fa.cu = float(m.cu);
        fa.av = float(m.av);
        fa.bv = float(m.bv);
        fa.cv = float(m.cv);
        if (bewegt) {
            const Abbildung a = abbildung(w, vorher, f), b = abbildung(w, nachher, f);
            const double s = 1 / (2 * kRateSchritt);
            fa.bewegt = true;
            fa.dau = float((b.au - a.au) * s);
            fa.dbu = float((b.bu - a.bu) * s);
            fa.dcu = float((b.cu - a.cu) * s);
            fa.dav = float((b.av - a.av) * s);
            fa.dbv = float((b.bv - a.bv) * s);
            fa.dcv = float((b.cv - a.cv) * s);
        }
        fa.gu = float(1 / std::hypot(m.au, m.bu));
        fa.gv = float(1 / std::hypot(m.av, m.bv));
        const std::array<bool, 4> nachbarSichtbar{uv.z > kSichtbar, -uv.z > kSichtbar, vv.z > kSichtbar,
                                                  -vv.z > kSichtbar};
        for (std::size_t k = 0; k < 4; ++k) {
            fa.ueber[k] = nachbarSichtbar[k] ? 0.0f : halbeKante;
            fa.zurKante[k] = nachbarSichtbar[k] ? kFern : 0.0f;
            fa.zumLicht[k] = nachbarSichtbar[k] ? 0.0f : kFern;
        }
        const double licht = helligkeit(nv);
        fa.hell = getoenteFarbe(w.koerperFarbe, licht * 1.03);
        fa.dunkel = getoenteFarbe(w.koerperFarbe, licht * 0.9);
        fa.augen = nv.z >= w.mindestSicht ? std::clamp(w.augen[static_cast<std::size_t>(f)], 0, 6) : 0;
        fa.augenBild = &kAugenBild[static_cast<std::size_t>(fa.augen)];
        fa.augenRadius = float(w.augenRadius * (fa.augen == 1 ? 1.18 : 1.0));
        fa.auge = farbeVon(w.augenFarbe);
        fa.augeRand = farbeVon(w.augenRand);
        fa.kante = farbeVon(w.kantenFarbe);
        fa.kantenBreite = float(w.kantenBreite);
        fa.lichtBreite = float(w.kantenBreite * 0.45);
        const auto ecke = [&](double u, double v) {
            return QPointF(cx + (u * uv.x + v * vv.x) * w.halb, cy + (u * uv.y + v * vv.y) * w.halb);
        };
        fa.kasten = kastenUm({ecke(-1, -1), ecke(1, -1), ecke(-1, 1), ecke(1, 1)}, halbeKante + 1.5 + weg);
        for (const double su : {-1.0, 1.0})
            for (const double sv : {-1.0, 1.0}) {
                const QPointF p = ecke(su, sv);
                for (std::size_t i = 0; i < ecken.size(); ++i)  // corners seen in the same place belong to the face
                    if (std::hypot(p.x() - ecken[i].vx, p.y() - ecken[i].vy) < 0.01)
                        fa.ecken |= 1u << i;
                fa.wegU = std::max(fa.wegU, std::abs(fa.dau * float(p.x()) + fa.dbu * float(p.y()) + fa.dcu));
                fa.wegV = std::max(fa.wegV, std::abs(fa.dav * float(p.x()) + fa.dbv * float(p.y()) + fa.dcv));
            }
        const double wx = fa.augenRadius * w.halb * std::hypot(uv.x, vv.x);
        const double wy = fa.augenRadius * w.halb * std::hypot(uv.y, vv.y);
        for (int a = 0; a < fa.augen; ++a) {
            const Punkt& p = (*fa.augenBild)[static_cast<std::size_t>(a)];
            const QPointF mitte = ecke(p.x, p.y), halb(wx, wy);
            fa.augenKasten[static_cast<std::size_t>(a)] = kastenUm({mitte - halb, mitte + halb}, 1.5 + weg);
        }
        flaecheZeichnen(fa, ecken, gewicht, m_summe, m_breite, m_hoehe, m_zeile);
    }
}

QImage WuerfelRaster::bild(float faktor) const
{
    // A premultiplied colour channel 0..255 from a float, rounded.
    const auto kanal = [](float wert) { return static_cast<int>((wert < 0 ? 0 : (wert > 255 ? 255 : wert)) + 0.5f); };
    QImage ziel(m_breite, m_hoehe, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < m_hoehe; ++y) {
        auto* zeile = reinterpret_cast<QRgb*>(ziel.scanLine(y));
        const float* s = m_summe.data() + static_cast<std::size_t>(y) * m_breite * 4;
        for (int x = 0; x < m_breite; ++x) {
            const int alpha = kanal(std::min(1.0f, s[4 * x + 3] * faktor) * 255);
            zeile[x] = qRgba(std::min(kanal(s[4 * x] * faktor), alpha), std::min(kanal(s[4 * x + 1] * faktor), alpha),
                             std::min(kanal(s[4 * x + 2] * faktor), alpha), alpha);
        }
    }
    return ziel;
}

} // namespace wk
