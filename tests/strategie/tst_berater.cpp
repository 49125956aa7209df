// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// The coach's advice and prices on game states whose best play has a closed
// form, and the states in which it gives no advice.
#include "strategie/berater.h"

#include <QTest>

#include <cmath>

namespace {

const double Krone = 150 * 2783176.0 / 60466176;  // only "Wurfkrone" open: its value
constexpr int Gesamt = 20;                         // the sheet so far: "3er Pasch" 20

int zelle(const QString& name) {
    for (const wk::Kategorie& k : wk::Kategorien) {
        if (name == QString::fromUtf8(k.beschriftung.data(), qsizetype(k.beschriftung.size()))) return k.zelle;
    }
    return -1;
}

wk::Offen offen(const QStringList& namen) {
    wk::Offen o = 0;
    for (const QString& n : namen) o |= 1u << zelle(n);
    return o;
}

// The game window after roll `wuerfe` of a turn: dice "66-51" on the table and
// "4----" in the tray ('-' an empty box), `offen` still open, every other
// category entered, "3er Pasch" with 20 points and the rest with 0.
struct Lage {
    Lage(const QString& tisch, const QString& ablage, int wuerfe, const QStringList& offen) {
        stand.spielerAnlegen(1);
        stand.Wuerfe = wuerfe;
        stand.Eingetragen = 13 - int(offen.size());
        for (int z = 0; z < 13; ++z) {
            feld.Kategorien[z] = {offen.contains(QString::fromUtf8(wk::Kategorien[z].beschriftung.data())), true};
        }
        if (!feld.Kategorien[6].Visible) feld.Zahlen[6] = std::to_string(Gesamt);
        wk::summenBilden(feld.Zahlen, feld.Label1);
        for (int i = 0; i < 5; ++i) {
            for (auto [boxen, muster] : {std::pair{&feld.w1, tisch}, std::pair{&feld.Raus, ablage}}) {
                (*boxen)[i].Visible = muster[i] != '-';
                (*boxen)[i].Tag = muster[i] == '-' ? std::string() : std::string(1, muster[i].toLatin1());
            }
        }
    }
    wk::Spielfeld feld;
    wk::Spielstand stand;
};

// One decimal, halves rounded away from zero, with a comma.
QString zahl(double x) { return QString::number(std::round(x * 10) / 10, 'f', 1).replace('.', ','); }

QString marken(const std::array<bool, 5>& a) {
    QString s;
    for (bool b : a) s += b ? 'x' : '-';
    return s;
}

QStringList zeilen(const wk::Rat& r) { return QString::fromStdString(r.text).split('\n'); }

} // namespace

class TstBerater : public QObject {
    Q_OBJECT

private slots:
    // A die alone is worth 3.5 rolled once more, 4.25 with two rolls left and
    // 14/3 with three; so with only "Chance" open the best is to keep 4 or
    // more before the last roll and 5 or more before the second.
    void ratMitSeinenMarkenUndDerErwartung_data() {
        QTest::addColumn<QString>("tisch");
        QTest::addColumn<QString>("ablage");
        QTest::addColumn<int>("wuerfe");
        QTest::addColumn<QStringList>("offen");
        QTest::addColumn<QString>("rat");
        QTest::addColumn<double>("nochZuErwarten");
        QTest::addColumn<QString>("ablegen");
        QTest::addColumn<QString>("zuruecknehmen");
        const QStringList chance{"Chance"};
        QTest::newRow("last roll: enter") << "12346" << "-----" << 3 << chance << "eintragen: Chance" << 16.0 << "-----" << "-----";
        QTest::newRow("one roll left: keep 4 or more") << "11236" << "-----" << 2 << chance << "behalten: 6" << 6 + 4 * 3.5 << "----x" << "-----";
        QTest::newRow("two rolls left: keep 5 or more, take the 4 back") << "66-51" << "4----" << 1 << chance << "behalten: 5 6 6" << 17 + 2 * 4.25 << "xx-x-" << "x----";
        QTest::newRow("nothing worth keeping (41,25 shown as 41,3)") << "11234" << "-----" << 1 << chance << "behalten: nichts" << 5 * 4.25 << "-----" << "-----";
        QTest::newRow("keeping all is no better than entering") << "-----" << "66666" << 1 << chance << "eintragen: Chance" << 30.0 << "-----" << "-----";
        QTest::newRow("five of a kind with Wurfkrone open") << "44-44" << "--4--" << 1 << QStringList{"Wurfkrone", "Chance"} << "eintragen: Wurfkrone" << 150 + 70.0 / 3 << "-----" << "-----";
    }
    void ratMitSeinenMarkenUndDerErwartung() {
        QFETCH(QString, tisch);
        QFETCH(QString, ablage);
        QFETCH(int, wuerfe);
        QFETCH(QStringList, offen);
        QFETCH(QString, rat);
        QFETCH(double, nochZuErwarten);
        QFETCH(QString, ablegen);
        QFETCH(QString, zuruecknehmen);
        const wk::Tabelle tabelle(wk::Hausregeln, wk::nacheinander, ::offen(offen));
        wk::Berater berater;
        berater.tabelleSetzen(tabelle);
        const Lage l(tisch, ablage, wuerfe, offen);
        const wk::Rat r = berater.rat(l.feld, l.stand);
        QCOMPARE(r.lage, wk::Ratlage::Rat);
        QCOMPARE(zeilen(r), (QStringList{rat, "Erwartung: " + zahl(Gesamt + nochZuErwarten)}));
        QVERIFY(std::abs(r.erwartung - Gesamt - nochZuErwarten) < 1e-9);
        QCOMPARE(r.zelle, rat.startsWith("eintragen") ? zelle(rat.section(": ", 1)) : -1);
        QCOMPARE(marken(r.ablegen), ablegen);
        QCOMPARE(marken(r.zuruecknehmen), zuruecknehmen);
    }

    // What a decision cost against the best one of its moment, shown from
    // then on for the rest of its sheet.
    void preisDerLetztenEntscheidung_data() {
        QTest::addColumn<QString>("tisch");
        QTest::addColumn<QString>("ablage");
        QTest::addColumn<int>("wuerfe");
        QTest::addColumn<QStringList>("offen");
        QTest::addColumn<QString>("entscheidung");  // a category, or "" for rolling again
        QTest::addColumn<double>("preis");
        const QStringList beide{"Wurfkrone", "Chance"};
        QTest::newRow("five of a kind entered in Chance") << "66666" << "-----" << 3 << beide << "Chance" << (30 + Krone) - (150 + 70.0 / 3);
        QTest::newRow("five of a kind entered in Wurfkrone") << "66666" << "-----" << 3 << beide << "Wurfkrone" << 0.0;
        QTest::newRow("entered before the last roll") << "1122-" << "----6" << 2 << QStringList{"Chance"} << "Chance" << 12 - (6 + 4 * 3.5);
        QTest::newRow("rolled again keeping a 1 with the sixes") << "-----" << "66661" << 2 << QStringList{"Chance"} << "" << 25 - (24 + 3.5);
        QTest::newRow("rolled again keeping the sixes") << "----1" << "6666-" << 2 << QStringList{"Chance"} << "" << 0.0;
    }
    void preisDerLetztenEntscheidung() {
        QFETCH(QString, tisch);
        QFETCH(QString, ablage);
        QFETCH(int, wuerfe);
        QFETCH(QStringList, offen);
        QFETCH(QString, entscheidung);
        QFETCH(double, preis);
        const wk::Tabelle tabelle(wk::Hausregeln, wk::nacheinander, ::offen(offen));
        wk::Berater berater;
        berater.tabelleSetzen(tabelle);
        Lage l(tisch, ablage, wuerfe, offen);
        QVERIFY(!berater.rat(l.feld, l.stand).letzterZug);
        entscheidung.isEmpty() ? berater.vorDemWuerfeln(l.feld, l.stand) : berater.vorDemEintragen(l.feld, l.stand, zelle(entscheidung));
        const wk::Rat r = berater.rat(l.feld, l.stand);
        QVERIFY(r.letzterZug && std::abs(*r.letzterZug - preis) < 1e-9);
        QCOMPARE(zeilen(r).last(), "letzter Zug: " + (preis == 0 ? QStringLiteral("0,0") : zahl(preis)));
        l.stand.RundenGespielt[1] = 1;  // the next sheet
        QVERIFY(!berater.rat(l.feld, l.stand).letzterZug);
    }

    void keinRatWoEsNichtsZuRatenGibt_data() {
        QTest::addColumn<QString>("lage");
        QTest::addColumn<wk::Ratlage>("erwartet");
        QTest::addColumn<QString>("text");
        QTest::newRow("before the first roll") << "no roll" << wk::Ratlage::VorDemWurf << "Kein Tipp vor dem ersten Wurf.";
        QTest::newRow("after the turn's entry") << "entered" << wk::Ratlage::VorDemWurf << "Kein Tipp vor dem ersten Wurf.";
        QTest::newRow("dice tumbling") << "tumbling" << wk::Ratlage::WuerfelRollen << "Kein Tipp, solange die Würfel rollen.";
        QTest::newRow("message box open") << "message" << wk::Ratlage::MeldungOffen << "Kein Tipp, solange eine Meldung offen ist.";
        QTest::newRow("sheet full") << "full" << wk::Ratlage::BlattVoll << "Kein Tipp: das Blatt ist voll.";
        QTest::newRow("no table yet") << "no table" << wk::Ratlage::Rechnet << "Der Tipp wird noch berechnet.";
        QTest::newRow("a state the table has not solved") << "unsolved" << wk::Ratlage::Rechnet << "Der Tipp wird noch berechnet.";
        QTest::newRow("a die without a value") << "blank die" << wk::Ratlage::VorDemWurf << "Kein Tipp vor dem ersten Wurf.";
    }
    void keinRatWoEsNichtsZuRatenGibt() {
        QFETCH(QString, lage);
        QFETCH(wk::Ratlage, erwartet);
        QFETCH(QString, text);
        const wk::Tabelle tabelle(wk::Hausregeln, wk::nacheinander, offen({"Chance"}));
        wk::Berater berater;
        if (lage != "no table") berater.tabelleSetzen(tabelle);
        Lage l("12345", "-----", 1, {lage == "unsolved" ? "Wurfkrone" : "Chance", "Chance"});
        QCOMPARE(berater.rat(l.feld, l.stand).lage, lage == "no table" || lage == "unsolved" ? wk::Ratlage::Rechnet : wk::Ratlage::Rat);
        if (lage == "no roll") l.stand.Wuerfe = 0;
        for (wk::Knopf& k : l.feld.Kategorien) k.Enabled = k.Enabled && lage != "no roll" && lage != "entered";
        l.feld.Timer1 = lage == "tumbling";
        if (lage == "full") {
            l.stand.Eingetragen = 13;
            l.feld.Kategorien[zelle("Chance")].Visible = false;
        }
        if (lage == "blank die") l.feld.w1[2].Tag.clear();
        const wk::Rat r = berater.rat(l.feld, l.stand, lage == "message");
        QCOMPARE(r.lage, erwartet);
        QCOMPARE(QString::fromStdString(r.text), text);
    }
};

QTEST_GUILESS_MAIN(TstBerater)
#include "tst_berater.moc"
