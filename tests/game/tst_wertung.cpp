// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// Scoring: the categories and the sums of a sheet, and the random draws behind
// the dice. The number texts in the cells are checked by tst_fuzzkorpus and,
// beyond 15 digits, through the highscore file by tst_speicherfehler.
#include "game/wertung.h"
#include "game/zufall.h"

#include <QTest>

#include <map>
#include <numeric>
#include <string_view>

namespace {

// "33-2-" puts the dice 3, 3, 2 into boxes 0, 1, 3; '-' is an empty box.
std::array<wk::Wuerfelbox, 5> boxen(const QString& muster) {
    std::array<wk::Wuerfelbox, 5> b;
    for (int i = 0; i < 5; ++i) {
        b[i].Visible = muster[i] != '-';
        b[i].Tag = b[i].Visible ? std::string(1, muster[i].toLatin1()) : std::string();
    }
    return b;
}

} // namespace

class TstWertung : public QObject {
    Q_OBJECT

private slots:
    // Every one of the 7776 rolls in every category, against the rules worked
    // out another way: from the sorted dice and the longest run of faces. The
    // dice are spread over table and tray differently for each roll: die i
    // lies in table box i or in tray box i + nummer (mod 5), so that a table
    // box and the tray box of the same index often both hold a die.
    void jederWurfInJederKategorie() {
        for (int nummer = 0; nummer < 7776; ++nummer) {
            std::array<int, 5> wuerfel;
            for (int i = 0, n = nummer; i < 5; ++i, n /= 6) wuerfel[i] = n % 6 + 1;
            QString tisch(5, '-'), ablage(5, '-');
            for (int i = 0; i < 5; ++i) ((nummer >> i) & 1 ? ablage[(i + nummer) % 5] : tisch[i]) = QChar('0' + wuerfel[i]);
            std::sort(wuerfel.begin(), wuerfel.end());
            std::array<int, 7> anzahl{};
            for (int w : wuerfel) ++anzahl[w];
            const int summe = std::accumulate(wuerfel.begin(), wuerfel.end(), 0);
            const int meiste = *std::max_element(anzahl.begin(), anzahl.end());
            int lauf = 0, laengster = 0;
            for (int seite = 1; seite <= 6; ++seite) laengster = std::max(laengster, lauf = anzahl[seite] ? lauf + 1 : 0);
            const bool dreiUndZwei = std::count(anzahl.begin(), anzahl.end(), 3) == 1 && std::count(anzahl.begin(), anzahl.end(), 2) == 1;
            const std::map<std::string_view, int> erwartet{
                {"3er Pasch", meiste >= 3 ? summe : 0},     {"4er Pasch", meiste >= 4 ? summe : 0},
                {"Full Haus", dreiUndZwei || meiste == 5 ? 25 : 0}, {"Kleine Strasse", laengster >= 4 ? 30 : 0},
                {"Grosse Strasse", laengster == 5 ? 40 : 0}, {"Wurfkrone", meiste == 5 ? 150 : 0},
                {"Chance", summe}};
            for (const wk::Kategorie& k : wk::Kategorien) {
                const int seite = k.beschriftung[0] - '0';
                const int soll = k.beschriftung.size() == 3 ? seite * anzahl[seite] : erwartet.at(k.beschriftung);
                const int ist = wk::punkte(k, boxen(tisch), boxen(ablage));
                if (ist != soll) QFAIL(qPrintable(QStringLiteral("%1 | %2: %3 gives %4, not %5").arg(tisch, ablage).arg(QLatin1String(k.beschriftung.data(), k.beschriftung.size())).arg(ist).arg(soll)));
            }
        }
    }

    void summenUndBonus_data() {
        QTest::addColumn<QString>("zellen");  // cells 0..12
        QTest::addColumn<QString>("summen");  // upper sum, bonus, upper with bonus, lower sum, grand total
        QTest::newRow("upper 63 earns the bonus") << "3 6 9 12 15 18 0 0 0 0 0 0 0" << "63 100 163 0 163";
        QTest::newRow("upper 62 does not") << "2 6 9 12 15 18 0 0 0 0 0 0 0" << "62 0 62 0 62";
        QTest::newRow("full sheet") << "3 8 9 16 20 24 22 18 25 30 40 150 21" << "80 100 180 306 486";
    }
    void summenUndBonus() {
        QFETCH(QString, zellen);
        QFETCH(QString, summen);
        std::array<std::string, 17> zahlen;
        zahlen.fill("0");
        for (int i = 0; i < 13; ++i) zahlen[i] = zellen.section(' ', i, i).toStdString();
        std::array<std::string, 4> label1{"0", "0", "0", "0"};
        wk::summenBilden(zahlen, label1);
        QCOMPARE(QString::fromStdString(label1[0] + " " + label1[1] + " " + label1[2] + " " + label1[3] + " " + zahlen[13]), summen);
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

QTEST_GUILESS_MAIN(TstWertung)
#include "tst_wertung.moc"
