// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// The solver's values against closed forms, against an independent brute
// force over ordered rolls, and against the published value of the classic
// rules.
#include "strategie/tabelle.h"

#include <QTest>

#include <bit>
#include <cmath>
#include <map>
#include <numeric>
#include <vector>

namespace {

wk::Offen offen(const QStringList& namen) {
    wk::Offen o = 0;
    for (const wk::Kategorie& k : wk::Kategorien) o |= namen.contains(QString::fromUtf8(k.beschriftung.data())) ? 1u << k.zelle : 0;
    return o;
}

// Expectimax over ordered rolls under this game's rules: five dice as a number
// 0..7775 in base 6, a keep as the set of positions kept, the others rolled
// in all 6^k ways.
class Brute {
public:
    Brute() {
        for (int d = 0; d < 7776; ++d) {
            std::array<wk::Wuerfelbox, 5> tisch;
            for (int i = 0, rest = d; i < 5; ++i, rest /= 6) tisch[i].Tag = std::to_string(rest % 6 + 1);
            for (int z = 0; z < 13; ++z) m_punkte[d][z] = wk::punkte(wk::Kategorien[z], tisch, {});
            for (unsigned behalten = 0; behalten < 32; ++behalten) {
                for (int i = 4; i >= 0; --i) m_teil[behalten][d] = m_teil[behalten][d] * 7 + ((behalten & (1u << i)) ? tisch[i].Tag[0] - '0' : 0);
            }
        }
    }

    double wert(wk::Offen offen, int oben) {
        oben = std::min(oben, wk::Bonusschwelle);
        if (offen == 0) return 0;
        if (auto it = m_memo.find({offen, oben}); it != m_memo.end()) return it->second;
        std::vector<double> eintragen(7776, -1e300);
        for (int z = 0; z < 13; ++z) {
            if (!(offen & (1u << z))) continue;
            for (int d = 0; d < 7776; ++d) {
                const int p = m_punkte[d][z], neu = z < 6 ? oben + p : oben;
                const bool bonus = z < 6 && oben < wk::Bonusschwelle && neu >= wk::Bonusschwelle;
                eintragen[d] = std::max(eintragen[d], p + (bonus ? wk::Bonus : 0) + wert(offen & ~(1u << z), neu));
            }
        }
        // After the first roll: enter, or roll towards the choice after the second.
        const std::vector<double> nachErstem = waehlen(eintragen, waehlen(eintragen, eintragen));
        return m_memo[{offen, oben}] = std::accumulate(nachErstem.begin(), nachErstem.end(), 0.0) / 7776;
    }

private:
    // The best of `beste` (entering now) and of keeping any set of positions
    // and rolling the others, whose outcomes are worth `danach`.
    std::vector<double> waehlen(std::vector<double> beste, const std::vector<double>& danach) const {
        std::vector<double> summe(7 * 7 * 7 * 7 * 7);
        for (unsigned behalten = 0; behalten < 32; ++behalten) {
            // Sum over every way the rolled positions can fall, by the kept dice.
            std::fill(summe.begin(), summe.end(), 0.0);
            for (int d = 0; d < 7776; ++d) summe[m_teil[behalten][d]] += danach[d];
            const double wege = std::pow(6, 5 - std::popcount(behalten));
            for (int d = 0; d < 7776; ++d) beste[d] = std::max(beste[d], summe[m_teil[behalten][d]] / wege);
        }
        return beste;
    }

    std::array<std::array<int, 13>, 7776> m_punkte{};
    // By keep and dice: the kept dice by position as a number in base 7, 0
    // where a die is rolled again.
    std::array<std::array<int, 7776>, 32> m_teil{};
    std::map<std::pair<wk::Offen, int>, double> m_memo;
};

} // namespace

class TstTabelle : public QObject {
    Q_OBJECT

private slots:
    // Small sheets near the bonus, and every state they lead to, to 1e-9;
    // where the best play has a closed form, the sheet against it to 1e-12.
    void wieGeschlosseneFormenUndDieRechnungUeberJedenGeordnetenWurf_data() {
        QTest::addColumn<QStringList>("offen");
        QTest::addColumn<int>("oben");
        QTest::addColumn<double>("geschlossen");  // NaN: no closed form
        // Each die alone: keep 4 or more before the last roll, 5 or more before the second.
        QTest::newRow("only Chance") << QStringList{"Chance"} << 0 << 70.0 / 3;
        // Keep the most frequent face: all five alike in 3 rolls with p = 2,783,176 / 6^10.
        QTest::newRow("only Wurfkrone") << QStringList{"Wurfkrone"} << 0 << 150 * 2783176.0 / 60466176;
        // Keep the sixes: each die a six within 3 rolls with q = 91/216; the
        // bonus needs all five.
        const double q = 91.0 / 216;
        QTest::newRow("only 6er, bonus needs five sixes") << QStringList{"6er"} << 33 << 30 * q + 100 * std::pow(q, 5);
        QTest::newRow("only 6er, bonus out of reach") << QStringList{"6er"} << 32 << 30 * q;
        QTest::newRow("5er, 6er, Full Haus at 40") << QStringList{"5er", "6er", "Full Haus"} << 40 << qQNaN();
        QTest::newRow("1er, 2er, Wurfkrone at 58") << QStringList{"1er", "2er", "Wurfkrone"} << 58 << qQNaN();
        QTest::newRow("4er, Chance at 55") << QStringList{"4er", "Chance"} << 55 << qQNaN();
        QTest::newRow("3er, Kleine Strasse, 4er Pasch at 52") << QStringList{"3er", "Kleine Strasse", "4er Pasch"} << 52 << qQNaN();
        QTest::newRow("Grosse Strasse, 3er Pasch, bonus won") << QStringList{"Grosse Strasse", "3er Pasch"} << 63 << qQNaN();
    }
    void wieGeschlosseneFormenUndDieRechnungUeberJedenGeordnetenWurf() {
        QFETCH(QStringList, offen);
        QFETCH(int, oben);
        QFETCH(double, geschlossen);
        const wk::Offen bereich = ::offen(offen);
        const wk::Tabelle t(wk::Hausregeln, wk::nacheinander, bereich);
        QVERIFY2(qIsNaN(geschlossen) || std::abs(t.wert(bereich, oben) - geschlossen) < 1e-12, qPrintable(QString::number(t.wert(bereich, oben), 'g', 17)));
        static Brute brute;  // with its memo, for every row
        for (wk::Offen o = bereich;; o = (o - 1) & bereich) {
            int hoechstens = 0;  // what the filled upper categories can have brought
            for (int z = 0; z < 6; ++z) hoechstens += (o & (1u << z)) ? 0 : 5 * (z + 1);
            for (int u = oben; u <= std::min(oben + 12, hoechstens); u += 3) {
                QVERIFY2(std::abs(t.wert(o, u) - brute.wert(o, u)) < 1e-9,
                         qPrintable(QStringLiteral("open %1, upper %2: %3 vs %4").arg(o).arg(u).arg(t.wert(o, u), 0, 'g', 17).arg(brute.wert(o, u), 0, 'g', 17)));
            }
            if (o == 0) break;
        }
    }

    // The optimum of solitaire play published for the classic rules: bonus 35,
    // five of a kind 50 and not a full house. One thread is enough: the tests
    // run two at a time on two cores.
    void klassischeRegelnWieVeroeffentlicht() {
#ifdef WK_SANITIZE
        QSKIP("the whole table runs under the sanitizers in tst_tipp; the classic one only in the normal build");
#endif
        const wk::Tabelle t(wk::Regelwerk{35, 63, 50, false});
        QCOMPARE(QString::number(t.wert(wk::AlleOffen, 0), 'f', 6), QStringLiteral("245.870775"));
    }
};

QTEST_GUILESS_MAIN(TstTabelle)
#include "tst_tabelle.moc"
