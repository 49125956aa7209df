#include "game/zahltext.h"
#include "game/zufall.h"

#include <QtTest>

class TstZahltext : public QObject {
    Q_OBJECT

private slots:
    void liestDieZahlAmAnfangDesTextes_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("wert");
        QTest::newRow("digits") << "245" << 245.0;
        QTest::newRow("leading blanks") << "   17" << 17.0;
        QTest::newRow("trailing text") << " 12abc" << 12.0;
        QTest::newRow("negative") << "-5" << -5.0;
        QTest::newRow("fraction") << "2.5 Punkte" << 2.5;
        QTest::newRow("cleared name") << ".." << 0.0;
        QTest::newRow("letters") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("sign alone") << "-" << 0.0;
        QTest::newRow("exponent is not part of the number") << "1e400" << 1.0;
        QTest::newRow("NaN is no number") << "NaN" << 0.0;
        QTest::newRow("twenty digits") << "99999999999999999999" << 1e20;
        QTest::newRow("beyond double") << QString(400, QChar('9')) << 0.0;
    }
    void liestDieZahlAmAnfangDesTextes() {
        QFETCH(QString, text);
        QFETCH(double, wert);
        QCOMPARE(wk::zahlAusText(text.toStdString()), wert);
    }

    void schreibtGanzeZahlenOhneLeerzeichen_data() {
        QTest::addColumn<double>("wert");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("score") << 245.0 << "245";
        QTest::newRow("rounded") << 12.6 << "13";
        QTest::newRow("large") << 1e20 << "100000000000000000000";
        QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << "0";
        QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << "0";
    }
    void schreibtGanzeZahlenOhneLeerzeichen() {
        QFETCH(double, wert);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(wk::zahlAlsText(wert)), text);
    }

    // The same draws every start, each in range, every value hit, faces even.
    void zufall_data() {
        QTest::addColumn<int>("k");
        for (int k : {1, 6, 8, 360, 740}) QTest::addRow("k=%d", k) << k;
    }
    void zufall() {
        QFETCH(int, k);
        wk::Zufall a, b;
        const int ziehungen = std::max(200 * k, 60000);
        std::vector<int> anzahl(k);
        for (int i = 0; i < ziehungen; ++i) {
            const int z = a.ziehen(k);
            QCOMPARE(b.ziehen(k), z);
            QVERIFY2(z >= 0 && z < k, qPrintable(QString::number(z)));
            ++anzahl[z];
        }
        const double spanne = k <= 8 ? 0.05 : 1.0, mitte = double(ziehungen) / k;
        for (int n : anzahl) QVERIFY2(n > mitte * (1 - spanne) && n < mitte * (1 + spanne), qPrintable(QString::number(n)));
    }
};

QTEST_GUILESS_MAIN(TstZahltext)
#include "tst_zahltext.moc"
