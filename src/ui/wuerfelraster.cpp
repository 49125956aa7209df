#include "ui/wuerfelraster.h"

#include <algorithm>
#include <cmath>

namespace wk {

using namespace koerper;

namespace {

constexpr float kFern = 1e6f;                // distance to an edge that has no line
constexpr float kLichtDeckung = 70.0f / 255;  // the light line where two faces meet
constexpr double kSichtbar = 1e-4;            // faces whose normal z is below this are not drawn

struct Farbe {
    float r = 0;
    float g = 0;
    float b = 0;
};

Farbe farbeVon(QRgb c)
{
    return {float(qRed(c)), float(qGreen(c)), float(qBlue(c))};
}

Farbe getoent(QRgb grund, double licht)
{
    const auto kanal = [licht](int c) { return float(getoenterKanal(c, licht)); };
    return {kanal(qRed(grund)), kanal(qGreen(grund)), kanal(qBlue(grund))};
}

// Branch-free, so that the loops below vectorise.
float kleiner(float a, float b)
{
    return a < b ? a : b;
}

float groesser(float a, float b)
{
    return a > b ? a : b;
}

float klemme(float x)
{
    x = x < 0.0f ? 0.0f : x;
    return x > 1.0f ? 1.0f : x;
}

QPointF projiziert(const WuerfelAnsicht& w, Vek v)
{
    const Vek g = w.lage(v);
    return w.mitte + QPointF(g.x, g.y) * w.halb;
}

struct Kasten {
    int x0 = 0;
    int x1 = -1;
    int y0 = 0;
    int y1 = -1;
};

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

} // namespace

WuerfelRaster::WuerfelRaster(int breite, int hoehe)
    : m_breite(std::max(0, breite)), m_hoehe(std::max(0, hoehe)),
      m_summe(static_cast<std::size_t>(m_breite) * m_hoehe * 4, 0.0f)
{
}

void WuerfelRaster::leeren()
{
    std::fill(m_summe.begin(), m_summe.end(), 0.0f);
}


namespace {

// The loops over one row of a face, each over plain arrays so that they
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

// Adds face f, clipped to the rounded corners `ecken`, to `summen` (rasterBreite x rasterHoehe
// pixels); `zeile` holds six rows of scratch values.
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

} // namespace

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
        fa.hell = getoent(w.koerperFarbe, licht * 1.03);
        fa.dunkel = getoent(w.koerperFarbe, licht * 0.9);
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
    QImage ziel(m_breite, m_hoehe, QImage::Format_ARGB32_Premultiplied);
    ziel.fill(Qt::transparent);
    darueber(ziel, {0, 0}, faktor);
    return ziel;
}

namespace {

// A premultiplied colour channel 0..255 from a float, rounded.
int kanalWert(float wert)
{
    return static_cast<int>((wert < 0 ? 0 : (wert > 255 ? 255 : wert)) + 0.5f);
}

// Paints premultiplied rot, gruen, blau (0..255) at opacity a (0..1) over `alt`.
QRgb ueber(QRgb alt, float rot, float gruen, float blau, float a)
{
    const float rest = 1 - a;
    const int alpha = kanalWert(a * 255 + float(qAlpha(alt)) * rest);
    return qRgba(std::min(kanalWert(rot + float(qRed(alt)) * rest), alpha),
                 std::min(kanalWert(gruen + float(qGreen(alt)) * rest), alpha),
                 std::min(kanalWert(blau + float(qBlue(alt)) * rest), alpha), alpha);
}

} // namespace

void WuerfelRaster::darueber(QImage& ziel, QPoint versatz, float faktor) const
{
    if (ziel.format() != QImage::Format_ARGB32_Premultiplied)
        ziel.convertTo(QImage::Format_ARGB32_Premultiplied);
    const int y0 = std::max(0, -versatz.y()), y1 = std::min(m_hoehe, ziel.height() - versatz.y());
    const int x0 = std::max(0, -versatz.x()), x1 = std::min(m_breite, ziel.width() - versatz.x());
    for (int y = y0; y < y1; ++y) {
        auto* zeile = reinterpret_cast<QRgb*>(ziel.scanLine(y + versatz.y())) + versatz.x();
        const float* s = m_summe.data() + static_cast<std::size_t>(y) * m_breite * 4;
        for (int x = x0; x < x1; ++x) {
            const float a = std::min(1.0f, s[4 * x + 3] * faktor);
            if (a > 0)
                zeile[x] = ueber(zeile[x], s[4 * x] * faktor, s[4 * x + 1] * faktor, s[4 * x + 2] * faktor, a);
        }
    }
}

void WuerfelRaster::schattenDarueber(QImage& ziel, QPoint versatz, QPointF verschiebung, QRgb farbe,
                                     float deckung) const
{
    if (ziel.format() != QImage::Format_ARGB32_Premultiplied)
        ziel.convertTo(QImage::Format_ARGB32_Premultiplied);
    // The coverage with a border of one empty pixel, so that sampling needs no checks.
    const int breite = m_breite + 2, hoehe = m_hoehe + 2;
    std::vector<float> deck(static_cast<std::size_t>(breite) * hoehe, 0.0f);
    for (int y = 0; y < m_hoehe; ++y)
        for (int x = 0; x < m_breite; ++x)
            deck[static_cast<std::size_t>(y + 1) * breite + x + 1] = m_summe[(static_cast<std::size_t>(y) * m_breite + x) * 4 + 3];

    // Target pixel (x, y) shows the coverage at (x, y) - verschiebung, bilinear
    // between the four pixels around it: (qx, qy) and its neighbours right and below.
    const int sx = int(std::floor(verschiebung.x())), sy = int(std::floor(verschiebung.y()));
    const float fx = float(verschiebung.x() - sx), fy = float(verschiebung.y() - sy);
    const float w00 = fx * fy, w10 = (1 - fx) * fy, w01 = fx * (1 - fy), w11 = (1 - fx) * (1 - fy);
    const Farbe f = farbeVon(farbe);
    const float staerke = klemme(deckung);
    for (int y = sy; y <= m_hoehe + sy; ++y) {
        const int zy = y + versatz.y(), qy = y - sy;  // qy - 1 is the raster row above
        if (zy < 0 || zy >= ziel.height())
            continue;
        auto* zeile = reinterpret_cast<QRgb*>(ziel.scanLine(zy));
        const float* oben = deck.data() + static_cast<std::size_t>(qy) * breite;
        const float* unten = oben + breite;
        for (int x = sx; x <= m_breite + sx; ++x) {
            const int zx = x + versatz.x(), qx = x - sx;
            if (zx < 0 || zx >= ziel.width())
                continue;
            const float a = std::min(1.0f, (oben[qx] * w00 + oben[qx + 1] * w10 + unten[qx] * w01 + unten[qx + 1] * w11)
                                               * staerke);
            if (a > 0)
                zeile[zx] = ueber(zeile[zx], f.r * a, f.g * a, f.b * a, a);
        }
    }
}

} // namespace wk
