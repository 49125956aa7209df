// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// The solver's values against closed forms, against an independent brute
// force over ordered rolls, and against the published value of the classic
// rules.
#include "strategie/tabelle.h"

#include <QTest>

#include <cmath>
#include <map>
#include <thread>
#include <vector>

namespace {

constexpr wk::Regelwerk Klassisch{35, 63, 50, false};

wk::Offen offen(const QStringList& namen) {
    wk::Offen o = 0;
    for (const wk::Kategorie& k : wk::Kategorien) {
        if (namen.contains(QString::fromUtf8(k.beschriftung.data(), qsizetype(k.beschriftung.size())))) o |= 1u << k.zelle;
    }
    return o;
}

// Expectimax over ordered rolls: five dice as a number 0..7775 in base 6, a
// keep as the set of positions kept, the others rolled in all 6^k ways.
class Brute {
public:
    explicit Brute(const wk::Regelwerk& r) : m_regeln(r) {
        std::array<wk::Wuerfelbox, 5> ablage;
        for (auto& b : ablage) b.Visible = false;
        for (int d = 0; d < 7776; ++d) {
            std::array<wk::Wuerfelbox, 5> tisch;
            for (int i = 0, rest = d; i < 5; ++i, rest /= 6) m_augen[d][i] = rest % 6 + 1;
            for (int i = 0; i < 5; ++i) tisch[i].Tag = std::to_string(m_augen[d][i]);
            for (int z = 0; z < 13; ++z) m_punkte[d][z] = wk::punkte(wk::Kategorien[z], tisch, ablage, m_regeln);
        }
    }

    double wert(wk::Offen offen, int oben) {
        oben = std::min(oben, m_regeln.bonusschwelle);
        if (offen == 0) return 0;
        if (auto it = m_memo.find({offen, oben}); it != m_memo.end()) return it->second;
        std::vector<double> eintragen(7776, -1e300);
        for (int z = 0; z < 13; ++z) {
            if (!(offen & (1u << z))) continue;
            std::map<int, double> nachher;  // by the points entered
            for (int d = 0; d < 7776; ++d) {
                const int p = m_punkte[d][z];
                if (!nachher.count(p)) {
                    const int neu = z < 6 ? oben + p : oben;
                    const bool bonus = z < 6 && oben < m_regeln.bonusschwelle && neu >= m_regeln.bonusschwelle;
                    nachher[p] = p + (bonus ? m_regeln.bonus : 0) + wert(offen & ~(1u << z), neu);
                }
                eintragen[d] = std::max(eintragen[d], nachher[p]);
            }
        }
        const auto nachZweitem = waehlen(eintragen, eintragen);
        const auto nachErstem = waehlen(eintragen, nachZweitem);
        double summe = 0;
        for (double w : nachErstem) summe += w;
        return m_memo[{offen, oben}] = summe / 7776;
    }

private:
    // The best of entering now and of keeping any set of positions and
    // rolling the others, whose outcomes are worth `danach`.
    std::vector<double> waehlen(const std::vector<double>& eintragen, const std::vector<double>& danach) const {
        std::vector<double> beste = eintragen;
        std::vector<double> summe(7 * 7 * 7 * 7 * 7);
        std::vector<int> teil(7776);
        for (int behalten = 0; behalten < 32; ++behalten) {
            // Sum over every way the rolled positions can fall, by the kept ones.
            std::fill(summe.begin(), summe.end(), 0.0);
            double wege = 1;
            for (int i = 0; i < 5; ++i) wege *= (behalten & (1 << i)) ? 1 : 6;
            for (int d = 0; d < 7776; ++d) {
                teil[d] = 0;
                for (int i = 4; i >= 0; --i) teil[d] = teil[d] * 7 + ((behalten & (1 << i)) ? m_augen[d][i] : 0);
                summe[teil[d]] += danach[d];
            }
            for (int d = 0; d < 7776; ++d) beste[d] = std::max(beste[d], summe[teil[d]] / wege);
        }
        return beste;
    }

    wk::Regelwerk m_regeln;
    std::array<std::array<int, 5>, 7776> m_augen{};
    std::array<std::array<int, 13>, 7776> m_punkte{};
    std::map<std::pair<wk::Offen, int>, double> m_memo;
};

void zweiFaeden(int anzahl, const std::function<void(int)>& auftrag) {
    std::atomic<int> naechster{0};
    const auto arbeiten = [&] { for (int i = naechster++; i < anzahl; i = naechster++) auftrag(i); };
    std::thread helfer(arbeiten);
    arbeiten();
    helfer.join();
}

} // namespace

class TstTabelle : public QObject {
    Q_OBJECT

private slots:
    void geschlosseneFormen_data() {
        QTest::addColumn<QStringList>("offen");
        QTest::addColumn<int>("oben");
        QTest::addColumn<bool>("klassisch");
        QTest::addColumn<double>("wert");
        // Each die alone: keep 4 or more before the last roll, 5 or more before the second.
        QTest::newRow("only Chance") << QStringList{"Chance"} << 0 << false << 70.0 / 3;
        QTest::newRow("only Chance, bonus won") << QStringList{"Chance"} << 70 << false << 70.0 / 3;
        // Keep the most frequent face: all five alike in 3 rolls with p = 2,783,176 / 6^10.
        QTest::newRow("only Wurfkrone") << QStringList{"Wurfkrone"} << 0 << false << 150 * 2783176.0 / 60466176;
        QTest::newRow("only five of a kind, classic") << QStringList{"Wurfkrone"} << 0 << true << 50 * 2783176.0 / 60466176;
        // Keep the sixes: each die a six within 3 rolls with q = 91/216; the
        // bonus needs all five.
        const double q = 91.0 / 216;
        QTest::newRow("only 6er, bonus needs five sixes") << QStringList{"6er"} << 33 << false << 30 * q + 100 * std::pow(q, 5);
        QTest::newRow("only 6er, bonus out of reach") << QStringList{"6er"} << 32 << false << 30 * q;
        QTest::newRow("only 6er, classic bonus") << QStringList{"6er"} << 33 << true << 30 * q + 35 * std::pow(q, 5);
    }
    void geschlosseneFormen() {
        QFETCH(QStringList, offen);
        QFETCH(int, oben);
        QFETCH(bool, klassisch);
        QFETCH(double, wert);
        const wk::Tabelle t(klassisch ? Klassisch : wk::Hausregeln, wk::nacheinander, ::offen(offen));
        QVERIFY2(std::abs(t.wert(::offen(offen), oben) - wert) < 1e-12, qPrintable(QString::number(t.wert(::offen(offen), oben), 'g', 17)));
    }

    // Small sheets near the bonus, and every state they lead to, to 1e-9.
    void wieDieRechnungUeberJedenGeordnetenWurf_data() {
        QTest::addColumn<QStringList>("offen");
        QTest::addColumn<int>("oben");
        QTest::addColumn<bool>("klassisch");
        QTest::newRow("5er, 6er, Full Haus at 40") << QStringList{"5er", "6er", "Full Haus"} << 40 << false;
        QTest::newRow("1er, 2er, Wurfkrone at 58") << QStringList{"1er", "2er", "Wurfkrone"} << 58 << false;
        QTest::newRow("4er, Chance at 55") << QStringList{"4er", "Chance"} << 55 << false;
        QTest::newRow("3er, Kleine Strasse, 4er Pasch at 52") << QStringList{"3er", "Kleine Strasse", "4er Pasch"} << 52 << false;
        QTest::newRow("Grosse Strasse, 3er Pasch, bonus won") << QStringList{"Grosse Strasse", "3er Pasch"} << 63 << false;
        QTest::newRow("classic: 6er, Full Haus, five of a kind at 45") << QStringList{"6er", "Full Haus", "Wurfkrone"} << 45 << true;
    }
    void wieDieRechnungUeberJedenGeordnetenWurf() {
        QFETCH(QStringList, offen);
        QFETCH(int, oben);
        QFETCH(bool, klassisch);
        const wk::Regelwerk& regeln = klassisch ? Klassisch : wk::Hausregeln;
        const wk::Offen bereich = ::offen(offen);
        const wk::Tabelle t(regeln, wk::nacheinander, bereich);
        Brute brute(regeln);
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

    // The optimum of solitaire play published for the classic rules.
    void klassischeRegelnWieVeroeffentlicht() {
#ifdef WK_SANITIZE
        QSKIP("the whole table runs under the sanitizers in tst_tipp; the classic one only in the normal build");
#endif
        const wk::Tabelle t(Klassisch, zweiFaeden);
        QCOMPARE(QString::number(t.wert(wk::AlleOffen, 0), 'f', 6), QStringLiteral("245.870775"));
    }
};

QTEST_GUILESS_MAIN(TstTabelle)
#include "tst_tabelle.moc"
