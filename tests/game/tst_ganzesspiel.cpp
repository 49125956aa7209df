#include "game/zahltext.h"
#include "tisch.h"

#include <QElapsedTimer>
#include <QtTest>

class TstGanzesSpiel : public QObject {
    Q_OBJECT

private slots:
    void spieltBisZumEnde_data() {
        QTest::addColumn<int>("spieler");
        QTest::addColumn<int>("runden");
        QTest::newRow("1 player x 1") << 1 << 1;
        QTest::newRow("1 player x 5") << 1 << 5;
        QTest::newRow("3 players x 1") << 3 << 1;
        QTest::newRow("2 players x 10") << 2 << 10;
        QTest::newRow("6 players x 25") << 6 << 25;
    }
    void spieltBisZumEnde() {
        QFETCH(int, spieler);
        QFETCH(int, runden);
        Tisch t(spieler, runden);

        int blattVon = 0;                       // whose sheet the coming entry is on
        std::vector<int> blattFolge;            // players in the order their sheets ended
        std::vector<double> summen(spieler + 1, 0.0);
        t.automat.vorDemEintragen = [&] { blattVon = t.stand.AktuellerSpieler; };
        t.meldung.waehrendOffen = [&] {
            // The finished sheet stays on screen until the box is confirmed.
            QCOMPARE(t.spiel.feld().Zahlen[16], std::string("noch 0"));
            blattFolge.push_back(blattVon);
            summen[blattVon] += wk::zahlAusText(t.spiel.feld().Zahlen[13]);
            QCOMPARE(t.spiel.feld().Punkt[blattVon - 1].Caption, wk::zahlAlsText(summen[blattVon]));
        };

        QElapsedTimer uhr;
        uhr.start();
        const int zuege = t.automat.spielen();
        const qint64 ms = uhr.elapsed();

        QVERIFY(t.spiel.beendet());
        QCOMPARE(t.auswertungen, 1);
        QCOMPARE(zuege, 13 * spieler * runden);
        QCOMPARE(static_cast<int>(blattFolge.size()), spieler * runden);
        for (std::size_t i = 0; i < blattFolge.size(); ++i) QCOMPARE(blattFolge[i], static_cast<int>(i % spieler) + 1);
        for (int p = 1; p <= spieler; ++p) {
            QCOMPARE(t.stand.RundenGespielt[p], runden);
            QCOMPARE(t.stand.Gesamtpunkte[p], summen[p]);
            QVERIFY(t.stand.Gesamtpunkte[p] > 0);
        }
        // Each finished sheet but the last names whose sheet comes next.
        std::vector<std::string> texte;
        for (int i = 1; i < spieler * runden; ++i) {
            texte.push_back("Spieler " + std::to_string(i % spieler + 1) + " ist mit Würfeln dran.");
        }
        texte.push_back(" Alle Runden wurden absolviert..");
        QCOMPARE(t.meldung.texte, texte);

        // After the end nothing reaches the game any more.
        t.spiel.Command3_Click();
        t.spiel.Command17_Click();
        t.spiel.Timer1_Timer();
        QCOMPARE(t.auswertungen, 1);
        QCOMPARE(static_cast<int>(blattFolge.size()), spieler * runden);
        if (spieler * runden >= 150) QVERIFY2(ms < 1000, "a headless 6 x 25 game must take well under a second");
    }
};

QTEST_GUILESS_MAIN(TstGanzesSpiel)
#include "tst_ganzesspiel.moc"
