#include "tisch.h"

#include <QtTest>

using wk::BildArt;

namespace {

const std::string NochNicht = " Du hast noch nicht gewürfelt.";

template <class Boxen> int sichtbar(const Boxen& boxen) {
    return static_cast<int>(std::count_if(boxen.begin(), boxen.end(), [](auto& b) { return b.Visible; }));
}

template <class Knoepfe> int aktiv(const Knoepfe& knoepfe) {
    return static_cast<int>(std::count_if(knoepfe.begin(), knoepfe.end(), [](auto& k) { return k.Visible && k.Enabled; }));
}

void wuerfeln(Tisch& t) {
    t.spiel.feld().Command17.Visible ? t.spiel.Command17_Click() : t.spiel.Command3_Click();
    t.automat.wurfAbwarten();
}

// A fresh table: five blank dice at rest, nothing in the tray, all cells 0,
// one roll button and no category to enter.
void tischIstLeer(const wk::Spielfeld& f) {
    QVERIFY(f.Command17.Visible && !f.Command3.Visible && !f.Timer1);
    QCOMPARE(aktiv(f.Kategorien), 0);
    QCOMPARE(sichtbar(f.Kategorien), 13);
    QCOMPARE(sichtbar(f.Raus), 0);
    for (int i = 0; i < 5; ++i) {
        QVERIFY(f.w1[i].Visible && f.w1[i].Tag.empty());
        QCOMPARE(f.w1[i].Left, wk::RuheLeft[i]);
    }
    for (int i = 0; i <= 14; ++i) QCOMPARE(f.Zahlen[i], std::string("0"));
}

} // namespace

class TstZug : public QObject {
    Q_OBJECT

private slots:
    void ladenSperreUndEinWurf() {
        Tisch t(3, 1);
        const wk::Spielfeld& f = t.spiel.feld();
        tischIstLeer(f);
        QCOMPARE(f.Label3, std::string("Spieler 1"));
        QCOMPARE(sichtbar(f.Label2), 3);
        QCOMPARE(sichtbar(f.Punkt), 3);
        QCOMPARE(f.Label2[2].Caption, std::string("Spieler 3"));
        QCOMPARE(f.w1[0].Top, wk::RuheTop);
        QCOMPARE(f.w1[0].Picture.art, BildArt::Seite);
        t.spiel.w1_Click(2);
        QCOMPARE(t.meldung.texte, std::vector<std::string>{NochNicht});
        QCOMPARE(sichtbar(f.Raus), 0);
        // A roll takes 28 ticks and leaves values matching the pictures.
        t.spiel.Command17_Click();
        QCOMPARE(f.Zahlen[14], std::string("1"));
        QVERIFY(!f.Command17.Visible && !f.w1[0].Enabled);
        for (int takt = 1; takt < wk::Spiel::TakteJeWurf; ++takt) {
            QVERIFY(f.Timer1);
            t.spiel.Timer1_Timer();
            for (int i = 0; i < 5; ++i) {
                QCOMPARE(f.w1[i].Picture.art, BildArt::Wurf);
                QVERIFY(f.w1[i].Picture.index >= 1 && f.w1[i].Picture.index <= 8 && f.w1[i].Tag.empty());
                QVERIFY(f.w1[i].Left >= wk::WurfLeft(i) && f.w1[i].Left < wk::WurfLeft(i) + wk::WurfBreite);
                QVERIFY(f.w1[i].Top >= wk::WurfTop && f.w1[i].Top < wk::WurfTop + wk::WurfHoehe);
            }
        }
        t.spiel.Timer1_Timer();
        QVERIFY(!f.Timer1 && f.Command17.Visible);
        for (const auto& b : f.w1) {
            QVERIFY(b.Enabled && b.Picture.art == BildArt::Seite);
            QCOMPARE(b.Tag, std::to_string(b.Picture.index + 1));
        }
        QCOMPARE(f.Zahlen[16], std::string("noch 13"));
        QCOMPARE(aktiv(f.Kategorien), 13);
    }

    void rundentextUndDreiWuerfe_data() {
        QTest::addColumn<int>("runden");
        QTest::addColumn<QString>("text");
        QTest::newRow("1") << 1 << "1 Runde von 1 Runde";
        QTest::newRow("5") << 5 << "1 Runde(n) von 5 Runde(n)";
        QTest::newRow("25") << 25 << "1 Runde(n) von 25 Runde(n)";
    }
    void rundentextUndDreiWuerfe() {
        QFETCH(int, runden);
        QFETCH(QString, text);
        Tisch t(1, runden);
        wuerfeln(t);
        const wk::Spielfeld& f = t.spiel.feld();
        QCOMPARE(QString::fromStdString(f.Zahlen[15]), text);
        wuerfeln(t);
        wuerfeln(t);  // no roll after the third
        QVERIFY(!f.Command17.Visible && !f.Command3.Visible);
        QCOMPARE(aktiv(f.Kategorien), 13);
        t.spiel.Command17_Click();
        QCOMPARE(f.Zahlen[14], std::string("3"));
    }

    void ablageFuelltLueckenVonUntenUndTischRuhtBeimWurf() {
        Tisch t(1, 1);
        wuerfeln(t);
        const wk::Spielfeld& f = t.spiel.feld();
        const auto vorher = f.w1;
        for (int i : {3, 0, 4, 1}) t.spiel.w1_Click(i);
        for (int platz = 0; const int i : {3, 0, 4, 1}) QCOMPARE(f.Raus[platz++].Tag, vorher[i].Tag);
        QCOMPARE(sichtbar(f.Raus), 4);
        t.spiel.Raus_Click(1);  // back into the lowest empty table box, 0
        QCOMPARE(f.w1[0].Tag, vorher[0].Tag);
        QCOMPARE(f.w1[0].Left, vorher[0].Left);
        QVERIFY(f.w1[0].Visible && !f.Raus[1].Visible && f.Raus[1].Tag.empty());
        t.spiel.w1_Click(2);  // fills the gap at tray box 1
        QCOMPARE(f.Raus[1].Tag, vorher[2].Tag);
        QCOMPARE(f.Raus[1].Picture, (wk::Bild{BildArt::Seite, std::stoi(vorher[2].Tag) - 1}));
        // While tumbling the table takes no clicks; a die taken back joins the roll.
        t.spiel.Command17_Click();
        t.spiel.w1_Click(0);
        t.spiel.Raus_Click(0);
        t.automat.wurfAbwarten();
        QCOMPARE(sichtbar(f.w1), 2);
        QCOMPARE(sichtbar(f.Raus), 3);
        for (const auto& b : f.w1) QVERIFY(!b.Visible || b.Tag == std::to_string(b.Picture.index + 1));
    }

    // After an entry Command3 starts the next turn from a full table; the hidden
    // Command2 takes the entry's turn back but keeps the score written.
    void eintragNachDemErstenWurfBeendetDenZug_data() {
        QTest::addColumn<bool>("command2");
        QTest::newRow("Command3") << false;
        QTest::newRow("hidden Command2") << true;
    }
    void eintragNachDemErstenWurfBeendetDenZug() {
        QFETCH(bool, command2);
        Tisch t(1, 1);
        wuerfeln(t);
        t.spiel.w1_Click(4);
        const wk::Spielfeld& f = t.spiel.feld();
        const std::string erwartet = std::to_string(wk::punkte(wk::Kategorien[12], f.w1, f.Raus));
        t.spiel.Kategorie_Click(12);
        t.spiel.Kategorie_Click(12);  // a used category cannot be entered again
        QCOMPARE(f.Zahlen[12], erwartet);
        QCOMPARE(f.Zahlen[13], erwartet);
        QCOMPARE(f.Label1[3], erwartet);
        QCOMPARE(t.stand.Eingetragen, 1);
        QCOMPARE(t.stand.Wuerfe, 3);
        QVERIFY(f.Command3.Visible && !f.Command17.Visible && !f.Kategorien[12].Visible);
        QCOMPARE(aktiv(f.Kategorien), 0);
        t.spiel.w1_Click(0);
        command2 ? t.spiel.Command2_Click() : t.spiel.Command3_Click();
        QCOMPARE(sichtbar(f.Raus), 0);
        QCOMPARE(sichtbar(f.w1), 5);
        QCOMPARE(f.Kategorien[12].Visible, command2);
        QCOMPARE(f.Command17.Visible, command2);
        QCOMPARE(f.Zahlen[12], erwartet);
        QCOMPARE(t.stand.Eingetragen, 1);
        QVERIFY(command2 || (!f.Command3.Visible && f.w1[0].Tag.empty()));
    }

    // An entry while tumbling scores the values before the roll; the roll then
    // ends without offering another, and Command3 during it restarts 28 ticks.
    void eintragWaehrendDesWurfs_data() {
        QTest::addColumn<bool>("command3");
        QTest::newRow("roll ends") << false;
        QTest::newRow("Command3 during the roll") << true;
    }
    void eintragWaehrendDesWurfs() {
        QFETCH(bool, command3);
        Tisch t(1, 1);
        wuerfeln(t);
        const wk::Spielfeld& f = t.spiel.feld();
        const std::string erwartet = std::to_string(wk::punkte(wk::Kategorien[12], f.w1, f.Raus));
        t.spiel.Command17_Click();
        t.spiel.Timer1_Timer();
        t.spiel.Kategorie_Click(12);
        QCOMPARE(f.Zahlen[12], erwartet);
        t.spiel.Timer1_Timer();
        if (command3) {
            t.spiel.Command3_Click();
            QCOMPARE(t.stand.Wuerfe, 1);
            QCOMPARE(t.automat.wurfAbwarten(), wk::Spiel::TakteJeWurf);
        } else {
            t.automat.wurfAbwarten();
            QVERIFY(f.Command3.Visible && !f.Command17.Visible);
        }
    }

    void zweiSpieleMitDenselbenZuegenWuerfelnGleich() {
        Tisch a(2, 1), b(2, 1);
        std::vector<std::string> wuerfeA, wuerfeB;
        for (auto [t, w] : {std::pair{&a, &wuerfeA}, std::pair{&b, &wuerfeB}}) {
            t->automat.vorDemEintragen = [t, w] { for (auto& box : t->spiel.feld().w1) w->push_back(box.Tag); };
            t->automat.spielen();
        }
        QCOMPARE(wuerfeA.size(), std::size_t{2 * 13 * 5});
        QCOMPARE(wuerfeA, wuerfeB);
    }

    // A finished sheet counts once, whatever arrives while its message box is open.
    void einBlattZaehltGenauEinmal_data() {
        QTest::addColumn<bool>("waehrendDesWurfs");
        QTest::addColumn<bool>("eingaben");
        QTest::newRow("quiet") << false << false;
        QTest::newRow("entered while tumbling") << true << false;
        QTest::newRow("ticks and clicks during the box") << true << true;
    }
    void einBlattZaehltGenauEinmal() {
        QFETCH(bool, waehrendDesWurfs);
        QFETCH(bool, eingaben);
        Tisch t(2, 2);
        while (t.stand.Eingetragen < 12) t.automat.zug();
        wuerfeln(t);
        if (waehrendDesWurfs) {
            t.spiel.Command17_Click();
            t.spiel.Timer1_Timer();
        }
        std::string blattsumme;
        t.meldung.waehrendOffen = [&] {
            blattsumme = t.spiel.feld().Zahlen[13];
            if (eingaben) {
                for (int i = 0; i < 60; ++i) t.spiel.Timer1_Timer();
                t.spiel.Command17_Click();
                t.spiel.Command3_Click();
                t.spiel.Kategorie_Click(0);
            }
        };
        t.spiel.Kategorie_Click(t.automat.besteKategorie());
        QCOMPARE(t.spiel.feld().Punkt[0].Caption, blattsumme);
        QCOMPARE(t.meldung.texte, std::vector<std::string>{"Spieler 2 ist mit Würfeln dran."});
        QCOMPARE(t.stand.RundenGespielt, (std::vector<int>{0, 1, 0}));
        const wk::Spielfeld& f = t.spiel.feld();
        QCOMPARE(f.Label3, std::string("Spieler 2 ist am Würfeln."));
        QCOMPARE(f.Zahlen[16], std::string("noch 0"));
        tischIstLeer(f);
        for (int i = 0; i < 100; ++i) t.spiel.Timer1_Timer();
        t.spiel.w1_Click(0);
        QCOMPARE(t.meldung.texte.back(), NochNicht);
        t.spiel.Command17_Click();
        QCOMPARE(t.stand.Wuerfe, 1);
        QCOMPARE(f.Zahlen[16], std::string("noch 13"));
    }
};

QTEST_GUILESS_MAIN(TstZug)
#include "tst_zug.moc"
