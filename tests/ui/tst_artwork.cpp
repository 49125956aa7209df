#include "ui/artwork.h"

#include <QColor>
#include <QTest>

#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <vector>

using namespace wk;

namespace {

enum class Bild { Hintergrund, Seite, Wurfbild, Hand, Block, Link, Mail };

QPixmap erzeuge(Bild bild, qreal dpr)
{
    switch (bild) {
    case Bild::Hintergrund: return artwork::hintergrund(dpr);
    case Bild::Seite: return artwork::seite(4, dpr);
    case Bild::Wurfbild: return artwork::wurfbild(5, dpr);
    case Bild::Hand: return artwork::handZeiger(dpr);
    case Bild::Block: return artwork::blockZeiger(2, dpr);
    case Bild::Link: return artwork::linkZeiger(dpr);
    case Bild::Mail: return artwork::mailZeiger(dpr);
    }
    return {};
}

QImage pixel(const QPixmap& pix)
{
    return pix.toImage().convertToFormat(QImage::Format_ARGB32);
}

// The background takes a while to draw; the checks share one copy per ratio.
const QImage& hintergrundBild(qreal dpr)
{
    static const QImage einfach = pixel(artwork::hintergrund(1));
    static const QImage doppelt = pixel(artwork::hintergrund(2));
    return dpr > 1 ? doppelt : einfach;
}

bool dunkel(QRgb p)
{
    return qAlpha(p) > 200 && qGray(p) < 96;
}

// Connected regions (4-neighbourhood) of pixels for which `gehoert` holds.
int regionen(const QImage& bild, const std::function<bool(QRgb)>& gehoert)
{
    const int w = bild.width(), h = bild.height();
    std::vector<char> gesehen(static_cast<std::size_t>(w) * h, 0);
    int anzahl = 0;
    for (int y0 = 0; y0 < h; ++y0)
        for (int x0 = 0; x0 < w; ++x0) {
            if (gesehen[y0 * w + x0] || !gehoert(bild.pixel(x0, y0)))
                continue;
            ++anzahl;
            std::vector<QPoint> offen{{x0, y0}};
            gesehen[y0 * w + x0] = 1;
            while (!offen.empty()) {
                const QPoint p = offen.back();
                offen.pop_back();
                for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                    const QPoint n = p + d;
                    if (n.x() < 0 || n.y() < 0 || n.x() >= w || n.y() >= h || gesehen[n.y() * w + n.x()])
                        continue;
                    if (gehoert(bild.pixel(n))) {
                        gesehen[n.y() * w + n.x()] = 1;
                        offen.push_back(n);
                    }
                }
            }
        }
    return anzahl;
}

int zaehle(const QImage& bild, const QRect& r, const std::function<bool(QRgb)>& bedingung)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += bedingung(bild.pixel(x, y)) ? 1 : 0;
    return n;
}

// Mean hue in degrees of the strongly coloured opaque pixels, or -1 if there are none.
double mittlererFarbton(const QImage& bild)
{
    double sx = 0, sy = 0;
    for (int y = 0; y < bild.height(); ++y)
        for (int x = 0; x < bild.width(); ++x) {
            const QColor c = QColor::fromRgba(bild.pixel(x, y));
            if (c.alpha() < 250 || c.hsvSaturationF() < 0.55 || c.valueF() < 0.35)
                continue;
            const double w = c.hsvHueF() * 2 * std::numbers::pi;
            sx += std::cos(w);
            sy += std::sin(w);
        }
    if (sx == 0 && sy == 0)
        return -1;
    const double grad = std::atan2(sy, sx) * 180 / std::numbers::pi;
    return grad < 0 ? grad + 360 : grad;
}

double winkelAbstand(double a, double b)
{
    const double d = std::fmod(std::abs(a - b), 360.0);
    return std::min(d, 360 - d);
}

QRect physisch(const QRect& logisch, qreal dpr)
{
    return QRect(qRound(logisch.x() * dpr), qRound(logisch.y() * dpr), qRound(logisch.width() * dpr),
                 qRound(logisch.height() * dpr));
}

} // namespace

class TstArtwork : public QObject {
    Q_OBJECT

private slots:
    void groessen_data();
    void groessen();
    void dprWirdBegrenzt();
    void augenZahl_data();
    void augenZahl();
    void seitenSindVerschieden();
    void seiteFuelltDasFeldMitFreienEcken();
    void wurfbilderSindVerschiedenUndUnscharf();
    void indizesWerdenBegrenzt();
    void blockFarben_data();
    void blockFarben();
    void hotSpotLiegtAufDemBild_data();
    void hotSpotLiegtAufDemBild();
    void symbol_data();
    void symbol();
    void iconHatAlleGroessen();
    void knopfFlaechenOhneText_data();
    void knopfFlaechenOhneText();
    void jedeZeileHatBeschriftung_data();
    void jedeZeileHatBeschriftung();
    void tischBleibtDunkel_data();
    void tischBleibtDunkel();
    void wuerfelLandenAufGrauenMulden();
};

void TstArtwork::groessen_data()
{
    QTest::addColumn<Bild>("bild");
    QTest::addColumn<qreal>("dpr");
    QTest::addColumn<QSize>("logisch");
    const struct {
        const char* name;
        Bild bild;
        QSize groesse;
    } faelle[] = {
        {"hintergrund", Bild::Hintergrund, {701, 459}}, {"seite", Bild::Seite, {50, 50}},
        {"wurfbild", Bild::Wurfbild, {50, 50}},         {"hand", Bild::Hand, {32, 32}},
        {"block", Bild::Block, {32, 32}},               {"link", Bild::Link, {32, 32}},
        {"mail", Bild::Mail, {32, 32}},
    };
    for (const auto& f : faelle)
        for (const qreal dpr : {1.0, 2.0})
            QTest::addRow("%s@%gx", f.name, dpr) << f.bild << dpr << f.groesse;
}

void TstArtwork::groessen()
{
    QFETCH(Bild, bild);
    QFETCH(qreal, dpr);
    QFETCH(QSize, logisch);
    const QPixmap pix = erzeuge(bild, dpr);
    QCOMPARE(pix.devicePixelRatio(), dpr);
    QCOMPARE(pix.size(), logisch * dpr);
    QCOMPARE(pix.deviceIndependentSize().toSize(), logisch);
}

void TstArtwork::dprWirdBegrenzt()
{
    QCOMPARE(artwork::seite(3, 0).devicePixelRatio(), 1.0);
    QCOMPARE(artwork::seite(3, -2).devicePixelRatio(), 1.0);
    QCOMPARE(artwork::seite(3, std::numeric_limits<qreal>::quiet_NaN()).devicePixelRatio(), 1.0);
    QCOMPARE(artwork::handZeiger(100).devicePixelRatio(), 4.0);
    QCOMPARE(artwork::handZeiger(100).size(), QSize(128, 128));
}

void TstArtwork::augenZahl_data()
{
    QTest::addColumn<int>("augen");
    QTest::addColumn<qreal>("dpr");
    for (int augen = 1; augen <= 6; ++augen)
        for (const qreal dpr : {1.0, 2.0, 1.5})
            QTest::addRow("%d@%gx", augen, dpr) << augen << dpr;
}

void TstArtwork::augenZahl()
{
    QFETCH(int, augen);
    QFETCH(qreal, dpr);
    QCOMPARE(regionen(pixel(artwork::seite(augen, dpr)), dunkel), augen);
}

void TstArtwork::seitenSindVerschieden()
{
    for (int a = 1; a <= 6; ++a)
        for (int b = a + 1; b <= 6; ++b)
            QVERIFY2(pixel(artwork::seite(a, 1)) != pixel(artwork::seite(b, 1)),
                     qPrintable(QStringLiteral("%1 and %2 look alike").arg(a).arg(b)));
}

void TstArtwork::seiteFuelltDasFeldMitFreienEcken()
{
    for (int augen = 1; augen <= 6; ++augen) {
        const QImage bild = pixel(artwork::seite(augen, 1));
        for (const QPoint ecke : {QPoint(0, 0), QPoint(49, 0), QPoint(0, 49), QPoint(49, 49)})
            QCOMPARE(qAlpha(bild.pixel(ecke)), 0);
        QRect deckend;
        for (int y = 0; y < bild.height(); ++y)
            for (int x = 0; x < bild.width(); ++x)
                if (qAlpha(bild.pixel(x, y)) > 128)
                    deckend |= QRect(x, y, 1, 1);
        QVERIFY2(deckend.width() >= 46 && deckend.height() >= 46, "the die is too small for its box");
        QCOMPARE(qAlpha(bild.pixel(25, 25)), 255);
    }
}

void TstArtwork::wurfbilderSindVerschiedenUndUnscharf()
{
    std::vector<QImage> bilder;
    for (int k = 0; k <= 8; ++k)
        bilder.push_back(pixel(artwork::wurfbild(k, 1)));
    for (std::size_t a = 0; a < bilder.size(); ++a) {
        for (std::size_t b = a + 1; b < bilder.size(); ++b)
            QVERIFY2(bilder[a] != bilder[b], qPrintable(QStringLiteral("frames %1 and %2 alike").arg(a).arg(b)));
        for (int augen = 1; augen <= 6; ++augen)
            QVERIFY(bilder[a] != pixel(artwork::seite(augen, 1)));
    }

    // Motion blur leaves a wide half-transparent fringe; a resting die has only an antialiased edge.
    const auto halbdurchsichtig = [](QRgb p) { return qAlpha(p) > 20 && qAlpha(p) < 220; };
    const int ruhend = zaehle(pixel(artwork::seite(5, 1)), QRect(0, 0, 50, 50), halbdurchsichtig);
    for (std::size_t k = 1; k < bilder.size(); ++k)
        QVERIFY2(zaehle(bilder[k], QRect(0, 0, 50, 50), halbdurchsichtig) > 2 * ruhend,
                 qPrintable(QStringLiteral("frame %1 looks still").arg(k)));
}

void TstArtwork::indizesWerdenBegrenzt()
{
    QCOMPARE(pixel(artwork::seite(0, 1)), pixel(artwork::seite(1, 1)));
    QCOMPARE(pixel(artwork::seite(42, 1)), pixel(artwork::seite(6, 1)));
    QCOMPARE(pixel(artwork::wurfbild(-1, 1)), pixel(artwork::wurfbild(0, 1)));
    QCOMPARE(pixel(artwork::wurfbild(9, 1)), pixel(artwork::wurfbild(8, 1)));
    QCOMPARE(pixel(artwork::blockZeiger(-5, 1)), pixel(artwork::blockZeiger(0, 1)));
    QCOMPARE(pixel(artwork::blockZeiger(5, 1)), pixel(artwork::blockZeiger(4, 1)));
    QCOMPARE(artwork::symbol(0).size(), QSize(16, 16));
    QCOMPARE(artwork::symbol(4096).size(), QSize(512, 512));

    const Artwork art(1);
    QCOMPARE(&art.seite(-3), &art.seite(1));
    QCOMPARE(&art.seite(7), &art.seite(6));
    QCOMPARE(&art.wurfbild(100), &art.wurfbild(8));
    QCOMPARE(&art.blockCursor(-1), &art.blockCursor(0));
    QCOMPARE(&art.blockCursor(5), &art.blockCursor(4));
}

void TstArtwork::blockFarben_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<double>("farbton");
    QTest::newRow("A red") << 0 << 0.0;
    QTest::newRow("B blue") << 1 << 220.0;
    QTest::newRow("C green") << 2 << 130.0;
    QTest::newRow("D purple") << 3 << 278.0;
    QTest::newRow("E orange") << 4 << 30.0;
}

void TstArtwork::blockFarben()
{
    QFETCH(int, index);
    QFETCH(double, farbton);
    const double gemessen = mittlererFarbton(pixel(artwork::blockZeiger(index, 2)));
    QVERIFY2(gemessen >= 0 && winkelAbstand(gemessen, farbton) < 14,
             qPrintable(QStringLiteral("hue %1, expected about %2").arg(gemessen).arg(farbton)));
}

void TstArtwork::hotSpotLiegtAufDemBild_data()
{
    QTest::addColumn<int>("zeiger");
    QTest::addColumn<qreal>("dpr");
    const char* namen[] = {"hand", "block", "link", "mail"};
    for (int z = 0; z < 4; ++z)
        for (const qreal dpr : {1.0, 2.0})
            QTest::addRow("%s@%gx", namen[z], dpr) << z << dpr;
}

void TstArtwork::hotSpotLiegtAufDemBild()
{
    QFETCH(int, zeiger);
    QFETCH(qreal, dpr);
    const Artwork art(dpr);
    const QCursor* c[] = {&art.handCursor(), &art.blockCursor(3), &art.linkCursor(), &art.mailCursor()};
    const QCursor& cursor = *c[zeiger];
    const QPixmap pix = cursor.pixmap();
    QCOMPARE(pix.devicePixelRatio(), dpr);
    QCOMPARE(pix.deviceIndependentSize().toSize(), QSize(32, 32));
    const QPoint spot = cursor.hotSpot();
    QVERIFY(QRect(0, 0, 32, 32).contains(spot));
    // The pixel under the hot spot, or a direct neighbour, belongs to the picture.
    const QImage bild = pixel(pix);
    const int deckend = zaehle(bild, physisch(QRect(spot - QPoint(1, 1), QSize(3, 3)), dpr) & bild.rect(),
                               [](QRgb p) { return qAlpha(p) > 128; });
    QVERIFY(deckend > 0);
}

void TstArtwork::symbol_data()
{
    QTest::addColumn<int>("groesse");
    for (const int g : {16, 24, 48, 256, 512})
        QTest::addRow("%d", g) << g;
}

void TstArtwork::symbol()
{
    QFETCH(int, groesse);
    const QImage bild = artwork::symbol(groesse).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(bild.size(), QSize(groesse, groesse));
    const int deckend = zaehle(bild, bild.rect(), [](QRgb p) { return qAlpha(p) > 200; });
    QVERIFY2(deckend > groesse * groesse / 3, "the icon is mostly empty");
    QCOMPARE(qAlpha(bild.pixel(groesse - 1, 0)), 0);
    QCOMPARE(qAlpha(bild.pixel(0, groesse - 1)), 0);
    // Two dice: a red one and a light one with dark pips.
    QVERIFY(zaehle(bild, bild.rect(), [](QRgb p) { return qAlpha(p) > 200 && qRed(p) > 2 * qGreen(p) + 40; }) > 0);
    QVERIFY(zaehle(bild, bild.rect(), [](QRgb p) { return qAlpha(p) > 200 && qGray(p) > 200; }) > 0);
}

void TstArtwork::iconHatAlleGroessen()
{
    const Artwork art(1);
    const QList<QSize> groessen = art.icon().availableSizes();
    for (const int g : {16, 24, 32, 48, 64, 128, 256})
        QVERIFY2(groessen.contains(QSize(g, g)), qPrintable(QString::number(g)));
}

// The sheet's buttons and cells are widgets placed over the panel.
struct Reihe {
    int y;
    int hoehe;
    int knopfX;  // 0 when the row has only a cell
};
constexpr Reihe kReihen[] = {
    {15, 17, 104},  {36, 17, 104},  {63, 17, 104},  {84, 17, 104},  {111, 17, 104}, {132, 17, 104},
    {156, 19, 0},   {177, 19, 0},   {201, 19, 0},   {225, 17, 84},  {249, 17, 84},  {273, 17, 84},
    {297, 17, 84},  {318, 17, 84},  {342, 17, 84},  {366, 17, 84},  {390, 19, 0},   {416, 17, 0},
};

void TstArtwork::knopfFlaechenOhneText_data()
{
    QTest::addColumn<QRect>("flaeche");
    for (const Reihe& r : kReihen) {
        if (r.knopfX > 0)
            QTest::addRow("button y%d", r.y) << QRect(r.knopfX, r.y, 166 - r.knopfX, r.hoehe);
        QTest::addRow("cell y%d", r.y) << QRect(176, r.y, 42, r.hoehe);
    }
    QTest::newRow("second total cell") << QRect(224, 416, 77, 17);
}

void TstArtwork::knopfFlaechenOhneText()
{
    QFETCH(QRect, flaeche);
    for (const qreal dpr : {1.0, 2.0}) {
        const QImage& bild = hintergrundBild(dpr);
        const QRect r = physisch(flaeche, dpr);
        // Behind a widget every pixel line is one even colour: no glyph reaches in.
        for (int y = r.top(); y <= r.bottom(); ++y) {
            const QRgb links = bild.pixel(r.left(), y);
            const int abweichend = zaehle(bild, QRect(r.left(), y, r.width(), 1), [links](QRgb p) {
                return std::abs(qRed(p) - qRed(links)) + std::abs(qGreen(p) - qGreen(links))
                           + std::abs(qBlue(p) - qBlue(links)) > 6;
            });
            QCOMPARE(abweichend, 0);
        }
    }
}

void TstArtwork::jedeZeileHatBeschriftung_data()
{
    QTest::addColumn<QRect>("platz");
    for (const Reihe& r : kReihen)
        QTest::addRow("y%d", r.y) << QRect(2, r.y, (r.knopfX > 0 ? r.knopfX : 176) - 2, r.hoehe);
}

void TstArtwork::jedeZeileHatBeschriftung()
{
    QFETCH(QRect, platz);
    const QImage& bild = hintergrundBild(1);
    const auto hell = [](QRgb p) { return qGray(p) > 150; };
    const int beschriftet = zaehle(bild, platz, hell);
    QVERIFY2(beschriftet >= 20, qPrintable(QStringLiteral("only %1 light pixels").arg(beschriftet)));
    // A label that had to be cut off would run up to the widget; a clear gap shows it fits.
    QCOMPARE(zaehle(bild, QRect(platz.right() - 7, platz.top(), 8, platz.height()), hell), 0);
    // Nothing bright spills into the gap above the row.
    QCOMPARE(zaehle(bild, QRect(platz.left(), platz.top() - 1, platz.width(), 1), hell), 0);
}

void TstArtwork::tischBleibtDunkel_data()
{
    QTest::addColumn<QRect>("flaeche");
    QTest::newRow("player names") << QRect(504, 9, 122, 86);
    QTest::newRow("points") << QRect(636, 9, 62, 86);
    QTest::newRow("status line") << QRect(232, 183, 446, 32);
    QTest::newRow("small text bottom") << QRect(460, 429, 226, 18);
    QTest::newRow("small text right") << QRect(628, 390, 42, 18);
    QTest::newRow("check box") << QRect(324, 12, 134, 14);
}

void TstArtwork::tischBleibtDunkel()
{
    QFETCH(QRect, flaeche);
    const QImage& bild = hintergrundBild(2);
    const QRect r = physisch(flaeche, 2);
    double summe = 0;
    int hellste = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            summe += qGray(bild.pixel(x, y));
            hellste = std::max(hellste, qGray(bild.pixel(x, y)));
        }
    const double mittel = summe / (r.width() * r.height());
    QVERIFY2(mittel < 60, qPrintable(QStringLiteral("mean brightness %1").arg(mittel)));
    QVERIFY2(hellste < 110, qPrintable(QStringLiteral("brightest pixel %1").arg(hellste)));
}

void TstArtwork::wuerfelLandenAufGrauenMulden()
{
    const QImage& bild = hintergrundBild(1);
    for (int i = 0; i < 5; ++i) {
        // Everything a resting or tumbling die can cover in slot i.
        const QRect flaeche(240 + 88 * i, 224, 24 + 50, 50 + 50);
        const int bunt = zaehle(bild, flaeche, [](QRgb p) {
            return std::max({qRed(p), qGreen(p), qBlue(p)}) - std::min({qRed(p), qGreen(p), qBlue(p)}) > 14;
        });
        QVERIFY2(bunt == 0, qPrintable(QStringLiteral("slot %1 shows %2 coloured pixels").arg(i).arg(bunt)));
    }
}

QTEST_MAIN(TstArtwork)
#include "tst_artwork.moc"
