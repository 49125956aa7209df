// The die rasteriser: sets up each visible face of a die (its maps from the
// pixel to face coordinates and, for a turning die, how they change during
// the exposure), the rounded corners of its outline and the boxes its pips
// reach, hands them to the per-pixel loops, and paints the sum and its shadow
// over a picture.

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

void WuerfelRaster::leeren()
{
    std::fill(m_summe.begin(), m_summe.end(), 0.0f);
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
