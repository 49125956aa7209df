// The leading-number rule is checked against a simple reference over the
// inputs in tests/fuzz/corpus (tst_fuzzkorpus); here what that reference
// cannot judge: numbers of more than 15 digits. And the random generator.
#include "game/zahltext.h"
#include "game/zufall.h"

#include <QtTest>

class TstZahltext : public QObject {
    Q_OBJECT

private slots:
    void langeZahlen_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("wert");
        QTest::addColumn<QString>("geschrieben");
        QTest::newRow("twenty digits") << "99999999999999999999" << 1e20 << "100000000000000000000";
        QTest::newRow("beyond double reads as 0") << QString(400, '9') << 0.0 << "0";
    }
    void langeZahlen() {
        QFETCH(QString, text);
        QFETCH(double, wert);
        QFETCH(QString, geschrieben);
        QCOMPARE(wk::zahlAusText(text.toStdString()), wert);
        QCOMPARE(QString::fromStdString(wk::zahlAlsText(wert)), geschrieben);
    }

    // The same draws every start, each in range, every value about equally often.
    void zufallIstGleichverteiltUndWiederholbar_data() {
        QTest::addColumn<int>("k");
        for (int k : {1, 6, 8, 360, 740}) QTest::addRow("k=%d", k) << k;
    }
    void zufallIstGleichverteiltUndWiederholbar() {
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
