#include "tisch.h"

#include <QtTest>

using wk::BildArt;

namespace {

const std::string NochNicht = " Du hast noch nicht gewürfelt.";

int sichtbareTischWuerfel(const wk::Spielfeld& f) {
    return static_cast<int>(std::count_if(f.w1.begin(), f.w1.end(), [](auto& b) { return b.Visible; }));
}

int sichtbareAblageWuerfel(const wk::Spielfeld& f) {
    return static_cast<int>(std::count_if(f.Raus.begin(), f.Raus.end(), [](auto& b) { return b.Visible; }));
}

void wuerfeln(Tisch& t) {
    if (t.spiel.feld().Command17.Visible) {
        t.spiel.Command17_Click();
    } else {
        t.spiel.Command3_Click();
    }
    t.automat.wurfAbwarten();
}

// Plays whole turns until `eingetragen` categories are on the sheet.
void bisEingetragen(Tisch& t, int eingetragen) {
    while (t.stand.Eingetragen < eingetragen) {
        t.automat.zug();
    }
}

} // namespace

class TstZug : public QObject {
    Q_OBJECT

private slots:
    void nachDemLadenIstDerTischBereit() {
        Tisch t(3, 1);
        const wk::Spielfeld& f = t.spiel.feld();
        QCOMPARE(f.Zahlen[14], std::string("0"));
        QCOMPARE(f.Label3, std::string("Spieler 1"));
        QVERIFY(f.Command17.Visible);
        QVERIFY(!f.Command3.Visible);
        QVERIFY(!f.Timer1);
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(f.Label2[i].Visible, i < 3);
            QCOMPARE(f.Punkt[i].Visible, i < 3);
        }
        QCOMPARE(f.Label2[2].Caption, std::string("Spieler 3"));
        for (const wk::Knopf& k : f.Kategorien) {
            QVERIFY(k.Visible);
            QVERIFY(!k.Enabled);
        }
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(f.w1[i].Left, wk::RuheLeft[i]);
            QCOMPARE(f.w1[i].Top, wk::RuheTop);
            QCOMPARE(f.w1[i].Picture.art, BildArt::Seite);
            QVERIFY(f.w1[i].Tag.empty());
            QVERIFY(f.w1[i].Visible && f.w1[i].Enabled);
            QVERIFY(!f.Raus[i].Visible);
        }
        for (int i = 0; i <= 16; ++i) {
            QCOMPARE(f.Zahlen[i], std::string("0"));
        }
    }

    void vorDemErstenWurfBleibtDerWuerfelLiegen() {
        Tisch t(1, 1);
        t.spiel.w1_Click(2);
        QCOMPARE(t.meldung.texte, std::vector<std::string>{NochNicht});
        QVERIFY(t.spiel.feld().w1[2].Visible);
        QCOMPARE(sichtbareAblageWuerfel(t.spiel.feld()), 0);
    }

    void einWurfDauert28TakteUndGibtJedemWuerfelEinenWert() {
        Tisch t(1, 1);
        t.spiel.Command17_Click();
        const wk::Spielfeld& f = t.spiel.feld();
        QCOMPARE(f.Zahlen[14], std::string("1"));
        QVERIFY(f.Timer1);
        QVERIFY(!f.Command17.Visible);
        for (const auto& b : f.w1) {
            QVERIFY(!b.Enabled);
        }
        for (int takt = 1; takt < wk::Spiel::TakteJeWurf; ++takt) {
            t.spiel.Timer1_Timer();
            QVERIFY(f.Timer1);
            for (int i = 0; i < 5; ++i) {
                QCOMPARE(f.w1[i].Picture.art, BildArt::Wurf);
                QVERIFY(f.w1[i].Picture.index >= 1 && f.w1[i].Picture.index <= 8);
                QVERIFY(f.w1[i].Left >= wk::WurfLeft(i) && f.w1[i].Left < wk::WurfLeft(i) + wk::WurfBreite);
                QVERIFY(f.w1[i].Top >= wk::WurfTop && f.w1[i].Top < wk::WurfTop + wk::WurfHoehe);
                QVERIFY(f.w1[i].Tag.empty());
            }
        }
        t.spiel.Timer1_Timer();
        QVERIFY(!f.Timer1);
        for (const auto& b : f.w1) {
            QVERIFY(b.Enabled);
            QCOMPARE(b.Picture.art, BildArt::Seite);
            QCOMPARE(b.Tag, std::to_string(b.Picture.index + 1));
        }
        QVERIFY(f.Command17.Visible);
        QCOMPARE(f.Zahlen[16], std::string("noch 13"));
        QCOMPARE(f.Zahlen[15], std::string("1 Runde von 1 Runde"));
        for (const auto& k : f.Kategorien) {
            QVERIFY(k.Enabled);
        }
    }

    void rundentextNachSpiellaenge_data() {
        QTest::addColumn<int>("runden");
        QTest::addColumn<QString>("text");
        QTest::newRow("1") << 1 << "1 Runde von 1 Runde";
        QTest::newRow("5") << 5 << "1 Runde(n) von 5 Runde(n)";
        QTest::newRow("25") << 25 << "1 Runde(n) von 25 Runde(n)";
    }
    void rundentextNachSpiellaenge() {
        QFETCH(int, runden);
        QFETCH(QString, text);
        Tisch t(1, runden);
        wuerfeln(t);
        QCOMPARE(QString::fromStdString(t.spiel.feld().Zahlen[15]), text);
    }

    void ablageFuelltLueckenVonUnten() {
        Tisch t(1, 1);
        wuerfeln(t);
        const wk::Spielfeld& f = t.spiel.feld();
        const std::array<std::string, 5> werte{f.w1[0].Tag, f.w1[1].Tag, f.w1[2].Tag, f.w1[3].Tag, f.w1[4].Tag};
        for (int i : {3, 0, 4, 1}) {
            t.spiel.w1_Click(i);
        }
        QCOMPARE(f.Raus[0].Tag, werte[3]);
        QCOMPARE(f.Raus[1].Tag, werte[0]);
        QCOMPARE(f.Raus[2].Tag, werte[4]);
        QCOMPARE(f.Raus[3].Tag, werte[1]);
        QVERIFY(!f.Raus[4].Visible);
        QCOMPARE(sichtbareTischWuerfel(f), 1);

        // Back from tray box 1 into the lowest empty table box, 0.
        const int leftVorher = f.w1[0].Left;
        t.spiel.Raus_Click(1);
        QVERIFY(f.w1[0].Visible);
        QCOMPARE(f.w1[0].Tag, werte[0]);
        QCOMPARE(f.w1[0].Left, leftVorher);
        QVERIFY(!f.Raus[1].Visible);
        QVERIFY(f.Raus[1].Tag.empty());

        // The next die put aside fills the gap at tray box 1.
        t.spiel.w1_Click(2);
        QCOMPARE(f.Raus[1].Tag, werte[2]);
        QVERIFY(f.Raus[1].Visible);
        QCOMPARE(f.Raus[1].Picture, (wk::Bild{BildArt::Seite, std::stoi(werte[2]) - 1}));
    }

    void waehrendDesWurfsNimmtDerTischKeineKlicks() {
        Tisch t(1, 1);
        wuerfeln(t);
        t.spiel.w1_Click(0);
        t.spiel.Command17_Click();
        t.spiel.w1_Click(1);  // disabled while tumbling
        QVERIFY(t.spiel.feld().w1[1].Visible);
        // A die taken back from the tray joins the roll and gets a new value.
        t.spiel.Raus_Click(0);
        QVERIFY(t.spiel.feld().w1[0].Visible);
        t.automat.wurfAbwarten();
        QCOMPARE(sichtbareTischWuerfel(t.spiel.feld()), 5);
        for (const auto& b : t.spiel.feld().w1) {
            QCOMPARE(b.Tag, std::to_string(b.Picture.index + 1));
        }
    }

    void nachDemDrittenWurfKeinWuerfelnMehr() {
        Tisch t(1, 1);
        for (int wurf = 1; wurf <= 3; ++wurf) {
            QVERIFY(t.spiel.feld().Command17.Visible);
            wuerfeln(t);
            QCOMPARE(t.stand.Wuerfe, wurf);
        }
        const wk::Spielfeld& f = t.spiel.feld();
        QVERIFY(!f.Command17.Visible);
        QVERIFY(!f.Command3.Visible);
        QCOMPARE(f.Zahlen[14], std::string("3"));
        for (const auto& k : f.Kategorien) {
            QVERIFY(k.Enabled);
        }
        t.spiel.Command17_Click();
        QCOMPARE(t.stand.Wuerfe, 3);
    }

    void eintragNachDemErstenWurfBeendetDenZug() {
        Tisch t(1, 1);
        wuerfeln(t);
        t.spiel.w1_Click(4);
        const int erwartet = wk::punkte(wk::Kategorien[12], t.spiel.feld().w1, t.spiel.feld().Raus);
        t.spiel.Kategorie_Click(12);
        const wk::Spielfeld& f = t.spiel.feld();
        QCOMPARE(f.Zahlen[12], std::to_string(erwartet));
        QCOMPARE(f.Zahlen[13], std::to_string(erwartet));
        QCOMPARE(f.Label1[3], std::to_string(erwartet));
        QVERIFY(!f.Kategorien[12].Visible);
        QVERIFY(f.Command3.Visible);
        QVERIFY(!f.Command17.Visible);
        QCOMPARE(t.stand.Wuerfe, 3);
        QCOMPARE(t.stand.Eingetragen, 1);
        QCOMPARE(f.Zahlen[14], std::string("1"));
        for (const auto& k : f.Kategorien) {
            QVERIFY(!k.Enabled);
        }
        // A used category cannot be entered again.
        t.spiel.Kategorie_Click(12);
        QCOMPARE(t.stand.Eingetragen, 1);

        // A table die may still be put aside; the next first roll brings it back.
        t.spiel.w1_Click(0);
        QCOMPARE(sichtbareAblageWuerfel(f), 2);
        t.spiel.Command3_Click();
        QCOMPARE(f.Zahlen[14], std::string("1"));
        QCOMPARE(sichtbareAblageWuerfel(f), 0);
        QCOMPARE(sichtbareTischWuerfel(f), 5);
        QVERIFY(!f.Command3.Visible);
        for (const auto& b : f.w1) {
            QVERIFY(b.Tag.empty());
        }
    }

    void eintragWaehrendDesWurfsZaehltDenVorigenWurf() {
        Tisch t(1, 1);
        wuerfeln(t);
        const auto tisch = t.spiel.feld().w1;
        const auto ablage = t.spiel.feld().Raus;
        t.spiel.Command17_Click();
        for (int i = 0; i < 10; ++i) {
            t.spiel.Timer1_Timer();
        }
        t.spiel.Kategorie_Click(12);
        QCOMPARE(t.spiel.feld().Zahlen[12], std::to_string(wk::punkte(wk::Kategorien[12], tisch, ablage)));
        QVERIFY(t.spiel.feld().Command3.Visible);
        // The roll still ends, but offers no further roll of this turn.
        t.automat.wurfAbwarten();
        QVERIFY(!t.spiel.feld().Command17.Visible);
        QVERIFY(t.spiel.feld().Command3.Visible);
        QCOMPARE(t.stand.Wuerfe, 3);
    }

    void command3WaehrendDesWurfsBeginntDenZugNeu() {
        Tisch t(1, 1);
        wuerfeln(t);
        t.spiel.Command17_Click();
        for (int i = 0; i < 5; ++i) {
            t.spiel.Timer1_Timer();
        }
        t.spiel.Kategorie_Click(0);
        for (int i = 0; i < 20; ++i) {
            t.spiel.Timer1_Timer();
        }
        t.spiel.Command3_Click();
        QCOMPARE(t.stand.Takt, 0);
        QCOMPARE(t.stand.Wuerfe, 1);
        QCOMPARE(t.automat.wurfAbwarten(), wk::Spiel::TakteJeWurf);
    }

    void zweiSpieleMitDenselbenZuegenWuerfelnGleich() {
        Tisch a(2, 1);
        Tisch b(2, 1);
        std::vector<std::string> wuerfeA;
        std::vector<std::string> wuerfeB;
        a.automat.vorDemEintragen = [&] { for (auto& w : a.spiel.feld().w1) wuerfeA.push_back(w.Tag); };
        b.automat.vorDemEintragen = [&] { for (auto& w : b.spiel.feld().w1) wuerfeB.push_back(w.Tag); };
        a.automat.spielen();
        b.automat.spielen();
        QCOMPARE(wuerfeA, wuerfeB);
        QCOMPARE(a.stand.Gesamtpunkte, b.stand.Gesamtpunkte);
        QVERIFY(wuerfeA.size() == 2 * 13 * 5);
    }

    // What a finished sheet does, whatever arrives while its message box is open.
    void einBlattZaehltGenauEinmal_data() {
        QTest::addColumn<bool>("waehrendDesWurfs");
        QTest::addColumn<bool>("eingabenWaehrendDerMeldung");
        QTest::newRow("quiet") << false << false;
        QTest::newRow("entered while tumbling") << true << false;
        QTest::newRow("ticks and clicks during the box") << true << true;
    }
    void einBlattZaehltGenauEinmal() {
        QFETCH(bool, waehrendDesWurfs);
        QFETCH(bool, eingabenWaehrendDerMeldung);
        Tisch t(2, 2);
        bisEingetragen(t, 12);
        wuerfeln(t);
        if (waehrendDesWurfs) {
            t.spiel.Command17_Click();
            t.spiel.Timer1_Timer();
            QVERIFY(t.spiel.feld().Timer1);
        }
        std::string blattsumme;
        if (eingabenWaehrendDerMeldung) {
            t.meldung.waehrendOffen = [&] {
                blattsumme = t.spiel.feld().Zahlen[13];
                for (int i = 0; i < 60; ++i) {
                    t.spiel.Timer1_Timer();
                }
                t.spiel.Command17_Click();
                t.spiel.Command3_Click();
                t.spiel.Kategorie_Click(0);
            };
        }
        const int offen = t.automat.besteKategorie();
        t.spiel.Kategorie_Click(offen);
        if (eingabenWaehrendDerMeldung) {
            QCOMPARE(t.spiel.feld().Punkt[0].Caption, blattsumme);
        }
        QCOMPARE(t.meldung.texte, std::vector<std::string>{"Spieler 2 ist mit Würfeln dran."});
        QCOMPARE(t.stand.RundenGespielt, (std::vector<int>{0, 1, 0}));
        QCOMPARE(t.stand.AktuellerSpieler, 2);

        // The new sheet: no roll left over, nothing to enter, one roll button.
        const wk::Spielfeld& f = t.spiel.feld();
        QVERIFY(!f.Timer1);
        QCOMPARE(t.stand.Wuerfe, 0);
        QCOMPARE(t.stand.Eingetragen, 0);
        QCOMPARE(f.Label3, std::string("Spieler 2 ist am Würfeln."));
        QVERIFY(f.Command17.Visible);
        QVERIFY(!f.Command3.Visible);
        QCOMPARE(f.Zahlen[16], std::string("noch 0"));
        for (const auto& k : f.Kategorien) {
            QVERIFY(k.Visible);
            QVERIFY(!k.Enabled);
        }
        for (int i = 0; i < 5; ++i) {
            QVERIFY(f.w1[i].Tag.empty());
            QVERIFY(f.w1[i].Visible);
            QVERIFY(!f.Raus[i].Visible);
            QCOMPARE(f.w1[i].Left, wk::RuheLeft[i]);
        }
        for (int i = 0; i < 100; ++i) {
            t.spiel.Timer1_Timer();
        }
        QCOMPARE(t.stand.Wuerfe, 0);
        QVERIFY(f.Command17.Visible);
        t.spiel.w1_Click(0);
        QCOMPARE(t.meldung.texte.back(), NochNicht);
        for (int i = 0; i <= 13; ++i) {
            QCOMPARE(f.Zahlen[i], std::string("0"));
        }
        t.spiel.Command17_Click();
        QCOMPARE(f.Zahlen[16], std::string("noch 13"));
        QCOMPARE(t.stand.Wuerfe, 1);
    }

    void verdeckterKnopfCommand2StelltDenTischWiederHer() {
        Tisch t(1, 1);
        wuerfeln(t);
        t.spiel.w1_Click(0);
        t.spiel.Kategorie_Click(3);
        const std::string zelle = t.spiel.feld().Zahlen[3];
        t.spiel.Command2_Click();
        const wk::Spielfeld& f = t.spiel.feld();
        QVERIFY(f.Kategorien[3].Visible);
        QVERIFY(f.Command17.Visible);
        QCOMPARE(sichtbareTischWuerfel(f), 5);
        QCOMPARE(sichtbareAblageWuerfel(f), 0);
        QCOMPARE(f.Zahlen[3], zelle);
        QCOMPARE(t.stand.Eingetragen, 1);
    }
};

QTEST_GUILESS_MAIN(TstZug)
#include "tst_zug.moc"
