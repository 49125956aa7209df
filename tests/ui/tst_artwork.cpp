// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/artwork.h"
#include "ui/artwork/wuerfelraster.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

using namespace wk;

namespace {

QImage bild(const QPixmap& pix) { return pix.toImage().convertToFormat(QImage::Format_ARGB32); }
QRect physisch(const QRect& logisch, qreal dpr) { return QRect(logisch.topLeft() * dpr, logisch.size() * dpr); }

// The background takes a while to draw; the checks share one copy per ratio.
const QImage& hintergrund(qreal dpr)
{
    static const QImage einfach = bild(artwork::hintergrund(1)), doppelt = bild(artwork::hintergrund(2));
    return dpr > 1 ? doppelt : einfach;
}

template <typename Bedingung> int zaehle(const QImage& b, const QRect& r, Bedingung gilt)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += gilt(b.pixel(x, y)) ? 1 : 0;
    return n;
}

// Connected blobs of opaque dark pixels (the pips); each blob found is erased from the copy.
int dunkleFlecken(QImage b)
{
    const std::function<bool(QPoint)> loesche = [&b, &loesche](QPoint p) {
        if (!b.rect().contains(p) || qAlpha(b.pixel(p)) <= 200 || qGray(b.pixel(p)) >= 96)
            return false;
        b.setPixel(p, 0);
        for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)})
            loesche(p + d);
        return true;
    };
    int flecken = 0;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            flecken += loesche({x, y}) ? 1 : 0;
    return flecken;
}

// The sheet's rows: the label lies between x 2 and widgetsAb; the row's widgets (button if any, cells)
// lie over the panel from widgetsAb to widgetsBis.
constexpr struct Reihe { int y, hoehe, widgetsAb, widgetsBis = 218; } kReihen[] = {
    {15, 17, 104}, {36, 17, 104}, {63, 17, 104}, {84, 17, 104}, {111, 17, 104}, {132, 17, 104},
    {156, 19, 176}, {177, 19, 176}, {201, 19, 176}, {225, 17, 84}, {249, 17, 84}, {273, 17, 84},
    {297, 17, 84}, {318, 17, 84}, {342, 17, 84}, {366, 17, 84}, {390, 19, 176}, {416, 17, 176, 301},
};

// A die seen straight from the front, 40 px across, without pips, in a 64 x 64 raster.
WuerfelAnsicht vonVorn(double rundung, double drehung = 0)
{
    WuerfelAnsicht w;
    w.mitte = QPointF(32, 32);
    w.halb = 20;
    w.rundung = rundung;
    w.kantenBreite = 0;
    w.augen = {0, 0, 0, 0, 0, 0};
    w.schwenk = {0, 0, drehung};
    return w;
}

// Sum of the opacities and their centre, from a raster's picture.
struct Deckung {
    double summe = 0;
    QPointF mitte{};
};

Deckung deckung(const QImage& b, const std::function<double(QRgb)>& wert)
{
    Deckung d;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x) {
            const double a = wert(b.pixel(x, y));
            d.summe += a;
            d.mitte += QPointF(x + 0.5, y + 0.5) * a;
        }
    d.mitte /= std::max(d.summe, 1e-9);
    return d;
}

double alpha(QRgb p) { return qAlpha(p) / 255.0; }

// Root mean square of the difference of two pictures of one size, over all four channels, 0..1.
double rms(const QImage& a, const QImage& b)
{
    double summe = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            for (const int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q), qAlpha(p) - qAlpha(q)})
                summe += double(d) * d;
        }
    return std::sqrt(summe / (4.0 * a.width() * a.height())) / 255;
}

} // namespace

class TstArtwork : public QObject {
    Q_OBJECT

private slots:
    // On a screen of ratio 2 a picture has twice the pixels and, scaled back
    // down, looks as at ratio 1: nothing drawn in physical pixels by mistake.
    void beiDpr2DasselbeBildInDoppelterAufloesung_data()
    {
        QTest::addColumn<QPixmap>("einfach");
        QTest::addColumn<QPixmap>("doppelt");
        QTest::addColumn<QSize>("logisch");
        QTest::addColumn<double>("hoechstensRms");  // 0..1; the small motion-blurred frames differ most
        QTest::newRow("background") << artwork::hintergrund(1) << artwork::hintergrund(2) << QSize(701, 459) << 0.03;
        for (const int augen : {1, 6})
            QTest::addRow("face %d", augen) << artwork::seite(augen, 1) << artwork::seite(augen, 2) << QSize(50, 50) << 0.02;
        for (const int k : {0, 1, 5})
            QTest::addRow("tumbling %d", k) << artwork::wurfbild(k, 1) << artwork::wurfbild(k, 2) << QSize(50, 50) << 0.15;
        QTest::newRow("hand") << artwork::handZeiger(1) << artwork::handZeiger(2) << QSize(32, 32) << 0.06;
        QTest::newRow("block") << artwork::blockZeiger(2, 1) << artwork::blockZeiger(2, 2) << QSize(32, 32) << 0.06;
        QTest::newRow("link") << artwork::linkZeiger(1) << artwork::linkZeiger(2) << QSize(32, 32) << 0.06;
        QTest::newRow("mail") << artwork::mailZeiger(1) << artwork::mailZeiger(2) << QSize(32, 32) << 0.06;
    }
    void beiDpr2DasselbeBildInDoppelterAufloesung()
    {
        QFETCH(QPixmap, einfach);
        QFETCH(QPixmap, doppelt);
        QFETCH(QSize, logisch);
        QFETCH(double, hoechstensRms);
        QCOMPARE(einfach.devicePixelRatio(), 1.0);
        QCOMPARE(einfach.size(), logisch);
        QCOMPARE(doppelt.devicePixelRatio(), 2.0);
        QCOMPARE(doppelt.size(), logisch * 2);
        const double abweichung = rms(bild(einfach), bild(doppelt).scaled(logisch, Qt::IgnoreAspectRatio,
                                                                       Qt::SmoothTransformation));
        QVERIFY2(abweichung < hoechstensRms, qPrintable(QString::number(abweichung)));
    }

    void seiteZeigtSovieleAugen_data()
    {
        QTest::addColumn<int>("augen");
        QTest::addColumn<qreal>("dpr");
        for (int augen = 1; augen <= 6; ++augen)
            for (const qreal dpr : {1.0, 1.5, 2.0})
                QTest::addRow("%d@%gx", augen, dpr) << augen << dpr;
    }
    void seiteZeigtSovieleAugen()
    {
        QFETCH(int, augen);
        QFETCH(qreal, dpr);
        QCOMPARE(dunkleFlecken(bild(artwork::seite(augen, dpr))), augen);
    }

    void seitenWurfbilderUndBloeckeSindAlleVerschieden()
    {
        std::vector<QImage> bilder;
        for (int augen = 1; augen <= 6; ++augen)
            bilder.push_back(bild(artwork::seite(augen, 1)));
        for (int k = 0; k <= 8; ++k)
            bilder.push_back(bild(artwork::wurfbild(k, 1)));
        for (int block = 0; block <= 4; ++block)
            bilder.push_back(bild(artwork::blockZeiger(block, 1)));
        for (std::size_t a = 0; a < bilder.size(); ++a)
            for (std::size_t b = a + 1; b < bilder.size(); ++b)
                QVERIFY2(bilder[a] != bilder[b], qPrintable(QStringLiteral("pictures %1 and %2 alike").arg(a).arg(b)));
    }

    void indexAusserhalbGibtDasNaechsteBild()
    {
        const Artwork art(1);
        for (const auto& [i, nah] : {std::pair{-1, 0}, {99, 1}}) {
            QCOMPARE(bild(art.seite(i)), bild(art.seite(nah ? 6 : 1)));
            QCOMPARE(bild(art.wurfbild(i)), bild(art.wurfbild(nah ? 8 : 0)));
            QCOMPARE(bild(art.blockCursor(i).pixmap()), bild(art.blockCursor(nah ? 4 : 0).pixmap()));
        }
    }

    // Antialiasing, rounded corners and the smear of a turning die keep the area it covers.
    void gerasterterWuerfelDecktSeineFlaeche_data()
    {
        QTest::addColumn<double>("rundung");
        QTest::addColumn<double>("drehung");
        QTest::addRow("square") << 0.0 << 0.0;
        QTest::addRow("rounded") << 7.0 << 0.0;
        QTest::addRow("rounded, turning 20 degrees") << 7.0 << 20.0;
        QTest::addRow("square, turning 40 degrees") << 0.0 << 40.0;
    }
    void gerasterterWuerfelDecktSeineFlaeche()
    {
        QFETCH(double, rundung);
        QFETCH(double, drehung);
        WuerfelRaster raster(64, 64);
        raster.wuerfel(vonVorn(rundung, drehung));
        const QImage b = raster.bild().convertToFormat(QImage::Format_ARGB32);
        // A circle of radius R fits each corner cut back by `rundung` along its edges.
        const double flaeche = 40.0 * 40.0 - (4 - M_PI) * rundung * rundung;
        const Deckung d = deckung(b, alpha);
        const double toleranz = drehung > 0 ? 0.03 : 0.01;  // smeared corners are an approximation
        QVERIFY2(std::abs(d.summe - flaeche) < flaeche * toleranz, qPrintable(QString::number(d.summe)));
        QVERIFY2(std::hypot(d.mitte.x() - 32, d.mitte.y() - 32) < 0.05, qPrintable(QString("%1 %2").arg(d.mitte.x()).arg(d.mitte.y())));
        // Turning smears the corners outwards: the still die leaves the rim of the raster empty.
        const int amRand = zaehle(b, QRect(0, 0, 64, 11), [](QRgb p) { return qAlpha(p) > 0; });
        QCOMPARE(amRand > 0, drehung > 0);
    }

    void symbolIstGefuelltUndImIcon_data()
    {
        QTest::addColumn<int>("pixel");
        for (const int pixel : {16, 24, 32, 48, 64, 128, 256})
            QTest::addRow("%d", pixel) << pixel;
    }
    void symbolIstGefuelltUndImIcon()
    {
        QFETCH(int, pixel);
        const QImage b = artwork::symbol(pixel).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(b.size(), QSize(pixel, pixel));
        QVERIFY2(zaehle(b, b.rect(), [](QRgb p) { return qAlpha(p) > 200; }) > pixel * pixel / 3, "mostly empty");
        const Artwork art(1);
        QCOMPARE(art.icon().availableSizes().contains(QSize(pixel, pixel)), pixel <= 64);
        QCOMPARE(art.icon().pixmap(pixel).size(), QSize(pixel, pixel));
    }

    void jedeZeileHatBeschriftungNebenTextfreienFeldern_data()
    {
        QTest::addColumn<Reihe>("r");
        for (const Reihe& r : kReihen)
            QTest::addRow("y%d", r.y) << r;
    }
    void jedeZeileHatBeschriftungNebenTextfreienFeldern()
    {
        QFETCH(Reihe, r);
        const QRect platz(2, r.y, r.widgetsAb - 2, r.hoehe);
        const auto hell = [](QRgb p) { return qGray(p) > 150; };
        QVERIFY(zaehle(hintergrund(1), platz, hell) >= 20);
        // A cut-off label would run up to the widget; a clear gap shows it fits. Nothing spills above the row.
        QCOMPARE(zaehle(hintergrund(1), QRect(r.widgetsAb - 8, r.y, 8, r.hoehe), hell), 0);
        QCOMPARE(zaehle(hintergrund(1), QRect(2, r.y - 1, platz.width(), 1), hell), 0);
        for (const qreal dpr : {1.0, 2.0}) {  // behind the widgets each pixel line is one even colour: no glyph
            const QRect f = physisch(QRect(r.widgetsAb, r.y, r.widgetsBis - r.widgetsAb, r.hoehe), dpr);
            QCOMPARE(hintergrund(dpr).copy(f), hintergrund(dpr).copy(f.x(), f.y(), 1, f.height()).scaled(f.size()));
        }
    }

    void hinterHellemTextBleibtEsDunkel_data()
    {
        QTest::addColumn<QRect>("flaeche");
        QTest::newRow("player names") << QRect(504, 9, 122, 86);
        QTest::newRow("points") << QRect(636, 9, 62, 86);
        QTest::newRow("status line") << QRect(232, 183, 446, 32);
        QTest::newRow("small text bottom") << QRect(460, 429, 226, 18);
        QTest::newRow("small text right") << QRect(628, 390, 42, 18);
        QTest::newRow("check box") << QRect(324, 12, 134, 14);
    }
    void hinterHellemTextBleibtEsDunkel()
    {
        QFETCH(QRect, flaeche);
        const QRect r = physisch(flaeche, 2);
        QCOMPARE(zaehle(hintergrund(2), r, [](QRgb p) { return qGray(p) >= 110; }), 0);
        QVERIFY(zaehle(hintergrund(2), r, [](QRgb p) { return qGray(p) >= 60; }) < r.width() * r.height() / 2);
    }
};

QTEST_MAIN(TstArtwork)
#include "tst_artwork.moc"
