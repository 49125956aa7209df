// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// The coach's advice and prices on game states whose best play has a closed
// form, and the states in which it gives no advice.
#include "strategie/berater.h"

#include <QTest>

#include <cmath>

namespace {

constexpr int Gesamt = 20;  // the sheet so far: "3er Pasch" 20

int zelle(const QString& name) {
    for (const wk::Kategorie& k : wk::Kategorien) {
        if (name == QString::fromUtf8(k.beschriftung.data(), qsizetype(k.beschriftung.size()))) return k.zelle;
    }
    return -1;
}

// The game window after roll `wuerfe` of a turn: dice "66-51" on the table and
// "4----" in the tray ('-' an empty box, ' ' a box showing no value), `offen`
// still open, every other category entered, "3er Pasch" with 20 points,
// "5er" with `oben` and the rest with 0.
struct Lage {
    Lage(const QString& tisch, const QString& ablage, int wuerfe, const QStringList& offen, int oben = 0) {
        stand.spielerAnlegen(1);
        stand.Wuerfe = wuerfe;
        stand.Eingetragen = 13 - int(offen.size());
        for (int z = 0; z < 13; ++z) {
            feld.Kategorien[z] = {offen.contains(QString::fromUtf8(wk::Kategorien[z].beschriftung.data())), true};
        }
        if (!feld.Kategorien[6].Visible) feld.Zahlen[6] = std::to_string(Gesamt);
        if (!feld.Kategorien[4].Visible) feld.Zahlen[4] = std::to_string(oben);
        wk::summenBilden(feld.Zahlen, feld.Label1);
        for (int i = 0; i < 5; ++i) {
            for (auto [boxen, muster] : {std::pair{&feld.w1, tisch}, std::pair{&feld.Raus, ablage}}) {
                (*boxen)[i].Visible = muster[i] != '-';
                (*boxen)[i].Tag = muster[i] == '-' || muster[i] == ' ' ? std::string() : std::string(1, muster[i].toLatin1());
            }
        }
    }
    wk::Spielfeld feld;
    wk::Spielstand stand;
};

QString marken(const std::array<bool, 5>& a) {
    QString s;
    for (bool b : a) s += b ? 'x' : '-';
    return s;
}

} // namespace

class TstBerater : public QObject {
    Q_OBJECT

    // Solves the states in which only "Wurfkrone", "Chance", "6er" and
    // "Kleine Strasse" may be open.
    const wk::Tabelle m_tabelle{wk::Hausregeln, wk::nacheinander,
                                (1u << zelle("Wurfkrone")) | (1u << zelle("Chance")) | (1u << zelle("6er")) | (1u << zelle("Kleine Strasse"))};
    std::optional<wk::Berater> m_berater;  // a fresh one for each test, with the table

private slots:
    void init() {
        m_berater.emplace();
        m_berater->tabelleSetzen(m_tabelle);
    }

    // A die alone is worth 3.5 rolled once more, 4.25 with two rolls left and
    // 14/3 with three; so with only "Chance" open the best is to keep 4 or
    // more before the last roll and 5 or more before the second.
    void ratMitSeinenMarkenUndDerErwartung_data() {
        QTest::addColumn<Lage>("lage");
        QTest::addColumn<QString>("rat");
        QTest::addColumn<double>("nochZuErwarten");  // on top of Gesamt
        QTest::addColumn<QString>("marken");         // table dice to put aside, tray dice to take back
        QTest::newRow("last roll: enter") << Lage("12346", "-----", 3, {"Chance"}) << "eintragen: Chance\nErwartung: 36,0" << 16.0 << "----- -----";
        QTest::newRow("one roll left: keep 4 or more") << Lage("11236", "-----", 2, {"Chance"}) << "behalten: 6\nErwartung: 40,0" << 6 + 4 * 3.5 << "----x -----";
        QTest::newRow("two rolls left: keep 5 or more, take the 4 back") << Lage("66-51", "4----", 1, {"Chance"}) << "behalten: 5 6 6\nErwartung: 45,5" << 17 + 2 * 4.25 << "xx-x- x----";
        QTest::newRow("nothing worth keeping, 41,25 rounded up") << Lage("11234", "-----", 1, {"Chance"}) << "behalten: nichts\nErwartung: 41,3" << 5 * 4.25 << "----- -----";
        QTest::newRow("keeping all is no better than entering") << Lage("-----", "66666", 1, {"Chance"}) << "eintragen: Chance\nErwartung: 50,0" << 30.0 << "----- -----";
        QTest::newRow("five of a kind with Wurfkrone open") << Lage("44-44", "--4--", 1, {"Wurfkrone", "Chance"}) << "eintragen: Wurfkrone\nErwartung: 193,3" << 150 + 70.0 / 3 << "----- -----";
    }
    void ratMitSeinenMarkenUndDerErwartung() {
        QFETCH(Lage, lage);
        QFETCH(QString, rat);
        QFETCH(double, nochZuErwarten);
        QFETCH(QString, marken);
        const wk::Rat r = m_berater->rat(lage.feld, lage.stand);
        QCOMPARE(QString::fromStdString(r.text), rat);
        QCOMPARE(QString::fromStdString(wk::Berater().rat(lage.feld, lage.stand).text), "Der Tipp wird noch berechnet.");  // no table yet
        QVERIFY(std::abs(r.erwartung - Gesamt - nochZuErwarten) < 1e-9);
        QCOMPARE(::marken(r.ablegen) + ' ' + ::marken(r.zuruecknehmen), marken);
    }

    // What a decision cost against the best one of its moment, shown from
    // then on for the rest of its sheet. (Best decisions cost 0,0: tst_tipp.)
    // With only "Wurfkrone" open a sheet is still worth 150 * 2783176 / 6^10.
    void preisDerLetztenEntscheidung_data() {
        QTest::addColumn<Lage>("lage");
        QTest::addColumn<QString>("entscheidung");  // a category, or "" for rolling again
        QTest::addColumn<double>("preis");
        QTest::addColumn<QString>("zeile");
        QTest::newRow("five of a kind entered in Chance") << Lage("66666", "-----", 3, {"Wurfkrone", "Chance"}) << "Chance" << (30 + 150 * 2783176.0 / 60466176) - (150 + 70.0 / 3) << "letzter Zug: -136,4";
        QTest::newRow("entered before the last roll") << Lage("1122-", "----6", 2, {"Chance"}) << "Chance" << 12 - (6 + 4 * 3.5) << "letzter Zug: -8,0";
        QTest::newRow("rolled again keeping a 1 with the sixes") << Lage("-----", "66661", 2, {"Chance"}) << "" << 25 - (24 + 3.5) << "letzter Zug: -2,5";
    }
    void preisDerLetztenEntscheidung() {
        QFETCH(Lage, lage);
        QFETCH(QString, entscheidung);
        QFETCH(double, preis);
        QFETCH(QString, zeile);
        entscheidung.isEmpty() ? m_berater->vorDemWuerfeln(lage.feld, lage.stand) : m_berater->vorDemEintragen(lage.feld, lage.stand, zelle(entscheidung));
        const wk::Rat r = m_berater->rat(lage.feld, lage.stand);
        QVERIFY(r.letzterZug && std::abs(*r.letzterZug - preis) < 1e-9);
        QCOMPARE(QString::fromStdString(r.text).section('\n', -1), zeile);
        lage.stand.RundenGespielt[1] = 1;  // the next sheet
        QVERIFY(!m_berater->rat(lage.feld, lage.stand).letzterZug);
    }

    // The coach keeps the values of the turn last asked about; a turn with the
    // same open categories at another upper sum, or another player's, has
    // values of its own. With only "6er" open the bonus needs five sixes from
    // 33 on and is out of reach at 32.
    void jederZugMitSeinenWerten_data() {
        QTest::addColumn<Lage>("vorher");
        QTest::addColumn<Lage>("lage");
        QTest::newRow("6er at 32, then at 33") << Lage("66611", "-----", 1, {"6er"}, 32) << Lage("66611", "-----", 1, {"6er"}, 33);
        QTest::newRow("6er at 33, then at 32") << Lage("66611", "-----", 1, {"6er"}, 33) << Lage("66611", "-----", 1, {"6er"}, 32);
    }
    void jederZugMitSeinenWerten() {
        QFETCH(Lage, vorher);
        QFETCH(Lage, lage);
        m_berater->rat(vorher.feld, vorher.stand);
        wk::Berater frisch;
        frisch.tabelleSetzen(m_tabelle);
        const wk::Rat r = m_berater->rat(lage.feld, lage.stand), erwartet = frisch.rat(lage.feld, lage.stand);
        QCOMPARE(QString::fromStdString(r.text), QString::fromStdString(erwartet.text));
        QCOMPARE(r.erwartung, erwartet.erwartung);
    }

    // Of parts worth exactly the same the larger is kept: with only "Kleine
    // Strasse" open, 1 2 3 4 is a small straight whatever a fifth die shows.
    void gleichwertigDerGroessereTeil_data() {
        QTest::addColumn<int>("wuerfeUebrig");
        QTest::newRow("one roll left") << 1;
        QTest::newRow("two rolls left") << 2;
    }
    void gleichwertigDerGroessereTeil() {
        QFETCH(int, wuerfeUebrig);
        const wk::Zugwerte werte(m_tabelle, 1u << zelle("Kleine Strasse"), 0);
        const wk::Wuerfelmengen& m = m_tabelle.mengen();
        const int alle = m.nummer({0, 1, 1, 1, 1, 0, 1}), ohneSechs = m.nummer({0, 1, 1, 1, 1, 0, 0});
        QCOMPARE(werte.behalten(alle, wuerfeUebrig), werte.behalten(ohneSechs, wuerfeUebrig));
        QCOMPARE(werte.besteTeilmenge(alle, wuerfeUebrig), alle);
    }

    // An entry the coach cannot judge (made while the dice tumble, or on a
    // state its table has not solved) still ends the sheet with the total the
    // game gives it, the bonus included.
    void eintragOhneUrteilMitSeinenPunkten_data() {
        QTest::addColumn<QString>("wuerfel");
        QTest::addColumn<QString>("kategorie");
        QTest::addColumn<int>("oben");
        QTest::addColumn<bool>("rollen");
        QTest::addColumn<int>("summe");
        QTest::newRow("tumbling, the bonus reached") << "66666" << "6er" << 33 << true << Gesamt + 33 + 30 + 100;
        QTest::newRow("tumbling, the bonus missed") << "66666" << "6er" << 32 << true << Gesamt + 32 + 30;
        QTest::newRow("a state the table has not solved") << "22333" << "Full Haus" << 0 << false << Gesamt + 25;
    }
    void eintragOhneUrteilMitSeinenPunkten() {
        QFETCH(QString, wuerfel);
        QFETCH(QString, kategorie);
        QFETCH(int, oben);
        QFETCH(bool, rollen);
        QFETCH(int, summe);
        Lage lage(wuerfel, "-----", 1, {kategorie}, oben);
        lage.feld.Timer1 = rollen;
        m_berater->vorDemEintragen(lage.feld, lage.stand, zelle(kategorie));
        const wk::Blattbilanz* b = m_berater->buch().blatt(1, 0);
        QVERIFY(b && b->punkte);
        QCOMPARE(*b->punkte, summe);
        QCOMPARE(b->ohneUrteil, 1);
        QVERIFY(!m_berater->rat(lage.feld, lage.stand).letzterZug);
    }

    // The states a game window reaches in play (before the first roll, the
    // dice tumbling, a message box open) are shown in tst_tipp.
    void keinRatWoEsNichtsZuRatenGibt_data() {
        QTest::addColumn<Lage>("lage");
        QTest::addColumn<QString>("text");
        QTest::newRow("sheet full") << Lage("12345", "-----", 1, {}) << "Kein Tipp: das Blatt ist voll.";
        QTest::newRow("a die without a value") << Lage("12 45", "-----", 1, {"Chance"}) << "Kein Tipp vor dem ersten Wurf.";
        QTest::newRow("a state the table has not solved") << Lage("12345", "-----", 1, {"Full Haus"}) << "Der Tipp wird noch berechnet.";
    }
    void keinRatWoEsNichtsZuRatenGibt() {
        QFETCH(Lage, lage);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(m_berater->rat(lage.feld, lage.stand).text), text);
    }
};

QTEST_GUILESS_MAIN(TstBerater)
#include "tst_berater.moc"
