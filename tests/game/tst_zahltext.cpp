#include "game/zahltext.h"
#include "game/zufall.h"

#include <QtTest>

#include <set>

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

    void zufallStartetJedesMalGleich() {
        wk::Zufall a;
        wk::Zufall b;
        for (int i = 0; i < 1000; ++i) {
            QCOMPARE(a.ziehen(740), b.ziehen(740));
        }
    }

    void zufallBleibtImBereichUndTrifftJedenWert_data() {
        QTest::addColumn<int>("k");
        for (int k : {1, 6, 8, 360, 740}) {
            QTest::addRow("k=%d", k) << k;
        }
    }
    void zufallBleibtImBereichUndTrifftJedenWert() {
        QFETCH(int, k);
        wk::Zufall zufall;
        std::set<int> gesehen;
        for (int i = 0; i < 200 * k; ++i) {
            const int z = zufall.ziehen(k);
            QVERIFY2(z >= 0 && z < k, qPrintable(QString::number(z)));
            gesehen.insert(z);
        }
        QCOMPARE(static_cast<int>(gesehen.size()), k);
    }

    void zufallVerteiltDieAugenGleichmaessig() {
        wk::Zufall zufall;
        int anzahl[6] = {};
        constexpr int wuerfe = 60000;
        for (int i = 0; i < wuerfe; ++i) {
            ++anzahl[zufall.ziehen(6)];
        }
        for (int n : anzahl) {
            QVERIFY2(n > wuerfe / 6 * 0.95 && n < wuerfe / 6 * 1.05, qPrintable(QString::number(n)));
        }
    }
};

QTEST_GUILESS_MAIN(TstZahltext)
#include "tst_zahltext.moc"
