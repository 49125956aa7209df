#include "ui/artwork.h"
#include "ui/wuerfelkoerper.h"
#include "ui/wuerfelraster.h"

#include <QApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSemaphore>
#include <QStyle>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <numbers>
#include <optional>
#include <vector>

namespace wk {

namespace {

using namespace koerper;

// ---------------------------------------------------------------------------
// Sizes and colours

constexpr qreal kMinDpr = 1.0;
constexpr qreal kMaxDpr = 4.0;
constexpr QSize kHintergrund{701, 459};
constexpr QSize kSeite{50, 50};
constexpr QSize kZeiger{32, 32};
constexpr int kWurfbilder = 9;
constexpr int kBloecke = 5;
constexpr int kSymbolMin = 16;
constexpr int kSymbolMax = 512;

namespace farbe {
constexpr QRgb elfenbein = qRgb(250, 242, 220);
constexpr QRgb wuerfelKante = qRgb(128, 108, 80);
constexpr QRgb auge = qRgb(34, 26, 22);
constexpr QRgb augeRand = qRgb(82, 70, 58);
constexpr QRgb rubin = qRgb(196, 28, 36);
constexpr QRgb rubinKante = qRgb(96, 8, 14);
constexpr QRgb perle = qRgb(252, 248, 240);

constexpr QRgb tafelOben = qRgb(26, 32, 48);
constexpr QRgb tafelUnten = qRgb(14, 18, 28);
constexpr QRgb tafelSchrift = qRgb(234, 228, 212);
constexpr QRgb tafelSumme = qRgb(236, 200, 118);
constexpr QRgb messingHell = qRgb(246, 214, 136);
constexpr QRgb messing = qRgb(196, 152, 72);
constexpr QRgb messingDunkel = qRgb(110, 78, 30);

constexpr QRgb filz = qRgb(20, 82, 50);
constexpr QRgb filzTief = qRgb(14, 64, 40);
constexpr QRgb holzHell = qRgb(140, 72, 40);
constexpr QRgb holz = qRgb(96, 44, 22);
constexpr QRgb holzDunkel = qRgb(46, 18, 8);
constexpr QRgb mulde = qRgb(70, 74, 72);
constexpr QRgb blechHell = qRgb(150, 154, 158);
constexpr QRgb blechDunkel = qRgb(96, 100, 106);
constexpr QRgb blechSchrift = qRgb(36, 38, 42);

constexpr QRgb stopRot = qRgb(218, 30, 36);
constexpr QRgb stopRotDunkel = qRgb(150, 10, 18);
constexpr QRgb umriss = qRgb(20, 16, 14);
constexpr QRgb blockHellBlau = qRgb(70, 130, 230);
constexpr QRgb blockBlau = qRgb(38, 92, 200);
constexpr QRgb papier = qRgb(238, 244, 255);
constexpr QRgb linie = qRgb(150, 180, 230);
constexpr QRgb stiftGelb = qRgb(250, 196, 40);
constexpr QRgb holzSpitze = qRgb(236, 200, 150);
constexpr QRgb mine = qRgb(50, 50, 56);
constexpr QRgb zwinge = qRgb(190, 194, 200);
constexpr QRgb radierer = qRgb(240, 130, 150);
} // namespace farbe

// Tray blocks A..E: red, blue, green, purple, orange.
constexpr std::array<QRgb, kBloecke> kBlockFarben{
    qRgb(214, 36, 40), qRgb(36, 96, 214), qRgb(36, 160, 66), qRgb(136, 56, 190), qRgb(244, 134, 24)};

QColor rgb(QRgb wert, int alpha = 255)
{
    return QColor(qRed(wert), qGreen(wert), qBlue(wert), alpha);
}

QColor getoent(QRgb grund, double licht)
{
    const auto kanal = [licht](int c) { return static_cast<int>(std::lround(getoenterKanal(c, licht))); };
    return QColor(kanal(qRed(grund)), kanal(qGreen(grund)), kanal(qBlue(grund)));
}

qreal klemmeDpr(qreal dpr)
{
    return std::isfinite(dpr) ? std::clamp(dpr, kMinDpr, kMaxDpr) : kMinDpr;
}

QImage leinwand(QSize logisch, qreal dpr)
{
    QImage bild(qRound(logisch.width() * dpr), qRound(logisch.height() * dpr),
                QImage::Format_ARGB32_Premultiplied);
    bild.setDevicePixelRatio(dpr);
    bild.fill(Qt::transparent);
    return bild;
}

void glatt(QPainter& p)
{
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
}

QPixmap alsPixmap(QImage bild)
{
    const qreal dpr = bild.devicePixelRatio();
    QPixmap pix = QPixmap::fromImage(std::move(bild));
    pix.setDevicePixelRatio(dpr);
    return pix;
}

// Qt's raster engine splits every large fill into parts for the global thread
// pool and waits for them, unless it already paints on a thread of that pool.
// The pictures consist of many small fills, for which that hand-over costs far
// more than the filling; so they are painted on pool threads. Both helpers
// return once all work is done; called on a pool thread they simply run it.
bool aufPoolFaden()
{
    return QThreadPool::globalInstance()->contains(QThread::currentThread());
}

void alleAufPool(const std::vector<std::function<void()>>& auftraege)
{
    if (aufPoolFaden()) {
        for (const auto& auftrag : auftraege)
            auftrag();
        return;
    }
    QSemaphore fertig;
    for (const auto& auftrag : auftraege) {
        QThreadPool::globalInstance()->start([&auftrag, &fertig] {
            auftrag();
            fertig.release();
        });
    }
    fertig.acquire(static_cast<int>(auftraege.size()));
}

template <typename Zeichnen>
QImage aufPool(Zeichnen zeichnen)
{
    QImage bild;
    alleAufPool({[&] { bild = zeichnen(); }});
    return bild;
}

QFont schrift(double pixel, QFont::Weight gewicht = QFont::Normal, bool serifen = false)
{
    QFont f;
    f.setFamilies(serifen ? QStringList{QStringLiteral("DejaVu Serif"), QStringLiteral("Liberation Serif")}
                          : QStringList{QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(pixel))));
    f.setWeight(gewicht);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

// Deterministic noise, so every start draws the same picture.
constexpr std::uint32_t mische(std::uint32_t x)
{
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

double zufall(int x, int y, std::uint32_t saat)
{
    const std::uint32_t h = mische(static_cast<std::uint32_t>(x) * 0x9E3779B1U
                                   ^ mische(static_cast<std::uint32_t>(y) + saat * 0x85EBCA77U));
    return (h & 0xFFFFFF) / double(0x1000000);
}

// ---------------------------------------------------------------------------
// A cube in space, drawn in parallel projection: x right, y down, z towards
// the viewer. Each visible face is painted in its own coordinates, the square
// -1..1, through the affine map that carries it onto the screen.

// Convex hull; collinear and repeated points are dropped.
QPolygonF huelle(const std::vector<QPointF>& punkte)
{
    QPolygonF h;
    for (const int i : huellenIndizes(punkte))
        h << punkte[static_cast<std::size_t>(i)];
    return h;
}

// A convex polygon with every corner rounded by up to `radius`.
QPainterPath abgerundet(const QPolygonF& vieleck, double radius)
{
    QPainterPath pfad;
    const qsizetype n = vieleck.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QPointF p = vieleck[i];
        const QPointF a = vieleck[(i + n - 1) % n];
        const QPointF b = vieleck[(i + 1) % n];
        const double la = std::hypot(a.x() - p.x(), a.y() - p.y());
        const double lb = std::hypot(b.x() - p.x(), b.y() - p.y());
        const double ra = std::min(radius, la * 0.5);
        const double rb = std::min(radius, lb * 0.5);
        const QPointF von = p + (a - p) * (ra / la);
        const QPointF bis = p + (b - p) * (rb / lb);
        if (i == 0)
            pfad.moveTo(von);
        else
            pfad.lineTo(von);
        pfad.quadTo(p, bis);
    }
    pfad.closeSubpath();
    return pfad;
}

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

// The outline of the projected cube, corners not yet rounded.
QPolygonF umrissVon(const Koerper& k)
{
    std::vector<QPointF> ecken;
    for (int i = 0; i < 8; ++i) {
        const Vek v = k.lage({(i & 1) ? 1.0 : -1.0, (i & 2) ? 1.0 : -1.0, (i & 4) ? 1.0 : -1.0});
        ecken.push_back(k.mitte + QPointF(v.x, v.y) * k.halb);
    }
    return huelle(ecken);
}

QPainterPath koerperPfad(const Koerper& k)
{
    return abgerundet(umrissVon(k), k.rundung);
}

void zeichneKoerper(QPainter& p, const Koerper& k, const Flaechenmaler& maler)
{
    const QTransform basis = p.transform();
    const QPainterPath silhouette = koerperPfad(k);

    p.save();
    p.setClipPath(silhouette, Qt::IntersectClip);
    p.setPen(Qt::NoPen);
    p.setBrush(k.kante);
    p.drawPath(silhouette);

    std::vector<QPolygonF> kanten;
    for (int f = 0; f < 6; ++f) {
        const Lage& fl = flaechenLagen()[f];
        const Vek n = k.lage(fl({0, 0, 1}));
        if (n.z <= 1e-4)
            continue;
        const Vek u = k.lage(fl({1, 0, 0}));
        const Vek v = k.lage(fl({0, 1, 0}));
        const QTransform t(u.x * k.halb, u.y * k.halb, v.x * k.halb, v.y * k.halb,
                           k.mitte.x() + n.x * k.halb, k.mitte.y() + n.y * k.halb);
        p.setTransform(t * basis);
        maler(p, f, helligkeit(n), n.z);
        kanten.push_back(t.map(QPolygonF(QRectF(-1, -1, 2, 2))));
    }

    // A soft light line where two faces meet suggests the rounded edges.
    p.setTransform(basis);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 70), k.kantenBreite * 0.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const QPolygonF& q : kanten)
        p.drawPolygon(q);
    p.restore();

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(k.kante, k.kantenBreite, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(silhouette);
}

// ---------------------------------------------------------------------------
// Die faces

struct Wuerfelfarben {
    QRgb koerper = farbe::elfenbein;
    QRgb auge = farbe::auge;
    QRgb augeRand = farbe::augeRand;
    QRgb kante = farbe::wuerfelKante;
};

// Pips as drilled hollows: shaded on the upper left, catching light lower right.
void zeichneAugen(QPainter& p, int augen, const Wuerfelfarben& f, double radius)
{
    p.setPen(Qt::NoPen);
    for (int i = 0; i < augen; ++i) {
        const Punkt a = kAugenBild[augen][i];
        const double r = augen == 1 ? radius * 1.18 : radius;
        QRadialGradient g(QPointF(a.x - r * 0.28, a.y - r * 0.28), r * 1.25);
        g.setColorAt(0.0, rgb(f.auge));
        g.setColorAt(0.72, rgb(f.auge));
        g.setColorAt(1.0, rgb(f.augeRand));
        p.setBrush(g);
        p.drawEllipse(QPointF(a.x, a.y), r, r);
    }
}

Flaechenmaler wuerfelMaler(const std::array<int, 6>& augen, const Wuerfelfarben& f, double augenRadius,
                           double mindestSicht)
{
    return [augen, f, augenRadius, mindestSicht](QPainter& p, int flaeche, double licht, double sichtbar) {
        QLinearGradient g(-1, -1, 1, 1);
        g.setColorAt(0, getoent(f.koerper, licht * 1.03));
        g.setColorAt(1, getoent(f.koerper, licht * 0.9));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRect(QRectF(-1.02, -1.02, 2.04, 2.04));
        if (sichtbar >= mindestSicht)
            zeichneAugen(p, augen[flaeche], f, augenRadius);
    };
}

// The resting die: front face dominant, a little of the top and right side.
const Lage& ruheLage()
{
    static const Lage lage = neigung(-9, -7);
    return lage;
}

// Places a body of the given attitude centred in `ziel`, as large as fits.
Koerper eingepasst(const Lage& lage, const QRectF& ziel)
{
    Koerper k;
    k.lage = lage;
    k.halb = 1;
    const QRectF r = umrissVon(k).boundingRect();
    const double s = std::min(ziel.width() / r.width(), ziel.height() / r.height());
    k.halb = s;
    k.mitte = ziel.center() - r.center() * s;
    return k;
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

// A flat die face for small labels: rounded square, pips, thin rim.
void zeichneFlachenWuerfel(QPainter& p, int augen, const QRectF& r)
{
    p.save();
    p.setPen(QPen(rgb(farbe::wuerfelKante), 0.8));
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, getoent(farbe::elfenbein, 1.04));
    g.setColorAt(1, getoent(farbe::elfenbein, 0.86));
    p.setBrush(g);
    p.drawRoundedRect(r.adjusted(0.4, 0.4, -0.4, -0.4), r.width() * 0.22, r.height() * 0.22);
    p.setPen(Qt::NoPen);
    p.setBrush(rgb(farbe::auge));
    const double radius = r.width() * (augen == 1 ? 0.13 : 0.1);
    for (int i = 0; i < augen; ++i) {
        const Punkt a = kAugenBild[augen][i];
        p.drawEllipse(r.center() + QPointF(a.x, a.y) * r.width() * 0.47, radius, radius);
    }
    p.restore();
}

// ---------------------------------------------------------------------------
// Background

struct Zeile {
    const char* text = "";
    int augen = 0;      // 1..6 for a small die before the text, else 0
    int y = 0;
    int hoehe = 17;
    int knopfX = 0;     // left edge of the row's button; 0 when the row has none
    bool summe = false;
};

constexpr int kTextLinks = 9;
constexpr int kTextRechtsOhneKnopf = 170;
constexpr int kZelleLinks = 176;
constexpr int kZelleRechts = 217;
constexpr int kTafelBreite = 222;

constexpr std::array<Zeile, 16> kZeilen{{
    {"zählen", 1, 15, 17, 104, false},
    {"zählen", 2, 36, 17, 104, false},
    {"zählen", 3, 63, 17, 104, false},
    {"zählen", 4, 84, 17, 104, false},
    {"zählen", 5, 111, 17, 104, false},
    {"zählen", 6, 132, 17, 104, false},
    {"oben gesamt", 0, 156, 19, 0, true},
    {"Bonus (ab 63 Pkt.)", 0, 177, 19, 0, true},
    {"oben gesamt (inkl. Bonus)", 0, 201, 19, 0, true},
    {"Alle Augen", 0, 225, 17, 84, false},
    {"Alle Augen", 0, 249, 17, 84, false},
    {"25 Punkte", 0, 273, 17, 84, false},
    {"30 Punkte", 0, 297, 17, 84, false},
    {"40 Punkte", 0, 318, 17, 84, false},
    {"150 Punkte", 0, 342, 17, 84, false},
    {"Alle Augen", 0, 366, 17, 84, false},
}};
constexpr Zeile kUntenGesamt{"unten gesamt", 0, 390, 19, 0, true};
constexpr Zeile kGesamt{"Gesamte Punktezahl:", 0, 416, 17, 0, true};

// Section rules between the row groups of the sheet.
constexpr std::array<double, 3> kTrennlinien{152.5, 222.5, 386.5};

// The total line reaches past the panel onto a plate holding the second cell (x 224..300).
constexpr QRectF kGesamtSchild{0, 410, 308, 29};

constexpr QRectF kCheckSchild{317, 7, 147, 24};
constexpr QRectF kAblage{262, 96, 390, 84};
constexpr QRectF kAblageReiter{415, 85, 84, 20};  // the tab carrying the title, clear of the boxes
constexpr std::array<QPoint, 5> kAblageKaesten{{{280, 112}, {352, 112}, {424, 112}, {504, 112}, {576, 111}}};
constexpr int kKasten = 57;
constexpr QRectF kTischRahmen{225, 215, 456, 158};
constexpr double kRahmenBreite = 6;
constexpr QRectF kStatusBand{232, 183, 446, 32};
constexpr int kMulden = 5;
constexpr double kMuldeX0 = 236;
constexpr double kMuldeAbstand = 88;
constexpr QRectF kMulde{0, 222, 82, 106};
constexpr QRectF kLeiste{234, 334, 438, 33};
constexpr QRectF kLogo{312, 380, 154, 70};

// The felt's clouds: smooth value noise over the pixel centres of one row
// after another, scaled to lie in basis..basis + hub. The lattice rows above
// and below the current row are kept interpolated along x, so a pixel costs
// one multiply-add. `zelle` is the lattice spacing in logical pixels.
class Wolken {
public:
    Wolken(int x0, int breite, qreal dpr, double zelle, std::uint32_t saat, float basis, float hub)
        : m_dpr(dpr), m_zelle(zelle), m_saat(saat), m_basis(basis), m_hub(hub), m_ix(breite), m_sx(breite),
          m_oben(breite), m_unten(breite), m_wert(breite), m_anstieg(breite)
    {
        for (int i = 0; i < breite; ++i) {
            const double gx = (x0 + i + 0.5) / dpr / zelle;
            m_ix[i] = static_cast<int>(std::floor(gx));
            m_sx[i] = static_cast<float>(glaettung(gx - m_ix[i]));
        }
        if (breite > 0) {
            m_ix0 = m_ix.front();
            m_gitter.resize(static_cast<std::size_t>(m_ix.back() - m_ix0 + 2));
            for (int& ix : m_ix)
                ix -= m_ix0;
        }
    }

    // Row y: the value at column i is wert()[i] + anstieg()[i] * fy, fy the returned weight.
    float zeile(int y)
    {
        const double gy = (y + 0.5) / m_dpr / m_zelle;
        const int iy = static_cast<int>(std::floor(gy));
        if (iy != m_iy) {
            if (iy == m_iy + 1) {
                std::swap(m_oben, m_unten);
            } else {
                gitterzeile(iy, m_oben);
            }
            gitterzeile(iy + 1, m_unten);
            const float basis = m_basis, hub = m_hub;
            const float* __restrict oben = m_oben.data();
            const float* __restrict unten = m_unten.data();
            float* __restrict wert = m_wert.data();
            float* __restrict anstieg = m_anstieg.data();
            for (std::size_t i = 0; i < m_wert.size(); ++i) {
                wert[i] = basis + hub * oben[i];
                anstieg[i] = hub * (unten[i] - oben[i]);
            }
            m_iy = iy;
        }
        return static_cast<float>(glaettung(gy - iy));
    }
    const float* wert() const { return m_wert.data(); }
    const float* anstieg() const { return m_anstieg.data(); }

private:
    static double glaettung(double t) { return t * t * (3 - 2 * t); }

    // The lattice values of row iy, interpolated along x for every column.
    void gitterzeile(int iy, std::vector<float>& ziel)
    {
        for (std::size_t k = 0; k < m_gitter.size(); ++k)
            m_gitter[k] = static_cast<float>(zufall(m_ix0 + static_cast<int>(k), iy, m_saat));
        for (std::size_t i = 0; i < ziel.size(); ++i) {
            const auto k = static_cast<std::size_t>(m_ix[i]);
            ziel[i] = m_gitter[k] + (m_gitter[k + 1] - m_gitter[k]) * m_sx[i];
        }
    }

    qreal m_dpr = 1;
    double m_zelle = 1;
    std::uint32_t m_saat = 0;
    float m_basis = 0;
    float m_hub = 1;
    int m_iy = std::numeric_limits<int>::min();
    int m_ix0 = 0;               // the first lattice column
    std::vector<int> m_ix;       // per pixel column: its lattice column, counted from m_ix0
    std::vector<float> m_sx;     // and its smoothed place between that column and the next
    std::vector<float> m_gitter;
    std::vector<float> m_oben;
    std::vector<float> m_unten;
    std::vector<float> m_wert;
    std::vector<float> m_anstieg;
};

// The felt's grain: random brightness offsets of -3.5..3.5. A row takes its
// grain from this table from a random start, so rows do not repeat each other.
constexpr int kKornLaenge = 8192;
constexpr int kKornVersatz = 2048;

const std::array<float, kKornLaenge>& kornTabelle()
{
    static const std::array<float, kKornLaenge> tabelle = [] {
        std::array<float, kKornLaenge> t{};
        for (int i = 0; i < kKornLaenge; ++i)
            t[static_cast<std::size_t>(i)] = static_cast<float>(zufall(i, 0, 3) * 7.0 - 3.5);
        return t;
    }();
    return tabelle;
}

// Woven felt: a colour darkened towards the edges (vignette 0..1), with soft
// clouds of two sizes and a fine grain. Fills the pixels of `logisch` except
// those of `frei`. `bild` holds the picture's rows from `versatz` on.
void filzFlaeche(QImage& bild, int versatz, const QRectF& logisch, QRgb grund, double vignette, std::uint32_t saat,
                 const QRectF& frei = {})
{
    const qreal dpr = bild.devicePixelRatio();
    const auto physisch = [dpr](const QRectF& r) {
        return QRectF(r.topLeft() * dpr, r.size() * dpr).toAlignedRect();
    };
    const QRect r = physisch(logisch) & QRect(0, versatz, bild.width(), bild.height());
    const QRect ausgespart = frei.isEmpty() ? QRect() : physisch(frei);
    if (r.isEmpty())
        return;
    const QPointF mitte = logisch.center();
    const double rx = logisch.width() / 2, ry = logisch.height() / 2;
    const int breite = r.width();

    // Half the squared distance from the centre, in half widths and heights,
    // per column and per row; the sum of the two never exceeds 1.
    const auto quadrat = [](double d) { return static_cast<float>(std::min(1.0, d * d) * 0.5); };
    std::vector<float> dx2(static_cast<std::size_t>(breite));
    for (int i = 0; i < breite; ++i)
        dx2[i] = quadrat(((r.left() + i + 0.5) / dpr - mitte.x()) / rx);
    Wolken grob(r.left(), breite, dpr, 9.0, saat, 0.93f, 0.14f);
    Wolken fein(r.left(), breite, dpr, 2.2, saat + 7, 0.97f, 0.06f);
    std::vector<float> licht(static_cast<std::size_t>(breite));
    const float v = static_cast<float>(vignette * 1.6);
    const float rot = qRed(grund), gruen = qGreen(grund), blau = qBlue(grund);

    for (int y = r.top(); y <= r.bottom(); ++y) {
        const float dy2 = quadrat(((y + 0.5) / dpr - mitte.y()) / ry);
        const float fyGrob = grob.zeile(y);
        const float fyFein = fein.zeile(y);
        const float* __restrict gw = grob.wert();
        const float* __restrict ga = grob.anstieg();
        const float* __restrict fw = fein.wert();
        const float* __restrict fa = fein.anstieg();
        const float* __restrict d = dx2.data();
        float* __restrict l = licht.data();
        for (int i = 0; i < breite; ++i) {
            const float rand = d[i] + dy2;
            l[i] = (1.0f - v * rand * rand) * (gw[i] + ga[i] * fyGrob) * (fw[i] + fa[i] * fyFein);
        }

        // The grain, from a random place in the table, and the pixels.
        const std::uint32_t zeilenHash = mische(static_cast<std::uint32_t>(y) + (saat + 3) * 0x85EBCA77U);
        const float* __restrict korn = kornTabelle().data();
        const int kornStart = static_cast<int>(zeilenHash % kKornVersatz) - std::min(r.left(), kKornVersatz);
        auto* __restrict zeile = reinterpret_cast<QRgb*>(bild.scanLine(y - versatz));
        const int links = r.left();
        const auto fuellen = [&](int von, int bis) {
            for (int x = von; x < bis; ++x) {
                const float f = l[x - links], k = korn[x + kornStart];
                const auto kanal = [&](float c) {
                    const float wert = c * f + k;
                    return static_cast<std::uint32_t>(wert < 0.0f ? 0.0f : (wert > 255.0f ? 255.0f : wert));
                };
                zeile[x] = 0xFF000000u | kanal(rot) << 16 | kanal(gruen) << 8 | kanal(blau);
            }
        };
        if (y >= ausgespart.top() && y <= ausgespart.bottom()) {
            fuellen(r.left(), std::max(r.left(), ausgespart.left()));
            fuellen(std::min(r.right() + 1, ausgespart.right() + 1), r.right() + 1);
        } else {
            fuellen(r.left(), r.right() + 1);
        }
    }
}

// The part of a horizontal line that lies inside a rectangle with rounded corners.
struct Strecke {
    double von = 0;
    double bis = 0;  // empty when bis <= von
};

Strecke zeileIn(const QRectF& r, double radius, double y)
{
    if (y < r.top() || y > r.bottom())
        return {r.center().x(), r.center().x()};
    const double rand = std::min(y - r.top(), r.bottom() - y);
    const double ein = rand < radius ? radius - std::sqrt(radius * radius - (radius - rand) * (radius - rand)) : 0;
    return {r.left() + ein, r.right() - ein};
}

// What a pen of width `breite` draws along the rounded rectangle r (corner
// radius `radius`), filled as a ring: much cheaper than stroking.
void rahmen(QPainter& p, const QRectF& r, double radius, double breite, const QBrush& pinsel)
{
    const double h = breite / 2;
    QPainterPath ring;
    ring.addRoundedRect(r.adjusted(-h, -h, h, h), radius + h, radius + h);
    if (r.width() > breite && r.height() > breite)
        ring.addRoundedRect(r.adjusted(h, h, -h, -h), std::max(0.0, radius - h), std::max(0.0, radius - h));
    ring.setFillRule(Qt::OddEvenFill);
    p.fillPath(ring, pinsel);
}

// Thin strokes along x (or, with `senkrecht`, along y), drawn as rectangles.
void striche(QPainter& p, const QList<QLineF>& linien, double breite, const QColor& farbe)
{
    for (const QLineF& l : linien) {
        const QRectF r = QRectF(l.p1(), l.p2()).normalized();
        p.fillRect(l.dy() == 0 ? r.adjusted(0, -breite / 2, 0, breite / 2) : r.adjusted(-breite / 2, 0, breite / 2, 0),
                   farbe);
    }
}

// A soft shadow made of a few widening rounded outlines.
void schatten(QPainter& p, const QRectF& r, double radius, double breite, int staerke)
{
    p.save();
    p.setBrush(Qt::NoBrush);
    const int schritte = 6;
    for (int i = schritte; i >= 1; --i) {
        const double w = breite * i / schritte;
        rahmen(p, r.adjusted(-w / 2 + 1, -w / 2 + 2, w / 2 + 1, w / 2 + 2), radius + w / 2, w,
               QColor(0, 0, 0, staerke / schritte));
    }
    p.restore();
}

QLinearGradient messingVerlauf(QPointF von, QPointF bis)
{
    QLinearGradient g(von, bis);
    g.setColorAt(0.0, rgb(farbe::messingHell));
    g.setColorAt(0.45, rgb(farbe::messing));
    g.setColorAt(1.0, rgb(farbe::messingDunkel));
    return g;
}

void zeichneTafel(QPainter& p)
{
    // The panel and the plate it reaches onto, one shape under the winding rule.
    QPainterPath tafel;
    tafel.addRect(QRectF(0, 0, kTafelBreite, kHintergrund.height()));
    tafel.addRoundedRect(kGesamtSchild, 6, 6);
    tafel.setFillRule(Qt::WindingFill);

    p.save();
    schatten(p, kGesamtSchild.adjusted(kTafelBreite - 4, 0, 0, 0), 6, 6, 90);
    QLinearGradient g(0, 0, 0, kHintergrund.height());
    g.setColorAt(0, rgb(farbe::tafelOben));
    g.setColorAt(1, rgb(farbe::tafelUnten));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(tafel);

    // Quiet stripes behind each row and a warm tint behind the totals.
    for (const Zeile& z : kZeilen) {
        p.setBrush(z.summe ? QColor(236, 200, 118, 22) : QColor(255, 255, 255, 9));
        p.drawRect(QRectF(4, z.y, kZelleRechts + 1 - 4, z.hoehe));
    }
    p.setBrush(QColor(236, 200, 118, 22));
    p.drawRect(QRectF(4, kUntenGesamt.y, kZelleRechts + 1 - 4, kUntenGesamt.hoehe));
    p.setBrush(QColor(236, 200, 118, 30));
    p.drawRect(QRectF(4, kGesamt.y, kGesamtSchild.right() - 6 - 4, kGesamt.hoehe));

    for (double y : kTrennlinien) {
        QLinearGradient l(6, 0, kZelleRechts, 0);
        l.setColorAt(0, QColor(236, 200, 118, 0));
        l.setColorAt(0.15, QColor(236, 200, 118, 150));
        l.setColorAt(0.85, QColor(236, 200, 118, 150));
        l.setColorAt(1, QColor(236, 200, 118, 0));
        p.setPen(QPen(QBrush(l), 1));
        p.drawLine(QPointF(6, y), QPointF(kZelleRechts, y));
    }

    // Brass edge along the right side and around the total plate.
    p.setBrush(Qt::NoBrush);
    QPainterPath rand;
    rand.moveTo(kTafelBreite - 0.75, -1);
    rand.lineTo(kTafelBreite - 0.75, kGesamtSchild.top() + 0.75);
    rand.lineTo(kGesamtSchild.right() - 6, kGesamtSchild.top() + 0.75);
    rand.quadTo(kGesamtSchild.right() - 0.75, kGesamtSchild.top() + 0.75, kGesamtSchild.right() - 0.75,
                kGesamtSchild.top() + 6);
    rand.lineTo(kGesamtSchild.right() - 0.75, kGesamtSchild.bottom() - 6);
    rand.quadTo(kGesamtSchild.right() - 0.75, kGesamtSchild.bottom() - 0.75, kGesamtSchild.right() - 6,
                kGesamtSchild.bottom() - 0.75);
    rand.lineTo(kTafelBreite - 0.75, kGesamtSchild.bottom() - 0.75);
    rand.lineTo(kTafelBreite - 0.75, kHintergrund.height() + 1);
    p.setPen(QPen(messingVerlauf({0, 0}, {0, double(kHintergrund.height())}), 1.5));
    p.drawPath(rand);
    p.restore();
}

void zeichneZeilentext(QPainter& p, const Zeile& z)
{
    const int rechts = z.knopfX > 0 ? z.knopfX - 4 : (z.y == kGesamt.y ? kZelleLinks - 6 : kTextRechtsOhneKnopf);
    int links = kTextLinks;
    if (z.augen > 0) {
        const double seite = 14;
        zeichneFlachenWuerfel(p, z.augen, QRectF(links, z.y + (z.hoehe - seite) / 2, seite, seite));
        links += 19;
    }
    const bool fett = z.y == kGesamt.y;
    p.setFont(schrift(fett ? 11 : 10, fett ? QFont::Bold : (z.summe ? QFont::DemiBold : QFont::Normal)));
    p.setPen(rgb(z.summe ? farbe::tafelSumme : farbe::tafelSchrift));
    p.drawText(QRectF(links, z.y, rechts - links, z.hoehe), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromUtf8(z.text));
}

void zeichneCheckSchild(QPainter& p)
{
    p.save();
    schatten(p, kCheckSchild, 5, 5, 110);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawRoundedRect(kCheckSchild.adjusted(0.6, 0.6, -0.6, -0.6), 5, 5);
    rahmen(p, kCheckSchild.adjusted(0.6, 0.6, -0.6, -0.6), 5, 1.2,
           messingVerlauf(kCheckSchild.topLeft(), kCheckSchild.bottomLeft()));
    p.restore();
}

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

constexpr QRectF kTischInnen = kTischRahmen.adjusted(kRahmenBreite, kRahmenBreite, -kRahmenBreite, -kRahmenBreite);

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

// The rack's small dice, each with its shadow, added to the finished picture,
// whose rows start at the picture's row `versatz`.
void zeichneLeistenWuerfel(QImage& bild, int versatz)
{
    const qreal dpr = bild.devicePixelRatio();
    const QRect flaeche = QRectF(kLeiste.topLeft() * dpr, kLeiste.size() * dpr).toAlignedRect().adjusted(-4, -4, 4, 4);
    WuerfelRaster raster(flaeche.width(), flaeche.height());
    constexpr int anzahl = 13;
    const double abstand = kLeiste.width() / anzahl;
    for (int i = 0; i < anzahl; ++i) {
        WuerfelAnsicht w;
        const double drehungZ = (zufall(i, 11, 5) - 0.5) * 40;
        w.lage = neigung(-10 - 5 * zufall(i, 12, 5), -10 + 20 * zufall(i, 13, 5), drehungZ);
        w.halb = 10.2 * dpr;
        w.mitte = QPointF(kLeiste.left() + abstand * (i + 0.5), kLeiste.center().y()) * dpr - flaeche.topLeft();
        w.rundung = 3.4 * dpr;
        w.kantenBreite = 0.8 * dpr;
        w.augenRadius = 0.21;
        w.mindestSicht = 0.8;
        w.augen = augenVerteilung(i % 6 + 1);
        raster.wuerfel(w);
    }
    const QPoint ecke = flaeche.topLeft() - QPoint(0, versatz);
    raster.schattenDarueber(bild, ecke, QPointF(1.2, 1.8) * dpr, qRgb(0, 0, 0), 80 / 255.0f);
    raster.darueber(bild, ecke);
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

// ---------------------------------------------------------------------------
// Pointers

QPainterPath rundesRechteck(const QRectF& r, double radius)
{
    QPainterPath pfad;
    pfad.addRoundedRect(r, radius, radius);
    return pfad;
}

// A finger or thumb: a rounded bar from `ansatz` in direction `grad` (clockwise from +x).
QPainterPath glied(QPointF ansatz, double grad, double laenge, double breite)
{
    QTransform t;
    t.translate(ansatz.x(), ansatz.y());
    t.rotate(grad);
    return t.map(rundesRechteck(QRectF(-breite / 2, -breite / 2, laenge + breite / 2, breite), breite / 2));
}

QPainterPath vereint(std::initializer_list<QPainterPath> teile)
{
    QPainterPath ganz;
    for (const QPainterPath& t : teile)
        ganz = ganz.united(t);
    return ganz.simplified();
}

QImage zeichneZeiger(qreal dpr, const std::function<void(QPainter&)>& inhalt)
{
    QImage bild = leinwand(kZeiger, klemmeDpr(dpr));
    QPainter p(&bild);
    glatt(p);
    inhalt(p);
    p.end();
    return bild;
}

// The letters A..E of the toy blocks as outlines, centred on the origin and
// 1.05 high. Qt's glyph outlines move by fractions of a pixel with the font
// state of the thread that asks for them, so they are made once and shared by
// every block drawn, on whichever thread.
const std::array<QPainterPath, kBloecke>& blockBuchstaben()
{
    static const std::array<QPainterPath, kBloecke> buchstaben = [] {
        std::array<QPainterPath, kBloecke> b;
        for (int i = 0; i < kBloecke; ++i) {
            QPainterPath zeichen;
            zeichen.addText(0, 0, schrift(100, QFont::Black), QString(QChar(u'A' + i)));
            const QRectF r = zeichen.boundingRect();
            QTransform t;
            t.scale(1.05 / r.height(), 1.05 / r.height());
            t.translate(-r.center().x(), -r.center().y());
            b[static_cast<std::size_t>(i)] = t.map(zeichen);
        }
        return b;
    }();
    return buchstaben;
}

// The toy block: coloured wood, a raised border and a white letter.
Flaechenmaler blockMaler(QRgb grund, const QPainterPath& zeichen)
{
    return [grund, zeichen](QPainter& p, int flaeche, double licht, double sichtbar) {
        QLinearGradient g(-1, -1, 1, 1);
        g.setColorAt(0, getoent(grund, licht * 1.08));
        g.setColorAt(1, getoent(grund, licht * 0.88));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRect(QRectF(-1.02, -1.02, 2.04, 2.04));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(getoent(grund, licht * 1.25), 0.16));
        p.drawRoundedRect(QRectF(-0.74, -0.74, 1.48, 1.48), 0.2, 0.2);
        if (flaeche != 0 || sichtbar < 0.5)
            return;
        p.setPen(QPen(QColor(0, 0, 0, 150), 0.14, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(zeichen.translated(0.05, 0.07));
        p.setPen(QPen(getoent(grund, 0.45), 0.07, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(rgb(farbe::perle));
        p.drawPath(zeichen);
    };
}

void zeichneStift(QPainter& p, QPointF spitze, double grad)
{
    p.save();
    p.translate(spitze);
    p.rotate(grad);
    const double b = 2.6;  // half the pencil's width
    const QPen kontur(QColor(60, 40, 20), 0.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);

    // Shadow on the pad.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 40, 70));
    p.drawPolygon(QPolygonF({QPointF(1.5, 1.5), QPointF(8, b + 2), QPointF(27, b + 2), QPointF(27, -b + 2),
                             QPointF(8, -b + 2)}));

    p.setPen(kontur);
    p.setBrush(rgb(farbe::holzSpitze));
    p.drawPolygon(QPolygonF({QPointF(0, 0), QPointF(7, -b), QPointF(7, b)}));
    p.setPen(Qt::NoPen);
    p.setBrush(rgb(farbe::mine));
    p.drawPolygon(QPolygonF({QPointF(0, 0), QPointF(2.6, -b * 0.37), QPointF(2.6, b * 0.37)}));

    QLinearGradient k(0, -b, 0, b);
    k.setColorAt(0, getoent(farbe::stiftGelb, 1.25));
    k.setColorAt(0.35, rgb(farbe::stiftGelb));
    k.setColorAt(0.36, getoent(farbe::stiftGelb, 0.9));
    k.setColorAt(0.7, getoent(farbe::stiftGelb, 0.9));
    k.setColorAt(0.71, getoent(farbe::stiftGelb, 0.75));
    k.setColorAt(1, getoent(farbe::stiftGelb, 0.72));
    p.setPen(kontur);
    p.setBrush(k);
    p.drawRect(QRectF(7, -b, 14, 2 * b));

    QLinearGradient z(0, -b, 0, b);
    z.setColorAt(0, QColor(250, 250, 252));
    z.setColorAt(0.5, rgb(farbe::zwinge));
    z.setColorAt(1, QColor(120, 124, 130));
    p.setBrush(z);
    p.drawRect(QRectF(21, -b, 2.8, 2 * b));
    p.setBrush(rgb(farbe::radierer));
    p.drawRoundedRect(QRectF(23.8, -b, 3.4, 2 * b), 1.2, 1.2);
    p.restore();
}

// ---------------------------------------------------------------------------
// Tumbling frames

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

// ---------------------------------------------------------------------------
// The pictures, drawn on the calling thread

// The background is painted in horizontal bands side by side (logical y).
constexpr std::array<double, 4> kBaender{0, 150, 300, kHintergrund.height()};

// Paints the physical rows [von, bis) of the background, a picture of
// `groesse` pixels at `dpr` whose rows start at `pixel`, with everything that
// reaches into them.
void hintergrundBand(uchar* pixel, qsizetype zeilenLaenge, QSize groesse, qreal dpr, int von, int bis)
{
    QImage bild(pixel + von * zeilenLaenge, groesse.width(), bis - von, zeilenLaenge,
                QImage::Format_ARGB32_Premultiplied);
    bild.setDevicePixelRatio(dpr);
    bild.fill(Qt::transparent);
    const QRectF band(0, von / dpr, kHintergrund.width(), (bis - von) / dpr);
    const auto trifft = [&band](const QRectF& r) { return band.intersects(r.adjusted(-16, -16, 16, 16)); };

    filzFlaeche(bild, von, QRectF(kTafelBreite, 0, kHintergrund.width() - kTafelBreite, kHintergrund.height()),
                farbe::filz, 0.55, 11, kTischInnen);
    filzFlaeche(bild, von, kTischInnen, farbe::filzTief, 0.25, 23);

    QPainter p(&bild);
    glatt(p);
    p.translate(0, -von / dpr);

    // A darker band keeps the status line readable.
    const QRectF status(kTafelBreite, kStatusBand.top() - 6, kHintergrund.width() - kTafelBreite,
                        kStatusBand.height() + 8);
    if (trifft(status)) {
        QLinearGradient verlauf(0, status.top(), 0, status.bottom());
        verlauf.setColorAt(0, QColor(0, 0, 0, 0));
        verlauf.setColorAt(0.25, QColor(0, 0, 0, 70));
        verlauf.setColorAt(0.75, QColor(0, 0, 0, 70));
        verlauf.setColorAt(1, QColor(0, 0, 0, 0));
        p.fillRect(status, verlauf);
    }
    if (trifft(kCheckSchild))
        zeichneCheckSchild(p);
    if (trifft(kAblage.united(kAblageReiter)))
        zeichneAblage(p);
    if (trifft(kTischRahmen))
        zeichneTisch(p);
    if (trifft(kLogo))
        zeichneLogo(p);
    zeichneTafel(p);
    for (const Zeile& z : kZeilen)
        if (trifft(QRectF(0, z.y, kTafelBreite, z.hoehe)))
            zeichneZeilentext(p, z);
    if (trifft(QRectF(0, kUntenGesamt.y, kTafelBreite, kUntenGesamt.hoehe)))
        zeichneZeilentext(p, kUntenGesamt);
    if (trifft(QRectF(0, kGesamt.y, kTafelBreite, kGesamt.hoehe)))
        zeichneZeilentext(p, kGesamt);
    p.end();
    if (trifft(kLeiste))
        zeichneLeistenWuerfel(bild, von);
}

// An empty background picture and the jobs that paint it, one per band.
QImage hintergrundLeinwand(qreal dpr)
{
    QImage bild(qRound(kHintergrund.width() * dpr), qRound(kHintergrund.height() * dpr),
                QImage::Format_ARGB32_Premultiplied);
    bild.setDevicePixelRatio(dpr);
    return bild;
}

std::vector<std::function<void()>> hintergrundAuftraege(QImage& bild)
{
    uchar* pixel = bild.bits();
    const qsizetype zeilenLaenge = bild.bytesPerLine();
    const QSize groesse = bild.size();
    const qreal dpr = bild.devicePixelRatio();
    std::vector<std::function<void()>> auftraege;
    for (std::size_t i = 0; i + 1 < kBaender.size(); ++i) {
        const int von = qRound(kBaender[i] * dpr);
        const int bis = i + 2 == kBaender.size() ? groesse.height() : qRound(kBaender[i + 1] * dpr);
        auftraege.push_back([=] { hintergrundBand(pixel, zeilenLaenge, groesse, dpr, von, bis); });
    }
    return auftraege;
}

QImage hintergrundBild(qreal dpr)
{
    QImage bild = hintergrundLeinwand(klemmeDpr(dpr));
    alleAufPool(hintergrundAuftraege(bild));
    return bild;
}

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

QImage handBild(qreal dpr)
{
    return zeichneZeiger(dpr, [](QPainter& p) {
        QPolygonF acht;
        for (int i = 0; i < 8; ++i) {
            const double w = (22.5 + 45 * i) * std::numbers::pi / 180;
            acht << QPointF(16 + 15.2 * std::cos(w), 16 + 15.2 * std::sin(w));
        }
        p.setPen(QPen(rgb(farbe::umriss), 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::white);
        p.drawPolygon(acht);
        QTransform innen;
        innen.translate(16, 16);
        innen.scale(0.84, 0.84);
        innen.translate(-16, -16);
        QLinearGradient rot(0, 2, 0, 30);
        rot.setColorAt(0, getoent(farbe::stopRot, 1.12));
        rot.setColorAt(1, rgb(farbe::stopRotDunkel));
        p.setPen(Qt::NoPen);
        p.setBrush(rot);
        p.drawPolygon(innen.map(acht));

        const QPainterPath hand = vereint({
            rundesRechteck(QRectF(11.2, 14.2, 10.2, 10.4), 3.4),
            rundesRechteck(QRectF(11.2, 9.2, 2.5, 8), 1.25),
            rundesRechteck(QRectF(13.8, 7.4, 2.5, 9), 1.25),
            rundesRechteck(QRectF(16.4, 7.8, 2.5, 9), 1.25),
            rundesRechteck(QRectF(19.0, 9.8, 2.4, 8), 1.2),
            glied(QPointF(13.2, 21.6), -132, 7.4, 2.7),
        });
        p.setPen(QPen(QColor(110, 0, 8), 0.7));
        p.setBrush(Qt::white);
        p.drawPath(hand);
        p.setPen(QPen(QColor(180, 150, 150), 0.5));
        for (const double x : {13.75, 16.35, 18.95})
            p.drawLine(QPointF(x, 11), QPointF(x, 15.5));
    });
}

QImage blockBild(int index, qreal dpr)
{
    index = std::clamp(index, 0, kBloecke - 1);
    return zeichneZeiger(dpr, [index](QPainter& p) {
        Koerper k = eingepasst(neigung(-17, -19), QRectF(1, 1, 30, 30));
        k.rundung = k.halb * 0.22;
        k.kante = getoent(kBlockFarben[index], 0.4);
        k.kantenBreite = 0.9;
        zeichneKoerper(p, k, blockMaler(kBlockFarben[index], blockBuchstaben()[static_cast<std::size_t>(index)]));
    });
}

QImage linkBild(qreal dpr)
{
    return zeichneZeiger(dpr, [](QPainter& p) {
        const QPainterPath hand = vereint({
            rundesRechteck(QRectF(9.2, 1.0, 5.0, 17), 2.5),
            rundesRechteck(QRectF(14.0, 10.4, 4.6, 9), 2.2),
            rundesRechteck(QRectF(18.4, 11.6, 4.4, 9), 2.1),
            rundesRechteck(QRectF(22.6, 13.2, 3.9, 8.5), 1.9),
            rundesRechteck(QRectF(9.2, 15.0, 17.3, 11.5), 4),
            glied(QPointF(12.5, 22.5), -150, 7.2, 4.4),
            rundesRechteck(QRectF(11.0, 25.0, 13.6, 6.0), 1),
        });
        p.setPen(QPen(rgb(farbe::umriss), 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QLinearGradient weiss(8, 0, 26, 30);
        weiss.setColorAt(0, Qt::white);
        weiss.setColorAt(1, QColor(226, 226, 232));
        p.setBrush(weiss);
        p.drawPath(hand);
        p.setPen(QPen(rgb(farbe::umriss), 0.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(14.1, 12.8), QPointF(14.1, 17.6));
        p.drawLine(QPointF(18.5, 13.8), QPointF(18.5, 18.4));
        p.drawLine(QPointF(22.7, 15.2), QPointF(22.7, 19.4));
        p.drawLine(QPointF(11.0, 25.2), QPointF(24.6, 25.2));
    });
}

QImage mailBild(qreal dpr)
{
    return zeichneZeiger(dpr, [](QPainter& p) {
        // The pad: blue backing, ruled paper, spiral binding.
        const QRectF block(7.5, 2.5, 23, 25);
        QLinearGradient blau(block.topLeft(), block.bottomRight());
        blau.setColorAt(0, rgb(farbe::blockHellBlau));
        blau.setColorAt(1, rgb(farbe::blockBlau));
        p.setPen(QPen(QColor(16, 40, 100), 1));
        p.setBrush(blau);
        p.drawRoundedRect(block, 2.2, 2.2);
        const QRectF blatt = block.adjusted(2.5, 4.5, -2.5, -2.5);
        p.setPen(Qt::NoPen);
        p.setBrush(rgb(farbe::papier));
        p.drawRect(blatt);
        p.setPen(QPen(rgb(farbe::linie), 0.7));
        for (double y = blatt.top() + 4; y < blatt.bottom() - 1; y += 3.2)
            p.drawLine(QPointF(blatt.left() + 1, y), QPointF(blatt.right() - 1, y));
        p.setPen(QPen(QColor(220, 90, 90, 200), 0.6));
        p.drawLine(QPointF(blatt.left() + 3.5, blatt.top()), QPointF(blatt.left() + 3.5, blatt.bottom()));
        for (int i = 0; i < 6; ++i) {
            const double x = block.left() + 4 + i * 3.2;
            p.setPen(QPen(QColor(60, 60, 70), 0.7));
            p.setBrush(QColor(200, 204, 212));
            p.drawRoundedRect(QRectF(x, block.top() - 1.5, 1.6, 5.5), 0.8, 0.8);
        }
        zeichneStift(p, QPointF(2.4, 29.4), -45);
    });
}

} // namespace

// ---------------------------------------------------------------------------

namespace artwork {

QPixmap hintergrund(qreal dpr)
{
    return alsPixmap(hintergrundBild(dpr));
}

QPixmap seite(int augen, qreal dpr)
{
    return alsPixmap(aufPool([augen, dpr] { return seitenBild(augen, dpr); }));
}

QPixmap wurfbild(int k, qreal dpr)
{
    k = std::clamp(k, 0, kWurfbilder - 1);
    dpr = klemmeDpr(dpr);
    return alsPixmap(aufPool([k, dpr] { return wurfBild(k, dpr); }));
}

QPixmap handZeiger(qreal dpr)
{
    return alsPixmap(aufPool([dpr] { return handBild(dpr); }));
}

QPixmap blockZeiger(int index, qreal dpr)
{
    return alsPixmap(aufPool([index, dpr] { return blockBild(index, dpr); }));
}

QPixmap linkZeiger(qreal dpr)
{
    return alsPixmap(aufPool([dpr] { return linkBild(dpr); }));
}

QPixmap mailZeiger(qreal dpr)
{
    return alsPixmap(aufPool([dpr] { return mailBild(dpr); }));
}

QImage symbol(int pixel)
{
    pixel = std::clamp(pixel, kSymbolMin, kSymbolMax);
    QImage bild(pixel, pixel, QImage::Format_ARGB32_Premultiplied);
    bild.fill(Qt::transparent);
    QPainter p(&bild);
    symbolMalen(p, pixel);
    p.end();
    return bild;
}

void symbolMalen(QPainter& p, qreal groesse)
{
    if (!std::isfinite(groesse) || groesse <= 0)
        return;
    p.save();
    glatt(p);
    const double einheit = groesse / 64.0;
    p.scale(einheit, einheit);
    // Small icons turn the dice more towards the viewer and enlarge the pips.
    const bool klein = groesse <= 24;
    const double kantenBreite = std::max(klein ? 1.0 : 0.8, 1.0 / einheit);

    const Wuerfelfarben rot{farbe::rubin, farbe::perle, qRgb(235, 226, 220), farbe::rubinKante};
    const Wuerfelfarben weiss{};

    Koerper hinten;
    hinten.lage = klein ? neigung(-8, 8, -14) : neigung(-18, 16, -16);
    hinten.halb = klein ? 15.2 : 14.2;
    hinten.mitte = klein ? QPointF(20.5, 21) : QPointF(23, 24);
    hinten.rundung = 5;
    hinten.kante = rgb(rot.kante);
    hinten.kantenBreite = kantenBreite;

    Koerper vorne;
    vorne.lage = klein ? neigung(-8, -8, 10) : neigung(-16, -18, 12);
    vorne.halb = klein ? 15.6 : 14.8;
    vorne.mitte = klein ? QPointF(42.5, 42) : QPointF(41.5, 39.5);
    vorne.rundung = 5;
    vorne.kante = rgb(farbe::wuerfelKante).darker(klein ? 170 : 110);
    vorne.kantenBreite = kantenBreite;

    const double augenRadius = klein ? 0.3 : 0.21;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawPath(koerperPfad(hinten).translated(1.5, 2.5));
    zeichneKoerper(p, hinten, wuerfelMaler(augenVerteilung(klein ? 2 : 5), rot, augenRadius, 0.7));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 80));
    p.drawPath(koerperPfad(vorne).translated(1.5, 2.5));
    zeichneKoerper(p, vorne, wuerfelMaler(augenVerteilung(3), weiss, augenRadius, 0.7));
    p.restore();
}

} // namespace artwork

// ---------------------------------------------------------------------------

namespace {

constexpr std::array<int, 7> kSymbolGroessen{16, 24, 32, 48, 64, 128, 256};
// The sizes drawn in advance and offered to the window system; the larger
// ones (for which an installed program has its theme icons) are drawn when
// first asked for.
constexpr std::size_t kFensterSymbole = 5;

// The program icon. Its sizes are known at once; the pixmap of an offered size
// is taken from `bild` (which may wait for it) the first time it is asked for.
class Symbolmaler : public QIconEngine {
public:
    explicit Symbolmaler(std::function<const QImage&(std::size_t)> bild) : m_bild(std::move(bild)) {}

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> groessen;
        for (std::size_t i = 0; i < kFensterSymbole; ++i)
            groessen.append(QSize(kSymbolGroessen[i], kSymbolGroessen[i]));
        return groessen;
    }

    // The size pixmap() gives: a square as large as the request's shorter side,
    // at most the largest size.
    QSize actualSize(const QSize& groesse, QIcon::Mode, QIcon::State) override
    {
        const int seite = std::clamp(std::min(groesse.width(), groesse.height()), 1, kSymbolGroessen.back());
        return QSize(seite, seite);
    }

    QPixmap pixmap(const QSize& groesse, QIcon::Mode modus, QIcon::State) override
    {
        // The smallest size that covers the request, scaled down to it if need be.
        const int verlangt = actualSize(groesse, modus, QIcon::Off).width();
        std::size_t i = 0;
        while (i + 1 < kSymbolGroessen.size() && kSymbolGroessen[i] < verlangt)
            ++i;
        if (m_pixmaps[i].isNull())
            m_pixmaps[i] = QPixmap::fromImage(i < kFensterSymbole ? m_bild(i) : artwork::symbol(kSymbolGroessen[i]));
        QPixmap pix = m_pixmaps[i];
        if (kSymbolGroessen[i] > verlangt)
            pix = pix.scaled(verlangt, verlangt, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (modus != QIcon::Normal && qobject_cast<QApplication*>(QCoreApplication::instance()))
            pix = QApplication::style()->generatedIconPixmap(modus, pix, nullptr);
        return pix;
    }

    void paint(QPainter* p, const QRect& rechteck, QIcon::Mode modus, QIcon::State zustand) override
    {
        p->drawPixmap(rechteck, pixmap(rechteck.size(), modus, zustand));
    }

    QIconEngine* clone() const override { return new Symbolmaler(*this); }
    QString key() const override { return QStringLiteral("wk::Symbolmaler"); }

private:
    std::function<const QImage&(std::size_t)> m_bild;
    std::array<QPixmap, kSymbolGroessen.size()> m_pixmaps{};
};

} // namespace

// Drawn by a pool thread; read on the GUI thread once `fertig` has been acquired.
struct Artwork::Startbilder {
    std::array<QImage, kFensterSymbole> symbole{};
    QImage link{};
    QImage mail{};
    QSemaphore fertig{};
    bool abgeholt = false;

    const Startbilder& abgewartet()
    {
        if (!abgeholt) {
            fertig.acquire();
            abgeholt = true;
        }
        return *this;
    }
};

struct Artwork::Spielbilder {
    QPixmap hintergrund{};
    std::array<QPixmap, 6> seiten{};
    std::array<QPixmap, kWurfbilder> wurfbilder{};
    QCursor hand{};
    std::array<QCursor, kBloecke> bloecke{};
};

Artwork::Artwork(qreal dpr) : m_dpr(klemmeDpr(dpr)), m_start(std::make_shared<Startbilder>()) {}

Artwork::~Artwork() = default;

void Artwork::startbilderBeginnen() const
{
    if (m_startBegonnen)
        return;
    m_startBegonnen = true;
    // One job, in the order the start window needs the pictures, so that the
    // GUI thread and the X server keep a core meanwhile. The job holds the
    // pictures' storage, so it outlives an Artwork destroyed early.
    QThreadPool::globalInstance()->start([start = m_start, dpr = m_dpr] {
        start->link = linkBild(dpr);
        start->mail = mailBild(dpr);
        for (std::size_t i = 0; i < kFensterSymbole; ++i)
            start->symbole[i] = artwork::symbol(kSymbolGroessen[i]);
        start->fertig.release();
    });
}

const Artwork::Startbilder& Artwork::startbilder() const
{
    startbilderBeginnen();
    return m_start->abgewartet();
}

const Artwork::Spielbilder& Artwork::spielbilder() const
{
    if (m_spiel)
        return *m_spiel;

    // Every picture in a job of its own, side by side.
    const qreal dpr = m_dpr;
    QImage hintergrund, hand;
    std::array<QImage, 6> seiten;
    std::array<QImage, kBloecke> bloecke;
    std::array<QImage, kWurfbilder> wurf;
    hintergrund = hintergrundLeinwand(dpr);
    std::vector<std::function<void()>> auftraege = hintergrundAuftraege(hintergrund);
    auftraege.push_back([&] { hand = handBild(dpr); });
    for (int k = 0; k < kWurfbilder; ++k)
        auftraege.push_back([&wurf, k, dpr] { wurf[static_cast<std::size_t>(k)] = wurfBild(k, dpr); });
    for (int i = 0; i < 6; ++i)
        auftraege.push_back([&seiten, i, dpr] { seiten[static_cast<std::size_t>(i)] = seitenBild(i + 1, dpr); });
    for (int i = 0; i < kBloecke; ++i)
        auftraege.push_back([&bloecke, i, dpr] { bloecke[static_cast<std::size_t>(i)] = blockBild(i, dpr); });
    alleAufPool(auftraege);

    auto bilder = std::make_unique<Spielbilder>();
    bilder->hintergrund = alsPixmap(std::move(hintergrund));
    for (std::size_t i = 0; i < seiten.size(); ++i)
        bilder->seiten[i] = alsPixmap(std::move(seiten[i]));
    for (std::size_t k = 0; k < wurf.size(); ++k)
        bilder->wurfbilder[k] = alsPixmap(std::move(wurf[k]));
    bilder->hand = QCursor(alsPixmap(std::move(hand)), 16, 16);
    for (std::size_t i = 0; i < bloecke.size(); ++i)
        bilder->bloecke[i] = QCursor(alsPixmap(std::move(bloecke[i])), 16, 16);
    m_spiel = std::move(bilder);
    return *m_spiel;
}

const QCursor& Artwork::linkCursor() const
{
    if (!m_link)
        m_link.emplace(alsPixmap(startbilder().link), 11, 1);
    return *m_link;
}

const QCursor& Artwork::mailCursor() const
{
    if (!m_mail)
        m_mail.emplace(alsPixmap(startbilder().mail), 2, 29);
    return *m_mail;
}

const QIcon& Artwork::icon() const
{
    startbilderBeginnen();
    if (!m_icon)
        m_icon.emplace(new Symbolmaler(
            [start = m_start](std::size_t i) -> const QImage& { return start->abgewartet().symbole[i]; }));
    return *m_icon;
}

const QPixmap& Artwork::hintergrund() const { return spielbilder().hintergrund; }

const QPixmap& Artwork::seite(int augen) const { return spielbilder().seiten[std::clamp(augen, 1, 6) - 1]; }

const QPixmap& Artwork::wurfbild(int k) const
{
    return spielbilder().wurfbilder[std::clamp(k, 0, kWurfbilder - 1)];
}

const QCursor& Artwork::handCursor() const { return spielbilder().hand; }

const QCursor& Artwork::blockCursor(int index) const
{
    return spielbilder().bloecke[std::clamp(index, 0, kBloecke - 1)];
}

} // namespace wk
