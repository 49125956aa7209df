// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/artwork.h"
#include "ui/artwork/wuerfelraster.h"

#include <QTest>

#include <cmath>
#include <functional>

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

// The sum of wert(pixel, its position) over the pixels of r.
template <typename Wert> double summe(const QImage& b, const QRect& r, Wert wert)
{
    double s = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            s += wert(b.pixel(x, y), QPoint(x, y));
    return s;
}

int zaehle(const QImage& b, const QRect& r, bool (*gilt)(QRgb))
{
    return int(summe(b, r, [gilt](QRgb p, QPoint) { return gilt(p) ? 1 : 0; }));
}

// Erases the blob of opaque dark pixels (a pip) that p is part of; false if p is no part of one.
bool fleckLoeschen(QImage& b, QPoint p)
{
    if (!b.rect().contains(p) || qAlpha(b.pixel(p)) <= 200 || qGray(b.pixel(p)) >= 96)
        return false;
    b.setPixel(p, 0);
    for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)})
        fleckLoeschen(b, p + d);
    return true;
}

// The sheet's rows: the label lies between x 2 and widgetsAb; the row's widgets (button if any, cells)
// lie over the panel from widgetsAb to widgetsBis.
constexpr struct Reihe { int y, hoehe, widgetsAb, widgetsBis = 218; } kReihen[] = {
    {15, 17, 104}, {36, 17, 104}, {63, 17, 104}, {84, 17, 104}, {111, 17, 104}, {132, 17, 104},
    {156, 19, 176}, {177, 19, 176}, {201, 19, 176}, {225, 17, 84}, {249, 17, 84}, {273, 17, 84},
    {297, 17, 84}, {318, 17, 84}, {342, 17, 84}, {366, 17, 84}, {390, 19, 176}, {416, 17, 176, 301},
};

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
        const QImage a = bild(einfach);
        const QImage b = bild(doppelt).scaled(logisch, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).convertToFormat(a.format());
        double quadrate = 0;  // the root mean square difference over all four channels, 0..1
        for (qsizetype i = 0; i < a.sizeInBytes(); ++i)
            quadrate += std::pow(a.constBits()[i] - b.constBits()[i], 2);
        const double abweichung = std::sqrt(quadrate / double(a.sizeInBytes())) / 255;
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
        QImage b = bild(artwork::seite(augen, dpr));
        QCOMPARE(int(summe(b, b.rect(), [&b](QRgb, QPoint p) { return fleckLoeschen(b, p) ? 1 : 0; })), augen);
    }

    // Each index of faces, tumbling frames and blocks has a picture of its
    // own; an index out of range gets the nearest one.
    void jederIndexHatSeinBildDanebenDasNaechste()
    {
        const Artwork art(1);
        const struct { std::function<QImage(int)> holen; int von, bis; } familien[] = {
            {[&](int augen) { return bild(art.seite(augen)); }, 1, 6},
            {[&](int k) { return bild(art.wurfbild(k)); }, 0, 8},
            {[&](int block) { return bild(art.blockCursor(block).pixmap()); }, 0, 4},
        };
        for (const auto& [holen, von, bis] : familien) {
            QList<QImage> bilder;
            for (int i = von; i <= bis; ++i)
                bilder << holen(i);
            for (const QImage& b : bilder)
                QCOMPARE(bilder.count(b), 1);
            QCOMPARE(holen(von - 1), bilder.front());
            QCOMPARE(holen(99), bilder.back());
        }
    }

    // Antialiasing, rounded corners and the smear of a turning die keep the
    // area the die covers and its centre; only the turning die reaches the rim.
    void gerasterterWuerfelDecktSeineFlaeche()
    {
        for (const auto& [rundung, drehung] : {std::pair{0.0, 0.0}, {7.0, 0.0}, {7.0, 20.0}, {0.0, 40.0}}) {
            WuerfelRaster raster(64, 64);  // a die seen from the front, 40 px across, without pips
            raster.wuerfel({.mitte = {32, 32}, .halb = 20, .rundung = rundung, .kantenBreite = 0, .augen = {}, .schwenk = {0, 0, drehung}});
            const QImage b = raster.bild().convertToFormat(QImage::Format_ARGB32);
            const double deckung = summe(b, b.rect(), [](QRgb p, QPoint) { return qAlpha(p) / 255.0; });
            // Pixel x covers x..x+1: the centre, 32, is the mean of x + 0.5.
            const QPointF mitte(summe(b, b.rect(), [](QRgb p, QPoint m) { return (m.x() + 0.5) * qAlpha(p) / 255.0; }) / deckung,
                                summe(b, b.rect(), [](QRgb p, QPoint m) { return (m.y() + 0.5) * qAlpha(p) / 255.0; }) / deckung);
            const QString fall = QStringLiteral("rounded %1, turning %2: area %3, centre %4 %5").arg(rundung).arg(drehung).arg(deckung).arg(mitte.x()).arg(mitte.y());
            // A circle of radius R fits each corner cut back by `rundung` along its edges.
            const double flaeche = 40.0 * 40.0 - (4 - M_PI) * rundung * rundung;
            const double toleranz = drehung > 0 ? 0.03 : 0.01;  // smeared corners are an approximation
            QVERIFY2(std::abs(deckung - flaeche) < flaeche * toleranz, qPrintable(fall));
            QVERIFY2(std::hypot(mitte.x() - 32, mitte.y() - 32) < 0.05, qPrintable(fall));
            // Turning smears the corners outwards: the still die leaves the rim of the raster empty.
            QVERIFY2((zaehle(b, QRect(0, 0, 64, 11), [](QRgb p) { return qAlpha(p) > 0; }) > 0) == (drehung > 0), qPrintable(fall));
        }
    }

    // The icon at every size it is offered or asked for: a square of that
    // size, mostly filled; the sizes up to 64 are offered to the window system.
    void symbolIstGefuelltUndImIcon()
    {
        const Artwork art(1);
        for (const int pixel : {16, 24, 32, 48, 64, 128, 256}) {
            const QImage b = artwork::symbol(pixel).convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(b.size(), QSize(pixel, pixel));
            QVERIFY2(zaehle(b, b.rect(), [](QRgb p) { return qAlpha(p) > 200; }) > pixel * pixel / 3, qPrintable(QString::number(pixel)));
            QCOMPARE(art.icon().availableSizes().contains(QSize(pixel, pixel)), pixel <= 64);
            QCOMPARE(art.icon().pixmap(pixel).size(), QSize(pixel, pixel));
        }
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
