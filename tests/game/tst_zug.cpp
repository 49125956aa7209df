// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "automat.h"
#include "game/zahltext.h"

#include <QTest>

using wk::BildArt;

namespace {

int sichtbar(const auto& dinge) { return int(std::count_if(dinge.begin(), dinge.end(), [](auto& d) { return d.Visible; })); }
int waehlbar(const wk::Spielfeld& f) { return int(std::count_if(f.Kategorien.begin(), f.Kategorien.end(), [](auto& k) { return k.Visible && k.Enabled; })); }

// Every die on the table at rest shows the face its value names.
void wuerfelZeigenIhrenWert(const wk::Spielfeld& f) {
    for (const wk::Wuerfelbox& b : f.w1) {
        if (!b.Visible) continue;
        QVERIFY(b.Enabled && b.Picture.art == BildArt::Seite);
        QCOMPARE(b.Tag, std::to_string(b.Picture.index + 1));
    }
}

// A sheet before its first roll: five blank dice at rest, an empty tray, all
// cells 0, one roll button and no category to enter.
void blattIstFrisch(const wk::Spielfeld& f) {
    QVERIFY(f.Command17.Visible && !f.Command3.Visible && !f.Timer1);
    QCOMPARE(waehlbar(f), 0);
    QCOMPARE(sichtbar(f.Kategorien), 13);
    QCOMPARE(sichtbar(f.Raus), 0);
    for (int i = 0; i < 5; ++i) {
        QVERIFY(f.w1[i].Visible && f.w1[i].Tag.empty());
        QCOMPARE(f.w1[i].Left, wk::RuheLeft[i]);
        QCOMPARE(f.w1[i].Top, wk::RuheTop);
    }
    for (int i = 0; i <= 14; ++i) QCOMPARE(f.Zahlen[i], std::string("0"));
}

} // namespace

class TstZug : public QObject {
    Q_OBJECT

private slots:
    // A roll tumbles 28 ticks: the dice, disabled and without value, show
    // tumbling frames inside their own part of the table; then each shows its
    // value. A die put aside shows its face in the tray and, taken back, lies
    // where it lay. While the dice tumble the table takes no clicks, but a die
    // taken back joins the roll. An entry scores what its button offered, even
    // while the dice tumble, and ends the turn; Command3 then rolls the whole
    // table anew.
    void einZug() {
        Tisch t(1, 1);
        const wk::Spielfeld& f = t.spiel.feld();
        blattIstFrisch(f);
        t.spiel.Command17_Click();
        QCOMPARE(f.Zahlen[14], std::string("1"));
        for (int takt = 1; takt < wk::Spiel::TakteJeWurf; ++takt) {
            QVERIFY(f.Timer1 && !f.Command17.Visible);
            t.spiel.Timer1_Timer();
            for (int i = 0; i < 5; ++i) {
                const wk::Wuerfelbox& b = f.w1[i];
                QVERIFY(!b.Enabled && b.Tag.empty() && b.Picture.art == BildArt::Wurf);
                QVERIFY(b.Picture.index >= 1 && b.Picture.index <= 8);
                QVERIFY(QRect(wk::WurfLeft(i), wk::WurfTop, wk::WurfBreite, wk::WurfHoehe).contains(b.Left, b.Top));
            }
        }
        t.spiel.Timer1_Timer();
        QVERIFY(!f.Timer1 && f.Command17.Visible);
        wuerfelZeigenIhrenWert(f);
        QCOMPARE(f.Zahlen[16], std::string("noch 13"));
        QCOMPARE(waehlbar(f), 13);
        const wk::Wuerfelbox erster = f.w1[0];
        t.spiel.w1_Click(0);
        QCOMPARE(f.Raus[0].Picture, (wk::Bild{BildArt::Seite, std::stoi(erster.Tag) - 1}));
        t.spiel.Raus_Click(0);
        QCOMPARE(f.w1[0].Left, erster.Left);
        for (int i : {1, 2, 3}) t.spiel.w1_Click(i);
        t.spiel.Command17_Click();
        t.spiel.w1_Click(0);
        t.spiel.Raus_Click(0);
        t.automat.wurfAbwarten();
        QCOMPARE(sichtbar(f.w1), 3);
        QCOMPARE(sichtbar(f.Raus), 2);
        const std::string chance = std::to_string(t.spiel.wuerdeBringen(12));
        t.spiel.Command17_Click();
        t.spiel.Timer1_Timer();
        t.spiel.Kategorie_Click(12);
        t.spiel.Kategorie_Click(12);  // a used category cannot be entered again
        QVERIFY(f.Command3.Visible && !f.Command17.Visible && !f.Kategorien[12].Visible);
        QCOMPARE(waehlbar(f), 0);
        t.spiel.Timer1_Timer();
        t.spiel.Command3_Click();
        QCOMPARE(t.stand.Wuerfe, 1);
        QCOMPARE(sichtbar(f.w1), 5);
        QCOMPARE(sichtbar(f.Raus), 0);
        QCOMPARE(t.automat.wurfAbwarten(), wk::Spiel::TakteJeWurf);
        QCOMPARE(f.Zahlen[12], chance);
        QCOMPARE(t.stand.Eingetragen, 1);
    }

    // A finished sheet counts once, whatever arrives while its message is open,
    // and the next player starts a fresh sheet.
    void einBlattZaehltGenauEinmal_data() {
        QTest::addColumn<bool>("waehrendDesWurfs");
        QTest::newRow("last entry while the dice tumble") << true;
        QTest::newRow("last entry with the dice at rest") << false;
    }
    void einBlattZaehltGenauEinmal() {
        QFETCH(bool, waehrendDesWurfs);
        Tisch t(2, 2);
        t.stand.Namen[2] = "\u202EAnna";  // a right-to-left override, which must end with the name
        while (t.stand.Eingetragen < 12) t.automat.zug();
        t.automat.wuerfeln();
        if (waehrendDesWurfs) {
            t.spiel.Command17_Click();
            t.spiel.Timer1_Timer();
        }
        t.meldung.waehrendOffen = [&] {
            for (int i = 0; i < 60; ++i) t.spiel.Timer1_Timer();
            t.spiel.Command17_Click();
            t.spiel.Command3_Click();
            t.spiel.Kategorie_Click(0);
        };
        t.spiel.Kategorie_Click(t.automat.besteKategorie());
        const wk::Spielfeld& f = t.spiel.feld();
        QCOMPARE(t.meldung.texte, std::vector<std::string>{"\u2068\u202EAnna\u2069 ist mit Würfeln dran."});
        QCOMPARE(t.stand.RundenGespielt, (std::vector<int>{0, 1, 0}));
        QCOMPARE(f.Label3, std::string("\u2068\u202EAnna\u2069 ist am Würfeln."));
        blattIstFrisch(f);
        for (int i = 0; i < 100; ++i) t.spiel.Timer1_Timer();
        t.spiel.w1_Click(0);
        QCOMPARE(t.meldung.texte.back(), std::string(" Du hast noch nicht gewürfelt."));
    }

    void ganzesSpiel_data() {
        QTest::addColumn<int>("spieler");
        QTest::addColumn<int>("runden");
        QTest::newRow("1 player x 1") << 1 << 1;
        QTest::newRow("3 players x 1") << 3 << 1;
        QTest::newRow("2 players x 10") << 2 << 10;
        QTest::newRow("6 players x 25") << 6 << 25;
    }
    // Players take their sheets in turn, each sheet shows its number, each
    // total is the sum of its sheets, the results are entered once, and the
    // same play rolls the same dice.
    void ganzesSpiel() {
        QFETCH(int, spieler);
        QFETCH(int, runden);
        Tisch t(spieler, runden), zwilling(spieler, runden);
        const wk::Spielfeld& f = t.spiel.feld();
        std::vector<double> summen(spieler + 1, 0.0);
        t.meldung.waehrendOffen = [&] {
            // The finished sheet stays on screen until its message is confirmed.
            const int blatt = int(t.meldung.texte.size()) - 1, von = blatt % spieler + 1;
            QCOMPARE(f.Zahlen[16], std::string("noch 0"));
            QCOMPARE(f.Zahlen[15], runden == 1 ? std::string("1 Runde von 1 Runde")
                                               : std::to_string(blatt / spieler + 1) + " Runde(n) von " + std::to_string(runden) + " Runde(n)");
            summen[von] += wk::zahlAusText(f.Zahlen[13]);
            QCOMPARE(f.Punkt[von - 1].Caption, wk::zahlAlsText(summen[von]));
        };
        QCOMPARE(t.automat.spielen(), 13 * spieler * runden);
        std::vector<std::string> texte;  // each message but the last names whose sheet comes next
        for (int i = 1; i < spieler * runden; ++i) texte.push_back("\u2068Spieler " + std::to_string(i % spieler + 1) + "\u2069 ist mit Würfeln dran.");
        texte.push_back(" Alle Runden wurden absolviert..");
        QCOMPARE(t.meldung.texte, texte);
        QCOMPARE(t.auswertungen, 1);
        t.spiel.Command3_Click();  // after the end nothing reaches the game
        t.spiel.Command17_Click();
        t.spiel.Timer1_Timer();
        QCOMPARE(t.auswertungen, 1);
        QCOMPARE(t.meldung.texte.size(), texte.size());
        zwilling.automat.spielen();
        QCOMPARE(zwilling.stand.Gesamtpunkte, t.stand.Gesamtpunkte);
    }
};

QTEST_GUILESS_MAIN(TstZug)
#include "tst_zug.moc"
