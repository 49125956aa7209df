#include "ui/artwork.h"

#include <QTest>

#include <algorithm>
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

} // namespace

class TstArtwork : public QObject {
    Q_OBJECT

private slots:
    void physischeGroesseIstLogischMalDpr_data()
    {
        QTest::addColumn<QPixmap>("pix");
        QTest::addColumn<QSize>("logisch");
        QTest::addColumn<qreal>("dpr");
        for (const qreal dpr : {1.0, 2.0}) {
            QTest::addRow("background@%gx", dpr) << artwork::hintergrund(dpr) << QSize(701, 459) << dpr;
            QTest::addRow("face@%gx", dpr) << artwork::seite(4, dpr) << QSize(50, 50) << dpr;
            QTest::addRow("tumbling@%gx", dpr) << artwork::wurfbild(5, dpr) << QSize(50, 50) << dpr;
            QTest::addRow("hand@%gx", dpr) << artwork::handZeiger(dpr) << QSize(32, 32) << dpr;
            QTest::addRow("block@%gx", dpr) << artwork::blockZeiger(2, dpr) << QSize(32, 32) << dpr;
            QTest::addRow("link@%gx", dpr) << artwork::linkZeiger(dpr) << QSize(32, 32) << dpr;
            QTest::addRow("mail@%gx", dpr) << artwork::mailZeiger(dpr) << QSize(32, 32) << dpr;
        }
    }
    void physischeGroesseIstLogischMalDpr()
    {
        QFETCH(QPixmap, pix);
        QFETCH(QSize, logisch);
        QFETCH(qreal, dpr);
        QCOMPARE(pix.devicePixelRatio(), dpr);
        QCOMPARE(pix.size(), logisch * dpr);
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

    void indexAusserhalbWirdBegrenzt()
    {
        const Artwork art(1);
        for (int i = -2; i <= 10; ++i) {  // the drawing functions and Artwork give the nearest picture in range
            QCOMPARE(bild(artwork::seite(i, 1)), bild(artwork::seite(std::clamp(i, 1, 6), 1)));
            QCOMPARE(bild(artwork::wurfbild(i, 1)), bild(artwork::wurfbild(std::clamp(i, 0, 8), 1)));
            QCOMPARE(bild(artwork::blockZeiger(i, 1)), bild(artwork::blockZeiger(std::clamp(i, 0, 4), 1)));
            QCOMPARE(bild(art.seite(i)), bild(artwork::seite(i, 1)));
            QCOMPARE(bild(art.wurfbild(i)), bild(artwork::wurfbild(i, 1)));
            QCOMPARE(bild(art.blockCursor(i).pixmap()), bild(artwork::blockZeiger(i, 1)));
        }
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
        QVERIFY(Artwork(1).icon().availableSizes().contains(QSize(pixel, pixel)));
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
